#include <windows.h>

#include "config/CheckedSplitting.h"
#include "launcher/ArgumentText.h"
#include "launcher/LaunchSequence.h"
#include "process/InstanceIdentity.h"
#include "process/LibrarySearch.h"

// The argument text is taken from the command line here rather than from the
// C runtime's start-up code, which runs a program name on into the first
// argument when no blank follows its closing quote and does not skip blanks
// in front of the name.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // Before anything is loaded: no library is ever taken from the current
    // directory, the launcher's folder or PATH.
    vexal::restrictLibrarySearch();
    const std::u16string wide(reinterpret_cast<const char16_t*>(GetCommandLineW()));
    vexal::LaunchInput input;
    input.instance = instance;
    input.argumentText = vexal::argumentTextOf(GetCommandLineA());
    input.handOverText = vexal::commandLineArguments(wide);
    input.showCommand = showCommand;
    input.arguments = [wide] {
        vexal::ArgumentList list;
        vexal::splitArguments(wide, list);
        return list;
    };
    return vexal::runLaunchSequence(input);
}
