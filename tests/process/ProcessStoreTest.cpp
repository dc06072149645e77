// The process store: sections "ncproc<n>" of the project file as saving writes them, reading them
// back, the key file, and initialisation.
#include "ProcessTestSupport.h"

namespace talvorin::test {
namespace {

using Texts = std::vector<std::string>;

class ProcessStore : public ProcessTest {
 protected:
  void TypeFourRows() {
    Type(1, "センタードリル|3|1|1||1500|90|81|3|-1.5|||1");
    Type(2, "ドリル|10|2|2||800|120|73|3|-15.|3.||1");
    Type(3, "面取カッター|20|4|4||600|60|03|2.|-5.5|||1");
    Type(4, "荒取エンドミル|8|9|9|9|3000|400|41|2.|-12.500|4.|0.2|2");
  }
  static std::string Empty(int n) { return Sprintf("[ncproc%d]\r\n\r\n", n); }
};

TEST_F(ProcessStore, SavedRowsAreRenumberedWithoutGapsAndReadBackAsStored) {
  // Four complete rows: "03" and "2." are stored as 3 and 2, -12.500 as -12.5; empty D, Q, OFF empty.
  TypeFourRows();
  EXPECT_EQ(SaveNcProcess(t.ctx, form), 0);
  EXPECT_EQ(Stored(3),
            "[ncproc3]\r\ntool=面取カッター\r\ndiam=20\r\nT=4\r\nH=4\r\nD=\r\nS=600\r\nF=60\r\nG=3\r\nR="
            "2\r\nZ=-5.5\r\n"
            "Q=\r\nOFF=\r\n定義=1\r\n\r\n");
  EXPECT_EQ(
      Stored(4),
      "[ncproc4]\r\ntool=荒取エンドミル\r\ndiam=8\r\nT=9\r\nH=9\r\nD=9\r\nS=3000\r\nF=400\r\nG=41\r\nR=2\r\n"
      "Z=-12.5\r\nQ=4\r\nOFF=0.2\r\n定義=2\r\n\r\n");
  EXPECT_TRUE(HasLine("+++ 加工工程保存完了"));

  ProcessForm read;
  EXPECT_EQ(ReadNcProcess(t.ctx, read), 0);
  form = read;
  EXPECT_EQ(Rows(), (Texts{"センタードリル|3|1|1||1500|90|81|3|-1.5|||1",
                           "ドリル|10|2|2||800|120|73|3|-15|3||1", "面取カッター|20|4|4||600|60|3|2|-5.5|||1",
                           "荒取エンドミル|8|9|9|9|3000|400|41|2|-12.5|4|0.2|2"}));

  // Row 3 loses its name: row 4 becomes record 3 and the old record 4 is gone.
  form = ProcessForm();
  TypeFourRows();
  form.Row(3).fields[kProcName].clear();
  EXPECT_EQ(SaveNcProcess(t.ctx, form), 0);
  EXPECT_EQ(
      Stored(3),
      "[ncproc3]\r\ntool=荒取エンドミル\r\ndiam=8\r\nT=9\r\nH=9\r\nD=9\r\nS=3000\r\nF=400\r\nG=41\r\nR=2\r\n"
      "Z=-12.5\r\nQ=4\r\nOFF=0.2\r\n定義=2\r\n\r\n");
  EXPECT_EQ(Stored(4), Empty(4));
  EXPECT_TRUE(t.reporter.boxes.empty());

  // Reading replaces rows 1 to 15 entirely; numbers read back with 999 for what is not set.
  form.Row(4).fields[kProcQ] = "99";
  EXPECT_EQ(ReadNcProcess(t.ctx, form), 0);
  EXPECT_EQ(Rows().size(), 3u);
  std::array<double, kProcessColumns> values{};
  values[0] = -7;
  EXPECT_EQ(ReadProcessValues(t.ctx, "ncproc2", values), 0);
  EXPECT_EQ(values,
            (std::array<double, kProcessColumns>{-7, 10, 2, 2, 999, 800, 120, 73, 3, -15, 3, 999, 1}));
}

TEST_F(ProcessStore, IncompleteRowsAreReportedAndSkipped) {
  Type(1, "ドリル|10|2|2||800|120|73|3|-15.|3.||1");
  Type(2, "ドリル|10|2|2||800|120|73||-15.|3.||1");  // no R
  Type(3, "リーマ|10|6|6||250|50|85|3|-30.|||1");
  Type(4, "リーマ|10|6|6|||50|85||-30.|||1");             // no S and no R: S is named
  Type(5, "リーマ|10| |6||250|50|85|3|-30.|||1");         // a T of blanks is empty
  Type(6, "センタードリル|3|1|1||1500|90|81|3|-1.5|||");  // no hole group
  int skipped = 0;
  EXPECT_EQ(SaveNcProcess(t.ctx, form, skipped), 0);
  EXPECT_EQ(skipped, 4);
  EXPECT_EQ(Boxes(), (Texts{"エラー：Ｒ点の設定がありません", "エラー：主軸の回転数の設定がありません",
                            "エラー：工具番号の設定がありません", "エラー：形状定義の設定がありません"}));
  EXPECT_EQ(ReadString(t.ctx.dbPath, "ncproc1", "tool", 32), "ドリル");
  EXPECT_EQ(ReadString(t.ctx.dbPath, "ncproc2", "tool", 32), "リーマ");
  EXPECT_EQ(Stored(3), Empty(3));

  // Only rows 1 to 15 are saved.
  form = ProcessForm();
  for (int n = 1; n <= 16; ++n)
    Type(n, Sprintf("ドリル|10|2|2||800|120|73|3|-%d.|3.||1", n));
  EXPECT_EQ(SaveNcProcess(t.ctx, form), 0);
  EXPECT_EQ(ReadString(t.ctx.dbPath, "ncproc15", "Z", 32), "-15");
  EXPECT_EQ(ReadString(t.ctx.dbPath, "ncproc16", "tool", 32), "");

  // A refused write stops the save.
  t.ctx.dbPath = folder.File("gone/JOB.dat");
  EXPECT_EQ(SaveNcProcess(t.ctx, form), -1);
  EXPECT_EQ(Boxes().back(), "エラー：[ncproc1] tool=ドリル 工程保存失敗");
}

TEST_F(ProcessStore, KeyFileWithoutIndexSevenStopsEveryAccess) {
  TypeFourRows();
  ASSERT_EQ(SaveNcProcess(t.ctx, form), 0);
  const std::string before = folder.Read("db/JOB.dat");
  std::string keys = kKeyFile;
  keys.erase(keys.find("key7=G\r\n"), 8);
  folder.WriteCp932("NcProcess.key", keys);
  const std::string message = "エラー：[NcProcess] key7= | 工程保存キー取得失敗";

  EXPECT_EQ(SaveNcProcess(t.ctx, form), -1);
  EXPECT_EQ(folder.Read("db/JOB.dat"), before);  // not even the old records were deleted
  ProcessForm read;
  EXPECT_EQ(ReadNcProcess(t.ctx, read), -1);
  std::array<double, kProcessColumns> values{};
  EXPECT_EQ(ReadProcessValues(t.ctx, "ncproc1", values), -1);
  int created = 0;
  NcProgramCreator create = [&](Context&) {
    ++created;
    return 0;
  };
  EXPECT_EQ(CreateNcData(t.ctx, form, create), -1);
  form.mode = ProcessMode::kNcCreation;
  EXPECT_EQ(CreateNcData(t.ctx, form, create), -1);
  EXPECT_EQ(form.mode, ProcessMode::kNcCreation);
  EXPECT_EQ(created, 0);
  EXPECT_EQ(Boxes(), Texts(5, message));
  EXPECT_EQ(folder.Read("db/JOB.dat"), before);
}

TEST_F(ProcessStore, InitialisingEmptiesTheScreenAndOnYesTheStore) {
  for (int n = 1; n <= 16; ++n)
    Type(n, Sprintf("ドリル|10|2|2||800|120|73|3|-%d.|3.||1", n));
  ASSERT_EQ(SaveNcProcess(t.ctx, form), 0);
  const std::string saved = folder.Read("db/JOB.dat");

  // No: the screen's rows 1 to 15 are emptied, the records stay.
  EXPECT_EQ(InitNcProcess(t.ctx, form), 0);
  EXPECT_EQ(t.dialogs.asked, (Texts{"保存してある工程も削除しますか？"}));
  EXPECT_EQ(Rows(), (Texts{"ドリル|10|2|2||800|120|73|3|-16.|3.||1"}));
  EXPECT_EQ(folder.Read("db/JOB.dat"), saved);
  EXPECT_TRUE(HasLine("+++ 加工工程初期化"));

  // Yes: all fifteen records go, their section lines stay.
  t.dialogs.answers.push_back(true);
  EXPECT_EQ(InitNcProcess(t.ctx, form), 0);
  for (int n = 1; n <= 15; ++n)
    EXPECT_EQ(Stored(n), Empty(n));
  EXPECT_TRUE(HasLine("+++ 保存加工工程も初期化"));

  // Reading an empty store leaves the screen empty with the notice only.
  Type(1, "ドリル|10|2|2||800|120|73|3|-1.|3.||1");
  std::size_t lines = t.reporter.Lines().size();
  EXPECT_EQ(ReadNcProcess(t.ctx, form), 0);
  EXPECT_EQ(Rows(), (Texts{"ドリル|10|2|2||800|120|73|3|-16.|3.||1"}));
  EXPECT_EQ(Texts(t.reporter.Lines().begin() + static_cast<long>(lines), t.reporter.Lines().end()),
            (Texts{"!!! routine name : ReadNcProcess", "... 加工工程を読み込み"}));
}

}  // namespace
}  // namespace talvorin::test
