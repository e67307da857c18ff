#include "gen/cpp/ServiceTable.h"

#include <RTI/Exception.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace ostra1516e {
namespace {

std::string baseName(char const* javaName) {
  std::string name(javaName);
  return name.substr(0, name.find('_'));
}

TEST(ServiceTable, MethodsAreLookedUpInTheStandardDeclarationOrder) {
  auto const& order = ServiceMethodTable::lookupOrder();
  std::vector<std::string> names;
  for (std::size_t index : order) names.push_back(kServiceRows[index].javaName);

  std::vector<std::string> const firstFive(names.begin(), names.begin() + 5);
  EXPECT_EQ(firstFive, (std::vector<std::string>{
                           "connect_FA_CM_S", "disconnect", "createFederationExecution_S_URL_S",
                           "createFederationExecution_S_URLX_S",
                           "createFederationExecution_S_URLX_URL_S"}));
  EXPECT_EQ(names.back(), "getTimeFactory");

  // Every row exactly once; each run of overloads reversed, the runs in table order.
  std::vector<std::size_t> sorted(order.begin(), order.end());
  std::sort(sorted.begin(), sorted.end());
  for (std::size_t i = 0; i < kServiceCount; ++i) ASSERT_EQ(sorted[i], i);
  for (std::size_t i = 1; i < kServiceCount; ++i) {
    SCOPED_TRACE(names[i]);
    if (baseName(kServiceRows[order[i]].javaName) == baseName(kServiceRows[order[i - 1]].javaName)) {
      EXPECT_EQ(order[i] + 1, order[i - 1]);
    } else {
      EXPECT_GT(order[i], order[i - 1]);
    }
  }
  auto position = [&](char const* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
  EXPECT_LT(position("joinFederationExecution_S_S_S_URLX"), position("joinFederationExecution_S_S_URLX"));
  EXPECT_LT(position("updateAttributeValues_OIH_AHVM_BX"), position("updateAttributeValues_OIH_AHVM_BX_LT"));
}

// A stand-in JNI environment whose class has every method except `missing`.
struct FakeJava {
  static FakeJava* current;
  std::vector<std::string> lookedUp;
  char const* missing = nullptr;
  bool pending = false;

  static jmethodID JNICALL getMethodID(JNIEnv*, jclass, char const* name, char const* signature) {
    current->lookedUp.push_back(std::string(name) + signature);
    if (current->missing != nullptr && std::strcmp(name, current->missing) == 0) {
      current->pending = true;  // NoSuchMethodError
      return nullptr;
    }
    return reinterpret_cast<jmethodID>(current->lookedUp.size());
  }
  static jboolean JNICALL exceptionCheck(JNIEnv*) { return current->pending; }
  static void JNICALL exceptionClear(JNIEnv*) { current->pending = false; }

  JNINativeInterface_ functions{};
  JNIEnv env{};

  FakeJava() {
    current = this;
    functions.GetMethodID = &getMethodID;
    functions.ExceptionCheck = &exceptionCheck;
    functions.ExceptionClear = &exceptionClear;
    env.functions = &functions;
  }
};
FakeJava* FakeJava::current = nullptr;

TEST(ServiceTable, FillStoresEachRowsMethodUnderItsSlot) {
  FakeJava java;
  ServiceMethodTable::fill(&java.env, nullptr);
  ASSERT_EQ(java.lookedUp.size(), kServiceCount);
  EXPECT_EQ(java.lookedUp.front(), "connect_FA_CM_S([B)V");
  auto const& order = ServiceMethodTable::lookupOrder();
  for (std::size_t i = 0; i < kServiceCount; ++i) {
    ServiceRow const& row = kServiceRows[order[i]];
    SCOPED_TRACE(row.javaName);
    EXPECT_EQ(java.lookedUp[i], std::string(row.javaName) + row.signature);
    EXPECT_EQ(ServiceMethodTable::method(row.slot), reinterpret_cast<jmethodID>(i + 1));
  }
  EXPECT_EQ(ServiceMethodTable::method(service::getTimeFactory::slot),
            reinterpret_cast<jmethodID>(std::size_t{142}));
}

TEST(ServiceTable, AMissingMethodFailsWithNothingPending) {
  FakeJava java;
  java.missing = "queryGALT";
  testing::internal::CaptureStderr();
  try {
    ServiceMethodTable::fill(&java.env, nullptr);
    FAIL() << "a missing method went unnoticed";
  } catch (rti1516e::RTIinternalError const& e) {
    EXPECT_EQ(e.what(), L"Cannot locate queryGALT.");
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Cannot locate queryGALT.\n");
  EXPECT_FALSE(java.pending);
}

}  // namespace
}  // namespace ostra1516e
