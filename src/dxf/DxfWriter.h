// The DXF writer of both drawing programs: an ASCII DXF R12 file frame (HEADER, the table section
// copied from "tableSection.dat", ENTITIES, EOF), five entity writers, the drawing attributes every
// entity carries, the element colours, and three marks built from entities. It knows nothing of holes
// or contours: callers compute every coordinate, set the attributes and call the writers in order.
//
// Every value line is "%s", "%d" or "%.6f" (12.5 -> 12.500000, a negative zero -> -0.000000); angles
// are degrees counter-clockwise from +X; no entity carries a Z coordinate.
#pragma once

#include <string>
#include <string_view>

#include "store/Installation.h"
#include "store/Reporter.h"
#include "store/TextSink.h"

namespace talvorin {

// Colour numbers (DXF group 62) of the drawing elements, section "ElementColor" of the program's
// INI, keys in parentheses; missing keys give the defaults, values read as integers (Profile.h).
struct ElementColor {
  int figure = 0;     // "図形": hole outlines, contour segments (0 is the DXF colour BYBLOCK)
  int origin = 1;     // "原点": the origin mark
  int reference = 2;  // "基準": centre crosses, coordinate axes
  int material = 3;   // "材料": material outline
  int dimension = 5;  // "寸法": material dimensions and their texts
  int text = 6;       // "文字": plain texts (project and product name)
};

ElementColor ReadElementColor(const std::string& iniPath);

struct DxfPoint {
  double x = 0, y = 0;
};
struct DxfLineRecord {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
struct DxfCircleRecord {  // also the centre cross and the origin mark
  double x = 0, y = 0, radius = 0;
};
struct DxfArcRecord {  // counter-clockwise from startAngle to endAngle, degrees
  double x = 0, y = 0, radius = 0, startAngle = 0, endAngle = 0;
};
struct DxfAlignedTextRecord {
  double x = 0, y = 0, height = 0, angle = 0;  // angle: rotation in degrees
};
struct DxfTextRecord {
  double x = 0, y = 0, height = 0;
};

constexpr std::size_t kDxfLayerLimit = 31;     // CP932 bytes of a layer name
constexpr std::size_t kDxfLinetypeLimit = 15;  // CP932 bytes of a linetype name

// One drawing being written: its sink, the element colours and the current attributes.
// "sink" must remain live while the drawing is written.
struct DxfDrawing {
  TextSink& sink;
  ElementColor colors;
  std::string layer;     // current layer (SetDxfLayer), "" at start
  std::string linetype;  // current linetype (SetDxfLinetype), "" at start
  int colour = 0;        // current colour of LINE, CIRCLE and ARC
  std::string scratch;   // value text being formed
};

// Layer and linetype names longer than their limits are cut (never inside a double-byte character).
void SetDxfLayer(DxfDrawing& d, std::string_view name);
void SetDxfLinetype(DxfDrawing& d, std::string_view name);

// HEADER section: $ACADVER AC1009, $DWGCODEPAGE ANSI_932 (the text encoding, so that readers on
// any system decode the Japanese names), $EXTMIN and $EXTMAX.
void WriteDxfHeader(DxfDrawing& d, DxfPoint extMin, DxfPoint extMax);
// Copies "tableSection.dat" of the program folder unchanged, except that a line feed without a
// carriage return before it becomes CR LF. -1 after "エラー：DXFファイル %s 開けません" when the file
// cannot be read.
int CopyTableSection(DxfDrawing& d, const Installation& inst, Reporter& rep);
// "  0" SECTION "  2" ENTITIES.
void BeginDxfEntities(DxfDrawing& d);
// "  0" ENDSEC "  0" EOF.
void EndDxfFile(DxfDrawing& d);

// LINE, CIRCLE and ARC with the current layer, linetype and colour.
void WriteDxfLine(DxfDrawing& d, const DxfLineRecord& line);
void WriteDxfCircle(DxfDrawing& d, const DxfCircleRecord& circle);
void WriteDxfArc(DxfDrawing& d, const DxfArcRecord& arc);
// TEXT in the "寸法" colour, with horizontal alignment `alignment` (1: centred) about its insertion
// point, which is repeated as the alignment point.
void WriteDxfAlignedText(DxfDrawing& d, std::string_view text, const DxfAlignedTextRecord& rec,
                         int alignment);
// TEXT in the "文字" colour, left-aligned at its insertion point, no rotation.
void WriteDxfText(DxfDrawing& d, std::string_view text, const DxfTextRecord& rec);

// Centre cross of a hole: lines of half-length 1.5 r through the centre on layer "基準線", linetype
// HIDDEN, colour "基準". Layer and linetype are put back afterwards; the colour stays "基準".
void WriteCentreCross(DxfDrawing& d, const DxfCircleRecord& c);

// At most this many pairs of quarter arcs fill an origin mark (a radius up to 1000): a mark of an
// absurd or infinite radius stays bounded.
constexpr int kOriginMarkMaxArcPairs = 10000;

// Origin mark on layer "原点", linetype CONTINUOUS, colour "原点" (they stay in force): the circle of
// radius r, then for t = 0.1, 0.2, ... while t < r (t summed by adding 0.1, so 0.30000000000000004
// is the third) the quarter arcs 0-90 and 180-270 of radius t, then the lines (-2r, 0)-(2r, 0) and
// (0, -2r)-(0, 2r) about the drawing origin.
void WriteOriginMark(DxfDrawing& d, const DxfCircleRecord& c);

// X and Y axes through the origin reaching 20 % of the drawing size (max - min) beyond the extents,
// on layer "基準線", linetype CENTER, colour "基準" (they stay in force).
void WriteAxisLines(DxfDrawing& d, DxfPoint min, DxfPoint max);

}  // namespace talvorin
