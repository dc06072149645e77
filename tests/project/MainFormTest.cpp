// The main window's header form: machine choices with the OSP / G15 rule and the preselections,
// initialising the form with its close commands, the title and the group captions.
#include <string>
#include <vector>

#include "ProjectFixture.h"
#include "shell/ProgramSetup.h"
#include "store/Numbers.h"

namespace talvorin {
namespace {

using test::ProjectTest;
using Strings = std::vector<std::string>;

struct MachineChoices : ProjectTest {
  // A program INI section "machine" written by the test, the origin numbers kept.
  void Machine(const std::string& keys) {
    folder.WriteCp932("TALVORIN.ini",
                      "[folder]\r\nfolder0=db\r\n[table]\r\nncformat=NCformat.tbl\r\n[machine]\r\n" + keys +
                          "[material]\r\nmaterial0=SS400\r\nmaterial1=A5052\r\n");
  }
};

TEST_F(MachineChoices, TheShippedInstallationOffersFanucWithItsSystems) {
  test::CopyProgramFolder(folder);
  folder.Write("ncfile_rule.tbl", "[ncfile]\r\nrangemin=1000\r\nrangemax=1099\r\ncurrent=1042\r\n");
  MainForm form;
  FillMachineChoices(t.ctx, form);
  EXPECT_EQ(form.controllers, (Strings{"FANUC", "OSP"}));
  EXPECT_EQ(form.controller, "FANUC");
  EXPECT_EQ(form.controllerIndex, 0);
  EXPECT_EQ(form.coordinateSystems, (Strings{"G54", "G55", "G56", "G57", "G58", "G59"}));
  EXPECT_EQ(form.coordinateSystem, "G54");
  EXPECT_EQ(form.coordinateSystemIndex, 0);
  EXPECT_EQ(form.origins, (Strings{"左下", "左上", "右上", "右下", "中心"}));
  EXPECT_EQ(form.origin, "左下");
  EXPECT_EQ(form.materials.front(), "SS400");
  EXPECT_EQ(form.material, "SS400");
  EXPECT_EQ(form.materialIndex, 0);
  EXPECT_EQ(form.programNumber, "1042");
  EXPECT_EQ(ReadInt(folder.File("ncfile_rule.tbl"), "ncfile", "current", 0), 1043);

  // Choosing the OSP offers its G15 systems and selects none of them.
  FillCoordinateSystems(t.ctx, form, "OSP");
  EXPECT_EQ(form.coordinateSystems, (Strings{"G15H01", "G15H02", "G15H03", "G15H04", "G15H05", "G15H06"}));
  EXPECT_EQ(form.coordinateSystem, "");
  EXPECT_EQ(form.coordinateSystemIndex, -1);
}

TEST_F(MachineChoices, CoordinateSystemsFollowTheController) {
  Machine(
      "ControlDevice0=FANUC\r\nControlDevice1=OSP-P300\r\n"
      "CoordinateSystem0=G54\r\nCoordinateSystem1=G15H01\r\nCoordinateSystem2=G55\r\nCoordinateSystem3="
      "G15H02\r\n"
      "CoordinateSystem=EXTRA\r\n");
  struct Case {
    const char* controller;
    Strings systems;
  };
  const Case cases[] = {
      {"OSP", {"G15H01", "G15H02", "EXTRA"}},
      {"OSP-P300", {"G15H01", "G15H02", "EXTRA"}},
      {"FANUC", {"G54", "G55", "EXTRA"}},
      {"osp", {"G54", "G55", "EXTRA"}},  // the tests are case-sensitive
      {"", {"G54", "G15H01", "G55", "G15H02", "EXTRA"}},
      {"F", {"G54", "G15H01", "G55", "G15H02", "EXTRA"}},  // shorter than two bytes: all
      {"制", {"G54", "G55", "EXTRA"}},                     // one character, two bytes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.controller);
    MainForm form;
    form.coordinateSystem = "G99";
    form.coordinateSystemIndex = 3;
    FillCoordinateSystems(t.ctx, form, c.controller);
    EXPECT_EQ(form.coordinateSystems, c.systems);
    EXPECT_EQ(form.coordinateSystem, "");
    EXPECT_EQ(form.coordinateSystemIndex, -1);
  }
  // Only the first 31 bytes of a controller text count.
  MainForm form;
  FillCoordinateSystems(t.ctx, form, std::string(31, 'X') + "OSP");
  EXPECT_EQ(form.coordinateSystems, (Strings{"G54", "G55", "EXTRA"}));
}

TEST_F(MachineChoices, PreselectionsPickTheIndexedEntries) {
  Machine(
      "ControlDevice0=FANUC\r\nControlDevice1=OSP\r\n"
      "CoordinateSystem0=G54\r\nCoordinateSystem1=G15H01\r\nCoordinateSystem2=G15H02\r\n"
      "Origin0=左下\r\nOrigin1=中心\r\n"
      "defaultControlDevice=1\r\ndefaultCoordinateSystem=1\r\ndefaultOrigin=1\r\n");
  ASSERT_TRUE(WriteString(t.inst.iniPath, "material", "defaultMaterial", "1"));
  MainForm form;
  FillMachineChoices(t.ctx, form);
  EXPECT_EQ(form.controller, "OSP");
  EXPECT_EQ(form.controllerIndex, 1);
  // The list is filtered for the preselected OSP, and the preselection indexes the filtered list.
  EXPECT_EQ(form.coordinateSystems, (Strings{"G15H01", "G15H02"}));
  EXPECT_EQ(form.coordinateSystem, "G15H02");
  EXPECT_EQ(form.origin, "中心");
  EXPECT_EQ(form.material, "A5052");
  EXPECT_EQ(form.materialIndex, 1);
}

TEST_F(MachineChoices, MissingOrOutOfRangePreselectionsSelectNothing) {
  Machine(
      "ControlDevice0=FANUC\r\nCoordinateSystem0=G54\r\nCoordinateSystem1=G15H01\r\n"
      "Origin0=左下\r\ndefaultControlDevice=5\r\ndefaultOrigin=-1\r\n");
  MainForm form;
  FillMachineChoices(t.ctx, form);
  EXPECT_EQ(form.controllers, Strings{"FANUC"});
  EXPECT_EQ(form.controller, "");
  EXPECT_EQ(form.controllerIndex, -1);
  EXPECT_EQ(form.coordinateSystems, (Strings{"G54", "G15H01"}));  // no controller shown: all
  EXPECT_EQ(form.coordinateSystem, "");
  EXPECT_EQ(form.origin, "");
  EXPECT_EQ(form.originIndex, -1);
  EXPECT_EQ(form.material, "");  // no defaultMaterial key
  EXPECT_EQ(form.materials, (Strings{"SS400", "A5052"}));
  EXPECT_EQ(form.programNumber, "1000");
}

TEST_F(MachineChoices, ListsEndAtTheFirstMissingKeyOrTheirMaximum) {
  std::string keys = "CoordinateSystem0=G54\r\nCoordinateSystem1=\r\nCoordinateSystem2=G56\r\n";
  for (int i = 0; i < 32; ++i)
    keys += Sprintf("ControlDevice%d=C%d\r\nOrigin%d=O%d\r\n", i, i, i, i);
  Machine(keys);
  MainForm form;
  FillMachineChoices(t.ctx, form);
  FillMachineChoices(t.ctx, form);  // a second fill replaces the lists
  EXPECT_EQ(form.controllers.size(), 30u);
  EXPECT_EQ(form.controllers.back(), "C29");
  EXPECT_EQ(form.origins.size(), 10u);
  EXPECT_EQ(form.coordinateSystems, Strings{"G54"});  // an empty value ends the list
}

using InitialiseForm = ProjectTest;

TEST_F(InitialiseForm, EmptiesTheFieldsKeepsTheListsAndDrawsANumber) {
  folder.Write("close/trycut.sh", "exit 0\n");
  folder.Write("close/viewer.sh", "exit 0\n");
  ASSERT_TRUE(WriteString(t.inst.iniPath, "TALVORIN", "closetrycut", "close/trycut.sh"));
  ASSERT_TRUE(WriteString(t.inst.iniPath, "TALVORIN", "closedxfviewer", "close/viewer.sh"));
  folder.Write("ncfile_rule.tbl", "[ncfile]\r\ncurrent=1010\r\n");
  MainForm form = test::FilledForm();
  form.materials = {"SS400"};
  form.controllers = {"FANUC", "OSP"};
  form.controllerIndex = 0;
  form.groupCaptions[2] = "ドリル穴 [DRILL]";
  ASSERT_TRUE(WriteString(folder.File("db/P.dat"), "TALVORIN", "project", "P"));
  t.ctx.dbPath = folder.File("db/P.dat");

  InitialiseMainForm(t.ctx, form);
  for (const std::string* f : {&form.projectName, &form.product, &form.sizeX, &form.sizeY, &form.sizeZ,
                               &form.material, &form.origin, &form.controller, &form.coordinateSystem})
    EXPECT_EQ(*f, "");
  EXPECT_EQ(form.controllerIndex, -1);
  EXPECT_EQ(form.materials, Strings{"SS400"});
  EXPECT_EQ(form.controllers, (Strings{"FANUC", "OSP"}));
  EXPECT_EQ(form.groupCaptions,
            (std::array<std::string, 6>{"[ 1 ]", "[ 2 ]", "[ 3 ]", "[ 4 ]", "[ 5 ]", "[ 6 ]"}));
  EXPECT_EQ(form.programNumber, "1010");
  EXPECT_EQ(t.ctx.dbPath, "");
  EXPECT_EQ(form.title, "穴加工 テスト");
  // TRYCUT is closed first, then the viewer.
  ASSERT_EQ(t.platform.calls.size(), 2u);
  EXPECT_EQ(t.platform.calls[0].what, "run");
  EXPECT_EQ(t.platform.calls[0].target, folder.File("close/trycut.sh"));
  EXPECT_EQ(t.platform.calls[1].target, folder.File("close/viewer.sh"));
  EXPECT_TRUE(t.reporter.Lines().empty());
}

TEST(CloseCommands, RunOnlyWhenSetAndPresent) {
  test::TestFolder folder;
  folder.Write("TALVORIN.ini", "[TALVORIN]\r\nclosetrycut=stop/Trycut.sh\r\ncloseDXFviewer=\r\n");
  test::TestContext t(folder);
  RunCloseCommand(t.ctx, "closetrycut");     // the file is not there
  RunCloseCommand(t.ctx, "closedxfviewer");  // not set
  EXPECT_TRUE(t.platform.calls.empty());
  folder.Write("stop/trycut.sh", "exit 0\n");  // the name matches without regard to letter case
  RunCloseCommand(t.ctx, "closetrycut");
  ASSERT_EQ(t.platform.calls.size(), 1u);
  EXPECT_EQ(t.platform.calls[0].target, folder.File("stop/trycut.sh"));
  EXPECT_TRUE(t.reporter.Lines().empty());
}

using Title = ProjectTest;

TEST_F(Title, NamesTheProjectFileOnlyWhenItExists) {
  MainForm form;
  t.ctx.dbPath = folder.File("db/A.dat");
  RefreshTitle(t.ctx, form);
  EXPECT_EQ(form.title, "穴加工 テスト");
  folder.Write("db/A.dat", "");
  RefreshTitle(t.ctx, form);
  EXPECT_EQ(form.title, "穴加工 テスト [" + folder.File("db/A.dat") + "]");
  ASSERT_TRUE(DeleteKey(t.inst.iniPath, "TALVORIN", "title"));
  RefreshTitle(t.ctx, form);
  EXPECT_EQ(form.title, "二次元ＮＣ加工システム / ブレンホルト [" + folder.File("db/A.dat") + "]");
}

TEST_F(Title, GroupCaptionsShowTheStoredCommands) {
  folder.WriteCp932(
      "db/A.dat",
      "[hole1]\r\ncommand=ドリル穴 [DRILL]\r\n[hole2]\r\ncommand=\r\n[hole6]\r\ncommand=長穴 [LONGHOLE]\r\n");
  t.ctx.dbPath = folder.File("db/A.dat");
  MainForm form;
  RefreshGroupCaptions(t.ctx, form);
  EXPECT_EQ(form.groupCaptions, (std::array<std::string, 6>{"ドリル穴 [DRILL]", "[ 2 ]", "[ 3 ]", "[ 4 ]",
                                                            "[ 5 ]", "長穴 [LONGHOLE]"}));
}

}  // namespace
}  // namespace talvorin
