// Loading a project database into the main window's header, and the material thickness of the
// current project.
#include "project/Project.h"
#include "project/ProjectDatabase.h"
#include "store/Numbers.h"

namespace talvorin {

int LoadProject(Context& ctx, MainForm& form) {
  std::string extension = DatabaseExtension(ctx.inst);
  std::string initialFolder = ctx.inst.programFolder + "db";
  std::string chosen;
  if (ChooseFile(ctx, chosen, extension, initialFolder) != 1)
    return ctx.reporter.Report("エラー：ファイルの読み込みを中止します。", -1);
  InitialiseMainForm(ctx, form);
  // A name of a file that does not exist becomes the current project too; the next save creates it.
  ctx.dbPath = chosen;
  return defineLoadMain(ctx, form);
}

int defineLoadMain(Context& ctx, MainForm& form) {
  ctx.reporter.Report("!!! routine name : defineLoadMain", 0);
  RefreshTitle(ctx, form);
  // A key that is set replaces its field; a missing key leaves the field as it is. Every key is read
  // with 127 bytes, whatever its own limit.
  constexpr std::size_t kLoadLimit = 128;
  struct Field {
    const DbKey& key;
    std::string* text;
  };
  const Field fields[] = {
      {kDbProject, &form.projectName},
      {kDbProduct, &form.product},
      {kDbSizeX, &form.sizeX},
      {kDbSizeY, &form.sizeY},
      {kDbSizeZ, &form.sizeZ},
      {kDbMaterial, &form.material},
      {kDbOrigin, &form.origin},
      {kDbController, &form.controller},
      {kDbCoordinateSystem, &form.coordinateSystem},
      {kDbProgramNumber, &form.programNumber},
  };
  for (const Field& f : fields) {
    std::string value = ReadDbWithLimit(ctx, f.key, kLoadLimit);
    if (!value.empty()) *f.text = value;
  }
  RefreshGroupCaptions(ctx, form);
  return 0;
}

double GetMaterialThickness(Context& ctx) {
  std::string value = ReadDb(ctx, kDbSizeZ);
  if (value.empty()) return ReportMissingDbKey(ctx, kDbSizeZ, "材料寸法（厚み）読込失敗");
  return AtoF(value);
}

}  // namespace talvorin
