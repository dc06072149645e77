// The profile store: every INI-format file of the system (program INI, project database, tables) is
// read and written through these operations, with the semantics stored files rely on:
// - section and key names match without regard to ASCII letter case; the first section and the first
//   key of a name win; blanks around names and values are ignored;
// - a string read gives its default only for an absent key: a key with an empty value reads as the
//   empty text (callers treat an empty result as "missing", with their own fallback);
// - a write replaces the value in place and keeps every other line byte for byte, creating the file
//   and the section as needed; it is atomic (temporary file, flush, rename).
// Files are CP932 unless they start with a UTF-8 byte-order mark. Arguments and results are UTF-8.
//
// One operation of the system (a command, a screen's action) collects its writes to one file in a
// ProfileEdit and replaces the file once. While a ProfileOperation is open, each file is checked
// against the disk once; a file changed by another program is read again by the next operation.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvorin {

// Reads a string value. `limit` is the field size in CP932 bytes including the terminator, as the
// system gives it: the result holds at most limit - 1 bytes and never a split double-byte character.
// A value wrapped in one pair of matching quotes (' or ") loses them. An absent key gives
// `defaultValue` with its trailing spaces removed (and cut to the same limit); a key with an empty
// value gives the empty text.
std::string ReadString(const std::string& file, std::string_view section, std::string_view key,
                       std::size_t limit, std::string_view defaultValue = "");

// A setting with a fallback for "missing": the value, or `fallback` when the key is absent or its
// value is empty.
std::string ReadStringOr(const std::string& file, std::string_view section, std::string_view key,
                         std::size_t limit, std::string_view fallback);

// Reads an integer. An absent key or an empty value gives `defaultValue`; otherwise the leading decimal
// number of the value with an optional sign, 0 when there is none ("abc" -> 0, "12abc" -> 12), wrapping
// around at 32 bits as an unsigned read cast to int.
int ReadInt(const std::string& file, std::string_view section, std::string_view key, int defaultValue);

// A numbered list: the values of the keys "<stem>0", "<stem>1", ... (from `first` upward) in order, up
// to the first missing one (absent or empty), at most `maximum` of them, each read with `limit`.
std::vector<std::string> ReadNumberedList(const std::string& file, std::string_view section,
                                          std::string_view stem, std::size_t limit, long long maximum,
                                          int first = 0);

// Writes key=value into the section: a ProfileEdit of one write. False when the file cannot be written
// (its folder does not exist, no permission), when a name or the value holds a line break or cannot be
// encoded in the file's encoding, or when the key or section name is not storable (empty, "=" in a
// key, "]" in a section name).
bool WriteString(const std::string& file, std::string_view section, std::string_view key,
                 std::string_view value);

// Removes the key's line. True when the key is gone afterwards (also when it never existed).
bool DeleteKey(const std::string& file, std::string_view section, std::string_view key);

// True when the path names an existing file or folder.
bool PathExists(const std::string& path);

// Drops every cached parse (benchmarks measure cold reads with it).
void ClearProfileCache();

// Forgets what the cache holds of `path`: the store's whole-file writers call it when they replace a
// file by other means than a ProfileEdit.
void ForgetCachedProfile(const std::string& path);

// One operation of the system. While one is open on this thread, each profile file is checked against
// the disk (stat) at its first access only, and later reads in the operation trust that check; the
// operation's own writes keep it current. A file changed by another program between two operations is
// read again by the second. Operations may nest: the outermost one counts.
class ProfileOperation {
 public:
  ProfileOperation();
  ~ProfileOperation();
  ProfileOperation(const ProfileOperation&) = delete;
  ProfileOperation& operator=(const ProfileOperation&) = delete;
};

// A modal screen opened inside an operation: while it is open the operation is set aside, so each of
// the screen's own actions checks the files again as an operation of its own. When it closes, the
// operation resumes and checks every file again at its next access.
class ProfileOperationPause {
 public:
  ProfileOperationPause();
  ~ProfileOperationPause();
  ProfileOperationPause(const ProfileOperationPause&) = delete;
  ProfileOperationPause& operator=(const ProfileOperationPause&) = delete;

 private:
  int depth_;
};

// The advisory lock under which a program changes a profile file: one read-modify-write at a time
// among the programs (and programmers) working on one installation. It is the lock of the file's
// folder (flock), so it also covers a file that does not exist yet and survives the file's
// replacement by rename; taken again on this thread while held, it is shared with the holder. Reads
// under the lock see the file as it is on disk now. Without a readable folder no lock is taken (the
// write then fails on its own).
class ProfileLock {
 public:
  explicit ProfileLock(const std::string& file);
  ~ProfileLock();
  ProfileLock(const ProfileLock&) = delete;
  ProfileLock& operator=(const ProfileLock&) = delete;

 private:
  std::string folder_;
};

struct ParsedProfile;

// One change an edit collected, as the caller gave it: a write of `value`, or a deletion.
struct ProfileChange {
  std::string section, key, value;
  bool deletion = false;
};

// The writes and deletions of one operation on one file, applied as one replacement of the file (one
// temporary file, one flush to disk, one rename): a crash or kill at any moment leaves the file as it
// was before Apply() or as it is after it. Reads through the edit see its collected changes.
//
// An operation that stops at a failure applies what it collected before the failure, so the keys
// before the failing one are written, as they would be one by one.
class ProfileEdit {
 public:
  explicit ProfileEdit(std::string file);
  ~ProfileEdit();
  ProfileEdit(const ProfileEdit&) = delete;
  ProfileEdit& operator=(const ProfileEdit&) = delete;

  const std::string& File() const { return file_; }

  // Collects key=value. False, and nothing collected, when WriteString would refuse the write for its
  // names or value, or when the existing file cannot be read.
  bool Write(std::string_view section, std::string_view key, std::string_view value);
  // Collects the removal of the key. False when the existing file cannot be read.
  bool Delete(std::string_view section, std::string_view key);
  // The file's whole content becomes `fileBytes` (in the file's encoding, a file created anew); the
  // changes collected before are dropped and later ones apply to it.
  void Reset(std::string_view fileBytes);

  // The profile reads, on the file as the collected changes leave it.
  std::string ReadString(std::string_view section, std::string_view key, std::size_t limit,
                         std::string_view defaultValue = "");
  int ReadInt(std::string_view section, std::string_view key, int defaultValue);

  // True when there is something to write.
  bool Changed() const { return changed_; }
  // The writes and the effective deletions collected, in order. After Apply() they stay listed (what
  // was written, or what could not be) until the next Write, Delete or Reset.
  const std::vector<ProfileChange>& Changes() const { return changes_; }

  // Replaces the file with every change collected so far; nothing is done when none changes it. Under
  // the file's ProfileLock the file is read again and the changes are made to it as it is then, so
  // keys that another program wrote since the edit first read the file are kept. False when the file
  // could not be replaced: it is then as it was. The edit starts again from the file.
  bool Apply();

 private:
  bool Load();
  void StartCollecting();

  std::string file_;
  bool loaded_ = false, readable_ = true, changed_ = false, applied_ = false;
  bool reset_ = false;  // the content was given whole: nothing of the file on disk is kept
  std::vector<ProfileChange> changes_;
  std::unique_ptr<ParsedProfile> profile_;  // the file as the collected changes leave it
};

// Writes the changes in order as one replacement of the file (a ProfileEdit of them). Returns the
// index of the first change not written: changes.size() when all are. A refused write keeps the
// changes before it, written; when the file cannot be replaced none is written (0).
std::size_t WriteChanges(const std::string& file, const std::vector<ProfileChange>& changes);

}  // namespace talvorin
