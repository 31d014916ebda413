// The script's view of the 64-slot file table: file numbers 5000-5063.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "orxutil/orxutil.h"
#include "player/player.h"

namespace glint::player {

inline constexpr int32_t kFirstFileNumber = 5000;
// Line reads keep at most this many bytes (the line feed included).
inline constexpr uint32_t kLineBytes = 254;
inline constexpr int32_t kFileBuffer = 3072;

// The slot of a file number: numeric text in 5000-5063 naming an occupied
// slot.
std::optional<std::size_t> slot_of_number(const Player& player, std::string_view text);

// Reads a file number parameter; anything else reports "Bad file parameter".
ORXFile* read_file_parameter(Player& player);

// Opens a file with `open` in the first free slot. The slot is looked for
// first, so a full table never creates or empties a file. The file number,
// or 0 when there is no free slot or the open fails.
int32_t open_in_free_slot(Player& player, ORXFile* (*open)(const std::string& name),
                          const std::string& name);

// Closes the slot's file (buffered output is written) and empties the slot.
// The debug file's slot also turns the trace off, and the print job's slot
// ends the job, so nothing is left pointing at the closed file.
void close_slot(Player& player, std::size_t slot);

// "Number: 5001  File: name" for each occupied slot, in slot order.
std::string file_list_line(const Player& player, std::size_t slot);

}  // namespace glint::player
