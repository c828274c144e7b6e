// The splash thread's poll of the application's controller class. Only JNI
// is used here, so the unit builds for Windows and natively alike.
#include "splash/SplashController.h"

#include <jni.h>

#include "splash/TestSeams.h"
#include "windows/JavaVMLauncher/JvmSession.h"

namespace vexal {

namespace {

constexpr const char* kControllerClass = "com/vexal/runtime/VexalController";
constexpr jint kActionClose = 1;
constexpr jint kActionText = 2;

// State of the one splash thread, used by nothing else.
struct Controller {
    bool initialised = false;  // the attach has succeeded once
    JNIEnv* env = nullptr;
    jclass type = nullptr;
    jmethodID getAction = nullptr;
    jmethodID getText = nullptr;
};

Controller gController;

// A failed lookup leaves NoClassDefFoundError or NoSuchMethodError pending
// on this thread. Left there, the JVM would report it as an uncaught
// exception when the thread detaches, though an application without the
// controller is normal: it is cleared.
template <typename T>
T found(JNIEnv* env, T result) {
    if (result == nullptr) env->ExceptionClear();
    return result;
}

// Attaches to the JVM once it exists; with an environment the class lookup
// happens once, found or not.
void initController() {
    auto* env = static_cast<JNIEnv*>(attachToJvm());
    gController.env = env;
    if (env == nullptr) return;
    gController.initialised = true;
    jclass type = found(env, env->FindClass(kControllerClass));
    if (type == nullptr) return;
    gController.type = type;
    gController.getAction = found(env, env->GetStaticMethodID(type, "getAction", "()I"));
    if (gController.getAction == nullptr) return;
    gController.getText = found(env, env->GetStaticMethodID(type, "getText", "()Ljava/lang/String;"));
}

bool controllerReady() {
    return gController.type != nullptr && gController.getAction != nullptr && gController.getText != nullptr;
}

// An exception thrown by a controller method would stay pending on this
// thread, and every later JNI call on it would then be undefined: it is
// cleared and the call counts as answering nothing.
bool clearedException(JNIEnv* env) {
    jthrowable pending = env->ExceptionOccurred();
    if (pending == nullptr) return false;
    env->ExceptionClear();
    env->DeleteLocalRef(pending);
    return true;
}

PollOutcome endThread() {
    detachFromJvm();
    return PollOutcome::EndThread;
}

void showNewText(SplashPollHost& host) {
    JNIEnv* env = gController.env;
    auto text = static_cast<jstring>(env->CallStaticObjectMethod(gController.type, gController.getText));
    if (clearedException(env) || text == nullptr) return;
    jsize length = env->GetStringLength(text);
    // Without memory for a copy the JVM throws; the text is skipped.
    const jchar* chars = found(env, env->GetStringChars(text, nullptr));
    if (chars != nullptr) {
        static_assert(sizeof(jchar) == sizeof(char16_t), "jchar is a UTF-16 unit");
        host.setStatusText(reinterpret_cast<const char16_t*>(chars), length > 0 ? static_cast<std::size_t>(length) : 0);
        env->ReleaseStringChars(text, chars);
    }
    // This thread never returns to Java, so its local references are never
    // freed for it: one string a poll would pile up for the life of the splash.
    env->DeleteLocalRef(text);
}

}  // namespace

PollOutcome pollSplashController(SplashPollHost& host) {
    if (!host.windowVisible()) return endThread();
    if (host.closeOnWindow() && host.countOwnWindows() > 1) {
        host.hide();
        return endThread();
    }
    if (!gController.initialised) initController();
    if (!controllerReady()) return PollOutcome::KeepPolling;

    jint action = gController.env->CallStaticIntMethod(gController.type, gController.getAction);
    if (clearedException(gController.env)) return PollOutcome::KeepPolling;
    if (action == kActionClose) {
        host.hide();
        return endThread();
    }
    if (action == kActionText) showNewText(host);
    return PollOutcome::KeepPolling;
}

void resetSplashController() { gController = Controller{}; }

}  // namespace vexal
