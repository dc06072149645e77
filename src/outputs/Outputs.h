// What the project hands to the shop: the HTML process sheet, the NC file in the editor and the NC
// viewer, the hole drawing program, and the transfer of the NC file to the machine by a DNC program
// or by FTP.
//
// Every operation takes the context (its dbPath is the project database), returns 0 or -1 and reports
// through ctx.reporter with the system's texts. Outside programs are started through ctx.platform.
#pragma once

#include <string>
#include <string_view>

#include "shell/Context.h"
#include "store/TextSink.h"

namespace talvorin {

// --- The process sheet (ProcessSheet.cpp) ---

// The sheet of a project database: its folder and base name with ".html" (db/PLATE01.dat gives
// db/PLATE01.html).
std::string ProcessSheetPath(const std::string& dbPath);

// Command 40026 "加工指示書": the HTML page of the stored processes (CP932, LF line ends), then opened
// as a document. A process without a hole group number or whose group has no "command" is reported
// and ends the table there; the page is still completed and opened, and the result is then -1.
int WriteProcessSheet(Context& ctx);

// Column 1 of a row: the "command" text of section "hole<group>" up to its first "[" (or line end).
// -1 (reported) when the key is missing; nothing is written then.
int WriteHoleKindCell(Context& ctx, TextSink& sheet, int group);

// --- The NC file, viewers and transfer (NcTransfer.cpp) ---

// Command 40055: the NC file in the editor of key "editor" (the desktop's program for the file when
// the key is not set).
int OpenNcFile(Context& ctx);
// Command 40024: the project's NC file in the NC viewer of key "ncviewer". Nothing happens without a
// project database file.
int ShowNcData(Context& ctx);
// The NC viewer for `file`, or for a file the user chooses when `file` is empty.
int ShowNcViewer(Context& ctx, const std::string& file);
// ShowNcViewer with the project's NC file.
int ShowProjectNcViewer(Context& ctx);
// The second step of command 40022: the hole drawing program "quorvex" of the program folder with the
// project database. Nothing happens without a project database file; a missing program is a list
// line only (-1).
int StartHoleDrawing(Context& ctx);
// Runs "StopDNC.bat" of the program folder (through /bin/sh, waited for) when it exists.
void StopDnc(Context& ctx);
// Command 40053: sends the NC file by the method of key "protocol" of section "NcdataTransfer": "DNC"
// starts the DNC program with the file, "FTP" uploads it (FtpTransfer). Any other method does nothing.
int TransferNcFile(Context& ctx);
// The FTP upload of `folder`/`name` to `address`: the control file "krvftp.ctl" (mode 0600) and the
// command file "krvftp.sh" in the program folder's "ncdata" folder, the command file run through
// /bin/sh and waited for; it runs "ftp -n" on the control file and removes both files. The user,
// password and remote name come from keys "ftpuser", "ftppass" and "ftpextention" of `section`.
int FtpTransfer(Context& ctx, std::string_view section, const std::string& folder, const std::string& name,
                const std::string& address);

}  // namespace talvorin
