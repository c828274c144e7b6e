#pragma once
#include <windows.h>

#include <string>

#include "splash/SplashLayout.h"

namespace vexal {

// Draws the splash: the bitmap over a light-grey ground and the two text
// lines, composed off screen and copied to the window in one block transfer.
// Lives on the splash thread, as long as the window.
class SplashPainter {
public:
    SplashPainter(const SplashLayout& layout, HINSTANCE instance);
    ~SplashPainter();
    SplashPainter(const SplashPainter&) = delete;
    SplashPainter& operator=(const SplashPainter&) = delete;

    void setStatusText(std::string text) { layout_.status.text = std::move(text); }

    // Answers one paint message of the window.
    void paint(HWND window);

private:
    void createFonts(HDC device);
    void drawBitmap(HDC target, HDC reference) const;
    void drawTexts(HDC target) const;

    SplashLayout layout_;
    HINSTANCE instance_;
    bool fontsCreated_ = false;
    HFONT statusFont_ = nullptr;
    HFONT versionFont_ = nullptr;
};

}  // namespace vexal
