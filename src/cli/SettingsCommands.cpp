// The settings screens for scripts: each subcommand opens its screen's form as the screen opens, applies
// the options as a user fills the fields, prints the form and, with "save", runs the screen's save.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "cli/CliSupport.h"
#include "project/Settings.h"
#include "store/Ascii.h"
#include "store/Cp932.h"
#include "store/Numbers.h"

namespace talvorin {
namespace {

// Takes the optional word "save" (the only positional argument allowed).
bool TakeSave(CliArgs& args, bool& save) {
  save = false;
  if (args.positional.empty()) return true;
  if (args.positional.size() != 1 || args.positional[0] != "save") return false;
  save = true;
  return true;
}

// "R,G,B", each 0-255.
bool ParseRgb(const std::string& text, Colour& colour) {
  std::vector<std::string> parts = SplitCommas(text);
  if (parts.size() != 3) return false;
  int* values[3] = {&colour.red, &colour.green, &colour.blue};
  for (std::size_t i = 0; i < 3; ++i) {
    if (!IsDigits(parts[i]) || parts[i].size() > 3) return false;
    *values[i] = std::atoi(parts[i].c_str());
    if (*values[i] > 255) return false;
  }
  return true;
}

// "on" or "off".
bool ParseSwitch(const std::string& text, bool& on) {
  if (text != "on" && text != "off") return false;
  on = text == "on";
  return true;
}

// A context whose dialogs answer with what the command line gave.
struct AnsweredContext {
  explicit AnsweredContext(Context& ctx) : ctx{ctx.inst, ctx.reporter, ctx.platform, dialogs, ctx.dbPath} {}
  ArgumentDialogs dialogs;
  Context ctx;
};

int Initial(CliRun& run) {
  CliArgs& a = run.args;
  std::optional<std::string> programs[4], x, y, windowColour, textColour, method, command, user, password;
  const char* programOptions[4] = {"--trycut", "--dxfviewer", "--ncviewer", "--editor"};
  for (int i = 0; i < 4; ++i)
    if (!a.TakeOption(programOptions[i], programs[i])) return kExitUsage;
  bool save = false;
  if (!a.TakeOption("--x", x) || !a.TakeOption("--y", y) || !a.TakeOption("--window-colour", windowColour) ||
      !a.TakeOption("--text-colour", textColour) || !a.TakeOption("--method", method) ||
      !a.TakeOption("--command", command) || !a.TakeOption("--ftpuser", user) ||
      !a.TakeOption("--ftppass", password) || !TakeSave(a, save))
    return kExitUsage;
  Colour colours[2];
  if ((windowColour && !ParseRgb(*windowColour, colours[0])) ||
      (textColour && !ParseRgb(*textColour, colours[1])))
    return kExitUsage;
  if (method && AsciiUpperCase(*method) != "DNC" && AsciiUpperCase(*method) != "FTP") return kExitUsage;

  AnsweredContext answered(run.ctx);
  Context& ctx = answered.ctx;
  InitialSettingsForm form;
  if (LoadInitialSettings(ctx, form) != 0) return kExitFailed;
  // Programs come through the program chooser, colours through the colour chooser.
  for (int i = 0; i < 4; ++i) {
    if (!programs[i]) continue;
    std::error_code ec;
    answered.dialogs.programs.push_back(std::filesystem::absolute(*programs[i], ec).string());
    if (ChooseProgram(ctx, form.programs[static_cast<std::size_t>(i)]) != 0) return kExitFailed;
  }
  if (x || y) {
    if (x) form.positionX = *x;
    if (y) form.positionY = *y;
    CheckStartPosition(ctx, form);
  }
  std::string* colourFields[2] = {&form.windowColour, &form.textColour};
  for (int i = 0; i < 2; ++i) {
    if (!(i == 0 ? windowColour : textColour)) continue;
    answered.dialogs.colours.push_back(colours[i]);
    ChooseColour(ctx, *colourFields[i]);
  }
  if (method) {
    form.methodIndex = AsciiUpperCase(*method) == "DNC" ? 0 : 1;
    ChangeTransferMethod(ctx, form);
  }
  if (command) form.transferCommand = *command;
  if ((user || password) && !form.ftpFieldsEnabled) {
    std::fprintf(stderr, "talvorin-cli: --ftpuser and --ftppass need the method FTP with a stored server\n");
    return kExitUsage;
  }
  if (user) form.ftpUser = *user;
  if (password) form.ftpPassword = *password;

  const char* captions[4] = {"TRYCUT2000", "DXF VIEWER", "NC VIEWER", "エディター"};
  for (std::size_t i = 0; i < 4; ++i)
    std::printf("%s=%s\n", captions[i], form.programs[i].c_str());
  std::printf("起動画面位置 X=%s\n起動画面位置 Y=%s\n", form.positionX.c_str(), form.positionY.c_str());
  std::printf("背景色 [RGB]=%s\n文字色 [RGB]=%s\n", form.windowColour.c_str(), form.textColour.c_str());
  std::printf("データ転送方法=%s\nデータ転送命令=%s\n", form.Method().c_str(), form.transferCommand.c_str());
  if (form.ftpFieldsEnabled)
    std::printf("FTPユーザー=%s\nFTPパスワード=%s\n", form.ftpUser.c_str(), form.ftpPassword.c_str());
  std::fflush(stdout);
  if (save && SaveInitialSettings(ctx, form) != 0) return kExitFailed;
  return kExitOk;
}

int Tap(CliRun& run) {
  CliArgs& a = run.args;
  std::optional<std::string> rPoint, breakthrough, rigid, feed;
  bool save = false, rigidOn = false, feedOn = false;
  if (!a.TakeOption("--rpoint", rPoint) || !a.TakeOption("--breakthrough", breakthrough) ||
      !a.TakeOption("--rigid", rigid) || !a.TakeOption("--feed", feed) || !TakeSave(a, save))
    return kExitUsage;
  if ((rigid && !ParseSwitch(*rigid, rigidOn)) || (feed && !ParseSwitch(*feed, feedOn))) return kExitUsage;
  if (rigidOn && feedOn) {
    std::fprintf(stderr, "talvorin-cli: rigid tapping and feed per revolution exclude each other\n");
    return kExitUsage;
  }

  Context& ctx = run.ctx;
  TapSettingsForm form;
  if (LoadingTapDefaultValue(ctx, form) != 0) return kExitFailed;
  if (rPoint) form.rPoint = Cp932Cut(*rPoint, 15);
  if (breakthrough) form.breakthrough = Cp932Cut(*breakthrough, 15);
  // Off first, so that turning one on clears the other as its check box does.
  if (rigid && !rigidOn) CheckRigidTap(form, false);
  if (feed && !feedOn) CheckRotationFeed(form, false);
  if (rigidOn) CheckRigidTap(form, true);
  if (feedOn) CheckRotationFeed(form, true);

  std::printf("タップ加工時のＲ点=%s\n貫通時の突き抜け量=%s\n", form.rPoint.c_str(),
              form.breakthrough.c_str());
  std::printf("リジットタップ=%s\n毎回転送り制御=%s\n", form.rigidTap ? "ON" : "OFF",
              form.rotationFeed ? "ON" : "OFF");
  std::fflush(stdout);
  if (save && SaveTapDefaultValue(ctx, form) != 0) return kExitFailed;
  return kExitOk;
}

// A line number as shown (from 1) within `count` lines, as an index.
bool ParseLineNumber(const std::string& text, std::size_t count, int& index) {
  if (!IsDigits(text) || text.size() > 3) return false;
  int n = std::atoi(text.c_str());
  if (n < 1 || static_cast<std::size_t>(n) > count) return false;
  index = n - 1;
  return true;
}

int Lines(CliRun& run) {
  CliArgs& a = run.args;
  std::optional<std::string> controller, before;
  std::vector<std::string> deletes, lines;
  bool save = false;
  // Flags without a value: taken out of the positional arguments by hand.
  auto takeFlag = [&](const char* name) {
    for (auto it = a.positional.begin(); it != a.positional.end(); ++it)
      if (*it == name) {
        a.positional.erase(it);
        return true;
      }
    return false;
  };
  bool atEnd = takeFlag("--end");
  bool clearAll = takeFlag("--clear");
  if (!a.TakeOption("--controller", controller) || !a.TakeOption("--before", before) ||
      !TakeAll(a, "--delete", deletes) || !TakeAll(a, "--line", lines) || !TakeSave(a, save))
    return kExitUsage;

  Context& ctx = run.ctx;
  AddLinesForm form;
  if (OpenAddLines(ctx, form) != 0) return kExitFailed;
  if (atEnd || controller) {
    form.atStart = !atEnd;
    if (controller) {
      form.controllerIndex = -1;
      for (std::size_t i = 0; i < form.controllers.size(); ++i)
        if (form.controllers[i] == AsciiUpperCase(*controller)) form.controllerIndex = static_cast<int>(i);
      if (form.controllerIndex < 0) return kExitUsage;
    }
    if (LoadAddLines(ctx, form) != 0) return kExitFailed;
  }
  // Deletions by the numbers shown on loading, highest first so the others keep their numbers.
  std::vector<int> doomed;
  if (clearAll)
    for (std::size_t i = 0; i < form.lines.size(); ++i)
      doomed.push_back(static_cast<int>(i));
  for (const std::string& d : deletes) {
    int index = 0;
    if (!ParseLineNumber(d, form.lines.size(), index)) return kExitUsage;
    doomed.push_back(index);
  }
  std::sort(doomed.begin(), doomed.end());
  doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
  int beforeIndex = -1;
  if (before && !ParseLineNumber(*before, form.lines.size(), beforeIndex)) return kExitUsage;
  if (before && std::find(doomed.begin(), doomed.end(), beforeIndex) != doomed.end()) return kExitUsage;
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
    form.selectedLine = *it;
    DeleteAddLine(form);
    if (*it < beforeIndex) --beforeIndex;
  }
  form.selectedLine = beforeIndex;
  for (const std::string& line : lines) {
    form.entry = line;
    if (InsertAddLine(ctx, form) != 0) return kExitFailed;
  }

  std::printf("挿入する位置=%s\n使用制御装置=%s\n", form.atStart ? "冒頭" : "末尾",
              form.Controller().c_str());
  for (std::size_t i = 0; i < form.lines.size(); ++i)
    std::printf("%02zu=%s\n", i + 1, form.lines[i].c_str());
  std::fflush(stdout);
  if (save && SaveAddLines(ctx, form) != 0) return kExitFailed;
  return kExitOk;
}

int Coords(CliRun& run) {
  CliArgs& a = run.args;
  std::vector<std::string> adds, deletes;
  bool save = false;
  if (!TakeAll(a, "--add", adds) || !TakeAll(a, "--delete", deletes) || !TakeSave(a, save)) return kExitUsage;

  Context& ctx = run.ctx;
  CoordinateSystemForm form;
  if (LoadingCoordinateSystem(ctx, form, false) != 0) return kExitFailed;
  for (const std::string& name : deletes) {
    int index = -1;
    for (std::size_t i = 0; i < form.systems.size(); ++i)
      if (EqualsIgnoringAsciiCase(form.systems[i], name)) index = static_cast<int>(i);
    if (index < 0) {
      std::fprintf(stderr, "talvorin-cli: coordinate system %s is not listed\n", name.c_str());
      return kExitFailed;
    }
    SelectCoordinateSystem(form, index);
    DeleteCoordinateSystem(ctx, form);
  }
  for (const std::string& name : adds) {
    form.entry = name;
    if (RegisterCoordinateSystem(ctx, form) != 0) return kExitFailed;
  }

  for (const std::string& system : form.systems)
    std::printf("%s\n", system.c_str());
  std::fflush(stdout);
  if (save && SaveCoordinateSystem(ctx, form) != 0) return kExitFailed;
  return kExitOk;
}

int Settings(CliRun& run) {
  std::vector<std::string>& p = run.args.positional;
  if (p.empty()) return kExitUsage;
  std::string screen = p[0];
  p.erase(p.begin());
  if (screen == "initial") return Initial(run);
  if (screen == "tap") return Tap(run);
  if (screen == "lines") return Lines(run);
  if (screen == "coords") return Coords(run);
  return kExitUsage;
}

}  // namespace

const std::vector<CliCommand>& SettingsCommands() {
  static const std::vector<CliCommand> commands = {
      {"settings",
       "settings SCREEN [save] [OPTIONS]      open a settings screen, fill its fields, print them; with\n"
       "                                        \"save\" save them as the screen's save command does\n"
       "      initial [--trycut P] [--dxfviewer P] [--ncviewer P] [--editor P] [--x F] [--y F]\n"
       "              [--window-colour R,G,B] [--text-colour R,G,B] [--method DNC|FTP] [--command C]\n"
       "              [--ftpuser U] [--ftppass P]\n"
       "      tap     [--rpoint R] [--breakthrough B] [--rigid on|off] [--feed on|off]\n"
       "      lines   [--end] [--controller FANUC|OSP] [--clear] [--delete N]... [--before N] [--line "
       "TEXT]...\n"
       "              N: a line number as printed; new lines go before line N, else at the end\n"
       "      coords  [--delete NAME]... [--add NAME]...",
       Settings},
  };
  return commands;
}

}  // namespace talvorin
