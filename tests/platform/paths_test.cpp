#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/paths.h"
#include "support/temp_dir.h"

namespace p = glint::platform;

namespace {

// Runs a test inside a temporary directory mapped as drive D:, restoring the
// working directory and the environment afterwards.
class PathsTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_cwd_ = std::filesystem::current_path();
    dir_.write("Data/Show.GS", "x");
    dir_.write("Data/sub dir/Clip.gnt", "y");
    setenv("GLINT_DRIVE_D", dir_.path().c_str(), 1);
    real_ = std::filesystem::canonical(dir_.path()).string();
  }
  void TearDown() override {
    std::filesystem::current_path(saved_cwd_);
    unsetenv("GLINT_DRIVE_D");
    unsetenv("GLINT_DRIVE_C");
  }
  glint::test::TempDir dir_;
  std::filesystem::path saved_cwd_;
  std::string real_;
};

TEST_F(PathsTest, HostPathMapsDrivesSeparatorsAndCase) {
  struct Case {
    const char* name;
    std::string expected;
  };
  const std::string d = dir_.path();
  const Case cases[] = {
      {"D:\\Data\\Show.GS", d + "/Data/Show.GS"},
      {"d:\\data\\show.gs", d + "/Data/Show.GS"},           // case resolved
      {"D:/DATA/SUB DIR/clip.GNT", d + "/Data/sub dir/Clip.gnt"},
      {"d:\\data\\new.txt", d + "/Data/new.txt"},            // for creating: the leaf keeps its spelling
      {"d:\\nowhere\\deeper\\x", d + "/nowhere/deeper/x"},
      {"D:\\", d + "/"},
      {"Q:\\file", ""},                                      // unmapped drive
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(p::host_path(c.name), c.expected);
  }
  // Host paths are used as they are, resolved for case only.
  EXPECT_EQ(p::host_path(d + "/data/SHOW.gs"), d + "/Data/Show.GS");
  EXPECT_EQ(p::host_path("C:\\"), "/");
}

TEST_F(PathsTest, FullPathFollowsTheCurrentDirectoryOfEachDrive) {
  ASSERT_TRUE(p::change_directory("D:\\Data"));
  EXPECT_EQ(p::current_drive(), 'D');
  EXPECT_EQ(std::filesystem::current_path().string(), real_ + "/Data");
  struct Case {
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"show.gs", "D:\\Data\\show.gs"},
      {".\\X.AVI", "D:\\Data\\X.AVI"},
      {"..\\a\\.\\b\\..\\c", "D:\\a\\c"},
      {"\\top.txt", "D:\\top.txt"},
      {"sub dir/", "D:\\Data\\sub dir\\"},
      {"..\\..\\..", "D:\\"},
      {"c:\\windows\\x", "c:\\windows\\x"},
      {"D:z", "D:\\Data\\z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(p::full_path(c.name), c.expected);
  }
  // C: remembers where the test started.
  std::string start = saved_cwd_.string();
  for (char& ch : start)
    if (ch == '/') ch = '\\';
  EXPECT_EQ(p::full_path("C:y"), "C:" + start + "\\y");
  EXPECT_EQ(p::full_path("E:y"), "E:\\y");  // never visited: its root
  EXPECT_EQ(p::drive_directory('d'), "D:\\Data");
  EXPECT_EQ(p::drive_directory('q'), "");

  // Changing to another drive remembers where D: was.
  ASSERT_TRUE(p::set_current_drive('C'));
  EXPECT_EQ(p::current_drive(), 'C');
  EXPECT_EQ(p::drive_directory('D'), "D:\\Data");
  EXPECT_EQ(p::full_path("D:file"), "D:\\Data\\file");
  ASSERT_TRUE(p::set_current_drive('D'));
  EXPECT_EQ(std::filesystem::current_path().string(), real_ + "/Data");
  EXPECT_FALSE(p::set_current_drive('Q'));
  EXPECT_FALSE(p::change_directory("D:\\no such dir"));
  EXPECT_EQ(p::current_drive(), 'D');
}

TEST_F(PathsTest, HostAbsoluteNamesKeepTheirMeaning) {
  // "/..." is what the shell means by it, seen through the drive holding it.
  EXPECT_EQ(p::full_path(real_ + "/Data/x"), "D:\\Data\\x");
  EXPECT_EQ(p::full_path("/usr/bin"), "C:\\usr\\bin");
  // With C: moved, Z: keeps the host root reachable.
  setenv("GLINT_DRIVE_C", real_.c_str(), 1);
  EXPECT_EQ(p::full_path("/usr/bin"), "Z:\\usr\\bin");
  EXPECT_EQ(p::host_path("Z:\\usr\\bin"), "/usr/bin");
  EXPECT_EQ(p::host_path("c:\\data\\show.gs"), real_ + "/Data/Show.GS");
}

}  // namespace
