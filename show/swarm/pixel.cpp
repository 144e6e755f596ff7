#include "show/swarm/pixel.h"

#include "show/show_state.h"
#include "show/swarm/effects/effect_kit.h"

#include <cmath>
#include <limits>

using irr::core::vector3df;

namespace {

constexpr float kStartSpeed = 1.0f;
constexpr int kStartGrid = 20000;      // hundredths: a start cube of half-width 100
constexpr double kStartOffset = -100.0;
constexpr int kEscapeGrid = 10000;     // hundredths: an escape cube of half-width 50
constexpr double kEscapeOffset = -50.0;
constexpr float kEscapeSpeed = 2.0f;
constexpr float kFramesPerSpeedUnit = 10.0f; // a speed is counted per ten frames
constexpr float kArrivalMargin = 0.1f;       // keeps float rounding from losing a frame
constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFF;

float length(const vector3df& v) { return std::sqrt(squaredLength(v)); }

// The squared length and the factor are each rounded to single precision.
void normalise(vector3df& v) {
    const float squared = squaredLength(v);
    if (squared == 0.0f)
        return;
    const auto factor = static_cast<float>(1.0 / std::sqrt(static_cast<double>(squared)));
    v *= factor;
}

// Truncates toward zero; a move with no speed counts as arrived, and a count
// beyond the integer range saturates instead of wrapping.
std::int32_t wholeSteps(float distance, float speed) {
    if (speed == 0.0f)
        return 0;
    const float steps = distance * kFramesPerSpeedUnit / speed;
    if (std::isnan(steps))
        return 0;
    constexpr auto kMax = static_cast<float>(std::numeric_limits<std::int32_t>::max());
    if (steps >= kMax)
        return std::numeric_limits<std::int32_t>::max();
    if (steps <= -kMax)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(steps);
}

} // namespace

Pixel::Pixel() {
    const float x = randomHundredths(kStartGrid, kStartOffset);
    const float y = randomHundredths(kStartGrid, kStartOffset);
    const float z = randomHundredths(kStartGrid, kStartOffset);
    Position = vector3df(x, y, z);
    moveTo(Position, kStartSpeed);

    irr::scene::ISceneManager* scene = Show.Device.SceneManager;
    if (!scene)
        return;
    const irr::video::SColor white(kOpaqueWhite);
    Node = scene->addBillboardSceneNode(nullptr, irr::core::dimension2df(kInitialBillboardSize, kInitialBillboardSize),
                                        vector3df(0, 0, 0), -1, white, white);
    if (!Node)
        return;
    for (irr::u32 i = 0; i < Node->getMaterialCount(); ++i)
        Node->getMaterial(i).MaterialType = irr::video::EMT_TRANSPARENT_ADD_COLOR;
}

void Pixel::moveTo(const vector3df& target, float speed) {
    Moving = 1;
    Velocity = target - Position;
    FramesLeft = wholeSteps(length(Velocity), speed);
    normalise(Velocity);
    Velocity *= speed / kFramesPerSpeedUnit;
}

void Pixel::moveToWithin(const vector3df& target, std::int32_t frames) {
    const float distance = length(target - Position);
    const auto speed = static_cast<float>(static_cast<double>(distance) * kFramesPerSpeedUnit /
                                          (static_cast<double>(frames) + static_cast<double>(kArrivalMargin)));
    moveTo(target, speed);
}

void Pixel::step() {
    if (Moving != 1)
        return;
    Position += Velocity;
    if (squaredLength(Position) > kEscapeRadiusSquared)
        escapeToCentre();
    if (Node)
        Node->setPosition(Position);
    if (FramesLeft > std::numeric_limits<std::int32_t>::min())
        --FramesLeft;
}

// A pixel that leaves the sphere is sent back towards a random point near
// the centre, and takes its first step along the new heading at once.
void Pixel::escapeToCentre() {
    const float z = randomHundredths(kEscapeGrid, kEscapeOffset);
    const float y = randomHundredths(kEscapeGrid, kEscapeOffset);
    const float x = randomHundredths(kEscapeGrid, kEscapeOffset);
    moveTo(vector3df(x, y, z), kEscapeSpeed);
    Position += Velocity;
}
