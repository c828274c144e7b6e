#pragma once
#include <cstdint>
#include <string>

namespace vexal {

// One text line drawn over the splash bitmap.
struct SplashTextLine {
    std::string text;
    int x = 0;
    int y = 0;
    std::string face;  // cut to the 31 characters a font description holds
    int points = 0;
    int weight = 0;
    std::uint32_t color = 0;  // red | green << 8 | blue << 16
};

// What the splash window is built from, read from the configuration store.
struct SplashLayout {
    std::string title;
    int width = 0;
    int height = 0;
    bool topmost = false;
    bool closeOnWindow = false;
    SplashTextLine status;
    SplashTextLine version;
};

SplashLayout readSplashLayout();

}  // namespace vexal
