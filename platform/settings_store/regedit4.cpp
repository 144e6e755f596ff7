#include "platform/settings_store/regedit4.h"

#include "platform/settings_store/registry.h"

#include <algorithm>
#include <cstdio>

namespace regedit4 {
namespace {

// Names fold as ASCII whatever the process's locale: under tr_TR the C
// library lowers 'I' to a dotless i, and names would stop matching.
char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr std::string_view kHeader = "REGEDIT4";
constexpr auto kTextType = static_cast<std::uint32_t>(platform::ValueType::Text);
constexpr auto kBinaryType = static_cast<std::uint32_t>(platform::ValueType::Binary);
constexpr auto kDwordType = static_cast<std::uint32_t>(platform::ValueType::Dword);
constexpr std::size_t kDwordBytes = 4;

bool isPlainText(const Value& value) {
    if (value.Type != kTextType || value.Data.empty() || value.Data.back() != 0)
        return false;
    return std::none_of(value.Data.begin(), value.Data.end() - 1, [](std::uint8_t c) {
        return c < 0x20 || c == 0x7F;
    });
}

void formatQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
}

void formatName(std::string& out, std::string_view name) {
    if (name.empty())
        out += '@';
    else
        formatQuoted(out, name);
}

void formatData(std::string& out, const Value& value) {
    char buffer[32];
    if (isPlainText(value)) {
        formatQuoted(out, std::string_view(reinterpret_cast<const char*>(value.Data.data()), value.Data.size() - 1));
        return;
    }
    if (value.Type == kDwordType && value.Data.size() == kDwordBytes) {
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < kDwordBytes; ++i)
            number |= static_cast<std::uint32_t>(value.Data[i]) << (8 * i);
        std::snprintf(buffer, sizeof buffer, "dword:%08x", number);
        out += buffer;
        return;
    }
    if (value.Type == kBinaryType)
        out += "hex:";
    else {
        std::snprintf(buffer, sizeof buffer, "hex(%x):", value.Type);
        out += buffer;
    }
    for (std::size_t i = 0; i < value.Data.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, i ? ",%02x" : "%02x", value.Data[i]);
        out += buffer;
    }
}

void formatComments(std::string& out, const Comments& comments) {
    for (const std::string& line : comments) {
        out += line;
        out += '\n';
    }
}

} // namespace

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return asciiLower(x) == asciiLower(y);
    });
}

const Value* Section::find(std::string_view name) const {
    for (const Value& value : Values)
        if (sameName(value.Name, name))
            return &value;
    return nullptr;
}

Value& Section::set(std::string_view name, std::uint32_t type, std::vector<std::uint8_t> data) {
    auto it = std::find_if(Values.begin(), Values.end(), [&](const Value& v) { return sameName(v.Name, name); });
    if (it == Values.end())
        it = Values.insert(Values.end(), Value{std::string(name), 0, {}, {}});
    it->Type = type;
    it->Data = std::move(data);
    return *it;
}

const Section* Document::find(std::string_view key) const {
    for (const Section& section : Sections)
        if (sameName(section.Key, key))
            return &section;
    return nullptr;
}

Section& Document::section(std::string_view key) {
    for (Section& section : Sections)
        if (sameName(section.Key, key))
            return section;
    Sections.push_back(Section{std::string(key), {}, {}});
    return Sections.back();
}

std::string format(const Document& document) {
    std::string out;
    formatComments(out, document.AboveHeader);
    out += kHeader;
    out += "\n";
    for (const Section& section : document.Sections) {
        out += "\n";
        formatComments(out, section.Above);
        out += "[" + section.Key + "]\n";
        for (const Value& value : section.Values) {
            formatComments(out, value.Above);
            formatName(out, value.Name);
            out += '=';
            formatData(out, value);
            out += '\n';
        }
    }
    formatComments(out, document.AtEnd);
    return out;
}

} // namespace regedit4
