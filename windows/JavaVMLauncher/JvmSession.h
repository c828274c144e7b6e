#pragma once
#include <string>
#include <vector>

#include "common/ArgumentSplitting.h"

namespace vexal {

// The process-wide JVM, reached through JNI. These calls build on the
// platform-neutral JNI interface, so they also run natively against a real
// HotSpot in the host tests.

// Creates the JVM through the bound JNI_CreateJavaVM with the given options
// (JNI 1.2, ignoreUnrecognized). True when it returned 0.
bool createJvm(const std::vector<std::string>& options);

// Calls main of the runtime launcher class with the given arguments (first
// run hook first for kind 'k'). True when main returned without a pending
// exception, or the first-run hook stopped the launch.
bool callMain(const ArgumentList& mainArguments);

// The installer kind's first-run hook; true to go on with main.
bool checkFirstRun();

// An action for the JVM's exit: the JVM is then created with its "exit"
// hook, which it calls when the application ends the process (System.exit),
// after the JVM's own exit work. Set before createJvm.
void setJvmExitAction(void (*action)());

// DestroyJavaVM: waits for the application's non-daemon threads.
void destroyJvm();

bool jvmCreated();
void* javaVm();  // JavaVM*

// The splash thread's way into the JVM: its JNIEnv* or null; detach on the
// way out.
void* attachToJvm();
void detachFromJvm();

}  // namespace vexal
