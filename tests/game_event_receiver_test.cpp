#include "show/game_event_receiver.h"
#include "show/game_map.h"
#include "show/show_state.h"

#include <gtest/gtest.h>

namespace {

irr::SEvent key(bool pressed) {
    irr::SEvent event{};
    event.EventType = irr::EET_KEY_INPUT_EVENT;
    event.KeyInput.Key = irr::KEY_SPACE;
    event.KeyInput.PressedDown = pressed;
    return event;
}

irr::SEvent mouse(irr::EMOUSE_INPUT_EVENT what) {
    irr::SEvent event{};
    event.EventType = irr::EET_MOUSE_INPUT_EVENT;
    event.MouseInput.Event = what;
    return event;
}

class ReceiverTest : public ::testing::Test {
protected:
    void SetUp() override { Show.QuitRequested = false; }
    void TearDown() override { Show.QuitRequested = false; }
    GameEventReceiver receiver;
};

} // namespace

TEST_F(ReceiverTest, AKeyPressOrALeftOrRightButtonAsksToQuit) {
    for (const irr::SEvent& event :
         {key(true), mouse(irr::EMIE_LMOUSE_PRESSED_DOWN), mouse(irr::EMIE_RMOUSE_PRESSED_DOWN)}) {
        Show.QuitRequested = false;
        EXPECT_TRUE(receiver.OnEvent(event));
        EXPECT_TRUE(Show.QuitRequested);
    }
}

TEST_F(ReceiverTest, ReleasesMovementTheWheelAndTheMiddleButtonPassBy) {
    irr::SEvent log{};
    log.EventType = irr::EET_LOG_TEXT_EVENT;
    for (const irr::SEvent& event :
         {key(false), mouse(irr::EMIE_MMOUSE_PRESSED_DOWN), mouse(irr::EMIE_MOUSE_WHEEL),
          mouse(irr::EMIE_MOUSE_MOVED), mouse(irr::EMIE_LMOUSE_LEFT_UP), mouse(irr::EMIE_RMOUSE_LEFT_UP),
          mouse(irr::EMIE_LMOUSE_DOUBLE_CLICK), log}) {
        EXPECT_FALSE(receiver.OnEvent(event));
        EXPECT_FALSE(Show.QuitRequested);
    }
}

TEST_F(ReceiverTest, AQuitRequestIsNeverTakenBack) {
    receiver.OnEvent(key(true));
    receiver.OnEvent(key(false));
    receiver.OnEvent(mouse(irr::EMIE_MOUSE_MOVED));
    EXPECT_TRUE(Show.QuitRequested);
}

TEST(GameMap, DeletesWhatItHoldsThroughTheirOwnDestructors) {
    static int destroyed = 0;
    struct Counted : GameMap::Object {
        ~Counted() override { ++destroyed; }
    };
    {
        GameMap map;
        map.adopt(new GameMap::Object*[3]{new Counted, nullptr, new Counted}, 3);
        EXPECT_EQ(map.count(), 3);
    }
    EXPECT_EQ(destroyed, 2);
    GameMap empty; // nothing to delete, nothing to crash on
    EXPECT_EQ(empty.count(), 0);
}
