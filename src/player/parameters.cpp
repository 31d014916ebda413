#include "player/parameters.h"

#include "player/error_report.h"
#include "player/script_text.h"
#include "player/token_reader.h"

namespace glint::player {

std::string read_variable(Player& player) {
  std::string name;
  // An empty word consumed nothing; taking it as a name would let list
  // commands read the same spot forever.
  if (read_token(player, name, false) != TokenKind::kWord || name.empty()) {
    report_line_error(player, kNeedVariable);
  }
  return name;
}

int32_t read_number(Player& player) {
  std::string token;
  if (read_token(player, token, true) != TokenKind::kNumber) {
    report_line_error(player, kNeedNumber);
  }
  return text_to_int32(token);
}

std::string read_text(Player& player) {
  std::string token;
  if (read_token(player, token, true) == TokenKind::kEnd) {
    report_line_error(player, kNeedParameter);
  }
  return token;
}

std::string read_nonempty_text(Player& player) {
  std::string token;
  if (read_token(player, token, true) == TokenKind::kEnd || token.empty()) {
    report_line_error(player, kNeedNonEmpty);
  }
  return token;
}

bool parameters_done(const Player& player) {
  const std::string& params = player.parameters;
  return params.empty() || params.front() == '#' || params.front() == ';';
}

}  // namespace glint::player
