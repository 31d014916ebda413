#include "player/variables.h"

#include <utility>

#include "util/text_blank.h"

namespace glint::player {
namespace {

// Bytes an entry occupies in the packed area: a mark before the name and one
// between name and value.
std::size_t entry_bytes(std::string_view name, std::string_view value) {
  return name.size() + 2 + value.size();
}

// Two bytes always stay free for the end mark.
constexpr std::size_t kEndMarkBytes = 2;

ScriptVar* find(VariableStore& store, std::string_view name) {
  for (ScriptVar& var : store.entries) {
    if (var.name == name) return &var;
  }
  return nullptr;
}

}  // namespace

std::string normalize_name(std::string_view name) {
  std::size_t begin = 0;
  std::size_t end = name.size();
  while (begin < end && util::is_blank(static_cast<unsigned char>(name[begin]))) ++begin;
  while (end > begin && util::is_blank(static_cast<unsigned char>(name[end - 1]))) --end;
  std::string result(name.substr(begin, end - begin));
  for (char& c : result) c = static_cast<char>(util::to_upper_ascii(static_cast<unsigned char>(c)));
  return result;
}

std::string_view store_get(const VariableStore& store, std::string_view name) {
  for (const ScriptVar& var : store.entries) {
    if (var.name == name) return var.value;
  }
  return {};
}

bool store_set(VariableStore& store, std::string_view name, std::string_view value) {
  ScriptVar* var = find(store, name);
  if (!var) {
    if (value.empty()) return true;
    const std::size_t needed = entry_bytes(name, value);
    if (store.used + needed + kEndMarkBytes > kVariableStoreBytes) return false;
    store.entries.push_back(ScriptVar{std::string(name), std::string(value)});
    store.used += needed;
    return true;
  }
  if (value.empty()) {
    store.used -= entry_bytes(var->name, var->value);
    store.entries.erase(store.entries.begin() + (var - store.entries.data()));
    return true;
  }
  const std::size_t new_used = store.used - var->value.size() + value.size();
  if (new_used + kEndMarkBytes > kVariableStoreBytes) return false;
  var->value.assign(value);
  store.used = new_used;
  return true;
}

namespace {
constexpr std::size_t kGroupMarkBytes = 3;
}  // namespace

bool stack_push_group(VariableStack& stack) {
  if (stack.used + kGroupMarkBytes > kVariableStackBytesMax) return false;
  stack.groups.emplace_back();
  stack.used += kGroupMarkBytes;
  return true;
}

bool stack_push(VariableStack& stack, std::string name, std::string value) {
  if (stack.groups.empty()) return false;
  const std::size_t bytes = entry_bytes(name, value);
  if (stack.used + bytes > kVariableStackBytesMax) return false;
  stack.groups.back().push_back(ScriptVar{std::move(name), std::move(value)});
  stack.used += bytes;
  return true;
}

std::vector<ScriptVar> stack_pop_group(VariableStack& stack) {
  if (stack.groups.empty()) return {};
  std::vector<ScriptVar> group = std::move(stack.groups.back());
  stack.groups.pop_back();
  stack.used -= kGroupMarkBytes;
  for (const ScriptVar& var : group) stack.used -= entry_bytes(var.name, var.value);
  return group;
}

}  // namespace glint::player
