// The drawing file: CP932 and CR LF on disk, written anew through a temporary file so that the target
// is the earlier file or the complete drawing; and a written drawing read back by ezdxf.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>

#include "dxf/DxfCheck.h"
#include "dxf/DxfWriter.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return names;
  while (struct dirent* e = readdir(dir))
    if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

TEST(TextFile, EncodesCp932WithCrLfAndAppearsOnlyWhenCommitted) {
  TestFolder folder;
  std::string path = folder.File("A01.dxf");
  TextFile file;
  ASSERT_TRUE(file.Replace(path));
  file.Line("  8");
  file.Line("1-D10-ドリル");
  file.Raw(test::Cp932("原点\r\n"));
  file.Line("絵文字😀");  // no CP932 form: "?"
  EXPECT_FALSE(PathExists(path));
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(folder.Read("A01.dxf"), test::Cp932("  8\r\n1-D10-ドリル\r\n原点\r\n絵文字?\r\n"));
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"A01.dxf"});
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
}

TEST(TextFile, ReplacesTheEarlierFileKeepingItsPermissions) {
  TestFolder folder;
  folder.Write("A01.dxf", "old drawing");
  chmod(folder.File("A01.dxf").c_str(), 0640);
  TextFile file;
  ASSERT_TRUE(file.Replace(folder.File("A01.dxf")));
  file.Line("EOF");
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(folder.Read("A01.dxf"), "EOF\r\n");
  struct stat st;
  ASSERT_EQ(stat(folder.File("A01.dxf").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(TextFile, ARunThatIsNotCommittedLeavesNothingBehind) {
  TestFolder folder;
  folder.Write("A01.dxf", "old drawing");
  {
    TextFile file;
    ASSERT_TRUE(file.Replace(folder.File("A01.dxf")));
    file.Line(std::string(200000, 'x'));  // beyond the write buffer: part of it is on disk already
    file.Discard();
    EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"A01.dxf"});
  }
  {
    TextFile file;
    ASSERT_TRUE(file.Replace(folder.File("B02.dxf")));
    file.Line("  0");
  }  // destroyed without Commit()
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"A01.dxf"});
  EXPECT_EQ(folder.Read("A01.dxf"), "old drawing");
}

TEST(TextFile, AFailedWriteIsNotCommitted) {
  TestFolder folder;
  folder.Write("A01.dxf", "old drawing");
  // In a child whose files may not grow beyond 4 KiB (a full disk, as the writer sees it).
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {
      4096, 4096
    };
    setrlimit(RLIMIT_FSIZE, &limit);
    TextFile file;
    if (!file.Replace(folder.File("A01.dxf"))) _exit(2);
    for (int i = 0; i < 1000; ++i)
      file.Line("  0");
    file.Line(std::string(100000, 'x'));
    _exit(file.Commit() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: committed although a write failed";
  EXPECT_EQ(folder.Read("A01.dxf"), "old drawing");
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"A01.dxf"});
}

TEST(TextFile, OpenFailsWhereTheFileCannotBeCreated) {
  TestFolder folder;
  TextFile file;
  EXPECT_FALSE(file.Replace(folder.File("no/such/folder/A01.dxf")));
  folder.Write("sub/keep", "x");
  EXPECT_FALSE(file.Replace(folder.File("sub")));  // a folder
  EXPECT_FALSE(file.Replace(folder.File("sub/")));
  EXPECT_FALSE(file.Commit());
}

TEST(TextFile, DrawingOfEveryEntityLoadsAndAuditsCleanInEzdxf) {
  TestFolder folder;
  test::CopyProgramFolder(folder);  // the shipped tableSection.dat
  test::TestContext t(folder);
  TextFile file;
  ASSERT_TRUE(file.Replace(folder.File("all.dxf")));
  DxfDrawing d{file, ElementColor{}, "", "", 0, ""};
  WriteDxfHeader(d, {-10, -10}, {40, 30});
  ASSERT_EQ(CopyTableSection(d, t.inst, t.reporter), 0);
  BeginDxfEntities(d);
  SetDxfLayer(d, "1-D10-ドリル");
  SetDxfLinetype(d, "CONTINUOUS");
  WriteDxfCircle(d, {20, 10, 5});
  WriteCentreCross(d, {20, 10, 5});
  SetDxfLayer(d, "材料寸法");
  WriteDxfArc(d, {0, 0, 3, 270, 90});
  WriteDxfAlignedText(d, "14", {7, 10.85, 1.4, 90}, 1);
  WriteOriginMark(d, {0, 0, 0.3});
  WriteDxfText(d, "ブラケット", {1.4, -4.2, 1.4});
  WriteAxisLines(d, {0, 0}, {30, 20});
  EndDxfFile(d);
  ASSERT_TRUE(file.Commit());

  EXPECT_EQ(test::CheckDxf(folder.File("all.dxf")), R"(encoding cp932
audit errors 0
header $EXTMIN -10.000000 -10.000000
header $EXTMAX 40.000000 30.000000
layer 1-D10-ドリル 1
layer 原点 8
layer 基準線 4
layer 材料寸法 2
CIRCLE 1-D10-ドリル 20.000000 10.000000 5.000000
LINE 基準線 12.500000 10.000000 27.500000 10.000000
LINE 基準線 20.000000 2.500000 20.000000 17.500000
ARC 材料寸法 0.000000 0.000000 3.000000 270.000000 90.000000
TEXT 材料寸法 7.000000 10.850000 1.400000 90.000000 14
CIRCLE 原点 0.000000 0.000000 0.300000
ARC 原点 0.000000 0.000000 0.100000 0.000000 90.000000
ARC 原点 0.000000 0.000000 0.100000 180.000000 270.000000
ARC 原点 0.000000 0.000000 0.200000 0.000000 90.000000
ARC 原点 0.000000 0.000000 0.200000 180.000000 270.000000
LINE 原点 -0.600000 0.000000 0.600000 0.000000
LINE 原点 0.000000 -0.600000 0.000000 0.600000
TEXT 原点 1.400000 -4.200000 1.400000 0.000000 ブラケット
LINE 基準線 -6.000000 0.000000 36.000000 0.000000
LINE 基準線 0.000000 -4.000000 0.000000 24.000000
)");
}

}  // namespace
}  // namespace talvorin
