// ServiceResults.h: the kinds of result a service returns, as named in the Result column
// of ServiceTable.def. Each kind says which JNI call runs the Java method (by the Java
// return type, jniType) and how its return value becomes the C++ result:
//
//   jint raw = result::FH::call(env, object, method, array);
//   rti1516e::FederateHandle h = result::FH::convert(env, target, raw);
//
// Object results arrive as an owned local reference, deleted when converted. The time
// results decode with the bridge's time factory; without one, or without a time from
// the core where one is due, they throw RTIinternalError rather than hand out nothing.
#ifndef OSTRA_GEN_SERVICERESULTS_H
#define OSTRA_GEN_SERVICERESULTS_H

#include <jni.h>

#include <RTI/LogicalTime.h>
#include <RTI/LogicalTimeInterval.h>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bridge/FederateAmbassadorRegistry.h"
#include "bridge/JniScopes.h"
#include "gen/cpp_handwritten/Encoder.h"

namespace ostra1516e {
namespace result {

// ---- the JNI call, by Java return type --------------------------------------------

struct VoidCall {
  static constexpr char jniType[] = "V";
  template <typename... A>
  static void call(JNIEnv* env, jobject object, jmethodID method, A... array) {
    env->CallVoidMethod(object, method, array...);
  }
};

struct IntCall {
  static constexpr char jniType[] = "I";
  template <typename... A>
  static jint call(JNIEnv* env, jobject object, jmethodID method, A... array) {
    return env->CallIntMethod(object, method, array...);
  }
};

struct BooleanCall {
  static constexpr char jniType[] = "Z";
  template <typename... A>
  static jboolean call(JNIEnv* env, jobject object, jmethodID method, A... array) {
    return env->CallBooleanMethod(object, method, array...);
  }
};

struct LongCall {
  static constexpr char jniType[] = "J";
  template <typename... A>
  static jlong call(JNIEnv* env, jobject object, jmethodID method, A... array) {
    return env->CallLongMethod(object, method, array...);
  }
};

struct DoubleCall {
  static constexpr char jniType[] = "D";
  template <typename... A>
  static jdouble call(JNIEnv* env, jobject object, jmethodID method, A... array) {
    return env->CallDoubleMethod(object, method, array...);
  }
};

struct ObjectCall {
  template <typename... A>
  static LocalRef<jobject> call(JNIEnv* env, jobject object, jmethodID method, A... array) {
    return LocalRef<jobject>(env, env->CallObjectMethod(object, method, array...));
  }
};

// ---- conversions that read returned Java objects (ServiceResults.cpp) -------------

std::wstring stringFromJava(JNIEnv* env, jobject text);
// The elements of an int[]; a null array has none.
std::vector<jint> intsFromJava(JNIEnv* env, jobject array);
// Exactly two longs, lower then upper bound.
rti1516e::RangeBounds rangeBoundsFromJava(JNIEnv* env, jobject array);
// A null array is the invalid (default) handle.
rti1516e::MessageRetractionHandle retractionFromJava(JNIEnv* env, jobject array);
// The bytes of a non-null byte[].
std::vector<unsigned char> bytesFromJava(JNIEnv* env, jobject array);
// The time factory for decoding a query's result; RTIinternalError without one.
std::shared_ptr<rti1516e::LogicalTimeFactory> queryTimeFactory(CallbackTarget const& target);
std::unique_ptr<rti1516e::LogicalTime> timeFromJava(JNIEnv* env, CallbackTarget const& target,
                                                    jobject array);
std::unique_ptr<rti1516e::LogicalTimeInterval> intervalFromJava(JNIEnv* env,
                                                                CallbackTarget const& target,
                                                                jobject array);

// ---- the kinds ----------------------------------------------------------------------

struct None : VoidCall {
  using Type = void;
};

template <typename Handle>
struct HandleResult : IntCall {
  using Type = Handle;
  static Handle convert(JNIEnv*, CallbackTarget const&, jint number) {
    return handleFromJava<Handle>(number);
  }
};
using FH = HandleResult<rti1516e::FederateHandle>;
using OCH = HandleResult<rti1516e::ObjectClassHandle>;
using OIH = HandleResult<rti1516e::ObjectInstanceHandle>;
using ICH = HandleResult<rti1516e::InteractionClassHandle>;
using AH = HandleResult<rti1516e::AttributeHandle>;
using PH = HandleResult<rti1516e::ParameterHandle>;
using DH = HandleResult<rti1516e::DimensionHandle>;
using RH = HandleResult<rti1516e::RegionHandle>;

struct OT : IntCall {
  using Type = rti1516e::OrderType;
  static Type convert(JNIEnv*, CallbackTarget const&, jint number) { return orderTypeFromJava(number); }
};

struct TTH : IntCall {
  using Type = rti1516e::TransportationType;
  static Type convert(JNIEnv*, CallbackTarget const&, jint number) {
    return transportationTypeFromJava(number);
  }
};

struct RA : IntCall {
  using Type = rti1516e::ResignAction;
  static Type convert(JNIEnv*, CallbackTarget const&, jint number) { return resignActionFromJava(number); }
};

struct Z : BooleanCall {
  using Type = bool;
  static bool convert(JNIEnv*, CallbackTarget const&, jboolean value) { return value != JNI_FALSE; }
};

struct D : DoubleCall {
  using Type = double;
  static double convert(JNIEnv*, CallbackTarget const&, jdouble value) { return value; }
};

// A Java long, of which the API keeps the low 32 bits.
struct J : LongCall {
  using Type = unsigned long;
  static Type convert(JNIEnv*, CallbackTarget const&, jlong value) { return unsignedFromJava(value); }
};

struct S : ObjectCall {
  static constexpr char jniType[] = "Ljava/lang/String;";
  using Type = std::wstring;
  static Type convert(JNIEnv* env, CallbackTarget const&, LocalRef<jobject> const& text) {
    return stringFromJava(env, text.get());
  }
};

template <typename Handle>
struct HandleSetResult : ObjectCall {
  static constexpr char jniType[] = "[I";
  using Type = std::set<Handle>;
  static Type convert(JNIEnv* env, CallbackTarget const&, LocalRef<jobject> const& array) {
    std::vector<jint> const numbers = intsFromJava(env, array.get());
    return handleSetFromJava<Handle>(numbers.data(), numbers.size());
  }
};
using AHS = HandleSetResult<rti1516e::AttributeHandle>;
using DHS = HandleSetResult<rti1516e::DimensionHandle>;

struct RB : ObjectCall {
  static constexpr char jniType[] = "[J";
  using Type = rti1516e::RangeBounds;
  static Type convert(JNIEnv* env, CallbackTarget const&, LocalRef<jobject> const& array) {
    return rangeBoundsFromJava(env, array.get());
  }
};

struct MRH : ObjectCall {
  static constexpr char jniType[] = "[B";
  using Type = rti1516e::MessageRetractionHandle;
  static Type convert(JNIEnv* env, CallbackTarget const&, LocalRef<jobject> const& array) {
    return retractionFromJava(env, array.get());
  }
};

// queryGALT and queryLITS: whether the core has such a time, and the time.
struct FlaggedLT : ObjectCall {
  static constexpr char jniType[] = "[B";
  using Type = std::pair<bool, std::unique_ptr<rti1516e::LogicalTime>>;
  static Type convert(JNIEnv* env, CallbackTarget const& target, LocalRef<jobject> const& array) {
    if (!array) return Type(false, nullptr);
    return Type(true, timeFromJava(env, target, array.get()));
  }
};

struct LT : ObjectCall {
  static constexpr char jniType[] = "[B";
  using Type = std::unique_ptr<rti1516e::LogicalTime>;
  static Type convert(JNIEnv* env, CallbackTarget const& target, LocalRef<jobject> const& array) {
    return timeFromJava(env, target, array.get());
  }
};

struct LTI : ObjectCall {
  static constexpr char jniType[] = "[B";
  using Type = std::unique_ptr<rti1516e::LogicalTimeInterval>;
  static Type convert(JNIEnv* env, CallbackTarget const& target, LocalRef<jobject> const& array) {
    return intervalFromJava(env, target, array.get());
  }
};

}  // namespace result
}  // namespace ostra1516e

#endif  // OSTRA_GEN_SERVICERESULTS_H
