#include <string>
#include <vector>

#include "common/TextCodec.h"
#include "config/ErrorReport.h"
#include "launcher/ArgumentJoining.h"
#include "launcher/LaunchSequence.h"

// Linux hands the arguments over already split. The launch stages work from
// an argument text and a whole command line, as on Windows; both are built
// here so that the launcher's splitting gives the same arguments back.
// There is no show command: nothing is shown. Errors always go to standard
// error as plain lines, as the console launcher writes them.
int main(int argc, char** argv) {
    vexal::useConsoleErrors();
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::string argumentText = vexal::joinArguments(arguments);
    std::string commandLine = vexal::quoteArgument(argc > 0 ? argv[0] : "");
    if (!arguments.empty()) commandLine += ' ' + argumentText;
    const std::u16string wide = vexal::fileCodePageToWide(commandLine);
    return vexal::runLaunchSequence(nullptr, argumentText.c_str(), wide, 0);
}
