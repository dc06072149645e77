// Whole-operation edits of a profile file, the read rules for empty values and numbered lists, and
// the file check once per operation.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "store/Files.h"
#include "store/Profile.h"
#include "store/ProfileParse.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::Cp932;
using test::TestFolder;

class ProfileEditTest : public ::testing::Test {
 protected:
  std::string File(std::string_view bytes) {
    std::string name = "case" + std::to_string(count_++) + ".ini";
    folder_.Write(name, bytes);
    return folder_.File(name);
  }
  std::string Bytes(const std::string& path) {
    std::string out;
    EXPECT_TRUE(ReadWholeFile(path, out));
    return out;
  }
  static ino_t Inode(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
  }
  // Names in the folder: a temporary file left behind would show here.
  std::vector<std::string> Entries() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder_.path()))
      names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  TestFolder folder_;
  int count_ = 0;
};

TEST_F(ProfileEditTest, AnOperationsWritesAndDeletionsReplaceTheFileOnce) {
  std::string f = File(
      "; project\r\n[machine]\r\nncpath=/data/nc\r\nncfile=\r\n\r\n[ncproc1]\r\ntool=old\r\nT=1\r\n\r\n"
      "[ncproc2]\r\n\r\n");
  const ino_t before = Inode(f);
  ProfileEdit edit(f);
  EXPECT_TRUE(edit.Write("machine", "ncfile", "O1000.NC"));
  EXPECT_TRUE(edit.Delete("ncproc1", "tool"));
  EXPECT_TRUE(edit.Delete("ncproc1", "T"));
  EXPECT_TRUE(edit.Write("ncproc1", "tool", "ドリル"));
  EXPECT_TRUE(edit.Write("ncproc2", "tool", "リーマ"));
  EXPECT_TRUE(edit.Write("ncproc3", "tool", "タップ"));
  EXPECT_TRUE(edit.Delete("ncproc9", "tool"));  // nothing to remove
  // The edit reads its own changes; the file is untouched until Apply().
  EXPECT_EQ(edit.ReadString("ncproc1", "tool", 32), "ドリル");
  EXPECT_EQ(edit.ReadString("NCPROC1", "t", 32, "none"), "none");
  EXPECT_EQ(edit.ReadInt("ncproc1", "T", -1), -1);
  EXPECT_EQ(ReadString(f, "ncproc1", "tool", 32), "old");
  EXPECT_EQ(Inode(f), before);

  ASSERT_TRUE(edit.Apply());
  EXPECT_EQ(Bytes(f), Cp932("; project\r\n[machine]\r\nncpath=/data/nc\r\nncfile=O1000.NC\r\n\r\n"
                            "[ncproc1]\r\ntool=ドリル\r\n\r\n[ncproc2]\r\ntool=リーマ\r\n\r\n"
                            "[ncproc3]\r\ntool=タップ\r\n"));
  EXPECT_NE(Inode(f), before);
  EXPECT_EQ(ReadString(f, "ncproc3", "tool", 32), "タップ");
  EXPECT_EQ(Entries().size(), 1u);

  // Nothing collected: Apply() leaves the file as it is.
  const ino_t written = Inode(f);
  EXPECT_TRUE(edit.Apply());
  ProfileEdit unchanged(f);
  EXPECT_TRUE(unchanged.Delete("ncproc5", "tool"));
  EXPECT_FALSE(unchanged.Changed());
  EXPECT_TRUE(unchanged.Apply());
  EXPECT_EQ(Inode(f), written);
}

TEST_F(ProfileEditTest, ARefusedWriteCollectsNothingAndTheEarlierWritesStillApply) {
  std::string f = File("[a]\r\nx=1\r\n");
  ProfileEdit edit(f);
  EXPECT_TRUE(edit.Write("a", "x", "2"));
  EXPECT_FALSE(edit.Write("a", "y", "two\r\nlines"));
  EXPECT_FALSE(edit.Write("a", "z", "\xF0\x9F\x98\x80"));  // no CP932 for it
  EXPECT_FALSE(edit.Write("a", "k=v", "1"));
  EXPECT_FALSE(edit.Write("a]", "k", "1"));
  ASSERT_TRUE(edit.Apply());
  EXPECT_EQ(Bytes(f), "[a]\r\nx=2\r\n");

  // A folder that does not exist: nothing is written and Apply() says so.
  ProfileEdit nowhere(folder_.File("missing/job.dat"));
  EXPECT_TRUE(nowhere.Write("a", "x", "1"));
  EXPECT_FALSE(nowhere.Apply());
  EXPECT_FALSE(PathExists(folder_.File("missing")));
}

// Random edits on files with comments, duplicate sections and keys, mixed line ends and no end on the
// last line: one edit of many changes gives exactly the bytes of the same changes made one by one on a
// freshly parsed file, and the edit's own index answers reads as a fresh parse of its bytes does.
TEST_F(ProfileEditTest, ManyChangesInOneEditGiveTheBytesOfTheSameChangesOneByOne) {
  const std::vector<std::string> starts = {
      "",
      "[a]\r\nx=1\r\ny=2\r\n\r\n; about b\r\n[b]\r\nz=3",
      "; head\n[A]\nX=1\n[b]\rk=1\r[a]\nx=9\nq=8\n[c]\r\n; only a comment\r\n\r\n",
      "\xEF\xBB\xBF[a]\r\nx=1\r\nx=2\r\n[b]\r\n",
  };
  const std::vector<std::string> sections = {"a", "A", "b", "c", "d"};
  const std::vector<std::string> keys = {"x", "X", "y", "q", "z", "k", "new"};
  std::mt19937 random(20261209);
  for (std::size_t s = 0; s < starts.size(); ++s) {
    for (int round = 0; round < 10; ++round) {
      std::string f = File(starts[s]);
      std::string expected = starts[s];
      ProfileEdit edit(f);
      for (int op = 0; op < 40; ++op) {
        const std::string& sec = sections[random() % sections.size()];
        const std::string& key = keys[random() % keys.size()];
        ParsedProfile fresh = ParseProfile(expected);
        if (random() % 3 == 0) {
          ASSERT_TRUE(edit.Delete(sec, key));
          RemoveProfileKey(fresh, sec, key);
        } else {
          std::string value = random() % 4 == 0 ? "" : std::to_string(random() % 1000);
          ASSERT_TRUE(edit.Write(sec, key, value));
          SetProfileValue(fresh, sec, key, value);
        }
        expected = SerializeProfile(fresh);
        if (op % 8 != 7) continue;
        const std::string check = File(expected);
        for (const std::string& rs : sections)
          for (const std::string& rk : keys)
            ASSERT_EQ(edit.ReadString(rs, rk, 16, "?"), ReadString(check, rs, rk, 16, "?"))
                << "start " << s << ", round " << round << ", op " << op << ": [" << rs << "] " << rk;
      }
      ASSERT_TRUE(edit.Apply());
      ASSERT_EQ(Bytes(f), expected) << "start " << s << ", round " << round;
    }
  }
}

TEST_F(ProfileEditTest, AnEmptyValueReadsAsEmptyTextAndOnlyAnAbsentKeyGivesTheDefault) {
  std::string f = File("[s]\r\nempty=\r\nblanks= \t \r\nquotes=\"\"\r\nset=x\r\n");
  for (const char* key : {"empty", "blanks", "quotes"}) {
    EXPECT_EQ(ReadString(f, "s", key, 16, "dat"), "") << key;
    EXPECT_EQ(ReadStringOr(f, "s", key, 16, "dat"), "dat") << key;
    EXPECT_EQ(ReadInt(f, "s", key, 42), 42) << key;
  }
  EXPECT_EQ(ReadString(f, "s", "absent", 16, "dat"), "dat");
  EXPECT_EQ(ReadString(f, "s", "absent", 16, " "), "");  // a default loses its trailing spaces
  EXPECT_EQ(ReadStringOr(f, "s", "absent", 16, "dat"), "dat");
  EXPECT_EQ(ReadStringOr(f, "s", "set", 16, "dat"), "x");
  EXPECT_EQ(ReadStringOr(f, "s", "absent", 3, "dat"), "da");
  EXPECT_EQ(ReadString(folder_.File("no-such-file.ini"), "s", "k", 16, "dat"), "dat");
}

TEST_F(ProfileEditTest, ANumberedListEndsAtItsFirstMissingOrEmptyKey) {
  std::string f = File(
      Cp932("[list]\r\nname0=FANUC\r\nNAME1=OSP-P300\r\nname2=とても長い名前です\r\nname4=after a gap\r\n"
            "[gap]\r\nname0=a\r\nname1=\r\nname2=c\r\n[one]\r\nitem1=first\r\nitem2=second\r\n"));
  using Texts = std::vector<std::string>;
  EXPECT_EQ(ReadNumberedList(f, "list", "name", 16, 30), (Texts{"FANUC", "OSP-P300", "とても長い名前"}));
  EXPECT_EQ(ReadNumberedList(f, "list", "name", 16, 2), (Texts{"FANUC", "OSP-P300"}));
  EXPECT_EQ(ReadNumberedList(f, "gap", "name", 16, 30), (Texts{"a"}));
  EXPECT_EQ(ReadNumberedList(f, "one", "item", 16, 30), Texts{});
  EXPECT_EQ(ReadNumberedList(f, "one", "item", 16, 30, 1), (Texts{"first", "second"}));
  EXPECT_EQ(ReadNumberedList(f, "none", "item", 16, 30), Texts{});
}

TEST_F(ProfileEditTest, AnOperationChecksEachFileOnceAndTheNextOperationSeesAnotherProgramsChange) {
  std::string f = File("[s]\r\nk=1\r\n");
  {
    ProfileOperation operation;
    EXPECT_EQ(ReadString(f, "s", "k", 16), "1");
    folder_.Write("case0.ini", "[s]\r\nk=22\r\n");  // another program, within the operation
    EXPECT_EQ(ReadString(f, "s", "k", 16), "1");
    // The operation's own writes, and a file it replaces as a whole, are seen at once.
    ASSERT_TRUE(WriteString(f, "s", "j", "3"));
    EXPECT_EQ(ReadString(f, "s", "j", 16), "3");
    std::string g = File("[t]\r\nv=1\r\n");
    EXPECT_EQ(ReadString(g, "t", "v", 16), "1");
    ASSERT_TRUE(ReplaceWholeFile(g, "[t]\r\nv=2\r\n"));
    EXPECT_EQ(ReadString(g, "t", "v", 16), "2");
    // A file absent at its first read stays absent for the operation, until it writes it.
    std::string h = folder_.File("later.ini");
    EXPECT_EQ(ReadString(h, "s", "k", 16, "none"), "none");
    ASSERT_TRUE(WriteString(h, "s", "k", "made"));
    EXPECT_EQ(ReadString(h, "s", "k", 16, "none"), "made");
  }
  folder_.Write("case0.ini", "[s]\r\nk=333\r\n");
  ProfileOperation next;
  EXPECT_EQ(ReadString(f, "s", "k", 16), "333");
}

TEST_F(ProfileEditTest, OutsideAnOperationEveryReadChecksTheFile) {
  std::string f = File("[s]\r\nk=1\r\n");
  EXPECT_EQ(ReadString(f, "s", "k", 16), "1");
  folder_.Write("case0.ini", "[s]\r\nk=22\r\n");
  EXPECT_EQ(ReadString(f, "s", "k", 16), "22");
}

TEST_F(ProfileEditTest, AnEditKeepsWhatAnotherProgramWroteSinceItReadTheFile) {
  std::string f = File("[a]\r\nx=1\r\nw=5\r\n");
  ProfileEdit edit(f);
  ASSERT_TRUE(edit.Write("a", "y", "2"));
  ASSERT_TRUE(edit.Delete("a", "x"));
  EXPECT_EQ(edit.ReadString("a", "y", 16), "2");
  // Another program changes w and adds a section between the edit's reads and its write.
  folder_.Write("case0.ini", "[a]\r\nx=1\r\nw=6\r\n[b]\r\nz=9\r\n");
  ASSERT_TRUE(edit.Apply());
  EXPECT_EQ(Bytes(f), "[a]\r\nw=6\r\ny=2\r\n[b]\r\nz=9\r\n");

  // A content given whole replaces the file whatever it holds now.
  ProfileEdit whole(f);
  whole.Reset("[c]\r\nv=1\r\n");
  ASSERT_TRUE(whole.Write("c", "u", "3"));
  folder_.Write("case0.ini", "[a]\r\nw=7\r\n");
  ASSERT_TRUE(whole.Apply());
  EXPECT_EQ(Bytes(f), "[c]\r\nv=1\r\nu=3\r\n");
}

TEST_F(ProfileEditTest, AWriteWaitsWhileAnotherProcessHoldsTheFilesLock) {
  std::string f = File("[s]\r\nk=1\r\n");
  int go[2];
  ASSERT_EQ(pipe(go), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The other process: writes a key as soon as it is told to.
    close(go[1]);
    char c;
    if (read(go[0], &c, 1) != 1) _exit(2);
    _exit(WriteString(f, "s", "other", "2") ? 0 : 1);
  }
  close(go[0]);
  int status = 0;
  {
    ProfileLock lock(f);
    ASSERT_EQ(write(go[1], "x", 1), 1);
    // The child's write waits for the lock; meanwhile this process reads and writes under it.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(waitpid(child, &status, WNOHANG), 0);
    EXPECT_EQ(ReadString(f, "s", "other", 16, "absent"), "absent");
    ASSERT_TRUE(WriteString(f, "s", "mine", "1"));
  }
  close(go[1]);
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Bytes(f), "[s]\r\nk=1\r\nmine=1\r\nother=2\r\n");
}

}  // namespace
}  // namespace talvorin
