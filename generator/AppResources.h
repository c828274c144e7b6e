#pragma once
#include <optional>
#include <vector>

#include "generator/ResourceFiles.h"
#include "generator/ResourceTree.h"

namespace vexal {
namespace gen {

// Names and ids of the resources a generated executable carries.
constexpr const char* kAppIconName = "APPICON";  // sorts before the splash icon, so the shell shows it
constexpr const char* kSplashIconName = "ID_SPLASH_ICON";
constexpr std::uint16_t kSplashBitmapId = 10000;
constexpr std::uint16_t kVersionId = 1;
constexpr std::uint16_t kManifestId = 1;

// What goes into the resource section of a generated executable.
struct ResourceRequest {
    std::vector<IconImage> icon;        // empty: no application icon
    std::vector<IconImage> splashIcon;  // empty: the application icon
    std::optional<Bitmap> splashBitmap;
    VersionFields version;
    ManifestOptions manifest;
};

// The tree: the application icon (group "APPICON", images from id 1), the
// splash icon (group "ID_SPLASH_ICON"; the application icon's images when
// no other is given), bitmap 10000, version record 1 and manifest 1.
ResourceTree buildResourceTree(const ResourceRequest& request);

}  // namespace gen
}  // namespace vexal
