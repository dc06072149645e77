// Default parameter texts of a hole kind, and the shipped default table.
#include <cstdio>
#include <string>

#include "ProjectFixture.h"
#include "store/Numbers.h"

namespace talvorin {
namespace {

using test::ProjectTest;
using Params = std::array<std::string, 10>;

using DefaultValue = ProjectTest;

TEST_F(DefaultValue, SetKeysReplaceTheirFieldsAndOthersStay) {
  folder.Write("DefaultValue.tbl",
               "[DRILL]\r\nindex=3\r\nDRILL0=10\r\nDRILL1=\r\nDRILL2=0.5\r\nDRILL4=99\r\n"
               "[NTAP]\r\nNTAP0=6\r\nNTAP9=1\r\nNTAP10=overrun\r\n");
  Params params{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
  ASSERT_EQ(GetDefaultValue(t.ctx, "DRILL", params), 0);
  // Key 4 lies beyond index 3; key 1 is empty and so not set.
  EXPECT_EQ(params, (Params{"10", "b", "0.5", "d", "e", "f", "g", "h", "i", "j"}));
  EXPECT_EQ(t.reporter.Lines(), std::vector<std::string>{"!!! routine name : GetDefaultValue"});

  // Without "index" the keys up to 10 are read; the screen has fields 0 to 9 only.
  ASSERT_EQ(GetDefaultValue(t.ctx, "NTAP", params), 0);
  EXPECT_EQ(params, (Params{"6", "b", "0.5", "d", "e", "f", "g", "h", "i", "1"}));

  // A kind without a section changes nothing, nor does a missing table.
  Params before = params;
  ASSERT_EQ(GetDefaultValue(t.ctx, "UGROOVE", params), 0);
  EXPECT_EQ(params, before);
  std::remove(folder.File("DefaultValue.tbl").c_str());
  ASSERT_EQ(GetDefaultValue(t.ctx, "DRILL", params), 0);
  EXPECT_EQ(params, before);
  EXPECT_TRUE(t.reporter.boxes.empty());
}

// The shipped table: every kind has its section; the diameter or width is given, depths are not
// (they come from the plate thickness), and no tool of a slot or big hole is wider than it.
TEST(ShippedDefaultValues, EveryKindHasSafeDefaults) {
  test::TestFolder folder;
  test::CopyProgramFolder(folder);
  test::TestContext t(folder);
  struct Kind {
    const char* word;
    std::vector<int> depths;  // parameters that depend on the thickness
    std::vector<int> tools;   // tool diameters that must stay below parameter 0
  };
  const Kind kinds[] = {
      {"DRILL", {1}, {}},       {"NTAP", {1, 4}, {3}},        {"REAMER", {1, 3}, {2}},
      {"COUNTERBORE", {1}, {}}, {"LONGHOLE", {2}, {6, 8, 9}}, {"CBLONGHOLE", {2}, {6, 8, 9}},
      {"UGROOVE", {2}, {8, 9}}, {"BIGHOLE", {1}, {6, 8, 9}},
  };
  for (const Kind& k : kinds) {
    SCOPED_TRACE(k.word);
    Params params;
    ASSERT_EQ(GetDefaultValue(t.ctx, k.word, params), 0);
    ASSERT_FALSE(params[0].empty());
    double size = AtoF(params[0]);
    EXPECT_GT(size, 0);
    for (int d : k.depths)
      EXPECT_EQ(params[static_cast<std::size_t>(d)], "") << d;
    for (int i : k.tools) {
      EXPECT_GT(AtoF(params[static_cast<std::size_t>(i)]), 0) << i;
      EXPECT_LT(AtoF(params[static_cast<std::size_t>(i)]), size) << i;
    }
  }
}

}  // namespace
}  // namespace talvorin
