#include "platform/settings_store/text_encoding.h"

#include <iconv.h>

namespace platform {

namespace {

// One UTF-16 unit gives at most three bytes of UTF-8, and a surrogate pair
// (two units) gives four.
constexpr std::size_t kUtf8BytesPerUnit = 3;
constexpr std::size_t kBytesPerUnit = 2;

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kConversionFailed = static_cast<std::size_t>(-1);

} // namespace

std::optional<std::string> utf16ToUtf8(std::string_view units, ByteOrder order) {
    if (units.size() % kBytesPerUnit != 0)
        return std::nullopt;
    const iconv_t converter = ::iconv_open("UTF-8", order == ByteOrder::LittleEndian ? "UTF-16LE" : "UTF-16BE");
    if (converter == kNoConverter)
        return std::nullopt;
    std::string out(units.size() / kBytesPerUnit * kUtf8BytesPerUnit, '\0');
    char* in = const_cast<char*>(units.data()); // iconv does not write through it
    std::size_t inLeft = units.size();
    char* put = out.data();
    std::size_t outLeft = out.size();
    const std::size_t result = ::iconv(converter, &in, &inLeft, &put, &outLeft);
    ::iconv_close(converter);
    if (result == kConversionFailed || inLeft != 0)
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace platform
