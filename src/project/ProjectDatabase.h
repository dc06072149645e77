// The project database's vocabulary: every section and key of the project file with the byte limit
// it is read with, and the typed readers that every subsystem uses for the values several of them
// need (the NC file, the start position, the material box). A key is named here once; callers ask
// for it by its constant, they do not spell it again.
//
// Limits count CP932 bytes including the terminating byte of the system's buffers: a limit of 16
// keeps at most 15 bytes of the value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "shell/Context.h"

namespace talvorin {

struct DbKey {
  const char* section;
  const char* key;
  std::size_t limit;  // read limit, bytes + 1
};

// Header: section named after the program.
inline constexpr DbKey kDbProject{"TALVORIN", "project", 128};  // project name, upper case
inline constexpr DbKey kDbProduct{"TALVORIN", "product", 128};  // product or workpiece name
inline constexpr DbKey kDbFolder{"TALVORIN", "dbpath", 260};    // the project folder
inline constexpr DbKey kDbCsvFile{"TALVORIN", "csvfile", 260};  // imported EUKLID data file
inline constexpr DbKey kDbDxfFile{"TALVORIN", "dxffile", 260};  // drawing file

// The material block: sizes in mm as keep-point number text ("100."), material, origin.
inline constexpr DbKey kDbSizeX{"material", "X", 16};
inline constexpr DbKey kDbSizeY{"material", "Y", 16};
inline constexpr DbKey kDbSizeZ{"material", "Z", 16};
inline constexpr DbKey kDbMaterial{"material", "type", 128};
inline constexpr DbKey kDbOrigin{"material", "origin", 128};
inline constexpr DbKey kDbOriginNo{"material", "originNo", 16};  // integer

// The machine.
inline constexpr DbKey kDbController{"machine", "ControlDevice", 16};  // "FANUC...", "OSP..."
inline constexpr DbKey kDbCoordinateSystem{"machine", "CoordinateSystem", 16};
inline constexpr DbKey kDbProgramNumber{"machine", "onumber", 16};  // integer
inline constexpr DbKey kDbNcFolder{"machine", "ncpath", 260};
inline constexpr DbKey kDbNcFile{"machine", "ncfile", 128};  // "O%04d.<extension>"
inline constexpr DbKey kDbTrycutFolder{"machine", "trycutpath", 260};
inline constexpr DbKey kDbTrycutFile{"machine", "trycutfile", 128};  // "O%04d", the TRYCUT base name
inline constexpr DbKey kDbStartX{"machine", "StartX", 16};
inline constexpr DbKey kDbStartY{"machine", "StartY", 16};
inline constexpr DbKey kDbStartZ{"machine", "StartZ", 16};
// Machining time results: keys "distance%d" (0-1), "Seconds_Time%d" and "Process_Time%d" (0-3).
inline constexpr const char* kDbTimeSection = "machine";
inline constexpr const char* kDbDistanceStem = "distance";
inline constexpr const char* kDbSecondsStem = "Seconds_Time";
inline constexpr const char* kDbClockStem = "Process_Time";

// The TRYCUT material box: "Xmax", "Xmin", ... "Zmin", drop-point number text.
inline constexpr const char* kDbBoxSection = "trycut";
inline constexpr std::size_t kDbBoxLimit = 16;

// Hole groups: section "hole" (count, group, index) and "hole1" to "hole6" (command, variable0-9 and
// the coordinates); the record itself is read through holes/Holes.h.
inline constexpr const char* kDbHoleSection = "hole";
inline constexpr const char* kDbHoleCount = "count";  // EUKLID circles imported
inline constexpr const char* kDbHoleGroup = "group";  // EUKLID groups formed
inline constexpr const char* kDbHoleCommand = "command";
inline constexpr std::size_t kDbHoleCommandLimit = 128;
inline constexpr const char* kDbHoleVariableStem = "variable";
inline constexpr int kDbHoleVariables = 10;  // variable0 to variable9
inline constexpr int kDbHoleGroups = 6;

// "index" of sections "hole" and "ncproc".
inline constexpr const char* kDbIndexKey = "index";

// Processes: section "ncproc" (index) and "ncproc1" to "ncproc15"; the key names of a process come
// from "NcProcess.key" (process/Process.h: GetProcessKeyName), never from a fixed spelling.
inline constexpr const char* kDbProcessSection = "ncproc";
inline constexpr int kDbProcesses = 15;

// "<section><n>": "hole3", "ncproc12".
std::string DbSection(const char* stem, int n);

// A string key of the project database (ctx.dbPath) with its limit; `fallback` when it is missing
// (absent or empty).
std::string ReadDb(const Context& ctx, const DbKey& key, std::string_view fallback = "");
// The same with the limit of a reader whose rule sets its own (the main window's load reads every
// header key with 127 bytes); "" when the key is missing.
std::string ReadDbWithLimit(const Context& ctx, const DbKey& key, std::size_t limit);

// "エラー：[<section>] <key>= | db <what>" (kind -1), the text of a missing key; the result is -1.
int ReportMissingDbKey(Context& ctx, const DbKey& key, const char* what);

// A folder or file stored in the project database ("ncpath", "trycutpath", "dxffile", "csvfile"): an
// absolute path as it is, a relative one in the program folder (the shipped examples hold "ncdata"
// and "trycut").
std::string StoredFolderPath(const Installation& inst, const std::string& folder);

// A file name taken from the project database names a file of its folder, never a way out of it nor a
// command: not empty, no "/", not "." or "..", no control characters, and not starting with "|", "!"
// (the FTP client's command escapes) or "-".
bool IsPlainFileName(std::string_view name);

// A file path taken from the project database ("csvfile", "dxffile"): any path, but with a file
// name (the part after the last "/") that IsPlainFileName accepts.
bool IsStoredPath(std::string_view path);

// "エラー：[<section>] <key>=<value> ファイル名が正しくありません" (kind -1); the result is -1.
int ReportBadStoredPath(Context& ctx, const DbKey& key, const std::string& value);

// True when both paths name one existing file (through links, relative parts, other spellings).
bool IsSameFile(const std::string& a, const std::string& b);

// The project's NC file as stored: "ncpath" resolved by StoredFolderPath, "ncfile", and the two
// joined. Reading reports nothing; empty members are missing keys.
struct NcFilePath {
  std::string folder;
  std::string name;
  std::string path;  // folder + "/" + name
};
NcFilePath ReadNcFilePath(const Context& ctx);

// "エラー：[machine] ncfile=<name> ＮＣファイル名が正しくありません" (kind -1) for a name that is not a
// plain file name; the result is -1.
int ReportBadNcFileName(Context& ctx, const std::string& name);

// The NC file as every reader takes it: "ncpath", then "ncfile" (missing: "エラー：[machine] ncpath= |
// db NCフォルダ取得失敗", "エラー：[machine] ncfile= | db NCファイル取得失敗"), then the name check.
// 0, or -1 after one report of kind -1.
int GetNcFilePath(Context& ctx, NcFilePath& nc);

// StartX, StartY, StartZ of section "machine" as stored text; `fallback` for a missing key.
struct StartText {
  std::string x, y, z;
};
StartText ReadStartText(const Context& ctx, std::string_view fallback);
// The three keys in the order X, Y, Z, for a reader that takes the axes in turn.
inline constexpr const DbKey* kDbStartKeys[3] = {&kDbStartX, &kDbStartY, &kDbStartZ};
// "エラー：[machine] StartX= | db スタート座標取得失敗" (kind -1) for the key of axis 0, 1 or 2; -1.
int ReportMissingStart(Context& ctx, int axis);

// The TRYCUT material box as numbers, in the order Xmax, Ymax, Zmax, Xmin, Ymin, Zmin. A missing key
// is reported as "エラー：[trycut] <key>= 最大材料値取得失敗" (or 最小材料値) and gives -1.
int ReadMaterialBox(Context& ctx, double (&box)[6]);

}  // namespace talvorin
