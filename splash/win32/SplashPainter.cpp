#include "splash/win32/SplashPainter.h"

namespace vexal {

namespace {

constexpr int kBitmapResource = 10000;
constexpr BYTE kSwissDefaultPitch = 0x20;  // FF_SWISS | DEFAULT_PITCH

HFONT createFont(const SplashTextLine& line, int pixelsPerInch) {
    return CreateFontA(-MulDiv(line.points, pixelsPerInch, 72), 0, 0, 0, line.weight, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       kSwissDefaultPitch, line.face.c_str());
}

void drawLine(HDC target, const SplashTextLine& line, HFONT font) {
    SelectObject(target, font);
    SetTextColor(target, line.color);
    TextOutA(target, line.x, line.y, line.text.data(), static_cast<int>(line.text.size()));
}

}  // namespace

SplashPainter::SplashPainter(const SplashLayout& layout, HINSTANCE instance)
    : layout_(layout), instance_(instance) {}

SplashPainter::~SplashPainter() {
    if (statusFont_) DeleteObject(statusFont_);
    if (versionFont_) DeleteObject(versionFont_);
}

void SplashPainter::createFonts(HDC device) {
    if (fontsCreated_) return;
    fontsCreated_ = true;
    const int pixelsPerInch = GetDeviceCaps(device, LOGPIXELSY);
    statusFont_ = createFont(layout_.status, pixelsPerInch);
    versionFont_ = createFont(layout_.version, pixelsPerInch);
}

// The bitmap resource is loaded anew for every paint. The copy is clipped to
// the source bitmap, so a bitmap smaller than the window leaves the ground
// showing.
void SplashPainter::drawBitmap(HDC target, HDC reference) const {
    auto picture = static_cast<HBITMAP>(
        LoadImageA(instance_, MAKEINTRESOURCEA(kBitmapResource), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (picture == nullptr) return;
    HDC source = CreateCompatibleDC(reference);
    HGDIOBJ previous = SelectObject(source, picture);
    BitBlt(target, 0, 0, layout_.width, layout_.height, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(picture);
}

void SplashPainter::drawTexts(HDC target) const {
    HGDIOBJ previousFont = GetCurrentObject(target, OBJ_FONT);
    const int previousMode = SetBkMode(target, TRANSPARENT);
    const COLORREF previousColor = GetTextColor(target);
    drawLine(target, layout_.status, statusFont_);
    drawLine(target, layout_.version, versionFont_);
    SelectObject(target, previousFont);
    SetBkMode(target, previousMode);
    SetTextColor(target, previousColor);
}

void SplashPainter::paint(HWND window) {
    PAINTSTRUCT ps;
    HDC device = BeginPaint(window, &ps);
    createFonts(device);
    HDC memory = CreateCompatibleDC(device);
    HBITMAP canvas = CreateCompatibleBitmap(device, layout_.width, layout_.height);
    HGDIOBJ previous = SelectObject(memory, canvas);

    RECT whole{0, 0, layout_.width, layout_.height};
    FillRect(memory, &whole, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    drawBitmap(memory, device);
    drawTexts(memory);
    BitBlt(device, 0, 0, layout_.width, layout_.height, memory, 0, 0, SRCCOPY);

    SelectObject(memory, previous);
    DeleteObject(canvas);
    DeleteDC(memory);
    EndPaint(window, &ps);
}

}  // namespace vexal
