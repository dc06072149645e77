#include "NcTestSupport.h"

#include <algorithm>
#include <filesystem>

#include "Rs274.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin::test {

std::string Program(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view l : lines) {
    text += l;
    text += "\r\n";
  }
  return text;
}

std::string Program(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines)
    text += l + "\r\n";
  return text;
}

std::string ProcessSectionText(int n, const ProcessFields& f) {
  return Sprintf("[ncproc%d]\n", n) + "tool=" + f.tool + "\ndiam=" + f.diam + "\nT=" + f.T + "\nH=" + f.H +
         "\nD=" + f.D + "\nS=" + f.S + "\nF=" + f.F + "\nG=" + f.G + "\nR=" + f.R + "\nZ=" + f.Z +
         "\nQ=" + f.Q + "\nOFF=" + f.OFF + "\n定義=" + f.definition + "\n\n";
}

std::string HoleSectionText(int group, const std::string& command, const std::vector<std::string>& variables,
                            const std::vector<std::string>& keys) {
  std::string text = Sprintf("[hole%d]\ncommand=%s\n", group, command.c_str());
  for (std::size_t i = 0; i < 10; ++i)
    text += Sprintf("variable%zu=%s\n", i, i < variables.size() ? variables[i].c_str() : "");
  for (const std::string& k : keys)
    text += k + "\n";
  return text + "\n";
}

NcTest::NcTest() {
  CopyProgramFolder(folder);
  std::filesystem::create_directories(folder.File("ncdata"));
  Table("[tap]\nRigidTap=0\nRotationFeed=0\n");
  t = std::make_unique<TestContext>(folder);
  EXPECT_EQ(SetNcTableFile(t->inst, t->reporter, t->inst.ncTableFile), 0);
  t->ctx.dbPath = folder.File("db/T.dat");
}

void NcTest::Table(const std::string& text) {
  folder.WriteCp932("NCformat.tbl", text);
}

void NcTest::Project(const std::string& sections, const std::vector<std::string>& machine) {
  std::vector<std::string> keys = {"ControlDevice=FANUC", "CoordinateSystem=G54",
                                   "onumber=1",           "ncpath=" + folder.File("ncdata"),
                                   "ncfile=O0001.NC",     "StartX=0.",
                                   "StartY=0.",           "StartZ=50."};
  // A given line replaces the default of its key; "KEY=" removes it.
  for (const std::string& m : machine) {
    std::string key = m.substr(0, m.find('=') + 1);
    auto it =
        std::find_if(keys.begin(), keys.end(), [&](const std::string& k) { return k.rfind(key, 0) == 0; });
    if (it != keys.end())
      *it = m;
    else
      keys.push_back(m);
  }
  std::string text = "[TALVORIN]\nproject=T\n\n[material]\nX=200.\nY=150.\nZ=20.\ntype=SS400\n\n[machine]\n";
  for (const std::string& k : keys)
    text += k + "\n";
  text += "\n[trycut]\nXmax=200\nXmin=0\nYmax=150\nYmin=0\nZmax=0\nZmin=-20\n\n" + sections;
  folder.WriteCp932("db/T.dat", text);
}

std::string NcTest::NcFile() const {
  if (!std::filesystem::exists(NcPath())) return "";
  const std::string db = folder.File("db/T.dat");
  if (ReadString(db, "machine", "ControlDevice", 16).find("OSP") == std::string::npos)
    Look(folder.Read("ncdata/O0001.NC"), ProjectToolDiameters(db));
  return folder.ReadCp932("ncdata/O0001.NC");
}

std::string NcTest::Body(NcBodyRoutine routine, const ProcessFields& f, int* result, double startX,
                         double startY) {
  // The record as the generator reads it.
  NcProcessRecord rec;
  rec.number = 1;
  rec.tool = f.tool;
  const std::string* fields[] = {&f.diam, &f.T, &f.H, &f.D, &f.S,   &f.F,
                                 &f.G,    &f.R, &f.Z, &f.Q, &f.OFF, &f.definition};
  for (std::size_t i = 0; i < 12; ++i)
    rec.v[i + 1] = fields[i]->empty() ? kNotSet : AtoF(*fields[i]);
  rec.v[kProcStartZ] = 50;
  rec.startX = startX;
  rec.startY = startY;
  StringSink sink;
  int rc = routine(ctx(), sink, rec);
  if (result) *result = rc;
  if (rc == 0 && !sink.text.empty()) {
    // The body in the frame the generator writes around it: its tool changed in, its length offset on
    // at the start Z, the spindle started at the start position.
    const int tool = std::max(1, static_cast<int>(AtoF(f.T)));
    const double diameter = AtoF(f.diam);
    std::map<int, double> tools = {{tool, diameter}};
    if (AtoF(f.D) > 0) tools[static_cast<int>(AtoF(f.D))] = diameter;
    Look(Program({"%", "O0001", "G90 G17 G40 G49 G80", Sprintf("T%02d", tool), "M06",
                  Sprintf("G90 G00 G54 X%.3f Y%.3f", startX, startY), Sprintf("G43 H%02d Z50.", tool),
                  "S1000 M03"}) +
             Utf8ToCp932Lossy(sink.text) + Program({"M05", "M30", "%"}),
         tools);
  }
  return sink.text;
}

void NcTest::Look(std::string program, std::map<int, double> tools) const {
  if (!interpretPrograms) return;
  for (const Looked& l : looked_)
    if (l.program == program) return;
  looked_.push_back({std::move(program), std::move(tools)});
}

void NcTest::TearDown() {
  if (!interpretPrograms || Rs274Path().empty()) return;
  for (Looked& l : looked_) {
    // The tests' NC table has no end lines; the shop's ends with M30 and the percent line.
    const std::string& p = l.program;
    if (p.find("M30\r\n") == std::string::npos && p.find("M02\r\n") == std::string::npos)
      l.program += p.rfind("%\r\n", 0) == 0 ? "M30\r\n%\r\n" : "M30\r\n";
    const Rs274Run run = RunRs274(l.program, l.tools);
    EXPECT_EQ(run.status, 0) << "rs274 does not read the program:\n"
                             << run.messages << "\n"
                             << Cp932ToUtf8(l.program);
  }
}

std::vector<std::string> NcTest::Errors() const {
  std::vector<std::string> errors;
  for (const auto& [text, kind] : t->reporter.boxes)
    if (kind < 0) errors.push_back(text);
  return errors;
}

bool NcTest::Listed(const std::string& line) const {
  const std::vector<std::string>& lines = t->reporter.Lines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace talvorin::test
