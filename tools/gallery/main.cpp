// qvgallery --out DIR [--seed S] [--effect K] [--size WxH]
// qvgallery --film FILE.webp [--seed S] [--clip SECONDS] [--size WxH]
// Pictures every effect (or effect K) half-way through its first run, or
// films a few seconds of each: a replay on the null driver finds the runs,
// then the same seed is replayed on the OpenGL driver and the chosen frames
// are read back from the back buffer before the swap.
// Run it in the install folder, where the pictures are.

#include "show/scene.h"
#include "show/show.h"
#include "show/show_state.h"
#include "show/swarm/scheduler.h"
#include "tools/gallery/effect_runs.h"
#include "tools/gallery/film.h"
#include "tools/gallery/frame_grab.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kDefaultSeed = 7;
constexpr int kDefaultWidth = 960;  // pixels
constexpr int kDefaultHeight = 540; // pixels
constexpr int kUsageError = 2;
constexpr double kViewAngle = 0.6; // radians round the circle: no wall or bar seen edge-on

struct Options {
    std::string Out;
    FilmOptions Film;
    std::uint32_t Seed = kDefaultSeed;
    int Width = kDefaultWidth;
    int Height = kDefaultHeight;
    std::int32_t Effect = 0; // every effect
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--out")
            options.Out = value;
        else if (name == "--film")
            options.Film.Out = value;
        else if (name == "--clip")
            options.Film.ClipSeconds = std::strtod(value, nullptr);
        else if (name == "--seed")
            options.Seed = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
        else if (name == "--effect")
            options.Effect = static_cast<std::int32_t>(std::strtol(value, nullptr, 10));
        else if (name == "--size" && std::sscanf(value, "%dx%d", &options.Width, &options.Height) == 2)
            continue;
        else
            return false;
    }
    return options.Out.empty() != options.Film.Out.empty() && options.Width > 0 && options.Height > 0 &&
           options.Film.ClipSeconds > 0 && argc % 2 == 1;
}

// The show's own device on a window of the chosen size; the window is not
// made to cover the display.
bool startOnScreen(const Options& options) {
    if (!startWindowedShow(ShowSettings{}, options.Seed, options.Width, options.Height))
        return false;
    // The camera circles by the engine's clock, which stood at 0 while the
    // scene was built; every picture is taken from the same place on the
    // circle, and a film moves the clock frame by frame.
    // A camera that does not move, or hardly, stands where it is at time 0.
    const double time = kViewAngle / static_cast<double>(Show.Settings.CameraSpeed);
    if (options.Film.Out.empty() && time > 0 && time <= std::numeric_limits<irr::u32>::max())
        Show.Device.Device->getTimer()->setTime(static_cast<irr::u32>(time));
    return true;
}

// Draws the current swarm and keeps the back buffer's pixels.
bool savePicture(const std::string& path) {
    DeviceParams& d = Show.Device;
    d.Device->run();
    d.VideoDriver->beginScene(d.ClearBackBuffer, d.ClearZBuffer, d.ClearColor);
    d.SceneManager->drawAll();
    const std::vector<std::uint8_t> pixels = grabBackBuffer(d.Width, d.Height);
    d.VideoDriver->endScene();

    const irr::core::dimension2du size(static_cast<irr::u32>(d.Width), static_cast<irr::u32>(d.Height));
    irr::video::IImage* image = d.VideoDriver->createImage(irr::video::ECF_A8R8G8B8, size);
    std::memcpy(image->lock(), pixels.data(), pixels.size());
    image->unlock();
    const bool written = d.VideoDriver->writeImageToFile(image, path.c_str());
    image->drop();
    return written;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: qvgallery --out DIR [--seed S] [--effect K] [--size WxH]\n"
                             "       qvgallery --film FILE.webp [--seed S] [--clip SECONDS] [--size WxH]\n");
        return kUsageError;
    }
    const std::vector<EffectRun> runs = findFirstRuns(ShowSettings{}, options.Seed);
    if (!startOnScreen(options)) {
        std::fprintf(stderr, "qvgallery: cannot open an OpenGL window\n");
        teardown();
        return 1;
    }
    if (!options.Film.Out.empty()) {
        const bool filmed = makeFilm(runs, options.Film);
        if (!filmed)
            std::fprintf(stderr, "qvgallery: cannot write %s\n", options.Film.Out.c_str());
        teardown();
        return filmed ? 0 : 1;
    }
    int status = 0;
    std::int64_t frame = 0;
    for (const EffectRun& run : runs) {
        if (options.Effect != 0 && run.Effect != options.Effect)
            continue;
        for (; frame < run.halfWay(); ++frame)
            updateSwarm();
        char name[64];
        const char* effectName = kEffectTable[static_cast<std::size_t>(run.Effect - 1)].Name;
        std::snprintf(name, sizeof name, "/%02d-%s.png", run.Effect, effectName);
        const std::string path = options.Out + name;
        if (savePicture(path)) {
            std::printf("%s: frame %lld of a run of %lld calls\n", path.c_str(),
                        static_cast<long long>(run.halfWay() - run.PickedAt), static_cast<long long>(run.Length));
        } else {
            std::fprintf(stderr, "qvgallery: cannot write %s\n", path.c_str());
            status = 1;
        }
    }
    teardown();
    return status;
}
