// A fresh directory for one test, removed with everything in it afterwards.
#pragma once

#include <string>

namespace glint::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string file(const std::string& name) const;
  // Writes (or replaces) a file below the directory with the given bytes.
  void write(const std::string& name, const std::string& bytes) const;
  // The whole content of a file below the directory ("" when missing).
  std::string read(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace glint::test
