#pragma once
#include <atomic>

namespace vexal {

// Orders the splash thread's window build against hide requests from any
// thread, so that a hide before, during or after the build always ends with
// no visible splash, and a built window is hidden by exactly one party:
//
//   NotStarted --beginBuild--> Building --finishBuild--> Shown --requestHide--> Hidden
//   NotStarted --requestHide--> HideRequested   (beginBuild then refuses)
//   Building   --requestHide--> HideRequested --finishBuild, builderHid--> Hidden
//                                 (the builder hides its own window in between;
//                                  the hider may wait for Hidden)
class SplashState {
public:
    enum class Phase { NotStarted, Building, Shown, HideRequested, Hidden };

    // The splash thread, before it builds anything. False: a hide came
    // first (or a build already began); build nothing.
    bool beginBuild();

    // The splash thread, after the built window has been shown. False: a hide
    // came during the build; the caller hides its own window, says so with
    // builderHid and ends.
    bool finishBuild();
    void builderHid();

    // What a hide request leaves to its caller.
    enum class HideAnswer {
        Nothing,       // no window will be shown, or it is hidden already
        HideNow,       // the window is shown: the caller hides it
        BuilderHides,  // the build is under way: the builder hides its window
    };

    // A hide request from any thread.
    HideAnswer requestHide();

    // Whether a window has been built (it may be hidden since).
    bool windowBuilt() const;

    Phase phase() const { return phase_.load(); }

    // Back to NotStarted (tests only: one splash per process).
    void reset() { phase_.store(Phase::NotStarted); }

private:
    std::atomic<Phase> phase_{Phase::NotStarted};
};

}  // namespace vexal
