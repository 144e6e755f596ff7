// The xscreensaver descriptor against the program: it is well-formed XML,
// every argument it names is one the screen saver accepts, its menus offer
// the options dialog's lists in their order, and what it selects when the
// user changes nothing leaves every setting to the settings file.

#include "settings/choice_table.h"
#include "show/hack_options.h"

#include <QFile>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

namespace {

struct Control {
    std::string Label;
    std::string ArgSet;
    std::string ArgUnset;
};

struct Descriptor {
    std::string CommandArg;
    std::vector<std::vector<Control>> Menus;
    std::map<std::string, Control> Booleans; // by id
    std::string Error;
};

std::string text(const QXmlStreamAttributes& attributes, const char* name) {
    return attributes.value(QLatin1String(name)).toString().toStdString();
}

Descriptor readDescriptor() {
    Descriptor d;
    QFile file(QString::fromUtf8(QV_DESCRIPTOR));
    if (!file.open(QIODevice::ReadOnly)) {
        d.Error = "cannot open " + file.fileName().toStdString();
        return d;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const QStringView name = xml.name();
        if (name == QLatin1String("command"))
            d.CommandArg = text(a, "arg");
        else if (name == QLatin1String("select"))
            d.Menus.emplace_back();
        else if (name == QLatin1String("option") && !d.Menus.empty())
            d.Menus.back().push_back({text(a, "_label"), text(a, "arg-set"), ""});
        else if (name == QLatin1String("boolean"))
            d.Booleans[text(a, "id")] = {text(a, "_label"), text(a, "arg-set"), text(a, "arg-unset")};
    }
    if (xml.hasError())
        d.Error = "line " + std::to_string(xml.lineNumber()) + ": " + xml.errorString().toStdString();
    return d;
}

// The words of an argument as the daemon passes them to the program.
std::variant<HackOptions, HackOptionsError> parseArg(const std::string& arg) {
    std::istringstream words(arg);
    std::vector<std::string> storage;
    for (std::string word; words >> word;)
        storage.push_back(word);
    const std::vector<std::string_view> args(storage.begin(), storage.end());
    return parseHackOptions(args, std::nullopt);
}

HackOptions accepted(const std::string& arg) {
    auto result = parseArg(arg);
    if (const auto* failure = std::get_if<HackOptionsError>(&result)) {
        ADD_FAILURE() << "'" << arg << "': " << failure->Message;
        return {};
    }
    return std::get<HackOptions>(result);
}

std::optional<std::uint32_t> bitsOf(std::optional<std::int32_t> value) {
    return value ? std::optional(static_cast<std::uint32_t>(*value)) : std::nullopt;
}
std::optional<std::uint32_t> bitsOf(std::optional<float> value) {
    return value ? std::optional(schema::floatBits(*value)) : std::nullopt;
}

// The stored bits an override of list L stands for.
std::optional<std::uint32_t> overrideBits(const SettingsOverrides& o, std::size_t l) {
    switch (static_cast<choices::ListSetting>(l)) {
    case choices::ListSetting::Count: return bitsOf(o.PixelsUsed);
    case choices::ListSetting::Size: return bitsOf(o.PixelsSize);
    case choices::ListSetting::Color: return bitsOf(o.PixelsColor);
    case choices::ListSetting::Distance: return bitsOf(o.CameraDistance);
    case choices::ListSetting::Speed: return bitsOf(o.CameraSpeed);
    }
    return std::nullopt;
}

class HackDescriptor : public testing::Test {
protected:
    void SetUp() override {
        D = readDescriptor();
        ASSERT_EQ(D.Error, "") << "the descriptor is not well-formed";
    }
    Descriptor D;
};

TEST_F(HackDescriptor, RunsTheProgramInTheDaemonsWindow) {
    EXPECT_EQ(accepted(D.CommandArg).Place.Where, ShowPlace::Kind::RootWindow);
}

TEST_F(HackDescriptor, MenusOfferTheDialogsListsWithTheSettingsDefaults) {
    ASSERT_EQ(D.Menus.size(), choices::kListCount);
    for (std::size_t l = 0; l < choices::kListCount; ++l) {
        const choices::ChoiceList& list = choices::kLists[l];
        const std::vector<Control>& menu = D.Menus[l];
        ASSERT_EQ(menu.size(), list.Count) << list.ValueName;
        for (std::size_t p = 0; p < list.Count; ++p) {
            const choices::SettingChoice& choice = choices::choiceAt(list, p);
            const Control& option = menu[p];
            EXPECT_NE(option.Label.find(std::string(": ") + choice.Label), std::string::npos)
                << option.Label << " should show " << choice.Label;
            const std::optional<std::uint32_t> chosen =
                overrideBits(accepted(option.ArgSet).Choices.Overrides, l);
            if (p == choices::defaultPosition(list)) {
                EXPECT_EQ(option.ArgSet, "") << "the default leaves " << list.ValueName << " to the settings file";
                EXPECT_EQ(chosen, std::nullopt);
            } else {
                EXPECT_EQ(chosen, choices::storedBits(choice, list.Kind)) << option.Label;
            }
        }
    }
}

TEST_F(HackDescriptor, CheckBoxesDefaultToTheSettingsDefaults) {
    ASSERT_EQ(D.Booleans.size(), 3u);
    const Control& sky = D.Booleans["sky"];
    EXPECT_EQ(sky.Label, "Use Background Image");
    EXPECT_EQ(sky.ArgSet, "") << "checked, the default, leaves the sky box to the settings file";
    EXPECT_EQ(accepted(sky.ArgUnset).Choices.Overrides.UseBackground, false);

    const Control& lighting = D.Booleans["lighting"];
    EXPECT_EQ(lighting.Label, "Use Lighting Effects");
    EXPECT_EQ(lighting.ArgUnset, "") << "unchecked, the default, leaves the lighting to the settings file";
    EXPECT_EQ(accepted(lighting.ArgSet).Choices.Overrides.UseLighting, true);

    const Control& fps = D.Booleans["showfps"];
    EXPECT_EQ(fps.Label, "Show frame rate");
    EXPECT_TRUE(accepted(fps.ArgSet).Choices.ShowFrameRate);
    EXPECT_EQ(choices::kChecks[0].DefaultBits, 1u);
    EXPECT_EQ(choices::kChecks[1].DefaultBits, 0u);
}

} // namespace
