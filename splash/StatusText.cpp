#include "splash/StatusText.h"

namespace vexal {

namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// The prefix length n <= count that does not end between the two halves of
// a surrogate pair.
std::size_t wholeCharacters(const std::u16string& text, std::size_t count) {
    if (count > 0 && count < text.size() && isHighSurrogate(text[count - 1])) return count - 1;
    return count;
}

}  // namespace

std::string statusLineText(const char16_t* text, std::size_t length, NarrowConverter convert,
                           std::size_t bufferSize) {
    if (text == nullptr || bufferSize == 0) return std::string();
    std::size_t units = 0;
    while (units < length && text[units] != u'\0') ++units;
    const std::u16string wide(text, units);
    const std::size_t limit = bufferSize - 1;

    std::string narrow = convert(wide);
    if (narrow.size() <= limit) return narrow;

    // The narrow length grows with the prefix: find the longest prefix that
    // fits.
    std::size_t fits = 0;
    std::string best;
    std::size_t low = 1, high = wide.size();
    while (low <= high) {
        const std::size_t mid = low + (high - low) / 2;
        const std::size_t cut = wholeCharacters(wide, mid);
        std::string candidate = cut == 0 ? std::string() : convert(wide.substr(0, cut));
        if (candidate.size() <= limit) {
            if (cut >= fits) {
                fits = cut;
                best = std::move(candidate);
            }
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    return best;
}

}  // namespace vexal
