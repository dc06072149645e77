// The independent reader itself: a sound program passes, and each fault it is there to catch is caught.
#include "NcTestSupport.h"

namespace talvorin::test {
namespace {

const std::vector<std::string> kSound = {"%",
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
                                         "(END MILL)",
                                         "T24",
                                         "M06",
                                         "G15H01",
                                         "G90 G00 X0. Y0.",
                                         "G56 H24 Z50.",
                                         "S800 M03",
                                         "M08",
                                         "X30. Y10.",
                                         "Z3.",
                                         "G01 Z-5. F300",
                                         "G41 Y15. D07 F150",
                                         "X10.",
                                         "G03 Y5. J-5.",
                                         "G01 X30.",
                                         "G03 Y15. J5.",
                                         "G40 G01 Y10.",
                                         "G00 Z50.",
                                         "X0. Y0.",
                                         "G91 G28 Z0.",
                                         "G28 X0. Y0.",
                                         "G90",
                                         "M30",
                                         "%"};

// The sound program with line `index` (0-based) replaced, or removed when `line` is null.
std::string With(std::size_t index, const char* line) {
  std::vector<std::string> lines = kSound;
  if (line)
    lines[index] = line;
  else
    lines.erase(lines.begin() + static_cast<long>(index));
  return Program(lines);
}

TEST(NcCheck, SoundProgramPasses) {
  EXPECT_EQ(CheckNcProgram(Program(kSound)), std::vector<std::string>{});
}

TEST(NcCheck, EachFaultIsFound) {
  struct Case {
    std::string program;
    const char* what;
  };
  const Case cases[] = {
      {Program(kSound).substr(0, Program(kSound).size() - 1), "no CR LF at the end"},
      {With(11, "X30. Y20. X31."), "address X twice"},
      {With(11, "X30.Y20.;"), "unknown address"},
      {With(11, "X3-0. Y20."), "malformed number"},
      {With(11, "X. Y20."), "malformed number"},
      {With(4, "T3.5"), "malformed number"},
      {With(12, nullptr), "motion while a canned cycle is active"},  // no G80 before G00 Z50.
      {With(34, "G01 Y10."), "rapid in Z with G41 active"},          // no G40
      {With(29, "G41 Y15. F150"), "G41 without an offset number"},
      {With(7, "G00 Z50."), "cutting without a tool length offset"},
      {With(8, "S1200"), "cutting with the spindle stopped"},
      {With(31, "G03 Y5. J-4."), "arc end point off its circle"},
      {With(10, "G98 G83 X10. Y20. R3. Z-15. F120"), "G83 without Q"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> problems = CheckNcProgram(c.program);
    bool found = false;
    for (const std::string& p : problems)
      found = found || p.find(c.what) != std::string::npos;
    EXPECT_TRUE(found) << c.what << "\n" << c.program;
  }
  // G41 still active at the end of a process.
  std::vector<std::string> lines = kSound;
  lines.erase(lines.begin() + 34, lines.begin() + 37);  // no G40, no retract
  std::vector<std::string> problems = CheckNcProgram(Program(lines));
  ASSERT_FALSE(problems.empty());
  EXPECT_NE(problems[0].find("G41 still active"), std::string::npos) << problems[0];
  // G95 without G94.
  lines = kSound;
  lines.insert(lines.begin() + 10, "G95");
  problems = CheckNcProgram(Program(lines));
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("G95"), std::string::npos);
}

}  // namespace
}  // namespace talvorin::test
