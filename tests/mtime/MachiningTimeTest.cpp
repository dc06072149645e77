// The machining time of small NC files written here, with distances and times worked out by hand from
// the estimator's rules; the keys it writes into the project database and the lines it reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "mtime/MachiningTime.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

// The report line of a label: "%15s" counted in CP932 bytes (a label of four full-width characters
// takes eight, so seven blanks lead).
const std::string kPad = "       ";

class MachiningTime : public ::testing::Test {
 protected:
  MachiningTime() {
    folder.WriteCp932("TALVORIN.ini", "[table]\r\nncformat=NCformat.tbl\r\n");
    Rates("G00FEED=3000\r\nCYCFEED=1000\r\nM06=6\r\nM03=0.3\r\nTIMELAG=1\r\n");
    folder.WriteCp932("db/P.dat", "[machine]\r\nStartX=0.\r\nStartY=0.\r\nStartZ=50.\r\nncpath=" +
                                      folder.File("ncdata") + "\r\nncfile=O0001.NC\r\n");
    t.ctx.dbPath = folder.File("db/P.dat");
  }

  void Rates(const std::string& keys) {
    folder.WriteCp932("NCformat.tbl", "[processtime]\r\n" + keys);
    EXPECT_EQ(SetNcTableFile(t.inst, t.reporter, t.inst.ncTableFile), 0);
  }

  // Writes the NC file (lines joined with CR LF) and estimates it; the calculation's result.
  int Estimate(const std::vector<std::string>& lines, int mode = 0) {
    std::string text;
    for (const std::string& l : lines)
      text += l + "\r\n";
    folder.WriteCp932("ncdata/O0001.NC", text);
    return Machining_Time_Calculation(t.ctx, NcPath(), mode);
  }

  std::string NcPath() const { return folder.File("ncdata/O0001.NC"); }
  std::string Key(const std::string& key) const { return ReadString(t.ctx.dbPath, "machine", key, 64); }
  // The report's lines from "-----" to "-----".
  std::vector<std::string> ReportBlock() const {
    const std::vector<std::string>& lines = t.reporter.Lines();
    std::vector<std::string> block;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i] != "-----") continue;
      block.assign(lines.begin() + static_cast<long>(i), lines.begin() + static_cast<long>(i) + 8);
      break;
    }
    return block;
  }

  TestFolder folder;
  test::TestContext t{folder};
};

TEST_F(MachiningTime, EmptyFileWritesZeroTimesAndEveryKey) {
  ASSERT_EQ(Estimate({}), 0);
  EXPECT_EQ(Key("distance0"), "0.");
  EXPECT_EQ(Key("distance1"), "0.");
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(Key("Seconds_Time" + std::to_string(k)), "0");
    EXPECT_EQ(Key("Process_Time" + std::to_string(k)), "0:00:00");
  }
  std::vector<std::string> expected = {
      "-----",
      kPad + "ファイル : " + NcPath(),
      kPad + "早送距離 : 0.000",
      kPad + "切削距離 : 0.000",
      kPad + "早送時間 : 0時間 0分 0秒",
      kPad + "切削時間 : 0時間 0分 0秒",
      kPad + "工具時間 : 0時間 0分 0秒",
      kPad + "加工時間 : 0時間 0分 0秒",
  };
  EXPECT_EQ(ReportBlock(), expected);
  EXPECT_EQ(t.reporter.Lines().front(), "!!! routine name : Machining_Time_Calculation");
  EXPECT_EQ(t.reporter.Lines().back(), "-----");
  EXPECT_TRUE(t.reporter.boxes.empty());  // mode 0: no summary box
}

TEST_F(MachiningTime, RapidOf300mmWithTimeLag1And15) {
  // 300 mm at 3000 mm/min: 0.1 min = 6 s.
  ASSERT_EQ(Estimate({"G00 X300."}), 0);
  EXPECT_EQ(Key("distance0"), "300.");
  EXPECT_EQ(Key("Seconds_Time0"), "6");
  EXPECT_EQ(Key("Seconds_Time3"), "6");
  EXPECT_EQ(Key("Process_Time0"), "0:00:06");
  EXPECT_EQ(ReportBlock().at(4), kPad + "早送時間 : 0時間 0分 6秒");

  // TIMELAG 1.5 shows 9 s; the seconds key keeps the time without the factor.
  Rates("G00FEED=3000\r\nCYCFEED=1000\r\nM06=6\r\nM03=0.3\r\nTIMELAG=1.5\r\n");
  t.reporter = RecordingReporter();
  ASSERT_EQ(Estimate({"G00 X300."}, 1), 0);
  EXPECT_EQ(Key("Seconds_Time0"), "6");
  EXPECT_EQ(Key("Process_Time0"), "0:00:09");
  EXPECT_EQ(Key("Process_Time3"), "0:00:09");
  EXPECT_EQ(ReportBlock().at(4), kPad + "早送時間 : 0時間 0分 9秒");
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].first,
            "ファイル : " + NcPath() + "\n早送距離 : 300.000\n切削距離 : 0.000\n加工時間 : 0:00:09");
  EXPECT_EQ(t.reporter.boxes[0].second, 1);
}

TEST_F(MachiningTime, G81BelowTheStartPoint) {
  // d = 65 (Z 50 to -15), rapid 65 + (2*50 - 3 + 15) = 177, cutting 3 + 15 = 18; G80 moves nothing.
  // 177 / 3000 = 0.059 min = 3.54 s; 18 / 100 = 0.18 min = 10.8 s; total 14.34 s.
  ASSERT_EQ(Estimate({"G98 G81 X0. Y0. R3. Z-15. F100", "G80"}), 0);
  EXPECT_EQ(Key("distance0"), "177.");
  EXPECT_EQ(Key("distance1"), "18.");
  EXPECT_EQ(Key("Seconds_Time0"), "4");
  EXPECT_EQ(Key("Seconds_Time1"), "11");
  EXPECT_EQ(Key("Seconds_Time2"), "0");
  EXPECT_EQ(Key("Seconds_Time3"), "14");
  EXPECT_EQ(Key("Process_Time0"), "0:00:03");
  EXPECT_EQ(Key("Process_Time1"), "0:00:10");
  EXPECT_EQ(Key("Process_Time3"), "0:00:14");
}

TEST_F(MachiningTime, G83PecksAtTheCycleFeed) {
  // R 3, Z -10, Q 4: feeds 4 + 5 + 5 + 2 = 16; peck rapids 7 + 15 + 23 + 13 = 58 at CYCFEED 500;
  // approach and return 2 * (50 - 3) = 94 and the positioning 60 at G00FEED 1000.
  Rates("G00FEED=1000\r\nCYCFEED=500\r\nM06=6\r\nM03=0.3\r\nTIMELAG=1\r\n");
  ASSERT_EQ(Estimate({"G98 G83 X0. Y0. R3. Z-10. Q4. F100", "G80"}), 0);
  EXPECT_EQ(Key("distance0"), "212.");
  EXPECT_EQ(Key("distance1"), "16.");
  // 154 / 1000 + 58 / 500 = 0.27 min = 16.2 s; 16 / 100 = 0.16 min = 9.6 s.
  EXPECT_EQ(Key("Seconds_Time0"), "16");
  EXPECT_EQ(Key("Seconds_Time1"), "10");
  EXPECT_EQ(Key("Process_Time3"), "0:00:25");
}

TEST_F(MachiningTime, TenToolChangesAndTwelveSpindleStarts) {
  std::vector<std::string> lines;
  for (int k = 0; k < 10; ++k) {
    lines.push_back("T0" + std::to_string(k));
    lines.push_back("M06");
  }
  for (int k = 0; k < 12; ++k)
    lines.push_back("S1000 M03");
  ASSERT_EQ(Estimate(lines), 0);
  // (12 * 0.3 + 10 * 6) / 60 = 1.06 min = 63.6 s.
  EXPECT_EQ(Key("Seconds_Time2"), "64");
  EXPECT_EQ(Key("Process_Time2"), "0:01:03");
  EXPECT_EQ(Key("Process_Time3"), "0:01:03");
  EXPECT_EQ(ReportBlock().at(6), kPad + "工具時間 : 0時間 1分 3秒");
  EXPECT_EQ(Key("distance0"), "0.");
}

TEST_F(MachiningTime, MissingRatesAreListedAndTheDefaultsUsed) {
  Rates("");
  // Defaults: 3000 mm/min rapid, 6 s per tool change, 0.3 s per start, factor 1.
  ASSERT_EQ(Estimate({"M06", "S500 M03", "G00 X300."}), 0);
  const std::vector<std::string>& lines = t.reporter.Lines();
  std::vector<std::string> head(lines.begin() + 1, lines.begin() + 6);
  EXPECT_EQ(head, (std::vector<std::string>{
                      "エラー：[processtime] G00FEED= | table 取得失敗",
                      "エラー：[processtime] CYCFEED= | table 取得失敗",
                      "エラー：[processtime] M06= | table 取得失敗",
                      "エラー：[processtime] M03= | table 取得失敗",
                      "エラー：[processtime] TIMELAG= | table 取得失敗",
                  }));
  EXPECT_TRUE(t.reporter.boxes.empty());
  EXPECT_EQ(Key("Seconds_Time0"), "6");
  EXPECT_EQ(Key("Process_Time2"), "0:00:06");  // 6.3 s
  EXPECT_EQ(Key("Process_Time3"), "0:00:12");  // 12.3 s
}

TEST_F(MachiningTime, FeedPerRevolutionInATappingBlock) {
  // S 800, F 1.25 per revolution in a G84 block with G95: F becomes 1000 mm/min. Cutting 2 * (5 + 20)
  // = 50 mm at 1000: 3 s. "(ゴ5)" holds the byte of "S" as the trail of ゴ: no spindle word.
  ASSERT_EQ(Estimate({"S800 M03", "(ゴ5)", "G98 G84 G95 X0. Y0. R5. Z-20. F1.25", "G80"}), 0);
  EXPECT_EQ(Key("distance1"), "50.");
  EXPECT_EQ(Key("Seconds_Time1"), "3");
  const std::vector<std::string>& lines = t.reporter.Lines();
  auto it = std::find(lines.begin(), lines.end(), "G98 G84 G95 X0. Y0. R5. Z-20. F1.25");
  ASSERT_NE(it, lines.end());
  EXPECT_EQ(*(it + 1), "同期送り変更 F1.25 ==> F1000");

  // F 1000 in the block: left alone, nothing reported.
  t.reporter = RecordingReporter();
  ASSERT_EQ(Estimate({"S800 M03", "G98 G84 G95 X0. Y0. R5. Z-20. F1000", "G80"}), 0);
  EXPECT_EQ(Key("Seconds_Time1"), "3");
  for (const std::string& l : t.reporter.Lines())
    EXPECT_EQ(l.find("同期送り変更"), std::string::npos) << l;

  // "G95" on a line of its own, as the generator writes it: F 1.25 is timed as mm/min (40 min).
  t.reporter = RecordingReporter();
  ASSERT_EQ(Estimate({"S800 M03", "G95", "G98 G84 X0. Y0. R5. Z-20. F1.25", "G80"}), 0);
  EXPECT_EQ(Key("Seconds_Time1"), "2400");
  EXPECT_EQ(Key("Process_Time1"), "0:40:00");
}

TEST_F(MachiningTime, FullCirclesFromALoneI) {
  // Radius 10 under modal G03, then G02: 2 * pi * 10 = 62.832 each.
  ASSERT_EQ(Estimate({"G01 F100", "G03 I-10.", "G02 I10."}), 0);
  EXPECT_EQ(ReportBlock().at(3), kPad + "切削距離 : 125.664");
}

TEST_F(MachiningTime, CircleOfFourQuadrantArcs) {
  // From (10, 0) about the origin, a quarter in each quadrant: 4 * 15.708 = 62.832; then the same
  // circle clockwise.
  ASSERT_EQ(Estimate({"G00 X10. Y0.", "G03 X0. Y10. I-10. J0. F100", "G03 X-10. Y0. J-10.",
                      "G03 X0. Y-10. I10.", "G03 X10. Y0. J10.", "G02 X0. Y-10. I-10.", "G02 X-10. Y0. J10.",
                      "G02 X0. Y10. I10.", "G02 X10. Y0. J-10."}),
            0);
  // The rapid: 10 mm across at the start height (Z stays modal at 50).
  EXPECT_EQ(ReportBlock().at(2), kPad + "早送距離 : 10.000");
  EXPECT_EQ(ReportBlock().at(3), kPad + "切削距離 : 125.664");
}

TEST_F(MachiningTime, ProgramOfTheGeneratorsDialect) {
  // The FANUC frame of a drilling process: skipped lines (%, O, N, T, M08, M09, M05, G90 G17, G28,
  // M30), resets by G54 and G43, the tool change and spindle start, two holes of G81.
  // Rapid: sqrt(10² + 20² + 65²) + 112 + sqrt(20² + 65²) + 112 + sqrt(30² + 20²) = 396.802.
  std::vector<std::string> fanuc = {"%",
                                    "O0001",
                                    "G90 G17 G40 G49 G80",
                                    "N1",
                                    "(DRILL 6.8)",
                                    "M09",
                                    "M05",
                                    "G91 G28 Z0.",
                                    "T03",
                                    "M06",
                                    "G90 G00 G54 X0. Y0.",
                                    "G43 H03 Z50.",
                                    "S1200 M03",
                                    "M08",
                                    "G98 G81 X10. Y20. R3. Z-15. F120",
                                    "X30. Y20.",
                                    "G80",
                                    "G00 Z50.",
                                    "X0. Y0.",
                                    "M09",
                                    "M05",
                                    "G91 G28 Z0.",
                                    "G28 X0. Y0.",
                                    "G90",
                                    "M30",
                                    "%"};
  ASSERT_EQ(Estimate(fanuc), 0);
  EXPECT_EQ(Key("distance0"), "396.802");
  EXPECT_EQ(Key("distance1"), "36.");
  // One tool change and one start: 6.3 s.
  EXPECT_EQ(Key("Process_Time2"), "0:00:06");

  // The OSP frame of the same process gives the same path.
  std::vector<std::string> osp = {"%",
                                  "O0001",
                                  "G90 G17 G40 G80",
                                  "N1",
                                  "(DRILL 6.8)",
                                  "M09",
                                  "M05",
                                  "G30 P1",
                                  "T03",
                                  "M06",
                                  "G15H01",
                                  "G90 G00 X0. Y0.",
                                  "G56 H03 Z50.",
                                  "S1200 M03",
                                  "M08",
                                  "G71 Z50. M53",
                                  "G98 G81 X10. Y20. R3. Z-15. F120",
                                  "X30. Y20.",
                                  "G80",
                                  "G00 Z50.",
                                  "X0. Y0.",
                                  "M09",
                                  "M05",
                                  "G30 P1",
                                  "M02",
                                  "%"};
  ASSERT_EQ(Estimate(osp), 0);
  EXPECT_EQ(Key("distance0"), "396.802");
  EXPECT_EQ(Key("distance1"), "36.");
}

TEST_F(MachiningTime, LinesWithoutWordsMoveNothingUnderACycle) {
  // A blank line and a comment inside a modal G81 are no further holes; only the hole itself counts.
  ASSERT_EQ(Estimate({"G98 G81 X0. Y0. R3. Z-15. F100", "", "(CHECK)", "  ", "G80"}), 0);
  EXPECT_EQ(Key("distance0"), "177.");
  EXPECT_EQ(Key("distance1"), "18.");
}

TEST_F(MachiningTime, HoursMinutesAndSecondsOfTheKeys) {
  // At 1 mm/min, 123.25 mm take 123.25 min = 7395 s = 2 h 3 min 15 s; TIMELAG 2 doubles the shown time.
  Rates("G00FEED=1\r\nTIMELAG=2\r\nCYCFEED=1\r\nM06=0\r\nM03=0\r\n");
  ASSERT_EQ(Estimate({"G00 X123.25 Z50."}), 0);
  EXPECT_EQ(Key("distance0"), "123.25");
  EXPECT_EQ(Key("Seconds_Time0"), "7395");
  EXPECT_EQ(Key("Process_Time0"), "4:06:30");
  EXPECT_EQ(ReportBlock().at(4), kPad + "早送時間 : 4時間 6分30秒");
}

TEST_F(MachiningTime, LongLinesAreCutAndNoted) {
  // The first 1024 bytes of a long line count; its rest (here Y99.) is not read.
  std::string longLine = "G00 X10. (" + std::string(3000, 'A') + ") Y99.";
  ASSERT_EQ(Estimate({longLine}), 0);
  EXPECT_EQ(Key("distance0"), "10.");
  const std::vector<std::string>& lines = t.reporter.Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "警告：1024 バイトを超える行が 1 行あります。超えた部分は計算していません"),
            lines.end());
}

TEST_F(MachiningTime, FailuresOfTheCalculation) {
  // No start position: nothing is read, no key written.
  folder.WriteCp932("db/P.dat", "[machine]\r\nStartX=0.\r\nStartZ=50.\r\n");
  EXPECT_EQ(Estimate({"G00 X300."}), -1);
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].first, "エラー：[machine] StartY= | db スタート座標取得失敗");
  EXPECT_EQ(Key("distance0"), "");

  // A file that cannot be read.
  folder.WriteCp932("db/P.dat", "[machine]\r\nStartX=0.\r\nStartY=0.\r\nStartZ=50.\r\n");
  t.reporter = RecordingReporter();
  EXPECT_EQ(Machining_Time_Calculation(t.ctx, folder.File("ncdata/NONE.NC"), 0), -1);
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].first,
            "エラー：ＮＣファイル " + folder.File("ncdata/NONE.NC") + " が開けません。");
}

TEST_F(MachiningTime, ProcessingTimeFindsTheProjectsFile) {
  folder.WriteCp932("ncdata/O0001.NC", "G00 X300.\r\n");
  int calculation = 5;
  EXPECT_EQ(Processing_Time(t.ctx, 1, TimeProgress(), calculation), 0);
  EXPECT_EQ(calculation, 0);
  EXPECT_EQ(Key("distance0"), "300.");
  ASSERT_EQ(t.reporter.boxes.size(), 1u);  // mode 1: the summary box

  // A calculation that fails still lets Processing_Time succeed: the estimate does not fail NC creation.
  WriteString(t.ctx.dbPath, "machine", "StartZ", "");
  t.reporter = RecordingReporter();
  EXPECT_EQ(Processing_Time(t.ctx, 0, TimeProgress(), calculation), 0);
  EXPECT_EQ(calculation, -1);

  // A relative NC folder lies in the program folder.
  WriteString(t.ctx.dbPath, "machine", "StartZ", "50.");
  WriteString(t.ctx.dbPath, "machine", "ncpath", "ncdata");
  t.reporter = RecordingReporter();
  EXPECT_EQ(Processing_Time(t.ctx, 0, TimeProgress(), calculation), 0);
  EXPECT_EQ(calculation, 0);
  EXPECT_NE(std::find(t.reporter.Lines().begin(), t.reporter.Lines().end(), kPad + "ファイル : " + NcPath()),
            t.reporter.Lines().end());

  // No NC file yet.
  std::remove(folder.File("ncdata/O0001.NC").c_str());
  t.reporter = RecordingReporter();
  EXPECT_EQ(Processing_Time(t.ctx, 0), -1);
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].first, "エラー：ＮＣ計算が終了していません。");

  // No NC folder or file name.
  WriteString(t.ctx.dbPath, "machine", "ncfile", "");
  t.reporter = RecordingReporter();
  EXPECT_EQ(Processing_Time(t.ctx, 0), -1);
  EXPECT_EQ(t.reporter.boxes.at(0).first, "エラー：[machine] ncfile= | db NCファイル取得失敗");
  WriteString(t.ctx.dbPath, "machine", "ncpath", "");
  t.reporter = RecordingReporter();
  EXPECT_EQ(Processing_Time(t.ctx, 0), -1);
  EXPECT_EQ(t.reporter.boxes.at(0).first, "エラー：[machine] ncpath= | db NCフォルダ取得失敗");
}

}  // namespace
}  // namespace talvorin
