// Names of the files the user saves: each gets exactly one extension, the one
// its contents have, whatever the user typed in the dialog ("trail." becomes
// "trail.png", an animation typed as "anim.png" becomes "anim.gif").
#pragma once

#include <string>
#include <string_view>

namespace pm {

// The extension of the last part of a path, without its dot ("" for none;
// the dot of a hidden name such as ".gif" starts no extension).
std::string_view fileExtension(std::string_view path);

// The path with exactly one extension `extension` (without dot): kept when it
// has it already (in any case), exchanged for it when it has the extension of
// another picture or document type, appended otherwise; dots at the end of
// the name are dropped first.
std::string withExtension(std::string_view path, std::string_view extension);

}  // namespace pm
