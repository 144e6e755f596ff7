#pragma once

// The REGEDIT4 text format: a header line, [key] sections and "name"=value
// lines, readable and editable by a person.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace regedit4 {

// A person's comment lines (";" and what follows) stay where they stand:
// each is kept with the line below it, and those below the last line of the
// file with the document.
using Comments = std::vector<std::string>;

struct Value {
    std::string Name; // empty for the key's default value, written as @
    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;
    Comments Above;
};

struct Section {
    std::string Key;
    std::vector<Value> Values;
    Comments Above; // its key line

    const Value* find(std::string_view name) const;
    Value& set(std::string_view name, std::uint32_t type, std::vector<std::uint8_t> data);
};

struct Document {
    std::vector<Section> Sections;
    Comments AboveHeader;
    Comments AtEnd;

    const Section* find(std::string_view key) const;
    Section& section(std::string_view key); // found or appended
};

inline constexpr std::size_t kMaxFileBytes = 1 << 20;

// Gives the document, or nothing with the reason in error when the text is
// not a well-formed registry file. Besides REGEDIT4 in UTF-8 it reads what
// the system's registry editor exports: UTF-16 with a byte-order mark under
// the header "Windows Registry Editor Version 5.00".
std::optional<Document> parse(std::string_view text, std::string& error);

// Always REGEDIT4 in UTF-8.

std::string format(const Document& document);

// Names of keys and values compare without regard to ASCII case.
bool sameName(std::string_view a, std::string_view b);

} // namespace regedit4
