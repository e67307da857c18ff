#include "bridge/FederateAmbassadorRegistry.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

namespace ostra1516e {
namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { FederateAmbassadorRegistry::resetForTesting(); }
  void TearDown() override { FederateAmbassadorRegistry::resetForTesting(); }
};

TEST_F(RegistryTest, HandlesCountFromOneAndWrapToZeroAtTheLastSlot) {
  CallbackTarget a, b;
  EXPECT_EQ(FederateAmbassadorRegistry::add(&a), 1);
  EXPECT_EQ(FederateAmbassadorRegistry::add(&b), 2);
  EXPECT_EQ(FederateAmbassadorRegistry::lookup(1), &a);
  EXPECT_EQ(FederateAmbassadorRegistry::lookup(2), &b);
  for (int n = 3; n < FederateAmbassadorRegistry::kSlots; ++n) {
    ASSERT_EQ(FederateAmbassadorRegistry::add(&a), n);
  }
  // The 4096th registration takes slot 0; the 4097th finds the table full.
  EXPECT_EQ(FederateAmbassadorRegistry::add(&b), 0);
  EXPECT_EQ(FederateAmbassadorRegistry::lookup(0), &b);
  testing::internal::CaptureStderr();
  EXPECT_EQ(FederateAmbassadorRegistry::add(&a), FederateAmbassadorRegistry::kFull);
  EXPECT_EQ(FederateAmbassadorRegistry::add(&a), FederateAmbassadorRegistry::kFull);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "No more FederateAmbassador handles\nNo more FederateAmbassador handles\n");
  // A full registry changes no slot.
  EXPECT_EQ(FederateAmbassadorRegistry::lookup(0), &b);
}

TEST_F(RegistryTest, UnknownOutOfRangeAndRetiredHandlesFindNothing) {
  CallbackTarget a, b;
  int32_t ha1 = FederateAmbassadorRegistry::add(&a);
  int32_t hb = FederateAmbassadorRegistry::add(&b);
  int32_t ha2 = FederateAmbassadorRegistry::add(&a);
  EXPECT_EQ(FederateAmbassadorRegistry::lookup(ha2 + 1), nullptr);
  EXPECT_EQ(FederateAmbassadorRegistry::lookup(-1), nullptr);
  EXPECT_EQ(FederateAmbassadorRegistry::lookup(FederateAmbassadorRegistry::kSlots), nullptr);

  FederateAmbassadorRegistry::retire(&a);
  EXPECT_EQ(FederateAmbassadorRegistry::lookup(ha1), nullptr);
  EXPECT_EQ(FederateAmbassadorRegistry::lookup(ha2), nullptr);
  EXPECT_EQ(FederateAmbassadorRegistry::lookup(hb), &b);
  // Retired slots are never handed out again.
  EXPECT_EQ(FederateAmbassadorRegistry::add(&b), ha2 + 1);
}

TEST_F(RegistryTest, ConcurrentRegistrationsGetDistinctHandles) {
  constexpr int kThreads = 4, kEach = 500;
  std::vector<CallbackTarget> targets(kThreads);
  std::vector<std::vector<int32_t>> handles(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) handles[t].push_back(FederateAmbassadorRegistry::add(&targets[t]));
    });
  }
  for (auto& th : threads) th.join();
  std::set<int32_t> all;
  for (int t = 0; t < kThreads; ++t) {
    for (int32_t h : handles[t]) {
      all.insert(h);
      EXPECT_EQ(FederateAmbassadorRegistry::lookup(h), &targets[t]);
    }
  }
  EXPECT_EQ(all.size(), size_t(kThreads * kEach));
  EXPECT_EQ(*all.begin(), 1);
  EXPECT_EQ(*all.rbegin(), kThreads * kEach);
}

}  // namespace
}  // namespace ostra1516e
