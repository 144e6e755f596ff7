#pragma once

// The archive data01, packed by libzip: every entry stored uncompressed and
// dated 1 January 1980, so that the same pictures always give the same bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace assets {

struct ZipEntry {
    std::string name; // relative path inside the archive, '/' between folders
    std::vector<std::uint8_t> data;
};

// Packs the entries in the given order. Throws std::runtime_error with
// libzip's reason when it refuses an entry (two with one name, say).
std::vector<std::uint8_t> buildZip(const std::vector<ZipEntry>& entries);

} // namespace assets
