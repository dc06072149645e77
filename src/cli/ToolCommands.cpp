// Subcommands of tools and cutting conditions: the magazine listing and a condition lookup as
// process generation does it.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "cli/CliSupport.h"
#include "store/Cp932.h"
#include "store/Numbers.h"
#include "tools/Tools.h"

namespace talvorin {
namespace {

// Every pocket of the magazine table (created when missing, as the tool screen does): tool number,
// tool name padded to 16 columns, diameter.
int Tools(CliRun& run) {
  if (!run.args.positional.empty()) return kExitUsage;
  std::vector<MagazinePocket> pockets;
  if (ReadMagazine(run.ctx, pockets) != 0) return kExitFailed;
  for (const MagazinePocket& p : pockets) {
    std::string line =
        Sprintf("T%02d  %s  %s", p.number, Cp932PadRight(p.toolName, 16).c_str(), p.diameter.c_str());
    while (!line.empty() && line.back() == ' ')
      line.pop_back();
    std::printf("%s\n", line.c_str());
  }
  return kExitOk;
}

// A decimal number, the whole text and nothing else, or nullopt.
std::optional<double> ParseDiameter(const std::string& text) {
  double value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

// The lookup's messages as reported, then "KEY=value" for every key of the kind that was found.
int Condition(CliRun& run) {
  std::vector<std::string>& p = run.args.positional;
  if (p.size() != 3) return kExitUsage;
  std::optional<double> diameter = ParseDiameter(p[2]);
  if (!diameter) return kExitUsage;
  constexpr double kUnset = std::numeric_limits<double>::quiet_NaN();
  CuttingCondition values{kUnset, kUnset, kUnset, kUnset};
  int rc = GetCuttingCondition(run.ctx, p[0], p[1], *diameter, values);
  for (std::string_view key : CuttingConditionKeys(p[0])) {
    double v = *ConditionValue(values, key);
    if (!std::isnan(v)) std::printf("%s=%s\n", std::string(key).c_str(), FormatNumber(v, false).c_str());
  }
  return rc == 1 ? kExitOk : kExitFailed;
}

}  // namespace

const std::vector<CliCommand>& ToolCommands() {
  static const std::vector<CliCommand> commands = {
      {"tools", "tools                                 list the tool magazine (pocket, tool name, diameter)",
       Tools},
      {"condition",
       "condition KIND MATERIAL DIAMETER      look up a cutting condition (KIND: cdrill drill chamfer ntap\n"
       "                                        reamer counterbore endmillR endmillF)",
       Condition},
  };
  return commands;
}

}  // namespace talvorin
