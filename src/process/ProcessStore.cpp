// The process store: sections "ncproc1" to "ncproc15" of the project database, one per process in
// machining order without gaps, their thirteen key names resolved through "NcProcess.key".
#include "process/Process.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "store/Profile.h"
#include "tools/Tools.h"

namespace talvorin {
namespace {

constexpr std::size_t kKeyNameLimit = 16;  // key names: 15 bytes
constexpr std::size_t kStoredLimit = 32;   // stored values and the process name: 31 bytes
constexpr std::size_t kNameBytes = 31;     // a process name as it is saved
constexpr std::size_t kNumberBytes = 15;   // a stored number: the 16-byte field of every number

using KeyNames = std::array<std::string, kProcessColumns>;

// All thirteen key names; -1 (reported) at the first that the key file lacks. Operations that write
// resolve them before touching the project database, so a broken key file never leaves half a record.
int ProcessKeyNames(Context& ctx, KeyNames& keys) {
  for (int i = 0; i < kProcessColumns; ++i)
    if (GetProcessKeyName(ctx, i, keys[static_cast<std::size_t>(i)]) != 0) return -1;
  return 0;
}

void EmptyStoredRows(ProcessForm& form) {
  for (int r = 1; r <= kStoredProcesses; ++r)
    form.Row(r).fields = {};
}

// A field as the user typed it, without surrounding blanks: a field of blanks counts as empty.
std::string FieldText(const std::string& text) {
  std::size_t from = text.find_first_not_of(" \t");
  if (from == std::string::npos) return "";
  std::size_t to = text.find_last_not_of(" \t");
  return text.substr(from, to - from + 1);
}

// The fields a record must have, in the order they are checked, with the message for each.
struct RequiredField {
  ProcessColumn column;
  const char* message;
};
constexpr RequiredField kRequiredFields[] = {
    {kProcDiameter, "エラー：工具径の設定がありません"},
    {kProcT, "エラー：工具番号の設定がありません"},
    {kProcH, "エラー：工具長補正番号の設定がありません"},
    {kProcS, "エラー：主軸の回転数の設定がありません"},
    {kProcF, "エラー：テーブル送り速度の設定がありません"},
    {kProcG, "エラー：テーブルＧコードの設定がありません"},
    {kProcR, "エラー：Ｒ点の設定がありません"},
    {kProcZ, "エラー：切込み深さの設定がありません"},
    {kProcDefinition, "エラー：形状定義の設定がありません"},
};

}  // namespace

std::string ProcessSection(int n) {
  return Sprintf("%s%d", "ncproc", n);
}

int GetProcessKeyName(Context& ctx, int index, std::string& name) {
  std::string key = Sprintf("key%d", index);
  name = ReadString(ProgramFile(ctx.inst, "NcProcess.key"), "NcProcess", key, kKeyNameLimit);
  if (name.empty())
    return ctx.reporter.Reportf(-1, "エラー：[NcProcess] %s= | 工程保存キー取得失敗", key.c_str());
  return 0;
}

int ReadProcessValues(Context& ctx, std::string_view section, std::array<double, kProcessColumns>& values) {
  for (int i = 1; i < kProcessColumns; ++i) {
    double& value = values[static_cast<std::size_t>(i)];
    value = kConditionNotSet;
    std::string key;
    if (GetProcessKeyName(ctx, i, key) != 0) return -1;
    std::string text = ReadString(ctx.dbPath, section, key, kStoredLimit);
    if (!text.empty()) value = AtoF(text);
  }
  return 0;
}

namespace {

// The thirteen keys of every stored record up to the first without a process name, collected in
// `edit`; the section lines stay. A refused deletion is reported and the deletion goes on.
void DeleteRecords(Context& ctx, ProfileEdit& edit, const KeyNames& keys) {
  for (int n = 1; n <= kStoredProcesses; ++n) {
    std::string section = ProcessSection(n);
    if (edit.ReadString(section, keys[0], kStoredLimit).empty()) return;
    for (const std::string& key : keys)
      if (!edit.Delete(section, key))
        ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db 工程削除失敗", section.c_str(), key.c_str());
  }
}

// Writes what the operation collected, in one replacement of the project file. When that fails the
// file is as before and the failure is reported as the first change's, as writing key by key would
// have reported it.
int ApplyProcessEdit(Context& ctx, ProfileEdit& edit) {
  if (edit.Apply()) return 0;
  const std::vector<ProfileChange>& changes = edit.Changes();
  for (const ProfileChange& c : changes)
    if (!c.deletion)
      return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s 工程保存失敗", c.section.c_str(), c.key.c_str(),
                                  c.value.c_str());
  const ProfileChange& c = changes.front();
  return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | db 工程削除失敗", c.section.c_str(), c.key.c_str());
}

// Steps 2 of SaveNcProcess, collected in `edit`: -1 at a refused write, the records before it kept.
int SaveRecords(Context& ctx, ProfileEdit& edit, const KeyNames& keys, ProcessForm& form, int& skipped) {
  Reporter& rep = ctx.reporter;
  int n = 1;
  for (int r = 1; r <= kStoredProcesses; ++r) {
    const ProcessRow& row = form.Row(r);
    std::string name = Cp932Cut(row.fields[kProcName], kNameBytes);
    if (name.empty()) continue;

    // 2-3. The first empty required field keeps the row out; it takes no record number.
    const RequiredField* missing = nullptr;
    for (const RequiredField& required : kRequiredFields) {
      if (!FieldText(row.fields[required.column]).empty()) continue;
      missing = &required;
      break;
    }
    if (missing) {
      rep.Report(missing->message, -1);
      ++skipped;
      continue;
    }

    // 4. The name, then the numbers in drop-point form ("03" is 3, "2." is 2); an empty optional
    //    field is stored empty.
    std::string section = ProcessSection(n);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      std::string text = FieldText(row.fields[i]);
      std::string value = i == kProcName ? name : (text.empty() ? "" : FormatNumber(AtoF(text), false));
      if (!edit.Write(section, keys[i], value))
        return rep.Reportf(-1, "エラー：[%s] %s=%s 工程保存失敗", section.c_str(), keys[i].c_str(),
                           value.c_str());
    }
    ++n;
  }
  return 0;
}

}  // namespace

int DeleteNcProcess(Context& ctx) {
  KeyNames keys;
  if (ProcessKeyNames(ctx, keys) != 0) return -1;
  ProfileEdit edit(ctx.dbPath);
  DeleteRecords(ctx, edit, keys);
  return ApplyProcessEdit(ctx, edit);
}

namespace {

// The numbers of the named rows, before anything is written: a text that is no number a record can
// hold ("nan", "inf", 1e308 with its 310 digits) refuses the save, the stored records untouched.
int CheckRowNumbers(Context& ctx, const KeyNames& keys, const ProcessForm& form) {
  for (int r = 1; r <= kStoredProcesses; ++r) {
    const ProcessRow& row = form.Row(r);
    if (Cp932Cut(row.fields[kProcName], kNameBytes).empty()) continue;
    for (std::size_t i = 1; i < keys.size(); ++i) {
      std::string text = FieldText(row.fields[i]);
      if (text.empty() || IsStorableNumber(text, kNumberBytes)) continue;
      return ctx.reporter.Reportf(-1, "エラー：工程[%02d] %s=%s 数値が正しくありません", r, keys[i].c_str(),
                                  text.c_str());
    }
  }
  return 0;
}

// SaveNcProcess; with `whole`, a row kept out for an empty field keeps the whole save out.
int SaveRows(Context& ctx, ProcessForm& form, int& skipped, bool whole) {
  Reporter& rep = ctx.reporter;
  skipped = 0;
  // 1. The key names, then the old records go. The whole save is one replacement of the project
  //    file: a crash leaves the records as they were or as saved.
  rep.Report("!!! routine name : SaveNcProcess", 0);
  KeyNames keys;
  if (ProcessKeyNames(ctx, keys) != 0) return -1;
  if (CheckRowNumbers(ctx, keys, form) != 0) return -1;
  ProfileEdit edit(ctx.dbPath);
  DeleteRecords(ctx, edit, keys);

  // 2. Each complete named row becomes the next record; a refused write ends the save with the
  //    records before it written.
  int result = SaveRecords(ctx, edit, keys, form, skipped);
  if (whole && skipped > 0) return rep.Report("エラー：保存できない工程があるため工程を保存しません", -1);
  if (ApplyProcessEdit(ctx, edit) != 0 || result != 0) return -1;

  // 3. Done.
  rep.Report("+++ 加工工程保存完了", 0);
  return 0;
}

}  // namespace

int SaveNcProcess(Context& ctx, ProcessForm& form, int& skipped) {
  return SaveRows(ctx, form, skipped, false);
}

int SaveGeneratedNcProcess(Context& ctx, ProcessForm& form, int generated, std::size_t errorsBefore) {
  // A generation that stopped, reported an error (a condition not found, a tool refused) or left a
  // group or row out would replace the stored processes by a part of them.
  if (generated != 0) return -1;
  if (form.leftOut > 0 || ctx.reporter.Errors() > errorsBefore)
    return ctx.reporter.Report("エラー：工程作成でエラーがあったため工程を保存しません", -1);
  int skipped = 0;
  return SaveRows(ctx, form, skipped, true);
}

int SaveNcProcess(Context& ctx, ProcessForm& form) {
  int skipped = 0;
  return SaveNcProcess(ctx, form, skipped);
}

int ReadNcProcess(Context& ctx, ProcessForm& form) {
  Reporter& rep = ctx.reporter;
  // 1. Rows 1 to 15 show the stored list and nothing of what they showed before.
  rep.Report("!!! routine name : ReadNcProcess", 0);
  KeyNames keys;
  if (ProcessKeyNames(ctx, keys) != 0) return -1;
  EmptyStoredRows(form);

  // 2. Record n into row n, texts as stored, up to the first record without a name.
  for (int n = 1; n <= kStoredProcesses; ++n) {
    std::string section = ProcessSection(n);
    std::string name = ReadString(ctx.dbPath, section, keys[0], kStoredLimit);
    if (name.empty()) break;
    ProcessRow& row = form.Row(n);
    row.fields[kProcName] = name;
    for (std::size_t i = 1; i < keys.size(); ++i)
      row.fields[i] = ReadString(ctx.dbPath, section, keys[i], kStoredLimit);
  }

  // 3. Done.
  rep.Report("... 加工工程を読み込み", 0);
  return 0;
}

int InitNcProcess(Context& ctx, ProcessForm& form) {
  // 1. The screen's rows.
  EmptyStoredRows(form);
  // 2-3. The stored records only when the user says so.
  if (!ctx.dialogs.AskYesNo("保存してある工程も削除しますか？")) {
    ctx.reporter.Report("+++ 加工工程初期化", 0);
    return 0;
  }
  // 4. Every stored record, up to the first missing one, in one replacement of the project file.
  if (DeleteNcProcess(ctx) != 0) return -1;
  ctx.reporter.Report("+++ 保存加工工程も初期化", 0);
  return 0;
}

}  // namespace talvorin
