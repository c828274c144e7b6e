#include "splash/SplashState.h"

namespace vexal {

bool SplashState::beginBuild() {
    Phase expected = Phase::NotStarted;
    return phase_.compare_exchange_strong(expected, Phase::Building);
}

bool SplashState::finishBuild() {
    Phase expected = Phase::Building;
    // Only a hide request can have moved a build on; the builder answers it.
    return phase_.compare_exchange_strong(expected, Phase::Shown);
}

void SplashState::builderHid() { phase_.store(Phase::Hidden); }

SplashState::HideAnswer SplashState::requestHide() {
    Phase current = phase_.load();
    for (;;) {
        Phase next;
        HideAnswer answer;
        switch (current) {
        case Phase::NotStarted: next = Phase::HideRequested, answer = HideAnswer::Nothing; break;
        case Phase::Building: next = Phase::HideRequested, answer = HideAnswer::BuilderHides; break;
        case Phase::Shown: next = Phase::Hidden, answer = HideAnswer::HideNow; break;
        default: return HideAnswer::Nothing;  // already requested or hidden
        }
        if (phase_.compare_exchange_weak(current, next)) return answer;
    }
}

bool SplashState::windowBuilt() const {
    Phase current = phase_.load();
    return current == Phase::Shown || current == Phase::Hidden;
}

}  // namespace vexal
