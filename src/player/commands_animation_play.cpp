// ANIMATIONPLAY: plays an animation file, or an open animation, from start
// to end a number of times, with the flags' background save and restore,
// merging, fades and Escape handling.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "glinter/sound_hook.h"
#include "platform/platform.h"
#include "player/commands_animation.h"
#include "player/commands_screen.h"
#include "player/display/display_blit.h"
#include "player/display/display_palette.h"
#include "player/display/fades.h"
#include "player/display/screen.h"
#include "player/error_report.h"
#include "player/parameters.h"
#include "player/pointer.h"
#include "player/script_text.h"
#include "player/token_reader.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

namespace d = display;

constexpr uint32_t kNoSkip = 0x1;
constexpr uint32_t kWholeFile = 0x2;
constexpr uint32_t kNoWait = 0x4;
constexpr uint32_t kOffScreen = 0x8;
constexpr uint32_t kSaveBackground = 0x10;
constexpr uint32_t kFadeIn = 0x20;
constexpr uint32_t kFadeOut = 0x40;
constexpr uint32_t kEscapeEnds = 0x80;
constexpr uint32_t kMerge = 0x100;
constexpr uint32_t kIgnorePalettes = 0x200;
constexpr uint32_t kWithoutWindow = 0x400;
constexpr int kEscape = 27;

// The screen under the animation and the screen palette, as they were when
// the play began.
struct SavedBackground {
  bool saved = false;
  d::ScreenPatch patch;  // the part of the animation's rectangle on the screen
  d::Rgb768 palette{};
};

SavedBackground save_background(d::Display& display, int64_t x, int64_t y, int64_t w, int64_t h) {
  SavedBackground b;
  b.saved = true;
  b.patch = d::save_screen_patch(display, x, y, w, h);
  b.palette = d::screen().palette;
  return b;
}

void restore_background(Player& player, const SavedBackground& b) {
  if (!b.saved) return;
  d::Screen& s = d::screen();
  if (b.palette != s.palette) {
    d::apply_screen_palette(b.palette, player.palette_locks);
    ++s.palette_changes;
  }
  if (d::Display* display = d::window_display()) d::restore_screen_patch(*display, b.patch);
}

// Where the frame's pixels are the transparent colour the saved background
// shows through; the result goes to the screen at (x, y).
void merge_to_screen(const std::vector<uint8_t>& frame, int32_t width, int64_t x, int64_t y,
                     const SavedBackground& b, uint8_t transparent) {
  d::Display* display = d::window_display();
  if (!display || !d::patch_fits(*display, b.patch)) return;
  const ScreenArea& a = b.patch.area;
  for (int32_t row = 0; row < a.h; ++row) {
    const int64_t frame_row = a.y + row - y;
    const uint8_t* from = frame.data() + frame_row * width + (a.x - x);
    const uint8_t* under = b.patch.row(row);
    uint8_t* to = d::display_row(*display, a.y + row) + a.x;
    for (int32_t i = 0; i < a.w; ++i) to[i] = from[i] == transparent ? under[i] : from[i];
  }
  d::display_blit(*display, 0, 0, a.x, a.y, a.w, a.h);
}
void start_black(Player& player) {
  d::Screen& s = d::screen();
  for (std::size_t i = 0; i < 256; ++i)
    if (!player.palette_locks[i]) std::fill_n(&s.palette[i * 3], 3, uint8_t{0});
  if (s.display) d::display_set_palette(*s.display, s.palette.data(), 0);
  ++s.palette_changes;
}

// The sound output's service and window messages; held here while
// auto-pause is on and the window has lost the focus.
void service_and_pause(Player& player) {
  for (;;) {
    // The service hook feeds the sound output and dispatches the messages.
    if (player.hooks.service)
      player.hooks.service(player);
    else
      d::pump_messages();
    const bool paused = player.auto_pause && player.hooks.window_lacks_focus &&
                        player.hooks.window_lacks_focus(player);
    if (!paused) return;
    platform::yield();
  }
}

// One frame period in milliseconds (a negative period counts in units of
// 10 microseconds).
uint32_t frame_period_ms(const Glint& glint) {
  const int64_t period = glint.frame_period;
  return uint32_t(period > 0 ? period : -period / 100);
}

void hold_last_frame(Player& player, const Glint& glint) {
  const uint32_t until = ORXTimerRead() + frame_period_ms(glint);
  while (int32_t(until - ORXTimerRead()) > 0) {
    service_and_pause(player);
    platform::yield();
  }
}

struct PlayRequest {
  int64_t x = 0, y = 0;  // where the picture goes (already placed)
  int64_t count = 1;
  uint32_t flags = 0;
};

void play(Player& player, Glint* glint, const PlayRequest& request) {
  const uint32_t flags = request.flags;
  const bool draw = !(flags & kWithoutWindow);
  const int32_t width = int32_t(std::min<uint32_t>(glint->width, INT32_MAX));
  const int32_t height = int32_t(std::min<uint32_t>(glint->height, INT32_MAX));
  const uint8_t transparent = player.text_trans_color;
  if (draw) remove_pointer(player);

  SavedBackground background;
  std::vector<uint8_t> off_screen;    // the merge's picture
  std::vector<uint8_t> frame_buffer;  // a picture partly left of or above the screen
  const bool merge = draw && (flags & kMerge);
  if (d::Display* display = draw ? d::window_display() : nullptr) {
    if (flags & (kSaveBackground | kMerge))
      background = save_background(*display, request.x, request.y, width, height);
    if (merge) off_screen.assign(std::size_t(width) * std::size_t(height), 0);
  }
  if (flags & kFadeIn) start_black(player);

  bool fade_in = flags & kFadeIn;
  int64_t passes_left = request.count;
  for (;;) {
    service_and_pause(player);
    // Pointed at the buffer again every frame: messages may have taken the
    // window (and its buffer) away.
    FrameOutput output;
    if (!draw || !d::window_display())
      output = bind_no_output(glint);
    else if (merge)
      output = bind_buffer_output(glint, off_screen.data(), width, height);
    else
      output = bind_screen_output(glint, request.x, request.y, frame_buffer);
    GlintDecodeFrame(glint);
    if (glint->palette_updated && !(flags & kIgnorePalettes)) {
      if (fade_in) {
        show_decoded_frame(glint, output);  // drawn in black first
        d::Rgb768 target;
        std::memcpy(target.data(), glint->palette, target.size());
        d::fade_in_palette(target, player.palette_locks, player.fade_speed);
        fade_in = false;
      } else {
        update_screen_palette(player, *glint);
      }
    }
    show_decoded_frame(glint, output);
    if (merge && output.kind == FrameOutput::Kind::kBuffer)
      merge_to_screen(off_screen, width, request.x, request.y, background, transparent);
    if (flags & kEscapeEnds) {
      d::pump_messages();
      if (d::key_queue_pop(d::screen().keys) == kEscape) break;
    }
    if (is_last_frame(*glint) && --passes_left == 0) {
      // The last frame stays for its period too, so a play lasts as long as
      // the animation and its sound has time to play out.
      if (!(flags & kNoWait)) hold_last_frame(player, *glint);
      break;
    }
    GlintAdvanceFrame(glint);
    if (!(flags & kNoWait)) {
      // The sound output keeps its device fed while the frame is not due.
      while (GlintCheckWait(glint)) {
        glinter::sound_service();
        platform::yield();
      }
    }
  }
  bind_no_output(glint);  // the buffers below go now
  off_screen.clear();
  if (flags & kFadeOut) d::fade_out_palette(player.palette_locks, player.fade_speed);
  restore_background(player, background);
}

void command_animationplay(Player& player) {
  const std::string name = read_variable(player);
  const int32_t x = read_number(player), y = read_number(player);
  const int32_t count = read_number(player);
  uint32_t flags = uint32_t(read_number(player));
  std::string source;
  const TokenKind kind = read_token(player, source, true);
  if (kind == TokenKind::kEnd) report_line_error(player, kNeedParameter);

  const ScreenSettings& settings = screen_settings(player);
  d::Display* display = d::window_display();
  if (!(flags & kWithoutWindow) && !display) report_plain_error(player, kNoWindow);
  if (count == 0) {
    set_variable(player, name, "1");
    return;
  }

  AnimationEntry* entry =
      kind == TokenKind::kNumber ? find_animation(player, text_to_int32(source)) : nullptr;
  GlintHandle opened;
  Glint* glint = nullptr;
  if (entry) {
    glint = entry->glint.get();
    if (entry->rewind) {
      entry->rewind = false;
      GlintAdvanceFrame(glint);
    }
  } else {
    uint32_t open_flags = animation_table(player).track_set;
    if (flags & kNoSkip) open_flags |= GLINT_NO_SKIP;
    if (flags & kWholeFile) open_flags |= GLINT_WHOLE_FILE;
    opened.reset(GlintOpen(animation_file_name(source).c_str(), open_flags, -1));
    if (!opened) {
      set_variable(player, name, "0");
      return;
    }
    glint = opened.get();
  }
  // Decoding off-screen for a copy to the corner is for displays whose
  // buffer is video memory; this system's displays never are.
  flags &= ~kOffScreen;

  // The adjustment is added to a given position but not taken back off a
  // centred one.
  const int32_t screen_width = display ? display->width : script_screen_width();
  const int32_t screen_height = display ? display->height : script_screen_height();
  PlayRequest request;
  request.x = x == -1 ? centred_or_aligned_x(-1, glint->width, screen_width, settings.adjust_x)
                      : (int64_t{x} + settings.adjust_x) & ~int64_t{3};
  request.y = y == -1 ? centred_or_kept_y(-1, glint->height, screen_height, settings.adjust_y)
                      : int64_t{y} + settings.adjust_y;
  request.count = count;
  request.flags = flags;
  play(player, glint, request);

  // An open animation goes back to drawing where it drew before.
  if (entry) bind_entry_output(player, *entry);
  set_variable(player, name, "1");
}

}  // namespace

void register_animation_play_command(CommandTable& table) {
  register_command(table, "ANIMATIONPLAY", command_animationplay);
}

}  // namespace glint::player
