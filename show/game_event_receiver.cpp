#include "show/game_event_receiver.h"

#include "show/show_state.h"

namespace {

bool isQuitEvent(const irr::SEvent& event) {
    switch (event.EventType) {
    case irr::EET_KEY_INPUT_EVENT:
        return event.KeyInput.PressedDown;
    case irr::EET_MOUSE_INPUT_EVENT:
        return event.MouseInput.Event == irr::EMIE_LMOUSE_PRESSED_DOWN ||
               event.MouseInput.Event == irr::EMIE_RMOUSE_PRESSED_DOWN;
    default:
        return false;
    }
}

} // namespace

bool GameEventReceiver::OnEvent(const irr::SEvent& event) {
    if (!isQuitEvent(event))
        return false;
    Show.QuitRequested = true;
    return true;
}
