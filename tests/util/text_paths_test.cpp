// Extensions, full forms, drives, directory tests and path pieces. The path
// tests map drive D: to a fresh directory and work there, so every full form
// is known in advance; the working directory is put back afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "orxutil/orxutil.h"
#include "platform/paths.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(HasExtension, FindsTheLastDotOfTheFileNameAfterAnySeparator) {
  // The offset of the answer in the name, -1 for null.
  const std::pair<std::string, int> cases[] = {
      {"file.tar.gz", 8}, {"c:\\dir.x\\file", -1}, {"dir.x/file", -1},
      {"c:file", -1},     {"c:.ext", 2},           {"file.", 4},
      {"..", 1},          {"noext", -1},           {"", -1},
      {"a/b.c\\d.e", 7},
  };
  for (const auto& [name, offset] : cases) {
    const char* found = HasExtension(name.c_str());
    if (offset < 0)
      EXPECT_EQ(found, nullptr) << name;
    else
      EXPECT_EQ(found, name.c_str() + offset) << name;
  }
  EXPECT_EQ(HasExtension(nullptr), nullptr);
}

// A path buffer as callers provide it: ORX_PATH_MAX bytes, or more for the
// long-name tests.
std::vector<char> path_buffer(const std::string& text) {
  std::vector<char> out(std::max<size_t>(ORX_PATH_MAX, text.size() + 1), '\0');
  std::copy(text.begin(), text.end(), out.begin());
  return out;
}

class PathHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_cwd_ = fs::current_path();
    root_ = fs::canonical(dir_.path()).string();
    setenv("GLINT_DRIVE_D", root_.c_str(), 1);
    fs::create_directories(root_ + "/sub/deeper");
    dir_.write("sub/file.tar.gz", "x");
    dir_.write(".hidden", "x");
    ASSERT_TRUE(glint::platform::change_directory("D:\\"));
  }
  void TearDown() override {
    fs::current_path(saved_cwd_);
    unsetenv("GLINT_DRIVE_D");
  }

  // Where the process is, in Windows form.
  static std::string where() {
    return glint::platform::drive_directory(glint::platform::current_drive());
  }

  glint::test::TempDir dir_;
  std::string root_;
  fs::path saved_cwd_;
};

TEST_F(PathHelpers, ExpandFileNameGivesTheFullForm) {
  const std::pair<std::string, std::string> cases[] = {
      {"sub/file.tar.gz", "D:\\sub\\file.tar.gz"},
      {"sub\\deeper\\..\\x", "D:\\sub\\x"},
      {"\\sub", "D:\\sub"},
      {"D:x", "D:\\x"},
      {"", "D:\\"},  // the current directory
  };
  for (const auto& [in, out] : cases) {
    auto path = path_buffer(in);
    ExpandFileName(path.data());
    EXPECT_STREQ(path.data(), out.c_str()) << in;
  }
  auto host = path_buffer(root_ + "/sub/deeper");
  ExpandFileName(host.data());
  EXPECT_STREQ(host.data(), "D:\\sub\\deeper");
}

TEST_F(PathHelpers, GetDriveReturnsTheUpperCaseLetter) {
  auto relative = path_buffer("sub");
  EXPECT_EQ(GetDrive(relative.data()), 'D');
  EXPECT_STREQ(relative.data(), "D:\\sub");

  auto lower = path_buffer("d:/sub/x");
  EXPECT_EQ(GetDrive(lower.data()), 'D');
  EXPECT_STREQ(lower.data(), "d:\\sub\\x");

  ASSERT_TRUE(glint::platform::change_directory("C:\\"));
  auto default_drive = path_buffer("x");
  EXPECT_EQ(GetDrive(default_drive.data()), 'C');
  EXPECT_STREQ(default_drive.data(), "C:\\x");
}

TEST_F(PathHelpers, FullFormsThatDoNotFitAreRefused) {
  // "D:\" and the name: 255 bytes with the NUL fit, 256 do not.
  const std::string fits(252, 'a'), too_long(253, 'a');
  auto ok = path_buffer(fits);
  ExpandFileName(ok.data());
  EXPECT_EQ(std::string(ok.data()), "D:\\" + fits);

  auto refused = path_buffer(too_long);
  ExpandFileName(refused.data());
  EXPECT_EQ(std::string(refused.data()), too_long);
  EXPECT_EQ(GetDrive(refused.data()), 0);
  EXPECT_EQ(std::string(refused.data()), too_long);
  GetFilePieces(refused.data(), 1, 1, 1, 1);
  EXPECT_EQ(std::string(refused.data()), too_long);

  auto pieces = path_buffer(fits);
  GetFilePieces(pieces.data(), 0, 0, 1, 0);
  EXPECT_EQ(std::string(pieces.data()), fits);

  // IsDirectory works on "D:\name\*": 250 bytes of name fit, 251 do not.
  auto dir_fits = path_buffer(std::string(250, 'b'));
  EXPECT_EQ(IsDirectory(dir_fits.data(), 0), 0);
  EXPECT_EQ(std::string(dir_fits.data()), "D:\\" + std::string(250, 'b'));
  auto dir_refused = path_buffer(std::string(251, 'b'));
  EXPECT_EQ(IsDirectory(dir_refused.data(), 0), 0);
  EXPECT_EQ(std::string(dir_refused.data()), std::string(251, 'b'));
  EXPECT_EQ(where(), "D:\\");
}

TEST_F(PathHelpers, GetFilePiecesRefusesADirectoryPatternThatDoesNotFit) {
  // A directory's pieces come from "D:\name\*.*": 248 bytes of name fit.
  for (const size_t length : {248u, 249u}) {
    const std::string name(length, 'd');
    fs::create_directory(root_ + "/" + name);
    auto path = path_buffer(name);
    GetFilePieces(path.data(), 1, 1, 1, 1);
    EXPECT_EQ(std::string(path.data()), length == 248 ? "D:\\" + name + "\\" : name) << length;
  }
}

struct DirectoryCase {
  std::string input;
  int answer;
  std::string path;
};

TEST_F(PathHelpers, IsDirectoryNormalisesAndTestsWithoutMoving) {
  const DirectoryCase cases[] = {
      {"sub", 1, "D:\\sub"},
      {"  sub/deeper/  ", 1, "D:\\sub\\deeper"},
      {"sub\\", 1, "D:\\sub"},
      {"SUB", 1, "D:\\SUB"},  // any letter case finds the directory
      {"sub/file.tar.gz", 0, "D:\\sub\\file.tar.gz"},
      {"missing", 0, "D:\\missing"},
      {"D:", 1, "D:\\"},  // a root keeps its backslash
      {"D:\\", 1, "D:\\"},
      {"d:/", 1, "d:\\"},
      {"", 1, "D:\\"},
      {"Q:\\x", 0, "Q:\\x"},  // a drive that is not mapped
  };
  for (const auto& c : cases) {
    auto path = path_buffer(c.input);
    EXPECT_EQ(IsDirectory(path.data(), 0), c.answer) << c.input;
    EXPECT_STREQ(path.data(), c.path.c_str()) << c.input;
    EXPECT_EQ(where(), "D:\\") << c.input;
    EXPECT_EQ(fs::current_path().string(), root_) << c.input;
  }
}

TEST_F(PathHelpers, IsDirectoryStaysWhenAsked) {
  auto sub = path_buffer("sub");
  EXPECT_EQ(IsDirectory(sub.data(), 1), 1);
  EXPECT_EQ(where(), "D:\\sub");
  EXPECT_EQ(fs::current_path().string(), root_ + "/sub");

  // Relative names now start from there; a failed test moves nowhere.
  auto deeper = path_buffer("deeper");
  EXPECT_EQ(IsDirectory(deeper.data(), 0), 1);
  EXPECT_STREQ(deeper.data(), "D:\\sub\\deeper");
  auto missing = path_buffer("missing");
  EXPECT_EQ(IsDirectory(missing.data(), 1), 0);
  EXPECT_EQ(where(), "D:\\sub");
}

TEST_F(PathHelpers, IsDirectoryOnAnotherDrivePutsBothDrivesBack) {
  ASSERT_TRUE(glint::platform::change_directory("D:\\sub"));
  const std::string c_before = glint::platform::drive_directory('C');
  auto root = path_buffer("C:\\");
  EXPECT_EQ(IsDirectory(root.data(), 0), 1);
  EXPECT_STREQ(root.data(), "C:\\");
  EXPECT_EQ(where(), "D:\\sub");
  EXPECT_EQ(glint::platform::drive_directory('C'), c_before);

  EXPECT_EQ(IsDirectory(root.data(), 1), 1);
  EXPECT_EQ(glint::platform::current_drive(), 'C');
  EXPECT_EQ(glint::platform::drive_directory('D'), "D:\\sub");
}

struct PiecesCase {
  std::string input;
  int drive, directory, name, extension;
  std::string result;
};

TEST_F(PathHelpers, GetFilePiecesRebuildsTheChosenPieces) {
  const PiecesCase cases[] = {
      {"sub/file.tar.gz", 1, 1, 1, 1, "D:\\sub\\file.tar.gz"},
      {"sub/file.tar.gz", 0, 0, 1, 1, "file.tar.gz"},
      {"sub/file.tar.gz", 0, 0, 1, 0, "file.tar"},
      {"sub/file.tar.gz", 0, 0, 0, 1, ".gz"},
      {"sub/file.tar.gz", 1, 0, 0, 0, "D:"},
      {"sub/file.tar.gz", 0, 1, 0, 0, "\\sub\\"},
      {"  sub\\file.tar.gz ", 1, 1, 0, 0, "D:\\sub\\"},
      {"sub/new.txt", 0, 1, 1, 1, "\\sub\\new.txt"},  // need not exist
      {".hidden", 0, 0, 1, 1, ".hidden"},
      {".hidden", 0, 0, 1, 0, ""},
      {"noext", 1, 1, 1, 1, "D:\\noext"},
      {"sub", 1, 1, 1, 1, "D:\\sub\\"},  // a directory has no name or extension
      {"sub/deeper/", 0, 1, 1, 1, "\\sub\\deeper\\"},
      {"sub", 0, 0, 1, 1, ""},
      {"D:/", 1, 1, 1, 1, "D:\\"},
      {"", 1, 1, 1, 1, ""},
      {"   ", 1, 1, 1, 1, ""},
  };
  for (const auto& c : cases) {
    auto path = path_buffer(c.input);
    GetFilePieces(path.data(), c.drive, c.directory, c.name, c.extension);
    EXPECT_STREQ(path.data(), c.result.c_str())
        << c.input << " " << c.drive << c.directory << c.name << c.extension;
    EXPECT_EQ(where(), "D:\\") << c.input;
  }
}

TEST(PathHelpersNull, NullPathsAreIgnored) {
  ExpandFileName(nullptr);
  EXPECT_EQ(GetDrive(nullptr), 0);
  EXPECT_EQ(IsDirectory(nullptr, 1), 0);
  GetFilePieces(nullptr, 1, 1, 1, 1);
}

}  // namespace
