#include <gtest/gtest.h>

#include "shell/ProgramSetup.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestContext;
using test::TestFolder;

TEST(OpenHelpFile, OpensTheDocumentOfTheProgramFolder) {
  TestFolder folder;
  folder.Write("TALVORIN.ini", "[TALVORIN]\r\nHelpFile=help/Index.html\r\n");
  folder.Write("help/index.html", "<html></html>");
  TestContext t(folder);
  EXPECT_EQ(OpenHelpFile(t.ctx), 0);
  ASSERT_EQ(t.platform.calls.size(), 1u);
  EXPECT_EQ(t.platform.calls[0].what, "open");
  EXPECT_EQ(t.platform.calls[0].target, folder.File("help/index.html"));
  EXPECT_TRUE(t.reporter.Lines().empty());
}

TEST(OpenHelpFile, EachFailureHasItsMessage) {
  TestFolder folder;
  {
    TestContext t(folder);
    EXPECT_EQ(OpenHelpFile(t.ctx), -1);
    EXPECT_EQ(t.reporter.Lines().back(), "エラー：ヘルプファイルが設定されてません。");
  }
  folder.Write("TALVORIN.ini", "[TALVORIN]\r\nHelpFile=help.html\r\n");
  {
    TestContext t(folder);
    EXPECT_EQ(OpenHelpFile(t.ctx), -1);
    EXPECT_EQ(t.reporter.Lines().back(), "ヘルプファイル " + folder.File("help.html") + " がありません。");
    EXPECT_TRUE(t.platform.calls.empty());
  }
  folder.Write("help.html", "x");
  {
    TestContext t(folder);
    t.platform.startResult = false;
    EXPECT_EQ(OpenHelpFile(t.ctx), -1);
    EXPECT_EQ(t.reporter.Lines().back(), "エラー：ヘルプファイルが開けません");
    ASSERT_EQ(t.reporter.boxes.size(), 1u);
    EXPECT_EQ(t.reporter.boxes[0].second, -1);
  }
}

TEST(OpenHelpTopic, ThroughTheHelpTable) {
  TestFolder folder;
  {
    TestContext t(folder);
    EXPECT_EQ(OpenHelpTopic(t.ctx, "初期設定"), -1);
    EXPECT_EQ(t.reporter.Lines().back(), "ヘルプテーブル " + folder.File("help.ini") + " がありません。");
  }
  folder.WriteCp932("Help.INI", "[help]\r\n初期設定=help/initial.html\r\nタップ加工設定=help/none.html\r\n");
  folder.Write("help/initial.html", "x");
  {
    TestContext t(folder);
    EXPECT_EQ(OpenHelpTopic(t.ctx, "座標系追加"), -1);
    EXPECT_EQ(t.reporter.Lines().back(), "エラー：[help] 座標系追加= | ヘルプファイル取得失敗");
    EXPECT_EQ(OpenHelpTopic(t.ctx, "タップ加工設定"), -1);
    EXPECT_EQ(t.reporter.Lines().back(), "ヘルプファイル " + folder.File("help/none.html") + " がありません。");
    EXPECT_EQ(OpenHelpTopic(t.ctx, "初期設定"), 0);
    ASSERT_EQ(t.platform.calls.size(), 1u);
    EXPECT_EQ(t.platform.calls[0].target, folder.File("help/initial.html"));
  }
}

}  // namespace
}  // namespace talvorin
