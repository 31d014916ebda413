// The process-wide table of open files and their share modes.
#include "util/orxfile_share.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace glint::orxfile {
namespace {

struct Holder {
  const ORXFile* owner;
  dev_t device;
  ino_t inode;
  uint32_t access;
  uint32_t share;
};

std::mutex table_mutex;
std::vector<Holder>& table() {
  static std::vector<Holder> holders;
  return holders;
}

}  // namespace

bool share_acquire(const ORXFile* owner, dev_t device, ino_t inode, uint32_t access,
                   uint32_t share) {
  std::lock_guard lock(table_mutex);
  for (const Holder& h : table()) {
    if (h.device != device || h.inode != inode) continue;
    if ((access & ~h.share) != 0 || (h.access & ~share) != 0) return false;
  }
  table().push_back(Holder{owner, device, inode, access, share});
  return true;
}

void share_release(const ORXFile* owner) {
  std::lock_guard lock(table_mutex);
  std::erase_if(table(), [owner](const Holder& h) { return h.owner == owner; });
}

bool share_in_use(dev_t device, ino_t inode) {
  std::lock_guard lock(table_mutex);
  return std::any_of(table().begin(), table().end(),
                     [&](const Holder& h) { return h.device == device && h.inode == inode; });
}

}  // namespace glint::orxfile
