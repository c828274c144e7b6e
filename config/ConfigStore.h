#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "common/Limits.h"

namespace vexal {

// The entries of the configuration block: two independent tables keyed by
// signed 32-bit ids, one of narrow texts (ANSI code page) and one of UTF-16
// texts. Filled once at start-up, read-only afterwards, so concurrent
// lookups need no lock.
class ConfigStore {
public:
    void setNarrow(std::int32_t id, std::string value);
    void setWide(std::int32_t id, std::u16string value);

    // The value as a buffer of bufferSize bytes would hold it (cut to
    // bufferSize - 1 bytes); a missing id gives the empty string.
    std::string narrow(std::int32_t id, std::size_t bufferSize = kTextBuffer) const;
    std::u16string wide(std::int32_t id) const;
    bool hasNarrow(std::int32_t id) const { return narrow_.count(id) != 0; }

    const std::map<std::int32_t, std::string>& narrowEntries() const { return narrow_; }
    const std::map<std::int32_t, std::u16string>& wideEntries() const { return wide_; }
    void clear();

private:
    std::map<std::int32_t, std::string> narrow_;
    std::map<std::int32_t, std::u16string> wide_;
};

// The process-wide store that the launch reads.
ConfigStore& configStore();

// Typed getters over the process-wide store.
std::string configString(std::int32_t id, std::size_t bufferSize = kTextBuffer);
std::int32_t configInt(std::int32_t id);
std::uint32_t configColor(std::int32_t id);
std::u16string configWideString(std::int32_t id);

// Conversions behind the getters, usable on any text.
// Decimal conversion like C strtol: leading white space, optional sign,
// digits up to the first other character; no digits give 0. Clamped to the
// 32-bit range.
std::int32_t parseDecimal(const std::string& text);
// "r,g,b" to red + green*256 + blue*65536. Missing components count as 0,
// components are clamped to 0..255.
std::uint32_t parseColor(const std::string& text);

}  // namespace vexal
