// What the NC viewer needs besides the program: the project the program belongs to (found by its NC
// file among the project files of the project folder), the start position, the rate table of the
// time estimate and the project's material box.
#pragma once

#include <string>
#include <vector>

#include "mtime/MachiningTime.h"
#include "shell/Context.h"

namespace talvorin {

struct NcViewSettings {
  std::string dbPath;  // the project whose NC file the program is; empty when none was found
  NcPoint start;       // StartX, StartY, StartZ of the project, else of the NC table file
  TimeRates rates;
  bool hasBox = false;             // the project's TRYCUT material box was read
  double box[6] = {};              // Xmax, Ymax, Zmax, Xmin, Ymin, Zmin
  std::vector<std::string> notes;  // what could not be read, as reported (list lines)
};

// The project file of the project folder (key "folder0" of section "folder", extension "camdbfile" of
// section "extension") whose "ncpath" and "ncfile" name the file `ncFile`; empty when there is none.
std::string FindProjectOfNcFile(const Installation& inst, const std::string& ncFile);

// The settings for `ncFile`: the project's start position and material box when the project is
// found, otherwise the start position of section "NcFormat" of the NC table file; the rates of its
// section "processtime". Nothing is shown: what is missing goes to `notes`.
NcViewSettings ReadNcViewSettings(Installation& inst, const std::string& ncFile);

}  // namespace talvorin
