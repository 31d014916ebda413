#include "player/datetime_format.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace glint::player {
namespace {

constexpr std::array<const char*, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};

// Out-of-range fields (a hand-made DateTime) print as the nearest valid
// name instead of reading outside the tables.
const char* weekday_name(const DateTime& when) {
  const int index = when.weekday < 0 || when.weekday > 6 ? 0 : when.weekday;
  return kWeekdays[static_cast<std::size_t>(index)];
}

const char* month_name(const DateTime& when) {
  const int index = when.month < 1 || when.month > 12 ? 0 : when.month - 1;
  return kMonths[static_cast<std::size_t>(index)];
}

int twelve_hour(int hour) {
  const int h = hour % 12;
  return h == 0 ? 12 : h;
}

// `width` digits with leading zeros, or without them when `trim` (the `#`
// flag).
void append_number(std::string& out, long value, int width, bool trim) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%0*ld", trim ? 1 : width, value);
  out += digits;
}

void append_abbreviation(std::string& out, const char* name) { out.append(name, 3); }

void append_long_date(std::string& out, const DateTime& when) {
  out += weekday_name(when);
  out += ", ";
  out += month_name(when);
  out += ' ';
  append_number(out, when.day, 2, false);
  out += ", ";
  append_number(out, when.year, 4, false);
}

void append_short_date(std::string& out, const DateTime& when) {
  append_number(out, when.month, 2, false);
  out += '/';
  append_number(out, when.day, 2, false);
  out += '/';
  append_number(out, std::labs(when.year % 100), 2, false);
}

void append_time(std::string& out, const DateTime& when) {
  append_number(out, when.hour, 2, false);
  out += ':';
  append_number(out, when.minute, 2, false);
  out += ':';
  append_number(out, when.second, 2, false);
}

// The codes that print one number: its value and its width with zeros.
bool numeric_field(char code, const DateTime& when, long& value, int& width) {
  width = 2;
  // clang-format off
  switch (code) {
    case 'd': value = when.day; break;
    case 'H': value = when.hour; break;
    case 'I': value = twelve_hour(when.hour); break;
    case 'j': value = when.year_day + 1; width = 3; break;
    case 'm': value = when.month; break;
    case 'M': value = when.minute; break;
    case 'S': value = when.second; break;
    case 'U': value = (when.year_day + 7 - when.weekday) / 7; break;
    case 'w': value = when.weekday; width = 1; break;
    case 'W': value = (when.year_day + 7 - (when.weekday + 6) % 7) / 7; break;
    case 'y': value = std::labs(when.year % 100); break;
    case 'Y': value = when.year; width = 1; break;
    default: return false;
  }
  // clang-format on
  return true;
}

void append_zone_offset(std::string& out, long offset_seconds) {
  out += offset_seconds < 0 ? '-' : '+';
  const long minutes = std::labs(offset_seconds) / 60;
  append_number(out, minutes / 60, 2, false);
  append_number(out, minutes % 60, 2, false);
}

// Appends the conversion for `code`; false when the code is unknown.
bool append_conversion(std::string& out, char code, bool alternate, const DateTime& when) {
  long value = 0;
  int width = 0;
  if (numeric_field(code, when, value, width)) {
    append_number(out, value, width, alternate);
    return true;
  }
  // clang-format off
  switch (code) {
    case 'a': append_abbreviation(out, weekday_name(when)); return true;
    case 'A': out += weekday_name(when); return true;
    case 'b': append_abbreviation(out, month_name(when)); return true;
    case 'B': out += month_name(when); return true;
    case 'p': out += when.hour < 12 ? "AM" : "PM"; return true;
    case 'X': append_time(out, when); return true;
    case 'z': append_zone_offset(out, when.utc_offset_seconds); return true;
    case 'Z': out += when.zone_name; return true;
    case '%':
    case '^': out += '%'; return true;
    default: break;
  }
  // clang-format on
  if (code == 'c' || code == 'x') {
    if (alternate) {
      append_long_date(out, when);
    } else {
      append_short_date(out, when);
    }
    if (code == 'c') {
      out += alternate ? ", " : " ";
      append_time(out, when);
    }
    return true;
  }
  return false;
}

bool conversion_mark(char c) { return c == '^' || c == '%'; }

}  // namespace

DateTime date_time_from_tm(const std::tm& when) {
  DateTime out;
  out.year = when.tm_year + 1900;
  out.month = when.tm_mon + 1;
  out.day = when.tm_mday;
  out.hour = when.tm_hour;
  out.minute = when.tm_min;
  out.second = when.tm_sec;
  out.weekday = when.tm_wday;
  out.year_day = when.tm_yday;
#if defined(__GLIBC__) || defined(__APPLE__) || defined(__FreeBSD__)
  out.utc_offset_seconds = when.tm_gmtoff;
  if (when.tm_zone) out.zone_name = when.tm_zone;
#endif
  return out;
}

std::string format_date_time(std::string_view format, const DateTime& when) {
  std::string out;
  std::size_t i = 0;
  while (i < format.size() && out.size() < kDateTimeResultMax) {
    const char c = format[i];
    if (!conversion_mark(c) || i + 1 >= format.size()) {
      out += c;
      ++i;
      continue;
    }
    std::size_t code_at = i + 1;
    const bool alternate = format[code_at] == '#';
    if (alternate) ++code_at;
    if (code_at >= format.size() || !append_conversion(out, format[code_at], alternate, when)) {
      // Unknown: the mark, the flag and the code stay as the script wrote them.
      const std::size_t end = std::min(code_at + 1, format.size());
      out.append(format.substr(i, end - i));
      i = end;
      continue;
    }
    i = code_at + 1;
  }
  if (out.size() > kDateTimeResultMax) out.resize(kDateTimeResultMax);
  return out;
}

}  // namespace glint::player
