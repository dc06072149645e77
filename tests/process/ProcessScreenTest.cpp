// The process screen: its name lists, the three opening modes, and "【NCデータ作成】" with a recording
// NC generator in place of the NC program.
#include "ProcessTestSupport.h"

namespace talvorin::test {
namespace {

using Texts = std::vector<std::string>;

class ProcessScreen : public ProcessTest {
 protected:
  // Records each NC creation with the processes stored at that moment.
  NcProgramCreator Recorder(int result = 0) {
    return [this, result](Context& ctx) {
      calls.push_back(ReadString(ctx.dbPath, "ncproc1", "tool", 32) + "/" +
                      ReadString(ctx.dbPath, "ncproc1", "Z", 32));
      return result;
    };
  }
  std::vector<std::string> calls;
};

TEST_F(ProcessScreen, NameListsOfRowsOneToFifteenStopAtTheFirstMissingEntry) {
  folder.WriteCp932(
      "defineTool.tbl",
      "[TOOLLIST]\r\nindex=5\r\nTOOLLIST0=センタードリル\r\nTOOLLIST1=ドリル\r\nTOOLLIST3=リーマ\r\n");
  FillProcessNames(t.ctx, form);
  EXPECT_EQ(form.Row(1).names, (Texts{"センタードリル", "ドリル"}));
  EXPECT_EQ(form.Row(15).names, (Texts{"センタードリル", "ドリル"}));
  EXPECT_TRUE(form.Row(16).names.empty());
}

TEST_F(ProcessScreen, CreatingNcDataSavesOrReadsFirst) {
  // Creation mode: the rows shown are saved, then the program is made from them.
  Type(1, "ドリル|10|2|2||800|120|73|3|-15.|3.||1");
  EXPECT_EQ(CreateNcData(t.ctx, form, Recorder()), 0);
  EXPECT_EQ(calls, (Texts{"ドリル/-15"}));
  EXPECT_EQ(form.mode, ProcessMode::kCreation);

  // NC-creation mode: the stored records replace the screen's edits; the mode becomes creation, so
  // the next creation saves the screen. The generator's result is the command's.
  form.Row(1).fields[kProcZ] = "-20.";
  form.mode = ProcessMode::kNcCreation;
  EXPECT_EQ(CreateNcData(t.ctx, form, Recorder(-1)), -1);
  EXPECT_EQ(form.Row(1).fields[kProcZ], "-15");
  EXPECT_EQ(form.mode, ProcessMode::kCreation);
  form.Row(1).fields[kProcZ] = "-20.";
  EXPECT_EQ(CreateNcData(t.ctx, form, Recorder()), 0);
  EXPECT_EQ(calls, (Texts{"ドリル/-15", "ドリル/-15", "ドリル/-20"}));

  // A named row that cannot be saved keeps the program from being made; the complete rows are saved.
  Type(1, "リーマ|10|6|6||250|50|85|3|-30.|||1");
  Type(2, "ドリル|10|2|2||800|120|||-15.|3.||1");
  EXPECT_EQ(CreateNcData(t.ctx, form, Recorder()), -1);
  EXPECT_EQ(calls.size(), 3u);
  EXPECT_EQ(ReadString(t.ctx.dbPath, "ncproc1", "tool", 32), "リーマ");
  EXPECT_EQ(Boxes(), (Texts{"エラー：テーブルＧコードの設定がありません"}));
  EXPECT_EQ(t.reporter.Lines().back(), "エラー：保存できない工程があるためＮＣデータを作成しません");
}

TEST_F(ProcessScreen, OpeningModes) {
  SetGroup(1, "ドリル穴 [DRILL]", {"10", "15", "0"});
  int shown = 0;
  auto screen = [&](ProcessMode expected, int expectedOpened) {
    return [&shown, expected, expectedOpened](ProcessForm& f, int opened) {
      ++shown;
      EXPECT_EQ(f.mode, expected);
      EXPECT_EQ(opened, expectedOpened);
      return 7;
    };
  };

  // Creation: generated rows, nothing stored yet.
  ProcessForm shownForm;
  EXPECT_EQ(MakeNcProcess(t.ctx, main, ProcessMode::kCreation, Recorder(),
                          [&](ProcessForm& f, int opened) {
                            shownForm = f;
                            return opened;
                          }),
            0);
  form = shownForm;
  EXPECT_EQ(Rows(),
            (Texts{"センタードリル|3|1|1||1500|90|81|3|-1.5|||1", "ドリル|10|2|2||800|120|73|3|-15.|3.||1"}));
  EXPECT_EQ(Stored(1), "[ncproc1]\r\n\r\n");
  ASSERT_EQ(SaveNcProcess(t.ctx, form), 0);

  // Reading: the stored rows, no NC program. NC creation: read and made at once.
  EXPECT_EQ(MakeNcProcess(t.ctx, main, ProcessMode::kReading, Recorder(), screen(ProcessMode::kReading, 0)),
            7);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(
      MakeNcProcess(t.ctx, main, ProcessMode::kNcCreation, Recorder(), screen(ProcessMode::kCreation, 0)), 7);
  EXPECT_EQ(calls, (Texts{"センタードリル/-1.5"}));
  EXPECT_EQ(shown, 2);
}

TEST_F(ProcessScreen, ProjectNotSavedYetIsCreatedFirst) {
  t.ctx.dbPath.clear();
  main.projectName = "PLATE-B";
  main.sizeX = "100";
  main.sizeY = "50";
  main.sizeZ = "12";
  main.controller = "FANUC";
  main.coordinateSystem = "G54";
  main.programNumber = "12";
  bool shown = false;
  auto screen = [&](ProcessForm& f, int opened) {
    shown = true;
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(f.Row(1).names.size(), 8u);
    return 0;
  };
  EXPECT_EQ(MakeNcProcess(t.ctx, main, ProcessMode::kCreation, Recorder(), screen), 0);
  EXPECT_TRUE(shown);
  EXPECT_EQ(t.ctx.dbPath, folder.File("db/PLATE-B.dat"));
  EXPECT_EQ(ReadString(t.ctx.dbPath, "material", "type", 16), "S45C");

  // Without a project name nothing is created and the screen does not open.
  t.ctx.dbPath.clear();
  main.projectName.clear();
  shown = false;
  EXPECT_EQ(MakeNcProcess(t.ctx, main, ProcessMode::kCreation, Recorder(), screen), -1);
  EXPECT_FALSE(shown);
}

}  // namespace
}  // namespace talvorin::test
