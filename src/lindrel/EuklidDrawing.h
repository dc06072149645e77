// lindrel: the drawing of a contour handed over by EUKLID. One export run reads "dxffile" (the
// drawing to write) and "csvfile" (the curve file) of section "TALVORIN" of the project database
// (ctx.dbPath), writes every line and arc of the contour on a layer named after its line number
// ("LINE-2", "ARC-3", "CIRCLE-4"), adds the coordinate axes and the origin mark, and starts the DXF
// viewer of key "viewer" of section "lindrel" of the program INI (ctx.inst.iniPath, "lindrel.ini").
#pragma once

#include <string>

#include "dxf/DrawingProgram.h"
#include "dxf/DxfWriter.h"
#include "shell/Context.h"

namespace talvorin {

const DrawingProgramIdentity& LindrelProgram();

// Key "consol" of section "lindrel" reads 1: the program opens a console at start and prints
// kLindrelConsoleLine to it.
bool WantsConsole(const Installation& inst);
constexpr const char* kLindrelConsoleLine = "$$$ Console - Start $$$\n";

// The whole run: paths, content, viewer.
int ExportEuklidDrawing(Context& ctx, const ElementColor& colors);

// The DXF content of the curve file: extents 20 % beyond the contour, tables, segments, axes,
// origin mark.
int lindrel(Context& ctx, DxfDrawing& d, const std::string& curveFile);

// Extents of the contour, both starting at (0, 0) so that the origin lies inside: every line's point
// and, for an arc line, its whole circle.
int GetMinMaxPoint(Context& ctx, const std::string& curveFile, DxfPoint& min, DxfPoint& max);

// One entity per line or arc line after the first line (the start point).
int WriteEuklidSegments(Context& ctx, DxfDrawing& d, const std::string& curveFile);

// Polar angle in [0, 360) of `point` about `centre`, degrees; offsets within 0.001 count as 0.
// -1 after "エラー：円の中心と点が同じ座標です" when the point lies on the centre.
int PointAngle(Reporter& rep, DxfPoint centre, DxfPoint point, double& angle);

}  // namespace talvorin
