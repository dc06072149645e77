// The dependent parameters derived when parameter 0 has been entered. Drill point P(d) = d/2 tan 31°:
// P(10) = 3.0043, P(9) = 2.7039, P(6.8) = 2.0429, P(6.6) = 1.9828, P(9.8) = 2.9442, P(3.3) = 0.9914.
#include <cstdio>

#include "HoleTestSupport.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

using test::HoleTest;
using Fields = std::array<std::string, 10>;

class Derivation : public HoleTest {
 protected:
  // Chooses the kind's label as the selector shows it, enters parameter 0 and leaves the field.
  int Derive(const char* label, const std::string& first) {
    form.kind = label;
    EXPECT_EQ(ShowKindCaptions(t.ctx, form, GetKindWord(label)), 0);
    form.params = preset;
    form.params[0] = first;
    return SetHoleInformation(t.ctx, form);
  }
  std::vector<std::string> ListedErrors() const {
    std::vector<std::string> errors;
    for (const std::string& l : t.reporter.Lines())
      if (l.starts_with("エラー") || l.find("警告") != std::string::npos) errors.push_back(l);
    return errors;
  }

  ShapeForm form;
  Fields preset{"", "a", "b", "c", "d", "e", "f", "g", "h", "i"};  // what the fields held before
};

TEST_F(Derivation, DrillDepthThroughThePlate) {
  // t = 12: P(d) + 12 + 2 with one decimal.
  EXPECT_EQ(Derive("ドリル穴 [DRILL]", "10"), 0);
  EXPECT_EQ(form.params, (Fields{"10", "17.0", "b", "c", "d", "e", "f", "g", "h", "i"}));
  EXPECT_EQ(Derive("ドリル穴 [DRILL]", "6.8"), 0);
  EXPECT_EQ(form.params[1], "16.0");
  EXPECT_EQ(Derive("ドリル穴 [DRILL]", "5"), 0);
  EXPECT_EQ(form.params[1], "15.5");  // 1.5021 + 14
  EXPECT_EQ(t.reporter.Lines().front(), "!!! routine name : SetHoleInformation");
  EXPECT_TRUE(t.reporter.boxes.empty());
}

TEST_F(Derivation, TapFromTheTableWithItsLimitsAndFallbacks) {
  SetThickness("8.");
  folder.WriteCp932("NTAP.tbl", "[M10]\r\ndepth=20\r\npitch=1.5\r\n");
  // Depth 20 is cut to 0.75 x 10 + 8 = 15.5; pilot 10 - 1.5; pilot depth min(30 + P(10), P(10) + 10).
  EXPECT_EQ(Derive("タップ穴 [NTAP]", "10"), 0);
  EXPECT_EQ(form.params, (Fields{"10", "15.5", "1.5", "8.5", "13", "0", "f", "g", "h", "i"}));
  EXPECT_EQ(ListedErrors(), (std::vector<std::string>{"エラー：[M10] pilothole= | 下穴取得失敗",
                                                      "エラー：[M10] pilotdepth= | 下穴深さ取得失敗"}));
  EXPECT_TRUE(t.reporter.boxes.empty());
}

TEST_F(Derivation, TapDepthFallbackAndTableValuesInAThickPlate) {
  SetThickness("30.");
  folder.WriteCp932("NTAP.tbl", "[M10]\r\npitch=1.5\r\npilothole=8.6\r\npilotdepth=30\r\nchamfer=1\r\n");
  // No depth: 2.5 x 10 = 25, below 0.75 x 10 + 30; the pilot depth 30 is below P(10) + 32.
  EXPECT_EQ(Derive("タップ穴 [NTAP]", "10.0"), 0);
  EXPECT_EQ(form.params, (Fields{"10", "25", "1.5", "8.6", "30", "1", "f", "g", "h", "i"}));
  EXPECT_EQ(ListedErrors(), std::vector<std::string>{"エラー：[M10] depth= | タップ深さ取得失敗"});
}

TEST_F(Derivation, ANominalDiameterLooksUpItsWholePart) {
  SetThickness("8.");
  folder.WriteCp932("NTAP.tbl",
                    "[M3]\r\ndepth=6\r\npitch=0.5\r\npilothole=2.5\r\npilotdepth=8.5\r\nchamfer=0.3\r\n");
  EXPECT_EQ(Derive("タップ穴 [NTAP]", "3.5"), 0);
  EXPECT_EQ(form.params, (Fields{"3.5", "6", "0.5", "2.5", "8.5", "0.3", "f", "g", "h", "i"}));

  folder.WriteCp932("reamer.tbl", "[M3]\r\npilothole=3.3\r\nchamfer=0.2\r\n");
  // Reaming depth t + d = 11.5; pilot depth P(3.3) + 8 + 2 = 10.99.
  EXPECT_EQ(Derive("リーマ穴 [REAMER]", "3.5"), 0);
  EXPECT_EQ(form.params, (Fields{"3.5", "11.5", "3.3", "11", "0.2", "e", "f", "g", "h", "i"}));
  EXPECT_TRUE(ListedErrors().empty());
}

TEST_F(Derivation, TapWithoutPitchStopsAndShowsWhatItHas) {
  SetThickness("8.");
  folder.WriteCp932("NTAP.tbl", "[M10]\r\ndepth=20\r\n");
  EXPECT_EQ(Derive("タップ穴 [NTAP]", "10"), -1);
  EXPECT_EQ(form.params, (Fields{"10", "15.5", "0", "0", "0", "0", "f", "g", "h", "i"}));
  EXPECT_EQ(ListedErrors(), std::vector<std::string>{"エラー：[M10] pitch= | ピッチ取得失敗"});
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].second, -1);
}

TEST_F(Derivation, ReamerWithoutTableEntry) {
  SetThickness("8.");
  // Pilot 10 - 0.2; reaming depth 8 + 10; pilot depth P(9.8) + 10 = 12.94.
  EXPECT_EQ(Derive("リーマ穴 [REAMER]", "10"), 0);
  EXPECT_EQ(form.params[2], "9.7");  // the shipped H7 table
  folder.WriteCp932("reamer.tbl", "[M12]\r\npilothole=11.7\r\n");
  EXPECT_EQ(Derive("リーマ穴 [REAMER]", "10"), 0);
  EXPECT_EQ(form.params, (Fields{"10", "18", "9.8", "12.9", "0", "e", "f", "g", "h", "i"}));
  EXPECT_EQ(ListedErrors(), std::vector<std::string>{"エラー：[M10] pilothole= | 下穴取得失敗"});
  EXPECT_TRUE(t.reporter.boxes.empty());
}

TEST_F(Derivation, CounterboreOfTheBoltHole) {
  // t = 12, shipped table: D9 is the M8 bolt hole, D6.6 the M6 one.
  EXPECT_EQ(Derive("ザグリ穴 [COUNTERBORE]", "9"), 0);
  EXPECT_EQ(form.params, (Fields{"9", "16.7", "14", "8.6", "d", "e", "f", "g", "h", "i"}));
  EXPECT_EQ(Derive("ザグリ穴 [COUNTERBORE]", "6.60"), 0);
  EXPECT_EQ(form.params, (Fields{"6.6", "16", "11", "6.5", "d", "e", "f", "g", "h", "i"}));
  EXPECT_EQ(Derive("ザグリ穴 [COUNTERBORE]", "11"), 0);
  EXPECT_EQ(form.params, (Fields{"11", "17.3", "17.5", "10.8", "d", "e", "f", "g", "h", "i"}));
  EXPECT_TRUE(t.reporter.boxes.empty());
}

TEST_F(Derivation, CounterboreFailures) {
  EXPECT_EQ(Derive("ザグリ穴 [COUNTERBORE]", "7"), -1);
  EXPECT_EQ(LastLine(), "エラー：[D7] counterbore= | ザグリ径取得失敗");
  EXPECT_EQ(form.params, (Fields{"7", "a", "b", "c", "d", "e", "f", "g", "h", "i"}));

  folder.WriteCp932("counterbore.tbl", "[D7]\r\ncounterbore=12\r\n");
  EXPECT_EQ(Derive("ザグリ穴 [COUNTERBORE]", "7"), -1);
  EXPECT_EQ(LastLine(), "エラー：[D7] depth= | ザグリ深さ取得失敗");

  std::remove(folder.File("counterbore.tbl").c_str());
  EXPECT_EQ(Derive("ザグリ穴 [COUNTERBORE]", "7"), -1);
  EXPECT_EQ(LastLine(), "エラー：ザグリテーブル " + folder.File("counterbore.tbl") + " がありません。");
  EXPECT_EQ(t.reporter.boxes.size(), 3u);
}

TEST_F(Derivation, LongHoleDepthPilotAndEndMills) {
  // Shipped tables, t = 12: depth 14., pilot 9.5, end mill of width 10.
  EXPECT_EQ(Derive("長穴 [LONGHOLE]", "10"), 0);
  EXPECT_EQ(form.params, (Fields{"10", "a", "14.", "c", "d", "e", "9.5", "g", "8", "8"}));

  SetThickness("8.");
  folder.WriteCp932("ProcessTools.ini", "[longhole]\r\nlonghole8=6\r\n");
  EXPECT_EQ(Derive("長穴 [LONGHOLE]", "10.4"), 0);
  EXPECT_EQ(form.params, (Fields{"10.4", "a", "10.", "c", "d", "e", "9.5", "g", "6", "6"}));

  folder.WriteCp932("ProcessTools.ini", "[longhole]\r\nmindiameter=9\r\nlonghole8=6\r\n");
  EXPECT_EQ(Derive("長穴 [LONGHOLE]", "10.4"), -1);
  EXPECT_EQ(LastLine(), "エラー：加工工具径の取得失敗");
  EXPECT_EQ(form.params, (Fields{"10.4", "a", "10.", "c", "d", "e", "9.5", "g", "h", "i"}));
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
}

TEST_F(Derivation, CounterboredLongHoleTakesTheCounterboreOfItsWidth) {
  EXPECT_EQ(Derive("ザグリ長穴 [CBLONGHOLE]", "9"), 0);
  EXPECT_EQ(form.params, (Fields{"9", "a", "14.", "c", "14", "8.6", "8.5", "g", "8", "8"}));
  // No counterbore for width 8: fields 4 and 5 stay, without a message.
  EXPECT_EQ(Derive("ザグリ長穴 [CBLONGHOLE]", "8"), 0);
  EXPECT_EQ(form.params, (Fields{"8", "a", "14.", "c", "d", "e", "7.5", "g", "6", "6"}));
  EXPECT_TRUE(ListedErrors().empty());
}

TEST_F(Derivation, UGrooveDepthAndEndMills) {
  EXPECT_EQ(Derive("Ｕ溝 [UGROOVE]", "12"), 0);
  EXPECT_EQ(form.params, (Fields{"12", "a", "14.", "c", "d", "e", "f", "g", "10", "10"}));
}

TEST_F(Derivation, BigHoleWarnsForToolsNotSmallerThanTheHole) {
  SetThickness("8.");
  preset = {"", "", "", "", "", "", "12", "25", "20", "22"};
  EXPECT_EQ(Derive("大穴 [BIGHOLE]", "20"), 0);
  EXPECT_EQ(form.params, (Fields{"20", "10.", "", "", "", "", "12", "25", "20", "22"}));
  EXPECT_EQ(ListedErrors(),
            (std::vector<std::string>{"[8] 警告：加工穴(20.00)より工具径(20.0)のが大きいです",
                                      "[9] 警告：加工穴(20.00)より工具径(22.0)のが大きいです"}));
  ASSERT_EQ(t.reporter.boxes.size(), 2u);
  EXPECT_EQ(t.reporter.boxes[0].second, 3);
}

TEST_F(Derivation, BigHoleFindsItsToolsByCaption) {
  form.kind = "大穴 [BIGHOLE]";
  form.captions = {"穴径", "深さ", "-", "荒取工具径 (mm)", "", "仕上代", "-", "-", "-", "-"};
  form.params = {"20.5", "", "", "25", "30", "30", "", "", "40", ""};
  EXPECT_EQ(SetHoleInformation(t.ctx, form), 0);
  // Field 3 is the rough end mill (parameter 8); field 4 has no caption, field 8 no tool caption.
  EXPECT_EQ(ListedErrors(),
            std::vector<std::string>{"[8] 警告：加工穴(20.50)より工具径(25.0)のが大きいです"});
  EXPECT_EQ(form.params[1], "14.");
}

TEST_F(Derivation, NothingToDerive) {
  // No kind: a list line only.
  EXPECT_EQ(SetHoleInformation(t.ctx, form), 0);
  EXPECT_EQ(t.reporter.Lines(), (std::vector<std::string>{"!!! routine name : SetHoleInformation",
                                                          "エラー：加工命令の取り出し失敗"}));
  // No parameter 0: nothing at all.
  form.kind = "ドリル穴 [DRILL]";
  form.params[1] = "x";
  EXPECT_EQ(SetHoleInformation(t.ctx, form), 0);
  EXPECT_EQ(form.params[1], "x");
  // Only upper-case kind words are derived.
  EXPECT_EQ(Derive("ドリル穴 [drill]", "10"), 0);
  EXPECT_EQ(form.params[1], "a");
  EXPECT_TRUE(t.reporter.boxes.empty());
}

TEST_F(Derivation, ThicknessIsNeeded) {
  folder.Write("db/TEST.dat", "[material]\r\nZ=\r\n");
  EXPECT_EQ(Derive("ドリル穴 [DRILL]", "10"), -1);
  EXPECT_EQ(LastLine(), "エラー：[material] Z= | db 材料寸法（厚み）読込失敗");
  EXPECT_EQ(form.params[1], "a");
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
}

TEST_F(HoleTest, ProcessToolDiameterSearchesDownToTheLowerBound) {
  folder.WriteCp932(
      "ProcessTools.ini",
      "[longhole]\r\nlonghole8=6\r\nlonghole10=0\r\n[ugroove]\r\nmindiameter=3\r\nugroove2=1.5\r\n"
      "[small]\r\nsmall2=1.5\r\n");
  double d = 0;
  EXPECT_EQ(GetProcessToolDiameter(t.ctx, "longhole", 10.4, d), 0);
  EXPECT_EQ(d, 6);
  // The default lower bound is 2.
  EXPECT_EQ(GetProcessToolDiameter(t.ctx, "small", 3.9, d), 0);
  EXPECT_EQ(d, 1.5);
  EXPECT_TRUE(t.reporter.boxes.empty());
  EXPECT_EQ(GetProcessToolDiameter(t.ctx, "ugroove", 3.9, d), -1);
  EXPECT_EQ(GetProcessToolDiameter(t.ctx, "longhole", 7.9, d), -1);
  EXPECT_EQ(LastLine(), "エラー：加工工具径の取得失敗");
  EXPECT_EQ(t.reporter.boxes.size(), 2u);
  // An absurd width is searched from a bounded start and does not walk a billion keys.
  EXPECT_EQ(GetProcessToolDiameter(t.ctx, "longhole", 1e12, d), 0);
  EXPECT_EQ(d, 6);
}

}  // namespace
}  // namespace talvorin
