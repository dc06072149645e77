// Creating and saving the project database: the created layout byte for byte, the backup, new and
// overwrite saves, every validation with its message, the OSP rule, the TRYCUT box and the file name.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ProjectFixture.h"

namespace talvorin {
namespace {

using test::Cp932;
using test::FilledForm;
using test::ProjectTest;

std::string WithFolder(std::string text, const std::string& programFolder) {
  for (std::size_t pos; (pos = text.find("<PF>")) != std::string::npos;)
    text.replace(pos, 4, programFolder);
  return text;
}

// Lines 1 to 61 of a new project database, <PF> standing for the program folder; the NC table of
// the fixture has StartX=10.5, no StartY and StartZ=100.
const char* const kEmptyHeader =
    "[TALVORIN]\r\nproject=\r\nproduct=\r\ndbpath=<PF>db\r\n\r\ncsvfile=\r\ndxffile=\r\n\r\n"
    "[material]\r\nX=\r\nY=\r\nZ=\r\ntype=\r\n"
    ";     1 +---------+ 2\r\n;       |         |\r\n;       |    4    |\r\n;       |         |\r\n"
    ";     0 +---------+ 3\r\norigin=左下\r\noriginNo=0\r\n\r\n"
    "[machine]\r\nControlDevice=\r\nCoordinateSystem=\r\nonumber=\r\nncpath=<PF>ncdata\r\nncfile=\r\n\r\n"
    "trycutpath=<PF>trycut\r\ntrycutfile=\r\n\r\nStartX=10.5\r\nStartY=0\r\nStartZ=100.\r\n\r\n"
    "distance0=\r\ndistance1=\r\n\r\n"
    "Seconds_Time0=\r\nSeconds_Time1=\r\nSeconds_Time2=\r\nSeconds_Time3=\r\n\r\n"
    "Process_Time0=\r\nProcess_Time1=\r\nProcess_Time2=\r\nProcess_Time3=\r\n\r\n"
    "[trycut]\r\nXmax=\r\nXmin=\r\nYmax=\r\nYmin=\r\nZmax=\r\nZmin=\r\n\r\n"
    "[hole]\r\ncount=\r\ngroup=\r\nindex=\r\n\r\n";

// The same lines after saving FilledForm(): 100 x 50 x 12.5 at corner 左上 (number 1), FANUC, G54, O12.
const char* const kSavedHeader =
    "[TALVORIN]\r\nproject=PLATE-A\r\nproduct=BRACKET\r\ndbpath=<PF>db\r\n\r\ncsvfile=\r\ndxffile=\r\n\r\n"
    "[material]\r\nX=100.\r\nY=50.\r\nZ=12.5\r\ntype=SS400\r\n"
    ";     1 +---------+ 2\r\n;       |         |\r\n;       |    4    |\r\n;       |         |\r\n"
    ";     0 +---------+ 3\r\norigin=左上\r\noriginNo=1\r\n\r\n"
    "[machine]\r\nControlDevice=FANUC\r\nCoordinateSystem=G54\r\nonumber=12\r\nncpath=<PF>ncdata\r\n"
    "ncfile=O0012.NC\r\n\r\n"
    "trycutpath=<PF>trycut\r\ntrycutfile=O0012\r\n\r\nStartX=10.5\r\nStartY=0\r\nStartZ=100.\r\n\r\n"
    "distance0=\r\ndistance1=\r\n\r\n"
    "Seconds_Time0=\r\nSeconds_Time1=\r\nSeconds_Time2=\r\nSeconds_Time3=\r\n\r\n"
    "Process_Time0=\r\nProcess_Time1=\r\nProcess_Time2=\r\nProcess_Time3=\r\n\r\n"
    "[trycut]\r\nXmax=100\r\nXmin=0\r\nYmax=0\r\nYmin=-50\r\nZmax=0\r\nZmin=-12.5\r\n\r\n"
    "[hole]\r\ncount=\r\ngroup=\r\nindex=\r\n\r\n";

// One empty hole group section.
#define HOLE(n)                                                                             \
  "[hole" #n                                                                                \
  "]\r\ncommand=\r\nvariable0=\r\nvariable1=\r\nvariable2=\r\nvariable3=\r\nvariable4=\r\n" \
  "variable5=\r\nvariable6=\r\nvariable7=\r\nvariable8=\r\nvariable9=\r\n\r\n"
const char* const kGroupsAndProcesses =
    HOLE(1) HOLE(2) HOLE(3) HOLE(4) HOLE(5) HOLE(6)
    "[ncproc]\r\nindex=\r\n\r\n"
    "[ncproc1]\r\n\r\n[ncproc2]\r\n\r\n[ncproc3]\r\n\r\n[ncproc4]\r\n\r\n[ncproc5]\r\n\r\n"
    "[ncproc6]\r\n\r\n[ncproc7]\r\n\r\n[ncproc8]\r\n\r\n[ncproc9]\r\n\r\n[ncproc10]\r\n\r\n"
    "[ncproc11]\r\n\r\n[ncproc12]\r\n\r\n[ncproc13]\r\n\r\n[ncproc14]\r\n\r\n[ncproc15]\r\n\r\n";
#undef HOLE

using ProjectFile = ProjectTest;

TEST_F(ProjectFile, MakeWritesTheEmptyLayoutInCp932WithCrLf) {
  t.ctx.dbPath = Db("NEW");
  EXPECT_EQ(MakeTALVORINdbfile(t.ctx), 0);
  EXPECT_EQ(folder.Read("db/NEW.dat"),
            Cp932(WithFolder(std::string(kEmptyHeader) + kGroupsAndProcesses, folder.path())));
  EXPECT_FALSE(PathExists(Db("NEW") + ".bak"));
  EXPECT_EQ(t.reporter.Lines(), std::vector<std::string>{"!!! routine name : MakeTALVORINdbfile"});

  t.ctx.dbPath = folder.File("nofolder/X.dat");
  EXPECT_EQ(MakeTALVORINdbfile(t.ctx), -1);
  EXPECT_EQ(t.reporter.Lines().back(),
            "エラー：ファイル " + folder.File("nofolder/X.dat") + " が開けません。");
}

TEST_F(ProjectFile, NewSaveAnnouncesTheNewFileAndFillsTheHeaderInPlace) {
  MainForm form = FilledForm();
  ASSERT_EQ(NewSavedata(t.ctx, form), 0);
  std::string path = Db("PLATE-A");
  EXPECT_EQ(t.ctx.dbPath, path);
  EXPECT_EQ(folder.Read("db/PLATE-A.dat"),
            Cp932(WithFolder(std::string(kSavedHeader) + kGroupsAndProcesses, folder.path())));
  // The new name has no file yet, so the save announces one and names it again.
  std::vector<std::string> lines{"!!! routine name : SettingDBfilename",
                                 "+++ DBファイル " + path,
                                 "!!! routine name : SaveTALVORINdata",
                                 "... 保存ファイルが設定されてません",
                                 "... 新規に設定します",
                                 "!!! routine name : SettingDBfilename",
                                 "+++ DBファイル " + path,
                                 "+++ DBファイル " + path,
                                 "!!! routine name : MakeTALVORINdbfile",
                                 "!!! routine name : WriteTrycutMaterial",
                                 "+++ DBファイル保存 : " + path};
  EXPECT_EQ(t.reporter.Lines(), lines);
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0],
            std::make_pair(std::string("... 保存ファイルが設定されてません\n... 新規に設定します"), 1));
}

TEST_F(ProjectFile, NewSaveOverAProjectEmptiesItAndKeepsTheOldFileAsBackup) {
  MainForm form = FilledForm();
  ASSERT_EQ(NewSavedata(t.ctx, form), 0);
  ASSERT_TRUE(WriteString(Db("PLATE-A"), "hole1", "command", "ドリル穴 [DRILL]"));
  std::string before = folder.Read("db/PLATE-A.dat");
  t.reporter.boxes.clear();
  form.product = "";
  ASSERT_EQ(NewSavedata(t.ctx, form), 0);
  EXPECT_TRUE(t.reporter.boxes.empty());  // the file existed: no announcement
  EXPECT_EQ(folder.Read("db/PLATE-A.dat.bak"), before);
  EXPECT_EQ(Read(Db("PLATE-A"), "hole1", "command"), "");
  EXPECT_EQ(Read(Db("PLATE-A"), "TALVORIN", "product"), "");

  // A backup that cannot be written is reported; the save goes on.
  ASSERT_EQ(std::remove((Db("PLATE-A") + ".bak").c_str()), 0);
  ASSERT_EQ(mkdir((Db("PLATE-A") + ".bak").c_str(), 0777), 0);
  form.material = "S45C";
  EXPECT_EQ(NewSavedata(t.ctx, form), 0);
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0], std::make_pair(std::string("エラー：既存ファイルのバックアップ失敗"), -1));
  EXPECT_EQ(Read(Db("PLATE-A"), "material", "type"), "S45C");
}

TEST_F(ProjectFile, OverwriteKeepsEverythingElseOfTheFile) {
  MainForm form = FilledForm();
  ASSERT_EQ(NewSavedata(t.ctx, form), 0);
  ASSERT_TRUE(WriteString(Db("PLATE-A"), "machine", "Seconds_Time0", "125"));
  t.reporter.boxes.clear();
  form.product = "";  // keeps the stored product
  form.origin = "";   // the lower left corner
  form.sizeZ = "20";
  ASSERT_EQ(SaveTALVORINdata(t.ctx, form, 1), 0);
  EXPECT_FALSE(PathExists(Db("PLATE-A") + ".bak"));
  EXPECT_TRUE(t.reporter.boxes.empty());
  const std::vector<std::string>& lines = t.reporter.Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "... 上書き保存"), lines.end());
  EXPECT_EQ(Read(Db("PLATE-A"), "machine", "Seconds_Time0"), "125");
  EXPECT_EQ(Read(Db("PLATE-A"), "TALVORIN", "product"), "BRACKET");
  EXPECT_EQ(Read(Db("PLATE-A"), "material", "origin") + Read(Db("PLATE-A"), "material", "originNo"), "左下0");
  EXPECT_EQ(Read(Db("PLATE-A"), "material", "Z") + " " + Read(Db("PLATE-A"), "trycut", "Zmin"), "20. -20");

  // Without a file an overwrite creates one, named from the project field.
  t.ctx.dbPath = Db("GONE");
  form.projectName = "PLATE-B";
  ASSERT_EQ(SaveTALVORINdata(t.ctx, form, 1), 0);
  EXPECT_EQ(t.ctx.dbPath, Db("PLATE-B"));
  EXPECT_FALSE(PathExists(Db("GONE")));
  EXPECT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(Read(Db("PLATE-B"), "TALVORIN", "product"), "");
}

// Each field in turn is the first one missing: the save stops there with its message, the keys
// before it written and its own key not.
TEST_F(ProjectFile, ValidationsStopAtTheFirstMissingFieldInOrder) {
  struct Case {
    void (*change)(MainForm&);
    const char* message;
    const char* lastWritten;  // section/key pairs
    const char* notWritten;
  };
  const Case cases[] = {
      {[](MainForm& f) { f.sizeX = ""; }, "エラー：材料 X 寸法が定義されてません", "TALVORIN/dbpath",
       "material/X"},
      {[](MainForm& f) { f.sizeY = ""; }, "エラー：材料 Y 寸法が定義されてません", "material/X",
       "material/Y"},
      {[](MainForm& f) { f.sizeZ = ""; }, "エラー：材料 Z 寸法が定義されてません", "material/Y",
       "material/Z"},
      {[](MainForm& f) { f.material = ""; }, "エラー：材質が定義されてません", "material/Z", "material/type"},
      {[](MainForm& f) { f.controller = ""; }, "エラー：制御装置が定義されてません", "material/originNo",
       "machine/ControlDevice"},
      {[](MainForm& f) { f.coordinateSystem = ""; }, "エラー：座標系が定義されてません",
       "machine/ControlDevice", "machine/CoordinateSystem"},
      {[](MainForm& f) { f.controller = "MAKINO"; }, "エラー：[extension] MAKINO= | 拡張子取得失敗",
       "machine/trycutfile", "machine/ncfile"},
      {[](MainForm& f) { f.sizeY = f.material = f.coordinateSystem = ""; },
       "エラー：材料 Y 寸法が定義されてません", "material/X", "material/Y"},
  };
  auto read = [this](const std::string& sectionKey) {
    std::size_t slash = sectionKey.find('/');
    return ReadString(Db("PLATE-A"), sectionKey.substr(0, slash), sectionKey.substr(slash + 1), 64);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    std::remove(Db("PLATE-A").c_str());
    t.reporter.boxes.clear();
    MainForm form = FilledForm();
    c.change(form);
    EXPECT_EQ(NewSavedata(t.ctx, form), -1);
    EXPECT_EQ(t.reporter.Lines().back(), c.message);
    ASSERT_EQ(t.reporter.boxes.size(), 2u);  // the announcement of the new file, then the error
    EXPECT_EQ(t.reporter.boxes[1], std::make_pair(std::string(c.message), -1));
    EXPECT_NE(read(c.lastWritten), "");
    EXPECT_EQ(read(c.notWritten), "");
    EXPECT_EQ(read("trycut/Xmax"), "");
  }

  // The project name is asked for when the file is named; over an existing file, by the save itself.
  MainForm form = FilledForm();
  form.projectName = "";
  EXPECT_EQ(NewSavedata(t.ctx, form), -1);
  EXPECT_EQ(t.reporter.Lines().back(), "エラー：保存前にプロジェクト名を入力して下さい");
  t.ctx.dbPath = Db("PLATE-A");
  EXPECT_EQ(SaveTALVORINdata(t.ctx, form, 1), -1);
  EXPECT_EQ(t.reporter.Lines().back(), "エラー：プロジェクト名を入力して下さい");
}

TEST_F(ProjectFile, OspNeedsAG15HCoordinateSystemAndItsOwnExtension) {
  struct Case {
    const char *controller, *system, *number, *ncfile;  // ncfile "" when refused
  };
  const Case cases[] = {
      {"OSP", "G54", "1", ""},
      {"OSP", "G15", "1", ""},
      {"OSP-P300", "G55", "1", ""},
      {"OSP", "G15H01", "1000", "O1000.MIN"},
      {"OSP-P300", "G15H12", "", "O0000.MIN"},
      {"FANUC", "G15H01", "7", "O0007.NC"},
      {"FANUC", "ANY TEXT", "123456", "O123456.NC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.controller) + " " + c.system);
    MainForm form = FilledForm();
    form.controller = c.controller;
    form.coordinateSystem = c.system;
    form.programNumber = c.number;
    bool accepted = *c.ncfile != '\0';
    EXPECT_EQ(NewSavedata(t.ctx, form), accepted ? 0 : -1);
    EXPECT_EQ(Read(Db("PLATE-A"), "machine", "ncfile"), c.ncfile);
    if (!accepted) {
      EXPECT_EQ(t.reporter.Lines().back(), "エラー：座標系がOSP仕様に定義されてません");
      EXPECT_EQ(Read(Db("PLATE-A"), "machine", "CoordinateSystem"), "");
    }
  }
}

TEST_F(ProjectFile, TheTrycutBoxFollowsTheOriginCorner) {
  struct Case {
    int originNo;
    const char* box;  // Xmax Xmin Ymax Ymin Zmax Zmin
  };
  const Case cases[] = {
      {0, "75.5 0 40 0 0 -12.25"},         {1, "75.5 0 0 -40 0 -12.25"},
      {2, "0 -75.5 40 0 0 -12.25"},        {3, "0 -75.5 0 -40 0 -12.25"},
      {4, "37.75 -37.75 20 -20 0 -12.25"}, {-1, "37.75 -37.75 20 -20 0 -12.25"},
  };
  t.ctx.dbPath = Db("BOX");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.originNo);
    ASSERT_EQ(MakeTALVORINdbfile(t.ctx), 0);
    ASSERT_EQ(WriteTrycutMaterial(t.ctx, 75.5, 40, 12.25, c.originNo), 0);
    EXPECT_EQ(t.reporter.Lines().back(), "!!! routine name : WriteTrycutMaterial");
    std::string box;
    for (const char* key : {"Xmax", "Xmin", "Ymax", "Ymin", "Zmax", "Zmin"})
      box += (box.empty() ? "" : " ") + Read(Db("BOX"), "trycut", key);
    EXPECT_EQ(box, c.box);
  }
  // The keys stay in their places of the layout.
  EXPECT_NE(folder.Read("db/BOX.dat")
                .find("[trycut]\r\nXmax=37.75\r\nXmin=-37.75\r\nYmax=20\r\nYmin=-20\r\n"
                      "Zmax=0\r\nZmin=-12.25\r\n\r\n[hole]\r\n"),
            std::string::npos);

  // Through a save: the origin text gives the number, an unknown text corner 0.
  for (auto [origin, xmin] : {std::pair{"右下", "-100"}, {"中心", "-50"}, {"斜め", "0"}}) {
    MainForm form = FilledForm();
    form.origin = origin;
    ASSERT_EQ(NewSavedata(t.ctx, form), 0);
    EXPECT_EQ(Read(Db("PLATE-A"), "trycut", "Xmin"), xmin) << origin;
  }
}

TEST_F(ProjectFile, TheProjectNameNamesAFileInTheProjectFolder) {
  t.ctx.dbPath = Db("EARLIER");
  for (auto [name, message] : {std::pair{"../ESCAPE", "エラー：プロジェクト名に「/」は使えません"},
                               {"SUB/PLATE", "エラー：プロジェクト名に「/」は使えません"},
                               {".", "エラー：プロジェクト名「.」はファイル名に使えません"},
                               {"..", "エラー：プロジェクト名「..」はファイル名に使えません"}}) {
    SCOPED_TRACE(name);
    MainForm form = FilledForm();
    form.projectName = name;
    t.reporter.boxes.clear();
    EXPECT_EQ(NewSavedata(t.ctx, form), -1);
    EXPECT_EQ(t.reporter.Lines().back(), message);
    EXPECT_EQ(t.reporter.boxes.size(), 1u);
    EXPECT_EQ(t.ctx.dbPath, Db("EARLIER"));
  }
  EXPECT_FALSE(PathExists(folder.File("ESCAPE.dat")));

  MainForm form = FilledForm();
  form.projectName = "..ブラケット";  // dots elsewhere are ordinary
  ASSERT_EQ(SettingDBfilename(t.ctx, form), 0);
  EXPECT_EQ(t.reporter.Lines().back(), "+++ DBファイル " + Db("..ブラケット"));
  ASSERT_TRUE(WriteString(t.inst.iniPath, "extension", "camdbfile", "prj"));
  // A name longer than the 127 bytes the project file keeps is refused, not cut to another name.
  form.projectName = std::string(130, 'A');
  EXPECT_EQ(SettingDBfilename(t.ctx, form), -1);
  EXPECT_EQ(t.reporter.Lines().back(), "エラー：プロジェクト名は127バイトまでです");
  form.projectName = std::string(127, 'A');
  ASSERT_EQ(SettingDBfilename(t.ctx, form), 0);
  EXPECT_EQ(t.ctx.dbPath, folder.File("db/" + std::string(127, 'A') + ".prj"));

  ASSERT_TRUE(DeleteKey(t.inst.iniPath, "folder", "folder0"));
  EXPECT_EQ(SettingDBfilename(t.ctx, form), -1);
  EXPECT_EQ(t.reporter.Lines().back(), "エラー：[folder] folder0= | db フォルダ取得失敗");
  EXPECT_EQ(t.ctx.dbPath, "");
}

}  // namespace
}  // namespace talvorin
