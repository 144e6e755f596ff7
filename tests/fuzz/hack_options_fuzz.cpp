// The screen saver's command line and the window ids the daemons hand it,
// fuzzed: the input's zero bytes split it into arguments, the first of which
// is $XSCREENSAVER_WINDOW when the first byte is odd. A place comes out
// only with a usable window id; anything refused says why; every id read
// is one that reads the same in the forms the daemons write.

#include "show/hack_options.h"
#include "tests/fuzz/fuzz_support.h"

#include <vector>

namespace {

std::vector<std::string> splitAtZeros(std::string_view input) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= input.size()) {
        const std::size_t end = std::min(input.find('\0', start), input.size());
        pieces.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

bool usableId(unsigned long id) { return id >= 1 && id <= kLargestWindowId; }

void requireIdReadsBack(const std::string& text) {
    const std::optional<unsigned long> id = parseWindowId(text.c_str());
    if (!id)
        return;
    fuzz::require(usableId(*id), "a window id read is one a window can have");
    fuzz::require(text.find_first_not_of("0123456789abcdefABCDEFxX") == std::string::npos,
                  "a window id read is written as a number alone");
    char again[32];
    for (const char* format : {"0x%lx", "0x%lX", "%lu"}) {
        std::snprintf(again, sizeof again, format, *id);
        fuzz::require(parseWindowId(again) == id, "the id reads the same in every form the daemons write");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    std::vector<std::string> pieces = splitAtZeros(fuzz::bytes(data + 1, size - 1));
    const bool hostGiven = (data[0] & 1) != 0;
    const std::string host = hostGiven ? pieces.front() : std::string();
    if (hostGiven)
        pieces.erase(pieces.begin());

    std::vector<const char*> argv{"quorvel3d"};
    for (const std::string& piece : pieces) {
        argv.push_back(piece.c_str());
        requireIdReadsBack(piece);
    }
    requireIdReadsBack(host);

    std::string problem;
    const std::optional<ShowPlace> place =
        hackPlace(static_cast<int>(argv.size()), argv.data(), hostGiven ? host.c_str() : nullptr, problem);
    if (!place) {
        fuzz::require(!problem.empty(), "a refused command line comes with a reason");
        return 0;
    }
    if (place->Where == ShowPlace::Kind::HostWindow)
        fuzz::require(usableId(place->HostWindow), "a host window has a usable id");
    return 0;
}
