#include "tools/assets/zip_writer.h"

#include "tools/assets/crc32.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <set>
#include <stdexcept>

namespace assets {
namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50u;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50u;
constexpr std::uint32_t kEndRecordSignature = 0x06054B50u;

constexpr std::uint16_t kVersionStored = 10; // format version 1.0 suffices for stored entries
constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kNoFlags = 0;
constexpr std::uint16_t kDosTimeMidnight = 0;
constexpr std::uint16_t kDosDate1980Jan1 = (1u << 5) | 1u; // month 1, day 1, year 1980 + 0

constexpr std::uint64_t kMax16 = std::numeric_limits<std::uint16_t>::max();
constexpr std::uint64_t kMax32 = std::numeric_limits<std::uint32_t>::max();

constexpr char kFirstPrintable = ' ';
constexpr char kLastPrintable = '~';

class ByteWriter {
public:
    void put16(std::uint64_t value) { putLittleEndian(value, 2); }
    void put32(std::uint64_t value) { putLittleEndian(value, 4); }
    void put(std::string_view text) { Bytes.insert(Bytes.end(), text.begin(), text.end()); }
    void put(const std::vector<std::uint8_t>& data) { Bytes.insert(Bytes.end(), data.begin(), data.end()); }
    std::uint64_t size() const { return Bytes.size(); }
    std::vector<std::uint8_t> take() { return std::move(Bytes); }

private:
    void putLittleEndian(std::uint64_t value, int byteCount) {
        for (int i = 0; i < byteCount; ++i)
            Bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }

    std::vector<std::uint8_t> Bytes;
};

struct PlacedEntry {
    std::string name;
    std::uint32_t crc;
    std::uint64_t size;
    std::uint64_t headerOffset;
};

bool isBadPart(std::string_view part) { return part.empty() || part == "." || part == ".."; }

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void requireFits(std::uint64_t value, std::uint64_t limit, const char* what) {
    if (value > limit)
        throw std::length_error(std::string("zip archive too large: ") + what);
}

// The fields that the local header and the central directory share, from
// "version needed" to the name length.
void putCommonFields(ByteWriter& out, const PlacedEntry& entry) {
    out.put16(kVersionStored);
    out.put16(kNoFlags);
    out.put16(kMethodStored);
    out.put16(kDosTimeMidnight);
    out.put16(kDosDate1980Jan1);
    out.put32(entry.crc);
    out.put32(entry.size); // compressed size: stored entries are not compressed
    out.put32(entry.size);
    out.put16(entry.name.size());
}

void putLocalHeader(ByteWriter& out, const PlacedEntry& entry) {
    out.put32(kLocalHeaderSignature);
    putCommonFields(out, entry);
    out.put16(0); // extra field length
    out.put(entry.name);
}

void putCentralHeader(ByteWriter& out, const PlacedEntry& entry) {
    out.put32(kCentralHeaderSignature);
    out.put16(kVersionStored); // version made by: MS-DOS attributes, format 1.0
    putCommonFields(out, entry);
    out.put16(0); // extra field length
    out.put16(0); // comment length
    out.put16(0); // disk number
    out.put16(0); // internal attributes
    out.put32(0); // external attributes
    out.put32(entry.headerOffset);
    out.put(entry.name);
}

void putEndRecord(ByteWriter& out, std::uint64_t count, std::uint64_t directoryOffset,
                  std::uint64_t directorySize) {
    out.put32(kEndRecordSignature);
    out.put16(0); // this disk
    out.put16(0); // disk with the central directory
    out.put16(count);
    out.put16(count);
    out.put32(directorySize);
    out.put32(directoryOffset);
    out.put16(0); // comment length
}

void rejectCaseDuplicates(const std::vector<PlacedEntry>& placed) {
    std::set<std::string> seen;
    for (const PlacedEntry& entry : placed)
        if (!seen.insert(lowerAscii(entry.name)).second)
            throw std::invalid_argument("duplicate zip entry name: " + entry.name);
}

} // namespace

std::string normalizeEntryName(std::string_view name) {
    std::string result(name);
    std::replace(result.begin(), result.end(), '\\', '/');
    const bool printable = std::all_of(result.begin(), result.end(), [](char c) {
        return c >= kFirstPrintable && c <= kLastPrintable;
    });
    if (!printable)
        throw std::invalid_argument("zip entry name must be printable ASCII: " + result);
    std::string_view rest = result;
    for (;;) {
        const auto slash = rest.find('/');
        if (isBadPart(rest.substr(0, slash)))
            throw std::invalid_argument("zip entry name is not a relative file path: " + result);
        if (slash == std::string_view::npos)
            break;
        rest.remove_prefix(slash + 1);
    }
    requireFits(result.size(), kMax16, "entry name");
    return result;
}

std::vector<std::uint8_t> buildZip(const std::vector<ZipEntry>& entries) {
    requireFits(entries.size(), kMax16, "entry count");
    ByteWriter out;
    std::vector<PlacedEntry> placed;
    placed.reserve(entries.size());
    for (const ZipEntry& entry : entries) {
        requireFits(entry.data.size(), kMax32, "entry size");
        placed.push_back({normalizeEntryName(entry.name),
                          crc32(entry.data.data(), entry.data.size()), entry.data.size(), out.size()});
        requireFits(out.size(), kMax32, "entry offset");
        putLocalHeader(out, placed.back());
        out.put(entry.data);
    }
    rejectCaseDuplicates(placed);

    const std::uint64_t directoryOffset = out.size();
    for (const PlacedEntry& entry : placed)
        putCentralHeader(out, entry);
    const std::uint64_t directorySize = out.size() - directoryOffset;
    requireFits(directoryOffset, kMax32, "central directory offset");
    requireFits(directorySize, kMax32, "central directory size");
    putEndRecord(out, placed.size(), directoryOffset, directorySize);
    return out.take();
}

} // namespace assets
