#include "show/hack_options.h"

#include "settings/choice_table.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>

namespace {

constexpr unsigned long kLargestWindowId = 0x1FFFFFFFUL; // X resource ids have 29 bits
constexpr std::string_view kHostVariable = "XSCREENSAVER_WINDOW";
constexpr int kMonitorLimit = 64; // more than any display has

enum class OptionKind { Root, WindowId, Monitor, List, SwitchOn, SwitchOff, FrameRate, Help };

struct OptionSpec {
    std::string_view Name; // without its dashes
    OptionKind Kind;
    choices::ListSetting List = choices::ListSetting::Count;            // for OptionKind::List
    choices::CheckSettingId Check = choices::CheckSettingId::Background; // for the switches
    std::string_view What = "";                                          // for the lists' help
};

using choices::CheckSettingId;
using choices::ListSetting;

constexpr std::array<OptionSpec, 15> kOptions = {{
    {"root", OptionKind::Root},
    {"window-id", OptionKind::WindowId},
    {"monitor", OptionKind::Monitor},
    {"count", OptionKind::List, ListSetting::Count, {}, "the number of balls"},
    {"size", OptionKind::List, ListSetting::Size, {}, "the balls' size"},
    {"color", OptionKind::List, ListSetting::Color, {}, "the balls' picture"},
    {"distance", OptionKind::List, ListSetting::Distance, {}, "the camera's distance"},
    {"speed", OptionKind::List, ListSetting::Speed, {}, "the camera's speed"},
    {"sky", OptionKind::SwitchOn, ListSetting::Count, CheckSettingId::Background},
    {"no-sky", OptionKind::SwitchOff, ListSetting::Count, CheckSettingId::Background},
    {"lighting", OptionKind::SwitchOn, ListSetting::Count, CheckSettingId::Lighting},
    {"no-lighting", OptionKind::SwitchOff, ListSetting::Count, CheckSettingId::Lighting},
    {"fps", OptionKind::FrameRate},
    {"help", OptionKind::Help},
    {"h", OptionKind::Help},
}};

bool takesValue(OptionKind kind) {
    return kind == OptionKind::WindowId || kind == OptionKind::Monitor || kind == OptionKind::List;
}

// "--name", "-name", and either with "=value".
struct SplitArgument {
    std::string_view Name;
    std::optional<std::string_view> Value;
};

std::optional<SplitArgument> splitArgument(std::string_view arg) {
    if (arg.size() < 2 || arg[0] != '-')
        return std::nullopt;
    arg.remove_prefix(arg[1] == '-' ? 2 : 1);
    const std::size_t equals = arg.find('=');
    if (equals == std::string_view::npos)
        return SplitArgument{arg, std::nullopt};
    return SplitArgument{arg.substr(0, equals), arg.substr(equals + 1)};
}

const OptionSpec* findOption(std::string_view name) {
    for (const OptionSpec& entry : kOptions)
        if (entry.Name == name)
            return &entry;
    return nullptr;
}

// A window id as the daemons write it (0x...), or in decimal.
std::optional<unsigned long> parseWindowId(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    unsigned long id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || id == 0 ||
        id > kLargestWindowId)
        return std::nullopt;
    return id;
}

std::optional<int> parseMonitor(std::string_view text) {
    int monitor = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), monitor);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || monitor < 0 ||
        monitor >= kMonitorLimit)
        return std::nullopt;
    return monitor;
}

// Labels match whatever their case, with '-' or '_' for a space.
bool sameLabel(std::string_view given, std::string_view label) {
    if (given.size() != label.size())
        return false;
    for (std::size_t i = 0; i < given.size(); ++i) {
        const char g = given[i] == '-' || given[i] == '_' ? ' ' : given[i];
        if (std::tolower(static_cast<unsigned char>(g)) != std::tolower(static_cast<unsigned char>(label[i])))
            return false;
    }
    return true;
}

// The number as the list stores it, or nothing when the text is not wholly a
// number of the list's kind.
std::optional<std::uint32_t> numberBits(std::string_view text, choices::ValueKind kind) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (kind == choices::ValueKind::Integer) {
        std::int32_t value = 0;
        const auto [end, error] = std::from_chars(first, last, value);
        if (text.empty() || error != std::errc() || end != last)
            return std::nullopt;
        return static_cast<std::uint32_t>(value);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (text.empty() || error != std::errc() || end != last)
        return std::nullopt;
    return schema::floatBits(static_cast<float>(value));
}

std::optional<std::uint32_t> chosenBits(std::string_view text, const choices::ChoiceList& list) {
    for (std::size_t position = 0; position < list.Count; ++position)
        if (sameLabel(text, choices::choiceAt(list, position).Label))
            return choices::storedBits(choices::choiceAt(list, position), list.Kind);
    const std::optional<std::uint32_t> number = numberBits(text, list.Kind);
    if (number && choices::matchingPosition(list, *number))
        return number;
    return std::nullopt;
}

std::string choicesText(const choices::ChoiceList& list) {
    std::string text;
    for (std::size_t position = 0; position < list.Count; ++position) {
        const choices::SettingChoice& choice = choices::choiceAt(list, position);
        text += std::string(position == 0 ? "" : ", ") + choice.Label + " (" + choice.Value + ")";
    }
    return text;
}

void setList(SettingsOverrides& overrides, ListSetting setting, std::uint32_t bits) {
    const auto integer = static_cast<std::int32_t>(bits);
    switch (setting) {
    case ListSetting::Count: overrides.PixelsUsed = integer; break;
    case ListSetting::Size: overrides.PixelsSize = schema::bitsFloat(bits); break;
    case ListSetting::Color: overrides.PixelsColor = integer; break;
    case ListSetting::Distance: overrides.CameraDistance = schema::bitsFloat(bits); break;
    case ListSetting::Speed: overrides.CameraSpeed = schema::bitsFloat(bits); break;
    }
}

void setSwitch(SettingsOverrides& overrides, CheckSettingId setting, bool on) {
    if (setting == CheckSettingId::Background)
        overrides.UseBackground = on;
    else
        overrides.UseLighting = on;
}

HackOptionsError error(std::string message) { return HackOptionsError{std::move(message)}; }

// --root draws into the daemon's window where it names one.
std::optional<HackOptionsError> placeAtRoot(ShowPlace& place, std::optional<std::string_view> hostWindow) {
    place.Where = ShowPlace::Kind::RootWindow;
    if (!hostWindow)
        return std::nullopt;
    const auto id = parseWindowId(*hostWindow);
    if (!id)
        return error(std::string(kHostVariable) + "='" + std::string(*hostWindow) + "' is not a window id");
    place.Where = ShowPlace::Kind::HostWindow;
    place.HostWindow = *id;
    return std::nullopt;
}

} // namespace

std::variant<HackOptions, HackOptionsError> parseHackOptions(const std::vector<std::string_view>& args,
                                                             std::optional<std::string_view> hostWindow) {
    HackOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const std::optional<SplitArgument> split = splitArgument(arg);
        const OptionSpec* entry = split ? findOption(split->Name) : nullptr;
        if (!entry)
            return error("unknown option '" + std::string(arg) + "'");
        const std::string option = "--" + std::string(entry->Name);
        std::optional<std::string_view> value = split->Value;
        if (takesValue(entry->Kind) && !value) {
            if (i + 1 == args.size())
                return error(option + " wants a value");
            value = args[++i];
        } else if (!takesValue(entry->Kind) && value) {
            return error(option + " takes no value");
        }
        switch (entry->Kind) {
        case OptionKind::Root:
            if (auto failure = placeAtRoot(options.Place, hostWindow))
                return *failure;
            break;
        case OptionKind::WindowId: {
            const auto id = parseWindowId(*value);
            if (!id)
                return error("--window-id wants a window id such as 0x1e00007, not '" + std::string(*value) + "'");
            options.Place.Where = ShowPlace::Kind::HostWindow;
            options.Place.HostWindow = *id;
            break;
        }
        case OptionKind::Monitor:
            options.Place.Monitor = parseMonitor(*value);
            if (!options.Place.Monitor)
                return error("--monitor wants a monitor's number from 0 to " + std::to_string(kMonitorLimit - 1) +
                             ", not '" + std::string(*value) + "'");
            break;
        case OptionKind::List: {
            const choices::ChoiceList& list = choices::list(entry->List);
            const auto bits = chosenBits(*value, list);
            if (!bits)
                return error(option + " wants one of " + choicesText(list) + ", not '" + std::string(*value) + "'");
            setList(options.Choices.Overrides, entry->List, *bits);
            break;
        }
        case OptionKind::SwitchOn:
        case OptionKind::SwitchOff:
            setSwitch(options.Choices.Overrides, entry->Check, entry->Kind == OptionKind::SwitchOn);
            break;
        case OptionKind::FrameRate:
            options.Choices.ShowFrameRate = true;
            break;
        case OptionKind::Help:
            return HackOptions{{}, {}, true};
        }
    }
    if (options.Place.Monitor && options.Place.Where != ShowPlace::Kind::OwnWindow)
        return error("--monitor is for a window of the show's own, not for --root or --window-id");
    return options;
}

std::string hackUsage(std::string_view programName) {
    constexpr std::size_t kDescriptionColumn = 21; // where the descriptions begin
    const std::string name(programName);
    std::string text = "usage: " + name + " [--root | --window-id 0xWINDOW | --monitor N] [OPTION...]\n"
                       "\n"
                       "  --root             draw into $" + std::string(kHostVariable) +
                       ", else into the root window\n"
                       "  --window-id ID     draw into that window (a settings preview)\n"
                       "                     neither: a full-screen window of its own\n"
                       "  --monitor N        that window on monitor N (0 first), not the primary\n"
                       "\n"
                       "Each of these wins over the settings file for this run only; the\n"
                       "file (as \"Quorvel 3D Options\" wrote it) is never changed. A choice\n"
                       "is a label (any case, '-' for a space) or its number.\n"
                       "\n";
    for (const OptionSpec& entry : kOptions) {
        if (entry.Kind != OptionKind::List)
            continue;
        std::string option = "  --" + std::string(entry.Name) + " CHOICE";
        option.resize(kDescriptionColumn, ' ');
        text += option + std::string(entry.What) + ":\n" + std::string(kDescriptionColumn, ' ') +
                choicesText(choices::list(entry.List)) + "\n";
    }
    text += "  --sky, --no-sky    the sky box (\"Use Background Image\")\n"
            "  --lighting, --no-lighting\n"
            "                     a light circles the swarm (\"Use Lighting Effects\")\n"
            "  --fps              the frame rate in a corner of the view\n"
            "  --help             this text\n";
    return text;
}
