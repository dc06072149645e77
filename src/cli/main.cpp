// talvorin-cli: starts as the main program does before its window exists, runs one subcommand,
// and writes the daily log as on closing the main window.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "shell/ProgramSetup.h"
#include "store/Profile.h"

using namespace talvorin;

namespace {

void PrintUsage(const std::vector<CliCommand>& commands) {
  std::fprintf(stderr, "usage: talvorin-cli [--folder DIR] [--open] [--quiet] COMMAND ...\n");
  for (const CliCommand& c : commands)
    std::fprintf(stderr, "  %s\n", c.usage);
  std::fprintf(stderr,
               "  --folder DIR  use DIR as the program folder\n"
               "  --open        start editors, viewers and TRYCUT (otherwise only named)\n"
               "  --quiet       no message-list lines on standard output\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<CliCommand> commands = ShellCommands();
  for (const CliCommand& c : DrawingCommands())
    commands.push_back(c);
  for (const CliCommand& c : HoleCommands())
    commands.push_back(c);
  for (const CliCommand& c : ToolCommands())
    commands.push_back(c);
  for (const CliCommand& c : ProjectCommands())
    commands.push_back(c);
  for (const CliCommand& c : ProcessCommands())
    commands.push_back(c);
  for (const CliCommand& c : NcCommands())
    commands.push_back(c);
  for (const CliCommand& c : EuklidCommands())
    commands.push_back(c);
  for (const CliCommand& c : OutputCommands())
    commands.push_back(c);
  for (const CliCommand& c : SettingsCommands())
    commands.push_back(c);

  // Global options anywhere before "--"; everything else belongs to the subcommand.
  std::string folder;
  bool open = false, quiet = false;
  std::vector<std::string> rest;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (!optionsEnded && a == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && a == "--folder") {
      if (i + 1 >= argc) {
        PrintUsage(commands);
        return kExitUsage;
      }
      folder = argv[++i];
    } else if (!optionsEnded && a == "--open") {
      open = true;
    } else if (!optionsEnded && a == "--quiet") {
      quiet = true;
    } else {
      rest.push_back(a);
    }
  }
  const CliCommand* command = nullptr;
  for (const CliCommand& c : commands)
    if (!rest.empty() && rest[0] == c.name) command = &c;
  if (!command) {
    PrintUsage(commands);
    return kExitUsage;
  }

  CliReporter reporter;
  reporter.quiet = quiet;
  CliPlatform platform(reporter, open);
  ArgumentDialogs dialogs;
  Installation inst;

  // Set-up: the program folder is the executable's own, or the one given.
  std::string exe = platform.ExecutablePath();
  if (!folder.empty()) {
    // A relative folder is made absolute now: the paths stored in projects must not depend on the
    // working folder of the command that wrote them.
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
    if (!ec) folder = absolute.lexically_normal().string();
    if (folder.back() != '/') folder += '/';
    exe = folder + "talvorin-cli";
  }
  // One command is one operation: each profile file is checked against the disk once.
  ProfileOperation operation;
  SetupProgram(inst, exe, TheBuildDate());
  Context ctx{inst, reporter, platform, dialogs, ""};
  CreateFolders(ctx);
  if (SetNcTableFile(inst, reporter, inst.ncTableFile) != 0) {
    WriteLogFile(ctx);
    return kExitFailed;
  }

  CliRun run{ctx, {std::vector<std::string>(rest.begin() + 1, rest.end())}};
  int status = command->run(run);
  if (status == kExitUsage) {
    std::fprintf(stderr, "usage: talvorin-cli %s\n", command->usage);
  }
  WriteLogFile(ctx);
  return status;
}
