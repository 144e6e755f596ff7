#pragma once

// Advances the current effect by one frame, or picks the next one, then
// steps every pixel. False once the user has asked to quit.
bool updateSwarm();
