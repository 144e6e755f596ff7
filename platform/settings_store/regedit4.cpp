#include "platform/settings_store/regedit4.h"

#include "platform/settings_store/registry.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

namespace regedit4 {
namespace {

// Names and hex digits fold as ASCII whatever the process's locale: under
// tr_TR the C library lowers 'I' to a dotless i, and names would stop matching.
char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr auto kTextType = static_cast<std::uint32_t>(platform::ValueType::Text);
constexpr auto kBinaryType = static_cast<std::uint32_t>(platform::ValueType::Binary);
constexpr auto kDwordType = static_cast<std::uint32_t>(platform::ValueType::Dword);
constexpr std::size_t kDwordBytes = 4;
constexpr std::size_t kMaxHexDigitsInDword = 8;

class LineReader {
public:
    explicit LineReader(std::string_view text) : Rest(text) {}

    bool next(std::string_view& line) {
        if (Rest.empty())
            return false;
        const auto end = Rest.find('\n');
        line = Rest.substr(0, end);
        Rest = end == std::string_view::npos ? std::string_view{} : Rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++Number;
        return true;
    }

    int number() const { return Number; }

private:
    std::string_view Rest;
    int Number = 0;
};

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && sameName(s.substr(0, prefix.size()), prefix);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    const char lower = asciiLower(c);
    if (lower >= 'a' && lower <= 'f')
        return lower - 'a' + 10;
    return -1;
}

// Reads a quoted string with \\ and \" escapes; s then holds what follows it.
bool readQuoted(std::string_view& s, std::string& out) {
    if (s.empty() || s.front() != '"')
        return false;
    for (std::size_t i = 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"'))
                return false;
            out += s[++i];
        } else {
            out += c;
        }
    }
    return false; // unterminated
}

bool parseHexList(std::string_view list, std::vector<std::uint8_t>& out) {
    list = trim(list);
    if (list.empty())
        return true;
    while (true) {
        const auto comma = list.find(',');
        const std::string_view item = trim(list.substr(0, comma));
        if (item.empty() || item.size() > 2)
            return false;
        int byte = 0;
        for (char c : item) {
            const int digit = hexDigit(c);
            if (digit < 0)
                return false;
            byte = byte * 16 + digit;
        }
        out.push_back(static_cast<std::uint8_t>(byte));
        if (comma == std::string_view::npos)
            return true;
        list.remove_prefix(comma + 1);
    }
}

bool parseDword(std::string_view digits, std::vector<std::uint8_t>& out) {
    digits = trim(digits);
    if (digits.empty() || digits.size() > kMaxHexDigitsInDword)
        return false;
    std::uint32_t number = 0;
    for (char c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return false;
        number = number * 16 + static_cast<std::uint32_t>(digit);
    }
    for (std::size_t i = 0; i < kDwordBytes; ++i)
        out.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    return true;
}

// "hex(N):" names the type in hexadecimal; plain "hex:" is binary.
bool parseHexType(std::string_view& s, std::uint32_t& type) {
    if (!startsWith(s, "hex"))
        return false;
    s.remove_prefix(3);
    type = kBinaryType;
    if (!s.empty() && s.front() == '(') {
        const auto close = s.find(')');
        if (close == std::string_view::npos || close == 1 || close > kMaxHexDigitsInDword + 1)
            return false;
        type = 0;
        for (char c : s.substr(1, close - 1)) {
            const int digit = hexDigit(c);
            if (digit < 0)
                return false;
            type = type * 16 + static_cast<std::uint32_t>(digit);
        }
        s.remove_prefix(close + 1);
    }
    if (s.empty() || s.front() != ':')
        return false;
    s.remove_prefix(1);
    return true;
}

bool parseData(std::string_view s, Value& value) {
    if (!s.empty() && s.front() == '"') {
        std::string text;
        if (!readQuoted(s, text) || !trim(s).empty())
            return false;
        value.Type = kTextType;
        value.Data.assign(text.begin(), text.end());
        value.Data.push_back(0);
        return true;
    }
    if (startsWith(s, "dword:")) {
        value.Type = kDwordType;
        return parseDword(s.substr(6), value.Data);
    }
    return parseHexType(s, value.Type) && parseHexList(s, value.Data);
}

// Hex lists may run on over lines that end in a backslash.
std::string joinContinuations(std::string_view first, LineReader& lines) {
    std::string joined(trim(first));
    std::string_view more;
    while (!joined.empty() && joined.back() == '\\' && lines.next(more)) {
        joined.pop_back();
        joined += trim(more);
    }
    return joined;
}

std::string folded(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        c = asciiLower(c);
    return out;
}

// Names already seen, folded to lower case, so that each line is checked for
// a repeat in constant time and a file parses in time linear in its size.
using NameSet = std::unordered_set<std::string>;

std::string lineError(int line, std::string_view what) {
    return "line " + std::to_string(line) + ": " + std::string(what);
}

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
        it = Values.insert(Values.end(), Value{std::string(name), 0, {}});
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
    Sections.push_back(Section{std::string(key), {}});
    return Sections.back();
}

std::optional<Document> parse(std::string_view text, std::string& error) {
    if (text.size() > kMaxFileBytes) {
        error = "larger than " + std::to_string(kMaxFileBytes) + " bytes";
        return std::nullopt;
    }
    if (text.find('\0') != std::string_view::npos) {
        error = "not a text file";
        return std::nullopt;
    }
    if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark)
        text.remove_prefix(kUtf8Mark.size());

    LineReader lines(text);
    std::string_view line;
    bool sawHeader = false;
    Document document;
    Section* current = nullptr;
    NameSet keys;
    NameSet valuesOfCurrent;
    while (lines.next(line)) {
        const std::string_view content = trim(line);
        if (content.empty() || content.front() == ';')
            continue;
        if (!sawHeader) {
            if (content != kHeader) {
                error = lineError(lines.number(), "the file does not start with REGEDIT4");
                return std::nullopt;
            }
            sawHeader = true;
            continue;
        }
        if (content.front() == '[') {
            if (content.back() != ']' || content.size() < 3 || content[1] == '-') {
                error = lineError(lines.number(), "malformed key line");
                return std::nullopt;
            }
            const std::string_view key = content.substr(1, content.size() - 2);
            if (!keys.insert(folded(key)).second) {
                error = lineError(lines.number(), "the key appears twice");
                return std::nullopt;
            }
            document.Sections.push_back(Section{std::string(key), {}});
            current = &document.Sections.back();
            valuesOfCurrent.clear();
            continue;
        }
        if (!current) {
            error = lineError(lines.number(), "a value outside any key");
            return std::nullopt;
        }
        const int number = lines.number();
        const std::string joined = joinContinuations(content, lines);
        std::string_view rest = joined;
        Value value;
        if (rest.empty()) {
            error = lineError(number, "a continuation with nothing to continue");
            return std::nullopt;
        }
        if (rest.front() == '@')
            rest.remove_prefix(1);
        else if (!readQuoted(rest, value.Name)) {
            error = lineError(number, "malformed value name");
            return std::nullopt;
        }
        rest = trim(rest);
        if (rest.empty() || rest.front() != '=') {
            error = lineError(number, "missing '=' after the value name");
            return std::nullopt;
        }
        rest = trim(rest.substr(1));
        if (!parseData(rest, value)) {
            error = lineError(number, "malformed value data");
            return std::nullopt;
        }
        if (!valuesOfCurrent.insert(folded(value.Name)).second) {
            error = lineError(number, "the value \"" + value.Name + "\" appears twice");
            return std::nullopt;
        }
        current->Values.push_back(std::move(value));
    }
    return document; // a file of blank lines holds no values yet
}

std::string format(const Document& document) {
    std::string out(kHeader);
    out += "\n";
    for (const Section& section : document.Sections) {
        out += "\n[" + section.Key + "]\n";
        for (const Value& value : section.Values) {
            formatName(out, value.Name);
            out += '=';
            formatData(out, value);
            out += '\n';
        }
    }
    return out;
}

} // namespace regedit4
