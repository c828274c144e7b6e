#include "config/Log.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>

#include "common/EnvironmentVars.h"
#include "config/LogFile.h"
#include "config/TestSeams.h"

namespace vexal {

namespace {

struct LogState {
    bool initialised = false;
    std::FILE* file = nullptr;
    std::string name;
};

LogState& state() {
    static LogState s;
    return s;
}

bool switchedOn(const char* variable) {
    std::string value;
    return getEnvironmentValue(variable, value) && value == "yes";
}

void initialise() {
    LogState& s = state();
    s.initialised = true;
    if (!switchedOn("VEXAL_LOG") && !switchedOn("KORVALITH_LOG")) return;
    s.file = createUniqueLogFile(s.name);
    if (s.file == nullptr) {
        // No file: the platform's stream, which no error message names.
        s.name.clear();
        s.file = fallbackLogStream();
    }
    if (s.file == nullptr) return;
    std::time_t now = std::time(nullptr);
    const char* when = std::ctime(&now);
    std::fprintf(s.file, "Started executable %s at %s\n", moduleFileName().c_str(), when ? when : "\n");
    std::fflush(s.file);
}

void writeLine(const char* prefix, const char* fmt, va_list args) {
    LogState& s = state();
    if (!s.initialised) initialise();
    if (s.file == nullptr) return;
    std::fputs(prefix, s.file);
    std::vfprintf(s.file, fmt, args);
    std::fputc('\n', s.file);
    std::fflush(s.file);
}

}  // namespace

void logDebug(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    writeLine("", fmt, args);
    va_end(args);
}

void logError(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    writeLine("ERROR: ", fmt, args);
    va_end(args);
}

const char* logFileName() {
    const LogState& s = state();
    return s.file != nullptr && !s.name.empty() ? s.name.c_str() : nullptr;
}

void resetLogForTests() {
    LogState& s = state();
    if (s.file && !s.name.empty()) std::fclose(s.file);
    s = LogState();
}

}  // namespace vexal
