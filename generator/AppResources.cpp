#include "generator/AppResources.h"

#include "generator/ResourceFiles.h"

namespace vexal {
namespace gen {

namespace {

// Stores the images as RT_ICON nextId, nextId+1, ... and the group under name.
// Icon ids are 16-bit: images past the last id would wrap round and replace
// the first ones.
void addIconGroup(ResourceTree& tree, const char* name, const std::vector<IconImage>& images, std::uint16_t& nextId) {
    if (images.size() > static_cast<std::size_t>(0xFFFF - nextId) + 1)
        throw ResourceError("the icons hold more than 65535 images together");
    std::uint16_t first = nextId;
    for (const IconImage& image : images) addResource(tree, ResourceKey::number(kRtIcon), ResourceKey::number(nextId++), image.data);
    addResource(tree, ResourceKey::number(kRtGroupIcon), ResourceKey::text(name), iconGroupData(images, first));
}

}  // namespace

ResourceTree buildResourceTree(const ResourceRequest& request) {
    ResourceTree tree;
    std::uint16_t nextIcon = 1;
    if (!request.icon.empty()) {
        std::uint16_t first = nextIcon;
        addIconGroup(tree, kAppIconName, request.icon, nextIcon);
        if (request.splashIcon.empty()) {
            addResource(tree, ResourceKey::number(kRtGroupIcon), ResourceKey::text(kSplashIconName),
                        iconGroupData(request.icon, first));
        }
    }
    if (!request.splashIcon.empty()) addIconGroup(tree, kSplashIconName, request.splashIcon, nextIcon);
    if (request.splashBitmap) {
        addResource(tree, ResourceKey::number(kRtBitmap), ResourceKey::number(kSplashBitmapId), request.splashBitmap->dib);
    }
    addResource(tree, ResourceKey::number(kRtVersion), ResourceKey::number(kVersionId), versionRecord(request.version));
    addResource(tree, ResourceKey::number(kRtManifest), ResourceKey::number(kManifestId),
                applicationManifest(request.manifest));
    return tree;
}

}  // namespace gen
}  // namespace vexal
