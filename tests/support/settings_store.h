#pragma once

// The user's settings store as the settings tests see it, whatever backs it:
// the settings file on Linux, the user's registry key on Windows. A Scope
// gives one test an empty store of its own; values are read and written as
// their registry type and raw bytes.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace settings_store {

struct Value {
    std::uint32_t Type = 0;
    std::string Bytes;
    bool operator==(const Value&) const = default;
};

class Scope {
public:
    Scope();
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    struct Private;
    std::unique_ptr<Private> Data;
};

void put(const std::string& name, const Value& value);
std::optional<Value> get(const std::string& name);
std::vector<std::string> names(); // sorted

#ifdef _WIN32
// The local-machine key under the same path, where the installer writes.
void putMachine(const std::string& name, const Value& value);
std::optional<Value> getMachine(const std::string& name);
#endif

Value dword(std::uint32_t bits);
Value text(const std::string& characters); // with its terminating zero

} // namespace settings_store
