// JniScopes.h: owning JNI references, pinned arrays, and the one way a pending Java
// throwable becomes a C++ exception.
//
//   LocalRef<jclass> cls(env, env->FindClass("java/lang/String"));  // deleted at scope end
//   GlobalRef<jobject> service(env, object.get());                  // outlives the frame
//   {
//     CriticalByteArray bytes(env, array.get());                    // pinned until scope end
//     std::memcpy(bytes.data(), source, bytes.size());
//   }
//   constexpr CoreException kDeclared[] = {CoreException::NotConnected,
//                                          CoreException::RTIinternalError};
//   checkJavaException(env, kDeclared);
//
// Between constructing a CriticalByteArray and its end no other JNI function may be called.
#ifndef OSTRA1516E_BRIDGE_JNISCOPES_H
#define OSTRA1516E_BRIDGE_JNISCOPES_H

#include <jni.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "bridge/JavaExceptions.h"

namespace ostra1516e {

namespace detail {
jobject newGlobalRef(JNIEnv* env, jobject ref);
void deleteGlobalRef(jobject ref) noexcept;
}  // namespace detail

// LocalRef owns one JNI local reference (null allowed) and deletes it when it ends.
template <typename T>
class LocalRef {
 public:
  LocalRef() = default;
  LocalRef(JNIEnv* env, T ref) noexcept : env_(env), ref_(ref) {}
  LocalRef(LocalRef&& other) noexcept : env_(other.env_), ref_(other.release()) {}
  LocalRef& operator=(LocalRef&& other) noexcept {
    if (this != &other) {
      reset();
      env_ = other.env_;
      ref_ = other.release();
    }
    return *this;
  }
  LocalRef(LocalRef const&) = delete;
  LocalRef& operator=(LocalRef const&) = delete;
  ~LocalRef() { reset(); }

  T get() const noexcept { return ref_; }
  explicit operator bool() const noexcept { return ref_ != nullptr; }

  // release hands the reference to the caller, who then deletes it.
  T release() noexcept { return std::exchange(ref_, nullptr); }

  void reset() noexcept {
    if (ref_ != nullptr) env_->DeleteLocalRef(std::exchange(ref_, nullptr));
  }

 private:
  JNIEnv* env_ = nullptr;
  T ref_ = nullptr;
};

// GlobalRef owns one JNI global reference, made from any reference it is given; it is
// deleted through the environment of whichever thread ends it.
template <typename T>
class GlobalRef {
 public:
  GlobalRef() = default;
  // Throws rti1516e::RTIinternalError when the virtual machine is out of memory.
  GlobalRef(JNIEnv* env, T ref) : ref_(static_cast<T>(detail::newGlobalRef(env, ref))) {}
  GlobalRef(GlobalRef&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
  GlobalRef& operator=(GlobalRef&& other) noexcept {
    if (this != &other) {
      reset();
      ref_ = std::exchange(other.ref_, nullptr);
    }
    return *this;
  }
  GlobalRef(GlobalRef const&) = delete;
  GlobalRef& operator=(GlobalRef const&) = delete;
  ~GlobalRef() { reset(); }

  T get() const noexcept { return ref_; }
  explicit operator bool() const noexcept { return ref_ != nullptr; }

  void reset() noexcept {
    if (ref_ != nullptr) detail::deleteGlobalRef(std::exchange(ref_, nullptr));
  }

 private:
  T ref_ = nullptr;
};

// CriticalByteArray pins a Java byte array for direct access and releases it when the
// scope ends: mode 0 copies changes back (writing), JNI_ABORT drops them (reading).
class CriticalByteArray {
 public:
  // Throws rti1516e::RTIinternalError, with no Java exception left pending, when the
  // array cannot be pinned.
  CriticalByteArray(JNIEnv* env, jbyteArray array, jint releaseMode = 0);
  // The same for an array the caller has just made with `size` bytes, which spares the
  // virtual machine the question (a service call makes one per call).
  // Inline: a service call makes one per call.
  CriticalByteArray(JNIEnv* env, jbyteArray array, std::size_t size, jint releaseMode)
      : env_(env), array_(array), releaseMode_(releaseMode), size_(size),
        data_(array != nullptr ? static_cast<std::uint8_t*>(env->GetPrimitiveArrayCritical(array, nullptr))
                               : nullptr) {
    if (data_ == nullptr) raiseNotPinned(env);
  }
  ~CriticalByteArray() { env_->ReleasePrimitiveArrayCritical(array_, data_, releaseMode_); }
  CriticalByteArray(CriticalByteArray const&) = delete;
  CriticalByteArray& operator=(CriticalByteArray const&) = delete;

  std::uint8_t* data() const noexcept { return data_; }
  std::size_t size() const noexcept { return size_; }

 private:
  [[noreturn]] static void raiseNotPinned(JNIEnv* env);

  JNIEnv* env_;
  jbyteArray array_;
  jint releaseMode_;
  std::size_t size_;
  std::uint8_t* data_;
};

// javaText returns a Java string as a wide string (surrogate pairs joined); null gives
// an empty string. Throws rti1516e::RTIinternalError, with no Java exception left
// pending, when the characters cannot be had.
std::wstring javaText(JNIEnv* env, jstring text);

// checkJavaException is the one place where a pending Java throwable becomes a C++
// exception. With nothing pending it returns. Otherwise it takes the throwable and
// clears it, then throws the rti1516e exception of the first class in `declared` that
// the throwable is an instance of, with the Java message (its toString() when the
// message is null); a throwable of no declared class becomes RTIinternalError with its
// toString(), after "Unhandled exception" and the Java stack trace on standard error.
// No Java exception is pending when it throws. (Defined with the translation steps, in
// JavaExceptions.cpp.)
void checkJavaException(JNIEnv* env, CoreExceptionList declared);

// clearJavaException drops a pending Java exception, if any, when a failure is about to
// be reported another way (a failed lookup, an allocation).
inline void clearJavaException(JNIEnv* env) noexcept {
  if (env->ExceptionCheck()) env->ExceptionClear();
}

}  // namespace ostra1516e

#endif  // OSTRA1516E_BRIDGE_JNISCOPES_H
