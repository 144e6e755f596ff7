// Reading a settings file: REGEDIT4 text, or what the system's registry
// editor exports (UTF-16 with a byte-order mark, headed "Windows Registry
// Editor Version 5.00"), in UTF-8, with any of the three kinds of line end.

#include "platform/settings_store/regedit4.h"

#include "platform/settings_store/registry.h"
#include "platform/settings_store/text_encoding.h"

#include <unordered_map>

namespace regedit4 {
namespace {

// Hex digits fold as ASCII whatever the process's locale.
char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr std::string_view kHeader = "REGEDIT4";
// The lines under this header mean what they mean under REGEDIT4; only
// the file's encoding differs, and that is known by its byte-order mark.
constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";
constexpr auto kTextType = static_cast<std::uint32_t>(platform::ValueType::Text);
constexpr auto kBinaryType = static_cast<std::uint32_t>(platform::ValueType::Binary);
constexpr auto kDwordType = static_cast<std::uint32_t>(platform::ValueType::Dword);
constexpr std::size_t kDwordBytes = 4;
constexpr std::size_t kMaxHexDigitsInDword = 8;

class LineReader {
public:
    explicit LineReader(std::string_view text) : Rest(text) {}

    // A line ends at LF, CR LF or a CR alone.
    bool next(std::string_view& line) {
        if (Rest.empty())
            return false;
        const auto end = Rest.find_first_of("\r\n");
        line = Rest.substr(0, end);
        if (end == std::string_view::npos) {
            Rest = {};
        } else {
            const bool crLf = Rest[end] == '\r' && end + 1 < Rest.size() && Rest[end + 1] == '\n';
            Rest.remove_prefix(end + (crLf ? 2 : 1));
        }
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

std::string tooLarge(std::string_view how) {
    return "larger than " + std::to_string(kMaxFileBytes) + " bytes" + std::string(how);
}

// The text as UTF-8 without a byte-order mark; UTF-16 is decoded into
// storage.
bool asUtf8(std::string_view& text, std::string& storage, std::string& error) {
    const bool little = text.substr(0, kUtf16LittleEndianMark.size()) == kUtf16LittleEndianMark;
    if (little || text.substr(0, kUtf16BigEndianMark.size()) == kUtf16BigEndianMark) {
        const std::string_view order = little ? "little-endian" : "big-endian";
        auto decoded = platform::utf16ToUtf8(text.substr(kUtf16LittleEndianMark.size()),
                                             little ? platform::ByteOrder::LittleEndian
                                                    : platform::ByteOrder::BigEndian);
        if (!decoded) {
            error = "UTF-16 " + std::string(order) + " text that is not valid UTF-16";
            return false;
        }
        // What is read is written back as UTF-8, and must then read again.
        if (decoded->size() > kMaxFileBytes) {
            error = tooLarge(" once read as UTF-8");
            return false;
        }
        storage = std::move(*decoded);
        text = storage;
    }
    if (text.find('\0') != std::string_view::npos) {
        error = "not a text file";
        return false;
    }
    if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark)
        text.remove_prefix(kUtf8Mark.size());
    return true;
}

// Reads the lines in one pass. A key or a value may appear more than once,
// as in any registry file: a key's values are gathered in one section, a
// later value replacing an earlier one of the same name. Comment lines are kept with the line below them, or with
// the value that such a line replaces. Names seen are kept folded to lower
// case, so that each line is checked in constant time and a file parses in
// time linear in its size.
class Reader {
public:
    Reader(std::string_view text, std::string& error) : Lines(text), Error(error) {}

    std::optional<Document> read() {
        std::string_view line;
        while (Lines.next(line)) {
            const std::string_view content = trim(line);
            if (content.empty())
                continue;
            if (content.front() == ';') {
                Pending.emplace_back(content);
                continue;
            }
            bool understood = false;
            if (!SawHeader)
                understood = header(content);
            else if (content.front() == '[')
                understood = keyLine(content);
            else
                understood = valueLine(content);
            if (!understood)
                return std::nullopt;
        }
        (SawHeader ? Result.AtEnd : Result.AboveHeader) = std::move(Pending);
        return std::move(Result); // a file of blank lines holds no values yet
    }

private:
    bool fail(int line, std::string_view what) {
        Error = "line " + std::to_string(line) + ": " + std::string(what);
        return false;
    }

    bool header(std::string_view content) {
        if (content != kHeader && content != kVersion5Header)
            return fail(Lines.number(), "the file starts with neither REGEDIT4 nor " + std::string(kVersion5Header));
        SawHeader = true;
        Result.AboveHeader = takePending();
        return true;
    }

    bool keyLine(std::string_view content) {
        if (content.back() != ']' || content.size() < 3 || content[1] == '-')
            return fail(Lines.number(), "malformed key line");
        const std::string_view key = content.substr(1, content.size() - 2);
        const auto [at, isNew] = SectionAt.try_emplace(folded(key), Result.Sections.size());
        // Above a key's second line, comments go with what follows it.
        if (isNew) {
            Result.Sections.push_back(Section{std::string(key), {}, takePending()});
            ValueAt.emplace_back();
        }
        Current = at->second;
        return true;
    }

    bool valueLine(std::string_view content) {
        if (!Current)
            return fail(Lines.number(), "a value outside any key");
        const int number = Lines.number();
        const std::string joined = joinContinuations(content, Lines);
        std::string_view rest = joined;
        Value value;
        if (rest.empty())
            return fail(number, "a continuation with nothing to continue");
        if (rest.front() == '@')
            rest.remove_prefix(1);
        else if (!readQuoted(rest, value.Name))
            return fail(number, "malformed value name");
        rest = trim(rest);
        if (rest.empty() || rest.front() != '=')
            return fail(number, "missing '=' after the value name");
        rest = trim(rest.substr(1));
        if (!parseData(rest, value))
            return fail(number, "malformed value data");
        std::string name = folded(value.Name);
        Section& section = Result.Sections[*Current];
        const auto [at, isNew] = ValueAt[*Current].try_emplace(std::move(name), section.Values.size());
        if (isNew) {
            value.Above = takePending();
            section.Values.push_back(std::move(value));
        } else {
            Value& earlier = section.Values[at->second];
            earlier.Type = value.Type;
            earlier.Data = std::move(value.Data);
            for (std::string& comment : Pending)
                earlier.Above.push_back(std::move(comment));
            Pending.clear();
        }
        return true;
    }

    Comments takePending() {
        Comments taken = std::move(Pending);
        Pending.clear();
        return taken;
    }

    LineReader Lines;
    std::string& Error;
    Document Result;
    bool SawHeader = false;
    std::optional<std::size_t> Current; // the section of the last key line
    std::unordered_map<std::string, std::size_t> SectionAt;
    std::vector<std::unordered_map<std::string, std::size_t>> ValueAt; // for each section
    Comments Pending; // for the next line that is not a comment
};

} // namespace

std::optional<Document> parse(std::string_view text, std::string& error) {
    if (text.size() > kMaxFileBytes) {
        error = tooLarge("");
        return std::nullopt;
    }
    std::string decoded;
    if (!asUtf8(text, decoded, error))
        return std::nullopt;
    return Reader(text, error).read();
}

} // namespace regedit4
