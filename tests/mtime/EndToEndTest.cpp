// The shipped examples from planning to the machining time, through talvorin-cli: "run" plans and
// writes the program, "time" estimates it. The keys written must be those of a recomputation of the
// program's path lengths done here, in a different way: positions followed word by word, arcs by
// atan2, pecks as a list of depths.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "store/Numbers.h"
#include "store/Profile.h"
#include "support/CliRun.h"
#include "support/TestFolder.h"

namespace talvorin::test {
namespace {

struct PathSums {
  double rapid = 0, cutting = 0;  // mm
  double rapidMinutes = 0, cuttingMinutes = 0;
  int toolChanges = 0, spindleStarts = 0;
};

bool Has(const std::string& line, const char* text) {
  return line.find(text) != std::string::npos;
}

// The program's path under the generator's dialect, from (0, 0, zi).
PathSums Recompute(const std::string& program, double zi, double rapidFeed, double cycleFeed) {
  PathSums s;
  std::map<char, double> w{{'X', 0}, {'Y', 0}, {'Z', zi}, {'I', 0}, {'J', 0}, {'R', 0}, {'Q', 0}, {'F', 1}};
  double px = 0, py = 0, pz = zi;  // where the tool is
  int mode = 0;
  std::istringstream in(program);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || std::string("%ONT").find(line[0]) != std::string::npos) continue;
    if (line.rfind("M0", 0) == 0 && !Has(line, "M06") && !Has(line, "M03") && !Has(line, "M29")) continue;
    if (Has(line, "G28") || Has(line, "G30") || Has(line, "M30") || Has(line, "M02") || Has(line, "G90 G17"))
      continue;
    if (Has(line, "G54") || Has(line, "G43") || Has(line, "G15H") || Has(line, "G56")) {
      px = 0, py = 0, pz = zi;
      w['X'] = 0, w['Y'] = 0, w['Z'] = zi;
      continue;
    }
    if (Has(line, "M06")) {
      ++s.toolChanges;
      continue;
    }
    if (Has(line, "M03") || Has(line, "M29")) {
      ++s.spindleStarts;
      continue;
    }
    const std::size_t open = line.find('(');
    if (open != std::string::npos) line.erase(open);  // the generator's comments close the line
    bool moved = false;
    for (std::size_t k = 0; k < line.size(); ++k) {
      const char c = line[k];
      if (c == 'G') {
        const int g = std::atoi(line.c_str() + k + 1);
        if (g == 80) {
          mode = 0, w['Z'] = zi, moved = true;
        } else if (g <= 3 || (g >= 81 && g <= 84)) {
          mode = g, moved = true;
        }
      } else if (w.count(c)) {
        w[c] = std::strtod(line.c_str() + k + 1, nullptr);
        moved = true;
      }
    }
    if (!moved) continue;
    const double x = w['X'], y = w['Y'], z = w['Z'], r = w['R'], f = w['F'];
    const double d = std::hypot(std::hypot(x - px, y - py), z - pz);
    double rapid = 0, cut = 0, peck = 0;
    if (mode == 0) {
      rapid = d;
    } else if (mode == 1) {
      cut = d;
    } else if (mode == 2 || mode == 3) {
      const double cx = px + w['I'], cy = py + w['J'];
      double a0 = std::atan2(py - cy, px - cx), a1 = std::atan2(y - cy, x - cx);
      double sweep = mode == 3 ? a1 - a0 : a0 - a1;  // radians in the direction of travel
      while (sweep <= 1e-9)
        sweep += 2 * M_PI;
      cut = std::hypot(w['I'], w['J']) * sweep;
      w['I'] = w['J'] = 0;
    } else if (mode == 81 || mode == 82) {
      rapid = d + (zi - r) + (zi - z);
      cut = r - z;
    } else if (mode == 83) {
      rapid = d + 2 * (zi - r);
      // Pecks to R - Q, R - 2Q, ... while above Z, each fed from 1 above the last depth, each followed
      // by the way back to R and down again; then the last feed to Z and the way back to R.
      double from = r, depth = r - w['Q'];
      while (depth >= z) {
        cut += from - depth;
        peck += 2 * (r - depth) - 1;
        from = depth + 1;
        if (depth == z) break;
        depth -= w['Q'];
      }
      if (depth != z) {
        cut += from - z;
        peck += r - z;
      }
    } else if (mode == 84) {
      rapid = d + 2 * (zi - r);
      cut = 2 * (r - z);
    }
    s.rapid += rapid + peck;
    s.cutting += cut;
    s.rapidMinutes += rapid / rapidFeed + peck / cycleFeed;
    s.cuttingMinutes += cut / f;
    px = x, py = y, pz = mode > 80 ? zi : z;
  }
  return s;
}

class EndToEnd : public ::testing::TestWithParam<const char*> {
 protected:
  EndToEnd() { CopyProgramFolder(folder); }
  CliResult Run(std::vector<std::string> args) {
    std::vector<std::string> all{TALVORIN_CLI, "--folder", folder.path(), "--quiet"};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram(all);
  }
  TestFolder folder;
};

TEST_P(EndToEnd, TimesOfTheShippedExamples) {
  const std::string db = folder.File(std::string("db/") + GetParam() + ".dat");
  ASSERT_TRUE(PathExists(db));
  // The NC folder inside the test's program folder (the example names a folder relative to the
  // working directory).
  ASSERT_TRUE(WriteString(db, "machine", "ncpath", folder.File("ncdata")));
  CliResult r = Run({"run", db});
  ASSERT_EQ(r.status, 0) << r.err;
  r = Run({"time", db});
  ASSERT_EQ(r.status, 0) << r.err;

  const std::string ncfile = ReadString(db, "machine", "ncfile", 128);
  const std::string program = folder.ReadCp932("ncdata/" + ncfile);
  ASSERT_FALSE(program.empty());
  const std::string table = folder.File("NCformat.tbl");
  const double rapidFeed = AtoF(ReadString(table, "processtime", "G00FEED", 16));
  const double cycleFeed = AtoF(ReadString(table, "processtime", "CYCFEED", 16));
  const double toolChange = AtoF(ReadString(table, "processtime", "M06", 16));
  const double spindleStart = AtoF(ReadString(table, "processtime", "M03", 16));
  ASSERT_GT(rapidFeed, 0);
  ASSERT_GT(cycleFeed, 0);
  const PathSums s = Recompute(program, AtoF(ReadString(db, "machine", "StartZ", 16)), rapidFeed, cycleFeed);
  EXPECT_GT(s.toolChanges, 2);
  EXPECT_GT(s.cutting, 100);

  auto key = [&](const std::string& k) { return AtoF(ReadString(db, "machine", k, 32)); };
  EXPECT_NEAR(key("distance0"), s.rapid, 0.0005);
  EXPECT_NEAR(key("distance1"), s.cutting, 0.0005);
  const double tool = (spindleStart * s.spindleStarts + toolChange * s.toolChanges) / 60;
  const double minutes[4] = {s.rapidMinutes, s.cuttingMinutes, tool,
                             s.rapidMinutes + s.cuttingMinutes + tool};
  for (int k = 0; k < 4; ++k)
    EXPECT_NEAR(key(Sprintf("Seconds_Time%d", k)), minutes[k] * 60, 0.5 + 1e-6) << k;
}

INSTANTIATE_TEST_SUITE_P(Examples, EndToEnd, ::testing::Values("EXAMPLE-FANUC", "EXAMPLE-OSP"));

}  // namespace
}  // namespace talvorin::test
