// Process generation by hole kind: the complete rows (name|径|T|H|D|S|F|G|R|Z|Q|OFF|定義) worked out by
// hand from the rules and the fixture's tables. Material S45C, plate 20 thick, chamfer cutter 20,
// chamfer extra depth 2; "cycle": centre 81, drill 73, chamfer 82, tap 84, reamer 85, counterbore 82,
// R 3, tap R 7. Tool numbers are the fixture magazine's pockets.
#include "ProcessTestSupport.h"
#include "testing/TestDoubles.h"

namespace talvorin::test {
namespace {

using Texts = std::vector<std::string>;

// Centre drilling of hole group n: D3.0 S1500 F90 Z-1.5 in T1.
std::string Centre(int n) {
  return Sprintf("センタードリル|3|1|1||1500|90|81|3|-1.5|||%d", n);
}

using Generation = ProcessTest;

TEST_F(Generation, DrillWithSmallAndLargeChamfer) {
  // Chamfer 0.5 on 10: lookup D10.0; diameter 2 x 0.5 + 10 + 0.5 = 11.5 -> "12", not above 20;
  // Z -(5 + 0.5). Chamfer 6: 22.5 -> "22" above 20 -> "03", milled on a circle with the tip at the
  // chamfer plus "ChamferPlusDepth" (2): Z -8. No chamfer: no row.
  SetGroup(1, "ドリル穴 [DRILL]", {"10", "15", "0.5"});
  SetGroup(2, "ドリル穴 [DRILL]", {"10", "15", "6"});
  SetGroup(3, "ドリル穴 [drill]", {"8.5", "12.345", "0"});
  // Chamfer 4.75: 9.5 + 10 + 0.5 = 20 is not above the cutter.
  SetGroup(4, "ドリル穴 [DRILL]", {"10", "15", "4.75"});
  EXPECT_EQ(Generate(), 0);
  EXPECT_EQ(
      Rows(),
      (Texts{Centre(1), "ドリル|10|2|2||800|120|73|3|-15.|3.||1", "面取カッター|20|4|4||600|60|82|3|-5.5|||1",
             Centre(2), "ドリル|10|2|2||800|120|73|3|-15.|3.||2", "面取カッター|20|4|4||600|60|03|3|-8.|||2",
             Centre(3), "ドリル|8.5|3|3||950|110|73|3|-12.345|2.5||3", Centre(4),
             "ドリル|10|2|2||800|120|73|3|-15.|3.||4", "面取カッター|20|4|4||600|60|82|3|-9.75|||4"}));
  EXPECT_TRUE(t.reporter.boxes.empty());
  EXPECT_TRUE(HasLine("!!! routine name : SetupStandardChamferProc"));
}

TEST_F(Generation, TapIsAlwaysChamferedAndFeedsByPitchWhenAsked) {
  // M10 x 1.5, tap depth 15, pilot 8.5 to 20, chamfer 0: the tap chamfer is still made, on D10.0:
  // 10.5 -> "10", 径 the larger, 20; Z -(5 + 0) = -5.
  SetGroup(1, "タップ穴 [NTAP]", {"10", "15", "1.5", "8.5", "20", "0"});
  Texts expected{Centre(1), "ドリル|8.5|3|3||950|110|73|3|-20.|2.5||1",
                 "面取カッター|20|4|4||600|60|82|3|-5.|||1", "並目タップ|10|5|5||300|450|84|7|-15.|||1"};
  EXPECT_EQ(Generate(), 0);
  EXPECT_EQ(Rows(), expected);

  // Feed per revolution: the feed is the pitch, keep-point.
  ASSERT_TRUE(WriteString(t.inst.ncTableFile, "tap", "RotationFeed", "1"));
  form = ProcessForm();
  EXPECT_EQ(Generate(), 0);
  expected[3] = "並目タップ|10|5|5||300|1.5|84|7|-15.|||1";
  EXPECT_EQ(Rows(), expected);
}

TEST_F(Generation, Reamer) {
  // H7 10 to 30, pilot 9.7 to 24.9, chamfer 0.3: 11.1 -> "11", 径 20, Z -5.3.
  SetGroup(1, "リーマ穴 [REAMER]", {"10", "30", "9.7", "24.9", "0.3"});
  EXPECT_EQ(Generate(), 0);
  EXPECT_EQ(Rows(),
            (Texts{Centre(1), "ドリル|9.7|7|7||820|115|73|3|-24.9|3.||1",
                   "面取カッター|20|4|4||600|60|82|3|-5.3|||1", "リーマ|10|6|6||250|50|85|3|-30.|||1"}));
}

TEST_F(Generation, CounterboreWithAndWithoutEdgeChamfer) {
  // Bolt hole 11 to 25, counterbore 16 deep 10.8; the edge chamfer 0.5 is on the counterbore:
  // D16.0, 17.5 -> "18", Z -(8 + 0.5).
  SetGroup(1, "ザグリ穴 [COUNTERBORE]", {"11", "25", "16", "10.8", "0"});
  SetGroup(2, "ザグリ穴 [COUNTERBORE]", {"11", "25", "16", "10.8", "0.5"});
  EXPECT_EQ(Generate(), 0);
  EXPECT_EQ(Rows(),
            (Texts{Centre(1), "ドリル|11|12|12||720|115|73|3|-25.|3.||1",
                   "エンドミル|16|11|11||500|50|82|3|-10.8|||1", Centre(2),
                   "ドリル|11|12|12||720|115|73|3|-25.|3.||2", "エンドミル|16|11|11||500|50|82|3|-10.8|||2",
                   "面取カッター|20|4|4||400|40|82|3|-8.5|||2"}));
}

TEST_F(Generation, LongHolesRoughOrFinishByAllowance) {
  // Width 10 through (22 >= 20): pilot 9.5 to P(10) + 22 = 25.004 -> 25.0. Allowance 0.2: rough
  // (step 4, D offset) then finish (step 8). Allowance 0 and 5 deep: both passes finish, drill to 5.
  // A counterbored long hole, its kind word in lower case, gets the same rows.
  SetGroup(1, "長穴 [LONGHOLE]", {"10", "30", "22", "0", "", "", "9.5", "0.2", "8", "8"});
  SetGroup(2, "長穴 [LONGHOLE]", {"10", "30", "5", "0", "", "", "9.5", "0", "8", "8"});
  SetGroup(3, "ザグリ長穴 [cblonghole]", {"10", "30", "22", "0", "16", "10.8", "9.5", "0.2", "8", "8"});
  EXPECT_EQ(Generate(), 0);
  const std::string rough = "荒取エンドミル|8|9|9|9|3000|400|41|2.|-22.|4.|0.2|";
  const std::string finish = "仕上エンドミル|8|10|10|10|3800|350|41|2.|-22.|8.|0.|";
  EXPECT_EQ(Rows(), (Texts{Centre(1), "ドリル|9.5|15|15||840|115|73|3|-25.|3.||1", rough + "1", finish + "1",
                           Centre(2), "ドリル|9.5|15|15||840|115|73|3|-5.|3.||2",
                           "仕上エンドミル|8|10|10|10|3800|350|41|2.|-5.|8.|0.|2",
                           "仕上エンドミル|8|10|10|10|3800|350|41|2.|-5.|8.|0.|2", Centre(3),
                           "ドリル|9.5|15|15||840|115|73|3|-25.|3.||3", rough + "3", finish + "3"}));
}

TEST_F(Generation, BigHoleThroughThePlateAndUgroove) {
  // Big hole 40 through 20 with pilot 12: P(12) + 22 = 25.605 -> 25.6. Circle-cut chamfer 1:
  // lookup 2 x (1 + 2) = D6.0, Z -(1 + 2), G 03.
  SetGroup(1, "大穴 [BIGHOLE]", {"40", "20", "1", "", "", "", "12", "0.2", "16", "16"});
  SetGroup(2, "Ｕ溝 [UGROOVE]", {"10", "0", "12", "", "", "", "", "0.2", "8", "8"});
  EXPECT_EQ(Generate(), 0);
  EXPECT_EQ(Rows(), (Texts{Centre(1), "ドリル|12|8|8||650|100|73|3|-25.6|3.5||1",
                           "荒取エンドミル|16|13|13|13|1500|300|41|2.|-20.|8.|0.2|1",
                           "仕上エンドミル|16|14|14|14|1900|280|41|2.|-20.|16.|0.|1",
                           "面取カッター|20|4|4||1000|80|03|3|-3.|||1",
                           "荒取エンドミル|8|9|9|9|3000|400|41|2.|-12.|4.|0.2|2",
                           "仕上エンドミル|8|10|10|10|3800|350|41|2.|-12.|8.|0.|2"}));
  EXPECT_TRUE(HasLine("!!! routine name : SetupCircleCutChamferProc"));
}

TEST_F(Generation, MissingConditionsKeepSomeRowsAndLeaveOthersOut) {
  // No table for SS400: centre drilling, drilling and counterboring are built without their values;
  // both kinds of chamfer on a hole edge, tapping and reaming are left out.
  main.material = "SS400";
  SetGroup(1, "ドリル穴 [DRILL]", {"10", "15", "0.5"});
  SetGroup(2, "タップ穴 [NTAP]", {"10", "15", "1.5", "8.5", "20", "0"});
  SetGroup(3, "リーマ穴 [REAMER]", {"10", "30", "9.7", "24.9", "0.3"});
  SetGroup(4, "ザグリ穴 [COUNTERBORE]", {"11", "25", "16", "10.8", "0.5"});
  EXPECT_EQ(Generate(), 0);
  auto centre = [](int n) { return Sprintf("センタードリル|3|1|1||||81|3||||%d", n); };
  EXPECT_EQ(Rows(),
            (Texts{centre(1), "ドリル|10|2|2||||73|3|-15.|||1", centre(2), "ドリル|8.5|3|3||||73|3|-20.|||2",
                   centre(3), "ドリル|9.7|7|7||||73|3|-24.9|||3", centre(4),
                   "ドリル|11|12|12||||73|3|-25.|||4", "エンドミル|16|11|11||||82|3|-10.8|||4"}));
  // One message per lookup: 3 + 4 + 4 + 4.
  ASSERT_EQ(t.reporter.boxes.size(), 15u);
  EXPECT_EQ(Boxes()[0], "エラー：φ3.00 のセンタードリル加工条件がみつかりません。");
  EXPECT_EQ(Boxes()[6], "エラー：φ10.00 のタップ加工条件がみつかりません。");
  EXPECT_EQ(Boxes()[10], "エラー：φ10.00 のリーマ加工条件がみつかりません。");

  // Milling and the circle-cut chamfer are built without their values too.
  form = ProcessForm();
  folder.Write("db/JOB.dat", EmptyProject("20."));
  SetGroup(1, "長穴 [LONGHOLE]", {"10", "30", "22", "0", "", "", "9.5", "0.2", "8", "8"});
  SetGroup(2, "大穴 [BIGHOLE]", {"40", "20", "1", "", "", "", "12", "0.2", "16", "16"});
  EXPECT_EQ(Generate(), 0);
  EXPECT_EQ(
      Rows(),
      (Texts{centre(1), "ドリル|9.5|15|15||||73|3|-25.|||1", "荒取エンドミル|8|9|9|9|||41|2.|-22.|4.|0.2|1",
             "仕上エンドミル|8|10|10|10|||41|2.|-22.|8.|0.|1", centre(2), "ドリル|12|8|8||||73|3|-25.6|||2",
             "荒取エンドミル|16|13|13|13|||41|2.|-20.|8.|0.2|2",
             "仕上エンドミル|16|14|14|14|||41|2.|-20.|16.|0.|2", "面取カッター|20|4|4||||03|3|-3.|||2"}));
}

TEST_F(Generation, BigHoleTooSmallForItsEndMillsIsRefused) {
  // Ø30 with 16 mm end mills: the rough wall at 15 - 0.2 = 14.8 is not beyond the tool's 16, no lead
  // arc larger than the tool radius fits; planning stops at the hole with its message.
  SetGroup(1, "大穴 [BIGHOLE]", {"30", "20", "1", "", "", "", "12", "0.2", "16", "16"});
  EXPECT_EQ(Generate(), -1);
  EXPECT_EQ(Boxes(), Texts{"エラー：[hole1] 大穴の穴径 30 に対して工具径 16 が大きすぎます"});
  // Ø33 with a 16 mm rough and a 10 mm finishing mill: both walls (16.3, 16.5) exceed their tools.
  form = ProcessForm();
  t.reporter = RecordingReporter();
  SetGroup(1, "大穴 [BIGHOLE]", {"33", "20", "1", "", "", "", "12", "0.2", "16", "10"});
  EXPECT_EQ(Generate(), 0);
  for (const std::string& box : Boxes())
    EXPECT_EQ(box.find("大きすぎます"), std::string::npos) << box;
  EXPECT_EQ(Rows().size(), 5u);  // centre drill, drill, rough, finish, chamfer
}

TEST_F(Generation, SettingsFallBackToTheirDefaults) {
  // Without a "cycle" section and without the chamfer keys: centre 81, drill 83, chamfer 82, tap 84,
  // reamer 81, counterbore 82, R "2", tap R "5"; cutter 20.
  folder.Write("NCformat.tbl", "[NcFormat]\r\nStartZ=50.\r\n");
  folder.WriteCp932("TALVORIN.ini", "[TALVORIN]\r\nMaxToolNumber=15\r\n");
  SetGroup(1, "ドリル穴 [DRILL]", {"10", "15", "0.5"});
  SetGroup(2, "タップ穴 [NTAP]", {"10", "15", "1.5", "8.5", "20", "0"});
  SetGroup(3, "リーマ穴 [REAMER]", {"10", "30", "9.7", "24.9", "0.3"});
  SetGroup(4, "ザグリ穴 [COUNTERBORE]", {"11", "25", "16", "10.8", "0"});
  EXPECT_EQ(Generate(), 0);
  std::vector<std::string> codes;
  for (int n = 1; n <= 14; ++n)
    codes.push_back(form.Row(n).fields[kProcDiameter] + " G" + form.Row(n).fields[kProcG] + " R" +
                    form.Row(n).fields[kProcR]);
  EXPECT_EQ(codes, (Texts{"3 G81 R2", "10 G83 R2", "20 G82 R2", "3 G81 R2", "8.5 G83 R2", "20 G82 R2",
                          "10 G84 R5", "3 G81 R2", "9.7 G83 R2", "20 G82 R2", "10 G81 R2", "3 G81 R2",
                          "11 G83 R2", "16 G82 R2"}));

  // A smaller cutter: the drill's chamfer (12) is milled around ("03" with the cutter's 8); the
  // tap's chamfer (10) names its own diameter and keeps G 82. No pocket holds that cutter.
  folder.WriteCp932("TALVORIN.ini", "[TALVORIN]\r\nMaxToolNumber=15\r\nChamferToolDiameter=8\r\n");
  form = ProcessForm();
  EXPECT_EQ(Generate(), 0);
  EXPECT_EQ(form.Row(3).fields[kProcDiameter] + " G" + form.Row(3).fields[kProcG] + " T" +
                form.Row(3).fields[kProcT],
            "8 G03 T");
  EXPECT_EQ(form.Row(6).fields[kProcDiameter] + " G" + form.Row(6).fields[kProcG] + " T" +
                form.Row(6).fields[kProcT],
            "10 G82 T");
}

TEST_F(Generation, WhatStopsGenerationAndWhatIsSkipped) {
  // Without a material nothing is generated.
  main.material.clear();
  SetGroup(1, "ドリル穴 [DRILL]", {"10", "15", "0"});
  EXPECT_EQ(Generate(), -1);
  EXPECT_EQ(Boxes(), (Texts{"エラー：材質の取得に失敗"}));
  EXPECT_TRUE(Rows().empty());

  // A group without a first parameter and a kind without processes are skipped, each with a warning
  // naming it (their holes would be missing from the program); a label without a kind word stops
  // generation: the rows before stay, without tool numbers.
  main.material = "S45C";
  t.reporter.boxes.clear();
  SetGroup(2, "ドリル穴 [DRILL]", {"0", "15", "0"});
  SetGroup(3, "スポット [SPOT]", {"10"});
  SetGroup(4, "ドリル穴", {"10", "15"});
  SetGroup(5, "ドリル穴 [DRILL]", {"8.5", "15"});
  EXPECT_EQ(Generate(), -1);
  EXPECT_EQ(Boxes(),
            (Texts{"警告：[hole2] DRILL の穴径が 0 のため工程を作成しません",
                   "警告：[hole3] 加工命令 SPOT の工程は作成できません", "エラー：加工命令取り出し失敗"}));
  EXPECT_EQ(Rows(),
            (Texts{"センタードリル|3||||1500|90|81|3|-1.5|||1", "ドリル|10||||800|120|73|3|-15.|3.||1"}));

  // A long hole in a project without thickness stops with the thickness message.
  folder.Write("db/JOB.dat", "[material]\r\ntype=S45C\r\n");
  SetGroup(1, "長穴 [LONGHOLE]", {"10", "30", "22", "0", "", "", "9.5", "0.2", "8", "8"});
  t.reporter.boxes.clear();
  EXPECT_EQ(Generate(), -1);
  EXPECT_EQ(Boxes(), (Texts{"エラー：[material] Z= | db 材料寸法（厚み）読込失敗"}));
  EXPECT_TRUE(Rows().empty());
}

TEST_F(Generation, NamesMissingFromTheToolListAndRowsBeyondTheScreen) {
  // A tool list without "並目タップ": the tapping row has no name and no tool number.
  folder.WriteCp932("defineTool.tbl",
                    "[TOOLLIST]\r\nindex=7\r\nTOOLLIST0=センタードリル\r\nTOOLLIST1=ドリル\r\n"
                    "TOOLLIST2=面取カッター\r\n");
  SetGroup(1, "タップ穴 [NTAP]", {"10", "15", "1.5", "8.5", "20", "0"});
  EXPECT_EQ(Generate(), 0);
  EXPECT_EQ(
      form.Row(4).fields[kProcName] + "|" + form.Row(4).fields[kProcT] + "|" + form.Row(4).fields[kProcS],
      "||300");

  // Six counterbores with chamfers fill 24 rows; rows 16 on have no name list and no tool numbers.
  WriteProcessInstallation(folder);
  for (int n = 1; n <= 6; ++n)
    SetGroup(n, "ザグリ穴 [COUNTERBORE]", {"11", "25", "16", "10.8", "0.5"});
  form = ProcessForm();
  EXPECT_EQ(Generate(), 0);
  EXPECT_EQ(Rows().size(), 24u);
  EXPECT_EQ(form.rowCounter, 25);
  EXPECT_EQ(form.Row(15).fields[kProcName] + " T" + form.Row(15).fields[kProcT], "エンドミル T11");
  EXPECT_EQ(Rows()[15], "|20||||400|40|82|3|-8.5|||4");

  // Past the thirtieth row a builder keeps nothing and only counts.
  form.rowCounter = 31;
  EXPECT_EQ(SetEndmillProc(t.ctx, form, "S45C", 8, 10, 0), 0);
  EXPECT_EQ(form.rowCounter, 32);
  EXPECT_EQ(Rows().size(), 24u);
}

}  // namespace
}  // namespace talvorin::test
