// Shared set-up of the hole tests: the shipped installation in a temporary folder and a project
// database whose hole sections are laid out as a new project file has them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "holes/Holes.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "support/TestFolder.h"

namespace talvorin::test {

// The material block and the six empty hole sections of a new project file.
inline std::string ProjectText(std::string_view thickness) {
  std::string text =
      "[material]\r\nX=200.\r\nY=150.\r\nZ=" + std::string(thickness) + "\r\ntype=SS400\r\n\r\n";
  for (int n = 1; n <= 6; ++n) {
    text += Sprintf("[hole%d]\r\ncommand=\r\n", n);
    for (int i = 0; i < 10; ++i)
      text += Sprintf("variable%d=\r\n", i);
    text += "\r\n";
  }
  return text + "[ncproc]\r\nindex=\r\n\r\n";
}

// The lines of section `name` of a file's text, from its header up to the next section.
inline std::string SectionText(const std::string& text, std::string_view name) {
  std::string header = "[" + std::string(name) + "]\r\n";
  std::size_t from = text.find(header);
  if (from == std::string::npos) return "";
  std::size_t to = text.find("\r\n[", from + header.size());
  return text.substr(from, to == std::string::npos ? std::string::npos : to + 2 - from);
}

// Expected text of the parameter lines variable0 to variable9.
inline std::string VariableLines(const std::array<std::string, 10>& values) {
  std::string text;
  for (int i = 0; i < 10; ++i)
    text += Sprintf("variable%d=%s\r\n", i, values[static_cast<std::size_t>(i)].c_str());
  return text;
}

// The shipped program folder with a project "db/TEST.dat" of the given thickness as the current
// project database.
struct ShippedFolder : TestFolder {
  ShippedFolder() { CopyProgramFolder(*this); }
};

class HoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.Write("db/TEST.dat", ProjectText("12."));
    t.ctx.dbPath = folder.File("db/TEST.dat");
  }

  std::string Database() const { return folder.Read("db/TEST.dat"); }
  std::string Hole(int n) const { return Cp932ToUtf8(SectionText(Database(), Sprintf("hole%d", n))); }
  void SetThickness(std::string_view z) { folder.Write("db/TEST.dat", ProjectText(z)); }

  // The last line of the message list.
  std::string LastLine() const { return t.reporter.Lines().empty() ? "" : t.reporter.Lines().back(); }
  bool HasLine(std::string_view line) const {
    for (const std::string& l : t.reporter.Lines())
      if (l == line) return true;
    return false;
  }

  ShippedFolder folder;
  TestContext t{folder};
};

}  // namespace talvorin::test
