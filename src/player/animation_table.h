// The animation table: the 32 animations a script opens (numbered
// 3000-3031), where each one draws, and the track set the next opens ask for.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "orxutil/glint.h"
#include "player/player.h"

namespace glint::player {

inline constexpr int32_t kFirstAnimationNumber = 3000;
inline constexpr std::size_t kAnimationSlots = 32;
inline constexpr std::size_t kAnimationNameMax = 8;  // ANIMATIONLIST's name column

struct GlintCloser {
  void operator()(Glint* glint) const { GlintClose(glint); }
};
using GlintHandle = std::unique_ptr<Glint, GlintCloser>;

// Where an open animation's frames go. Only the description is kept: the
// decoder is pointed at the real buffer again before every frame, so a
// screen that was replaced or a bitmap that was freed is never written.
struct AnimationTarget {
  enum class Kind : uint8_t {
    kNone,    // screen mode, never placed: frames are decoded but not drawn
    kScreen,  // the screen buffer at (x, y)
    kBitmap,  // a bitmap at (0, 0), while it lives
  };
  Kind kind = Kind::kNone;
  int32_t x = 0, y = 0;
  int32_t bitmap_number = 0;
  uint64_t bitmap_serial = 0;
};

struct AnimationEntry {
  GlintHandle glint;
  std::string base_name;  // at most kAnimationNameMax characters
  bool rewind = false;    // the last frame was shown: the next advance starts over
  AnimationTarget target;
  // The picture of an animation placed partly left of or above the screen:
  // decoded here whole and copied to the screen through a clip.
  std::vector<uint8_t> frame_buffer;
};

struct AnimationTable {
  std::array<AnimationEntry, kAnimationSlots> entries;
  uint32_t track_set = GLINT_TRACK_MASK;  // every track
};

// This run's table, made on first use.
AnimationTable& animation_table(Player& player);

// An animation number parameter; "Bad animation parameter" unless it names
// an open animation.
AnimationEntry& read_animation(Player& player);
// The open animation a number names, or null.
AnimationEntry* find_animation(Player& player, int64_t number);

// The screen buffer is about to go (SCREENTEXT, or SCREENGRAPHICS making a
// new display): animations drawing on the screen let go of it and follow
// the new buffer at their next frame.
void detach_screen_animations(Player& player);
// A bitmap is about to be freed: animations attached to it let go of it and
// draw nothing from then on.
void detach_bitmap_animations(Player& player, uint64_t bitmap_serial);

// The name with ".gnt" added when its last component has no extension.
std::string animation_file_name(std::string name);
// The name without drive, directory and extension, cut to 8 characters.
std::string animation_base_name(const std::string& name);

}  // namespace glint::player
