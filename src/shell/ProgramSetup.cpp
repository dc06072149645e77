#include "shell/ProgramSetup.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "shell/BuildDate.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr const char* kProgramName = "TALVORIN";
constexpr const char* kBuildLabel = "Release";
constexpr char kBuildLetter = 'R';
constexpr int kMajorVersion = 1;
constexpr int kMinorVersion = 0;

}  // namespace

BuildDate TheBuildDate() {
  return {TALVORIN_BUILD_YEAR, TALVORIN_BUILD_MONTH, TALVORIN_BUILD_DAY};
}

int BuildNumber(const BuildDate& date) {
  return date.month * 100 + date.day + date.year;
}

std::string VersionLine(int buildNumber) {
  return Sprintf("%s %s Version %c%d.%02d.%d", kProgramName, kBuildLabel, kBuildLetter, kMajorVersion,
                 kMinorVersion, buildNumber);
}

std::string ShortVersion(int buildNumber) {
  return Sprintf("%c%d.%02d.%d", kBuildLetter, kMajorVersion, kMinorVersion, buildNumber);
}

std::string AboutLine(const BuildDate& date, int buildNumber) {
  return Sprintf("%s／ブレンホルト#%s Version %d%c%d.%02d.%d [Build Date %d/%d/%d]", "二次元NC加工システム",
                 kProgramName, date.year, kBuildLetter, kMajorVersion, kMinorVersion, buildNumber, date.year,
                 date.month, date.day);
}

std::string ProgramInformationText(const BuildDate& date, int buildNumber, const Timestamp& f) {
  return Sprintf(
      "%12s : %s\n%12s : %s\n%12s : %d%c%d.%02d.%d\n%12s : %d/%02d/%02d %02d:%02d:%02d\n%12s : %s\n%12s : "
      "%s\n",
      "Developer", "Brenholt", "Software", kProgramName, "Version", date.year, kBuildLetter, kMajorVersion,
      kMinorVersion, buildNumber, "Build Date", f.year, f.month, f.day, f.hour, f.minute, f.second, "Notice",
      "二次元ＮＣ加工システム（穴・溝加工）", "Reference", "ヘルプ / お読みください");
}

void SetupProgram(Installation& inst, const std::string& executablePath, const BuildDate& date) {
  // The programmers of one workstation share the program folder through its group: every file and
  // folder a program creates there is group-writable, whatever the user's own umask.
  umask(002);
  std::size_t slash = executablePath.rfind('/');
  inst.programFolder = slash == std::string::npos ? "./" : executablePath.substr(0, slash + 1);
  inst.buildNumber = BuildNumber(date);
  inst.iniPath = ProgramFile(inst, Sprintf("%s.ini", kProgramName));
  const Colours colours = ReadColours(inst);
  inst.windowColour = colours.window;
  inst.textColour = colours.text;
}

Colours ReadColours(const Installation& inst) {
  Colours colours;
  ReadColour(inst, "window", colours.window);
  ReadColour(inst, "text", colours.text);
  return colours;
}

void ReadColour(const Installation& inst, std::string_view key, Colour& colour) {
  ParseColour(ReadString(inst.iniPath, "color", key, 16), colour);
}

void ParseColour(std::string_view value, Colour& colour) {
  int* parts[3] = {&colour.red, &colour.green, &colour.blue};
  // As "%d,%d,%d" scans: blanks before a number, the commas exactly; the first failure ends the scan.
  std::size_t pos = 0;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      if (pos >= value.size() || value[pos] != ',') break;
      ++pos;
    }
    while (pos < value.size() && std::isspace(static_cast<unsigned char>(value[pos])))
      ++pos;
    std::size_t start = pos;
    if (pos < value.size() && (value[pos] == '-' || value[pos] == '+')) ++pos;
    std::size_t digits = pos;
    long long n = 0;
    while (pos < value.size() && value[pos] >= '0' && value[pos] <= '9') {
      n = std::min(n * 10 + (value[pos] - '0'), 1000LL);
      ++pos;
    }
    if (pos == digits) break;
    if (value[start] == '-') n = -n;
    *parts[i] = static_cast<int>(std::clamp(n, 0LL, 255LL));
  }
}

double PlacementFraction(std::string_view text) {
  double f = AtoF(text);
  if (std::isnan(f) || f < 0) return 0;
  if (f > 1) return 1;
  return f;
}

double CheckPlacementField(Reporter& rep, std::string& field) {
  if (field.empty()) return 0;
  const char* text = field.c_str();
  char* end = nullptr;
  double f = std::strtod(text, &end);  // numbers are read in the "C" locale
  bool number = end != text && !std::isnan(f);
  if (!number || f < 0) {
    field = "0";
    rep.Report("データは 0～1 の範囲にして下さい。", -1);
    return 0;
  }
  if (f > 1) {
    field = "1";
    rep.Report("データは 0～1 の範囲にして下さい。", -1);
    return 1;
  }
  return f;
}

WindowPlacement PlaceWindow(const Installation& inst, int desktopWidth, int desktopHeight, int taskbarHeight,
                            int windowWidth, int windowHeight) {
  double fx = PlacementFraction(ReadStringOr(inst.iniPath, "window", "X", 16, "0.5"));
  double fy = PlacementFraction(ReadStringOr(inst.iniPath, "window", "Y", 16, "0.5"));
  return PlaceWindowAt(fx, fy, desktopWidth, desktopHeight, taskbarHeight, windowWidth, windowHeight);
}

WindowPlacement PlaceWindowAt(double fx, double fy, int desktopWidth, int desktopHeight, int taskbarHeight,
                              int windowWidth, int windowHeight) {
  int freeWidth = desktopWidth - windowWidth;
  int freeHeight = desktopHeight - taskbarHeight - windowHeight;
  return {static_cast<int>(freeWidth * fx), static_cast<int>(freeHeight * fy)};
}

}  // namespace talvorin
