// The variable store and the variable stack of the script language.
//
// Values are texts. The store keeps each variable as its own record, so any
// byte may appear in a name or value, but it accounts for space as one
// packed area of 32,768 bytes: an entry costs its name, its value and two
// marker bytes, and two bytes always stay free for the end mark. A variable
// whose value is empty does not exist.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace glint::player {

inline constexpr std::size_t kVariableStoreBytes = 32768;

struct ScriptVar {
  std::string name;  // upper case, no blanks at either end
  std::string value;
};

struct VariableStore {
  std::vector<ScriptVar> entries;  // in store order: oldest first
  std::size_t used = 0;            // bytes the packed area would hold
};

// The variable stack is not limited to 8,192 bytes, but it is bounded,
// counted the same way (three bytes a group, two bytes a variable
// besides its name and value): a variable that would pass the bound is not
// pushed, as a full store does not store.
inline constexpr std::size_t kVariableStackBytesMax = std::size_t{16} << 20;

// One VARPUSH group per element; each holds the names and the values they
// had when pushed (possibly empty).
struct VariableStack {
  std::vector<std::vector<ScriptVar>> groups;
  std::size_t used = 0;
};

// Starts a group, and pushes one variable into the newest group; false when
// the bound is reached (nothing is pushed then).
bool stack_push_group(VariableStack& stack);
bool stack_push(VariableStack& stack, std::string name, std::string value);
// The newest group, removed from the stack (empty when there is none).
std::vector<ScriptVar> stack_pop_group(VariableStack& stack);

// Trims (blank set) and upper-cases a variable name.
std::string normalize_name(std::string_view name);

// The value of a normalised name, or empty.
std::string_view store_get(const VariableStore& store, std::string_view name);

// Stores, replaces or (for an empty value) removes a variable. A store that
// would overflow is left as it was; returns false then.
bool store_set(VariableStore& store, std::string_view name, std::string_view value);

}  // namespace glint::player
