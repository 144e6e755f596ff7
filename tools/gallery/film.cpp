#include "tools/gallery/film.h"

#include "show/frame_rate.h"
#include "show/show_state.h"
#include "show/swarm/scheduler.h"
#include "tools/gallery/frame_grab.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr double kShowFrameMs = 1000.0 / 60.0; // one refresh at 60 Hz
constexpr float kQuality = 50.0f;              // lossy WebP, 0..100
constexpr int kEffort = 4;                     // WebP's method, 0 (fast) to 6 (small)
constexpr int kKeyFrameMin = 20;               // film frames between key frames, at least
constexpr int kKeyFrameMax = 40;               // and at most

irr::u32 clockAt(std::int64_t showFrame) {
    return static_cast<irr::u32>(std::llround(static_cast<double>(showFrame) * kShowFrameMs));
}

// "gather-spread" is captioned "2. Gather spread".
std::wstring caption(std::int32_t effect, const char* name) {
    std::wstring text = std::to_wstring(effect) + L". ";
    for (const char* c = name; *c; ++c)
        text += *c == '-' ? L' ' : static_cast<wchar_t>(c == name ? std::toupper(*c) : *c);
    return text;
}

struct EncoderDeleter {
    void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
};

class FilmEncoder {
public:
    FilmEncoder(int width, int height) : Width(width), Height(height) {
        WebPAnimEncoderOptions options;
        if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&Config))
            return;
        options.kmin = kKeyFrameMin;
        options.kmax = kKeyFrameMax;
        Config.quality = kQuality;
        Config.method = kEffort;
        Config.thread_level = 0; // one thread: the same frames give the same bytes
        Encoder.reset(WebPAnimEncoderNew(width, height, &options));
    }

    bool add(const std::vector<std::uint8_t>& bgra, int timestampMs) {
        WebPPicture picture;
        if (!Encoder || !WebPPictureInit(&picture))
            return false;
        picture.width = Width;
        picture.height = Height;
        picture.use_argb = 1;
        const bool added = WebPPictureImportBGRX(&picture, bgra.data(), Width * 4) &&
                           WebPAnimEncoderAdd(Encoder.get(), &picture, timestampMs, &Config);
        WebPPictureFree(&picture);
        return added;
    }

    bool write(const std::string& path, int endMs) {
        if (!Encoder || !WebPAnimEncoderAdd(Encoder.get(), nullptr, endMs, nullptr))
            return false;
        WebPData data;
        WebPDataInit(&data);
        bool written = WebPAnimEncoderAssemble(Encoder.get(), &data);
        if (written) {
            std::FILE* file = std::fopen(path.c_str(), "wb");
            written = file && std::fwrite(data.bytes, 1, data.size, file) == data.size;
            written = file && std::fclose(file) == 0 && written;
        }
        WebPDataClear(&data);
        return written;
    }

private:
    int Width;
    int Height;
    WebPConfig Config{};
    std::unique_ptr<WebPAnimEncoder, EncoderDeleter> Encoder;
};

// Draws the frame after the latest update, at the show frame's time.
std::vector<std::uint8_t> drawFrame(std::int64_t showFrame, const std::wstring& text) {
    DeviceParams& d = Show.Device;
    d.Device->getTimer()->setTime(clockAt(showFrame));
    d.Device->run();
    d.VideoDriver->beginScene(d.ClearBackBuffer, d.ClearZBuffer, d.ClearColor);
    d.SceneManager->drawAll();
    drawCornerText(d, text);
    std::vector<std::uint8_t> pixels = grabBackBuffer(d.Width, d.Height);
    d.VideoDriver->endScene();
    return pixels;
}

} // namespace

bool makeFilm(const std::vector<EffectRun>& runs, const FilmOptions& options, const char* const* effectNames) {
    FilmEncoder encoder(Show.Device.Width, Show.Device.Height);
    const auto clipFrames = static_cast<std::int64_t>(options.ClipSeconds * 1000.0 / kShowFrameMs);
    const double filmFrameMs = kShowFrameMs * options.ShowFramesPerFrame;
    std::int64_t frame = 0; // updates so far
    int filmFrames = 0;
    for (const EffectRun& run : runs) {
        const std::int64_t first = std::max(run.PickedAt + 1, run.halfWay() - clipFrames / 2);
        const std::int64_t last = std::min(first + clipFrames, run.PickedAt + run.Length);
        const std::wstring text = caption(run.Effect, effectNames[run.Effect - 1]);
        while (frame < last) {
            updateSwarm();
            ++frame;
            if (frame < first || (frame - first) % options.ShowFramesPerFrame != 0)
                continue;
            const int timestamp = static_cast<int>(std::lround(filmFrames * filmFrameMs));
            if (!encoder.add(drawFrame(frame, text), timestamp))
                return false;
            ++filmFrames;
        }
    }
    const bool written = encoder.write(options.Out, static_cast<int>(std::lround(filmFrames * filmFrameMs)));
    if (written)
        std::printf("%s: %d frames, %d effects\n", options.Out.c_str(), filmFrames, static_cast<int>(runs.size()));
    return written;
}
