#include "platform/settings_store/registry.h"

#include <windows.h>

#include <string>

// The settings live in the user's hive, where a standard user may write. The
// installer records machine-wide values (the install folder) under the same
// path in the local-machine hive; they fill in what the user's key lacks.

struct platform::OpenKey {
    HKEY User = nullptr;    // read first, the only one written
    HKEY Machine = nullptr; // read-only fallback, may be missing
};

namespace platform {
namespace {

constexpr DWORD kNoOptions = 0;

HKEY createUserKey(const std::string& path) {
    HKEY key = nullptr;
    const LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
    return status == ERROR_SUCCESS ? key : nullptr;
}

HKEY openMachineKey(const std::string& path) {
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), kNoOptions, KEY_QUERY_VALUE, &key);
    return status == ERROR_SUCCESS ? key : nullptr;
}

QueryResult query(HKEY key, const std::string& name, void* data, std::uint32_t capacity, std::uint32_t& size,
                  std::uint32_t* type) {
    DWORD length = capacity;
    DWORD valueType = REG_NONE;
    const LONG status =
        RegQueryValueExA(key, name.c_str(), nullptr, &valueType, static_cast<BYTE*>(data), &length);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)
        return status == ERROR_FILE_NOT_FOUND ? QueryResult::NotFound : QueryResult::Failed;
    size = length;
    if (type)
        *type = valueType;
    // Without a buffer the registry reports success with the size alone.
    const bool fits = status == ERROR_SUCCESS && length <= capacity;
    return fits ? QueryResult::Ok : QueryResult::TooLarge;
}

// An empty text in the user's key is what a read of a missing value leaves
// behind; it must not hide the folder that the installer recorded later.
bool isEmptyText(QueryResult result, std::uint32_t size, std::uint32_t type, const void* data) {
    return result == QueryResult::Ok && type == REG_SZ &&
           (size == 0 || (size == 1 && *static_cast<const char*>(data) == '\0'));
}

} // namespace

KeyHandle createKey(std::string_view path) {
    const std::string keyPath(path);
    HKEY user = createUserKey(keyPath);
    HKEY machine = openMachineKey(keyPath);
    if (!user && !machine)
        return nullptr;
    return new OpenKey{user, machine};
}

QueryResult queryValue(KeyHandle key, std::string_view name, void* data, std::uint32_t capacity,
                       std::uint32_t& size, std::uint32_t* type) {
    if (!key || (!data && capacity > 0))
        return QueryResult::Failed;
    const std::string valueName(name);
    std::uint32_t userType = REG_NONE;
    QueryResult result = QueryResult::NotFound;
    if (key->User)
        result = query(key->User, valueName, data, capacity, size, &userType);
    const bool tryMachine =
        key->Machine && (result == QueryResult::NotFound || isEmptyText(result, size, userType, data));
    if (tryMachine) {
        std::uint32_t machineSize = 0;
        std::uint32_t machineType = REG_NONE;
        const QueryResult machine = query(key->Machine, valueName, data, capacity, machineSize, &machineType);
        if (machine != QueryResult::NotFound) {
            size = machineSize;
            userType = machineType;
            result = machine;
        }
    }
    if (type && result != QueryResult::NotFound && result != QueryResult::Failed)
        *type = userType;
    return result;
}

bool setValue(KeyHandle key, std::string_view name, std::uint32_t type, const void* data,
              std::uint32_t size) {
    if (!key || !key->User || (!data && size > 0))
        return false;
    const std::string valueName(name);
    return RegSetValueExA(key->User, valueName.c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

void closeKey(KeyHandle key) {
    if (!key)
        return;
    if (key->User)
        RegCloseKey(key->User);
    if (key->Machine)
        RegCloseKey(key->Machine);
    delete key;
}

} // namespace platform
