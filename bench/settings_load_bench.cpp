// Time the show needs to load its settings from a settings file that holds
// many other values besides its own: 10,000, 20,000, and as many as fit
// within the largest file the store reads. A first start also writes its
// seven values back, one file replacement each; a later start only reads.

#include "platform/settings_store/regedit4.h"
#include "platform/settings_store/settings_file.h"
#include "settings/show_settings.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr const char* kSection = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenmark\\Quorvel 3D]\n";
constexpr std::int64_t kFillTheLimit = 0; // as many values as fit
constexpr std::size_t kLineBytes = 27;    // "\"V0000000\"=dword:00000000\n" and some slack

std::string settingsText(std::int64_t values, bool withOwnValues) {
    if (values == kFillTheLimit)
        values = static_cast<std::int64_t>(regedit4::kMaxFileBytes / kLineBytes);
    std::string text = std::string("REGEDIT4\n\n") + kSection;
    if (withOwnValues)
        text += "\"PixelsUsed\"=dword:00000400\n\"PixelsSize\"=dword:40000000\n\"PixelsColor\"=dword:00000000\n"
                "\"UseLighting\"=dword:00000000\n\"CameraDistance\"=dword:430c0000\n"
                "\"CameraSpeed\"=dword:3a03126f\n\"UseBackground\"=dword:00000001\n";
    char line[64];
    for (std::int64_t i = 0; i < values; ++i) {
        std::snprintf(line, sizeof line, "\"V%07lld\"=dword:%08llx\n", static_cast<long long>(i),
                      static_cast<unsigned long long>(i));
        text += line;
    }
    return text;
}

void loadSettingsBench(benchmark::State& state) {
    std::string folder = (fs::temp_directory_path() / "qvbench-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (fs::path(folder) / "none").c_str(), 1);
    const fs::path file = platform::userSettingsFile();
    fs::create_directories(file.parent_path());
    const bool firstStart = state.range(1) != 0;
    const std::string text = settingsText(state.range(0), !firstStart);
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
        state.ResumeTiming();
        benchmark::DoNotOptimize(loadSettings());
    }
    state.counters["file_bytes"] = static_cast<double>(text.size());
    fs::remove_all(folder);
}

} // namespace

BENCHMARK(loadSettingsBench)
    ->ArgNames({"values", "first_start"})
    ->ArgsProduct({{10000, 20000, kFillTheLimit}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
