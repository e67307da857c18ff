// BridgeOnly: what the benchmarks of the bridge alone share (bridge_bench, callback_bench,
// and the bound of update_bench).
//
//   reflectArray      a reflectAttributeValues callback array, framed as the core frames it;
//   attributeValues   an attribute value map of N attributes of the same size;
//   CallbackLoop      the Java loop of bench/java (benchloop.CallbackBenchLoop), which
//                     delivers one callback array many times through a native method;
//   setProbeQuiet     switches the probe core's recording off;
//   underCheckedJni   tells whether -Xcheck:jni is on (the benchmarks refuse to run then).
//
// Everything here runs on the calling thread; CallbackLoop keeps the environment of the
// thread that opened it.
#ifndef OSTRA_BENCH_BRIDGEONLY_H
#define OSTRA_BENCH_BRIDGEONLY_H

#include <RTI/RTI1516.h>
#include <jni.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "RTI/HandleFriend.h"
#include "bridge/JavaVmHost.h"
#include "gen/cpp/FederateAmbassadorC.h"

namespace ostra1516e {
namespace bench {

inline void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

inline uint32_t get32(uint8_t const* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

constexpr uint32_t kPreMagic = 0x63626160;
constexpr uint32_t kPostMagic = 0x59585756;
// Wire numbers of the order and transportation types.
constexpr uint32_t kReceiveOrder = 0;
constexpr uint32_t kTimestampOrder = 1;
constexpr uint32_t kReliable = 1;

// A reflectAttributeValues callback without time: PRE_MAGIC, the ambassador's registry
// handle, object 1, attributes 1..`attributes` of `valueSize` bytes each, a `tagSize`-byte
// tag, the sent order, RELIABLE, no producing federate or regions, POST_MAGIC.
inline std::vector<uint8_t> reflectArray(int32_t ambassador, uint32_t attributes, uint32_t valueSize,
                                         uint32_t tagSize, uint32_t order) {
  std::vector<uint8_t> out;
  put32(out, kPreMagic);
  put32(out, static_cast<uint32_t>(ambassador));
  put32(out, 1);
  put32(out, attributes);
  for (uint32_t attribute = 1; attribute <= attributes; ++attribute) {
    put32(out, attribute);
    put32(out, valueSize);
    for (uint32_t i = 0; i < valueSize; ++i) out.push_back(static_cast<uint8_t>(attribute * 16 + i));
  }
  put32(out, tagSize);
  for (uint32_t i = 0; i < tagSize; ++i) out.push_back(static_cast<uint8_t>(0xA0 + i));
  put32(out, order);
  put32(out, kReliable);
  put32(out, 0);
  put32(out, 0);
  put32(out, kPostMagic);
  return out;
}

// Attributes 1..count, each holding `size` bytes.
inline rti1516e::AttributeHandleValueMap attributeValues(int32_t count, size_t size) {
  rti1516e::AttributeHandleValueMap values;
  std::vector<char> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('0' + i % 64);
  for (int32_t a = 1; a <= count; ++a) {
    values[rti1516e::AttributeHandleFriend::fromNumber(a)] = rti1516e::VariableLengthData(bytes.data(), size);
  }
  return values;
}

// The Java loop of bench/java, on the calling thread's environment; starts the virtual
// machine (CLASSPATH must name the loop's jar) and binds the callback natives.
class CallbackLoop {
 public:
  static constexpr char kClass[] = "benchloop/CallbackBenchLoop";

  static CallbackLoop& get() {
    static CallbackLoop instance;
    return instance;
  }

  JNIEnv* env() const { return env_; }
  jclass loopClass() const { return loop_; }

  // A global reference to a new Java array holding bytes.
  jbyteArray array(std::vector<uint8_t> const& bytes) {
    jbyteArray local = env_->NewByteArray(static_cast<jsize>(bytes.size()));
    env_->SetByteArrayRegion(local, 0, static_cast<jsize>(bytes.size()), reinterpret_cast<jbyte const*>(bytes.data()));
    auto global = static_cast<jbyteArray>(env_->NewGlobalRef(local));
    env_->DeleteLocalRef(local);
    return global;
  }

  // The loop's static method `name` with signature ([BI)V.
  jmethodID method(char const* name) { return env_->GetStaticMethodID(loop_, name, "([BI)V"); }

  // Runs the loop method once: count deliveries of array. False when it threw.
  bool run(jmethodID method, jbyteArray array, int count) {
    env_->CallStaticVoidMethod(loop_, method, array, count);
    if (!env_->ExceptionCheck()) return true;
    env_->ExceptionDescribe();
    return false;
  }

 private:
  CallbackLoop() {
    env_ = JavaVmHost::startOrAttach();
    registerCallbackNatives(env_);
    jclass local = env_->FindClass(kClass);
    if (local == nullptr) {
      env_->ExceptionDescribe();
      std::fprintf(stderr, "%s is not on CLASSPATH\n", kClass);
      std::exit(2);
    }
    loop_ = static_cast<jclass>(env_->NewGlobalRef(local));
    env_->DeleteLocalRef(local);
  }

  JNIEnv* env_ = nullptr;
  jclass loop_ = nullptr;
};

// Switches the probe core's recording and playback off (on = true) or on; exits when the
// probe core is not on the class path. The virtual machine must run already.
inline void setProbeQuiet(bool on) {
  JNIEnv* env = JavaVmHost::currentEnv();
  jclass probe = env->FindClass("org/vantor/ostra1516e/probe/Probe");
  if (probe == nullptr) {
    env->ExceptionClear();
    std::fprintf(stderr, "the probe core is not on the class path\n");
    std::exit(2);
  }
  env->CallStaticVoidMethod(probe, env->GetStaticMethodID(probe, "setQuiet", "(Z)V"), static_cast<jboolean>(on));
  if (env->ExceptionCheck()) {
    env->ExceptionDescribe();
    std::exit(2);
  }
  env->DeleteLocalRef(probe);
}

// True when a virtual machine option turns on -Xcheck:jni, which would be measured instead.
inline bool underCheckedJni() {
  for (int n = 1; n <= 19; ++n) {
    char const* option = std::getenv(("OSTRA1516_OPTION" + std::to_string(n)).c_str());
    if (option != nullptr && std::strstr(option, "-Xcheck:jni") != nullptr) return true;
  }
  char const* tool = std::getenv("JAVA_TOOL_OPTIONS");
  return tool != nullptr && std::strstr(tool, "-Xcheck:jni") != nullptr;
}

}  // namespace bench
}  // namespace ostra1516e

#endif  // OSTRA_BENCH_BRIDGEONLY_H
