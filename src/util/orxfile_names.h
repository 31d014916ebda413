// Moving files without ever replacing one that is there already.
#pragma once

namespace glint::orxfile {

// Result codes of ORXFileErase and ORXFileRename.
inline constexpr int kFileDone = 0;
inline constexpr int kFileMissing = 1;
inline constexpr int kFileFailed = 2;

// Host paths. A new name that exists already is left alone (kFileFailed).
int rename_no_replace(const char* from, const char* to);
// The same for file systems without an atomic no-replace rename: a second
// link under the new name, then the old name removed.
int rename_by_link(const char* from, const char* to);

}  // namespace glint::orxfile
