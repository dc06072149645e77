// The shape-entry screen: the kind selector from the hole-command table, choosing a kind, and
// opening a group from the main window.
#include "HoleTestSupport.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

using test::HoleTest;

TEST_F(HoleTest, TheSelectorOffersTheShippedKindsInOrder) {
  ShapeForm form;
  ASSERT_EQ(FillKindSelector(t.ctx, form), 0);
  EXPECT_EQ(form.kinds,
            (std::vector<std::string>{"ドリル穴 [DRILL]", "タップ穴 [NTAP]", "リーマ穴 [REAMER]",
                                      "ザグリ穴 [COUNTERBORE]", "長穴 [LONGHOLE]", "ザグリ長穴 [CBLONGHOLE]",
                                      "Ｕ溝 [UGROOVE]", "大穴 [BIGHOLE]"}));
}

TEST_F(HoleTest, TheSelectorEndsAtIndexOrAtTheFirstMissingLabel) {
  std::string labels;
  for (int i = 0; i < 12; ++i)
    labels += Sprintf("command%d=穴%d [DRILL]\r\n", i, i);
  folder.WriteCp932("HoleCommand.tbl", "[command]\r\n" + labels);
  ShapeForm form;
  ASSERT_EQ(FillKindSelector(t.ctx, form), 0);
  EXPECT_EQ(form.kinds.size(), 11u);  // index defaults to 10
  EXPECT_EQ(form.kinds.back(), "穴10 [DRILL]");

  folder.WriteCp932("HoleCommand.tbl", "[command]\r\nindex=3\r\n" + labels);
  ASSERT_EQ(FillKindSelector(t.ctx, form), 0);
  EXPECT_EQ(form.kinds.size(), 4u);

  folder.WriteCp932("HoleCommand.tbl",
                    "[command]\r\nindex=5\r\ncommand0=A [DRILL]\r\ncommand1=\r\ncommand2=C [NTAP]\r\n");
  ASSERT_EQ(FillKindSelector(t.ctx, form), 0);
  EXPECT_EQ(form.kinds, std::vector<std::string>{"A [DRILL]"});
}

TEST_F(HoleTest, ChoosingAKindShowsItsCaptionsAndDefaults) {
  folder.WriteCp932("DefaultValue.tbl",
                    "[NTAP]\r\nindex=5\r\nNTAP0=6\r\nNTAP2=1\r\nNTAP5=0.5\r\n"
                    "[BIGHOLE]\r\nindex=9\r\nBIGHOLE7=0.2\r\n");
  ShapeForm form;
  form.params = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
  form.kind = "タップ穴 [NTAP]";
  ASSERT_EQ(ChooseKind(t.ctx, form), 0);
  EXPECT_EQ(form.captions, (std::array<std::string, 10>{"呼び径 (並目)", "タップ深さ", "ピッチ", "下穴径",
                                                        "下穴深さ", "面取量 (0:なし)", "-", "-", "-", "-"}));
  EXPECT_EQ(form.params, (std::array<std::string, 10>{"6", "", "1", "", "", "0.5"}));

  // The default table became the current table; the captions of the next kind still come from
  // the hole-command table.
  form.kind = "大穴 [BIGHOLE]";
  ASSERT_EQ(ChooseKind(t.ctx, form), 0);
  EXPECT_EQ(form.captions, (std::array<std::string, 10>{"穴径", "深さ", "面取量 (0:なし)", "-", "-", "-",
                                                        "下穴工具径", "仕上代", "荒取工具径", "仕上工具径"}));
  EXPECT_EQ(form.params, (std::array<std::string, 10>{"", "", "", "", "", "", "", "0.2"}));
  EXPECT_TRUE(t.reporter.boxes.empty());
}

TEST_F(HoleTest, ChoosingNothingOrALabelWithoutKindWord) {
  ShapeForm form;
  form.params[0] = "10";
  EXPECT_EQ(ChooseKind(t.ctx, form), -1);
  EXPECT_EQ(LastLine(), "エラー：加工命令の取り出し失敗[1]");
  form.kind = "ドリル穴";
  EXPECT_EQ(ChooseKind(t.ctx, form), -1);
  EXPECT_EQ(LastLine(), "エラー：加工命令の取り出し失敗[2]");
  EXPECT_EQ(t.reporter.boxes.size(), 2u);
  EXPECT_EQ(form.params[0], "10");
}

// A group button of the main window on a project that has no file yet.
TEST_F(HoleTest, OpeningAGroupCreatesTheProjectFirst) {
  t.ctx.dbPath.clear();
  MainForm main;
  main.projectName = "PLATE";
  main.sizeX = "200";
  main.sizeY = "150";
  main.sizeZ = "12";
  main.material = "SS400";
  main.controller = "FANUC";
  main.coordinateSystem = "G54";
  main.programNumber = "12";
  int screens = 0;
  int result = OpenShapeInput(t.ctx, main, 2, [&](int group) {
    ++screens;
    EXPECT_EQ(group, 2);
    EXPECT_TRUE(PathExists(folder.File("db/PLATE.dat")));
    ShapeForm form;
    EXPECT_EQ(OpenShapeScreen(t.ctx, form, group), 0);
    form.kind = "ドリル穴 [DRILL]";
    form.params = {"10", "13"};
    return SaveShapeDefine(t.ctx, form, group);
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(screens, 1);
  EXPECT_EQ(t.ctx.dbPath, folder.File("db/PLATE.dat"));
  EXPECT_EQ(ReadString(t.ctx.dbPath, "material", "Z", 16), "12.");
  EXPECT_EQ(main.groupCaptions[1], "ドリル穴 [DRILL]");
  EXPECT_EQ(main.groupCaptions[0], "[ 1 ]");

  // An existing project is not created again.
  ASSERT_TRUE(WriteString(t.ctx.dbPath, "material", "Z", "20."));
  EXPECT_EQ(OpenShapeInput(t.ctx, main, 1, [](int) { return 0; }), 0);
  EXPECT_EQ(ReadString(t.ctx.dbPath, "material", "Z", 16), "20.");
}

TEST_F(HoleTest, AProjectThatCannotBeCreatedOpensNoScreen) {
  t.ctx.dbPath.clear();
  MainForm main;  // no project name
  bool opened = false;
  EXPECT_EQ(OpenShapeInput(t.ctx, main, 1,
                           [&](int) {
                             opened = true;
                             return 0;
                           }),
            -1);
  EXPECT_FALSE(opened);
  EXPECT_TRUE(HasLine("エラー：保存前にプロジェクト名を入力して下さい"));
}

}  // namespace
}  // namespace talvorin
