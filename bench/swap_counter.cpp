// libqvswapcount.so: preloaded into a program (LD_PRELOAD), it times the
// program's glXSwapBuffers calls and, when the program ends, prints to
// stderr how many frames it showed, how fast, and how evenly:
//   qvswapcount: 600 frames in 10.00 s: 60.0 per second; interval median 16.7 ms, 95th 17.1 ms, max 20.3 ms
// Given the time the program was started in QV_STARTED_AT (nanoseconds of
// the real-time clock, as `date +%s%N` prints them), it also says how long
// the first frame took:
//   qvswapcount: first frame 0.182 s after the start
// What the program really drew is read back from its calls: the size of the
// view and how many billboards (the quads it draws as two triangles each)
// and sky-box faces (fans of four corners) went into its first and last
// frames:
//   qvswapcount: first frame drew 1920x1080: 4096 billboards, 6 sky-box faces
// Given QV_SWAP_REPORT_SECONDS, it also says every that many seconds how
// many frames were shown since it last said:
//   qvswapcount: 3600 frames in the last 60.0 s
#include <GL/gl.h>
#include <GL/glx.h>
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kExpectedFrames = 1 << 16;
constexpr double kPercentile = 0.95;
constexpr GLsizei kIndicesPerQuad = 6;
constexpr GLsizei kCornersPerFace = 4;

// What went into the frame being drawn, and into the last one shown.
struct FrameContent {
    long Billboards = 0;
    long SkyFaces = 0;
    GLint Viewport[4] = {};
};
FrameContent Drawing;
FrameContent LastShown;

void reportContent(const char* which, const FrameContent& frame) {
    std::fprintf(stderr, "qvswapcount: %s frame drew %dx%d: %ld billboards, %ld sky-box faces\n", which,
                 frame.Viewport[2], frame.Viewport[3], frame.Billboards, frame.SkyFaces);
}

void noteViewport() {
    using GetIntegers = void (*)(GLenum, GLint*);
    static const auto getIntegers = reinterpret_cast<GetIntegers>(dlsym(RTLD_NEXT, "glGetIntegerv"));
    if (getIntegers)
        getIntegers(GL_VIEWPORT, Drawing.Viewport);
}

double milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void reportFirstFrame() {
    const char* started = std::getenv("QV_STARTED_AT");
    if (!started)
        return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    constexpr double kNanoseconds = 1e9;
    const double seconds = static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / kNanoseconds -
                           static_cast<double>(std::strtoll(started, nullptr, 10)) / kNanoseconds;
    std::fprintf(stderr, "qvswapcount: first frame %.3f s after the start\n", seconds);
}

// The frames of each period, where the program runs for hours.
class PeriodReport {
public:
    PeriodReport() {
        if (const char* seconds = std::getenv("QV_SWAP_REPORT_SECONDS"))
            Period = std::chrono::duration<double>(std::strtod(seconds, nullptr));
    }
    void note(Clock::time_point now) {
        if (Period.count() <= 0)
            return;
        if (Frames == 0 && Begun == Clock::time_point{})
            Begun = now;
        ++Frames;
        const std::chrono::duration<double> spent = now - Begun;
        if (spent < Period)
            return;
        std::fprintf(stderr, "qvswapcount: %ld frames in the last %.1f s\n", Frames, spent.count());
        Frames = 0;
        Begun = now;
    }

private:
    std::chrono::duration<double> Period{0};
    Clock::time_point Begun{};
    long Frames = 0;
};

class SwapLog {
public:
    SwapLog() { Times.reserve(kExpectedFrames); }
    ~SwapLog() { report(); }
    void note() {
        noteViewport();
        if (Times.empty()) {
            reportFirstFrame();
            reportContent("first", Drawing);
        }
        const Clock::time_point now = Clock::now();
        Periods.note(now);
        if (Times.size() < kExpectedFrames)
            Times.push_back(now);
        LastShown = Drawing;
        Drawing = FrameContent{};
    }

private:
    void report() const {
        if (Times.size() < 2)
            return;
        reportContent("last", LastShown);
        std::vector<Clock::duration> gaps;
        for (std::size_t i = 1; i < Times.size(); ++i)
            gaps.push_back(Times[i] - Times[i - 1]);
        std::sort(gaps.begin(), gaps.end());
        const double seconds = milliseconds(Times.back() - Times.front()) / 1000;
        std::fprintf(stderr,
                     "qvswapcount: %zu frames in %.2f s: %.1f per second; interval median %.1f ms, "
                     "95th %.1f ms, max %.1f ms\n",
                     Times.size(), seconds, static_cast<double>(gaps.size()) / seconds,
                     milliseconds(gaps[gaps.size() / 2]),
                     milliseconds(gaps[static_cast<std::size_t>(static_cast<double>(gaps.size() - 1) * kPercentile)]),
                     milliseconds(gaps.back()));
    }
    std::vector<Clock::time_point> Times; // the first ones: hours of frames would be gigabytes
    PeriodReport Periods;
};

SwapLog Log;

} // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    using Swap = void (*)(Display*, GLXDrawable);
    static const auto next = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    Log.note();
    if (next)
        next(display, drawable);
}

extern "C" void glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    using Draw = void (*)(GLenum, GLsizei, GLenum, const void*);
    static const auto next = reinterpret_cast<Draw>(dlsym(RTLD_NEXT, "glDrawElements"));
    if (mode == GL_TRIANGLES)
        Drawing.Billboards += count / kIndicesPerQuad;
    else if (mode == GL_TRIANGLE_FAN && count == kCornersPerFace)
        ++Drawing.SkyFaces;
    if (next)
        next(mode, count, type, indices);
}
