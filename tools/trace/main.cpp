// qvtrace --seed S [--pixels N] [--color C] [--frames F] [--watch LIST]
// Replays the show's swarm without a window and prints, after each update,
// the current effect and the watched pixels' positions and frame counts.

#include "show/show.h"
#include "show/show_state.h"
#include "show/swarm/pixel.h"
#include "show/swarm/scheduler.h"
#include "tools/trace/trace_options.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int kUsageError = 2;
constexpr const char* kUsage =
    "usage: qvtrace --seed S [--pixels N] [--color C] [--frames F] [--watch I,J,...]\n";

void printLine(std::int64_t frame, const TraceOptions& options) {
    std::printf("%lld %d", static_cast<long long>(frame), Show.CurrentEffect);
    for (const std::int32_t index : options.Watch) {
        const Pixel& pixel = *Show.Pixels[static_cast<std::size_t>(index)];
        std::printf(" %.9g %.9g %.9g %d", pixel.Position.X, pixel.Position.Y, pixel.Position.Z, pixel.FramesLeft);
    }
    std::putchar('\n');
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY); // lines end as on Linux, so that traces compare byte for byte
#endif
    std::string error;
    const auto options = parseTraceOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "qvtrace: %s\n%s", error.c_str(), kUsage);
        return kUsageError;
    }
    ShowSettings settings;
    settings.PixelsUsed = options->Pixels;
    settings.PixelsColor = options->Color;
    if (!startHeadlessShow(settings, options->Seed)) {
        std::fprintf(stderr, "qvtrace: the engine's null device could not be created\n");
        return 1;
    }
    printLine(0, *options);
    for (std::int64_t frame = 1; frame <= options->Frames; ++frame) {
        updateSwarm();
        printLine(frame, *options);
    }
    stopHeadlessShow();
    return 0;
}
