#include "probe.h"

#include <stdexcept>

#include "bridge/JavaVmHost.h"
#include "bridge/JniScopes.h"

namespace ostra1516e {
namespace Probe {
namespace {

char const kProbeClass[] = "org/vantor/ostra1516e/probe/Probe";

// One static call of the probe, with its environment; a Java exception from the probe is
// a broken test and becomes std::runtime_error.
struct Call {
  JNIEnv* env = JavaVmHost::currentEnv();
  LocalRef<jclass> probe{env, env->FindClass(kProbeClass)};
  jmethodID method;

  Call(char const* name, char const* signature) {
    if (!probe) fail("the probe core is not on the class path");
    method = env->GetStaticMethodID(probe.get(), name, signature);
    if (method == nullptr) fail(std::string("no Probe.") + name + signature);
  }

  [[noreturn]] void fail(std::string const& what) {
    if (env->ExceptionCheck()) {
      env->ExceptionDescribe();
      env->ExceptionClear();
    }
    throw std::runtime_error(what);
  }
  void check(char const* what) {
    if (env->ExceptionCheck()) fail(std::string("Probe.") + what + " threw");
  }
  LocalRef<jstring> string(std::string const& text) {
    return LocalRef<jstring>(env, env->NewStringUTF(text.c_str()));
  }
};

std::vector<uint8_t> bytesOf(JNIEnv* env, jbyteArray array) {
  std::vector<uint8_t> bytes(array == nullptr ? 0 : static_cast<size_t>(env->GetArrayLength(array)));
  if (!bytes.empty()) {
    env->GetByteArrayRegion(array, 0, static_cast<jsize>(bytes.size()), reinterpret_cast<jbyte*>(bytes.data()));
  }
  return bytes;
}

std::string textOf(JNIEnv* env, jstring text) {
  if (text == nullptr) return std::string();
  char const* chars = env->GetStringUTFChars(text, nullptr);
  std::string copy(chars);
  env->ReleaseStringUTFChars(text, chars);
  return copy;
}

int intCall(char const* name, char const* signature, std::string const* argument, int index = 0) {
  Call c(name, signature);
  jint result = argument != nullptr
                    ? c.env->CallStaticIntMethod(c.probe.get(), c.method, c.string(*argument).get())
                    : c.env->CallStaticIntMethod(c.probe.get(), c.method, static_cast<jint>(index));
  c.check(name);
  return result;
}

}  // namespace

void reset() {
  Call c("reset", "()V");
  c.env->CallStaticVoidMethod(c.probe.get(), c.method);
  c.check("reset");
}

int callCount() {
  Call c("callCount", "()I");
  jint n = c.env->CallStaticIntMethod(c.probe.get(), c.method);
  c.check("callCount");
  return n;
}

std::string callMethod(int index) {
  Call c("callMethod", "(I)Ljava/lang/String;");
  LocalRef<jstring> name(c.env, static_cast<jstring>(c.env->CallStaticObjectMethod(c.probe.get(), c.method, index)));
  c.check("callMethod");
  return textOf(c.env, name.get());
}

std::vector<uint8_t> callBytes(int index, bool* isNull) {
  Call c("callBytes", "(I)[B");
  LocalRef<jbyteArray> bytes(c.env, static_cast<jbyteArray>(c.env->CallStaticObjectMethod(c.probe.get(), c.method, index)));
  c.check("callBytes");
  if (isNull != nullptr) *isNull = !bytes;
  return bytesOf(c.env, bytes.get());
}

int callInstance(int index) { return intCall("callInstance", "(I)I", nullptr, index); }
int lastCall(std::string const& method) { return intCall("lastCall", "(Ljava/lang/String;)I", &method); }
int countCalls(std::string const& method) { return intCall("countCalls", "(Ljava/lang/String;)I", &method); }
int constructionCount() { return intCall("constructionCount", "()I", nullptr); }
int constructionInstance(int index) { return intCall("constructionInstance", "(I)I", nullptr, index); }

std::string callDecodeError(int index) {
  Call c("callDecodeError", "(I)Ljava/lang/String;");
  LocalRef<jstring> text(c.env, static_cast<jstring>(c.env->CallStaticObjectMethod(c.probe.get(), c.method, index)));
  c.check("callDecodeError");
  return textOf(c.env, text.get());
}

std::vector<uint8_t> constructionBytes(int index) {
  Call c("constructionBytes", "(I)[B");
  LocalRef<jbyteArray> bytes(c.env, static_cast<jbyteArray>(c.env->CallStaticObjectMethod(c.probe.get(), c.method, index)));
  c.check("constructionBytes");
  return bytesOf(c.env, bytes.get());
}

void scriptInt(std::string const& method, int32_t value) {
  Call c("scriptInt", "(Ljava/lang/String;I)V");
  c.env->CallStaticVoidMethod(c.probe.get(), c.method, c.string(method).get(), static_cast<jint>(value));
  c.check("scriptInt");
}

void scriptLong(std::string const& method, int64_t value) {
  Call c("scriptLong", "(Ljava/lang/String;J)V");
  c.env->CallStaticVoidMethod(c.probe.get(), c.method, c.string(method).get(), static_cast<jlong>(value));
  c.check("scriptLong");
}

void scriptDouble(std::string const& method, double value) {
  Call c("scriptDouble", "(Ljava/lang/String;D)V");
  c.env->CallStaticVoidMethod(c.probe.get(), c.method, c.string(method).get(), static_cast<jdouble>(value));
  c.check("scriptDouble");
}

void scriptBoolean(std::string const& method, bool value) {
  Call c("scriptBoolean", "(Ljava/lang/String;Z)V");
  c.env->CallStaticVoidMethod(c.probe.get(), c.method, c.string(method).get(), static_cast<jboolean>(value));
  c.check("scriptBoolean");
}

void scriptString(std::string const& method, std::u16string const& value) {
  Call c("scriptString", "(Ljava/lang/String;Ljava/lang/String;)V");
  LocalRef<jstring> text(c.env, c.env->NewString(reinterpret_cast<jchar const*>(value.data()),
                                                 static_cast<jsize>(value.size())));
  c.env->CallStaticVoidMethod(c.probe.get(), c.method, c.string(method).get(), text.get());
  c.check("scriptString");
}

void scriptBytes(std::string const& method, std::vector<uint8_t> const& value) {
  Call c("scriptBytes", "(Ljava/lang/String;[B)V");
  LocalRef<jbyteArray> array(c.env, c.env->NewByteArray(static_cast<jsize>(value.size())));
  c.env->SetByteArrayRegion(array.get(), 0, static_cast<jsize>(value.size()),
                            reinterpret_cast<jbyte const*>(value.data()));
  c.env->CallStaticVoidMethod(c.probe.get(), c.method, c.string(method).get(), array.get());
  c.check("scriptBytes");
}

void scriptInts(std::string const& method, std::vector<int32_t> const& value) {
  Call c("scriptInts", "(Ljava/lang/String;[I)V");
  LocalRef<jintArray> array(c.env, c.env->NewIntArray(static_cast<jsize>(value.size())));
  c.env->SetIntArrayRegion(array.get(), 0, static_cast<jsize>(value.size()),
                           reinterpret_cast<jint const*>(value.data()));
  c.env->CallStaticVoidMethod(c.probe.get(), c.method, c.string(method).get(), array.get());
  c.check("scriptInts");
}

void scriptLongs(std::string const& method, std::vector<int64_t> const& value) {
  Call c("scriptLongs", "(Ljava/lang/String;[J)V");
  LocalRef<jlongArray> array(c.env, c.env->NewLongArray(static_cast<jsize>(value.size())));
  c.env->SetLongArrayRegion(array.get(), 0, static_cast<jsize>(value.size()),
                            reinterpret_cast<jlong const*>(value.data()));
  c.env->CallStaticVoidMethod(c.probe.get(), c.method, c.string(method).get(), array.get());
  c.check("scriptLongs");
}

void scriptNull(std::string const& method) {
  Call c("scriptNull", "(Ljava/lang/String;)V");
  c.env->CallStaticVoidMethod(c.probe.get(), c.method, c.string(method).get());
  c.check("scriptNull");
}

void scriptException(std::string const& method, std::string const& className, char const* message) {
  Call c("scriptException", "(Ljava/lang/String;Ljava/lang/String;Ljava/lang/String;)V");
  LocalRef<jstring> text(c.env, message != nullptr ? c.env->NewStringUTF(message) : nullptr);
  c.env->CallStaticVoidMethod(c.probe.get(), c.method, c.string(method).get(), c.string(className).get(),
                              text.get());
  c.check("scriptException");
}

void queueCallback(std::string const& nativeMethod, std::vector<uint8_t> const* bytes) {
  Call c("queueCallback", "(Ljava/lang/String;[B)V");
  LocalRef<jbyteArray> array(c.env, bytes != nullptr ? c.env->NewByteArray(static_cast<jsize>(bytes->size())) : nullptr);
  if (bytes != nullptr) {
    c.env->SetByteArrayRegion(array.get(), 0, static_cast<jsize>(bytes->size()),
                              reinterpret_cast<jbyte const*>(bytes->data()));
  }
  c.env->CallStaticVoidMethod(c.probe.get(), c.method, c.string(nativeMethod).get(), array.get());
  c.check("queueCallback");
}

int deliverOnProbeThread() { return intCall("deliverOnProbeThread", "()I", nullptr); }
int callbackFailureCount() { return intCall("callbackFailureCount", "()I", nullptr); }

std::string callbackFailureClass(int index) {
  Call c("callbackFailureClass", "(I)Ljava/lang/String;");
  LocalRef<jstring> text(c.env, static_cast<jstring>(c.env->CallStaticObjectMethod(c.probe.get(), c.method, index)));
  c.check("callbackFailureClass");
  return textOf(c.env, text.get());
}

std::optional<std::u16string> callbackFailureMessage(int index) {
  Call c("callbackFailureMessage", "(I)Ljava/lang/String;");
  LocalRef<jstring> text(c.env, static_cast<jstring>(c.env->CallStaticObjectMethod(c.probe.get(), c.method, index)));
  c.check("callbackFailureMessage");
  if (!text) return std::nullopt;
  jchar const* units = c.env->GetStringChars(text.get(), nullptr);
  std::u16string message(reinterpret_cast<char16_t const*>(units), static_cast<size_t>(c.env->GetStringLength(text.get())));
  c.env->ReleaseStringChars(text.get(), units);
  return message;
}

}  // namespace Probe
}  // namespace ostra1516e
