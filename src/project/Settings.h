// The four installation-wide settings screens of the "設定" menu as forms and operations: the initial
// settings and the coordinate systems write the program INI, the tapping settings and the NC lines
// added at the start and end of every program write the NC table file. Every operation reads and
// writes its file only through the profile store and reports through the context's Reporter.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "shell/Choosers.h"
#include "shell/Context.h"
#include "shell/ProgramSetup.h"

namespace talvorin {

// "INITIALSETTINGDLG" (caption "初期設定").
struct InitialSettingsForm {
  // 1210-1213 beside buttons 1200-1203: TRYCUT, DXF viewer, NC viewer, editor (519 bytes each).
  std::array<std::string, 4> programs;
  std::string positionX, positionY;           // 1214, 1215 "起動画面位置": fractions 0 to 1 (15 bytes)
  std::string windowColour, textColour;       // 1216, 1217: "R,G,B" (15 bytes)
  std::vector<std::string> methods;           // 1220 "データ転送方法": "DNC", "FTP"
  int methodIndex = -1;                       // selected method, -1 none
  std::string transferCommand;                // 1221: DNC program (519 bytes) or FTP server (23 bytes)
  std::string ftpUser, ftpPassword;           // 1222, 1223 (23 bytes each)
  bool ftpFieldsEnabled = false;              // 1222 and 1223 are enabled
  double placementX = 0.5, placementY = 0.5;  // where the main window is to be placed (fractions)
  Colours storedColours{};  // after a save: the colours as stored now, for the windows to repaint with

  std::string Method() const;  // the selected method's text, "" when none is selected
  // Button 1208 chooses the DNC transfer program; under FTP field 1221 holds a server address.
  bool TransferProgramChoosable() const { return Method() == "DNC"; }
};

// Where the programs of 1210-1213 are stored: section and key.
struct ProgramSetting {
  const char* section;
  const char* key;
};
extern const std::array<ProgramSetting, 4> kProgramSettings;

// Load (40101 and on opening): fields from the program INI, the method list, then the position check.
int LoadInitialSettings(Context& ctx, InitialSettingsForm& form);
// Save (40100): every changed, non-empty field in the fixed order; placement and colours read again
// into the form (the installation stays as it is: the window takes the new colours from the form).
int SaveInitialSettings(Context& ctx, InitialSettingsForm& form);
// On leaving 1214 or 1215: both fields held to 0-1 (each correction reported); the placement
// fractions are set for the main window.
int CheckStartPosition(Context& ctx, InitialSettingsForm& form);
// A confirmed selection in 1220: the transfer fields refilled for the selected method.
void ChangeTransferMethod(Context& ctx, InitialSettingsForm& form);
// Buttons 1200-1203 and 1206, 1207: ChooseProgram and ChooseColour (shell/Choosers.h).

// "TAPPINGSETTINGSDLG" (caption "タップ加工設定"), section "tap" of the NC table file.
struct TapSettingsForm {
  std::string rPoint;         // 2310 "タップ加工時のＲ点" (15 bytes)
  std::string breakthrough;   // 2311 "貫通時の突き抜け量" (15 bytes)
  bool rigidTap = false;      // 2312 "リジットタップ" M29
  bool rotationFeed = false;  // 2313 "毎回転送り制御" G95
};

int LoadingTapDefaultValue(Context& ctx, TapSettingsForm& form);
int SaveTapDefaultValue(Context& ctx, TapSettingsForm& form);
// The two check boxes exclude each other: checking one clears the other.
void CheckRigidTap(TapSettingsForm& form, bool checked);
void CheckRotationFeed(TapSettingsForm& form, bool checked);

// "SETTINGADDNCDATADLG" (caption "ＮＣデータの冒頭・末尾追加"): lines of section "StartLine" or
// "EndLine" of the NC table file, keys "<controller><n>" from 0.
struct AddLinesForm {
  bool atStart = true;                   // radio 1230 "冒頭" checked; 1231 "末尾" otherwise
  std::vector<std::string> controllers;  // 1232 "使用制御装置": "FANUC", "OSP"
  int controllerIndex = -1;
  std::string entry;               // 1233: upper case, at most 79 bytes
  std::vector<std::string> lines;  // 1234
  int selectedLine = -1;           // -1 none

  std::string Section() const { return atStart ? "StartLine" : "EndLine"; }
  std::string Controller() const;  // "" when none is selected
};

constexpr std::size_t kAddLineLimit = 79;  // bytes of one line
constexpr int kMaxAddLines = 30;           // lines of one list

// Opening: "冒頭", the controller list with "FANUC" selected, then the load.
int OpenAddLines(Context& ctx, AddLinesForm& form);
// Load (either radio button, a confirmed controller selection, 40101).
int LoadAddLines(Context& ctx, AddLinesForm& form);
// Insert (1235): the entry before the selected line, or at the end; the entry is emptied.
int InsertAddLine(Context& ctx, AddLinesForm& form);
// Delete (1236): the selected line.
void DeleteAddLine(AddLinesForm& form);
// Save (40100): the list as keys 0 to n-1 and an empty key n; the list is emptied afterwards.
int SaveAddLines(Context& ctx, AddLinesForm& form);
// Closing: entry, controller list and line list emptied.
void CloseAddLines(AddLinesForm& form);

// "REGCOORDINATESYSDLG" (caption "座標系追加・編集"): keys "CoordinateSystem<n>" of section "machine"
// of the program INI.
struct CoordinateSystemForm {
  std::string entry;                 // 1502: upper case, at most 15 bytes
  std::vector<std::string> systems;  // 1503, kept sorted
  int selected = -1;                 // -1 none
};

constexpr int kMaxCoordinateSystems = 20;

// Load: on opening (ask false) and for 40101 (ask true: "再読み込みしますか？", no ends it).
int LoadingCoordinateSystem(Context& ctx, CoordinateSystemForm& form, bool ask);
// Register (1500): the entry into the sorted list, unless an entry equal to it up to case is there.
int RegisterCoordinateSystem(Context& ctx, CoordinateSystemForm& form);
// Selecting list entry `index` copies it into the entry field.
void SelectCoordinateSystem(CoordinateSystemForm& form, int index);
// Delete (1501): the selected entry; the entry field is emptied.
int DeleteCoordinateSystem(Context& ctx, CoordinateSystemForm& form);
// Save (40100): keys 0 to 19, the entries in list order and then empty values.
int SaveCoordinateSystem(Context& ctx, CoordinateSystemForm& form);

// ASCII letters in upper case, as the fields 1233 and 1502 force them.
std::string ForceUpperCase(std::string text);

}  // namespace talvorin
