// RecordingAmbassador: a FederateAmbassador that writes every callback it receives as one
// line of text, "method(argument, argument, ...)", so that tests compare what a federate
// was given with what it should have been given.
//
// Values are written as:
//   strings     "text" with characters outside printable ASCII as \u{HEX}
//   handles     their number, widened with its sign (-1 for the number FF FF FF FF)
//   bytes       [01 02 ff]
//   enums       their C++ value
//   times       the time's toString()
//   retraction  mrh(serial:[payload])
//   sets, maps  {a, b} and {key=value, ...}, in their order
//   records     reflect(federate=5, regions={1, 2}) and the like; a field whose flag is
//               clear is written as "-"
#ifndef OSTRA_TESTS_RECORDINGAMBASSADOR_H
#define OSTRA_TESTS_RECORDINGAMBASSADOR_H

#include "RTI/HandleFriend.h"

#include <RTI/FederateAmbassador.h>
#include <RTI/LogicalTime.h>

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ostra1516e {
namespace testing {

// Declared first so that each can show the others' elements.
template <typename T> std::string show(std::set<T> const& values);
template <typename K, typename V> std::string show(std::map<K, V> const& values);
template <typename A, typename B> std::string show(std::pair<A, B> const& pair);
template <typename T> std::string show(std::vector<T> const& values);
inline std::string show(rti1516e::FederateRestoreStatus const& s);
inline std::string show(rti1516e::FederationExecutionInformation const& i);

inline std::string show(std::wstring const& text) {
  std::string out = "\"";
  for (wchar_t c : text) {
    if (c >= 0x20 && c < 0x7F && c != L'"' && c != L'\\') {
      out += static_cast<char>(c);
    } else {
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "\\u{%X}", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out + "\"";
}

inline std::string show(rti1516e::VariableLengthData const& data) {
  std::string out = "[";
  unsigned char const* p = static_cast<unsigned char const*>(data.data());
  for (size_t i = 0; i < data.size(); ++i) {
    char buffer[4];
    std::snprintf(buffer, sizeof buffer, "%02x", p[i]);
    out += (i == 0 ? "" : " ");
    out += buffer;
  }
  return out + "]";
}

#define OSTRA_SHOW_HANDLE(Kind)                                         \
  inline std::string show(rti1516e::Kind const& handle) {              \
    return std::to_string(rti1516e::Kind##Friend::number(handle));      \
  }
RTI1516E_SIMPLE_HANDLES(OSTRA_SHOW_HANDLE)
#undef OSTRA_SHOW_HANDLE

inline std::string show(rti1516e::MessageRetractionHandle const& handle) {
  return "mrh(" + std::to_string(rti1516e::MessageRetractionHandleFriend::serial(handle)) +
         ":" + show(rti1516e::MessageRetractionHandleFriend::payload(handle)) + ")";
}

inline std::string show(rti1516e::LogicalTime const& time) {
  std::string out;
  for (wchar_t c : time.toString()) out += static_cast<char>(c);
  return out;
}

template <typename E, typename = std::enable_if_t<std::is_enum<E>::value>>
std::string show(E value) {
  return std::to_string(static_cast<int>(value));
}

template <typename T>
std::string show(std::set<T> const& values) {
  std::string out = "{";
  for (auto const& v : values) out += (out.size() > 1 ? ", " : "") + show(v);
  return out + "}";
}

template <typename K, typename V>
std::string show(std::map<K, V> const& values) {
  std::string out = "{";
  for (auto const& e : values) out += (out.size() > 1 ? ", " : "") + show(e.first) + "=" + show(e.second);
  return out + "}";
}

template <typename A, typename B>
std::string show(std::pair<A, B> const& pair) {
  return "(" + show(pair.first) + ", " + show(pair.second) + ")";
}

template <typename T>
std::string show(std::vector<T> const& values) {
  std::string out = "[";
  for (auto const& v : values) out += (out.size() > 1 ? ", " : "") + show(v);
  return out + "]";
}

inline std::string show(rti1516e::FederateRestoreStatus const& s) {
  return "(" + show(s.preRestoreHandle) + ", " + show(s.postRestoreHandle) + ", " +
         show(s.status) + ")";
}

inline std::string show(rti1516e::FederationExecutionInformation const& i) {
  return "(" + show(i.federationExecutionName) + ", " + show(i.logicalTimeImplementationName) +
         ")";
}

template <typename Info>
std::string showRegionInfo(char const* kind, Info const& info) {
  return std::string(kind) + "(federate=" +
         (info.hasProducingFederate ? show(info.producingFederate) : "-") +
         ", regions=" + (info.hasSentRegions ? show(info.sentRegions) : "-") + ")";
}
inline std::string show(rti1516e::SupplementalReflectInfo const& i) { return showRegionInfo("reflect", i); }
inline std::string show(rti1516e::SupplementalReceiveInfo const& i) { return showRegionInfo("receive", i); }
inline std::string show(rti1516e::SupplementalRemoveInfo const& i) {
  return std::string("remove(federate=") +
         (i.hasProducingFederate ? show(i.producingFederate) : "-") + ")";
}

class RecordingAmbassador : public rti1516e::FederateAmbassador {
 public:
  std::vector<std::string> calls;
  // Runs inside every callback, after it was recorded (to throw, or to look at the
  // floating-point register).
  std::function<void()> during;

  template <typename... Args>
  void record(char const* method, Args const&... args) {
    std::string line = std::string(method) + "(";
    bool first = true;
    ((line += (first ? "" : ", ") + show(args), first = false), ...);
    calls.push_back(line + ")");
    if (during) during();
  }

  using FASRI_Reflect = rti1516e::SupplementalReflectInfo;
  using FASRI_Receive = rti1516e::SupplementalReceiveInfo;
  using FASRI_Remove = rti1516e::SupplementalRemoveInfo;
  using LT = rti1516e::LogicalTime;
  using VLD = rti1516e::VariableLengthData;

  void connectionLost(std::wstring const& a) override { record("connectionLost", a); }
  void reportFederationExecutions(rti1516e::FederationExecutionInformationVector const& a) override { record("reportFederationExecutions", a); }
  void synchronizationPointRegistrationSucceeded(std::wstring const& a) override { record("synchronizationPointRegistrationSucceeded", a); }
  void synchronizationPointRegistrationFailed(std::wstring const& a, rti1516e::SynchronizationPointFailureReason b) override { record("synchronizationPointRegistrationFailed", a, b); }
  void announceSynchronizationPoint(std::wstring const& a, VLD const& b) override { record("announceSynchronizationPoint", a, b); }
  void federationSynchronized(std::wstring const& a, rti1516e::FederateHandleSet const& b) override { record("federationSynchronized", a, b); }
  void initiateFederateSave(std::wstring const& a) override { record("initiateFederateSave", a); }
  void initiateFederateSave(std::wstring const& a, LT const& b) override { record("initiateFederateSave", a, b); }
  void federationSaved() override { record("federationSaved"); }
  void federationNotSaved(rti1516e::SaveFailureReason a) override { record("federationNotSaved", a); }
  void federationSaveStatusResponse(rti1516e::FederateHandleSaveStatusPairVector const& a) override { record("federationSaveStatusResponse", a); }
  void requestFederationRestoreSucceeded(std::wstring const& a) override { record("requestFederationRestoreSucceeded", a); }
  void requestFederationRestoreFailed(std::wstring const& a) override { record("requestFederationRestoreFailed", a); }
  void federationRestoreBegun() override { record("federationRestoreBegun"); }
  void initiateFederateRestore(std::wstring const& a, std::wstring const& b, rti1516e::FederateHandle c) override { record("initiateFederateRestore", a, b, c); }
  void federationRestored() override { record("federationRestored"); }
  void federationNotRestored(rti1516e::RestoreFailureReason a) override { record("federationNotRestored", a); }
  void federationRestoreStatusResponse(rti1516e::FederateRestoreStatusVector const& a) override { record("federationRestoreStatusResponse", a); }
  void startRegistrationForObjectClass(rti1516e::ObjectClassHandle a) override { record("startRegistrationForObjectClass", a); }
  void stopRegistrationForObjectClass(rti1516e::ObjectClassHandle a) override { record("stopRegistrationForObjectClass", a); }
  void turnInteractionsOn(rti1516e::InteractionClassHandle a) override { record("turnInteractionsOn", a); }
  void turnInteractionsOff(rti1516e::InteractionClassHandle a) override { record("turnInteractionsOff", a); }
  void objectInstanceNameReservationSucceeded(std::wstring const& a) override { record("objectInstanceNameReservationSucceeded", a); }
  void objectInstanceNameReservationFailed(std::wstring const& a) override { record("objectInstanceNameReservationFailed", a); }
  void multipleObjectInstanceNameReservationSucceeded(std::set<std::wstring> const& a) override { record("multipleObjectInstanceNameReservationSucceeded", a); }
  void multipleObjectInstanceNameReservationFailed(std::set<std::wstring> const& a) override { record("multipleObjectInstanceNameReservationFailed", a); }
  void discoverObjectInstance(rti1516e::ObjectInstanceHandle a, rti1516e::ObjectClassHandle b, std::wstring const& c) override { record("discoverObjectInstance", a, b, c); }
  void discoverObjectInstance(rti1516e::ObjectInstanceHandle a, rti1516e::ObjectClassHandle b, std::wstring const& c, rti1516e::FederateHandle d) override { record("discoverObjectInstance", a, b, c, d); }
  void reflectAttributeValues(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleValueMap const& b, VLD const& c, rti1516e::OrderType d, rti1516e::TransportationType e, FASRI_Reflect f) override { record("reflectAttributeValues", a, b, c, d, e, f); }
  void reflectAttributeValues(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleValueMap const& b, VLD const& c, rti1516e::OrderType d, rti1516e::TransportationType e, LT const& f, rti1516e::OrderType g, FASRI_Reflect h) override { record("reflectAttributeValues", a, b, c, d, e, f, g, h); }
  void reflectAttributeValues(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleValueMap const& b, VLD const& c, rti1516e::OrderType d, rti1516e::TransportationType e, LT const& f, rti1516e::OrderType g, rti1516e::MessageRetractionHandle h, FASRI_Reflect i) override { record("reflectAttributeValues", a, b, c, d, e, f, g, h, i); }
  void receiveInteraction(rti1516e::InteractionClassHandle a, rti1516e::ParameterHandleValueMap const& b, VLD const& c, rti1516e::OrderType d, rti1516e::TransportationType e, FASRI_Receive f) override { record("receiveInteraction", a, b, c, d, e, f); }
  void receiveInteraction(rti1516e::InteractionClassHandle a, rti1516e::ParameterHandleValueMap const& b, VLD const& c, rti1516e::OrderType d, rti1516e::TransportationType e, LT const& f, rti1516e::OrderType g, FASRI_Receive h) override { record("receiveInteraction", a, b, c, d, e, f, g, h); }
  void receiveInteraction(rti1516e::InteractionClassHandle a, rti1516e::ParameterHandleValueMap const& b, VLD const& c, rti1516e::OrderType d, rti1516e::TransportationType e, LT const& f, rti1516e::OrderType g, rti1516e::MessageRetractionHandle h, FASRI_Receive i) override { record("receiveInteraction", a, b, c, d, e, f, g, h, i); }
  void removeObjectInstance(rti1516e::ObjectInstanceHandle a, VLD const& b, rti1516e::OrderType c, FASRI_Remove d) override { record("removeObjectInstance", a, b, c, d); }
  void removeObjectInstance(rti1516e::ObjectInstanceHandle a, VLD const& b, rti1516e::OrderType c, LT const& d, rti1516e::OrderType e, FASRI_Remove f) override { record("removeObjectInstance", a, b, c, d, e, f); }
  void removeObjectInstance(rti1516e::ObjectInstanceHandle a, VLD const& b, rti1516e::OrderType c, LT const& d, rti1516e::OrderType e, rti1516e::MessageRetractionHandle f, FASRI_Remove g) override { record("removeObjectInstance", a, b, c, d, e, f, g); }
  void attributesInScope(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleSet const& b) override { record("attributesInScope", a, b); }
  void attributesOutOfScope(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleSet const& b) override { record("attributesOutOfScope", a, b); }
  void provideAttributeValueUpdate(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleSet const& b, VLD const& c) override { record("provideAttributeValueUpdate", a, b, c); }
  void turnUpdatesOnForObjectInstance(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleSet const& b) override { record("turnUpdatesOnForObjectInstance", a, b); }
  void turnUpdatesOnForObjectInstance(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleSet const& b, std::wstring const& c) override { record("turnUpdatesOnForObjectInstance", a, b, c); }
  void turnUpdatesOffForObjectInstance(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleSet const& b) override { record("turnUpdatesOffForObjectInstance", a, b); }
  void confirmAttributeTransportationTypeChange(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleSet b, rti1516e::TransportationType c) override { record("confirmAttributeTransportationTypeChange", a, b, c); }
  void reportAttributeTransportationType(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandle b, rti1516e::TransportationType c) override { record("reportAttributeTransportationType", a, b, c); }
  void confirmInteractionTransportationTypeChange(rti1516e::InteractionClassHandle a, rti1516e::TransportationType b) override { record("confirmInteractionTransportationTypeChange", a, b); }
  void reportInteractionTransportationType(rti1516e::FederateHandle a, rti1516e::InteractionClassHandle b, rti1516e::TransportationType c) override { record("reportInteractionTransportationType", a, b, c); }
  void requestAttributeOwnershipAssumption(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleSet const& b, VLD const& c) override { record("requestAttributeOwnershipAssumption", a, b, c); }
  void requestDivestitureConfirmation(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleSet const& b) override { record("requestDivestitureConfirmation", a, b); }
  void attributeOwnershipAcquisitionNotification(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleSet const& b, VLD const& c) override { record("attributeOwnershipAcquisitionNotification", a, b, c); }
  void attributeOwnershipUnavailable(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleSet const& b) override { record("attributeOwnershipUnavailable", a, b); }
  void requestAttributeOwnershipRelease(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleSet const& b, VLD const& c) override { record("requestAttributeOwnershipRelease", a, b, c); }
  void confirmAttributeOwnershipAcquisitionCancellation(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandleSet const& b) override { record("confirmAttributeOwnershipAcquisitionCancellation", a, b); }
  void informAttributeOwnership(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandle b, rti1516e::FederateHandle c) override { record("informAttributeOwnership", a, b, c); }
  void attributeIsNotOwned(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandle b) override { record("attributeIsNotOwned", a, b); }
  void attributeIsOwnedByRTI(rti1516e::ObjectInstanceHandle a, rti1516e::AttributeHandle b) override { record("attributeIsOwnedByRTI", a, b); }
  void timeRegulationEnabled(LT const& a) override { record("timeRegulationEnabled", a); }
  void timeConstrainedEnabled(LT const& a) override { record("timeConstrainedEnabled", a); }
  void timeAdvanceGrant(LT const& a) override { record("timeAdvanceGrant", a); }
  void requestRetraction(rti1516e::MessageRetractionHandle a) override { record("requestRetraction", a); }
};

}  // namespace testing
}  // namespace ostra1516e

#endif  // OSTRA_TESTS_RECORDINGAMBASSADOR_H
