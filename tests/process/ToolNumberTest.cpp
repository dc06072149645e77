// Tool numbers: the magazine pockets given after generation, and the rule applied when a T field is
// left. Rows are typed as "name|径|T|H|D|S|F|G|R|Z|Q|OFF|定義".
#include "ProcessTestSupport.h"

namespace talvorin::test {
namespace {

using ToolNumbers = ProcessTest;

std::string Numbers(const ProcessRow& row) {
  return row.fields[kProcT] + "/" + row.fields[kProcH] + "/" + row.fields[kProcD];
}

TEST_F(ToolNumbers, AssignedFromTheMagazineForRowsOneToFifteen) {
  Type(1, "ドリル|10|||||||||||");
  Type(2, "荒取エンドミル|8.0||||||41|||||");  // diameters compare as numbers; G 41 takes D
  Type(3, "ドリル|6.8|7|7|||||||||");          // no such drill: the typed numbers stay
  Type(16, "ドリル|10|||||||||||");
  EXPECT_EQ(AssignToolNumbers(t.ctx, form), 0);
  EXPECT_EQ(Numbers(form.Row(1)), "2/2/");
  EXPECT_EQ(Numbers(form.Row(2)), "9/9/9");
  EXPECT_EQ(Numbers(form.Row(3)), "7/7/");
  EXPECT_EQ(Numbers(form.Row(16)), "//");

  // A named row without a diameter stops the assignment.
  Type(1, "リーマ||||||||||||");
  Type(2, "荒取エンドミル|8||||||41|||||");
  EXPECT_EQ(AssignToolNumbers(t.ctx, form), -1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：リーマの工具径取得失敗"}));
  EXPECT_EQ(Numbers(form.Row(2)), "//");
}

TEST_F(ToolNumbers, OneNumberIsOneTool) {
  // The same drill twice (6.8 and 6.80) shares a number; H defaults to it.
  Type(1, "ドリル|6.8|5|5|||||||||");
  Type(2, "ドリル|6.80|5||||||||||");
  EXPECT_EQ(CheckToolNumber(t.ctx, form, 2), 0);
  EXPECT_EQ(Numbers(form.Row(2)), "5/5/");
  EXPECT_TRUE(t.reporter.boxes.empty());

  // Another diameter on the same number is refused; the typed number stays.
  Type(3, "ドリル|8.5|5||||||||||");
  EXPECT_EQ(CheckToolNumber(t.ctx, form, 3), -1);
  const std::vector<std::string>& lines = t.reporter.Lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
            (std::vector<std::string>{"エラー：工程[3 | 1] 工具番号 5=5 が同じです",
                                      "エラー：工程[3] T=5 | 工具名 ドリル | 工具径 8.5",
                                      "エラー：工程[1] で工具番号 5 が既に使われてます"}));
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"エラー：工程[1] で工具番号 5 が既に使われてます"}));
  EXPECT_EQ(Numbers(form.Row(3)), "5//");

  // Rows from the sixteenth on take no part: no conflict with them, no check of them.
  Type(3, "ドリル|8.5|6||||||||||");
  Type(16, "リーマ|10|6||||||||||");
  EXPECT_EQ(CheckToolNumber(t.ctx, form, 3), 0);
  EXPECT_EQ(CheckToolNumber(t.ctx, form, 16), 0);
  EXPECT_EQ(Numbers(form.Row(16)), "6//");

  // An empty T is left alone; a T on a row without a name is refused.
  Type(4, "ドリル|10||||||||||");
  EXPECT_EQ(CheckToolNumber(t.ctx, form, 4), 0);
  EXPECT_EQ(Numbers(form.Row(4)), "//");
  Type(5, "|10|8||||||||||");
  EXPECT_EQ(CheckToolNumber(t.ctx, form, 5), -1);
  EXPECT_EQ(Boxes().back(), "エラー：工具名取得失敗");
}

TEST_F(ToolNumbers, NumberSpreadsToTheSameToolUpToTheFirstNamelessRow) {
  Type(1, "ドリル|6.8|7||||||||||");
  Type(2, "荒取エンドミル|8|12||30|||41|||||");  // D typed: it stays
  Type(3, "ドリル|6.8||4|||||||||");             // H typed: it stays
  Type(4, "荒取エンドミル|8.0||||||41|||||");
  Type(5, "ドリル|8.5||||||||||");  // another tool
  Type(6, "|||||||||||");           // the list of processes ends here
  Type(7, "ドリル|6.8||||||||||");
  Type(16, "ドリル|6.8||||||||||");
  EXPECT_EQ(CheckToolNumber(t.ctx, form, 1), 0);
  EXPECT_EQ(CheckToolNumber(t.ctx, form, 2), 0);
  EXPECT_EQ(Numbers(form.Row(1)), "7/7/");
  EXPECT_EQ(Numbers(form.Row(2)), "12/12/30");
  EXPECT_EQ(Numbers(form.Row(3)), "7/4/");
  EXPECT_EQ(Numbers(form.Row(4)), "12/12/12");
  EXPECT_EQ(Numbers(form.Row(5)), "//");
  EXPECT_EQ(Numbers(form.Row(7)), "//");
  EXPECT_EQ(Numbers(form.Row(16)), "//");
}

}  // namespace
}  // namespace talvorin::test
