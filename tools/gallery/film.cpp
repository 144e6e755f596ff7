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
constexpr int kBytesPerPixel = 4;
constexpr int kShrink = 2; // frames are drawn at twice the film's size: balls of a pixel or two stay round

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
        const bool added = WebPPictureImportBGRX(&picture, bgra.data(), Width * kBytesPerPixel) &&
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

// Each film pixel is the mean of a square of drawn ones.
std::vector<std::uint8_t> shrink(const std::vector<std::uint8_t>& bgra, int width, int height) {
    const int outWidth = width / kShrink;
    const int outHeight = height / kShrink;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(outWidth) * outHeight * kBytesPerPixel);
    for (int y = 0; y < outHeight; ++y)
        for (int x = 0; x < outWidth; ++x)
            for (int channel = 0; channel < kBytesPerPixel; ++channel) {
                int sum = 0;
                for (int dy = 0; dy < kShrink; ++dy)
                    for (int dx = 0; dx < kShrink; ++dx)
                        sum += bgra[(static_cast<std::size_t>(y * kShrink + dy) * width + x * kShrink + dx) *
                                        kBytesPerPixel + channel];
                out[(static_cast<std::size_t>(y) * outWidth + x) * kBytesPerPixel + channel] =
                    static_cast<std::uint8_t>((sum + kShrink * kShrink / 2) / (kShrink * kShrink));
            }
    return out;
}

// The caption is drawn at the film's own size: TEXT, drawn alone over the
// whole view, has its lower left quarter (which holds it) laid over FRAME,
// the lighter of the two winning in every channel.
void addCaption(std::vector<std::uint8_t>& frame, const std::wstring& text) {
    DeviceParams& d = Show.Device;
    const irr::core::recti view(0, 0, d.Width, d.Height);
    d.VideoDriver->draw2DRectangle(irr::video::SColor(255, 0, 0, 0), view);
    drawCornerText(d, text);
    const std::vector<std::uint8_t> caption = grabBackBuffer(d.Width, d.Height);
    const int outWidth = d.Width / kShrink;
    const int outHeight = d.Height / kShrink;
    const int firstRow = d.Height - outHeight;
    for (int y = 0; y < outHeight; ++y)
        for (int x = 0; x < outWidth * kBytesPerPixel; ++x) {
            std::uint8_t& out = frame[static_cast<std::size_t>(y) * outWidth * kBytesPerPixel + x];
            out = std::max(out, caption[static_cast<std::size_t>(firstRow + y) * d.Width * kBytesPerPixel + x]);
        }
}

// Draws the frame after the latest update, at the show frame's time.
std::vector<std::uint8_t> drawFrame(std::int64_t showFrame, const std::wstring& text) {
    DeviceParams& d = Show.Device;
    d.Device->getTimer()->setTime(clockAt(showFrame));
    d.Device->run();
    d.VideoDriver->beginScene(d.ClearBackBuffer, d.ClearZBuffer, d.ClearColor);
    d.SceneManager->drawAll();
    std::vector<std::uint8_t> frame = shrink(grabBackBuffer(d.Width, d.Height), d.Width, d.Height);
    addCaption(frame, text);
    d.VideoDriver->endScene();
    return frame;
}

} // namespace

bool makeFilm(const std::vector<EffectRun>& runs, const FilmOptions& options) {
    FilmEncoder encoder(Show.Device.Width / kShrink, Show.Device.Height / kShrink);
    const auto clipFrames = static_cast<std::int64_t>(options.ClipSeconds * 1000.0 / kShowFrameMs);
    const double filmFrameMs = kShowFrameMs * options.ShowFramesPerFrame;
    std::int64_t frame = 0; // updates so far
    int filmFrames = 0;
    for (const EffectRun& run : runs) {
        const std::int64_t first = std::max(run.PickedAt + 1, run.halfWay() - clipFrames / 2);
        const std::int64_t last = std::min(first + clipFrames, run.PickedAt + run.Length);
        const std::wstring text = caption(run.Effect, kEffectTable[static_cast<std::size_t>(run.Effect - 1)].Name);
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
