#include "player/animation_table.h"

#include "player/error_report.h"
#include "player/file_names.h"
#include "player/parameters.h"

namespace glint::player {
namespace {

void let_go(AnimationEntry& entry) { GlintSetOutput(entry.glint.get(), 0, 0, 0, 0, nullptr, 0); }

}  // namespace

AnimationTable& animation_table(Player& player) {
  if (!player.animations) player.animations = std::make_shared<AnimationTable>();
  return *player.animations;
}

AnimationEntry* find_animation(Player& player, int64_t number) {
  const int64_t index = number - kFirstAnimationNumber;
  if (index < 0 || index >= int64_t(kAnimationSlots)) return nullptr;
  AnimationEntry& entry = animation_table(player).entries[std::size_t(index)];
  return entry.glint ? &entry : nullptr;
}

AnimationEntry& read_animation(Player& player) {
  AnimationEntry* entry = find_animation(player, read_number(player));
  if (!entry) report_line_error(player, kBadAnimation);
  return *entry;
}

void detach_screen_animations(Player& player) {
  if (!player.animations) return;
  for (AnimationEntry& entry : player.animations->entries)
    if (entry.glint && entry.target.kind != AnimationTarget::Kind::kBitmap) let_go(entry);
}

void detach_bitmap_animations(Player& player, uint64_t bitmap_serial) {
  if (!player.animations) return;
  for (AnimationEntry& entry : player.animations->entries)
    if (entry.glint && entry.target.kind == AnimationTarget::Kind::kBitmap &&
        entry.target.bitmap_serial == bitmap_serial)
      let_go(entry);
}

std::string animation_file_name(std::string name) {
  // The extension belongs to the last component: a dot before a separator
  // is part of a directory name.
  const std::size_t last_separator = name.find_last_of(":\\/");
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || (last_separator != std::string::npos && dot < last_separator))
    name += ".gnt";
  return name;
}

std::string animation_base_name(const std::string& name) {
  std::string base = file_pieces(name, false, false, true, false).value_or(std::string());
  if (base.empty()) {
    // The pieces helper refused the name: take the last component ourselves.
    const std::size_t last_separator = name.find_last_of(":\\/");
    base = last_separator == std::string::npos ? name : name.substr(last_separator + 1);
    const std::size_t dot = base.rfind('.');
    if (dot != std::string::npos) base.resize(dot);
  }
  if (base.size() > kAnimationNameMax) base.resize(kAnimationNameMax);
  return base;
}

}  // namespace glint::player
