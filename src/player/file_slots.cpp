#include "player/file_slots.h"

#include <cstdio>

#include "player/commands_system_state.h"
#include "player/error_report.h"
#include "player/script_text.h"
#include "player/token_reader.h"
#include "player/trace.h"

namespace glint::player {

std::optional<std::size_t> slot_of_number(const Player& player, std::string_view text) {
  if (!is_numeric_text(text)) return std::nullopt;
  const int64_t number = text_to_int32(text);
  const int64_t slot = number - kFirstFileNumber;
  if (slot < 0 || slot >= static_cast<int64_t>(kFileSlots)) return std::nullopt;
  if (!player.files[static_cast<std::size_t>(slot)]) return std::nullopt;
  return static_cast<std::size_t>(slot);
}

ORXFile* read_file_parameter(Player& player) {
  std::string token;
  const TokenKind kind = read_token(player, token, true);
  const std::optional<std::size_t> slot =
      kind == TokenKind::kNumber ? slot_of_number(player, token) : std::nullopt;
  if (!slot) report_line_error(player, kBadFile);
  return player.files[*slot];
}

int32_t open_in_free_slot(Player& player, ORXFile* (*open)(const std::string& name),
                          const std::string& name) {
  const int slot = free_file_slot(player);
  if (slot < 0) return 0;
  ORXFile* file = open(name);
  if (!file) return 0;
  player.files[static_cast<std::size_t>(slot)] = file;
  return kFirstFileNumber + slot;
}

void close_slot(Player& player, std::size_t slot) {
  if (slot >= kFileSlots) return;
  if (slot == player.debug_slot) {
    close_debug_file(player);
    return;
  }
  // The print job ends with its file: a file that later gets the slot (or
  // the freed record's address) must not receive printed text.
  SystemState& system = system_state(player);
  if (slot == system.print_slot) {
    system.print_slot = kNoPrintJob;
    system.print_file = nullptr;
  }
  ORXFileClose(player.files[slot]);
  player.files[slot] = nullptr;
}

std::string file_list_line(const Player& player, std::size_t slot) {
  ORXFile* file = slot < kFileSlots ? player.files[slot] : nullptr;
  const char* name = file ? ORXFileGetName(file, nullptr) : nullptr;
  std::string line = "Number: " + std::to_string(kFirstFileNumber + static_cast<int>(slot));
  line += "  File: ";
  line += name ? name : "(null)";
  return line;
}

}  // namespace glint::player
