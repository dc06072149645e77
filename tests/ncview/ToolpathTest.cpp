// The NC viewer's toolpath read from small programs written here: every move, hole and tool worked
// out by hand from the estimator's rules, the time figures of the same reading, marked lines of
// faulty, truncated and binary files, and the view queries (fit, merging, the line under a pixel).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ncview/NcViewSetup.h"
#include "ncview/Toolpath.h"
#include "ncview/ToolpathView.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

// Line numbers from 0 on the right. Start position 0, 0, 50.
const char* const kProgram =
    "%\r\n"                                     // 0
    "O0100\r\n"                                 // 1
    "G90 G17 G40 G49 G80\r\n"                   // 2
    "T01\r\n"                                   // 3
    "M06\r\n"                                   // 4  tool 1
    "G90 G00 G54 X0. Y0.\r\n"                   // 5  reset to the start
    "G43 H01 Z50.\r\n"                          // 6  reset to the start
    "S1000 M03\r\n"                             // 7
    "G00 X10. Y10.\r\n"                         // 8  rapid to 10, 10, 50
    "Z2.\r\n"                                   // 9  rapid down
    "G01 Z-5. F100\r\n"                         // 10 feed down
    "X40.\r\n"                                  // 11 feed to 40, 10
    "G03 X50. Y20. I0. J10.\r\n"                // 12 G03 quadrants about 40, 20
    "G03 X40. Y30. I-10. J0.\r\n"               // 13
    "G03 X30. Y20. I0. J-10.\r\n"               // 14
    "G03 X40. Y10. I10. J0.\r\n"                // 15
    "G02 X30. Y20. I0. J10.\r\n"                // 16 G02 quadrants about 40, 20
    "G02 X40. Y30. I10. J0.\r\n"                // 17
    "G02 X50. Y20. I0. J-10.\r\n"               // 18
    "G02 X40. Y10. I-10. J0.\r\n"               // 19
    "G00 Z50.\r\n"                              // 20
    "M05\r\n"                                   // 21
    "T02\r\n"                                   // 22
    "M06\r\n"                                   // 23 tool 2
    "G90 G00 G54 X0. Y0.\r\n"                   // 24
    "G43 H02 Z50.\r\n"                          // 25
    "S800 M03\r\n"                              // 26
    "G98 G81 X20. Y20. R3. Z-15. F120\r\n"      // 27 hole
    "X60.\r\n"                                  // 28 hole
    "G80\r\n"                                   // 29 moves nothing
    "T03 (\x8Ch\x83\x8A\x83\x8B)\r\n"           // 30 (a CP932 comment)
    "M06\r\n"                                   // 31 tool 3
    "G90 G00 G54 X0. Y0.\r\n"                   // 32
    "G43 H03 Z50.\r\n"                          // 33
    "S600 M03\r\n"                              // 34
    "G98 G83 X20. Y40. R3. Z-10. Q4. F100\r\n"  // 35 hole in pecks
    "G80\r\n"                                   // 36
    "M09\r\n"                                   // 37
    "M05\r\n"                                   // 38
    "G91 G28 Z0.\r\n"                           // 39
    "M30\r\n"                                   // 40
    "%\r\n";                                    // 41

struct ExpectedMove {
  MoveKind kind;
  double x, y, z;
  std::uint32_t line;
  std::uint16_t tool;
  double cx = 0, cy = 0, sweep = 0;
};

ToolpathModel Load(const TestFolder& folder, const std::string& name, std::string_view bytes,
                   NcPoint start = {0, 0, 50}) {
  folder.Write(name, bytes);
  ToolpathModel model;
  std::string error;
  EXPECT_EQ(LoadToolpath(folder.File(name), start, TimeRates(), model, error), 0) << error;
  return model;
}

TEST(Toolpath, MovesHolesAndToolsOfAKnownProgram) {
  TestFolder folder;
  const ToolpathModel model = Load(folder, "O0100.NC", kProgram);
  using K = MoveKind;
  const std::vector<ExpectedMove> expected = {
      {K::kRapid, 10, 10, 50, 8, 1},
      {K::kRapid, 10, 10, 2, 9, 1},
      {K::kFeed, 10, 10, -5, 10, 1},
      {K::kFeed, 40, 10, -5, 11, 1},
      {K::kArcCcw, 50, 20, -5, 12, 1, 40, 20, 90},
      {K::kArcCcw, 40, 30, -5, 13, 1, 40, 20, 90},
      {K::kArcCcw, 30, 20, -5, 14, 1, 40, 20, 90},
      {K::kArcCcw, 40, 10, -5, 15, 1, 40, 20, 90},
      {K::kArcCw, 30, 20, -5, 16, 1, 40, 20, -90},
      {K::kArcCw, 40, 30, -5, 17, 1, 40, 20, -90},
      {K::kArcCw, 50, 20, -5, 18, 1, 40, 20, -90},
      {K::kArcCw, 40, 10, -5, 19, 1, 40, 20, -90},
      {K::kRapid, 40, 10, 50, 20, 1},
      // The reset of lines 24 and 25 puts the next move's start back at the start position.
      {K::kJump, 0, 0, 50, 27, 2},
      {K::kRapid, 20, 20, 50, 27, 2},  // positioning of the first G81 hole
      {K::kRapid, 60, 20, 50, 28, 2},
      {K::kJump, 0, 0, 50, 35, 3},
      {K::kRapid, 20, 40, 50, 35, 3},
  };
  ASSERT_EQ(model.moves.size(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) {
    const ToolpathMove& m = model.moves[k];
    const ExpectedMove& e = expected[k];
    SCOPED_TRACE("move " + std::to_string(k));
    EXPECT_EQ(m.kind, e.kind);
    EXPECT_FLOAT_EQ(m.x, e.x);
    EXPECT_FLOAT_EQ(m.y, e.y);
    EXPECT_FLOAT_EQ(m.z, e.z);
    EXPECT_EQ(m.line, e.line);
    EXPECT_EQ(m.tool, e.tool);
    if (e.kind == K::kArcCw || e.kind == K::kArcCcw) {
      EXPECT_FLOAT_EQ(m.cx, e.cx);
      EXPECT_FLOAT_EQ(m.cy, e.cy);
      EXPECT_NEAR(ArcSweep(MoveStart(model, k), m), e.sweep, 1e-9);
    }
  }

  ASSERT_EQ(model.holes.size(), 3u);
  const HoleMark holes[3] = {
      {20, 20, 50, 3, -15, 27, 2, 81}, {60, 20, 50, 3, -15, 28, 2, 81}, {20, 40, 50, 3, -10, 35, 3, 83}};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE("hole " + std::to_string(k));
    const HoleMark& h = model.holes[k];
    EXPECT_EQ(h.x, holes[k].x);
    EXPECT_EQ(h.y, holes[k].y);
    EXPECT_EQ(h.top, holes[k].top);
    EXPECT_EQ(h.r, holes[k].r);
    EXPECT_EQ(h.bottom, holes[k].bottom);
    EXPECT_EQ(h.line, holes[k].line);
    EXPECT_EQ(h.tool, holes[k].tool);
    EXPECT_EQ(h.cycle, holes[k].cycle);
  }

  // Slot 0 is the time before the first change; each tool its own colour.
  EXPECT_EQ(model.tools, (std::vector<int>{0, 1, 2, 3}));
  const ToolColour blue{0, 90, 200}, red{210, 40, 40}, green{0, 150, 60};
  EXPECT_EQ(ToolSlotColour(1), blue);
  EXPECT_EQ(ToolSlotColour(2), red);
  EXPECT_EQ(ToolSlotColour(3), green);
  EXPECT_EQ(model.lineCount, 42u);
  EXPECT_TRUE(model.faults.empty());
  // Line starts of lines 0, 16, 32: the bytes of the lines before them.
  ASSERT_EQ(model.lineStarts.size(), 3u);
  EXPECT_EQ(model.lineStarts[0], 0u);
  std::string text(kProgram);
  std::size_t at = 0;
  for (int line = 0; line < 16; ++line)
    at = text.find('\n', at) + 1;
  EXPECT_EQ(model.lineStarts[1], at);
  EXPECT_EQ(text.substr(at, 22), "G02 X30. Y20. I0. J10.");

  // Bounds: the arcs' circle reaches 30 to 50 and 10 to 30; the holes go down to -15.
  EXPECT_DOUBLE_EQ(model.bounds.minX, 0);
  EXPECT_DOUBLE_EQ(model.bounds.maxX, 60);
  EXPECT_DOUBLE_EQ(model.bounds.minY, 0);
  EXPECT_DOUBLE_EQ(model.bounds.maxY, 40);
  EXPECT_DOUBLE_EQ(model.bounds.minZ, -15);
  EXPECT_DOUBLE_EQ(model.bounds.maxZ, 50);
}

TEST(Toolpath, TimeFiguresOfTheSameReading) {
  TestFolder folder;
  const ToolpathModel model = Load(folder, "O0100.NC", kProgram);
  // Rapids at 3000: line 8 sqrt(200), line 9 48, line 20 55; G81 line 27 sqrt(5025) + (100 - 3 + 15),
  // line 28 sqrt(5825) + 112; G83 line 35 sqrt(5600) + 2 (50 - 3); the pecks 7 + 15 + 23 + 13 = 58 at
  // 1000.
  const double rapid =
      std::sqrt(200.0) + 48 + 55 + std::sqrt(5025.0) + 112 + std::sqrt(5825.0) + 112 + std::sqrt(5600.0) + 94;
  EXPECT_NEAR(model.totals.rapidDistance, rapid + 58, 1e-9);
  EXPECT_NEAR(model.totals.rapidTime, rapid / 3000 + 58.0 / 1000, 1e-12);
  // Cutting at F100: 7, 30, eight quarter circles of radius 10, the pecks 4 + 5 + 5 + 2; at F120 the
  // two G81 holes of 18.
  const double quarters = 8 * 2 * 10 * 3.141592653589793 / 4;
  EXPECT_NEAR(model.totals.cuttingDistance, 7 + 30 + quarters + 16 + 36, 1e-6);
  const ToolpathTimes times = TimesOf(model);
  EXPECT_NEAR(times.cutting, (7 + 30 + quarters + 16) / 100 + 36.0 / 120, 1e-9);
  // Three changes of 6 s and three spindle starts of 0.3 s.
  EXPECT_EQ(model.totals.toolChanges, 3);
  EXPECT_EQ(model.totals.spindleStarts, 3);
  EXPECT_NEAR(times.tool, (18 + 0.9) / 60, 1e-12);
  EXPECT_NEAR(times.total, times.rapid + times.cutting + times.tool, 1e-12);
}

TEST(Toolpath, LinesFindTheirMovesHolesAndFaults) {
  TestFolder folder;
  const ToolpathModel model = Load(folder, "O0100.NC", kProgram);
  using Range = std::pair<std::size_t, std::size_t>;
  EXPECT_EQ(MovesOfLine(model, 8), Range(0, 1));
  EXPECT_EQ(MovesOfLine(model, 12), Range(4, 5));
  EXPECT_EQ(MovesOfLine(model, 19), Range(11, 12));
  // The jump that opens line 27 is not one of its moves.
  EXPECT_EQ(MovesOfLine(model, 27), Range(14, 15));
  EXPECT_EQ(HolesOfLine(model, 27), Range(0, 1));
  EXPECT_EQ(HolesOfLine(model, 35), Range(2, 3));
  const Range none = MovesOfLine(model, 21);
  EXPECT_EQ(none.first, none.second);
  EXPECT_EQ(MoveStart(model, 4).x, 40.0);
  EXPECT_EQ(MoveStart(model, 4).y, 10.0);
  EXPECT_EQ(MoveStart(model, 0).z, 50.0);
}

TEST(Toolpath, TheToolInTheSpindleIsTheOneCalledBeforeM06) {
  TestFolder folder;
  const ToolpathModel model = Load(folder, "T.NC",
                                   "T01 M06\n"       // 0 tool 1 in one line
                                   "G01 X1. F100\n"  // 1
                                   "T02\n"           // 2 called, not yet in the spindle
                                   "G01 X2.\n"       // 3 still tool 1
                                   "M06\n"           // 4 tool 2
                                   "G01 X3.\n"       // 5
                                   "(T7) M06\n"      // 6 a T in a comment calls nothing
                                   "G01 X4.\n"       // 7 still tool 2
                                   "M30\n");
  EXPECT_EQ(model.tools, (std::vector<int>{0, 1, 2}));
  ASSERT_EQ(model.moves.size(), 4u);
  const std::uint16_t slots[4] = {1, 1, 2, 2};
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(model.moves[k].tool, slots[k]) << k;
}

TEST(Toolpath, FaultyLinesAreMarkedAndTheRestDraws) {
  TestFolder folder;
  std::string longLine = "G00 X1. (" + std::string(1100, 'A') + ") Y2.";
  const std::string program = std::string("G01 X10. Y F100\n") +  // 0 Y without number
                              "G02 X20. Y0. I0. J0.\n" +          // 1 no centre: a line
                              "G03 X30. Y5. I5. J0.\n" +          // 2 end 7.07 from the centre
                              "G81 X0. Y0. R-5. Z3. F50\n" +      // 3 Z above R
                              "G80\n" +                           // 4
                              "G01 X1. F0\n" +                    // 5 no feed
                              "G00 X2.\x01 Y3.\n" +               // 6 control character
                              longLine + "\n" +                   // 7 cut
                              "M30\n";                            // 8
  const ToolpathModel model = Load(folder, "F.NC", program, {0, 0, 0});
  using F = NcLineFault;
  const std::vector<std::pair<std::uint32_t, NcLineFault>> expected = {
      {0, F::kWordWithoutNumber}, {1, F::kArcWithoutCentre}, {2, F::kArcEndOffCircle},
      {3, F::kCycleDepthAboveR},  {5, F::kNoFeed},           {6, F::kBadCharacter},
      {7, F::kLongLine}};
  ASSERT_EQ(model.faults.size(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) {
    EXPECT_EQ(model.faults[k].line, expected[k].first) << k;
    EXPECT_EQ(model.faults[k].fault, expected[k].second) << k;
  }
  EXPECT_EQ(FaultsOfLine(model, 2), std::vector<NcLineFault>{F::kArcEndOffCircle});
  EXPECT_STREQ(NcLineFaultText(F::kArcEndOffCircle), "円弧の終点が円の上にありません");
  // Every line still drew: 0 the feed to (10, 0), 1 a line to (20, 0), 2 an arc, 3 the positioning
  // to (0, 0), 4 nothing (G80 keeps the tool at the start level 0), 5 the feed to (1, 0), 6 a rapid to
  // (2, 3), 7 the kept part's rapid to (1, 3).
  using K = MoveKind;
  const std::vector<std::pair<K, std::uint32_t>> moves = {{K::kFeed, 0},  {K::kFeed, 1}, {K::kArcCcw, 2},
                                                          {K::kRapid, 3}, {K::kFeed, 5}, {K::kRapid, 6},
                                                          {K::kRapid, 7}};
  ASSERT_EQ(model.moves.size(), moves.size());
  for (std::size_t k = 0; k < moves.size(); ++k) {
    EXPECT_EQ(model.moves[k].kind, moves[k].first) << k;
    EXPECT_EQ(model.moves[k].line, moves[k].second) << k;
  }
  EXPECT_FLOAT_EQ(model.moves.back().x, 1);
  EXPECT_FLOAT_EQ(model.moves.back().y, 3);
  EXPECT_EQ(model.holes.size(), 1u);
}

TEST(Toolpath, TruncatedAndBinaryFilesShowTheirMarkedLines) {
  TestFolder folder;
  // Cut inside line 3: the line is marked unfinished, and the program has no end.
  const ToolpathModel cut = Load(folder, "CUT.NC", "%\r\nO0001\r\nG00 X10. Y10.\r\nG01 X20. Y1");
  ASSERT_EQ(cut.faults.size(), 2u);
  EXPECT_EQ(cut.faults[0].line, 3u);
  EXPECT_EQ(cut.faults[0].fault, NcLineFault::kUnfinishedLine);
  EXPECT_EQ(cut.faults[1].line, 3u);
  EXPECT_EQ(cut.faults[1].fault, NcLineFault::kNoProgramEnd);
  ASSERT_EQ(cut.moves.size(), 2u);
  EXPECT_FLOAT_EQ(cut.moves[1].x, 20);
  EXPECT_FLOAT_EQ(cut.moves[1].y, 1);

  // Bytes of every value: each line with a control character or a byte that is no CP932 character is
  // marked; nothing crashes.
  std::string binary;
  for (int k = 0; k < 4096; ++k)
    binary.push_back(static_cast<char>((k * 7919 + 13) % 256));
  const ToolpathModel bin = Load(folder, "BIN.NC", binary);
  ASSERT_GT(bin.lineCount, 0u);
  std::vector<bool> marked(bin.lineCount, false);
  for (const LineFault& f : bin.faults)
    if (f.fault == NcLineFault::kBadCharacter) marked[f.line] = true;
  std::size_t start = 0;
  for (std::uint32_t line = 0; line < bin.lineCount; ++line) {
    std::size_t end = binary.find('\n', start);
    if (end == std::string::npos) end = binary.size();
    std::string text = binary.substr(start, end - start);
    if (!text.empty() && text.back() == '\r') text.pop_back();
    bool bad = false;
    for (std::size_t k = 0; k < text.size(); ++k) {
      const auto c = static_cast<unsigned char>(text[k]);
      if (c == '\t' || (c >= 0x20 && c < 0x7F) || (c >= 0xA1 && c <= 0xDF)) continue;
      const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
      const auto t = k + 1 < text.size() ? static_cast<unsigned char>(text[k + 1]) : 0;
      if (lead && t >= 0x40 && t != 0x7F && t <= 0xFC) {
        ++k;
        continue;
      }
      bad = true;
      break;
    }
    EXPECT_EQ(marked[line], bad) << "line " << line;
    start = end + 1;
  }
  EXPECT_EQ(bin.faults.back().fault, NcLineFault::kNoProgramEnd);

  // An empty file: nothing to draw, nothing marked.
  const ToolpathModel empty = Load(folder, "EMPTY.NC", "");
  EXPECT_EQ(empty.lineCount, 0u);
  EXPECT_TRUE(empty.moves.empty());
  EXPECT_TRUE(empty.faults.empty());

  std::string error;
  ToolpathModel none;
  EXPECT_EQ(LoadToolpath(folder.File("MISSING.NC"), {}, TimeRates(), none, error), -1);
  EXPECT_EQ(error, "エラー：ＮＣファイル " + folder.File("MISSING.NC") + " が開けません。");
}

TEST(Toolpath, PartsAddUpToTheWholeFile) {
  TestFolder folder;
  folder.Write("O0100.NC", kProgram);
  ToolpathModel whole, parted;
  std::string error;
  ASSERT_EQ(LoadToolpath(folder.File("O0100.NC"), {0, 0, 50}, TimeRates(), whole, error), 0);
  int parts = 0;
  auto sink = [&](ToolpathModel&& part, std::uint64_t done, std::uint64_t total) {
    ++parts;
    EXPECT_LE(done, total);
    AppendToolpath(parted, std::move(part));
    return true;
  };
  // A part after every line from line 1 on, and the last: each hand-over keeps the reading where it was.
  ASSERT_EQ(ReadToolpathFile(folder.File("O0100.NC"), {0, 0, 50}, TimeRates(), 1, sink, error), 0);
  EXPECT_EQ(parts, 42);
  ASSERT_EQ(parted.moves.size(), whole.moves.size());
  for (std::size_t k = 0; k < whole.moves.size(); ++k) {
    EXPECT_EQ(parted.moves[k].x, whole.moves[k].x);
    EXPECT_EQ(parted.moves[k].kind, whole.moves[k].kind);
    EXPECT_EQ(parted.moves[k].line, whole.moves[k].line);
  }
  EXPECT_EQ(parted.holes.size(), whole.holes.size());
  EXPECT_EQ(parted.lineStarts, whole.lineStarts);
  EXPECT_EQ(parted.totals.rapidDistance, whole.totals.rapidDistance);
  EXPECT_EQ(parted.tools, whole.tools);
  EXPECT_EQ(parted.chunkBoxes.size(), 1u);

  // A sink that stops: the reading ends there.
  int calls = 0;
  auto stop = [&](ToolpathModel&&, std::uint64_t, std::uint64_t) { return ++calls < 3; };
  EXPECT_EQ(ReadToolpathFile(folder.File("O0100.NC"), {0, 0, 50}, TimeRates(), 1, stop, error), 1);
  EXPECT_EQ(calls, 3);
}

TEST(ToolpathView, FitMergeAndTheLineUnderAPixel) {
  TestFolder folder;
  const ToolpathModel model = Load(folder, "O0100.NC", kProgram);
  // The plan spans X 0 to 60 and Y 0 to 40: in 320 x 220 pixels with 10 around, 5 pixels per mm
  // (300 / 60 against 200 / 40), centred.
  const ViewMapping plan = FitView(model.bounds, ViewPlane::kPlan, 320, 220, 10);
  EXPECT_DOUBLE_EQ(plan.scale, 5);
  EXPECT_DOUBLE_EQ(plan.PixelX(30), 160);
  EXPECT_DOUBLE_EQ(plan.PixelY(20), 110);
  EXPECT_DOUBLE_EQ(plan.PixelX(0), 10);
  EXPECT_DOUBLE_EQ(plan.PixelY(40), 10);

  // Without merging every move but the jumps is a piece; line 10 (the plunge) is one pixel in plan.
  std::vector<DrawnPiece> pieces;
  auto keep = [&pieces](const DrawnPiece& p) { pieces.push_back(p); };
  VisitMoves(model, plan, 0, model.moves.size(), false, keep);
  EXPECT_EQ(pieces.size(), 16u);
  // The first G03 as drawn: about the pixel of 40, 20 with 50 pixels radius, from -90 degrees over 90.
  const DrawnPiece& arc = pieces[4];
  EXPECT_TRUE(arc.arc);
  EXPECT_FLOAT_EQ(arc.cx, 210);
  EXPECT_FLOAT_EQ(arc.cy, 110);
  EXPECT_FLOAT_EQ(arc.radius, 50);
  EXPECT_FLOAT_EQ(arc.start, -90);
  EXPECT_FLOAT_EQ(arc.sweep, 90);
  EXPECT_TRUE(pieces[0].rapid);
  EXPECT_FALSE(pieces[3].rapid);
  // Merging drops the plunges, which stay on one pixel in plan (lines 9, 10 and 20).
  pieces.clear();
  VisitMoves(model, plan, 0, model.moves.size(), true, keep);
  EXPECT_EQ(pieces.size(), 13u);
  // Zoomed far out everything falls on a few pixels: almost nothing is left to draw.
  ViewMapping far = plan;
  ZoomView(far, 0.001, 160, 110);
  pieces.clear();
  VisitMoves(model, far, 0, model.moves.size(), true, keep);
  EXPECT_LE(pieces.size(), 1u);
  // Moved away from the toolpath, nothing is drawn.
  ViewMapping away = plan;
  away.originX += 5000;
  pieces.clear();
  VisitMoves(model, away, 0, model.moves.size(), true, keep);
  EXPECT_TRUE(pieces.empty());

  // The line under a pixel: on the feed of line 11 (25, 10), on the G03 of line 13 (top of the
  // circle, 40, 30), on the hole of line 28 (60, 20), and nowhere near anything.
  EXPECT_EQ(LineAtPixel(model, plan, plan.PixelX(25), plan.PixelY(10) + 2, 4), 11);
  EXPECT_EQ(LineAtPixel(model, plan, plan.PixelX(47.07), plan.PixelY(27.07), 3), 13);
  EXPECT_EQ(LineAtPixel(model, plan, plan.PixelX(60) + 1, plan.PixelY(20), 4), 28);
  EXPECT_EQ(LineAtPixel(model, plan, plan.PixelX(55), plan.PixelY(35), 4), -1);
  // In the side view the hole of line 35 is the vertical at X 20 from 50 down to -10.
  const ViewMapping side = FitView(model.bounds, ViewPlane::kSide, 320, 220, 10);
  std::vector<DrawnHole> holes;
  VisitHoles(model, side, 0, model.holes.size(), false, [&](const DrawnHole& h) { holes.push_back(h); });
  ASSERT_EQ(holes.size(), 3u);
  EXPECT_FLOAT_EQ(holes[2].x, static_cast<float>(side.PixelX(20)));
  EXPECT_FLOAT_EQ(holes[2].top, static_cast<float>(side.PixelY(50)));
  EXPECT_FLOAT_EQ(holes[2].r, static_cast<float>(side.PixelY(3)));
  EXPECT_FLOAT_EQ(holes[2].bottom, static_cast<float>(side.PixelY(-10)));
}

TEST(NcViewSetup, TheProjectOfAnNcFileGivesStartAndMaterialBox) {
  TestFolder folder;
  test::CopyProgramFolder(folder);
  test::TestContext t(folder);
  folder.Write("ncdata/O1001.NC", kProgram);
  // The shipped FANUC example names ncdata/O1001.NC; its box is 0-200, 0-150, -20-0.
  Installation inst = t.inst;
  NcViewSettings s = ReadNcViewSettings(inst, folder.File("ncdata/O1001.NC"));
  EXPECT_EQ(s.dbPath, folder.File("db/EXAMPLE-FANUC.dat"));
  EXPECT_EQ(s.start.z, 50);
  ASSERT_TRUE(s.hasBox);
  const double box[6] = {200, 150, 0, 0, 0, -20};
  for (int k = 0; k < 6; ++k)
    EXPECT_EQ(s.box[k], box[k]) << k;
  // The shipped NC table's rapid rate.
  EXPECT_EQ(s.rates.rapidFeed, 10000);

  // A file no project names: the NC table's start position, no box.
  folder.Write("ncdata/OTHER.NC", kProgram);
  s = ReadNcViewSettings(inst, folder.File("ncdata/OTHER.NC"));
  EXPECT_EQ(s.dbPath, "");
  EXPECT_FALSE(s.hasBox);
  EXPECT_EQ(s.start.z, 50);
  EXPECT_EQ(s.start.x, 0);
}

}  // namespace
}  // namespace talvorin
