// A large NC program for the benchmarks that read one (the time estimate, the NC viewer).
#pragma once

#include <fstream>
#include <string>

#include "store/Numbers.h"

namespace talvorin::bench {

// Writes a program of about `megabytes` MB in the generator's FANUC dialect to `path`: per tool a
// change, a spindle start, then a long contour of lines and quarter arcs, a row of G81 holes, G83
// pecks and G84 taps. Written as it is formed: no large string in memory.
inline void WriteGeneratedNcProgram(const std::string& path, long megabytes) {
  std::ofstream text(path, std::ios::binary);
  const long long target = megabytes * 1000000LL;
  long long written = 0;
  auto line = [&](const std::string& l) {
    text << l << "\r\n";
    written += static_cast<long long>(l.size()) + 2;
  };
  line("%");
  line("O0001");
  for (int tool = 1; written < target; ++tool) {
    line("G90 G17 G40 G49 G80");
    line(Sprintf("N%d", tool));
    line(Sprintf("(TOOL %d)", tool));
    line(Sprintf("T%02d", tool % 99 + 1));
    line("M06");
    line("G90 G00 G54 X0. Y0.");
    line(Sprintf("G43 H%02d Z50.", tool % 99 + 1));
    line("S1200 M03");
    line("M08");
    line("G01 Z-5. F300");
    for (int k = 0; k < 2000; ++k) {  // a contour of 1 mm lines and 2 mm quarter arcs
      const double x = k * 3.0;
      line(Sprintf("G01 X%.3f Y%.3f", x + 1, 0.0));
      line(Sprintf("G03 X%.3f Y%.3f I0. J2.", x + 3, 2.0));
      line(Sprintf("G02 X%.3f Y%.3f I2. J0.", x + 3, 0.0));
    }
    line("G00 Z50.");
    line("G98 G81 X10. Y10. R3. Z-15. F120");
    for (int k = 1; k < 500; ++k)
      line(Sprintf("X%.3f Y%.3f", 10.0 + k, 10.0 + (k % 7)));
    line("G80");
    line("G98 G83 X10. Y30. R3. Z-30. Q4. F100");
    for (int k = 1; k < 300; ++k)
      line(Sprintf("X%.3f", 10.0 + k));
    line("G80");
    line("G98 G84 X10. Y50. R5. Z-20. F1000");
    for (int k = 1; k < 300; ++k)
      line(Sprintf("X%.3f", 10.0 + k));
    line("G80");
    line("M09");
    line("M05");
    line("G91 G28 Z0.");
  }
  line("M30");
  line("%");
}

}  // namespace talvorin::bench
