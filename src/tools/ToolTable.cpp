// The tool list, the magazine table and the tool screen.

#include <algorithm>

#include "store/Cp932.h"
#include "store/Files.h"
#include "store/Numbers.h"
#include "store/Profile.h"
#include "tools/Tools.h"

namespace talvorin {
namespace {

constexpr std::size_t kToolNameLimit = 32;  // "toolname": 31 bytes
constexpr std::size_t kDiameterLimit = 8;   // "diameter": 7 bytes

std::string ToolListFile(const Installation& inst) {
  return ProgramFile(inst, "defineTool.tbl");
}
std::string MagazineFile(const Installation& inst) {
  return ProgramFile(inst, "ToolMagazine.tbl");
}
std::string PocketSection(int n) {
  return Sprintf("T%d", n);
}

// Rows of the screen that show pockets: the magazine size, at most thirty.
int ScreenRows(const Installation& inst) {
  return std::clamp(MagazineSize(inst), 0, kToolScreenRows);
}

// The magazine table as it is created: a comment line, an empty line, then per pocket its section
// line, both keys without values and an empty line.
std::string EmptyMagazine(int size) {
  std::string text = ";;;マシニング　工具情報\r\n\r\n";
  for (int n = 1; n <= size; ++n)
    text += Sprintf("[T%d]\r\ntoolname=\r\ndiameter=\r\n\r\n", n);
  return text;
}

}  // namespace

int MagazineSize(const Installation& inst) {
  return ReadInt(inst.iniPath, "TALVORIN", "MaxToolNumber", 30);
}

void SetupToolsused(Context& ctx, ToolForm& form) {
  // 1. Magazine size and the tool list's highest entry number.
  ctx.reporter.Report("!!! routine name : SetupToolsused", 0);
  int rows = ScreenRows(ctx.inst);
  std::string file = ToolListFile(ctx.inst);
  int index = ReadInt(file, "TOOLLIST", "index", 10);
  ctx.reporter.Reportf(0, "!!! File = %s", file.c_str());

  // 2. Every present entry up to the index, a missing one skipped; the screen opens with empty lists.
  for (ToolRow& row : form.rows)
    row.toolNames.clear();
  for (int i = 0; i <= index; ++i) {
    std::string name = ReadString(file, "TOOLLIST", Sprintf("%s%d", "TOOLLIST", i), kToolNameLimit);
    if (name.empty()) continue;
    for (int n = 0; n < rows; ++n)
      form.rows[static_cast<std::size_t>(n)].toolNames.push_back(name);
  }
}

int GetToolTableFile(Context& ctx, std::string& path) {
  // 1. Path and magazine size.
  ctx.reporter.Report("!!! routine name : GetToolTableFile", 0);
  path = MagazineFile(ctx.inst);
  int size = MagazineSize(ctx.inst);

  // 2. An existing table is used as it is.
  if (PathExists(path)) return size;

  // 3. Otherwise it is created with one empty section per pocket.
  ctx.reporter.Reportf(0, "!!! 工具ファイル %s を新規作成", path.c_str());
  std::string bytes;
  if (!Utf8ToCp932(EmptyMagazine(size), bytes) || !ReplaceWholeFile(path, bytes))
    return ctx.reporter.Reportf(-1, "エラー：工具ファイル %s が開けません", path.c_str());
  return size;
}

int ReadToolTabel(Context& ctx, ToolForm& form) {
  // 1. The table, created when missing.
  ctx.reporter.Report("!!! routine name : ReadToolTabel", 0);
  std::string path;
  if (GetToolTableFile(ctx, path) < 0) return -1;

  // 2. Pocket n into row n; keys that are not set leave the fields as they are.
  int rows = ScreenRows(ctx.inst);
  for (int n = 1; n <= rows; ++n) {
    ToolRow& row = form.rows[static_cast<std::size_t>(n - 1)];
    std::string section = PocketSection(n);
    std::string name = ReadString(path, section, "toolname", kToolNameLimit);
    if (!name.empty()) row.toolName = name;
    std::string diameter = ReadString(path, section, "diameter", kDiameterLimit);
    if (!diameter.empty()) row.diameter = diameter;
  }

  // 3. Done.
  ctx.reporter.Report("+++ 既定の工具テーブルを読込ました。", 0);
  return 0;
}

int WriteToolTabel(Context& ctx, ToolForm& form) {
  // 1. Non-empty fields of row n into pocket n; an empty field writes nothing.
  ctx.reporter.Report("!!! routine name : WriteToolTabel", 0);
  std::string path = MagazineFile(ctx.inst);
  int rows = ScreenRows(ctx.inst);
  // The whole table in one replacement of the magazine file.
  ProfileEdit edit(path);
  auto writeRows = [&] {
    for (int n = 1; n <= rows; ++n) {
      const ToolRow& row = form.rows[static_cast<std::size_t>(n - 1)];
      std::string section = PocketSection(n);
      // The fields hold no more than their limits; a longer text from elsewhere is cut the same way.
      // 2. A refused write stops here; the rows before it stay written.
      std::string name = Cp932Cut(row.toolName, kToolNameLimit - 1);
      if (!name.empty() && !edit.Write(section, "toolname", name))
        return ctx.reporter.Reportf(-1, "エラー：[%s] toolname=%s 工具名書込み失敗", section.c_str(),
                                    name.c_str());
      std::string diameter = Cp932Cut(row.diameter, kDiameterLimit - 1);
      if (!diameter.empty() && !edit.Write(section, "diameter", diameter))
        return ctx.reporter.Reportf(-1, "エラー：[%s] diameter=%s 工具径書込み失敗", section.c_str(),
                                    diameter.c_str());
    }
    return 0;
  };
  const int written = writeRows();
  if (!edit.Apply()) {
    const ProfileChange& c = edit.Changes().front();
    const bool name = c.key == "toolname";
    return ctx.reporter.Reportf(
        -1, name ? "エラー：[%s] toolname=%s 工具名書込み失敗" : "エラー：[%s] diameter=%s 工具径書込み失敗",
        c.section.c_str(), c.value.c_str());
  }
  if (written != 0) return -1;

  // 3. Done, with an information box.
  ctx.reporter.Report("+++ 工具テーブルを更新しました。", 1);
  return 0;
}

int FindToolNumber(Context& ctx, std::string_view name, std::string_view diameter) {
  // An empty name would match every pocket that has no tool.
  if (name.empty()) return -1;
  // 1. The diameter as a number.
  double d = AtoF(diameter);
  // 2. The first pocket with the same name (exactly) and the same diameter (as a number).
  std::string path = MagazineFile(ctx.inst);
  int size = MagazineSize(ctx.inst);
  for (int n = 1; n <= size; ++n) {
    std::string section = PocketSection(n);
    if (ReadString(path, section, "toolname", kToolNameLimit) != name) continue;
    if (AtoF(ReadString(path, section, "diameter", kDiameterLimit)) == d) return n;
  }
  // 3. No such tool.
  return -1;
}

int ReadMagazine(Context& ctx, std::vector<MagazinePocket>& pockets) {
  std::string path;
  int size = GetToolTableFile(ctx, path);
  if (size < 0) return -1;
  pockets.clear();
  for (int n = 1; n <= size; ++n) {
    std::string section = PocketSection(n);
    pockets.push_back({n, ReadString(path, section, "toolname", kToolNameLimit),
                       ReadString(path, section, "diameter", kDiameterLimit)});
  }
  return 0;
}

int OpenToolScreen(Context& ctx, ToolForm& form) {
  SetupToolsused(ctx, form);
  return ReadToolTabel(ctx, form);
}

}  // namespace talvorin
