#include "splash/SplashLayout.h"

#include "common/Limits.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"

namespace vexal {

namespace {

struct LineIds {
    std::int32_t text, x, y, face, points, weight, color;
};

constexpr LineIds kStatusIds{id::StatusText, id::StatusX, id::StatusY, id::StatusFace,
                             id::StatusPoints, id::StatusWeight, id::StatusColor};
constexpr LineIds kVersionIds{id::VersionText, id::VersionX, id::VersionY, id::VersionFace,
                              id::VersionPoints, id::VersionWeight, id::VersionColor};

SplashTextLine readLine(const LineIds& ids) {
    SplashTextLine line;
    line.text = configString(ids.text);
    line.x = configInt(ids.x);
    line.y = configInt(ids.y);
    line.face = configString(ids.face, kFaceNameBuffer);
    line.points = configInt(ids.points);
    line.weight = configInt(ids.weight);
    line.color = configColor(ids.color);
    return line;
}

}  // namespace

SplashLayout readSplashLayout() {
    SplashLayout layout;
    layout.status = readLine(kStatusIds);
    layout.version = readLine(kVersionIds);
    layout.title = configString(id::AppName);
    layout.width = configInt(id::SplashWidth);
    layout.height = configInt(id::SplashHeight);
    layout.topmost = configInt(id::SplashTopmost) != 0;
    layout.closeOnWindow = configInt(id::CloseSplashOnWindow) != 0;
    return layout;
}

}  // namespace vexal
