#include "player/trace.h"

#include <cstdio>
#include <string>

namespace glint::player {

bool tracing(const Player& player) {
  return player.debug_slot < kFileSlots && player.files[player.debug_slot] != nullptr;
}

void trace(Player& player, std::string_view bytes) {
  if (!tracing(player) || bytes.empty()) return;
  ORXFilePut(player.files[player.debug_slot], bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void trace_commit(Player& player) {
  if (!tracing(player)) return;
  ORXFileFlush(player.files[player.debug_slot], player.commit_debug_writes ? 1 : 0);
}

std::string line_number_field(uint32_t line_number) {
  char field[32];
  const std::string number = std::to_string(line_number) + ":";
  std::snprintf(field, sizeof field, "%-7.7s", number.c_str());
  return field;
}

void trace_line_head(Player& player) {
  if (!tracing(player)) return;
  trace(player, player.indentation + line_number_field(player.line_number) + player.line_buffer);
}

void trace_interpreted_head(Player& player) {
  if (!tracing(player)) return;
  trace(player,
        player.indentation + " -> " + line_number_field(player.line_number) + player.line_buffer);
}

void trace_line_end(Player& player) { trace(player, "\r\n"); }

void close_debug_file(Player& player) {
  if (player.debug_slot >= kFileSlots) {
    player.debug_slot = kNoDebugFile;
    return;
  }
  ORXFileClose(player.files[player.debug_slot]);
  player.files[player.debug_slot] = nullptr;
  player.debug_slot = kNoDebugFile;
}

void open_debug_file(Player& player, const std::string& name) {
  close_debug_file(player);
  if (name.empty() || !player.hooks.create_file) return;
  const int slot = free_file_slot(player);
  if (slot < 0) return;
  ORXFile* file = player.hooks.create_file(name.c_str());
  if (!file) return;  // a trace that cannot be created leaves debugging off
  player.files[static_cast<std::size_t>(slot)] = file;
  player.debug_slot = static_cast<uint8_t>(slot);
}

void indent(Player& player) { player.indentation += "  "; }

void outdent(Player& player) {
  // A RETURN that ends a script takes a level away before the script's own
  // end does; the indentation never shrinks below empty.
  const std::size_t drop = player.indentation.size() < 2 ? player.indentation.size() : 2;
  player.indentation.resize(player.indentation.size() - drop);
}

void print_listing(Player& player, const std::vector<std::string>& lines) {
  if (tracing(player)) {
    trace(player, "\r\n");
    for (const std::string& line : lines) {
      trace(player, line + "\r\n");
      trace_commit(player);
    }
  } else if (player.hooks.print_line) {
    for (const std::string& line : lines) player.hooks.print_line(player, line);
  }
}

}  // namespace glint::player
