// Test doubles of the system's interfaces: a reporter that keeps its boxes, a platform that records
// what would have been started, and dialogs that answer from a script. Linked only by the tests, the
// benchmarks, the fuzzers and the screenshot renderer, never by a program a user runs.
#pragma once

#include <chrono>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "shell/Platform.h"
#include "shell/UserDialogs.h"
#include "store/Reporter.h"

namespace talvorin {

// Keeps what would have been shown.
class RecordingReporter : public Reporter {
 public:
  std::vector<std::pair<std::string, int>> boxes;  // text and kind of each box shown

 protected:
  void ShowBox(const std::string& text, int kind) override { boxes.emplace_back(text, kind); }
};

// Records what would have been started and answers from its fields.
class RecordingPlatform : public Platform {
 public:
  struct Call {
    std::string what;               // "start", "open" or "run"
    std::string target;             // program, document or command file
    std::vector<std::string> args;  // arguments of "start"
    long long pauseMs = 0;          // the pause asked for before "open" or "run"
  };
  std::vector<Call> calls;
  bool startResult = true;  // answer of StartProgram and OpenDocument
  int commandResult = 0;    // answer of RunCommandFile
  std::string computerName = "TESTPC";
  Timestamp now{2026, 6, 3, 9, 5, 7, 3};  // Wednesday 2026/6/3 09:05:07
  std::string executablePath;
  std::string searchPath = "/usr/local/bin:/usr/bin:/bin";  // PATH of FindProgram

  bool StartProgram(const std::string& program, const std::vector<std::string>& args) override;
  bool OpenDocument(const std::string& path, std::chrono::milliseconds pause = {}) override;
  int RunCommandFile(const std::string& path, std::chrono::milliseconds pause = {}) override;
  std::string FindProgram(const std::string& program) override;
  std::string ComputerName() override { return computerName; }
  Timestamp LocalTime() override { return now; }
  std::string ExecutablePath() override { return executablePath; }
};

// Answers given in advance, in order; an exhausted queue answers cancel or no. Every question asked is
// kept.
class ScriptedDialogs : public UserDialogs {
 public:
  std::deque<std::string> files;
  std::deque<bool> answers;
  std::deque<Colour> colours;
  std::deque<std::string> programs;
  std::vector<std::string> asked;  // every dialog title and question, in order

  bool ChooseFile(const std::string& title, const std::string& folder, const std::string& filter,
                  std::string& path) override;
  bool AskYesNo(const std::string& text) override;
  bool ChooseColour(Colour& colour) override;
  bool ChooseProgram(const std::string& title, std::string& path) override;
};

}  // namespace talvorin
