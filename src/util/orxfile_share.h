// Sharing rules between the files this process holds open.
//
// Every open record registers its file (device and inode) with the access
// it was opened for and what it lets others do meanwhile. A new open is
// refused when its access is not allowed by every record already holding
// the file, or when it would not allow theirs.
#pragma once

#include <sys/types.h>

#include <cstdint>

struct ORXFile;

namespace glint::orxfile {

// Access and share masks.
inline constexpr uint32_t kShareRead = 1;
inline constexpr uint32_t kShareWrite = 2;

// Registers `owner` for the file; false (and nothing registered) when it
// conflicts with a record that holds the file already.
bool share_acquire(const ORXFile* owner, dev_t device, ino_t inode, uint32_t access,
                   uint32_t share);
void share_release(const ORXFile* owner);
// True when some record of this process holds the file.
bool share_in_use(dev_t device, ino_t inode);

}  // namespace glint::orxfile
