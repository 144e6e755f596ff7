// The licence reader on a fuzzed License.txt, from an install folder whose
// name the input lengthens: the text is the file with each CR LF read as
// one LF, cut after 16384 characters and at its first zero byte; a path
// too long for its buffer reads as no file, never past the buffer.

#include "launcher/licence.h"
#include "tests/fuzz/fuzz_support.h"

#include <cstring>

namespace {

// What the reader must give, worked out the plain way.
std::string expectedText(std::string_view file) {
    std::string text;
    for (std::size_t i = 0; i < file.size() && text.size() < launcher::kLicenceMaxChars; ++i) {
        if (file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n')
            continue; // the LF that follows stands for the pair
        text += file[i];
    }
    return text.substr(0, text.find('\0'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    // The first byte lengthens the folder's name by "./" steps that lead
    // nowhere else, up to past the path buffer.
    const std::filesystem::path folder = fuzz::freshFolder("licence");
    std::string installDir = folder.string() + "/";
    installDir.reserve(installDir.size() + 2 * (data[0] + 1));
    for (unsigned step = 0; step < data[0]; ++step)
        installDir += "./";
    const std::string_view file = fuzz::bytes(data + 1, size - 1);
    fuzz::writeFile(folder / launcher::kLicenceFileName, file);

    const std::optional<std::string> text = launcher::readLicence(installDir.c_str());
    const bool fits = installDir.size() + std::strlen(launcher::kLicenceFileName) < launcher::kLicencePathSize;
    fuzz::require(text.has_value() == fits, "the licence is found exactly when its path fits the buffer");
    if (text)
        fuzz::require(*text == expectedText(file), "the text is the file as text mode reads it, cut at the limit");
    return 0;
}
