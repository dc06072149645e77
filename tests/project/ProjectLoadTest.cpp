// Loading a project into the header through the open-file dialog, loading a name without a file,
// cancelling, the dialog's own rules, and the material thickness of the current project.
#include <string>
#include <vector>

#include "ProjectFixture.h"
#include "testing/TestDoubles.h"

namespace talvorin {
namespace {

using test::ProjectTest;

// Answers one file and keeps what the dialog was asked with.
class RecordingDialogs : public ScriptedDialogs {
 public:
  std::string title, folder, filter;
  bool ChooseFile(const std::string& t, const std::string& f, const std::string& fl,
                  std::string& path) override {
    title = t;
    folder = f;
    filter = fl;
    return ScriptedDialogs::ChooseFile(t, f, fl, path);
  }
};

struct LoadTest : ProjectTest {
  LoadTest() {
    folder.Write("ncfile_rule.tbl", "[ncfile]\r\ncurrent=1020\r\n");
    t.ctx.dbPath.clear();
  }
  RecordingDialogs dialogs;
  Context ctx{t.inst, t.reporter, t.platform, dialogs, ""};
};

TEST_F(LoadTest, FillsTheHeaderFromTheChosenFile) {
  folder.WriteCp932("db/K-100.dat",
                    "[TALVORIN]\r\nproject=K-100\r\nproduct=ベース板\r\n"
                    "[material]\r\nX=200.\r\nY=150.\r\nZ=16.\r\ntype=A5052\r\norigin=中心\r\noriginNo=4\r\n"
                    "[machine]\r\nControlDevice=OSP\r\nCoordinateSystem=G15H01\r\nonumber=1234\r\n"
                    "[hole1]\r\ncommand=ドリル穴 [DRILL]\r\n[hole4]\r\ncommand=ザグリ穴 [COUNTERBORE]\r\n");
  dialogs.files.push_back(folder.File("db/K-100.dat"));
  MainForm form = test::FilledForm();
  form.materials = {"SS400", "A5052"};
  ASSERT_EQ(LoadProject(ctx, form), 0);

  EXPECT_EQ(dialogs.title, "ファイルを開く");
  EXPECT_EQ(dialogs.folder, folder.path() + "db");
  EXPECT_EQ(dialogs.filter, "dat Files(*.dat);;All Files(*.*)");
  EXPECT_EQ(ctx.dbPath, folder.File("db/K-100.dat"));
  EXPECT_EQ(form.projectName, "K-100");
  EXPECT_EQ(form.product, "ベース板");
  EXPECT_EQ(form.sizeX, "200.");
  EXPECT_EQ(form.sizeY, "150.");
  EXPECT_EQ(form.sizeZ, "16.");
  EXPECT_EQ(form.material, "A5052");
  EXPECT_EQ(form.origin, "中心");
  EXPECT_EQ(form.controller, "OSP");
  EXPECT_EQ(form.coordinateSystem, "G15H01");
  EXPECT_EQ(form.programNumber, "1234");
  EXPECT_EQ(form.materials, (std::vector<std::string>{"SS400", "A5052"}));
  EXPECT_EQ(form.groupCaptions, (std::array<std::string, 6>{"ドリル穴 [DRILL]", "[ 2 ]", "[ 3 ]",
                                                            "ザグリ穴 [COUNTERBORE]", "[ 5 ]", "[ 6 ]"}));
  EXPECT_EQ(form.title, "穴加工 テスト [" + folder.File("db/K-100.dat") + "]");
  EXPECT_EQ(t.reporter.Lines(), std::vector<std::string>{"!!! routine name : defineLoadMain"});
  // Initialising the form drew a number although the file brings its own.
  EXPECT_EQ(ReadInt(folder.File("ncfile_rule.tbl"), "ncfile", "current", 0), 1021);
}

TEST_F(LoadTest, EveryHeaderKeyIsLoadedWithUpTo127Bytes) {
  // The load reads each key with 127 bytes, also those that other readers take with 15 (the sizes, the
  // controller): 20 bytes come whole, 130 are cut to 127.
  const std::string twenty = "12345678901234567890";
  const std::string long130(130, 'A');
  folder.WriteCp932("db/LONG.dat", "[TALVORIN]\r\nproject=" + long130 + "\r\n[material]\r\nX=" + twenty +
                                       "\r\ntype=" + twenty + "\r\n[machine]\r\nControlDevice=" + twenty +
                                       "\r\nonumber=" + twenty + "\r\n");
  dialogs.files.push_back(folder.File("db/LONG.dat"));
  MainForm form;
  ASSERT_EQ(LoadProject(ctx, form), 0);
  EXPECT_EQ(form.projectName, std::string(127, 'A'));
  EXPECT_EQ(form.sizeX, twenty);
  EXPECT_EQ(form.material, twenty);
  EXPECT_EQ(form.controller, twenty);
  EXPECT_EQ(form.programNumber, twenty);
}

TEST_F(LoadTest, ANameWithoutAFileEmptiesTheFormAndBecomesTheCurrentProject) {
  dialogs.files.push_back(folder.File("db/TYPED.dat"));
  MainForm form = test::FilledForm();
  ASSERT_EQ(LoadProject(ctx, form), 0);
  EXPECT_EQ(ctx.dbPath, folder.File("db/TYPED.dat"));
  EXPECT_EQ(form.projectName, "");
  EXPECT_EQ(form.sizeZ, "");
  EXPECT_EQ(form.programNumber, "1020");
  EXPECT_EQ(form.title, "穴加工 テスト");
  EXPECT_FALSE(PathExists(folder.File("db/TYPED.dat")));
  EXPECT_TRUE(t.reporter.boxes.empty());

  // The next save announces a new file and names it from the project field.
  form = test::FilledForm();
  ASSERT_EQ(SaveTALVORINdata(ctx, form, 1), 0);
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].first, "... 保存ファイルが設定されてません\n... 新規に設定します");
  EXPECT_EQ(ctx.dbPath, folder.File("db/PLATE-A.dat"));
  EXPECT_FALSE(PathExists(folder.File("db/TYPED.dat")));
  EXPECT_EQ(ReadString(ctx.dbPath, "machine", "ncfile", 32), "O0012.NC");
}

TEST_F(LoadTest, CancellingLeavesEverythingAsItWas) {
  MainForm form = test::FilledForm();
  ctx.dbPath = folder.File("db/EARLIER.dat");
  EXPECT_EQ(LoadProject(ctx, form), -1);
  EXPECT_EQ(t.reporter.Lines(), std::vector<std::string>{"エラー：ファイルの読み込みを中止します。"});
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].second, -1);
  EXPECT_EQ(form.projectName, "PLATE-A");
  EXPECT_EQ(ctx.dbPath, folder.File("db/EARLIER.dat"));
  EXPECT_EQ(ReadInt(folder.File("ncfile_rule.tbl"), "ncfile", "current", 0), 1020);  // none drawn
}

TEST_F(LoadTest, TheDialogOnlyAcceptsAFileInAnExistingFolder) {
  std::string out = "unchanged";
  dialogs.files = {folder.File("nofolder/A.dat"), folder.File("db/"),
                   folder.File("db/" + std::string(520, 'A'))};
  EXPECT_EQ(ChooseFile(ctx, out, "csv", folder.path()), 0);
  EXPECT_EQ(t.reporter.Lines().back(), "... フォルダ " + folder.File("nofolder") + " がありません");
  EXPECT_EQ(dialogs.filter, "csv Files(*.csv);;All Files(*.*)");
  EXPECT_EQ(ChooseFile(ctx, out, "csv", folder.path()), 0);  // a folder, not a file
  EXPECT_EQ(ChooseFile(ctx, out, "csv", folder.path()), 0);  // longer than 519 bytes
  EXPECT_EQ(t.reporter.Lines().back(), "... ファイル名が長すぎます");
  EXPECT_EQ(out, "unchanged");
  EXPECT_EQ(ChooseFile(ctx, out, "csv", folder.path()), 0);  // cancelled
}

using Thickness = ProjectTest;

TEST_F(Thickness, IsTheZSizeOfTheMaterialBlock) {
  t.ctx.dbPath = folder.File("db/T.dat");
  EXPECT_EQ(GetMaterialThickness(t.ctx), -1);
  EXPECT_EQ(t.reporter.Lines().back(), "エラー：[material] Z= | db 材料寸法（厚み）読込失敗");
  ASSERT_EQ(t.reporter.boxes.size(), 1u);
  EXPECT_EQ(t.reporter.boxes[0].second, -1);

  folder.Write("db/T.dat", "[material]\r\nZ=12.5\r\n");
  EXPECT_DOUBLE_EQ(GetMaterialThickness(t.ctx), 12.5);
}

}  // namespace
}  // namespace talvorin
