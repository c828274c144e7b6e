#include <windows.h>

#include "launcher/LaunchSequence.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR argumentText, int showCommand) {
    const wchar_t* commandLine = GetCommandLineW();
    std::u16string wide(reinterpret_cast<const char16_t*>(commandLine));
    return vexal::runLaunchSequence(instance, argumentText, wide, showCommand);
}
