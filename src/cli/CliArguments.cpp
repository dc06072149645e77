// Argument helpers shared by the subcommands.
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "cli/CliSupport.h"
#include "project/Project.h"
#include "store/Ascii.h"
#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

bool IsNumber(const std::string& text) {
  if (text.empty()) return false;
  char* end = nullptr;
  // "nan" and "inf" read as numbers but are none that a program or a file may carry.
  double value = std::strtod(text.c_str(), &end);
  return *end == '\0' && std::isfinite(value);
}

bool IsDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (;;) {
    std::size_t comma = text.find(',', from);
    parts.push_back(text.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
    if (comma == std::string::npos) return parts;
    from = comma + 1;
  }
}

// Every occurrence of a repeated option, in order; false when one lacks its value.
bool TakeAll(CliArgs& args, const std::string& name, std::vector<std::string>& values) {
  for (;;) {
    std::optional<std::string> value;
    if (!args.TakeOption(name, value)) return false;
    if (!value) return true;
    values.push_back(*value);
  }
}

// DB: a path (with "/"), or a project name of the project folder as the header field stores it
// (upper case) with the database extension.
int ResolveDatabase(Context& ctx, const std::string& db, std::string& path) {
  if (db.find('/') != std::string::npos) {
    std::error_code ec;
    path = std::filesystem::absolute(db, ec).string();
    if (ec) path = db;
  } else {
    if (db == "." || db == "..")
      return ctx.reporter.Reportf(-1, "エラー：プロジェクト名「%s」はファイル名に使えません", db.c_str());
    std::string folder;
    if (GetFolderPath(ctx.inst, ctx.reporter, 0, folder) != 0) return -1;
    std::string extension = DatabaseExtension(ctx.inst);
    path = Sprintf("%s/%s.%s", folder.c_str(), AsciiUpperCase(db).c_str(), extension.c_str());
    std::string asTyped = Sprintf("%s/%s.%s", folder.c_str(), db.c_str(), extension.c_str());
    if (!PathExists(path) && PathExists(asTyped)) path = asTyped;
  }
  if (!PathExists(path))
    return ctx.reporter.Reportf(-1, "エラー：プロジェクトＤＢ %s がありません", path.c_str());
  return 0;
}

}  // namespace talvorin
