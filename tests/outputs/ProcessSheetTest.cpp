// The process sheet: the whole page line for line (CP932, LF), its ending rules on faulty processes,
// and its opening as a document.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "outputs/Outputs.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::Cp932;
using test::TestFolder;

// The lines before the first data row, for a project database named P01.
const std::string kHead =
    "<html lang=\"ja\">\n"
    "<head>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
    "<title>P01 HTML 加工指示書</title>\n"
    "<link rel=\"stylesheet\" type=\"text/css\" href=\"../style.css\">\n"
    "</head>\n"
    "<body bgcolor=\"#ffffff\">\n"
    "\n"
    "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n"
    "<tr class=\"title1\">\n"
    "<td rowspan=\"2\">穴の種類</td>\n"
    "<td rowspan=\"2\">工具名</td>\n"
    "<td colspan=\"4\">工具情報</td>\n"
    "<td rowspan=\"2\">回転数<br />S</td>\n"
    "<td rowspan=\"2\">送り<br />F</td>\n"
    "<td rowspan=\"2\">G<br />コード</td>\n"
    "<td rowspan=\"2\">位置決め<br />R</td>\n"
    "<td rowspan=\"2\">切込深さ<br />Z</td>\n"
    "<td rowspan=\"2\">切込量<br />Q</td>\n"
    "<td rowspan=\"2\">仕上代<br />OS</td>\n"
    "<td rowspan=\"2\">定義<br />No</td>\n"
    "</tr>\n"
    "\n"
    "<tr class=\"title1\">\n"
    "<td>径</td>\n"
    "<td>T</td>\n"
    "<td>H</td>\n"
    "<td>D</td>\n"
    "</tr>\n"
    "\n";
const std::string kTail = "</table>\n\n</body>\n</html>\n";

// The shipped key names of a process record.
const std::string kKeyFile =
    "[NcProcess]\r\nkey0=tool\r\nkey1=diam\r\nkey2=T\r\nkey3=H\r\nkey4=D\r\nkey5=S\r\nkey6=F\r\n"
    "key7=G\r\nkey8=R\r\nkey9=Z\r\nkey10=Q\r\nkey11=OFF\r\nkey12=定義\r\n";

class ProcessSheet : public ::testing::Test {
 protected:
  ProcessSheet() {
    t.ctx.dbPath = folder.File("db/P01.dat");
    folder.WriteCp932("NcProcess.key", kKeyFile);
  }

  std::string Sheet() const { return folder.ReadCp932("db/P01.html"); }

  TestFolder folder;
  test::TestContext t{folder};
};

TEST_F(ProcessSheet, NoProcessesGivesTheHeadingRowsOnly) {
  folder.WriteCp932("db/P01.dat", "[hole1]\r\ncommand=穴 [DRILL]\r\n");
  ASSERT_EQ(WriteProcessSheet(t.ctx), 0);
  EXPECT_EQ(folder.Read("db/P01.html"), Cp932(kHead + kTail));  // LF only, CP932
  ASSERT_EQ(t.platform.calls.size(), 1u);
  EXPECT_EQ(t.platform.calls[0].what, "open");
  EXPECT_EQ(t.platform.calls[0].target, folder.File("db/P01.html"));
}

TEST_F(ProcessSheet, RowsWithCaptionsEmptyAndBlankCellsAndAlternatingClasses) {
  folder.WriteCp932(
      "db/P01.dat",
      "[hole1]\r\ncommand=取付穴 [DRILL]\r\n"
      "[hole2]\r\ncommand=M8<深> [NTAP]\r\n"
      "[ncproc1]\r\ntool=センタードリル\r\ndiam=3\r\nT=1\r\nH=1\r\nD=\r\nS=1500\r\nF=100\r\nG=81\r\n"
      "R=2\r\nZ=-3\r\nQ=\r\nOFF=\r\n定義=1\r\n"
      "[ncproc2]\r\ntool=ドリル\r\ndiam=6.8\r\nT=2\r\nH=2\r\nS=1200\r\nF=120\r\nG=83\r\n"
      "R=2\r\nZ=-15\r\nQ=4\r\n定義=2\r\n"
      "[ncproc3]\r\ntool=並目タップ\r\ndiam=8\r\nT=3\r\nH=3\r\nS=300\r\nF=375\r\nG=84\r\nR=5\r\n"
      "Z=-12\r\n定義=2\r\n");
  ASSERT_EQ(WriteProcessSheet(t.ctx), 0);
  // A caption with a trailing blank keeps it; "<" and ">" show as typed. A key with an empty value (D,
  // Q and OFF of process 1) is an empty cell; an absent key (D and OFF of process 2, Q and OFF of
  // process 3) a blank cell.
  std::string rows =
      "<tr class=\"line1\">\n<td>取付穴 </td>\n<td>センタードリル</td>\n<td>3</td>\n<td>1</td>\n<td>1</td>\n"
      "<td></td>\n<td>1500</td>\n<td>100</td>\n<td>81</td>\n<td>2</td>\n<td>-3</td>\n<td></td>\n<td>"
      "</td>\n"
      "<td>1</td>\n</tr>\n\n"
      "<tr class=\"line0\">\n<td>M8&lt;深&gt; </td>\n<td>ドリル</td>\n<td>6.8</td>\n<td>2</td>\n<td>2</td>\n"
      "<td> </td>\n<td>1200</td>\n<td>120</td>\n<td>83</td>\n<td>2</td>\n<td>-15</td>\n<td>4</td>\n<td> "
      "</td>\n"
      "<td>2</td>\n</tr>\n\n"
      "<tr class=\"line1\">\n<td>M8&lt;深&gt; "
      "</td>\n<td>並目タップ</td>\n<td>8</td>\n<td>3</td>\n<td>3</td>\n"
      "<td> </td>\n<td>300</td>\n<td>375</td>\n<td>84</td>\n<td>5</td>\n<td>-12</td>\n<td> </td>\n<td> "
      "</td>\n"
      "<td>2</td>\n</tr>\n\n";
  EXPECT_EQ(Sheet(), kHead + rows + kTail);
  EXPECT_TRUE(t.reporter.boxes.empty());
}

TEST_F(ProcessSheet, TheTableEndsAtAMissingTool) {
  // Process 3 lacks "tool", process 4 has one: processes 1 and 2 only.
  std::string db = "[hole1]\r\ncommand=A [DRILL]\r\n";
  for (int n : {1, 2, 4})
    db += "[ncproc" + std::to_string(n) + "]\r\ntool=ドリル\r\n定義=1\r\n";
  db += "[ncproc3]\r\ndiam=5\r\n定義=1\r\n";
  folder.WriteCp932("db/P01.dat", db);
  ASSERT_EQ(WriteProcessSheet(t.ctx), 0);
  std::string row1 = "<tr class=\"line1\">\n<td>A </td>\n<td>ドリル</td>\n";
  for (int k = 0; k < 11; ++k)
    row1 += "<td> </td>\n";
  row1 += "<td>1</td>\n</tr>\n\n";
  std::string row2 = row1;
  row2.replace(row2.find("line1"), 5, "line0");
  EXPECT_EQ(Sheet(), kHead + row1 + row2 + kTail);
}

TEST_F(ProcessSheet, FaultyProcessesEndTheTableButThePageIsComplete) {
  // No group number: the error names the database; the table ends before the row.
  folder.WriteCp932("db/P01.dat", "[ncproc1]\r\ntool=ドリル\r\n");
  EXPECT_EQ(WriteProcessSheet(t.ctx), -1);
  EXPECT_EQ(Sheet(), kHead + kTail);
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].first,
            "エラー：[" + folder.File("db/P01.dat") + "] 定義= | db 定義番号取得失敗。");
  EXPECT_EQ(t.platform.calls.size(), 1u);  // still opened

  // A group without "command": the row is opened, stays without cells, and the table ends.
  folder.WriteCp932("db/P01.dat", "[ncproc1]\r\ntool=ドリル\r\n定義=5\r\n");
  t.reporter = RecordingReporter();
  EXPECT_EQ(WriteProcessSheet(t.ctx), -1);
  EXPECT_EQ(Sheet(), kHead + "<tr class=\"line1\">\n" + kTail);
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].first, "エラー：[hole5] command= | db 穴の種類取得失敗");
}

TEST_F(ProcessSheet, KeyNamesComeFromTheProcessKeyFile) {
  // An installation whose records use other key names: the sheet reads them, not fixed spellings.
  std::string keys = kKeyFile;
  keys.replace(keys.find("key0=tool"), 9, "key0=name");
  keys.replace(keys.find("key2=T"), 6, "key2=TNO");
  keys.replace(keys.find("key12=定義"), 12, "key12=grp");
  folder.WriteCp932("NcProcess.key", keys);
  folder.WriteCp932("db/P01.dat",
                    "[hole1]\r\ncommand=A [DRILL]\r\n"
                    "[ncproc1]\r\nname=ドリル\r\ntool=ignored\r\nTNO=7\r\nT=9\r\ngrp=1\r\n定義=2\r\n");
  ASSERT_EQ(WriteProcessSheet(t.ctx), 0);
  std::string row = "<tr class=\"line1\">\n<td>A </td>\n<td>ドリル</td>\n<td> </td>\n<td>7</td>\n";
  for (int k = 0; k < 9; ++k)
    row += "<td> </td>\n";
  row += "<td>1</td>\n</tr>\n\n";
  EXPECT_EQ(Sheet(), kHead + row + kTail);

  // Without the key file no process can be read: the page has the heading only and the result is -1.
  std::remove(folder.File("NcProcess.key").c_str());
  t.reporter = RecordingReporter();
  EXPECT_EQ(WriteProcessSheet(t.ctx), -1);
  EXPECT_EQ(Sheet(), kHead + kTail);
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].first, "エラー：[NcProcess] key0= | 工程保存キー取得失敗");
}

TEST_F(ProcessSheet, PathOfTheSheetAndACreationFailure) {
  EXPECT_EQ(ProcessSheetPath("/a/db/PLATE01.dat"), "/a/db/PLATE01.html");
  EXPECT_EQ(ProcessSheetPath("/a/db.v2/PLATE01"), "/a/db.v2/PLATE01.html");
  EXPECT_EQ(ProcessSheetPath("/a/db/P.1.dat"), "/a/db/P.1.html");

  t.ctx.dbPath = folder.File("nofolder/P01.dat");
  EXPECT_EQ(WriteProcessSheet(t.ctx), -1);
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].first,
            "エラー：HTMLファイル " + folder.File("nofolder/P01.html") + " が開けません。");
  EXPECT_TRUE(t.platform.calls.empty());

  // No project at all: no ".html" file in the working folder.
  t.ctx.dbPath.clear();
  t.reporter = RecordingReporter();
  EXPECT_EQ(WriteProcessSheet(t.ctx), -1);
  EXPECT_EQ(t.reporter.boxes.at(0).first, "エラー：保存ファイルが設定されてません");
}

}  // namespace
}  // namespace talvorin
