// The installation shipped in the program folder: the program INI and tables that start-up and the
// shell services read must be there, in CP932, with the values a shop would install.
#include <gtest/gtest.h>

#include "shell/ProgramSetup.h"
#include "store/Numbers.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestContext;
using test::TestFolder;

class ShippedInstallation : public ::testing::Test {
 protected:
  void SetUp() override { test::CopyProgramFolder(folder); }
  std::string Ini(const char* section, const std::string& key, std::size_t limit = 16) {
    return ReadString(folder.File("TALVORIN.ini"), section, key, limit);
  }
  TestFolder folder;
};

TEST_F(ShippedInstallation, StartsUp) {
  TestContext t(folder);
  EXPECT_EQ(CreateFolders(t.ctx), 0);
  for (const char* f : {"db", "ncdata", "trycut", "dxf"}) EXPECT_TRUE(PathExists(folder.File(f))) << f;
  EXPECT_EQ(SetNcTableFile(t.inst, t.reporter, t.inst.ncTableFile), 0);
  EXPECT_TRUE(t.reporter.boxes.empty());
}

TEST_F(ShippedInstallation, MachineChoices) {
  std::vector<std::string> controllers, systems, origins, materials;
  for (int i = 0; i < 30; ++i) {
    std::string c = Ini("machine", Sprintf("ControlDevice%d", i));
    if (c.empty()) break;
    controllers.push_back(c);
  }
  EXPECT_EQ(controllers, (std::vector<std::string>{"FANUC", "OSP"}));
  for (int i = 0; i < 30; ++i) {
    std::string c = Ini("machine", Sprintf("CoordinateSystem%d", i));
    if (c.empty()) break;
    systems.push_back(c);
  }
  EXPECT_EQ(systems, (std::vector<std::string>{"G54", "G55", "G56", "G57", "G58", "G59", "G15H01", "G15H02",
                                               "G15H03", "G15H04", "G15H05", "G15H06"}));
  for (int i = 0; i < 10; ++i) {
    std::string c = Ini("machine", Sprintf("Origin%d", i));
    if (c.empty()) break;
    origins.push_back(c);
  }
  EXPECT_EQ(origins, (std::vector<std::string>{"左下", "左上", "右上", "右下", "中心"}));
  // Each origin text is also a key holding its origin number.
  std::vector<int> numbers;
  for (const std::string& o : origins) numbers.push_back(ReadInt(folder.File("TALVORIN.ini"), "machine", o, -1));
  EXPECT_EQ(numbers, (std::vector<int>{0, 1, 3, 2, 4}));
  for (int i = 0; i < 10; ++i) {
    std::string c = Ini("material", Sprintf("material%d", i));
    if (c.empty()) break;
    materials.push_back(c);
  }
  for (const char* m : {"SS400", "S45C", "SUS304", "A5052", "FC250"})
    EXPECT_NE(std::find(materials.begin(), materials.end(), m), materials.end()) << m;
  EXPECT_EQ(ReadInt(folder.File("TALVORIN.ini"), "machine", "defaultControlDevice", -1), 0);
}

TEST_F(ShippedInstallation, KeysOfTheProgramSettings) {
  EXPECT_EQ(Ini("TALVORIN", "title", 128), "二次元ＮＣ加工システム / ブレンホルト");
  EXPECT_EQ(ReadInt(folder.File("TALVORIN.ini"), "TALVORIN", "LogWriting", 0), 1);
  EXPECT_EQ(ReadInt(folder.File("TALVORIN.ini"), "TALVORIN", "MaxToolNumber", 0), 30);
  EXPECT_EQ(Ini("extension", "camdbfile"), "dat");
  EXPECT_EQ(Ini("extension", "FANUC"), "NC");
  EXPECT_EQ(Ini("extension", "OSP"), "MIN");
  EXPECT_EQ(Ini("window", "X"), "0.5");
  EXPECT_FALSE(Ini("TALVORIN", "editor", 520).empty());
  EXPECT_FALSE(Ini("TALVORIN", "ncviewer", 520).empty());
  EXPECT_FALSE(Ini("table", "command", 48).empty());
  EXPECT_FALSE(Ini("trycut", "exefile", 520).empty());
  for (const char* key : {"PROTOCOL", "FTP", "ftpuser", "ftppass", "ftpextention"})
    EXPECT_FALSE(Ini("NcdataTransfer", key, 32).empty()) << key;
}

TEST_F(ShippedInstallation, NcTableSections) {
  TestContext t(folder);
  ASSERT_EQ(SetNcTableFile(t.inst, t.reporter, t.inst.ncTableFile), 0);
  const std::string& nc = t.inst.ncTableFile;
  for (const char* axis : {"StartX", "StartY", "StartZ"}) EXPECT_FALSE(ReadString(nc, "NcFormat", axis, 16).empty());
  EXPECT_FALSE(ReadString(nc, "StartLine", "fanuc0", 80).empty());
  EXPECT_FALSE(ReadString(nc, "StartLine", "osp0", 80).empty());
  EXPECT_FALSE(ReadString(nc, "EndLine", "fanuc0", 80).empty());
  EXPECT_FALSE(ReadString(nc, "EndLine", "osp0", 80).empty());
  EXPECT_FALSE(ReadString(nc, "toolchang", "fanuc0", 80).empty());
  EXPECT_FALSE(ReadString(nc, "toolchang", "OSP0", 80).empty());
  EXPECT_FALSE(ReadString(nc, "processtime", "TIMELAG", 16).empty());
  EXPECT_FALSE(ReadString(nc, "mill", "gcode", 16).empty());
}

TEST_F(ShippedInstallation, EveryHelpTopicHasItsDocument) {
  TestContext t(folder);
  EXPECT_EQ(OpenHelpFile(t.ctx), 0);
  for (const char* topic : {"初期設定", "タップ加工設定", "冒頭末尾追加", "座標系追加", "使用工具設定", "加工条件設定"})
    EXPECT_EQ(OpenHelpTopic(t.ctx, topic), 0) << topic;
  EXPECT_EQ(t.platform.calls.size(), 7u);
  EXPECT_TRUE(t.reporter.boxes.empty());
}

}  // namespace
}  // namespace talvorin
