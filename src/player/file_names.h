// Script file names on the host: the Windows full form of a name as a
// script wrote it, and the host path it stands for.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glint::player {

// Blanks at both ends removed, then the Windows full form ("C:\dir\name").
// Empty when the name's drive is not mapped.
std::string full_form_of(std::string_view name);

// The host path of a Windows name, trailing dots of its last component
// dropped first as Windows does. Empty when the drive is not mapped.
std::string host_of(std::string_view windows_name);

}  // namespace glint::player

namespace glint::player {

// The chosen pieces of a path's full form, as the pieces helper gives them
// (an existing directory is all directory). Nothing when the path or its
// full form does not fit the helper's buffer.
std::optional<std::string> file_pieces(std::string_view path, bool drive, bool directory, bool name,
                                       bool extension);

}  // namespace glint::player
