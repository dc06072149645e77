// An independent reader of NC programs for the tests: it knows nothing of the generator and reads the
// text as a controller would before running it, listing what a controller would refuse or what would
// crash the tool.
#pragma once

#include <string>
#include <vector>

namespace talvorin::test {

// Problems of an NC program given as the file's text (CP932 decoded, CR LF line ends), one text per
// problem with its line number; empty when the program is sound:
// - every line ends with CR LF and holds one block: "%", "O" and four digits, "N" and digits, a
//   comment in parentheses, or words of known addresses with well-formed numbers, no address twice
//   (except G and M);
// - G41 carries a D number and is cancelled by G40 before a rapid move in Z, a tool change, the next
//   process or the end;
// - every canned cycle is cancelled by G80 before any other motion, tool change, process or the end;
//   G95 is reset by G94;
// - after a tool change a tool length offset (G43 or G56 with H) comes before the first cutting move,
//   and the spindle runs (M03, M04 or M29 since the last M05) when the tool cuts;
// - an arc's end point lies on its circle (radius from start and to end within 0.002).
std::vector<std::string> CheckNcProgram(const std::string& text);

}  // namespace talvorin::test
