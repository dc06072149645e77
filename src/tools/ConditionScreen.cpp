// The conditions screen: registering speeds, feeds and third values per tool, material and diameter
// through the register table "工具加工条件.tbl".
#include <climits>
#include <cmath>

#include "store/Numbers.h"
#include "store/Profile.h"
#include "tools/Tools.h"

namespace talvorin {
namespace {

constexpr std::size_t kNameLimit = 32;     // tool and material names, table file names: 31 bytes
constexpr std::size_t kCaptionLimit = 24;  // captions: 23 bytes
constexpr std::size_t kKeyLimit = 16;      // key names and values: 15 bytes
constexpr int kListMaximum = 30;

// Keys "<stem>0" upward to the first missing one, at most thirty.
std::vector<std::string> NumberedNames(const std::string& file, const char* section, const char* stem) {
  return ReadNumberedList(file, section, stem, kNameLimit, kListMaximum);
}

// The condition table that the register table names for the form's tool and material; empty when
// it names none.
std::string RegisteredTable(Context& ctx, const ConditionForm& form) {
  std::string name = ReadString(ConditionRegisterFile(ctx.inst), form.toolName, form.material, kNameLimit);
  if (name.empty()) return name;
  return ProgramFile(ctx.inst, "table/" + name);
}

std::string DiameterSection(const std::string& diameter) {
  return Sprintf("%c%.1f", 'D', AtoF(diameter));
}

// The integer part of the text's leading number ("1200.5" gives 1200), held to the int range.
int WholeNumber(const std::string& text) {
  double v = std::trunc(AtoF(text));
  if (std::isnan(v)) return 0;
  if (v < INT_MIN) return INT_MIN;
  return v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

}  // namespace

std::string ConditionRegisterFile(const Installation& inst) {
  return ProgramFile(inst, "工具加工条件.tbl");
}

void StartupToolInitial(Context& ctx, ConditionForm& form) {
  // 1. The register table.
  ctx.reporter.Report("!!! routine name : StartupToolInitial", 0);
  const std::string table = ConditionRegisterFile(ctx.inst);
  // 2. Tool names, then the materials of the program INI.
  form.toolNames = NumberedNames(table, "tool", "tool");
  form.materials = NumberedNames(ctx.inst.iniPath, "material", "material");
}

int SelectToolName(Context& ctx, ConditionForm& form) {
  // 1. The chosen tool.
  ctx.reporter.Report("!!! routine name : SelectToolName", 0);
  if (form.toolName.empty()) return 0;
  // 2. Its captions; every value field starts empty.
  std::string table = ConditionRegisterFile(ctx.inst);
  for (int i = 0; i < 4; ++i) {
    std::string caption = ReadString(table, form.toolName, Sprintf("%s%d", "title", i), kCaptionLimit);
    form.captions[static_cast<std::size_t>(i)] = caption.empty() ? "-" : caption;
    form.values[static_cast<std::size_t>(i)].clear();
  }
  return 0;
}

int GetTooldefaultCondition(Context& ctx, ConditionForm& form) {
  // 1. Tool, material and diameter are needed.
  ctx.reporter.Report("!!! routine name : GetTooldefaultCondition", 0);
  if (form.toolName.empty() || form.material.empty() || form.values[0].empty()) return -1;

  // 2. The table registered for tool and material.
  std::string path = RegisteredTable(ctx, form);
  if (path.empty()) return -1;

  // 3. Speed and feed of the diameter's section; absent values leave their fields.
  std::string section = DiameterSection(form.values[0]);
  std::string s = ReadString(path, section, "S", kKeyLimit);
  if (!s.empty()) form.values[1] = s;
  std::string f = ReadString(path, section, "F", kKeyLimit);
  if (!f.empty()) form.values[2] = f;

  // 4. The third value under the key that "key3" names; a tool without "key3" has no third value.
  std::string key3 = ReadString(ConditionRegisterFile(ctx.inst), form.toolName, "key3", kKeyLimit);
  if (key3.empty()) {
    form.values[3].clear();
  } else {
    std::string third = ReadString(path, section, key3, kKeyLimit);
    if (!third.empty()) form.values[3] = third;
  }
  return 0;
}

namespace {

// Writes the collected values; when the table cannot be replaced, each of them is reported as not
// written.
int ApplyConditions(Context& ctx, ProfileEdit& edit) {
  if (edit.Apply()) return 0;
  for (const ProfileChange& c : edit.Changes())
    ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 加工条件書込み失敗", c.section.c_str(), c.key.c_str(),
                         c.value.c_str());
  return -1;
}

}  // namespace

int RegisterToolCondition(Context& ctx, ConditionForm& form) {
  // 1. Tool, material and diameter.
  ctx.reporter.Report("!!! routine name : RegisterToolCondition", 0);
  if (form.toolName.empty()) return ctx.reporter.Report("エラー：工具名取り出し失敗", -1);
  if (form.material.empty()) return ctx.reporter.Report("エラー：材質取り出し失敗", -1);
  if (form.values[0].empty()) return ctx.reporter.Report("エラー：工具径取り出し失敗", -1);

  // 2. The table registered for tool and material.
  std::string path = RegisteredTable(ctx, form);
  if (path.empty()) return ctx.reporter.Report("エラー：加工条件テーブル名取得失敗", -1);
  ctx.reporter.Reportf(0, "加工条件テーブルファイル %s", path.c_str());

  // 3. First and second value as whole numbers under "key1" and "key2"; a failure of one does not
  //    stop the other.
  std::string table = ConditionRegisterFile(ctx.inst);
  std::string section = DiameterSection(form.values[0]);
  // The values go into the table in one replacement of the file.
  ProfileEdit edit(path);
  int written = 0;
  bool failed = false;
  for (int p = 1; p <= 2; ++p) {
    const std::string& text = form.values[static_cast<std::size_t>(p)];
    if (text.empty()) continue;
    std::string keyName = Sprintf("%s%d", "key", p);
    std::string key = ReadString(table, form.toolName, keyName, kKeyLimit);
    if (key.empty()) {
      ctx.reporter.Reportf(-1, "エラー：[%s] %s= | 登録キーワード取得失敗", form.toolName.c_str(),
                           keyName.c_str());
      failed = true;
      continue;
    }
    std::string value = Sprintf("%d", WholeNumber(text));
    if (!edit.Write(section, key, value)) {
      ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 加工条件書込み失敗", section.c_str(), key.c_str(),
                           value.c_str());
      failed = true;
      continue;
    }
    ++written;
  }

  // 4. The third value as typed, under the key that "key3" names.
  std::string key3 = ReadString(table, form.toolName, "key3", kKeyLimit);
  if (!key3.empty() && !form.values[3].empty()) {
    if (!edit.Write(section, key3, form.values[3])) {
      ApplyConditions(ctx, edit);
      return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 加工条件書込み失敗", section.c_str(), key3.c_str(),
                                  form.values[3].c_str());
    }
    ++written;
  }
  if (ApplyConditions(ctx, edit) != 0) return -1;

  // A value that was not written stays on the screen to be corrected and saved again.
  if (failed) return -1;

  // 5. Done: the fields are emptied for the next entry.
  for (std::string& v : form.values)
    v.clear();
  ctx.reporter.Reportf(1, "%d 個の加工条件を書込み成功", written);
  return 0;
}

}  // namespace talvorin
