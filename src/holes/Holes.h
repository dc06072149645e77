// Hole groups: the eight hole kinds, the hole record of sections "hole1" to "hole6" of the project
// database, the shape-entry screen and the circle screen as forms, and the derivation of the dependent
// parameters of each kind from the definition tables of the program folder.
//
// Every operation takes the context (whose dbPath is the project database), returns 0 or -1 and
// reports through ctx.reporter with the system's texts. Screen operations read and write the form's
// field texts only; the project database is written by SaveShapeDefine alone.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "project/Project.h"
#include "shell/Context.h"
#include "store/Profile.h"

namespace talvorin {

// Kind words, carried in square brackets at the end of a kind label ("ドリル穴 [DRILL]").
inline constexpr std::string_view kDrill = "DRILL";
inline constexpr std::string_view kNtap = "NTAP";
inline constexpr std::string_view kReamer = "REAMER";
inline constexpr std::string_view kCounterbore = "COUNTERBORE";
inline constexpr std::string_view kLongHole = "LONGHOLE";
inline constexpr std::string_view kCbLongHole = "CBLONGHOLE";
inline constexpr std::string_view kUgroove = "UGROOVE";
inline constexpr std::string_view kBigHole = "BIGHOLE";

constexpr int kHoleGroups = 6;       // sections hole1 to hole6
constexpr int kHoleParameters = 10;  // keys variable0 to variable9
constexpr int kCoordinateRows = 10;  // keys X0/Y0 to X9/Y9

// Byte limits (CP932) of the stored texts.
constexpr std::size_t kKindLabelBytes = 47;  // key "command" of a hole section
constexpr std::size_t kTableTextBytes = 31;  // labels and captions of the hole-command table
constexpr std::size_t kValueBytes = 15;      // parameters, coordinates, table values

// The in-memory hole record of the derivations: parameters 0 to 9 and the material thickness.
struct HoleRecord {
  std::array<double, kHoleParameters> p{};
  double thickness = 0;  // key "Z" of section "material", mm
};

struct CoordinateRow {
  std::string x, y;  // fields 3000 + row and 3100 + row
};

// The shape-entry screen "形状情報の入力" of one hole group.
struct ShapeForm {
  std::vector<std::string> kinds;                     // 2000 "穴の種類": labels of the hole-command table
  std::string kind;                                   // 2000: the chosen label, at most 47 bytes
  std::array<std::string, kHoleParameters> captions;  // 2100-2109, "-" until a kind is chosen
  std::array<std::string, kHoleParameters> params;    // 2200-2209, at most 15 bytes each
  std::array<CoordinateRow, kCoordinateRows> rows;    // rows " 1" to "10"
  ShapeForm() { captions.fill("-"); }
};

// The circle screen "円上の座標計算": equally spaced points on a circle.
struct CircleForm {
  std::string centreX;  // 2400 "円中心 X"
  std::string centreY;  // 2401 "円中心 Y"
  std::string radius;   // 2402 "半径 [R]"
  std::string step;     // 2403 "分割角度", degrees
  std::string start;    // 2404 "初期角度", degrees, anticlockwise positive
  std::string count;    // 2405 "回転回数", digits
};

// --- The hole record (HoleRecord.cpp) ---

// "hole<group>", group 1 to 6.
std::string HoleSection(int group);

// The text between the last "[" and the last "]" of a kind label; "" when there is no such pair.
std::string GetKindWord(std::string_view label);

// True for the kind words saved as long holes (LONGHOLE, CBLONGHOLE), letter case ignored.
bool IsLongHoleKind(std::string_view word);

// The ten "variable" keys of a hole section as numbers (missing: 0); -1 when parameter 0 is 0.
int ReadHoleVariables(Context& ctx, std::string_view section, std::array<double, kHoleParameters>& params);

// Writes the pair "<prefix>X<number>", "<prefix>Y<number>" (prefix "" or "C") in keep-point form into
// the operation's edit of the project database.
int WriteCoordinatePair(Context& ctx, ProfileEdit& edit, std::string_view section, std::string_view prefix,
                        double x, double y, int number);

// Saves the screen into section "hole<group>": "command", the parameters and the positions, in one
// replacement of the project database. The steps below collect their keys in that edit.
int SaveShapeDefine(Context& ctx, ShapeForm& form, int group);
// Parameters 0 to required-1 must be non-empty; every other one is written as entered.
int SaveHoleDefinition(Context& ctx, ProfileEdit& edit, ShapeForm& form, std::string_view section,
                       int required);
// Keys X<row>, Y<row> of each row whose X and Y are both filled.
int SaveHoleCoordinate(Context& ctx, ProfileEdit& edit, ShapeForm& form, std::string_view section);
// As SaveHoleDefinition, then the slot centres and their end points.
int SaveLongHoleDefinition(Context& ctx, ProfileEdit& edit, ShapeForm& form, std::string_view section,
                           int required);
// Keys CX<row>, CY<row> for each filled row, and the end points X<k>, Y<k> numbered from 0: one per
// slot, two when (length - width) / 2 > 2. params: width 0, end-centre distance 1, axis angle 3.
int SaveLongHoleCoordinate(Context& ctx, ProfileEdit& edit, ShapeForm& form, std::string_view section,
                           const std::array<double, kHoleParameters>& params);

// Loads section "hole<group>" into the screen; a group without "command" leaves the screen as it is.
int ReadShapeDefine(Context& ctx, ShapeForm& form, int group);
// Each stored "variable" key into its parameter field.
void LoadingHoleDefine(Context& ctx, ShapeForm& form, std::string_view section);
// Each stored coordinate into its row; long holes load their centres (CX, CY).
void LoadingHoleCoordinate(Context& ctx, ShapeForm& form, std::string_view section, std::string_view command);

// --- The shape-entry screen (ShapeScreen.cpp) ---

// A group button of the main window: creates the project first (NewSavedata with `main`) when its
// file does not exist, runs the screen of `group` (the front end's modal screen, which opens with
// OpenShapeScreen), then refreshes the group captions of `main`. -1 when the project could not be
// created; otherwise what the screen returns.
int OpenShapeInput(Context& ctx, MainForm& main, int group, const std::function<int(int group)>& runScreen);

// Opening the screen: fills the kind selector from the hole-command table, then ReadShapeDefine.
int OpenShapeScreen(Context& ctx, ShapeForm& form, int group);
// The kind labels of section "command" of the hole-command table into form.kinds.
int FillKindSelector(Context& ctx, ShapeForm& form);
// Captions of parameter fields 0 to 9 of a kind ("-" when missing); empties the parameter fields.
int ShowKindCaptions(Context& ctx, ShapeForm& form, std::string_view word);
// A kind chosen in the selector (form.kind): its captions and the default parameters.
int ChooseKind(Context& ctx, ShapeForm& form);

// --- Positions (CsvCoordinates.cpp, CircleCalculation.cpp) ---

// Rows from a CSV file chosen through ctx.dialogs: "X,Y[,...]" per line, at most ten lines used.
int ReadCsvCoordinates(Context& ctx, ShapeForm& form);
// Leaving the angle-step field: the number of points 360 / step, the start angle "0" when empty.
void SetRotationCount(CircleForm& circle);
// "【計 算】": the points of the circle into the rows of the shape-entry screen; a step of 0 is refused.
int Circles2Angle_Calculation(Context& ctx, CircleForm& circle, ShapeForm& form);

// --- Derivation of the dependent parameters (HoleDerivation.cpp) ---

// Drill point length d/2 * tan 31 degrees.
double DrillPoint(double d);

// Leaving parameter field 0: derives the dependent parameters of the kind in the label.
int SetHoleInformation(Context& ctx, ShapeForm& form);
int GetNtapInformation(Context& ctx, ShapeForm& form, HoleRecord& record);
int SettingDefineTap(Context& ctx, ShapeForm& form, HoleRecord& record);
int GetReamerInformation(Context& ctx, ShapeForm& form, HoleRecord& record);
int SettingDefineReamer(Context& ctx, ShapeForm& form, HoleRecord& record);
int GetCounterboreInformation(Context& ctx, ShapeForm& form, HoleRecord& record);
int SettingDefineCounterbore(Context& ctx, ShapeForm& form, HoleRecord& record);
int SettingDefineLongHole(Context& ctx, ShapeForm& form, HoleRecord& record);
int SettingDefineCBLongHole(Context& ctx, ShapeForm& form, HoleRecord& record);
int SettingDefineUgroove(Context& ctx, ShapeForm& form, HoleRecord& record);
int SettingDefineBigHole(Context& ctx, ShapeForm& form, HoleRecord& record);

// The end mill of "ProcessTools.ini" for a slot or groove width: family "longhole" or "ugroove",
// searched from the whole width down to the family's "mindiameter".
int GetProcessToolDiameter(Context& ctx, std::string_view family, double width, double& diameter);

}  // namespace talvorin
