#include "bridge/JavaExceptions.h"

#include <iostream>

#include "bridge/JniScopes.h"
#include "bridge/Text.h"

namespace ostra1516e {

namespace {

struct CoreExceptionClass {
  char const* javaName;
  void (*raise)(std::wstring const& message);
};

#define OSTRA_CORE_EXCEPTION_0(Name)
#define OSTRA_CORE_EXCEPTION_1(Name) \
  {"hla/rti1516e/exceptions/" #Name, \
   [](std::wstring const& message) { throw rti1516e::Name(message); }},
#define OSTRA_CORE_EXCEPTION(Name, InCore) OSTRA_CORE_EXCEPTION_##InCore(Name)

// In the order of CoreException: both come from the same rows.
CoreExceptionClass const kCoreExceptions[] = {RTI1516E_EXCEPTIONS(OSTRA_CORE_EXCEPTION)};

#undef OSTRA_CORE_EXCEPTION
#undef OSTRA_CORE_EXCEPTION_1
#undef OSTRA_CORE_EXCEPTION_0

char const kStringMethod[] = "()Ljava/lang/String;";

// Calls a String-returning method without arguments, looked up on cls. Null when the
// method is missing, throws, or returns null; no Java exception is left pending.
LocalRef<jstring> callTextMethod(JNIEnv* env, jobject object, jclass cls, char const* name) {
  jmethodID method = env->GetMethodID(cls, name, kStringMethod);
  if (method == nullptr) {
    clearJavaException(env);
    return LocalRef<jstring>();
  }
  LocalRef<jstring> text(env, static_cast<jstring>(env->CallObjectMethod(object, method)));
  if (env->ExceptionCheck()) {
    env->ExceptionClear();
    text.reset();
  }
  return text;
}

// The throwable's getMessage() (when preferMessage) or toString(); if even toString()
// fails, the name of its class, so that the federate still learns what was thrown.
std::wstring describe(JNIEnv* env, jthrowable throwable, jclass cls, bool preferMessage) {
  LocalRef<jstring> text;
  if (preferMessage) text = callTextMethod(env, throwable, cls, "getMessage");
  if (!text) text = callTextMethod(env, throwable, cls, "toString");
  if (!text) {
    LocalRef<jclass> actual(env, env->GetObjectClass(throwable));
    LocalRef<jclass> classClass(env, env->FindClass("java/lang/Class"));
    if (actual && classClass) text = callTextMethod(env, actual.get(), classClass.get(), "getName");
    clearJavaException(env);
  }
  return javaText(env, text.get());
}

}  // namespace

std::size_t const kCoreExceptionCount = sizeof kCoreExceptions / sizeof kCoreExceptions[0];

char const* javaClassName(CoreException which) {
  return kCoreExceptions[static_cast<std::size_t>(which)].javaName;
}

void throwCoreException(CoreException which, std::wstring const& message) {
  kCoreExceptions[static_cast<std::size_t>(which)].raise(message);
  throw rti1516e::RTIinternalError(message);  // not reached: every row throws
}

bool matchJavaException(JNIEnv* env, jthrowable throwable, char const* className,
                        std::wstring& message) {
  if (throwable == nullptr) return false;  // null is an instance of every class
  LocalRef<jclass> cls(env, env->FindClass(className));
  if (!cls) {
    clearJavaException(env);  // the NoClassDefFoundError of the lookup
    return false;
  }
  if (!env->IsInstanceOf(throwable, cls.get())) return false;
  message = describe(env, throwable, cls.get(), true);
  return true;
}

void raiseUnhandledJavaException(JNIEnv* env, jthrowable throwable) {
  std::cerr << "Unhandled exception" << std::endl;
  std::wstring text;
  // Throwable declares both methods, so Java errors are served as well as exceptions.
  LocalRef<jclass> cls(env, env->FindClass("java/lang/Throwable"));
  if (cls && throwable != nullptr) {
    if (jmethodID print = env->GetMethodID(cls.get(), "printStackTrace", "()V")) {
      env->CallVoidMethod(throwable, print);
    }
    clearJavaException(env);
    text = describe(env, throwable, cls.get(), false);
  }
  clearJavaException(env);
  throw rti1516e::RTIinternalError(text);
}

void checkJavaException(JNIEnv* env, CoreExceptionList declared) {
  // ExceptionCheck makes no local reference: the common case costs one call.
  if (!env->ExceptionCheck()) return;
  LocalRef<jthrowable> throwable(env, env->ExceptionOccurred());
  env->ExceptionClear();
  std::wstring message;
  for (CoreException which : declared) {
    if (matchJavaException(env, throwable.get(), javaClassName(which), message)) {
      throwable.reset();
      throwCoreException(which, message);
    }
  }
  raiseUnhandledJavaException(env, throwable.get());
}

}  // namespace ostra1516e
