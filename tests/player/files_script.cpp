#include "files_script.h"

namespace glint::player::test {

Outcome run_show(const glint::test::TempDir& dir, const std::string& body,
                 const std::vector<std::string>& names) {
  glint::test::TempDir results;
  std::string script = body + "\nFILECREATE RESULTS \"" + results.file("vars") + "\"\n";
  for (const std::string& name : names)
    script += "FILEWRITE RESULTS \"" + name + "=%" + name + "%\"\n";
  script += "FILECLOSE RESULTS\n";
  dir.write("show.gs", script);
  Outcome outcome{run_glintscr(dir, {"show.gs"}), {}};
  const std::string text = results.read("vars");
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find("\r\n", pos);
    const std::string line = text.substr(pos, end - pos);
    const std::size_t equals = line.find('=');
    outcome.vars[line.substr(0, equals)] = line.substr(equals + 1);
    pos = end == std::string::npos ? text.size() : end + 2;
  }
  return outcome;
}

}  // namespace glint::player::test
