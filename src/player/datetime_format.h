// Formatting a date and time with `^` codes (or `%` codes, which mean the
// same), as scripts write them for SYSTEMDATETIME. The codes and their forms
// are those of the "C" locale of the Windows runtime that scripts were
// written against (so ^c is "07/01/03 14:05:09"); a `#` after the mark drops
// leading zeros, or asks ^c and ^x for the long form. A code this formatter
// does not know is copied through as written.
#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace glint::player {

inline constexpr std::size_t kDateTimeResultMax = 767;

struct DateTime {
  int year = 1970;
  int month = 1;  // 1-12
  int day = 1;    // 1-31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int weekday = 4;   // 0 = Sunday
  int year_day = 0;  // 0-365
  long utc_offset_seconds = 0;
  std::string zone_name;
};

// A broken-down time from the C library (with its zone where it has one).
DateTime date_time_from_tm(const std::tm& when);

// The formatted text, at most kDateTimeResultMax bytes.
std::string format_date_time(std::string_view format, const DateTime& when);

}  // namespace glint::player
