#pragma once

namespace vexal {

// The path syntax of a platform: the directory separator, the separator of
// path lists (PATH, class paths), and whether file names compare without
// regard to case (then paths are lower-cased before they are compared).
struct PathStyle {
    char dir;
    char list;
    bool caseInsensitive;
};

// The two styles, so that pure units and their tests can work with either.
constexpr PathStyle kWindowsPathStyle{'\\', ';', true};
constexpr PathStyle kLinuxPathStyle{'/', ':', false};

// The style of the platform the launcher runs on; defined once per platform.
const PathStyle& platformPathStyle();

}  // namespace vexal
