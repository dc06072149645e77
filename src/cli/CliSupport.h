// The pieces of talvorin-cli every subcommand uses: how reports and outside programs appear on a
// command line, the parsed arguments, and the run's context.
#pragma once

#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "shell/Context.h"
#include "shell/Platform.h"
#include "shell/UserDialogs.h"
#include "store/Installation.h"
#include "store/Reporter.h"

namespace talvorin {

// List lines to standard output (unless quiet), box texts to standard error.
class CliReporter : public Reporter {
 public:
  bool quiet = false;
  std::FILE* out = stdout;
  std::FILE* err = stderr;

 protected:
  void ShowLine(const std::string& line) override;
  void ShowBox(const std::string& text, int kind) override;
};

// The answers the command line gave to the questions an operation puts (the file to open, yes to a
// confirmation, a colour, a program), taken in order; a question without an answer is cancelled.
class ArgumentDialogs : public UserDialogs {
 public:
  std::deque<std::string> files;
  std::deque<bool> answers;
  std::deque<Colour> colours;
  std::deque<std::string> programs;

  bool ChooseFile(const std::string& title, const std::string& folder, const std::string& filter,
                  std::string& path) override;
  bool AskYesNo(const std::string& text) override;
  bool ChooseColour(Colour& colour) override;
  bool ChooseProgram(const std::string& title, std::string& path) override;
};

// Interactive outside programs (editor, viewers, TRYCUT, browser) start only with --open; without it
// a list line names what would have been started. Command files still run.
class CliPlatform : public PosixPlatform {
 public:
  CliPlatform(Reporter& rep, bool open) : rep_(rep), open_(open) {}
  bool StartProgram(const std::string& program, const std::vector<std::string>& args) override;
  // Without --open nothing starts, so the pause before the start is not taken either.
  bool OpenDocument(const std::string& path, std::chrono::milliseconds pause = {}) override;

 private:
  Reporter& rep_;
  bool open_;
};

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// A subcommand's arguments after the global options were taken out.
struct CliArgs {
  std::vector<std::string> positional;
  // Takes "--name VALUE" out of the positional arguments; false when it is there without a value.
  bool TakeOption(const std::string& name, std::optional<std::string>& value);
};

struct CliRun {
  Context& ctx;
  CliArgs args;
};

// Resolves FILE of the "ini" commands: an absolute path as it is, a relative one in the program folder
// (letter case ignored).
std::string CliFilePath(const Installation& inst, const std::string& file);

// Argument helpers shared by the subcommands.
bool IsNumber(const std::string& text);  // the whole text is a decimal number
bool IsDigits(const std::string& text);  // one or more digits only
std::vector<std::string> SplitCommas(const std::string& text);
// Every occurrence of a repeated option, in order; false when one lacks its value.
bool TakeAll(CliArgs& args, const std::string& name, std::vector<std::string>& values);
// DB: a path (with "/"), or a project name of the project folder (upper case as the header field
// stores it) with the database extension. -1 (reported) when the project does not exist.
int ResolveDatabase(Context& ctx, const std::string& db, std::string& path);

struct CliCommand {
  const char* name;
  const char* usage;
  int (*run)(CliRun& run);
};

// The subcommands of the shell layer: ver, sys, help, ini.
const std::vector<CliCommand>& ShellCommands();
// The drawing subcommands: draw, contour-dxf.
const std::vector<CliCommand>& DrawingCommands();
// The subcommands of hole groups: hole.
const std::vector<CliCommand>& HoleCommands();
// The subcommands of tools and cutting conditions: tools, condition.
const std::vector<CliCommand>& ToolCommands();
// The subcommands of the project database: new, load.
const std::vector<CliCommand>& ProjectCommands();
// The subcommands of the machining processes: plan, processes.
const std::vector<CliCommand>& ProcessCommands();
// The subcommands of the NC program: nc, run.
const std::vector<CliCommand>& NcCommands();
const std::vector<CliCommand>& EuklidCommands();
// The subcommands of what an NC program is turned into: time, trycut, sheet, transfer, edit, view.
const std::vector<CliCommand>& OutputCommands();
// The settings screens: settings initial|tap|lines|coords.
const std::vector<CliCommand>& SettingsCommands();

}  // namespace talvorin
