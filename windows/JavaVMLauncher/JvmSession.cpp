// The process-wide JVM: creation through the bound JNI_CreateJavaVM, the
// first-run hook, the call of the runtime launcher's main, destruction, and
// the attach/detach of other launcher threads. Only JNI is used here, so the
// unit builds for Windows and natively alike.
#include "windows/JavaVMLauncher/JvmSession.h"

#include <jni.h>

#include <atomic>

#include "common/Format.h"
#include "common/Limits.h"
#include "common/PathStyle.h"
#include "common/TextCodec.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/ErrorReport.h"
#include "config/Log.h"
#include "files/PathHelpers.h"
#include "process/Environment.h"
#include "windows/JavaVMLauncher/JvmEntry.h"
#include "windows/JavaVMLauncher/LaunchProgram.h"
#include "windows/JavaVMLauncher/NativeMain.h"

namespace vexal {

namespace {

using CreateJavaVm = jint(JNICALL*)(JavaVM**, void**, void*);

JavaVM* gJavaVm = nullptr;
JNIEnv* gJniEnv = nullptr;  // the main thread's environment
// Set once by the main thread, read by the splash thread.
std::atomic<bool> gJvmCreated{false};
void (*gExitAction)() = nullptr;

// The JVM calls its "exit" hook when the application ends the process
// (System.exit, Runtime.halt), after its own exit work, before the process
// is gone.
void JNICALL jvmExitHook(jint) {
    if (gExitAction != nullptr) gExitAction();
}

// The JVM keeps the option strings and the array for its whole life: both
// are allocated once and never released.
// With an exit action the array ends in the "exit" option, whose extra
// information is the hook.
JavaVMOption* permanentOptions(const std::vector<std::string>& options, bool exitHook) {
    const std::size_t count = options.size() + (exitHook ? 1 : 0);
    if (count == 0) return nullptr;
    auto* array = new JavaVMOption[count]();
    for (std::size_t i = 0; i < options.size(); ++i) {
        auto* text = new char[options[i].size() + 1];
        options[i].copy(text, options[i].size());
        text[options[i].size()] = '\0';
        array[i].optionString = text;
        array[i].extraInfo = nullptr;
    }
    if (exitHook) {
        array[options.size()].optionString = const_cast<char*>("exit");
        array[options.size()].extraInfo = reinterpret_cast<void*>(&jvmExitHook);
    }
    return array;
}

std::string mainClassName() {
    std::string name = fitBuffer(kRuntimeLauncherClass, kTextBuffer);
    for (char& c : name) {
        if (c == '.') c = '/';
    }
    return name;
}

// The argument as the log shows it: file code page, "?" where a character
// has no narrow form.
std::string loggedArgument(const std::u16string& argument) {
    return fitBuffer(wideToFileCodePage(argument), kTextBuffer);
}

jobjectArray newArgumentArray(JNIEnv* env, const ArgumentList& arguments) {
    jclass stringClass = env->FindClass("java/lang/String");
    if (stringClass == nullptr) return nullptr;
    return env->NewObjectArray(static_cast<jsize>(arguments.size()), stringClass, nullptr);
}

// Fills the array; false (with an error line) when a string cannot be made.
bool fillArgumentArray(JNIEnv* env, jobjectArray array, const ArgumentList& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        logDebug("param %d: %s", static_cast<int>(i), loggedArgument(argument).c_str());
        jstring text = env->NewString(reinterpret_cast<const jchar*>(argument.data()),
                                      static_cast<jsize>(argument.size()));
        if (text == nullptr) {
            logError("could not create the string of argument %d", static_cast<int>(i));
            return false;
        }
        env->SetObjectArrayElement(array, static_cast<jsize>(i), text);
    }
    return true;
}

}  // namespace

bool createJvm(const std::vector<std::string>& options) {
    JavaVMInitArgs initArgs{};
    const bool exitHook = gExitAction != nullptr;
    initArgs.version = JNI_VERSION_1_2;
    initArgs.nOptions = static_cast<jint>(options.size() + (exitHook ? 1 : 0));
    initArgs.options = permanentOptions(options, exitHook);
    initArgs.ignoreUnrecognized = JNI_TRUE;
    logDebug("Creating JVM");
    auto create = reinterpret_cast<CreateJavaVm>(jvmEntryPoint());
    if (create == nullptr) return false;
    if (create(&gJavaVm, reinterpret_cast<void**>(&gJniEnv), &initArgs) != 0) return false;
    gJvmCreated = true;
    return true;
}

bool checkFirstRun() {
    const char separator = platformPathStyle().dir;
    std::string root = absolutePath(configString(id::InstallRoot), false);
    if (root.empty() || root.back() != separator) root += separator;
    const std::string marker = root + ".korvalith" + separator + "firstrun";
    if (!pathExists(marker)) return true;
    JNIEnv* env = gJniEnv;
    jclass firstRunClass = env->FindClass("com/korvalith/runtime/FirstRun");
    if (firstRunClass == nullptr) internalError(InternalErrorCode::FirstRunClassMissing);
    jmethodID firstRun = env->GetStaticMethodID(firstRunClass, "firstRun", "()Z");
    if (firstRun == nullptr) internalError(InternalErrorCode::FirstRunMethodMissing);
    const jboolean goOn = env->CallStaticBooleanMethod(firstRunClass, firstRun);
    if (env->ExceptionOccurred() != nullptr) {
        env->ExceptionDescribe();
        return false;
    }
    return goOn == JNI_TRUE;
}

bool callMain(const ArgumentList& mainArguments) {
    if (launcherKind() == 'k' && !checkFirstRun()) {
        logDebug("checkFirstRun stopped further execution");
        return true;
    }
    JNIEnv* env = gJniEnv;
    const std::string className = mainClassName();
    logDebug("main class: %s", className.c_str());
    jclass mainClass = env->FindClass(className.c_str());
    if (mainClass == nullptr) {
        logError("could not find main class");
        fatalError(msg::MainClassNotLoaded);
    }
    // Right after the class is found, before anything of it runs.
    registerNativeMain(env, mainClass);
    jmethodID mainMethod = env->GetStaticMethodID(mainClass, kMainName, kMainSignature);
    if (mainMethod == nullptr) {
        logError("could not find main method");
        fatalError(msg::MainMethodMissing);
    }
    logDebug("param count: %d", static_cast<int>(mainArguments.size()));
    jobjectArray array = newArgumentArray(env, mainArguments);
    if (array == nullptr) {
        // Reported like a main that failed (message 1005), not as a crash.
        logError("could not create the argument array");
        return false;
    }
    if (!fillArgumentArray(env, array, mainArguments)) return false;
    logDebug("calling main");
    env->CallStaticVoidMethod(mainClass, mainMethod, array);
    logDebug("main returned");
    if (env->ExceptionOccurred() != nullptr) {
        logError("an exception occured");
        env->ExceptionDescribe();
        return false;
    }
    return true;
}

void setJvmExitAction(void (*action)()) { gExitAction = action; }

void destroyJvm() {
    if (gJvmCreated) gJavaVm->DestroyJavaVM();
}

bool jvmCreated() { return gJvmCreated; }

void* javaVm() { return gJvmCreated ? gJavaVm : nullptr; }

void* attachToJvm() {
    if (!gJvmCreated) return nullptr;
    JNIEnv* env = nullptr;
    if (gJavaVm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != 0) return nullptr;
    return env;
}

void detachFromJvm() {
    if (gJvmCreated) gJavaVm->DetachCurrentThread();
}

}  // namespace vexal
