// Naming, creating and saving the project database from the main window's header.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "project/ControllerFamily.h"
#include "project/Project.h"
#include "project/ProjectDatabase.h"
#include "store/Cp932.h"
#include "store/Files.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

// The empty project database as it is created, in UTF-8 with CR LF line ends. Its first section is
// named after the program.
std::string EmptyLayout(const Context& ctx) {
  const std::string& folder = ctx.inst.programFolder;
  std::string t;
  auto line = [&t](const std::string& text) { t += text + "\r\n"; };
  auto key = [&line](const char* name, const std::string& value = "") {
    line(Sprintf("%s=%s", name, value.c_str()));
  };
  line(Sprintf("[%s]", kDbProject.section));
  key(kDbProject.key);
  key(kDbProduct.key);
  key(kDbFolder.key, folder + "db");
  line("");
  key(kDbCsvFile.key);
  key(kDbDxfFile.key);
  line("");
  line(Sprintf("[%s]", kDbSizeX.section));
  for (const DbKey* k : {&kDbSizeX, &kDbSizeY, &kDbSizeZ, &kDbMaterial})
    key(k->key);
  // The numbering of the origin corners.
  line(";     1 +---------+ 2");
  line(";       |         |");
  line(";       |    4    |");
  line(";       |         |");
  line(";     0 +---------+ 3");
  key(kDbOrigin.key, "左下");
  key(kDbOriginNo.key, "0");
  line("");
  line(Sprintf("[%s]", kDbController.section));
  for (const DbKey* k : {&kDbController, &kDbCoordinateSystem, &kDbProgramNumber})
    key(k->key);
  key(kDbNcFolder.key, folder + "ncdata");
  key(kDbNcFile.key);
  line("");
  key(kDbTrycutFolder.key, folder + "trycut");
  key(kDbTrycutFile.key);
  line("");
  // The start position is copied from the same keys of the NC table file.
  for (const DbKey* k : kDbStartKeys)
    key(k->key, ReadStringOr(ctx.inst.ncTableFile, "NcFormat", k->key, k->limit, "0"));
  line("");
  for (int i = 0; i <= 1; ++i)
    line(Sprintf("%s%d=", kDbDistanceStem, i));
  line("");
  for (int i = 0; i <= 3; ++i)
    line(Sprintf("%s%d=", kDbSecondsStem, i));
  line("");
  for (int i = 0; i <= 3; ++i)
    line(Sprintf("%s%d=", kDbClockStem, i));
  line("");
  line(Sprintf("[%s]", kDbBoxSection));
  for (char axis : {'X', 'Y', 'Z'}) {
    line(Sprintf("%cmax=", axis));
    line(Sprintf("%cmin=", axis));
  }
  line("");
  line(Sprintf("[%s]", kDbHoleSection));
  key(kDbHoleCount);
  key(kDbHoleGroup);
  key(kDbIndexKey);
  line("");
  for (int n = 1; n <= kDbHoleGroups; ++n) {
    line(Sprintf("[%s]", DbSection(kDbHoleSection, n).c_str()));
    key(kDbHoleCommand);
    for (int i = 0; i < kDbHoleVariables; ++i)
      line(Sprintf("%s%d=", kDbHoleVariableStem, i));
    line("");
  }
  line(Sprintf("[%s]", kDbProcessSection));
  key(kDbIndexKey);
  line("");
  for (int n = 1; n <= kDbProcesses; ++n) {
    line(Sprintf("[%s]", DbSection(kDbProcessSection, n).c_str()));
    line("");
  }
  return t;
}

// A key of the project database, collected in the operation's edit; a refused write is reported with
// section, key and value.
int WriteDbKey(Context& ctx, ProfileEdit& edit, const char* section, const std::string& key,
               const std::string& value) {
  if (edit.Write(section, key, value)) return 0;
  return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 保存失敗", section, key.c_str(), value.c_str());
}
int WriteDbKey(Context& ctx, ProfileEdit& edit, const DbKey& key, const std::string& value) {
  return WriteDbKey(ctx, edit, key.section, key.key, value);
}

// The main window's short fields (material, origin, controller, coordinate system) are saved with at
// most 15 bytes.
constexpr std::size_t kShortFieldBytes = 15;

// Steps 2 to 4 of MakeTALVORINdbfile: the backup, then the empty layout as the edit's whole content.
int MakeLayout(Context& ctx, ProfileEdit& edit) {
  ctx.reporter.Report("!!! routine name : MakeTALVORINdbfile", 0);
  const std::string& path = ctx.dbPath;

  // Everything the file held is replaced; the backup keeps it, with the database's permissions (a
  // private project keeps a private backup). A link planted at the backup's place is replaced, not
  // written through.
  struct stat st;
  if (stat(path.c_str(), &st) == 0) {
    std::string old;
    ReplacementFile backup;
    bool saved = ReadWholeFile(path, old) && backup.Open(Sprintf("%s.bak", path.c_str()));
    if (saved) {
      backup.SetMode(st.st_mode);
      backup.Write(old);
      saved = backup.Commit();
    }
    if (!saved) ctx.reporter.Report("エラー：既存ファイルのバックアップ失敗", -1);
  }

  std::string bytes;
  if (!Utf8ToCp932(EmptyLayout(ctx), bytes))
    return ctx.reporter.Reportf(-1, "エラー：ファイル %s の内容をShift_JISで書けません。", path.c_str());
  if (path.empty()) return ctx.reporter.Reportf(-1, "エラー：ファイル %s が開けません。", path.c_str());
  edit.Reset(bytes);
  return 0;
}

// Writes what a save collected, in one replacement of the project file. When that fails the file is
// as before, and the failure is reported as the first step that would have failed: creating the file
// anew, or else the first key.
int ApplyDbEdit(Context& ctx, ProfileEdit& edit, bool created) {
  if (edit.Apply()) return 0;
  if (created || edit.Changes().empty())
    return ctx.reporter.Reportf(-1, "エラー：ファイル %s が開けません。", ctx.dbPath.c_str());
  const ProfileChange& c = edit.Changes().front();
  return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 保存失敗", c.section.c_str(), c.key.c_str(),
                              c.value.c_str());
}

int WriteTrycutMaterial(Context& ctx, ProfileEdit& edit, double x, double y, double z, int originNo);

// Steps 5 to 15 of SaveTALVORINdata, collected in `edit`.
int SaveHeader(Context& ctx, ProfileEdit& edit, MainForm& form) {
  Reporter& rep = ctx.reporter;
  // 2. Names.
  std::string project = Cp932Cut(form.projectName, kDbProject.limit - 1);
  if (project.empty()) return rep.Report("エラー：プロジェクト名を入力して下さい", -1);
  if (WriteDbKey(ctx, edit, kDbProject, project) != 0) return -1;
  // An empty product field keeps the stored name.
  std::string product = Cp932Cut(form.product, kDbProduct.limit - 1);
  if (!product.empty() && WriteDbKey(ctx, edit, kDbProduct, product) != 0) return -1;
  std::string folder;
  if (GetFolderPath(ctx.inst, rep, 0, folder) != 0) return -1;
  if (WriteDbKey(ctx, edit, kDbFolder, folder) != 0) return -1;

  // 3. Material block: size with its point kept, material name, origin.
  const std::string* sizeFields[3] = {&form.sizeX, &form.sizeY, &form.sizeZ};
  const DbKey* sizeKeys[3] = {&kDbSizeX, &kDbSizeY, &kDbSizeZ};
  double size[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    std::string text = Cp932Cut(*sizeFields[i], sizeKeys[i]->limit - 1);
    if (text.empty()) return rep.Reportf(-1, "エラー：材料 %s 寸法が定義されてません", sizeKeys[i]->key);
    size[i] = AtoF(text);
    if (WriteDbKey(ctx, edit, *sizeKeys[i], FormatNumber(size[i], true)) != 0) return -1;
  }
  std::string material = Cp932Cut(form.material, kShortFieldBytes);
  if (material.empty()) return rep.Report("エラー：材質が定義されてません", -1);
  if (WriteDbKey(ctx, edit, kDbMaterial, material) != 0) return -1;
  std::string origin = Cp932Cut(form.origin, kShortFieldBytes);
  if (origin.empty()) origin = "左下";
  int originNo = ReadInt(ctx.inst.iniPath, "machine", origin, 0);
  if (WriteDbKey(ctx, edit, kDbOrigin, origin) != 0) return -1;
  if (WriteDbKey(ctx, edit, kDbOriginNo, Sprintf("%d", originNo)) != 0) return -1;

  // 4. Machine: controller, coordinate system (an OSP needs a G15H system), program number, files.
  std::string controller = Cp932Cut(form.controller, kShortFieldBytes);
  if (controller.empty()) return rep.Report("エラー：制御装置が定義されてません", -1);
  if (WriteDbKey(ctx, edit, kDbController, controller) != 0) return -1;
  std::string system = Cp932Cut(form.coordinateSystem, kShortFieldBytes);
  if (system.empty()) return rep.Report("エラー：座標系が定義されてません", -1);
  if (FamilyOf(controller).g15Systems && system.find("G15H") == std::string::npos)
    return rep.Report("エラー：座標系がOSP仕様に定義されてません", -1);
  if (WriteDbKey(ctx, edit, kDbCoordinateSystem, system) != 0) return -1;
  int onumber = AtoI(form.programNumber);
  if (WriteDbKey(ctx, edit, kDbProgramNumber, Sprintf("%d", onumber)) != 0) return -1;
  if (WriteDbKey(ctx, edit, kDbTrycutFile, Sprintf("O%04d", onumber)) != 0) return -1;
  std::string ncExtension = ReadString(ctx.inst.iniPath, "extension", controller, 16);
  if (ncExtension.empty())
    return rep.Reportf(-1, "エラー：[extension] %s= | 拡張子取得失敗", controller.c_str());
  if (WriteDbKey(ctx, edit, kDbNcFile, Sprintf("O%04d.%s", onumber, ncExtension.c_str())) != 0) return -1;

  // 5. The TRYCUT material box.
  return WriteTrycutMaterial(ctx, edit, size[0], size[1], size[2], originNo);
}

}  // namespace

std::string DatabaseExtension(const Installation& inst) {
  return ReadStringOr(inst.iniPath, "extension", "camdbfile", 16, "dat");
}

int SettingDBfilename(Context& ctx, MainForm& form) {
  ctx.reporter.Report("!!! routine name : SettingDBfilename", 0);
  const std::string& name = form.projectName;
  if (name.empty()) return ctx.reporter.Report("エラー：保存前にプロジェクト名を入力して下さい", -1);
  // The name becomes a file name in the project folder and must stay in it. It is checked whole
  // before any file is made: a name the project file cannot keep as it is would leave a stub file or
  // a project saved under a cut name that no later command finds.
  if (name.find('/') != std::string::npos)
    return ctx.reporter.Report("エラー：プロジェクト名に「/」は使えません", -1);
  std::string encoded;
  if (name == "." || name == ".." || !Utf8ToCp932(name, encoded) ||
      std::any_of(name.begin(), name.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }))
    return ctx.reporter.Reportf(-1, "エラー：プロジェクト名「%s」はファイル名に使えません", name.c_str());
  if (encoded.size() > kDbProject.limit - 1)
    return ctx.reporter.Reportf(-1, "エラー：プロジェクト名は%zuバイトまでです", kDbProject.limit - 1);

  ctx.dbPath.clear();
  std::string folder;
  if (GetFolderPath(ctx.inst, ctx.reporter, 0, folder) != 0) return -1;
  std::string extension = DatabaseExtension(ctx.inst);
  ctx.dbPath = Sprintf("%s/%s.%s", folder.c_str(), name.c_str(), extension.c_str());
  ctx.reporter.Reportf(0, "+++ DBファイル %s", ctx.dbPath.c_str());
  return 0;
}

int MakeTALVORINdbfile(Context& ctx) {
  ProfileEdit edit(ctx.dbPath);
  if (MakeLayout(ctx, edit) != 0) return -1;
  return ApplyDbEdit(ctx, edit, true);
}

int SaveTALVORINdata(Context& ctx, MainForm& form, int overwrite) {
  Reporter& rep = ctx.reporter;
  rep.Report("!!! routine name : SaveTALVORINdata", 0);

  // 1. The file to save into.
  if (!PathExists(ctx.dbPath)) {
    rep.Report("... 保存ファイルが設定されてません\n... 新規に設定します", 1);
    if (SettingDBfilename(ctx, form) != 0) return -1;
    overwrite = 0;
  }
  rep.Reportf(0, "+++ DBファイル %s", ctx.dbPath.c_str());
  // The whole save, the new layout included, is one replacement of the file: a crash leaves it as it
  // was or as saved. A failed step ends the save with the keys before it written.
  ProfileEdit edit(ctx.dbPath);
  if (overwrite == 1) {
    rep.Report("... 上書き保存", 0);
  } else if (MakeLayout(ctx, edit) != 0) {
    return -1;
  }
  int result = SaveHeader(ctx, edit, form);
  if (ApplyDbEdit(ctx, edit, overwrite != 1) != 0 || result != 0) return -1;
  rep.Reportf(0, "+++ DBファイル保存 : %s", ctx.dbPath.c_str());
  return 0;
}

int NewSavedata(Context& ctx, MainForm& form) {
  if (SettingDBfilename(ctx, form) != 0) return -1;
  return SaveTALVORINdata(ctx, form, 0);
}

int WriteTrycutMaterial(Context& ctx, double x, double y, double z, int originNo) {
  ProfileEdit edit(ctx.dbPath);
  int result = WriteTrycutMaterial(ctx, edit, x, y, z, originNo);
  if (ApplyDbEdit(ctx, edit, false) != 0) return -1;
  return result;
}

namespace {

int WriteTrycutMaterial(Context& ctx, ProfileEdit& edit, double x, double y, double z, int originNo) {
  ctx.reporter.Report("!!! routine name : WriteTrycutMaterial", 0);
  // The block lies from the origin towards +X/+Y or -X/-Y by its corner; the top face is Z 0.
  double minimum[3], maximum[3];
  switch (originNo) {
    case 0:  // lower left
      minimum[0] = 0, minimum[1] = 0, maximum[0] = x, maximum[1] = y;
      break;
    case 1:
      minimum[0] = 0, minimum[1] = -y, maximum[0] = x, maximum[1] = 0;
      break;
    case 2:
      minimum[0] = -x, minimum[1] = 0, maximum[0] = 0, maximum[1] = y;
      break;
    case 3:
      minimum[0] = -x, minimum[1] = -y, maximum[0] = 0, maximum[1] = 0;
      break;
    default:  // centre
      minimum[0] = -x / 2, minimum[1] = -y / 2, maximum[0] = x / 2, maximum[1] = y / 2;
      break;
  }
  minimum[2] = -z;
  maximum[2] = 0;
  const char axes[3] = {'X', 'Y', 'Z'};
  for (int i = 0; i < 3; ++i) {
    if (WriteDbKey(ctx, edit, kDbBoxSection, Sprintf("%c%s", axes[i], "max"),
                   FormatNumber(maximum[i], false)) != 0)
      return -1;
    if (WriteDbKey(ctx, edit, kDbBoxSection, Sprintf("%c%s", axes[i], "min"),
                   FormatNumber(minimum[i], false)) != 0)
      return -1;
  }
  return 0;
}

}  // namespace

}  // namespace talvorin
