// Windows file attributes over POSIX: read-only is the absence of every
// write permission bit, hidden a name beginning with '.', directory and
// archive (every regular file) come from the file's kind, and system marks
// what is neither file nor directory (devices, pipes, sockets).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace glint::player {

inline constexpr uint32_t kAttributeReadOnly = 1;
inline constexpr uint32_t kAttributeHidden = 2;
inline constexpr uint32_t kAttributeSystem = 4;
inline constexpr uint32_t kAttributeDirectory = 16;
inline constexpr uint32_t kAttributeArchive = 32;

// The attributes of the entry `name` at `host_path`; 0 when it cannot be
// looked at.
uint32_t attributes_of(const std::string& host_path, std::string_view name);

// Sets what POSIX can hold: read-only clears every write bit, its absence
// gives the owner write permission back. Hidden, system and archive are
// kept by the name and kind of the file and cannot change here. False when
// the permissions cannot be changed.
bool set_attributes(const std::string& host_path, uint32_t attributes);

}  // namespace glint::player
