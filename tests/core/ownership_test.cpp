// End-to-end tests of ownership management through the public API: acquisition pulled from
// the owner, divestiture pushed by negotiation, unconditional divestiture and acquisition if
// available, the privilege to delete, and what resigning does to ownership. Each scenario
// runs three federates in both callback models: a registers, b and c take over.
#include <RTI/RTI1516.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core_support.h"

namespace ostra1516e {
namespace {

using namespace coretest;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;
using ::testing::UnorderedElementsAre;
using Set = AttributeHandleSet;

VariableLengthData blob(std::string const& text) { return VariableLengthData(text.data(), text.size()); }
VariableLengthData const none;
SupplementalReflectInfo const plain;
SupplementalRemoveInfo const plainRemove;

// A call that must be refused, and the exception it must be refused with.
struct Refusal {
  char const* what;
  char const* exception;
  std::function<void()> call;
};
void expectRefused(std::vector<Refusal> const& rows) {
  for (Refusal const& row : rows) EXPECT_THAT(outcome(row.call), StartsWith(std::string(row.exception) + ": ")) << row.what;
}

// owned answers whether fed owns the attribute now: "owned", "not owned", or the refusal.
std::string owned(Federate& fed, ObjectInstanceHandle object, AttributeHandle attribute) {
  bool yes = false;
  std::string const answer = outcome([&] { yes = fed.rti->isAttributeOwnedByFederate(object, attribute); });
  return answer != "ok" ? answer : yes ? "owned" : "not owned";
}

class Ownership : public Members {
 protected:
  // start joins a, b and c; a publishes Position and Speed, b and c publish the attributes
  // of Vehicle named (nothing when none) and subscribe Position and Speed; a registers count
  // instances, which b and c have discovered when start returns, every line so far forgotten.
  using Names = std::vector<std::wstring>;
  void start(wchar_t const* base, Names const& ofB, Names const& ofC, int count = 1) {
    ASSERT_NO_FATAL_FAILURE(joinAll(base, 3));
    RTIambassador& rti = *federates[0]->rti;
    vehicle = rti.getObjectClassHandle(L"Vehicle");
    position = rti.getAttributeHandle(vehicle, L"Position"), speed = rti.getAttributeHandle(vehicle, L"Speed");
    privilege = rti.getAttributeHandle(vehicle, L"HLAprivilegeToDeleteObject");
    load = rti.getAttributeHandle(rti.getObjectClassHandle(L"Truck"), L"Load");
    rti.publishObjectClassAttributes(vehicle, {position, speed});
    for (int i = 1; i < 3; ++i) {
      Set published;
      for (auto const& attribute : i == 1 ? ofB : ofC) published.insert(rti.getAttributeHandle(vehicle, attribute));
      if (!published.empty()) f(i).rti->publishObjectClassAttributes(vehicle, published);
      f(i).rti->subscribeObjectClassAttributes(vehicle, {position, speed});
    }
    for (int i = 0; i < count; ++i) objects.push_back(rti.registerObjectInstance(vehicle));
    settle();
    for (auto& fed : federates) fed->take();
  }
  std::string reflected(ObjectInstanceHandle object, AttributeHandle attribute, std::string const& value,
                        VariableLengthData const& tag) {
    return cb("reflectAttributeValues", object, AttributeHandleValueMap{{attribute, blob(value)}}, tag, RECEIVE,
              RELIABLE, plain);
  }

  std::vector<ObjectInstanceHandle> objects;
  ObjectClassHandle vehicle;
  AttributeHandle position, speed, privilege, load;
};

// b asks a for Position and Speed, withdraws Speed, and a lets go of what is still wanted:
// the answers of queries, updates and value requests follow the owner; every service
// refuses the federate that is in the wrong state for it.
TEST_P(Ownership, AcquisitionPullsFromTheOwner) {
  ASSERT_NO_FATAL_FAILURE(start(L"Pull", {L"Position", L"Speed"}, {}));
  Federate &a = f(0), &b = f(1), &c = f(2);
  ObjectInstanceHandle const object = objects[0];
  auto const unknown = ObjectInstanceHandleFriend::fromNumber(4242);
  Set out;
  ASSERT_OK(b.rti->queryAttributeOwnership(object, position));
  expectRefused({
      {"acquisition of an instance not known", "ObjectInstanceNotKnown",
       [&] { b.rti->attributeOwnershipAcquisition(unknown, {position}, tag(9)); }},
      {"acquisition of an attribute of another class", "AttributeNotDefined",
       [&] { b.rti->attributeOwnershipAcquisition(object, {load}, tag(9)); }},
      {"acquisition by a federate publishing nothing", "ObjectClassNotPublished",
       [&] { c.rti->attributeOwnershipAcquisition(object, {speed}, tag(9)); }},
      {"acquisition if available by the owner", "FederateOwnsAttributes",
       [&] { a.rti->attributeOwnershipAcquisitionIfAvailable(object, {speed}); }},
      {"acquisition by the owner", "FederateOwnsAttributes",
       [&] { a.rti->attributeOwnershipAcquisition(object, {position}, tag(9)); }},
      {"cancel by the owner", "AttributeAlreadyOwned", [&] { a.rti->cancelAttributeOwnershipAcquisition(object, {position}); }},
      {"cancel of nothing requested", "AttributeAcquisitionWasNotRequested",
       [&] { b.rti->cancelAttributeOwnershipAcquisition(object, {position}); }},
      {"confirm without negotiation", "AttributeDivestitureWasNotRequested",
       [&] { a.rti->confirmDivestiture(object, {position}, tag(9)); }},
      {"cancel without negotiation", "AttributeDivestitureWasNotRequested",
       [&] { a.rti->cancelNegotiatedAttributeOwnershipDivestiture(object, {position}); }},
      {"unconditional by a non-owner", "AttributeNotOwned",
       [&] { b.rti->unconditionalAttributeOwnershipDivestiture(object, {position}); }},
      {"negotiated by a non-owner", "AttributeNotOwned",
       [&] { b.rti->negotiatedAttributeOwnershipDivestiture(object, {position}, tag(9)); }},
      {"confirm by a non-owner", "AttributeNotOwned", [&] { b.rti->confirmDivestiture(object, {position}, tag(9)); }},
      {"cancel negotiation by a non-owner", "AttributeNotOwned",
       [&] { b.rti->cancelNegotiatedAttributeOwnershipDivestiture(object, {position}); }},
      {"divestiture if wanted by a non-owner", "AttributeNotOwned",
       [&] { b.rti->attributeOwnershipDivestitureIfWanted(object, {position}, out); }},
      {"release denied by a non-owner", "AttributeNotOwned",
       [&] { b.rti->attributeOwnershipReleaseDenied(object, {position}); }},
  });
  c.rti->publishObjectClassAttributes(vehicle, {speed});
  EXPECT_RTI_NAMING("AttributeNotPublished", "Position",
                    c.rti->attributeOwnershipAcquisition(object, {position, speed}, tag(9)));
  EXPECT_EQ(owned(a, object, position), "owned");
  EXPECT_EQ(owned(b, object, position), "not owned");
  settle();
  EXPECT_THAT(got(b), ElementsAre(cb("informAttributeOwnership", object, position, a.handle)));
  EXPECT_THAT(got(c), ElementsAre(cb("startRegistrationForObjectClass", vehicle)));
  EXPECT_THAT(got(a), ElementsAre());

  EXPECT_OK(b.rti->attributeOwnershipAcquisition(object, {position, speed}, tag(1)));
  settle();
  EXPECT_THAT(got(a), ElementsAre(cb("requestAttributeOwnershipRelease", object, Set{position, speed}, tag(1))));
  EXPECT_OK(b.rti->cancelAttributeOwnershipAcquisition(object, {speed}));
  settle();
  EXPECT_THAT(got(b), ElementsAre(cb("confirmAttributeOwnershipAcquisitionCancellation", object, Set{speed})));
  Set divested = {privilege};  // replaced, not added to
  EXPECT_OK(a.rti->attributeOwnershipDivestitureIfWanted(object, {position, speed}, divested));
  EXPECT_EQ(divested, Set{position}) << "only what is still wanted";
  EXPECT_EQ(owned(a, object, position), "not owned");
  EXPECT_EQ(owned(a, object, speed), "owned");
  EXPECT_RTI_NAMING("AttributeNotOwned", "Position", a.rti->updateAttributeValues(object, {{position, blob("x")}}, none));
  settle();
  EXPECT_THAT(got(b), ElementsAre(cb("attributeOwnershipAcquisitionNotification", object, Set{position}, tag(1))));
  EXPECT_THAT(got(a), ElementsAre());
  EXPECT_EQ(owned(b, object, position), "owned");
  EXPECT_EQ(owned(b, object, speed), "not owned");
  EXPECT_RTI("AttributeAlreadyOwned", b.rti->cancelAttributeOwnershipAcquisition(object, {position}));
  EXPECT_RTI("FederateOwnsAttributes", b.rti->attributeOwnershipAcquisition(object, {position, speed}, tag(9)));
  EXPECT_RTI("AttributeNotOwned", a.rti->unconditionalAttributeOwnershipDivestiture(object, {position, speed}));
  EXPECT_EQ(owned(a, object, speed), "owned") << "a refused call divests nothing";

  // The new owner updates; a value request is split between the owners of its attributes.
  EXPECT_OK(b.rti->updateAttributeValues(object, {{position, blob("p")}}, tag(2)));
  reached(b);
  EXPECT_OK(c.rti->requestAttributeValueUpdate(object, {position, speed}, tag(3)));
  EXPECT_OK(c.rti->queryAttributeOwnership(object, position));
  EXPECT_OK(c.rti->queryAttributeOwnership(object, speed));
  settle();
  EXPECT_THAT(got(a), ElementsAre(cb("provideAttributeValueUpdate", object, Set{speed}, tag(3))));
  EXPECT_THAT(got(b), ElementsAre(cb("provideAttributeValueUpdate", object, Set{position}, tag(3))));
  EXPECT_THAT(got(c), ElementsAre(reflected(object, position, "p", tag(2)),
                                  cb("informAttributeOwnership", object, position, b.handle),
                                  cb("informAttributeOwnership", object, speed, a.handle)));
}

// a offers Position and Speed by negotiation: each federate is offered what it publishes,
// the owner keeps them until it confirms, and confirming hands each attribute to its own
// acquirer with that acquirer's tag. Offering what is already asked for goes straight to
// confirmation.
TEST_P(Ownership, NegotiatedDivestiturePushesToAcquirers) {
  ASSERT_NO_FATAL_FAILURE(start(L"Push", {L"Position", L"Speed"}, {L"Speed"}));
  Federate &a = f(0), &b = f(1), &c = f(2);
  ObjectInstanceHandle const object = objects[0];
  ASSERT_OK(a.rti->negotiatedAttributeOwnershipDivestiture(object, {position}, tag(1)));
  expectRefused({
      {"negotiating again", "AttributeAlreadyBeingDivested",
       [&] { a.rti->negotiatedAttributeOwnershipDivestiture(object, {position, speed}, tag(9)); }},
      {"confirm of what is not negotiated", "AttributeDivestitureWasNotRequested",
       [&] { a.rti->confirmDivestiture(object, {speed}, tag(9)); }},
      {"cancel of more than is negotiated", "AttributeDivestitureWasNotRequested",
       [&] { a.rti->cancelNegotiatedAttributeOwnershipDivestiture(object, {position, speed}); }},
      {"confirm with nobody acquiring", "NoAcquisitionPending", [&] { a.rti->confirmDivestiture(object, {position}, tag(9)); }},
  });
  EXPECT_EQ(owned(a, object, position), "owned") << "kept while negotiating";
  EXPECT_OK(a.rti->updateAttributeValues(object, {{position, blob("p")}}, none));
  settle();
  EXPECT_THAT(got(b), ElementsAre(cb("requestAttributeOwnershipAssumption", object, Set{position}, tag(1)),
                                  reflected(object, position, "p", none)));
  EXPECT_THAT(got(c), ElementsAre(reflected(object, position, "p", none))) << "c does not publish Position";

  EXPECT_OK(a.rti->cancelNegotiatedAttributeOwnershipDivestiture(object, {position}));
  EXPECT_RTI("AttributeDivestitureWasNotRequested", a.rti->cancelNegotiatedAttributeOwnershipDivestiture(object, {position}));
  EXPECT_OK(a.rti->negotiatedAttributeOwnershipDivestiture(object, {position, speed}, tag(2)));
  settle();
  EXPECT_THAT(got(b), ElementsAre(cb("requestAttributeOwnershipAssumption", object, Set{position, speed}, tag(2))));
  EXPECT_THAT(got(c), ElementsAre(cb("requestAttributeOwnershipAssumption", object, Set{speed}, tag(2))));
  EXPECT_THAT(got(a), ElementsAre());

  EXPECT_OK(b.rti->attributeOwnershipAcquisition(object, {position}, tag(3)));
  EXPECT_OK(c.rti->attributeOwnershipAcquisition(object, {speed}, tag(4)));
  settle();
  EXPECT_THAT(got(a), UnorderedElementsAre(cb("requestDivestitureConfirmation", object, Set{position}),
                                           cb("requestDivestitureConfirmation", object, Set{speed})));
  EXPECT_EQ(owned(a, object, speed), "owned") << "kept until confirmed";
  EXPECT_OK(a.rti->confirmDivestiture(object, {position, speed}, tag(5)));
  EXPECT_RTI("AttributeNotOwned", a.rti->cancelNegotiatedAttributeOwnershipDivestiture(object, {position}));
  EXPECT_RTI("AttributeNotOwned", a.rti->updateAttributeValues(object, {{speed, blob("s")}}, none));
  settle();
  EXPECT_THAT(got(b), ElementsAre(cb("attributeOwnershipAcquisitionNotification", object, Set{position}, tag(3))));
  EXPECT_THAT(got(c), ElementsAre(cb("attributeOwnershipAcquisitionNotification", object, Set{speed}, tag(4))));
  EXPECT_EQ(owned(c, object, speed), "owned");

  // a wants Position back; b offers it by negotiation and is asked to confirm at once, and
  // nobody is offered what a already asked for.
  EXPECT_OK(a.rti->attributeOwnershipAcquisition(object, {position}, tag(6)));
  settle();
  EXPECT_THAT(got(b), ElementsAre(cb("requestAttributeOwnershipRelease", object, Set{position}, tag(6))));
  EXPECT_OK(b.rti->negotiatedAttributeOwnershipDivestiture(object, {position}, tag(7)));
  settle();
  EXPECT_THAT(got(b), ElementsAre(cb("requestDivestitureConfirmation", object, Set{position})));
  EXPECT_THAT(got(a), ElementsAre());
  EXPECT_OK(b.rti->confirmDivestiture(object, {position}, tag(8)));
  EXPECT_OK(a.rti->queryAttributeOwnership(object, speed));
  settle();
  EXPECT_THAT(got(a), ElementsAre(cb("attributeOwnershipAcquisitionNotification", object, Set{position}, tag(6)),
                                  cb("informAttributeOwnership", object, speed, c.handle)));
  EXPECT_THAT(got(c), ElementsAre());
  EXPECT_EQ(owned(a, object, position), "owned");
}

// Acquisition if available takes only what nobody owns; a denied release drops the
// request; an unconditional divestiture hands an attribute to its first acquirer at once,
// leaves the others unowned and offers them with an empty tag; an unowned attribute is
// anybody's to acquire at once.
TEST_P(Ownership, UnconditionalDivestitureAndAcquisitionIfAvailable) {
  ASSERT_NO_FATAL_FAILURE(start(L"Unconditional", {L"Position", L"Speed"}, {L"Position", L"Speed"}));
  Federate &a = f(0), &b = f(1), &c = f(2);
  ObjectInstanceHandle const object = objects[0];
  ASSERT_OK(c.rti->attributeOwnershipAcquisitionIfAvailable(object, {position}));
  EXPECT_OK(b.rti->attributeOwnershipAcquisition(object, {position}, tag(1)));
  EXPECT_RTI("AttributeAlreadyBeingAcquired", b.rti->attributeOwnershipAcquisitionIfAvailable(object, {position, speed}));
  settle();
  EXPECT_THAT(got(c), ElementsAre(cb("attributeOwnershipUnavailable", object, Set{position})));
  EXPECT_THAT(got(a), ElementsAre(cb("requestAttributeOwnershipRelease", object, Set{position}, tag(1))));
  EXPECT_OK(a.rti->attributeOwnershipReleaseDenied(object, {position}));
  settle();
  EXPECT_THAT(got(b), ElementsAre(cb("attributeOwnershipUnavailable", object, Set{position})));
  EXPECT_RTI("AttributeAcquisitionWasNotRequested", b.rti->cancelAttributeOwnershipAcquisition(object, {position}));
  EXPECT_EQ(owned(a, object, position), "owned");

  // b asks first, c second: b gets Position; c stays in line. Speed, wanted by nobody,
  // is offered to both.
  EXPECT_OK(b.rti->attributeOwnershipAcquisition(object, {position}, tag(2)));
  reached(b);
  EXPECT_OK(c.rti->attributeOwnershipAcquisition(object, {position}, tag(3)));
  settle();
  EXPECT_THAT(got(a), ElementsAre(cb("requestAttributeOwnershipRelease", object, Set{position}, tag(2)),
                                  cb("requestAttributeOwnershipRelease", object, Set{position}, tag(3))));
  EXPECT_OK(a.rti->unconditionalAttributeOwnershipDivestiture(object, {position, speed}));
  EXPECT_RTI("AttributeNotOwned", a.rti->unconditionalAttributeOwnershipDivestiture(object, {speed}));
  EXPECT_RTI("AttributeNotOwned", a.rti->updateAttributeValues(object, {{speed, blob("s")}}, none));
  settle();
  // Whether the new owner hears of c's request waiting in line is not decided here.
  EXPECT_THAT(got(b), IsSupersetOf({cb("attributeOwnershipAcquisitionNotification", object, Set{position}, tag(2)),
                                    cb("requestAttributeOwnershipAssumption", object, Set{speed}, none)}));
  EXPECT_THAT(got(c), ElementsAre(cb("requestAttributeOwnershipAssumption", object, Set{speed}, none)));
  EXPECT_THAT(got(a), ElementsAre());
  EXPECT_OK(c.rti->cancelAttributeOwnershipAcquisition(object, {position}));
  EXPECT_OK(c.rti->queryAttributeOwnership(object, speed));
  EXPECT_OK(c.rti->attributeOwnershipAcquisitionIfAvailable(object, {speed}));
  settle();
  EXPECT_THAT(got(c), ElementsAre(cb("confirmAttributeOwnershipAcquisitionCancellation", object, Set{position}),
                                  cb("attributeIsNotOwned", object, speed),
                                  cb("attributeOwnershipAcquisitionNotification", object, Set{speed}, none)));
  EXPECT_EQ(owned(c, object, speed), "owned");
  EXPECT_RTI("FederateOwnsAttributes", c.rti->attributeOwnershipAcquisitionIfAvailable(object, {speed}));

  // Given up with nobody asking, Position is offered to all who publish it; acquiring it
  // then succeeds at once with the acquirer's tag.
  EXPECT_OK(b.rti->unconditionalAttributeOwnershipDivestiture(object, {position}));
  settle();
  EXPECT_THAT(got(a), ElementsAre(cb("requestAttributeOwnershipAssumption", object, Set{position}, none)));
  EXPECT_THAT(got(c), ElementsAre(cb("requestAttributeOwnershipAssumption", object, Set{position}, none)));
  EXPECT_THAT(got(b), ElementsAre());
  EXPECT_OK(a.rti->attributeOwnershipAcquisition(object, {position}, tag(4)));
  settle();
  EXPECT_THAT(got(a), ElementsAre(cb("attributeOwnershipAcquisitionNotification", object, Set{position}, tag(4))));
  EXPECT_OK(a.rti->updateAttributeValues(object, {{position, blob("p")}}, none));
}

// The privilege to delete moves like any attribute; resigning is held back by pending
// acquisitions unless they are cancelled, and what the resigner owned goes to whoever
// waits for it, the rest to nobody.
TEST_P(Ownership, PrivilegeToDeleteAndResigning) {
  ASSERT_NO_FATAL_FAILURE(start(L"Privilege", {L"Position", L"Speed", L"HLAprivilegeToDeleteObject"},
                                      {L"Position", L"Speed", L"HLAprivilegeToDeleteObject"}, 2));
  Federate &a = f(0), &b = f(1), &c = f(2);
  ObjectInstanceHandle const first = objects[0], second = objects[1];
  EXPECT_RTI("DeletePrivilegeNotHeld", b.rti->deleteObjectInstance(first, none));
  ASSERT_OK(b.rti->attributeOwnershipAcquisition(first, {privilege}, tag(1)));
  settle();
  EXPECT_THAT(got(a), ElementsAre(cb("requestAttributeOwnershipRelease", first, Set{privilege}, tag(1))));
  EXPECT_OK(a.rti->unconditionalAttributeOwnershipDivestiture(first, {privilege}));
  EXPECT_RTI("DeletePrivilegeNotHeld", a.rti->deleteObjectInstance(first, none));
  EXPECT_OK(a.rti->updateAttributeValues(first, {{position, blob("p")}}, none)) << "Position stays a's";
  settle();
  EXPECT_THAT(got(b), ElementsAre(cb("attributeOwnershipAcquisitionNotification", first, Set{privilege}, tag(1)),
                                  reflected(first, position, "p", none)));
  EXPECT_THAT(got(c), ElementsAre(reflected(first, position, "p", none)));
  EXPECT_OK(b.rti->deleteObjectInstance(first, tag(2)));
  settle();
  EXPECT_THAT(got(c), ElementsAre(cb("removeObjectInstance", first, tag(2), RECEIVE, plainRemove)));
  for (Federate* fed : {&a, &b, &c}) EXPECT_RTI("ObjectInstanceNotKnown", fed->rti->getObjectInstanceName(first));
  for (Federate* fed : {&a, &b}) fed->take();

  // b asks for Position of the second first, c after it.
  EXPECT_OK(b.rti->attributeOwnershipAcquisition(second, {position}, tag(3)));
  reached(b);
  EXPECT_OK(c.rti->attributeOwnershipAcquisition(second, {position}, tag(4)));
  settle();
  EXPECT_THAT(got(a), ElementsAre(cb("requestAttributeOwnershipRelease", second, Set{position}, tag(3)),
                                  cb("requestAttributeOwnershipRelease", second, Set{position}, tag(4))));
  for (ResignAction action : {NO_ACTION, UNCONDITIONALLY_DIVEST_ATTRIBUTES, DELETE_OBJECTS_THEN_DIVEST}) {
    EXPECT_RTI("OwnershipAcquisitionPending", b.rti->resignFederationExecution(action)) << action;
  }
  EXPECT_OK(b.rti->resignFederationExecution(CANCEL_PENDING_OWNERSHIP_ACQUISITIONS));
  EXPECT_RTI("FederateOwnsAttributes", a.rti->resignFederationExecution(CANCEL_PENDING_OWNERSHIP_ACQUISITIONS));
  EXPECT_OK(a.rti->resignFederationExecution(UNCONDITIONALLY_DIVEST_ATTRIBUTES));
  settle();
  // b's request went with it, so Position is c's; Speed and the privilege are nobody's.
  EXPECT_THAT(got(c), Contains(cb("attributeOwnershipAcquisitionNotification", second, Set{position}, tag(4))));
  for (AttributeHandle attribute : {position, speed, privilege}) {
    EXPECT_OK(c.rti->queryAttributeOwnership(second, attribute));
  }
  EXPECT_RTI("DeletePrivilegeNotHeld", c.rti->deleteObjectInstance(second, none));
  EXPECT_OK(c.rti->attributeOwnershipAcquisition(second, {privilege}, tag(5)));
  settle();
  EXPECT_THAT(got(c), ElementsAre(cb("informAttributeOwnership", second, position, c.handle),
                                  cb("attributeIsNotOwned", second, speed),
                                  cb("attributeIsNotOwned", second, privilege),
                                  cb("attributeOwnershipAcquisitionNotification", second, Set{privilege}, tag(5))));
  EXPECT_OK(c.rti->updateAttributeValues(second, {{position, blob("p")}}, none));
  EXPECT_OK(c.rti->deleteObjectInstance(second, none));
}

INSTANTIATE_TEST_SUITE_P(Models, Ownership, ::testing::Values(HLA_EVOKED, HLA_IMMEDIATE),
                         [](::testing::TestParamInfo<CallbackModel> const& info) {
                           return info.param == HLA_EVOKED ? "Evoked" : "Immediate";
                         });

}  // namespace
}  // namespace ostra1516e
