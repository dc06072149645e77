// Condition lookups: the one-decimal section rule, keys per kind, the notices and failure messages.
#include <gtest/gtest.h>

#include "support/TestFolder.h"
#include "tools/Tools.h"

namespace talvorin {
namespace {

using test::TestContext;
using test::TestFolder;

class ConditionLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.WriteCp932("table/drillSS400.tbl",
                      ";;; drill, SS400\r\n"
                      "[D6.5]\r\nS=1220\r\nF=146\r\nQ=3\r\n"
                      "[D7.0]\r\nS=1140\r\nF=137\r\nQ=3.5\r\n"
                      "[D10.0]\r\nS=800\r\nF=128\r\nQ=5\r\n"
                      "[D12.0]\r\nS=660\r\nF=106\r\n");
  }
  std::string Path(const char* name) const { return folder.File(std::string("table/") + name); }

  TestFolder folder;
  TestContext t{folder};
};

TEST_F(ConditionLookup, OnlyTheExactOneDecimalSectionCounts) {
  CuttingCondition v;
  EXPECT_EQ(GetCuttingCondition(t.ctx, "drill", "SS400", 6.8, v), -1);
  EXPECT_EQ(v.s, 999);
  EXPECT_EQ(v.f, 999);
  EXPECT_EQ(v.q, 999);
  EXPECT_EQ(t.reporter.Lines(), (std::vector<std::string>{"... Drill Table File " + Path("drillSS400.tbl"),
                                                          "エラー：φ6.80 の加工条件がみつかりません。"}));
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0],
            std::make_pair(std::string("エラー：φ6.80 の加工条件がみつかりません。"), -1));

  // 10, 10.0, 10.04 and 9.96 all read D10.0.
  for (double d : {10.0, 10.04, 9.96}) {
    CuttingCondition found;
    EXPECT_EQ(GetCuttingCondition(t.ctx, "drill", "SS400", d, found), 1) << d;
    EXPECT_EQ(found.s, 800);
    EXPECT_EQ(found.f, 128);
    EXPECT_EQ(found.q, 5);
    EXPECT_EQ(found.z, 999);  // not a key of drills
  }
  EXPECT_EQ(t.reporter.boxes.size(), 1u);

  // 10.06 is D10.1, which is not there.
  CuttingCondition other;
  EXPECT_EQ(GetCuttingCondition(t.ctx, "drill", "SS400", 10.06, other), -1);
  EXPECT_EQ(t.reporter.Lines().back(), "エラー：φ10.06 の加工条件がみつかりません。");
  EXPECT_EQ(other.s, 999);
}

TEST_F(ConditionLookup, KeysFoundAreDeliveredWhenAnotherIsMissing) {
  CuttingCondition v{1, 2, 3, 4};
  EXPECT_EQ(GetCuttingCondition(t.ctx, "drill", "SS400", 12, v), -1);
  EXPECT_EQ(v.s, 660);
  EXPECT_EQ(v.f, 106);
  EXPECT_EQ(v.q, 4);  // as preset
  EXPECT_EQ(v.z, 3);
  EXPECT_EQ(t.reporter.Lines().back(), "エラー：φ12.00 の加工条件がみつかりません。");

  // The same section read as a chamfer table needs only S and F.
  folder.WriteCp932("table/chamferSS400.tbl", "[D12.0]\r\nS=330\r\nF=26\r\n");
  CuttingCondition c;
  EXPECT_EQ(GetCuttingCondition(t.ctx, "chamfer", "SS400", 12, c), 1);
  EXPECT_EQ(c.s, 330);
  EXPECT_EQ(c.f, 26);
  EXPECT_EQ(c.q, 999);
}

TEST_F(ConditionLookup, CentreDrillReadsASignedDepth) {
  folder.WriteCp932("table/cdrillS45C.tbl", "[D3.0]\r\nS=1910\r\nF=96\r\nZ=-1.5\r\n");
  CuttingCondition v;
  EXPECT_EQ(GetCuttingCondition(t.ctx, "cdrill", "S45C", 3.0, v), 1);
  EXPECT_EQ(v.s, 1910);
  EXPECT_EQ(v.f, 96);
  EXPECT_EQ(v.z, -1.5);
  EXPECT_EQ(v.q, 999);
}

TEST_F(ConditionLookup, TheTableFileIsFoundInAnyLetterCase) {
  folder.WriteCp932("table/NTAPsus304.TBL", "[D10.0]\r\nS=160\r\nF=240\r\n");
  CuttingCondition v;
  EXPECT_EQ(GetCuttingCondition(t.ctx, "ntap", "SUS304", 10, v), 1);
  EXPECT_EQ(v.f, 240);
  EXPECT_EQ(t.reporter.Lines().front(), "... NTap Table File " + Path("NTAPsus304.TBL"));
}

TEST_F(ConditionLookup, EachKindHasItsNoticeAndFailureText) {
  struct Case {
    const char* kind;
    std::string notice, failure;
  };
  std::vector<Case> cases = {
      {"cdrill", "... Center Drill Table File ", "エラー：φ3.00 のセンタードリル加工条件がみつかりません。"},
      {"drill", "... Drill Table File ", "エラー：φ3.00 の加工条件がみつかりません。"},
      {"chamfer", "... Chamfer Table File ", "エラー：φ3.00 の加工条件がみつかりません。"},
      {"ntap", "... NTap Table File ", "エラー：φ3.00 のタップ加工条件がみつかりません。"},
      {"reamer", "... Reamer Table File ", "エラー：φ3.00 のリーマ加工条件がみつかりません。"},
      {"counterbore", "... counterbore Table File ", "エラー：φ3.00 の加工条件がみつかりません。"},
      {"endmillR", "... endmillR Table File ", "エラー：φ3.00 の加工条件がみつかりません。"},
      {"endmillF", "... endmillF Table File ", "エラー：φ3.00 の加工条件がみつかりません。"},
  };
  for (const Case& c : cases) {
    TestContext fresh(folder);
    CuttingCondition v;
    EXPECT_EQ(GetCuttingCondition(fresh.ctx, c.kind, "FC250", 3, v), -1) << c.kind;
    std::string path = Path((std::string(c.kind) + "FC250.tbl").c_str());
    EXPECT_EQ(fresh.reporter.Lines(), (std::vector<std::string>{c.notice + path, c.failure})) << c.kind;
    ASSERT_EQ(fresh.reporter.boxes.size(), 1u);
    EXPECT_EQ(fresh.reporter.boxes[0].first, c.failure);
    EXPECT_EQ(fresh.reporter.boxes[0].second, -1);
  }
  EXPECT_EQ(CuttingConditionKeys("cdrill"), (std::vector<std::string_view>{"S", "F", "Z"}));
  EXPECT_EQ(CuttingConditionKeys("drill"), (std::vector<std::string_view>{"S", "F", "Q"}));
  EXPECT_EQ(CuttingConditionKeys("endmillF"), (std::vector<std::string_view>{"S", "F"}));
}

TEST_F(ConditionLookup, AMaterialNameNeverLeadsOutOfTheTableFolder) {
  // "table/drill" + "/../../escape" + ".tbl" would name a file of the program folder.
  folder.WriteCp932("table/drill/keep", "");
  folder.WriteCp932("escape.tbl", "[D3.0]\r\nS=1\r\nF=2\r\nQ=3\r\n");
  CuttingCondition v;
  EXPECT_EQ(GetCuttingCondition(t.ctx, "drill", "/../../escape", 3, v), -1);
  EXPECT_EQ(v.s, 999);
  EXPECT_EQ(t.reporter.Lines().back(), "エラー：φ3.00 の加工条件がみつかりません。");
}

}  // namespace
}  // namespace talvorin
