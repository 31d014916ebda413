// PCM WAV files for orx: reading 8- or 16-bit mono or stereo sound, and
// writing one (through a temporary file renamed on success).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace orx {

struct WavSound {
  uint32_t rate = 0;
  uint32_t channels = 0;  // 1 or 2
  uint32_t bits = 0;      // 8 or 16
  std::vector<uint8_t> pcm;
};

inline uint32_t wav_le(const uint8_t* at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | at[i];
  return v;
}

inline bool read_wav(const std::string& path, WavSound& sound, std::string& error) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  std::vector<uint8_t> bytes;
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(file);
  if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
      std::string(bytes.begin() + 8, bytes.begin() + 12) != "WAVE") {
    error = path + " is not a WAV file";
    return false;
  }
  bool have_format = false, have_data = false;
  uint64_t at = 12;
  while (at + 8 <= bytes.size() && !have_data) {
    const std::string id(bytes.begin() + at, bytes.begin() + at + 4);
    const uint64_t size = wav_le(&bytes[at + 4], 4);
    const uint64_t body = at + 8;
    const uint64_t available = std::min<uint64_t>(size, bytes.size() - body);
    if (id == "fmt ") {
      if (available < 16) break;
      const uint32_t tag = wav_le(&bytes[body], 2);
      sound.channels = wav_le(&bytes[body + 2], 2);
      sound.rate = wav_le(&bytes[body + 4], 4);
      sound.bits = wav_le(&bytes[body + 14], 2);
      if (tag != 1 || (sound.channels != 1 && sound.channels != 2) ||
          (sound.bits != 8 && sound.bits != 16) || sound.rate == 0 || sound.rate > 0xFFFFFF) {
        error = path + ": only 8- or 16-bit mono or stereo PCM is taken";
        return false;
      }
      have_format = true;
    } else if (id == "data") {
      if (!have_format) break;
      const uint64_t frame = sound.channels * sound.bits / 8;
      sound.pcm.assign(bytes.begin() + body, bytes.begin() + body + available / frame * frame);
      have_data = true;
    }
    at = body + size + (size & 1);
  }
  if (!have_format || !have_data) {
    error = path + ": no PCM format and data chunks";
    return false;
  }
  return true;
}

inline void put_le(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

inline bool write_wav(const std::string& path, const WavSound& sound) {
  std::vector<uint8_t> out;
  const uint32_t align = sound.channels * sound.bits / 8;
  const uint32_t data = uint32_t(sound.pcm.size());
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  put_le(out, 36 + data + (data & 1), 4);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put_le(out, 16, 4);
  put_le(out, 1, 2);
  put_le(out, sound.channels, 2);
  put_le(out, sound.rate, 4);
  put_le(out, sound.rate * align, 4);
  put_le(out, align, 2);
  put_le(out, sound.bits, 2);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  put_le(out, data, 4);
  out.insert(out.end(), sound.pcm.begin(), sound.pcm.end());
  if (data & 1) out.push_back(0);
  const std::string temporary = path + ".part";
  FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  ok = std::fclose(file) == 0 && ok;
  if (ok && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  std::remove(temporary.c_str());
  return false;
}

}  // namespace orx
