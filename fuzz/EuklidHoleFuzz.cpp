// libFuzzer target for the EUKLID hole-file reader: any bytes as a circle list, read into the rows of a
// fresh hole form. Every property checked here is one the hole road relies on; a violation traps so
// that the fuzzer records the input.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "euklid/Euklid.h"
#include "store/Profile.h"
#include "testing/TestDoubles.h"

using namespace talvorin;

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// The folder of this process: the hole file and the project database.
struct Folder {
  std::string path;
  Folder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/holefuzz-XXXXXX";
    Check(mkdtemp(pattern.data()) != nullptr);
    path = pattern + "/";
  }
  void Write(const std::string& name, std::string_view bytes) const {
    std::FILE* f = std::fopen((path + name).c_str(), "wb");
    Check(f != nullptr);
    Check(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
    Check(std::fclose(f) == 0);
  }
};

const Folder& TheFolder() {
  static Folder folder;
  return folder;
}

// Circle lines counted independently of the reader: a line (split at line feeds) that starts with "C,"
// or "c,".
std::size_t CircleLines(std::string_view bytes) {
  std::size_t n = 0;
  for (std::size_t pos = 0; pos < bytes.size();) {
    std::size_t nl = bytes.find('\n', pos);
    std::string_view line =
        bytes.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
    n += line.size() >= 2 && (line[0] == 'C' || line[0] == 'c') && line[1] == ',';
    if (nl == std::string_view::npos) break;
    pos = nl + 1;
  }
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Folder& folder = TheFolder();
  folder.Write("holes.csv", bytes);
  folder.Write("project.dat", "[hole]\r\ncount=\r\ngroup=\r\n");

  Installation inst;
  inst.programFolder = folder.path;
  inst.iniPath = folder.path + "TALVORIN.ini";
  RecordingReporter reporter;
  RecordingPlatform platform;
  ScriptedDialogs dialogs;
  Context ctx{inst, reporter, platform, dialogs, folder.path + "project.dat"};
  EuklidHoleForm form;
  const int rc = ReadEuklidHoleFile(ctx, form, folder.path + "holes.csv");

  // More circles than rows: refused, nothing filled, nothing written. Otherwise one row per circle in
  // file order, the fields within their 15 bytes, and the count stored.
  const std::size_t circles = CircleLines(bytes);
  const std::string count = ReadString(ctx.dbPath, "hole", "count", 16);
  if (circles > static_cast<std::size_t>(kEuklidHoleRows)) {
    Check(rc == -1 && reporter.boxes.size() == 1 && count.empty());
    for (const EuklidHoleRow& row : form.rows)
      Check(row.diameter.empty() && row.x.empty() && row.y.empty() && row.z.empty());
    return 0;
  }
  Check(rc == 0 && reporter.boxes.empty() && count == std::to_string(circles));
  for (std::size_t r = 0; r < form.rows.size(); ++r) {
    const EuklidHoleRow& row = form.rows[r];
    Check(row.kind.empty() && row.group.empty());
    for (const std::string* f : {&row.diameter, &row.x, &row.y, &row.z}) {
      Check(f->size() <= 15 * 3 && f->find('\n') == std::string::npos);
      if (r >= circles) Check(f->empty());
    }
  }
  return 0;
}
