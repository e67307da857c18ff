#include "demo_federate.h"

#include <RTI/time/HLAinteger64Interval.h>

#include <algorithm>

namespace {

// How far ahead of its logical time a federate sends: one step.
int64_t const kLookahead = 1;

int64_t timeOf(rti1516e::LogicalTime const& time) {
  return dynamic_cast<rti1516e::HLAinteger64Time const&>(time).getTime();
}

}  // namespace

DemoFederate::DemoFederate(std::wstring name, std::wstring type, bool conductor)
    : name_(std::move(name)), type_(std::move(type)), conductor_(conductor) {}

DemoFederate::~DemoFederate() = default;

bool DemoFederate::run(DemoSettings const& settings) {
  settings_ = &settings;
  try {
    // One ambassador per federate. The empty local settings designator means the
    // federation engine embedded in this process (nothing to start); rti://HOST:PORT a
    // federation server.
    rti1516e::RTIambassadorFactory factory;
    rti_ = factory.createRTIambassador();
    rti_->connect(*this, rti1516e::HLA_EVOKED, settings.rti);

    // Every federate tries to create the federation; all but the first find it created.
    try {
      rti_->createFederationExecution(settings.federation, settings.fomPath, L"HLAinteger64Time");
    } catch (rti1516e::FederationExecutionAlreadyExists const&) {
      // another federate was first
    }
    rti_->joinFederationExecution(name_, type_, settings.federation);
    joined_ = true;

    declare();
    enableTimeManagement();
    // The others achieve ReadyToRun only after they have declared, so the federation
    // reaches it only when everybody listens.
    if (conductor_) waitForTheOthers();
    synchronize(L"ReadyToRun");

    for (int n = 1; n <= settings.steps; ++n) {
      step(n);
      endStep(n);
    }
    leaveTimeManagement();

    synchronize(L"Done");
    beforeResign();
    report();
    leave();
    return true;
  } catch (rti1516e::Exception const& e) {
    out_ << L"  failed: " << e.what() << std::endl;
  } catch (std::exception const& e) {
    std::string const what = e.what();
    out_ << L"  failed: " << std::wstring(what.begin(), what.end()) << std::endl;
  }
  // Leave the federation as well as we can; the others give up waiting for us.
  try {
    leave();
  } catch (rti1516e::Exception const& e) {
    out_ << L"  and could not leave: " << e.what() << std::endl;
  }
  return false;
}

void DemoFederate::leave() {
  if (!rti_) return;
  if (joined_) {
    rti_->resignFederationExecution(resignAction());
    joined_ = false;
    // The last federate out destroys the federation; the others find members still joined
    // (or, racing the last one, the federation already gone).
    try {
      rti_->destroyFederationExecution(settings_->federation);
      destroyed_ = true;
    } catch (rti1516e::FederatesCurrentlyJoined const&) {
    } catch (rti1516e::FederationExecutionDoesNotExist const&) {
    }
    out_ << (destroyed_ ? destroyedLine(settings_->federation) : L"  resigned") << L"\n";
  }
  rti_->disconnect();
  rti_.reset();
}

// Regulating, the federate promises to send nothing below its logical time plus its
// lookahead; constrained, it receives time-stamped messages in time-stamp order and only
// as far as its grants go. Both answers come as callbacks.
void DemoFederate::enableTimeManagement() {
  rti_->enableTimeRegulation(rti1516e::HLAinteger64Interval(kLookahead));
  evokeUntil(L"time regulation to be enabled", [&] { return regulating_; });
  rti_->enableTimeConstrained();
  evokeUntil(L"time constraint to be enabled", [&] { return constrained_; });
}

// After the last step nothing more is time-stamped: the federate stops holding the others
// back, and receive-order messages (the removals when the others resign) reach it without
// advancing.
void DemoFederate::leaveTimeManagement() {
  rti_->disableTimeRegulation();
  rti_->disableTimeConstrained();
}

void DemoFederate::endStep(int n) {
  advancing_ = true;
  rti_->timeAdvanceRequest(rti1516e::HLAinteger64Time(n));
  evokeUntil(L"the advance to time " + std::to_wstring(n), [&] { return !advancing_; });
}

rti1516e::HLAinteger64Time DemoFederate::sendTime() const {
  return rti1516e::HLAinteger64Time(time_ + kLookahead);
}

std::wstring DemoFederate::timeText(rti1516e::LogicalTime const& time) {
  return std::to_wstring(timeOf(time));
}

void DemoFederate::timeRegulationEnabled(rti1516e::LogicalTime const& time) {
  time_ = timeOf(time);
  regulating_ = true;
}

void DemoFederate::timeConstrainedEnabled(rti1516e::LogicalTime const& time) {
  time_ = timeOf(time);
  constrained_ = true;
}

void DemoFederate::timeAdvanceGrant(rti1516e::LogicalTime const& time) {
  time_ = timeOf(time);
  advancing_ = false;
}

void DemoFederate::reflectAttributeValues(
    rti1516e::ObjectInstanceHandle object, rti1516e::AttributeHandleValueMap const& values,
    rti1516e::VariableLengthData const& tag, rti1516e::OrderType sentOrder,
    rti1516e::TransportationType transportation, rti1516e::LogicalTime const& time,
    rti1516e::OrderType receivedOrder, rti1516e::MessageRetractionHandle,
    rti1516e::SupplementalReflectInfo info) {
  reflectAttributeValues(object, values, tag, sentOrder, transportation, time, receivedOrder,
                         info);
}

void DemoFederate::receiveInteraction(
    rti1516e::InteractionClassHandle theClass, rti1516e::ParameterHandleValueMap const& values,
    rti1516e::VariableLengthData const& tag, rti1516e::OrderType sentOrder,
    rti1516e::TransportationType transportation, rti1516e::LogicalTime const& time,
    rti1516e::OrderType receivedOrder, rti1516e::MessageRetractionHandle,
    rti1516e::SupplementalReceiveInfo info) {
  receiveInteraction(theClass, values, tag, sentOrder, transportation, time, receivedOrder, info);
}

std::wstring DemoFederate::destroyedLine(std::wstring const& federation) {
  return L"  resigned last and destroyed federation " + federation;
}

// The RTI knows a federate's name from its join until its resignation: getFederateHandle
// throws NameNotFound before. A federate seen once counts as joined even if it has gone
// again (failed), so that the others are not held up; its failure shows in its transcript.
void DemoFederate::waitForTheOthers() {
  std::set<std::wstring> missing(settings_->federates.begin(), settings_->federates.end());
  missing.erase(name_);
  // What evokeUntil names if time runs out; it reads it then, so it names the late ones.
  std::wstring waitingFor = L"the other federates to join";
  evokeUntil(waitingFor, [&] {
    std::wstring late;
    for (auto it = missing.begin(); it != missing.end();) {
      try {
        rti_->getFederateHandle(*it);
        it = missing.erase(it);
      } catch (rti1516e::NameNotFound const&) {
        late += (late.empty() ? L"" : L", ") + *it++;
      }
    }
    waitingFor = late + L" to join";
    return missing.empty();
  });
}

void DemoFederate::synchronize(std::wstring const& label) {
  if (conductor_)
    rti_->registerFederationSynchronizationPoint(label, rti1516e::VariableLengthData());
  evokeUntil(L"\"" + label + L"\" to be announced", [&] {
    if (!failure_.empty()) throw std::runtime_error(std::string(failure_.begin(), failure_.end()));
    return announced_.count(label) > 0;
  });
  rti_->synchronizationPointAchieved(label);
  evokeUntil(L"the federation to reach \"" + label + L"\"",
             [&] { return synchronized_.count(label) > 0; });
}

void DemoFederate::announceSynchronizationPoint(std::wstring const& label,
                                                rti1516e::VariableLengthData const&) {
  announced_.insert(label);
}

void DemoFederate::federationSynchronized(std::wstring const& label,
                                          rti1516e::FederateHandleSet const&) {
  synchronized_.insert(label);
}

void DemoFederate::synchronizationPointRegistrationFailed(
    std::wstring const& label, rti1516e::SynchronizationPointFailureReason) {
  failure_ = L"could not register the synchronization point " + label;
}

std::wstring DemoFederate::federateName(rti1516e::FederateHandle const& federate) {
  auto known = federateNames_.find(federate);
  if (known != federateNames_.end()) return known->second;
  std::wstring const name = rti_->getFederateName(federate);
  federateNames_[federate] = name;
  return name;
}

std::runtime_error DemoFederate::waitedTooLong(std::wstring const& what) const {
  std::wstring const text = L"waited ten seconds for " + what;
  return std::runtime_error(std::string(text.begin(), text.end()));
}

void writeTable(std::wostream& out, Table const& rows) {
  std::vector<size_t> widths;
  for (auto const& row : rows) {
    widths.resize(std::max(widths.size(), row.size()));
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
  }
  for (auto const& row : rows) {
    std::wstring line = L"   ";
    for (size_t c = 0; c < row.size(); ++c) {
      line += L" " + row[c];
      if (c + 1 < row.size()) line += std::wstring(widths[c] - row[c].size() + 1, L' ');
    }
    out << line << L"\n";
  }
}

void sortWithinEachTime(Table& rows) {
  auto run = rows.begin() + std::min<size_t>(rows.size(), 1);
  while (run != rows.end()) {
    std::wstring const time = (*run)[0];
    auto const end =
        std::find_if(run, rows.end(), [&](auto const& row) { return row[0] != time; });
    std::sort(run, end);
    run = end;
  }
}
