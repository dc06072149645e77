// talvorin-cli settings as a black box on the shipped installation: what each screen shows, the files
// a save leaves, the refusals and the usage errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/Profile.h"
#include "support/CliRun.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

class SettingsCli : public ::testing::Test {
 protected:
  void SetUp() override { test::CopyProgramFolder(folder); }

  test::CliResult Run(std::vector<std::string> args) {
    std::vector<std::string> all{TALVORIN_CLI, "--folder", folder.path(), "--quiet", "settings"};
    all.insert(all.end(), args.begin(), args.end());
    return test::RunProgram(all);
  }

  TestFolder folder;
};

TEST_F(SettingsCli, InitialShowsTheShippedSettingsAndSavesChanges) {
  test::CliResult r = Run({"initial"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "TRYCUT2000=/opt/trycut/bin/trycut\n"
            "DXF VIEWER=/usr/bin/librecad\n"
            "NC VIEWER=talvorin-ncview\n"
            "エディター=/usr/bin/xdg-open\n"
            "起動画面位置 X=0.5\n"
            "起動画面位置 Y=0.5\n"
            "背景色 [RGB]=220,220,220\n"
            "文字色 [RGB]=0,0,0\n"
            "データ転送方法=FTP\n"
            "データ転送命令=127.0.0.1\n"
            "FTPユーザー=ncuser\n"
            "FTPパスワード=changeme\n");
  EXPECT_EQ(r.err, "");

  folder.Write("bin/editor", "#!/bin/sh\n");
  r = Run({"initial", "save", "--editor", folder.File("bin/editor"), "--x", "1.5", "--method", "DNC",
           "--command", "/opt/dnc/bin/dnc2", "--text-colour", "0,0,255"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "データは 0～1 の範囲にして下さい。\n5個の設定値を保存しました。\n");
  std::string ini = folder.ReadCp932("TALVORIN.ini");
  EXPECT_NE(ini.find("editor=" + folder.File("bin/editor") + "\r\ndxfviewer=/usr/bin/librecad\r\n"),
            std::string::npos);
  EXPECT_NE(ini.find("X=1\r\nY=0.5\r\n"), std::string::npos);
  EXPECT_NE(ini.find("text=0,0,255\r\n"), std::string::npos);
  EXPECT_NE(ini.find("PROTOCOL=DNC\r\n"), std::string::npos);
  EXPECT_NE(ini.find("DNC=/opt/dnc/bin/dnc2\r\n"), std::string::npos);

  // Under DNC the FTP fields are disabled; a program that is not there is refused.
  EXPECT_EQ(Run({"initial", "--ftpuser", "x"}).status, 2);
  r = Run({"initial", "save", "--ncviewer", "/nonexistent/viewer"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：実行ファイル /nonexistent/viewer がありません。\n");
}

TEST_F(SettingsCli, TapSwitchesExcludeEachOther) {
  test::CliResult r = Run({"tap", "save", "--feed", "on", "--rpoint", "7"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "タップ加工時のＲ点=7\n貫通時の突き抜け量=3\nリジットタップ=OFF\n毎回転送り制御=ON\n");
  EXPECT_NE(
      folder.ReadCp932("NCformat.tbl")
          .find("RCODE=7\r\nBreakthrough=3\r\n; 1: リジットタップ（FANUC で S M29）  RotationFeed と同時に 1 "
                "にはしません\r\nRigidTap=0\r\n; 1: 毎回転送り (G95 F=ピッチ)\r\nRotationFeed=1\r\n"),
      std::string::npos);
  EXPECT_EQ(Run({"tap", "--feed", "on", "--rigid", "on"}).status, 2);
  EXPECT_EQ(Run({"tap", "--rigid", "yes"}).status, 2);
}

TEST_F(SettingsCli, LinesAreEditedAndSavedWithTheirEndKey) {
  test::CliResult r = Run({"lines", "--line", "g21", "--before", "1", "save"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "挿入する位置=冒頭\n使用制御装置=FANUC\n01=G21\n02=G90 G17 G40 G49 G80\n");
  EXPECT_EQ(r.err, "設定値を保存しました。\n");
  EXPECT_NE(
      folder.ReadCp932("NCformat.tbl")
          .find(
              "fanuc0=G21\r\nosp0=G90 G17 G40 G80\r\nFANUC1=G90 G17 G40 G49 G80\r\nFANUC2=\r\n\r\n[EndLine]"),
      std::string::npos);

  r = Run({"lines", "--end", "--controller", "osp", "--delete", "1", "--delete", "3"});
  EXPECT_EQ(r.out, "挿入する位置=末尾\n使用制御装置=OSP\n01=M05\n02=M02\n03=%\n");

  r = Run({"lines", "--clear", "save"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Error : List Window is Empty\n");
  EXPECT_EQ(Run({"lines", "--delete", "9"}).status, 2);
  EXPECT_EQ(Run({"lines", "--controller", "HEIDENHAIN"}).status, 2);
}

TEST_F(SettingsCli, CoordinateSystemsAreRegisteredSortedAndTwinsRefused) {
  test::CliResult r = Run({"coords", "--delete", "g15h06", "--add", "g60", "save"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "G15H01\nG15H02\nG15H03\nG15H04\nG15H05\nG54\nG55\nG56\nG57\nG58\nG59\nG60\n");
  std::string ini = folder.ReadCp932("TALVORIN.ini");
  EXPECT_NE(ini.find("CoordinateSystem0=G15H01\r\n"), std::string::npos);
  EXPECT_NE(
      ini.find(
          "CoordinateSystem11=G60\r\n; 制御装置に関係なく常に一覧に加える座標系（空のときは加えない）\r\n"
          "CoordinateSystem=\r\n"),
      std::string::npos);
  // Keys 12 to 19 end the list, after the last key of the section.
  std::string ends;
  for (int n = 12; n < 20; ++n)
    ends += "CoordinateSystem" + std::to_string(n) + "=\r\n";
  EXPECT_NE(ini.find("defaultOrigin=0\r\n" + ends + "\r\n[material]"), std::string::npos);

  r = Run({"coords", "--add", "g54"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "エラー：座標系「G54」は既に登録されている\n");
  EXPECT_EQ(Run({"coords", "--delete", "G99"}).status, 1);
}

TEST_F(SettingsCli, BadUsage) {
  EXPECT_EQ(Run({}).status, 2);
  EXPECT_EQ(Run({"colours"}).status, 2);
  EXPECT_EQ(Run({"initial", "keep"}).status, 2);
  EXPECT_EQ(Run({"initial", "--window-colour", "1,2"}).status, 2);
  EXPECT_EQ(Run({"initial", "--text-colour", "0,0,256"}).status, 2);
  EXPECT_EQ(Run({"initial", "--method", "UUCP"}).status, 2);
}

}  // namespace
}  // namespace talvorin
