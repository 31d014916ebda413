// The comparison of IF and IFSET.
#pragma once

#include <string_view>

namespace glint::player {

// Numbers when both values are numeric text, else texts: byte by byte when
// the operator begins with '@', otherwise without regard to ASCII case.
// Operators: = > < >= <= <>; any other operator is false.
bool compare_values(std::string_view left, std::string_view op, std::string_view right);

}  // namespace glint::player
