// Helpers of the drawing tests: DXF text written compactly by hand, outside programs run as black
// boxes, and the DXF library check of a written file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace talvorin::test {

// DXF text from one "code|value" pair per line: "  0|LINE\n  8|0\n" gives "  0\r\nLINE\r\n  8\r\n0\r\n".
// The code is kept exactly as written, blanks included.
std::string Groups(std::string_view pairs);

struct ProgramResult {
  int status = -1;  // exit status, -1 when it could not be run or did not exit
  std::string out, err;
};

// Runs argv[0] with the arguments, standard input from /dev/null, and collects its output.
ProgramResult RunProgram(const std::vector<std::string>& argv);

// The report of tests/dxf/check_dxf.py (run by /usr/bin/python3 with Debian's ezdxf) on a DXF file:
// encoding, audit errors, extents, entities per layer and, unless countsOnly, every entity. The test
// fails when the script does not run, ezdxf cannot be imported or the file does not load.
std::string CheckDxf(const std::string& path, bool countsOnly = false);

// The lines of a report that start with `prefix`.
std::vector<std::string> ReportLines(const std::string& report, std::string_view prefix);

}  // namespace talvorin::test
