// DELAY, DELAYUNTIL, SYSTEMTIMER, SYSTEMDATETIME and SOUND.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "orxutil/orxutil.h"
#include "platform/audio_tone.h"
#include "platform/platform.h"
#include "player/commands_system.h"
#include "player/commands_system_state.h"
#include "player/datetime_format.h"
#include "player/parameters.h"
#include "player/script_text.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

// Real waits sleep in short slices so window messages and the sound output
// are serviced often; the headless clock only moves when asked, so there the
// whole rest is slept at once.
constexpr uint32_t kWaitSliceMs = 1;
constexpr uint32_t kVirtualWaitSliceMs = 10;

void command_delay(Player& player) {
  const int32_t milliseconds = read_number(player);
  wait_until(player, ORXTimerRead() + static_cast<uint32_t>(milliseconds));
}

void command_delayuntil(Player& player) {
  wait_until(player, static_cast<uint32_t>(read_number(player)));
}

void command_systemtimer(Player& player) {
  const std::string name = read_variable(player);
  set_variable(player, name, int32_to_text(static_cast<int32_t>(ORXTimerRead())));
}

// "YYYY-MM-DD HH:MM:SS" (the time may be left out) as a UTC date.
bool parse_fixed_date(const char* text, std::tm& when) {
  when = std::tm{};
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  const int got =
      std::sscanf(text, "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute, &second);
  if (got != 3 && got != 6) return false;
  if (year < 1970 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 ||
      hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 60)
    return false;
  when.tm_year = year - 1900;
  when.tm_mon = month - 1;
  when.tm_mday = day;
  when.tm_hour = hour;
  when.tm_min = minute;
  when.tm_sec = second;
  return true;
}

// The local date and time. GLINT_DATE fixes the date (in UTC) that the
// run's first reading gives; later readings advance with the millisecond
// timer, so headless runs see a reproducible date that moves with their
// virtual clock.
DateTime current_date_time(Player& player) {
  if (const char* fixed = std::getenv("GLINT_DATE"); fixed && *fixed) {
    std::tm start{};
    if (parse_fixed_date(fixed, start)) {
      SystemState& state = system_state(player);
      const uint32_t timer_now = ORXTimerRead();
      if (!state.date_anchored) {
        state.date_anchored = true;
        state.date_anchor_ms = timer_now;
      }
      const uint32_t elapsed_ms = timer_now - state.date_anchor_ms;
      const std::time_t at = timegm(&start) + static_cast<std::time_t>(elapsed_ms / 1000);
      std::tm now{};
      if (gmtime_r(&at, &now)) {
        DateTime result = date_time_from_tm(now);
        result.utc_offset_seconds = 0;
        result.zone_name = "UTC";
        return result;
      }
    }
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (!localtime_r(&now, &local)) return DateTime{};
  return date_time_from_tm(local);
}

void command_systemdatetime(Player& player) {
  const std::string name = read_variable(player);
  const std::string format = read_text(player);
  set_variable(player, name, format_date_time(format, current_date_time(player)));
}

// There is no tone generator: the beep is the silent wait of its length,
// as on the systems that could not beep at a frequency.
// The beep plays through the audio device while the command waits; a
// frequency the beep cannot have, or no device, leaves a silent wait.
void command_sound(Player& player) {
  const int32_t frequency = read_number(player);
  const int32_t milliseconds = read_number(player);
  const uint32_t target = ORXTimerRead() + static_cast<uint32_t>(milliseconds);
  platform::Tone tone;
  if (!platform::tone_open(tone, frequency, milliseconds)) {
    wait_until(player, target);
    return;
  }
  // Keep half a second queued ahead, topped up every quarter second.
  constexpr uint32_t kAheadMs = 500;
  constexpr uint32_t kStepMs = 250;
  for (;;) {
    const int32_t left = static_cast<int32_t>(target - ORXTimerRead());
    if (left <= 0) break;
    platform::tone_feed(tone, kAheadMs);
    wait_until(player, ORXTimerRead() + std::min(static_cast<uint32_t>(left), kStepMs));
  }
  platform::tone_close(tone);
}

}  // namespace

void wait_until(Player& player, uint32_t target) {
  for (;;) {
    const int32_t left = static_cast<int32_t>(target - ORXTimerRead());
    if (left <= 0) return;
    service_between_lines(player);
    // The virtual clock jumps, but in steps short enough that the sound
    // output is fed and scripted input arrives on time.
    const uint32_t slice = platform::is_headless() ? kVirtualWaitSliceMs : kWaitSliceMs;
    platform::sleep_ms(std::min(static_cast<uint32_t>(left), slice));
  }
}

void register_system_time_commands(CommandTable& table) {
  register_command(table, "DELAY", command_delay);
  register_command(table, "DELAYUNTIL", command_delayuntil);
  register_command(table, "SOUND", command_sound);
  register_command(table, "SYSTEMDATETIME", command_systemdatetime);
  register_command(table, "SYSTEMTIMER", command_systemtimer);
}

}  // namespace glint::player
