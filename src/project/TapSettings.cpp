// The tapping settings screen: R point, break-through amount, rigid tapping and feed per revolution,
// in section "tap" of the NC table file.
#include "project/Settings.h"
#include "store/Cp932.h"
#include "store/Profile.h"

namespace talvorin {
namespace {

constexpr const char* kTap = "tap";
constexpr std::size_t kValueLimit = 15;

}  // namespace

int LoadingTapDefaultValue(Context& ctx, TapSettingsForm& form) {
  ctx.reporter.Report("!!! routine name : LoadingTapDefaultValue", 0);
  const std::string& table = ctx.inst.ncTableFile;
  std::string rPoint = ReadString(table, kTap, "RCODE", kValueLimit + 1);
  if (rPoint.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | タップ加工時のＲ点取得失敗", kTap, "RCODE");
  form.rPoint = rPoint;
  std::string breakthrough = ReadString(table, kTap, "Breakthrough", kValueLimit + 1);
  if (breakthrough.empty())
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s= | 突き抜け量取得失敗", kTap, "Breakthrough");
  form.breakthrough = breakthrough;
  form.rigidTap = ReadInt(table, kTap, "RigidTap", 0) == 1;
  form.rotationFeed = ReadInt(table, kTap, "RotationFeed", 0) == 1;
  return 0;
}

int SaveTapDefaultValue(Context& ctx, TapSettingsForm& form) {
  ctx.reporter.Report("!!! routine name : SaveTapDefaultValue", 0);
  struct Write {
    const char* key;
    std::string value;
    const char* failure;  // the failure message's last word
  };
  std::vector<Write> writes;
  std::string rPoint = Cp932Cut(form.rPoint, kValueLimit);
  std::string breakthrough = Cp932Cut(form.breakthrough, kValueLimit);
  if (!rPoint.empty()) writes.push_back({"RCODE", rPoint, "タップ加工Ｒ点保存失敗"});
  if (!breakthrough.empty()) writes.push_back({"Breakthrough", breakthrough, "突き抜け量保存失敗"});
  writes.push_back({"RigidTap", form.rigidTap ? "1" : "0", "リジットタップ保存失敗"});
  writes.push_back({"RotationFeed", form.rotationFeed ? "1" : "0", "毎回転送り保存失敗"});
  // The settings in one replacement of the table file.
  std::vector<ProfileChange> changes;
  for (const Write& w : writes)
    changes.push_back({kTap, w.key, w.value});
  const std::size_t written = WriteChanges(ctx.inst.ncTableFile, changes);
  if (written < writes.size()) {
    const Write& w = writes[written];
    return ctx.reporter.Reportf(-1, "エラー：[%s] %s=%s %s", kTap, w.key, w.value.c_str(), w.failure);
  }
  ctx.reporter.Report("タップ加工設定値を保存しました。", 1);
  return 0;
}

void CheckRigidTap(TapSettingsForm& form, bool checked) {
  form.rigidTap = checked;
  if (checked) form.rotationFeed = false;
}

void CheckRotationFeed(TapSettingsForm& form, bool checked) {
  form.rotationFeed = checked;
  if (checked) form.rigidTap = false;
}

}  // namespace talvorin
