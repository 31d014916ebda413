// glintscr: the presentation player. Until the script engine lands it reads
// the script and says what it would run.
#include <cstdio>
#include <cstring>

#include "orxutil/orxutil.h"

int main(int argc, char** argv) {
  const char* script = argc > 1 ? argv[1] : "autoexec.gs";
  ORXFile* file = ORXFileOpen(4096, script, ORXFILE_READ);
  if (!file) {
    std::fprintf(stderr, "glintscr: cannot open the script %s\n", script);
    return 1;
  }
  char line[768];
  unsigned lines = 0;
  while (!ORXFileAtEnd(file)) {
    ORXFileGetLine(file, line, sizeof line);
    ++lines;
  }
  ORXFileClose(file);
  std::printf("glintscr: read %u lines of %s; the script engine is not built yet\n", lines, script);
  return 0;
}
