#include "gen/cpp/FederateAmbassadorC.h"

#include "gen/cpp/CallbackDispatch.h"

#include <cstdio>

namespace ostra1516e {

// The table's rows name the codes by their tags.
using namespace code;

void setCatchAllFlag(bool catchAll) {
  catchAllUnknownExceptions.store(catchAll, std::memory_order_relaxed);
}

bool catchAllFlag() { return catchAllUnknownExceptions.load(std::memory_order_relaxed); }

namespace callbacks {

namespace {

constexpr char kCallbackClass[] = "org/vantor/ostra1516e/FederateAmbassadorC2007";
constexpr char kFederateInternalError[] = "hla/rti1516e/exceptions/FederateInternalError";

template <typename... Codes>
std::string codeNames() {
  std::string names;
  ((names += '_', names += Codes::name), ...);
  return names;
}

// A callback array pinned with the critical-array access of JNI.
class JavaArrayPin : public ArrayPin {
 public:
  JavaArrayPin(JNIEnv* env, jbyteArray array, void* bytes, jsize size)
      : ArrayPin(static_cast<unsigned char*>(bytes), static_cast<size_t>(size)),
        env_(env),
        array_(array) {}
  ~JavaArrayPin() override { release(); }
  void release() noexcept override {
    if (array_ == nullptr) return;
    env_->ReleasePrimitiveArrayCritical(array_, data(), JNI_ABORT);  // read only
    array_ = nullptr;
  }

 private:
  JNIEnv* env_;
  jbyteArray array_;
};

// Raises hla/rti1516e/exceptions/FederateInternalError with the message in the calling
// native method. The Java string is made from UTF-16 units, so any text is safe. If the
// class cannot be had, the Java error of that failure is left pending instead: the core
// still sees the native method throw.
void throwFederateInternalError(JNIEnv* env, std::u16string const& message) {
  jclass type = env->FindClass(kFederateInternalError);
  if (type == nullptr) return;
  jmethodID constructor = env->GetMethodID(type, "<init>", "(Ljava/lang/String;)V");
  jstring text = constructor == nullptr
                     ? nullptr
                     : env->NewString(reinterpret_cast<jchar const*>(message.data()),
                                      static_cast<jsize>(message.size()));
  if (text != nullptr) {
    jobject error = env->NewObject(type, constructor, text);
    if (error != nullptr) {
      env->Throw(static_cast<jthrowable>(error));
      env->DeleteLocalRef(error);
    }
    env->DeleteLocalRef(text);
  }
  env->DeleteLocalRef(type);
}

// The JNI side of every native method: pin the array, dispatch, raise the failure.
void fromJava(JNIEnv* env, jbyteArray array, char const* nativeName,
              CallbackFailure (*deliver)(ArrayPin&)) {
  CallbackFailure failure;
  void* bytes = nullptr;
  jsize size = 0;
  if (array != nullptr) {
    // The length is taken first: no JNI call may come between pin and release.
    size = env->GetArrayLength(array);
    bytes = env->GetPrimitiveArrayCritical(array, nullptr);
  }
  if (bytes == nullptr) {
    if (env->ExceptionCheck()) env->ExceptionClear();
    failure = messageFromBytes(std::string(nativeName) +
                               (array == nullptr ? ": the callback array is null"
                                                 : ": the callback array cannot be pinned"));
  } else {
    JavaArrayPin pin(env, array, bytes, size);
    failure = deliver(pin);
  }
  if (failure) throwFederateInternalError(env, *failure);
}

}  // namespace

// One delivery function per row; the overload called is picked by the decoded arguments.

#define OSTRA_CALLBACK(Native, Method, ...)                                               \
  CallbackFailure deliver_##Native(ArrayPin& pin) {                                      \
    return deliverCallback<__VA_ARGS__>(                                                 \
        #Native, pin, [](rti1516e::FederateAmbassador& ambassador, auto&&... arguments) { \
          ambassador.Method(std::forward<decltype(arguments)>(arguments)...);            \
        });                                                                              \
  }
#include "gen/cpp/CallbackTable.def"

}  // namespace callbacks

#define OSTRA_CALLBACK(Native, Method, ...) \
  {#Native, #Method, &callbacks::codeNames<__VA_ARGS__>, &callbacks::deliver_##Native},
CallbackRow const kCallbackRows[] = {
#include "gen/cpp/CallbackTable.def"
};
size_t const kCallbackCount = sizeof kCallbackRows / sizeof kCallbackRows[0];

}  // namespace ostra1516e

// The native methods, also exported under their JNI names. They are noexcept: with the
// catch-all flag off, an exception of unknown type thrown by a federate ends the process
// instead of unwinding into the virtual machine.
#define OSTRA_CALLBACK(Native, Method, ...)                                                \
  extern "C" JNIEXPORT void JNICALL Java_org_vantor_ostra1516e_FederateAmbassadorC2007_##Native( \
      JNIEnv* env, jobject, jbyteArray array) noexcept {                                  \
    ostra1516e::callbacks::fromJava(env, array, #Native,                                  \
                                    &ostra1516e::callbacks::deliver_##Native);            \
  }
#include "gen/cpp/CallbackTable.def"

namespace ostra1516e {

namespace {

#define OSTRA_CALLBACK(Native, Method, ...)                   \
  {const_cast<char*>(#Native), const_cast<char*>("([B)V"),    \
   reinterpret_cast<void*>(&Java_org_vantor_ostra1516e_FederateAmbassadorC2007_##Native)},
JNINativeMethod const kNativeMethods[] = {
#include "gen/cpp/CallbackTable.def"
};

}  // namespace

void registerCallbackNatives(JNIEnv* env) {
  jclass type = env->FindClass(callbacks::kCallbackClass);
  if (env->ExceptionCheck()) {
    env->ExceptionDescribe();
    env->ExceptionClear();
  }
  if (type == nullptr) {
    std::fprintf(stderr, "The file ostra1516e.jar can not be found in the CLASSPATH.\n");
    return;
  }
  jint const status = env->RegisterNatives(type, kNativeMethods,
                                           sizeof kNativeMethods / sizeof kNativeMethods[0]);
  if (status != 0) {
    // The virtual machine says which method it could not bind.
    if (env->ExceptionCheck()) {
      env->ExceptionDescribe();
      env->ExceptionClear();
    }
    std::fprintf(stderr, "Failed to register native functions.\n");
  }
  env->DeleteLocalRef(type);
}

}  // namespace ostra1516e
