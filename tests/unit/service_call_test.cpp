#include "gen/cpp/ServiceCall.h"

#include <RTI/Exception.h>

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace ostra1516e {
namespace {

// A stand-in JNI environment with one byte array, which can be made to run out of memory
// at allocation or at pinning.
struct FakeArrays {
  static FakeArrays* current;
  bool failAllocation = false;
  bool failPinning = false;
  bool pending = false;
  int allocations = 0, pins = 0, releases = 0, deletions = 0;
  std::vector<unsigned char> bytes;

  static jbyteArray JNICALL newByteArray(JNIEnv*, jsize size) {
    ++current->allocations;
    if (current->failAllocation) {
      current->pending = true;  // OutOfMemoryError
      return nullptr;
    }
    current->bytes.assign(static_cast<size_t>(size), 0xEE);
    return reinterpret_cast<jbyteArray>(&current->bytes);
  }
  static void* JNICALL getCritical(JNIEnv*, jarray, jboolean*) {
    ++current->pins;
    if (current->failPinning) {
      current->pending = true;
      return nullptr;
    }
    return current->bytes.data();
  }
  static void JNICALL releaseCritical(JNIEnv*, jarray, void*, jint) { ++current->releases; }
  static void JNICALL deleteLocalRef(JNIEnv*, jobject) { ++current->deletions; }
  static jboolean JNICALL exceptionCheck(JNIEnv*) { return current->pending; }
  static void JNICALL exceptionClear(JNIEnv*) { current->pending = false; }

  JNINativeInterface_ functions{};
  JNIEnv env{};

  FakeArrays() {
    current = this;
    functions.NewByteArray = &newByteArray;
    functions.GetPrimitiveArrayCritical = &getCritical;
    functions.ReleasePrimitiveArrayCritical = &releaseCritical;
    functions.DeleteLocalRef = &deleteLocalRef;
    functions.ExceptionCheck = &exceptionCheck;
    functions.ExceptionClear = &exceptionClear;
    env.functions = &functions;
  }
};
FakeArrays* FakeArrays::current = nullptr;

TEST(ServiceCall, TheArrayHoldsExactlyTheArguments) {
  FakeArrays java;
  {
    LocalRef<jbyteArray> array = buildServiceArray(&java.env, "synchronizationPointAchieved_S_Z",
                                                   CodeList<code::S, code::Z>{}, std::wstring(L"a"), true);
    EXPECT_EQ(java.bytes, (std::vector<unsigned char>{0, 0, 0, 1, 0, 0x61, 0, 0, 0, 1}));
    EXPECT_EQ(java.releases, 1) << "unpinned before the call";
    EXPECT_EQ(java.deletions, 0);
  }
  EXPECT_EQ(java.deletions, 1);
}

TEST(ServiceCall, AnArrayThatCannotBeHadIsAnInternalErrorWithNothingPending) {
  struct Row {
    char const* name;
    bool failAllocation, failPinning;
    char const* message;
  } const rows[] = {
      {"allocation", true, false, "Cannot allocate the 8-byte argument array of evokeCallback_D"},
      {"pinning", false, true, "Cannot access a Java byte array"},
  };
  for (Row const& row : rows) {
    SCOPED_TRACE(row.name);
    FakeArrays java;
    java.failAllocation = row.failAllocation;
    java.failPinning = row.failPinning;
    testing::internal::CaptureStderr();
    EXPECT_THROW(buildServiceArray(&java.env, "evokeCallback_D", CodeList<code::D>{}, 0.5),
                 rti1516e::RTIinternalError);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(row.message), std::string::npos);
    EXPECT_FALSE(java.pending);
    EXPECT_EQ(java.deletions, row.failPinning ? 1 : 0) << "a made array is released";
  }
}

// Arguments too large for one Java array are refused before anything is allocated or
// read (the bytes of the block below are never touched).
TEST(ServiceCall, ArgumentsBeyondWhatAJavaArrayHoldsAreRefused) {
  FakeArrays java;
  unsigned char one = 0;
  rti1516e::VariableLengthData huge;
  huge.setDataPointer(&one, size_t{INT_MAX});
  testing::internal::CaptureStderr();
  EXPECT_THROW(buildServiceArray(&java.env, "sendInteraction_ICH_PHVM_BX", CodeList<code::BX>{}, huge),
               rti1516e::RTIinternalError);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("more than one Java array can hold"), std::string::npos);
  EXPECT_EQ(java.allocations, 0);
}

}  // namespace
}  // namespace ostra1516e
