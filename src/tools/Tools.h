// Tools and cutting conditions: the tool list ("defineTool.tbl"), the magazine table
// ("ToolMagazine.tbl") with the tool screen, and the condition tables ("table/<kind><material>.tbl")
// with the conditions screen and its register table ("工具加工条件.tbl").
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "shell/Context.h"

namespace talvorin {

// ---------------------------------------------------------------------------------------------------
// Tool list and magazine

// One pocket of the magazine table: section "T<number>".
struct MagazinePocket {
  int number = 0;        // tool number, 1 to the magazine size
  std::string toolName;  // "toolname", at most 31 bytes; empty when not set
  std::string diameter;  // "diameter" as text, at most 7 bytes; empty when not set
};

// Rows of the tool screen: "T01" to "T30". A larger magazine has no rows beyond the thirtieth.
constexpr int kToolScreenRows = 30;

struct ToolRow {
  std::vector<std::string> toolNames;  // entries of the name field's drop-down list
  std::string toolName;                // name field, at most 31 bytes
  std::string diameter;                // diameter field (mm), at most 7 bytes
};

// The tool screen "マシニング基本工具登録" (dialog "MCTOOLLISTDLG"). rows[0] shows pocket 1.
struct ToolForm {
  std::array<ToolRow, kToolScreenRows> rows;
};

// Help topic of the tool screen's "【ヘルプ】".
inline constexpr std::string_view kToolScreenHelpTopic = "使用工具設定";

// Key "MaxToolNumber" of section "TALVORIN" of the program INI (default 30).
int MagazineSize(const Installation& inst);

// Fills every row's drop-down list (rows 1 to the magazine size) with the names "TOOLLIST<i>" of the
// tool list, i = 0 to its "index" (default 10); a missing entry is skipped.
void SetupToolsused(Context& ctx, ToolForm& form);

// Path of the magazine table in `path`; creates the file with its empty layout when it is missing.
// The magazine size, or -1 when the file cannot be created.
int GetToolTableFile(Context& ctx, std::string& path);

// Shows pockets 1 to 30 (at most the magazine size) in the rows; keys that are not set leave their
// fields unchanged.
int ReadToolTabel(Context& ctx, ToolForm& form);

// Writes the non-empty fields of rows 1 to 30 (at most the magazine size) back; an empty field keeps
// the stored value. Stops at the first refused write (rows before it stay written).
int WriteToolTabel(Context& ctx, ToolForm& form);

// The first pocket whose "toolname" equals `name` exactly and whose "diameter" equals `diameter` as a
// decimal number ("10" matches "10.0"); -1 when there is none. An empty name matches no pocket.
int FindToolNumber(Context& ctx, std::string_view name, std::string_view diameter);

// Every pocket 1 to the magazine size (after GetToolTableFile), for listings.
int ReadMagazine(Context& ctx, std::vector<MagazinePocket>& pockets);

// The tool screen opens: SetupToolsused, then ReadToolTabel.
int OpenToolScreen(Context& ctx, ToolForm& form);

// ---------------------------------------------------------------------------------------------------
// Cutting conditions

// What process generation presets and reads as "not delivered".
constexpr double kConditionNotSet = 999;

// Values of one condition lookup. A key that is not found leaves its member as the caller preset it.
struct CuttingCondition {
  double s = kConditionNotSet;  // "S" spindle speed (min-1)
  double f = kConditionNotSet;  // "F" feed (mm/min)
  double z = kConditionNotSet;  // "Z" centre-drilling depth, signed (kind "cdrill")
  double q = kConditionNotSet;  // "Q" peck depth of deep-hole drilling (kind "drill")
};

// Keys a kind reads, in order: "cdrill" S F Z, "drill" S F Q, every other kind S F.
std::vector<std::string_view> CuttingConditionKeys(std::string_view kind);

// The member of `values` that holds `key` ("S", "F", "Z" or "Q"); nullptr for any other key.
double* ConditionValue(CuttingCondition& values, std::string_view key);

// Path of the condition table of a kind and material: program folder + "table/" + kind + material +
// ".tbl".
std::string ConditionTableFile(const Installation& inst, std::string_view kind, std::string_view material);

// Looks up section "D%.1f" of `diameter` (no nearest match: 10.04 reads D10.0, 6.8 reads D6.8) in the
// condition table and stores every key of the kind that is present. 1 when every key was found;
// otherwise -1 after the kind's failure message (the keys found are still stored). Kind names of
// process generation: "cdrill", "drill", "chamfer", "ntap", "reamer", "counterbore", "endmillR",
// "endmillF".
int GetCuttingCondition(Context& ctx, std::string_view kind, std::string_view material, double diameter,
                        CuttingCondition& values);

// The conditions screen "工具毎の加工条件登録" (dialog "PROCESSINGCONDITIONDLG").
struct ConditionForm {
  std::vector<std::string> toolNames;  // "工 具 名" list
  std::vector<std::string> materials;  // "材 質" list
  std::string toolName;                // the chosen tool; empty when none is chosen
  std::string material;                // the chosen material
  // Captions of the four value fields (at most 23 bytes each).
  std::array<std::string, 4> captions{"工 具 径(D)", "回 転 数(S)", "送り速度(F)", "-"};
  // Value fields: [0] tool diameter (mm), [1] first value, [2] second value, [3] third value.
  std::array<std::string, 4> values;
};

// Help topic of the conditions screen's "【ヘルプ】".
inline constexpr std::string_view kConditionScreenHelpTopic = "加工条件設定";

// Path of the register table "工具加工条件.tbl" in the program folder.
std::string ConditionRegisterFile(const Installation& inst);

// The conditions screen opens: the register table becomes the current table file; the tool names of
// its section "tool" and the materials of the program INI fill the two lists (at most 30 each, up to
// the first missing key).
void StartupToolInitial(Context& ctx, ConditionForm& form);

// A tool was chosen: captions from "title0" to "title3" of its section ("-" when missing), and all
// four value fields emptied. Nothing happens without a chosen tool.
int SelectToolName(Context& ctx, ConditionForm& form);

// The diameter field lost the focus: the registered values of tool, material and diameter into the
// value fields. -1 without a message when an input or the tool's table name is missing.
int GetTooldefaultCondition(Context& ctx, ConditionForm& form);

// "【保 存】": writes the non-empty value fields into the tool's condition table; the first two as
// whole numbers, the third as typed. On success the value fields are emptied.
int RegisterToolCondition(Context& ctx, ConditionForm& form);

}  // namespace talvorin
