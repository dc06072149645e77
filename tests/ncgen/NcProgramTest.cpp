// The program and its frame: whole programs for FANUC and OSP worked out from the rules, the tool
// change, the user lines, the approach and retract blocks, the machine settings and their failures,
// what a failed run leaves on disk, and what runs after a successful one.
#include <filesystem>

#include "NcTestSupport.h"
#include "store/Profile.h"

namespace talvorin::test {
namespace {

const ProcessFields kDrill81 = {"ドリル", "6.8", "3", "3", "", "1200", "120", "81", "3", "-15", "", "", "1"};

std::string DrillGroup(int group = 1) {
  return HoleSectionText(group, "ドリル穴 [DRILL]", {"6.8", "15", "0"},
                         {"X0=10.", "Y0=20.", "X1=30.", "Y1=20."});
}

using NcProgram = NcTest;

TEST_F(NcProgram, FanucExampleIsWrittenLineForLine) {
  Project(DrillGroup() + ProcessSectionText(1, kDrill81));
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  const std::string expected = Program({
      "%",
      "O0001",
      "N1",
      "(DRILL)",
      "T03",
      "M06",
      "G90 G00 G54 X0. Y0.",
      "G43 H03 Z50.",
      "S1200 M03",
      "M08",
      "G98 G81 X10. Y20. R3. Z-15. F120",
      "X30. Y20.",
      "G80",
      "G00 Z50.",
      "X0. Y0.",
      "M09",
      "M05",
  });
  EXPECT_EQ(NcFile(), expected);
  EXPECT_EQ(CheckNcProgram(NcFile()), std::vector<std::string>{});
  EXPECT_TRUE(Listed("!!! routine name : MakeFanucNcdata"));
  EXPECT_TRUE(Listed("... ＮＣファイル " + NcPath()));
  EXPECT_TRUE(Errors().empty());
}

TEST_F(NcProgram, OspVariantDiffersInTheApproachBlockOnly) {
  Project(DrillGroup() + ProcessSectionText(1, kDrill81), {"ControlDevice=OSP", "CoordinateSystem=G15H01"});
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  EXPECT_EQ(NcFile(), Program({
                          "%",
                          "O0001",
                          "N1",
                          "(DRILL)",
                          "T03",
                          "M06",
                          "G15H01",
                          "G90 G00 X0. Y0.",
                          "G56 H03 Z50.",
                          "S1200 M03",
                          "M08",
                          "G71 Z50. M53",
                          "G98 G81 X10. Y20. R3. Z-15. F120",
                          "X30. Y20.",
                          "G80",
                          "G00 Z50.",
                          "X0. Y0.",
                          "M09",
                          "M05",
                      }));
  EXPECT_TRUE(Listed("!!! routine name : MakeOSPNcdata"));
  EXPECT_EQ(CheckNcProgram(NcFile()), std::vector<std::string>{});
}

TEST_F(NcProgram, UserLinesAndToolChangeLinesFollowTheControllersPrefix) {
  Table(
      "[StartLine]\nfanuc0=G90 G17 G40 G49 G80\nfanuc1=G21\nosp0=G90 G17 G40 G80\n"
      "[EndLine]\nfanuc0=G91 G28 Z0.\nfanuc1=M30\nfanuc2=%\nosp0=G30 P1\nosp1=M02\n"
      "[toolchang]\nfanuc0=M09\nfanuc1=G91 G28 Z0.\nOSP0=G30 P1\n");
  ProcessFields second = kDrill81;
  second.T = "4";
  second.H = "4";
  Project(DrillGroup() + ProcessSectionText(1, kDrill81) + ProcessSectionText(2, second));
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  const std::vector<std::string> body = {
      "G98 G81 X10. Y20. R3. Z-15. F120", "X30. Y20.", "G80", "G00 Z50.", "X0. Y0.", "M09", "M05"};
  std::vector<std::string> expected = {
      "%",   "O0001", "G90 G17 G40 G49 G80", "G21",          "N1",        "(DRILL)", "M09", "G91 G28 Z0.",
      "T03", "M06",   "G90 G00 G54 X0. Y0.", "G43 H03 Z50.", "S1200 M03", "M08"};
  expected.insert(expected.end(), body.begin(), body.end());
  for (const char* l : {"N2", "(DRILL)", "M09", "G91 G28 Z0.", "T04", "M06", "G90 G00 G54 X0. Y0.",
                        "G43 H04 Z50.", "S1200 M03", "M08"})
    expected.push_back(l);
  expected.insert(expected.end(), body.begin(), body.end());
  for (const char* l : {"G91 G28 Z0.", "M30", "%"})
    expected.push_back(l);
  EXPECT_EQ(NcFile(), Program(expected));
  EXPECT_EQ(CheckNcProgram(NcFile()), std::vector<std::string>{});

  // The same project on OSP takes the "osp" lines and the "OSP" tool-change lines.
  Project(DrillGroup() + ProcessSectionText(1, kDrill81), {"ControlDevice=OSP", "CoordinateSystem=G15H01"});
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  EXPECT_EQ(NcFile(), Program({"%",
                               "O0001",
                               "G90 G17 G40 G80",
                               "N1",
                               "(DRILL)",
                               "G30 P1",
                               "T03",
                               "M06",
                               "G15H01",
                               "G90 G00 X0. Y0.",
                               "G56 H03 Z50.",
                               "S1200 M03",
                               "M08",
                               "G71 Z50. M53",
                               "G98 G81 X10. Y20. R3. Z-15. F120",
                               "X30. Y20.",
                               "G80",
                               "G00 Z50.",
                               "X0. Y0.",
                               "M09",
                               "M05",
                               "G30 P1",
                               "M02"}));
}

TEST_F(NcProgram, ProjectWithoutProcessesIsTheFrameOnly) {
  Table("[StartLine]\nfanuc0=G90 G17\n[EndLine]\nfanuc0=M30\nfanuc1=%\n");
  Project(DrillGroup(), {"onumber=12"});
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  EXPECT_EQ(NcFile(), Program({"%", "O0012", "G90 G17", "M30", "%"}));
}

TEST_F(NcProgram, SecondProcessOnTheSameToolChangesNoTool) {
  ProcessFields chamfer = {"ドリル", "6.8", "3", "3", "", "900", "80", "82", "2", "-1.5", "", "", "1"};
  Project(DrillGroup() + ProcessSectionText(1, kDrill81) + ProcessSectionText(2, chamfer));
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  EXPECT_EQ(NcFile(), Program({
                          "%",
                          "O0001",
                          "N1",
                          "(DRILL)",
                          "T03",
                          "M06",
                          "G90 G00 G54 X0. Y0.",
                          "G43 H03 Z50.",
                          "S1200 M03",
                          "M08",
                          "G98 G81 X10. Y20. R3. Z-15. F120",
                          "X30. Y20.",
                          "G80",
                          "G00 Z50.",
                          "X0. Y0.",
                          "M09",
                          "M05",
                          "N2",
                          "(DRILL)",
                          "G90 G00 G54 X0. Y0.",
                          "G43 H03 Z50.",
                          "S900 M03",
                          "M08",
                          "G98 G82 X10. Y20. R2. Z-1.5 F80",
                          "X30. Y20.",
                          "G80",
                          "G00 Z50.",
                          "X0. Y0.",
                          "M09",
                          "M05",
                      }));
}

TEST_F(NcProgram, FifteenProcessesEndAtN15AndASixteenthSectionIsNotRead) {
  std::string sections = HoleSectionText(1, "ドリル穴 [DRILL]", {"3", "1"}, {"X0=5.", "Y0=5."});
  ProcessFields centre = {"センタードリル", "3", "1", "1", "", "2000", "100", "81", "2", "-1", "", "", "1"};
  for (int n = 1; n <= 16; ++n)
    sections += ProcessSectionText(n, centre);
  Project(sections);
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  std::vector<std::string> expected = {"%", "O0001"};
  for (int n = 1; n <= 15; ++n) {
    expected.push_back("N" + std::to_string(n));
    expected.push_back("(CENTER DRILL)");
    if (n == 1) {
      expected.push_back("T01");
      expected.push_back("M06");
    }
    for (const char* l : {"G90 G00 G54 X0. Y0.", "G43 H01 Z50.", "S2000 M03", "M08",
                          "G98 G81 X5. Y5. R2. Z-1. F100", "G80", "G00 Z50.", "X0. Y0.", "M09", "M05"})
      expected.push_back(l);
  }
  EXPECT_EQ(NcFile(), Program(expected));
}

TEST_F(NcProgram, MillingCodeOnADrilledHoleWritesHeaderAndApproachOnly) {
  ProcessFields mill = {"エンドミル", "10", "24", "24", "24", "800", "100", "41", "2", "-5", "5", "0", "1"};
  Project(DrillGroup() + ProcessSectionText(1, mill));
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  EXPECT_EQ(NcFile(), Program({"%", "O0001", "N1", "(END MILL)", "T24", "M06", "G90 G00 G54 X0. Y0.",
                               "G43 H24 Z50.", "S800 M03", "M08"}));
}

TEST_F(NcProgram, RigidTappingOnFanucAndPlainSpindleStartOnOsp) {
  Table("[tap]\nRigidTap=1\nRotationFeed=0\n");
  ProcessFields tap = {"並目タップ", "8", "19", "19", "", "400", "500", "84", "5", "-16", "", "", "1"};
  std::string group = HoleSectionText(1, "タップ穴 [NTAP]", {"8", "16", "1.25"}, {"X0=50.", "Y0=30."});
  Project(group + ProcessSectionText(1, tap));
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  EXPECT_EQ(NcFile(), Program({"%", "O0001", "N1", "(TAP)", "T19", "M06", "G90 G00 G54 X0. Y0.",
                               "G43 H19 Z50.", "S400 M29", "M08", "G98 G84 X50. Y30. R5. Z-16. F500", "G80",
                               "G00 Z50.", "X0. Y0.", "M09", "M05"}));

  Project(group + ProcessSectionText(1, tap), {"ControlDevice=OSP", "CoordinateSystem=G15H02"});
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  EXPECT_EQ(NcFile(),
            Program({"%", "O0001", "N1", "(TAP)", "T19", "M06", "G15H02", "G90 G00 X0. Y0.", "G56 H19 Z50.",
                     "S400 M03", "M08", "G71 Z50. M53", "G98 G84 X50. Y30. R5. Z-16. F500", "G80", "G00 Z50.",
                     "X0. Y0.", "M09", "M05"}));

  // Rigid tapping is a tapping mode: a drilling cycle on FANUC still starts with M03.
  Project(DrillGroup() + ProcessSectionText(1, kDrill81));
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  EXPECT_NE(NcFile().find("S1200 M03\r\n"), std::string::npos);
}

TEST_F(NcProgram, BackReverseLinesAfterEveryDrillingRetract) {
  Project(DrillGroup() + ProcessSectionText(1, kDrill81));
  const std::vector<std::string> head = {"%",
                                         "O0001",
                                         "N1",
                                         "(DRILL)",
                                         "T03",
                                         "M06",
                                         "G90 G00 G54 X0. Y0.",
                                         "G43 H03 Z50.",
                                         "S1200 M03",
                                         "M08",
                                         "G98 G81 X10. Y20. R3. Z-15. F120",
                                         "X30. Y20.",
                                         "G80",
                                         "G00 Z50.",
                                         "X0. Y0.",
                                         "M09",
                                         "M05"};
  // Lines without a spindle stop get one after them.
  Table("[backreverse]\nbackreverse=1\nncdata0=M04\nncdata1=G04 X1.\n");
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  std::vector<std::string> expected = head;
  for (const char* l : {"M04", "G04 X1.", "M05"})
    expected.push_back(l);
  EXPECT_EQ(NcFile(), Program(expected));

  // Lines that stop the spindle themselves get none.
  Table("[backreverse]\nbackreverse=1\nncdata0=M04\nncdata1=G04 X1. M05\n");
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  expected = head;
  for (const char* l : {"M04", "G04 X1. M05"})
    expected.push_back(l);
  EXPECT_EQ(NcFile(), Program(expected));

  // The switch off, or on without lines: the retract block alone.
  for (const char* table :
       {"[backreverse]\nbackreverse=0\nncdata0=M04\n", "[backreverse]\nbackreverse=1\n"}) {
    Table(table);
    ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
    EXPECT_EQ(NcFile(), Program(head)) << table;
  }
}

TEST_F(NcProgram, StartPositionInKeepPointFormAndProgramNumberDefault) {
  Project(DrillGroup() + ProcessSectionText(1, kDrill81), {"onumber=", "StartX=-12.3456", "StartY=7.5"});
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  std::string nc = NcFile();
  EXPECT_EQ(nc.substr(0, 10), "%\r\nO0001\r\n");
  EXPECT_NE(nc.find("\r\nG90 G00 G54 X-12.346 Y7.5\r\n"), std::string::npos);
  EXPECT_NE(nc.find("\r\nG00 Z50.\r\nX-12.346 Y7.5\r\nM09\r\n"), std::string::npos);
}

TEST_F(NcProgram, CoordinateTextWithAPointGoesIntoTheApproachLine) {
  Project(DrillGroup() + ProcessSectionText(1, kDrill81), {"CoordinateSystem=G59.1", "StartX=0", "StartY=0"});
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  EXPECT_NE(NcFile().find("\r\nG90 G00 G59.1 X0. Y0.\r\n"), std::string::npos);
}

TEST_F(NcProgram, ControllerIsChosenByContainment) {
  Project(DrillGroup() + ProcessSectionText(1, kDrill81), {"ControlDevice=FANUC-0i"});
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  EXPECT_NE(NcFile().find("G43 H03 Z50."), std::string::npos);

  Project(DrillGroup() + ProcessSectionText(1, kDrill81),
          {"ControlDevice=OSP-P300", "CoordinateSystem=G15H01"});
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  EXPECT_NE(NcFile().find("G56 H03 Z50."), std::string::npos);

  std::filesystem::remove(NcPath());
  Project(DrillGroup() + ProcessSectionText(1, kDrill81), {"ControlDevice=HEIDENHAIN"});
  EXPECT_EQ(CreateNcProgram(ctx(), {}), -1);
  Project(DrillGroup() + ProcessSectionText(1, kDrill81), {"ControlDevice="});
  EXPECT_EQ(CreateNcProgram(ctx(), {}), -1);
  EXPECT_EQ(Errors(), (std::vector<std::string>{"エラー：サポートされてない制御装置です",
                                                "エラー：[machine] ControlDevice= 制御装置取得失敗"}));
  EXPECT_FALSE(std::filesystem::exists(NcPath()));
}

TEST_F(NcProgram, MissingMachineSettingsStopBeforeAnyFileIsMade) {
  struct Case {
    const char* removed;
    const char* message;
  };
  const Case cases[] = {
      {"ncpath=", "エラー：[machine] ncpath= | db NCフォルダ取得失敗"},
      {"ncfile=", "エラー：[machine] ncfile= | db NCファイル取得失敗"},
      {"CoordinateSystem=", "エラー：[machine] CoordinateSystem= | db 座標系取得失敗"},
      {"StartX=", "エラー：[machine] StartX= | db スタート座標取得失敗"},
      {"StartY=", "エラー：[machine] StartY= | db スタート座標取得失敗"},
      {"StartZ=", "エラー：[machine] StartZ= | db スタート座標取得失敗"},
      {"ncfile=../O0001.NC", "エラー：[machine] ncfile=../O0001.NC ＮＣファイル名が正しくありません"},
      // The coordinate text goes verbatim into the program: only NC words pass.
      {"CoordinateSystem=Gnan", "エラー：[machine] CoordinateSystem=Gnan 座標系がＮＣワードではありません"},
      {"CoordinateSystem=G54;M30",
       "エラー：[machine] CoordinateSystem=G54;M30 座標系がＮＣワードではありません"},
      {"CoordinateSystem=G54.1.2",
       "エラー：[machine] CoordinateSystem=G54.1.2 座標系がＮＣワードではありません"},
  };
  for (const Case& c : cases) {
    t->reporter.boxes.clear();
    Project(DrillGroup() + ProcessSectionText(1, kDrill81), {c.removed});
    EXPECT_EQ(MakeFanucNcdata(ctx()), -1) << c.removed;
    EXPECT_EQ(Errors(), std::vector<std::string>{c.message});
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder.File("ncdata")));
  EXPECT_FALSE(std::filesystem::exists(folder.File("O0001.NC")));
}

TEST_F(NcProgram, RelativeNcFolderLiesInTheProgramFolder) {
  Project(DrillGroup() + ProcessSectionText(1, kDrill81), {"ncpath=ncdata"});
  ASSERT_EQ(CreateNcProgram(ctx(), {}), 0);
  EXPECT_TRUE(Listed("... ＮＣファイル " + folder.File("ncdata/O0001.NC")));
  EXPECT_NE(NcFile().find("G98 G81"), std::string::npos);
}

TEST_F(NcProgram, NcFileThatCannotBeCreated) {
  const std::string missing = folder.File("nowhere");
  Project(DrillGroup() + ProcessSectionText(1, kDrill81), {"ncpath=" + missing});
  EXPECT_EQ(CreateNcProgram(ctx(), {}), -1);
  EXPECT_EQ(Errors(),
            std::vector<std::string>{"エラー：ＮＣファイル " + missing + "/O0001.NC が開けません。"});
}

TEST_F(NcProgram, FailedRunLeavesTheEarlierProgramAndNoPartOfTheNewOne) {
  folder.Write("ncdata/O0001.NC", "%\r\nO0001\r\nEARLIER\r\n");
  // Process 2 machines a hole group without a kind.
  ProcessFields broken = kDrill81;
  broken.definition = "2";
  Project(DrillGroup() + "[hole2]\nvariable0=5\n\n" + ProcessSectionText(1, kDrill81) +
          ProcessSectionText(2, broken));
  int followed = 0;
  NcFollowUps hooks{[&](Context&) { return ++followed, 0; }, [&](Context&) { return ++followed, 0; }};
  EXPECT_EQ(CreateNcProgram(ctx(), hooks), -1);
  EXPECT_EQ(followed, 0);
  EXPECT_EQ(Errors(), std::vector<std::string>{"エラー：加工命令取り出し失敗"});
  EXPECT_TRUE(Listed("... ＮＣファイル " + NcPath() + " は作成していません"));
  EXPECT_EQ(folder.Read("ncdata/O0001.NC"), "%\r\nO0001\r\nEARLIER\r\n");
  std::size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder.File("ncdata"))) {
    (void)e;
    ++files;
  }
  EXPECT_EQ(files, 1u);

  // Without an earlier program nothing is left at all.
  std::filesystem::remove(NcPath());
  EXPECT_EQ(CreateNcProgram(ctx(), hooks), -1);
  EXPECT_TRUE(std::filesystem::is_empty(folder.File("ncdata")));
}

TEST_F(NcProgram, KeyFileWithoutAnEntryStopsTheProgram) {
  folder.WriteCp932(
      "NcProcess.key",
      "[NcProcess]\nkey0=tool\nkey1=diam\nkey2=T\nkey3=H\nkey4=D\nkey5=S\nkey6=F\nkey8=R\nkey9=Z\n"
      "key10=Q\nkey11=OFF\nkey12=定義\n");
  Project(DrillGroup() + ProcessSectionText(1, kDrill81));
  EXPECT_EQ(CreateNcProgram(ctx(), {}), -1);
  EXPECT_EQ(Errors(), std::vector<std::string>{"エラー：[NcProcess] key7= | 工程保存キー取得失敗"});
  EXPECT_FALSE(std::filesystem::exists(NcPath()));
}

TEST_F(NcProgram, FollowUpsRunOnlyAfterASuccessfulProgramInOrder) {
  Project(DrillGroup() + ProcessSectionText(1, kDrill81));
  std::vector<std::string> calls;
  int timeResult = 0, trycutResult = 0;
  NcFollowUps hooks{[&](Context&) {
                      // The estimate reads the finished file.
                      calls.push_back(std::filesystem::exists(NcPath()) ? "time after file" : "time");
                      return timeResult;
                    },
                    [&](Context&) {
                      calls.push_back("trycut");
                      return trycutResult;
                    }};
  EXPECT_EQ(CreateNcProgram(ctx(), hooks), 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"time after file", "trycut"}));

  // The estimate's failure does not count; the hand-off's does.
  calls.clear();
  timeResult = -1;
  EXPECT_EQ(CreateNcProgram(ctx(), hooks), 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"time after file", "trycut"}));
  calls.clear();
  timeResult = 0;
  trycutResult = -1;
  EXPECT_EQ(CreateNcProgram(ctx(), hooks), -1);
  EXPECT_EQ(calls, (std::vector<std::string>{"time after file", "trycut"}));
  EXPECT_NE(NcFile().find("G98 G81"), std::string::npos);

  // A failed generator runs neither.
  calls.clear();
  Project(DrillGroup() + ProcessSectionText(1, kDrill81), {"StartZ="});
  EXPECT_EQ(CreateNcProgram(ctx(), hooks), -1);
  EXPECT_TRUE(calls.empty());
}

TEST_F(NcProgram, ToolCommentOfTheFirstMatchingEntryLetterCaseIgnored) {
  folder.WriteCp932(
      "defineTool.tbl",
      "[TOOLLIST]\nindex=3\nTOOLLIST0=Drill\nTOOLE0=DRL\nTOOLLIST1=Tap\nTOOLLIST2=DRILL\nTOOLE2=SECOND\n"
      "TOOLLIST3=リーマ\nTOOLE3=REAMER H7\n");
  struct Case {
    const char* tool;
    std::string lines;
  };
  const Case cases[] = {
      {"DRILL", Program({"N4", "(DRL)"})},
      {"tap", Program({"N4"})},  // found, but without a comment
      {"リーマ", Program({"N4", "(REAMER H7)"})},
      {"ENDMILL", Program({"N4"})},
  };
  for (const Case& c : cases) {
    StringSink sink;
    WriteProcessHeader(ctx(), sink, 4, c.tool);
    EXPECT_EQ(sink.text, c.lines) << c.tool;
  }
}

TEST_F(NcProgram, BodySelectionByCodeKindAndTool) {
  struct Case {
    double g;
    const char* kind;
    const char* tool;
    NcBodyRoutine expected;
  };
  const Case cases[] = {
      {81, "DRILL", "センタードリル", HoleCycle81},
      {82, "COUNTERBORE", "エンドミル", CounterboreCycle82},
      {82, "counterbore", "荒取エンドミル", CounterboreCycle82},
      {82, "COUNTERBORE", "面取カッター", HoleCycle82},
      {82, "DRILL", "エンドミル", HoleCycle82},
      {83, "BIGHOLE", "ドリル", HoleCycle83},
      {84, "NTAP", "並目タップ", HoleCycle84},
      {41, "CBLONGHOLE", "仕上エンドミル", CounterboreLongHoleMill},
      {41, "LongHole", "仕上エンドミル", LongHoleMill},
      {41, "BIGHOLE", "荒取エンドミル", BigHoleMill},
      {41, "UGROOVE", "荒取エンドミル", UgrooveFRMill},
      {41, "DRILL", "エンドミル", nullptr},
      {3, "COUNTERBORE", "面取カッター", GetCounterboreChamferMill},
      {3, "BIGHOLE", "面取カッター", BigHoleChamferMill},
      {3, "LONGHOLE", "面取カッター", nullptr},
      {85, "DRILL", "ドリル", nullptr},
      {80, "DRILL", "ドリル", nullptr},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SelectBodyRoutine(c.g, c.kind, c.tool), c.expected) << c.g << " " << c.kind << " " << c.tool;
}

TEST_F(NcProgram, StringSinkAndFileHoldTheSameText) {
  Project(DrillGroup() + ProcessSectionText(1, kDrill81));
  MachineData machine;
  ASSERT_EQ(GetMachinedata(ctx(), machine), 0);
  StringSink sink;
  ASSERT_EQ(WriteNcProgram(ctx(), kFanucDialect, machine, sink), 0);
  ASSERT_EQ(MakeFanucNcdata(ctx()), 0);
  EXPECT_EQ(folder.Read("ncdata/O0001.NC"), Cp932(sink.text));
}

}  // namespace
}  // namespace talvorin::test
