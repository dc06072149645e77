#include "lindrel/EuklidDrawing.h"

#include <algorithm>
#include <cmath>

#include "lindrel/CurveFile.h"
#include "project/ProjectDatabase.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

void Widen(DxfPoint& min, DxfPoint& max, double x, double y) {
  min.x = std::min(min.x, x);
  min.y = std::min(min.y, y);
  max.x = std::max(max.x, x);
  max.y = std::max(max.y, y);
}

}  // namespace

const DrawingProgramIdentity& LindrelProgram() {
  static const DrawingProgramIdentity identity{"lindrel",
                                               "EUKLID二次元出力データ 図面出力＆表示 / ブレンホルト",
                                               "EUKLID二次元出力データ　図面出力＆表示", 70};
  return identity;
}

bool WantsConsole(const Installation& inst) {
  return ReadInt(inst.iniPath, "lindrel", "consol", 0) == 1;
}

int ExportEuklidDrawing(Context& ctx, const ElementColor& colors) {
  ctx.reporter.Report("!!! routine name : ExportEuklidDrawing", 0);
  std::string path = ReadString(ctx.dbPath, kDbDxfFile.section, kDbDxfFile.key, 520);
  if (path.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | DXFファイル取得失敗", kDbDxfFile.section,
                                kDbDxfFile.key);
  std::string curveFile = ReadString(ctx.dbPath, kDbCsvFile.section, kDbCsvFile.key, 520);
  if (curveFile.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | Euklidファイルが開けません", kDbCsvFile.section,
                                kDbCsvFile.key);
  // Both are paths as stored (relative ones in the program folder); the drawing never takes the
  // place of the project file itself.
  if (!IsStoredPath(path)) return ReportBadStoredPath(ctx, kDbDxfFile, path);
  if (!IsStoredPath(curveFile)) return ReportBadStoredPath(ctx, kDbCsvFile, curveFile);
  path = StoredFolderPath(ctx.inst, path);
  curveFile = StoredFolderPath(ctx.inst, curveFile);
  if (IsSameFile(path, ctx.dbPath))
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s プロジェクトファイルには書けません",
                                kDbDxfFile.section, kDbDxfFile.key, path.c_str());
  TextFile file;
  if (CreateDrawingFile(file, path, ctx.reporter) != 0) return -1;
  DxfDrawing d{file, colors, "", "", 0, ""};
  int result = FinishDrawingFile(file, lindrel(ctx, d, curveFile), path, ctx.reporter);
  if (result != 0) return result;
  return OpenDxfViewer(ctx, path, "lindrel");
}

int lindrel(Context& ctx, DxfDrawing& d, const std::string& curveFile) {
  ctx.reporter.Report("!!! routine name : lindrel", 0);
  DxfPoint min, max;
  if (GetMinMaxPoint(ctx, curveFile, min, max) != 0) return -1;
  DxfPoint s{max.x - min.x, max.y - min.y};
  d.colour = d.colors.figure;
  WriteDxfHeader(d, {min.x - 0.2 * s.x, min.y - 0.2 * s.y}, {max.x + 0.2 * s.x, max.y + 0.2 * s.y});
  if (CopyTableSection(d, ctx.inst, ctx.reporter) != 0) return -1;
  BeginDxfEntities(d);
  if (WriteEuklidSegments(ctx, d, curveFile) != 0) return -1;
  WriteAxisLines(d, min, max);
  WriteOriginMark(d, {0, 0, 0.05 * (s.x + s.y) / 2});
  EndDxfFile(d);
  return 0;
}

int GetMinMaxPoint(Context& ctx, const std::string& curveFile, DxfPoint& min, DxfPoint& max) {
  ctx.reporter.Report("!!! routine name : GetMinMaxPoint", 0);
  CurveReader reader(curveFile);
  if (!reader.IsOpen())
    return ctx.reporter.Reportf(-1, "エラー：EUKLID出力ファイル %s が開けません", curveFile.c_str());
  min = max = {0, 0};
  std::string text;
  while (reader.Next(text)) {
    CurveLine c = ParseCurveLine(text);
    Widen(min, max, c.x, c.y);
    if (c.type == "C") {
      // The whole circle counts, even for an arc.
      Widen(min, max, c.cx + c.value, c.cy);
      Widen(min, max, c.cx, c.cy + c.value);
      Widen(min, max, c.cx - c.value, c.cy);
      Widen(min, max, c.cx, c.cy - c.value);
    }
  }
  return 0;
}

int WriteEuklidSegments(Context& ctx, DxfDrawing& d, const std::string& curveFile) {
  ctx.reporter.Report("!!! routine name : WriteEuklidSegments", 0);
  SetDxfLinetype(d, "CONTINUOUS");
  d.colour = d.colors.figure;
  CurveReader reader(curveFile);
  if (!reader.IsOpen())
    return ctx.reporter.Reportf(-1, "エラー：EUKLID出力ファイル %s が開けません", curveFile.c_str());
  DxfPoint previous{0, 0};
  std::string text;
  for (long long n = 1; reader.Next(text); ++n) {
    d.layer.clear();
    CurveLine c = ParseCurveLine(text);
    DxfPoint point{c.x, c.y};
    if (n > 1 && c.type == "L") {
      SetDxfLayer(d, "LINE-" + std::to_string(n));
      WriteDxfLine(d, {previous.x, previous.y, point.x, point.y});
    } else if (n > 1 && c.type == "C") {
      DxfPoint centre{c.cx, c.cy};
      double r = std::fabs(c.value);
      if (point.x == previous.x && point.y == previous.y) {
        SetDxfLayer(d, "CIRCLE-" + std::to_string(n));
        WriteDxfCircle(d, {centre.x, centre.y, r});
      } else {
        SetDxfLayer(d, "ARC-" + std::to_string(n));
        double a = 0, b = 0;
        int fromPrevious = PointAngle(ctx.reporter, centre, previous, a);
        int toPoint = PointAngle(ctx.reporter, centre, point, b);
        // Arcs run counter-clockwise: a clockwise arc (value >= 0) from this point back to the previous.
        if (fromPrevious == 0 && toPoint == 0) {
          if (c.value >= 0)
            WriteDxfArc(d, {centre.x, centre.y, r, b, a});
          else
            WriteDxfArc(d, {centre.x, centre.y, r, a, b});
        }
      }
    }
    previous = point;
  }
  return 0;
}

int PointAngle(Reporter& rep, DxfPoint centre, DxfPoint point, double& angle) {
  double dx = point.x - centre.x, dy = point.y - centre.y;
  if (dx > -0.001 && dx < 0.001) dx = 0;
  if (dy > -0.001 && dy < 0.001) dy = 0;
  if (dx == 0 && dy == 0) return rep.Report("エラー：円の中心と点が同じ座標です", -1);
  if (dy == 0) {
    angle = dx > 0 ? 0 : 180;
  } else if (dx == 0) {
    angle = dy > 0 ? 90 : 270;
  } else {
    angle = std::atan(dy / dx) * 180 / 3.141592653589793;
    if (dx < 0)
      angle += 180;
    else if (dy < 0)
      angle += 360;
  }
  return 0;
}

}  // namespace talvorin
