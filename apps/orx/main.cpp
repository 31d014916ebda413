// orx: the media library from a shell.
#include <cstdio>
#include <cstring>

#include "decode_command.h"
#include "encode_command.h"
#include "info_command.h"
#include "orxutil/orxutil.h"

static void usage(FILE* out) {
  std::fputs(
      "usage: orx COMMAND [ARGUMENTS]\n"
      "\n"
      "commands:\n"
      "  info FILE.gnt               header, tracks, frames and size statistics\n"
      "  decode FILE.gnt DIR         every frame as DIR/frame00001.ppm, ..., and\n"
      "                              each sound track as DIR/track0.wav, ...\n"
      "  encode IN OUT.gnt [options] a raw frame file (RAWB) into an animation;\n"
      "                              --audio FILE.wav adds sound (compressed, or\n"
      "                              uncompressed with --raw-audio)\n"
      "                              (orx encode --help lists the options)\n"
      "  help                        this text\n",
      out);
}

int main(int argc, char** argv) {
  if (argc < 2 || !std::strcmp(argv[1], "help") || !std::strcmp(argv[1], "--help")) {
    usage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  const char* command = argv[1];
  if (!std::strcmp(command, "encode")) {
    if (argc >= 3 && (!std::strcmp(argv[2], "--help") || !std::strcmp(argv[2], "help"))) {
      orx::encode_usage(stdout);
      return 0;
    }
    return orx::encode_command(argc - 2, argv + 2);
  }
  if (!std::strcmp(command, "info") && argc == 3) return orx::info_command(argv[2]);
  if (!std::strcmp(command, "decode") && argc == 4) return orx::decode_command(argv[2], argv[3]);
  if (!std::strcmp(command, "info") || !std::strcmp(command, "decode")) {
    std::fprintf(stderr, "orx: wrong number of arguments for '%s'\n", command);
    usage(stderr);
    return 2;
  }
  std::fprintf(stderr, "orx: unknown command '%s'\n", command);
  usage(stderr);
  return 2;
}
