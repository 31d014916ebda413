// orx decode FILE.gnt DIR: every frame in play order as a binary PPM,
// frame00001.ppm, frame00002.ppm, ... (the ring frame is not written), and
// every audio track the decoder plays as track0.wav ... track6.wav (the
// PCM of the frames written).
#pragma once

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "orxutil/glint.h"
#include "sound_capture.h"

namespace orx {

inline bool write_ppm(const std::string& path, const Glint* glint,
                      const std::vector<uint8_t>& picture) {
  const std::string temporary = path + ".part";
  FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return false;
  std::fprintf(file, "P6\n%u %u\n255\n", glint->width, glint->height);
  std::vector<uint8_t> rgb(picture.size() * 3);
  for (size_t i = 0; i < picture.size(); ++i)
    for (int c = 0; c < 3; ++c) rgb[3 * i + c] = glint->palette[picture[i] * 3 + c];
  bool ok = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
  ok = std::fclose(file) == 0 && ok;
  if (ok && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  std::remove(temporary.c_str());
  return false;
}

inline int decode_command(const char* name, const char* directory) {
  if (mkdir(directory, 0755) != 0 && errno != EEXIST) {
    std::fprintf(stderr, "orx: cannot create directory %s\n", directory);
    return 1;
  }
  GlintInstallSoundTable(capture_table());
  // Every picture is drawn: nothing plays, so no frame is ever late.
  Glint* glint = GlintOpen(name, GLINT_TRACK_MASK | GLINT_NO_SKIP, -1);
  if (!glint) {
    std::fprintf(stderr, "orx: %s is not a readable Glinter file\n", name);
    return 1;
  }
  std::vector<uint8_t> picture(size_t(glint->width) * glint->height, 0);
  GlintSetOutput(glint, 0, 0, int32_t(glint->width), glint->height, picture.data(), 0);
  int status = 0;
  for (uint32_t f = 0; f < glint->frame_count; ++f) {
    GlintDecodeFrame(glint);
    if (glint->read_failed) {
      std::fprintf(stderr, "orx: %s: read error at frame %u\n", name, f + 1);
      status = 1;
      break;
    }
    char file_name[32];
    std::snprintf(file_name, sizeof file_name, "/frame%05u.ppm", f + 1);
    if (!write_ppm(directory + std::string(file_name), glint, picture)) {
      std::fprintf(stderr, "orx: cannot write %s%s\n", directory, file_name);
      status = 1;
      break;
    }
    if (f + 1 < glint->frame_count) GlintAdvanceFrame(glint);
  }
  GlintClose(glint);  // drains the rings
  for (auto& captured : captured_tracks()) {
    if (status) break;
    char file_name[32];
    std::snprintf(file_name, sizeof file_name, "/track%u.wav", captured->number);
    if (!write_wav(directory + std::string(file_name), captured->sound)) {
      std::fprintf(stderr, "orx: cannot write %s%s\n", directory, file_name);
      status = 1;
    }
  }
  return status;
}

}  // namespace orx
