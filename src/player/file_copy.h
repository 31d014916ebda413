// Copying one file by name, the way FILECOPY does it.
#pragma once

#include <string>

namespace glint::player {

// Copies `source` to `target` (Windows full forms). The target is written
// as a temporary file beside it and renamed over it at the end, so a
// failed copy leaves an existing target as it was. Fails, without touching
// anything, when both names are the same file: the same name in any letter
// case, or another name for it (a link, a case variant the host resolves).
// Also fails when the target is a directory, read-only, or open in this
// process. The target gets the source's access and modification times.
bool copy_file(const std::string& source, const std::string& target);

}  // namespace glint::player
