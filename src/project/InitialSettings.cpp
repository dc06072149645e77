// The initial settings screen: outside programs, start position, colours and the NC transfer method,
// all in the program INI.
#include <algorithm>

#include "project/Settings.h"
#include "shell/ProgramSetup.h"
#include "store/Ascii.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

const std::array<ProgramSetting, 4> kProgramSettings = {{
    {"trycut", "exefile"},
    {"TALVORIN", "dxfviewer"},
    {"TALVORIN", "ncviewer"},
    {"TALVORIN", "editor"},
}};

namespace {

constexpr const char* kTransfer = "NcdataTransfer";
constexpr std::size_t kProgramLimit = 519;  // program paths and the DNC command
constexpr std::size_t kShortLimit = 15;     // positions, colours, the method
constexpr std::size_t kFtpLimit = 23;       // FTP server, user and password
constexpr std::size_t kLoadedShortLimit = 31;

// A stored value of at most `limit` bytes.
std::string Stored(Context& ctx, const char* section, std::string_view key, std::size_t limit) {
  return ReadString(ctx.inst.iniPath, section, key, limit + 1);
}

// Sets `field` from the key when it is set; a missing key leaves the field as it is.
void FillWhenSet(Context& ctx, const char* section, const char* key, std::size_t limit, std::string& field) {
  std::string value = Stored(ctx, section, key, limit);
  if (!value.empty()) field = value;
}

bool IsFtp(std::string_view method) {
  return EqualsIgnoringAsciiCase(method, "FTP");
}

}  // namespace

std::string InitialSettingsForm::Method() const {
  if (methodIndex < 0 || methodIndex >= static_cast<int>(methods.size())) return "";
  return methods[static_cast<std::size_t>(methodIndex)];
}

int LoadInitialSettings(Context& ctx, InitialSettingsForm& form) {
  // 1. Programs, position and colours; a missing key leaves its field unchanged.
  for (std::size_t i = 0; i < kProgramSettings.size(); ++i)
    FillWhenSet(ctx, kProgramSettings[i].section, kProgramSettings[i].key, kProgramLimit, form.programs[i]);
  FillWhenSet(ctx, "window", "X", kLoadedShortLimit, form.positionX);
  FillWhenSet(ctx, "window", "Y", kLoadedShortLimit, form.positionY);
  FillWhenSet(ctx, "color", "window", kLoadedShortLimit, form.windowColour);
  FillWhenSet(ctx, "color", "text", kLoadedShortLimit, form.textColour);

  // 2. The method list anew; the stored method selected with its command, user and password.
  form.methods = {"DNC", "FTP"};
  form.methodIndex = -1;
  form.ftpFieldsEnabled = false;
  std::string protocol = Stored(ctx, kTransfer, "PROTOCOL", 7);
  if (!protocol.empty()) {
    for (std::size_t i = 0; i < form.methods.size(); ++i)
      if (EqualsIgnoringAsciiCase(form.methods[i], protocol)) form.methodIndex = static_cast<int>(i);
    form.transferCommand = Stored(ctx, kTransfer, protocol, kProgramLimit);
    if (IsFtp(protocol)) {
      form.ftpFieldsEnabled = true;
      form.ftpUser = Stored(ctx, kTransfer, "ftpuser", kLoadedShortLimit);
      form.ftpPassword = Stored(ctx, kTransfer, "ftppass", kLoadedShortLimit);
    }
  }

  // 3. The position check, which also places the main window.
  CheckStartPosition(ctx, form);
  return 0;
}

int CheckStartPosition(Context& ctx, InitialSettingsForm& form) {
  form.placementX = CheckPlacementField(ctx.reporter, form.positionX);
  form.placementY = CheckPlacementField(ctx.reporter, form.positionY);
  return 0;
}

void ChangeTransferMethod(Context& ctx, InitialSettingsForm& form) {
  std::string method = form.Method();
  form.transferCommand.clear();
  form.ftpUser.clear();
  form.ftpPassword.clear();
  form.ftpFieldsEnabled = method == "FTP";
  std::string command = method.empty() ? "" : Stored(ctx, kTransfer, method, kProgramLimit);
  if (command.empty()) {
    form.ftpFieldsEnabled = false;
    return;
  }
  form.transferCommand = command;
  if (method == "FTP") {
    form.ftpUser = Stored(ctx, kTransfer, "ftpuser", kLoadedShortLimit);
    form.ftpPassword = Stored(ctx, kTransfer, "ftppass", kLoadedShortLimit);
  }
}

int SaveInitialSettings(Context& ctx, InitialSettingsForm& form) {
  struct Field {
    const char* section;
    std::string key;
    const std::string& text;
    std::size_t limit;
  };
  // 1. The fields in their fixed order.
  std::string method = form.Method();
  std::vector<Field> fields;
  for (std::size_t i = 0; i < kProgramSettings.size(); ++i)
    fields.push_back({kProgramSettings[i].section, kProgramSettings[i].key, form.programs[i], kProgramLimit});
  fields.push_back({kTransfer, "PROTOCOL", method, kShortLimit});
  if (method == "DNC") fields.push_back({kTransfer, method, form.transferCommand, kProgramLimit});
  if (method == "FTP") {
    fields.push_back({kTransfer, method, form.transferCommand, kFtpLimit});
    fields.push_back({kTransfer, "ftpuser", form.ftpUser, kFtpLimit});
    fields.push_back({kTransfer, "ftppass", form.ftpPassword, kFtpLimit});
  }
  fields.push_back({"window", "X", form.positionX, kShortLimit});
  fields.push_back({"window", "Y", form.positionY, kShortLimit});
  fields.push_back({"color", "window", form.windowColour, kShortLimit});
  fields.push_back({"color", "text", form.textColour, kShortLimit});

  // An empty field never clears a stored setting; a change of letter case alone is no change. The
  // changed settings are written in one replacement of the program INI.
  std::vector<ProfileChange> changes;
  for (const Field& f : fields) {
    std::string value = Cp932Cut(f.text, f.limit);
    if (value.empty() || EqualsIgnoringAsciiCase(value, Stored(ctx, f.section, f.key, f.limit))) continue;
    changes.push_back({f.section, f.key, value});
  }
  const std::size_t written = WriteChanges(ctx.inst.iniPath, changes);
  if (written < changes.size()) {
    const ProfileChange& c = changes[written];
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 書込失敗", c.section.c_str(), c.key.c_str(),
                                c.value.c_str());
  }

  // 2. Placement and colours as stored now.
  form.placementX = PlacementFraction(ReadStringOr(ctx.inst.iniPath, "window", "X", 16, "0.5"));
  form.placementY = PlacementFraction(ReadStringOr(ctx.inst.iniPath, "window", "Y", 16, "0.5"));
  form.storedColours = ReadColours(ctx.inst);

  // 3.
  if (written == 0)
    ctx.reporter.Report("設定値に変更はありません", 1);
  else
    ctx.reporter.Reportf(1, "%zu個の設定値を保存しました。", written);
  return 0;
}

}  // namespace talvorin
