// The hole road: the project database named after the circle file, the material form, reading the
// circles, grouping them and saving the groups as hole records, worked out by hand.
#include "EuklidTestSupport.h"

namespace talvorin::test {
namespace {

constexpr const char* kDrillKind = "ドリル穴 [DRILL]";
constexpr const char* kTapKind = "タップ穴 [NTAP]";
constexpr const char* kReamerKind = "リーマ穴 [REAMER]";
constexpr const char* kCounterboreKind = "ザグリ穴 [COUNTERBORE]";

class HoleImport : public EuklidTest {
 protected:
  // The project of a circle file with a 120 x 80 x 20 plate of S45C, and its hole form read.
  void Start(const std::string& file) {
    input = file;
    ASSERT_EQ(SettingEukHoleFile(ctx(), input), 0);
    EuklidMaterialForm material;
    OpenEuklidMaterialForm(ctx(), material);
    material.sizeX = "120";
    material.sizeY = "80";
    material.sizeZ = "20";
    material.material = "S45C";
    ASSERT_EQ(SaveEuklidMaterial(ctx(), material), 0);
    ASSERT_EQ(OpenEuklidHoleForm(ctx(), form, input), 0);
  }
  void Kinds(std::initializer_list<const char*> kinds) {
    int r = 0;
    for (const char* k : kinds)
      form.rows[r++].kind = k;
  }
  std::vector<std::string> Groups() const {
    std::vector<std::string> groups;
    for (const EuklidHoleRow& row : form.rows)
      groups.push_back(row.group);
    while (!groups.empty() && groups.back().empty())
      groups.pop_back();
    return groups;
  }

  std::string input;
  EuklidHoleForm form;
  MainForm main;
};

TEST_F(HoleImport, DatabaseIsNamedAfterTheFileAndTheMaterialIsSaved) {
  Start(folder.File("euklid/PLATE-HOLES.csv"));
  EXPECT_EQ(ctx().dbPath, folder.File("db/PLATE-HOLES.dat"));
  EXPECT_EQ(Db("TALVORIN", "project"), "PLATE-HOLES");
  EXPECT_EQ(Db("TALVORIN", "product"), "PLATE-HOLES");
  EXPECT_EQ(Db("TALVORIN", "csvfile"), input);
  EXPECT_EQ(Db("TALVORIN", "dxffile"), folder.File("dxf/PLATE-HOLES.dxf"));
  EXPECT_EQ(Db("material", "X"), "120.");
  EXPECT_EQ(Db("material", "Y"), "80.");
  EXPECT_EQ(Db("material", "Z"), "20.");
  EXPECT_EQ(Db("material", "type"), "S45C");
  // The origin preselected by "defaultOrigin" (0: 左下, number 0); the box from the lower left corner.
  EXPECT_EQ(Db("material", "origin"), "左下");
  EXPECT_EQ(Db("material", "originNo"), "0");
  EXPECT_EQ(Db("trycut", "Xmax"), "120");
  EXPECT_EQ(Db("trycut", "Xmin"), "0");
  EXPECT_EQ(Db("trycut", "Ymax"), "80");
  EXPECT_EQ(Db("trycut", "Zmax"), "0");
  EXPECT_EQ(Db("trycut", "Zmin"), "-20");
}

TEST_F(HoleImport, MaterialFormNamesTheFirstMissingValue) {
  ASSERT_EQ(SettingEukHoleFile(ctx(), folder.File("euklid/PLATE-HOLES.csv")), 0);
  EuklidMaterialForm material;
  OpenEuklidMaterialForm(ctx(), material);
  EXPECT_EQ(material.origins, (std::vector<std::string>{"左下", "左上", "右上", "右下", "中心"}));
  EXPECT_EQ(material.origin, "左下");
  material.sizeX = "120";
  EXPECT_EQ(SaveEuklidMaterial(ctx(), material), -1);
  material.sizeY = "80";
  material.sizeZ = "20";
  material.material = "";
  EXPECT_EQ(SaveEuklidMaterial(ctx(), material), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：材料 Y 寸法が定義されてません",
                                               "エラー：材質が定義されてません"}));
  // The sizes before the stop are written.
  EXPECT_EQ(Db("material", "Z"), "20.");
}

TEST_F(HoleImport, CircleLinesOfEitherCaseFillTheRowsAndOtherLinesAreSkipped) {
  Start(folder.File("euklid/PLATE-HOLES.csv"));
  EXPECT_EQ(form.kinds, (std::vector<std::string>{kDrillKind, kTapKind, kReamerKind, kCounterboreKind}));
  EXPECT_EQ(Db("hole", "count"), "8");
  // Row 5 is the line of type "c"; the "P" line after the eighth circle is no row.
  EXPECT_EQ(form.rows[5].diameter, "6");
  EXPECT_EQ(form.rows[5].x, "40");
  EXPECT_EQ(form.rows[5].y, "60");
  EXPECT_EQ(form.rows[5].z, "0");
  EXPECT_EQ(form.rows[7].diameter, "9");
  EXPECT_EQ(form.rows[8].diameter, "");
  EXPECT_EQ(form.rows[2].z, "-5");
}

TEST_F(HoleImport, GroupsByKindDiameterAndDepth) {
  Start(folder.File("euklid/PLATE-HOLES.csv"));
  // Kind text in another letter case is the same kind.
  Kinds({kDrillKind, "ドリル穴 [drill]", kDrillKind, kDrillKind, kTapKind, kTapKind, kCounterboreKind,
         kCounterboreKind});
  EXPECT_EQ(HoleDataGrouping(ctx(), form), 4);
  EXPECT_EQ(Groups(), (std::vector<std::string>{"1", "1", "2", "2", "3", "3", "4", "4"}));
  EXPECT_EQ(Db("hole", "group"), "4");

  // Three kinds of one diameter are three groups; diameters equal as numbers ("10" and "10.0").
  const std::string three =
      Lines("input/three.csv", {"C,10,0,0,0", "C,10.0,10,0,0", "C,10,20,0,0", "C,10,30,0,0"});
  EuklidHoleForm other;
  ASSERT_EQ(ReadEuklidHoleFile(ctx(), other, three), 0);
  other.rows[0].kind = kDrillKind;
  other.rows[1].kind = kDrillKind;
  other.rows[2].kind = kReamerKind;
  other.rows[3].kind = kCounterboreKind;
  EXPECT_EQ(HoleDataGrouping(ctx(), other), 3);
  EXPECT_EQ(other.rows[1].group, "1");
  EXPECT_EQ(other.rows[2].group, "2");
  EXPECT_EQ(other.rows[3].group, "3");
}

TEST_F(HoleImport, RowWithoutKindStopsGroupingAndKeepsTheGroupsBeforeIt) {
  Start(folder.File("euklid/PLATE-HOLES.csv"));
  Kinds({kDrillKind, kDrillKind, kDrillKind});
  form.rows[3].group = "9";  // an earlier group number is emptied first
  EXPECT_EQ(HoleDataGrouping(ctx(), form), 2);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：穴の種類を選択してからグループ化して下さい"}));
  EXPECT_EQ(Groups(), (std::vector<std::string>{"1", "1", "2"}));
  EXPECT_EQ(Db("hole", "group"), "2");
}

TEST_F(HoleImport, SavingBeforeGroupingNamesTheFirstGroupField) {
  Start(folder.File("euklid/PLATE-HOLES.csv"));
  Kinds({kDrillKind, kDrillKind, kDrillKind, kDrillKind, kTapKind, kTapKind, kCounterboreKind,
         kCounterboreKind});
  EXPECT_EQ(SaveEuklidHole(ctx(), form, main), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：[6500] グループ取得失敗"}));
  EXPECT_EQ(form.result, 0);
  EXPECT_EQ(Db("hole1", "command"), "");
}

TEST_F(HoleImport, SavedGroupsAreHoleRecordsWithDerivedValues) {
  Start(folder.File("euklid/PLATE-HOLES.csv"));
  Kinds({kDrillKind, kDrillKind, kDrillKind, kDrillKind, kTapKind, kTapKind, kCounterboreKind,
         kCounterboreKind});
  EXPECT_EQ(CheckCounterboreRow(ctx(), form, 6), 0);
  ASSERT_EQ(HoleDataGrouping(ctx(), form), 4);
  main.controller = "FANUC";
  main.coordinateSystem = "G55";
  main.programNumber = "1002";
  EXPECT_EQ(SaveEuklidHole(ctx(), form, main), 0);
  EXPECT_EQ(form.result, 1);
  EXPECT_TRUE(tc.reporter.boxes.empty());

  // DRILL 10 in a 20 plate: 20 + 2 + 5 tan 31 (3.004) = 25.0 -> "25".
  const std::pair<std::string, std::string> expected[] = {
      {"hole1/command", kDrillKind},
      {"hole1/variable0", "10"},
      {"hole1/variable1", "25"},
      {"hole1/variable2", ""},
      {"hole1/X0", "20."},
      {"hole1/Y0", "20."},
      {"hole1/Z0", "0."},
      {"hole1/X1", "60."},
      {"hole1/Y1", "20."},
      {"hole1/Z1", "0."},
      {"hole1/X2", ""},
      {"hole2/command", kDrillKind},
      {"hole2/variable1", "25"},
      {"hole2/X0", "20."},
      {"hole2/Y0", "60."},
      {"hole2/Z0", "-5."},
      {"hole2/X1", "60."},
      {"hole2/Z1", "-5."},
      // NTAP M6 of NTAP.tbl: depth 12 (within 0.75 x 6 + 20), pitch 1, pilot hole 5, pilot depth 17
      // (within 3 tan 31 + 22 = 23.8), chamfer 0.5.
      {"hole3/command", kTapKind},
      {"hole3/variable0", "6"},
      {"hole3/variable1", "12"},
      {"hole3/variable2", "1"},
      {"hole3/variable3", "5"},
      {"hole3/variable4", "17"},
      {"hole3/variable5", "0.5"},
      {"hole3/variable6", ""},
      {"hole3/X0", "40."},
      {"hole3/Y1", "60."},
      // COUNTERBORE D9: bolt hole 4.5 tan 31 + 22 = 24.704 -> 24.7, counterbore 14, depth 8.6.
      {"hole4/command", kCounterboreKind},
      {"hole4/variable0", "9"},
      {"hole4/variable1", "24.7"},
      {"hole4/variable2", "14"},
      {"hole4/variable3", "8.6"},
      {"hole4/variable4", ""},
      {"hole4/X0", "80."},
      {"hole4/Y0", "30."},
      {"hole4/Y1", "50."},
      {"hole5/command", ""},
      {"machine/ControlDevice", "FANUC"},
      {"machine/CoordinateSystem", "G55"},
      {"machine/onumber", "1002"},
      {"machine/trycutfile", "O1002"},
      {"machine/ncfile", "O1002.NC"},
      {"hole/count", "8"},
      {"hole/group", "4"}};
  for (const auto& [where, value] : expected) {
    const std::string section = where.substr(0, where.find('/')), key = where.substr(where.find('/') + 1);
    EXPECT_EQ(Db(section.c_str(), key.c_str()), value) << where;
  }
}

TEST_F(HoleImport, CounterboreRowNeedsADefinition) {
  Start(folder.File("euklid/PLATE-HOLES.csv"));
  form.rows[4].kind = kCounterboreKind;  // diameter 6 has no counterbore section
  EXPECT_EQ(CheckCounterboreRow(ctx(), form, 4), -1);
  ASSERT_FALSE(Boxes().empty());
  EXPECT_EQ(Boxes().back(), "エラー：6.00 のザグリ定義はありません");
  form.rows[4].kind = kDrillKind;
  tc.reporter.boxes.clear();
  EXPECT_EQ(CheckCounterboreRow(ctx(), form, 4), 0);
  EXPECT_TRUE(tc.reporter.boxes.empty());
}

TEST_F(HoleImport, ListsBeyondWhatAProjectHoldsAreRefusedBeforeAnythingIsWritten) {
  // 21 circles: the form has 20 rows.
  std::string many;
  for (int i = 0; i < 21; ++i)
    many += "C,10," + std::to_string(i * 10) + ",0,0\r\n";
  folder.Write("input/MANY.csv", many);
  ASSERT_EQ(SettingEukHoleFile(ctx(), folder.File("input/MANY.csv")), 0);
  EuklidHoleForm big;
  EXPECT_EQ(ReadEuklidHoleFile(ctx(), big, folder.File("input/MANY.csv")), -1);
  EXPECT_EQ(Boxes(),
            (std::vector<std::string>{"エラー：EUKLID 穴加工定義ファイル " + folder.File("input/MANY.csv") +
                                      " の円が 21 個あります（20 個まで）"}));
  EXPECT_EQ(big.rows[0].diameter, "");
  EXPECT_EQ(Db("hole", "count"), "");

  // 11 circles of one kind: a group holds 10 positions.
  std::string eleven;
  for (int i = 0; i < 11; ++i)
    eleven += "C,10," + std::to_string(i * 10) + ",0,0\r\n";
  folder.Write("input/ELEVEN.csv", eleven);
  tc.reporter.boxes.clear();
  Start(folder.File("input/ELEVEN.csv"));
  for (int r = 0; r < 11; ++r)
    form.rows[r].kind = kDrillKind;
  EXPECT_EQ(HoleDataGrouping(ctx(), form), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：グループ 1 の円が 11 個あります（10 個まで）"}));
  EXPECT_EQ(Db("hole", "group"), "");

  // Seven depths: a project holds six groups.
  std::string seven;
  for (int i = 0; i < 7; ++i)
    seven += "C,10,0,0,-" + std::to_string(i) + "\r\n";
  folder.Write("input/SEVEN.csv", seven);
  tc.reporter.boxes.clear();
  form = EuklidHoleForm{};
  Start(folder.File("input/SEVEN.csv"));
  for (int r = 0; r < 7; ++r)
    form.rows[r].kind = kDrillKind;
  EXPECT_EQ(HoleDataGrouping(ctx(), form), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：グループが 7 個あります（6 個まで）"}));
  // Saving the groups as they stand in the form is refused as well, before any key is written.
  ASSERT_TRUE(WriteString(ctx().dbPath, "hole", "group", "7"));
  EXPECT_EQ(SaveEuklidHole(ctx(), form, main), -1);
  EXPECT_EQ(Db("hole1", "command"), "");
}

TEST_F(HoleImport, MissingFilesAreNamed) {
  ASSERT_EQ(SettingEukHoleFile(ctx(), folder.File("input/GONE.csv")), 0);
  EXPECT_EQ(ReadEuklidHoleFile(ctx(), form, folder.File("input/GONE.csv")), -1);
  std::filesystem::remove(folder.File("euklid.tbl"));
  EXPECT_EQ(FillHoleKindLists(ctx(), form), 0);
  EXPECT_TRUE(form.kinds.empty());
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：EUKLID 穴加工定義ファイル " +
                                               folder.File("input/GONE.csv") + " が開けません"}));
  EXPECT_EQ(tc.reporter.Lines().back(),
            "エラー：EUKLID定義ファイル " + folder.File("euklid.tbl") + " がありません。");
}

TEST_F(HoleImport, ScrollStaysWithinTheForm) {
  EXPECT_EQ(ScrollEuklidHoleForm(0, EuklidScroll::kLineUp), 0);
  EXPECT_EQ(ScrollEuklidHoleForm(0, EuklidScroll::kLineDown), 1);
  EXPECT_EQ(ScrollEuklidHoleForm(10, EuklidScroll::kPageDown), 60);
  EXPECT_EQ(ScrollEuklidHoleForm(700, EuklidScroll::kPageDown), 720);
  EXPECT_EQ(ScrollEuklidHoleForm(30, EuklidScroll::kPageUp), 0);
  EXPECT_EQ(ScrollEuklidHoleForm(30, EuklidScroll::kThumb, 400), 400);
  EXPECT_EQ(ScrollEuklidHoleForm(30, EuklidScroll::kThumb, 9000), 720);
}

TEST_F(HoleImport, SavedImportReloadsTheMainWindowWithItsInformation) {
  EuklidScreens screens;
  bool shown = false;
  screens.materialForm = [&] {
    EuklidMaterialForm material;
    OpenEuklidMaterialForm(ctx(), material);
    material.sizeX = "120";
    material.sizeY = "80";
    material.sizeZ = "20";
    material.material = "S45C";
    SaveEuklidMaterial(ctx(), material);
  };
  screens.holeForm = [&] {
    OpenEuklidHoleForm(ctx(), form, folder.File("euklid/PLATE-HOLES.csv"));
    Kinds({kDrillKind, kDrillKind, kDrillKind, kDrillKind, kTapKind, kTapKind, kCounterboreKind,
           kCounterboreKind});
    HoleDataGrouping(ctx(), form);
    main.controller = "FANUC";
    main.coordinateSystem = "G54";
    main.programNumber = "1001";
    SaveEuklidHole(ctx(), form, main);
    return form.result;
  };
  screens.showMain = [&] { shown = true; };
  MainForm window;
  EXPECT_EQ(RunEuklidImport(ctx(), screens, kEuklidHoleMode, folder.File("euklid/PLATE-HOLES.csv"), window),
            0);
  EXPECT_TRUE(shown);
  EXPECT_EQ(window.projectName, "PLATE-HOLES");
  EXPECT_EQ(window.material, "S45C");
  EXPECT_EQ(window.groupCaptions[0], kDrillKind);
  ASSERT_EQ(tc.reporter.boxes.size(), 1u);
  EXPECT_EQ(tc.reporter.boxes[0].first,
            "メイン画面に戻ります\n各穴画面を開き\n加工深さを設定して下さい\n続いて工程作成\nＮＣデータ作成");
  EXPECT_EQ(tc.reporter.boxes[0].second, 1);
}

}  // namespace
}  // namespace talvorin::test
