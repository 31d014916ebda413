// The command-line helpers on arbitrary text. The first byte picks a switch
// letter; the rest (up to its first NUL) is the line. Each line sits in a
// buffer that ends right at its NUL, so any read or write past it is caught.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "orxutil/orxutil.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

std::vector<char> copy_of(const char* text, size_t room = 0) {
  std::vector<char> out(text, text + std::strlen(text) + 1);
  out.resize(out.size() + room, '\0');
  return out;
}

// Destination for a value taken from a line: never longer than the line.
std::vector<char> destination_for(const std::vector<char>& line) {
  return std::vector<char>(std::strlen(line.data()) + 1, 'x');
}

void switch_readers(const char* text, int letter) {
  const size_t length = std::strlen(text);
  {
    auto line = copy_of(text);
    const int found = GetSwitch(line.data(), letter);
    require(std::strlen(line.data()) == (found ? length - 2 : length));
  }
  {
    auto line = copy_of(text);
    auto value = destination_for(line);
    const int found = GetSwitchStr(line.data(), letter, value.data(), "");
    require(std::strlen(value.data()) + std::strlen(line.data()) + (found ? 2 : 0) <= length);
  }
  {
    auto line = copy_of(text);
    GetSwitchNum(line.data(), letter, 0);
    require(std::strlen(line.data()) <= length);
  }
  {
    auto line = copy_of(text);
    int32_t numerator = 0, denominator = 1;
    GetSwitchFractional(line.data(), letter, &numerator, &denominator, 1, 1);
    require(denominator != 0 && std::strlen(line.data()) <= length);
  }
  {
    auto line = copy_of(text);
    RemoveMinusSwitches(line.data());
    require(std::strlen(line.data()) <= length);
  }
}

void word_takers(const char* text) {
  for (auto take : {GetAndRemoveFirst, GetAndRemoveFirstQuoted}) {
    auto line = copy_of(text);
    // Every word taken shortens the line, so this ends.
    for (size_t words = 0; line[0] != '\0'; ++words) {
      require(words <= std::strlen(text));
      const size_t before = std::strlen(line.data());
      auto word = destination_for(line);
      take(word.data(), line.data());
      require(std::strlen(line.data()) < before);
    }
  }
  {
    auto line = copy_of(text);
    Trim(line.data());
    auto quotes = copy_of(text);
    RemoveQuotes(quotes.data());
    auto path = copy_of(text, 1);  // AddBackslash may add one byte
    AddBackslash(path.data());
    require(std::strlen(path.data()) <= std::strlen(line.data()) + 1);
  }
  {
    const char* dot = HasExtension(text);
    require(dot == nullptr || (dot >= text && dot < text + std::strlen(text) && *dot == '.'));
    int32_t numerator = 0, denominator = 0;
    const char* end = atofr(text, &numerator, &denominator);
    require(end >= text && end <= text + std::strlen(text) && denominator != 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 4096) return 0;
  const int letter = data[0];
  const char* bytes = reinterpret_cast<const char*>(data + 1);
  const size_t length = strnlen(bytes, size - 1);
  // Exactly the text and its NUL, on the heap where ASan guards both ends.
  std::vector<char> text(bytes, bytes + length);
  text.push_back('\0');
  text.shrink_to_fit();
  switch_readers(text.data(), letter);
  word_takers(text.data());
  return 0;
}
