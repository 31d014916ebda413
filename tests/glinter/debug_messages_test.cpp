#include <gtest/gtest.h>

#include <cstdlib>

#include "glinter/debug_log.h"
#include "gnt_simple.h"
#include "orxutil/glint.h"
#include "support/temp_dir.h"

namespace glint::glinter {
namespace {

// With "Debug=1" in section "Glinter" of the profile, the open and close
// steps are written to the debugger output.
TEST(DebugMessages, WrittenOnlyWhenTheProfileSwitchIsOn) {
  test::TempDir dir;
  const char* saved = std::getenv("GLINT_PROFILE");
  std::string saved_value = saved ? saved : "";
  dir.write("profile.ini", "[Glinter]\nDebug=1\n");
  setenv("GLINT_PROFILE", dir.file("profile.ini").c_str(), 1);
  debug_reset_for_tests();

  test::SimpleGnt gnt;
  gnt.add_fill(1);
  gnt.file.magic = "GNT3";
  dir.write("bad.gnt", gnt.file.build());
  const std::string bad = dir.file("bad.gnt");
  testing::internal::CaptureStderr();
  EXPECT_EQ(GlintOpen(bad.c_str(), 0, 0), nullptr);
  std::string text = testing::internal::GetCapturedStderr();
  EXPECT_EQ(text, "GlintOpen - file: " + bad + "\r\nWasn't a Glinter file\r\n");

  gnt.file.magic = "GNT2";
  dir.write("good.gnt", gnt.file.build());
  testing::internal::CaptureStderr();
  Glint* glint = GlintOpen(dir.file("good.gnt").c_str(), 0, 0);
  GlintClose(glint);
  text = testing::internal::GetCapturedStderr();
  const std::string address = std::to_string(reinterpret_cast<uintptr_t>(glint));
  EXPECT_NE(text.find("GlintOpen returned: " + address + "\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("GlintClose: " + address + "\r\n"), std::string::npos) << text;

  dir.write("profile.ini", "[Glinter]\nDebug=0\n");
  debug_reset_for_tests();
  testing::internal::CaptureStderr();
  EXPECT_EQ(GlintOpen(bad.c_str(), 0, 0), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  if (saved)
    setenv("GLINT_PROFILE", saved_value.c_str(), 1);
  else
    unsetenv("GLINT_PROFILE");
  debug_reset_for_tests();
}

}  // namespace
}  // namespace glint::glinter
