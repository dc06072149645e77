// The main window's header form: its machine choices, initialisation, title and group captions.
#include "project/ControllerFamily.h"
#include "project/Project.h"
#include "project/ProjectDatabase.h"
#include "shell/ProgramSetup.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

// Keys "<stem>0", "<stem>1", ... up to the first missing one, at most `count` of them.
std::vector<std::string> NumberedValues(const std::string& file, const char* section, const char* stem,
                                        int count) {
  return ReadNumberedList(file, section, stem, 16, count);
}

// Selects entry `index` of a list: its text is shown. Out of range (-1 among them) selects nothing
// and shows no text.
void Preselect(const std::vector<std::string>& list, int index, int& selected, std::string& text) {
  if (index >= 0 && index < static_cast<int>(list.size())) {
    selected = index;
    text = list[static_cast<std::size_t>(index)];
  } else {
    selected = -1;
    text.clear();
  }
}

}  // namespace

void FillCoordinateSystems(Context& ctx, MainForm& form, std::string_view controller) {
  const std::string& ini = ctx.inst.iniPath;
  std::string device = Cp932Cut(controller, 31);
  // An OSP works with G15 systems, every other controller with the others; a controller text
  // shorter than two bytes offers all of them.
  bool all = Cp932Length(device) < 2;
  bool osp = FamilyOf(device).g15Systems;
  form.coordinateSystems.clear();
  form.coordinateSystemIndex = -1;
  form.coordinateSystem.clear();
  for (const std::string& system : NumberedValues(ini, "machine", "CoordinateSystem", 30)) {
    bool g15 = system.find("G15") != std::string::npos;
    if (all || (osp && g15) || (!osp && !g15)) form.coordinateSystems.push_back(system);
  }
  // A system offered whatever the controller is.
  std::string always = ReadString(ini, "machine", "CoordinateSystem", 16);
  if (!always.empty()) form.coordinateSystems.push_back(always);
}

void FillMachineChoices(Context& ctx, MainForm& form) {
  const std::string& ini = ctx.inst.iniPath;
  form.controllers = NumberedValues(ini, "machine", "ControlDevice", 30);
  Preselect(form.controllers, ReadInt(ini, "machine", "defaultControlDevice", -1), form.controllerIndex,
            form.controller);
  FillCoordinateSystems(ctx, form, form.controller);
  Preselect(form.coordinateSystems, ReadInt(ini, "machine", "defaultCoordinateSystem", -1),
            form.coordinateSystemIndex, form.coordinateSystem);
  form.origins = NumberedValues(ini, "machine", "Origin", 10);
  Preselect(form.origins, ReadInt(ini, "machine", "defaultOrigin", -1), form.originIndex, form.origin);
  form.materials = NumberedValues(ini, "material", "material", 10);
  Preselect(form.materials, ReadInt(ini, "material", "defaultMaterial", -1), form.materialIndex,
            form.material);
  NextProgramNumber(ctx, form);
}

void InitialiseMainForm(Context& ctx, MainForm& form) {
  RunCloseCommand(ctx, "closetrycut");
  RunCloseCommand(ctx, "closedxfviewer");
  // The fields are emptied; the lists keep their entries.
  for (std::string* field :
       {&form.projectName, &form.product, &form.sizeX, &form.sizeY, &form.sizeZ, &form.material, &form.origin,
        &form.controller, &form.coordinateSystem, &form.programNumber})
    field->clear();
  form.materialIndex = form.originIndex = form.controllerIndex = form.coordinateSystemIndex = -1;
  for (int n = 1; n <= 6; ++n)
    form.groupCaptions[static_cast<std::size_t>(n - 1)] = Sprintf("[ %d ]", n);
  NextProgramNumber(ctx, form);
  ctx.dbPath.clear();
  RefreshTitle(ctx, form);
}

void RefreshTitle(Context& ctx, MainForm& form) {
  std::string title =
      ReadStringOr(ctx.inst.iniPath, "TALVORIN", "title", 128, "二次元ＮＣ加工システム / ブレンホルト");
  form.title = PathExists(ctx.dbPath) ? Sprintf("%s [%s]", title.c_str(), ctx.dbPath.c_str()) : title;
}

void RefreshGroupCaptions(Context& ctx, MainForm& form) {
  for (int n = 1; n <= kDbHoleGroups; ++n) {
    std::string command =
        ReadString(ctx.dbPath, DbSection(kDbHoleSection, n), kDbHoleCommand, kDbHoleCommandLimit);
    form.groupCaptions[static_cast<std::size_t>(n - 1)] = command.empty() ? Sprintf("[ %d ]", n) : command;
  }
}

}  // namespace talvorin
