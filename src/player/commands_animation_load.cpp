// ANIMATIONLOADTOBITMAP: the frames of an animation file, one after the
// other, into new bitmaps named by a list of variables. With k variables,
// variables 1 to k-1 get bitmaps holding frames 1 to k-1 and the last one
// gets the first bitmap, which was decoded into all along and holds frame k.
#include <algorithm>
#include <string>

#include "player/animation_table.h"
#include "player/bitmaps.h"
#include "player/commands_animation.h"
#include "player/error_report.h"
#include "player/parameters.h"
#include "player/script_text.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

void take_palette(Bitmap& bitmap, const Glint& glint) {
  BitmapPalette& palette = bitmap.palette.emplace();
  std::copy_n(glint.palette, palette.size(), palette.begin());
}

// Every variable of the list gets 0.
void clear_variables(Player& player) {
  while (!parameters_done(player)) {
    const std::size_t before = player.parameters.size();
    set_variable(player, read_variable(player), "0");
    if (player.parameters.size() == before) return;  // nothing consumed: stop
  }
}

void command_animationloadtobitmap(Player& player) {
  const std::string file = animation_file_name(read_text(player));
  GlintHandle glint(GlintOpen(file.c_str(), 0, 0));  // the pictures only
  const int32_t first_number =
      glint && glint->width <= INT32_MAX && glint->height <= INT32_MAX
          ? allocate_bitmap(player, int32_t(glint->width), int32_t(glint->height))
          : 0;
  if (!first_number) {
    clear_variables(player);
    return;
  }
  Bitmap* first = find_bitmap(player, first_number);
  GlintSetOutput(glint.get(), 0, 0, first->width, uint32_t(first->height), first->pixels.data(), 0);
  for (;;) {
    const std::size_t before = player.parameters.size();
    const std::string name = read_variable(player);
    const bool stuck = player.parameters.size() == before;
    const bool more = !stuck && !parameters_done(player);
    const int32_t target_number =
        more ? allocate_bitmap(player, first->width, first->height) : first_number;
    GlintDecodeFrame(glint.get());
    if (Bitmap* target = target_number ? find_bitmap(player, target_number) : nullptr) {
      if (target != first) target->pixels = first->pixels;
      if (glint->palette_updated) take_palette(*target, *glint);
    }
    if (target_number != first_number) GlintAdvanceFrame(glint.get());
    set_variable(player, name, int32_to_text(target_number));
    if (target_number == first_number) return;
  }
}

}  // namespace

void register_animation_load_command(CommandTable& table) {
  register_command(table, "ANIMATIONLOADTOBITMAP", command_animationloadtobitmap);
}

}  // namespace glint::player
