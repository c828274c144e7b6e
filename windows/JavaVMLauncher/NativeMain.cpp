// The natives that the runtime launcher class calls to run the
// application's main.
#include "windows/JavaVMLauncher/NativeMain.h"

#include "config/Log.h"

namespace vexal {

namespace {

jboolean JNICALL hasNativeMain(JNIEnv*, jclass) { return JNI_TRUE; }

// Any exception (a NoSuchMethodError from the lookup, or one thrown by main)
// stays pending and so leaves the Java caller unchanged.
void JNICALL callApplicationMain(JNIEnv* env, jclass, jclass mainClass, jobjectArray arguments) {
    if (mainClass == nullptr) {
        jclass nullPointer = env->FindClass("java/lang/NullPointerException");
        if (nullPointer != nullptr) env->ThrowNew(nullPointer, "no main class");
        return;
    }
    jmethodID main = env->GetStaticMethodID(mainClass, kMainName, kMainSignature);
    if (main == nullptr) return;
    logDebug("calling the application's main");
    env->CallStaticVoidMethod(mainClass, main, arguments);
}

}  // namespace

bool registerNativeMain(JNIEnv* env, jclass launcherClass) {
    JNINativeMethod methods[] = {
        {const_cast<char*>(kCallMainName), const_cast<char*>(kCallMainSignature),
         reinterpret_cast<void*>(&callApplicationMain)},
        {const_cast<char*>(kHasNativeMainName), const_cast<char*>(kHasNativeMainSignature),
         reinterpret_cast<void*>(&hasNativeMain)},
    };
    if (env->RegisterNatives(launcherClass, methods, 2) == 0) {
        logDebug("native main hand-off registered");
        return true;
    }
    // A NoSuchMethodError names the missing native; main is then called the
    // way the class itself does it.
    env->ExceptionClear();
    logDebug("the runtime launcher class has no native main hand-off: it calls main itself");
    return false;
}

}  // namespace vexal
