// demo_federate.h: what every federate of the demo federation does the same way.
//
// Each federate is an object with its own RTIambassador and its own callbacks (it is its
// own FederateAmbassador), and runs its whole life on one thread:
//
//   connect, create the federation (HLAinteger64Time) or find it created, join
//   declare()                      publish, subscribe, reserve names, register objects
//   enable time regulation (lookahead 1) and time constraint
//   the conductor waits until every other federate has joined
//   synchronize at "ReadyToRun"    nobody sends anything before everybody listens
//   step(1), endStep(1), ..., step(n), endStep(n)
//     after step saveAfterStep     the federation saves: the conductor asks, every federate
//                                  keeps its own state (saveState) and says it is done
//     after step restoreAfterStep  the federation restores that save, once: the RTI puts its
//                                  side back (time, objects, ownership), every federate
//                                  takes its own state back (restoreState), and the steps
//                                  go on from the one after the save
//   synchronize at "Done"          everything sent has arrived everywhere
//   beforeResign(), report()
//   resign, destroy the federation if it was the last one out, disconnect
//
// The federates may share one process (the federation engine embedded in it) or run in
// processes of their own, connected to a federation server: the life cycle is the same.
//
// The federation is time-managed: step n runs at logical time n - 1, stamps what it sends
// with sendTime() (time n, the earliest its lookahead allows), and endStep(n) advances to
// time n. Every federate regulates and is constrained, so a step's updates and messages
// reach every receiver in time-stamp order during its advance to time n, and none later.
//
// The callback model is HLA_EVOKED: callbacks run on the federate's own thread, inside
// evokeCallback, so a federate's state needs no lock.
#ifndef OSTRA_EXAMPLES_demo_federate_h
#define OSTRA_EXAMPLES_demo_federate_h

#include <RTI/NullFederateAmbassador.h>
#include <RTI/RTI1516.h>
#include <RTI/time/HLAinteger64Time.h>

#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

struct DemoSettings {
  std::wstring federation;  // the federation execution's name
  std::wstring fomPath;     // the object model module (fom/Demo.xml)
  // The local settings designator of connect: empty for the federation engine embedded in
  // this process, rti://HOST:PORT for a federation server.
  std::wstring rti;
  int steps;  // how many steps each federate runs
  // After step saveAfterStep the conductor asks for a federation save; after step
  // restoreAfterStep (later) for a restore of it, after which the steps go on from the one
  // after the save. 0: neither.
  int saveAfterStep;
  int restoreAfterStep;
  // The names of all the federates, this one included. The conductor registers the first
  // synchronization point only once every one of them has joined: a point is announced to
  // the federates joined when it is registered, and a later one would wait for it in vain.
  std::vector<std::wstring> federates;
};

class DemoFederate : public rti1516e::NullFederateAmbassador {
 public:
  // The conductor registers the synchronization points; exactly one federate is it.
  DemoFederate(std::wstring name, std::wstring type, bool conductor);
  ~DemoFederate() override;

  // The federate's whole life, on the calling thread. Returns false, with the reason in
  // the transcript, when something failed.
  bool run(DemoSettings const& settings);

  std::wstring const& name() const { return name_; }
  std::wstring const& type() const { return type_; }
  std::wstring transcript() const { return out_.str(); }
  bool destroyedFederation() const { return destroyed_; }

  // The line that ends the transcript of the federate that destroyed the federation. A
  // program that ran the federate in another process learns from it which one did.
  static std::wstring destroyedLine(std::wstring const& federation);

  void announceSynchronizationPoint(std::wstring const& label,
                                    rti1516e::VariableLengthData const& tag) override;
  void federationSynchronized(std::wstring const& label,
                              rti1516e::FederateHandleSet const& failed) override;
  void synchronizationPointRegistrationFailed(
      std::wstring const& label, rti1516e::SynchronizationPointFailureReason reason) override;
  void timeRegulationEnabled(rti1516e::LogicalTime const& time) override;
  void timeConstrainedEnabled(rti1516e::LogicalTime const& time) override;
  void timeAdvanceGrant(rti1516e::LogicalTime const& time) override;

  void initiateFederateSave(std::wstring const& label) override;
  void initiateFederateSave(std::wstring const& label, rti1516e::LogicalTime const& time) override;
  void federationSaved() override;
  void federationNotSaved(rti1516e::SaveFailureReason reason) override;
  void requestFederationRestoreFailed(std::wstring const& label) override;
  void initiateFederateRestore(std::wstring const& label, std::wstring const& federateName,
                               rti1516e::FederateHandle handle) override;
  void federationRestored() override;
  void federationNotRestored(rti1516e::RestoreFailureReason reason) override;

  // Time-stamp-order updates and interactions come with a retraction handle. The demo
  // never retracts, so they go to the variants without one, which the federates override.
  void reflectAttributeValues(rti1516e::ObjectInstanceHandle object,
                              rti1516e::AttributeHandleValueMap const& values,
                              rti1516e::VariableLengthData const& tag,
                              rti1516e::OrderType sentOrder,
                              rti1516e::TransportationType transportation,
                              rti1516e::LogicalTime const& time, rti1516e::OrderType receivedOrder,
                              rti1516e::MessageRetractionHandle,
                              rti1516e::SupplementalReflectInfo info) override;
  void receiveInteraction(rti1516e::InteractionClassHandle theClass,
                          rti1516e::ParameterHandleValueMap const& values,
                          rti1516e::VariableLengthData const& tag, rti1516e::OrderType sentOrder,
                          rti1516e::TransportationType transportation,
                          rti1516e::LogicalTime const& time, rti1516e::OrderType receivedOrder,
                          rti1516e::MessageRetractionHandle,
                          rti1516e::SupplementalReceiveInfo info) override;
  using rti1516e::NullFederateAmbassador::receiveInteraction;
  using rti1516e::NullFederateAmbassador::reflectAttributeValues;

 protected:
  virtual void declare() = 0;
  virtual void step(int n) = 0;
  // After step n the federate asks to advance to time n and delivers callbacks until the
  // RTI grants it; the others' messages of the step arrive meanwhile.
  virtual void endStep(int n);
  virtual void beforeResign() {}
  virtual void report() = 0;
  // A federation save keeps, and its restore brings back, what the federate knows of the
  // run so far: everything its transcript's tables are made of. The demo's federates keep
  // it in memory under the save's label, as their processes live on until the restore (a
  // federate restored after a restart would have to write it to a file of its own). The
  // transcript itself is not part of it: it tells what happened, the restore included.
  virtual void saveState(std::wstring const& label) = 0;
  virtual void restoreState(std::wstring const& label) = 0;
  // Owners of objects delete them as they resign.
  virtual rti1516e::ResignAction resignAction() const { return rti1516e::NO_ACTION; }

  // Delivers callbacks until done() holds. Throws std::runtime_error naming what it waited
  // for after ten seconds.
  template <typename Done>
  void evokeUntil(std::wstring const& what, Done done) {
    auto const deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) throw waitedTooLong(what);
      rti_->evokeCallback(0.1);  // one callback, or a tenth of a second without one
    }
  }

  // A federate's name for a handle from a callback; asked once, then remembered.
  std::wstring federateName(rti1516e::FederateHandle const& federate);

  rti1516e::RTIambassador& rti() { return *rti_; }
  DemoSettings const& settings() const { return *settings_; }

  // The time stamp of what the federate sends now: its logical time plus its lookahead.
  rti1516e::HLAinteger64Time sendTime() const;
  // A time as a table shows it: the integer alone.
  static std::wstring timeText(rti1516e::LogicalTime const& time);

  std::wostringstream out_;  // the transcript, printed once the federation is over

 private:
  void waitForTheOthers();
  void synchronize(std::wstring const& label);
  void leaveTimeManagement();
  void enableTimeManagement();
  void leave();
  void saveFederation(int step);
  int restoreFederation(int step);
  std::runtime_error waitedTooLong(std::wstring const& what) const;

  std::wstring name_;
  std::wstring type_;
  bool conductor_;
  DemoSettings const* settings_ = nullptr;
  std::unique_ptr<rti1516e::RTIambassador> rti_;
  bool joined_ = false;
  bool destroyed_ = false;
  std::set<std::wstring> announced_;
  std::set<std::wstring> synchronized_;
  std::wstring failure_;  // set by a callback that reports a failure
  bool regulating_ = false;
  bool constrained_ = false;
  bool advancing_ = false;
  int64_t time_ = 0;  // the logical time, as the last grant (or enabling) said
  // Where each save was taken: the step after which it was, and the logical time.
  struct SavedAt {
    int step;
    int64_t time;
  };
  std::map<std::wstring, SavedAt> savedAt_;
  bool restored_ = false;  // the federation has been restored (the demo restores it once)
  // The save or restore in progress, as its callbacks tell it: the label, and how it ended.
  std::wstring saveLabel_, restoreLabel_;
  enum class Result { pending, succeeded, failed };
  Result saveResult_ = Result::pending, restoreResult_ = Result::pending;
  std::map<rti1516e::FederateHandle, std::wstring> federateNames_;
};

// What a federate throws when its part of the story goes wrong; run() writes it into the
// transcript. The demo's names are plain ASCII.
std::runtime_error failure(std::wstring const& text);

typedef std::vector<std::vector<std::wstring>> Table;

// Writes rows as a table, the first row being the header, each column as wide as its
// widest cell, four spaces in front of every line.
void writeTable(std::wostream& out, Table const& rows);

// Sorts each run of rows (after the header) that share their first cell, a time, and
// keeps the runs in the order they came: what several federates send at one time arrives
// in any order, while the order of the times is the order in which the RTI delivered them.
void sortWithinEachTime(Table& rows);

#endif  // OSTRA_EXAMPLES_demo_federate_h
