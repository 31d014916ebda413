// Log writer, elapsed-time text, temporary names, the same-file guard, the
// overwrite question, file sizes and copy-data messages.
#include <strings.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "orxutil/orxutil.h"
#include "platform/paths.h"

namespace {

// "n unit" or "n units".
void append_count(std::string& out, uint32_t n, const char* unit) {
  out += std::to_string(n);
  out += ' ';
  out += unit;
  if (n != 1) out += 's';
}

}  // namespace

extern "C" {

ORX_API void LogString(const char* file_name, const char* text) {
  if (!file_name || !text) return;
  ORXFile* log = ORXFileOpen(1024, file_name, ORXFILE_READWRITE);
  if (log) {
    ORXFileSetPos(log, ORXFileSize(log));
  } else {
    log = ORXFileCreate(1024, file_name);
    if (!log) return;
  }
  ORXFilePut(log, text, static_cast<uint32_t>(std::strlen(text)));
  ORXFileClose(log);  // every call closes, so the log survives a crash of the caller
}

ORX_API char* GetElapsedTime(char* destination, uint32_t milliseconds) {
  if (!destination) return destination;
  const uint32_t n = milliseconds;
  std::string out;
  if (n <= 999) {
    append_count(out, n, "millisecond");
  } else if (n <= 59999) {
    append_count(out, n / 1000, "second");
  } else if (n >= 3600000) {
    append_count(out, n / 3600000, "hour");
    out += ' ';
    append_count(out, (n % 3600000) / 60000, "minute");
  } else {
    append_count(out, n / 60000, "minute");
    out += ' ';
    append_count(out, (n % 60000) / 1000, "second");
  }
  std::memcpy(destination, out.c_str(), out.size() + 1);
  return destination;
}

ORX_API char* GetTempName(char* destination, const char* directory_prefix, const char* name_prefix,
                          uint32_t number) {
  if (!destination) return destination;
  char name[13];
  for (int i = 0; i < 12; ++i)
    name[i] = static_cast<char>('A' + (i < 8 ? (number >> (4 * i)) & 15 : 0));
  // The name prefix covers at most the eight positions before the dot.
  if (name_prefix) {
    size_t n = strnlen(name_prefix, 8);
    std::memcpy(name, name_prefix, n);
  }
  name[8] = '.';
  name[12] = '\0';
  std::string out = directory_prefix ? directory_prefix : "";
  out += name;
  std::memcpy(destination, out.c_str(), out.size() + 1);
  return destination;
}

ORX_API int CheckForDup(const char* input_name, const char* output_name) {
  if (!input_name || !output_name) return 1;
  bool same;
  struct stat in {}, out {};
  std::string in_host = glint::platform::host_path(input_name);
  std::string out_host = glint::platform::host_path(output_name);
  if (!in_host.empty() && !out_host.empty() && stat(in_host.c_str(), &in) == 0 &&
      stat(out_host.c_str(), &out) == 0) {
    // Both exist: the same file whatever the names (links and letter case included).
    same = in.st_dev == out.st_dev && in.st_ino == out.st_ino;
  } else {
    std::string a = glint::platform::full_path(input_name);
    std::string b = glint::platform::full_path(output_name);
    same = !a.empty() && !strcasecmp(a.c_str(), b.c_str());
  }
  if (!same) return 1;
  StatusMessage("Output filename must be different than the input filename.", 1);
  return 0;
}

ORX_API int overwrite(const char* file_name, int style) {
  ORXFile* f = ORXFileOpen(0, file_name, ORXFILE_READ);
  if (!f) return 1;  // nothing would be overwritten
  ORXFileClose(f);
  std::string question = std::string("File ") + file_name + " exists, overwrite?";
  if (style != 0) return ORXDialogAsk(question.c_str(), 0) == 1 ? 1 : 0;
  return StatusAsk(question.c_str(), 1);
}

ORX_API uint64_t orxfilesize(const char* file_name) {
  ORXFile* f = ORXFileOpen(0, file_name, ORXFILE_READ);
  if (!f) return 0;
  uint64_t size = ORXFileSize(f);
  ORXFileClose(f);
  return size;
}

ORX_API intptr_t CopyData(void* target_window, uintptr_t sender, uint32_t data_tag,
                          uint32_t data_size, const void* data) {
  // There is no window system to deliver a copy-data message to: no window
  // can receive it, so the answer is the one of an absent receiver.
  (void)target_window;
  (void)sender;
  (void)data_tag;
  (void)data_size;
  (void)data;
  return 0;
}

}  // extern "C"
