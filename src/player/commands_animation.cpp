// ANIMATIONOPEN, ANIMATIONCLOSE, ANIMATIONTRACKS, the placing commands
// (ANIMATIONTOSCREEN, ANIMATIONTOBITMAP), the stepping commands (ADVANCE,
// GOTO, BACKTOSTART, DELAY, STILLDELAY), the size queries and ANIMATIONLIST;
// the family's registration.
#include "player/commands_animation.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "player/bitmaps.h"
#include "player/commands_bitmap_common.h"
#include "player/commands_screen.h"
#include "player/display/screen.h"
#include "player/error_report.h"
#include "player/parameters.h"
#include "player/pointer.h"
#include "player/script_text.h"
#include "player/trace.h"
#include "player/variable_access.h"

namespace glint::player {

namespace d = display;

int64_t centred_or_aligned_x(int32_t x, uint32_t width, int32_t screen_width, int32_t adjust_x) {
  if (x == -1) return (int64_t{screen_width} - int64_t{width}) / 2 - adjust_x;
  return int64_t{x} & ~int64_t{3};  // rounded down, also below 0
}

int64_t centred_or_kept_y(int32_t y, uint32_t height, int32_t screen_height, int32_t adjust_y) {
  if (y == -1) return (int64_t{screen_height} - int64_t{height}) / 2 - adjust_y;
  return y;
}

FrameOutput bind_entry_output(Player& player, AnimationEntry& entry) {
  Glint* glint = entry.glint.get();
  const AnimationTarget& target = entry.target;
  switch (target.kind) {
    case AnimationTarget::Kind::kScreen:
      return bind_screen_output(glint, target.x, target.y, entry.frame_buffer);
    case AnimationTarget::Kind::kBitmap:
      if (Bitmap* bitmap = find_bitmap(player, target.bitmap_number, target.bitmap_serial))
        return bind_buffer_output(glint, bitmap->pixels.data(), bitmap->width, bitmap->height);
      return bind_no_output(glint);
    case AnimationTarget::Kind::kNone:
      break;
  }
  return bind_no_output(glint);
}

bool is_last_frame(const Glint& glint) {
  const uint64_t next = uint64_t{glint.current_frame} + 1;
  if (glint.header_flags & GLINT_HEADER_RING)
    return next == glint.frame_count || next > uint64_t{glint.frame_count} + 1;
  return next >= glint.frame_count;
}

namespace {

void command_animationopen(Player& player) {
  const std::string name = read_variable(player);
  const int32_t flags = read_number(player);
  const std::string file = animation_file_name(read_text(player));
  AnimationTable& table = animation_table(player);
  auto free_entry = std::find_if(table.entries.begin(), table.entries.end(),
                                 [](const AnimationEntry& e) { return !e.glint; });
  if (free_entry == table.entries.end()) {
    store_number(player, name, 0);
    return;
  }
  uint32_t open_flags = table.track_set;
  if (flags & 0x1) open_flags |= GLINT_NO_SKIP;
  if (flags & 0x2) open_flags |= GLINT_WHOLE_FILE;
  GlintHandle glint(GlintOpen(file.c_str(), open_flags, -1));
  if (!glint) {
    store_number(player, name, 0);
    return;
  }
  *free_entry = AnimationEntry{};
  free_entry->glint = std::move(glint);
  free_entry->base_name = animation_base_name(file);
  store_number(player, name, kFirstAnimationNumber + (free_entry - table.entries.begin()));
}

void command_animationclose(Player& player) {
  AnimationEntry& entry = read_animation(player);
  entry = AnimationEntry{};
}

void command_animationtracks(Player& player) {
  const uint32_t mask = uint32_t(read_number(player));
  animation_table(player).track_set = (mask & 0x7F) * GLINT_TRACK0;
}

void command_animationtoscreen(Player& player) {
  AnimationEntry& entry = read_animation(player);
  const int32_t x = read_number(player), y = read_number(player);
  d::Display& display = need_window(player);
  const ScreenSettings& s = screen_settings(player);
  const Glint& glint = *entry.glint;
  // The adjustment comes off a centred position and goes back on below, so
  // a centred animation ends up exactly centred.
  const int64_t at_x = centred_or_aligned_x(x, glint.width, display.width, s.adjust_x) + s.adjust_x;
  const int64_t at_y = centred_or_kept_y(y, glint.height, display.height, s.adjust_y) + s.adjust_y;
  entry.target = AnimationTarget{};
  entry.target.kind = AnimationTarget::Kind::kScreen;
  entry.target.x = int32_t(std::clamp<int64_t>(at_x, INT32_MIN, INT32_MAX));
  entry.target.y = int32_t(std::clamp<int64_t>(at_y, INT32_MIN, INT32_MAX));
  entry.frame_buffer.clear();
  bind_entry_output(player, entry);
}

void command_animationtobitmap(Player& player) {
  AnimationEntry& entry = read_animation(player);
  const int32_t number = read_number(player);
  Bitmap* bitmap = find_bitmap(player, number);
  if (!bitmap) report_line_error(player, kBadFrame);
  entry.target = AnimationTarget{};
  entry.target.kind = AnimationTarget::Kind::kBitmap;
  entry.target.bitmap_number = number;
  entry.target.bitmap_serial = bitmap->serial;
  entry.frame_buffer.clear();
  bind_entry_output(player, entry);
}

void advance(Player& player, bool with_palette) {
  AnimationEntry& entry = read_animation(player);
  Glint* glint = entry.glint.get();
  const bool on_bitmap = entry.target.kind == AnimationTarget::Kind::kBitmap;
  if (!on_bitmap) remove_pointer(player);
  if (entry.rewind) {
    entry.rewind = false;
    GlintAdvanceFrame(glint);  // wraps to the first frame
  }
  // The current frame's palette was decoded when the frame became current.
  if (!on_bitmap && with_palette) update_screen_palette(player, *glint);
  const FrameOutput output = bind_entry_output(player, entry);
  GlintDecodeFrame(glint);
  if (on_bitmap) {
    Bitmap* bitmap = find_bitmap(player, entry.target.bitmap_number, entry.target.bitmap_serial);
    if (bitmap && with_palette) {
      if (glint->palette_updated)
        std::copy_n(glint->palette, sizeof glint->palette, bitmap->palette.emplace().begin());
      else
        bitmap->palette.reset();
    }
  } else {
    show_decoded_frame(glint, output);
  }
  if (!is_last_frame(*glint) || (glint->header_flags & GLINT_HEADER_RING))
    GlintAdvanceFrame(glint);
  else
    entry.rewind = true;
}

void command_animationadvance(Player& player) { advance(player, true); }
void command_animationadvancenopalette(Player& player) { advance(player, false); }

void command_animationgoto(Player& player) {
  AnimationEntry& entry = read_animation(player);
  const int32_t frame = read_number(player);
  Glint* glint = entry.glint.get();
  // Frames count from 1; numbers outside the animation go to its first or
  // last frame.
  const uint32_t target =
      uint32_t(std::clamp<int64_t>(frame, 1, std::max<uint32_t>(glint->frame_count, 1)));
  GlintSoundSwitch(glint, 0);
  GlintGotoFrame(glint, target);
  GlintSoundSwitch(glint, 1);
  entry.rewind = false;  // the frame gone to is the one the next advance shows
}

void command_animationbacktostart(Player& player) {
  AnimationEntry& entry = read_animation(player);
  GlintGotoFrame(entry.glint.get(), 1);
  entry.rewind = false;
}

void command_animationdelay(Player& player) {
  Glint* glint = read_animation(player).glint.get();
  while (GlintCheckWait(glint)) {
    service_between_lines(player);  // sound output, then messages (a WM_QUIT marks the window gone)
    platform::yield();
  }
}

void command_animationstilldelay(Player& player) {
  const std::string name = read_variable(player);
  store_number(player, name, GlintCheckWait(read_animation(player).glint.get()) ? 1 : 0);
}

void command_animationframes(Player& player) {
  const std::string name = read_variable(player);
  store_number(player, name, read_animation(player).glint->frame_count);
}

void command_animationwidth(Player& player) {
  const std::string name = read_variable(player);
  store_number(player, name, read_animation(player).glint->width);
}

void command_animationheight(Player& player) {
  const std::string name = read_variable(player);
  store_number(player, name, read_animation(player).glint->height);
}

void command_animationlist(Player& player) {
  need_window(player);
  std::vector<std::string> lines;
  const AnimationTable& table = animation_table(player);
  for (std::size_t i = 0; i < kAnimationSlots; ++i) {
    const AnimationEntry& entry = table.entries[i];
    if (!entry.glint) continue;
    char line[96];
    std::snprintf(line, sizeof line, "Number: %i  Name: %s  Width: %i  Height: %i",
                  int(kFirstAnimationNumber + int32_t(i)), entry.base_name.c_str(),
                  int(entry.glint->width), int(entry.glint->height));
    lines.emplace_back(line);
  }
  print_listing(player, lines);
  trim_left(player.parameters);
}

}  // namespace

void register_animation_commands(CommandTable& table) {
  register_command(table, "ANIMATIONADVANCE", command_animationadvance);
  register_command(table, "ANIMATIONADVANCENOPALETTE", command_animationadvancenopalette);
  register_command(table, "ANIMATIONBACKTOSTART", command_animationbacktostart);
  register_command(table, "ANIMATIONCLOSE", command_animationclose);
  register_command(table, "ANIMATIONDELAY", command_animationdelay);
  register_command(table, "ANIMATIONFRAMES", command_animationframes);
  register_command(table, "ANIMATIONGOTO", command_animationgoto);
  register_command(table, "ANIMATIONHEIGHT", command_animationheight);
  register_command(table, "ANIMATIONLIST", command_animationlist);
  register_command(table, "ANIMATIONOPEN", command_animationopen);
  register_command(table, "ANIMATIONSTILLDELAY", command_animationstilldelay);
  register_command(table, "ANIMATIONTOBITMAP", command_animationtobitmap);
  register_command(table, "ANIMATIONTOSCREEN", command_animationtoscreen);
  register_command(table, "ANIMATIONTRACKS", command_animationtracks);
  register_command(table, "ANIMATIONWIDTH", command_animationwidth);
  register_animation_play_command(table);
  register_animation_load_command(table);
}

}  // namespace glint::player
