// orx: the media library from a shell.
#include <cstdio>
#include <cstring>

#include "orxutil/orxutil.h"

static void usage(FILE* out) {
  std::fputs(
      "usage: orx COMMAND [ARGUMENTS]\n"
      "\n"
      "commands:\n"
      "  help            this text\n",
      out);
}

int main(int argc, char** argv) {
  if (argc < 2 || !std::strcmp(argv[1], "help") || !std::strcmp(argv[1], "--help")) {
    usage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  std::fprintf(stderr, "orx: unknown command '%s'\n", argv[1]);
  usage(stderr);
  return 2;
}
