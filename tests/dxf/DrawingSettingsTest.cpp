// The drawing programs' settings: load into the form, the position range check, and the save into
// the program's own INI (only changed, non-empty fields; one replacement; a refused position).
#include <gtest/gtest.h>

#include "dxf/DrawingSettings.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin {
namespace {

using test::TestFolder;

const char* const kRange = "データは 0～1 の範囲にして下さい。";

struct Fixture {
  Fixture() : t(folder) {
    folder.WriteCp932(
        "lindrel.ini",
        "; viewer\r\n[lindrel]\r\nviewer=/usr/bin/librecad\r\nconsol=0\r\n\r\n[window]\r\nX=0.5\r\n"
        "Y=1.7\r\n");
    t.inst.iniPath = folder.File("lindrel.ini");
  }
  TestFolder folder;
  test::TestContext t;
};

TEST(DrawingSettings, LoadFillsSetFieldsAndChecksThePosition) {
  Fixture f;
  DrawingSettingsForm form;
  form.windowColour = "1,2,3";  // no stored key: the field stays
  EXPECT_EQ(LoadDrawingSettings(f.t.ctx, "lindrel", form), 0);
  EXPECT_EQ(form.viewer, "/usr/bin/librecad");
  EXPECT_EQ(form.positionX, "0.5");
  EXPECT_EQ(form.positionY, "1");  // 1.7 held to 1, with the message
  EXPECT_EQ(form.windowColour, "1,2,3");
  EXPECT_EQ(form.textColour, "");
  EXPECT_DOUBLE_EQ(form.placementY, 1.0);
  ASSERT_EQ(f.t.reporter.boxes.size(), 1u);
  EXPECT_EQ(f.t.reporter.boxes[0], (std::pair<std::string, int>{kRange, -1}));
}

TEST(DrawingSettings, SaveWritesChangedFieldsInPlace) {
  Fixture f;
  DrawingSettingsForm form{"/USR/BIN/LIBRECAD", "0.25", "", "10,20,30", "0,0,0"};
  EXPECT_EQ(SaveDrawingSettings(f.t.ctx, "lindrel", form), 0);
  // A change of letter case alone and an empty field write nothing; X and the two colours are new.
  EXPECT_EQ(f.folder.ReadCp932("lindrel.ini"),
            "; viewer\r\n[lindrel]\r\nviewer=/usr/bin/librecad\r\nconsol=0\r\n\r\n[window]\r\nX=0.25\r\n"
            "Y=1.7\r\n[color]\r\nwindow=10,20,30\r\ntext=0,0,0\r\n");
  EXPECT_EQ(f.t.reporter.boxes.back(), (std::pair<std::string, int>{"3個の設定値を保存しました。", 1}));
  EXPECT_EQ(form.storedColours.window, (Colour{10, 20, 30}));
  EXPECT_EQ(f.t.inst.windowColour, (Colour{220, 220, 220}));  // the installation is left as it was
  EXPECT_DOUBLE_EQ(form.placementX, 0.25);

  EXPECT_EQ(SaveDrawingSettings(f.t.ctx, "lindrel", form), 0);
  EXPECT_EQ(f.t.reporter.boxes.back(), (std::pair<std::string, int>{"設定値に変更はありません", 1}));
}

TEST(DrawingSettings, PositionOutOfRangeRefusesTheWholeSave) {
  Fixture f;
  for (const char* x : {"1.5", "-0.2", "abc"}) {
    DrawingSettingsForm form{"/bin/true", x, "0.5", "", ""};
    EXPECT_EQ(SaveDrawingSettings(f.t.ctx, "lindrel", form), -1) << x;
    EXPECT_EQ(form.positionX, std::string(x) == "1.5" ? "1" : "0");
    EXPECT_EQ(f.t.reporter.boxes.back(), (std::pair<std::string, int>{kRange, -1}));
    EXPECT_EQ(ReadString(f.folder.File("lindrel.ini"), "lindrel", "viewer", 520), "/usr/bin/librecad");
  }
  // The corrected field saves on the next try.
  DrawingSettingsForm form{"", "1", "", "", ""};
  EXPECT_EQ(SaveDrawingSettings(f.t.ctx, "lindrel", form), 0);
  EXPECT_EQ(ReadString(f.folder.File("lindrel.ini"), "window", "X", 16), "1");
}

TEST(DrawingSettings, UnwritableIniIsReportedAndLeftAsItWas) {
  Fixture f;
  f.t.inst.iniPath = f.folder.File("missing/lindrel.ini");
  DrawingSettingsForm form{"/bin/true", "0.5", "0.5", "", ""};
  EXPECT_EQ(SaveDrawingSettings(f.t.ctx, "lindrel", form), -1);
  EXPECT_EQ(f.t.reporter.boxes.back(),
            (std::pair<std::string, int>{"エラー：[lindrel] viewer=/bin/true 書込失敗", -1}));
  EXPECT_FALSE(PathExists(f.folder.File("missing")));

  // A value that cannot be stored (a line break) stops the save before anything is written.
  Fixture g;
  DrawingSettingsForm broken{"/bin/true", "0.5", "0.5", "1,2,3\n[x]", ""};
  EXPECT_EQ(SaveDrawingSettings(g.t.ctx, "lindrel", broken), -1);
  EXPECT_EQ(g.t.reporter.boxes.back(),
            (std::pair<std::string, int>{"エラー：[color] window=1,2,3\n[x] 書込失敗", -1}));
  EXPECT_EQ(ReadString(g.folder.File("lindrel.ini"), "lindrel", "viewer", 520), "/usr/bin/librecad");
}

}  // namespace
}  // namespace talvorin
