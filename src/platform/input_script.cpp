#include "platform/input_script.h"

#include <strings.h>

#include <charconv>
#include <cstdio>

#include "platform/input_keys.h"
#include "platform/platform.h"

namespace glint::platform {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

std::string_view next_word(std::string_view& s) {
  s = trim(s);
  size_t end = 0;
  while (end < s.size() && s[end] != ' ' && s[end] != '\t') ++end;
  std::string_view word = s.substr(0, end);
  s.remove_prefix(end);
  s = trim(s);
  return word;
}

bool same(std::string_view a, const char* b) {
  return a.size() == std::char_traits<char>::length(b) && !strncasecmp(a.data(), b, a.size());
}

bool number(std::string_view word, int64_t& out) {
  if (word.empty()) return false;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), out);
  return ec == std::errc() && end == word.data() + word.size();
}

// Backslash escapes: \n \r \t \\ \xNN.
std::string unescape(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 >= s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    if (c == 'n')
      out += '\n';
    else if (c == 'r')
      out += '\r';
    else if (c == 't')
      out += '\t';
    else if (c == 'x' && i + 2 < s.size()) {
      unsigned value = 0;
      auto [end, ec] = std::from_chars(s.data() + i + 1, s.data() + i + 3, value, 16);
      if (ec == std::errc() && end == s.data() + i + 3) {
        out += char(value);
        i += 2;
      } else {
        out += 'x';
      }
    } else {
      out += c;
    }
  }
  return out;
}

int answer_from(std::string_view word) {
  static constexpr struct {
    const char* name;
    int id;
  } kAnswers[] = {{"ok", kIdOk},       {"cancel", kIdCancel}, {"abort", kIdAbort},
                  {"retry", kIdRetry}, {"ignore", kIdIgnore}, {"yes", kIdYes},
                  {"no", kIdNo}};
  for (const auto& a : kAnswers)
    if (same(word, a.name)) return a.id;
  int64_t n = 0;
  return number(word, n) && n > 0 && n < 100 ? int(n) : 0;
}

// "X Y [right]" for the mouse verbs.
bool mouse_args(std::string_view rest, int32_t& x, int32_t& y, bool& right) {
  int64_t a = 0, b = 0;
  if (!number(next_word(rest), a) || !number(next_word(rest), b)) return false;
  if (a < -32768 || a > 32767 || b < -32768 || b > 32767) return false;
  x = int32_t(a);
  y = int32_t(b);
  std::string_view button = next_word(rest);
  right = same(button, "right");
  return (button.empty() || right || same(button, "left")) && rest.empty();
}

// Reads one line into `event`; an error text when it cannot.
std::string parse_line(std::string_view line, ScriptedEvent& event) {
  std::string_view rest = line;
  std::string_view verb = next_word(rest);
  if (!verb.empty() && (verb[0] == '@' || verb[0] == '+')) {
    int64_t v = 0;
    if (!number(verb.substr(1), v) || v < 0) return "bad timing";
    event.timing =
        verb[0] == '@' ? ScriptedEvent::Timing::kAtTime : ScriptedEvent::Timing::kAfterPumps;
    event.value = uint64_t(v);
    verb = next_word(rest);
  }
  auto& out = event.messages;
  if (same(verb, "key")) {
    const uint32_t vk = virtual_key_from_name(next_word(rest));
    if (!vk) return "unknown key";
    uint32_t modifiers = 0;
    for (std::string_view m = next_word(rest); !m.empty(); m = next_word(rest)) {
      if (same(m, "shift"))
        modifiers |= kModShift;
      else if (same(m, "ctrl") || same(m, "control"))
        modifiers |= kModControl;
      else if (same(m, "alt"))
        modifiers |= kModAlt;
      else
        return "unknown modifier";
    }
    key_messages(0, vk, modifiers, true, out);
  } else if (same(verb, "char")) {
    const std::string text = unescape(rest);
    if (text.empty()) return "no characters";
    for (unsigned char c : text) out.push_back(Message{0, kWmChar, c, 0, 0, 0});
  } else if (same(verb, "move") || same(verb, "click") || same(verb, "down") || same(verb, "up")) {
    int32_t x = 0, y = 0;
    bool right = false;
    if (!mouse_args(rest, x, y, right)) return "needs X Y [left|right]";
    rest = {};
    const uint32_t button = right ? kModRightButton : kModLeftButton;
    const uint32_t down = right ? kWmRButtonDown : kWmLButtonDown;
    const uint32_t up = right ? kWmRButtonUp : kWmLButtonUp;
    if (same(verb, "move")) {
      out.push_back(Message{0, kWmMouseMove, 0, x, y, 0});
    } else {
      out.push_back(Message{0, kWmMouseMove, 0, x, y, 0});
      if (!same(verb, "up")) out.push_back(Message{0, down, button, x, y, button});
      if (!same(verb, "down")) out.push_back(Message{0, up, 0, x, y, 0});
    }
  } else if (same(verb, "focus")) {
    std::string_view which = next_word(rest);
    if (same(which, "on"))
      out.push_back(Message{0, kWmSetFocus, 0, 0, 0, 0});
    else if (same(which, "off"))
      out.push_back(Message{0, kWmKillFocus, 0, 0, 0, 0});
    else
      return "needs on or off";
  } else if (same(verb, "leave")) {
    out.push_back(Message{0, kWmMouseLeave, 0, 0, 0, 0});
  } else if (same(verb, "close")) {
    out.push_back(Message{0, kWmClose, 0, 0, 0, 0});
  } else if (same(verb, "quit")) {
    out.push_back(Message{0, kWmQuit, 0, 0, 0, 0});
  } else if (same(verb, "snapshot")) {
    event.kind = ScriptedEvent::Kind::kSnapshot;
  } else if (same(verb, "answer")) {
    event.kind = ScriptedEvent::Kind::kAnswer;
    event.answer = answer_from(next_word(rest));
    if (!event.answer) return "unknown answer";
  } else {
    return "unknown event";
  }
  if (!rest.empty() && !same(verb, "char") && !same(verb, "key")) return "extra words";
  return {};
}

}  // namespace

std::vector<ScriptedEvent> parse_input_script(std::string_view text,
                                              std::vector<std::string>& errors) {
  std::vector<ScriptedEvent> events;
  uint32_t number_of_line = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++number_of_line;
    line = trim(line);
    if (line.empty() || line[0] == '#') continue;
    ScriptedEvent event;
    event.line = number_of_line;
    const std::string error = parse_line(line, event);
    if (!error.empty()) {
      errors.push_back("input line " + std::to_string(number_of_line) + ": " + error);
      continue;
    }
    events.push_back(std::move(event));
  }
  return events;
}

std::string read_input_setting(const char* value) {
  if (!value || !*value) return {};
  if (value[0] == '=') {
    std::string text(value + 1);
    for (char& c : text)
      if (c == ';') c = '\n';
    return text;
  }
  std::string text;
  FILE* f = std::fopen(value, "rb");
  if (!f) return {};
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0 && text.size() < (1u << 24))
    text.append(chunk, got);
  std::fclose(f);
  return text;
}

}  // namespace glint::platform
