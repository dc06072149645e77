// The contour form: its start with the date stamp and base name, the strict and lenient saves with
// their messages in order, the load, the commands that choose files, and the end-mill conditions.
#include "EuklidTestSupport.h"

namespace talvorin::test {
namespace {

class ContourForm : public EuklidTest {
 protected:
  ContourForm() {
    tc.platform.now = Timestamp{2026, 6, 8, 9, 15, 2, 1};  // Monday 8 June 2026, 09:15:02
    curve = Lines("input/PLATE-7.csv", {"P,10,0,-5,0,0,90", "L,30,0,-5,0,0,0", "P,30,0,-5,0,0,90"});
  }

  // The form as a user completes it after the start.
  void Complete(EuklidNcForm& form) {
    form.material = "S45C";
    form.toolDiameter = "6";
    form.toolNumber = "7";
    EukToolNumberEvent(form);
    form.spindle = "4770";
    form.feed = "288";
  }

  std::string curve;
};

TEST_F(ContourForm, StartNamesTheProjectAfterTheClockAndSavesLeniently) {
  EuklidNcForm form;
  EXPECT_EQ(OpenEuklidNcForm(ctx(), form, curve), 0);

  // The fields of the start.
  EXPECT_EQ(form.projectName, "20260608-091502");
  EXPECT_EQ(form.product, "PLATE-7");
  EXPECT_EQ(form.curveFile, curve);
  EXPECT_EQ(form.method, "工具径補正加工");
  EXPECT_EQ(form.controller, "FANUC");
  EXPECT_EQ(form.coordinateSystem, "G54");
  EXPECT_EQ(form.programNumber, "1000");
  EXPECT_EQ(form.gCode, "41");  // "gcode" of section "mill" of the NC table
  EXPECT_EQ(form.rCode, "2.");
  EXPECT_EQ(form.controllers, (std::vector<std::string>{"FANUC", "OSP"}));
  EXPECT_EQ(form.materials,
            (std::vector<std::string>{"SS400", "S45C", "SUS304", "A5052", "FC250", "SCM440", "A2017"}));

  // The new database, saved leniently: the header and machine, no material, and of the process only
  // its name (diameter, T, D, S are empty, and the empty feed ends the save).
  EXPECT_EQ(ctx().dbPath, folder.File("db/20260608-091502.dat"));
  EXPECT_EQ(Db("TALVORIN", "project"), "20260608-091502");
  EXPECT_EQ(Db("TALVORIN", "dxffile"), folder.File("dxf/20260608-091502.dxf"));
  EXPECT_EQ(Db("TALVORIN", "product"), "PLATE-7");
  EXPECT_EQ(Db("TALVORIN", "csvfile"), curve);
  EXPECT_EQ(Db("machine", "ControlDevice"), "FANUC");
  EXPECT_EQ(Db("machine", "CoordinateSystem"), "G54");
  EXPECT_EQ(Db("machine", "onumber"), "1000");
  EXPECT_EQ(Db("machine", "ncpath"), folder.File("ncdata"));
  EXPECT_EQ(Db("machine", "ncfile"), "O1000.NC");
  EXPECT_EQ(Db("material", "type"), "");
  EXPECT_EQ(Db("ncproc1", "tool"), "仕上エンドミル");
  for (const char* key : {"diam", "T", "H", "D", "S", "F", "G", "R", "Z", "Q", "OFF", "定義"})
    EXPECT_FALSE(HasKey("ncproc1", key)) << key;
  EXPECT_TRUE(tc.reporter.boxes.empty());
}

TEST_F(ContourForm, StrictSaveNamesTheFirstEmptyFieldInItsOrder) {
  EuklidNcForm form;
  ASSERT_EQ(OpenEuklidNcForm(ctx(), form, curve), 0);
  form.projectName = "";
  form.product = "";
  form.curveFile = "";
  form.controller = "";
  form.coordinateSystem = "";
  form.programNumber = "";
  // Each strict save stops at the first empty field; filling it moves the stop to the next one.
  struct Step {
    std::string* field;
    const char* value;
    const char* message;
  };
  const Step steps[] = {
      {&form.projectName, "EUK-1", "エラー：保存前にプロジェクト名を入力して下さい"},
      {&form.product, "PLATE", "エラー：保存前に商品名を入力して下さい"},
      {&form.curveFile, curve.c_str(), "エラー：保存前に曲線ファイル名を入力して下さい"},
      {&form.controller, "FANUC", "エラー：保存前に制御装置を入力して下さい"},
      {&form.coordinateSystem, "G55", "エラー：保存前に座標系を入力して下さい"},
      {&form.programNumber, "1234", "エラー：保存前にＯ番号を入力して下さい"},
      {&form.material, "S45C", "エラー：保存前に材質を入力して下さい"},
      {&form.toolDiameter, "6", "エラー：保存前に工具径を入力して下さい"},
      {&form.toolNumber, "7", "エラー：保存前にツール番号（Ｔ番号）を入力して下さい"},
      {&form.radiusOffset, "17", "エラー：保存前にＤ番号（工具径補正番号）を入力して下さい"},
      {&form.spindle, "4770", "エラー：保存前に回転数を入力して下さい"},
      {&form.feed, "288", "エラー：保存前に送り速度を入力して下さい"},
  };
  for (const Step& s : steps) {
    tc.reporter.boxes.clear();
    EXPECT_EQ(SaveEuklidNcForm(ctx(), form, true), -1) << s.message;
    ASSERT_EQ(tc.reporter.boxes.size(), 1u) << s.message;
    EXPECT_EQ(tc.reporter.boxes[0].first, s.message);
    EXPECT_EQ(tc.reporter.boxes[0].second, -1);
    *s.field = s.value;
  }
  tc.reporter.boxes.clear();
  EXPECT_EQ(SaveEuklidNcForm(ctx(), form, true), 0);
  EXPECT_TRUE(tc.reporter.boxes.empty());

  // The whole process as saved, H from T and D as typed.
  EXPECT_EQ(Db("TALVORIN", "project"), "EUK-1");
  EXPECT_EQ(Db("TALVORIN", "product"), "PLATE");
  EXPECT_EQ(Db("machine", "CoordinateSystem"), "G55");
  EXPECT_EQ(Db("machine", "onumber"), "1234");
  EXPECT_EQ(Db("machine", "ncfile"), "O1234.NC");
  EXPECT_EQ(Db("material", "type"), "S45C");
  const std::pair<const char*, std::string> expected[] = {{"tool", "仕上エンドミル"},
                                                          {"diam", "6"},
                                                          {"T", "7"},
                                                          {"H", "7"},
                                                          {"D", "17"},
                                                          {"S", "4770"},
                                                          {"F", "288"},
                                                          {"G", "41"},
                                                          {"R", "2"},
                                                          {"Z", ""},
                                                          {"Q", ""},
                                                          {"OFF", "0"},
                                                          {"定義", curve}};
  for (const auto& [key, value] : expected) {
    EXPECT_TRUE(HasKey("ncproc1", key)) << key;
    EXPECT_EQ(Db("ncproc1", key), value) << key;
  }
}

TEST_F(ContourForm, LenientSaveWithoutFeedLeavesTheProgramWithoutCurve) {
  EuklidNcForm form;
  ASSERT_EQ(OpenEuklidNcForm(ctx(), form, curve), 0);
  Complete(form);
  form.feed = "";
  EXPECT_EQ(SaveEuklidNcForm(ctx(), form, false), 0);
  EXPECT_EQ(Db("ncproc1", "S"), "4770");
  for (const char* key : {"F", "G", "R", "Z", "Q", "OFF", "定義"})
    EXPECT_FALSE(HasKey("ncproc1", key)) << key;

  // The program finds no curve definition, and no NC file is left behind.
  EXPECT_EQ(MakeEuklidFanucNcdata(ctx()), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：[ncproc1] 定義= | db 曲線定義取得失敗"}));
  EXPECT_FALSE(PathExists(folder.File("ncdata/O1000.NC")));
}

TEST_F(ContourForm, LenientSaveWithoutProjectNameUsesNoname) {
  EuklidNcForm form;
  ASSERT_EQ(OpenEuklidNcForm(ctx(), form, curve), 0);
  form.projectName = "";
  ctx().dbPath.clear();
  EXPECT_EQ(SaveEuklidNcForm(ctx(), form, false), 0);
  EXPECT_EQ(ctx().dbPath, folder.File("db/noname.dat"));
  EXPECT_EQ(Db("TALVORIN", "project"), "noname");
}

TEST_F(ContourForm, ProjectNameNeverLeavesTheProjectFolder) {
  EuklidNcForm form;
  form.projectName = "../../etc/x";
  EXPECT_EQ(InitEuklidNcForm(ctx(), form, curve), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：プロジェクト名に「/」は使えません"}));
  EXPECT_FALSE(PathExists(folder.File("etc/x.dat")));
}

TEST_F(ContourForm, MissingNcExtensionStopsOnlyTheStrictSave) {
  EuklidNcForm form;
  ASSERT_EQ(OpenEuklidNcForm(ctx(), form, curve), 0);
  Complete(form);
  form.controller = "MAZAK";
  EXPECT_EQ(SaveEuklidNcForm(ctx(), form, false), 0);
  EXPECT_EQ(Db("ncproc1", "F"), "288");
  EXPECT_EQ(SaveEuklidNcForm(ctx(), form, true), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：[extension] MAZAK= | 拡張子取得失敗"}));
}

TEST_F(ContourForm, LoadFillsEveryStoredField) {
  EuklidNcForm saved;
  ASSERT_EQ(OpenEuklidNcForm(ctx(), saved, curve), 0);
  Complete(saved);
  ASSERT_EQ(SaveEuklidNcForm(ctx(), saved, true), 0);
  const std::string db = ctx().dbPath;

  // The database chosen again through the open-file dialog fills an empty form.
  tc.dialogs.files.push_back(db);
  EuklidNcForm form;
  EXPECT_EQ(ReadEuklidProject(ctx(), form), 0);
  EXPECT_EQ(form.projectName, "20260608-091502");
  EXPECT_EQ(form.product, "PLATE-7");
  EXPECT_EQ(form.curveFile, curve);
  EXPECT_EQ(form.controller, "FANUC");
  EXPECT_EQ(form.coordinateSystem, "G54");
  EXPECT_EQ(form.programNumber, "1000");
  EXPECT_EQ(form.material, "S45C");
  EXPECT_EQ(form.toolDiameter, "6");
  EXPECT_EQ(form.spindle, "4770");
  EXPECT_EQ(form.feed, "288");
  EXPECT_EQ(form.toolNumber, "7");
  EXPECT_EQ(form.lengthOffset, "7");
  EXPECT_EQ(form.radiusOffset, "7");
  EXPECT_EQ(form.gCode, "41");
  EXPECT_EQ(form.rCode, "2");
  EXPECT_EQ(form.qCode, "");

  // Cancelled: nothing changes.
  EXPECT_EQ(ReadEuklidProject(ctx(), form), -1);
  EXPECT_EQ(Boxes().back(), "エラー：ファイルの読み込みを中止します。");
  EXPECT_EQ(ctx().dbPath, db);
}

TEST_F(ContourForm, ChosenCurveFileStartsANewProject) {
  EuklidNcForm form;
  ASSERT_EQ(OpenEuklidNcForm(ctx(), form, curve), 0);
  std::string input = curve;
  const std::string other = Lines("input/BRACKET.csv", {"P,0,0,-3,0,0,0"});
  tc.dialogs.files.push_back(other);
  form.projectName = "BRACKET-A";
  EXPECT_EQ(OpenEuklidCurveFile(ctx(), form, input), 0);
  EXPECT_EQ(input, other);
  EXPECT_EQ(form.curveFile, other);
  EXPECT_EQ(form.product, "PLATE-7");  // kept: only an empty product takes the base name
  EXPECT_EQ(ctx().dbPath, folder.File("db/BRACKET-A.dat"));
  EXPECT_EQ(Db("TALVORIN", "csvfile"), other);

  EXPECT_EQ(OpenEuklidCurveFile(ctx(), form, input), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：曲線ファイルの取り込みを中止します。"}));
  EXPECT_EQ(input, other);
}

TEST_F(ContourForm, ToolDiameterLooksUpTheMaterialsContourTable) {
  EuklidNcForm form;
  ASSERT_EQ(OpenEuklidNcForm(ctx(), form, curve), 0);
  // No material chosen: S and F stay 0.
  form.toolDiameter = "6";
  EXPECT_EQ(EukToolDiameterEvent(ctx(), form), 0);
  EXPECT_EQ(form.spindle, "0");
  EXPECT_EQ(form.feed, "0");

  // S45C, D6.0: S = 1000 x 90 / (pi x 6) = 4774.6 -> 4770; fz = 0.0036 x 6 x 0.7 = 0.01512, four
  // teeth: F = 0.01512 x 4 x 4770 = 288.5 -> 288.
  form.material = "S45C";
  EXPECT_EQ(EukToolDiameterEvent(ctx(), form), 0);
  EXPECT_EQ(form.spindle, "4770");
  EXPECT_EQ(form.feed, "288");
  // A5052, D8 of the magazine: S = 250000 / (pi x 8) = 9947, held to 8000; fz = 0.006 x 8 x 0.7 =
  // 0.0336, three teeth: F = 0.0336 x 3 x 8000 = 806.4 -> 806.
  form.material = "A5052";
  form.toolDiameter = "8";
  EXPECT_EQ(EukToolDiameterEvent(ctx(), form), 0);
  EXPECT_EQ(form.spindle, "8000");
  EXPECT_EQ(form.feed, "806");
  EXPECT_TRUE(tc.reporter.boxes.empty());

  // A diameter without a section, and a material without a table.
  form.toolDiameter = "6.3";
  EXPECT_EQ(EukToolDiameterEvent(ctx(), form), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：工具径 6.3 | 加工条件取得失敗"}));
  form.material = "C1100";
  tc.reporter.boxes.clear();
  EXPECT_EQ(EukToolDiameterEvent(ctx(), form), -1);
  EXPECT_EQ(Boxes(),
            (std::vector<std::string>{"エラー：EUKLID輪郭加工条件ファイル " +
                                          folder.File("table/ContourMillC1100.tbl") + " がありません",
                                      "エラー：工具径 6.3 | 加工条件取得失敗"}));
  form.toolDiameter = "";
  tc.reporter.boxes.clear();
  EXPECT_EQ(EukToolDiameterEvent(ctx(), form), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：工具径取得失敗"}));
}

TEST_F(ContourForm, ToolNumberIsTheDefaultOfBothOffsets) {
  EuklidNcForm form;
  form.toolNumber = "12.7";
  EukToolNumberEvent(form);
  EXPECT_EQ(form.lengthOffset, "12");
  EXPECT_EQ(form.radiusOffset, "12");
}

TEST_F(ContourForm, ViewerStartsLindrelWithTheProjectDatabase) {
  ctx().dbPath = folder.File("db/EUK.dat");
  EXPECT_EQ(StartEukdataViewer(ctx()), 0);
  ASSERT_EQ(tc.platform.calls.size(), 1u);
  EXPECT_EQ(tc.platform.calls[0].what, "start");
  EXPECT_EQ(tc.platform.calls[0].target, folder.File("lindrel"));
  EXPECT_EQ(tc.platform.calls[0].args, (std::vector<std::string>{folder.File("db/EUK.dat")}));
  tc.platform.startResult = false;
  EXPECT_EQ(StartEukdataViewer(ctx()), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：Euklid data Viewerの実行失敗"}));
}

TEST_F(ContourForm, ImportRunsTheRoadOfItsMode) {
  std::vector<std::string> seen;
  EuklidScreens screens;
  screens.minimiseMain = [&] { seen.push_back("minimise"); };
  screens.restoreMain = [&] { seen.push_back("restore"); };
  screens.contourForm = [&] { seen.push_back("contour"); };
  screens.materialForm = [&] { seen.push_back("material"); };
  screens.holeForm = [&] {
    seen.push_back("hole");
    return 0;
  };
  MainForm main;
  EXPECT_EQ(RunEuklidImport(ctx(), screens, kEuklidContourMode, curve, main), 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"minimise", "contour", "restore"}));
  seen.clear();
  EXPECT_EQ(RunEuklidImport(ctx(), screens, 31, curve, main), 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"minimise", "restore"}));
  seen.clear();
  // The hole road names the database after the file; a form closed without saving reloads nothing.
  EXPECT_EQ(RunEuklidImport(ctx(), screens, kEuklidHoleMode, curve, main), 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"minimise", "material", "hole", "restore"}));
  EXPECT_EQ(ctx().dbPath, folder.File("db/PLATE-7.dat"));
  EXPECT_TRUE(tc.reporter.boxes.empty());
}

}  // namespace
}  // namespace talvorin::test
