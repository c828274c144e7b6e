#include <string>
#include <vector>

#include "common/TextCodec.h"
#include "config/ErrorReport.h"
#include "launcher/ArgumentJoining.h"
#include "launcher/LaunchSequence.h"

// Linux hands the arguments over already split: they go to main as they
// are, each one decoded from UTF-8 and nothing else. The joined text serves
// only the internal-switch test and the hand-over to a running instance,
// whose file keeps its one-line format. There is no show command: nothing
// is shown. Errors always go to standard error as plain lines, as the
// console launcher writes them.
int main(int argc, char** argv) {
    vexal::useConsoleErrors();
    const std::vector<std::string> given(argv + (argc > 0 ? 1 : 0), argv + argc);
    vexal::LaunchInput input;
    input.argumentText = vexal::joinArguments(given);
    input.handOverText = vexal::fileCodePageToWide(input.argumentText);
    input.arguments = [argc, argv] {
        vexal::ArgumentList arguments{vexal::fileCodePageToWide(argc > 0 ? argv[0] : "")};
        for (int i = 1; i < argc; ++i) arguments.push_back(vexal::fileCodePageToWide(argv[i]));
        return arguments;
    };
    return vexal::runLaunchSequence(input);
}
