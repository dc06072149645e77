// The hole road: the project database of a circle list, the material form, and the hole form that
// gives each circle its kind, groups the circles and saves each group as a hole record.
#include <cmath>
#include <filesystem>

#include "euklid/Euklid.h"
#include "holes/Holes.h"
#include "project/ProjectDatabase.h"
#include "store/Ascii.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr std::size_t kListLimit = 16;   // list entries of the material form: 15 bytes
constexpr std::size_t kKindLimit = 32;   // entries of "euklid.tbl": 31 bytes
constexpr std::size_t kFieldBytes = 15;  // diameter and coordinates as read
constexpr int kKindKeys = 10;            // keys hole0 to hole9
constexpr int kMaterialKeys = 10;        // keys material0..9, Origin0..9
constexpr std::size_t kSizeLimit = 16;   // "Z" of section "material"

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// The rows of the form that the stored circle count covers (the form has 20).
int CoveredRows(int count) {
  if (count < 0) return 0;
  return count > kEuklidHoleRows ? kEuklidHoleRows : count;
}

int WriteHoleKey(Context& ctx, const std::string& section, const std::string& key, const std::string& value,
                 const char* failure) {
  if (WriteString(ctx.dbPath, section, key, value)) return 0;
  return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s %s", section.c_str(), key.c_str(), value.c_str(),
                              failure);
}

int WriteEditKey(Context& ctx, ProfileEdit& edit, const std::string& section, const std::string& key,
                 const std::string& value, const char* failure) {
  if (edit.Write(section, key, value)) return 0;
  return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s %s", section.c_str(), key.c_str(), value.c_str(),
                              failure);
}

// The shape values of a group's kind: how many are written (0: only "command"), -1 on a failed
// derivation.
int ShapeValues(Context& ctx, const std::string& kind, HoleRecord& record) {
  ShapeForm unused;
  if (Contains(kind, kDrill)) {
    record.p[1] = std::floor((record.thickness + 2 + DrillPoint(record.p[0])) * 10 + 0.5) / 10;
    return 2;
  }
  if (Contains(kind, kNtap)) return GetNtapInformation(ctx, unused, record) != 0 ? -1 : 6;
  if (Contains(kind, kReamer)) return GetReamerInformation(ctx, unused, record) != 0 ? -1 : 5;
  if (Contains(kind, kCounterbore)) return GetCounterboreInformation(ctx, unused, record) != 0 ? -1 : 4;
  return 0;
}

// Refusals that keep a project within what the rest of the system reads: at most six groups, at most
// ten circles in a group. 0, or -1 after the message.
int CheckGroupLimits(Context& ctx, const EuklidHoleForm& form, int rows, int groups) {
  if (groups > kHoleGroups)
    return ctx.reporter.Reportf(-1, "エラー：グループが %d 個あります（%d 個まで）", groups, kHoleGroups);
  for (int g = 1; g <= groups; ++g) {
    int circles = 0;
    for (int r = 0; r < rows; ++r)
      if (!form.rows[r].group.empty() && AtoI(form.rows[r].group) == g) ++circles;
    if (circles > kEuklidGroupCircles)
      return ctx.reporter.Reportf(-1, "エラー：グループ %d の円が %d 個あります（%d 個まで）", g, circles,
                                  kEuklidGroupCircles);
  }
  return 0;
}

}  // namespace

int SettingEukHoleFile(Context& ctx, const std::string& inputPath) {
  // 1.
  ctx.reporter.Report("!!! routine name : SettingEukHoleFile", 0);
  const std::string base = std::filesystem::path(inputPath).stem().string();
  // 2. The file name has no folder in it; "." and ".." are no project names.
  if (base.empty() || base == "." || base == "..")
    return ctx.reporter.Reportf(-1, "エラー：プロジェクト名「%s」はファイル名に使えません", base.c_str());
  std::string folder;
  if (GetFolderPath(ctx.inst, ctx.reporter, 0, folder) != 0) return -1;
  ctx.dbPath = Sprintf("%s/%s.%s", folder.c_str(), base.c_str(), DatabaseExtension(ctx.inst).c_str());
  // 3.
  if (MakeTALVORINdbfile(ctx) != 0) return -1;
  // 4.
  ProfileEdit edit(ctx.dbPath);
  const char* failed = "保存失敗";
  std::string dxf = Sprintf("%s%s%s.dxf", ctx.inst.programFolder.c_str(), "dxf/", base.c_str());
  int rc = WriteEditKey(ctx, edit, "TALVORIN", "project", base, failed);
  if (rc == 0) rc = WriteEditKey(ctx, edit, "TALVORIN", "product", base, failed);
  if (rc == 0) rc = WriteEditKey(ctx, edit, "TALVORIN", "csvfile", inputPath, failed);
  if (rc == 0) rc = WriteEditKey(ctx, edit, "TALVORIN", "dxffile", dxf, failed);
  if (!edit.Apply() && rc == 0)
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 保存失敗", "TALVORIN", "project", base.c_str());
  return rc;
}

void OpenEuklidMaterialForm(Context& ctx, EuklidMaterialForm& form) {
  const std::string& ini = ctx.inst.iniPath;
  form.origins = ReadNumberedList(ini, "machine", "Origin", kListLimit, kMaterialKeys);
  form.materials = ReadNumberedList(ini, "material", "material", kListLimit, kMaterialKeys);
  auto preselect = [](const std::vector<std::string>& list, int index, int& chosen, std::string& text) {
    chosen = -1;
    if (index < 0 || index >= static_cast<int>(list.size())) return;
    chosen = index;
    text = list[index];
  };
  preselect(form.origins, ReadInt(ini, "machine", "defaultOrigin", -1), form.originIndex, form.origin);
  preselect(form.materials, ReadInt(ini, "material", "defaultMaterial", -1), form.materialIndex,
            form.material);
}

int SaveEuklidMaterial(Context& ctx, const EuklidMaterialForm& form) {
  ProfileOperation operation;
  ProfileEdit edit(ctx.dbPath);
  const char* failed = "保存失敗";
  auto save = [&]() -> int {
    const std::string* sizes[3] = {&form.sizeX, &form.sizeY, &form.sizeZ};
    const char axes[3] = {'X', 'Y', 'Z'};
    double size[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
      std::string text = Cp932Cut(*sizes[i], kFieldBytes);
      if (text.empty()) return ctx.reporter.Reportf(-1, "エラー：材料 %c 寸法が定義されてません", axes[i]);
      size[i] = AtoF(text);
      if (WriteEditKey(ctx, edit, "material", std::string(1, axes[i]), FormatNumber(size[i], true), failed) !=
          0)
        return -1;
    }
    std::string material = Cp932Cut(form.material, kListLimit - 1);
    if (material.empty()) return ctx.reporter.Report("エラー：材質が定義されてません", -1);
    if (WriteEditKey(ctx, edit, "material", "type", material, failed) != 0) return -1;
    std::string origin = Cp932Cut(form.origin, kListLimit - 1);
    if (origin.empty()) origin = "左下";
    int originNo = ReadInt(ctx.inst.iniPath, "machine", origin, 0);
    if (WriteEditKey(ctx, edit, "material", "origin", origin, failed) != 0) return -1;
    if (WriteEditKey(ctx, edit, "material", "originNo", Sprintf("%d", originNo), failed) != 0) return -1;
    if (!edit.Apply())
      return ctx.reporter.Reportf(-1, "エラー：ファイル %s が開けません。", ctx.dbPath.c_str());
    return WriteTrycutMaterial(ctx, size[0], size[1], size[2], originNo);
  };
  int rc = save();
  // A stop keeps the keys written before it.
  if (rc != 0) edit.Apply();
  return rc;
}

int OpenEuklidHoleForm(Context& ctx, EuklidHoleForm& form, const std::string& inputPath) {
  form.scroll = 0;
  FillHoleKindLists(ctx, form);
  return ReadEuklidHoleFile(ctx, form, inputPath);
}

int FillHoleKindLists(Context& ctx, EuklidHoleForm& form) {
  std::string table = ProgramFile(ctx.inst, "euklid.tbl");
  form.kinds.clear();
  if (!PathExists(table)) {
    ctx.reporter.Reportf(0, "エラー：EUKLID定義ファイル %s がありません。", table.c_str());
    return 0;
  }
  form.kinds = ReadNumberedList(table, "hole", "hole", kKindLimit, kKindKeys);
  return 0;
}

int CheckCounterboreRow(Context& ctx, EuklidHoleForm& form, int row) {
  if (row < 0 || row >= kEuklidHoleRows) return 0;
  const EuklidHoleRow& r = form.rows[row];
  if (!Contains(r.kind, kCounterbore)) return 0;
  if (r.diameter.empty()) return ctx.reporter.Report("エラー：穴径の取得失敗", -1);
  std::string thickness = ReadString(ctx.dbPath, "material", "Z", kSizeLimit);
  if (thickness.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db 材料寸法取得失敗", "material", "Z");
  HoleRecord record;
  record.p[0] = AtoF(r.diameter);
  record.thickness = AtoF(thickness);
  ShapeForm unused;
  if (GetCounterboreInformation(ctx, unused, record) != 0)
    return ctx.reporter.Reportf(-1, "エラー：%.2f のザグリ定義はありません", record.p[0]);
  return 0;
}

int HoleDataGrouping(Context& ctx, EuklidHoleForm& form) {
  // 1.
  ctx.reporter.Report("!!! routine name : HoleDataGrouping", 0);
  ProfileOperation operation;
  int n = ReadInt(ctx.dbPath, kDbHoleSection, "count", kEuklidHoleRows);
  ctx.reporter.Reportf(0, "??? [%s] %s=%d", kDbHoleSection, "count", n);
  const int rows = CoveredRows(n);
  for (int r = 0; r < rows; ++r)
    form.rows[r].group.clear();
  int q = 0;

  // 2. Each row without a group opens the next group and collects the later rows of its kind,
  //    diameter and Z.
  for (int p = 0; p < rows && !form.rows[p].diameter.empty(); ++p) {
    EuklidHoleRow& first = form.rows[p];
    if (first.kind.empty()) {
      ctx.reporter.Report("エラー：穴の種類を選択してからグループ化して下さい", -1);
      break;
    }
    if (first.group.empty()) first.group = Sprintf("%d", ++q);
    if (first.z.empty()) break;
    const double d = AtoF(first.diameter), z = AtoF(first.z);
    for (int r = p + 1; r < rows; ++r) {
      EuklidHoleRow& other = form.rows[r];
      if (!other.group.empty()) continue;
      if (other.kind.empty()) break;
      if (EqualsIgnoringAsciiCase(other.kind, first.kind) && AtoF(other.diameter) == d && AtoF(other.z) == z)
        other.group = first.group;
    }
  }

  // 3.
  if (CheckGroupLimits(ctx, form, rows, q) != 0) return -1;
  if (WriteHoleKey(ctx, kDbHoleSection, "group", Sprintf("%d", q), "書込み失敗") != 0) return -1;
  return q;
}

int SaveEuklidHole(Context& ctx, EuklidHoleForm& form, const MainForm& main) {
  // 1.
  ctx.reporter.Report("!!! routine name : SaveEuklidHole", 0);
  ProfileOperation operation;
  const int rows = CoveredRows(ReadInt(ctx.dbPath, kDbHoleSection, "count", kEuklidHoleRows));
  const int groups = ReadInt(ctx.dbPath, kDbHoleSection, "group", kEuklidHoleRows);
  std::string thickness = ReadString(ctx.dbPath, "material", "Z", kSizeLimit);
  if (thickness.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db 材料寸法取得失敗", "material", "Z");
  const double t = AtoF(thickness);
  for (int r = 0; r < rows; ++r)
    if (form.rows[r].group.empty())
      return ctx.reporter.Reportf(-1, "エラー：[%d] グループ取得失敗", 6500 + r);
  if (CheckGroupLimits(ctx, form, rows, groups) != 0) return -1;

  ProfileEdit edit(ctx.dbPath);
  const char* writeFailed = "書込み失敗";
  auto save = [&]() -> int {
    // 2. The groups.
    for (int g = 1; g <= groups; ++g) {
      const std::string section = Sprintf("%s%d", "hole", g);
      HoleRecord record;
      record.thickness = t;
      int i = 0;
      for (int r = 0; r < rows; ++r) {
        const EuklidHoleRow& row = form.rows[r];
        if (AtoI(row.group) != g) continue;
        if (i == 0) {
          // The group's kind and shape values from its first circle.
          if (row.kind.empty()) return ctx.reporter.Reportf(-1, "エラー：[%d] 穴の種類取得失敗", 6000 + r);
          if (WriteEditKey(ctx, edit, section, "command", row.kind, writeFailed) != 0) return -1;
          if (row.diameter.empty()) return ctx.reporter.Reportf(-1, "エラー：[%d] 穴径取得失敗", 6100 + r);
          record.p[0] = AtoF(row.diameter);
          int values = ShapeValues(ctx, row.kind, record);
          if (values < 0) return -1;
          for (int k = 0; k < values; ++k)
            if (WriteEditKey(ctx, edit, section, Sprintf("%s%d", "variable", k),
                             FormatNumber(record.p[k], false), writeFailed) != 0)
              return -1;
        }
        const std::string* axes[3] = {&row.x, &row.y, &row.z};
        const char letters[3] = {'X', 'Y', 'Z'};
        for (int a = 0; a < 3; ++a) {
          if (axes[a]->empty())
            return ctx.reporter.Reportf(-1, "エラー：[%d] %c座標取得失敗", 6200 + 100 * a + r, letters[a]);
          if (WriteEditKey(ctx, edit, section, Sprintf("%c%d", letters[a], i),
                           FormatNumber(AtoF(*axes[a]), true), writeFailed) != 0)
            return -1;
        }
        ++i;
      }
    }
    // 3. The machine from the main window.
    const char* failed = "保存失敗";
    std::string controller = Cp932Cut(main.controller, kListLimit - 1);
    if (!controller.empty() && WriteEditKey(ctx, edit, "machine", "ControlDevice", controller, failed) != 0)
      return -1;
    if (controller.empty()) controller = ReadString(ctx.dbPath, "machine", "ControlDevice", kListLimit);
    std::string system = Cp932Cut(main.coordinateSystem, kListLimit - 1);
    if (!system.empty() && WriteEditKey(ctx, edit, "machine", "CoordinateSystem", system, failed) != 0)
      return -1;
    int onumber = AtoI(main.programNumber);
    if (WriteEditKey(ctx, edit, "machine", "onumber", Sprintf("%d", onumber), failed) != 0) return -1;
    if (WriteEditKey(ctx, edit, "machine", "trycutfile", Sprintf("O%04d", onumber), failed) != 0) return -1;
    std::string extension = ReadString(ctx.inst.iniPath, "extension", controller, kListLimit);
    if (extension.empty())
      return ctx.reporter.Reportf(-1, "エラー：[extension] %s= | 拡張子取得失敗", controller.c_str());
    return WriteEditKey(ctx, edit, "machine", "ncfile", Sprintf("O%04d.%s", onumber, extension.c_str()),
                        failed);
  };
  int rc = save();
  // 4. What was collected is written, also before a stop.
  if (!edit.Apply())
    return ctx.reporter.Reportf(-1, "エラー：ファイル %s が開けません。", ctx.dbPath.c_str());
  if (rc == 0) form.result = 1;
  return rc;
}

int ScrollEuklidHoleForm(int position, EuklidScroll action, int thumb) {
  switch (action) {
    case EuklidScroll::kLineUp:
      position -= kEuklidScrollLine;
      break;
    case EuklidScroll::kLineDown:
      position += kEuklidScrollLine;
      break;
    case EuklidScroll::kPageUp:
      position -= kEuklidScrollPage;
      break;
    case EuklidScroll::kPageDown:
      position += kEuklidScrollPage;
      break;
    case EuklidScroll::kThumb:
      position = thumb;
      break;
    case EuklidScroll::kTop:
      position = 0;
      break;
    case EuklidScroll::kBottom:
      position = kEuklidScrollRange;
      break;
  }
  if (position < 0) return 0;
  return position > kEuklidScrollRange ? kEuklidScrollRange : position;
}

}  // namespace talvorin
