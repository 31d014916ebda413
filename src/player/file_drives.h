// Drive kinds and sizes on a POSIX host. A path's kind is that of the
// mount that holds it, read from the mount table: optical file systems are
// CD-ROM drives, network file systems remote drives, and a block device
// whose removable flag is set (or whose disk's flag is) a removable drive.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glint::player {

enum class DriveKind { kFixed, kOptical, kRemote, kRemovable };

struct MountEntry {
  std::string mount_point;
  std::string file_system;
  unsigned major = 0;
  unsigned minor = 0;
};

// The lines of /proc/self/mountinfo; malformed lines are skipped.
std::vector<MountEntry> parse_mount_table(std::string_view text);

// The entry whose mount point holds the canonical host path (the deepest
// one; the last mounted when several share a point), or null.
const MountEntry* mount_holding(const std::vector<MountEntry>& mounts, std::string_view path);

// The kind of a mount; `removable` answers for a block device.
DriveKind kind_of_mount(const MountEntry& mount, bool (*removable)(unsigned major, unsigned minor));

// The kind of the drive that holds the host path (the deepest part of it
// that exists), from this system's mount table.
DriveKind drive_kind(const std::string& host_path);

// Bytes in total and free for this user on the file system holding the
// host path (the deepest part of it that exists).
struct DriveSpace {
  uint64_t total = 0;
  uint64_t available = 0;
};
std::optional<DriveSpace> drive_space(const std::string& host_path);

// a x b, the largest value when it does not fit 64 bits.
uint64_t saturating_product(uint64_t a, uint64_t b);

// A byte count as a script number: at most 2,147,483,647.
int32_t clamp_to_number(uint64_t bytes);

}  // namespace glint::player
