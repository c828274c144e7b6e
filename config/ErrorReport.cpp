#include "config/ErrorReport.h"

#include <atomic>

#include "common/ProcessExit.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/Log.h"
#include "config/MessageText.h"

namespace vexal {

namespace {
// Written by the main thread (mode) and the splash thread (owner), read by
// the other: atomics keep each value whole.
std::atomic<bool> gGuiErrorMode{true};
std::atomic<WindowRef> gOwnerWindow{nullptr};
std::atomic<bool> gErrorDisplayStarted{false};
ErrorReportActions gActions;

void run(void (*action)()) {
    if (action != nullptr) action();
}
}  // namespace

void setErrorReportActions(const ErrorReportActions& actions) { gActions = actions; }

void useConsoleErrors() { gGuiErrorMode = false; }
bool guiErrorMode() { return gGuiErrorMode; }
void setErrorOwnerWindow(WindowRef window) { gOwnerWindow = window; }
WindowRef errorOwnerWindow() { return gOwnerWindow; }
bool errorDisplayStarted() { return gErrorDisplayStarted; }

void showErrorMessage(const std::string& text) {
    run(gActions.registerDeletions);
    gErrorDisplayStarted = true;  // before the hide that lets the splash thread end
    run(gActions.beforeErrorShown);
    std::string logName;
    if (const char* name = logFileName()) {
        if (gActions.shownLogName != nullptr) logName = gActions.shownLogName(name);
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
    run(gActions.beforeProcessEnds);
    exitProcessNow(1);
}

void internalError(InternalErrorCode code) {
    fatalError(msg::InternalError, placeholder::ErrorCode, std::to_string(static_cast<int>(code)));
}

void fatalText(const std::string& text) {
    showErrorMessage(text);
    run(gActions.beforeProcessEnds);
    exitProcessNow(1);
}

void exitLauncher(int code) {
    run(gActions.registerDeletions);
    run(gActions.beforeProcessEnds);
    exitProcessNow(code);
}

}  // namespace vexal
