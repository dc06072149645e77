// The project database: one INI-format file per workpiece holding the header, the material block,
// the TRYCUT material box, six hole groups and fifteen processes. The main window's header fields
// are a form; every command on them is an operation here.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "shell/Context.h"

namespace talvorin {

// The main window's header: field texts as the user sees them, and the lists of its drop-downs.
struct MainForm {
  std::string projectName;                   // 1100 "プロジェクト名", upper case, at most 127 bytes
  std::string product;                       // 1101 "商品名／加工物", upper case, at most 127 bytes
  std::string sizeX, sizeY, sizeZ;           // 1110-1112 "材料寸法" X, Y, Z in mm
  std::string material;                      // 1113 "材 質"
  std::string origin;                        // 1120 "加工原点"
  std::string controller;                    // 1121 "制御装置"
  std::string coordinateSystem;              // 1122 "座標系"
  std::string programNumber;                 // 1123 "Ｏ番号", digits
  std::array<std::string, 6> groupCaptions;  // buttons 2001-2006
  // Drop-down lists: entries and the preselected index (-1 none).
  std::vector<std::string> materials, origins, controllers, coordinateSystems;
  int materialIndex = -1, originIndex = -1, controllerIndex = -1, coordinateSystemIndex = -1;
  std::string title;  // window title
};

// Program folder + "db" etc. are read from the installation; ctx.dbPath is the current project database.

// Extension of project database files: key "camdbfile" of section "extension", "dat" when missing.
std::string DatabaseExtension(const Installation& inst);

// Path of the project database from the project name field: "<folder 0>/<name>.<camdbfile>".
int SettingDBfilename(Context& ctx, MainForm& form);
// Backs the current file up as ".bak" and writes the empty layout anew.
int MakeTALVORINdbfile(Context& ctx);
// Command 40002 (overwrite 1) and the last step of NewSavedata (overwrite 0).
int SaveTALVORINdata(Context& ctx, MainForm& form, int overwrite);
// Command 40021: SettingDBfilename, then SaveTALVORINdata with overwrite 0.
int NewSavedata(Context& ctx, MainForm& form);
// The TRYCUT material box of section "trycut" from the block size and the origin number.
int WriteTrycutMaterial(Context& ctx, double x, double y, double z, int originNo);
// Command 40001: choose a file (ctx.dialogs), initialise the form, load the header.
int LoadProject(Context& ctx, MainForm& form);
// Fills the header fields and group captions from the current project database.
int defineLoadMain(Context& ctx, MainForm& form);
// Shows the next program number in field 1123 and consumes it from "ncfile_rule.tbl".
void NextProgramNumber(Context& ctx, MainForm& form);
// Key "Z" of section "material" as a number; -1 (reported) when missing.
double GetMaterialThickness(Context& ctx);
// Parameter texts of a hole kind from "DefaultValue.tbl": set keys replace params[i], others stay.
int GetDefaultValue(Context& ctx, std::string_view kind, std::array<std::string, 10>& params);
// Open-file dialog "ファイルを開く" for `extension` files starting in `initialFolder`; 1 when chosen.
int ChooseFile(Context& ctx, std::string& out, std::string_view extension, const std::string& initialFolder);

// Command 40020: close commands, empty fields, captions "[ %d ]", next program number, forget the path.
void InitialiseMainForm(Context& ctx, MainForm& form);
// Fills controller, coordinate system, origin and material lists with their preselections, then
// shows the next program number.
void FillMachineChoices(Context& ctx, MainForm& form);
// Refills the coordinate system list for a controller text (the OSP / G15 rule); no preselection.
void FillCoordinateSystems(Context& ctx, MainForm& form, std::string_view controller);
// Window title from key "title", with " [path]" when the project file exists.
void RefreshTitle(Context& ctx, MainForm& form);
// Group button captions from the "command" keys of hole1 to hole6, "[ %d ]" when missing.
void RefreshGroupCaptions(Context& ctx, MainForm& form);

}  // namespace talvorin
