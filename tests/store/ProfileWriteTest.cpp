// Writing the profile store: where a written key lands, that every other byte of the file stays as it
// was, the file's encoding and permissions, and the read cache around writes. Each expected file is
// written out here in full.
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

// Names in a folder (hidden ones included).
std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename());
  return names;
}

// Runs `write` where file permissions apply: as root in a child process that has become the user
// "nobody" (65534), otherwise right here. Returns its result.
bool Unprivileged(const std::function<bool()>& write) {
  if (geteuid() != 0) return write();
  pid_t child = fork();
  if (child < 0) {
    ADD_FAILURE() << "fork failed";
    return false;
  }
  if (child == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    _exit(write() ? 1 : 0);
  }
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "cannot become nobody: " << status;
  return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

class ProfileWrite : public ::testing::Test {
 protected:
  // A new file with these bytes, one per case.
  std::string File(std::string_view bytes) {
    std::string name = "case" + std::to_string(count_++) + ".ini";
    folder_.Write(name, bytes);
    return folder_.File(name);
  }
  std::string Bytes(const std::string& path) { return folder_.Read(Relative(path)); }
  // Rewrites a file in place (same inode), as another program would.
  void Rewrite(const std::string& path, std::string_view bytes) { folder_.Write(Relative(path), bytes); }
  std::string Relative(const std::string& path) { return path.substr(folder_.path().size()); }

  TestFolder folder_;
  int count_ = 0;
};

TEST_F(ProfileWrite, ReplaceKeepsPositionSpellingAndEveryOtherByte) {
  const std::string before =
      "; head comment\r\n"
      "\r\n"
      "[Sec]\r\n"
      "  Key  =  1 \r\n"
      "other = x\n"
      "\t; comment \r\n"
      "bad=\x80\xFF\x81\r\n"
      "   \r\n"
      "[next]\r"
      "z=9";
  std::string f = File(before);
  ASSERT_TRUE(WriteString(f, "sec", "KEY", "2"));
  EXPECT_EQ(Bytes(f),
            "; head comment\r\n"
            "\r\n"
            "[Sec]\r\n"
            "Key=2\r\n"
            "other = x\n"
            "\t; comment \r\n"
            "bad=\x80\xFF\x81\r\n"
            "   \r\n"
            "[next]\r"
            "z=9");
  // A written line ends in CR LF, also where it replaces a line with another end or none.
  ASSERT_TRUE(WriteString(f, "Next", "Z", "10"));
  ASSERT_TRUE(WriteString(f, "SEC", "Other", "長い値"));
  EXPECT_EQ(Bytes(f),
            "; head comment\r\n"
            "\r\n"
            "[Sec]\r\n"
            "Key=2\r\n"
            "other=\x92\xB7\x82\xA2\x92\x6C\r\n"
            "\t; comment \r\n"
            "bad=\x80\xFF\x81\r\n"
            "   \r\n"
            "[next]\r"
            "z=10\r\n");
  EXPECT_EQ(ReadString(f, "sec", "key", 16), "2");
  EXPECT_EQ(ReadString(f, "sec", "other", 16), "長い値");
}

TEST_F(ProfileWrite, NewKeyFollowsTheLastKeyLineOfItsSection) {
  std::string f = File("[a]\r\nx=1\r\ny=2\r\n\r\n; about b\r\n[b]\r\nz=3\r\n");
  ASSERT_TRUE(WriteString(f, "a", "NewKey", "v"));
  EXPECT_EQ(Bytes(f), "[a]\r\nx=1\r\ny=2\r\nNewKey=v\r\n\r\n; about b\r\n[b]\r\nz=3\r\n");

  // A comment between keys stays where it is; a trailing one stays after the new key.
  std::string g = File("[a]\r\nx=1\r\n; c\r\ny=2\n; trailing\n[b]\n");
  ASSERT_TRUE(WriteString(g, "a", "z", "3"));
  EXPECT_EQ(Bytes(g), "[a]\r\nx=1\r\n; c\r\ny=2\nz=3\r\n; trailing\n[b]\n");

  // A section without keys gets it right after its header.
  std::string h = File("[a]\r\n\r\n; none yet\r\n[b]\r\nk=1\r\n");
  ASSERT_TRUE(WriteString(h, "a", "k", "v"));
  EXPECT_EQ(Bytes(h), "[a]\r\nk=v\r\n\r\n; none yet\r\n[b]\r\nk=1\r\n");

  // The line before it gets an end when it was the file's last line without one.
  std::string i = File("[a]\r\nx=1");
  ASSERT_TRUE(WriteString(i, "a", "y", "2"));
  EXPECT_EQ(Bytes(i), "[a]\r\nx=1\r\ny=2\r\n");
  std::string j = File("[a]");
  ASSERT_TRUE(WriteString(j, "a", "k", "v"));
  EXPECT_EQ(Bytes(j), "[a]\r\nk=v\r\n");

  // Only the first section of a name is written, as only it is read.
  std::string k = File("[a]\r\nx=1\r\n[b]\r\n[A]\r\ny=2\r\n");
  ASSERT_TRUE(WriteString(k, "A", "y", "3"));
  EXPECT_EQ(Bytes(k), "[a]\r\nx=1\r\ny=3\r\n[b]\r\n[A]\r\ny=2\r\n");
  EXPECT_EQ(ReadString(k, "a", "y", 16), "3");
}

TEST_F(ProfileWrite, NewSectionIsAppendedAtTheEnd) {
  std::string f = File("[a]\r\nx=1\r\n");
  ASSERT_TRUE(WriteString(f, "b", "k", "v"));
  EXPECT_EQ(Bytes(f), "[a]\r\nx=1\r\n[b]\r\nk=v\r\n");

  std::string g = File("[a]\r\nx=1");
  ASSERT_TRUE(WriteString(g, "b", "k", "v"));
  EXPECT_EQ(Bytes(g), "[a]\r\nx=1\r\n[b]\r\nk=v\r\n");

  std::string h = File("[a]\nx=1\n\n; end\n");
  ASSERT_TRUE(WriteString(h, "b", "k", "v"));
  EXPECT_EQ(Bytes(h), "[a]\nx=1\n\n; end\n[b]\r\nk=v\r\n");

  std::string i = File("[a]\r\nx=1\r");
  ASSERT_TRUE(WriteString(i, "b", "k", "v"));
  EXPECT_EQ(Bytes(i), "[a]\r\nx=1\r[b]\r\nk=v\r\n");

  // Text before the first section is kept and the new section follows it.
  std::string j = File("stray=1");
  ASSERT_TRUE(WriteString(j, "stray", "k", "v"));
  EXPECT_EQ(Bytes(j), "stray=1\r\n[stray]\r\nk=v\r\n");
}

TEST_F(ProfileWrite, FileIsCreatedAsNeeded) {
  std::string f = folder_.File("new.ini");
  ASSERT_TRUE(WriteString(f, "s", "k", "v"));
  EXPECT_EQ(Bytes(f), "[s]\r\nk=v\r\n");
  ASSERT_TRUE(WriteString(f, "s", "k2", "w"));
  EXPECT_EQ(Bytes(f), "[s]\r\nk=v\r\nk2=w\r\n");

  std::string g = File("");
  ASSERT_TRUE(WriteString(g, "machine", "左下", "原点"));
  EXPECT_EQ(Bytes(g), "[machine]\r\n\x8D\xB6\x89\xBA=\x8C\xB4\x93\x5F\r\n");

  // A new file gets the usual permissions of a new file, not those of a private temporary file.
  mode_t mask = umask(027);
  std::string h = folder_.File("masked.ini");
  bool written = WriteString(h, "s", "k", "v");
  umask(mask);
  ASSERT_TRUE(written);
  struct stat st;
  ASSERT_EQ(stat(h.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(ProfileWrite, WriteIntoAMissingFolderFailsAndCreatesNothing) {
  std::string f = folder_.File("missing/t.ini");
  EXPECT_FALSE(WriteString(f, "s", "k", "v"));
  EXPECT_FALSE(PathExists(folder_.File("missing")));
  EXPECT_TRUE(Entries(folder_.path()).empty());
  EXPECT_EQ(ReadString(f, "s", "k", 16), "");
}

TEST_F(ProfileWrite, DeleteKeyRemovesItsLine) {
  std::string f = File("[s]\r\na=1\r\nb=2\nc=3\r\n[t]\r\nb=4\r\n");
  ASSERT_TRUE(DeleteKey(f, "S", "B"));
  EXPECT_EQ(Bytes(f), "[s]\r\na=1\r\nc=3\r\n[t]\r\nb=4\r\n");
  EXPECT_EQ(ReadString(f, "s", "b", 16), "");
  EXPECT_EQ(ReadString(f, "t", "b", 16), "4");

  // A key, section or file that is not there: nothing to do, nothing changed or created.
  EXPECT_TRUE(DeleteKey(f, "s", "b"));
  EXPECT_TRUE(DeleteKey(f, "u", "a"));
  EXPECT_EQ(Bytes(f), "[s]\r\na=1\r\nc=3\r\n[t]\r\nb=4\r\n");
  EXPECT_TRUE(DeleteKey(folder_.File("absent.ini"), "s", "a"));
  EXPECT_FALSE(PathExists(folder_.File("absent.ini")));

  // The last line without an end.
  std::string g = File("[s]\r\na=1\r\nb=2");
  ASSERT_TRUE(DeleteKey(g, "s", "b"));
  EXPECT_EQ(Bytes(g), "[s]\r\na=1\r\n");
}

TEST_F(ProfileWrite, Utf8FileKeepsItsMarkAndIsWrittenInUtf8) {
  std::string f = File("\xEF\xBB\xBF[s]\r\nk=1\r\n");
  ASSERT_TRUE(WriteString(f, "s", "k", "日本"));
  ASSERT_TRUE(WriteString(f, "s", "絵", "😀"));  // UTF-8 can hold what CP932 cannot
  ASSERT_TRUE(WriteString(f, "ゾ", "x", "ソ"));
  EXPECT_EQ(Bytes(f), "\xEF\xBB\xBF[s]\r\nk=日本\r\n絵=😀\r\n[ゾ]\r\nx=ソ\r\n");
  EXPECT_EQ(ReadString(f, "s", "絵", 16), "😀");

  std::string g = File("\xEF\xBB\xBF");
  ASSERT_TRUE(WriteString(g, "s", "k", "値"));
  EXPECT_EQ(Bytes(g), "\xEF\xBB\xBF[s]\r\nk=値\r\n");

  // Mark bytes on a later last line are ordinary text: the new section goes on a line of its own,
  // so that it is found again.
  std::string h = File("\xEF\xBB\xBF\n\xEF\xBB\xBF");
  ASSERT_TRUE(WriteString(h, "B", "x", "v"));
  EXPECT_EQ(Bytes(h), "\xEF\xBB\xBF\n\xEF\xBB\xBF\r\n[B]\r\nx=v\r\n");
  EXPECT_EQ(ReadString(h, "B", "x", 16), "v");
}

TEST_F(ProfileWrite, Cp932FileGetsCp932Bytes) {
  std::string f = File("[s]\r\nk=1\r\n");
  ASSERT_TRUE(WriteString(f, "s", "k", "ゾーン"));
  ASSERT_TRUE(WriteString(f, "s", "ソ", "～"));
  ASSERT_TRUE(WriteString(f, "ゾ", "k", "ｱ"));
  EXPECT_EQ(Bytes(f), "[s]\r\nk=\x83\x5D\x81\x5B\x83\x93\r\n\x83\x5C=\x81\x60\r\n[\x83\x5D]\r\nk=\xB1\r\n");
  // The section whose name ends in the trail byte 5D is found again: the write replaces in place.
  ASSERT_TRUE(WriteString(f, "ゾ", "K", "ｲ"));
  EXPECT_EQ(Bytes(f), "[s]\r\nk=\x83\x5D\x81\x5B\x83\x93\r\n\x83\x5C=\x81\x60\r\n[\x83\x5D]\r\nk=\xB2\r\n");
  EXPECT_EQ(ReadString(f, "s", "ソ", 16), "～");
}

TEST_F(ProfileWrite, RefusedWriteLeavesTheFileAsItWas) {
  const std::string before = "[s]\r\nk=1\r\n";
  std::string f = File(before);
  EXPECT_FALSE(WriteString(f, "s", "k", "😀"));  // no CP932 form
  EXPECT_FALSE(WriteString(f, "s", "😀", "1"));
  EXPECT_FALSE(WriteString(f, "😀", "k", "1"));
  EXPECT_FALSE(WriteString(f, "s", "k", "\xFF"));  // not UTF-8
  EXPECT_FALSE(WriteString(f, "s", "k", "a\r\nb=2"));
  EXPECT_FALSE(WriteString(f, "s", "k", "a\nb"));
  EXPECT_FALSE(WriteString(f, "s", "k", "a\rb"));
  EXPECT_FALSE(WriteString(f, "s", "k\nj", "1"));
  EXPECT_FALSE(WriteString(f, "s\nt", "k", "1"));
  EXPECT_FALSE(WriteString(f, "s", "a=b", "1"));
  EXPECT_FALSE(WriteString(f, "s]", "k", "1"));
  EXPECT_FALSE(WriteString(f, "s", "  ", "1"));
  EXPECT_FALSE(WriteString(f, "", "k", "1"));
  EXPECT_FALSE(WriteString(f, "s", ";k", "1"));  // would be a comment line
  EXPECT_FALSE(WriteString(f, "s", "[k", "1"));  // would be a section line
  EXPECT_FALSE(WriteString(f, "s", "\t[k", "1"));
  EXPECT_FALSE(WriteString(f, "s", " \t;k", "1"));
  EXPECT_FALSE(WriteString(f, "s", "k\t", "1"));  // could never be read back as "k\t"
  EXPECT_FALSE(WriteString(f, "\ts", "k", "1"));
  EXPECT_EQ(Bytes(f), before);
  EXPECT_EQ(Entries(folder_.path()).size(), 1u);  // no temporary file left behind
  EXPECT_EQ(ReadString(f, "s", "k", 16), "1");
}

TEST_F(ProfileWrite, PermissionsAndSymbolicLinksAreKept) {
  std::string f = File("[s]\r\nk=1\r\n");
  ASSERT_EQ(chmod(f.c_str(), 0640), 0);
  ASSERT_TRUE(WriteString(f, "s", "k", "2"));
  struct stat st;
  ASSERT_EQ(stat(f.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  ASSERT_EQ(chmod(f.c_str(), 0604), 0);
  ASSERT_TRUE(DeleteKey(f, "s", "k"));
  ASSERT_EQ(stat(f.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0604u);

  // Written through a link, the link stays a link and its target gets the content.
  std::string target = File("[s]\r\nk=1\r\n");
  std::string link = folder_.File("link.ini");
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  ASSERT_TRUE(WriteString(link, "s", "k", "2"));
  ASSERT_EQ(lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(Bytes(target), "[s]\r\nk=2\r\n");
}

TEST_F(ProfileWrite, FileThatMayNotBeWrittenIsNotReplaced) {
  ASSERT_EQ(chmod(folder_.path().c_str(), 0777), 0);  // anyone may create files in the folder
  std::string readOnly = File("[s]\r\nk=1\r\n");
  std::string writable = File("[s]\r\nk=1\r\n");
  ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
  ASSERT_EQ(chmod(writable.c_str(), 0666), 0);
  EXPECT_FALSE(Unprivileged([&] { return WriteString(readOnly, "s", "k", "2"); }));
  EXPECT_FALSE(Unprivileged([&] { return WriteString(readOnly, "s", "new", "2"); }));
  EXPECT_FALSE(Unprivileged([&] { return DeleteKey(readOnly, "s", "k"); }));
  EXPECT_EQ(Bytes(readOnly), "[s]\r\nk=1\r\n");
  EXPECT_TRUE(Unprivileged([&] { return WriteString(writable, "s", "k", "2"); }));
  EXPECT_EQ(Bytes(writable), "[s]\r\nk=2\r\n");

  // A folder where a file is expected.
  ASSERT_EQ(mkdir(folder_.File("sub.ini").c_str(), 0755), 0);
  EXPECT_FALSE(WriteString(folder_.File("sub.ini"), "s", "k", "v"));
}

TEST_F(ProfileWrite, OwnerAndGroupAreKept) {
  if (geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
  std::string f = File("[s]\r\nk=1\r\n");
  ASSERT_EQ(chown(f.c_str(), 65534, 65534), 0);
  ASSERT_EQ(chmod(f.c_str(), 02640), 0);
  ASSERT_TRUE(WriteString(f, "s", "k", "2"));
  struct stat st;
  ASSERT_EQ(stat(f.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
  EXPECT_EQ(st.st_mode & 07777, 02640u);
  EXPECT_EQ(Bytes(f), "[s]\r\nk=2\r\n");
}

// The read cache: a file is parsed again exactly when its identity (device, inode, size, modification
// time in nanoseconds) changed.
class ProfileCache : public ProfileWrite {
 protected:
  static struct stat StatOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(stat(path.c_str(), &st), 0);
    return st;
  }
  static void SetMtime(const std::string& path, struct timespec t) {
    struct timespec times[2] = {{0, UTIME_OMIT}, t};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  }
  static struct timespec Plus(struct timespec t, long ns) {
    t.tv_nsec += ns;
    while (t.tv_nsec >= 1000000000) {
      t.tv_nsec -= 1000000000;
      ++t.tv_sec;
    }
    return t;
  }
  static bool Same(struct timespec a, struct timespec b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
  }
};

TEST_F(ProfileCache, ReadAfterWriteSeesTheNewValue) {
  std::string f = File("[s]\r\nk=1\r\n");
  EXPECT_EQ(ReadString(f, "s", "k", 16), "1");
  for (const char* v : {"2", "3", "4", "55", "6"}) {
    ASSERT_TRUE(WriteString(f, "s", "k", v));
    EXPECT_EQ(ReadString(f, "s", "k", 16), v);
  }
  ASSERT_TRUE(DeleteKey(f, "s", "k"));
  EXPECT_EQ(ReadInt(f, "s", "k", -1), -1);
}

TEST_F(ProfileCache, ChangeByAnotherProgramIsSeenByTheNextRead) {
  std::string f = File("[s]\r\nk=1\r\n");
  EXPECT_EQ(ReadString(f, "s", "k", 16), "1");
  struct stat before = StatOf(f);

  // Same size, rewritten in place, with a later modification time.
  Rewrite(f, "[s]\r\nk=2\r\n");
  SetMtime(f, Plus(before.st_mtim, 1000000000));
  EXPECT_EQ(ReadString(f, "s", "k", 16), "2");

  // Another size, however soon after.
  Rewrite(f, "[s]\r\nk=33\r\n");
  EXPECT_EQ(ReadString(f, "s", "k", 16), "33");

  // Replaced by another file of the same size and modification time: another inode.
  struct stat now = StatOf(f);
  folder_.Write("other.tmp", "[s]\r\nk=44\r\n");
  std::string other = folder_.File("other.tmp");
  SetMtime(other, now.st_mtim);
  ASSERT_EQ(std::rename(other.c_str(), f.c_str()), 0);
  EXPECT_EQ(ReadString(f, "s", "k", 16), "44");

  // Removed.
  ASSERT_EQ(unlink(f.c_str()), 0);
  EXPECT_EQ(ReadString(f, "s", "k", 16), "");
}

TEST_F(ProfileCache, UnchangedIdentityServesTheCachedParse) {
  std::string f = File("[s]\r\nk=1\r\n");
  EXPECT_EQ(ReadString(f, "s", "k", 16), "1");
  struct stat before = StatOf(f);

  // New content of the same size in the same inode, and the old modification time restored: the
  // identity is unchanged, so the read is served from the parse made before.
  Rewrite(f, "[s]\r\nk=2\r\n");
  SetMtime(f, before.st_mtim);
  struct stat after = StatOf(f);
  ASSERT_EQ(after.st_ino, before.st_ino);
  ASSERT_EQ(after.st_size, before.st_size);
  ASSERT_TRUE(Same(after.st_mtim, before.st_mtim));
  EXPECT_EQ(ReadString(f, "s", "k", 16), "1");
  EXPECT_EQ(ReadInt(f, "s", "k", 0), 1);

  // One nanosecond later is another identity.
  SetMtime(f, Plus(before.st_mtim, 1));
  if (!Same(StatOf(f).st_mtim, Plus(before.st_mtim, 1))) GTEST_SKIP() << "file system without ns times";
  EXPECT_EQ(ReadString(f, "s", "k", 16), "2");

  // Dropping the cache reads the file again in any case.
  Rewrite(f, "[s]\r\nk=3\r\n");
  SetMtime(f, Plus(before.st_mtim, 1));
  EXPECT_EQ(ReadString(f, "s", "k", 16), "2");
  ClearProfileCache();
  EXPECT_EQ(ReadString(f, "s", "k", 16), "3");
}

}  // namespace
}  // namespace talvorin
