#include "platform/session/idle_choice.h"

#include <gtest/gtest.h>

namespace {

using platform::IdleSourceKind;
using platform::SessionOffer;

// What the compositors in Debian 12 announce, as far as the choice goes.
const std::vector<std::string> kSway = {"wl_compositor", "wl_seat", "org_kde_kwin_idle", "zwp_idle_inhibit_manager_v1"};
const std::vector<std::string> kKwin = {"wl_compositor", "wl_seat", "org_kde_kwin_idle", "ext_idle_notifier_v1"};
const std::vector<std::string> kMutter = {"wl_compositor", "wl_seat", "xdg_wm_base"};

SessionOffer wayland(std::vector<std::string> globals, bool mutterMonitor = false) {
    SessionOffer offer;
    offer.Wayland = true;
    offer.WaylandGlobals = std::move(globals);
    offer.MutterIdleMonitor = mutterMonitor;
    return offer;
}

SessionOffer x11(bool mutterMonitor, bool screenSaver) {
    SessionOffer offer;
    offer.MutterIdleMonitor = mutterMonitor;
    offer.X11ScreenSaver = screenSaver;
    return offer;
}

IdleSourceKind chosen(const SessionOffer& offer) {
    const auto choice = platform::chooseIdleSource(offer);
    if (const auto* none = std::get_if<platform::NoIdleSource>(&choice))
        ADD_FAILURE() << "nothing chosen: " << none->Missing;
    return std::get_if<IdleSourceKind>(&choice) ? std::get<IdleSourceKind>(choice) : IdleSourceKind::X11ScreenSaver;
}

std::string missing(const SessionOffer& offer) {
    const auto choice = platform::chooseIdleSource(offer);
    const auto* none = std::get_if<platform::NoIdleSource>(&choice);
    EXPECT_NE(none, nullptr);
    return none ? none->Missing : std::string();
}

TEST(IdleChoice, EachDesktopGetsItsOwnTimer) {
    EXPECT_EQ(chosen(wayland(kSway)), IdleSourceKind::KdeIdle);
    EXPECT_EQ(chosen(wayland(kKwin)), IdleSourceKind::ExtIdleNotify);
    EXPECT_EQ(chosen(wayland(kMutter, true)), IdleSourceKind::MutterIdleMonitor);
    EXPECT_EQ(chosen(x11(true, true)), IdleSourceKind::MutterIdleMonitor); // GNOME on Xorg knows its inhibitors
    EXPECT_EQ(chosen(x11(false, true)), IdleSourceKind::X11ScreenSaver);
}

TEST(IdleChoice, TheStandardProtocolWinsWhereBothAreOffered) {
    EXPECT_EQ(chosen(wayland({"org_kde_kwin_idle", "ext_idle_notifier_v1", "wl_seat"}, true)),
              IdleSourceKind::ExtIdleNotify);
}

// XWayland's idle time sees only input that goes to X windows.
TEST(IdleChoice, AWaylandSessionNeverFallsBackToTheXServer) {
    SessionOffer offer = wayland(kMutter);
    offer.X11ScreenSaver = true;
    const std::string why = missing(offer);
    EXPECT_NE(why.find("ext_idle_notifier_v1"), std::string::npos) << why;
    EXPECT_NE(why.find("org_kde_kwin_idle"), std::string::npos) << why;
    EXPECT_NE(why.find("org.gnome.Mutter.IdleMonitor"), std::string::npos) << why;
}

TEST(IdleChoice, AnIdleProtocolWithoutASeatIsOfNoUse) {
    EXPECT_NE(missing(wayland({"ext_idle_notifier_v1", "org_kde_kwin_idle"})).find("no seat"), std::string::npos);
    EXPECT_EQ(chosen(wayland({"ext_idle_notifier_v1"}, true)), IdleSourceKind::MutterIdleMonitor);
}

TEST(IdleChoice, ASessionWithNothingSaysWhatIsMissing) {
    const std::string why = missing(x11(false, false));
    EXPECT_NE(why.find("Wayland"), std::string::npos) << why;
    EXPECT_NE(why.find("MIT-SCREEN-SAVER"), std::string::npos) << why;
}

} // namespace
