// The TRYCUT hand-off: after every NC program creation four files are written into the project's
// TRYCUT folder under the base name of key "trycutfile" (a batch file that starts TRYCUT, a control
// file, a material box file and a tool file) and the batch file is opened as a document. TRYCUT runs
// on its own; nothing is read back from it.
//
// Every operation takes the context (its dbPath is the project database), returns 0 or -1 and reports
// through ctx.reporter with the system's texts.
#pragma once

#include <string>

#include "shell/Context.h"

namespace talvorin {

// The four files, then (after 100 ms) the batch file opened. The first failing file ends with -1 and
// the later files are not written.
int TrycutMain(Context& ctx);

// Opens the batch file written before; no file is rewritten. The caller first runs the close step
// (RunCloseCommand(ctx, "closetrycut")).
int reRunTRYCUT(Context& ctx);

// `folder`/`base`.bat: the start of TRYCUT with the program of key "exeFile", the start option, the
// start point and the four file names. `batchPath` receives its path.
int MakeTrycutBatchFile(Context& ctx, const std::string& folder, const std::string& base,
                        std::string& batchPath);
// `folder`/`base`.CTL: a copy of "FANUC.CTL" or "OSP.CTL" of the program folder by the controller, then
// one "MEMORY D%02d = %.3f" line per process with a radius offset number and a diameter.
int SettingTrycutCTLfile(Context& ctx, const std::string& folder, const std::string& base);
// `folder`/`base`.box: the material box of section "trycut".
int SettingTrycutBOXfile(Context& ctx, const std::string& folder, const std::string& base);
// `folder`/`base`.ttl: the magazine, one cutter, length and pen entry per process.
int SettingTrycutTTLfile(Context& ctx, const std::string& folder, const std::string& base);

}  // namespace talvorin
