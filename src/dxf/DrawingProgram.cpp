#include "dxf/DrawingProgram.h"

#include <sys/stat.h>

#include "store/Numbers.h"
#include "store/Profile.h"

namespace talvorin {

void SetupDrawingProgram(Installation& inst, const std::string& executablePath, std::string_view programName,
                         const BuildDate& date) {
  SetupProgram(inst, executablePath, date);
  inst.iniPath = ProgramFile(inst, Sprintf("%s.ini", std::string(programName).c_str()));
  inst.windowColour = {220, 220, 220};
  ReadColour(inst, "window", inst.windowColour);
  inst.textColour = {0, 0, 0};
  ReadColour(inst, "text", inst.textColour);
}

void WriteDrawingProgramBanner(Context& ctx, const DrawingProgramIdentity& program) {
  ctx.reporter.SetLongestLine(program.longestLineStart);
  ctx.reporter.Report(program.title, 0);
  WriteStartBanner(ctx);
}

bool IsSingleJob(const std::vector<std::string>& args) {
  struct stat st;
  return args.size() == 1 && stat(args[0].c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int CreateDrawingFile(TextFile& file, const std::string& path, Reporter& rep) {
  if (!file.Replace(path)) return rep.Reportf(-1, "エラー：DXFファイル %s 開けません", path.c_str());
  return 0;
}

int FinishDrawingFile(TextFile& file, int result, const std::string& path, Reporter& rep) {
  if (result != 0) {
    file.Discard();
    return result;
  }
  if (!file.Commit()) return rep.Reportf(-1, "エラー：DXFファイル %s 書込失敗", path.c_str());
  return 0;
}

int OpenDxfViewer(Context& ctx, const std::string& dxfPath, std::string_view section) {
  if (!PathExists(dxfPath)) return ctx.reporter.Reportf(-1, "エラー：%s が存在しません", dxfPath.c_str());
  std::string viewer = ReadString(ctx.inst.iniPath, section, "viewer", 520);
  if (viewer.empty()) return ctx.reporter.Report("DXF Viewer の設定がありません。", -1);
  if (!ctx.platform.StartProgram(viewer, {dxfPath}))
    return ctx.reporter.Report("エラー：DXFファイルが開けません", -1);
  return 0;
}

}  // namespace talvorin
