#include "player/file_drives.h"

#include <sys/statvfs.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

namespace glint::player {
namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 2> kOpticalSystems = {"iso9660", "udf"};
constexpr std::array<std::string_view, 16> kNetworkSystems = {
    "nfs",  "nfs4", "cifs",   "smb3", "smbfs",     "ncpfs",      "afs",         "9p",
    "ceph", "coda", "lustre", "gfs2", "glusterfs", "fuse.sshfs", "fuse.rclone", "davfs"};

template <std::size_t N>
bool is_one_of(const std::array<std::string_view, N>& names, std::string_view name) {
  for (std::string_view n : names)
    if (n == name) return true;
  return false;
}

// Mount points are written with octal escapes for blanks and backslashes.
std::string unescape(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string_view digits = field.substr(i + 1, 3);
      if (digits.size() == 3 && digits.find_first_not_of("01234567") == std::string_view::npos) {
        out += static_cast<char>(((digits[0] - '0') << 6) | ((digits[1] - '0') << 3) |
                                 (digits[2] - '0'));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

std::vector<std::string_view> fields_of(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && line[pos] == ' ') ++pos;
    const std::size_t end = std::min(line.find(' ', pos), line.size());
    if (end > pos) fields.push_back(line.substr(pos, end - pos));
    pos = end;
  }
  return fields;
}

bool parse_device(std::string_view text, unsigned& major, unsigned& minor) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string a(text.substr(0, colon));
  const std::string b(text.substr(colon + 1));
  if (a.empty() || b.empty() || a.find_first_not_of("0123456789") != std::string::npos ||
      b.find_first_not_of("0123456789") != std::string::npos || a.size() > 9 || b.size() > 9)
    return false;
  major = static_cast<unsigned>(std::stoul(a));
  minor = static_cast<unsigned>(std::stoul(b));
  return true;
}

bool sysfs_flag(const std::string& path) {
  std::ifstream in(path);
  char c = 0;
  return in.get(c) && c == '1';
}

// A partition's flag is its disk's: /sys/dev/block/M:m/removable exists for
// disks, the partition's directory sits inside the disk's.
bool block_device_removable(unsigned major, unsigned minor) {
  const std::string device =
      "/sys/dev/block/" + std::to_string(major) + ":" + std::to_string(minor);
  std::error_code error;
  const fs::path real = fs::canonical(device, error);
  if (error) return false;
  if (fs::exists(real / "removable", error)) return sysfs_flag((real / "removable").string());
  return sysfs_flag((real.parent_path() / "removable").string());
}

// The deepest part of the path that exists, canonical.
std::string existing_part(const std::string& host_path) {
  std::error_code error;
  fs::path path = fs::absolute(host_path, error);
  if (error) return {};
  while (!path.empty() && !fs::exists(path, error)) {
    if (path == path.parent_path()) return {};
    path = path.parent_path();
  }
  const fs::path canonical = fs::canonical(path, error);
  return error ? std::string() : canonical.string();
}

}  // namespace

std::vector<MountEntry> parse_mount_table(std::string_view text) {
  std::vector<MountEntry> mounts;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    const std::vector<std::string_view> fields = fields_of(text.substr(pos, end - pos));
    pos = end + 1;
    // id parent major:minor root mount-point options [optional...] - type source options
    std::size_t separator = 6;
    while (separator < fields.size() && fields[separator] != "-") ++separator;
    if (fields.size() < 7 || separator + 1 >= fields.size()) continue;
    MountEntry entry;
    if (!parse_device(fields[2], entry.major, entry.minor)) continue;
    entry.mount_point = unescape(fields[4]);
    entry.file_system = std::string(fields[separator + 1]);
    mounts.push_back(std::move(entry));
  }
  return mounts;
}

const MountEntry* mount_holding(const std::vector<MountEntry>& mounts, std::string_view path) {
  const MountEntry* best = nullptr;
  for (const MountEntry& mount : mounts) {
    const std::string_view point = mount.mount_point;
    const bool holds = point == "/" || path == point ||
                       (path.size() > point.size() && path.substr(0, point.size()) == point &&
                        path[point.size()] == '/');
    if (holds && (!best || point.size() >= best->mount_point.size())) best = &mount;
  }
  return best;
}

DriveKind kind_of_mount(const MountEntry& mount, bool (*removable)(unsigned, unsigned)) {
  if (is_one_of(kOpticalSystems, mount.file_system)) return DriveKind::kOptical;
  if (is_one_of(kNetworkSystems, mount.file_system)) return DriveKind::kRemote;
  // Device number 0 holds the virtual file systems (tmpfs, proc, overlay).
  if (mount.major != 0 && removable && removable(mount.major, mount.minor))
    return DriveKind::kRemovable;
  return DriveKind::kFixed;
}

DriveKind drive_kind(const std::string& host_path) {
  const std::string path = existing_part(host_path);
  if (path.empty()) return DriveKind::kFixed;
  std::ifstream in("/proc/self/mountinfo", std::ios::binary);
  const std::string table((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<MountEntry> mounts = parse_mount_table(table);
  const MountEntry* mount = mount_holding(mounts, path);
  return mount ? kind_of_mount(*mount, block_device_removable) : DriveKind::kFixed;
}

std::optional<DriveSpace> drive_space(const std::string& host_path) {
  const std::string path = existing_part(host_path);
  struct statvfs info {};
  if (path.empty() || statvfs(path.c_str(), &info) != 0) return std::nullopt;
  const uint64_t unit = info.f_frsize ? info.f_frsize : info.f_bsize;
  return DriveSpace{saturating_product(info.f_blocks, unit),
                    saturating_product(info.f_bavail, unit)};
}

uint64_t saturating_product(uint64_t a, uint64_t b) {
  if (a != 0 && b > std::numeric_limits<uint64_t>::max() / a)
    return std::numeric_limits<uint64_t>::max();
  return a * b;
}

int32_t clamp_to_number(uint64_t bytes) {
  constexpr uint64_t kLargest = 2147483647;
  return static_cast<int32_t>(bytes < kLargest ? bytes : kLargest);
}

}  // namespace glint::player
