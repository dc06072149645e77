// Records the generator refuses instead of writing a made-up value, and what a refused run leaves in
// the NC folder.
#include <filesystem>

#include "NcTestSupport.h"

namespace talvorin::test {
namespace {

using RecordChecks = NcTest;

const ProcessFields kDrill = {"ドリル", "6.8", "3", "3", "", "1200", "120", "81", "3", "-15", "", "", "1"};

std::string Drills() {
  return HoleSectionText(1, "ドリル穴 [DRILL]", {"6.8", "15"}, {"X0=10.", "Y0=20."});
}

TEST_F(RecordChecks, StoredRecordWithoutARequiredFieldIsRefused) {
  // Each field the screen never saves empty, missing in the second record.
  struct Case {
    std::string ProcessFields::*field;
    const char* key;
  };
  const Case cases[] = {{&ProcessFields::diam, "diam"}, {&ProcessFields::T, "T"}, {&ProcessFields::H, "H"},
                        {&ProcessFields::S, "S"},       {&ProcessFields::F, "F"}, {&ProcessFields::G, "G"},
                        {&ProcessFields::R, "R"},       {&ProcessFields::Z, "Z"}};
  for (const Case& c : cases) {
    ProcessFields second = kDrill;
    second.*c.field = "";
    Project(Drills() + ProcessSectionText(1, kDrill) + ProcessSectionText(2, second));
    EXPECT_EQ(CreateNcProgram(ctx(), {}), -1) << c.key;
    EXPECT_EQ(Errors().back(), std::string("エラー：[ncproc2] ") + c.key + "= | db 工程データ取得失敗");
    EXPECT_EQ(NcFile(), "") << c.key;
  }
}

TEST_F(RecordChecks, FailedRunLeavesTheEarlierProgramAndNoTemporaryFile) {
  folder.Write("ncdata/O0001.NC", "%\r\nO0001\r\nOLD\r\n%\r\n");
  ProcessFields second = kDrill;
  second.definition = "2";  // a hole group without a kind label
  Project(Drills() + "[hole2]\ncommand=\nX0=1.\nY0=1.\n\n" + ProcessSectionText(1, kDrill) +
          ProcessSectionText(2, second));
  EXPECT_EQ(CreateNcProgram(ctx(), {}), -1);
  EXPECT_EQ(Errors().back(), "エラー：加工命令取り出し失敗");
  EXPECT_EQ(folder.Read("ncdata/O0001.NC"), "%\r\nO0001\r\nOLD\r\n%\r\n");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.File("ncdata"))) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
  EXPECT_TRUE(Listed("... ＮＣファイル " + NcPath() + " は作成していません"));
}

TEST_F(RecordChecks, MillingRecordWithoutOffsetAllowanceOrUsableStep) {
  Project(HoleSectionText(1, "長穴 [LONGHOLE]", {"10", "20"}, {"CX0=20.", "CY0=10."}));
  ProcessFields f = {"エンドミル", "10", "5", "5", "7", "1000", "150", "41", "3", "-8", "0", "0", "1"};
  int rc = 0;
  ProcessFields noD = f;
  noD.D = "";
  EXPECT_EQ(Body(LongHoleMill, noD, &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Errors().back(), "エラー：[ncproc1] D= | db 工具径補正番号取得失敗");
  ProcessFields noOff = f;
  noOff.OFF = "";
  EXPECT_EQ(Body(LongHoleMill, noOff, &rc), "");
  EXPECT_EQ(Errors().back(), "エラー：[ncproc1] OFF= | db 仕上代取得失敗");
  // Q of 0 with Z of 0 leaves no step at all.
  ProcessFields flat = f;
  flat.Z = "0";
  EXPECT_EQ(Body(LongHoleMill, flat, &rc), "");
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(Errors().back(), "エラー：[ncproc1] Q=0 切込み量が正しくありません");
}

}  // namespace
}  // namespace talvorin::test
