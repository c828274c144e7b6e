#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

#include "splash/SplashState.h"

using namespace vexal;
using Phase = SplashState::Phase;

namespace {

using Hide = SplashState::HideAnswer;

// One step of the builder ('b' begin, 'f' finish, 'x' hid its window) or of
// a hider ('h'), with
// what it must answer (for a hider: 0 nothing, 1 hide now, 2 the builder
// hides) and the phase it must leave.
struct Step {
    char who;
    int answer;
    Phase after;
};

int answerOf(Hide answer) { return answer == Hide::Nothing ? 0 : answer == Hide::HideNow ? 1 : 2; }

struct Script {
    const char* name;
    std::vector<Step> steps;
};

TEST(SplashState, SequentialOrdersOfBuildAndHide) {
    const Script scripts[] = {
        {"build then hide", {{'b', 1, Phase::Building}, {'f', 1, Phase::Shown}, {'h', 1, Phase::Hidden}}},
        {"hide before the build", {{'h', 0, Phase::HideRequested}, {'b', 0, Phase::HideRequested}}},
        {"hide during the build",
         {{'b', 1, Phase::Building}, {'h', 2, Phase::HideRequested}, {'f', 0, Phase::HideRequested},
          {'x', 0, Phase::Hidden}}},
        {"second hide of a shown window",
         {{'b', 1, Phase::Building}, {'f', 1, Phase::Shown}, {'h', 1, Phase::Hidden}, {'h', 0, Phase::Hidden}}},
        {"hides repeated during the build",
         {{'b', 1, Phase::Building}, {'h', 2, Phase::HideRequested}, {'h', 0, Phase::HideRequested},
          {'f', 0, Phase::HideRequested}, {'h', 0, Phase::HideRequested}, {'x', 0, Phase::Hidden},
          {'h', 0, Phase::Hidden}}},
        {"a second build is refused",
         {{'b', 1, Phase::Building}, {'b', 0, Phase::Building}, {'f', 1, Phase::Shown}, {'b', 0, Phase::Shown}}},
    };
    for (const Script& script : scripts) {
        SCOPED_TRACE(script.name);
        SplashState state;
        for (std::size_t i = 0; i < script.steps.size(); ++i) {
            const Step& step = script.steps[i];
            int answer = 0;
            if (step.who == 'b') answer = state.beginBuild();
            if (step.who == 'f') answer = state.finishBuild();
            if (step.who == 'x') state.builderHid();
            if (step.who == 'h') answer = answerOf(state.requestHide());
            EXPECT_EQ(answer, step.answer) << "step " << i;
            EXPECT_EQ(state.phase(), step.after) << "step " << i;
        }
    }
}

TEST(SplashState, WindowCountsAsBuiltOnceShownAndAfterItsHide) {
    SplashState state;
    EXPECT_FALSE(state.windowBuilt());
    state.beginBuild();
    EXPECT_FALSE(state.windowBuilt());
    state.finishBuild();
    EXPECT_TRUE(state.windowBuilt());
    state.requestHide();
    EXPECT_TRUE(state.windowBuilt());

    SplashState early;
    early.requestHide();
    early.beginBuild();
    EXPECT_FALSE(early.windowBuilt());
}

// A builder and one or two hiders race; the window stands for a flag that the
// builder raises when it shows the window and every hider clears. Whatever
// the interleaving: nothing is shown at the end, a shown window was hidden by
// exactly one party, and a hider is told to leave it to the builder exactly
// when the builder then hides, and sees Hidden only after that.
TEST(SplashState, RacingHidesNeverLeaveTheWindowShown) {
    constexpr int kIterations = 500;
    std::mt19937 random(12345);
    int hiddenBeforeBuild = 0, hiddenDuringBuild = 0, hiddenAfterBuild = 0;

    for (int iteration = 0; iteration < kIterations; ++iteration) {
        SplashState state;
        // One hider or two, taking turns. Every thread waits for all the
        // others, so they start together.
        const int hiderCount = 1 + iteration % 2;
        std::atomic<int> ready{0};
        auto startTogether = [&ready, hiderCount] {
            ++ready;
            while (ready.load() < hiderCount + 1) std::this_thread::yield();
        };
        std::atomic<bool> visible{false};
        std::atomic<int> hiddenBy{0};
        std::atomic<int> leftToBuilder{0};
        bool built = false, finished = false;
        const int beforeBuild = static_cast<int>(random() % 5000);
        const int buildTime = static_cast<int>(random() % 20000);
        std::vector<int> hiderSpins;
        for (int i = 0; i < hiderCount; ++i) hiderSpins.push_back(static_cast<int>(random() % 40000));

        std::thread builder([&] {
            startTogether();
            for (volatile int i = 0; i < beforeBuild; i = i + 1) {}
            built = state.beginBuild();
            if (!built) return;
            for (volatile int i = 0; i < buildTime; i = i + 1) {}
            visible = true;
            finished = state.finishBuild();
            if (!finished) {
                visible = false;
                ++hiddenBy;
                state.builderHid();
            }
        });
        std::vector<std::thread> hiders;
        for (int spin : hiderSpins) {
            hiders.emplace_back([&, spin] {
                startTogether();
                for (volatile int i = 0; i < spin; i = i + 1) {}
                const Hide answer = state.requestHide();
                if (answer == Hide::BuilderHides) {
                    ++leftToBuilder;
                    // Once Hidden, the builder's window is down.
                    while (state.phase() != Phase::Hidden) std::this_thread::yield();
                    EXPECT_FALSE(visible.load()) << "Hidden before the builder hid its window";
                }
                if (answer == Hide::HideNow) {
                    EXPECT_TRUE(visible.load()) << "told to hide a window that is not shown";
                    visible = false;
                    ++hiddenBy;
                }
            });
        }
        builder.join();
        for (std::thread& hider : hiders) hider.join();

        ASSERT_FALSE(visible.load()) << "iteration " << iteration;
        ASSERT_EQ(hiddenBy.load(), built ? 1 : 0) << "iteration " << iteration;
        ASSERT_EQ(leftToBuilder.load(), built && !finished ? 1 : 0) << "iteration " << iteration;
        ASSERT_EQ(state.phase(), built ? Phase::Hidden : Phase::HideRequested) << "iteration " << iteration;
        if (!built) ++hiddenBeforeBuild;
        else if (!finished) ++hiddenDuringBuild;
        else ++hiddenAfterBuild;
    }
    // The interleavings are not forced; these only show what was covered.
    std::printf("hides before / during / after the build: %d / %d / %d\n", hiddenBeforeBuild, hiddenDuringBuild,
                hiddenAfterBuild);
    EXPECT_GT(hiddenBeforeBuild + hiddenDuringBuild + hiddenAfterBuild, 0);
}

}  // namespace
