// The ambassador interfaces as federate code sees them: every service and callback with
// its exact signature, in its virtual slot, with the standard default arguments.
#include <RTI/RTI1516.h>

#include "RTI/HandleFriend.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace rti1516e {
namespace {

// Every RTIambassador service in its slot order: X(result, name, (parameters), const).
#define OSTRA_TEST_SERVICES(X) \
  X(void, connect, (FederateAmbassador&, CallbackModel, std::wstring const&), ) \
  X(void, disconnect, (), ) \
  X(void, createFederationExecution, (std::wstring const&, std::vector<std::wstring> const&, std::wstring const&), ) \
  X(void, createFederationExecution, (std::wstring const&, std::wstring const&, std::wstring const&), ) \
  X(void, createFederationExecutionWithMIM, (std::wstring const&, std::vector<std::wstring> const&, std::wstring const&, std::wstring const&), ) \
  X(void, destroyFederationExecution, (std::wstring const&), ) \
  X(void, listFederationExecutions, (), ) \
  X(FederateHandle, joinFederationExecution, (std::wstring const&, std::wstring const&, std::wstring const&, std::vector<std::wstring> const&), ) \
  X(FederateHandle, joinFederationExecution, (std::wstring const&, std::wstring const&, std::vector<std::wstring> const&), ) \
  X(void, resignFederationExecution, (ResignAction), ) \
  X(void, registerFederationSynchronizationPoint, (std::wstring const&, VariableLengthData const&, std::set<FederateHandle> const&), ) \
  X(void, registerFederationSynchronizationPoint, (std::wstring const&, VariableLengthData const&), ) \
  X(void, synchronizationPointAchieved, (std::wstring const&, bool), ) \
  X(void, requestFederationSave, (std::wstring const&, LogicalTime const&), ) \
  X(void, requestFederationSave, (std::wstring const&), ) \
  X(void, federateSaveBegun, (), ) \
  X(void, federateSaveComplete, (), ) \
  X(void, federateSaveNotComplete, (), ) \
  X(void, abortFederationSave, (), ) \
  X(void, queryFederationSaveStatus, (), ) \
  X(void, requestFederationRestore, (std::wstring const&), ) \
  X(void, federateRestoreComplete, (), ) \
  X(void, federateRestoreNotComplete, (), ) \
  X(void, abortFederationRestore, (), ) \
  X(void, queryFederationRestoreStatus, (), ) \
  X(void, publishObjectClassAttributes, (ObjectClassHandle, std::set<AttributeHandle> const&), ) \
  X(void, unpublishObjectClass, (ObjectClassHandle), ) \
  X(void, unpublishObjectClassAttributes, (ObjectClassHandle, std::set<AttributeHandle> const&), ) \
  X(void, publishInteractionClass, (InteractionClassHandle), ) \
  X(void, unpublishInteractionClass, (InteractionClassHandle), ) \
  X(void, subscribeObjectClassAttributes, (ObjectClassHandle, std::set<AttributeHandle> const&, bool, std::wstring const&), ) \
  X(void, unsubscribeObjectClass, (ObjectClassHandle), ) \
  X(void, unsubscribeObjectClassAttributes, (ObjectClassHandle, std::set<AttributeHandle> const&), ) \
  X(void, subscribeInteractionClass, (InteractionClassHandle, bool), ) \
  X(void, unsubscribeInteractionClass, (InteractionClassHandle), ) \
  X(void, reserveObjectInstanceName, (std::wstring const&), ) \
  X(void, releaseObjectInstanceName, (std::wstring const&), ) \
  X(void, reserveMultipleObjectInstanceName, (std::set<std::wstring> const&), ) \
  X(void, releaseMultipleObjectInstanceName, (std::set<std::wstring> const&), ) \
  X(ObjectInstanceHandle, registerObjectInstance, (ObjectClassHandle, std::wstring const&), ) \
  X(ObjectInstanceHandle, registerObjectInstance, (ObjectClassHandle), ) \
  X(MessageRetractionHandle, updateAttributeValues, (ObjectInstanceHandle, std::map<AttributeHandle, VariableLengthData> const&, VariableLengthData const&, LogicalTime const&), ) \
  X(void, updateAttributeValues, (ObjectInstanceHandle, std::map<AttributeHandle, VariableLengthData> const&, VariableLengthData const&), ) \
  X(MessageRetractionHandle, sendInteraction, (InteractionClassHandle, std::map<ParameterHandle, VariableLengthData> const&, VariableLengthData const&, LogicalTime const&), ) \
  X(void, sendInteraction, (InteractionClassHandle, std::map<ParameterHandle, VariableLengthData> const&, VariableLengthData const&), ) \
  X(MessageRetractionHandle, deleteObjectInstance, (ObjectInstanceHandle, VariableLengthData const&, LogicalTime const&), ) \
  X(void, deleteObjectInstance, (ObjectInstanceHandle, VariableLengthData const&), ) \
  X(void, localDeleteObjectInstance, (ObjectInstanceHandle), ) \
  X(void, requestAttributeValueUpdate, (ObjectClassHandle, std::set<AttributeHandle> const&, VariableLengthData const&), ) \
  X(void, requestAttributeValueUpdate, (ObjectInstanceHandle, std::set<AttributeHandle> const&, VariableLengthData const&), ) \
  X(void, requestAttributeTransportationTypeChange, (ObjectInstanceHandle, std::set<AttributeHandle> const&, TransportationType), ) \
  X(void, queryAttributeTransportationType, (ObjectInstanceHandle, AttributeHandle), ) \
  X(void, requestInteractionTransportationTypeChange, (InteractionClassHandle, TransportationType), ) \
  X(void, queryInteractionTransportationType, (FederateHandle, InteractionClassHandle), ) \
  X(void, unconditionalAttributeOwnershipDivestiture, (ObjectInstanceHandle, std::set<AttributeHandle> const&), ) \
  X(void, negotiatedAttributeOwnershipDivestiture, (ObjectInstanceHandle, std::set<AttributeHandle> const&, VariableLengthData const&), ) \
  X(void, confirmDivestiture, (ObjectInstanceHandle, std::set<AttributeHandle> const&, VariableLengthData const&), ) \
  X(void, attributeOwnershipAcquisition, (ObjectInstanceHandle, std::set<AttributeHandle> const&, VariableLengthData const&), ) \
  X(void, attributeOwnershipAcquisitionIfAvailable, (ObjectInstanceHandle, std::set<AttributeHandle> const&), ) \
  X(void, attributeOwnershipReleaseDenied, (ObjectInstanceHandle, std::set<AttributeHandle> const&), ) \
  X(void, attributeOwnershipDivestitureIfWanted, (ObjectInstanceHandle, std::set<AttributeHandle> const&, std::set<AttributeHandle>&), ) \
  X(void, cancelNegotiatedAttributeOwnershipDivestiture, (ObjectInstanceHandle, std::set<AttributeHandle> const&), ) \
  X(void, cancelAttributeOwnershipAcquisition, (ObjectInstanceHandle, std::set<AttributeHandle> const&), ) \
  X(void, queryAttributeOwnership, (ObjectInstanceHandle, AttributeHandle), ) \
  X(bool, isAttributeOwnedByFederate, (ObjectInstanceHandle, AttributeHandle), ) \
  X(void, enableTimeRegulation, (LogicalTimeInterval const&), ) \
  X(void, disableTimeRegulation, (), ) \
  X(void, enableTimeConstrained, (), ) \
  X(void, disableTimeConstrained, (), ) \
  X(void, timeAdvanceRequest, (LogicalTime const&), ) \
  X(void, timeAdvanceRequestAvailable, (LogicalTime const&), ) \
  X(void, nextMessageRequest, (LogicalTime const&), ) \
  X(void, nextMessageRequestAvailable, (LogicalTime const&), ) \
  X(void, flushQueueRequest, (LogicalTime const&), ) \
  X(void, enableAsynchronousDelivery, (), ) \
  X(void, disableAsynchronousDelivery, (), ) \
  X(bool, queryGALT, (LogicalTime&), ) \
  X(void, queryLogicalTime, (LogicalTime&), ) \
  X(bool, queryLITS, (LogicalTime&), ) \
  X(void, modifyLookahead, (LogicalTimeInterval const&), ) \
  X(void, queryLookahead, (LogicalTimeInterval&), ) \
  X(void, retract, (MessageRetractionHandle), ) \
  X(void, changeAttributeOrderType, (ObjectInstanceHandle, std::set<AttributeHandle> const&, OrderType), ) \
  X(void, changeInteractionOrderType, (InteractionClassHandle, OrderType), ) \
  X(RegionHandle, createRegion, (std::set<DimensionHandle> const&), ) \
  X(void, commitRegionModifications, (std::set<RegionHandle> const&), ) \
  X(void, deleteRegion, (RegionHandle const&), ) \
  X(ObjectInstanceHandle, registerObjectInstanceWithRegions, (ObjectClassHandle, std::vector<std::pair<std::set<AttributeHandle>, std::set<RegionHandle> >> const&, std::wstring const&), ) \
  X(ObjectInstanceHandle, registerObjectInstanceWithRegions, (ObjectClassHandle, std::vector<std::pair<std::set<AttributeHandle>, std::set<RegionHandle> >> const&), ) \
  X(void, associateRegionsForUpdates, (ObjectInstanceHandle, std::vector<std::pair<std::set<AttributeHandle>, std::set<RegionHandle> >> const&), ) \
  X(void, unassociateRegionsForUpdates, (ObjectInstanceHandle, std::vector<std::pair<std::set<AttributeHandle>, std::set<RegionHandle> >> const&), ) \
  X(void, subscribeObjectClassAttributesWithRegions, (ObjectClassHandle, std::vector<std::pair<std::set<AttributeHandle>, std::set<RegionHandle> >> const&, bool, std::wstring const&), ) \
  X(void, unsubscribeObjectClassAttributesWithRegions, (ObjectClassHandle, std::vector<std::pair<std::set<AttributeHandle>, std::set<RegionHandle> >> const&), ) \
  X(void, subscribeInteractionClassWithRegions, (InteractionClassHandle, std::set<RegionHandle> const&, bool), ) \
  X(void, unsubscribeInteractionClassWithRegions, (InteractionClassHandle, std::set<RegionHandle> const&), ) \
  X(MessageRetractionHandle, sendInteractionWithRegions, (InteractionClassHandle, std::map<ParameterHandle, VariableLengthData> const&, std::set<RegionHandle> const&, VariableLengthData const&, LogicalTime const&), ) \
  X(void, sendInteractionWithRegions, (InteractionClassHandle, std::map<ParameterHandle, VariableLengthData> const&, std::set<RegionHandle> const&, VariableLengthData const&), ) \
  X(void, requestAttributeValueUpdateWithRegions, (ObjectClassHandle, std::vector<std::pair<std::set<AttributeHandle>, std::set<RegionHandle> >> const&, VariableLengthData const&), ) \
  X(ResignAction, getAutomaticResignDirective, (), ) \
  X(void, setAutomaticResignDirective, (ResignAction), ) \
  X(FederateHandle, getFederateHandle, (std::wstring const&), ) \
  X(std::wstring, getFederateName, (FederateHandle), ) \
  X(ObjectClassHandle, getObjectClassHandle, (std::wstring const&), ) \
  X(std::wstring, getObjectClassName, (ObjectClassHandle), ) \
  X(ObjectClassHandle, getKnownObjectClassHandle, (ObjectInstanceHandle), ) \
  X(ObjectInstanceHandle, getObjectInstanceHandle, (std::wstring const&), ) \
  X(std::wstring, getObjectInstanceName, (ObjectInstanceHandle), ) \
  X(AttributeHandle, getAttributeHandle, (ObjectClassHandle, std::wstring const&), ) \
  X(std::wstring, getAttributeName, (ObjectClassHandle, AttributeHandle), ) \
  X(double, getUpdateRateValue, (std::wstring const&), ) \
  X(double, getUpdateRateValueForAttribute, (ObjectInstanceHandle, AttributeHandle), ) \
  X(InteractionClassHandle, getInteractionClassHandle, (std::wstring const&), ) \
  X(std::wstring, getInteractionClassName, (InteractionClassHandle), ) \
  X(ParameterHandle, getParameterHandle, (InteractionClassHandle, std::wstring const&), ) \
  X(std::wstring, getParameterName, (InteractionClassHandle, ParameterHandle), ) \
  X(OrderType, getOrderType, (std::wstring const&), ) \
  X(std::wstring, getOrderName, (OrderType), ) \
  X(TransportationType, getTransportationType, (std::wstring const&), ) \
  X(std::wstring, getTransportationName, (TransportationType), ) \
  X(std::set<DimensionHandle>, getAvailableDimensionsForClassAttribute, (ObjectClassHandle, AttributeHandle), ) \
  X(std::set<DimensionHandle>, getAvailableDimensionsForInteractionClass, (InteractionClassHandle), ) \
  X(DimensionHandle, getDimensionHandle, (std::wstring const&), ) \
  X(std::wstring, getDimensionName, (DimensionHandle), ) \
  X(unsigned long, getDimensionUpperBound, (DimensionHandle), ) \
  X(std::set<DimensionHandle>, getDimensionHandleSet, (RegionHandle), ) \
  X(RangeBounds, getRangeBounds, (RegionHandle, DimensionHandle), ) \
  X(void, setRangeBounds, (RegionHandle, DimensionHandle, RangeBounds const&), ) \
  X(unsigned long, normalizeFederateHandle, (FederateHandle), ) \
  X(unsigned long, normalizeServiceGroup, (ServiceGroup), ) \
  X(void, enableObjectClassRelevanceAdvisorySwitch, (), ) \
  X(void, disableObjectClassRelevanceAdvisorySwitch, (), ) \
  X(void, enableAttributeRelevanceAdvisorySwitch, (), ) \
  X(void, disableAttributeRelevanceAdvisorySwitch, (), ) \
  X(void, enableAttributeScopeAdvisorySwitch, (), ) \
  X(void, disableAttributeScopeAdvisorySwitch, (), ) \
  X(void, enableInteractionRelevanceAdvisorySwitch, (), ) \
  X(void, disableInteractionRelevanceAdvisorySwitch, (), ) \
  X(bool, evokeCallback, (double), ) \
  X(bool, evokeMultipleCallbacks, (double, double), ) \
  X(void, enableCallbacks, (), ) \
  X(void, disableCallbacks, (), ) \
  X(std::auto_ptr<LogicalTimeFactory>, getTimeFactory, (), const) \
  X(FederateHandle, decodeFederateHandle, (VariableLengthData const&), const) \
  X(ObjectClassHandle, decodeObjectClassHandle, (VariableLengthData const&), const) \
  X(InteractionClassHandle, decodeInteractionClassHandle, (VariableLengthData const&), const) \
  X(ObjectInstanceHandle, decodeObjectInstanceHandle, (VariableLengthData const&), const) \
  X(AttributeHandle, decodeAttributeHandle, (VariableLengthData const&), const) \
  X(ParameterHandle, decodeParameterHandle, (VariableLengthData const&), const) \
  X(DimensionHandle, decodeDimensionHandle, (VariableLengthData const&), const) \
  X(MessageRetractionHandle, decodeMessageRetractionHandle, (VariableLengthData const&), const) \
  X(RegionHandle, decodeRegionHandle, (VariableLengthData const&), const)

// Every FederateAmbassador callback in its slot order: X(name, (parameters)).
#define OSTRA_TEST_CALLBACKS(X) \
  X(connectionLost, (std::wstring const&)) \
  X(reportFederationExecutions, (std::vector<FederationExecutionInformation> const&)) \
  X(synchronizationPointRegistrationSucceeded, (std::wstring const&)) \
  X(synchronizationPointRegistrationFailed, (std::wstring const&, SynchronizationPointFailureReason)) \
  X(announceSynchronizationPoint, (std::wstring const&, VariableLengthData const&)) \
  X(federationSynchronized, (std::wstring const&, std::set<FederateHandle> const&)) \
  X(initiateFederateSave, (std::wstring const&)) \
  X(initiateFederateSave, (std::wstring const&, LogicalTime const&)) \
  X(federationSaved, ()) \
  X(federationNotSaved, (SaveFailureReason)) \
  X(federationSaveStatusResponse, (std::vector<std::pair<FederateHandle, SaveStatus> > const&)) \
  X(requestFederationRestoreSucceeded, (std::wstring const&)) \
  X(requestFederationRestoreFailed, (std::wstring const&)) \
  X(federationRestoreBegun, ()) \
  X(initiateFederateRestore, (std::wstring const&, std::wstring const&, FederateHandle)) \
  X(federationRestored, ()) \
  X(federationNotRestored, (RestoreFailureReason)) \
  X(federationRestoreStatusResponse, (std::vector<FederateRestoreStatus> const&)) \
  X(startRegistrationForObjectClass, (ObjectClassHandle)) \
  X(stopRegistrationForObjectClass, (ObjectClassHandle)) \
  X(turnInteractionsOn, (InteractionClassHandle)) \
  X(turnInteractionsOff, (InteractionClassHandle)) \
  X(objectInstanceNameReservationSucceeded, (std::wstring const&)) \
  X(objectInstanceNameReservationFailed, (std::wstring const&)) \
  X(multipleObjectInstanceNameReservationSucceeded, (std::set<std::wstring> const&)) \
  X(multipleObjectInstanceNameReservationFailed, (std::set<std::wstring> const&)) \
  X(discoverObjectInstance, (ObjectInstanceHandle, ObjectClassHandle, std::wstring const&)) \
  X(discoverObjectInstance, (ObjectInstanceHandle, ObjectClassHandle, std::wstring const&, FederateHandle)) \
  X(reflectAttributeValues, (ObjectInstanceHandle, std::map<AttributeHandle, VariableLengthData> const&, VariableLengthData const&, OrderType, TransportationType, SupplementalReflectInfo)) \
  X(reflectAttributeValues, (ObjectInstanceHandle, std::map<AttributeHandle, VariableLengthData> const&, VariableLengthData const&, OrderType, TransportationType, LogicalTime const&, OrderType, SupplementalReflectInfo)) \
  X(reflectAttributeValues, (ObjectInstanceHandle, std::map<AttributeHandle, VariableLengthData> const&, VariableLengthData const&, OrderType, TransportationType, LogicalTime const&, OrderType, MessageRetractionHandle, SupplementalReflectInfo)) \
  X(receiveInteraction, (InteractionClassHandle, std::map<ParameterHandle, VariableLengthData> const&, VariableLengthData const&, OrderType, TransportationType, SupplementalReceiveInfo)) \
  X(receiveInteraction, (InteractionClassHandle, std::map<ParameterHandle, VariableLengthData> const&, VariableLengthData const&, OrderType, TransportationType, LogicalTime const&, OrderType, SupplementalReceiveInfo)) \
  X(receiveInteraction, (InteractionClassHandle, std::map<ParameterHandle, VariableLengthData> const&, VariableLengthData const&, OrderType, TransportationType, LogicalTime const&, OrderType, MessageRetractionHandle, SupplementalReceiveInfo)) \
  X(removeObjectInstance, (ObjectInstanceHandle, VariableLengthData const&, OrderType, SupplementalRemoveInfo)) \
  X(removeObjectInstance, (ObjectInstanceHandle, VariableLengthData const&, OrderType, LogicalTime const&, OrderType, SupplementalRemoveInfo)) \
  X(removeObjectInstance, (ObjectInstanceHandle, VariableLengthData const&, OrderType, LogicalTime const&, OrderType, MessageRetractionHandle, SupplementalRemoveInfo)) \
  X(attributesInScope, (ObjectInstanceHandle, std::set<AttributeHandle> const&)) \
  X(attributesOutOfScope, (ObjectInstanceHandle, std::set<AttributeHandle> const&)) \
  X(provideAttributeValueUpdate, (ObjectInstanceHandle, std::set<AttributeHandle> const&, VariableLengthData const&)) \
  X(turnUpdatesOnForObjectInstance, (ObjectInstanceHandle, std::set<AttributeHandle> const&)) \
  X(turnUpdatesOnForObjectInstance, (ObjectInstanceHandle, std::set<AttributeHandle> const&, std::wstring const&)) \
  X(turnUpdatesOffForObjectInstance, (ObjectInstanceHandle, std::set<AttributeHandle> const&)) \
  X(confirmAttributeTransportationTypeChange, (ObjectInstanceHandle, std::set<AttributeHandle>, TransportationType)) \
  X(reportAttributeTransportationType, (ObjectInstanceHandle, AttributeHandle, TransportationType)) \
  X(confirmInteractionTransportationTypeChange, (InteractionClassHandle, TransportationType)) \
  X(reportInteractionTransportationType, (FederateHandle, InteractionClassHandle, TransportationType)) \
  X(requestAttributeOwnershipAssumption, (ObjectInstanceHandle, std::set<AttributeHandle> const&, VariableLengthData const&)) \
  X(requestDivestitureConfirmation, (ObjectInstanceHandle, std::set<AttributeHandle> const&)) \
  X(attributeOwnershipAcquisitionNotification, (ObjectInstanceHandle, std::set<AttributeHandle> const&, VariableLengthData const&)) \
  X(attributeOwnershipUnavailable, (ObjectInstanceHandle, std::set<AttributeHandle> const&)) \
  X(requestAttributeOwnershipRelease, (ObjectInstanceHandle, std::set<AttributeHandle> const&, VariableLengthData const&)) \
  X(confirmAttributeOwnershipAcquisitionCancellation, (ObjectInstanceHandle, std::set<AttributeHandle> const&)) \
  X(informAttributeOwnership, (ObjectInstanceHandle, AttributeHandle, FederateHandle)) \
  X(attributeIsNotOwned, (ObjectInstanceHandle, AttributeHandle)) \
  X(attributeIsOwnedByRTI, (ObjectInstanceHandle, AttributeHandle)) \
  X(timeRegulationEnabled, (LogicalTime const&)) \
  X(timeConstrainedEnabled, (LogicalTime const&)) \
  X(timeAdvanceGrant, (LogicalTime const&)) \
  X(requestRetraction, (MessageRetractionHandle))

// The vtable slot of a virtual member function, read from the pointer-to-member
// representation of the Itanium C++ ABI (1 + the slot's byte offset). There the
// virtual destructor takes the first two slots.
#if defined(__GNUC__) && defined(__x86_64__)
#define OSTRA_HAVE_ITANIUM_SLOTS 1
size_t const kFirstSlotAfterDestructor = 2;

template <class MemberFunction>
size_t vtableSlot(MemberFunction function) {
  struct Representation {
    uintptr_t pointer;
    ptrdiff_t adjustment;
  } representation;
  static_assert(sizeof(MemberFunction) == sizeof(Representation), "not the Itanium layout");
  std::memcpy(&representation, &function, sizeof representation);
  EXPECT_EQ(representation.pointer & 1u, 1u) << "not a virtual function";
  return (representation.pointer - 1) / sizeof(void*);
}
#endif

// Overrides every service with a do-nothing body: compiles only if every row matches a
// declared service exactly, and is concrete only if no declared service lacks a row.
class AllServices : public RTIambassador {
 public:
#define OSTRA_OVERRIDE(Result, name, Parameters, Cv) \
  Result name Parameters Cv override { return std::decay_t<Result>(); }
  OSTRA_TEST_SERVICES(OSTRA_OVERRIDE)
#undef OSTRA_OVERRIDE
};

TEST(RTIambassador, IsAnAbstractInterfaceWithEveryService) {
  EXPECT_TRUE(std::is_abstract<RTIambassador>::value);
  EXPECT_TRUE(std::has_virtual_destructor<RTIambassador>::value);
  EXPECT_FALSE(std::is_abstract<AllServices>::value);
  std::auto_ptr<RTIambassador> owned(new AllServices);
  EXPECT_FALSE(owned->decodeRegionHandle(VariableLengthData()).isValid());
}

#ifdef OSTRA_HAVE_ITANIUM_SLOTS
TEST(RTIambassador, ServicesSitInTheirSlots) {
  struct Row {
    char const* name;
    size_t slot;
  } const rows[] = {
#define OSTRA_SLOT(Result, name, Parameters, Cv) \
  {#name, vtableSlot(static_cast<Result (RTIambassador::*) Parameters Cv>(&RTIambassador::name))},
      OSTRA_TEST_SERVICES(OSTRA_SLOT)
#undef OSTRA_SLOT
  };
  ASSERT_EQ(sizeof rows / sizeof rows[0], 151u);
  for (size_t i = 0; i < 151; ++i) {
    SCOPED_TRACE(rows[i].name);
    EXPECT_EQ(rows[i].slot, kFirstSlotAfterDestructor + i);
  }
}
#endif

// Records the arguments of the services that have default arguments.
class DefaultsProbe : public AllServices {
 public:
  std::vector<std::wstring> calls;

  void connect(FederateAmbassador&, CallbackModel model, std::wstring const& designator) override {
    record(L"connect", model, designator);
  }
  void createFederationExecution(std::wstring const& name, std::vector<std::wstring> const& modules,
                                 std::wstring const& timeName) override {
    record(L"create modules", name, modules.size(), timeName);
  }
  void createFederationExecution(std::wstring const& name, std::wstring const& module,
                                 std::wstring const& timeName) override {
    record(L"create module", name, module, timeName);
  }
  void createFederationExecutionWithMIM(std::wstring const& name,
                                        std::vector<std::wstring> const& modules,
                                        std::wstring const& mim, std::wstring const& timeName) override {
    record(L"create with MIM", name, modules.size(), mim, timeName);
  }
  FederateHandle joinFederationExecution(std::wstring const& federateName, std::wstring const& type,
                                         std::wstring const& federation,
                                         std::vector<std::wstring> const& modules) override {
    record(L"join named", federateName, type, federation, modules.size());
    return FederateHandleFriend::fromNumber(2);
  }
  FederateHandle joinFederationExecution(std::wstring const& type, std::wstring const& federation,
                                         std::vector<std::wstring> const& modules) override {
    record(L"join", type, federation, modules.size());
    return FederateHandleFriend::fromNumber(1);
  }
  void synchronizationPointAchieved(std::wstring const& label, bool successfully) override {
    record(L"achieved", label, successfully);
  }
  void subscribeObjectClassAttributes(ObjectClassHandle, AttributeHandleSet const& attributes,
                                      bool active, std::wstring const& rate) override {
    record(L"subscribe attributes", attributes.size(), active, rate);
  }
  void subscribeInteractionClass(InteractionClassHandle, bool active) override {
    record(L"subscribe interaction", active);
  }
  void subscribeObjectClassAttributesWithRegions(
      ObjectClassHandle, AttributeHandleSetRegionHandleSetPairVector const& pairs, bool active,
      std::wstring const& rate) override {
    record(L"subscribe attributes with regions", pairs.size(), active, rate);
  }
  void subscribeInteractionClassWithRegions(InteractionClassHandle, RegionHandleSet const& regions,
                                            bool active) override {
    record(L"subscribe interaction with regions", regions.size(), active);
  }

 private:
  template <class... Values>
  void record(Values const&... values) {
    std::wostringstream line;
    line << std::boolalpha;
    char const* separator = "";
    ((line << separator << L'[' << values << L']', separator = " "), ...);
    calls.push_back(line.str());
  }
};

TEST(RTIambassador, StandardDefaultArguments) {
  DefaultsProbe probe;
  RTIambassador& rti = probe;
  NullFederateAmbassador federate;
  AttributeHandleSet const attributes{AttributeHandleFriend::fromNumber(3)};

  rti.connect(federate, HLA_EVOKED);
  rti.createFederationExecution(L"Battle", L"Battle.xml");
  rti.createFederationExecution(L"Battle", std::vector<std::wstring>{L"a.xml", L"b.xml"});
  rti.createFederationExecutionWithMIM(L"Battle", std::vector<std::wstring>{L"a.xml"}, L"mim.xml");
  EXPECT_EQ(rti.joinFederationExecution(L"Tank", L"Battle"), FederateHandleFriend::fromNumber(1));
  EXPECT_EQ(rti.joinFederationExecution(L"Alpha", L"Tank", L"Battle"),
            FederateHandleFriend::fromNumber(2));
  rti.synchronizationPointAchieved(L"ready");
  rti.subscribeObjectClassAttributes(ObjectClassHandle(), attributes);
  rti.subscribeInteractionClass(InteractionClassHandle());
  rti.subscribeObjectClassAttributesWithRegions(ObjectClassHandle(),
                                                AttributeHandleSetRegionHandleSetPairVector());
  rti.subscribeInteractionClassWithRegions(InteractionClassHandle(), RegionHandleSet());

  std::vector<std::wstring> const expected{
      L"[connect] [1] []",
      L"[create module] [Battle] [Battle.xml] []",
      L"[create modules] [Battle] [2] []",
      L"[create with MIM] [Battle] [1] [mim.xml] []",
      L"[join] [Tank] [Battle] [0]",
      L"[join named] [Alpha] [Tank] [Battle] [0]",
      L"[achieved] [ready] [true]",
      L"[subscribe attributes] [1] [true] []",
      L"[subscribe interaction] [true]",
      L"[subscribe attributes with regions] [0] [true] []",
      L"[subscribe interaction with regions] [0] [true]",
  };
  EXPECT_EQ(probe.calls, expected);
}

TEST(RTIambassadorFactory, ExplainsThatNoAmbassadorCanBeMadeYet) {
  RTIambassadorFactory factory;
  try {
    factory.createRTIambassador();
    FAIL() << "an ambassador was created without a bridge";
  } catch (RTIinternalError const& e) {
    EXPECT_NE(e.what().find(L"Java"), std::wstring::npos) << e.what();
  }
}

TEST(RtiIdentity, NameAndVersion) {
  EXPECT_EQ(rtiName(), L"Ostra Evolved");
  EXPECT_EQ(rtiVersion(), L"5.3.2.0");
}

#ifdef OSTRA_HAVE_ITANIUM_SLOTS
TEST(FederateAmbassador, CallbacksSitInTheirSlots) {
  struct Row {
    char const* name;
    size_t slot;
  } const rows[] = {
#define OSTRA_SLOT(name, Parameters) \
  {#name, vtableSlot(static_cast<void (FederateAmbassador::*) Parameters>(&FederateAmbassador::name))},
      OSTRA_TEST_CALLBACKS(OSTRA_SLOT)
#undef OSTRA_SLOT
  };
  ASSERT_EQ(sizeof rows / sizeof rows[0], 60u);
  for (size_t i = 0; i < 60; ++i) {
    SCOPED_TRACE(rows[i].name);
    EXPECT_EQ(rows[i].slot, kFirstSlotAfterDestructor + i);
  }
}
#endif

// A federate as a user writes one: it handles a few callbacks and inherits the rest.
class Tank : public NullFederateAmbassador {
 public:
  std::vector<std::wstring> seen;

  void discoverObjectInstance(ObjectInstanceHandle theObject, ObjectClassHandle theObjectClass,
                              std::wstring const& theObjectInstanceName) override {
    seen.push_back(L"discover " + theObject.toString() + L" " + theObjectClass.toString() + L" " +
                   theObjectInstanceName);
  }
  void reflectAttributeValues(ObjectInstanceHandle theObject,
                              AttributeHandleValueMap const& theAttributeValues,
                              VariableLengthData const&, OrderType, TransportationType,
                              SupplementalReflectInfo theReflectInfo) override {
    std::wostringstream line;
    line << L"reflect " << theObject << L" " << theAttributeValues.size() << L" from "
         << theReflectInfo.producingFederate;
    seen.push_back(line.str());
  }
  void timeAdvanceGrant(LogicalTime const& theTime) override {
    seen.push_back(L"granted " + theTime.toString());
  }
  void requestRetraction(MessageRetractionHandle theHandle) override {
    seen.push_back(L"retract " + theHandle.toString());
  }
};

TEST(FederateAmbassador, NullFederateHandlesWhatItDoesNotOverride) {
  EXPECT_TRUE(std::is_abstract<FederateAmbassador>::value);
  EXPECT_FALSE(std::is_abstract<NullFederateAmbassador>::value);

  Tank tank;
  FederateAmbassador& federate = tank;
  ObjectInstanceHandle const object = ObjectInstanceHandleFriend::fromNumber(5);
  ObjectClassHandle const objectClass = ObjectClassHandleFriend::fromNumber(6);
  AttributeHandleValueMap values;
  values[AttributeHandleFriend::fromNumber(1)] = VariableLengthData("x", 1);

  federate.discoverObjectInstance(object, objectClass, L"T-72");
  federate.discoverObjectInstance(object, objectClass, L"T-80", FederateHandle());  // inherited
  federate.reflectAttributeValues(object, values, VariableLengthData(), RECEIVE, RELIABLE,
                                  SupplementalReflectInfo(FederateHandleFriend::fromNumber(3)));
  federate.receiveInteraction(InteractionClassHandle(), ParameterHandleValueMap(),
                              VariableLengthData(), RECEIVE, BEST_EFFORT,
                              SupplementalReceiveInfo());  // inherited
  federate.requestRetraction(MessageRetractionHandleFriend::make(7, VariableLengthData("p", 1)));
  federate.federationSaved();  // inherited
  federate.connectionLost(L"gone");  // inherited

  std::vector<std::wstring> const expected{
      L"discover ObjectInstanceHandle<5> ObjectClassHandle<6> T-72",
      L"reflect ObjectInstanceHandle<5> 1 from FederateHandle<3>",
      L"retract MessageRetractionHandle<7>",
  };
  EXPECT_EQ(tank.seen, expected);

  Tank copy(tank);
  copy = tank;
  EXPECT_EQ(copy.seen, expected);
}

}  // namespace
}  // namespace rti1516e
