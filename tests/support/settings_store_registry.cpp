#include "tests/support/settings_store.h"

#include "settings/schema.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace settings_store {
namespace {

constexpr DWORD kLongestName = 16384; // characters, as the registry allows

// The key is opened for each step, as the programs do, so that a test sees
// exactly what they left behind.
class Key {
public:
    explicit Key(HKEY root) {
        if (RegCreateKeyExA(root, schema::kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Handle,
                            nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot open the settings key");
    }
    ~Key() { RegCloseKey(Handle); }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return Handle; }

private:
    HKEY Handle = nullptr;
};

void removeKeys() {
    RegDeleteTreeA(HKEY_CURRENT_USER, schema::kKeyPath);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, schema::kKeyPath);
}

} // namespace

struct Scope::Private {};

// The machine's key goes too: a value left there would fill in for the user.
Scope::Scope() { removeKeys(); }

Scope::~Scope() { removeKeys(); }

namespace {

void putIn(HKEY root, const std::string& name, const Value& value) {
    const Key key(root);
    RegSetValueExA(key.get(), name.c_str(), 0, value.Type, reinterpret_cast<const BYTE*>(value.Bytes.data()),
                   static_cast<DWORD>(value.Bytes.size()));
}

std::optional<Value> getFrom(HKEY root, const std::string& name) {
    const Key key(root);
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string bytes(size, '\0');
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    bytes.resize(size);
    return Value{type, bytes};
}

} // namespace

void put(const std::string& name, const Value& value) { putIn(HKEY_CURRENT_USER, name, value); }
std::optional<Value> get(const std::string& name) { return getFrom(HKEY_CURRENT_USER, name); }
void putMachine(const std::string& name, const Value& value) { putIn(HKEY_LOCAL_MACHINE, name, value); }
std::optional<Value> getMachine(const std::string& name) { return getFrom(HKEY_LOCAL_MACHINE, name); }

std::vector<std::string> names() {
    const Key key(HKEY_CURRENT_USER);
    std::vector<std::string> result;
    std::string name(kLongestName, '\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = kLongestName;
        if (RegEnumValueA(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        result.emplace_back(name.data(), length);
    }
    std::sort(result.begin(), result.end());
    return result;
}

} // namespace settings_store
