#include "Rs274.h"

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"
#include "support/CliRun.h"

namespace talvorin::test {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kInch = 25.4;

bool Has(const std::string& line, const char* word) {
  return line.find(word) != std::string::npos;
}

// The numbers between the parentheses of a canonical call.
std::vector<double> Arguments(const std::string& line) {
  std::vector<double> values;
  const std::size_t open = line.find('('), close = line.rfind(')');
  if (open == std::string::npos || close == std::string::npos) return values;
  std::stringstream in(line.substr(open + 1, close - open - 1));
  std::string item;
  while (std::getline(in, item, ','))
    values.push_back(std::strtod(item.c_str(), nullptr));
  return values;
}

// Distance from p to the segment a-b.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// Anticlockwise angle from a to b in [0, 2 pi).
double Sweep(double a, double b) {
  double s = std::fmod(b - a, 2 * kPi);
  return s < 0 ? s + 2 * kPi : s;
}

// Distance from p to an arc of the canonical output.
double ArcDistance(double px, double py, const CanonMove& m) {
  const double radius = std::hypot(m.x0 - m.cx, m.y0 - m.cy);
  const double start = std::atan2(m.y0 - m.cy, m.x0 - m.cx);
  const double end = std::atan2(m.y - m.cy, m.x - m.cx);
  const double at = std::atan2(py - m.cy, px - m.cx);
  const bool full = std::hypot(m.x - m.x0, m.y - m.y0) < 1e-9;
  bool inside;
  if (full)
    inside = true;
  else if (m.turn > 0)
    inside = Sweep(start, at) <= Sweep(start, end);
  else
    inside = Sweep(end, at) <= Sweep(end, start);
  if (inside) return std::fabs(std::hypot(px - m.cx, py - m.cy) - radius);
  return std::min(std::hypot(px - m.x0, py - m.y0), std::hypot(px - m.x, py - m.y));
}

}  // namespace

std::string Rs274Path() {
  // The folders of PATH, then the one the Debian package installs into.
  const char* env = std::getenv("PATH");
  std::stringstream folders(std::string(env ? env : "") + ":/usr/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (folder.empty()) continue;
    const std::string path = folder + "/rs274";
    if (access(path.c_str(), X_OK) == 0) return path;
  }
  return "";
}

std::string AdaptForRs274(const std::string& cp932Program) {
  std::stringstream in(Cp932ToUtf8(cp932Program));
  std::string line, text;
  bool units = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (Has(line, "G82") && !Has(line, "P")) line += " P0";
    for (std::size_t at = line.find("M29"); at != std::string::npos; at = line.find("M29"))
      line.replace(at, 3, "M03");
    // FANUC's dwell in seconds is X, the interpreter's is P.
    if (const std::size_t at = line.find("G04 X"); at != std::string::npos) line[at + 4] = 'P';
    if (!units && line != "%") {
      text += "G21\n";
      units = true;
    }
    text += line + "\n";
  }
  return text;
}

Rs274Run RunRs274(const std::string& cp932Program, const std::map<int, double>& toolDiameters) {
  TestFolder folder;
  folder.Write("p.ngc", AdaptForRs274(cp932Program));
  // The interpreter reads tool tables and parameter files in inches.
  std::string table;
  for (const auto& [number, diameter] : toolDiameters)
    table += Sprintf("T%d P%d D%.6f Z+0.000000 ;\n", number, number, diameter / kInch);
  folder.Write("tool.tbl", table);
  // G28 and G30 positions 300 mm above the work zero (the shop's reference point is above the
  // work), G54 selected with no offset.
  std::map<int, double> values = {{5220, 1}};  // in the order of their numbers, as it wants them
  for (int p = 5161; p <= 5186; ++p)
    if (p <= 5166 || p >= 5181) values[p] = (p == 5163 || p == 5183) ? 300 / kInch : 0;
  std::string parameters;
  for (const auto& [number, value] : values)
    parameters += Sprintf("%d\t%.6f\n", number, value);
  folder.Write("rs274.var", parameters);

  Rs274Run run;
  const std::string rs274 = Rs274Path();
  // The interpreter keeps its tool data in $HOME/.tool.mmap: a home of its own per run keeps runs at
  // once apart.
  const CliResult r = RunProgram({rs274, "-t", folder.File("tool.tbl"), "-v", folder.File("rs274.var"), "-g",
                                  folder.File("p.ngc"), folder.File("canon.txt")},
                                 {"HOME=" + folder.File("")});
  run.status = r.status;
  run.messages = r.out + r.err;
  std::stringstream canon(folder.Read("canon.txt"));
  std::string line;
  double x = 0, y = 0, z = 0;
  int tool = 0, selected = 0;  // CHANGE_TOOL names a table slot: the tool is the one selected
  while (std::getline(canon, line)) {
    if (Has(line, "SELECT_TOOL(")) {
      const std::vector<double> a = Arguments(line);
      if (!a.empty()) selected = static_cast<int>(a[0]);
    }
    if (Has(line, "CHANGE_TOOL(")) tool = selected;
    const bool traverse = Has(line, "STRAIGHT_TRAVERSE("), straight = Has(line, "STRAIGHT_FEED(");
    const bool arc = Has(line, "ARC_FEED(");
    if (!traverse && !straight && !arc) continue;
    const std::vector<double> a = Arguments(line);
    CanonMove m;
    m.x0 = x, m.y0 = y, m.z0 = z;
    m.feed = !traverse;
    m.tool = tool;
    if (arc && a.size() >= 6) {
      m.arc = true;
      m.x = a[0], m.y = a[1], m.cx = a[2], m.cy = a[3], m.turn = static_cast<int>(a[4]), m.z = a[5];
    } else if (a.size() >= 3) {
      m.x = a[0], m.y = a[1], m.z = a[2];
    } else {
      continue;
    }
    x = m.x, y = m.y, z = m.z;
    run.moves.push_back(m);
  }
  return run;
}

std::map<int, double> ProjectToolDiameters(const std::string& dbPath) {
  std::map<int, double> tools;
  for (int n = 1; n <= 15; ++n) {
    const std::string section = Sprintf("ncproc%d", n);
    const std::string diameter = ReadString(dbPath, section, "diam", 16);
    if (diameter.empty()) continue;
    for (const char* key : {"T", "D"}) {
      const std::string number = ReadString(dbPath, section, key, 16);
      if (!number.empty() && std::atoi(number.c_str()) > 0)
        tools[std::atoi(number.c_str())] = std::strtod(diameter.c_str(), nullptr);
    }
  }
  return tools;
}

std::vector<std::pair<double, double>> SlotOutline(double cx, double cy, double length, double halfWidth,
                                                   double degrees, double step) {
  // Relative to the slot centre along +X, then turned: the upper wall, the left end, the lower wall,
  // the right end.
  std::vector<std::pair<double, double>> points;
  const double h = length / 2;
  auto add = [&](double px, double py) {
    const double a = degrees * kPi / 180;
    points.emplace_back(cx + std::cos(a) * px - std::sin(a) * py, cy + std::sin(a) * px + std::cos(a) * py);
  };
  const int straight = static_cast<int>(std::ceil(length / step));
  const int round = static_cast<int>(std::ceil(kPi * halfWidth / step));
  for (int k = 0; k <= straight; ++k) {
    add(h - length * k / straight, halfWidth);
    add(-h + length * k / straight, -halfWidth);
  }
  for (int k = 0; k <= round; ++k) {
    const double a = kPi / 2 + kPi * k / round;
    add(-h + halfWidth * std::cos(a), halfWidth * std::sin(a));
    add(h - halfWidth * std::cos(a), -halfWidth * std::sin(a));
  }
  return points;
}

std::vector<std::pair<double, double>> CircleOutline(double cx, double cy, double radius, double step) {
  std::vector<std::pair<double, double>> points;
  const int count = static_cast<int>(std::ceil(2 * kPi * radius / step));
  for (int k = 0; k < count; ++k)
    points.emplace_back(cx + radius * std::cos(2 * kPi * k / count),
                        cy + radius * std::sin(2 * kPi * k / count));
  return points;
}

WallReach MeasureWall(const std::vector<CanonMove>& moves, const std::vector<std::pair<double, double>>& wall,
                      double z, int tool) {
  WallReach reach{0, 1e300};
  for (const auto& [px, py] : wall) {
    double nearest = 1e300;
    for (const CanonMove& m : moves) {
      if (!m.feed || m.tool != tool || std::fabs(m.z0 - z) > 1e-6 || std::fabs(m.z - z) > 1e-6) continue;
      const double d = m.arc ? ArcDistance(px, py, m) : SegmentDistance(px, py, m.x0, m.y0, m.x, m.y);
      nearest = std::min(nearest, d);
    }
    reach.farthest = std::max(reach.farthest, nearest);
    reach.nearest = std::min(reach.nearest, nearest);
  }
  return reach;
}

bool Reaches(const std::vector<CanonMove>& moves, double x, double y, double z) {
  for (const CanonMove& m : moves)
    if (m.feed && std::fabs(m.x - x) < 0.001 && std::fabs(m.y - y) < 0.001 && std::fabs(m.z - z) < 0.001)
      return true;
  return false;
}

}  // namespace talvorin::test
