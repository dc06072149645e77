#include "shell/ProgramSetup.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

// Opens program folder + `value` as a document.
int OpenHelpDocument(Context& ctx, const std::string& value) {
  std::string path = ProgramFile(ctx.inst, value);
  if (!PathExists(path)) return ctx.reporter.Reportf(-1, "ヘルプファイル %s がありません。", path.c_str());
  if (!ctx.platform.OpenDocument(path)) return ctx.reporter.Report("エラー：ヘルプファイルが開けません", -1);
  return 0;
}

}  // namespace

int OpenHelpFile(Context& ctx) {
  std::string value = ReadString(ctx.inst.iniPath, "TALVORIN", "HelpFile", 128);
  if (value.empty()) return ctx.reporter.Report("エラー：ヘルプファイルが設定されてません。", -1);
  return OpenHelpDocument(ctx, value);
}

int OpenHelpTopic(Context& ctx, std::string_view topic) {
  std::string table = ProgramFile(ctx.inst, "help.ini");
  if (!PathExists(table)) return ctx.reporter.Reportf(-1, "ヘルプテーブル %s がありません。", table.c_str());
  std::string value = ReadString(table, "help", topic, 128);
  if (value.empty())
    return ctx.reporter.Reportf(-1, "エラー：[help] %s= | ヘルプファイル取得失敗", std::string(topic).c_str());
  return OpenHelpDocument(ctx, value);
}

}  // namespace talvorin
