// What the system asks of its operating environment: starting programs and documents, running
// command files, the computer's name, the clock and the executable's own path.
#pragma once

#include <string>
#include <vector>

#include "store/Timestamp.h"

namespace talvorin {

class Platform {
 public:
  virtual ~Platform() = default;
  // Starts `program` (a path, or a name searched in PATH) with `args`, without a shell and without
  // waiting; it keeps running when this program ends. False when it could not be started.
  virtual bool StartProgram(const std::string& program, const std::vector<std::string>& args) = 0;
  // Opens a document with the desktop's program for its type, without waiting.
  virtual bool OpenDocument(const std::string& path) = 0;
  // Runs a command file with /bin/sh and waits for it: its exit status, -1 when it could not be run.
  virtual int RunCommandFile(const std::string& path) = 0;
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
  bool OpenDocument(const std::string& path) override;
  int RunCommandFile(const std::string& path) override;
  std::string ComputerName() override;
  Timestamp LocalTime() override;
  std::string ExecutablePath() override;
};

// Records what would have been started and answers from its fields; for tests.
class RecordingPlatform : public Platform {
 public:
  struct Call {
    std::string what;               // "start", "open" or "run"
    std::string target;             // program, document or command file
    std::vector<std::string> args;  // arguments of "start"
  };
  std::vector<Call> calls;
  bool startResult = true;   // answer of StartProgram and OpenDocument
  int commandResult = 0;     // answer of RunCommandFile
  std::string computerName = "TESTPC";
  Timestamp now{2026, 6, 3, 9, 5, 7, 3};  // Wednesday 2026/6/3 09:05:07
  std::string executablePath;

  bool StartProgram(const std::string& program, const std::vector<std::string>& args) override;
  bool OpenDocument(const std::string& path) override;
  int RunCommandFile(const std::string& path) override;
  std::string ComputerName() override { return computerName; }
  Timestamp LocalTime() override { return now; }
  std::string ExecutablePath() override { return executablePath; }
};

}  // namespace talvorin
