// The message routine: list lines, boxes by kind, the result, and the longest-line record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/Reporter.h"
#include "testing/TestDoubles.h"

namespace talvorin {
namespace {

// Records what the list would show and when it would be widened.
class ViewReporter : public RecordingReporter {
 public:
  std::vector<std::string> shown, widened;

 protected:
  void ShowLine(const std::string& line) override { shown.push_back(line); }
  void WidenList(const std::string& text) override { widened.push_back(text); }
};

TEST(Reporter, TextIsSplitIntoListLinesAndShownWholeInOneBox) {
  ViewReporter rep;
  EXPECT_EQ(rep.Report("エラー：一行目\n二行目\n三行目", -1), -1);
  const std::vector<std::string> lines = {"エラー：一行目", "二行目", "三行目"};
  EXPECT_EQ(rep.Lines(), lines);
  EXPECT_EQ(rep.shown, lines);
  ASSERT_EQ(rep.boxes.size(), 1u);
  EXPECT_EQ(rep.boxes[0].first, "エラー：一行目\n二行目\n三行目");
  EXPECT_EQ(rep.boxes[0].second, -1);

  // Lines are added at the end of the list, empty pieces included.
  rep.Report("+++ done\n", 0);
  rep.Report("", 0);
  const std::vector<std::string> all = {"エラー：一行目", "二行目", "三行目", "+++ done", "", ""};
  EXPECT_EQ(rep.Lines(), all);
}

TEST(Reporter, BoxOnlyForErrorInformationAndWarningKinds) {
  for (int kind : {-1, -5, 1, 3}) {
    RecordingReporter rep;
    EXPECT_EQ(rep.Report("text", kind), kind);
    ASSERT_EQ(rep.boxes.size(), 1u) << kind;
    EXPECT_EQ(rep.boxes[0].second, kind);
    EXPECT_EQ(rep.Lines(), std::vector<std::string>{"text"});
  }
  for (int kind : {0, 2, 4}) {
    RecordingReporter rep;
    EXPECT_EQ(rep.Report("text", kind), kind);
    EXPECT_TRUE(rep.boxes.empty()) << kind;
    EXPECT_EQ(rep.Lines(), std::vector<std::string>{"text"});
  }
}

TEST(Reporter, ReportfFormatsTheText) {
  RecordingReporter rep;
  EXPECT_EQ(rep.Reportf(-1, "エラー：[%s] %s= | db %s取得失敗", "folder", "folder3", "フォルダ"), -1);
  EXPECT_EQ(rep.Reportf(0, "[%d] %.3f %04d", 7, 1.5, 42), 0);
  EXPECT_EQ(rep.Lines(),
            (std::vector<std::string>{"エラー：[folder] folder3= | db フォルダ取得失敗", "[7] 1.500 0042"}));
  ASSERT_EQ(rep.boxes.size(), 1u);
  EXPECT_EQ(rep.boxes[0].first, "エラー：[folder] folder3= | db フォルダ取得失敗");
}

TEST(Reporter, LongestLineGrowsOnlyForLongerSingleLineTexts) {
  ViewReporter rep;
  EXPECT_EQ(rep.LongestLine(), 60u);
  rep.Report(std::string(60, 'x'), 0);  // not longer than the record
  EXPECT_EQ(rep.LongestLine(), 60u);
  EXPECT_TRUE(rep.widened.empty());

  std::string wide;
  for (int i = 0; i < 31; ++i)
    wide += "ゾ";  // 31 full-width characters: 62 CP932 bytes
  rep.Report(wide, 0);
  EXPECT_EQ(rep.LongestLine(), 62u);
  EXPECT_EQ(rep.widened, std::vector<std::string>{wide});

  rep.Report(std::string(61, 'y'), 0);               // longer than 60 but not than the record
  rep.Report(std::string(100, 'z') + "\nshort", 0);  // more than one line: never counted
  EXPECT_EQ(rep.LongestLine(), 62u);
  EXPECT_EQ(rep.widened.size(), 1u);

  rep.Report(std::string(63, 'w'), 2);
  EXPECT_EQ(rep.LongestLine(), 63u);
  EXPECT_EQ(rep.widened.size(), 2u);
}

}  // namespace
}  // namespace talvorin
