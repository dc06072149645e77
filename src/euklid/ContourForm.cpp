// The contour form: its start, its save as a project database with one process, its load, and the
// commands and field events that fill it.
#include <filesystem>

#include "euklid/Euklid.h"
#include "shell/ProgramSetup.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr std::size_t kListLimit = 16;     // list entries: 15 bytes
constexpr std::size_t kFieldLimit = 128;   // loaded fields: 127 bytes
constexpr std::size_t kPathLimit = 520;    // curve file path: 519 bytes
constexpr std::size_t kNameBytes = 127;    // project and product names
constexpr std::size_t kPathBytes = 519;    // curve file path
constexpr std::size_t kMaterialBytes = 7;  // "type" of section "material"
constexpr std::size_t kValueLimit = 16;    // table values: 15 bytes
constexpr int kListKeys = 30;              // list keys <stem>0 to <stem>29

constexpr const char* kProcess = "ncproc1";

// "YYYYMMDD-hhmmss" of the platform's local time.
std::string DateStamp(Context& ctx) {
  Timestamp t = ctx.platform.LocalTime();
  return Sprintf("%d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

// The file name of a path without folder and extension.
std::string BaseName(const std::string& path) {
  return std::filesystem::path(path).stem().string();
}

// A project name names a file of the project folder and must stay in it.
int CheckProjectFileName(Context& ctx, const std::string& name) {
  if (name.find('/') != std::string::npos)
    return ctx.reporter.Report("エラー：プロジェクト名に「/」は使えません", -1);
  if (name == "." || name == "..")
    return ctx.reporter.Reportf(-1, "エラー：プロジェクト名「%s」はファイル名に使えません", name.c_str());
  return 0;
}

// The project database of a project name: "<db folder>/<name>.<camdbfile>".
int EuklidDbPath(Context& ctx, const std::string& name, std::string& path) {
  if (CheckProjectFileName(ctx, name) != 0) return -1;
  std::string folder;
  if (GetFolderPath(ctx.inst, ctx.reporter, 0, folder) != 0) return -1;
  path = Sprintf("%s/%s.%s", folder.c_str(), name.c_str(), DatabaseExtension(ctx.inst).c_str());
  return 0;
}

// A new project database for the name (an existing one is backed up).
int CreateEuklidDb(Context& ctx, const std::string& name) {
  std::string path;
  if (EuklidDbPath(ctx, name, path) != 0) return -1;
  ctx.dbPath = path;
  return MakeTALVORINdbfile(ctx);
}

// The save's writes collected in one edit of the project database. Strict mode stops at the first
// refused write with its message; lenient mode goes on without it.
struct FormSave {
  Context& ctx;
  ProfileEdit& edit;
  bool strict;

  // 0, or -1 when the save must stop.
  int Write(const char* section, const char* key, const std::string& value) {
    if (edit.Write(section, key, value) || !strict) return 0;
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 保存失敗", section, key, value.c_str());
  }
  // An empty field: strict mode stops with its message (-1); lenient mode skips it (1).
  int Empty(const char* message) {
    if (strict) return ctx.reporter.Report(message, -1);
    return 1;
  }
};

// Steps of SaveEuklidNcForm after the project name and the database: 0 done, -1 stopped.
int SaveFormKeys(Context& ctx, EuklidNcForm& form, FormSave& s, const std::string& project) {
  // dxffile, product, csvfile.
  std::string dxf = Sprintf("%s%s%s.dxf", ctx.inst.programFolder.c_str(), "dxf/", project.c_str());
  if (s.Write("TALVORIN", "dxffile", dxf) != 0) return -1;
  std::string product = Cp932Cut(form.product, kNameBytes);
  if (product.empty()) {
    if (s.Empty("エラー：保存前に商品名を入力して下さい") < 0) return -1;
  } else if (s.Write("TALVORIN", "product", product) != 0) {
    return -1;
  }
  std::string curve = Cp932Cut(form.curveFile, kPathBytes);
  if (curve.empty()) {
    if (s.Empty("エラー：保存前に曲線ファイル名を入力して下さい") < 0) return -1;
  } else if (s.Write("TALVORIN", "csvfile", curve) != 0) {
    return -1;
  }

  // The machine.
  std::string controller = Cp932Cut(form.controller, kListLimit - 1);
  if (controller.empty()) {
    if (s.Empty("エラー：保存前に制御装置を入力して下さい") < 0) return -1;
  } else if (s.Write("machine", "ControlDevice", controller) != 0) {
    return -1;
  }
  std::string system = Cp932Cut(form.coordinateSystem, kListLimit - 1);
  if (system.empty()) {
    if (s.Empty("エラー：保存前に座標系を入力して下さい") < 0) return -1;
  } else if (s.Write("machine", "CoordinateSystem", system) != 0) {
    return -1;
  }
  if (form.programNumber.empty()) {
    // Without a program number there is no NC file name either.
    if (s.Empty("エラー：保存前にＯ番号を入力して下さい") < 0) return -1;
  } else {
    int onumber = AtoI(form.programNumber);
    if (s.Write("machine", "onumber", Sprintf("%d", onumber)) != 0) return -1;
    std::string ncFolder;
    if (GetFolderPath(ctx.inst, ctx.reporter, 1, ncFolder) != 0) return -1;
    if (s.Write("machine", "ncpath", ncFolder) != 0) return -1;
    std::string extension = ReadString(ctx.inst.iniPath, "extension", controller, kListLimit);
    if (extension.empty()) {
      if (s.strict)
        return ctx.reporter.Reportf(-1, "エラー：[extension] %s= | 拡張子取得失敗", controller.c_str());
    } else if (s.Write("machine", "ncfile", Sprintf("O%04d.%s", onumber, extension.c_str())) != 0) {
      return -1;
    }
  }
  std::string material = Cp932Cut(form.material, kMaterialBytes);
  if (material.empty()) {
    if (s.Empty("エラー：保存前に材質を入力して下さい") < 0) return -1;
  } else if (s.Write("material", "type", material) != 0) {
    return -1;
  }

  // The process.
  if (s.Write(kProcess, "tool", "仕上エンドミル") != 0) return -1;
  struct ProcessField {
    const std::string& text;
    const char* key;
    const char* message;
  };
  const ProcessField fields[] = {
      {form.toolDiameter, "diam", "エラー：保存前に工具径を入力して下さい"},
      {form.toolNumber, "T", "エラー：保存前にツール番号（Ｔ番号）を入力して下さい"},
      {form.radiusOffset, "D", "エラー：保存前にＤ番号（工具径補正番号）を入力して下さい"},
      {form.spindle, "S", "エラー：保存前に回転数を入力して下さい"},
      {form.feed, "F", "エラー：保存前に送り速度を入力して下さい"},
  };
  for (const ProcessField& f : fields) {
    std::string value = Cp932Cut(f.text, kValueLimit - 1);
    if (value.empty()) {
      if (s.Empty(f.message) < 0) return -1;
      // Lenient: the feed is the last field a half-filled form may lack.
      if (std::string_view(f.key) == "F") return 0;
      continue;
    }
    if (s.Write(kProcess, f.key, value) != 0) return -1;
    // The length offset is the tool number.
    if (std::string_view(f.key) == "T" && s.Write(kProcess, "H", value) != 0) return -1;
  }
  if (s.Write(kProcess, "G", "41") != 0) return -1;
  if (s.Write(kProcess, "R", "2") != 0) return -1;
  if (s.Write(kProcess, "Z", "") != 0) return -1;
  if (s.Write(kProcess, "Q", "") != 0) return -1;
  if (s.Write(kProcess, "OFF", "0") != 0) return -1;
  if (s.Write(kProcess, "定義", curve) != 0) return -1;
  return 0;
}

}  // namespace

int OpenEuklidNcForm(Context& ctx, EuklidNcForm& form, const std::string& inputPath) {
  // 1. Lists and initial texts.
  const std::string& ini = ctx.inst.iniPath;
  form.controllers = ReadNumberedList(ini, "machine", "ControlDevice", kListLimit, kListKeys);
  form.coordinateSystems = ReadNumberedList(ini, "machine", "CoordinateSystem", kListLimit, kListKeys);
  form.materials = ReadNumberedList(ini, "material", "material", kListLimit, kListKeys);
  form.controller = "FANUC";
  form.coordinateSystem = "G54";
  MainForm numbers;
  NextProgramNumber(ctx, numbers);
  form.programNumber = numbers.programNumber;
  form.method = "工具径補正加工";
  form.gCode = ReadStringOr(ctx.inst.ncTableFile, "mill", "gcode", kListLimit, "41");
  form.rCode = ReadStringOr(ctx.inst.ncTableFile, "mill", "rcode", kListLimit, "5.");
  form.qCode.clear();
  // 2-4.
  return InitEuklidNcForm(ctx, form, inputPath);
}

int InitEuklidNcForm(Context& ctx, EuklidNcForm& form, const std::string& inputPath) {
  // 2. The curve file, the project and product names.
  form.curveFile = inputPath;
  if (form.projectName.empty()) form.projectName = DateStamp(ctx);
  if (form.product.empty()) form.product = BaseName(inputPath);
  // 3. A new project database.
  if (CreateEuklidDb(ctx, Cp932Cut(form.projectName, kNameBytes)) != 0) return -1;
  // 4.
  return SaveEuklidNcForm(ctx, form, false);
}

int SaveEuklidNcForm(Context& ctx, EuklidNcForm& form, bool strict) {
  ProfileOperation operation;
  // The project name.
  std::string project = Cp932Cut(form.projectName, kNameBytes);
  if (project.empty()) {
    if (strict) return ctx.reporter.Report("エラー：保存前にプロジェクト名を入力して下さい", -1);
    project = "noname";
  }
  if (ctx.dbPath.empty() || !PathExists(ctx.dbPath)) {
    if (CreateEuklidDb(ctx, project) != 0) return -1;
  }
  ProfileEdit edit(ctx.dbPath);
  FormSave s{ctx, edit, strict};
  int rc = s.Write("TALVORIN", "project", project);
  if (rc == 0) rc = SaveFormKeys(ctx, form, s, project);
  // What was collected before a stop is written, as key by key writes would have left it.
  if (!edit.Apply() && strict) {
    const char* section = edit.Changes().empty() ? "TALVORIN" : edit.Changes().front().section.c_str();
    const char* key = edit.Changes().empty() ? "project" : edit.Changes().front().key.c_str();
    const char* value = edit.Changes().empty() ? project.c_str() : edit.Changes().front().value.c_str();
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 保存失敗", section, key, value);
  }
  return rc;
}

int LoadEuklidNcForm(Context& ctx, EuklidNcForm& form) {
  ProfileOperation operation;
  struct Field {
    const char* section;
    const char* key;
    std::size_t limit;
    std::string& text;
  };
  const Field fields[] = {
      {"TALVORIN", "project", kFieldLimit, form.projectName},
      {"TALVORIN", "product", kFieldLimit, form.product},
      {"TALVORIN", "csvfile", kPathLimit, form.curveFile},
      {"machine", "ControlDevice", kFieldLimit, form.controller},
      {"machine", "CoordinateSystem", kFieldLimit, form.coordinateSystem},
      {"machine", "onumber", kFieldLimit, form.programNumber},
      {"material", "type", kFieldLimit, form.material},
      {kProcess, "diam", kFieldLimit, form.toolDiameter},
      {kProcess, "S", kFieldLimit, form.spindle},
      {kProcess, "F", kFieldLimit, form.feed},
      {kProcess, "T", kFieldLimit, form.toolNumber},
      {kProcess, "H", kFieldLimit, form.lengthOffset},
      {kProcess, "D", kFieldLimit, form.radiusOffset},
      {kProcess, "G", kFieldLimit, form.gCode},
      {kProcess, "R", kFieldLimit, form.rCode},
      {kProcess, "Q", kFieldLimit, form.qCode},
  };
  for (const Field& f : fields) {
    std::string value = ReadString(ctx.dbPath, f.section, f.key, f.limit);
    if (!value.empty()) f.text = value;
  }
  return 0;
}

int ReadEuklidProject(Context& ctx, EuklidNcForm& form) {
  std::string path;
  if (ChooseFile(ctx, path, DatabaseExtension(ctx.inst), ctx.inst.programFolder + "db") != 1)
    return ctx.reporter.Report("エラー：ファイルの読み込みを中止します。", -1);
  ctx.dbPath = path;
  return LoadEuklidNcForm(ctx, form);
}

int OpenEuklidCurveFile(Context& ctx, EuklidNcForm& form, std::string& inputPath) {
  ctx.reporter.Report("!!! routine name : OpenEuklidCurveFile", 0);
  std::string path;
  if (ChooseFile(ctx, path, "csv", ctx.inst.programFolder) != 1)
    return ctx.reporter.Report("エラー：曲線ファイルの取り込みを中止します。", -1);
  inputPath = path;
  return InitEuklidNcForm(ctx, form, inputPath);
}

int EukToolDiameterEvent(Context& ctx, EuklidNcForm& form) {
  ctx.reporter.Report("!!! routine name : EukToolDiameterEvent", 0);
  if (form.toolDiameter.empty()) return ctx.reporter.Report("エラー：工具径取得失敗", -1);
  EndmillConditions values;
  values.diameter = AtoF(form.toolDiameter);
  if (GetContourEndmill(ctx, form, values) != 0)
    return ctx.reporter.Reportf(-1, "エラー：工具径 %.1f | 加工条件取得失敗", values.diameter);
  form.spindle = Sprintf("%.0f", values.s);
  form.feed = Sprintf("%.0f", values.f);
  return 0;
}

void EukToolNumberEvent(EuklidNcForm& form) {
  std::string number = Sprintf("%d", AtoI(form.toolNumber));
  form.lengthOffset = number;
  form.radiusOffset = number;
}

int GetContourEndmill(Context& ctx, const EuklidNcForm& form, EndmillConditions& values) {
  ctx.reporter.Report("!!! routine name : GetContourEndmill", 0);
  std::string material = Cp932Cut(form.material, kListLimit - 1);
  if (material.empty()) return 0;
  // The material names a file of the table folder and must stay in it.
  if (material.find('/') != std::string::npos || material == "." || material == "..")
    return ctx.reporter.Reportf(-1, "エラー：材質「%s」の加工条件ファイルは作れません", material.c_str());
  std::string path =
      Sprintf("%s%s%s.tbl", ctx.inst.programFolder.c_str(), "table/ContourMill", material.c_str());
  if (!PathExists(path))
    return ctx.reporter.Reportf(-1, "エラー：EUKLID輪郭加工条件ファイル %s がありません", path.c_str());
  std::string section = Sprintf("D%.1f", values.diameter);
  int rc = 0;
  std::string s = ReadString(path, section, "S", kValueLimit);
  if (s.empty())
    rc = -1;
  else
    values.s = AtoF(s);
  std::string f = ReadString(path, section, "F", kValueLimit);
  if (f.empty())
    rc = -1;
  else
    values.f = AtoF(f);
  return rc;
}

int StartEukdataViewer(Context& ctx) {
  ctx.reporter.Report("!!! routine name : StartEukdataViewer", 0);
  RunCloseCommand(ctx, "closedxfviewer");
  std::string program = Sprintf("%s%s", ctx.inst.programFolder.c_str(), "lindrel");
  if (!ctx.platform.StartProgram(program, {ctx.dbPath}))
    return ctx.reporter.Report("エラー：Euklid data Viewerの実行失敗", -1);
  return 0;
}

int RunEuklidImport(Context& ctx, const EuklidScreens& screens, int mode, const std::string& inputPath,
                    MainForm& main) {
  if (screens.minimiseMain) screens.minimiseMain();
  if (mode == kEuklidHoleMode) {
    // The database is named after the file; its failure is reported and the forms still open.
    SettingEukHoleFile(ctx, inputPath);
    if (screens.materialForm) screens.materialForm();
    if (screens.holeForm && screens.holeForm() == 1) {
      defineLoadMain(ctx, main);
      if (screens.showMain) screens.showMain();
      ctx.reporter.Report(
          "メイン画面に戻ります\n各穴画面を開き\n加工深さを設定して下さい\n続いて工程作成\nＮＣデータ作成",
          1);
    }
  } else if (mode == kEuklidContourMode && screens.contourForm) {
    screens.contourForm();
  }
  if (screens.restoreMain) screens.restoreMain();
  return 0;
}

}  // namespace talvorin
