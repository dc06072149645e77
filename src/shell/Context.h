// What every operation of the system is given: the installation, the message routine, the platform,
// the user's dialogs and the current project database.
#pragma once

#include <string>

#include "shell/Platform.h"
#include "shell/UserDialogs.h"
#include "store/Installation.h"
#include "store/Reporter.h"

namespace talvorin {

struct Context {
  Installation& inst;
  Reporter& reporter;
  Platform& platform;
  UserDialogs& dialogs;
  std::string dbPath;  // current project database; empty when no project is named
};

}  // namespace talvorin
