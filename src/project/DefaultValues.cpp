// Default parameter texts of a hole kind for the shape input screen.
#include "project/Project.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

int GetDefaultValue(Context& ctx, std::string_view kind, std::array<std::string, 10>& params) {
  ctx.reporter.Report("!!! routine name : GetDefaultValue", 0);
  const std::string table = ProgramFile(ctx.inst, "DefaultValue.tbl");
  std::string stem(kind);
  int index = ReadInt(table, stem, "index", 10);
  // The screen has ten parameter fields; keys numbered beyond them have no field to fill.
  int last = index < static_cast<int>(params.size()) ? index : static_cast<int>(params.size()) - 1;
  for (int i = 0; i <= last; ++i) {
    std::string value = ReadString(table, stem, Sprintf("%s%d", stem.c_str(), i), 16);
    if (!value.empty()) params[static_cast<std::size_t>(i)] = value;
  }
  return 0;
}

}  // namespace talvorin
