#include "platform/input_keys.h"

#include <strings.h>

#include <string>

namespace glint::platform {

int key_character(uint32_t vk, uint32_t modifiers, bool printable) {
  const bool control = modifiers & kModControl;
  if (modifiers & kModAlt) return -1;  // Alt combinations are system characters, not WM_CHAR
  switch (vk) {
    case kVkReturn:
      return 13;
    case kVkEscape:
      return 27;
    case kVkBack:
      return 8;
    case kVkTab:
      return 9;
    default:
      break;
  }
  if (vk >= 'A' && vk <= 'Z') {
    if (control) return int(vk - 'A' + 1);
    if (!printable) return -1;
    return (modifiers & kModShift) ? int(vk) : int(vk - 'A' + 'a');
  }
  if (!printable || control) return -1;
  if (vk == kVkSpace) return ' ';
  if (vk >= '0' && vk <= '9' && !(modifiers & kModShift)) return int(vk);
  return -1;
}

void key_messages(WindowHandle window, uint32_t vk, uint32_t modifiers, bool printable,
                  std::vector<Message>& out) {
  const bool system = (modifiers & kModAlt) || vk == kVkF10;
  out.push_back(Message{window, system ? kWmSysKeyDown : kWmKeyDown, vk, 0, 0, modifiers});
  const int c = key_character(vk, modifiers, printable);
  if (c >= 0) out.push_back(Message{window, kWmChar, uint32_t(c), 0, 0, modifiers});
  out.push_back(Message{window, system ? kWmSysKeyUp : kWmKeyUp, vk, 0, 0, modifiers});
}

int ansi_from_unicode(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return int(cp);
  // Code page 1252 puts typographic characters into 0x80-0x9F.
  static constexpr uint16_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] && kHigh[i] == cp) return 0x80 + i;
  return -1;
}

void text_messages(WindowHandle window, std::string_view utf8, uint32_t modifiers,
                   std::vector<Message>& out) {
  size_t i = 0;
  while (i < utf8.size()) {
    const uint8_t lead = uint8_t(utf8[i]);
    int length = lead < 0x80         ? 1
                 : (lead >> 5) == 6  ? 2
                 : (lead >> 4) == 14 ? 3
                 : (lead >> 3) == 30 ? 4
                                     : 0;
    if (length == 0 || i + size_t(length) > utf8.size()) {
      ++i;  // a stray byte: skip it
      continue;
    }
    uint32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    bool valid = true;
    for (int k = 1; k < length; ++k) {
      const uint8_t next = uint8_t(utf8[i + size_t(k)]);
      if ((next & 0xC0) != 0x80) valid = false;
      cp = cp << 6 | (next & 0x3F);
    }
    i += valid ? size_t(length) : 1;
    if (!valid) continue;
    const int c = ansi_from_unicode(cp);
    if (c > 0) out.push_back(Message{window, kWmChar, uint32_t(c), 0, 0, modifiers});
  }
}

uint32_t virtual_key_from_name(std::string_view name) {
  struct Named {
    const char* name;
    uint32_t vk;
  };
  static constexpr Named kNames[] = {
      {"Enter", kVkReturn},   {"Return", kVkReturn}, {"Escape", kVkEscape},   {"Esc", kVkEscape},
      {"Backspace", kVkBack}, {"Tab", kVkTab},       {"Space", kVkSpace},     {"PageUp", kVkPrior},
      {"PageDown", kVkNext},  {"End", kVkEnd},       {"Home", kVkHome},       {"Left", kVkLeft},
      {"Up", kVkUp},          {"Right", kVkRight},   {"Down", kVkDown},       {"Insert", kVkInsert},
      {"Delete", kVkDelete},  {"Shift", kVkShift},   {"Control", kVkControl}, {"Alt", kVkMenu},
  };
  if (name.empty()) return 0;
  if (name.size() == 1) {
    const char c = name[0];
    if (c >= 'a' && c <= 'z') return uint32_t(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return uint32_t(c);
    return 0;
  }
  const std::string text(name);
  for (const Named& n : kNames)
    if (!strcasecmp(n.name, text.c_str())) return n.vk;
  if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
    int n = 0;
    for (size_t i = 1; i < name.size(); ++i) {
      if (name[i] < '0' || name[i] > '9') return 0;
      n = n * 10 + (name[i] - '0');
    }
    if (n >= 1 && n <= 12) return kVkF1 + uint32_t(n - 1);
  }
  return 0;
}

}  // namespace glint::platform
