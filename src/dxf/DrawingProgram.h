// What the two drawing programs (quorvex, lindrel) share besides the writer: their set-up, the start
// rule that needs no window, the drawing file's creation and completion, and the DXF viewer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "shell/Context.h"
#include "shell/ProgramSetup.h"
#include "store/TextSink.h"

namespace talvorin {

// The texts that identify a drawing program.
struct DrawingProgramIdentity {
  const char* name;              // program name: its INI "<name>.ini", window class, message-box caption
  const char* title;             // first start-up line of the message list and the version box
  const char* caption;           // main window caption
  std::size_t longestLineStart;  // starting record of the message list's longest line, CP932 bytes
};

// Set-up as the main program's, with the program's own INI in the program folder ("quorvex.ini").
void SetupDrawingProgram(Installation& inst, const std::string& executablePath, std::string_view programName,
                         const BuildDate& date);

// The start-up lines of the program's message list: its title, then the shell's start banner. The
// list's longest-line record starts at the program's own value.
void WriteDrawingProgramBanner(Context& ctx, const DrawingProgramIdentity& program);

// Single-job mode: exactly one argument, naming an existing file (the project database); the window
// then runs the export once and closes.
bool IsSingleJob(const std::vector<std::string>& args);

// Creates the drawing file's temporary file; -1 after "エラー：DXFファイル %s 開けません".
int CreateDrawingFile(TextFile& file, const std::string& path, Reporter& rep);
// Ends a drawing run with `result`: 0 puts the complete drawing in place (-1 after "エラー：DXFファイル
// %s 書込失敗" when it cannot be written), -1 discards the temporary file. Returns the run's result.
int FinishDrawingFile(TextFile& file, int result, const std::string& path, Reporter& rep);

// Starts the viewer named by key "viewer" of `section` of the program INI on the drawing, without
// waiting. -1 after "エラー：%s が存在しません" (no drawing), "DXF Viewer の設定がありません。" (no
// viewer set) or "エラー：DXFファイルが開けません" (the start failed).
int OpenDxfViewer(Context& ctx, const std::string& dxfPath, std::string_view section);

}  // namespace talvorin
