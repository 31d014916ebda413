#include "player/file_sandbox.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>

// Defined by libFuzzer programs only.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) __attribute__((weak));

namespace glint::player {
namespace {

namespace fs = std::filesystem;

std::string& fence() {
  static std::string root;
  return root;
}

void remove_private_directory() {
  std::error_code ignored;
  if (!fence().empty()) fs::remove_all(fence(), ignored);
}

}  // namespace

void raise_fuzz_fence() {
  static const bool done = [] {
    if (LLVMFuzzerTestOneInput == nullptr) return true;
    std::string directory = (fs::temp_directory_path() / "glint-fuzz-files-XXXXXX").string();
    // Without a private directory nothing may change anywhere.
    if (mkdtemp(directory.data()) == nullptr || chdir(directory.c_str()) != 0) {
      fence() = "/nonexistent-glint-fence";
      return true;
    }
    confine_file_changes(directory);
    std::atexit(remove_private_directory);
    return true;
  }();
  (void)done;
}

namespace {

std::optional<fs::path> canonical_form(const std::string& path) {
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  if (error) return std::nullopt;
  fs::path canonical = fs::weakly_canonical(absolute, error);
  if (error) return std::nullopt;
  return canonical.lexically_normal();
}

}  // namespace

void confine_file_changes(const std::string& host_directory) {
  if (host_directory.empty()) {
    fence().clear();
    return;
  }
  const std::optional<fs::path> root = canonical_form(host_directory);
  fence() = root ? root->string() : host_directory;
}

bool file_change_allowed(const std::string& host_path) {
  raise_fuzz_fence();
  if (fence().empty()) return true;
  // The file layer stops at a NUL, so a name with one would be checked as
  // one path and used as another.
  if (host_path.find('\0') != std::string::npos) return false;
  const std::optional<fs::path> path = canonical_form(host_path);
  if (!path) return false;
  const std::string text = path->string();
  const std::string& root = fence();
  // Below the root, never the root itself (it must not be removed).
  return text.size() > root.size() + 1 && text.compare(0, root.size(), root) == 0 &&
         text[root.size()] == '/';
}

}  // namespace glint::player
