#include "show/swarm/scheduler.h"
#include "tests/support/swarm_fixture.h"

#include <vector>

using irr::core::vector3df;

namespace {

constexpr std::int32_t kImplosion = 1;

class SchedulerTest : public SwarmTest {
protected:
    void SetUp() override {
        SwarmTest::SetUp();
        for (Pixel* p : swarm())
            p->Velocity = {0.5f, 0, 0}; // something to fly on with
    }
    static std::vector<vector3df> positions() {
        std::vector<vector3df> all;
        for (Pixel* p : swarm())
            all.push_back(p->Position);
        return all;
    }
    static void expectFlownOn(const std::vector<vector3df>& before) {
        for (std::size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(pixel(i).Position, before[i] + vector3df(0.5f, 0, 0));
    }
};

} // namespace

TEST_F(SchedulerTest, TheFirstCallPicksAnEffectAndOnlyStepsThePixels) {
    Random15 replay = Show.Random;
    const auto before = positions();
    EXPECT_TRUE(updateSwarm());
    EXPECT_EQ(Show.CurrentEffect, replay.next() % kEffectCount + 1);
    expectFlownOn(before);
    EXPECT_EQ(Show.Effects.Implosion.Stage, ImplosionStage::Start);
    EXPECT_EQ(Show.Effects.GatherSpread.Stage, GatherSpreadStage::Start);
}

TEST_F(SchedulerTest, AnEndingEffectLeavesOneFrameThatOnlyChooses) {
    Show.CurrentEffect = kImplosion;
    Show.Effects.Implosion.Stage = ImplosionStage::Crawling;
    Show.Effects.Implosion.Wait = 0;
    const auto before = positions();
    EXPECT_TRUE(updateSwarm());
    EXPECT_EQ(Show.CurrentEffect, 0);
    EXPECT_EQ(Show.Effects.Implosion.Stage, ImplosionStage::Start);
    expectFlownOn(before);

    Random15 replay = Show.Random;
    updateSwarm();
    EXPECT_EQ(Show.CurrentEffect, replay.next() % kEffectCount + 1);
}

TEST_F(SchedulerTest, NumbersTheElevenEffectsInTheirFixedOrder) {
    const EffectFunction numbered[] = {ImplosionEffect, GatherSpreadEffect, CubeCornersEffect, ShellBurstEffect,
                                       ClustersEffect,  FocusPointEffect,   FountainEffect,    RisingLayersEffect,
                                       FlattenEffect,   MirrorEffect,       ScatterEffect};
    for (std::int32_t number = 1; number <= static_cast<std::int32_t>(std::size(numbered)); ++number)
        EXPECT_EQ(effectNumbered(number), numbered[number - 1]) << number;
    EXPECT_EQ(effectNumbered(0), nullptr);
    EXPECT_EQ(effectNumbered(kEffectCount + 1), nullptr);
}

TEST_F(SchedulerTest, EveryEffectRunsToItsEndAndHandsBackToTheChooser) {
    constexpr int kLongestRun = 5000; // calls; no effect's run comes near it
    for (std::int32_t number = 1; number <= kEffectCount; ++number) {
        startSwarm(kPixels, kSeed + static_cast<std::uint32_t>(number));
        Show.CurrentEffect = number;
        int calls = 1;
        while (updateSwarm() && Show.CurrentEffect == number && calls < kLongestRun)
            ++calls;
        EXPECT_EQ(Show.CurrentEffect, 0) << "effect " << number << " still runs after " << calls << " calls";
        updateSwarm();
        EXPECT_TRUE(effectNumbered(Show.CurrentEffect)) << "the next call picks an effect";
    }
}

TEST_F(SchedulerTest, AQuitRequestStillAdvancesTheEffectAndStepsTheSwarm) {
    Show.CurrentEffect = kImplosion;
    Show.QuitRequested = true;
    const auto before = positions();
    EXPECT_FALSE(updateSwarm());
    EXPECT_EQ(Show.Effects.Implosion.Stage, ImplosionStage::Rushing);
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_NE(pixel(i).Position, before[i]);
}

TEST_F(SchedulerTest, AnUnknownCurrentEffectCountsAsNone) {
    for (const std::int32_t unknown : {kEffectCount + 1, -1, 1000, INT32_MIN}) {
        Show.CurrentEffect = unknown;
        Random15 replay = Show.Random;
        EXPECT_TRUE(updateSwarm());
        EXPECT_EQ(Show.CurrentEffect, replay.next() % kEffectCount + 1) << unknown;
    }
}

TEST_F(SchedulerTest, PicksEveryEffectInTime) {
    std::vector<int> seen(kEffectCount + 1, 0);
    for (int i = 0; i < 2000; ++i) {
        Show.CurrentEffect = 0;
        updateSwarm();
        ++seen[static_cast<std::size_t>(Show.CurrentEffect)];
    }
    EXPECT_EQ(seen[0], 0);
    for (int effect = 1; effect <= kEffectCount; ++effect)
        EXPECT_GT(seen[static_cast<std::size_t>(effect)], 100) << effect;
}
