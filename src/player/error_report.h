// The one error report of the player. Every script error shows one box that
// names the script file and line, is copied into the debug trace, and ends
// the whole run by unwinding to the start-up.
#pragma once

#include <string_view>

#include "player/player.h"

namespace glint::player {

// The messages. Those followed by a detail end with a line break and four
// blanks so the detail appears indented on the next line of the box.
inline constexpr std::string_view kNeedVariable = "  Needed a variable in command:\r\n    ";
inline constexpr std::string_view kNeedNumber = "  Needed a number in command:\r\n    ";
inline constexpr std::string_view kNeedParameter = "  Needed a parameter in command:\r\n    ";
inline constexpr std::string_view kNeedNonEmpty =
    "  Needed a non-empty parameter in command:\r\n    ";
inline constexpr std::string_view kBadCommand = "  Bad script command:\r\n    ";
inline constexpr std::string_view kLabelNotFound = "  Label not found:\r\n    ";
inline constexpr std::string_view kTooManyLabels = "  Too many labels.";
inline constexpr std::string_view kTooManyGosubs = "  Too many GOSUBs.";
inline constexpr std::string_view kErrorOpeningScript =
    "  Error opening script in command:\r\n    ";
inline constexpr std::string_view kErrorOpening = "  Error opening:\r\n    ";
inline constexpr std::string_view kComputeError = "  Error in compute command:\r\n    ";
inline constexpr std::string_view kUnknownOperator = "  Unknown operator in command:\r\n    ";
inline constexpr std::string_view kNoWindow =
    "  A window hasn't been created yet (use ScreenGraphics first).\r\n";
inline constexpr std::string_view kBadAnimation = "  Bad animation parameter:\r\n    ";
inline constexpr std::string_view kBadFrame = "  Bad frame parameter:\r\n    ";
inline constexpr std::string_view kBadFile = "  Bad file parameter:\r\n    ";
inline constexpr std::string_view kCouldNotAddMouseArea =
    "  Could not add mouse area in command:\r\n    ";
inline constexpr std::string_view kZeroDimension = "  Zero dimension in command:\r\n    ";
// A command of a family this player does not provide yet.
inline constexpr std::string_view kNotAvailable =
    "  Command not available in this player yet:\r\n    ";

inline constexpr std::string_view kReportTail = "\r\n";
inline constexpr std::size_t kBoxTextMax = 2047;

// Thrown by the report once the box has been shown; only the start-up
// catches it. Private to the player: it never crosses the C interface.
struct ScriptAbort {};

// The report: message, optional detail, and the line-break tail when asked.
[[noreturn]] void report_error(Player& player, std::string_view message, std::string_view detail,
                               bool with_tail);

// The common case: the message with the line buffer as detail and the tail.
[[noreturn]] void report_line_error(Player& player, std::string_view message);

// A message with neither detail nor tail.
[[noreturn]] void report_plain_error(Player& player, std::string_view message);

// The text the box shows (without the caption); exposed for tests.
std::string error_box_text(const Player& player, std::string_view message, std::string_view detail,
                           bool with_tail);

}  // namespace glint::player
