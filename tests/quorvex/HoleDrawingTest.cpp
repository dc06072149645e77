// The hole drawing's export run on project databases written by hand: the whole DXF text of a small
// project, which groups are drawn, the title rules, every message, the viewer, and the drawings read
// back by ezdxf.
#include <dirent.h>
#include <gtest/gtest.h>

#include <memory>

#include "dxf/DxfCheck.h"
#include "quorvex/HoleDrawing.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::Groups;

// A block of 14 x 7 x 5 with its origin at the lower left corner; the title's longer name is the
// product (10 CP932 bytes).
constexpr const char* kHeader =
    "[TALVORIN]\r\nproject=A01\r\nproduct=ブラケット\r\ndbpath=%sdb\r\n\r\n[material]\r\nX=14.\r\nY=7.\r\nZ="
    "5.\r\n"
    "type=SS400\r\n\r\n[trycut]\r\nXmax=14\r\nXmin=0\r\nYmax=7\r\nYmin=0\r\nZmax=0\r\nZmin=-5\r\n";

class HoleDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.Write("tableSection.dat", "  0\r\nSECTION\r\n  2\r\nTABLES\r\n  0\r\nENDSEC\r\n");
    folder.WriteCp932("quorvex.ini", "[quorvex]\r\nviewer=/opt/viewer/bin/dxfview\r\n");
    folder.Write("db/keep", "");
    Restart();
  }
  void Restart() {
    t = std::make_unique<test::TestContext>(folder);
    t->inst.iniPath = folder.File("quorvex.ini");
    t->ctx.dbPath = folder.File("db/A01.dat");
  }
  // The project database: the block above, then `rest`.
  void Project(const std::string& rest) {
    std::string header = kHeader;
    header.replace(header.find("%s"), 2, folder.path());
    folder.WriteCp932("db/A01.dat", header + rest);
  }
  std::vector<std::string> DbFolder() const {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.File("db").c_str());
    while (struct dirent* e = dir ? readdir(dir) : nullptr)
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
    if (dir) closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string OnlyError() const {
    EXPECT_EQ(t->reporter.boxes.size(), 1u);
    if (t->reporter.boxes.empty()) return "";
    EXPECT_EQ(t->reporter.boxes[0].second, -1);
    EXPECT_EQ(t->reporter.Lines().back(), t->reporter.boxes[0].first);
    return t->reporter.boxes[0].first;
  }

  test::TestFolder folder;
  std::unique_ptr<test::TestContext> t;
};

TEST_F(HoleDrawing, WholeDrawingOfASmallProject) {
  Project(
      "[hole1]\r\ncommand=ドリル [DRILL]\r\nvariable0=3\r\nvariable1=5\r\nvariable2=0\r\nX0=4.\r\nY0=3.5\r\n"
      "[hole2]\r\nvariable0=10\r\nX0=1\r\nY0=1\r\n"
      "[hole3]\r\ncommand=ザグリ穴\r\nvariable0=9\r\nvariable2=14\r\nX0=1\r\nY0=1\r\n");
  ASSERT_EQ(ExportHoleDrawing(t->ctx, ElementColor{}), 0);
  // dbpath had no trailing separator: one is put between it and the file name.
  EXPECT_EQ(folder.ReadCp932("db/A01.dxf"), Groups(R"(  0|SECTION
  2|HEADER
  9|$ACADVER
  1|AC1009
  9|$DWGCODEPAGE
  3|ANSI_932
  9|$EXTMIN
 10|-4.200000
 20|-2.100000
 30|0.000000
  9|$EXTMAX
 10|28.000000
 20|14.000000
 30|0.000000
  0|ENDSEC
  0|SECTION
  2|TABLES
  0|ENDSEC
  0|SECTION
  2|ENTITIES
  0|LINE
  8|材料_14×7×5
  6|CONTINUOUS
 62|3
 100|AcDbLine
 10|0.000000
 20|0.000000
 11|14.000000
 21|0.000000
  0|LINE
  8|材料_14×7×5
  6|CONTINUOUS
 62|3
 100|AcDbLine
 10|0.000000
 20|7.000000
 11|14.000000
 21|7.000000
  0|LINE
  8|材料_14×7×5
  6|CONTINUOUS
 62|3
 100|AcDbLine
 10|0.000000
 20|0.000000
 11|0.000000
 21|7.000000
  0|LINE
  8|材料_14×7×5
  6|CONTINUOUS
 62|3
 100|AcDbLine
 10|14.000000
 20|0.000000
 11|14.000000
 21|7.000000
  0|CIRCLE
  8|1-D3-ドリル
  6|CONTINUOUS
 62|0
 100|AcDbCircle
 10|4.000000
 20|3.500000
 40|1.500000
  0|LINE
  8|基準線
  6|HIDDEN
 62|2
 100|AcDbLine
 10|1.750000
 20|3.500000
 11|6.250000
 21|3.500000
  0|LINE
  8|基準線
  6|HIDDEN
 62|2
 100|AcDbLine
 10|4.000000
 20|1.250000
 11|4.000000
 21|5.750000
  0|LINE
  8|材料寸法
  6|CONTINUOUS
 62|5
 100|AcDbLine
 10|0.000000
 20|7.000000
 11|0.000000
 21|11.200000
  0|CIRCLE
  8|材料寸法
  6|CONTINUOUS
 62|5
 100|AcDbCircle
 10|0.000000
 20|7.000000
 40|0.140000
  0|LINE
  8|材料寸法
  6|CONTINUOUS
 62|5
 100|AcDbLine
 10|14.000000
 20|7.000000
 11|14.000000
 21|11.200000
  0|CIRCLE
  8|材料寸法
  6|CONTINUOUS
 62|5
 100|AcDbCircle
 10|14.000000
 20|7.000000
 40|0.140000
  0|LINE
  8|材料寸法
  6|CONTINUOUS
 62|5
 100|AcDbLine
 10|0.000000
 20|10.500000
 11|14.000000
 21|10.500000
  0|CIRCLE
  8|材料寸法
  6|CONTINUOUS
 62|5
 100|AcDbCircle
 10|0.000000
 20|10.500000
 40|0.140000
  0|CIRCLE
  8|材料寸法
  6|CONTINUOUS
 62|5
 100|AcDbCircle
 10|14.000000
 20|10.500000
 40|0.140000
  0|TEXT
  8|材料寸法
  6|CONTINUOUS
 62|5
 72|1
 100|AcDbText
 10|7.000000
 20|10.850000
 40|1.400000
 50|0.000000
 11|7.000000
 21|10.850000
  1|14
  0|LINE
  8|材料寸法
  6|CONTINUOUS
 62|5
 100|AcDbLine
 10|0.000000
 20|7.000000
 11|-4.200000
 21|7.000000
  0|LINE
  8|材料寸法
  6|CONTINUOUS
 62|5
 100|AcDbLine
 10|0.000000
 20|0.000000
 11|-4.200000
 21|0.000000
  0|LINE
  8|材料寸法
  6|CONTINUOUS
 62|5
 100|AcDbLine
 10|-3.500000
 20|7.000000
 11|-3.500000
 21|0.000000
  0|CIRCLE
  8|材料寸法
  6|CONTINUOUS
 62|5
 100|AcDbCircle
 10|-3.500000
 20|7.000000
 40|0.140000
  0|CIRCLE
  8|材料寸法
  6|CONTINUOUS
 62|5
 100|AcDbCircle
 10|-3.500000
 20|0.000000
 40|0.140000
  0|TEXT
  8|材料寸法
  6|CONTINUOUS
 62|5
 72|1
 100|AcDbText
 10|-3.850000
 20|3.500000
 40|1.400000
 50|90.000000
 11|-3.850000
 21|3.500000
  1|7
  0|CIRCLE
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|0.300000
  0|ARC
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|0.100000
 50|0.000000
 51|90.000000
  0|ARC
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|0.100000
 50|180.000000
 51|270.000000
  0|ARC
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|0.200000
 50|0.000000
 51|90.000000
  0|ARC
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbCircle
 10|0.000000
 20|0.000000
 40|0.200000
 50|180.000000
 51|270.000000
  0|LINE
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbLine
 10|-0.600000
 20|0.000000
 11|0.600000
 21|0.000000
  0|LINE
  8|原点
  6|CONTINUOUS
 62|1
 100|AcDbLine
 10|0.000000
 20|-0.600000
 11|0.000000
 21|0.600000
  0|TEXT
  8|原点
  6|CONTINUOUS
 62|6
 100|AcDbText
 10|1.400000
 20|-4.200000
 40|1.400000
  1|A01
  0|TEXT
  8|原点
  6|CONTINUOUS
 62|6
 100|AcDbText
 10|1.400000
 20|-6.300000
 40|1.400000
  1|ブラケット
  0|ENDSEC
  0|EOF
)"));
  // Group 2 has no command; group 3's command has no brackets: skipped after reading its values.
  EXPECT_EQ(t->reporter.Lines(),
            (std::vector<std::string>{"!!! routine name : quorvex", "!!! routine name : GetShapeDefinition",
                                      "!!! routine name : WriteDrillHole",
                                      "!!! routine name : GetShapeDefinition"}));
  EXPECT_TRUE(t->reporter.boxes.empty());
  ASSERT_EQ(t->platform.calls.size(), 1u);
  EXPECT_EQ(t->platform.calls[0].what, "start");
  EXPECT_EQ(t->platform.calls[0].target, "/opt/viewer/bin/dxfview");
  EXPECT_EQ(t->platform.calls[0].args, std::vector<std::string>{folder.File("db/A01.dxf")});
  EXPECT_EQ(DbFolder(), (std::vector<std::string>{"A01.dat", "A01.dxf", "keep"}));
}

TEST_F(HoleDrawing, OnlyGroupsWithAKnownKindAreDrawn) {
  // hole3 has no command; hole4 is a drill whose kind word is in lower case; hole5's kind is unknown.
  Project(
      "[hole3]\r\nvariable0=5\r\nX0=1\r\nY0=1\r\n"
      "[hole4]\r\ncommand=ドリル [drill]\r\nvariable0=10\r\nX0=7\r\nY0=3.5\r\n"
      "[hole5]\r\ncommand=面取 [CHAMFER]\r\nvariable0=10\r\nX0=7\r\nY0=3.5\r\n");
  test::CopyProgramFolder(folder);  // the shipped table section, so that ezdxf reads the layers
  folder.WriteCp932("quorvex.ini", "[quorvex]\r\nviewer=/opt/viewer/bin/dxfview\r\n");
  ASSERT_EQ(ExportHoleDrawing(t->ctx, ElementColor{}), 0);
  std::string report = test::CheckDxf(folder.File("db/A01.dxf"), true);
  EXPECT_EQ(report, R"(encoding cp932
audit errors 0
header $EXTMIN -4.200000 -2.100000
header $EXTMAX 28.000000 14.000000
layer 4-D10-ドリル 1
layer 原点 9
layer 基準線 2
layer 材料_14×7×5 4
layer 材料寸法 14
)");
}

TEST_F(HoleDrawing, EmptyBracketsStopTheRunAndLeaveNoDrawing) {
  folder.Write("db/A01.dxf", "earlier drawing");
  Project(
      "[hole1]\r\ncommand=ドリル [DRILL]\r\nvariable0=3\r\nX0=4\r\nY0=3\r\n[hole2]\r\ncommand=何か []\r\n");
  EXPECT_EQ(ExportHoleDrawing(t->ctx, ElementColor{}), -1);
  EXPECT_EQ(OnlyError(), "エラー：加工命令の取り出し失敗");
  EXPECT_EQ(folder.Read("db/A01.dxf"), "earlier drawing");
  EXPECT_EQ(DbFolder(), (std::vector<std::string>{"A01.dat", "A01.dxf", "keep"}));
  EXPECT_TRUE(t->platform.calls.empty());
}

TEST_F(HoleDrawing, TitleHeightComesFromTheLongerNameInBytes) {
  auto texts = [&](const std::string& names) {
    const std::string both = "project=A01\r\nproduct=ブラケット\r\n";
    std::string header = kHeader;
    header.replace(header.find(both), both.size(), names);
    header.replace(header.find("%s"), 2, folder.path());
    folder.WriteCp932("db/A01.dat", header);
    StringSink sink;
    DxfDrawing d{sink, ElementColor{}, "", "", 0, ""};
    EXPECT_EQ(quorvex(t->ctx, d), 0);
    std::string tail = sink.text.substr(sink.text.rfind("21\r\n0.600000\r\n") + 14);
    return tail;
  };
  // Only a product: its 8 bytes span the block's width of 14; its line is the first.
  EXPECT_EQ(texts("product=ABCDEFGH\r\n"), Groups(R"(  0|TEXT
  8|原点
  6|CONTINUOUS
 62|6
 100|AcDbText
 10|1.750000
 20|-5.250000
 40|1.750000
  1|ABCDEFGH
  0|ENDSEC
  0|EOF
)"));
  // Neither name: no text at all.
  EXPECT_EQ(texts(""), Groups("  0|ENDSEC\n  0|EOF\n"));
  // A full-width name counts two bytes a character: 7 characters are 14 bytes, height 1.
  EXPECT_EQ(texts("project=ＡＢＣＤＥＦＧ\r\nproduct=B\r\n"), Groups(R"(  0|TEXT
  8|原点
  6|CONTINUOUS
 62|6
 100|AcDbText
 10|1.000000
 20|-3.000000
 40|1.000000
  1|ＡＢＣＤＥＦＧ
  0|TEXT
  8|原点
  6|CONTINUOUS
 62|6
 100|AcDbText
 10|1.000000
 20|-4.500000
 40|1.000000
  1|B
  0|ENDSEC
  0|EOF
)"));
}

TEST_F(HoleDrawing, MissingProjectKeysAreReported) {
  struct Case {
    std::string from, to, message;
  };
  const Case cases[] = {
      {"project=A01\r\n", "", "エラー：[TALVORIN] project= プロジェクトの読み込みに失敗"},
      {"dbpath=", "folder=", "エラー：[TALVORIN] dbpath= 保存フォルダの読み込みに失敗"},
      {"project=A01", "project=../A01", "エラー：プロジェクト名 ../A01 はファイル名に使えません"},
      {"project=A01", "project=..", "エラー：プロジェクト名 .. はファイル名に使えません"},
      {"Y=7.\r\n", "", "エラー：[material] Y= 材料寸法の読み込みに失敗"},
      {"Z=5.\r\n", "Z=\r\n", "エラー：[material] Z= 材料寸法の読み込みに失敗"},
      {"Xmin=0\r\n", "", "エラー：[trycut] Xmin= 最小材料寸法の読み込みに失敗"},
      {"Ymax=7\r\n", "", "エラー：[trycut] Ymax= 最大材料寸法の読み込みに失敗"},
      {"Zmin=-5\r\n", "", "エラー：[trycut] Zmin= 最小材料寸法の読み込みに失敗"},
  };
  for (const Case& c : cases) {
    Restart();
    std::string header = kHeader;
    header.replace(header.find("%s"), 2, folder.path());
    header.replace(header.find(c.from), c.from.size(), c.to);
    folder.WriteCp932("db/A01.dat", header);
    EXPECT_EQ(ExportHoleDrawing(t->ctx, ElementColor{}), -1) << c.message;
    EXPECT_EQ(OnlyError(), c.message);
    EXPECT_EQ(DbFolder(), (std::vector<std::string>{"A01.dat", "keep"})) << c.message;
    EXPECT_TRUE(t->platform.calls.empty());
  }
}

TEST_F(HoleDrawing, FileFailuresAreReported) {
  Project("");
  // No table section: the run ends after the header and nothing is left.
  std::remove(folder.File("tableSection.dat").c_str());
  EXPECT_EQ(ExportHoleDrawing(t->ctx, ElementColor{}), -1);
  EXPECT_EQ(OnlyError(), "エラー：DXFファイル " + folder.File("tableSection.dat") + " 開けません");
  EXPECT_EQ(DbFolder(), (std::vector<std::string>{"A01.dat", "keep"}));
  EXPECT_EQ(t->reporter.Lines().front(), "!!! routine name : quorvex");

  // The output folder does not exist.
  Restart();
  folder.Write("tableSection.dat", "  0\r\nSECTION\r\n  2\r\nTABLES\r\n  0\r\nENDSEC\r\n");
  std::string header = kHeader;
  header.replace(header.find("%sdb"), 4, folder.File("gone"));
  folder.WriteCp932("db/A01.dat", header);
  EXPECT_EQ(ExportHoleDrawing(t->ctx, ElementColor{}), -1);
  EXPECT_EQ(OnlyError(), "エラー：DXFファイル " + folder.File("gone/A01.dxf") + " 開けません");
  EXPECT_TRUE(t->reporter.Lines().size() == 1u);
  EXPECT_TRUE(t->platform.calls.empty());
}

TEST_F(HoleDrawing, ViewerFailuresAreReportedAfterTheDrawingIsWritten) {
  Project("");
  folder.WriteCp932("quorvex.ini", "[quorvex]\r\nviewer=\r\n");
  EXPECT_EQ(ExportHoleDrawing(t->ctx, ElementColor{}), -1);
  EXPECT_EQ(OnlyError(), "DXF Viewer の設定がありません。");
  EXPECT_TRUE(PathExists(folder.File("db/A01.dxf")));
  EXPECT_TRUE(t->platform.calls.empty());

  Restart();
  folder.WriteCp932("quorvex.ini", "[quorvex]\r\nviewer=/no/such/viewer\r\n");
  t->platform.startResult = false;
  EXPECT_EQ(ExportHoleDrawing(t->ctx, ElementColor{}), -1);
  EXPECT_EQ(OnlyError(), "エラー：DXFファイルが開けません");
  EXPECT_EQ(t->platform.calls.size(), 1u);

  Restart();
  EXPECT_EQ(OpenDxfViewer(t->ctx, folder.File("db/none.dxf"), "quorvex"), -1);
  EXPECT_EQ(OnlyError(), "エラー：" + folder.File("db/none.dxf") + " が存在しません");
}

// Every kind in one project, drawn with the shipped table section and read back by ezdxf.
TEST_F(HoleDrawing, EveryKindLoadsInEzdxfWithItsCirclesAndArcs) {
  test::CopyProgramFolder(folder);
  std::string header = kHeader;
  header.replace(header.find("%s"), 2, folder.path());
  header.replace(header.find("X=14."), 5, "X=200.");
  header.replace(header.find("Y=7."), 4, "Y=100.");
  header.replace(header.find("Xmax=14"), 7, "Xmax=200");
  header.replace(header.find("Ymax=7"), 6, "Ymax=100");
  folder.WriteCp932(
      "db/A01.dat",
      header +
          "[hole1]\r\ncommand=ドリル "
          "[DRILL]\r\nvariable0=10\r\nvariable2=0.5\r\nX0=20\r\nY0=20\r\nX1=40\r\nY1=20\r\n"
          "[hole2]\r\ncommand=タップ [NTAP]\r\nvariable0=10\r\nvariable3=8.5\r\nX0=20\r\nY0=50\r\n"
          "[hole3]\r\ncommand=ザグリ [COUNTERBORE]\r\nvariable0=9\r\nvariable2=14\r\nX0=60\r\nY0=50\r\n"
          "[hole4]\r\ncommand=ザグリ長穴 [CBLONGHOLE]\r\nvariable0=10\r\nvariable1=20\r\nvariable3=45\r\n"
          "variable4=14\r\nCX0=100\r\nCY0=50\r\n"
          "[hole5]\r\ncommand=Ｕ溝 [UGROOVE]\r\nvariable0=10\r\nvariable1=270\r\nX0=150\r\nY0=80\r\n"
          "[hole6]\r\ncommand=大穴 [BIGHOLE]\r\nvariable0=40\r\nX0=150\r\nY0=30\r\n");
  ASSERT_EQ(ExportHoleDrawing(t->ctx, ElementColor{}), 0);
  std::string report = test::CheckDxf(folder.File("db/A01.dxf"));
  EXPECT_EQ(test::ReportLines(report, "audit"), std::vector<std::string>{"audit errors 0"});
  EXPECT_EQ(test::ReportLines(report, "layer"),
            (std::vector<std::string>{"layer 1-D10-ドリル 4", "layer 2-M10-並目タップ 2",
                                      "layer 3-Z14-D9-ザグリ 2", "layer 4-D10-W20_長穴 8",
                                      "layer 5-Ｕ溝-D10 3", "layer 6-D40-大穴 1", "layer 原点 89",
                                      "layer 基準線 14", "layer 材料_200×100×5 4", "layer 材料寸法 14"}));
  EXPECT_EQ(test::ReportLines(report, "CIRCLE 1"),
            (std::vector<std::string>{"CIRCLE 1-D10-ドリル 20.000000 20.000000 5.000000",
                                      "CIRCLE 1-D10-ドリル 20.000000 20.000000 5.500000",
                                      "CIRCLE 1-D10-ドリル 40.000000 20.000000 5.000000",
                                      "CIRCLE 1-D10-ドリル 40.000000 20.000000 5.500000"}));
  EXPECT_EQ(
      test::ReportLines(report, "ARC 4"),
      (std::vector<std::string>{"ARC 4-D10-W20_長穴 92.928932 42.928932 5.000000 135.000000 315.000000",
                                "ARC 4-D10-W20_長穴 92.928932 42.928932 7.000000 135.000000 315.000000",
                                "ARC 4-D10-W20_長穴 107.071068 57.071068 5.000000 315.000000 135.000000",
                                "ARC 4-D10-W20_長穴 107.071068 57.071068 7.000000 315.000000 135.000000"}));
  EXPECT_EQ(test::ReportLines(report, "ARC 5"),
            std::vector<std::string>{"ARC 5-Ｕ溝-D10 150.000000 80.000000 5.000000 180.000000 0.000000"});
  EXPECT_EQ(test::ReportLines(report, "CIRCLE 6"),
            std::vector<std::string>{"CIRCLE 6-D40-大穴 150.000000 30.000000 20.000000"});
}

}  // namespace
}  // namespace talvorin
