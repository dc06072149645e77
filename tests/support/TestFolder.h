// Test fixtures: a temporary folder removed afterwards, file helpers, and an installation in it.
#pragma once

#include <string>
#include <string_view>

#include "shell/Context.h"
#include "store/Installation.h"
#include "store/Reporter.h"
#include "testing/TestDoubles.h"

namespace talvorin::test {

class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // The folder, with a trailing "/".
  const std::string& path() const { return path_; }
  std::string File(std::string_view relative) const { return path_ + std::string(relative); }
  // Writes raw bytes (creating sub-folders).
  void Write(std::string_view relative, std::string_view bytes) const;
  // Writes UTF-8 text encoded as CP932.
  void WriteCp932(std::string_view relative, std::string_view utf8) const;
  // Raw bytes of a file; "" when it cannot be read.
  std::string Read(std::string_view relative) const;
  // The file decoded from CP932.
  std::string ReadCp932(std::string_view relative) const;

 private:
  std::string path_;
};

// UTF-8 text in CP932 (the test fails when it cannot be encoded).
std::string Cp932(std::string_view utf8);

// Copies the built program folder (the converted data/) into `folder`.
void CopyProgramFolder(const TestFolder& folder);

// Everything an operation needs, around a program folder in a temporary folder. The installation is
// set up as start-up does (program folder, program INI, build number 2629, colours).
struct TestContext {
  explicit TestContext(const TestFolder& folder);
  RecordingReporter reporter;
  RecordingPlatform platform;
  ScriptedDialogs dialogs;
  Installation inst;
  Context ctx;
};

}  // namespace talvorin::test
