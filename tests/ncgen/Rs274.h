// An independent G-code interpreter for the tests: LinuxCNC's standalone `rs274` runs a FANUC program of
// the generator and its canonical output gives the tool centre's path, cutter compensation applied by
// the interpreter's own start-up and cancel rules.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/TestFolder.h"

namespace talvorin::test {

// The interpreter's path; "" when it is not installed.
std::string Rs274Path();

// The program as the interpreter reads it, changed in the smallest way the dialect needs:
// - "G21" after the percent line: the shop's control works in millimetres by its parameters, the
//   interpreter starts in inches;
// - "P0" added to a G82 without a P word: the generator writes the dwell only when the NC table has
//   one, the interpreter insists on the word;
// - M29 becomes M03: rigid-tapping spindle start, a spindle start to the interpreter;
// - "G04 X" becomes "G04 P": the dwell in seconds;
// - CP932 comments become UTF-8.
std::string AdaptForRs274(const std::string& cp932Program);

// One move of the canonical output, millimetres, from the previous position.
struct CanonMove {
  bool feed = false;  // STRAIGHT_FEED or ARC_FEED; false: STRAIGHT_TRAVERSE
  bool arc = false;
  double x0 = 0, y0 = 0, z0 = 0;  // start
  double x = 0, y = 0, z = 0;     // end
  double cx = 0, cy = 0;          // arc centre
  int turn = 0;                   // arc: > 0 anticlockwise, < 0 clockwise
  int tool = 0;                   // the tool in the spindle
};

struct Rs274Run {
  int status = -1;       // 0: the whole program was interpreted
  std::string messages;  // what the interpreter printed (its error and the failing line)
  std::vector<CanonMove> moves;
};

// Runs the adapted program with a tool table of the given diameters (by tool number; the D words of
// the generator name the same numbers) and G28 stored 300 mm above the work zero.
Rs274Run RunRs274(const std::string& cp932Program, const std::map<int, double>& toolDiameters);

// The tool diameters of the project's processes: T and D number of each "ncproc" section with its
// "diam".
std::map<int, double> ProjectToolDiameters(const std::string& dbPath);

// A closed wall to check: points along it every `step` mm.
std::vector<std::pair<double, double>> SlotOutline(double cx, double cy, double length, double halfWidth,
                                                   double degrees, double step = 0.05);
std::vector<std::pair<double, double>> CircleOutline(double cx, double cy, double radius, double step = 0.05);

// The distances from the wall's points to the feed moves of `tool`'s centre at depth z: the largest of the
// points' nearest distances (the wall is cut along its whole length when it is within 0.01 of the tool
// radius) and the smallest (the tool never cuts beyond the wall when it is no less than the radius
// minus 0.01).
struct WallReach {
  double farthest = 0, nearest = 0;
};
WallReach MeasureWall(const std::vector<CanonMove>& moves, const std::vector<std::pair<double, double>>& wall,
                      double z, int tool);

// A feed move that ends at (x, y, z), within 0.001.
bool Reaches(const std::vector<CanonMove>& moves, double x, double y, double z);

}  // namespace talvorin::test
