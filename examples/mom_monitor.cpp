// mom_monitor: watches a running federation through the management object model alone.
//
//   mom_monitor [--rti rti://HOST:PORT] [--seconds N] [--leave-at LABEL] FEDERATION
//
// It joins FEDERATION (waiting up to N seconds, default 30, for it to exist), subscribes to
// the RTI's HLAmanager.HLAfederate objects, one for each joined federate, and asks for
// their values twice a second. Whenever the picture changes it prints a table of the
// federates: name, type, host, whether each regulates and is constrained, whether it is
// advancing, and its logical time. It stops when the other federates have all left (once
// one has been seen), or after N seconds, or when the synchronization point LABEL is
// announced: a federation whose last federate destroys it must not find the monitor still
// joined. Any other point it achieves at once, and it saves and restores (having nothing of
// its own to keep) as soon as asked, so that it holds nobody up.
#include <RTI/NullFederateAmbassador.h>
#include <RTI/RTI1516.h>
#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAopaqueData.h>

#include <chrono>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace rti1516e;

namespace {

// The attributes of HLAmanager.HLAfederate the table shows, in its column order.
wchar_t const* const kAttributes[] = {L"HLAfederateName",    L"HLAfederateType",   L"HLAfederateHost",
                                      L"HLAtimeRegulating",  L"HLAtimeConstrained", L"HLAtimeManagerState",
                                      L"HLAlogicalTime"};

class Monitor : public NullFederateAmbassador {
 public:
  explicit Monitor(RTIambassador& rti) : rti_(rti) {}

  void announceSynchronizationPoint(std::wstring const& label, VariableLengthData const&) override {
    announced_.push_back(label);
  }
  // It has nothing of its own to save or restore, and says so at once.
  void initiateFederateSave(std::wstring const&) override { save_ = true; }
  void initiateFederateSave(std::wstring const&, LogicalTime const&) override { save_ = true; }
  void initiateFederateRestore(std::wstring const&, std::wstring const&, FederateHandle) override { restore_ = true; }
  void answerSaveAndRestore() {
    if (save_) rti_.federateSaveBegun(), rti_.federateSaveComplete();
    if (restore_) rti_.federateRestoreComplete();
    save_ = restore_ = false;
  }

  // achieveAnnounced achieves the points announced since last called, but for leaveAt;
  // it tells whether that one was announced.
  bool achieveAnnounced(std::wstring const& leaveAt) {
    bool leave = false;
    for (auto const& label : announced_) {
      if (label == leaveAt) {
        leave = true;
      } else {
        rti_.synchronizationPointAchieved(label);
      }
    }
    announced_.clear();
    return leave;
  }

  void discoverObjectInstance(ObjectInstanceHandle object, ObjectClassHandle, std::wstring const&) override {
    federates_[object];
  }
  void removeObjectInstance(ObjectInstanceHandle object, VariableLengthData const&, OrderType,
                            SupplementalRemoveInfo) override {
    federates_.erase(object);
  }
  void reflectAttributeValues(ObjectInstanceHandle object, AttributeHandleValueMap const& values,
                              VariableLengthData const&, OrderType, TransportationType,
                              SupplementalReflectInfo) override {
    for (auto const& value : values) federates_[object][value.first] = value.second;
  }

  // table is the federates as text, one line each, in the order of their objects.
  std::wstring table(std::map<std::wstring, AttributeHandle> const& handles) {
    std::wostringstream out;
    out << std::left << std::setw(16) << L"federate" << std::setw(18) << L"type" << std::setw(18) << L"host"
        << std::setw(11) << L"regulating" << std::setw(12) << L"constrained" << std::setw(11) << L"advancing"
        << L"time\n";
    for (auto& federate : federates_) {
      auto value = [&](wchar_t const* name) { return federate.second[handles.at(name)]; };
      if (value(L"HLAfederateName").size() == 0) continue;  // its values have not come yet
      out << std::setw(16) << text(value(L"HLAfederateName")) << std::setw(18) << text(value(L"HLAfederateType"))
          << std::setw(18) << text(value(L"HLAfederateHost")) << std::setw(11) << yes(value(L"HLAtimeRegulating"))
          << std::setw(12) << yes(value(L"HLAtimeConstrained")) << std::setw(11)
          << yes(value(L"HLAtimeManagerState")) << time(value(L"HLAlogicalTime")) << L"\n";
    }
    return out.str();
  }
  size_t known() const { return federates_.size(); }

 private:
  static std::wstring text(VariableLengthData const& data) {
    HLAunicodeString decoded;
    decoded.decode(data);
    return decoded.get();
  }
  static std::wstring yes(VariableLengthData const& data) {
    if (data.size() == 0) return L"?";
    HLAinteger32BE decoded;
    decoded.decode(data);
    return decoded.get() != 0 ? L"yes" : L"no";
  }
  // time decodes an HLAlogicalTime: the time's own encoding inside a variable array of bytes.
  std::wstring time(VariableLengthData const& data) {
    if (data.size() == 0) return L"?";
    HLAopaqueData bytes;
    bytes.decode(data);
    auto decoded = rti_.getTimeFactory()->decodeLogicalTime(VariableLengthData(bytes.get(), bytes.dataLength()));
    return decoded->toString();
  }

  RTIambassador& rti_;
  std::vector<std::wstring> announced_;
  bool save_ = false, restore_ = false;
  std::map<ObjectInstanceHandle, std::map<AttributeHandle, VariableLengthData>> federates_;
};

int usage() {
  std::cerr << "usage: mom_monitor [--rti rti://HOST:PORT] [--seconds N] [--leave-at LABEL] FEDERATION"
            << std::endl;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::wstring designator, federation, leaveAt;
  int seconds = 30;
  for (int i = 1; i < argc; ++i) {
    std::string const arg = argv[i];
    if (arg == "--rti" && i + 1 < argc) {
      std::string const value = argv[++i];
      designator.assign(value.begin(), value.end());
    } else if (arg == "--leave-at" && i + 1 < argc) {
      std::string const value = argv[++i];
      leaveAt.assign(value.begin(), value.end());
    } else if (arg == "--seconds" && i + 1 < argc) {
      seconds = std::atoi(argv[++i]);
    } else if (arg.rfind("--", 0) != 0 && federation.empty()) {
      federation.assign(arg.begin(), arg.end());
    } else {
      return usage();
    }
  }
  if (federation.empty()) return usage();

  try {
    std::unique_ptr<RTIambassador> rti(RTIambassadorFactory().createRTIambassador().release());
    Monitor monitor(*rti);
    rti->connect(monitor, HLA_EVOKED, designator);
    auto const end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {  // the federation may not exist yet
      try {
        rti->joinFederationExecution(L"mom-monitor", L"monitor", federation);
        break;
      } catch (FederationExecutionDoesNotExist const&) {
        if (std::chrono::steady_clock::now() > end) throw;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
    }
    ObjectClassHandle const federateClass = rti->getObjectClassHandle(L"HLAmanager.HLAfederate");
    std::map<std::wstring, AttributeHandle> handles;
    AttributeHandleSet shown;
    for (wchar_t const* name : kAttributes) shown.insert(handles[name] = rti->getAttributeHandle(federateClass, name));
    rti->subscribeObjectClassAttributes(federateClass, shown);

    std::wstring last;
    bool seenOthers = false, leaving = false;
    auto ask = [&] {  // not while the federation saves or restores: it would be refused
      try {
        rti->requestAttributeValueUpdate(federateClass, shown, VariableLengthData());
      } catch (SaveInProgress const&) {
      } catch (RestoreInProgress const&) {
      }
    };
    while (std::chrono::steady_clock::now() < end && !leaving) {
      ask();
      rti->evokeMultipleCallbacks(0.5, 0.5);
      monitor.answerSaveAndRestore();
      leaving = monitor.achieveAnnounced(leaveAt);
      if (leaving) {  // the others wait at that point for it: one last look at them first
        ask();
        rti->evokeMultipleCallbacks(0.5, 0.5);
      }
      std::wstring const now = monitor.table(handles);
      if (now != last) std::wcout << now << std::endl;
      last = now;
      seenOthers |= monitor.known() > 1;
      if (seenOthers && monitor.known() <= 1) break;  // everyone else has left
    }
    std::wcout << (leaving ? L"leaving at " + leaveAt
                   : seenOthers ? L"the other federates have left" : L"no other federate joined") << std::endl;
    rti->resignFederationExecution(NO_ACTION);
    rti->disconnect();
    return 0;
  } catch (rti1516e::Exception const& e) {
    std::wcerr << L"mom_monitor: " << e.what() << std::endl;
    return 1;
  }
}
