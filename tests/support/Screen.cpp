#include "tests/support/Screen.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/support/Subprocess.h"
#include "tests/support/WineHarness.h"

namespace vexal::testing {

namespace {

constexpr std::chrono::milliseconds kToolLimit{20000};

// The next header token of a PPM: skips white space and '#' comments.
bool headerToken(const std::string& bytes, std::size_t& at, std::string& token) {
    token.clear();
    while (at < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[at]);
        if (c == '#') {
            while (at < bytes.size() && bytes[at] != '\n') ++at;
        } else if (std::isspace(c)) {
            ++at;
        } else {
            break;
        }
    }
    while (at < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[at])) && bytes[at] != '#')
        token.push_back(bytes[at++]);
    return !token.empty();
}

bool positiveNumber(const std::string& token, int limit, int& value) {
    if (token.empty() || token.size() > 6 ||
        !std::all_of(token.begin(), token.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    value = std::stoi(token);
    return value > 0 && value <= limit;
}

// A title as an xdotool pattern that matches exactly that text.
std::string exactPattern(const std::string& title) {
    std::string pattern = "^";
    for (char c : title) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != ' ') pattern.push_back('\\');
        pattern.push_back(c);
    }
    return pattern + "$";
}

ProcessResult onDisplay(const std::vector<std::string>& argv) {
    return runProcess(argv, {{"DISPLAY", sessionDisplay()}}, {}, kToolLimit);
}

}  // namespace

std::string describe(const Rgb& colour) {
    return "(" + std::to_string(colour.r) + "," + std::to_string(colour.g) + "," + std::to_string(colour.b) + ")";
}

std::string describe(const Rect& rect) {
    return std::to_string(rect.width) + "x" + std::to_string(rect.height) + "+" + std::to_string(rect.x) + "+" +
           std::to_string(rect.y);
}

Image::Image(int width, int height, std::vector<Rgb> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {
    pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
}

Rgb Image::at(int x, int y) const {
    if (!contains(x, y)) return Rgb{};
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

std::vector<Rgb> Image::pixelsOf(const Rect& area) const {
    std::vector<Rgb> out;
    for (int y = std::max(area.y, 0); y < std::min(area.y + area.height, height_); ++y)
        for (int x = std::max(area.x, 0); x < std::min(area.x + area.width, width_); ++x) out.push_back(at(x, y));
    return out;
}

int Image::count(const Rect& area, const Rgb& colour) const {
    const std::vector<Rgb> pixels = pixelsOf(area);
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
}

std::optional<Rect> Image::boundsOf(const Rgb& colour) const {
    int left = width_, top = height_, right = -1, bottom = -1;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (at(x, y) != colour) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return std::nullopt;
    return Rect{left, top, right - left + 1, bottom - top + 1};
}

std::optional<Image> parsePpm(const std::string& bytes) {
    constexpr int kMaxSide = 16384;
    std::size_t at = 0;
    std::string magic, widthText, heightText, maxText;
    int width = 0, height = 0, maxValue = 0;
    if (!headerToken(bytes, at, magic) || magic != "P6") return std::nullopt;
    if (!headerToken(bytes, at, widthText) || !positiveNumber(widthText, kMaxSide, width)) return std::nullopt;
    if (!headerToken(bytes, at, heightText) || !positiveNumber(heightText, kMaxSide, height)) return std::nullopt;
    if (!headerToken(bytes, at, maxText) || !positiveNumber(maxText, 65535, maxValue) || maxValue != 255)
        return std::nullopt;
    // Exactly one white-space byte ends the header; the samples follow.
    if (at >= bytes.size() || !std::isspace(static_cast<unsigned char>(bytes[at]))) return std::nullopt;
    ++at;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (bytes.size() - at < count * 3) return std::nullopt;
    std::vector<Rgb> pixels(count);
    for (std::size_t i = 0; i < count; ++i, at += 3)
        pixels[i] = Rgb{static_cast<std::uint8_t>(bytes[at]), static_cast<std::uint8_t>(bytes[at + 1]),
                        static_cast<std::uint8_t>(bytes[at + 2])};
    return Image(width, height, std::move(pixels));
}

std::string sessionDisplay() { return sessionVariable("DISPLAY"); }

std::optional<Image> captureScreen(const std::string& ppmPath) {
    const ProcessResult shot = onDisplay({"import", "-window", "root", "-depth", "8", "ppm:" + ppmPath});
    if (shot.exitCode != 0) return std::nullopt;
    std::ifstream in(ppmPath, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parsePpm(bytes);
}

bool saveScreenArea(const Rect& area, const std::string& pngPath) {
    const ProcessResult shot =
        onDisplay({"import", "-window", "root", "-crop", describe(area), "+repage", "-depth", "8", "png:" + pngPath});
    return shot.exitCode == 0;
}

std::vector<Rect> visibleWindowsNamed(const std::string& title) {
    const ProcessResult found = onDisplay(
        {"xdotool", "search", "--onlyvisible", "--name", exactPattern(title), "getwindowgeometry", "--shell", "%@"});
    std::vector<Rect> windows;
    std::istringstream lines(found.out);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        int value = 0;
        try {
            value = std::stoi(line.substr(equals + 1));
        } catch (...) {
            continue;
        }
        if (key == "WINDOW") windows.emplace_back();
        if (windows.empty()) continue;
        if (key == "X") windows.back().x = value;
        if (key == "Y") windows.back().y = value;
        if (key == "WIDTH") windows.back().width = value;
        if (key == "HEIGHT") windows.back().height = value;
    }
    return windows;
}

}  // namespace vexal::testing
