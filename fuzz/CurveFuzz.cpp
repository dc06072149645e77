// libFuzzer target for the curve-file reader of the contour drawing: any bytes as a curve file, read
// line by line, split into fields, drawn as a whole DXF run into a checking sink, and made into the
// compensated path of the contour program into a checking NC sink. Every property
// checked here is one the drawing's readers rely on; a violation traps so that the fuzzer records
// the input.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "dxf/DxfWriter.h"
#include "euklid/Euklid.h"
#include "lindrel/CurveFile.h"
#include "lindrel/EuklidDrawing.h"
#include "shell/Context.h"
#include "store/Profile.h"
#include "testing/TestDoubles.h"

using namespace talvorin;

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// The folder of this process: the program folder with its table section, and the curve file.
struct Folder {
  std::string path;
  Folder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/curvefuzz-XXXXXX";
    Check(mkdtemp(pattern.data()) != nullptr);
    path = pattern + "/";
    Write("tableSection.dat", "  0\r\nSECTION\r\n  2\r\nTABLES\r\n  0\r\nENDSEC\r\n");
  }
  void Write(const std::string& name, std::string_view bytes) const {
    std::FILE* f = std::fopen((path + name).c_str(), "wb");
    Check(f != nullptr);
    Check(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
    Check(std::fclose(f) == 0);
  }
};

const Folder& TheFolder() {
  static Folder folder;
  return folder;
}

// Checks the DXF as it is written: pairs of a known group code and a one-line value, ending in EOF.
class CheckingSink : public TextSink {
 public:
  std::size_t lines = 0, entities = 0;
  bool endsWithEof = false;  // the last pair is "  0" "EOF"

  void Line(std::string_view utf8) override {
    Check(utf8.find_first_of("\r\n") == std::string_view::npos);
    if (lines % 2 == 0) {
      Check(IsGroupCode(utf8));
      zeroCode_ = utf8 == "  0";
      entities += zeroCode_;
    } else {
      endsWithEof = zeroCode_ && utf8 == "EOF";
    }
    ++lines;
  }
  // The drawing is written in whole lines only; a continued line would break the group-code pairs.
  void Text(std::string_view) override { Check(false); }
  void Raw(std::string_view cp932) override {
    // Only the table section comes raw: whole lines.
    Check(!cp932.empty() && cp932.back() == '\n');
    for (char c : cp932)
      lines += c == '\n';
  }

 private:
  static bool IsGroupCode(std::string_view s) {
    static const std::string_view codes[] = {"  0", "  1", "  2", "  3", "  6", "  8", "  9", " 10", " 11",
                                             " 20", " 21", " 30", " 40", " 50", " 51", " 62", " 72", " 100"};
    for (std::string_view c : codes)
      if (s == c) return true;
    return false;
  }
  bool zeroCode_ = false;
};

// Checks the contour blocks as they are written: one line each, of words the control reads (G40, G41,
// G00 to G03, then X Y Z I J with a number of at most 99999.999, D, F), never empty.
class NcCheckingSink : public TextSink {
 public:
  std::size_t blocks = 0;

  void Line(std::string_view block) override {
    Check(!block.empty() && block.find_first_of("\r\n") == std::string_view::npos);
    std::size_t pos = 0;
    while (pos < block.size()) {
      std::size_t end = block.find(' ', pos);
      if (end == std::string_view::npos) end = block.size();
      CheckWord(block.substr(pos, end - pos));
      pos = end + 1;
    }
    ++blocks;
  }
  void Text(std::string_view) override { Check(false); }
  void Raw(std::string_view) override { Check(false); }

 private:
  static void CheckWord(std::string_view w) {
    Check(w.size() >= 2);
    if (w[0] == 'G') {
      Check(w == "G40" || w == "G41" || w == "G00" || w == "G01" || w == "G02" || w == "G03");
      return;
    }
    Check(std::string_view("XYZIJDF").find(w[0]) != std::string_view::npos);
    std::string number(w.substr(1));
    Check(number.find_first_not_of("-.0123456789") == std::string::npos);
    char* end = nullptr;
    const double v = std::strtod(number.c_str(), &end);
    Check(end == number.c_str() + number.size() && v >= -99999.999 && v <= 99999.999);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Folder& folder = TheFolder();

  // Splitting any line into fields never fails; the type is at most the line.
  std::size_t lineCount = 0;
  for (std::size_t pos = 0; pos <= bytes.size();) {
    std::size_t nl = bytes.find('\n', pos);
    std::string_view line =
        bytes.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
    CurveLine c = ParseCurveLine(line);
    Check(c.type.size() <= line.size() && c.type.find(',') == std::string::npos);
    if (nl == std::string_view::npos) {
      lineCount += !line.empty();
      break;
    }
    ++lineCount;
    pos = nl + 1;
  }

  // The reader gives the same number of lines, each without line end, NUL or excess bytes.
  folder.Write("curve.csv", bytes);
  std::string curve = folder.path + "curve.csv";
  {
    CurveReader reader(curve);
    Check(reader.IsOpen());
    std::string line;
    std::size_t n = 0;
    while (reader.Next(line)) {
      Check(line.size() <= kCurveLineLimit && line.find('\n') == std::string::npos &&
            line.find('\0') == std::string::npos);
      ++n;
    }
    Check(n == lineCount);
  }

  // The drawing: always complete, at most one entity per line besides the axes and the origin mark.
  // A contour of ordinary size is drawn whole; for a larger one (or one with infinite or NaN
  // coordinates) the segments alone, because its origin mark is thousands of arcs that would slow
  // the fuzzer a hundredfold (the mark's bound is the writer's own test).
  Installation inst;
  inst.programFolder = folder.path;
  inst.iniPath = folder.path + "lindrel.ini";
  RecordingReporter reporter;
  RecordingPlatform platform;
  ScriptedDialogs dialogs;
  Context ctx{inst, reporter, platform, dialogs, ""};
  DxfPoint min, max;
  Check(GetMinMaxPoint(ctx, curve, min, max) == 0);
  Check(min.x <= 0 && min.y <= 0 && max.x >= 0 && max.y >= 0);
  const double markRadius = 0.05 * ((max.x - min.x) + (max.y - min.y)) / 2;
  CheckingSink sink;
  DxfDrawing d{sink, ElementColor{}, "", "", 0, ""};
  if (markRadius < 10) {
    Check(lindrel(ctx, d, curve) == 0);
    Check(sink.entities <= lineCount + 2 + 1 + 2 * 100 + 2 + 2 + 2);  // + sections; < 100 arc pairs
  } else {
    BeginDxfEntities(d);
    Check(WriteEuklidSegments(ctx, d, curve) == 0);
    EndDxfFile(d);
    Check(sink.entities <= lineCount + 2);
  }
  Check(sink.lines % 2 == 0 && sink.endsWithEof);

  // The contour program's path: blocks of readable words only, at most five for a contour's approach
  // and entry, one per segment, at most as many again for the run-on of a closed contour and three for
  // its end, or a refusal (numbers no control takes, an arc too small to start the compensation on).
  ctx.dbPath = folder.path + "project.dat";
  Check(WriteString(ctx.dbPath, "ncproc1", "定義", curve));
  NcProcessRecord rec;
  rec.v[kProcDiameter] = 6;
  rec.v[kProcD] = 7;
  rec.v[kProcF] = 300;
  rec.v[kProcR] = 2;
  NcCheckingSink nc;
  const std::size_t boxes = reporter.boxes.size();
  const int rc = WriteEuklidContour(ctx, nc, "ncproc1", rec, StartPosition{0, 0, 50});
  Check(rc == 0 || (rc == -1 && reporter.boxes.size() == boxes + 1));
  Check(nc.blocks <= 6 * lineCount);
  return 0;
}
