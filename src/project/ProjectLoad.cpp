// Loading a project database into the main window's header, and the material thickness of the
// current project.
#include "project/Project.h"
#include "store/Numbers.h"
#include "store/Profile.h"

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
  // A key that is set replaces its field; a missing key leaves the field as it is.
  struct Field {
    const char* section;
    const char* key;
    std::string* text;
  };
  const Field fields[] = {
      {"TALVORIN", "project", &form.projectName},
      {"TALVORIN", "product", &form.product},
      {"material", "X", &form.sizeX},
      {"material", "Y", &form.sizeY},
      {"material", "Z", &form.sizeZ},
      {"material", "type", &form.material},
      {"material", "origin", &form.origin},
      {"machine", "ControlDevice", &form.controller},
      {"machine", "CoordinateSystem", &form.coordinateSystem},
      {"machine", "onumber", &form.programNumber},
  };
  for (const Field& f : fields) {
    std::string value = ReadString(ctx.dbPath, f.section, f.key, 128);
    if (!value.empty()) *f.text = value;
  }
  RefreshGroupCaptions(ctx, form);
  return 0;
}

double GetMaterialThickness(Context& ctx) {
  std::string value = ReadString(ctx.dbPath, "material", "Z", 16);
  if (value.empty()) {
    ctx.reporter.Report("エラー：[material] Z= | db 材料寸法（厚み）読込失敗", -1);
    return -1;
  }
  return AtoF(value);
}

}  // namespace talvorin
