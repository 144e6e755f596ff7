#include "show/archive_check.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>

namespace {

constexpr std::uint32_t kLocalSignature = 0x04034b50;   // "PK\3\4"
constexpr std::uint32_t kCentralSignature = 0x02014b50; // "PK\1\2"
constexpr std::uint32_t kEndSignature = 0x06054b50;     // "PK\5\6"
constexpr std::size_t kLocalHeaderBytes = 30;
constexpr std::size_t kCentralHeaderBytes = 46;
constexpr std::size_t kEndRecordBytes = 22; // without its comment
constexpr std::size_t kLongestLength = 0x7FFF; // the engine reads lengths as signed 16 bits
constexpr std::uint16_t kEncrypted = 0x0001;
constexpr std::uint16_t kSizesAfterData = 0x0008; // the engine then reads the central directory
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;

class Bytes {
public:
    explicit Bytes(const std::vector<std::uint8_t>& bytes) : Data(bytes) {}
    std::size_t size() const { return Data.size(); }
    bool holds(std::size_t at, std::size_t count) const { return at <= Data.size() && count <= Data.size() - at; }
    std::uint16_t u16(std::size_t at) const { return static_cast<std::uint16_t>(Data[at] | Data[at + 1] << 8); }
    std::uint32_t u32(std::size_t at) const { return u16(at) | static_cast<std::uint32_t>(u16(at + 2)) << 16; }
    bool signatureAt(std::size_t at, std::uint32_t signature) const { return holds(at, 4) && u32(at) == signature; }

private:
    const std::vector<std::uint8_t>& Data;
};

// One local header and its data, within the file and of a kind the engine
// reads safely; gives where its data ends.
std::optional<std::size_t> localEntryEnd(const Bytes& file, std::size_t at, std::uint32_t dataSize) {
    if (!file.signatureAt(at, kLocalSignature) || !file.holds(at, kLocalHeaderBytes))
        return std::nullopt;
    const std::uint16_t flags = file.u16(at + 6);
    const std::uint16_t method = file.u16(at + 8);
    const std::size_t name = file.u16(at + 26);
    const std::size_t extra = file.u16(at + 28);
    if ((flags & kEncrypted) || (method != kStored && method != kDeflated) || name > kLongestLength ||
        extra > kLongestLength)
        return std::nullopt;
    const std::size_t data = at + kLocalHeaderBytes + name + extra;
    if (!file.holds(data, dataSize))
        return std::nullopt;
    return data + dataSize;
}

// The end record as the engine finds it: the last signature that starts at
// least a record's length before the end; its comment must run to the end.
std::optional<std::size_t> endRecord(const Bytes& file) {
    if (file.size() < kEndRecordBytes)
        return std::nullopt;
    for (std::size_t at = file.size() - kEndRecordBytes + 1; at-- > 0;)
        if (file.signatureAt(at, kEndSignature))
            return at + kEndRecordBytes + file.u16(at + 20) == file.size() ? std::optional(at) : std::nullopt;
    return std::nullopt;
}

// The central directory, walked from the offset the end record gives until
// the first header that is not a central one, as the engine walks it.
bool centralDirectoryIsSound(const Bytes& file, std::size_t end) {
    std::size_t at = file.u32(end + 16);
    while (file.signatureAt(at, kCentralSignature)) {
        if (!file.holds(at, kCentralHeaderBytes))
            return false;
        const std::uint32_t compressed = file.u32(at + 20);
        const std::uint16_t method = file.u16(at + 10);
        if ((method != kStored && method != kDeflated) || !localEntryEnd(file, file.u32(at + 42), compressed))
            return false;
        at += kCentralHeaderBytes + file.u16(at + 28) + file.u16(at + 30) + file.u16(at + 32);
    }
    return file.holds(at, 4); // the engine reads the header that ends the walk
}

} // namespace

bool isReadableArchive(const std::vector<std::uint8_t>& bytes) {
    const Bytes file(bytes);
    const std::optional<std::size_t> end = endRecord(file);
    if (!end)
        return false;
    // The engine reads the local headers one after another from the start,
    // until one that is not a local header or one whose sizes follow its data.
    std::size_t at = 0;
    while (file.signatureAt(at, kLocalSignature)) {
        if (!file.holds(at, kLocalHeaderBytes))
            return false;
        if (file.u16(at + 6) & kSizesAfterData)
            return localEntryEnd(file, at, 0) && centralDirectoryIsSound(file, *end);
        const std::optional<std::size_t> next = localEntryEnd(file, at, file.u32(at + 18));
        if (!next)
            return false;
        at = *next;
    }
    return true;
}

bool isReadableArchive(const char* path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return false;
    const std::streamoff size = in.tellg();
    if (size <= 0 || static_cast<std::size_t>(size) > kMaxArchiveBytes)
        return false;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    return static_cast<bool>(in.read(reinterpret_cast<char*>(bytes.data()), size)) && isReadableArchive(bytes);
}
