#pragma once

// A small zip archive writer: every entry stored uncompressed, with fixed
// timestamps so that the same input always gives the same bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace assets {

struct ZipEntry {
    std::string name; // relative path inside the archive, '/' between folders
    std::vector<std::uint8_t> data;
};

// Gives the name as it is stored: backslashes become forward slashes. Throws
// std::invalid_argument for a name a reader could not map to a relative file
// path: empty, absolute, with empty, "." or ".." parts, or with characters
// outside printable ASCII.
std::string normalizeEntryName(std::string_view name);

// Packs the entries in the given order. Throws std::invalid_argument for a bad
// name or two names that differ only in case (readers may ignore case), and
// std::length_error when the archive would exceed the classic zip limits.
std::vector<std::uint8_t> buildZip(const std::vector<ZipEntry>& entries);

} // namespace assets
