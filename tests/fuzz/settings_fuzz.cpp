// The settings key over a fuzzed settings file, read as both programs read
// it: the show's seven values with its clamping and defaults, the
// launcher's lists and check boxes, the install folder. Whatever the file
// holds, the values are usable, nothing the user had is lost, and a second
// start reads the same and writes nothing.

#include "settings/choice_table.h"
#include "platform/settings_store/regedit4.h"
#include "settings/schema.h"
#include "settings/settings_key.h"
#include "settings/show_settings.h"
#include "tests/fuzz/fuzz_support.h"

#include <cstring>

namespace fs = std::filesystem;

namespace {

const std::string kSection = std::string("HKEY_LOCAL_MACHINE\\") + schema::kKeyPath;
struct FloatSetting {
    const char* Name;
    schema::FloatSpan Span;
};
constexpr FloatSetting kFloats[] = {{schema::kPixelsSize, schema::kPixelsSizeSpan},
                                    {schema::kCameraDistance, schema::kCameraDistanceSpan},
                                    {schema::kCameraSpeed, schema::kCameraSpeedSpan}};
constexpr const char* kIntegerNames[] = {schema::kPixelsUsed, schema::kPixelsColor, schema::kUseLighting,
                                         schema::kUseBackground};

struct Folders {
    fs::path UserFile;
};

Folders prepare() {
    const fs::path root = fuzz::freshFolder("settings");
    const fs::path home = root / "home";
    const fs::path system = root / "system";
    fs::create_directories(system);
    ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", system.c_str(), 1);
    return {home / "quorvel3d" / "settings.reg"};
}

ShowSettings showStart() {
    ShowSettings settings = loadSettings();
    settings.PixelsUsed = clampPixelCount(settings.PixelsUsed);
    return settings;
}

void launcherOpens() {
    SettingsKey key;
    for (const choices::ChoiceList& list : choices::kLists) {
        const std::uint32_t stored = key.readDword(list.ValueName, list.DefaultBits);
        const std::size_t shown = choices::matchingPosition(list, stored).value_or(choices::defaultPosition(list));
        fuzz::require(shown < list.Count, "every list shows one of its entries");
    }
    for (const choices::CheckSetting& check : choices::kChecks)
        choices::isSwitchedOn(key.readDword(check.ValueName, check.DefaultBits));
    const char* folder = key.readText(schema::kInstallDir);
    fuzz::require(std::strlen(folder) < SettingsKey::kTextSize, "the install folder is a terminated text");
    key.close();
}

bool same(const ShowSettings& a, const ShowSettings& b) {
    return std::memcmp(&a.PixelsSize, &b.PixelsSize, sizeof(float)) == 0 &&
           std::memcmp(&a.CameraDistance, &b.CameraDistance, sizeof(float)) == 0 &&
           std::memcmp(&a.CameraSpeed, &b.CameraSpeed, sizeof(float)) == 0 && a.PixelsUsed == b.PixelsUsed &&
           a.PixelsColor == b.PixelsColor && a.UseLighting == b.UseLighting && a.UseBackground == b.UseBackground;
}

bool isOneOf(const std::string& name, const auto& names) {
    for (const char* known : names)
        if (regedit4::sameName(name, known))
            return true;
    return false;
}

const FloatSetting* floatNamed(const std::string& name) {
    for (const FloatSetting& setting : kFloats)
        if (regedit4::sameName(name, setting.Name))
            return &setting;
    return nullptr;
}

// A value the programs may replace: one of the seven that does not read as
// four bytes, or a float outside the span in which it can be drawn.
bool replaceable(const std::string& section, const regedit4::Value& value) {
    if (!regedit4::sameName(section, kSection))
        return false;
    const FloatSetting* asFloat = floatNamed(value.Name);
    if (!asFloat && !isOneOf(value.Name, kIntegerNames))
        return false;
    if (value.Data.size() != 4)
        return true;
    float number;
    std::memcpy(&number, value.Data.data(), sizeof number);
    return asFloat && !asFloat->Span.holds(number);
}

void requireKept(const regedit4::Document& before, const fs::path& file) {
    std::string error;
    const auto after = regedit4::parse(fuzz::readFile(file), error);
    fuzz::require(after.has_value(), "the file the programs wrote reads back");
    for (const regedit4::Section& section : before.Sections) {
        const regedit4::Section* now = after->find(section.Key);
        fuzz::require(now != nullptr, "every key of the file is kept");
        for (const regedit4::Value& value : section.Values) {
            const regedit4::Value* kept = now->find(value.Name);
            fuzz::require(kept != nullptr, "every value of the file is kept");
            if (replaceable(section.Key, value))
                fuzz::require(kept->Data.size() == 4, "a replaced value holds four bytes");
            else
                fuzz::require(kept->Type == value.Type && kept->Data == value.Data, "every usable value is kept as it was");
        }
    }
}

// A file that does not parse is kept aside byte for byte.
void requireKeptAside(const fs::path& file, std::string_view input) {
    bool found = false;
    for (const auto& entry : fs::directory_iterator(file.parent_path()))
        if (entry.path().filename().string().starts_with("settings.reg.damaged-"))
            found = found || fuzz::readFile(entry.path()) == input;
    fuzz::require(found, "a damaged file is kept aside as it was");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::bytes(data, size);
    const Folders folders = prepare();
    fuzz::writeFile(folders.UserFile, input);
    std::string error;
    const auto before = regedit4::parse(input, error);

    const ShowSettings first = showStart();
    fuzz::require(first.PixelsUsed >= schema::kMinPixels && first.PixelsUsed <= schema::kMaxPixels,
                  "the pixel count is within what the swarm holds");
    fuzz::require(schema::kPixelsSizeSpan.holds(first.PixelsSize) &&
                      schema::kCameraDistanceSpan.holds(first.CameraDistance) &&
                      schema::kCameraSpeedSpan.holds(first.CameraSpeed),
                  "sizes, distances and speeds lie where they can be drawn");
    launcherOpens();

    if (before)
        requireKept(*before, folders.UserFile);
    else
        requireKeptAside(folders.UserFile, input);

    const std::string written = fuzz::readFile(folders.UserFile);
    fuzz::require(same(showStart(), first), "a second start reads the same settings");
    launcherOpens();
    fuzz::require(fuzz::readFile(folders.UserFile) == written, "a second start writes nothing");
    return 0;
}
