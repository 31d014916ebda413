// The date formatter of SYSTEMDATETIME on a fixed date.
#include <gtest/gtest.h>

#include "player/datetime_format.h"

namespace glint::player {
namespace {

// Tuesday, 1 July 2003, 14:05:09, the 182nd day of the year.
DateTime july_first() {
  DateTime when;
  when.year = 2003;
  when.month = 7;
  when.day = 1;
  when.hour = 14;
  when.minute = 5;
  when.second = 9;
  when.weekday = 2;
  when.year_day = 181;
  when.utc_offset_seconds = -5 * 3600;
  when.zone_name = "EST";
  return when;
}

TEST(DateTimeFormat, CodesInTheRuntimeForms) {
  const struct {
    const char* format;
    const char* expected;
  } cases[] = {
      {"^Y-^m-^d", "2003-07-01"},
      {"%H:%M:%S", "14:05:09"},  // '%' marks a code as '^' does
      {"^a ^A ^b ^B", "Tue Tuesday Jul July"},
      {"^c", "07/01/03 14:05:09"},
      {"^x|^X", "07/01/03|14:05:09"},
      {"^#c", "Tuesday, July 01, 2003, 14:05:09"},
      {"^#x", "Tuesday, July 01, 2003"},
      {"^I ^p ^y", "02 PM 03"},
      {"^#d.^#m. ^#H^#M", "1.7. 145"},
      {"^j ^U ^W ^w", "182 26 26 2"},
      {"^z ^Z", "-0500 EST"},
      {"100^^ 100%%", "100% 100%"},
      {"plain text", "plain text"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(format_date_time(c.format, july_first()), c.expected) << c.format;
}

TEST(DateTimeFormat, UnknownCodesAreCopiedAsWritten) {
  const struct {
    const char* format;
    const char* expected;
  } cases[] = {
      {"^q^Y", "^q2003"}, {"%q", "%q"},       {"^#q", "^#q"},
      {"^E^n", "^E^n"},  // codes the C library would take are not ours
      {"end^", "end^"},   {"end^#", "end^#"}, {"^", "^"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(format_date_time(c.format, july_first()), c.expected) << c.format;
}

TEST(DateTimeFormat, MidnightNoonAndOddFields) {
  DateTime when = july_first();
  when.hour = 0;
  EXPECT_EQ(format_date_time("^I ^p", when), "12 AM");
  when.hour = 12;
  EXPECT_EQ(format_date_time("^I ^p", when), "12 PM");
  // Fields out of range never read outside the name tables.
  when.weekday = 9;
  when.month = 0;
  EXPECT_EQ(format_date_time("^A ^B ^a ^b", when), "Sunday January Sun Jan");
}

TEST(DateTimeFormat, ResultIsCutToALine) {
  std::string format;
  for (int i = 0; i < 500; ++i) format += "^Y";
  EXPECT_EQ(format_date_time(format, july_first()).size(), kDateTimeResultMax);
  EXPECT_EQ(format_date_time(std::string(2000, 'x'), july_first()).size(), kDateTimeResultMax);
}

TEST(DateTimeFormat, FromTheCLibrary) {
  std::tm when{};
  when.tm_year = 103;
  when.tm_mon = 6;
  when.tm_mday = 1;
  when.tm_hour = 14;
  when.tm_wday = 2;
  when.tm_yday = 181;
  EXPECT_EQ(format_date_time("^A ^Y-^m-^d ^H ^j", date_time_from_tm(when)),
            "Tuesday 2003-07-01 14 182");
}

}  // namespace
}  // namespace glint::player
