#include "shell/ProgramSetup.h"
#include "store/Profile.h"

namespace talvorin {

void RunCloseCommand(Context& ctx, std::string_view key) {
  // A command file that closes an outside program; unset or absent means there is nothing to close.
  std::string value = ReadString(ctx.inst.iniPath, "TALVORIN", key, 128);
  if (value.empty()) return;
  std::string path = ProgramFile(ctx.inst, value);
  if (!PathExists(path)) return;
  ctx.platform.RunCommandFile(path);
}

}  // namespace talvorin
