#pragma once

// What the fuzz targets share: a private scratch folder for the process and
// a check that stops the run, so that libFuzzer and the corpus replay both
// count a broken property as a crash.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>

// Where the sanitizers send their reports, which libFuzzer keeps when it
// closes the target's own stderr.
extern "C" void __sanitizer_report_error_summary(const char* summary) __attribute__((weak));

namespace fuzz {

inline void require(bool holds, const char* property) {
    if (holds)
        return;
    const std::string message = std::string("fuzz property broken: ") + property;
    std::fprintf(stderr, "%s\n", message.c_str());
    if (__sanitizer_report_error_summary)
        __sanitizer_report_error_summary(message.c_str());
    std::abort();
}

inline std::string_view bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A folder of this process's own, on a memory file system where there is
// one: the targets write and replace files on every input.
inline const std::filesystem::path& scratch() {
    static const std::filesystem::path folder = [] {
        std::error_code error;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "qvfuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        const std::filesystem::path made = pattern;
        static const struct Remover {
            std::filesystem::path Folder;
            ~Remover() {
                std::error_code ignored;
                std::filesystem::remove_all(Folder, ignored);
            }
        } remover{made};
        return made;
    }();
    return folder;
}

// Empties a folder inside the scratch folder, making it if needed.
inline std::filesystem::path freshFolder(const std::string& name) {
    const std::filesystem::path folder = scratch() / name;
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder);
    return folder;
}

inline void writeFile(const std::filesystem::path& file, std::string_view text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(text.data(), static_cast<std::streamsize>(text.size()));
}

inline std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace fuzz
