#pragma once

// The life of the show, step by step; runShow does them all in order.

#include "settings/show_settings.h"

#include <cstdint>

void prepareShow();
bool createEngineDevice();
void runFrameLoop();
void releasePixels();
void teardown();
int runShow();

// A show without a window, on the engine's null driver, for tools and
// tests: the swarm is built exactly as on screen, every draw in its order.
bool startHeadlessShow(const ShowSettings& settings, std::uint32_t seed);
void stopHeadlessShow();
