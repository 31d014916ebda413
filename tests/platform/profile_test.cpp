#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform.h"
#include "support/temp_dir.h"

namespace p = glint::platform;

TEST(Profile, ReadsSectionsAndKeysWithoutRegardToCase) {
  glint::test::TempDir dir;
  dir.write("profile.ini",
            "; comment\n[Glinter]\nDebug=1\r\nOther = 42 trailing\n\n"
            "[ORX Video Tools]\njpeglevel=75\nNegative=-5\nWord=abc\n");
  setenv("GLINT_PROFILE", dir.file("profile.ini").c_str(), 1);
  struct Case {
    const char* section;
    const char* key;
    int expected;
  };
  const Case cases[] = {
      {"Glinter", "Debug", 1},       {"GLINTER", "debug", 1},
      {"Glinter", "Other", 42},      {"ORX Video Tools", "JPEGLevel", 75},
      {"ORX Video Tools", "Negative", 0}, {"ORX Video Tools", "Word", 0},
      {"Glinter", "JPEGLevel", -7},  {"Missing", "Debug", -7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(p::profile_int(c.section, c.key, -7), c.expected);
  }
  // A changed file is read again.
  dir.write("profile.ini", "[Glinter]\nDebug=0 \n");
  EXPECT_EQ(p::profile_int("Glinter", "Debug", 9), 0);
  setenv("GLINT_PROFILE", dir.file("missing.ini").c_str(), 1);
  EXPECT_EQ(p::profile_int("Glinter", "Debug", 9), 9);
}
