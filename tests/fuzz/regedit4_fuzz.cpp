// The REGEDIT4 reader and writer: whatever the reader accepts, written and
// read again, holds the same values, and writing that again gives the same
// text. A value of any type and bytes set on it survives the same way.

#include "platform/settings_store/regedit4.h"
#include "settings/schema.h"
#include "tests/fuzz/fuzz_support.h"

#include <algorithm>

namespace {

constexpr std::size_t kTypeBytes = 4;
constexpr std::size_t kMaxSetBytes = 64;

bool sameValues(const regedit4::Document& a, const regedit4::Document& b) {
    return std::equal(a.Sections.begin(), a.Sections.end(), b.Sections.begin(), b.Sections.end(),
                      [](const regedit4::Section& x, const regedit4::Section& y) {
                          return x.Key == y.Key &&
                                 std::equal(x.Values.begin(), x.Values.end(), y.Values.begin(), y.Values.end(),
                                            [](const regedit4::Value& v, const regedit4::Value& w) {
                                                return v.Name == w.Name && v.Type == w.Type && v.Data == w.Data;
                                            });
                      });
}

// Written and read back, the document must come back whole.
void requireRoundTrip(const regedit4::Document& document) {
    const std::string text = regedit4::format(document);
    std::string error;
    const auto again = regedit4::parse(text, error);
    fuzz::require(again.has_value(), "the writer's text reads back");
    fuzz::require(sameValues(document, *again), "the values read back are the values written");
    fuzz::require(regedit4::format(*again) == text, "writing what was read back gives the same text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::bytes(data, size);
    std::string error;
    auto document = regedit4::parse(input, error);
    if (!document) {
        fuzz::require(!error.empty(), "a refused file comes with a reason");
        return 0;
    }
    requireRoundTrip(*document);

    // The programs set values of their own into what they read.
    if (size >= kTypeBytes) {
        std::uint32_t type = 0;
        for (std::size_t i = 0; i < kTypeBytes; ++i)
            type |= static_cast<std::uint32_t>(data[i]) << (8 * i);
        const std::size_t length = std::min(size - kTypeBytes, kMaxSetBytes);
        std::vector<std::uint8_t> bytes(data + kTypeBytes, data + kTypeBytes + length);
        const std::string key = std::string("HKEY_LOCAL_MACHINE\\") + schema::kKeyPath;
        document->section(key).set(schema::kPixelsSize, type, std::move(bytes));
        requireRoundTrip(*document);
    }
    return 0;
}
