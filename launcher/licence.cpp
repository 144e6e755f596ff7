#include "launcher/licence.h"

#include <array>
#include <cstdio>
#include <memory>

namespace launcher {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Reads one character in text mode: a CR directly followed by LF is one LF.
int getTextChar(std::FILE* file) {
    const int c = std::getc(file);
    if (c != '\r')
        return c;
    const int next = std::getc(file);
    if (next == '\n')
        return next;
    if (next != EOF)
        std::ungetc(next, file);
    return c;
}

} // namespace

std::optional<std::string> readTextFile(const char* path, std::size_t maxChars) {
    const File file(std::fopen(path, "r"));
    if (!file)
        return std::nullopt;
    std::string text;
    while (text.size() < maxChars) {
        const int c = getTextChar(file.get());
        if (c == EOF)
            break;
        text.push_back(static_cast<char>(c));
    }
    if (std::ferror(file.get()))
        return std::nullopt;
    // The text ends at its first zero byte, as a C string would.
    if (const std::size_t end = text.find('\0'); end != std::string::npos)
        text.resize(end);
    return text;
}

std::optional<std::string> readLicence(const char* installDir) {
    std::array<char, kLicencePathSize> path{};
    const int length = std::snprintf(path.data(), path.size(), "%s%s", installDir, kLicenceFileName);
    if (length < 0 || static_cast<std::size_t>(length) >= path.size())
        return std::nullopt;
    return readTextFile(path.data(), kLicenceMaxChars);
}

} // namespace launcher
