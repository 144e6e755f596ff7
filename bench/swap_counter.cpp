// libqvswapcount.so: preloaded into a program (LD_PRELOAD), it times the
// program's glXSwapBuffers calls and, when the program ends, prints to
// stderr how many frames it showed, how fast, and how evenly:
//   qvswapcount: 600 frames in 10.00 s: 60.0 per second; interval median 16.7 ms, 95th 17.1 ms, max 20.3 ms
// Given the time the program was started in QV_STARTED_AT (nanoseconds of
// the real-time clock, as `date +%s%N` prints them), it also says how long
// the first frame took:
//   qvswapcount: first frame 0.182 s after the start
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

class SwapLog {
public:
    SwapLog() { Times.reserve(kExpectedFrames); }
    ~SwapLog() { report(); }
    void note() {
        if (Times.empty())
            reportFirstFrame();
        Times.push_back(Clock::now());
    }

private:
    void report() const {
        if (Times.size() < 2)
            return;
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
    std::vector<Clock::time_point> Times;
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
