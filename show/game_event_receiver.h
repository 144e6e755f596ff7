#pragma once

#include <irrlicht.h>

// Turns the user's first key press or left or right button press into a
// quit request; everything else passes by.
class GameEventReceiver : public irr::IEventReceiver {
public:
    ~GameEventReceiver() override = default;
    bool OnEvent(const irr::SEvent& event) override;
};
