// The process sheet: an HTML page beside the project database listing the stored processes with
// their tool and cutting data for the machine operator.
#include <array>

#include "outputs/Outputs.h"
#include "process/Process.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

namespace {

constexpr std::size_t kToolLimit = 32;     // "tool": 31 bytes
constexpr std::size_t kValueLimit = 16;    // the other columns: 15 bytes
constexpr std::size_t kCommandLimit = 32;  // the group's "command": 31 bytes
constexpr int kMaxSheetProcesses = 99;

// Text as HTML content: "&", "<", ">" and quotes as entities, so a caption shows as typed.
std::string HtmlText(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
        break;
    }
  }
  return out;
}

std::string Cell(std::string_view text) {
  return "<td>" + HtmlText(text) + "</td>";
}

void WriteHeading(TextSink& sheet, std::string_view base) {
  sheet.Line("<html lang=\"ja\">");
  sheet.Line("<head>");
  sheet.Line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">");
  sheet.Line(Sprintf("<title>%s HTML 加工指示書</title>", HtmlText(base).c_str()));
  sheet.Line("<link rel=\"stylesheet\" type=\"text/css\" href=\"../style.css\">");
  sheet.Line("</head>");
  sheet.Line("<body bgcolor=\"#ffffff\">");
  sheet.Line("");
  sheet.Line("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">");

  sheet.Line("<tr class=\"title1\">");
  for (const char* cell :
       {"<td rowspan=\"2\">穴の種類</td>", "<td rowspan=\"2\">工具名</td>", "<td colspan=\"4\">工具情報</td>",
        "<td rowspan=\"2\">回転数<br />S</td>", "<td rowspan=\"2\">送り<br />F</td>",
        "<td rowspan=\"2\">G<br />コード</td>", "<td rowspan=\"2\">位置決め<br />R</td>",
        "<td rowspan=\"2\">切込深さ<br />Z</td>", "<td rowspan=\"2\">切込量<br />Q</td>",
        "<td rowspan=\"2\">仕上代<br />OS</td>", "<td rowspan=\"2\">定義<br />No</td>"})
    sheet.Line(cell);
  sheet.Line("</tr>");
  sheet.Line("");
  sheet.Line("<tr class=\"title1\">");
  for (const char* cell : {"<td>径</td>", "<td>T</td>", "<td>H</td>", "<td>D</td>"})
    sheet.Line(cell);
  sheet.Line("</tr>");
  sheet.Line("");
}

}  // namespace

std::string ProcessSheetPath(const std::string& dbPath) {
  std::size_t slash = dbPath.rfind('/');
  std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::size_t dot = dbPath.rfind('.');
  std::string stem = dot != std::string::npos && dot > nameStart ? dbPath.substr(0, dot) : dbPath;
  return stem + ".html";
}

int WriteHoleKindCell(Context& ctx, TextSink& sheet, int group) {
  std::string section = Sprintf("%s%d", "hole", group);
  std::string command = ReadString(ctx.dbPath, section, "command", kCommandLimit);
  if (command.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db 穴の種類取得失敗", section.c_str(), "command");
  std::size_t end = command.find_first_of("[\n");
  sheet.Line(Cell(command.substr(0, end)));
  return 0;
}

int WriteProcessSheet(Context& ctx) {
  Reporter& rep = ctx.reporter;
  rep.Report("!!! routine name : WriteProcessSheet", 0);
  if (ctx.dbPath.empty()) return rep.Report("エラー：保存ファイルが設定されてません", -1);
  const std::string path = ProcessSheetPath(ctx.dbPath);
  TextFile sheet({TextEncoding::kCp932, "\n"});
  if (!sheet.Replace(path)) return rep.Reportf(-1, "エラー：HTMLファイル %s が開けません。", path.c_str());

  std::size_t slash = path.rfind('/');
  std::string base = path.substr(slash == std::string::npos ? 0 : slash + 1);
  base.resize(base.size() - 5);  // ".html"
  WriteHeading(sheet, base);

  // The key names of a process record, as every reader takes them from "NcProcess.key"; without them
  // the table stays empty.
  std::array<std::string, kProcessColumns> keys;
  bool complete = true;
  for (std::size_t i = 0; i < kProcessColumns && complete; ++i)
    complete = GetProcessKeyName(ctx, static_cast<int>(i), keys[i]) == 0;
  for (int n = 1; n <= kMaxSheetProcesses && complete; ++n) {
    std::string section = ProcessSection(n);
    std::string tool = ReadString(ctx.dbPath, section, keys[kProcName], kToolLimit);
    if (tool.empty()) break;
    int group = ReadInt(ctx.dbPath, section, keys[kProcDefinition], 0);
    if (group == 0) {
      rep.Reportf(-1, "エラー：[%s] 定義= | db 定義番号取得失敗。", ctx.dbPath.c_str());
      complete = false;
      break;
    }
    sheet.Line(Sprintf("<tr class=\"line%d\">", n % 2));
    if (WriteHoleKindCell(ctx, sheet, group) != 0) {
      complete = false;  // the row stays open without cells; the table ends here
      break;
    }
    sheet.Line(Cell(tool));
    for (std::size_t column = kProcDiameter; column <= kProcOff; ++column) {
      // An absent key shows as a blank cell, a key with an empty value as an empty cell. (A blank
      // default would be trimmed away as every default's trailing blanks are; an empty value tells
      // the two apart by a second read with a default of its own.)
      std::string value = ReadString(ctx.dbPath, section, keys[column], kValueLimit);
      if (value.empty() && ReadString(ctx.dbPath, section, keys[column], kValueLimit, "-") == "-")
        value = " ";
      sheet.Line(Cell(value));
    }
    sheet.Line(Sprintf("<td>%d</td>", group));
    sheet.Line("</tr>");
    sheet.Line("");
  }

  sheet.Line("</table>");
  sheet.Line("");
  sheet.Line("</body>");
  sheet.Line("</html>");
  if (!sheet.Commit()) return rep.Reportf(-1, "エラー：HTMLファイル %s が開けません。", path.c_str());
  ctx.platform.OpenDocument(path);  // a failure to show it is not reported
  return complete ? 0 : -1;
}

}  // namespace talvorin
