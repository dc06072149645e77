#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/ProgramSetup.h"
#include "store/Cp932.h"

namespace fs = std::filesystem;

namespace talvorin::test {

TestFolder::TestFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/talvorin-test-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
}

TestFolder::~TestFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void TestFolder::Write(std::string_view relative, std::string_view bytes) const {
  fs::path p = File(relative);
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) ADD_FAILURE() << "cannot write " << p;
}

void TestFolder::WriteCp932(std::string_view relative, std::string_view utf8) const {
  Write(relative, Cp932(utf8));
}

std::string TestFolder::Read(std::string_view relative) const {
  std::ifstream in(File(relative), std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

std::string TestFolder::ReadCp932(std::string_view relative) const { return Cp932ToUtf8(Read(relative)); }

std::string Cp932(std::string_view utf8) {
  std::string out;
  if (!Utf8ToCp932(utf8, out)) ADD_FAILURE() << "not encodable in CP932: " << utf8;
  return out;
}

void CopyProgramFolder(const TestFolder& folder) {
  // The converted counterparts of data/ only: runs of the built programs leave folders and logs in
  // the build's program folder that a test must not inherit.
  const fs::path data = TALVORIN_DATA_DIR;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(data)) {
    if (!e.is_regular_file() || e.path().filename() == "CMakeLists.txt") continue;
    fs::path relative = fs::relative(e.path(), data);
    fs::create_directories((fs::path(folder.path()) / relative).parent_path());
    fs::copy_file(fs::path(TALVORIN_PROGRAM_DIR) / relative, fs::path(folder.path()) / relative,
                  fs::copy_options::overwrite_existing);
  }
}

TestContext::TestContext(const TestFolder& folder) : ctx{inst, reporter, platform, dialogs, ""} {
  platform.executablePath = folder.path() + "talvorin-cli";
  SetupProgram(inst, platform.executablePath, BuildDate{2026, 6, 3});
}

}  // namespace talvorin::test
