// libFuzzer target of the NC road: any bytes as a project database in a program folder made from the
// shipped tables (NCROAD_PROGRAM_FOLDER). The project is loaded as the main window loads it, planned
// and saved as "plan" does it, and its stored processes are written as the FANUC or OSP program into
// a checking sink. A crash, a hang (libFuzzer's -timeout), a program beyond a bound of lines, or a
// number word that is not finite or larger than any sum of the control's values traps.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "ncgen/NcGen.h"
#include "process/Process.h"
#include "project/ControllerFamily.h"
#include "project/Project.h"
#include "shell/Platform.h"
#include "shell/UserDialogs.h"
#include "store/Installation.h"
#include "store/Profile.h"
#include "store/Reporter.h"
#include "testing/TestDoubles.h"

using namespace talvorin;

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Every line checked as it is written, nothing kept: a program of absurd length cannot exhaust the
// memory before the bound traps.
class CheckingSink : public TextSink {
 public:
  void Line(std::string_view text) override {
    Check(++lines_ <= kMaxLines);
    CheckWords(text);
  }
  void Text(std::string_view text) override { CheckWords(text); }
  void Raw(std::string_view text) override { CheckWords(text); }

 private:
  // 15 processes of 10 positions each within the per-position bound of the milling bodies.
  static constexpr long long kMaxLines = 15LL * 10 * 20000 + 100000;

  // An address letter followed by a number: no "nan" or "inf", at most eight digits before the point
  // (the program number; coordinates of ±99999.999 plus offsets have six).
  static void CheckWords(std::string_view text) {
    for (std::size_t k = 0; k < text.size(); ++k) {
      if (!IsLetter(text[k]) || (k > 0 && IsLetter(text[k - 1]))) continue;
      std::size_t p = k + 1;
      if (p < text.size() && text[p] == '-') ++p;
      const std::string_view rest = text.substr(p);
      Check(!rest.starts_with("nan") && !rest.starts_with("inf") && !rest.starts_with("NAN") &&
            !rest.starts_with("INF"));
      std::size_t digits = 0;
      while (p < text.size() && IsDigit(text[p])) {
        ++digits;
        ++p;
      }
      Check(digits <= 8);
    }
  }

  long long lines_ = 0;
};

struct Road {
  Installation inst;
  RecordingReporter reporter;
  RecordingPlatform platform;
  ScriptedDialogs dialogs;
  std::string db;
};

Road* road = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* folder = std::getenv("NCROAD_PROGRAM_FOLDER");
  if (!folder || !*folder) {
    std::fprintf(stderr, "NCROAD_PROGRAM_FOLDER must name a program folder\n");
    std::exit(2);
  }
  road = new Road;
  road->inst.programFolder = std::string(folder) + "/";
  road->inst.iniPath = road->inst.programFolder + "TALVORIN.ini";
  if (SetNcTableFile(road->inst, road->reporter, road->inst.ncTableFile) != 0) {
    std::fprintf(stderr, "no NC table file in %s\n", folder);
    std::exit(2);
  }
  mkdir((road->inst.programFolder + "db").c_str(), 0755);
  road->db = road->inst.programFolder + "db/FUZZ.dat";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(road->db, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  RecordingReporter reporter;
  Context ctx{road->inst, reporter, road->platform, road->dialogs, road->db};

  // The header as loading it fills the main window; the material selects the condition tables.
  MainForm main;
  defineLoadMain(ctx, main);

  // "plan": generation, then the whole list saved or nothing.
  ProcessForm form;
  FillProcessNames(ctx, form);
  const std::size_t errors = reporter.Errors();
  const int generated = StartNcProcess(ctx, form, main);
  const int saved = SaveGeneratedNcProcess(ctx, form, generated, errors);
  // A saved list is one without errors and without anything left out.
  if (saved == 0) Check(generated == 0 && form.leftOut == 0);

  // "nc": the stored processes (the input's own or the planned ones) as the program of the family.
  MachineData machine;
  if (GetMachinedata(ctx, machine) != 0) {
    machine.coordinate = "G54";
    machine.start = {0, 0, 50};
  }
  const std::string device = ReadString(ctx.dbPath, "machine", "ControlDevice", 16);
  const NcDialect& dialect = FamilyOf(device).kind == ControllerKind::kOsp ? kOspDialect : kFanucDialect;
  CheckingSink sink;
  WriteNcProgram(ctx, dialect, machine, sink);
  return 0;
}
