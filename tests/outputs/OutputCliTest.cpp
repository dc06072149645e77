// talvorin-cli "trycut", "sheet", "edit", "view" and "transfer" as black boxes on the shipped FANUC
// example after "run": the files each writes, checked for their required structure, what is started
// and the exit status.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "store/Profile.h"
#include "support/CliRun.h"
#include "support/TestFolder.h"

namespace talvorin::test {
namespace {

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
    ++n;
  return n;
}

class OutputCli : public ::testing::Test {
 protected:
  OutputCli() {
    CopyProgramFolder(folder);
    db = folder.File("db/EXAMPLE-FANUC.dat");
    EXPECT_TRUE(WriteString(db, "machine", "ncpath", folder.File("ncdata")));
    EXPECT_TRUE(WriteString(db, "machine", "trycutpath", folder.File("trycut")));
  }
  CliResult Run(std::vector<std::string> args) {
    std::vector<std::string> all{TALVORIN_CLI, "--folder", folder.path()};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram(all);
  }

  TestFolder folder;
  std::string db;
};

TEST_F(OutputCli, TrycutFilesAndSheetOfTheExample) {
  ASSERT_EQ(Run({"--quiet", "run", db}).status, 0);
  CliResult r = Run({"trycut", db});
  ASSERT_EQ(r.status, 0) << r.err;
  // TRYCUT is only named without --open.
  EXPECT_NE(r.out.find("起動省略 (--open で起動): xdg-open " + folder.File("trycut/O1001.bat")),
            std::string::npos)
      << r.out;
  const std::string bat = folder.Read("trycut/O1001.bat");
  EXPECT_TRUE(bat.starts_with("@echo off\r\n\r\nset EXEFILE="));
  EXPECT_NE(bat.find("set NCDFILE=" + folder.File("ncdata") + "/O1001.NC\r\n\r\ncd /d %TRYPATH%\r\n\r\n"),
            std::string::npos);
  EXPECT_NE(
      bat.find("start %EXEFILE% /x2 /s (0.,0.,50.) /d %BOXFILE% /t %TTLFILE% /c %CTLFILE% %NCDFILE%\r\n"),
      std::string::npos);
  EXPECT_EQ(folder.Read("trycut/O1001.box"), "+BOX(200.000 150.000 0.000 0.000 0.000 -20.000)\r\n");
  // The shipped template, then the four end mills' radius offsets (diameters 8, 8, 16, 16).
  const std::string ctl = folder.Read("trycut/O1001.CTL");
  EXPECT_EQ(ctl.substr(0, folder.Read("FANUC.CTL").size()), folder.Read("FANUC.CTL"));
  EXPECT_EQ(ctl.substr(folder.Read("FANUC.CTL").size()),
            "MEMORY D27 = 4.000\r\nMEMORY D28 = 4.000\r\nMEMORY D29 = 8.000\r\nMEMORY D30 = 8.000\r\n");
  // Process 1 is the centre drill T1 (diameter 3, Z -1); 15 processes, pens 1-7, 1-7, 1.
  const std::string ttl = folder.ReadCp932("trycut/O1001.ttl");
  const std::string blanks(13, ' ');
  EXPECT_TRUE(
      ttl.starts_with("INI = MAGAZINE01\r\nMAGAZINE01 = CUTTER/3.00,0,0,3.00,31,0,6,\"センタードリル\"\r\n" +
                      blanks + "LENGTH2/21,5,10,6\r\n" + blanks + "PEN/1\r\nMAGAZINE14 = "))
      << ttl;
  EXPECT_EQ(Count(ttl, "MAGAZINE"), 16u);
  EXPECT_EQ(Count(ttl, blanks + "PEN/1\r\n"), 3u);
  EXPECT_EQ(Count(ttl, blanks + "PEN/7\r\n"), 2u);
  EXPECT_TRUE(ttl.ends_with(blanks + "PEN/1\r\n\r\n"));  // the 15th process, then the empty line

  r = Run({"--quiet", "sheet", db});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, folder.File("db/EXAMPLE-FANUC.html") + "\n");
  const std::string sheet = folder.ReadCp932("db/EXAMPLE-FANUC.html");
  EXPECT_EQ(sheet.find('\r'), std::string::npos);  // LF line ends
  EXPECT_NE(sheet.find("<title>EXAMPLE-FANUC HTML 加工指示書</title>\n"), std::string::npos);
  EXPECT_EQ(Count(sheet, "<tr class=\"title1\">\n"), 2u);
  EXPECT_EQ(Count(sheet, "<tr class=\"line1\">\n"), 8u);  // processes 1, 3, ..., 15
  EXPECT_EQ(Count(sheet, "<tr class=\"line0\">\n"), 7u);
  EXPECT_NE(sheet.find("<tr class=\"line1\">\n<td>ドリル穴 </td>\n<td>センタードリル</td>\n"),
            std::string::npos);
  EXPECT_TRUE(sheet.ends_with("</tr>\n\n</table>\n\n</body>\n</html>\n"));
}

TEST_F(OutputCli, EditorViewerAndDncTransfer) {
  // Before any program: the transfer names the missing calculation first.
  CliResult r = Run({"--quiet", "transfer", db});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：ＮＣ計算が終了していません。\n");

  ASSERT_EQ(Run({"--quiet", "run", db}).status, 0);
  const std::string nc = folder.File("ncdata/O1001.NC");
  r = Run({"edit", db});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("起動省略 (--open で起動): "), std::string::npos);
  EXPECT_NE(r.out.find(" " + nc + "\n"), std::string::npos);

  // DNC, for real without --open: "StopDNC.bat" is run and waited for, then the transfer program gets
  // the file.
  folder.Write("StopDNC.bat", "echo stopped >> \"$(dirname \"$0\")/dnc.log\"\n");
  folder.Write("dncsend", "#!/bin/sh\necho \"$@\" >> \"$(dirname \"$0\")/dnc.log\"\n");
  ASSERT_EQ(chmod(folder.File("dncsend").c_str(), 0755), 0);
  ASSERT_TRUE(WriteString(folder.File("TALVORIN.ini"), "NcdataTransfer", "protocol", "dnc"));
  ASSERT_TRUE(WriteString(folder.File("TALVORIN.ini"), "NcdataTransfer", "DNC", folder.File("dncsend")));
  r = Run({"--quiet", "transfer", db});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string expected = "stopped\n" + nc + "\n";
  for (int k = 0; k < 100 && folder.Read("dnc.log") != expected; ++k)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(folder.Read("dnc.log"), expected);

  EXPECT_EQ(Run({"sheet"}).status, 2);
  EXPECT_EQ(Run({"transfer", folder.File("db/NONE.dat")}).status, 1);
}

}  // namespace
}  // namespace talvorin::test
