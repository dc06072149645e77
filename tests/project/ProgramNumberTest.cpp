// The program number rule: the number shown, the number stored for next time, the wrap at the end of
// the range and a missing rule file.
#include <sys/stat.h>

#include "ProjectFixture.h"

namespace talvorin {
namespace {

using test::Cp932;
using test::ProjectTest;

using ProgramNumber = ProjectTest;

TEST_F(ProgramNumber, WrapsFromTheEndOfTheRangeToItsStart) {
  folder.Write("ncfile_rule.tbl", "[ncfile]\r\nrangemin=1000\r\nrangemax=1099\r\ncurrent=1098\r\n");
  MainForm form;
  NextProgramNumber(t.ctx, form);
  EXPECT_EQ(form.programNumber, "1098");
  NextProgramNumber(t.ctx, form);
  EXPECT_EQ(form.programNumber, "1099");
  EXPECT_EQ(folder.Read("ncfile_rule.tbl"), "[ncfile]\r\nrangemin=1000\r\nrangemax=1099\r\ncurrent=1100\r\n");
  NextProgramNumber(t.ctx, form);
  EXPECT_EQ(form.programNumber, "1000");
  EXPECT_EQ(folder.Read("ncfile_rule.tbl"), "[ncfile]\r\nrangemin=1000\r\nrangemax=1099\r\ncurrent=1001\r\n");
  EXPECT_TRUE(t.reporter.Lines().empty());
}

TEST_F(ProgramNumber, ANumberBelowTheRangeStartsAtItsStart) {
  folder.Write("ncfile_rule.tbl",
               "; numbers for the cell\r\n[NCFILE]\r\nRangeMin=500\r\nRangeMax=510\r\nCurrent=12\r\n");
  MainForm form;
  NextProgramNumber(t.ctx, form);
  EXPECT_EQ(form.programNumber, "500");
  // The key keeps its spelling and the comment stays.
  EXPECT_EQ(folder.Read("ncfile_rule.tbl"),
            "; numbers for the cell\r\n[NCFILE]\r\nRangeMin=500\r\nRangeMax=510\r\nCurrent=501\r\n");
  NextProgramNumber(t.ctx, form);
  EXPECT_EQ(form.programNumber, "501");
}

TEST_F(ProgramNumber, AMissingRuleFileStartsAt1000AndIsCreated) {
  MainForm form;
  form.programNumber = "77";
  NextProgramNumber(t.ctx, form);
  EXPECT_EQ(form.programNumber, "1000");
  EXPECT_EQ(folder.Read("ncfile_rule.tbl"), "[ncfile]\r\ncurrent=1001\r\n");
  NextProgramNumber(t.ctx, form);
  EXPECT_EQ(form.programNumber, "1001");
}

TEST_F(ProgramNumber, AFailedWriteIsReportedAndTheNumberStillShown) {
  ASSERT_EQ(mkdir(folder.File("ncfile_rule.tbl").c_str(), 0777), 0);  // not a file: cannot be written
  MainForm form;
  NextProgramNumber(t.ctx, form);
  EXPECT_EQ(form.programNumber, "1000");
  EXPECT_EQ(t.reporter.Lines(), std::vector<std::string>{"エラー：プログラム番号の保存失敗"});
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].second, -1);
}

TEST_F(ProgramNumber, TheEndOfTheIntegerRangeDoesNotOverflow) {
  folder.Write("ncfile_rule.tbl",
               "[ncfile]\r\nrangemin=2147483646\r\nrangemax=2147483647\r\ncurrent=2147483647\r\n");
  MainForm form;
  NextProgramNumber(t.ctx, form);
  EXPECT_EQ(form.programNumber, "2147483647");
  EXPECT_EQ(ReadString(folder.File("ncfile_rule.tbl"), "ncfile", "current", 16), "2147483648");
}

}  // namespace
}  // namespace talvorin
