// The pieces under the file commands that scripts cannot reach one by one:
// wildcard matching, target names, the mount table, byte counts and the
// FILELIST line.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "player/command_table.h"
#include "player/commands_system.h"
#include "player/file_drives.h"
#include "player/file_sandbox.h"
#include "player/file_slots.h"
#include "player/file_wildcards.h"
#include "player/player.h"
#include "player/startup.h"
#include "player/variable_access.h"
#include "support/temp_dir.h"

namespace glint::player {
namespace {

TEST(Wildcards, MatchLikeTheWindowsDirectorySearch) {
  const struct {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*.*", "readme", true},    {"*.*", "a.b.c", true},   {"*.*", ".hidden", true},
      {"*", "a.txt", true},       {"*.txt", "A.TXT", true}, {"*.txt", "a.txt.bak", false},
      {"*.txt", "a.b.txt", true}, {"*.txt", "txt", false},  {"*.", "readme", true},
      {"*.", "a.txt", false},     {"name.*", "name", true}, {"name.*", "name.x", true},
      {"name.*", "names", false}, {"?.txt", "a.txt", true}, {"?.txt", "ab.txt", false},
      {"a?.txt", "a.txt", true},  {"a??", "a", true},       {"a?c", "abc", true},
      {"a?c", "ac", false},       {"*b*", "abc", true},     {"*b*", "acd", false},
      {"abc", "ABC", true},       {"abc", "abcd", false},   {"*.t*", "x.tx", true},
      {"data", "Data", true},     {"*.txt", "", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(wildcard_match(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST(Wildcards, ManyStarsStayFast) {
  const std::string pattern = std::string(100, '*') + "x";
  EXPECT_FALSE(wildcard_match(pattern, std::string(255, 'a')));
  EXPECT_TRUE(wildcard_match(pattern, std::string(254, 'a') + "x"));
}

TEST(Wildcards, TargetNamesTakeTheSourcesCharacters) {
  const struct {
    const char* source;
    const char* pattern;
    const char* target;
  } cases[] = {
      {"C:\\d\\a.txt", "C:\\e\\b.*", "C:\\e\\b.txt"},
      {"C:\\d\\x.tmp", "C:\\d\\*.bak", "C:\\d\\x.bak"},
      {"C:\\d\\abc.txt", "C:\\d\\?x?.??t", "C:\\d\\axc.txt"},
      {"C:\\d\\a.txt", "C:\\d\\*_old.*", "C:\\d\\a_old.txt"},
      {"C:\\d\\readme.", "C:\\d\\*.*", "C:\\d\\readme."},
      {"C:\\d\\readme", "C:\\d\\*.bak", "C:\\d\\readme.bak"},
      {"C:\\d\\a.txt", "C:\\d\\b", "C:\\d\\b"},
      {"C:\\d\\a", "C:\\d\\???.x", "C:\\d\\a.x"},
      {"C:\\d\\f.t", "C:\\d\\*.tx*", "C:\\d\\f.tx"},
  };
  for (const auto& c : cases) EXPECT_EQ(target_name(c.source, c.pattern), c.target) << c.source;
}

TEST(Wildcards, TrailingDotsAreDroppedFromNamesOnly) {
  EXPECT_EQ(without_trailing_dots("C:\\d\\readme."), "C:\\d\\readme");
  EXPECT_EQ(without_trailing_dots("C:\\d\\a.txt.."), "C:\\d\\a.txt");
  EXPECT_EQ(without_trailing_dots("C:\\d\\.."), "C:\\d\\..");
  EXPECT_EQ(without_trailing_dots("..."), "...");
  EXPECT_EQ(without_trailing_dots("C:\\d\\"), "C:\\d\\");
}

constexpr const char* kMountTable =
    "22 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
    "30 22 0:25 / /tmp rw shared:5 - tmpfs tmpfs rw\n"
    "40 22 11:0 / /media/My\\040Disc ro - iso9660 /dev/sr0 ro\n"
    "41 22 0:50 / /net/share rw - nfs4 server:/export rw\n"
    "42 22 8:17 / /media/stick rw - vfat /dev/sdb1 rw\n"
    "43 22 8:17 / /media/stick rw - vfat /dev/sdb1 rw\n"
    "garbage line\n"
    "44 22 x:1 / /bad rw - ext4 /dev/x rw\n"
    "45 22 8:1 / /short rw -\n";

bool only_sdb_removable(unsigned major, unsigned minor) { return major == 8 && minor == 17; }

TEST(Drives, KindsComeFromTheMountTable) {
  const std::vector<MountEntry> mounts = parse_mount_table(kMountTable);
  ASSERT_EQ(mounts.size(), 6u);  // the malformed lines are skipped
  EXPECT_EQ(mounts[2].mount_point, "/media/My Disc");
  const struct {
    const char* path;
    DriveKind kind;
  } cases[] = {
      {"/home/me/show.gs", DriveKind::kFixed},           {"/tmp/x", DriveKind::kFixed},
      {"/media/My Disc/intro.gnt", DriveKind::kOptical}, {"/net/share", DriveKind::kRemote},
      {"/media/stick/a.txt", DriveKind::kRemovable},     {"/media/sticky", DriveKind::kFixed},
  };
  for (const auto& c : cases) {
    const MountEntry* mount = mount_holding(mounts, c.path);
    ASSERT_NE(mount, nullptr) << c.path;
    EXPECT_EQ(kind_of_mount(*mount, only_sdb_removable), c.kind) << c.path;
  }
  EXPECT_EQ(mount_holding({}, "/x"), nullptr);
}

TEST(Drives, ByteCountsAreFormedIn64BitsAndClamped) {
  // 4,096-byte blocks: 1,000,000 of them are 4 GB, past the 32 bits the
  // product was once formed in.
  EXPECT_EQ(saturating_product(1000000, 4096), 4096000000u);
  EXPECT_EQ(clamp_to_number(saturating_product(1000000, 4096)), 2147483647);
  EXPECT_EQ(clamp_to_number(2147483646), 2147483646);
  EXPECT_EQ(clamp_to_number(0), 0);
  EXPECT_EQ(saturating_product(UINT64_MAX / 2, 3), UINT64_MAX);
  EXPECT_EQ(saturating_product(0, UINT64_MAX), 0u);
}

TEST(FileList, NamesTheOpenFiles) {
  Player player;
  init_player(player);
  EXPECT_EQ(file_list_line(player, 3), "Number: 5003  File: (null)");
  EXPECT_FALSE(slot_of_number(player, "5003"));
}

TEST(FileFence, ConfinesChangesToOneDirectory) {
  glint::test::TempDir dir;
  EXPECT_TRUE(file_change_allowed("/anywhere/at/all"));
  confine_file_changes(dir.path());
  const struct {
    std::string path;
    bool allowed;
  } cases[] = {
      {dir.file("a.txt"), true},
      {dir.file("new/deeper/b.txt"), true},
      {dir.path(), false},  // the directory itself is never removed
      {dir.file("../escape.txt"), false},
      {dir.file("sub/../../escape.txt"), false},
      {dir.path() + "x/a.txt", false},  // a sibling that shares the prefix
      {std::string("/etc/passwd\0/../../", 19) + dir.path().substr(1) + "/a", false},
      {"/etc/passwd", false},
  };
  for (const auto& c : cases) EXPECT_EQ(file_change_allowed(c.path), c.allowed) << c.path;
  confine_file_changes("");
  EXPECT_TRUE(file_change_allowed("/anywhere/at/all"));
}

// Commands run one by one on a player, in process.
struct CommandRun {
  Player player;
  CommandRun() {
    init_player(player);
    start_player(player);
  }
  ~CommandRun() { close_all_files(player); }
  void command(const char* name, const std::string& parameters) {
    player.parameters = parameters;
    player.line_buffer = std::string(name) + " " + parameters;
    ++player.steps;
    command_table().handlers[*find_command(name)](player);
  }
};

// The print job lives in a slot; FILECLOSE of that slot ends the job, so a
// file that takes the slot next (perhaps even the freed record's address)
// receives no printed text.
TEST(FileList, ClosingThePrintJobsSlotEndsTheJob) {
  glint::test::TempDir dir;
  CommandRun run;
  run.command("PRINTBEGIN", "\"" + dir.file("job.txt") + "\"");
  ASSERT_TRUE(print_job_open(run.player));
  set_variable(run.player, "P", "5000");
  run.command("FILECLOSE", "P");
  EXPECT_FALSE(print_job_open(run.player));
  run.command("FILECREATE", "W \"" + dir.file("w.txt") + "\"");
  EXPECT_EQ(get_variable(run.player, "W"), "5000");
  EXPECT_FALSE(print_job_write(run.player, "printed"));
  run.command("FILECLOSE", "W");
  EXPECT_EQ(dir.read("w.txt"), "");
}

}  // namespace
}  // namespace glint::player
