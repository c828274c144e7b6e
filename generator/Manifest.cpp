// The application manifest (RT_MANIFEST 1).
#include "generator/ResourceFiles.h"

namespace vexal {
namespace gen {

std::string applicationManifest(const ManifestOptions& options) {
    std::string level = options.requireAdministrator ? "requireAdministrator" : "asInvoker";
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
        "  <trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n"
        "    <security>\n"
        "      <requestedPrivileges>\n"
        "        <requestedExecutionLevel level=\"" + level + "\" uiAccess=\"false\"/>\n"
        "      </requestedPrivileges>\n"
        "    </security>\n"
        "  </trustInfo>\n"
        "  <compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">\n"
        "    <application>\n"
        "      <!-- Windows Vista, 7, 8, 8.1, 10 and 11 -->\n"
        "      <supportedOS Id=\"{e2011457-1546-43c5-a5fe-008deee3d3f0}\"/>\n"
        "      <supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>\n"
        "      <supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>\n"
        "      <supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>\n"
        "      <supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>\n"
        "    </application>\n"
        "  </compatibility>\n";
    if (options.dpi != DpiAwareness::Unaware) {
        bool perMonitor = options.dpi == DpiAwareness::PerMonitor;
        out += "  <application xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n"
               "    <windowsSettings>\n"
               "      <dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">";
        out += perMonitor ? "true/pm" : "true";
        out += "</dpiAware>\n"
               "      <dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">";
        out += perMonitor ? "PerMonitorV2, PerMonitor" : "system";
        out += "</dpiAwareness>\n"
               "    </windowsSettings>\n"
               "  </application>\n";
    }
    return out + "</assembly>\n";
}

}  // namespace gen
}  // namespace vexal
