#include "player/player.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/paths.h"
#include "platform/platform.h"
#include "player/display/display_hooks.h"
#include "player/display/screen.h"

namespace glint::player {
namespace {

// The buffered file layer keeps names of at most 127 bytes; a script with a
// longer path is read directly instead of being refused.
bool read_long_named_file(const std::string& path, std::string& bytes) {
  const std::string host = platform::host_path(path);
  std::error_code error;
  if (host.empty() || std::filesystem::is_directory(host, error)) return false;
  std::ifstream in(host, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Reads the whole script through a slot of the file table, so a script
// counts against the 64 open files like any other file while it is read.
bool read_script_file(Player& player, const std::string& path, std::string& bytes) {
  const int slot = free_file_slot(player);
  if (slot < 0) return false;
  if (path.size() >= ORXFILE_NAME_MAX) return read_long_named_file(path, bytes);
  ORXFile* file = ORXFileOpen(kScriptFileBuffer, path.c_str(), ORXFILE_READ);
  if (!file) return false;
  player.files[static_cast<std::size_t>(slot)] = file;

  bytes.clear();
  char chunk[16384];
  for (;;) {
    const uint32_t got = ORXFileGet(file, chunk, sizeof chunk);
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  ORXFileClose(file);
  player.files[static_cast<std::size_t>(slot)] = nullptr;
  return true;
}

ORXFile* create_file(const char* name) { return ORXFileCreate(kScriptFileBuffer, name); }

// A script may have switched the desktop to another resolution.
void restore_desktop_resolution(Player&) { display::set_screen_resolution(0); }

}  // namespace

void init_player(Player& player) {
  player = Player{};
  player.hooks.message_box = platform::message_box;
  player.hooks.read_script = read_script_file;
  player.hooks.create_file = create_file;
  player.hooks.restore_display_mode = restore_desktop_resolution;
  display::install_display_hooks(player.hooks);
}

int free_file_slot(const Player& player) {
  for (std::size_t i = 0; i < player.files.size(); ++i) {
    if (!player.files[i]) return static_cast<int>(i);
  }
  return -1;
}

void close_all_files(Player& player) {
  for (ORXFile*& file : player.files) {
    if (file) ORXFileClose(file);
    file = nullptr;
  }
  player.debug_slot = kNoDebugFile;
}

void reset_text_defaults(Player& player) {
  player.text_color = 7;
  player.text_back_color = 0;
  player.text_trans_color = 128;
}

void screen_destroy(Player& player) {
  if (player.hooks.screen_destroy) player.hooks.screen_destroy(player);
}

void restore_display_mode(Player& player) {
  if (player.hooks.restore_display_mode) player.hooks.restore_display_mode(player);
}

bool has_window(const Player& player) {
  return player.hooks.has_window && player.hooks.has_window(player);
}

void service_between_lines(Player& player) {
  if (player.hooks.service) player.hooks.service(player);
}

int show_message_box(Player& player, const char* caption, const char* text, unsigned style) {
  if (!player.hooks.message_box) return platform::default_answer(style);
  return player.hooks.message_box(caption, text, style);
}

}  // namespace glint::player
