#include "player/comparison.h"

#include "player/script_text.h"

namespace glint::player {
namespace {

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int compare_texts(std::string_view a, std::string_view b, bool exact) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(exact ? a[i] : fold(a[i]));
    const auto y = static_cast<unsigned char>(exact ? b[i] : fold(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

bool compare_values(std::string_view left, std::string_view op, std::string_view right) {
  const bool exact = !op.empty() && op.front() == '@';
  if (exact) op.remove_prefix(1);

  int order;
  if (is_numeric_text(left) && is_numeric_text(right)) {
    const int32_t a = text_to_int32(left);
    const int32_t b = text_to_int32(right);
    order = a < b ? -1 : (a > b ? 1 : 0);
  } else {
    order = compare_texts(left, right, exact);
  }

  if (op == "=") return order == 0;
  if (op == ">") return order > 0;
  if (op == "<") return order < 0;
  if (op == ">=") return order >= 0;
  if (op == "<=") return order <= 0;
  if (op == "<>") return order != 0;
  return false;
}

}  // namespace glint::player
