// Single instance: the first start of an executable holds a named marker and
// stores its process id; a later start brings the first one's windows to the
// front, hands its arguments over through the first one's communication file
// and ends with exit code 0.
#include "process/SingleInstance.h"

#include "common/Format.h"
#include "common/Limits.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/ErrorReport.h"
#include "files/PathHelpers.h"
#include "files/TempFiles.h"
#include "process/InstanceIdentity.h"
#include "process/InstanceServices.h"
#include "process/WindowActivation.h"

namespace vexal {

namespace {

// An earlier communication file is waited for in these steps, at most this
// many times (10 s): the running instance deletes it once it has read it.
constexpr unsigned kCommFileStepMs = 50;
constexpr int kCommFileSteps = 200;

// The first instance stores its id right after it created the marker; a
// second instance that comes in between waits this long for it.
constexpr unsigned kPidStepMs = 20;
constexpr int kPidSteps = 50;

std::string gSemaphoreName;

}  // namespace

std::uint32_t runningInstancePid(const std::string& identity) {
    std::uint32_t pid = readInstancePid(identity);
    for (int step = 0; step < kPidSteps && (pid == 0 || !processRunning(pid)); ++step) {
        sleepMilliseconds(kPidStepMs);
        pid = readInstancePid(identity);
    }
    return pid;
}

namespace {

void handOverArguments(std::uint32_t pid, const std::u16string& text) {
    const std::string name = commFileName(pid);
    if (name.empty()) return;
    for (int step = 0; step < kCommFileSteps && pathExists(name); ++step) sleepMilliseconds(kCommFileStepMs);
    writeCommunicationFile(name, text);
}

}  // namespace

void enforceSingleInstance(const std::u16string& handOverText) {
    if (configInt(id::SingleInstance) == 0) return;

    const std::string& identity = ownExePath();
    gSemaphoreName = fitBuffer(semaphoreNameFromPath(identity), kTextBuffer);
    if (createInstanceMarker(gSemaphoreName)) {
        writeInstancePid(identity);
        return;
    }

    const std::uint32_t pid = runningInstancePid(identity);
    activateProcessWindows(pid);
    handOverArguments(pid, handOverText);
    exitLauncher(0);
}

const std::string& semaphoreName() { return gSemaphoreName; }

}  // namespace vexal
