#pragma once
#include <jni.h>

namespace vexal {

// The native hand-off of the runtime launcher class: the launcher registers
// two natives on it, and the class then calls the application's main through
// them, the way `java` calls main (GetStaticMethodID, CallStaticVoidMethod),
// instead of by reflection, which spins method-handle classes on every start
// on JDK 18 and later and checks access where JNI does not.
//
//   private static native boolean hasNativeMain();                 "()Z"
//   private static native void callMain(Class<?>, String[]);        "(Ljava/lang/Class;[Ljava/lang/String;)V"
//
// callMain leaves an exception of main pending, so that it leaves the Java
// caller unchanged and the launcher sees it when the runtime launcher's own
// main returns.
constexpr const char* kHasNativeMainName = "hasNativeMain";
constexpr const char* kHasNativeMainSignature = "()Z";
constexpr const char* kCallMainName = "callMain";
constexpr const char* kCallMainSignature = "(Ljava/lang/Class;[Ljava/lang/String;)V";
constexpr const char* kMainName = "main";
constexpr const char* kMainSignature = "([Ljava/lang/String;)V";

// Registers both natives on the runtime launcher class. False when the class
// does not declare them (an older runtime, a test's stand-in class): the
// JVM's exception is cleared, and the class calls main by reflection.
bool registerNativeMain(JNIEnv* env, jclass launcherClass);

}  // namespace vexal
