#include "gen/cpp/ServiceResults.h"

#include <RTI/Exception.h>
#include <RTI/LogicalTimeFactory.h>

#include "bridge/Text.h"

namespace ostra1516e {
namespace result {

std::wstring stringFromJava(JNIEnv* env, jobject text) {
  return javaText(env, static_cast<jstring>(text));
}

std::vector<jint> intsFromJava(JNIEnv* env, jobject array) {
  std::vector<jint> numbers;
  if (array == nullptr) return numbers;
  jintArray const ints = static_cast<jintArray>(array);
  numbers.resize(static_cast<size_t>(env->GetArrayLength(ints)));
  if (!numbers.empty()) env->GetIntArrayRegion(ints, 0, static_cast<jsize>(numbers.size()), numbers.data());
  return numbers;
}

rti1516e::RangeBounds rangeBoundsFromJava(JNIEnv* env, jobject array) {
  jlongArray const longs = static_cast<jlongArray>(array);
  jsize const length = longs == nullptr ? 0 : env->GetArrayLength(longs);
  if (length != 2) {
    raiseBridgeFailure(formatMessage(
        L"The RTI core returned %ld range bounds instead of a lower and an upper bound\n",
        static_cast<long>(length)));
  }
  jlong bounds[2];
  env->GetLongArrayRegion(longs, 0, 2, bounds);
  return ostra1516e::rangeBoundsFromJava(bounds[0], bounds[1]);
}

std::vector<unsigned char> bytesFromJava(JNIEnv* env, jobject array) {
  jbyteArray const bytes = static_cast<jbyteArray>(array);
  std::vector<unsigned char> copy(static_cast<size_t>(env->GetArrayLength(bytes)));
  if (!copy.empty()) {
    env->GetByteArrayRegion(bytes, 0, static_cast<jsize>(copy.size()),
                            reinterpret_cast<jbyte*>(copy.data()));
  }
  return copy;
}

rti1516e::MessageRetractionHandle retractionFromJava(JNIEnv* env, jobject array) {
  if (array == nullptr) return rti1516e::MessageRetractionHandle();
  std::vector<unsigned char> const bytes = bytesFromJava(env, array);
  return retractionHandleFromJava(bytes.data(), bytes.size());
}

std::shared_ptr<rti1516e::LogicalTimeFactory> queryTimeFactory(CallbackTarget const& target) {
  std::shared_ptr<rti1516e::LogicalTimeFactory> factory = target.currentTimeFactory();
  if (!factory) {
    raiseBridgeFailure(
        L"The RTI core returned a logical time, but this ambassador has no time factory to "
        L"read it with: join a federation whose time representation the logical-time library "
        L"knows\n");
  }
  return factory;
}

namespace {

void requireTime(jobject array) {
  if (array == nullptr) raiseBridgeFailure(L"The RTI core returned no logical time\n");
}

[[noreturn]] void raiseUnreadableTime(rti1516e::Exception const& e) {
  raiseBridgeFailure(L"The RTI core returned a logical time that cannot be read: " + e.what() + L"\n");
}

}  // namespace

std::unique_ptr<rti1516e::LogicalTime> timeFromJava(JNIEnv* env, CallbackTarget const& target,
                                                    jobject array) {
  requireTime(array);
  std::shared_ptr<rti1516e::LogicalTimeFactory> const factory = queryTimeFactory(target);
  std::vector<unsigned char> bytes = bytesFromJava(env, array);
  try {
    return std::unique_ptr<rti1516e::LogicalTime>(
        factory->decodeLogicalTime(bytes.data(), bytes.size()).release());
  } catch (rti1516e::CouldNotDecode const& e) {
    raiseUnreadableTime(e);
  }
}

std::unique_ptr<rti1516e::LogicalTimeInterval> intervalFromJava(JNIEnv* env,
                                                                CallbackTarget const& target,
                                                                jobject array) {
  requireTime(array);
  std::shared_ptr<rti1516e::LogicalTimeFactory> const factory = queryTimeFactory(target);
  std::vector<unsigned char> bytes = bytesFromJava(env, array);
  try {
    return std::unique_ptr<rti1516e::LogicalTimeInterval>(
        factory->decodeLogicalTimeInterval(bytes.data(), bytes.size()).release());
  } catch (rti1516e::CouldNotDecode const& e) {
    raiseUnreadableTime(e);
  }
}

}  // namespace result
}  // namespace ostra1516e
