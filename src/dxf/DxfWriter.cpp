#include "dxf/DxfWriter.h"

#include <charconv>
#include <cstdio>
#include <memory>

#include "store/Cp932.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

// Room for "%.6f" of any double: 309 integer digits, sign, point and six decimals.
constexpr std::size_t kRealRoom = 330;

void Group(DxfDrawing& d, std::string_view code, std::string_view value) {
  d.sink.Line(code);
  d.sink.Line(value);
}

void Integer(DxfDrawing& d, std::string_view code, int value) {
  d.scratch.resize(16);
  auto r = std::to_chars(d.scratch.data(), d.scratch.data() + d.scratch.size(), value);
  d.scratch.resize(static_cast<std::size_t>(r.ptr - d.scratch.data()));
  Group(d, code, d.scratch);
}

// "%.6f": to_chars with a precision prints exactly as printf does in the "C" locale, "-0.000000"
// included, without printf's locale and format parsing.
void Real(DxfDrawing& d, std::string_view code, double value) {
  d.scratch.resize(kRealRoom);
  auto r = std::to_chars(d.scratch.data(), d.scratch.data() + d.scratch.size(), value,
                         std::chars_format::fixed, 6);
  d.scratch.resize(static_cast<std::size_t>(r.ptr - d.scratch.data()));
  Group(d, code, d.scratch);
}

// The groups every entity starts with.
void EntityStart(DxfDrawing& d, std::string_view type) {
  Group(d, "  0", type);
  Group(d, "  8", d.layer);
  Group(d, "  6", d.linetype);
}

}  // namespace

ElementColor ReadElementColor(const std::string& iniPath) {
  ElementColor c;
  c.figure = ReadInt(iniPath, "ElementColor", "図形", c.figure);
  c.origin = ReadInt(iniPath, "ElementColor", "原点", c.origin);
  c.reference = ReadInt(iniPath, "ElementColor", "基準", c.reference);
  c.material = ReadInt(iniPath, "ElementColor", "材料", c.material);
  c.dimension = ReadInt(iniPath, "ElementColor", "寸法", c.dimension);
  c.text = ReadInt(iniPath, "ElementColor", "文字", c.text);
  return c;
}

void SetDxfLayer(DxfDrawing& d, std::string_view name) {
  d.layer = Cp932Cut(name, kDxfLayerLimit);
}

void SetDxfLinetype(DxfDrawing& d, std::string_view name) {
  d.linetype = Cp932Cut(name, kDxfLinetypeLimit);
}

void WriteDxfHeader(DxfDrawing& d, DxfPoint extMin, DxfPoint extMax) {
  Group(d, "  0", "SECTION");
  Group(d, "  2", "HEADER");
  Group(d, "  9", "$ACADVER");
  Group(d, "  1", "AC1009");
  Group(d, "  9", "$DWGCODEPAGE");
  Group(d, "  3", "ANSI_932");
  Group(d, "  9", "$EXTMIN");
  Real(d, " 10", extMin.x);
  Real(d, " 20", extMin.y);
  Group(d, " 30", "0.000000");
  Group(d, "  9", "$EXTMAX");
  Real(d, " 10", extMax.x);
  Real(d, " 20", extMax.y);
  Group(d, " 30", "0.000000");
  Group(d, "  0", "ENDSEC");
}

int CopyTableSection(DxfDrawing& d, const Installation& inst, Reporter& rep) {
  std::string path = ProgramFile(inst, "tableSection.dat");
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!in) return rep.Reportf(-1, "エラー：DXFファイル %s 開けません", path.c_str());
  std::string chunk(1 << 16, '\0');
  std::string out;
  char previous = '\0';
  for (;;) {
    std::size_t n = std::fread(chunk.data(), 1, chunk.size(), in.get());
    if (n == 0) break;
    out.clear();
    for (std::size_t i = 0; i < n; ++i) {
      if (chunk[i] == '\n' && previous != '\r') out += '\r';
      out += chunk[i];
      previous = chunk[i];
    }
    d.sink.Raw(out);
  }
  if (std::ferror(in.get())) return rep.Reportf(-1, "エラー：DXFファイル %s 開けません", path.c_str());
  return 0;
}

void BeginDxfEntities(DxfDrawing& d) {
  Group(d, "  0", "SECTION");
  Group(d, "  2", "ENTITIES");
}

void EndDxfFile(DxfDrawing& d) {
  Group(d, "  0", "ENDSEC");
  Group(d, "  0", "EOF");
}

void WriteDxfLine(DxfDrawing& d, const DxfLineRecord& line) {
  EntityStart(d, "LINE");
  Integer(d, " 62", d.colour);
  Group(d, " 100", "AcDbLine");
  Real(d, " 10", line.x1);
  Real(d, " 20", line.y1);
  Real(d, " 11", line.x2);
  Real(d, " 21", line.y2);
}

void WriteDxfCircle(DxfDrawing& d, const DxfCircleRecord& circle) {
  EntityStart(d, "CIRCLE");
  Integer(d, " 62", d.colour);
  Group(d, " 100", "AcDbCircle");
  Real(d, " 10", circle.x);
  Real(d, " 20", circle.y);
  Real(d, " 40", circle.radius);
}

void WriteDxfArc(DxfDrawing& d, const DxfArcRecord& arc) {
  EntityStart(d, "ARC");
  Integer(d, " 62", d.colour);
  Group(d, " 100", "AcDbCircle");  // an ARC carries the circle's subclass marker only
  Real(d, " 10", arc.x);
  Real(d, " 20", arc.y);
  Real(d, " 40", arc.radius);
  Real(d, " 50", arc.startAngle);
  Real(d, " 51", arc.endAngle);
}

void WriteDxfAlignedText(DxfDrawing& d, std::string_view text, const DxfAlignedTextRecord& rec,
                         int alignment) {
  EntityStart(d, "TEXT");
  Integer(d, " 62", d.colors.dimension);
  Integer(d, " 72", alignment);
  Group(d, " 100", "AcDbText");
  Real(d, " 10", rec.x);
  Real(d, " 20", rec.y);
  Real(d, " 40", rec.height);
  Real(d, " 50", rec.angle);
  Real(d, " 11", rec.x);
  Real(d, " 21", rec.y);
  Group(d, "  1", text);
}

void WriteDxfText(DxfDrawing& d, std::string_view text, const DxfTextRecord& rec) {
  EntityStart(d, "TEXT");
  Integer(d, " 62", d.colors.text);
  Group(d, " 100", "AcDbText");
  Real(d, " 10", rec.x);
  Real(d, " 20", rec.y);
  Real(d, " 40", rec.height);
  Group(d, "  1", text);
}

void WriteCentreCross(DxfDrawing& d, const DxfCircleRecord& c) {
  std::string layer = d.layer, linetype = d.linetype;
  SetDxfLayer(d, "基準線");
  SetDxfLinetype(d, "HIDDEN");
  d.colour = d.colors.reference;
  double h = 1.5 * c.radius;
  WriteDxfLine(d, {c.x - h, c.y, c.x + h, c.y});
  WriteDxfLine(d, {c.x, c.y - h, c.x, c.y + h});
  d.layer = layer;
  d.linetype = linetype;
}

void WriteOriginMark(DxfDrawing& d, const DxfCircleRecord& c) {
  SetDxfLayer(d, "原点");
  SetDxfLinetype(d, "CONTINUOUS");
  d.colour = d.colors.origin;
  double r = c.radius;
  WriteDxfCircle(d, c);
  int pairs = 0;
  for (double t = 0.1; t < r && pairs < kOriginMarkMaxArcPairs; t += 0.1, ++pairs) {
    WriteDxfArc(d, {c.x, c.y, t, 0, 90});
    WriteDxfArc(d, {c.x, c.y, t, 180, 270});
  }
  WriteDxfLine(d, {-2 * r, 0, 2 * r, 0});
  WriteDxfLine(d, {0, -2 * r, 0, 2 * r});
}

void WriteAxisLines(DxfDrawing& d, DxfPoint min, DxfPoint max) {
  SetDxfLayer(d, "基準線");
  SetDxfLinetype(d, "CENTER");
  d.colour = d.colors.reference;
  DxfPoint s{max.x - min.x, max.y - min.y};
  WriteDxfLine(d, {min.x - 0.2 * s.x, 0, max.x + 0.2 * s.x, 0});
  WriteDxfLine(d, {0, min.y - 0.2 * s.y, 0, max.y + 0.2 * s.y});
}

}  // namespace talvorin
