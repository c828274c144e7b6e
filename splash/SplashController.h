#pragma once
#include <cstddef>

namespace vexal {

// What one poll of the splash controller needs from the splash window and
// the platform. The splash thread supplies the real one; tests supply fakes.
class SplashPollHost {
public:
    virtual ~SplashPollHost() = default;
    // Whether the splash window is visible now.
    virtual bool windowVisible() = 0;
    // Entry 145, read when the window was shown: close once the application
    // shows a window of its own.
    virtual bool closeOnWindow() = 0;
    // Visible top-level windows of this process, the splash window included,
    // the launcher's own console window not.
    virtual int countOwnWindows() = 0;
    // The hide request (hideSplash).
    virtual void hide() = 0;
    // Replaces the status line with these UTF-16 characters and repaints.
    virtual void setStatusText(const char16_t* text, std::size_t length) = 0;
};

enum class PollOutcome { KeepPolling, EndThread };

// One tick of the splash thread's 100 ms timer: ends the thread once the
// splash is hidden, closes it on the window rule, and otherwise asks the
// application's controller class for an action once the JVM exists. On
// EndThread the calling thread has already been detached from the JVM.
PollOutcome pollSplashController(SplashPollHost& host);

}  // namespace vexal
