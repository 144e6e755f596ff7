#pragma once

// Adding our entry to a user's xscreensaver preferences file on disk.

#include <filesystem>
#include <string>

namespace xscreensaver {

enum class Outcome { AlreadyListed, Added, Created, Failed };

struct AddResult {
    Outcome What = Outcome::Failed;
    std::filesystem::path File; // the file written or looked at, links followed where they can be
    std::string Problem;        // why it failed
};

// The file the daemon reads: .xscreensaver in the home folder of the user's
// account entry (the daemon does not look at $HOME). Empty when unknown.
std::filesystem::path defaultFile();

// Adds our entry unless the list has it. The new file replaces the old one in
// one rename in the same folder, with the old one's permissions; a file that
// changes while we work is read again.
AddResult addQuorvelEntry(const std::filesystem::path& file);

} // namespace xscreensaver
