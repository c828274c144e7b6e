#pragma once
// What the Wine session's X display shows: screenshots taken with
// ImageMagick's import, read as binary PPM, and the pixel questions the
// window tests ask of them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexal::testing {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};
std::string describe(const Rgb& colour);  // "(r,g,b)"

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};
std::string describe(const Rect& rect);  // "WxH+X+Y"

// An RGB image, rows top to bottom.
class Image {
public:
    Image() = default;
    Image(int width, int height, std::vector<Rgb> pixels);
    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgb at(int x, int y) const;  // black outside the image

    // The pixels of area (clipped to the image) in row order.
    std::vector<Rgb> pixelsOf(const Rect& area) const;
    // How many pixels of area have exactly this colour.
    int count(const Rect& area, const Rgb& colour) const;
    // The smallest rectangle that holds every pixel of this colour; none when
    // no pixel has it.
    std::optional<Rect> boundsOf(const Rgb& colour) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<Rgb> pixels_;
};

// A binary PPM (P6, maximum value 255, '#' comments in the header); none for
// any other or a truncated file.
std::optional<Image> parsePpm(const std::string& bytes);

// The X display of the Wine session (DISPLAY of its environment file).
std::string sessionDisplay();

// The whole screen; the PPM goes to ppmPath. None when import fails.
std::optional<Image> captureScreen(const std::string& ppmPath);

// Writes area of the screen as it is now to a PNG file; false on failure.
bool saveScreenArea(const Rect& area, const std::string& pngPath);

// The geometry of the visible top-level X windows whose name is exactly
// title (xdotool), in stacking order.
std::vector<Rect> visibleWindowsNamed(const std::string& title);

}  // namespace vexal::testing
