#pragma once

// The "programs:" list of an xscreensaver preferences file, read the way the
// daemon reads it, and changed only by inserting bytes: whatever the user
// wrote stays as it was.

#include <string>
#include <string_view>
#include <vector>

namespace xscreensaver {

// Our entry, in the daemon's "visual: "name" command" form.
inline constexpr std::string_view kQuorvelEntry = "  GL: \"Quorvel 3D\" quorvel3d --root";
inline constexpr std::string_view kQuorvelProgram = "quorvel3d";

// One setting of the file, as the daemon reads it: the key, and the value
// with its escapes resolved and its surrounding blanks removed.
struct Resource {
    std::string Key;
    std::string Value;
    bool operator==(const Resource&) const = default;
};

// Every setting of the file in file order, comments and blank lines left out.
std::vector<Resource> readResources(std::string_view fileText);

// Whether a setting's key names the list (the daemon ignores its case).
bool isProgramsKey(std::string_view key);

// The program each entry of the last "programs:" setting (the one the daemon
// uses) runs, in list order, without its folder; disabled entries included.
std::vector<std::string> listedPrograms(std::string_view fileText);

// True when an entry of the last "programs:" setting (the one the daemon
// uses) runs `program`, by bare name or by path, enabled or not.
bool listsProgram(std::string_view fileText, std::string_view program);

// The file with `entry` appended to the end of the list, so that the other
// entries keep their numbers (the "selected:" setting counts them). Without a
// "programs:" setting, one is added at the end of the file.
std::string withEntryAppended(std::string_view fileText, std::string_view entry);

// A new file: a comment and a list holding only `entry`. The daemon adds the
// stock screen savers behind it and keeps its own defaults for every other
// setting.
std::string newFileText(std::string_view entry);

} // namespace xscreensaver
