#pragma once

#include <irrlicht.h>

#include <cstdint>

// One ball of the swarm: a billboard in the scene and a straight,
// constant-velocity flight. Speeds are world units per ten frames.
class Pixel {
public:
    static constexpr float kEscapeRadiusSquared = 40000.0f; // a sphere of radius 200
    static constexpr float kInitialBillboardSize = 10.0f;   // world units

    Pixel(); // draws a random start position and adds the billboard
    ~Pixel() = default; // the scene owns the billboard and frees it with the device
    Pixel(const Pixel&) = delete;
    Pixel& operator=(const Pixel&) = delete;

    void moveTo(const irr::core::vector3df& target, float speed);
    void moveToWithin(const irr::core::vector3df& target, std::int32_t frames);
    void step();

    irr::scene::IBillboardSceneNode* Node = nullptr;
    irr::core::vector3df Position;
    irr::core::vector3df Velocity;
    std::int32_t FramesLeft = 0; // whole steps to the target; goes negative once the move is used up
    std::int32_t Phase = 0;      // free for an effect's per-pixel progress
    std::int32_t Moving = 0;     // a step moves the pixel only while this is exactly 1

private:
    void escapeToCentre();
};
