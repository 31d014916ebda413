// Runs the built glintscr program on scripts in a temporary directory, the
// way a user would: headless, with the directory as the working directory.
// The program is GLINT_GLINTSCR, else the glintscr beside the test program;
// tests skip when neither exists.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace glint::player::test {

struct GlintscrRun {
  int exit_status = -1;  // -1 when the program did not exit normally
  std::string standard_output;
  std::string standard_error;
};

// The program's path, or nothing when it cannot be found.
std::optional<std::string> glintscr_program();

GlintscrRun run_glintscr(const glint::test::TempDir& directory,
                         const std::vector<std::string>& arguments);

// Writes a script into the directory and runs glintscr on it, with any
// further words after its name.
GlintscrRun run_glintscr_script(const glint::test::TempDir& directory, const std::string& name,
                                const std::string& text,
                                const std::vector<std::string>& more_arguments = {});

// A script's values come back through its trace: `show(NAME)` is a
// DEBUGTEXT line that writes NAME=[value], `shown` reads that value from
// the directory's trace.txt ("<missing>" when the line is not there).
std::string show(const std::string& name);
std::string shown(const glint::test::TempDir& directory, const std::string& name);

// How the headless message box shows a box on standard error.
std::string headless_box(const std::string& caption, const std::string& text);

}  // namespace glint::player::test

#define GLINT_REQUIRE_GLINTSCR()                                 \
  do {                                                           \
    if (!::glint::player::test::glintscr_program())              \
      GTEST_SKIP() << "glintscr not found (set GLINT_GLINTSCR)"; \
  } while (0)
