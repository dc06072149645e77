#include "NcCheck.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <regex>

namespace talvorin::test {
namespace {

struct Word {
  char letter;
  std::string text;
  double value;
};

bool IsDecimalAddress(char c) {
  return std::string_view("XYZIJRQF").find(c) != std::string_view::npos;
}
bool IsKnownAddress(char c) {
  return std::string_view("XYZIJRQFGMSTHDPNO").find(c) != std::string_view::npos;
}

// The words of a block; false with a reason when it is not well formed.
bool Tokenize(const std::string& line, std::vector<Word>& words, std::string& why) {
  static const std::regex decimal("-?[0-9]+(\\.[0-9]*)?");
  static const std::regex integer("[0-9]+");
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ') {
      ++i;
      continue;
    }
    char c = line[i];
    if (!IsKnownAddress(c)) {
      why = std::string("unknown address '") + c + "'";
      return false;
    }
    std::size_t j = i + 1;
    while (j < line.size() &&
           (std::isdigit(static_cast<unsigned char>(line[j])) || line[j] == '.' || line[j] == '-'))
      ++j;
    std::string number = line.substr(i + 1, j - i - 1);
    const std::regex& form = IsDecimalAddress(c) ? decimal : integer;
    if (!std::regex_match(number, form)) {
      why = std::string("malformed number after ") + c + ": '" + number + "'";
      return false;
    }
    words.push_back({c, number, std::atof(number.c_str())});
    i = j;
  }
  if (words.empty()) {
    why = "empty block";
    return false;
  }
  return true;
}

struct Machine {
  std::optional<double> x, y, z;
  bool absolute = true;
  int motion = 0;  // 0 to 3
  int cycle = 0;   // 81 to 84 while a canned cycle is active
  bool compensation = false;
  bool lengthOffset = false;
  bool toolChanged = false;
  bool spindle = false;
  bool perRevolution = false;
};

}  // namespace

std::vector<std::string> CheckNcProgram(const std::string& text) {
  std::vector<std::string> problems;
  auto problem = [&problems](std::size_t n, const std::string& what) {
    problems.push_back("line " + std::to_string(n) + ": " + what);
  };
  // Lines: every one ends in CR LF.
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t end = text.find("\r\n", from);
    if (end == std::string::npos) {
      problem(lines.size() + 1, "no CR LF at the end");
      end = text.size();
    }
    std::string line = text.substr(from, end - from);
    if (line.find_first_of("\r\n") != std::string::npos) problem(lines.size() + 1, "stray line break");
    lines.push_back(line);
    from = end + 2;
  }
  if (lines.empty() || lines[0] != "%") problem(1, "the program does not start with %");

  static const std::regex programNumber("O[0-9]{4}");
  static const std::regex sequence("N[0-9]+");
  Machine m;
  auto endOfProcess = [&](std::size_t n, const char* where) {
    if (m.compensation) problem(n, std::string("G41 still active at ") + where);
    if (m.cycle) problem(n, std::string("canned cycle not cancelled by G80 at ") + where);
  };

  for (std::size_t k = 0; k < lines.size(); ++k) {
    const std::size_t n = k + 1;
    const std::string& line = lines[k];
    if (line == "%") continue;
    if (std::regex_match(line, programNumber)) continue;
    if (std::regex_match(line, sequence)) {
      endOfProcess(n, "the next process");
      continue;
    }
    if (!line.empty() && line.front() == '(') {
      if (line.back() != ')' || line.find(')') != line.size() - 1) problem(n, "malformed comment");
      continue;
    }
    std::vector<Word> words;
    std::string why;
    if (!Tokenize(line, words, why)) {
      problem(n, why + " in '" + line + "'");
      continue;
    }
    std::map<char, const Word*> single;
    std::vector<int> g, mcodes;
    for (const Word& w : words) {
      if (w.letter == 'G') {
        g.push_back(std::atoi(w.text.c_str()));
      } else if (w.letter == 'M') {
        mcodes.push_back(std::atoi(w.text.c_str()));
      } else {
        if (single.count(w.letter)) problem(n, std::string("address ") + w.letter + " twice");
        single[w.letter] = &w;
      }
    }
    auto has = [&](char c) { return single.count(c) > 0; };
    auto value = [&](char c) { return single.at(c)->value; };
    auto hasG = [&](int code) { return std::find(g.begin(), g.end(), code) != g.end(); };
    auto hasM = [&](int code) { return std::find(mcodes.begin(), mcodes.end(), code) != mcodes.end(); };

    // Modes and switches.
    if (hasG(91)) m.absolute = false;
    if (hasG(90)) m.absolute = true;
    if (hasG(95)) m.perRevolution = true;
    if (hasG(94)) m.perRevolution = false;
    if (hasM(5)) m.spindle = false;
    if (hasM(3) || hasM(4) || hasM(29)) m.spindle = true;
    if (hasM(6)) {
      endOfProcess(n, "a tool change");
      m.toolChanged = true;
      m.lengthOffset = false;
    }
    if ((hasG(43) || hasG(56)) && has('H')) m.lengthOffset = true;
    if (has('T') && (value('T') < 0 || single.at('T')->text.size() < 2))
      problem(n, "tool number not two digits");
    // Returns and level settings move no programmed axis as written: the position is unknown afterwards.
    if (hasG(28) || hasG(30)) {
      m.x.reset();
      m.y.reset();
      m.z.reset();
      continue;
    }
    if (hasG(71)) continue;  // the cycle return level of OSP

    if (hasG(80)) m.cycle = 0;
    int motion = -1;
    for (int code : g)
      if (code >= 0 && code <= 3) motion = code;
    int cycle = 0;
    for (int code : g)
      if (code >= 81 && code <= 84) cycle = code;
    if (m.cycle && (motion >= 0 || hasM(6))) problem(n, "motion while a canned cycle is active");
    if (motion >= 0) m.motion = motion;
    if (hasG(40)) m.compensation = false;
    if (hasG(41)) {
      if (!has('D') || value('D') <= 0) problem(n, "G41 without an offset number");
      m.compensation = true;
    }
    if (cycle) {
      m.cycle = cycle;
      if (!has('R') || !has('Z') || !has('F')) problem(n, "canned cycle without R, Z or F");
      if (cycle == 83 && !has('Q')) problem(n, "G83 without Q");
    }

    const bool moves = has('X') || has('Y') || has('Z') || has('I') || has('J');
    if (!moves) continue;
    if (!m.absolute) {
      m.x.reset();
      m.y.reset();
      m.z.reset();
      continue;
    }
    const bool cutting = cycle || m.cycle || (m.motion >= 1 && m.motion <= 3);
    if (cutting) {
      if (!m.lengthOffset) problem(n, "cutting without a tool length offset after the tool change");
      if (!m.spindle) problem(n, "cutting with the spindle stopped");
    }
    if (m.motion == 0 && !m.cycle && has('Z') && m.compensation) problem(n, "rapid in Z with G41 active");

    // Arcs: the end point on the circle about the centre.
    if (!m.cycle && (m.motion == 2 || m.motion == 3)) {
      if (!m.x || !m.y) {
        problem(n, "arc from an unknown position");
      } else {
        double cx = *m.x + (has('I') ? value('I') : 0), cy = *m.y + (has('J') ? value('J') : 0);
        double ex = has('X') ? value('X') : *m.x, ey = has('Y') ? value('Y') : *m.y;
        double r1 = std::hypot(*m.x - cx, *m.y - cy), r2 = std::hypot(ex - cx, ey - cy);
        if (r1 < 0.001) problem(n, "arc without a radius");
        if (std::fabs(r1 - r2) > 0.002) problem(n, "arc end point off its circle");
      }
    }
    // Positions: a canned cycle returns to its initial level (G98), so Z stays.
    if (has('X')) m.x = value('X');
    if (has('Y')) m.y = value('Y');
    if (has('Z') && !m.cycle) m.z = value('Z');
  }
  endOfProcess(lines.size(), "the end of the program");
  if (m.perRevolution) problem(lines.size(), "G95 not reset by G94");
  return problems;
}

}  // namespace talvorin::test
