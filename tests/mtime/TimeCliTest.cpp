// talvorin-cli "time" as a black box on a copy of the shipped program folder: the report on standard
// output, the summary box on standard error, the keys in the project database and the exit status.
#include <gtest/gtest.h>

#include "store/Profile.h"
#include "support/CliRun.h"
#include "support/TestFolder.h"

namespace talvorin::test {
namespace {

class TimeCli : public ::testing::Test {
 protected:
  TimeCli() {
    CopyProgramFolder(folder);
    const std::string table = folder.File("NCformat.tbl");
    for (auto [key, value] : {std::pair{"G00FEED", "3000"}, {"CYCFEED", "1000"}, {"TIMELAG", "1"}})
      EXPECT_TRUE(WriteString(table, "processtime", key, value));
    folder.WriteCp932("db/P.dat", "[machine]\r\nStartX=0.\r\nStartY=0.\r\nStartZ=50.\r\nncpath=" +
                                      folder.File("ncdata") + "\r\nncfile=O0001.NC\r\n");
  }

  CliResult Run(std::vector<std::string> args) {
    std::vector<std::string> all{TALVORIN_CLI, "--folder", folder.path()};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram(all);
  }
  std::string Key(const char* key) const { return ReadString(folder.File("db/P.dat"), "machine", key, 64); }

  TestFolder folder;
};

TEST_F(TimeCli, ReportsAndStoresTheEstimate) {
  // Rapid (0,0,50) to (30,40,50): 50 mm at 3000 = 1 s. Cutting 60 down and 60 across at F120: 60 s.
  folder.WriteCp932("ncdata/O0001.NC",
                    "%\r\nO0001\r\nG00 X30. Y40.\r\nG01 Z-10. F120\r\nX90.\r\nM30\r\n%\r\n");
  CliResult r = Run({"time", folder.File("db/P.dat")});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string pad = "       ";
  EXPECT_NE(r.out.find("-----\n" + pad + "ファイル : " + folder.File("ncdata/O0001.NC") + "\n" + pad +
                       "早送距離 : 50.000\n" + pad + "切削距離 : 120.000\n" + pad +
                       "早送時間 : 0時間 0分 1秒\n" + pad + "切削時間 : 0時間 1分 0秒\n" + pad +
                       "工具時間 : 0時間 0分 0秒\n" + pad + "加工時間 : 0時間 1分 1秒\n-----\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.err, "ファイル : " + folder.File("ncdata/O0001.NC") +
                       "\n早送距離 : 50.000\n切削距離 : 120.000\n加工時間 : 0:01:01\n");
  EXPECT_EQ(Key("distance0"), "50.");
  EXPECT_EQ(Key("distance1"), "120.");
  EXPECT_EQ(Key("Seconds_Time3"), "61");
  EXPECT_EQ(Key("Process_Time1"), "0:01:00");
}

TEST_F(TimeCli, FailuresAndUsage) {
  // No NC program yet: the box text and status 1, no key written.
  CliResult r = Run({"--quiet", "time", folder.File("db/P.dat")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：ＮＣ計算が終了していません。\n");
  EXPECT_EQ(Key("distance0"), "");

  // A failed calculation (no start height) fails the command, though Processing_Time itself succeeds.
  folder.WriteCp932("ncdata/O0001.NC", "G00 X1.\r\n");
  WriteString(folder.File("db/P.dat"), "machine", "StartZ", "");
  r = Run({"--quiet", "time", folder.File("db/P.dat")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：[machine] StartZ= | db スタート座標取得失敗\n");

  EXPECT_EQ(Run({"time"}).status, 2);
  EXPECT_EQ(Run({"time", "a", "b"}).status, 2);
}

}  // namespace
}  // namespace talvorin::test
