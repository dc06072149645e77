// Saving the shape-entry screen into a hole section and reading it back: the stored text of each kind,
// required parameters, coordinate rows and the end points of long holes.
#include "HoleTestSupport.h"
#include "store/Profile.h"
#include "testing/TestDoubles.h"

namespace talvorin {
namespace {

using test::HoleTest;
using test::VariableLines;

struct SavedKind {
  const char* label;
  std::array<std::string, 10> params;
  std::vector<CoordinateRow> rows;
  const char* progress;
  const char* coordinates;  // expected coordinate lines
};

const SavedKind kSavedKinds[] = {
    {"ドリル穴 [DRILL]",
     {"10", "13.0", "0.5"},
     {{"10", "20"}, {"30.5", "-40"}},
     "+++ ドリル穴保存",
     "X0=10.\r\nY0=20.\r\nX1=30.5\r\nY1=-40.\r\n"},
    {"タップ穴 [NTAP]",
     {"10", "15.5", "1.5", "8.5", "13", "0"},
     {{"50", "50.0"}},
     "+++ タップ穴保存",
     "X0=50.\r\nY0=50.\r\n"},
    {"リーマ穴 [REAMER]",
     {"10", "22", "9.7", "16.9", "0.3"},
     {{"25.25", "12.125"}},
     "+++ リーマ穴保存",
     "X0=25.25\r\nY0=12.125\r\n"},
    {"ザグリ穴 [COUNTERBORE]",
     {"6.6", "16", "11", "6.5", "0"},
     {{"0", "0"}},
     "+++ ザグリ穴保存",
     "X0=0.\r\nY0=0.\r\n"},
    {"長穴 [LONGHOLE]",
     {"10", "30", "14.", "0", "", "", "9.5", "0.2", "8", "8"},
     {{"50", "20"}},
     "+++ 長穴保存",
     "CX0=50.\r\nCY0=20.\r\nX0=35.\r\nY0=20.\r\nX1=65.\r\nY1=20.\r\n"},
    {"ザグリ長穴 [CBLONGHOLE]",
     {"9", "20", "14.", "90", "14", "8.6", "8.5", "0.2", "8", "8"},
     {{"100", "100"}},
     "+++ ザグリ長穴保存",
     "CX0=100.\r\nCY0=100.\r\nX0=100.\r\nY0=90.\r\nX1=100.\r\nY1=110.\r\n"},
    {"Ｕ溝 [UGROOVE]",
     {"12", "90", "14.", "", "", "", "", "0.2", "10", "10"},
     {{"0", "75"}},
     "+++ Ｕ溝保存",
     "X0=0.\r\nY0=75.\r\n"},
    {"大穴 [BIGHOLE]",
     {"30", "14.", "0", "", "", "", "20", "0.2", "16", "16"},
     {{"100", "75"}},
     "+++ 大穴保存",
     "X0=100.\r\nY0=75.\r\n"},
};

TEST_F(HoleTest, EachKindIsSavedAndReadBack) {
  int group = 0;
  for (const SavedKind& kind : kSavedKinds) {
    SCOPED_TRACE(kind.label);
    group = group % kHoleGroups + 1;
    SetUp();  // a new project file for each kind
    t.reporter = RecordingReporter();
    ShapeForm form;
    form.kind = kind.label;
    form.params = kind.params;
    for (std::size_t i = 0; i < kind.rows.size(); ++i)
      form.rows[i] = kind.rows[i];
    ASSERT_EQ(SaveShapeDefine(t.ctx, form, group), 0);

    EXPECT_EQ(Hole(group), Sprintf("[hole%d]\r\ncommand=%s\r\n", group, kind.label) +
                               VariableLines(kind.params) + kind.coordinates + "\r\n");
    bool longHole = std::string_view(kind.progress).find("長穴") != std::string_view::npos;
    std::vector<std::string> expectedLines = {"!!! routine name : SaveShapeDefine", kind.progress,
                                              longHole ? "+++ 長穴定義：保存成功" : "+++ 穴定義：保存成功",
                                              longHole ? "+++ 長穴座標：保存成功" : "+++ 穴座標：保存成功"};
    EXPECT_EQ(t.reporter.Lines(), expectedLines);

    // Reading the group into a new screen gives the label, the kind's captions, the parameters as
    // entered and the positions as stored (the slot centre for long holes).
    ShapeForm read;
    ASSERT_EQ(ReadShapeDefine(t.ctx, read, group), 0);
    EXPECT_EQ(read.kind, kind.label);
    EXPECT_EQ(read.params, kind.params);
    EXPECT_NE(read.captions[0], "-");
    EXPECT_EQ(read.rows[0].x, FormatNumber(AtoF(kind.rows[0].x), true));
    EXPECT_EQ(read.rows[0].y, FormatNumber(AtoF(kind.rows[0].y), true));
    EXPECT_EQ(read.rows[1].x, kind.rows.size() > 1 ? "30.5" : "");
  }
}

TEST_F(HoleTest, ReadingFillsOnlyStoredFieldsAndShowsDashForMissingCaptions) {
  ASSERT_TRUE(WriteString(t.ctx.dbPath, "hole4", "command", "ドリル穴 [DRILL]"));
  ASSERT_TRUE(WriteString(t.ctx.dbPath, "hole4", "variable0", "5.5"));
  ASSERT_TRUE(WriteString(t.ctx.dbPath, "hole4", "X3", "7."));
  ASSERT_TRUE(WriteString(t.ctx.dbPath, "hole4", "Y3", "8."));
  ShapeForm form;
  form.params[5] = "stale";
  ASSERT_EQ(ReadShapeDefine(t.ctx, form, 4), 0);
  EXPECT_EQ(form.captions[0], "穴径");
  EXPECT_EQ(form.captions[1], "穴深さ");
  EXPECT_EQ(form.captions[3], "-");
  EXPECT_EQ(form.params[0], "5.5");
  EXPECT_EQ(form.params[5], "");  // the captions of the kind empty every parameter field first
  EXPECT_EQ(form.rows[3].x, "7.");
  EXPECT_EQ(form.rows[3].y, "8.");
  EXPECT_EQ(form.rows[0].x, "");
}

TEST_F(HoleTest, LowerCaseLongHoleLabelsReadTheirCentres) {
  // Saving ignores the letter case of the kind word; reading must too, or the end points would be
  // shown as centres and a second save would move the slot.
  ShapeForm form;
  form.kind = "長穴 [longhole]";
  form.params = {"10", "30", "14.", "0"};
  form.rows[0] = {"50", "20"};
  ASSERT_EQ(SaveShapeDefine(t.ctx, form, 1), 0);
  EXPECT_EQ(Hole(1), "[hole1]\r\ncommand=長穴 [longhole]\r\n" + VariableLines(form.params) +
                         "CX0=50.\r\nCY0=20.\r\nX0=35.\r\nY0=20.\r\nX1=65.\r\nY1=20.\r\n\r\n");
  ShapeForm read;
  ASSERT_EQ(ReadShapeDefine(t.ctx, read, 1), 0);
  EXPECT_EQ(read.rows[0].x, "50.");
  EXPECT_EQ(read.rows[0].y, "20.");
  EXPECT_EQ(read.rows[1].x, "");
}

TEST_F(HoleTest, RequiredParametersAreCheckedInOrderWithTheirCaption) {
  ShapeForm form;
  ASSERT_EQ(ShowKindCaptions(t.ctx, form, "DRILL"), 0);
  form.kind = "ドリル穴 [DRILL]";
  form.params[0] = "10";
  EXPECT_EQ(SaveShapeDefine(t.ctx, form, 1), -1);
  EXPECT_EQ(LastLine(), "エラー：[1] 穴深さ 取出失敗");
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  // What was written before the failure stays written.
  EXPECT_EQ(Hole(1), "[hole1]\r\ncommand=ドリル穴 [DRILL]\r\n" + VariableLines({"10"}) + "\r\n");

  // Parameters 2 to 9 may be empty.
  form.params[1] = "13";
  EXPECT_EQ(SaveShapeDefine(t.ctx, form, 1), 0);

  // Long holes name only the caption.
  ShapeForm slot;
  ASSERT_EQ(ShowKindCaptions(t.ctx, slot, "LONGHOLE"), 0);
  slot.kind = "長穴 [LONGHOLE]";
  slot.params = {"10", "", "14."};
  EXPECT_EQ(SaveShapeDefine(t.ctx, slot, 2), -1);
  EXPECT_EQ(LastLine(), "エラー：円弧中心間距離 取出失敗");
}

TEST_F(HoleTest, SavingWithoutAUsableKind) {
  ShapeForm form;
  form.params = {"10", "13"};
  EXPECT_EQ(SaveShapeDefine(t.ctx, form, 1), -1);
  EXPECT_EQ(LastLine(), "エラー：加工命令の取り出し失敗");

  // Without a kind word the label is written, then the save stops.
  form.kind = "ドリル穴";
  EXPECT_EQ(SaveShapeDefine(t.ctx, form, 1), -1);
  EXPECT_EQ(LastLine(), "エラー：加工命令取り出し失敗");
  EXPECT_EQ(ReadString(t.ctx.dbPath, "hole1", "command", 48), "ドリル穴");

  // A kind word the system does not know: the label stays written and the user is told.
  form.kind = "面取り [CHAMFER]";
  EXPECT_EQ(SaveShapeDefine(t.ctx, form, 1), -1);
  EXPECT_EQ(LastLine(), "エラー：加工命令 [CHAMFER] は保存できません");
  EXPECT_EQ(ReadString(t.ctx.dbPath, "hole1", "variable0", 16), "");
  EXPECT_EQ(t.reporter.boxes.size(), 3u);

  // The kind word is compared ignoring letter case.
  form.kind = "ドリル穴 [drill]";
  EXPECT_EQ(SaveShapeDefine(t.ctx, form, 1), 0);
  EXPECT_TRUE(HasLine("+++ ドリル穴保存"));

  // Reading a label without kind word.
  ASSERT_TRUE(WriteString(t.ctx.dbPath, "hole2", "command", "ドリル穴"));
  ShapeForm read;
  EXPECT_EQ(ReadShapeDefine(t.ctx, read, 2), -1);
  EXPECT_EQ(LastLine(), "エラー：加工命令取り出し失敗");
}

TEST_F(HoleTest, CoordinateRowsWithAnEmptyFieldAreSkippedAndKeepTheirKeys) {
  ShapeForm form;
  form.kind = "ドリル穴 [DRILL]";
  form.params = {"10", "13"};
  form.rows[0] = {"1", "2"};
  form.rows[1] = {"3", "4"};
  form.rows[2] = {"5", "6"};
  ASSERT_EQ(SaveShapeDefine(t.ctx, form, 1), 0);
  form.rows[0] = {"10", "20"};
  form.rows[1] = {"30", ""};
  form.rows[2] = {"50", "60"};
  ASSERT_EQ(SaveShapeDefine(t.ctx, form, 1), 0);
  EXPECT_EQ(Hole(1), "[hole1]\r\ncommand=ドリル穴 [DRILL]\r\n" + VariableLines(form.params) +
                         "X0=10.\r\nY0=20.\r\nX1=3.\r\nY1=4.\r\nX2=50.\r\nY2=60.\r\n\r\n");
}

TEST_F(HoleTest, LongHoleEndPoints) {
  ShapeForm form;
  form.kind = "長穴 [LONGHOLE]";
  auto save = [&](std::array<std::string, 10> params) {
    SetUp();
    form.params = params;
    EXPECT_EQ(SaveShapeDefine(t.ctx, form, 1), 0);
    std::string text = Hole(1);
    std::size_t coordinates = text.find("variable9=\r\n") + 12;
    return text.substr(coordinates, text.size() - coordinates - 2);
  };

  // Width 10, end-centre distance 30, angle 0 at (50, 20): the ends lie 15 either side along X.
  form.rows[0] = {"50", "20"};
  EXPECT_EQ(save({"10", "30", "14.", "0"}), "CX0=50.\r\nCY0=20.\r\nX0=35.\r\nY0=20.\r\nX1=65.\r\nY1=20.\r\n");

  // (13 - 10) / 2 = 1.5 and (14 - 10) / 2 = 2 are not greater than 2: only the first end point.
  EXPECT_EQ(save({"10", "13", "14.", "0"}), "CX0=50.\r\nCY0=20.\r\nX0=43.5\r\nY0=20.\r\n");
  EXPECT_EQ(save({"10", "14", "14.", "0"}), "CX0=50.\r\nCY0=20.\r\nX0=43.\r\nY0=20.\r\n");
  EXPECT_EQ(save({"10", "14.1", "14.", "0"}),
            "CX0=50.\r\nCY0=20.\r\nX0=42.95\r\nY0=20.\r\nX1=57.05\r\nY1=20.\r\n");

  // Angle 30 about (0, 0), distance 20: (-10 cos 30, -10 sin 30) and its opposite.
  form.rows[0] = {"0", "0"};
  EXPECT_EQ(save({"10", "20", "14.", "30"}),
            "CX0=0.\r\nCY0=0.\r\nX0=-8.66\r\nY0=-5.\r\nX1=8.66\r\nY1=5.\r\n");
  // Angle 90: x = -15 cos 90 is a tiny negative number, stored as 0. and not as -0.
  EXPECT_EQ(save({"10", "30", "14.", "90"}), "CX0=0.\r\nCY0=0.\r\nX0=0.\r\nY0=-15.\r\nX1=0.\r\nY1=15.\r\n");

  // End points are numbered on from row to row; centres keep their row number.
  form.rows[0] = {"50", "20"};
  form.rows[2] = {"80", "20"};
  EXPECT_EQ(save({"10", "13", "14.", "0"}),
            "CX0=50.\r\nCY0=20.\r\nX0=43.5\r\nY0=20.\r\nCX2=80.\r\nCY2=20.\r\nX1=73.5\r\nY1=20.\r\n");
  EXPECT_EQ(save({"10", "30", "14.", "180"}),
            "CX0=50.\r\nCY0=20.\r\nX0=65.\r\nY0=20.\r\nX1=35.\r\nY1=20.\r\n"
            "CX2=80.\r\nCY2=20.\r\nX2=95.\r\nY2=20.\r\nX3=65.\r\nY3=20.\r\n");
}

TEST_F(HoleTest, HoleVariablesAsNumbers) {
  ASSERT_TRUE(WriteString(t.ctx.dbPath, "hole2", "variable0", "10"));
  ASSERT_TRUE(WriteString(t.ctx.dbPath, "hole2", "variable1", "15.5"));
  ASSERT_TRUE(WriteString(t.ctx.dbPath, "hole2", "variable9", "8abc"));
  std::array<double, kHoleParameters> p;
  p.fill(7);
  EXPECT_EQ(ReadHoleVariables(t.ctx, "hole2", p), 0);
  EXPECT_EQ(p, (std::array<double, kHoleParameters>{10, 15.5, 0, 0, 0, 0, 0, 0, 0, 8}));
  EXPECT_EQ(ReadHoleVariables(t.ctx, "hole3", p), -1);
  ASSERT_TRUE(WriteString(t.ctx.dbPath, "hole2", "variable0", "0.0"));
  EXPECT_EQ(ReadHoleVariables(t.ctx, "hole2", p), -1);
}

}  // namespace
}  // namespace talvorin
