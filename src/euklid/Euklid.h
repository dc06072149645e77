// EUKLID hand-over in the main program: the CAD system passes a contour ("cseg") or a list of circles
// ("hole") by a file, and the main program turns it into a project and a program without retyping.
//
// The contour road: the contour form (project header and the cutting data of one finishing end mill),
// its save as a project database with the single process "ncproc1", and the FANUC program that follows
// the contour with cutter radius compensation. The hole road: a project database named after the file,
// the material form, and the hole form in which each circle gets its hole kind; circles of one kind,
// diameter and depth become one hole group.
//
// Forms hold the field texts as the user sees them; the screens are thin views that copy widgets to a
// form, call one operation and copy the form back. Every operation takes the context (ctx.dbPath is
// the current project database), returns 0 or -1 unless said otherwise and reports through
// ctx.reporter with the system's texts.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ncgen/NcGen.h"
#include "project/Project.h"
#include "shell/Context.h"
#include "store/TextSink.h"

namespace talvorin {

// Start modes of the main program: "euklid" + file + "hole" and "euklid" + file + "cseg".
constexpr int kEuklidHoleMode = 12;
constexpr int kEuklidContourMode = 32;

// ---------------------------------------------------------------------------------------------------
// The import flow

// What the main window does around the flow. Every member may be empty (skipped).
struct EuklidScreens {
  std::function<void()> minimiseMain, restoreMain;
  std::function<void()> contourForm;   // the modal contour form
  std::function<void()> materialForm;  // the modal material form
  std::function<int()> holeForm;       // the modal hole form: 1 when it was saved, else 0
  std::function<void()> showMain;      // the main window shows `main` after the reload
};

// Command 40300: mode 12 runs the hole road (SettingEukHoleFile, material form, hole form and, after a
// save, the reload of `main` from the new database with its information box); mode 32 opens the
// contour form; other modes do nothing. Always 0.
int RunEuklidImport(Context& ctx, const EuklidScreens& screens, int mode, const std::string& inputPath,
                    MainForm& main);

// ---------------------------------------------------------------------------------------------------
// The contour form "曲線加工命令（ＮＣデータ作成）"

struct EuklidNcForm {
  std::string projectName;       // 1100 プロジェクト名 (127 bytes)
  std::string product;           // 1101 商品名／加工物 (127 bytes)
  std::string curveFile;         // 1301 ＣＳＶファイル (519 bytes)
  std::string method;            // 1302 加工方法, display only
  std::string controller;        // 1121 制御装置
  std::string coordinateSystem;  // 1122 座標系
  std::string programNumber;     // 1123 Ｏ番号
  std::string material;          // 1113 材　質
  std::string toolDiameter;      // 5051 工具径
  std::string spindle;           // 5251 回転数
  std::string feed;              // 5301 送り速度
  std::string toolNumber;        // 5101 Ｔ番号
  std::string lengthOffset;      // 5151 Ｈ番号, read-only
  std::string radiusOffset;      // 5201 Ｄ番号
  std::string gCode;             // 5351 Ｇコード, read-only
  std::string rCode;             // 5401 Ｒコード
  std::string qCode;             // 5501 Ｑコード, read-only
  std::vector<std::string> controllers, coordinateSystems, materials;  // list entries
};

// Opening the form: the lists and initial texts, the next program number, "工具径補正加工", then
// InitEuklidNcForm with the EUKLID input path. The result of InitEuklidNcForm.
int OpenEuklidNcForm(Context& ctx, EuklidNcForm& form, const std::string& inputPath);
// Field 1301 = the input path; an empty project name becomes the local time stamp ("20260608-091502"),
// an empty product the input file's base name; a new project database for the project name, saved
// leniently. The result of the lenient save.
int InitEuklidNcForm(Context& ctx, EuklidNcForm& form, const std::string& inputPath);
// The form into the project database. Strict: the first empty field or refused write stops with its
// message. Lenient (form start): empty fields are skipped, an empty feed ends the save there.
int SaveEuklidNcForm(Context& ctx, EuklidNcForm& form, bool strict);
// Each stored key replaces its field's text.
int LoadEuklidNcForm(Context& ctx, EuklidNcForm& form);
// Command 40050: a project database chosen through ctx.dialogs, loaded into the form.
int ReadEuklidProject(Context& ctx, EuklidNcForm& form);
// Command 40302: a curve file chosen through ctx.dialogs becomes the input path; InitEuklidNcForm.
int OpenEuklidCurveFile(Context& ctx, EuklidNcForm& form, std::string& inputPath);
// Leaving field 5051: spindle speed and feed of the diameter from the material's contour table.
int EukToolDiameterEvent(Context& ctx, EuklidNcForm& form);
// Leaving field 5101: H and D default to the tool number ("%d").
void EukToolNumberEvent(EuklidNcForm& form);

struct EndmillConditions {
  double diameter = 0;  // in
  double s = 0, f = 0;  // out: spindle speed and feed
};
// Keys "S" and "F" of section "D%.1f" of "table/ContourMill<material>.tbl". No material chosen: 0 with
// S and F left at 0. A missing key makes the result -1; the other key is still read.
int GetContourEndmill(Context& ctx, const EuklidNcForm& form, EndmillConditions& values);

// Command 40052 after the save: the FANUC program of process "ncproc1" into the project's NC file
// (written completely or not at all), then the NC viewer with it.
int MakeEuklidFanucNcdata(Context& ctx);
// The contour of the curve file named by key "定義" of `section`: approach, compensated path, run-on
// past the entry (closed contour) or run-off (open contour) and retract of every contour of the file.
// `rec` holds diam, D, F and R; `start` is where the approach block left the tool.
int WriteEuklidContour(Context& ctx, TextSink& out, const std::string& section, const NcProcessRecord& rec,
                       const StartPosition& start);
// Command 40303: the contour drawing program "lindrel" of the program folder with the project
// database, not waited for.
int StartEukdataViewer(Context& ctx);

// ---------------------------------------------------------------------------------------------------
// The hole road

constexpr int kEuklidHoleRows = 20;      // rows of the hole form
constexpr int kEuklidGroupCircles = 10;  // positions X0..X9 of a hole group
constexpr int kEuklidScrollRange = 720;  // scroll positions 0 to 720
constexpr int kEuklidScrollLine = 1;     // one line step
constexpr int kEuklidScrollPage = 50;    // one page step

// The project database named after the EUKLID file, with its header keys.
int SettingEukHoleFile(Context& ctx, const std::string& inputPath);

// The material form "材料入力".
struct EuklidMaterialForm {
  std::string sizeX, sizeY, sizeZ;  // 1110-1112 材料寸法
  std::string material;             // 1113 材　質
  std::string origin;               // 1120 加工原点
  std::vector<std::string> materials, origins;
  int materialIndex = -1, originIndex = -1;  // preselected entries, -1 none
};
// Opening: the origin and material lists with their preselections ("defaultOrigin",
// "defaultMaterial"); a preselected entry is also the field's text.
void OpenEuklidMaterialForm(Context& ctx, EuklidMaterialForm& form);
// Command 40100: sizes, material, origin and the TRYCUT material box into the project database.
int SaveEuklidMaterial(Context& ctx, const EuklidMaterialForm& form);

// One row of the hole form "円（穴）データ取り込み".
struct EuklidHoleRow {
  std::string kind;      // 6000 + r 穴の種類
  std::string diameter;  // 6100 + r 穴 径
  std::string x, y, z;   // 6200 + r, 6300 + r, 6400 + r 座標
  std::string group;     // 6500 + r グループ
};
struct EuklidHoleForm {
  std::array<EuklidHoleRow, kEuklidHoleRows> rows;
  std::vector<std::string> kinds;  // the entries of every kind list
  int scroll = 0;                  // 0 to 720
  int result = 0;                  // 1 after a successful save
};

// Opening: scroll position 0, the kind lists, then ReadEuklidHoleFile.
int OpenEuklidHoleForm(Context& ctx, EuklidHoleForm& form, const std::string& inputPath);
// The entries of section "hole" of "euklid.tbl" into the kind lists. Always 0.
int FillHoleKindLists(Context& ctx, EuklidHoleForm& form);
// Each circle line of the file into the next row; "count" of section "hole". A file with more circles
// than rows is refused before anything is filled or written.
int ReadEuklidHoleFile(Context& ctx, EuklidHoleForm& form, const std::string& inputPath);
// A kind chosen in row `row`: a counterbore must have a definition for the row's diameter.
int CheckCounterboreRow(Context& ctx, EuklidHoleForm& form, int row);
// Command 40314: the group numbers of the rows; "group" of section "hole". The number of groups, or
// -1 (more groups than a project holds or more circles in one than a group holds are refused, and
// "group" is then not written).
int HoleDataGrouping(Context& ctx, EuklidHoleForm& form);
// Command 40312: every group as a hole record with its shape values and positions, and the machine
// keys from the main window's fields. On success form.result becomes 1.
int SaveEuklidHole(Context& ctx, EuklidHoleForm& form, const MainForm& main);

// The scroll bar of the hole form.
enum class EuklidScroll { kLineUp, kLineDown, kPageUp, kPageDown, kThumb, kTop, kBottom };
// The new position for an action (kThumb: moved to `thumb`), always within 0 to 720.
int ScrollEuklidHoleForm(int position, EuklidScroll action, int thumb = 0);

}  // namespace talvorin
