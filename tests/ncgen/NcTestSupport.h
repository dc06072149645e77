// Fixtures of the NC generation tests: a copy of the shipped program folder whose NC table is replaced
// by the test's own, a project database written section by section, and expected programs written out
// line by line.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "NcCheck.h"
#include "ncgen/NcGen.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "support/TestFolder.h"

namespace talvorin::test {

// The text of lines, each ended with CR LF as the NC file ends them.
std::string Program(std::initializer_list<std::string_view> lines);
std::string Program(const std::vector<std::string>& lines);

// The fields of one process record as the process screen stores them ("" for an empty field).
struct ProcessFields {
  std::string tool, diam, T, H, D, S, F, G, R, Z, Q, OFF, definition;
};

// Section text of a process record.
std::string ProcessSectionText(int n, const ProcessFields& f);
// Section text of a hole group: "command", variable0 to variable9, then the given key=value lines.
std::string HoleSectionText(int group, const std::string& command, const std::vector<std::string>& variables,
                            const std::vector<std::string>& keys);

class NcTest : public ::testing::Test {
 protected:
  // The shipped installation with an NC table of no user lines, no switches and no dwell word.
  NcTest();

  // Replaces the NC table file with `text` (UTF-8; written as CP932).
  void Table(const std::string& text);
  // Writes the project database: section "machine" with `machine` lines (defaults: FANUC, G54,
  // onumber 1, the test's NC folder, O0001.NC, start 0., 0., 50.), section "material" with Z 20., the
  // material box 0 to 200 / 0 to 150 / -20 to 0, and the given sections.
  void Project(const std::string& sections, const std::vector<std::string>& machine = {});
  // The NC file of the project (O0001.NC in the NC folder) decoded from CP932; "" when there is none.
  std::string NcFile() const;
  std::string NcPath() const { return folder.File("ncdata/O0001.NC"); }

  // A body routine run on a record of the given fields, after the approach block's start Z 50 and
  // start position (startX, startY); the lines it wrote.
  std::string Body(NcBodyRoutine routine, const ProcessFields& f, int* result = nullptr, double startX = 0,
                   double startY = 0);

  // Every FANUC program the test looked at (the NC file read back, each body written successfully, in
  // the frame of a program) is run through the independent interpreter rs274 when the test ends: the
  // interpreter must read it whole. The interpreter reads no OSP words, so OSP programs are left out.
  // Off for the tests that run the interpreter themselves.
  void TearDown() override;
  bool interpretPrograms = true;

  // The error boxes shown so far, in order.
  std::vector<std::string> Errors() const;
  bool Listed(const std::string& line) const;

  TestFolder folder;
  std::unique_ptr<TestContext> t;
  Context& ctx() { return t->ctx; }

 private:
  struct Looked {
    std::string program;  // CP932, CR LF
    std::map<int, double> tools;
  };
  void Look(std::string program, std::map<int, double> tools) const;
  mutable std::vector<Looked> looked_;
};

}  // namespace talvorin::test
