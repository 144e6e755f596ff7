#include "dist/xscreensaver/programs_list.h"

#include <cctype>
#include <strings.h>
#include <vector>

namespace xscreensaver {

namespace {

constexpr std::string_view kProgramsKey = "programs";
// The daemon joins a line ending in a backslash to the next one, but only
// once the text read so far is longer than this many bytes.
constexpr std::size_t kShortestContinued = 2;

struct PhysicalLine {
    std::size_t Begin = 0;
    std::size_t End = 0; // the line feed's position, or the end of the text
    bool HasNewline = false;
};

// One setting as the daemon reads it, with the lines it was read from.
struct Setting {
    std::size_t FirstLine = 0;
    std::size_t LastLine = 0;
    bool OpenAtEnd = false; // its last line asks for a continuation the file lacks
    bool LastEntryOpen = false; // the value's last line of text lacks its \n escape
    std::string Key;
    std::string Value;
};

std::vector<PhysicalLine> splitLines(std::string_view text) {
    std::vector<PhysicalLine> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t feed = text.find('\n', begin);
        const bool hasNewline = feed != std::string_view::npos;
        const std::size_t end = hasNewline ? feed : text.size();
        lines.push_back({begin, end, hasNewline});
        begin = hasNewline ? end + 1 : end;
    }
    return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view strip(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Backslash escapes as the daemon resolves them: \n, \r, \t, and any other
// character stands for itself.
std::string unescape(std::string_view text) {
    std::string plain;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\\') {
            plain += text[at];
            continue;
        }
        if (++at == text.size())
            break;
        const char next = text[at];
        plain += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next;
    }
    return plain;
}

std::vector<Setting> readSettings(std::string_view text, const std::vector<PhysicalLine>& lines) {
    const auto withNewline = [&](const PhysicalLine& line) {
        return std::string(text.substr(line.Begin, line.End - line.Begin + (line.HasNewline ? 1 : 0)));
    };
    std::vector<Setting> settings;
    std::size_t next = 0;
    while (next < lines.size()) {
        Setting setting;
        setting.FirstLine = next;
        std::string buffer = withNewline(lines[next++]);
        while (buffer.size() > kShortestContinued &&
               (buffer.back() != '\n' || buffer[buffer.size() - 2] == '\\')) {
            const bool continued = buffer[buffer.size() - 2] == '\\';
            if (continued)
                buffer.resize(buffer.size() - 2);
            if (next == lines.size()) {
                setting.OpenAtEnd = continued;
                break;
            }
            buffer += withNewline(lines[next++]);
        }
        setting.LastLine = next - 1;

        // The line feed that ends the last line is no part of the value.
        if (!setting.OpenAtEnd && !buffer.empty() && buffer.back() == '\n')
            buffer.pop_back();
        const std::string plain = unescape(buffer);
        const std::string_view line = strip(plain);
        const std::size_t colon = line.find(':');
        if (line.empty() || line.front() == '#' || line.front() == '!' || line.front() == ';' ||
            colon == std::string_view::npos)
            continue;
        setting.Key = line.substr(0, colon);
        setting.Value = strip(line.substr(colon + 1));
        std::string_view rest = std::string_view(plain).substr(plain.find(':') + 1);
        while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t' || rest.back() == '\r'))
            rest.remove_suffix(1);
        setting.LastEntryOpen = !strip(rest).empty() && rest.back() != '\n';
        settings.push_back(std::move(setting));
    }
    return settings;
}

// Xrm keeps the last value given for a key, so the last setting counts.
const Setting* lastPrograms(const std::vector<Setting>& settings) {
    const Setting* found = nullptr;
    for (const Setting& setting : settings)
        if (isProgramsKey(setting.Key))
            found = &setting;
    return found;
}

void skipSpace(std::string_view& text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
}

// The program an entry runs: what follows the optional "-", "visual:" and
// "name", up to the first blank, without its folder.
std::string_view programOf(std::string_view entry) {
    skipSpace(entry);
    if (!entry.empty() && entry.front() == '-') {
        entry.remove_prefix(1);
        skipSpace(entry);
    }
    const std::size_t visualEnd = entry.find_first_of(":\" \t\n\r\f\v");
    if (visualEnd != std::string_view::npos && entry[visualEnd] == ':') {
        entry.remove_prefix(visualEnd + 1);
        skipSpace(entry);
    }
    if (!entry.empty() && entry.front() == '"') {
        const std::size_t close = entry.find('"', 1);
        entry.remove_prefix(close == std::string_view::npos ? entry.size() : close + 1);
        skipSpace(entry);
    }
    entry = entry.substr(0, entry.find_first_of(" \t\n\r\f\v"));
    const std::size_t slash = entry.rfind('/');
    return slash == std::string_view::npos ? entry : entry.substr(slash + 1);
}

bool endsWithNewlineEscape(std::string_view content) {
    while (!content.empty() && (content.back() == ' ' || content.back() == '\t' || content.back() == '\r'))
        content.remove_suffix(1);
    if (content.empty() || content.back() != 'n')
        return false;
    content.remove_suffix(1);
    std::size_t backslashes = 0;
    while (!content.empty() && content.back() == '\\') {
        ++backslashes;
        content.remove_suffix(1);
    }
    return backslashes % 2 == 1;
}

std::string listBlock(std::string_view entry) {
    std::string block = "programs:\t\\\n";
    block += entry;
    block += " \\n\\\n\n";
    return block;
}

std::string inserted(std::string_view text, std::size_t at, std::string_view addition) {
    std::string result(text.substr(0, at));
    result += addition;
    result += text.substr(at);
    return result;
}

std::string appendedToList(std::string_view text, const std::vector<PhysicalLine>& lines, const Setting& list,
                           std::string_view entry) {
    const std::string entryText(entry);
    // An entry the list left without its \n would run on into ours.
    const std::string endOfLastEntry = list.LastEntryOpen ? "\\n\\\n" : "";
    if (list.OpenAtEnd)
        return inserted(text, text.size(), endOfLastEntry + entryText + "\n");

    const PhysicalLine& last = lines[list.LastLine];
    std::string_view content = text.substr(last.Begin, last.End - last.Begin);
    const bool keyLine = list.LastLine == list.FirstLine;
    if (keyLine)
        content.remove_prefix(content.find(':') + 1);

    if (strip(content).empty()) {
        if (keyLine)
            return inserted(text, last.End, " \\\n" + entryText);
        return inserted(text, last.Begin, endOfLastEntry + entryText + " \\n\\\n");
    }
    if (endsWithNewlineEscape(content))
        return inserted(text, last.End, "\\\n" + entryText);
    return inserted(text, last.End, " \\n\\\n" + entryText);
}

} // namespace

bool isProgramsKey(std::string_view key) {
    return key.size() == kProgramsKey.size() &&
           strncasecmp(key.data(), kProgramsKey.data(), kProgramsKey.size()) == 0;
}

std::vector<Resource> readResources(std::string_view fileText) {
    std::vector<Resource> resources;
    for (Setting& setting : readSettings(fileText, splitLines(fileText)))
        resources.push_back({std::move(setting.Key), std::move(setting.Value)});
    return resources;
}

std::vector<std::string> listedPrograms(std::string_view fileText) {
    const auto lines = splitLines(fileText);
    const auto settings = readSettings(fileText, lines);
    std::vector<std::string> programs;
    const Setting* list = lastPrograms(settings);
    if (!list)
        return programs;
    std::string_view value = list->Value;
    while (!value.empty()) {
        const std::size_t feed = value.find('\n');
        const std::string_view program = programOf(value.substr(0, feed));
        if (!program.empty())
            programs.emplace_back(program);
        value.remove_prefix(feed == std::string_view::npos ? value.size() : feed + 1);
    }
    return programs;
}

bool listsProgram(std::string_view fileText, std::string_view program) {
    for (const std::string& listed : listedPrograms(fileText))
        if (listed == program)
            return true;
    return false;
}

std::string withEntryAppended(std::string_view fileText, std::string_view entry) {
    const auto lines = splitLines(fileText);
    const auto settings = readSettings(fileText, lines);
    if (const Setting* list = lastPrograms(settings))
        return appendedToList(fileText, lines, *list, entry);

    std::string separator;
    // A last line without its line feed, or one that asks for a continuation,
    // must not swallow the list.
    if (!fileText.empty() && (fileText.back() != '\n' || fileText.ends_with("\\\n")))
        separator = "\n";
    return inserted(fileText, fileText.size(), separator + "\n" + listBlock(entry));
}

std::string newFileText(std::string_view entry) {
    std::string text =
        "# xscreensaver preferences, begun by quorvel3d-xscreensaver-add.\n"
        "# Every setting that is not here keeps xscreensaver's default, and its\n"
        "# own screen savers are listed after these.\n\n";
    return text + listBlock(entry);
}

} // namespace xscreensaver
