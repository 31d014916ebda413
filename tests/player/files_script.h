// Runs a script of file commands through glintscr and reads back the
// variables it names, for the file-command tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "glintscr_harness.h"

namespace glint::player::test {

struct Outcome {
  GlintscrRun run;
  std::map<std::string, std::string> vars;
};

// Runs `body` as show.gs in `dir`, then writes the named variables to a
// file outside `dir` (so wildcards never see it) and reads them back.
Outcome run_show(const glint::test::TempDir& dir, const std::string& body,
                 const std::vector<std::string>& names);

}  // namespace glint::player::test
