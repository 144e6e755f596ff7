#include "tools/trace/trace_options.h"

#include "settings/show_settings.h"

#include <charconv>
#include <limits>

namespace {

template <typename Number>
bool parseNumber(const std::string& text, Number& out) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, out);
    return error == std::errc() && stop == end && !text.empty();
}

bool parseWatchList(const std::string& text, std::vector<std::int32_t>& out) {
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        std::int32_t index = 0;
        if (!parseNumber(text.substr(start, comma - start), index))
            return false;
        out.push_back(index);
        if (comma == text.size())
            return true;
        start = comma + 1;
    }
}

} // namespace

std::optional<TraceOptions> parseTraceOptions(const std::vector<std::string>& args, std::string& error) {
    TraceOptions options;
    bool haveSeed = false;
    std::optional<std::string> watch;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::string& name = args[i];
        if (i + 1 >= args.size()) {
            error = name + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[i + 1];
        bool good = true;
        if (name == "--seed")
            good = haveSeed = parseNumber(value, options.Seed);
        else if (name == "--pixels")
            good = parseNumber(value, options.Pixels);
        else if (name == "--color")
            good = parseNumber(value, options.Color);
        else if (name == "--frames")
            good = parseNumber(value, options.Frames) && options.Frames >= 0;
        else if (name == "--watch")
            watch = value;
        else {
            error = "unknown option " + name;
            return std::nullopt;
        }
        if (!good) {
            error = "bad number for " + name + ": " + value;
            return std::nullopt;
        }
    }
    if (!haveSeed) {
        error = "--seed is required";
        return std::nullopt;
    }
    options.Pixels = clampPixelCount(options.Pixels);
    if (!watch)
        options.Watch = {0, options.Pixels - 1};
    else if (!parseWatchList(*watch, options.Watch)) {
        error = "bad pixel list: " + *watch;
        return std::nullopt;
    }
    for (const std::int32_t index : options.Watch) {
        if (index < 0 || index >= options.Pixels) {
            error = "pixel " + std::to_string(index) + " is outside 0.." + std::to_string(options.Pixels - 1);
            return std::nullopt;
        }
    }
    return options;
}
