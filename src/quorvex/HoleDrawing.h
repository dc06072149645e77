// quorvex: the drawing of a project's material block and holes. One export run reads the project
// database (ctx.dbPath), writes "<dbpath>/<project>.dxf" and starts the DXF viewer of key "viewer" of
// section "quorvex" of the program INI (ctx.inst.iniPath, "quorvex.ini").
//
// Layers: the material outline "材料_<X>×<Y>×<Z>", its dimensions "材料寸法", each hole group its
// label ("4-D10-ドリル"), centre crosses "基準線", the origin mark and the title "原点".
#pragma once

#include <array>
#include <string>

#include "dxf/DrawingProgram.h"
#include "dxf/DxfWriter.h"
#include "shell/Context.h"

namespace talvorin {

const DrawingProgramIdentity& QuorvexProgram();

// A point of the material block in work coordinates, mm.
struct BlockPoint {
  double x = 0, y = 0, z = 0;
};

// The ten shape values V0 ... V9 of a hole group ("variable0" ...), 0 where missing.
using ShapeValues = std::array<double, 10>;

// The drawing file of the project: "<dbpath>/<project>.dxf", a relative dbpath in the program folder.
// -1 after its message to `rep` when "project" or "dbpath" is missing or the name is no file name.
int HoleDrawingPath(const Context& ctx, Reporter& rep, std::string& path);

// The whole run: output path, content, viewer. Returns the content's result or that of the failed step.
int ExportHoleDrawing(Context& ctx, const ElementColor& colors);

// The DXF content of the project: header with margins, tables, outline, hole groups 1 to 6,
// dimensions, origin mark, title.
int quorvex(Context& ctx, DxfDrawing& d);

// size = section "material" X, Y, Z; max and min = section "trycut" Xmax, Xmin, Ymax ... Zmin.
int ReadMaterialExtents(Context& ctx, BlockPoint& size, BlockPoint& max, BlockPoint& min);

// Reads "variable0" ... "variable9" of the group's section.
int GetShapeDefinition(Context& ctx, const std::string& section, ShapeValues& v);

// One hole group each, on the layer named from `label` and `group` (1-6); 0 always (a group with a
// zero required value, or without positions, draws nothing).
int WriteDrillHole(Context& ctx, DxfDrawing& d, const std::string& section, const ShapeValues& v,
                   const std::string& label, int group);
int WriteReamerHole(Context& ctx, DxfDrawing& d, const std::string& section, const ShapeValues& v,
                    const std::string& label, int group);
int WriteTapHole(Context& ctx, DxfDrawing& d, const std::string& section, const ShapeValues& v,
                 const std::string& label, int group);
int WriteCounterboreHole(Context& ctx, DxfDrawing& d, const std::string& section, const ShapeValues& v,
                         const std::string& label, int group);
int WriteLongHole(Context& ctx, DxfDrawing& d, const std::string& section, const ShapeValues& v,
                  const std::string& label, int group);
int WriteBigHoleHole(Context& ctx, DxfDrawing& d, const std::string& section, const ShapeValues& v,
                     const std::string& label, int group);
int WriteUgroove(Context& ctx, DxfDrawing& d, const std::string& section, const ShapeValues& v,
                 const std::string& label, int group, const BlockPoint& min, const BlockPoint& max);

void WriteMaterialOutline(DxfDrawing& d, const BlockPoint& max, const BlockPoint& min);
void WriteMaterialDimensions(DxfDrawing& d, const BlockPoint& max, const BlockPoint& min);

}  // namespace talvorin
