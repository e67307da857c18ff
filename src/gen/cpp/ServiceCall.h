// ServiceCall.h: the service call frame, written once for every row of the table.
//
//   return callService<service::getObjectClassName_OCH>(bridge, theClass);
//
// runs one service in the core: under the call variant of the floating-point guard and
// with the calling thread's environment, it sizes the argument array from the row's
// codes, allocates it once, fills it while pinned, calls the row's Java method with it,
// turns a pending Java exception into the rti1516e exception of the first matching class
// of the row's list (RTIinternalError when none matches), and converts the return value.
#ifndef OSTRA_GEN_SERVICECALL_H
#define OSTRA_GEN_SERVICECALL_H

#include <jni.h>

#include <climits>
#include <cstddef>
#include <type_traits>

#include "bridge/FloatingPointGuard.h"
#include "bridge/JavaVmHost.h"
#include "bridge/JniScopes.h"
#include "gen/cpp/RTIambassadorC.h"
#include "gen/cpp/ServiceTable.h"
#include "gen/cpp_handwritten/Encoder.h"

namespace ostra1516e {

// The two standard time representations are both eight bytes, so the core cannot tell a
// time of one from a time of the other: a time or interval whose implementation is not the
// federation's is refused here, with InvalidLogicalTime (InvalidLookahead for an interval).
// Before the first join there is no federation representation and nothing is checked.
void requireFederationRepresentation(CallbackTarget const& target, char const* service,
                                     rti1516e::LogicalTime const& time);
void requireFederationRepresentation(CallbackTarget const& target, char const* service,
                                     rti1516e::LogicalTimeInterval const& interval);

template <typename Code, typename Arg>
void checkRepresentation(CallbackTarget const& target, char const* service, Code, Arg const& arg) {
  if constexpr (std::is_same<Code, code::LT>::value || std::is_same<Code, code::LTI>::value) {
    requireFederationRepresentation(target, service, arg);
  }
}

template <typename... Codes, typename... Args>
void checkRepresentations(CallbackTarget const& target, char const* service, CodeList<Codes...>,
                          Args const&... args) {
  (checkRepresentation(target, service, Codes{}, args), ...);
}

// Raised when an argument array cannot be had; leaves no Java exception pending.
[[noreturn]] void raiseArrayFailure(JNIEnv* env, char const* javaName, size_t size);

// An argument sized for its array and then written. Most sizes follow from the value
// at once; an attribute or parameter value map is walked once for both (ValueMapWriter).
template <typename Code, typename Arg>
class PreparedArgument {
 public:
  explicit PreparedArgument(Arg const& value) : value_(value) {}
  size_t encodedSize() const { return ostra1516e::encodedSize(Code{}, value_); }
  void write(ByteWrapper& out) const { encode(Code{}, value_, out); }

 private:
  Arg const& value_;
};

template <typename Map>
class PreparedMap : public ValueMapWriter {
 public:
  explicit PreparedMap(Map const& map) : ValueMapWriter(map) {}
};
template <>
class PreparedArgument<code::AHVM, rti1516e::AttributeHandleValueMap>
    : public PreparedMap<rti1516e::AttributeHandleValueMap> {
  using PreparedMap::PreparedMap;
};
template <>
class PreparedArgument<code::PHVM, rti1516e::ParameterHandleValueMap>
    : public PreparedMap<rti1516e::ParameterHandleValueMap> {
  using PreparedMap::PreparedMap;
};

template <typename... Prepared>
LocalRef<jbyteArray> writeServiceArray(JNIEnv* env, char const* javaName, Prepared const&... prepared) {
  size_t const size = (size_t{0} + ... + prepared.encodedSize());
  if (size > static_cast<size_t>(INT_MAX)) raiseArrayFailure(env, javaName, size);
  LocalRef<jbyteArray> array(env, env->NewByteArray(static_cast<jsize>(size)));
  if (!array) raiseArrayFailure(env, javaName, size);
  CriticalByteArray pinned(env, array.get(), size, 0);
  ByteWrapper cursor(pinned.data(), size);
  (prepared.write(cursor), ...);
  return array;
}

// buildServiceArray returns a new Java array holding args encoded by codes, back to
// back, exactly as long as their encodings.
template <typename... Codes, typename... Args>
LocalRef<jbyteArray> buildServiceArray(JNIEnv* env, char const* javaName, CodeList<Codes...>,
                                       Args const&... args) {
  static_assert(sizeof...(Codes) == sizeof...(Args), "one argument per code");
  return writeServiceArray(env, javaName, PreparedArgument<Codes, Args>(args)...);
}

template <typename Row, typename... Args>
typename Row::Result::Type callService(RTIambassadorC& bridge, Args const&... args) {
  using Result = typename Row::Result;
  FloatingPointGuard guard(FloatingPointGuard::call);
  JNIEnv* const env = JavaVmHost::currentEnv();
  jobject const object = bridge.javaObject.get();
  jmethodID const method = ServiceMethodTable::method(Row::slot);

  auto invoke = [&]() {
    if constexpr (Row::Codes::size == 0) {
      return Result::call(env, object, method);
    } else {
      checkRepresentations(bridge.target, Row::cppName, typename Row::Codes{}, args...);
      LocalRef<jbyteArray> array =
          buildServiceArray(env, Row::javaName, typename Row::Codes{}, args...);
      return Result::call(env, object, method, array.get());
    }
  };

  // The translation is called only when something is pending: the check is one JNI call.
  if constexpr (std::is_void<typename Result::Type>::value) {
    invoke();
    if (env->ExceptionCheck()) checkJavaException(env, Row::exceptions());
  } else {
    auto raw = invoke();
    if (env->ExceptionCheck()) checkJavaException(env, Row::exceptions());
    return Result::convert(env, bridge.target, raw);
  }
}

}  // namespace ostra1516e

#endif  // OSTRA_GEN_SERVICECALL_H
