// What the system asks of its operating environment: finding and starting programs and documents,
// running command files, the pauses before starts, the computer's name, the clock and the
// executable's own path.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "store/Timestamp.h"

namespace talvorin {

class Platform {
 public:
  virtual ~Platform() = default;
  // Starts `program` (a path, or a name searched in PATH) with `args`, without a shell and without
  // waiting; it keeps running when this program ends. False when it could not be started.
  virtual bool StartProgram(const std::string& program, const std::vector<std::string>& args) = 0;
  // Opens a document with the desktop's program for its type, without waiting. `pause`: a wait taken
  // just before the document is opened, and only when it really is.
  virtual bool OpenDocument(const std::string& path, std::chrono::milliseconds pause = {}) = 0;
  // Runs a command file with /bin/sh and waits for it: its exit status, -1 when it could not be run.
  // `pause`: a wait taken just before the file is run.
  virtual int RunCommandFile(const std::string& path, std::chrono::milliseconds pause = {}) = 0;
  // Where a program setting points: a path (holding "/") when it names an existing file, a bare name
  // as the first executable file of that name in the folders of PATH. Empty when there is none.
  virtual std::string FindProgram(const std::string& program) = 0;
  // COMPUTERNAME when set, else the host name.
  virtual std::string ComputerName() = 0;
  virtual Timestamp LocalTime() = 0;
  // Full path of the running executable.
  virtual std::string ExecutablePath() = 0;
};

// The real thing: posix_spawn, xdg-open, /bin/sh, /proc/self/exe.
class PosixPlatform : public Platform {
 public:
  std::string documentOpener = "xdg-open";  // program that opens a document by its type

  bool StartProgram(const std::string& program, const std::vector<std::string>& args) override;
  bool OpenDocument(const std::string& path, std::chrono::milliseconds pause = {}) override;
  int RunCommandFile(const std::string& path, std::chrono::milliseconds pause = {}) override;
  std::string FindProgram(const std::string& program) override;
  std::string ComputerName() override;
  Timestamp LocalTime() override;
  std::string ExecutablePath() override;
};

// FindProgram over the folders of `searchPath` (entries separated by ":", an empty entry is the
// working folder).
std::string FindProgramIn(const std::string& program, std::string_view searchPath);

}  // namespace talvorin
