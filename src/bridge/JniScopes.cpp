#include "bridge/JniScopes.h"

#include "bridge/JavaVmHost.h"
#include "bridge/Text.h"

namespace ostra1516e {

namespace detail {

jobject newGlobalRef(JNIEnv* env, jobject ref) {
  if (ref == nullptr) return nullptr;
  jobject global = env->NewGlobalRef(ref);
  if (global == nullptr) {
    clearJavaException(env);
    raiseBridgeFailure(L"Cannot create a JNI global reference: the JVM is out of memory\n");
  }
  return global;
}

void deleteGlobalRef(jobject ref) noexcept {
  try {
    JavaVmHost::currentEnv()->DeleteGlobalRef(ref);
  } catch (...) {
    // Without an environment for this thread the reference can only be left to the
    // machine; the failure has been written to standard error.
  }
}

}  // namespace detail

CriticalByteArray::CriticalByteArray(JNIEnv* env, jbyteArray array, jint releaseMode)
    : CriticalByteArray(env, array,
                        array != nullptr ? static_cast<std::size_t>(env->GetArrayLength(array)) : 0,
                        releaseMode) {}

void CriticalByteArray::raiseNotPinned(JNIEnv* env) {
  clearJavaException(env);
  raiseBridgeFailure(L"Cannot access a Java byte array: the JVM is out of memory\n");
}

namespace {

// The characters of a Java string, pinned for the length of the scope.
class CriticalChars {
 public:
  CriticalChars(JNIEnv* env, jstring text)
      : env_(env), text_(text), chars_(env->GetStringCritical(text, nullptr)) {}
  ~CriticalChars() {
    if (chars_ != nullptr) env_->ReleaseStringCritical(text_, chars_);
  }
  CriticalChars(CriticalChars const&) = delete;
  CriticalChars& operator=(CriticalChars const&) = delete;
  jchar const* get() const { return chars_; }

 private:
  JNIEnv* env_;
  jstring text_;
  jchar const* chars_;
};

}  // namespace

std::wstring javaText(JNIEnv* env, jstring text) {
  if (text == nullptr) return std::wstring();
  jsize length = env->GetStringLength(text);
  CriticalChars chars(env, text);
  if (chars.get() == nullptr) {
    clearJavaException(env);
    raiseBridgeFailure(L"Cannot read a Java string: the JVM is out of memory\n");
  }
  return wideFromUtf16(chars.get(), static_cast<std::size_t>(length));
}

}  // namespace ostra1516e
