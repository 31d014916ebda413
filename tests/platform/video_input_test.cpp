#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/input_keys.h"
#include "platform/input_script.h"

namespace p = glint::platform;

namespace {

std::vector<p::Message> press(uint32_t vk, uint32_t modifiers, bool printable = true) {
  std::vector<p::Message> out;
  p::key_messages(7, vk, modifiers, printable, out);
  return out;
}

TEST(KeyMessages, DownCharacterUpAsAMessageLoopSeesThem) {
  struct Case {
    uint32_t vk;
    uint32_t modifiers;
    uint32_t down;  // message of the press
    int character;  // -1: no WM_CHAR
  };
  const Case cases[] = {
      {'A', 0, p::kWmKeyDown, 'a'},
      {'A', p::kModShift, p::kWmKeyDown, 'A'},
      {'C', p::kModControl, p::kWmKeyDown, 3},
      {'1', 0, p::kWmKeyDown, '1'},
      {p::kVkReturn, 0, p::kWmKeyDown, 13},
      {p::kVkEscape, 0, p::kWmKeyDown, 27},
      {p::kVkBack, 0, p::kWmKeyDown, 8},
      {p::kVkTab, p::kModShift, p::kWmKeyDown, 9},
      {p::kVkF1 + 2, p::kModShift, p::kWmKeyDown, -1},
      {p::kVkF10, 0, p::kWmSysKeyDown, -1},  // F10 alone is a system key
      {p::kVkF1 + 4, p::kModAlt, p::kWmSysKeyDown, -1},
      {'X', p::kModAlt, p::kWmSysKeyDown, -1},
      {p::kVkLeft, 0, p::kWmKeyDown, -1},
  };
  for (const Case& c : cases) {
    const auto m = press(c.vk, c.modifiers);
    ASSERT_EQ(m.size(), c.character >= 0 ? 3u : 2u) << c.vk;
    EXPECT_EQ(m.front().message, c.down);
    EXPECT_EQ(m.front().wparam, c.vk);
    EXPECT_EQ(m.front().window, 7u);
    EXPECT_EQ(m.back().message, c.down == p::kWmKeyDown ? p::kWmKeyUp : p::kWmSysKeyUp);
    if (c.character >= 0) {
      EXPECT_EQ(m[1].wparam, uint32_t(c.character)) << c.vk;
    }
  }
  // Without printable translation (text input supplies those) only control characters come.
  EXPECT_EQ(press('A', 0, false).size(), 2u);
  EXPECT_EQ(press(p::kVkReturn, 0, false).size(), 3u);
}

TEST(KeyMessages, TextToAnsi) {
  std::vector<p::Message> out;
  p::text_messages(1,
                   "a\xC3\xA9\xE2\x82\xAC\xE4\xB8\x80\xFF"
                   "b",
                   0, out);  // a, e-acute, euro, CJK, stray, b
  ASSERT_EQ(out.size(), 4u);
  EXPECT_EQ(out[0].wparam, unsigned('a'));
  EXPECT_EQ(out[1].wparam, 0xE9u);
  EXPECT_EQ(out[2].wparam, 0x80u);
  EXPECT_EQ(out[3].wparam, unsigned('b'));
  EXPECT_EQ(p::ansi_from_unicode(0x2122), 0x99);
  EXPECT_EQ(p::ansi_from_unicode(0x81), -1);
  EXPECT_EQ(p::virtual_key_from_name("pageup"), p::kVkPrior);
  EXPECT_EQ(p::virtual_key_from_name("F12"), p::kVkF12);
  EXPECT_EQ(p::virtual_key_from_name("F13"), 0u);
  EXPECT_EQ(p::virtual_key_from_name("q"), uint32_t('Q'));
  EXPECT_EQ(p::virtual_key_from_name("nope"), 0u);
  EXPECT_EQ(p::virtual_key_from_name(""), 0u);
  std::vector<std::string> errors;
  EXPECT_TRUE(p::parse_input_script("key", errors).empty());
  EXPECT_EQ(errors.size(), 1u);
}

TEST(InputScript, ParsesEveryVerbAndReportsBadLines) {
  std::vector<std::string> errors;
  const auto events = p::parse_input_script(
      "# comment\n"
      "\n"
      "@250 key F10 alt\n"
      "+3 char a\\x3Bb\\n\n"
      "move 5 6\n"
      "click 1 2 right\n"
      "down 3 4\n"
      "up 3 4 left\n"
      "focus off\n"
      "close\n"
      "quit\n"
      "snapshot\n"
      "answer cancel\n"
      "answer 7\n"
      "key NoSuchKey\n"
      "move 1\n"
      "@x close\n"
      "jump\n"
      "focus maybe\n"
      "close now\n",
      errors);
  ASSERT_EQ(events.size(), 12u);
  EXPECT_EQ(errors.size(), 6u);
  EXPECT_NE(errors[0].find("line 15"), std::string::npos);
  using T = p::ScriptedEvent::Timing;
  EXPECT_EQ(events[0].timing, T::kAtTime);
  EXPECT_EQ(events[0].value, 250u);
  EXPECT_EQ(events[0].messages[0].message, p::kWmSysKeyDown);
  EXPECT_EQ(events[0].messages[0].modifiers, p::kModAlt);
  EXPECT_EQ(events[1].timing, T::kAfterPumps);
  ASSERT_EQ(events[1].messages.size(), 4u);  // a ; b \n
  EXPECT_EQ(events[1].messages[1].wparam, unsigned(';'));
  EXPECT_EQ(events[1].messages[3].wparam, 10u);
  EXPECT_EQ(events[2].messages[0].message, p::kWmMouseMove);
  ASSERT_EQ(events[3].messages.size(), 3u);
  EXPECT_EQ(events[3].messages[1].message, p::kWmRButtonDown);
  EXPECT_EQ(events[3].messages[2].message, p::kWmRButtonUp);
  EXPECT_EQ(events[4].messages.back().message, p::kWmLButtonDown);
  EXPECT_EQ(events[5].messages.back().message, p::kWmLButtonUp);
  EXPECT_EQ(events[6].messages[0].message, p::kWmKillFocus);
  EXPECT_EQ(events[7].messages[0].message, p::kWmClose);
  EXPECT_EQ(events[8].messages[0].message, p::kWmQuit);
  EXPECT_EQ(events[9].kind, p::ScriptedEvent::Kind::kSnapshot);
  EXPECT_EQ(events[10].answer, 2);
  EXPECT_EQ(events[11].answer, 7);
  EXPECT_EQ(p::read_input_setting("=key a;close"), "key a\nclose");
  EXPECT_EQ(p::read_input_setting("/no/such/file"), "");
  EXPECT_EQ(p::read_input_setting(nullptr), "");
}

}  // namespace
