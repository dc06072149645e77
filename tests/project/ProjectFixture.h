// A small installation for the project database operations: a program INI with the project folder,
// the database and NC file extensions and the origin numbers, an NC table with a start position, and
// the project folder itself.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "project/Project.h"
#include "store/Profile.h"
#include "support/TestFolder.h"

namespace talvorin::test {

inline void WriteProjectInstallation(const TestFolder& folder) {
  folder.WriteCp932("TALVORIN.ini",
                    "[TALVORIN]\r\n"
                    "title=穴加工 テスト\r\n"
                    "[folder]\r\n"
                    "folder0=db\r\n"
                    "[table]\r\n"
                    "ncformat=NCformat.tbl\r\n"
                    "[extension]\r\n"
                    "camdbfile=dat\r\n"
                    "FANUC=NC\r\n"
                    "OSP=MIN\r\n"
                    "OSP-P300=MIN\r\n"
                    "[machine]\r\n"
                    "左下=0\r\n"
                    "左上=1\r\n"
                    "右下=2\r\n"
                    "右上=3\r\n"
                    "中心=4\r\n");
  // StartY is missing on purpose: a new project takes "0" for it.
  folder.Write("NCformat.tbl", "[NcFormat]\r\nStartX=10.5\r\nStartZ=100.\r\n");
  mkdir(folder.File("db").c_str(), 0777);
}

// The header as a user fills it for a FANUC job.
inline MainForm FilledForm() {
  MainForm form;
  form.projectName = "PLATE-A";
  form.product = "BRACKET";
  form.sizeX = "100";
  form.sizeY = "50";
  form.sizeZ = "12.50";
  form.material = "SS400";
  form.origin = "左上";
  form.controller = "FANUC";
  form.coordinateSystem = "G54";
  form.programNumber = "12";
  return form;
}

// A project installation and its context; the NC table is resolved as at start-up.
struct ProjectTest : ::testing::Test {
  ProjectTest() {
    WriteProjectInstallation(folder);
    EXPECT_EQ(SetNcTableFile(t.inst, t.reporter, t.inst.ncTableFile), 0);
  }
  std::string Db(const std::string& name) const { return folder.File("db/" + name + ".dat"); }
  std::string Read(const std::string& path, const char* section, const char* key) const {
    return ReadString(path, section, key, 260);
  }

  TestFolder folder;
  TestContext t{folder};
};

}  // namespace talvorin::test
