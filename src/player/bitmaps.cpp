#include "player/bitmaps.h"

#include <memory>
#include <new>

#include "player/animation_table.h"

namespace glint::player {
namespace {

uint64_t next_serial() {
  static uint64_t serial = 0;
  return ++serial;
}

}  // namespace

BitmapTable& bitmap_table(const Player& player) {
  if (!player.bitmaps) player.bitmaps = std::make_shared<BitmapTable>();
  return *player.bitmaps;
}

Bitmap* find_bitmap(const Player& player, int64_t number) {
  const int64_t index = number - kFirstBitmapNumber;
  if (index < 0 || index >= int64_t(kBitmapSlots)) return nullptr;
  return bitmap_table(player).slots[std::size_t(index)].get();
}

Bitmap* find_bitmap(const Player& player, int64_t number, uint64_t serial) {
  Bitmap* bitmap = find_bitmap(player, number);
  return bitmap && bitmap->serial == serial ? bitmap : nullptr;
}

int32_t allocate_bitmap(Player& player, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return 0;
  const int64_t pixels = int64_t{width} * int64_t{height};
  if (pixels > kMaxBitmapPixels) return 0;
  BitmapTable& table = bitmap_table(player);
  if (table.pixels_in_use + pixels > kMaxTablePixels) return 0;
  for (std::size_t i = 0; i < kBitmapSlots; ++i) {
    if (table.slots[i]) continue;
    auto bitmap = std::unique_ptr<Bitmap>(new (std::nothrow) Bitmap);
    if (!bitmap) return 0;
    try {
      bitmap->pixels.assign(std::size_t(pixels), 0);
    } catch (const std::bad_alloc&) {
      return 0;
    }
    bitmap->width = width;
    bitmap->height = height;
    bitmap->serial = next_serial();
    table.slots[i] = std::move(bitmap);
    table.pixels_in_use += pixels;
    return kFirstBitmapNumber + int32_t(i);
  }
  return 0;
}

bool free_bitmap(Player& player, int64_t number) {
  const Bitmap* bitmap = find_bitmap(player, number);
  if (!bitmap) return false;
  // An animation drawing into the bitmap must not keep its pixels.
  detach_bitmap_animations(player, bitmap->serial);
  BitmapTable& table = bitmap_table(player);
  table.pixels_in_use -= int64_t{bitmap->width} * bitmap->height;
  table.slots[std::size_t(number - kFirstBitmapNumber)].reset();
  return true;
}

}  // namespace glint::player
