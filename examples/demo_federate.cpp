#include "demo_federate.h"

#include <algorithm>

void Roster::arrive() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (missing_ > 0 && --missing_ == 0) arrived_.notify_all();
}

bool Roster::waitForAll(std::chrono::seconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return arrived_.wait_for(lock, timeout, [this] { return missing_ == 0; });
}

DemoFederate::DemoFederate(std::wstring name, std::wstring type, bool conductor)
    : name_(std::move(name)), type_(std::move(type)), conductor_(conductor) {}

DemoFederate::~DemoFederate() = default;

bool DemoFederate::run(DemoSettings const& settings) {
  settings_ = &settings;
  bool arrived = false;
  try {
    // One ambassador per federate. The empty local settings designator of connect means
    // the federation engine embedded in this process: nothing to start.
    rti1516e::RTIambassadorFactory factory;
    rti_ = factory.createRTIambassador();
    rti_->connect(*this, rti1516e::HLA_EVOKED);

    // Every federate tries to create the federation; all but the first find it created.
    try {
      rti_->createFederationExecution(settings.federation, settings.fomPath, L"HLAinteger64Time");
    } catch (rti1516e::FederationExecutionAlreadyExists const&) {
      // another federate was first
    }
    rti_->joinFederationExecution(name_, type_, settings.federation);
    joined_ = true;

    declare();
    settings.roster->arrive();
    arrived = true;
    if (!settings.roster->waitForAll(std::chrono::seconds(10))) {
      throw std::runtime_error("the other federates did not join within ten seconds");
    }
    synchronize(L"ReadyToRun");

    for (int n = 1; n <= settings.steps; ++n) {
      step(n);
      endStep(n);
    }

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
  // Let the others go on without us, and leave the federation as well as we can.
  if (!arrived) settings.roster->arrive();
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
  }
  rti_->disconnect();
  rti_.reset();
}

void DemoFederate::endStep(int) { rti_->evokeMultipleCallbacks(0.02, 0.05); }

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

void writeTable(std::wostream& out, std::vector<std::vector<std::wstring>> const& rows) {
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
