#include "generator/GeneratorOptions.h"

namespace vexal {
namespace gen {

namespace {

const std::vector<OptionInfo> kOptions = {
    {"arch", "string", "`\"x64\"`", "Architecture of the stub: `\"x64\"` (x86_64) or `\"x86\"` (i686) for Windows, "
     "`\"linux-x64\"` for the Linux launcher (an x86_64 ELF executable without icon, manifest, version record, "
     "signature or splash screen)."},
    {"subsystem", "string", "from `application.type`",
     "The stub's Windows subsystem: `\"gui\"` or `\"console\"`. Sets `application.type` to 1 or 2 unless that is "
     "given. Without it, types 1 and 5 take the GUI stub and every other type the console stub."},
    {"output", "string", "`<application.name>.exe` beside the project file",
     "The executable to write, relative to the project file; `-o` overrides it."},
    {"application.icon", "string (path)", "none",
     "The application icon, a .ico file with any number of images (all are stored)."},
    {"splash.bitmap", "string (path)", "none",
     "The splash bitmap, a .bmp file (bitmap resource 10000). `splash.width` and `splash.height` default to its "
     "size and `splash.show` to `true`."},
    {"splash.icon", "string (path)", "`application.icon`",
     "Icon of the splash window class (icon resource \"ID_SPLASH_ICON\"), a .ico file."},
    {"version.file-version", "string", "`\"1.0.0.0\"`", "File version: one to four numbers 0-65535 separated by dots."},
    {"version.product-version", "string", "`version.file-version`", "Product version, in the same form."},
    {"version.company", "string", "none", "Company name of the version record."},
    {"version.description", "string", "`application.name`", "File description (shown by the shell)."},
    {"version.copyright", "string", "none", "Legal copyright."},
    {"version.product-name", "string", "`application.name`", "Product name."},
    {"version.original-filename", "string", "the output file's name", "Original file name."},
    {"manifest.dpi-awareness", "string", "`\"system\"`",
     "DPI awareness declared in the manifest: `\"unaware\"`, `\"system\"` or `\"per-monitor\"`."},
    {"manifest.require-administrator", "boolean", "`false`",
     "Ask for administrator rights (requireAdministrator) instead of running as the invoker (asInvoker)."},
    {"runtime.include", "boolean", "`true`",
     "Include the launcher's Java runtime `vexal-runtime.jar` (the class the launcher calls) among the included "
     "files, and, for `application.launcher-kind` `\"k\"`, lay out `.korvalith/kvlruntime.jar` under "
     "`application.install-root` beside the output. Turn it off when the class path brings the runtime "
     "otherwise."},
    {"signing.pkcs12", "string (path)", "none",
     "Sign the executable with the certificate and key of this PKCS#12 file (with osslsigncode or signtool)."},
    {"signing.certificate", "string (path)", "none",
     "Sign with this certificate file (PEM or DER); needs `signing.key` and osslsigncode. Not together with "
     "`signing.pkcs12`."},
    {"signing.key", "string (path)", "none", "The private key file that belongs to `signing.certificate`."},
    {"signing.password-env", "string", "none",
     "Name of an environment variable that holds the password of the PKCS#12 file or key."},
    {"signing.timestamp-url", "string", "none",
     "Time-stamping server for the signature (the signed file then differs from run to run)."},
    {"signing.tool", "string", "osslsigncode, else signtool",
     "The signing program: a path (relative to the project file) or a name looked up on `PATH`. A program named "
     "`signtool` is called the way Microsoft's signtool expects, any other the way osslsigncode does. Without it: "
     "`VEXAL_OSSLSIGNCODE`, else `osslsigncode` on `PATH`, else `signtool` on `PATH` or in an installed Windows "
     "SDK."},
};

}  // namespace

const std::vector<OptionInfo>& generatorOptions() { return kOptions; }

const OptionInfo* findOption(const std::string& name) {
    for (const auto& option : kOptions) {
        if (name == option.name) return &option;
    }
    return nullptr;
}

}  // namespace gen
}  // namespace vexal
