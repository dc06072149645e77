// A small installation for process planning: a program INI, an NC table whose "cycle" section differs
// from the defaults where a machine may differ (drill 73, reamer 85, R 3, tap R 7), the eight tool
// names, a fifteen-pocket magazine, the key file and condition tables for material S45C; and a
// project "db/JOB.dat" 200 x 150 x 20 laid out as a new project file.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "process/Process.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin::test {

inline const char* kCycleSection =
    "[cycle]\r\ncenterdrill=81\r\ndrill=73\r\nchamfer=82\r\ntap=84\r\nreamer=85\r\ncounterbore=82\r\n"
    "RCODE=3\r\nTAPRCODE=7\r\n";

inline const char* kKeyFile =
    "[NcProcess]\r\nkey0=tool\r\nkey1=diam\r\nkey2=T\r\nkey3=H\r\nkey4=D\r\nkey5=S\r\nkey6=F\r\nkey7=G\r\n"
    "key8=R\r\nkey9=Z\r\nkey10=Q\r\nkey11=OFF\r\nkey12=定義\r\n";

inline void WriteProcessInstallation(const TestFolder& folder) {
  folder.WriteCp932("TALVORIN.ini",
                    "[TALVORIN]\r\nMaxToolNumber=15\r\nChamferToolDiameter=20\r\nChamferPlusDepth=2\r\n"
                    "[folder]\r\nfolder0=db\r\n[table]\r\nncformat=NCformat.tbl\r\n"
                    "[extension]\r\ncamdbfile=dat\r\nFANUC=NC\r\n[machine]\r\n左下=0\r\n");
  folder.Write("NCformat.tbl",
               std::string("[NcFormat]\r\nStartZ=50.\r\n") + kCycleSection + "[tap]\r\nRotationFeed=0\r\n");
  folder.WriteCp932(
      "defineTool.tbl",
      "[TOOLLIST]\r\nindex=7\r\nTOOLLIST0=センタードリル\r\nTOOLLIST1=ドリル\r\n"
      "TOOLLIST2=面取カッター\r\nTOOLLIST3=並目タップ\r\nTOOLLIST4=リーマ\r\nTOOLLIST5=エンドミル\r\n"
      "TOOLLIST6=荒取エンドミル\r\nTOOLLIST7=仕上エンドミル\r\n");
  const char* pockets[][2] = {{"センタードリル", "3"},  {"ドリル", "10"},         {"ドリル", "8.5"},
                              {"面取カッター", "20"},   {"並目タップ", "10"},     {"リーマ", "10"},
                              {"ドリル", "9.7"},        {"ドリル", "12"},         {"荒取エンドミル", "8"},
                              {"仕上エンドミル", "8"},  {"エンドミル", "16"},     {"ドリル", "11"},
                              {"荒取エンドミル", "16"}, {"仕上エンドミル", "16"}, {"ドリル", "9.5"}};
  std::string magazine;
  for (int n = 1; n <= 15; ++n)
    magazine +=
        Sprintf("[T%d]\r\ntoolname=%s\r\ndiameter=%s\r\n\r\n", n, pockets[n - 1][0], pockets[n - 1][1]);
  folder.WriteCp932("ToolMagazine.tbl", magazine);
  folder.WriteCp932("NcProcess.key", kKeyFile);
  folder.Write("table/cdrillS45C.tbl", "[D3.0]\r\nS=1500\r\nF=90\r\nZ=-1.5\r\n");
  folder.Write("table/drillS45C.tbl",
               "[D8.5]\r\nS=950\r\nF=110\r\nQ=2.5\r\n[D9.5]\r\nS=840\r\nF=115\r\nQ=3\r\n"
               "[D9.7]\r\nS=820\r\nF=115\r\nQ=3\r\n[D10.0]\r\nS=800\r\nF=120\r\nQ=3\r\n"
               "[D11.0]\r\nS=720\r\nF=115\r\nQ=3\r\n[D12.0]\r\nS=650\r\nF=100\r\nQ=3.5\r\n");
  folder.Write("table/chamferS45C.tbl",
               "[D6.0]\r\nS=1000\r\nF=80\r\n[D10.0]\r\nS=600\r\nF=60\r\n[D16.0]\r\nS=400\r\nF=40\r\n");
  folder.Write("table/ntapS45C.tbl", "[D10.0]\r\nS=300\r\nF=450\r\n");
  folder.Write("table/reamerS45C.tbl", "[D10.0]\r\nS=250\r\nF=50\r\n");
  folder.Write("table/counterboreS45C.tbl", "[D16.0]\r\nS=500\r\nF=50\r\n");
  folder.Write("table/endmillRS45C.tbl", "[D8.0]\r\nS=3000\r\nF=400\r\n[D16.0]\r\nS=1500\r\nF=300\r\n");
  folder.Write("table/endmillFS45C.tbl", "[D8.0]\r\nS=3800\r\nF=350\r\n[D16.0]\r\nS=1900\r\nF=280\r\n");
}

// The material block, the six empty hole groups and the fifteen empty process sections of a new
// project file.
inline std::string EmptyProject(const std::string& thickness) {
  std::string text = "[material]\r\nX=200.\r\nY=150.\r\nZ=" + thickness + "\r\ntype=S45C\r\n\r\n";
  for (int n = 1; n <= 6; ++n)
    text += Sprintf("[hole%d]\r\ncommand=\r\n\r\n", n);
  text += "[ncproc]\r\nindex=\r\n\r\n";
  for (int n = 1; n <= 15; ++n)
    text += Sprintf("[ncproc%d]\r\n\r\n", n);
  return text;
}

class ProcessTest : public ::testing::Test {
 protected:
  ProcessTest() {
    WriteProcessInstallation(folder);
    folder.Write("db/JOB.dat", EmptyProject("20."));
    EXPECT_EQ(SetNcTableFile(t.inst, t.reporter, t.inst.ncTableFile), 0);
    t.ctx.dbPath = folder.File("db/JOB.dat");
    main.material = "S45C";
  }

  // Hole group n: its kind label and parameters 0, 1, ... as typed.
  void SetGroup(int n, const std::string& label, std::initializer_list<const char*> params) {
    std::string section = Sprintf("hole%d", n);
    ASSERT_TRUE(WriteString(t.ctx.dbPath, section, "command", label));
    int i = 0;
    for (const char* p : params)
      ASSERT_TRUE(WriteString(t.ctx.dbPath, section, Sprintf("variable%d", i++), p));
  }

  // The screen as it opens in creation mode.
  int Generate() {
    FillProcessNames(t.ctx, form);
    return StartNcProcess(t.ctx, form, main);
  }

  // Every row that holds anything, its thirteen fields joined by "|".
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (const ProcessRow& row : form.rows) {
      std::string line;
      bool any = false;
      for (std::size_t i = 0; i < row.fields.size(); ++i) {
        line += (i ? "|" : "") + row.fields[i];
        any = any || !row.fields[i].empty();
      }
      if (any) rows.push_back(line);
    }
    return rows;
  }

  // Row n set as a user types it: "name|径|T|H|D|S|F|G|R|Z|Q|OFF|定義".
  void Type(int n, const std::string& fields) {
    ProcessRow& row = form.Row(n);
    std::size_t from = 0;
    for (std::size_t i = 0; i < row.fields.size(); ++i) {
      std::size_t bar = fields.find('|', from);
      row.fields[i] = fields.substr(from, bar == std::string::npos ? std::string::npos : bar - from);
      from = bar == std::string::npos ? fields.size() : bar + 1;
    }
  }

  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& [text, kind] : t.reporter.boxes)
      texts.push_back(text);
    return texts;
  }

  bool HasLine(const std::string& line) const {
    for (const std::string& l : t.reporter.Lines())
      if (l == line) return true;
    return false;
  }

  // Section "ncproc<n>" of the project file as stored, decoded.
  std::string Stored(int n) const {
    std::string text = folder.ReadCp932("db/JOB.dat");
    std::string header = Sprintf("[ncproc%d]\r\n", n);
    std::size_t from = text.find(header);
    if (from == std::string::npos) return "";
    std::size_t to = text.find("\r\n[", from + header.size());
    return text.substr(from, to == std::string::npos ? std::string::npos : to + 2 - from);
  }

  TestFolder folder;
  TestContext t{folder};
  MainForm main;
  ProcessForm form;
};

}  // namespace talvorin::test
