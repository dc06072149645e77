// Whole-file reads and atomic whole-file replacement, for every file the system keeps.
#pragma once

#include <string>
#include <string_view>

namespace talvorin {

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& out);
// Reads from an open descriptor to its end.
bool ReadAllFrom(int fd, std::string& out);

// Replaces `path` with `bytes` so that a crash or kill at any moment leaves the old or the new file,
// never a torn one: a temporary file in the same folder, flushed to disk, renamed over the old file.
// An existing file keeps its permissions and, where allowed, its owner and group; a new one gets 0666
// less the umask. A symbolic link keeps pointing at the replaced file. False (and nothing changed) when
// the folder does not exist, the file may not be written, or writing fails.
bool ReplaceWholeFile(const std::string& path, std::string_view bytes);

}  // namespace talvorin
