#pragma once

// The life of the show, step by step; runShow does them all in order.

void prepareShow();
bool createEngineDevice();
void runFrameLoop();
void releasePixels();
void teardown();
int runShow();
