#include "player/error_report.h"

#include <string>

#include "platform/platform.h"
#include "player/trace.h"

namespace glint::player {
namespace {

std::string location_tail(const Player& player, bool with_tail) {
  std::string tail(with_tail ? kReportTail : std::string_view{});
  if (!player.script_path.empty()) {
    tail += "  In script file: ";
    tail += player.script_path;
    tail += "  At line number: ";
    tail += std::to_string(player.line_number);
    tail += ".\r\n";
  }
  return tail;
}

}  // namespace

std::string error_box_text(const Player& player, std::string_view message, std::string_view detail,
                           bool with_tail) {
  // The box drops the first blank of the message; the trace keeps it.
  if (!message.empty() && message.front() == ' ') message.remove_prefix(1);
  std::string text(message);
  text += detail;
  text += location_tail(player, with_tail);
  if (text.size() > kBoxTextMax) text.resize(kBoxTextMax);
  return text;
}

void report_error(Player& player, std::string_view message, std::string_view detail,
                  bool with_tail) {
  // Close the window first so that the box is visible.
  screen_destroy(player);
  reset_text_defaults(player);

  if (tracing(player)) {
    std::string entry = "\r\n";
    entry += message;
    entry += detail;
    if (with_tail) entry += kReportTail;
    entry += "\r\n";
    trace(player, entry);
  }

  const std::string text = error_box_text(player, message, detail, with_tail);
  show_message_box(player, "Error", text.c_str(), platform::kMbOk | platform::kMbIconError);
  throw ScriptAbort{};
}

void report_line_error(Player& player, std::string_view message) {
  // The detail is copied: the report may outlive changes to the buffer.
  const std::string detail = player.line_buffer;
  report_error(player, message, detail, true);
}

void report_plain_error(Player& player, std::string_view message) {
  report_error(player, message, {}, false);
}

}  // namespace glint::player
