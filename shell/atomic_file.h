// Writing whole files so that a failed write never destroys what was there:
// every file the programs write (pictures, animations, states, set-ups) goes
// through writeFileAtomically. The bytes go to a temporary file beside the
// target, which replaces the target only once it is completely on disk; on a
// full disk, a missing permission or any other failure the old file stays
// byte for byte and no partial file remains.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pm {

// Replaces (or creates) the file at `path` with `bytes`. A file that exists
// keeps its permissions and, where allowed, its owner; a symbolic link is
// written through, to the file it names. A target that is not a regular file
// (a terminal, a pipe, /dev/null) cannot be replaced and is written directly.
// The path's bytes are used as given, whatever their encoding. False on
// failure, with the reason in German in `reason` ("kein Platz mehr auf dem
// Datenträger"); the caller names the file.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string& reason);

// The German reason for a failed file operation with the system error `code`.
std::string fileErrorReason(int code);

}  // namespace pm
