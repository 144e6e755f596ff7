// The screen saver's command line and the window ids the daemons hand it,
// fuzzed: the input's zero bytes split it into arguments, the first of which
// is $XSCREENSAVER_WINDOW when the first byte is odd. A place comes out
// only with a usable window id; anything refused says why; every choice
// taken is one the options dialog offers; every id read is one that reads
// the same in the forms the daemons write.

#include "settings/choice_table.h"
#include "show/hack_options.h"
#include "tests/fuzz/fuzz_support.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned long kLargestWindowId = 0x1FFFFFFFUL; // X resource ids have 29 bits

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

std::optional<unsigned long> windowIdOf(std::string_view text) {
    const auto parsed = parseHackOptions({"--window-id", text}, std::nullopt);
    const auto* options = std::get_if<HackOptions>(&parsed);
    if (!options || options->Place.Where != ShowPlace::Kind::HostWindow)
        return std::nullopt;
    return options->Place.HostWindow;
}

void requireIdReadsBack(const std::string& text) {
    const std::optional<unsigned long> id = windowIdOf(text);
    if (!id)
        return;
    fuzz::require(usableId(*id), "a window id read is one a window can have");
    char again[32];
    for (const char* format : {"0x%lx", "0x%lX", "%lu"}) {
        std::snprintf(again, sizeof again, format, *id);
        fuzz::require(windowIdOf(again) == id, "the id reads the same in every form the daemons write");
    }
}

template <typename T> std::uint32_t bitsOf(T value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

template <typename T> void requireOffered(const std::optional<T>& chosen, choices::ListSetting setting) {
    if (chosen)
        fuzz::require(choices::matchingPosition(choices::list(setting), bitsOf(*chosen)).has_value(),
                      "a choice taken from the command line is one the options dialog offers");
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

    std::vector<std::string_view> args;
    for (const std::string& piece : pieces) {
        args.push_back(piece);
        requireIdReadsBack(piece);
    }
    requireIdReadsBack(host);

    const auto parsed = parseHackOptions(args, hostGiven ? std::optional<std::string_view>(host) : std::nullopt);
    if (const auto* failure = std::get_if<HackOptionsError>(&parsed)) {
        fuzz::require(!failure->Message.empty(), "a refused command line comes with a reason");
        return 0;
    }
    const HackOptions& options = std::get<HackOptions>(parsed);
    if (options.Place.Where == ShowPlace::Kind::HostWindow)
        fuzz::require(usableId(options.Place.HostWindow), "a host window has a usable id");
    const SettingsOverrides& chosen = options.Choices.Overrides;
    requireOffered(chosen.PixelsUsed, choices::ListSetting::Count);
    requireOffered(chosen.PixelsSize, choices::ListSetting::Size);
    requireOffered(chosen.PixelsColor, choices::ListSetting::Color);
    requireOffered(chosen.CameraDistance, choices::ListSetting::Distance);
    requireOffered(chosen.CameraSpeed, choices::ListSetting::Speed);
    return 0;
}
