#include "tests/support/settings_store.h"

#include "platform/settings_store/regedit4.h"
#include "settings/schema.h"
#include "tests/support/temp_config.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace settings_store {
namespace {

const std::string kSection = std::string("HKEY_LOCAL_MACHINE\\") + schema::kKeyPath;

TempConfig* currentConfig = nullptr;

std::filesystem::path userFile() {
    if (!currentConfig)
        throw std::logic_error("no settings_store::Scope is alive");
    return currentConfig->userFile();
}

regedit4::Document load() {
    if (!std::filesystem::exists(userFile()))
        return {};
    std::string error;
    std::optional<regedit4::Document> document = regedit4::parse(TempConfig::readAll(userFile()), error);
    if (!document)
        throw std::runtime_error("the settings file does not parse: " + error);
    return *document;
}

} // namespace

struct Scope::Private {
    TempConfig Config;
};

Scope::Scope() : Data(std::make_unique<Private>()) { currentConfig = &Data->Config; }

Scope::~Scope() { currentConfig = nullptr; }

void put(const std::string& name, const Value& value) {
    regedit4::Document document = load();
    document.section(kSection).set(name, value.Type, {value.Bytes.begin(), value.Bytes.end()});
    TempConfig::writeAll(userFile(), regedit4::format(document));
}

std::optional<Value> get(const std::string& name) {
    const regedit4::Document document = load();
    const regedit4::Section* section = document.find(kSection);
    const regedit4::Value* value = section ? section->find(name) : nullptr;
    if (!value)
        return std::nullopt;
    return Value{value->Type, std::string(value->Data.begin(), value->Data.end())};
}

std::vector<std::string> names() {
    const regedit4::Document document = load();
    std::vector<std::string> result;
    if (const regedit4::Section* section = document.find(kSection))
        for (const regedit4::Value& value : section->Values)
            result.push_back(value.Name);
    std::sort(result.begin(), result.end());
    return result;
}

} // namespace settings_store
