// The xscreensaver list command on a fuzzed ~/.xscreensaver. The edit is the
// old file with our line inserted in one place; the daemon reads the old
// list with us at its end, and every other setting as before. The command
// writes exactly that edit, or leaves the file byte for byte as it was when
// it lists us already or cannot be handled. Only a file left open at its end
// (the daemon would read a setting added after it differently, or read the
// file itself differently) may be one it cannot handle.

#include "dist/xscreensaver/dot_file.h"
#include "dist/xscreensaver/programs_list.h"
#include "tests/fuzz/fuzz_support.h"

#include <algorithm>

namespace fs = std::filesystem;
using namespace xscreensaver;

namespace {

bool isOneInsertion(std::string_view before, std::string_view after) {
    if (after.size() <= before.size())
        return false;
    const std::size_t added = after.size() - before.size();
    const std::size_t at =
        static_cast<std::size_t>(std::mismatch(before.begin(), before.end(), after.begin()).first - before.begin());
    return after.substr(at + added) == before.substr(at);
}

std::size_t occurrences(std::string_view text, std::string_view part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The settings with the list the daemon uses taken out.
std::vector<Resource> withoutList(std::vector<Resource> resources) {
    const auto list =
        std::find_if(resources.rbegin(), resources.rend(), [](const Resource& r) { return isProgramsKey(r.Key); });
    if (list != resources.rend())
        resources.erase(std::next(list).base());
    return resources;
}

void requireSoundEdit(std::string_view before, std::string_view after) {
    fuzz::require(isOneInsertion(before, after), "the old file is kept whole, with one insertion");
    fuzz::require(occurrences(after, kQuorvelEntry) == occurrences(before, kQuorvelEntry) + 1,
                  "the insertion holds our entry");
    std::vector<std::string> expected = listedPrograms(before);
    expected.emplace_back(kQuorvelProgram);
    fuzz::require(listedPrograms(after) == expected, "the daemon reads the old list with us at its end");
    fuzz::require(withoutList(readResources(after)) == withoutList(readResources(before)),
                  "every other setting reads as before");
}

// Whether a setting written after the file reads as one of its own, and
// the file as it read before.
bool isClosed(std::string_view text) {
    std::vector<Resource> expected = readResources(text);
    expected.push_back({"z", "1"});
    return readResources(std::string(text) + "z: 1\n") == expected;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view before = fuzz::bytes(data, size);
    const bool listed = listsProgram(before, kQuorvelProgram);
    const bool closed = isClosed(before);
    const std::string edit = listed ? std::string(before) : withEntryAppended(before, kQuorvelEntry);
    if (!listed && closed)
        requireSoundEdit(before, edit);

    const fs::path file = fuzz::freshFolder("xscreensaver") / ".xscreensaver";
    fuzz::writeFile(file, before);
    const AddResult result = addQuorvelEntry(file);
    const std::string written = fuzz::readFile(file);
    switch (result.What) {
    case Outcome::AlreadyListed:
        fuzz::require(listed && written == before, "a file that lists us stays as it was");
        break;
    case Outcome::Added:
        fuzz::require(!listed && written == edit, "the command writes the edit");
        requireSoundEdit(before, written);
        break;
    case Outcome::Failed:
        fuzz::require(written == before && !result.Problem.empty(), "a file we cannot handle stays as it was");
        fuzz::require(!closed, "only a file left open at its end is one we cannot handle");
        break;
    case Outcome::Created:
        fuzz::require(false, "an existing file is never created afresh");
    }
    return 0;
}
