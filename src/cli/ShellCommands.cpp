// Subcommands of the shell layer: program identification, system information, help and the
// profile store for installation scripts.
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "cli/CliSupport.h"
#include "shell/ProgramSetup.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

// A whole decimal number, or nullopt.
std::optional<long long> ParseInteger(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  long long v = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0') return std::nullopt;
  return v;
}

int Ver(CliRun& run) {
  if (!run.args.positional.empty()) return kExitUsage;
  run.ctx.reporter.Report(VersionLine(run.ctx.inst.buildNumber), 0);
  return kExitOk;
}

int Sys(CliRun& run) {
  if (!run.args.positional.empty()) return kExitUsage;
  return SystemInformation(run.ctx) == 0 ? kExitOk : kExitFailed;
}

int Help(CliRun& run) {
  std::vector<std::string>& p = run.args.positional;
  if (p.size() > 1) return kExitUsage;
  int rc = p.empty() ? OpenHelpFile(run.ctx) : OpenHelpTopic(run.ctx, p[0]);
  return rc == 0 ? kExitOk : kExitFailed;
}

int IniGet(CliRun& run) {
  std::optional<std::string> limitText, defaultText;
  if (!run.args.TakeOption("--limit", limitText) || !run.args.TakeOption("--default", defaultText))
    return kExitUsage;
  std::vector<std::string>& p = run.args.positional;
  if (p.size() != 3) return kExitUsage;
  std::size_t limit = SIZE_MAX;
  if (limitText) {
    std::optional<long long> n = ParseInteger(*limitText);
    if (!n || *n < 0) return kExitUsage;
    limit = static_cast<std::size_t>(*n);
  }
  std::string value =
      ReadString(CliFilePath(run.ctx.inst, p[0]), p[1], p[2], limit, defaultText.value_or(""));
  if (value.empty()) return kExitFailed;
  std::printf("%s\n", value.c_str());
  return kExitOk;
}

int IniInt(CliRun& run) {
  std::optional<std::string> defaultText;
  if (!run.args.TakeOption("--default", defaultText)) return kExitUsage;
  std::vector<std::string>& p = run.args.positional;
  if (p.size() != 3) return kExitUsage;
  long long def = 0;
  if (defaultText) {
    std::optional<long long> n = ParseInteger(*defaultText);
    if (!n || *n < INT_MIN || *n > INT_MAX) return kExitUsage;
    def = *n;
  }
  std::printf("%d\n", ReadInt(CliFilePath(run.ctx.inst, p[0]), p[1], p[2], static_cast<int>(def)));
  return kExitOk;
}

int IniSet(CliRun& run) {
  std::vector<std::string>& p = run.args.positional;
  if (p.size() != 4) return kExitUsage;
  if (!WriteString(CliFilePath(run.ctx.inst, p[0]), p[1], p[2], p[3])) {
    run.ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 書込失敗", p[1].c_str(), p[2].c_str(), p[3].c_str());
    return kExitFailed;
  }
  return kExitOk;
}

int IniDelete(CliRun& run) {
  std::vector<std::string>& p = run.args.positional;
  if (p.size() != 3) return kExitUsage;
  if (!DeleteKey(CliFilePath(run.ctx.inst, p[0]), p[1], p[2])) {
    run.ctx.reporter.Reportf(-1, "エラー：[%s] %s= 削除失敗", p[1].c_str(), p[2].c_str());
    return kExitFailed;
  }
  return kExitOk;
}

int Ini(CliRun& run) {
  std::vector<std::string>& p = run.args.positional;
  if (p.empty()) return kExitUsage;
  std::string verb = p[0];
  p.erase(p.begin());
  if (verb == "get") return IniGet(run);
  if (verb == "int") return IniInt(run);
  if (verb == "set") return IniSet(run);
  if (verb == "delete") return IniDelete(run);
  return kExitUsage;
}

}  // namespace

const std::vector<CliCommand>& ShellCommands() {
  static const std::vector<CliCommand> commands = {
      {"ver", "ver                                   print the version line", Ver},
      {"sys", "sys                                   register the system information", Sys},
      {"help", "help [TOPIC]                          open the help document (of a settings screen)", Help},
      {"ini",
       "ini get FILE SECTION KEY [--limit N] [--default TEXT]\n"
       "  ini int FILE SECTION KEY [--default N]\n"
       "  ini set FILE SECTION KEY VALUE\n"
       "  ini delete FILE SECTION KEY         profile store; a relative FILE lies in the program folder",
       Ini},
  };
  return commands;
}

}  // namespace talvorin
