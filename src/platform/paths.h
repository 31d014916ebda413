// Paths written for Windows on a POSIX file system.
//
// Scripts and command lines name files as Windows did: `\` or `/` between
// components, an optional drive letter, any letter case. Every file the
// system opens goes through `host_path`, which maps the drive through
// GLINT_DRIVE_<letter> (C: is / unless configured) and, where a component
// does not exist with the exact spelling, takes the entry of its directory
// that matches without regard to case.
//
// The Windows view of the file system (full paths, the current drive, one
// current directory per drive) is kept here as well, so the text helpers can
// answer as they did on Windows: the current drive is the drive whose root
// holds the process's working directory.
#pragma once

#include <string>
#include <string_view>

namespace glint::platform {

// The host (POSIX) path for a Windows-style or POSIX-style name. Components
// that exist only in another letter case are resolved to the existing entry;
// the rest keep their spelling, so the result also serves for creating.
// Empty when the name's drive is not mapped.
std::string host_path(std::string_view name);

// The host directory a drive letter maps to ("" when unmapped).
std::string drive_root(char letter);

// The Windows full form of a name, as the full-path routine gives it:
// "C:\dir\name", with `.` and `..` resolved and `/` turned into `\`.
// A trailing separator stays. Relative names start from the current directory
// of their drive.
std::string full_path(std::string_view name);

// The current drive letter (upper case) and the current directory of a drive
// in Windows form ("C:\dir", "C:\" at the root). 0 for an unmapped drive.
char current_drive();
std::string drive_directory(char letter);

// Makes a drive current (its own current directory becomes the working
// directory). False when the drive is unmapped or its directory is gone.
bool set_current_drive(char letter);

// Changes the current directory (and the current drive to the path's drive).
bool change_directory(std::string_view name);

}  // namespace glint::platform
