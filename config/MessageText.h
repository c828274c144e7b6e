#pragma once
#include <string>

namespace vexal {

// Replaces the first occurrence of placeholder in text by value; the inserted
// value is not searched again. No placeholder (null or empty) or one that does
// not occur leaves the text unchanged. The result is cut to what an
// 8192-byte message buffer holds.
std::string replacePlaceholder(const std::string& text, const char* placeholder, const std::string& value);

// The text shown for an error: the message, and when a log is written, an
// empty line and "Log: " with the log file's name. Cut to the message buffer.
std::string composeErrorText(const std::string& message, const std::string& logName);

}  // namespace vexal
