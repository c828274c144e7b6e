#include "config/ErrorReport.h"

#include <atomic>

#include "common/ProcessExit.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/Log.h"
#include "config/MessageText.h"
#include "files/DeferredDeletion.h"
#include "files/PathHelpers.h"
#include "splash/Splash.h"

namespace vexal {

namespace {
// Written by the main thread (mode) and the splash thread (owner), read by
// the other: atomics keep each value whole.
std::atomic<bool> gGuiErrorMode{true};
std::atomic<WindowRef> gOwnerWindow{nullptr};
std::atomic<bool> gErrorDisplayStarted{false};
}  // namespace

void useConsoleErrors() { gGuiErrorMode = false; }
bool guiErrorMode() { return gGuiErrorMode; }
void setErrorOwnerWindow(WindowRef window) { gOwnerWindow = window; }
WindowRef errorOwnerWindow() { return gOwnerWindow; }
bool errorDisplayStarted() { return gErrorDisplayStarted; }

void showErrorMessage(const std::string& text) {
    registerPendingDeletions();
    gErrorDisplayStarted = true;  // before the hide that lets the splash thread end
    hideSplash();
    std::string logName;
    if (const char* name = logFileName()) {
        logName = longPathName(name);
        if (logName.empty()) logName = name;
    }
    const std::string shown = composeErrorText(text, logName);
    if (gGuiErrorMode) {
        displayErrorBox(configString(msg::Caption), shown, gOwnerWindow);
    } else {
        writeErrorLine(shown);
    }
}

void showConfigMessage(std::int32_t id, const char* placeholder, const std::string& value) {
    showErrorMessage(replacePlaceholder(configString(id), placeholder, value));
}

void fatalError(std::int32_t id, const char* placeholder, const std::string& value) {
    showConfigMessage(id, placeholder, value);
    deleteTempFilesNow();
    exitProcessNow(1);
}

void internalError(InternalErrorCode code) {
    fatalError(msg::InternalError, placeholder::ErrorCode, std::to_string(static_cast<int>(code)));
}

void fatalText(const std::string& text) {
    showErrorMessage(text);
    deleteTempFilesNow();
    exitProcessNow(1);
}

void exitLauncher(int code) {
    registerPendingDeletions();
    deleteTempFilesNow();
    exitProcessNow(code);
}

}  // namespace vexal
