// Program set-up before any window exists, the texts that identify the program, window placement
// and colours, and the start-up services (banner, folders, daily log, system information, help).
#pragma once

#include <string>
#include <string_view>

#include "shell/Context.h"
#include "store/Installation.h"
#include "store/Timestamp.h"

namespace talvorin {

struct BuildDate {
  int year = 0, month = 0, day = 0;
};

// The build date, fixed when the build was configured.
BuildDate TheBuildDate();

// month * 100 + day + year: 2629 for 2026/6/3 (a number, not a date).
int BuildNumber(const BuildDate& date);

// "TALVORIN Release Version R1.00.2629"
std::string VersionLine(int buildNumber);
// "R1.00.2629", stored as the system information's version.
std::string ShortVersion(int buildNumber);
// Title and first line of the version box, separated by "#".
std::string AboutLine(const BuildDate& date, int buildNumber);
// The text of the program information screen; `fileDate` is the executable's last-write time.
std::string ProgramInformationText(const BuildDate& date, int buildNumber, const Timestamp& fileDate);

// Program folder from the executable's path, program INI, build number, window and text colours. Sets
// the file-creation mask to 002 (files 0664, folders 0775) for the rest of the run.
void SetupProgram(Installation& inst, const std::string& executablePath, const BuildDate& date);

// A colour text "%d,%d,%d" read over `colour`: components that do not parse keep their value; parsed
// components are held to 0-255.
void ParseColour(std::string_view text, Colour& colour);

// Key `key` of section "color" of the program INI, parsed over `colour` as ParseColour does.
void ReadColour(const Installation& inst, std::string_view key, Colour& colour);

// Window colour 220,220,220 and text colour 0,0,0, each read over from the program INI.
struct Colours {
  Colour window{220, 220, 220};
  Colour text{0, 0, 0};
};
Colours ReadColours(const Installation& inst);

// Placement fraction from its text: a number below 0 (or not a number) gives 0, above 1 gives 1.
double PlacementFraction(std::string_view text);

// The range check of a position field of a settings screen: an empty field counts 0; a number below 0
// (or not a number) becomes 0 and one above 1 becomes 1, the field corrected to "0" or "1" and
// "データは 0～1 の範囲にして下さい。" reported (kind -1). Returns the fraction.
double CheckPlacementField(Reporter& rep, std::string& field);

struct WindowPlacement {
  int left = 0, top = 0;
};

// Where the main window goes: keys "X" and "Y" of section "window" ("0.5" when missing) applied to the
// free width (desktop - window) and free height (desktop - taskbar - window), truncated toward zero.
WindowPlacement PlaceWindow(const Installation& inst, int desktopWidth, int desktopHeight, int taskbarHeight,
                            int windowWidth, int windowHeight);
// The same placement for fractions given (already held to 0-1), as the initial settings screen's
// position check places the main window before anything is stored.
WindowPlacement PlaceWindowAt(double fx, double fy, int desktopWidth, int desktopHeight, int taskbarHeight,
                              int windowWidth, int windowHeight);

// The five banner lines of the message list at start.
void WriteStartBanner(Context& ctx);

// Creates every folder of section "folder" that is missing. -1 when one cannot be created.
int CreateFolders(Context& ctx);

// Appends the message list to the day's log file in folder "Log" when "LogWriting" is 1.
int WriteLogFile(Context& ctx);

// Writes "Version" and "FileDate" of section "system" into the program INI.
int SystemInformation(Context& ctx);

// Last-write time of a file in local time. -1 (record left zero) when the file cannot be found.
int GetFileDate(const std::string& path, Timestamp& record);

// Runs the close command of key `key` ("closetrycut", "closedxfviewer") of section "TALVORIN": program
// folder + value through the command interpreter, waited for, when the key is set and the file exists.
// Otherwise nothing happens and nothing is reported.
void RunCloseCommand(Context& ctx, std::string_view key);

// Opens the help document of key "HelpFile".
int OpenHelpFile(Context& ctx);
// Opens the help document of a settings screen's topic through "help.ini".
int OpenHelpTopic(Context& ctx, std::string_view topic);

}  // namespace talvorin
