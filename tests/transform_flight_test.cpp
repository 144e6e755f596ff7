// Flatten and mirror: the swarm flies to a transformed copy of itself.

#include "show/swarm/effects/flatten.h"
#include "show/swarm/effects/mirror.h"
#include "tests/support/swarm_fixture.h"

#include <vector>

using irr::core::vector3df;

namespace {

struct TransformEffect {
    const char* Name;
    bool (*Run)();
    TransformState* State;
    std::vector<vector3df> Factors; // by k, axis by axis
};

const TransformEffect kFlatten = {"flatten",
                                  FlattenEffect,
                                  &Show.Effects.Flatten,
                                  {{0.1f, 1, 1}, {1, 0.1f, 1}, {1, 1, 0.1f}, {0.1f, 1, 0.1f}, {0.1f, 1, 0.1f}}};
const TransformEffect kMirror = {"mirror", MirrorEffect, &Show.Effects.Mirror, {{-1, 1, 1}, {1, -1, 1}, {1, 1, -1}}};

// A point that each transformation leaves where it is, by k.
const vector3df kFixedPoints[] = {{0, 30, -20}, {30, 0, -20}, {30, -20, 0}, {0, -20, 0}, {0, 25, 0}};

class TransformFlightTest : public SwarmTest {};

} // namespace

TEST_F(TransformFlightTest, DrawsTheFrameCountThenTheTransformationAndAimsEveryPixelAtItsImage) {
    for (const TransformEffect* effect : {&kFlatten, &kMirror}) {
        std::vector<bool> seen(effect->Factors.size());
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            startSwarm(kPixels, seed);
            Random15 replay = Show.Random;
            const int frames = 100 + replay.next() % 100;
            const std::size_t k = static_cast<std::size_t>(replay.next()) % effect->Factors.size();
            seen[k] = true;
            std::vector<vector3df> images;
            for (Pixel* p : swarm())
                images.push_back(p->Position * effect->Factors[k]);

            std::vector<int> record;
            Show.DrawRecord = &record;
            EXPECT_TRUE(effect->Run());
            Show.DrawRecord = nullptr;
            EXPECT_EQ(record, (std::vector<int>{100, static_cast<int>(effect->Factors.size())})) << effect->Name;
            for (std::size_t i = 0; i < swarm().size(); ++i) {
                const Pixel& p = pixel(i);
                const bool fixed = images[i] == p.Position; // a flight of distance 0
                EXPECT_EQ(p.FramesLeft, fixed ? 0 : frames) << "all arrive together";
                const vector3df aimedAt = p.Position + p.Velocity * (static_cast<float>(frames) + 0.1f);
                EXPECT_TRUE(aimedAt.equals(images[i], 2e-3f)) << effect->Name << " k " << k << " pixel " << i;
            }
            for (Pixel* p : swarm())
                p->step();
            for (int call = 0; call <= frames; ++call)
                EXPECT_TRUE(drawsOf(effect->Run).empty());
            EXPECT_EQ(effect->State->Stage, TransformStage::Start);
        }
        for (std::size_t k = 0; k < seen.size(); ++k)
            EXPECT_TRUE(seen[k]) << effect->Name << " never drew " << k;
    }
}

TEST_F(TransformFlightTest, ARunLastsItsFrameCountPlusTwoWhateverTheSwarm) {
    for (const TransformEffect* effect : {&kFlatten, &kMirror})
        for (std::int32_t pixels : {256, 4096})
            for (bool flat : {false, true}) {
                startSwarm(pixels, kSeed);
                if (flat)
                    for (Pixel* p : swarm())
                        p->Position.Y = 0;
                Random15 replay = Show.Random;
                EXPECT_EQ(runToEnd(effect->Run), 100 + replay.next() % 100 + 2) << effect->Name << " " << pixels;
            }
}

TEST_F(TransformFlightTest, APixelOnThePlaneOrAxisOfTheTransformationStaysPut) {
    for (const TransformEffect* effect : {&kFlatten, &kMirror}) {
        std::vector<bool> seen(effect->Factors.size());
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            startSwarm(kPixels, seed);
            Random15 replay = Show.Random;
            replay.next();
            const std::size_t k = static_cast<std::size_t>(replay.next()) % effect->Factors.size();
            seen[k] = true;
            pixel(0).Position = kFixedPoints[k];
            const vector3df elsewhere = pixel(1).Position;
            runToEnd(effect->Run);
            EXPECT_EQ(pixel(0).Position, kFixedPoints[k]) << effect->Name << " k " << k;
            EXPECT_FALSE(pixel(1).Position.equals(elsewhere, 1.0f));
        }
        for (std::size_t k = 0; k < seen.size(); ++k)
            EXPECT_TRUE(seen[k]) << effect->Name << " never drew " << k;
    }
}
