// The installation: where the program folder, the program INI and the tables are. Built once at
// start-up (SetupProgram) and carried to every operation; tests build their own in a temporary folder.
#pragma once

#include <string>
#include <string_view>

#include "store/Reporter.h"

namespace talvorin {

struct Colour {
  int red = 0, green = 0, blue = 0;  // 0-255
  bool operator==(const Colour&) const = default;
};

struct Installation {
  std::string programFolder;  // the executable's folder, with its trailing "/" (at most 260 bytes)
  std::string iniPath;        // program INI: programFolder + "TALVORIN.ini"
  std::string ncTableFile;    // the NC table file, resolved by SetNcTableFile
  int buildNumber = 0;        // month * 100 + day + year of the build date
  Colour windowColour{220, 220, 220};
  Colour textColour{0, 0, 0};
};

// Path of a file of the program folder; `name` may start with "table/". An existing file whose name
// differs only in ASCII letter case is found ("definetool.tbl" finds "defineTool.tbl"); otherwise the
// name is joined as given.
std::string ProgramFile(const Installation& inst, std::string_view name);

// out = program folder + value of key "folder<n>" of section "folder" (no trailing "/").
int GetFolderPath(const Installation& inst, Reporter& rep, int n, std::string& out);

// Resolves key "ncformat" of section "table" into the NC table file's path, which must exist; `path`
// is set only then. Start-up keeps it as the installation's ncTableFile.
int SetNcTableFile(const Installation& inst, Reporter& rep, std::string& path);

// Resolves key `name` of section "table" into the table's path in the program folder.
int GetTableFile(const Installation& inst, Reporter& rep, std::string_view name, std::string& path);

}  // namespace talvorin
