// The TRYCUT hand-off: the four files byte for byte (CP932, CR LF), the start through the batch file,
// and every message of the failure table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "store/Profile.h"
#include "support/TestFolder.h"
#include "trycut/Trycut.h"

namespace talvorin {
namespace {

using test::Cp932;
using test::TestFolder;

const char* kKeyFile =
    "[NcProcess]\r\nkey0=tool\r\nkey1=diam\r\nkey2=T\r\nkey3=H\r\nkey4=D\r\nkey5=S\r\nkey6=F\r\nkey7=G\r\n"
    "key8=R\r\nkey9=Z\r\nkey10=Q\r\nkey11=OFF\r\nkey12=定義\r\n";

// A process record as the process store writes it.
std::string Process(int n, const std::string& tool, const std::string& diam, const std::string& t,
                    const std::string& d, const std::string& z) {
  return "[ncproc" + std::to_string(n) + "]\r\ntool=" + tool + "\r\ndiam=" + diam + "\r\nT=" + t +
         "\r\nH=" + t + "\r\nD=" + d + "\r\nS=1000\r\nF=100\r\nG=81\r\nR=3\r\nZ=" + z +
         "\r\nQ=\r\nOFF=\r\n定義=1\r\n";
}

class Trycut : public ::testing::Test {
 protected:
  Trycut() {
    folder.WriteCp932("TALVORIN.ini", "[trycut]\r\nexeFile=/opt/trycut/bin/trycut\r\n");
    folder.WriteCp932("NcProcess.key", kKeyFile);
    folder.Write("FANUC.CTL", "; FANUC\r\nCONTROL = FANUC\r\n");
    folder.Write("OSP.CTL", "; OSP\r\nCONTROL = OSP\r\n");
    WriteDb(Machine(), Box(), Process(1, "ドリル", "6.8", "3", "", "-15"));
    t.ctx.dbPath = folder.File("db/P.dat");
  }

  std::string Machine(const std::string& device = "FANUC", const std::string& startY = "StartY=0.\r\n") {
    return "[machine]\r\nControlDevice=" + device + "\r\nncpath=" + folder.File("ncdata") +
           "\r\nncfile=O0012.NC\r\ntrycutpath=" + folder.File("trycut") +
           "\r\ntrycutfile=O0012\r\nStartX=0.\r\n" + startY + "StartZ=50.\r\n";
  }
  static std::string Box() {
    return "[trycut]\r\nXmax=100\r\nXmin=0\r\nYmax=50\r\nYmin=0\r\nZmax=0\r\nZmin=-20\r\n";
  }
  void WriteDb(const std::string& machine, const std::string& box, const std::string& processes) {
    folder.WriteCp932("db/P.dat", machine + box + processes);
    folder.Write("trycut/.keep", "");
  }

  std::string File(const std::string& ext) const { return folder.Read("trycut/O0012." + ext); }
  std::string Box0() const { return t.reporter.boxes.empty() ? "" : t.reporter.boxes[0].first; }

  TestFolder folder;
  test::TestContext t{folder};
};

TEST_F(Trycut, FourFilesOfTheDefaultsAndTheStart) {
  ASSERT_EQ(TrycutMain(t.ctx), 0) << Box0();
  EXPECT_EQ(File("bat"),
            "@echo off\r\n"
            "\r\n"
            "set EXEFILE=/opt/trycut/bin/trycut\r\n"
            "\r\n"
            "set TRYPATH=%~dp0\r\n"
            "\r\n"
            "set CTLFILE=O0012.CTL\r\n"
            "set TTLFILE=O0012.ttl\r\n"
            "set BOXFILE=O0012.box\r\n"
            "\r\n"
            "set NCDFILE=" +
                folder.File("ncdata") +
                "/O0012.NC\r\n"
                "\r\n"
                "cd /d %TRYPATH%\r\n"
                "\r\n"
                "start %EXEFILE% /x2 /s (0.,0.,50.) /d %BOXFILE% /t %TTLFILE% /c %CTLFILE% %NCDFILE%\r\n");
  EXPECT_EQ(File("CTL"), "; FANUC\r\nCONTROL = FANUC\r\n");  // no process with a D number
  EXPECT_EQ(File("box"), "+BOX(100.000 50.000 0.000 0.000 0.000 -20.000)\r\n");
  EXPECT_EQ(File("ttl"), Cp932("INI = MAGAZINE03\r\n"
                               "MAGAZINE03 = CUTTER/6.80,0,0,6.80,31,0,20,\"ドリル\"\r\n"
                               "             LENGTH/35\r\n"
                               "             PEN/1\r\n"
                               "\r\n"));
  ASSERT_EQ(t.platform.calls.size(), 1u);
  EXPECT_EQ(t.platform.calls[0].what, "open");
  EXPECT_EQ(t.platform.calls[0].target, folder.File("trycut/O0012.bat"));
  EXPECT_EQ(t.platform.calls[0].pauseMs, 100);  // taken by the platform only when TRYCUT really starts
  EXPECT_TRUE(t.reporter.boxes.empty());
  EXPECT_EQ(t.reporter.Lines().front(), "!!! routine name : TrycutMain");
}

TEST_F(Trycut, StartOptionAndAMissingStartY) {
  folder.WriteCp932("TALVORIN.ini", "[trycut]\r\nexeFile=C:/TRYCUT/TRYCUT.EXE\r\nStartOption=/x3\r\n");
  WriteDb(Machine("FANUC", ""), Box(), Process(1, "ドリル", "6.8", "3", "", "-15"));
  ASSERT_EQ(TrycutMain(t.ctx), 0) << Box0();
  std::string bat = File("bat");
  EXPECT_NE(bat.find("set EXEFILE=C:/TRYCUT/TRYCUT.EXE\r\n"), std::string::npos);
  EXPECT_NE(bat.find("start %EXEFILE% /x3 /s (0.,0,50.) /d"), std::string::npos) << bat;
}

TEST_F(Trycut, MemoryLinesOfTheRadiusOffsets) {
  WriteDb(
      Machine("OSP-P300"), Box(),
      Process(1, "センタードリル", "3", "1", "", "-3") + Process(2, "荒取エンドミル", "10", "7", "7", "-12") +
          Process(3, "仕上エンドミル", "12.5", "8", "18", "-12") + Process(4, "リーマ", "8", "9", "9", ""));
  ASSERT_EQ(TrycutMain(t.ctx), 0) << Box0();
  // The OSP template (containment), then one line per process with D and diam.
  EXPECT_EQ(File("CTL"),
            "; OSP\r\nCONTROL = OSP\r\nMEMORY D07 = 5.000\r\nMEMORY D18 = 6.250\r\nMEMORY D09 = 4.000\r\n");
}

TEST_F(Trycut, ToolFileRulesAndPens) {
  std::string processes =
      Process(1, "センタードリル", "3", "1", "", "-3") +    // LENGTH2, never the drill line
      Process(2, "ドリル", "8.5", "2", "", "-22") +         //
      Process(3, "面取カッター", "20", "5", "", "-2") +     //
      Process(4, "並目タップ", "10", "6", "", "-18") +      //
      Process(5, "ボーリングバー", "30", "9", "", "-10") +  // no rule: MAGAZINE and PEN on one line
      Process(6, "リーマ", "8", "10", "", "-15") +          //
      Process(7, "仕上エンドミル", "12", "11", "11", "-7") + Process(8, "ドリル", "5", "12", "", "-9.6");
  WriteDb(Machine(), Box(), processes);
  ASSERT_EQ(TrycutMain(t.ctx), 0) << Box0();
  EXPECT_EQ(File("ttl"), Cp932("INI = MAGAZINE01\r\n"
                               "MAGAZINE01 = CUTTER/3.00,0,0,3.00,31,0,8,\"センタードリル\"\r\n"
                               "             LENGTH2/23,5,10,6\r\n"
                               "             PEN/1\r\n"
                               "MAGAZINE02 = CUTTER/8.50,0,0,8.50,31,0,27,\"ドリル\"\r\n"
                               "             LENGTH/42\r\n"
                               "             PEN/2\r\n"
                               "MAGAZINE05 = CUTTER/20.00,0,0,20.00,45,0,10.00,\"面取カッター\"\r\n"
                               "             LENGTH/32\r\n"
                               "             PEN/3\r\n"
                               "MAGAZINE06 = CUTTER/10.00,0,0,10.00,0,0,23,\"並目タップ\"\r\n"
                               "             LENGTH/38\r\n"
                               "             PEN/4\r\n"
                               "MAGAZINE09 =              PEN/5\r\n"
                               "MAGAZINE10 = CUTTER/8.00,0,0,8.00,0,0,20,\"リーマ\"\r\n"
                               "             LENGTH/35\r\n"
                               "             PEN/6\r\n"
                               "MAGAZINE11 = CUTTER/12.00,0,0,12.00,0,0,12,\"仕上エンドミル\"\r\n"
                               "             LENGTH/27\r\n"
                               "             PEN/7\r\n"
                               "MAGAZINE12 = CUTTER/5.00,0,0,5.00,31,0,15,\"ドリル\"\r\n"
                               "             LENGTH/30\r\n"
                               "             PEN/1\r\n"
                               "\r\n"));
}

TEST_F(Trycut, NoProcessesAndAnUnknownController) {
  WriteDb(Machine("MAZAK"), Box(), "");
  ASSERT_EQ(TrycutMain(t.ctx), 0) << Box0();
  EXPECT_EQ(File("ttl"), "\r\n");
  EXPECT_EQ(File("CTL"), "; FANUC\r\nCONTROL = FANUC\r\n");
  const std::vector<std::string>& lines = t.reporter.Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "制御装置未サポートのためFANUCに設定"), lines.end());
  EXPECT_TRUE(t.reporter.boxes.empty());
}

TEST_F(Trycut, TemplateWithoutItsLastLineEnd) {
  folder.Write("FANUC.CTL", "CONTROL = FANUC");
  WriteDb(Machine(), Box(), Process(1, "仕上エンドミル", "10", "4", "4", "-5"));
  ASSERT_EQ(TrycutMain(t.ctx), 0) << Box0();
  EXPECT_EQ(File("CTL"), "CONTROL = FANUC\r\nMEMORY D04 = 5.000\r\n");
}

TEST_F(Trycut, FailureMessagesStopAtTheFirstFailingFile) {
  // Each case: the settings broken, the one error box expected, and the files that must not exist.
  auto run = [&](const std::string& expected) {
    t.reporter = RecordingReporter();
    t.platform.calls.clear();
    EXPECT_EQ(TrycutMain(t.ctx), -1) << expected;
    ASSERT_EQ(t.reporter.boxes.size(), 1u) << expected;
    EXPECT_EQ(t.reporter.boxes[0].first, expected);
    EXPECT_EQ(t.reporter.boxes[0].second, -1);
    EXPECT_TRUE(t.platform.calls.empty());  // TRYCUT is not started
  };
  auto clear = [&] {
    for (const char* ext : {"bat", "CTL", "box", "ttl"})
      std::remove(folder.File(std::string("trycut/O0012.") + ext).c_str());
  };
  const std::string procs = Process(1, "ドリル", "6.8", "3", "", "-15");

  WriteString(t.ctx.dbPath, "machine", "trycutpath", "");
  run("エラー：[machine] trycutpath= | db フォルダ取得失敗");
  WriteDb(Machine(), Box(), procs);
  WriteString(t.ctx.dbPath, "machine", "trycutfile", "");
  run("エラー：[machine] trycutfile= | db ファイル名取得失敗");

  WriteDb(Machine(), Box(), procs);
  folder.WriteCp932("TALVORIN.ini", "[trycut]\r\n");
  run("エラー：[trycut] exeFile= | db TRYCUTファイル取得失敗");
  folder.WriteCp932("TALVORIN.ini", "[trycut]\r\nexeFile=/opt/trycut/bin/trycut\r\n");

  WriteString(t.ctx.dbPath, "machine", "trycutpath", folder.File("missing"));
  run("エラー：TRYCUT バッチファイルが開けません");
  WriteDb(Machine(), Box(), procs);

  // A missing NC file name leaves the batch file written up to the NC line.
  clear();
  WriteString(t.ctx.dbPath, "machine", "ncfile", "");
  run("エラー：[machine] ncfile= | db NCファイル取得失敗");
  EXPECT_EQ(File("bat"),
            "@echo off\r\n\r\nset EXEFILE=/opt/trycut/bin/trycut\r\n\r\nset TRYPATH=%~dp0\r\n\r\n"
            "set CTLFILE=O0012.CTL\r\nset TTLFILE=O0012.ttl\r\nset BOXFILE=O0012.box\r\n\r\n");
  EXPECT_FALSE(PathExists(folder.File("trycut/O0012.CTL")));
  WriteDb(Machine(), Box(), procs);
  WriteString(t.ctx.dbPath, "machine", "ncpath", "");
  run("エラー：[machine] ncpath= | db NCフォルダ取得失敗");

  WriteDb(Machine(""), Box(), procs);
  run("エラー：[machine] ControlDevice= | db 制御装置取得失敗");

  WriteDb(Machine(), Box(), procs);
  clear();
  std::remove(folder.File("FANUC.CTL").c_str());
  run("エラー：CTLファイルのコピー失敗");
  EXPECT_FALSE(PathExists(folder.File("trycut/O0012.box")));
  folder.Write("FANUC.CTL", "; FANUC\r\n");

  WriteString(t.ctx.dbPath, "trycut", "Zmax", "");
  run("エラー：[trycut] Zmax= 最大材料値取得失敗");
  EXPECT_FALSE(PathExists(folder.File("trycut/O0012.ttl")));
  WriteDb(Machine(), Box(), procs);
  WriteString(t.ctx.dbPath, "trycut", "Ymin", "");
  run("エラー：[trycut] Ymin= 最小材料値取得失敗");
  WriteDb(Machine(), Box(), procs);

  // The platform cannot open the batch file.
  t.platform.startResult = false;
  t.reporter = RecordingReporter();
  EXPECT_EQ(TrycutMain(t.ctx), -1);
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].first, "エラー：TRYCUTの実行に失敗");
}

TEST_F(Trycut, RelativeFoldersLieInTheProgramFolder) {
  // The shipped examples store "trycut" and "ncdata": the files go to the program folder's "trycut"
  // and the batch file names the NC file by its full path.
  WriteDb(
      "[machine]\r\nControlDevice=FANUC\r\nncpath=ncdata\r\nncfile=O0012.NC\r\ntrycutpath=trycut\r\n"
      "trycutfile=O0012\r\nStartX=0.\r\nStartY=0.\r\nStartZ=50.\r\n",
      Box(), Process(1, "ドリル", "6.8", "3", "", "-15"));
  ASSERT_EQ(TrycutMain(t.ctx), 0) << Box0();
  EXPECT_NE(File("bat").find("set NCDFILE=" + folder.File("ncdata/O0012.NC") + "\r\n"), std::string::npos);
  EXPECT_EQ(t.platform.calls.at(0).target, folder.File("trycut/O0012.bat"));
}

TEST_F(Trycut, ReRunOpensTheWrittenBatchFile) {
  // Without a batch file the re-run fails; nothing is written.
  EXPECT_EQ(reRunTRYCUT(t.ctx), -1);
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].first, "エラー：TRYCUT2000の再実行に失敗しました。");
  EXPECT_FALSE(PathExists(folder.File("trycut/O0012.bat")));
  EXPECT_TRUE(t.platform.calls.empty());

  folder.Write("trycut/O0012.bat", "@echo off\r\n");
  t.reporter = RecordingReporter();
  EXPECT_EQ(reRunTRYCUT(t.ctx), 0);
  EXPECT_EQ(folder.Read("trycut/O0012.bat"), "@echo off\r\n");  // not rewritten
  ASSERT_EQ(t.platform.calls.size(), 1u);
  EXPECT_EQ(t.platform.calls[0].what, "open");
  EXPECT_EQ(t.platform.calls[0].target, folder.File("trycut/O0012.bat"));
}

}  // namespace
}  // namespace talvorin
