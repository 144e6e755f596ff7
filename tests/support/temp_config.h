#pragma once

// A private, empty settings location for one test: XDG_CONFIG_HOME and
// XDG_CONFIG_DIRS point into a fresh temporary folder for the test's lifetime.

#include <filesystem>
#include <string>

class TempConfig {
public:
    TempConfig();
    ~TempConfig();
    TempConfig(const TempConfig&) = delete;
    TempConfig& operator=(const TempConfig&) = delete;

    const std::filesystem::path& root() const { return Root; }
    std::filesystem::path userFile() const;   // where the user's settings live
    std::filesystem::path systemFile() const; // the system-wide file under XDG_CONFIG_DIRS

    static std::string readAll(const std::filesystem::path& file);
    static void writeAll(const std::filesystem::path& file, const std::string& bytes);

private:
    std::filesystem::path Root;
};
