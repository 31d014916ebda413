// The token reader: every command takes its parameters through it, one
// token at a time from the front of player.parameters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "player/player.h"

namespace glint::player {

enum class TokenKind {
  kEnd,       // nothing left but separators
  kString,    // a quoted string, or a substituted word that is not numeric
  kNumber,    // a substituted word that is numeric text
  kWord,      // a word read without substitution: a variable name
  kCompare,   // = < > <= >= <> and the same after @
  kOperator,  // one of * / + | ^ % & and a '-' not before a digit
};

// %NAME% substitution stops after this many replacements, or once the text
// has grown past kMaxSubstitutedBytes, so self-referring values end. A
// 767-byte line holds at most 255 references, so every one of them is
// still replaced.
inline constexpr int kMaxSubstitutions = 256;
inline constexpr std::size_t kMaxSubstitutedBytes = 65536;

// Consumes one token and the separators after it. With `substitute`, a word
// that begins with a letter is replaced by the variable's value.
TokenKind read_token(Player& player, std::string& token, bool substitute);

// Replaces %NAME% references in a quoted string by the variables' values.
std::string substitute_references(const Player& player, std::string text);

}  // namespace glint::player
