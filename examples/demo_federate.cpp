#include "demo_federate.h"

#include <RTI/time/HLAinteger64Interval.h>

#include <algorithm>

namespace {

// How far ahead of its logical time a federate sends: one step.
int64_t const kLookahead = 1;

int64_t timeOf(rti1516e::LogicalTime const& time) {
  return dynamic_cast<rti1516e::HLAinteger64Time const&>(time).getTime();
}

// The label of the save taken after a step. Only the conductor needs it: the others learn
// it from the RTI's callbacks.
std::wstring saveLabel(int step) { return L"Step" + std::to_wstring(step); }

// Why a save or a restore failed, as the RTI's callbacks say it.
std::wstring reasonText(rti1516e::SaveFailureReason reason) {
  static wchar_t const* const names[] = {
      L"the RTI could not save (its log says why)", L"a federate could not save its state",
      L"a federate resigned during the save", L"the RTI lost a federate during the save",
      L"the save time could not be honored", L"the save was aborted"};
  return size_t(reason) < sizeof names / sizeof *names ? names[reason] : L"an unknown reason";
}

std::wstring reasonText(rti1516e::RestoreFailureReason reason) {
  static wchar_t const* const names[] = {
      L"the RTI could not restore", L"a federate could not restore its state",
      L"a federate resigned during the restore", L"the RTI lost a federate during the restore",
      L"the restore was aborted"};
  return size_t(reason) < sizeof names / sizeof *names ? names[reason] : L"an unknown reason";
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
      if (n == settings.saveAfterStep) saveFederation(n);
      // The restore takes the federation back to the save: the steps go on after that one.
      if (n == settings.restoreAfterStep && !restored_) n = restoreFederation(n);
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

// After step n every federate waits here for the save. The conductor asks for it at its
// logical time, n: the RTI begins it once every constrained federate has been granted that
// time, and grants nothing more until it has ended. Nothing is in flight then: all that
// was sent in the steps so far has arrived, and nothing of the next step has been sent.
void DemoFederate::saveFederation(int n) {
  if (conductor_)
    rti_->requestFederationSave(saveLabel(n), rti1516e::HLAinteger64Time(time_));
  evokeUntil(L"the federation save to begin", [&] {
    if (saveResult_ == Result::failed) throw failure(failure_);
    return !saveLabel_.empty();
  });
  rti_->federateSaveBegun();
  out_ << L"  the federation saves " << saveLabel_ << L" after step " << n << L", at time "
       << time_ << L"\n";
  savedAt_[saveLabel_] = {n, time_};
  saveState(saveLabel_);
  rti_->federateSaveComplete();
  evokeUntil(L"the federation to be saved", [&] { return saveResult_ != Result::pending; });
  if (saveResult_ == Result::failed) throw failure(failure_);
  saveLabel_.clear();
  saveResult_ = Result::pending;
}

// After step n every federate waits here for the restore of the save taken after step
// saveAfterStep, which the conductor asks for. The RTI puts back its side of the federation
// as it was saved (the objects and who owns what, each federate's time, the messages it
// held), then each federate takes back its own state; the step it returns is the one
// after which the save was taken.
int DemoFederate::restoreFederation(int n) {
  if (conductor_) rti_->requestFederationRestore(saveLabel(settings_->saveAfterStep));
  evokeUntil(L"the federation restore to begin", [&] {
    if (restoreResult_ == Result::failed) throw failure(failure_);
    return !restoreLabel_.empty();
  });
  auto const saved = savedAt_.find(restoreLabel_);
  if (saved == savedAt_.end()) {
    rti_->federateRestoreNotComplete();
    throw failure(L"has no state saved as " + restoreLabel_);
  }
  out_ << L"  ran on through step " << n << L"; the federation restores " << restoreLabel_
       << L": back after step " << saved->second.step << L", at time " << saved->second.time
       << L"\n";
  restoreState(restoreLabel_);
  time_ = saved->second.time;
  rti_->federateRestoreComplete();
  evokeUntil(L"the federation to be restored",
             [&] { return restoreResult_ != Result::pending; });
  if (restoreResult_ == Result::failed) throw failure(failure_);
  restored_ = true;
  // The RTI's time is the federate's again: the next step sends and advances from it.
  rti1516e::HLAinteger64Time now;
  rti_->queryLogicalTime(now);
  if (now.getTime() != time_)
    throw failure(L"is at time " + std::to_wstring(now.getTime()) + L" after the restore, not " +
                  std::to_wstring(time_));
  restoreLabel_.clear();
  return saved->second.step;
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

void DemoFederate::initiateFederateSave(std::wstring const& label) { saveLabel_ = label; }

void DemoFederate::initiateFederateSave(std::wstring const& label, rti1516e::LogicalTime const&) {
  saveLabel_ = label;
}

void DemoFederate::federationSaved() { saveResult_ = Result::succeeded; }

void DemoFederate::federationNotSaved(rti1516e::SaveFailureReason reason) {
  saveResult_ = Result::failed;
  failure_ = L"the federation was not saved: " + reasonText(reason);
}

void DemoFederate::requestFederationRestoreFailed(std::wstring const& label) {
  restoreResult_ = Result::failed;
  failure_ = L"the RTI cannot restore " + label + L" (the server's or the federate's log says why)";
}

void DemoFederate::initiateFederateRestore(std::wstring const& label, std::wstring const&,
                                           rti1516e::FederateHandle) {
  restoreLabel_ = label;
}

void DemoFederate::federationRestored() { restoreResult_ = Result::succeeded; }

void DemoFederate::federationNotRestored(rti1516e::RestoreFailureReason reason) {
  restoreResult_ = Result::failed;
  failure_ = L"the federation was not restored: " + reasonText(reason);
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
    if (!failure_.empty()) throw failure(failure_);
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
  return failure(L"waited ten seconds for " + what);
}

std::runtime_error failure(std::wstring const& text) {
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
