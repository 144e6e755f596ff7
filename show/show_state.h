#pragma once

#include "show/random15.h"
#include "settings/show_settings.h"
#include "show/device_params.h"
#include "show/swarm/effects/effect_table.h"

#include <array>
#include <cstdint>
#include <vector>

class Pixel;
class SwarmNode;

// The show's one record, alive for the whole run.
struct ShowState {
    static constexpr std::size_t kPixelSlots = 4096;

    DeviceParams Device;
    ShowSettings Settings;
    bool QuitRequested = false;
    std::array<Pixel*, kPixelSlots> Pixels{};
    irr::scene::ICameraSceneNode* Camera = nullptr;
    SwarmNode* SwarmDrawing = nullptr; // draws every pixel's billboard; the scene owns it
    std::int32_t CurrentEffect = 0; // 1 to kEffectCount while an effect runs, else none
    EffectStates Effects;
    Random15 Random; // every draw of the show comes from here
    std::vector<int>* DrawRecord = nullptr; // when set, every draw's modulus is appended (tests)
};

extern ShowState Show;

// The pixels in use, in index order.
struct PixelRange {
    Pixel* const* First;
    std::size_t Count;
    Pixel* const* begin() const { return First; }
    Pixel* const* end() const { return First + Count; }
    std::size_t size() const { return Count; }
};
PixelRange swarm();

// One draw of the show's generator, reduced modulo m: 0 to m - 1.
int randomBelow(int m);

// R(m) / 100 + offset, worked in double precision and stored as a float:
// a value on a grid of 0.01 starting at offset.
float randomHundredths(int m, double offset);
