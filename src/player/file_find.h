// The one directory search of FILEFIND and FILEFINDNEXT. It works on a
// snapshot of the matches taken by FILEFIND; a new FILEFIND replaces it.
// It lives in the Player (file_search) from the first FILEFIND on.
#pragma once

#include <string>
#include <string_view>

#include "player/player.h"

namespace glint::player {

// Starts a search: an empty pattern is "*.*", a directory stands for all
// its entries. The first match with its drive and directory, or empty
// (which ends the search).
std::string find_first(const Player& player, std::string_view pattern);

// The next match of the search, or empty at its end (which ends it).
std::string find_next(const Player& player);

}  // namespace glint::player
