#include "glintscr_harness.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace glint::player::test {

std::optional<std::string> glintscr_program() {
  const char* path = std::getenv("GLINT_GLINTSCR");
  if (path && *path) return std::string(path);
  // The build puts every program into one directory: look beside the test.
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::nullopt;
  const std::string sibling = (self.parent_path() / "glintscr").string();
  if (access(sibling.c_str(), X_OK) != 0) return std::nullopt;
  return sibling;
}

GlintscrRun run_glintscr(const glint::test::TempDir& directory,
                         const std::vector<std::string>& arguments) {
  GlintscrRun run;
  const std::optional<std::string> program = glintscr_program();
  if (!program) return run;

  // Output goes to files of a second directory, so the script's directory
  // holds only what the script made.
  glint::test::TempDir capture;
  const std::string out_path = capture.file("stdout");
  const std::string err_path = capture.file("stderr");

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program->c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const pid_t child = fork();
  if (child == 0) {
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || chdir(directory.path().c_str()) != 0) _exit(127);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    setenv("GLINT_PLATFORM", "headless", 1);
    execv(program->c_str(), argv.data());
    _exit(127);
  }
  if (child < 0) return run;
  int status = 0;
  if (waitpid(child, &status, 0) == child && WIFEXITED(status))
    run.exit_status = WEXITSTATUS(status);
  run.standard_output = capture.read("stdout");
  run.standard_error = capture.read("stderr");
  return run;
}

GlintscrRun run_glintscr_script(const glint::test::TempDir& directory, const std::string& name,
                                const std::string& text,
                                const std::vector<std::string>& more_arguments) {
  directory.write(name, text);
  std::vector<std::string> arguments{name};
  arguments.insert(arguments.end(), more_arguments.begin(), more_arguments.end());
  return run_glintscr(directory, arguments);
}

std::string headless_box(const std::string& caption, const std::string& text) {
  return "[" + caption + "]\n" + text + "\n";
}

std::string show(const std::string& name) {
  return "DEBUGTEXT \"" + name + "=[%" + name + "%]\"\n";
}

std::string shown(const glint::test::TempDir& directory, const std::string& name) {
  const std::string trace = directory.read("trace.txt");
  const std::string open = "\r\n" + name + "=[";
  const std::size_t at = trace.find(open);
  if (at == std::string::npos) return "<missing>";
  const std::size_t start = at + open.size();
  return trace.substr(start, trace.find("]\r\n", start) - start);
}

}  // namespace glint::player::test
