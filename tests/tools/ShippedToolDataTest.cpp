// The shipped tool list, magazine, register table and condition tables: usable as they are, and
// answering every condition lookup that the shipped hole tables and defaults can lead to.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "store/Numbers.h"
#include "store/Profile.h"
#include "support/TestFolder.h"
#include "tools/Tools.h"

namespace talvorin {
namespace {

using test::TestContext;
using test::TestFolder;

const std::vector<std::string> kProcessNames = {"センタードリル", "ドリル",        "面取カッター",
                                                "並目タップ",     "リーマ",        "エンドミル",
                                                "荒取エンドミル", "仕上エンドミル"};
const std::map<std::string, std::string> kKindOfProcess = {
    {"センタードリル", "cdrill"},   {"ドリル", "drill"},           {"面取カッター", "chamfer"},
    {"並目タップ", "ntap"},         {"リーマ", "reamer"},          {"エンドミル", "counterbore"},
    {"荒取エンドミル", "endmillR"}, {"仕上エンドミル", "endmillF"}};

// Sections of a table file in order, each with its keys (names as written, values trimmed).
using Sections = std::vector<std::pair<std::string, std::map<std::string, std::string>>>;

Sections ParseTable(const std::string& text) {
  Sections sections;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[' && line.find(']') != std::string::npos) {
      sections.push_back({line.substr(1, line.find(']') - 1), {}});
    } else if (line.find('=') != std::string::npos && !sections.empty()) {
      std::string key = line.substr(0, line.find('='));
      std::string value = line.substr(line.find('=') + 1);
      while (!value.empty() && value.back() == ' ')
        value.pop_back();
      sections.back().second.emplace(key, value);
    }
  }
  return sections;
}

class ShippedTools : public ::testing::Test {
 protected:
  void SetUp() override { test::CopyProgramFolder(folder); }

  std::vector<std::string> Materials() {
    StartupToolInitial(t.ctx, conditions);
    return conditions.materials;
  }
  // The shipped table of that name, parsed; empty when it is not shipped.
  Sections Shipped(const char* name) {
    std::string path = ProgramFile(t.inst, name);
    if (!PathExists(path)) return {};
    return ParseTable(folder.ReadCp932(path.substr(folder.path().size())));
  }

  TestFolder folder;
  TestContext t{folder};
  ConditionForm conditions;
};

TEST_F(ShippedTools, ToolListHasTheEightProcessNamesWithShortAsciiComments) {
  ToolForm form;
  SetupToolsused(t.ctx, form);
  for (const ToolRow& row : form.rows)
    EXPECT_EQ(row.toolNames, kProcessNames);
  std::string list = ProgramFile(t.inst, "definetool.tbl");
  int index = ReadInt(list, "TOOLLIST", "index", 10);
  for (int i = 0; i <= index; ++i) {
    std::string name = ReadString(list, "TOOLLIST", Sprintf("TOOLLIST%d", i), 17);
    if (name.empty()) continue;
    std::string comment = ReadString(list, "TOOLLIST", Sprintf("TOOLE%d", i), 64);
    EXPECT_FALSE(comment.empty()) << name;
    EXPECT_LE(comment.size(), 20u) << name;
    for (char c : comment)
      EXPECT_TRUE(c >= 0x20 && c < 0x7F && c != '(' && c != ')') << name;
  }
}

TEST_F(ShippedTools, MagazineHasTheCreatedLayoutWithThirtyUsableTools) {
  EXPECT_EQ(MagazineSize(t.inst), 30);
  std::string text = folder.ReadCp932("ToolMagazine.tbl");
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    ASSERT_TRUE(!line.empty() && line.back() == '\r');
    lines.push_back(line.substr(0, line.size() - 1));
  }
  ASSERT_EQ(lines.size(), 2u + 30u * 4u);
  EXPECT_EQ(lines[0], ";;;マシニング　工具情報");
  EXPECT_EQ(lines[1], "");
  std::set<std::pair<std::string, double>> tools;
  for (int n = 1; n <= 30; ++n) {
    std::size_t at = 2 + static_cast<std::size_t>(n - 1) * 4;
    EXPECT_EQ(lines[at], Sprintf("[T%d]", n));
    ASSERT_TRUE(lines[at + 1].starts_with("toolname="));
    ASSERT_TRUE(lines[at + 2].starts_with("diameter="));
    EXPECT_EQ(lines[at + 3], "");
    std::string name = lines[at + 1].substr(9), diameter = lines[at + 2].substr(9);
    EXPECT_NE(std::find(kProcessNames.begin(), kProcessNames.end(), name), kProcessNames.end()) << n;
    EXPECT_GT(AtoF(diameter), 0) << n;
    EXPECT_LE(diameter.size(), 7u) << n;
    EXPECT_TRUE(tools.insert({name, AtoF(diameter)}).second) << "pocket " << n << " repeats a tool";
    EXPECT_EQ(FindToolNumber(t.ctx, name, diameter), n);
  }
  // Every tool but the chamfer cutter (looked up by the hole, not by its own diameter) has its
  // conditions in every material.
  for (const std::string& material : Materials()) {
    for (const auto& [name, d] : tools) {
      if (name == "面取カッター") continue;
      CuttingCondition v;
      EXPECT_EQ(GetCuttingCondition(t.ctx, kKindOfProcess.at(name), material, d, v), 1) << name << " " << d;
    }
  }
}

TEST_F(ShippedTools, RegisterTableOffersEveryToolAndMaterialWithTheFilesGenerationReads) {
  std::vector<std::string> materials = Materials();
  EXPECT_EQ(materials,
            (std::vector<std::string>{"SS400", "S45C", "SUS304", "A5052", "FC250", "SCM440", "A2017"}));
  EXPECT_EQ(conditions.toolNames, kProcessNames);
  std::string reg = ConditionRegisterFile(t.inst);
  for (const std::string& tool : kProcessNames) {
    const std::string& kind = kKindOfProcess.at(tool);
    EXPECT_EQ(ReadString(reg, tool, "key1", 16), "S");
    EXPECT_EQ(ReadString(reg, tool, "key2", 16), "F");
    std::string third = kind == "cdrill" ? "Z" : kind == "drill" ? "Q" : "";
    EXPECT_EQ(ReadString(reg, tool, "key3", 16), third) << tool;
    for (int i = 0; i < 4; ++i)
      EXPECT_LE(ReadString(reg, tool, Sprintf("title%d", i), 64).size(), 23u * 3);
    for (const std::string& material : materials) {
      std::string name = ReadString(reg, tool, material, 32);
      EXPECT_EQ(name, kind + material + ".tbl") << tool;
      EXPECT_EQ(ProgramFile(t.inst, "table/" + name), ConditionTableFile(t.inst, kind, material));
      EXPECT_TRUE(PathExists(ConditionTableFile(t.inst, kind, material))) << name;
    }
  }
  // On the screen: the centre drill's values at 3 mm, all three of them.
  conditions.toolName = "センタードリル";
  SelectToolName(t.ctx, conditions);
  EXPECT_EQ(conditions.captions[3], "切込深さ(Z)");
  conditions.material = "SS400";
  conditions.values[0] = "3";
  ASSERT_EQ(GetTooldefaultCondition(t.ctx, conditions), 0);
  for (int i = 1; i < 4; ++i)
    EXPECT_FALSE(conditions.values[i].empty()) << i;
  EXPECT_LT(AtoF(conditions.values[3]), 0);
}

// The values follow the stated formulas: S = 1000 Vc / (pi D) to 10 min-1, F = f S.
TEST_F(ShippedTools, ValuesFollowTheStatedFormulas) {
  auto lookup = [&](const char* kind, const char* material, double d) {
    CuttingCondition v;
    EXPECT_EQ(GetCuttingCondition(t.ctx, kind, material, d, v), 1) << kind << " " << d;
    return v;
  };
  // Drill 6.8 in SS400: Vc 25, f 0.12, Q 1.0 D -> S 1170.3 -> 1170, F 140.4 -> 140, Q 6.8.
  CuttingCondition v = lookup("drill", "SS400", 6.8);
  EXPECT_EQ(v.s, 1170);
  EXPECT_EQ(v.f, 140);
  EXPECT_EQ(v.q, 6.8);
  // M10 tap in S45C: Vc 8 -> S 254.6 -> 250, F = 1.5 x 250 = 375.
  v = lookup("ntap", "S45C", 10);
  EXPECT_EQ(v.s, 250);
  EXPECT_EQ(v.f, 375);
  // M8 tap in A5052: Vc 15 -> S 596.8 -> 600, F = 1.25 x 600 = 750.
  v = lookup("ntap", "A5052", 8);
  EXPECT_EQ(v.s, 600);
  EXPECT_EQ(v.f, 750);
  // Reamer 10 H7 in SS400: Vc 8 -> S 254.6 -> 250, f 0.20 -> F 50.
  v = lookup("reamer", "SS400", 10);
  EXPECT_EQ(v.s, 250);
  EXPECT_EQ(v.f, 50);
  // Roughing end mill 10 in SS400: Vc 80 -> S 2546.5 -> 2550, fz 0.04 x 4 teeth -> F 408.
  v = lookup("endmillR", "SS400", 10);
  EXPECT_EQ(v.s, 2550);
  EXPECT_EQ(v.f, 408);
  // Centre drill 3 in SUS304: Vc 12 -> S 1273.2 -> 1270, f 0.03 -> F 38.1 -> 38, Z -1.0.
  v = lookup("cdrill", "SUS304", 3);
  EXPECT_EQ(v.s, 1270);
  EXPECT_EQ(v.f, 38);
  EXPECT_EQ(v.z, -1);
  // Every tap feed is one pitch per revolution; every speed is a multiple of 10.
  const std::map<double, double> pitch = {{3, 0.5},  {4, 0.7},   {5, 0.8}, {6, 1},    {8, 1.25},
                                          {10, 1.5}, {12, 1.75}, {16, 2},  {20, 2.5}, {24, 3}};
  for (const std::string& material : Materials()) {
    for (const auto& [d, p] : pitch) {
      CuttingCondition tap = lookup("ntap", material.c_str(), d);
      EXPECT_NEAR(tap.f, p * tap.s, 1e-9) << material << " M" << d;
      EXPECT_EQ(std::fmod(tap.s, 10), 0) << material << " M" << d;
    }
  }
}

// Every lookup that process generation can make from the shipped hole tables, the defaults of new
// hole groups and the usual size ranges finds its section in every material.
TEST_F(ShippedTools, EveryLookupTheShippedHoleTablesCanCauseIsAnswered) {
  std::map<std::string, std::set<double>> wanted;
  auto add = [&](const std::string& kind, double d) {
    if (d > 0) wanted[kind].insert(d);
  };
  auto standardChamfer = [&](double hole) { add("chamfer", AtoF(Sprintf("%.0f", hole))); };

  // The usual ranges: drills 1.0 to 20.0 by 0.1 and to 32 by 0.5; taps M2 to M24; reamers 2 to 25;
  // counterbores and end mills 2 to 40; chamfers on holes up to 40 mm.
  for (int i = 10; i <= 200; ++i)
    add("drill", i / 10.0);
  for (int i = 41; i <= 64; ++i)
    add("drill", i / 2.0);
  for (double m : {2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0, 10.0, 12.0, 14.0, 16.0, 18.0, 20.0, 22.0, 24.0}) {
    add("ntap", m);
    standardChamfer(m);
  }
  for (int i = 4; i <= 50; ++i)
    add("reamer", i / 2.0);
  for (int i = 4; i <= 80; ++i) {
    add("counterbore", i / 2.0);
    add("endmillR", i / 2.0);
    add("endmillF", i / 2.0);
    standardChamfer(i / 2.0);
  }
  add("cdrill", 3.0);

  // Circle-cut chamfers of sizes 0.5 to 10 with the installed extra depth.
  double extra = AtoF(ReadString(t.inst.iniPath, "TALVORIN", "ChamferPlusDepth", 16, "2"));
  for (int i = 1; i <= 20; ++i)
    add("chamfer", AtoF(Sprintf("%.0f", 2 * (i / 2.0 + extra))));

  // The shipped definition tables, when they are there.
  for (const auto& [section, keys] : Shipped("NTAP.tbl")) {
    if (section.size() < 2 || section[0] != 'M') continue;
    double nominal = AtoI(section.substr(1));
    add("ntap", nominal);
    standardChamfer(nominal);
    if (keys.count("pilothole")) add("drill", AtoF(keys.at("pilothole")));
  }
  for (const auto& [section, keys] : Shipped("reamer.tbl")) {
    if (section.size() < 2 || section[0] != 'M') continue;
    add("reamer", AtoI(section.substr(1)));
    standardChamfer(AtoI(section.substr(1)));
    if (keys.count("pilothole")) add("drill", AtoF(keys.at("pilothole")));
  }
  for (const auto& [section, keys] : Shipped("counterbore.tbl")) {
    if (section.size() < 2 || section[0] != 'D') continue;
    add("drill", AtoF(section.substr(1)));
    if (keys.count("counterbore")) {
      add("counterbore", AtoF(keys.at("counterbore")));
      standardChamfer(AtoF(keys.at("counterbore")));
    }
  }
  for (const auto& [family, keys] : Shipped("ProcessTools.ini")) {
    for (const auto& [key, value] : keys) {
      if (key.size() <= family.size() || key.substr(0, family.size()) != family) continue;
      add("endmillR", AtoF(value));
      add("endmillF", AtoF(value));
      if (family == "longhole") add("drill", AtoI(key.substr(family.size())) - 0.5);
    }
  }
  for (const auto& [kind, keys] : Shipped("DefaultValue.tbl")) {
    auto p = [&](int i) {
      auto it = keys.find(kind + std::to_string(i));
      return it == keys.end() ? 0.0 : AtoF(it->second);
    };
    if (kind == "DRILL") {
      add("drill", p(0));
      standardChamfer(p(0));
    } else if (kind == "NTAP") {
      add("ntap", p(0));
      add("drill", p(3));
      standardChamfer(p(0));
    } else if (kind == "REAMER") {
      add("reamer", p(0));
      add("drill", p(2));
      standardChamfer(p(0));
    } else if (kind == "COUNTERBORE") {
      add("drill", p(0));
      add("counterbore", p(2));
      standardChamfer(p(2));
    }
    if (kind == "LONGHOLE" || kind == "CBLONGHOLE" || kind == "BIGHOLE") add("drill", p(6));
    if (kind == "LONGHOLE" || kind == "CBLONGHOLE" || kind == "UGROOVE" || kind == "BIGHOLE") {
      for (int i : {8, 9}) {
        add("endmillR", p(i));
        add("endmillF", p(i));
      }
    }
  }

  std::vector<std::string> missing;
  std::size_t lookups = 0;
  for (const std::string& material : Materials()) {
    for (const auto& [kind, diameters] : wanted) {
      for (double d : diameters) {
        CuttingCondition v;
        ++lookups;
        if (GetCuttingCondition(t.ctx, kind, material, d, v) != 1 || !(v.s > 0 && v.s < 20000) ||
            !(v.f > 0 && v.f < 5000))
          missing.push_back(Sprintf("%s %s D%.1f", kind.c_str(), material.c_str(), d));
      }
    }
  }
  EXPECT_GT(lookups, 7u * 500u);
  std::string list;
  for (const std::string& m : missing)
    list += m + "\n";
  EXPECT_TRUE(missing.empty()) << list;
}

}  // namespace
}  // namespace talvorin
