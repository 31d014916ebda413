// Arithmetic: COMPUTE, COMPUTEABS, COMPUTESQRT, RANDOM and RANDOMIZE.
#include <string>

#include "player/arithmetic.h"
#include "player/command_table.h"
#include "player/error_report.h"
#include "player/parameters.h"
#include "player/script_text.h"
#include "player/token_reader.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

void command_compute(Player& player) {
  const std::string variable = read_variable(player);

  std::string token;
  TokenKind kind = read_token(player, token, true);
  if (token == "=") {
    kind = read_token(player, token, true);
    if (kind != TokenKind::kNumber) report_line_error(player, kNeedNumber);
  } else if (kind != TokenKind::kNumber) {
    report_line_error(player, kComputeError);
  }
  const int32_t a = text_to_int32(token);

  std::string op_token;
  if (read_token(player, op_token, true) == TokenKind::kEnd) {
    report_line_error(player, kNeedParameter);
  }
  const char op = op_token.empty() ? '\0' : op_token.front();

  int32_t b;
  if (op == '-' && op_token.size() > 1) {
    // "A -1": the reader took "-1" as one number; it is minus and 1.
    b = text_to_int32(std::string_view(op_token).substr(1));
  } else {
    b = read_number(player);
  }

  const std::optional<int32_t> result = compute(a, op, b);
  if (!result) report_line_error(player, kUnknownOperator);
  store_number(player, variable, *result);
}

void command_computeabs(Player& player) {
  const std::string variable = read_variable(player);
  store_number(player, variable, absolute_value(read_number(player)));
}

void command_computesqrt(Player& player) {
  const std::string variable = read_variable(player);
  store_number(player, variable, rounded_square_root(read_number(player)));
}

void command_random(Player& player) {
  const std::string variable = read_variable(player);
  const int32_t max = read_number(player);
  store_number(player, variable, scale_random(draw_random(player.random_seed), max));
}

void command_randomize(Player& player) {
  player.random_seed = static_cast<uint32_t>(read_number(player));
}

}  // namespace

void register_arithmetic_commands(CommandTable& table) {
  register_command(table, "COMPUTE", command_compute);
  register_command(table, "COMPUTEABS", command_computeabs);
  register_command(table, "COMPUTESQRT", command_computesqrt);
  register_command(table, "RANDOM", command_random);
  register_command(table, "RANDOMIZE", command_randomize);
}

}  // namespace glint::player
