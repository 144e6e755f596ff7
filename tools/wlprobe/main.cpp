// qvwlprobe: what the end-to-end tests ask of a Wayland compositor.
//
//   qvwlprobe inhibit    maps a small window and holds an idle inhibitor on
//                        it, as a video player does while it plays; prints
//                        "inhibiting" once the compositor has shown the
//                        window, and holds it until killed
//   qvwlprobe activity   tells the compositor that the user is active
//                        (org_kde_kwin_idle's simulate_user_activity), as
//                        input would, for compositors that take no
//                        synthetic input from a test
//
// Exit codes: 0 done, 1 usage, 2 no compositor or not the protocols needed.
#include "idle-client-protocol.h"
#include "idle-inhibit-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <wayland-client.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kAnswered = 0;
constexpr int kUsage = 1;
constexpr int kNoCompositor = 2;
constexpr int kSide = 64;                       // pixels
constexpr int kBytesPerPixel = 4;
constexpr std::uint32_t kGrey = 0xFF808080;     // ARGB
constexpr std::uint32_t kActivityTimeout = 60000; // msec; the timeout object only carries the request

struct Globals {
    wl_compositor* Compositor = nullptr;
    wl_shm* Shm = nullptr;
    wl_seat* Seat = nullptr;
    xdg_wm_base* WmBase = nullptr;
    zwp_idle_inhibit_manager_v1* Inhibitors = nullptr;
    org_kde_kwin_idle* KdeIdle = nullptr;
};

template <typename T>
T* bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface) {
    return static_cast<T*>(wl_registry_bind(registry, name, &interface, 1));
}

void announce(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    auto& globals = *static_cast<Globals*>(data);
    const auto is = [&](const wl_interface& wanted) { return std::strcmp(interface, wanted.name) == 0; };
    if (is(wl_compositor_interface))
        globals.Compositor = bind<wl_compositor>(registry, name, wl_compositor_interface);
    else if (is(wl_shm_interface))
        globals.Shm = bind<wl_shm>(registry, name, wl_shm_interface);
    else if (is(wl_seat_interface) && !globals.Seat)
        globals.Seat = bind<wl_seat>(registry, name, wl_seat_interface);
    else if (is(xdg_wm_base_interface))
        globals.WmBase = bind<xdg_wm_base>(registry, name, xdg_wm_base_interface);
    else if (is(zwp_idle_inhibit_manager_v1_interface))
        globals.Inhibitors = bind<zwp_idle_inhibit_manager_v1>(registry, name, zwp_idle_inhibit_manager_v1_interface);
    else if (is(org_kde_kwin_idle_interface))
        globals.KdeIdle = bind<org_kde_kwin_idle>(registry, name, org_kde_kwin_idle_interface);
}

void removed(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistry = {&announce, &removed};

void ping(void*, xdg_wm_base* base, std::uint32_t serial) { xdg_wm_base_pong(base, serial); }
const xdg_wm_base_listener kWmBase = {&ping};

struct Window {
    wl_surface* Surface = nullptr;
    wl_buffer* Buffer = nullptr;
    bool Configured = false;
};

void configure(void* data, xdg_surface* surface, std::uint32_t serial) {
    auto& window = *static_cast<Window*>(data);
    xdg_surface_ack_configure(surface, serial);
    if (!window.Configured) {
        window.Configured = true;
        wl_surface_attach(window.Surface, window.Buffer, 0, 0);
        wl_surface_damage(window.Surface, 0, 0, kSide, kSide);
        wl_surface_commit(window.Surface);
    }
}
const xdg_surface_listener kXdgSurface = {&configure};

void toplevelConfigure(void*, xdg_toplevel*, std::int32_t, std::int32_t, wl_array*) {}
void toplevelClose(void*, xdg_toplevel*) {}
// Bound at version 1: the later events never come.
const xdg_toplevel_listener kToplevel = {&toplevelConfigure, &toplevelClose, nullptr, nullptr};

wl_buffer* greyBuffer(wl_shm* shm) {
    const int stride = kSide * kBytesPerPixel;
    const int size = stride * kSide;
    const int fd = memfd_create("qvwlprobe", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, size) != 0)
        return nullptr;
    void* pixels = mmap(nullptr, static_cast<std::size_t>(size), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED)
        return nullptr;
    auto* words = static_cast<std::uint32_t*>(pixels);
    for (int i = 0; i < kSide * kSide; ++i)
        words[i] = kGrey;
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, size);
    wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, kSide, kSide, stride, WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    return buffer;
}

int inhibit(wl_display* display, const Globals& globals) {
    if (!globals.Compositor || !globals.Shm || !globals.WmBase || !globals.Inhibitors) {
        std::fprintf(stderr, "qvwlprobe: the compositor offers no zwp_idle_inhibit_manager_v1 or xdg_wm_base\n");
        return kNoCompositor;
    }
    xdg_wm_base_add_listener(globals.WmBase, &kWmBase, nullptr);
    Window window;
    window.Surface = wl_compositor_create_surface(globals.Compositor);
    window.Buffer = greyBuffer(globals.Shm);
    xdg_surface* surface = xdg_wm_base_get_xdg_surface(globals.WmBase, window.Surface);
    xdg_surface_add_listener(surface, &kXdgSurface, &window);
    xdg_toplevel* toplevel = xdg_surface_get_toplevel(surface);
    xdg_toplevel_add_listener(toplevel, &kToplevel, nullptr);
    xdg_toplevel_set_title(toplevel, "qvwlprobe inhibitor");
    zwp_idle_inhibit_manager_v1_create_inhibitor(globals.Inhibitors, window.Surface);
    wl_surface_commit(window.Surface);
    while (!window.Configured)
        if (wl_display_dispatch(display) < 0)
            return kNoCompositor;
    if (wl_display_roundtrip(display) < 0) // the buffer is in, and the window mapped
        return kNoCompositor;
    std::printf("inhibiting\n");
    std::fflush(stdout);
    while (wl_display_dispatch(display) >= 0) {
    }
    return kAnswered;
}

int activity(wl_display* display, const Globals& globals) {
    if (!globals.KdeIdle || !globals.Seat) {
        std::fprintf(stderr, "qvwlprobe: the compositor offers no org_kde_kwin_idle\n");
        return kNoCompositor;
    }
    org_kde_kwin_idle_timeout* timeout = org_kde_kwin_idle_get_idle_timeout(globals.KdeIdle, globals.Seat,
                                                                             kActivityTimeout);
    org_kde_kwin_idle_timeout_simulate_user_activity(timeout);
    org_kde_kwin_idle_timeout_release(timeout);
    return wl_display_roundtrip(display) < 0 ? kNoCompositor : kAnswered;
}

} // namespace

int main(int argc, char** argv) {
    const bool inhibiting = argc == 2 && std::strcmp(argv[1], "inhibit") == 0;
    const bool active = argc == 2 && std::strcmp(argv[1], "activity") == 0;
    if (!inhibiting && !active) {
        std::fprintf(stderr, "usage: qvwlprobe inhibit | qvwlprobe activity\n");
        return kUsage;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "qvwlprobe: no Wayland compositor answers\n");
        return kNoCompositor;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistry, &globals);
    wl_display_roundtrip(display);
    const int result = inhibiting ? inhibit(display, globals) : activity(display, globals);
    wl_display_disconnect(display);
    return result;
}
