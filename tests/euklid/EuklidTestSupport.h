// Fixtures of the EUKLID tests: the shipped installation in a temporary folder, a curve or circle file
// written by the test, and the project database read back key by key.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include <initializer_list>
#include <string>
#include <string_view>

#include "euklid/Euklid.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin::test {

// A test folder holding a copy of the shipped program folder.
struct ProgramFolder : TestFolder {
  ProgramFolder() { CopyProgramFolder(*this); }
};

class EuklidTest : public ::testing::Test {
 protected:
  // The NC table resolved and the folders of the program folder made, as start-up does.
  EuklidTest() : tc(folder) {
    EXPECT_EQ(SetNcTableFile(tc.inst, tc.reporter, tc.inst.ncTableFile), 0);
    folder.Write("ncdata/.keep", "");
  }

  Context& ctx() { return tc.ctx; }
  // A text file of the test folder from lines ended with CR LF, as EUKLID writes them.
  std::string Lines(const std::string& name, std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view l : lines) {
      text += l;
      text += "\r\n";
    }
    folder.Write(name, text);
    return folder.File(name);
  }
  std::string Db(const char* section, const char* key) { return ReadString(ctx().dbPath, section, key, 600); }
  // True when the key is in the project database (also with an empty value).
  bool HasKey(const char* section, const char* key) {
    return ReadString(ctx().dbPath, section, key, 600, "<absent>") != "<absent>";
  }
  // The box texts reported, in order.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& [text, kind] : tc.reporter.boxes)
      texts.push_back(text);
    return texts;
  }

  ProgramFolder folder;
  TestContext tc;
};

}  // namespace talvorin::test
