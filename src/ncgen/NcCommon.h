// Helpers shared by the body routines of the generator; not part of its interface.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ncgen/NcGen.h"

namespace talvorin::nc {

constexpr std::size_t kCoordinateLimit = 16;  // stored coordinates and settings: 15 bytes
constexpr std::size_t kLineLimit = 80;        // user lines of the NC table file: 79 bytes

// A number rounded as "%.3f" prints it, read back.
double Round3(double v);
// A number rounded as "%.0f" prints it, read back (the plunge and chamfer feeds).
double Round0(double v);
// A value truncated toward zero as "%d" of a converted double prints it; out-of-range values clamp.
int Whole(double v);
// Keep-point number text: 100 -> "100.", -2.25 -> "-2.25".
std::string Num(double v);

// The positions of a hole group read as numbers: keys <prefix>X<k>, <prefix>Y<k> for k = 0 to
// `count` - 1, up to the first k whose X or Y is missing.
std::vector<PlanePoint> ReadPositions(Context& ctx, std::string_view section, std::string_view prefix,
                                      int count);

// The lines of section "backreverse" of the NC table file under keys "ncdata0" to "ncdata<count - 1>",
// up to the first missing one.
std::vector<std::string> BackReverseLines(Context& ctx, int count);

// A value a program may carry: finite and within what the control takes (±99999.999).
bool IsMachineValue(double v);
// Text that is nothing but NC words ("G54", "G15H01", "G54.1 P1"): each an address letter and a number
// (optional sign, digits, at most one point), words optionally separated by single blanks. The work
// coordinate text goes verbatim into the program: anything else would reach the control as garbage.
bool IsNcWordText(std::string_view text);
// The texts of `keys` present in `section` of the project database, each read as a number that must be
// a machine value; -1 (reported, naming section, key and text) at the first that is not. A file edited
// by hand or by another program may hold "nan", "inf" or 1e308: they never reach a loop or a line.
int CheckStoredValues(Context& ctx, std::string_view section, const std::vector<std::string>& keys,
                      std::size_t limit);
// The ten parameters and every position key (X, Y, CX, CY 0 to 9) of a hole group.
int CheckHoleGroupValues(Context& ctx, std::string_view section);

// The milling passes of a process are bounded before any is written: down to `depth` (>= 0) in steps
// of Q, each pass `perPass` blocks long (the widening circles of a big hole), at most a bound of blocks
// per position. -1 (reported, naming the tool diameter and step) beyond it: a 1e-9 mm cutter or a
// 0.0001 mm step would write for hours.
int CheckPassCount(Context& ctx, const NcProcessRecord& rec, double depth, double perPass);

// A slot or groove of `width` milled with compensation: the cutter must be narrower than the width
// left inside the allowance on both walls, or it is plunged into them. -1 (reported, naming the hole
// group, `what` the slot is and the tool) otherwise.
int CheckSlotTool(Context& ctx, const NcProcessRecord& rec, const char* what, double width);

// The material thickness (key "Z" of section "material"); -1 (reported) when it is missing.
int ReadThickness(Context& ctx, double& thickness);

// The checks a cutter-compensated milling body needs before it writes anything: a cutter radius offset
// number, a finishing allowance, a positive tool diameter and a positive depth of cut. -1 (reported,
// naming the process section and key) when one is missing or unusable.
int CheckMillingRecord(Context& ctx, const NcProcessRecord& rec);

// Twice the process feed, as the plunges of the milling bodies use it.
double PlungeFeed(const NcProcessRecord& rec);

// A milling body's block writer: WriteMoveBlock with the body's own state. The last position starts
// at the position the approach block left the tool in (start X, Y and Z), so the first blocks omit
// exactly the words the machine does not need.
class MoveWriter {
 public:
  MoveWriter(TextSink& out, const NcProcessRecord& rec);

  void SetFeed(double feed) { feed_.current = feed; }
  // Pending G41 with the record's D number, or G40: written with the next block.
  void StartCompensation();
  void CancelCompensation() { state_.compensation = 40; }

  void Rapid(double x, double y, double z);  // G00
  void RapidZ(double z);
  void Feed(double x, double y);  // G01 in the plane
  void FeedZ(double z);
  void Arc(double x, double y, double i, double j);  // G03
  // Contour points from..to (inclusive) shifted by `at`, each with its motion.
  void Contour(const std::vector<ContourPoint>& points, std::size_t from, std::size_t to, PlanePoint at);

  MovePosition& last() { return last_; }

 private:
  void Move(int motion, MovePosition target);

  TextSink& out_;
  int offset_;
  MoveState state_;
  MovePosition last_;
  MoveFeed feed_;
};

}  // namespace talvorin::nc
