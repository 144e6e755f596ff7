#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The engine's zip reader trusts what an archive says: it searches a file
// without an end record for one forever, takes lengths from 16 bits with a
// sign (a name "longer" than 32 KiB asks it for a negative allocation),
// follows any offset and reads whatever size an entry claims. So an archive
// is handed to it only once its headers have been walked the way it walks
// them and every length and offset found lies within the file: plain or
// deflated, not encrypted, as the show's own archive and the common tools
// write them.
bool isReadableArchive(const char* path);
bool isReadableArchive(const std::vector<std::uint8_t>& bytes);

// Larger than seven pictures may ever make an archive.
inline constexpr std::size_t kMaxArchiveBytes = 128u << 20;
