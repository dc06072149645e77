#include "quorvex/HoleDrawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "holes/Holes.h"
#include "project/ProjectDatabase.h"
#include "store/Ascii.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

std::string Number(double value) {
  return FormatNumber(value, false);
}

// The kind word between the last "[" and the last "]" of a command text; nullopt without such a
// pair, "" for an empty pair.
std::optional<std::string> KindWord(const std::string& command) {
  std::size_t open = command.rfind('[');
  std::size_t close = command.rfind(']');
  if (open == std::string::npos || close == std::string::npos || close < open) return std::nullopt;
  return command.substr(open + 1, close - open - 1);
}

// Position k of a group from the keys "<xStem><k>" and "<yStem><k>"; false when either is missing.
bool ReadPosition(const Context& ctx, const std::string& section, const char* xStem, const char* yStem, int k,
                  DxfPoint& p) {
  std::string x = ReadString(ctx.dbPath, section, Sprintf("%s%d", xStem, k), 16);
  if (x.empty()) return false;
  std::string y = ReadString(ctx.dbPath, section, Sprintf("%s%d", yStem, k), 16);
  if (y.empty()) return false;
  p = {AtoF(x), AtoF(y)};
  return true;
}

// Circles of the given radii about every position X0/Y0 ... X9/Y9 up to the first missing one, each
// position followed by its centre cross of the last radius.
void WriteRoundHoles(Context& ctx, DxfDrawing& d, const std::string& section, const std::string& layer,
                     const std::vector<double>& radii) {
  SetDxfLayer(d, layer);
  SetDxfLinetype(d, "CONTINUOUS");
  DxfPoint p;
  for (int k = 0; k <= 9 && ReadPosition(ctx, section, "X", "Y", k, p); ++k) {
    d.colour = d.colors.figure;
    for (double r : radii)
      WriteDxfCircle(d, {p.x, p.y, r});
    WriteCentreCross(d, {p.x, p.y, radii.back()});
  }
}

// An arc angle brought into [0, 360) by one correction.
double NormalAngle(double a) {
  if (a < 0) return a + 360;
  if (a >= 360) return a - 360;
  return a;
}

double ReadNumber(const std::string& file, const char* section, const char* key, bool& found) {
  std::string text = ReadString(file, section, key, 16);
  found = !text.empty();
  return AtoF(text);
}

int ReadBlockValue(Context& ctx, const char* section, const char* key, const char* what, double& out) {
  bool found = false;
  out = ReadNumber(ctx.dbPath, section, key, found);
  if (!found) return ctx.reporter.Reportf(-1, "エラー：[%s] %s= %s", section, key, what);
  return 0;
}

}  // namespace

const DrawingProgramIdentity& QuorvexProgram() {
  static const DrawingProgramIdentity identity{"quorvex", "二次元ＣＡＭ用 図面出力＆表示 / ブレンホルト",
                                               "二次元ＣＡＭシステム　図面出力", 70};
  return identity;
}

int HoleDrawingPath(const Context& ctx, Reporter& rep, std::string& path) {
  std::string project = ReadString(ctx.dbPath, "TALVORIN", "project", 128);
  if (project.empty())
    return rep.Reportf(-1, "エラー：[%s] %s= プロジェクトの読み込みに失敗", "TALVORIN", "project");
  std::string folder = ReadString(ctx.dbPath, "TALVORIN", "dbpath", 260);
  if (folder.empty())
    return rep.Reportf(-1, "エラー：[%s] %s= 保存フォルダの読み込みに失敗", "TALVORIN", "dbpath");
  if (!IsPlainFileName(project))
    return rep.Reportf(-1, "エラー：プロジェクト名 %s はファイル名に使えません", project.c_str());
  // A relative folder (the shipped example projects) lies in the program folder.
  folder = StoredFolderPath(ctx.inst, folder);
  if (folder.back() != '/') folder += '/';
  path = Sprintf("%s%s.dxf", folder.c_str(), project.c_str());
  return 0;
}

int ExportHoleDrawing(Context& ctx, const ElementColor& colors) {
  std::string path;
  if (HoleDrawingPath(ctx, ctx.reporter, path) != 0) return -1;
  TextFile file;
  if (CreateDrawingFile(file, path, ctx.reporter) != 0) return -1;
  DxfDrawing d{file, colors, "", "", 0, ""};
  int result = FinishDrawingFile(file, quorvex(ctx, d), path, ctx.reporter);
  if (result != 0) return result;
  return OpenDxfViewer(ctx, path, "quorvex");
}

int quorvex(Context& ctx, DxfDrawing& d) {
  ctx.reporter.Report("!!! routine name : quorvex", 0);
  BlockPoint size, max, min;
  if (ReadMaterialExtents(ctx, size, max, min) != 0) return -1;

  // Margins: 0.3 of the material size below and left, the full size above and right.
  WriteDxfHeader(d, {min.x - 0.3 * size.x, min.y - 0.3 * size.y}, {max.x + size.x, max.y + size.y});
  if (CopyTableSection(d, ctx.inst, ctx.reporter) != 0) return -1;
  BeginDxfEntities(d);
  WriteMaterialOutline(d, max, min);

  for (int g = 1; g <= kHoleGroups; ++g) {
    std::string section = HoleSection(g);
    std::string command = ReadString(ctx.dbPath, section, kDbHoleCommand, kKindLabelBytes + 1);
    if (command.empty()) continue;
    std::optional<std::string> kind = KindWord(command);
    if (kind && kind->empty()) return ctx.reporter.Report("エラー：加工命令の取り出し失敗", -1);
    ShapeValues v;
    GetShapeDefinition(ctx, section, v);
    if (!kind) continue;
    if (EqualsIgnoringAsciiCase(*kind, kDrill)) {
      WriteDrillHole(ctx, d, section, v, "ドリル", g);
    } else if (EqualsIgnoringAsciiCase(*kind, kNtap)) {
      WriteTapHole(ctx, d, section, v, "並目タップ", g);
    } else if (EqualsIgnoringAsciiCase(*kind, kReamer)) {
      WriteReamerHole(ctx, d, section, v, "リーマ", g);
    } else if (EqualsIgnoringAsciiCase(*kind, kCounterbore)) {
      WriteCounterboreHole(ctx, d, section, v, "ザグリ", g);
    } else if (IsLongHoleKind(*kind)) {
      WriteLongHole(ctx, d, section, v, "長穴", g);
    } else if (EqualsIgnoringAsciiCase(*kind, kBigHole)) {
      WriteBigHoleHole(ctx, d, section, v, "大穴", g);
    } else if (EqualsIgnoringAsciiCase(*kind, kUgroove)) {
      WriteUgroove(ctx, d, section, v, "Ｕ溝", g, min, max);
    }
  }

  WriteMaterialDimensions(d, max, min);
  WriteOriginMark(d, {0, 0, (size.x + size.y) / 2 / 35});

  // Title: the longer of the two names spans the block's width; the texts stay on the origin mark's
  // layer and linetype.
  std::string project = ReadString(ctx.dbPath, "TALVORIN", "project", 128);
  std::string product = ReadString(ctx.dbPath, "TALVORIN", "product", 128);
  std::size_t n = std::max(Cp932Length(project), Cp932Length(product));
  if (n > 0) {
    double h = (max.x - min.x) / static_cast<double>(n);
    double x = min.x + h, y = min.y - 3 * h;
    if (!project.empty()) {
      WriteDxfText(d, project, {x, y, h});
      y -= 1.5 * h;
    }
    if (!product.empty()) WriteDxfText(d, product, {x, y, h});
  }
  EndDxfFile(d);
  return 0;
}

int ReadMaterialExtents(Context& ctx, BlockPoint& size, BlockPoint& max, BlockPoint& min) {
  const char* sizeError = "材料寸法の読み込みに失敗";
  if (ReadBlockValue(ctx, "material", "X", sizeError, size.x) != 0 ||
      ReadBlockValue(ctx, "material", "Y", sizeError, size.y) != 0 ||
      ReadBlockValue(ctx, "material", "Z", sizeError, size.z) != 0)
    return -1;
  const char* maxError = "最大材料寸法の読み込みに失敗";
  const char* minError = "最小材料寸法の読み込みに失敗";
  if (ReadBlockValue(ctx, "trycut", "Xmax", maxError, max.x) != 0 ||
      ReadBlockValue(ctx, "trycut", "Xmin", minError, min.x) != 0 ||
      ReadBlockValue(ctx, "trycut", "Ymax", maxError, max.y) != 0 ||
      ReadBlockValue(ctx, "trycut", "Ymin", minError, min.y) != 0 ||
      ReadBlockValue(ctx, "trycut", "Zmax", maxError, max.z) != 0 ||
      ReadBlockValue(ctx, "trycut", "Zmin", minError, min.z) != 0)
    return -1;
  return 0;
}

int GetShapeDefinition(Context& ctx, const std::string& section, ShapeValues& v) {
  ctx.reporter.Report("!!! routine name : GetShapeDefinition", 0);
  // Every parameter, also of a group whose first is 0 (its drawing then shows nothing).
  ReadHoleVariables(ctx, section, v);
  return 0;
}

int WriteDrillHole(Context& ctx, DxfDrawing& d, const std::string& section, const ShapeValues& v,
                   const std::string& label, int group) {
  ctx.reporter.Report("!!! routine name : WriteDrillHole", 0);
  if (v[0] == 0) return 0;
  std::vector<double> radii{v[0] / 2};
  if (v[2] > 0) radii.push_back(v[0] / 2 + v[2]);
  WriteRoundHoles(ctx, d, section, Sprintf("%d-D%s-%s", group, Number(v[0]).c_str(), label.c_str()), radii);
  return 0;
}

int WriteReamerHole(Context& ctx, DxfDrawing& d, const std::string& section, const ShapeValues& v,
                    const std::string& label, int group) {
  ctx.reporter.Report("!!! routine name : WriteReamerHole", 0);
  if (v[0] == 0) return 0;
  std::vector<double> radii{v[0] / 2};
  if (v[4] > 0) radii.push_back(v[0] / 2 + v[4]);
  WriteRoundHoles(ctx, d, section, Sprintf("%d-D%s-%s", group, Number(v[0]).c_str(), label.c_str()), radii);
  return 0;
}

int WriteTapHole(Context& ctx, DxfDrawing& d, const std::string& section, const ShapeValues& v,
                 const std::string& label, int group) {
  ctx.reporter.Report("!!! routine name : WriteTapHole", 0);
  if (v[0] == 0 || v[3] == 0) return 0;
  // The pilot hole, the nominal diameter, the chamfer.
  std::vector<double> radii{v[3] / 2, v[0] / 2};
  if (v[5] > 0) radii.push_back(v[0] / 2 + v[5]);
  WriteRoundHoles(ctx, d, section, Sprintf("%d-M%s-%s", group, Number(v[0]).c_str(), label.c_str()), radii);
  return 0;
}

int WriteCounterboreHole(Context& ctx, DxfDrawing& d, const std::string& section, const ShapeValues& v,
                         const std::string& label, int group) {
  ctx.reporter.Report("!!! routine name : WriteCounterboreHole", 0);
  if (v[0] == 0 || v[2] == 0) return 0;
  // The bolt hole, the counterbore, the chamfer at the counterbore's edge.
  std::vector<double> radii{v[0] / 2, v[2] / 2};
  if (v[4] > 0) radii.push_back(v[2] / 2 + v[4]);
  WriteRoundHoles(ctx, d, section,
                  Sprintf("%d-Z%s-D%s-%s", group, Number(v[2]).c_str(), Number(v[0]).c_str(), label.c_str()),
                  radii);
  return 0;
}

int WriteBigHoleHole(Context& ctx, DxfDrawing& d, const std::string& section, const ShapeValues& v,
                     const std::string& label, int group) {
  ctx.reporter.Report("!!! routine name : WriteBigHoleHole", 0);
  if (v[0] == 0) return 0;
  std::vector<double> radii{v[0] / 2};
  if (v[2] > 0) radii.push_back(v[0] / 2 + v[2]);
  WriteRoundHoles(ctx, d, section, Sprintf("%d-D%s-%s", group, Number(v[0]).c_str(), label.c_str()), radii);
  return 0;
}

int WriteLongHole(Context& ctx, DxfDrawing& d, const std::string& section, const ShapeValues& v,
                  const std::string& label, int group) {
  ctx.reporter.Report("!!! routine name : WriteLongHole", 0);
  const double w = v[0], l = v[1], theta = v[3], wc = v[4];
  if (w == 0) return 0;
  const bool counterbore = wc > w;
  // Outline relative to the slot centre: P0-P3 the slot's corners, P4 and P5 the centres of its end
  // arcs, P6-P9 the counterbore's corners.
  std::vector<DxfPoint> pt{{-l / 2, -w / 2}, {l / 2, -w / 2}, {l / 2, w / 2},
                           {-l / 2, w / 2},  {-l / 2, 0},     {l / 2, 0}};
  if (counterbore)
    pt.insert(pt.end(), {{-l / 2, -wc / 2}, {l / 2, -wc / 2}, {l / 2, wc / 2}, {-l / 2, wc / 2}});
  if (theta != 0) {
    const double a = theta * std::numbers::pi / 180;
    for (DxfPoint& q : pt) {
      if (q.x == 0) continue;
      q = {q.x * std::cos(a) - q.y * std::sin(a), q.y * std::cos(a) + q.x * std::sin(a)};
    }
  }
  SetDxfLayer(d, Sprintf("%d-D%s-W%s_%s", group, Number(w).c_str(), Number(l).c_str(), label.c_str()));
  SetDxfLinetype(d, "CONTINUOUS");
  const double crossRadius = counterbore ? wc / 2 : w / 2;
  const double leftStart = NormalAngle(theta + 90), leftEnd = NormalAngle(theta - 90);
  DxfPoint p;
  for (int k = 0; k <= 9 && ReadPosition(ctx, section, "CX", "CY", k, p); ++k) {
    auto at = [&](int i) {
      return DxfPoint{pt[static_cast<std::size_t>(i)].x + p.x, pt[static_cast<std::size_t>(i)].y + p.y};
    };
    auto line = [&](int i, int j) { WriteDxfLine(d, {at(i).x, at(i).y, at(j).x, at(j).y}); };
    d.colour = d.colors.figure;
    line(0, 1);
    if (counterbore) line(6, 7);
    line(2, 3);
    if (counterbore) line(8, 9);
    WriteDxfArc(d, {at(4).x, at(4).y, w / 2, leftStart, leftEnd});
    if (counterbore) WriteDxfArc(d, {at(4).x, at(4).y, wc / 2, leftStart, leftEnd});
    WriteDxfArc(d, {at(5).x, at(5).y, w / 2, leftEnd, leftStart});
    if (counterbore) WriteDxfArc(d, {at(5).x, at(5).y, wc / 2, leftEnd, leftStart});
    WriteCentreCross(d, {p.x, p.y, crossRadius});
  }
  return 0;
}

int WriteUgroove(Context& ctx, DxfDrawing& d, const std::string& section, const ShapeValues& v,
                 const std::string& label, int group, const BlockPoint& min, const BlockPoint& max) {
  ctx.reporter.Report("!!! routine name : WriteUgroove", 0);
  const double r = v[0] / 2, direction = v[1];
  if (v[0] == 0) return 0;
  SetDxfLayer(d, Sprintf("%d-%s-D%s", group, label.c_str(), Number(v[0]).c_str()));
  SetDxfLinetype(d, "CONTINUOUS");
  DxfPoint p;
  for (int k = 0; k <= 9 && ReadPosition(ctx, section, "X", "Y", k, p); ++k) {
    d.colour = d.colors.figure;
    // Two sides from the plate edge to the position, then the half circle that ends the groove.
    if (direction == 0) {
      WriteDxfLine(d, {min.x, p.y + r, p.x, p.y + r});
      WriteDxfLine(d, {min.x, p.y - r, p.x, p.y - r});
      WriteDxfArc(d, {p.x, p.y, r, 270, 90});
    } else if (direction == 90) {
      WriteDxfLine(d, {p.x + r, min.y, p.x + r, p.y});
      WriteDxfLine(d, {p.x - r, min.y, p.x - r, p.y});
      WriteDxfArc(d, {p.x, p.y, r, 0, 180});
    } else if (direction == 180) {
      WriteDxfLine(d, {max.x, p.y + r, p.x, p.y + r});
      WriteDxfLine(d, {max.x, p.y - r, p.x, p.y - r});
      WriteDxfArc(d, {p.x, p.y, r, 90, 270});
    } else if (direction == 270) {
      WriteDxfLine(d, {p.x + r, max.y, p.x + r, p.y});
      WriteDxfLine(d, {p.x - r, max.y, p.x - r, p.y});
      WriteDxfArc(d, {p.x, p.y, r, 180, 0});
    } else {
      return 0;  // not one of the four plate edges
    }
    WriteCentreCross(d, {p.x, p.y, r});
  }
  return 0;
}

void WriteMaterialOutline(DxfDrawing& d, const BlockPoint& max, const BlockPoint& min) {
  SetDxfLayer(d, Sprintf("材料_%s×%s×%s", Number(max.x - min.x).c_str(), Number(max.y - min.y).c_str(),
                         Number(max.z - min.z).c_str()));
  SetDxfLinetype(d, "CONTINUOUS");
  d.colour = d.colors.material;
  WriteDxfLine(d, {min.x, min.y, max.x, min.y});
  WriteDxfLine(d, {min.x, max.y, max.x, max.y});
  WriteDxfLine(d, {min.x, min.y, min.x, max.y});
  WriteDxfLine(d, {max.x, min.y, max.x, max.y});
}

void WriteMaterialDimensions(DxfDrawing& d, const BlockPoint& max, const BlockPoint& min) {
  SetDxfLayer(d, "材料寸法");
  SetDxfLinetype(d, "CONTINUOUS");
  d.colour = d.colors.dimension;
  const double dx = max.x - min.x, dy = max.y - min.y, s = std::min(dx, dy);
  // Text height 1 + s/20 with one decimal, as the text "%.1f" reads back.
  const double h = AtoF(Sprintf("%.1f", (2 + s / 10) / 2));
  auto dot = [&](double x, double y) { WriteDxfCircle(d, {x, y, h / 10}); };

  // Width, above the top edge.
  WriteDxfLine(d, {min.x, max.y, min.x, max.y + 3 * h});
  dot(min.x, max.y);
  WriteDxfLine(d, {max.x, max.y, max.x, max.y + 3 * h});
  dot(max.x, max.y);
  WriteDxfLine(d, {min.x, max.y + 2.5 * h, max.x, max.y + 2.5 * h});
  dot(min.x, max.y + 2.5 * h);
  dot(max.x, max.y + 2.5 * h);
  WriteDxfAlignedText(d, Number(dx), {min.x + dx / 2, max.y + 2.75 * h, h, 0}, 1);

  // Height, left of the left edge.
  WriteDxfLine(d, {min.x, max.y, min.x - 3 * h, max.y});
  WriteDxfLine(d, {min.x, min.y, min.x - 3 * h, min.y});
  WriteDxfLine(d, {min.x - 2.5 * h, max.y, min.x - 2.5 * h, min.y});
  dot(min.x - 2.5 * h, max.y);
  dot(min.x - 2.5 * h, min.y);
  WriteDxfAlignedText(d, Number(dy), {min.x - 2.75 * h, min.y + dy / 2, h, 90}, 1);
}

}  // namespace talvorin
