#pragma once
#include <cstdint>
#include <string>

#include "config/ConfigIds.h"

namespace vexal {

// An opaque window handle (the splash window owns error message boxes).
using WindowRef = void*;

// What the run has set up that an error has to take care of, registered by
// the launch: the reporting itself knows nothing of the run's files or its
// splash. An action left null does nothing.
struct ErrorReportActions {
    // Before a message is shown and before an exit without one: this run's
    // temporary files are entered for deferred deletion.
    void (*registerDeletions)() = nullptr;
    // Before a message is shown: the splash is hidden.
    void (*beforeErrorShown)() = nullptr;
    // Before the process ends: what can be deleted now is deleted.
    void (*beforeProcessEnds)() = nullptr;
    // The log file's name as a message names it (its long form); empty when
    // that cannot be had, and then the name stands as it is.
    std::string (*shownLogName)(const std::string& name) = nullptr;
};
void setErrorReportActions(const ErrorReportActions& actions);

// Shows one message: in a message box captioned with entry 1000 while
// guiErrorMode is on, else as a line on standard error. Pending deletions are
// registered and the splash is hidden first; a log note is appended while a
// log is written.
void showErrorMessage(const std::string& text);

// Shows configured message id with the first occurrence of placeholder
// (may be null) replaced by value.
void showConfigMessage(std::int32_t id, const char* placeholder, const std::string& value);

// showConfigMessage, then exit code 1.
[[noreturn]] void fatalError(std::int32_t id, const char* placeholder = nullptr, const std::string& value = "");

// Message 1009 with the code as its %ERROR_CODE%, then exit code 1.
[[noreturn]] void internalError(InternalErrorCode code);

// A fixed text, then exit code 1.
[[noreturn]] void fatalText(const std::string& text);

// Registers pending deletions and ends the process with code, no message.
[[noreturn]] void exitLauncher(int code);

// True once showErrorMessage has begun. The message box it shows is owned by
// the splash window, which is hidden first: that window has to outlive the
// box, so the splash thread keeps it from then on.
bool errorDisplayStarted();

void useConsoleErrors();
bool guiErrorMode();
void setErrorOwnerWindow(WindowRef window);
WindowRef errorOwnerWindow();

// Message display of the platform.
void displayErrorBox(const std::string& caption, const std::string& text, WindowRef owner);
void writeErrorLine(const std::string& text);

}  // namespace vexal
