#include <RTI/RangeBounds.h>
#include <RTI/Typedefs.h>

#include "RTI/HandleFriend.h"

#include <gtest/gtest.h>

#include <string>

namespace rti1516e {
namespace {

TEST(RangeBounds, DefaultIsZeroAndBoundsAreNotCrossChecked) {
  RangeBounds const zero;
  EXPECT_EQ(zero.getLowerBound(), 0ul);
  EXPECT_EQ(zero.getUpperBound(), 0ul);

  RangeBounds inverted(10, 5);
  EXPECT_EQ(inverted.getLowerBound(), 10ul);
  EXPECT_EQ(inverted.getUpperBound(), 5ul);
  inverted.setUpperBound(4294967295ul);
  inverted.setLowerBound(4294967295ul);
  RangeBounds const copy(inverted);
  EXPECT_EQ(copy.getLowerBound(), 4294967295ul);
  EXPECT_EQ(copy.getUpperBound(), 4294967295ul);
}

// Bounds are 32-bit values on the wire; the record keeps exactly what will travel.
TEST(RangeBounds, KeepsTheLow32Bits) {
  RangeBounds const bounds(0x100000003ul, 0x1FFFFFFFFul);
  EXPECT_EQ(bounds.getLowerBound(), 3ul);
  EXPECT_EQ(bounds.getUpperBound(), 0xFFFFFFFFul);
}

template <class Info>
class SupplementalInfoTest : public ::testing::Test {};
typedef ::testing::Types<SupplementalReflectInfo, SupplementalReceiveInfo> InfoKinds;
TYPED_TEST_SUITE(SupplementalInfoTest, InfoKinds);

TYPED_TEST(SupplementalInfoTest, EachConstructorSetsExactlyItsFlags) {
  FederateHandle const producer = FederateHandleFriend::fromNumber(4);
  RegionHandleSet const regions{RegionHandleFriend::fromNumber(2),
                                RegionHandleFriend::fromNumber(1)};
  struct Row {
    char const* what;
    TypeParam info;
    bool hasProducer, hasRegions;
    FederateHandle producer;
    RegionHandleSet regions;
  } const rows[] = {
      {"default", TypeParam(), false, false, FederateHandle(), {}},
      {"producer", TypeParam(producer), true, false, producer, {}},
      {"regions", TypeParam(regions), false, true, FederateHandle(), regions},
      {"empty regions", TypeParam(RegionHandleSet()), false, true, FederateHandle(), {}},
      {"both", TypeParam(producer, regions), true, true, producer, regions},
  };
  for (Row const& row : rows) {
    SCOPED_TRACE(row.what);
    TypeParam copy;
    copy = row.info;  // assignment copies every field, the flags included
    EXPECT_EQ(copy.hasProducingFederate, row.hasProducer);
    EXPECT_EQ(copy.hasSentRegions, row.hasRegions);
    EXPECT_EQ(copy.producingFederate, row.producer);
    EXPECT_EQ(copy.sentRegions, row.regions);
  }
}

TEST(SupplementalRemoveInfo, ProducerFlagFollowsTheConstructor) {
  SupplementalRemoveInfo const none;
  EXPECT_FALSE(none.hasProducingFederate);
  EXPECT_FALSE(none.producingFederate.isValid());
  SupplementalRemoveInfo const some(FederateHandleFriend::fromNumber(8));
  EXPECT_TRUE(some.hasProducingFederate);
  EXPECT_EQ(some.producingFederate.toString(), L"FederateHandle<8>");
}

TEST(ServiceRecords, ConstructorArgumentsLandInTheirFields) {
  FederateRestoreStatus const status(FederateHandleFriend::fromNumber(1),
                                     FederateHandleFriend::fromNumber(2),
                                     FEDERATE_PREPARED_TO_RESTORE);
  FederateRestoreStatusVector const statuses(2, status);
  EXPECT_EQ(statuses[1].preRestoreHandle, FederateHandleFriend::fromNumber(1));
  EXPECT_EQ(statuses[1].postRestoreHandle, FederateHandleFriend::fromNumber(2));
  EXPECT_EQ(statuses[1].status, FEDERATE_PREPARED_TO_RESTORE);

  FederationExecutionInformation const info(L"Battle", L"HLAinteger64Time");
  FederationExecutionInformationVector const infos(1, info);
  EXPECT_EQ(infos[0].federationExecutionName, L"Battle");
  EXPECT_EQ(infos[0].logicalTimeImplementationName, L"HLAinteger64Time");
}

// The numbers travel to the core as they are; they must stay the standard's.
TEST(Enums, StandardNumbering) {
  EXPECT_EQ(RECEIVE, 1);
  EXPECT_EQ(TIMESTAMP, 2);
  EXPECT_EQ(RELIABLE, 1);
  EXPECT_EQ(BEST_EFFORT, 2);
  EXPECT_EQ(HLA_IMMEDIATE, 0);
  EXPECT_EQ(NO_ACTION, 5);
  EXPECT_EQ(SUPPORT_SERVICES, 6);
  EXPECT_EQ(SAVE_ABORTED, 5);
  EXPECT_EQ(FEDERATE_WAITING_FOR_FEDERATION_TO_SAVE, 3);
  EXPECT_EQ(RESTORE_ABORTED, 4);
  EXPECT_EQ(FEDERATE_WAITING_FOR_FEDERATION_TO_RESTORE, 5);
  EXPECT_EQ(SYNCHRONIZATION_SET_MEMBER_NOT_JOINED, 1);
}

}  // namespace
}  // namespace rti1516e
