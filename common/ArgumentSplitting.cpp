// Command-line texts split into arguments: a blank is the only separator,
// double and single quotes group, nothing escapes.
#include "common/ArgumentSplitting.h"

#include "common/TextCodec.h"

namespace vexal {

namespace {

constexpr std::size_t npos = std::u16string::npos;

bool before(std::size_t a, std::size_t b) { return a != npos && (b == npos || a < b); }

}  // namespace

std::size_t takeQuotedArgument(ArgumentList& list, const std::u16string& text, std::size_t q, std::size_t p,
                               char16_t quote) {
    const std::size_t close = text.find(quote, q + 1);
    if (close == npos) return kUnclosedQuote;
    // A quote inside an argument keeps the characters in front of it
    // (-Dname="a b" gives -Dname=a b); only the quotes themselves go.
    list.push_back(text.substr(p, q - p) + text.substr(q + 1, close - q - 1));
    std::size_t next = close + 1;
    if (next < text.size() && text[next] == u' ') ++next;
    return next;
}

bool splitArgumentText(const std::u16string& text, ArgumentList& list) {
    std::size_t p = 0;
    while (p < text.size()) {
        const std::size_t dq = text.find(u'"', p);
        const std::size_t sq = text.find(u'\'', p);
        const std::size_t b = text.find(u' ', p);
        if (b == p) {
            ++p;
        } else if (before(b, dq) && before(b, sq)) {
            list.push_back(text.substr(p, b - p));
            p = b + 1;
        } else if (before(dq, sq)) {
            p = takeQuotedArgument(list, text, dq, p, u'"');
        } else if (sq != npos) {
            p = takeQuotedArgument(list, text, sq, p, u'\'');
        } else {
            list.push_back(text.substr(p));
            p = text.size();
        }
        if (p == kUnclosedQuote) return false;
    }
    return true;
}

std::string narrowArgument(const std::u16string& argument) { return wideToAnsi(argument); }

bool splitNarrowText(const std::u16string& text, NarrowArgumentList& list) {
    ArgumentList wide;
    const bool closed = splitArgumentText(text, wide);
    for (const std::u16string& argument : wide) list.push_back(narrowArgument(argument));
    return closed;
}

bool splitAnsiText(const std::string& text, NarrowArgumentList& list) {
    std::u16string wide = ansiToWide(text);
    if (wide.size() > kAnsiArgumentChars) {
        wide.resize(kAnsiArgumentChars);
        // Never keep half of a surrogate pair.
        if (wide.back() >= 0xD800 && wide.back() <= 0xDBFF) wide.pop_back();
    }
    return splitNarrowText(wide, list);
}

}  // namespace vexal
