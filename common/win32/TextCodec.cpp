#include "common/TextCodec.h"

#include <windows.h>

namespace vexal {

namespace {

UINT fileCodePage() { return AreFileApisANSI() ? CP_ACP : CP_OEMCP; }

std::u16string toWide(UINT codePage, const std::string& text) {
    if (text.empty()) return std::u16string();
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return std::u16string();
    std::u16string out(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                        reinterpret_cast<wchar_t*>(&out[0]), n);
    return out;
}

std::string toNarrow(UINT codePage, const std::u16string& text, bool* lossless) {
    if (lossless) *lossless = true;
    if (text.empty()) return std::string();
    const wchar_t* src = reinterpret_cast<const wchar_t*>(text.data());
    int len = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(codePage, 0, src, len, nullptr, 0, "?", &usedDefault);
    if (n <= 0) {
        if (lossless) *lossless = false;
        return std::string();
    }
    std::string out(static_cast<std::size_t>(n), '\0');
    usedDefault = FALSE;
    WideCharToMultiByte(codePage, 0, src, len, &out[0], n, "?", &usedDefault);
    if (lossless) *lossless = usedDefault == FALSE;
    return out;
}

}  // namespace

std::u16string ansiToWide(const std::string& text) { return toWide(CP_ACP, text); }
std::string wideToAnsi(const std::u16string& text, bool* lossless) { return toNarrow(CP_ACP, text, lossless); }
std::u16string fileCodePageToWide(const std::string& text) { return toWide(fileCodePage(), text); }
std::string wideToFileCodePage(const std::u16string& text, bool* lossless) {
    return toNarrow(fileCodePage(), text, lossless);
}

}  // namespace vexal
