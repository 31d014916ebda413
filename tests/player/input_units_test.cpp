// The pieces under the input commands: key names, the area table and its
// levels, the arrow's colours, what typed characters queue.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "platform/video.h"
#include "player/commands_input.h"
#include "player/display/screen.h"
#include "player/input_key_names.h"
#include "player/mouse_areas.h"
#include "player/pointer.h"

namespace glint::player {
namespace {

TEST(InputKeyNames, EveryKindOfCode) {
  const struct {
    int code;
    const char* name;
  } cases[] = {
      {8, "BACKSPACE"},
      {127, "BACKSPACE"},
      {9, "TAB"},
      {10, "ENTER"},
      {13, "ENTER"},
      {27, "ESCAPE"},
      {32, "SPACE"},
      {137, "BACKTAB"},
      {161, "PAGEUP"},
      {162, "PAGEDOWN"},
      {163, "END"},
      {164, "HOME"},
      {165, "LEFT"},
      {166, "UP"},
      {167, "RIGHT"},
      {168, "DOWN"},
      {173, "INSERT"},
      {174, "DELETE"},
      {208, "F1"},
      {217, "F10"},
      {218, "SHIFT F1"},
      {220, "SHIFT F3"},
      {227, "SHIFT F10"},
      {228, "CONTROL F1"},
      {236, "CONTROL F9"},
      {238, "ALT F1"},
      {239, "ALT F2"},
      {241, "ALT F4"},
      {247, "ALT F10"},
      {'a', "a"},
      {'Z', "Z"},
      {160, "\xA0"},
      {169, "\xA9"},
      {248, "\xF8"},
      {0, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(key_name(uint8_t(c.code)), c.name) << c.code;
}

// Typed characters never take the codes that name special keys.
TEST(InputKeyNames, TypedCharactersNeverReadAsSpecialKeys) {
  namespace p = platform;
  for (int code = 1; code < 256; ++code) {
    const int queued = display::key_code_for(p::Message{1, p::kWmChar, uint32_t(code), 0, 0, 0});
    const bool special = code == 137 || (code >= 161 && code <= 168) || code == 173 ||
                         code == 174 || (code >= 208 && code <= 247);
    EXPECT_EQ(queued, special ? -1 : code) << code;
  }
  // Shift+Tab still gives its own code.
  EXPECT_EQ(display::key_code_for(p::Message{1, p::kWmChar, '\t', 0, 0, p::kModShift}), 137);
}

MouseArea area(const char* name, int32_t left, int32_t top, int32_t w, int32_t h) {
  return MouseArea{name, left, top, left + w, top + h, 0, 0};
}

TEST(MouseAreas, NewestAreaWinsAndEdgesAreHalfOpen) {
  InputState in;
  ASSERT_TRUE(add_mouse_area(in, area("big", 0, 0, 100, 100)));
  ASSERT_TRUE(add_mouse_area(in, area("small", 10, 10, 20, 20)));
  EXPECT_EQ(mouse_area_at(in, 15, 15)->name, "small");
  EXPECT_EQ(mouse_area_at(in, 30, 30)->name, "big");  // right and bottom are outside "small"
  EXPECT_EQ(mouse_area_at(in, 100, 5), nullptr);
  EXPECT_EQ(mouse_area_at(in, -1, -1), nullptr);

  // Removal takes the newest of equal names, case counts.
  ASSERT_TRUE(add_mouse_area(in, area("big", 50, 50, 10, 10)));
  remove_mouse_area(in, "BIG");
  EXPECT_EQ(in.areas.size(), 3u);
  remove_mouse_area(in, "big");
  ASSERT_EQ(in.areas.size(), 2u);
  EXPECT_EQ(in.areas[0].left, 0);
  EXPECT_EQ(mouse_area_at(in, 55, 55)->name, "big");
}

TEST(MouseAreas, NamesAreCutAndTheTableHolds128) {
  InputState in;
  ASSERT_TRUE(add_mouse_area(in, area("abcdefghijklmnopqrstuvwxyz012345", 0, 0, 1, 1)));
  EXPECT_EQ(in.areas[0].name, "abcdefghijklmnopqrstuvwxyz01234");
  for (int i = 1; i < 128; ++i) ASSERT_TRUE(add_mouse_area(in, area("x", i, 0, 1, 1)));
  EXPECT_FALSE(add_mouse_area(in, area("full", 0, 0, 1, 1)));
  // A new level does not make room: the table is shared.
  push_area_level(in);
  EXPECT_FALSE(add_mouse_area(in, area("full", 0, 0, 1, 1)));
}

TEST(MouseAreas, LevelsPushPopAndTheirLimits) {
  InputState in;
  add_mouse_area(in, area("base", 0, 0, 10, 10));
  push_area_level(in);
  EXPECT_EQ(mouse_area_at(in, 5, 5), nullptr);
  add_mouse_area(in, area("upper", 0, 0, 10, 10));
  EXPECT_EQ(mouse_area_at(in, 5, 5)->name, "upper");
  remove_level_areas(in);  // only the current level's
  EXPECT_EQ(mouse_area_at(in, 5, 5), nullptr);
  add_mouse_area(in, area("upper", 0, 0, 10, 10));
  pop_area_level(in);
  EXPECT_EQ(mouse_area_at(in, 5, 5)->name, "base");
  EXPECT_EQ(in.areas.size(), 1u);

  // A pop at the base level only removes the current areas.
  pop_area_level(in);
  EXPECT_TRUE(in.areas.empty());
  EXPECT_EQ(in.base, 0u);
  add_mouse_area(in, area("again", 0, 0, 10, 10));
  EXPECT_EQ(mouse_area_at(in, 5, 5)->name, "again");

  // 32 levels are kept; a 33rd push is ignored and its level stays current.
  for (int level = 1; level <= 32; ++level) {
    push_area_level(in);
    add_mouse_area(in, area(("L" + std::to_string(level)).c_str(), 0, 0, 10, 10));
  }
  EXPECT_EQ(in.levels.size(), 32u);
  push_area_level(in);
  EXPECT_EQ(in.levels.size(), 32u);
  EXPECT_EQ(mouse_area_at(in, 5, 5)->name, "L32");
  for (int level = 31; level >= 1; --level) {
    pop_area_level(in);
    EXPECT_EQ(mouse_area_at(in, 5, 5)->name, "L" + std::to_string(level));
  }
  pop_area_level(in);
  EXPECT_EQ(mouse_area_at(in, 5, 5)->name, "again");
}

TEST(Pointer, ArrowColoursKeepTheKeyApart) {
  const struct {
    int darkest, brightest, key;
  } cases[] = {{0, 1, 2}, {0, 255, 1}, {1, 0, 0}, {1, 7, 2}, {5, 1, 0}, {5, 9, 1}, {3, 3, 1}};
  for (const auto& c : cases) {
    const ArrowColours colours = arrow_colours(c.darkest, c.brightest);
    EXPECT_EQ(colours.key, c.key) << c.darkest << " " << c.brightest;
    EXPECT_EQ(colours.outline, c.darkest);
    EXPECT_EQ(colours.fill, c.brightest);
  }
  // The arrow's shape: the outline closes the tip, the tail ends in two pixels.
  EXPECT_STREQ(kArrowRows[0], "o.........");
  EXPECT_STREQ(kArrowRows[9], "o########o");
  EXPECT_STREQ(kArrowRows[18], ".......oo.");
}

TEST(InputMessageBox, StylesAndResults) {
  namespace p = platform;
  EXPECT_EQ(message_box_style_for(0), p::kMbOk | p::kMbIconInformation);
  EXPECT_EQ(message_box_style_for(2), p::kMbOkCancel | p::kMbIconWarning);
  EXPECT_EQ(message_box_style_for(4), p::kMbYesNo | p::kMbIconQuestion);
  EXPECT_EQ(message_box_style_for(8), p::kMbYesNo | p::kMbIconQuestion);
  EXPECT_EQ(message_box_style_for(6), p::kMbYesNoCancel | p::kMbIconQuestion);
  EXPECT_EQ(message_box_style_for(10), p::kMbYesNoCancel | p::kMbIconQuestion);
  EXPECT_EQ(message_box_style_for(1), p::kMbOk | p::kMbIconInformation);
  EXPECT_EQ(message_box_result(p::kIdOk), 1);
  EXPECT_EQ(message_box_result(p::kIdCancel), 2);
  EXPECT_EQ(message_box_result(p::kIdYes), 4);
  EXPECT_EQ(message_box_result(p::kIdNo), 8);
}

}  // namespace
}  // namespace glint::player
