#include "config/MessageText.h"

#include <cstring>

#include "common/Format.h"
#include "common/Limits.h"

namespace vexal {

std::string replacePlaceholder(const std::string& text, const char* placeholder, const std::string& value) {
    if (placeholder == nullptr || *placeholder == '\0') return text;
    std::size_t at = text.find(placeholder);
    if (at == std::string::npos) return text;
    std::string out = text.substr(0, at) + value + text.substr(at + std::strlen(placeholder));
    return fitBuffer(std::move(out), kTextBuffer);
}

std::string composeErrorText(const std::string& message, const std::string& logName) {
    if (logName.empty()) return fitBuffer(message, kTextBuffer);
    // The log note matters more than the end of an over-long message: the
    // message gives way so that the note always fits.
    std::string note = "\n\nLog: " + logName;
    if (note.size() >= kTextBuffer) return fitBuffer(message, kTextBuffer);
    return fitBuffer(message, kTextBuffer - note.size()) + note;
}

}  // namespace vexal
