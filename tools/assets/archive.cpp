#include "tools/assets/archive.h"

#include <zip.h>

#include <ctime>
#include <memory>
#include <stdexcept>

namespace assets {
namespace {

// The date libzip writes is local time; midnight of the zip format's first
// day, taken in local time, is stored as the same fields in every time zone.
std::time_t firstZipDay() {
    std::tm day{};
    day.tm_year = 1980 - 1900;
    day.tm_mon = 0;
    day.tm_mday = 1;
    day.tm_isdst = -1;
    return std::mktime(&day);
}

[[noreturn]] void fail(const char* what, zip_error_t* error) {
    const std::string reason = zip_error_strerror(error);
    zip_error_fini(error);
    throw std::runtime_error(std::string("cannot pack the archive: ") + what + ": " + reason);
}

void addEntry(zip_t* archive, const ZipEntry& entry, std::time_t date) {
    zip_source_t* data = zip_source_buffer(archive, entry.data.data(), entry.data.size(), 0);
    const zip_int64_t index = data ? zip_file_add(archive, entry.name.c_str(), data, ZIP_FL_ENC_GUESS) : -1;
    if (index < 0) {
        zip_source_free(data);
        fail(entry.name.c_str(), zip_get_error(archive));
    }
    const auto at = static_cast<zip_uint64_t>(index);
    if (zip_set_file_compression(archive, at, ZIP_CM_STORE, 0) != 0 || zip_file_set_mtime(archive, at, date, 0) != 0)
        fail(entry.name.c_str(), zip_get_error(archive));
}

std::vector<std::uint8_t> contents(zip_source_t* buffer) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(buffer, &stat) != 0 || zip_source_open(buffer) != 0)
        fail("reading it back", zip_source_error(buffer));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stat.size));
    const zip_int64_t got = zip_source_read(buffer, bytes.data(), bytes.size());
    zip_source_close(buffer);
    if (got != static_cast<zip_int64_t>(bytes.size()))
        fail("reading it back", zip_source_error(buffer));
    return bytes;
}

} // namespace

std::vector<std::uint8_t> buildZip(const std::vector<ZipEntry>& entries) {
    zip_error_t error;
    zip_error_init(&error);
    std::unique_ptr<zip_source_t, void (*)(zip_source_t*)> buffer(zip_source_buffer_create(nullptr, 0, 0, &error),
                                                                 zip_source_free);
    if (!buffer)
        fail("memory", &error);
    zip_t* archive = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error);
    if (!archive)
        fail("opening", &error);
    zip_source_keep(buffer.get()); // the archive's close would free it
    const std::time_t date = firstZipDay();
    try {
        for (const ZipEntry& entry : entries)
            addEntry(archive, entry, date);
    } catch (...) {
        zip_discard(archive);
        throw;
    }
    if (zip_close(archive) != 0) {
        zip_error_t* closing = zip_get_error(archive);
        zip_error_set(&error, zip_error_code_zip(closing), zip_error_code_system(closing));
        zip_discard(archive);
        fail("writing", &error);
    }
    zip_error_fini(&error);
    return contents(buffer.get());
}

} // namespace assets
