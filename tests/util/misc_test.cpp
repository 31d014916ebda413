#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "orxutil/orxutil.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "support/temp_dir.h"

namespace p = glint::platform;
namespace h = glint::platform::headless;

TEST(GetElapsedTime, Texts) {
  struct Case {
    uint32_t ms;
    const char* text;
  };
  const Case cases[] = {
      {0, "0 milliseconds"},       {1, "1 millisecond"},
      {999, "999 milliseconds"},   {1000, "1 second"},
      {1999, "1 second"},          {59999, "59 seconds"},
      {60000, "1 minute 0 seconds"}, {61000, "1 minute 1 second"},
      {125000, "2 minutes 5 seconds"}, {3599999, "59 minutes 59 seconds"},
      {3600000, "1 hour 0 minutes"}, {3660000, "1 hour 1 minute"},
      {7260000, "2 hours 1 minute"}, {UINT32_MAX, "1193 hours 2 minutes"},
  };
  for (const Case& c : cases) {
    char out[64];
    EXPECT_EQ(GetElapsedTime(out, c.ms), out);
    EXPECT_STREQ(out, c.text) << c.ms;
  }
}

TEST(GetTempName, NibblesPrefixAndExtension) {
  struct Case {
    const char* dir;
    const char* prefix;
    uint32_t number;
    const char* name;
  };
  const Case cases[] = {
      {"", "", 0x1234, "EDCBAAAA.AAA"},
      {"", "tmp", 0x1234, "tmpBAAAA.AAA"},
      {"c:\\temp\\", "", 0, "c:\\temp\\AAAAAAAA.AAA"},
      {"", "", 0xFEDCBA98, "IJKLMNOP.AAA"},
      {"out/", "abcdefgh", 7, "out/abcdefgh.AAA"},
      {"", "toolongprefix", 7, "toolongp.AAA"},  // at most eight bytes of prefix
  };
  for (const Case& c : cases) {
    char out[64];
    EXPECT_EQ(GetTempName(out, c.dir, c.prefix, c.number), out);
    EXPECT_STREQ(out, c.name);
  }
}

class FilesTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override { std::filesystem::current_path(saved_); }
  glint::test::TempDir dir_;
  std::filesystem::path saved_;
};

TEST_F(FilesTest, LogStringAppendsAndCreates) {
  LogString("run.log", "a");
  LogString("run.log", "b");
  LogString("run.log", "line\r\n");
  EXPECT_EQ(dir_.read("run.log"), "abline\r\n");
  LogString("missing-dir/x.log", "lost");  // neither opens nor creates: nothing happens
  EXPECT_FALSE(std::filesystem::exists(dir_.file("missing-dir")));
}

TEST_F(FilesTest, CheckForDupFindsTheSameFileUnderAnyName) {
  dir_.write("x.avi", "data");
  dir_.write("other.avi", "data");
  ASSERT_EQ(link(dir_.file("x.avi").c_str(), dir_.file("hard.avi").c_str()), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(CheckForDup("x.avi", ".\\X.AVI"), 0);
  EXPECT_EQ(CheckForDup("x.avi", "hard.avi"), 0);
  EXPECT_EQ(CheckForDup("new.avi", "sub\\..\\NEW.avi"), 0);  // neither exists: by full path
  std::string shown = testing::internal::GetCapturedStderr();
  EXPECT_NE(shown.find("Output filename must be different than the input filename."),
            std::string::npos);
  EXPECT_EQ(CheckForDup("x.avi", "other.avi"), 1);
  EXPECT_EQ(CheckForDup("x.avi", "y.avi"), 1);
  // Long names are compared whole, not by their first 128 bytes.
  std::string a(200, 'a'), b = a;
  b.back() = 'b';
  EXPECT_EQ(CheckForDup((a + ".avi").c_str(), (b + ".avi").c_str()), 1);
}

TEST_F(FilesTest, OverwriteAsksOnlyForExistingFiles) {
  unsigned boxes = h::boxes_shown();
  EXPECT_EQ(overwrite("absent.avi", 0), 1);
  EXPECT_EQ(overwrite("absent.avi", 1), 1);
  EXPECT_EQ(h::boxes_shown(), boxes);
  dir_.write("there.avi", "x");
  testing::internal::CaptureStderr();
  EXPECT_EQ(overwrite("there.avi", 0), 0);  // status question: No is its default
  h::queue_answer(p::kIdYes);
  EXPECT_EQ(overwrite("there.avi", 0), 1);
  EXPECT_EQ(overwrite("there.avi", 1), 0);  // dialog question, style 0: No is its default
  h::queue_answer(p::kIdYes);
  EXPECT_EQ(overwrite("there.avi", 1), 1);
  std::string shown = testing::internal::GetCapturedStderr();
  EXPECT_NE(shown.find("File there.avi exists, overwrite?"), std::string::npos);
  EXPECT_EQ(h::boxes_shown(), boxes + 4);
}

TEST_F(FilesTest, FileSize) {
  dir_.write("five", "12345");
  dir_.write("empty", "");
  EXPECT_EQ(orxfilesize("five"), 5u);
  EXPECT_EQ(orxfilesize("FIVE"), 5u);
  EXPECT_EQ(orxfilesize("empty"), 0u);
  EXPECT_EQ(orxfilesize("missing"), 0u);
}

TEST(DialogQuestions, ButtonsAndDefaults) {
  testing::internal::CaptureStderr();
  struct Case {
    int style;
    int unanswered;  // what the default button gives
  };
  const Case asks[] = {{0, 0}, {1, 1}, {2, 1}, {32, 0}, {33, 1}, {34, 2}};
  for (const Case& c : asks) EXPECT_EQ(ORXDialogAsk("q?", c.style), c.unanswered) << c.style;
  h::queue_answer(p::kIdCancel);
  EXPECT_EQ(ORXDialogAsk("q?", 33), 2);
  EXPECT_EQ(ORXDialogMessage("m", 0), 0);
  EXPECT_EQ(ORXDialogMessage("m", 34), 2);
  EXPECT_EQ(ORXDialogMessage("m", 33), 0);
  EXPECT_EQ(StatusAsk("q?", 0), 1);
  EXPECT_EQ(StatusAsk("q?", 1), 0);
  testing::internal::GetCapturedStderr();
}
