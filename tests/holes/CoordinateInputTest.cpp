// Hole positions from a CSV file and from the circle screen.
#include "HoleTestSupport.h"

namespace talvorin {
namespace {

using test::HoleTest;

// The rows as "X Y".
std::vector<std::string> Rows(const ShapeForm& form) {
  std::vector<std::string> rows;
  for (const CoordinateRow& r : form.rows)
    rows.push_back(r.x + " " + r.y);
  return rows;
}

class CsvCoordinates : public HoleTest {
 protected:
  // Reads `bytes` as the chosen CSV file into `form`.
  int Read(const std::string& bytes, ShapeForm& form) {
    folder.Write("points.csv", bytes);
    t.dialogs.files.push_back(folder.File("points.csv"));
    return ReadCsvCoordinates(t.ctx, form);
  }
};

TEST_F(CsvCoordinates, EveryLineIsARow) {
  ShapeForm form;
  form.rows.fill({"old", "old"});
  // Three fields ignore the third, an empty line and a header line read as zeros.
  ASSERT_EQ(Read("12.5,7\r\n3,4,5\r\n\r\nX,Y\r\n-1.2346,+8e1", form), 0);
  EXPECT_EQ(Rows(form), (std::vector<std::string>{"12.5 7.", "3. 4.", "0. 0.", "0. 0.", "-1.235 80.",
                                                  "old old", "old old", "old old", "old old", "old old"}));
  EXPECT_EQ(t.dialogs.asked, std::vector<std::string>{"ファイルを開く"});
  EXPECT_TRUE(t.reporter.boxes.empty());

  // Fourteen lines fill the ten rows.
  std::string text;
  for (int i = 1; i <= 14; ++i)
    text += Sprintf("%d,%d\n", i, 100 + i);
  ASSERT_EQ(Read(text, form), 0);
  EXPECT_EQ(Rows(form).front(), "1. 101.");
  EXPECT_EQ(Rows(form).back(), "10. 110.");
}

TEST_F(CsvCoordinates, LongLinesAndOddFields) {
  ShapeForm form;
  // A line longer than 63 bytes is one row, not two; a spreadsheet's byte-order mark is no part of
  // X; a missing comma gives Y 0; an empty X reads 0; X is read from its first 15 bytes.
  std::string comment(80, 'x');
  ASSERT_EQ(Read("\xEF\xBB\xBF" + std::string("5,6,") + comment + "\n7\n,9\n1234567890123456789,2\n", form),
            0);
  EXPECT_EQ(Rows(form), (std::vector<std::string>{"5. 6.", "7. 0.", "0. 9.", "123456789012345. 2.", " ", " ",
                                                  " ", " ", " ", " "}));
}

TEST_F(CsvCoordinates, CancelledOrUnreadable) {
  ShapeForm form;
  EXPECT_EQ(ReadCsvCoordinates(t.ctx, form), -1);
  EXPECT_EQ(LastLine(), "エラー：CSVファイルの取り込みを中止します。");
  for (const char* name : {"none.csv", "db"}) {
    t.dialogs.files.push_back(folder.File(name));
    EXPECT_EQ(ReadCsvCoordinates(t.ctx, form), -1);
    EXPECT_EQ(LastLine(), "エラー：CSV座標ファイル " + folder.File(name) + " が開けません");
  }
  EXPECT_EQ(t.reporter.boxes.size(), 3u);
}

TEST_F(HoleTest, FourPointsOnACircle) {
  CircleForm circle{"0", "0", "50", "90", "", ""};
  SetRotationCount(circle);
  EXPECT_EQ(circle.count, "4");
  EXPECT_EQ(circle.start, "0");
  ShapeForm form;
  form.rows[7] = {"1", "2"};
  ASSERT_EQ(Circles2Angle_Calculation(t.ctx, circle, form), 0);
  // cos 270 is a tiny negative number: the fourth x is 0., not -0.
  EXPECT_EQ(Rows(form), (std::vector<std::string>{"50. 0.", "0. 50.", "-50. 0.", "0. -50.", " ", " ", " ",
                                                  " ", " ", " "}));
  EXPECT_EQ(t.reporter.Lines(), std::vector<std::string>{"!!! routine name : Circles2Angle_Calculation"});
}

TEST_F(HoleTest, CirclePointCountAndStartAngle) {
  CircleForm circle{"100", "50", "20", "30", "15", "5"};
  SetRotationCount(circle);
  EXPECT_EQ(circle.count, "12");
  EXPECT_EQ(circle.start, "15");
  ShapeForm form;
  ASSERT_EQ(Circles2Angle_Calculation(t.ctx, circle, form), 0);
  // Twelve points at 15, 45, ... degrees fill the ten rows: 100 + 20 cos 15, 50 + 20 sin 15 ...
  EXPECT_EQ(Rows(form).front(), "119.319 55.176");
  EXPECT_EQ(Rows(form).back(), "105.176 30.681");  // 285 degrees

  CircleForm eight{"0", "0", "10", "45", "", ""};
  SetRotationCount(eight);
  EXPECT_EQ(eight.count + " " + eight.start, "8 0");
  // A step of 0 gives no count; a clockwise step counts the same points as its anticlockwise one.
  CircleForm zero{"0", "0", "10", "0", "0", "6"};
  SetRotationCount(zero);
  EXPECT_EQ(zero.count, "6");
  CircleForm clockwise{"0", "0", "10", "-90", "0", ""};
  SetRotationCount(clockwise);
  EXPECT_EQ(clockwise.count, "4");
  ASSERT_EQ(Circles2Angle_Calculation(t.ctx, clockwise, form), 0);
  EXPECT_EQ(Rows(form)[1], "0. -10.");
  EXPECT_EQ(Rows(form)[4], " ");
}

TEST_F(HoleTest, AnEmptyCircleFieldIsNamedAfterTheRowsWereEmptied) {
  for (int field = 0; field < 6; ++field) {
    CircleForm circle{"0", "0", "50", "90", "0", "4"};
    std::string* fields[] = {&circle.centreX, &circle.centreY, &circle.radius,
                             &circle.step,    &circle.start,   &circle.count};
    fields[field]->clear();
    ShapeForm form;
    form.rows[0] = {"1", "2"};
    EXPECT_EQ(Circles2Angle_Calculation(t.ctx, circle, form), -1);
    EXPECT_EQ(LastLine(), Sprintf("エラー：[ID=%d] %s", 2400 + field,
                                  field < 3 ? "円の情報取出失敗" : "角度情報取出失敗"));
    EXPECT_EQ(form.rows[0].x, "");
  }
  EXPECT_EQ(t.reporter.boxes.size(), 6u);
}

TEST_F(HoleTest, AStepOfZeroIsRefusedInsteadOfStackingThePoints) {
  // "0", "0.0" and text without a number all read as a step of 0.
  for (const char* step : {"0", "0.0", "x"}) {
    CircleForm circle{"10", "20", "50", step, "0", "6"};
    SetRotationCount(circle);
    EXPECT_EQ(circle.count, "6");
    ShapeForm form;
    form.rows[0] = {"1", "2"};
    EXPECT_EQ(Circles2Angle_Calculation(t.ctx, circle, form), -1);
    EXPECT_EQ(LastLine(), "エラー：[ID=2403] 分割角度 0 では円上の座標を計算できません");
    EXPECT_EQ(Rows(form), std::vector<std::string>(10, " "));
  }
  EXPECT_EQ(t.reporter.boxes.size(), 3u);
}

}  // namespace
}  // namespace talvorin
