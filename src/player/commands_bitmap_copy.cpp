// Bitmap to bitmap: BITMAPTOBITMAP and its TRANS, MASK and MERGE forms.
// Every copy is cut to both bitmaps; a bitmap may be copied onto itself.
#include <optional>

#include "player/bitmap_copy.h"
#include "player/commands_bitmap_common.h"
#include "player/parameters.h"

namespace glint::player {
namespace {

void copy_between(Bitmap& dest, Bitmap& source, Bitmap* extra, int32_t x, int32_t y, CopyKind kind,
                  uint8_t key) {
  // A mask or second source is read at the source's positions: it must be
  // exactly the source's size or nothing is copied.
  if (extra && (extra->width != source.width || extra->height != source.height)) return;
  const std::optional<CopyArea> area =
      place_bitmap_copy(dest.width, dest.height, source.width, source.height, x, y);
  if (!area) return;
  const display::Target8 extra_target = extra ? bitmap_target(*extra) : display::Target8{};
  copy_area(bitmap_target(dest), bitmap_target(source), extra ? &extra_target : nullptr, *area,
            kind, key);
}

void command_bitmaptobitmap(Player& player) {
  Bitmap& dest = read_bitmap(player);
  Bitmap& source = read_bitmap(player);
  const int32_t x = read_number(player), y = read_number(player);
  copy_between(dest, source, nullptr, x, y, CopyKind::kPlain, 0);
}

void command_bitmaptobitmaptrans(Player& player) {
  Bitmap& dest = read_bitmap(player);
  Bitmap& source = read_bitmap(player);
  const int32_t x = read_number(player), y = read_number(player);
  const uint8_t key = uint8_t(read_number(player));
  copy_between(dest, source, nullptr, x, y, CopyKind::kTransparent, key);
}

void copy_with_extra(Player& player, CopyKind kind) {
  Bitmap& dest = read_bitmap(player);
  Bitmap& source = read_bitmap(player);
  Bitmap& extra = read_bitmap(player);
  const int32_t x = read_number(player), y = read_number(player);
  const uint8_t key = uint8_t(read_number(player));
  copy_between(dest, source, &extra, x, y, kind, key);
}

void command_bitmaptobitmapmask(Player& player) { copy_with_extra(player, CopyKind::kMasked); }
void command_bitmaptobitmapmerge(Player& player) { copy_with_extra(player, CopyKind::kMerged); }

}  // namespace

void register_bitmap_copy_commands(CommandTable& table) {
  register_command(table, "BITMAPTOBITMAP", command_bitmaptobitmap);
  register_command(table, "BITMAPTOBITMAPMASK", command_bitmaptobitmapmask);
  register_command(table, "BITMAPTOBITMAPMERGE", command_bitmaptobitmapmerge);
  register_command(table, "BITMAPTOBITMAPTRANS", command_bitmaptobitmaptrans);
}

}  // namespace glint::player
