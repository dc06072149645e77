// Whole-file reads and atomic whole-file replacement, for every file the system keeps.
#pragma once

#include <sys/stat.h>

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
// the folder does not exist, the file may not be written, or writing fails. `written`, when given,
// receives the status of the new file.
bool ReplaceWholeFile(const std::string& path, std::string_view bytes, struct stat* written = nullptr);

// A file written anew piece by piece, for writers whose output must not be held in memory (NC
// programs, drawings). The pieces go to a temporary file beside the target; Commit() flushes it to
// disk and renames it over the target, so the target is either the earlier file or the complete new
// one. Destroyed without a successful Commit(), it removes the temporary file and leaves the target.
class ReplacementFile {
 public:
  ReplacementFile() = default;
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Creates the temporary file for `path`. False when the folder does not exist or cannot be
  // written, or when `path` is a folder or an existing file that may not be written. A symbolic link
  // at `path` is replaced by the file, not followed.
  bool Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  // The permissions the file gets at Commit() instead of the replaced file's (a copy made with the
  // permissions of its original).
  void SetMode(unsigned mode);
  // Appends bytes (buffered); a failed write makes Commit() refuse.
  void Write(std::string_view bytes);
  // Flushes, closes and renames, keeping the old file's permissions (new: 0666 less the umask).
  // False when a write or the rename failed; the temporary file is then removed.
  bool Commit();
  // Removes the temporary file without touching the target.
  void Discard();

 private:
  void Flush();

  int fd_ = -1;
  bool failed_ = false;
  unsigned mode_ = 0;
  std::string target_, temp_;
  std::string buffer_;  // bytes not yet written
};

}  // namespace talvorin
