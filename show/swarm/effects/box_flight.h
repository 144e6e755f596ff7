#pragma once

// Rising layers and scatter share one move: the whole swarm flies to fresh
// random points of a box, every pixel with the same frame count, so that it
// moves in lockstep and arrives on one frame.

#include <cstdint>

// Values on a grid of 0.01: Offset, Offset + 0.01, ..., Offset + (Grid - 1) / 100.
struct HundredthsRange {
    int Grid;      // hundredths
    double Offset; // world units
};

struct BoxRange {
    HundredthsRange X, Y, Z;
};

// One flight: its frame count, Base to Base + Spread - 1, and where it goes.
struct BoxLeg {
    std::int32_t FramesBase;
    int FramesSpread;
    BoxRange Box;
};

// Draws each pixel's z, then y, then x and aims it there in the given frames.
void sendToBox(const BoxRange& box, std::int32_t frames);

// Draws the leg's frame count, then sends the swarm; gives the frame count.
std::int32_t flyLeg(const BoxLeg& leg);
