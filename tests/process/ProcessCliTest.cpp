// talvorin-cli "plan" and "processes" as black boxes on a copy of the shipped program folder: two
// plates made with "new" and "hole" hold one group of each hole kind; their planned processes must
// take every tool number from the shipped magazine and every condition from the shipped tables.
#include <gtest/gtest.h>

#include <map>

#include "store/Numbers.h"
#include "store/Profile.h"
#include "support/CliRun.h"
#include "support/TestFolder.h"

namespace talvorin::test {
namespace {

using Texts = std::vector<std::string>;

class ProcessCli : public ::testing::Test {
 protected:
  ProcessCli() { CopyProgramFolder(folder); }

  CliResult Run(std::vector<std::string> args) {
    std::vector<std::string> all{TALVORIN_CLI, "--folder", folder.path(), "--quiet"};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram(all);
  }
  void Ok(std::vector<std::string> args) {
    CliResult r = Run(args);
    ASSERT_EQ(r.status, 0) << args[0] << " " << args[1] << "\n" << r.err;
  }

  // PLATE-A: drill with chamfer, M6 tap, H7 reamer 10, M6 counterbore with edge chamfer (15 rows).
  // PLATE-B: slot, counterbored slot, U-groove, big hole with chamfer (15 rows). SS400, 20 thick.
  void MakePlates() {
    for (const char* name : {"PLATE-A", "PLATE-B"})
      Ok({"new", name, "--size", "200,150,20", "--material", "SS400", "--controller", "FANUC", "--coord",
          "G54"});
    Ok({"hole", "PLATE-A", "--group", "1", "--kind", "DRILL", "--set", "0=10", "--set", "2=0.5", "--at",
        "20,20"});
    Ok({"hole", "PLATE-A", "--group", "2", "--kind", "NTAP", "--set", "0=6", "--at", "40,20"});
    Ok({"hole", "PLATE-A", "--group", "3", "--kind", "REAMER", "--set", "0=10", "--at", "60,20"});
    Ok({"hole", "PLATE-A", "--group", "4", "--kind", "COUNTERBORE", "--set", "0=6.6", "--set", "4=0.5",
        "--at", "80,20"});
    Ok({"hole", "PLATE-B", "--group", "1", "--kind", "LONGHOLE", "--set", "0=10", "--set", "1=30", "--at",
        "50,50"});
    Ok({"hole", "PLATE-B", "--group", "2", "--kind", "CBLONGHOLE", "--set", "0=9", "--set", "3=90", "--at",
        "150,50"});
    Ok({"hole", "PLATE-B", "--group", "3", "--kind", "UGROOVE", "--set", "0=10", "--set", "1=90", "--at",
        "100,150"});
    // The pilot drill of the default big hole (20) has no pocket in the shipped magazine; 10 has.
    Ok({"hole", "PLATE-B", "--group", "4", "--kind", "BIGHOLE", "--set", "0=40", "--set", "2=1", "--set",
        "6=10", "--at", "100,75"});
  }

  std::string Db(const std::string& plate) const { return folder.File("db/" + plate + ".dat"); }
  std::string Key(const std::string& plate, int n, const char* key) const {
    return ReadString(Db(plate), Sprintf("ncproc%d", n), key, 32);
  }

  // Every record of a plate checked against the shipped magazine and condition tables; the chamfer
  // rows' lookup diameters (worked out by hand) by record number. The record names in order.
  Texts CheckRecords(const std::string& plate, const std::map<int, double>& chamferLookups) {
    static const std::map<std::string, std::string> kinds = {
        {"センタードリル", "cdrill"},   {"ドリル", "drill"},           {"面取カッター", "chamfer"},
        {"並目タップ", "ntap"},         {"リーマ", "reamer"},          {"エンドミル", "counterbore"},
        {"荒取エンドミル", "endmillR"}, {"仕上エンドミル", "endmillF"}};
    Texts names;
    for (int n = 1; n <= 15; ++n) {
      std::string tool = Key(plate, n, "tool");
      if (tool.empty()) break;
      names.push_back(tool);
      SCOPED_TRACE(plate + " " + Sprintf("ncproc%d ", n) + tool);
      for (const char* key : {"diam", "T", "H", "S", "F", "G", "R", "Z", "定義"}) {
        EXPECT_NE(Key(plate, n, key), "") << key;
        EXPECT_NE(Key(plate, n, key), "999") << key;
      }
      // The pocket of the tool number holds this tool.
      std::string pocket = "T" + Key(plate, n, "T");
      std::string magazine = folder.File("ToolMagazine.tbl");
      EXPECT_EQ(ReadString(magazine, pocket, "toolname", 32), tool);
      EXPECT_EQ(AtoF(ReadString(magazine, pocket, "diameter", 8)), AtoF(Key(plate, n, "diam")));
      EXPECT_EQ(Key(plate, n, "H"), Key(plate, n, "T"));
      bool milled = Key(plate, n, "G") == "41";
      EXPECT_EQ(Key(plate, n, "D"), milled ? Key(plate, n, "T") : "");
      // The conditions of the tool's kind, material and diameter.
      std::string kind = kinds.at(tool);
      double diameter = kind == "cdrill"    ? 3.0
                        : kind == "chamfer" ? chamferLookups.at(n)
                                            : AtoF(Key(plate, n, "diam"));
      std::string table = folder.File("table/" + kind + "SS400.tbl");
      std::string section = Sprintf("D%.1f", diameter);
      for (const char* key : {"S", "F"})
        EXPECT_EQ(AtoF(Key(plate, n, key)), AtoF(ReadString(table, section, key, 16))) << key;
      if (kind == "cdrill") {
        EXPECT_EQ(AtoF(Key(plate, n, "Z")), AtoF(ReadString(table, section, "Z", 16)));
      }
      if (kind == "drill") {
        EXPECT_EQ(AtoF(Key(plate, n, "Q")), AtoF(ReadString(table, section, "Q", 16)));
      }
    }
    return names;
  }

  // The rows of a printed table, each split at " | " with the padding removed.
  static std::vector<Texts> Table(const std::string& out) {
    std::vector<Texts> rows;
    std::size_t from = 0;
    while (from < out.size()) {
      std::size_t end = out.find('\n', from);
      std::string line = out.substr(from, end - from);
      from = end == std::string::npos ? out.size() : end + 1;
      Texts cells;
      std::size_t at = 0;
      for (;;) {
        std::size_t bar = line.find('|', at);
        std::string cell = line.substr(at, bar == std::string::npos ? std::string::npos : bar - at);
        cell.erase(0, cell.find_first_not_of(' '));
        cell.erase(cell.find_last_not_of(' ') + 1);
        cells.push_back(cell);
        if (bar == std::string::npos) break;
        at = bar + 1;
      }
      rows.push_back(cells);
    }
    return rows;
  }

  TestFolder folder;
};

TEST_F(ProcessCli, PlansOfTheShippedInstallationUseItsToolsAndTables) {
  MakePlates();
  CliResult a = Run({"plan", "PLATE-A"});
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.err, "");
  CliResult b = Run({"plan", "PLATE-B"});
  EXPECT_EQ(b.status, 0);
  EXPECT_EQ(b.err, "");

  // Chamfers: drill 10 on D10.0, M6 tap on D6.0, reamer 10 on D10.0, counterbore 11 on D11.0; the
  // big hole's chamfer 1 on 2 x (1 + 2) = D6.0.
  EXPECT_EQ(CheckRecords("PLATE-A", {{3, 10}, {6, 6}, {10, 10}, {15, 11}}),
            (Texts{"センタードリル", "ドリル", "面取カッター", "センタードリル", "ドリル", "面取カッター",
                   "並目タップ", "センタードリル", "ドリル", "面取カッター", "リーマ", "センタードリル",
                   "ドリル", "エンドミル", "面取カッター"}));
  EXPECT_EQ(CheckRecords("PLATE-B", {{15, 6}}),
            (Texts{"センタードリル", "ドリル", "荒取エンドミル", "仕上エンドミル", "センタードリル", "ドリル",
                   "荒取エンドミル", "仕上エンドミル", "荒取エンドミル", "仕上エンドミル", "センタードリル",
                   "ドリル", "荒取エンドミル", "仕上エンドミル", "面取カッター"}));

  // The printed table is the screen: a heading and fifteen rows equal to the records (drop-point
  // numbers aside).
  std::vector<Texts> table = Table(a.out);
  ASSERT_EQ(table.size(), 16u);
  EXPECT_EQ(table[0],
            (Texts{"工程", "工具名", "径", "T", "H", "D", "S", "F", "G", "R", "Z", "Q", "OFF", "定義"}));
  const char* keys[] = {"tool", "diam", "T", "H", "D", "S", "F", "G", "R", "Z", "Q", "OFF", "定義"};
  for (int n = 1; n <= 15; ++n) {
    ASSERT_EQ(table[n].size(), 14u);
    EXPECT_EQ(table[n][0], Sprintf("[%02d]", n));
    for (std::size_t i = 0; i < 13; ++i)
      EXPECT_EQ(AtoF(table[n][i + 1]), AtoF(Key("PLATE-A", n, keys[i]))) << n << " " << keys[i];
    EXPECT_EQ(table[n][1], Key("PLATE-A", n, "tool"));
  }
}

TEST_F(ProcessCli, EditingInitialisingAndBadUsage) {
  MakePlates();
  ASSERT_EQ(Run({"plan", "PLATE-A"}).status, 0);

  // A free number for the drill: saved, H kept.
  CliResult r = Run({"processes", "PLATE-A", "--set", "2:T=30"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Key("PLATE-A", 2, "T") + "/" + Key("PLATE-A", 2, "H"), "30/14");
  EXPECT_EQ(Table(r.out)[2][3], "30");

  // The centre drill's number for the 5 mm drill is refused and nothing is saved.
  std::string before = folder.Read("db/PLATE-A.dat");
  r = Run({"processes", "PLATE-A", "--set", "5:T=1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：工程[1] で工具番号 1 が既に使われてます\n");
  EXPECT_EQ(folder.Read("db/PLATE-A.dat"), before);

  // A name that the tool list does not offer.
  r = Run({"processes", "PLATE-A", "--set", "1:工具名=ボーリングバー"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(folder.Read("db/PLATE-A.dat"), before);

  for (const Texts& bad :
       {Texts{"processes", "PLATE-A", "--set", "31:T=1"}, Texts{"processes", "PLATE-A", "--set", "1:X=1"},
        Texts{"processes", "PLATE-A", "--set", "1T=1"}, Texts{"plan"}, Texts{"plan", "A", "B"}})
    EXPECT_EQ(Run(bad).status, 2) << bad.back();
  r = Run({"plan", "NONE"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：プロジェクトＤＢ " + folder.File("db/NONE.dat") + " がありません\n");

  // "--init": every record removed, an empty screen.
  r = Run({"processes", "PLATE-A", "--init"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Table(r.out).size(), 1u);
  for (int n = 1; n <= 15; ++n)
    EXPECT_EQ(Key("PLATE-A", n, "tool"), "");
}

}  // namespace
}  // namespace talvorin::test
