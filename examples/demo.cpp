// demo: a federation of four federates, each with its own ambassador.
//
//   demo [FOM]                              four threads of this process, connected to the
//                                           federation engine embedded in it
//   demo --rti rti://HOST:PORT [FOM]        four processes (this program again, once for
//                                           each federate), connected to the federation
//                                           server at HOST:PORT
//   demo --rti rti://HOST:PORT --federate NAME [FOM]
//                                           the federate NAME alone, in this process
//
//   cars, trucks   vehicle simulators: each registers two named Vehicle objects and moves
//                  them every step; each watches the other's vehicles. After step 2 the
//                  trucks simulator hands Truck-2 to the cars simulator (ownership
//                  transfer): cars moves it from step 3 on and deletes it at the end
//   monitor        a traffic monitor: watches every vehicle and every message, and
//                  conducts (registers the synchronization points)
//   radio          sends a Message every step and listens to the others' messages
//
// After step 3 the monitor asks for a federation save, and every federate keeps its own
// state (the step, its vehicles, what it has seen and heard) under the save's label; after
// step 4 the monitor asks for a restore of it: the RTI puts the federation back as it was
// at the save, each federate takes its own state back, and step 4 runs again. The monitor
// prints its table at the save and after the restore: the same rows.
//
// The federation is time-managed (HLAinteger64Time): in step n every federate sends at
// time n and then advances to it, and the monitor and the radio write down the time of
// everything they receive.
//
// The object model is fom/Demo.xml, or the module FOM. While the federation runs, each
// federate writes what it sees into its own transcript; the transcripts are printed one
// after another at the end, so that the federates' lines do not interleave.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <thread>

#include "demo_federate.h"
#include "demo_values.h"

extern char** environ;  // the environment, which the federates' processes inherit

namespace {

std::wstring const kVehicle = L"Vehicle";
std::wstring const kMessage = L"Message";

// A Message as a receiver saw it.
struct Heard {
  int step;
  std::wstring from;  // the From parameter
  std::wstring text;
  std::wstring sender;  // the federate that sent it, conveyed by the RTI
};

// Reads a Message; from and text are the receiver's handles of its two parameters.
Heard decodeMessage(rti1516e::ParameterHandleValueMap const& values, rti1516e::ParameterHandle from,
                    rti1516e::ParameterHandle text, rti1516e::VariableLengthData const& tag) {
  Heard heard{0, L"?", L"?", L"?"};
  try {
    heard.step = decodeStep(tag);
    auto f = values.find(from);
    if (f != values.end()) heard.from = decodeText(f->second);
    auto t = values.find(text);
    if (t != values.end()) heard.text = decodeText(t->second);
  } catch (rti1516e::EncoderException const& e) {
    heard.text = L"(undecodable: " + e.what() + L")";
  }
  return heard;
}

// "A", "A and B", "A, B and C".
std::wstring listText(std::vector<std::wstring> const& items) {
  std::wstring text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? L" and " : L", ";
    text += items[i];
  }
  return text;
}

// One vehicle changes hands while the federation runs. Right after step afterStep, when
// both simulators have been granted time afterStep, the simulator `to` asks for the vehicle
// and the simulator `from` releases it; from the next step on, `to` moves it and `from`
// watches it like any other vehicle.
struct Handover {
  std::wstring object;    // the object instance name
  std::wstring from, to;  // the simulators that give and take it
  int afterStep;
};

// ---------------------------------------------------------------------------------------
// A vehicle simulator owns a few vehicles, moves them in a straight line every step and
// watches the vehicles of the other simulators. As the handover says, it gives one of its
// vehicles to another simulator, or takes one over from another.
class VehicleSimulator : public DemoFederate {
 public:
  struct Spec {
    std::wstring instanceName;  // the object instance name, unique in the federation
    std::wstring name;          // the Name attribute
    Position start;             // where it would have been at step 0
    Position velocity;          // metres per step
  };

  VehicleSimulator(std::wstring name, std::vector<Spec> const& vehicles, Handover handover)
      : DemoFederate(std::move(name), L"VehicleSimulator", false), handover_(std::move(handover)) {
    for (auto const& spec : vehicles)
      state_.vehicles.push_back({spec, rti1516e::ObjectInstanceHandle()});
  }

 protected:
  void declare() override {
    vehicle_ = rti().getObjectClassHandle(kVehicle);
    nameAttribute_ = rti().getAttributeHandle(vehicle_, L"Name");
    positionAttribute_ = rti().getAttributeHandle(vehicle_, L"Position");
    message_ = rti().getInteractionClassHandle(kMessage);
    from_ = rti().getParameterHandle(message_, L"From");
    text_ = rti().getParameterHandle(message_, L"Text");

    rti1516e::AttributeHandleSet attributes;
    attributes.insert(nameAttribute_);
    attributes.insert(positionAttribute_);
    rti().publishObjectClassAttributes(vehicle_, attributes);
    rti().subscribeObjectClassAttributes(vehicle_, attributes);  // the other simulators' vehicles
    rti().publishInteractionClass(message_);
    rti().subscribeInteractionClass(message_);

    // What changes hands with a vehicle: all its attributes, and the privilege to delete
    // it, which every object has (an attribute of HLAobjectRoot). Whoever holds that
    // privilege at the end deletes the vehicle as it resigns.
    wholeVehicle_ = attributes;
    wholeVehicle_.insert(rti().getAttributeHandle(vehicle_, L"HLAprivilegeToDeleteObject"));

    // A name must be reserved before an object is registered with it. The answer comes
    // as a callback.
    for (auto const& vehicle : state_.vehicles)
      rti().reserveObjectInstanceName(vehicle.spec.instanceName);
    evokeUntil(L"the names to be reserved", [&] {
      if (!refused_.empty()) throw std::runtime_error("the name " + refused_ + " is taken");
      return reserved_.size() == state_.vehicles.size();
    });
    std::vector<std::wstring> registered;
    for (auto& vehicle : state_.vehicles) {
      vehicle.object = rti().registerObjectInstance(vehicle_, vehicle.spec.instanceName);
      registered.push_back(vehicle.spec.instanceName);
    }
    out_ << L"  reserved and registered " << listText(registered) << L"\n";
  }

  void objectInstanceNameReservationSucceeded(std::wstring const& name) override {
    reserved_.insert(name);
  }

  void objectInstanceNameReservationFailed(std::wstring const& name) override {
    refused_.assign(name.begin(), name.end());
  }

  // Moves the vehicles this simulator owns now.
  void step(int n) override {
    std::vector<std::wstring> moved;
    for (Vehicle& vehicle : state_.vehicles) {
      if (!vehicle.ours) continue;
      Spec const& spec = vehicle.spec;
      Position const at{spec.start.x + n * spec.velocity.x, spec.start.y + n * spec.velocity.y};
      rti1516e::AttributeHandleValueMap values;
      values[nameAttribute_] = encodeText(spec.name);
      values[positionAttribute_] = encodePosition(at);
      rti().updateAttributeValues(vehicle.object, values, encodeStep(n), sendTime());
      if (vehicle.firstStep == 0) vehicle.firstStep = n;
      vehicle.lastStep = n;
      moved.push_back(spec.instanceName);
    }
    if (n == settings().steps) sendMessage(n, listText(moved) + L" stopped");
  }

  // The handover, between step afterStep and the next, where both simulators are sure to
  // be (each has been granted time afterStep, and neither has sent anything of the next
  // step yet):
  //
  //   taker   attributeOwnershipAcquisition(vehicle, all of it)
  //   giver     <- requestAttributeOwnershipRelease
  //   giver   attributeOwnershipDivestitureIfWanted(vehicle, all of it)
  //   taker     <- attributeOwnershipAcquisitionNotification
  //
  // Ownership callbacks carry no time stamp: they arrive whenever the federate delivers
  // callbacks, the giver's request perhaps already during its advance. So each side waits
  // here for its own, and answers here rather than in the callback. The vehicle's last
  // update from the giver is stamped afterStep, the first from the taker afterStep + 1.
  void endStep(int n) override {
    DemoFederate::endStep(n);
    if (n != handover_.afterStep) return;
    if (name() == handover_.from) handOver(n);
    if (name() == handover_.to) takeOver(n);
  }

  // The giving side: waits until the other simulator asks for the vehicle, then releases
  // what is wanted of it (which must be all of it) and stops moving it.
  void handOver(int n) {
    std::vector<Vehicle>& vehicles = state_.vehicles;
    auto vehicle = std::find_if(vehicles.begin(), vehicles.end(), [&](Vehicle const& v) {
      return v.spec.instanceName == handover_.object && v.ours;
    });
    if (vehicle == vehicles.end()) throw failure(L"has no " + handover_.object + L" to hand over");
    evokeUntil(L"a request to release " + handover_.object,
               [&] { return state_.releaseRequested.count(vehicle->object) > 0; });
    rti1516e::AttributeHandleSet divested;
    rti().attributeOwnershipDivestitureIfWanted(vehicle->object, wholeVehicle_, divested);
    if (divested != wholeVehicle_) throw failure(L"could release only part of " + handover_.object);
    vehicle->ours = false;
    out_ << L"  handed " << handover_.object << L" to " << handover_.to << L" after step " << n
         << L"\n";
  }

  // The taking side: asks for the whole vehicle and waits until the RTI says it is ours.
  // It then moves the vehicle on from where the last update put it, at the speed the last
  // two updates showed. Those updates have all arrived: they were stamped with times up to
  // n, and the grant to time n came after them.
  void takeOver(int n) {
    rti1516e::ObjectInstanceHandle const object = rti().getObjectInstanceHandle(handover_.object);
    rti().attributeOwnershipAcquisition(object, wholeVehicle_, encodeStep(n));
    evokeUntil(L"the ownership of " + handover_.object, [&] {
      if (state_.unavailable.count(object))
        throw failure(handover_.from + L" kept " + handover_.object);
      return state_.acquired[object] == wholeVehicle_;
    });
    Seen const& seen = state_.seen[object];
    Position velocity;
    if (seen.previousStep > 0 && seen.lastStep > seen.previousStep) {
      int const steps = seen.lastStep - seen.previousStep;
      velocity = {(seen.last.x - seen.previous.x) / steps, (seen.last.y - seen.previous.y) / steps};
    }
    Position const start{seen.last.x - seen.lastStep * velocity.x,
                         seen.last.y - seen.lastStep * velocity.y};
    state_.vehicles.push_back({Spec{handover_.object, seen.name, start, velocity}, object});
    out_ << L"  took over " << handover_.object << L" from " << handover_.from << L" after step "
         << n << L"\n";
  }

  void requestAttributeOwnershipRelease(rti1516e::ObjectInstanceHandle object,
                                        rti1516e::AttributeHandleSet const&,
                                        rti1516e::VariableLengthData const&) override {
    state_.releaseRequested.insert(object);
  }

  void attributeOwnershipAcquisitionNotification(rti1516e::ObjectInstanceHandle object,
                                                 rti1516e::AttributeHandleSet const& secured,
                                                 rti1516e::VariableLengthData const&) override {
    state_.acquired[object].insert(secured.begin(), secured.end());
  }

  void attributeOwnershipUnavailable(rti1516e::ObjectInstanceHandle object,
                                     rti1516e::AttributeHandleSet const&) override {
    state_.unavailable.insert(object);
  }

  // Other simulators' vehicles. With the conveyProducingFederate switch on, the RTI calls
  // the variant that says who registered the object.
  void discoverObjectInstance(rti1516e::ObjectInstanceHandle object, rti1516e::ObjectClassHandle,
                              std::wstring const& name, rti1516e::FederateHandle) override {
    state_.seen[object].object = name;
  }

  void discoverObjectInstance(rti1516e::ObjectInstanceHandle object, rti1516e::ObjectClassHandle,
                              std::wstring const& name) override {
    state_.seen[object].object = name;
  }

  // Every vehicle this simulator does not move: its reflections say who sent them, so a
  // vehicle handed over shows its new owner.
  void reflectAttributeValues(rti1516e::ObjectInstanceHandle object,
                              rti1516e::AttributeHandleValueMap const& values,
                              rti1516e::VariableLengthData const& tag, rti1516e::OrderType,
                              rti1516e::TransportationType, rti1516e::LogicalTime const&,
                              rti1516e::OrderType,
                              rti1516e::SupplementalReflectInfo info) override {
    Seen& seen = state_.seen[object];
    // A vehicle this simulator registered and then handed over was never discovered.
    if (seen.object.empty()) seen.object = rti().getObjectInstanceName(object);
    ++seen.updates;
    if (info.hasProducingFederate) seen.from = federateName(info.producingFederate);
    try {
      auto name = values.find(nameAttribute_);
      if (name != values.end()) seen.name = decodeText(name->second);
      auto position = values.find(positionAttribute_);
      if (position != values.end()) {
        seen.previous = seen.last;
        seen.previousStep = seen.lastStep;
        seen.last = decodePosition(position->second);
        seen.lastStep = decodeStep(tag);
        seen.position = formatPosition(seen.last);
      }
    } catch (rti1516e::EncoderException const& e) {
      seen.name = L"(undecodable: " + e.what() + L")";
    }
  }

  void receiveInteraction(rti1516e::InteractionClassHandle,
                          rti1516e::ParameterHandleValueMap const& values,
                          rti1516e::VariableLengthData const& tag, rti1516e::OrderType,
                          rti1516e::TransportationType, rti1516e::LogicalTime const&,
                          rti1516e::OrderType, rti1516e::SupplementalReceiveInfo) override {
    state_.heard.push_back(decodeMessage(values, from_, text_, tag));
  }

  void report() override {
    out_ << L"  updated " << updatedText() << L"\n  saw the other vehicles (last values):\n";
    Table rows{{L"object", L"Name", L"Position", L"updates", L"from"}};
    for (auto const& entry : state_.seen) {
      Seen const& s = entry.second;
      rows.push_back({s.object, s.name, s.position, std::to_wstring(s.updates), s.from});
    }
    std::sort(rows.begin() + 1, rows.end());
    writeTable(out_, rows);

    std::map<std::wstring, int> count;
    for (auto const& heard : state_.heard) ++count[heard.from];
    out_ << L"  heard " << state_.heard.size() << L" messages:";
    wchar_t const* separator = L" ";
    for (auto const& c : count) {
      out_ << separator << c.second << L" from " << c.first;
      separator = L", ";
    }
    out_ << L"\n";
  }

  void saveState(std::wstring const& label) override { saves_[label] = state_; }
  void restoreState(std::wstring const& label) override { state_ = saves_.at(label); }

  // Deletes the vehicles whose privilege to delete it holds, the one taken over included.
  rti1516e::ResignAction resignAction() const override {
    return rti1516e::DELETE_OBJECTS_THEN_DIVEST;
  }

 private:
  void sendMessage(int n, std::wstring const& text) {
    rti1516e::ParameterHandleValueMap values;
    values[from_] = encodeText(name());
    values[text_] = encodeText(text);
    rti().sendInteraction(message_, values, encodeStep(n), sendTime());
  }

  // "Car-1 and Car-2 in steps 1 to 3, Truck-2 in step 3": the vehicles updated in the same
  // steps together.
  std::wstring updatedText() const {
    std::vector<std::pair<std::wstring, std::vector<std::wstring>>> groups;  // steps, vehicles
    for (Vehicle const& vehicle : state_.vehicles) {
      if (vehicle.firstStep == 0) continue;
      std::wstring const steps =
          vehicle.firstStep == vehicle.lastStep
              ? L"in step " + std::to_wstring(vehicle.firstStep)
              : L"in steps " + std::to_wstring(vehicle.firstStep) + L" to " +
                    std::to_wstring(vehicle.lastStep);
      if (groups.empty() || groups.back().first != steps) groups.push_back({steps, {}});
      groups.back().second.push_back(vehicle.spec.instanceName);
    }
    std::wstring text;
    for (auto const& group : groups)
      text += (text.empty() ? L"" : L", ") + listText(group.second) + L" " + group.first;
    return text;
  }

  // A vehicle this simulator registered or took over.
  struct Vehicle {
    Spec spec;
    rti1516e::ObjectInstanceHandle object;
    bool ours = true;                 // false once handed over
    int firstStep = 0, lastStep = 0;  // the steps it updated it in
  };

  // A vehicle as the updates of others showed it.
  struct Seen {
    std::wstring object, name, position;
    std::wstring from;  // who sent the last update
    int updates = 0;
    Position last, previous;  // the last two positions, and the steps they were sent in
    int lastStep = 0, previousStep = 0;
  };

  // What changes as the steps go on, and what a federation save keeps: the vehicles with
  // who moves them, what the handover exchanged, what was seen and heard of the others.
  // (What the simulator did, it writes into its transcript as it does it.)
  struct State {
    std::vector<Vehicle> vehicles;
    std::set<rti1516e::ObjectInstanceHandle> releaseRequested, unavailable;
    std::map<rti1516e::ObjectInstanceHandle, rti1516e::AttributeHandleSet> acquired;
    std::map<rti1516e::ObjectInstanceHandle, Seen> seen;
    std::vector<Heard> heard;
  };
  State state_;
  std::map<std::wstring, State> saves_;  // by label

  Handover const handover_;
  rti1516e::AttributeHandleSet wholeVehicle_;
  std::set<std::wstring> reserved_;
  std::string refused_;
  rti1516e::ObjectClassHandle vehicle_;
  rti1516e::AttributeHandle nameAttribute_, positionAttribute_;
  rti1516e::InteractionClassHandle message_;
  rti1516e::ParameterHandle from_, text_;
};

// ---------------------------------------------------------------------------------------
// The traffic monitor publishes nothing: it subscribes to vehicles and messages and keeps
// a row for everything it receives. It also conducts: it registers the synchronization
// points, and it stays until every vehicle it saw has been removed.
class TrafficMonitor : public DemoFederate {
 public:
  TrafficMonitor() : DemoFederate(L"monitor", L"TrafficMonitor", true) {}

 protected:
  void declare() override {
    vehicle_ = rti().getObjectClassHandle(kVehicle);
    nameAttribute_ = rti().getAttributeHandle(vehicle_, L"Name");
    positionAttribute_ = rti().getAttributeHandle(vehicle_, L"Position");
    message_ = rti().getInteractionClassHandle(kMessage);
    from_ = rti().getParameterHandle(message_, L"From");
    text_ = rti().getParameterHandle(message_, L"Text");

    rti1516e::AttributeHandleSet attributes;
    attributes.insert(nameAttribute_);
    attributes.insert(positionAttribute_);
    rti().subscribeObjectClassAttributes(vehicle_, attributes);
    rti().subscribeInteractionClass(message_);
  }

  void step(int) override {}  // the monitor only listens

  void discoverObjectInstance(rti1516e::ObjectInstanceHandle object,
                              rti1516e::ObjectClassHandle theClass, std::wstring const& name,
                              rti1516e::FederateHandle producer) override {
    discover(object, theClass, name, federateName(producer));
  }

  void discoverObjectInstance(rti1516e::ObjectInstanceHandle object,
                              rti1516e::ObjectClassHandle theClass,
                              std::wstring const& name) override {
    discover(object, theClass, name, L"?");
  }

  void reflectAttributeValues(rti1516e::ObjectInstanceHandle object,
                              rti1516e::AttributeHandleValueMap const& values,
                              rti1516e::VariableLengthData const& tag, rti1516e::OrderType,
                              rti1516e::TransportationType, rti1516e::LogicalTime const& time,
                              rti1516e::OrderType receivedOrder,
                              rti1516e::SupplementalReflectInfo info) override {
    count(receivedOrder);
    Known const& known = state_.known[object];
    std::wstring step = L"?", name = L"-", position = L"-";
    try {
      step = std::to_wstring(decodeStep(tag));
      auto n = values.find(nameAttribute_);
      if (n != values.end()) name = decodeText(n->second);
      auto p = values.find(positionAttribute_);
      if (p != values.end()) position = formatPosition(decodePosition(p->second));
    } catch (rti1516e::EncoderException const& e) {
      name = L"(undecodable: " + e.what() + L")";
    }
    std::wstring const from =
        info.hasProducingFederate ? federateName(info.producingFederate) : L"?";
    state_.reflections.push_back(
        {timeText(time), step, known.object, known.className, name, position, from});
  }

  void removeObjectInstance(rti1516e::ObjectInstanceHandle object,
                            rti1516e::VariableLengthData const&, rti1516e::OrderType,
                            rti1516e::SupplementalRemoveInfo) override {
    state_.removed.insert(state_.known[object].object);
    state_.present.erase(object);
  }

  void receiveInteraction(rti1516e::InteractionClassHandle theClass,
                          rti1516e::ParameterHandleValueMap const& values,
                          rti1516e::VariableLengthData const& tag, rti1516e::OrderType,
                          rti1516e::TransportationType, rti1516e::LogicalTime const& time,
                          rti1516e::OrderType receivedOrder,
                          rti1516e::SupplementalReceiveInfo info) override {
    count(receivedOrder);
    Heard heard = decodeMessage(values, from_, text_, tag);
    if (info.hasProducingFederate) heard.sender = federateName(info.producingFederate);
    state_.messages.push_back({timeText(time), std::to_wstring(heard.step),
                               rti().getInteractionClassName(theClass), heard.from, heard.text,
                               heard.sender});
  }

  // The simulators delete their vehicles as they resign, after "Done".
  void beforeResign() override {
    evokeUntil(L"the vehicles to be removed", [&] { return state_.present.empty(); });
  }

  // The monitor shows its table as it saves it, and again as it takes it back: the two are
  // the same, and the rows received between the save and the restore are gone.
  void saveState(std::wstring const& label) override {
    saves_[label] = state_;
    writeReflections(L"at the save");
  }

  void restoreState(std::wstring const& label) override {
    out_ << L"  before the restore its table had " << rowCounts() << L"\n";
    state_ = saves_.at(label);
    writeReflections(L"after the restore");
  }

  void report() override {
    out_ << L"  discovered " << state_.known.size()
         << L" objects; every reflection, in the order received (sorted within each time):\n";
    sortWithinEachTime(state_.reflections);
    writeTable(out_, state_.reflections);
    out_ << L"  every interaction, in the order received (sorted within each time):\n";
    sortWithinEachTime(state_.messages);
    writeTable(out_, state_.messages);
    out_ << L"  " << state_.timeStampOrdered << L" of " << state_.received
         << L" received in time-stamp order\n";
    out_ << L"  removed as their owners resigned:";
    for (auto const& object : state_.removed) out_ << L" " << object;
    out_ << L"\n";
  }

 private:
  // "12 reflections and 5 interactions": the rows of the two tables.
  std::wstring rowCounts() const {
    return std::to_wstring(state_.reflections.size() - 1) + L" reflections and " +
           std::to_wstring(state_.messages.size() - 1) + L" interactions";
  }

  void writeReflections(std::wstring const& when) {
    out_ << L"  its table " << when << L" (" << rowCounts() << L"):\n";
    Table rows = state_.reflections;
    sortWithinEachTime(rows);
    writeTable(out_, rows);
  }

  // Time-stamped messages arrive in time-stamp order only when they are of a time-stamp
  // ordered class and the sender regulates and the receiver is constrained.
  void count(rti1516e::OrderType receivedOrder) {
    ++state_.received;
    if (receivedOrder == rti1516e::TIMESTAMP) ++state_.timeStampOrdered;
  }

  void discover(rti1516e::ObjectInstanceHandle object, rti1516e::ObjectClassHandle theClass,
                std::wstring const& name, std::wstring const& from) {
    state_.known[object] = Known{name, rti().getObjectClassName(theClass), from};
    state_.present.insert(object);
  }

  struct Known {
    std::wstring object, className, from;
  };

  // What changes as the steps go on, and what a federation save keeps: the objects known
  // and present, and a row for everything received.
  struct State {
    std::map<rti1516e::ObjectInstanceHandle, Known> known;
    std::set<rti1516e::ObjectInstanceHandle> present;
    std::set<std::wstring> removed;
    int received = 0;
    int timeStampOrdered = 0;
    Table reflections{{L"time", L"step", L"object", L"class", L"Name", L"Position", L"from"}};
    Table messages{{L"time", L"step", L"interaction", L"From", L"Text", L"sent by"}};
  };
  State state_;
  std::map<std::wstring, State> saves_;  // by label
  rti1516e::ObjectClassHandle vehicle_;
  rti1516e::AttributeHandle nameAttribute_, positionAttribute_;
  rti1516e::InteractionClassHandle message_;
  rti1516e::ParameterHandle from_, text_;
};

// ---------------------------------------------------------------------------------------
// The radio publishes and subscribes Message: it says one line every step and writes down
// what the others say. (A federate never receives its own interactions.)
class Radio : public DemoFederate {
 public:
  Radio() : DemoFederate(L"radio", L"Radio", false) {}

 protected:
  void declare() override {
    message_ = rti().getInteractionClassHandle(kMessage);
    from_ = rti().getParameterHandle(message_, L"From");
    text_ = rti().getParameterHandle(message_, L"Text");
    rti().publishInteractionClass(message_);
    rti().subscribeInteractionClass(message_);
  }

  void step(int n) override {
    static wchar_t const* const script[] = {L"all units, report position", L"trucks, keep right",
                                            L"all units, stop at the junction"};
    std::wstring const text = script[(n - 1) % 3];
    rti1516e::ParameterHandleValueMap values;
    values[from_] = encodeText(name());
    values[text_] = encodeText(text);
    rti1516e::HLAinteger64Time const at = sendTime();
    rti().sendInteraction(message_, values, encodeStep(n), at);
    state_.log.push_back({timeText(at), std::to_wstring(n), L"said", text});
  }

  void receiveInteraction(rti1516e::InteractionClassHandle,
                          rti1516e::ParameterHandleValueMap const& values,
                          rti1516e::VariableLengthData const& tag, rti1516e::OrderType,
                          rti1516e::TransportationType, rti1516e::LogicalTime const& time,
                          rti1516e::OrderType, rti1516e::SupplementalReceiveInfo) override {
    Heard const heard = decodeMessage(values, from_, text_, tag);
    state_.log.push_back({timeText(time), std::to_wstring(heard.step), L"heard " + heard.from,
                          heard.text});
  }

  void saveState(std::wstring const& label) override { saves_[label] = state_; }
  void restoreState(std::wstring const& label) override { state_ = saves_.at(label); }

  void report() override {
    out_ << L"  said and heard, in the order it happened (sorted within each time):\n";
    sortWithinEachTime(state_.log);
    writeTable(out_, state_.log);
  }

 private:
  // What changes as the steps go on, and what a federation save keeps: what it said and
  // heard, as it happened.
  struct State {
    Table log{{L"time", L"step", L"who", L"Text"}};
  };
  State state_;
  std::map<std::wstring, State> saves_;  // by label
  rti1516e::InteractionClassHandle message_;
  rti1516e::ParameterHandle from_, text_;
};

// ---------------------------------------------------------------------------------------
// Running the federation.

// The four federates, in the order their transcripts are printed.
std::vector<std::unique_ptr<DemoFederate>> makeFederates() {
  // After step 2 the fire engine goes from the trucks simulator to the cars simulator.
  Handover const handover{L"Truck-2", L"trucks", L"cars", 2};
  std::vector<std::unique_ptr<DemoFederate>> federates;
  federates.push_back(std::make_unique<VehicleSimulator>(
      L"cars",
      std::vector<VehicleSimulator::Spec>{{L"Car-1", L"red sedan", {0, 0}, {12, 0}},
                                          {L"Car-2", L"blue van", {0, 4}, {9, 0.5}}},
      handover));
  federates.push_back(std::make_unique<VehicleSimulator>(
      L"trucks",
      std::vector<VehicleSimulator::Spec>{{L"Truck-1", L"milk truck", {100, 0}, {-6, 0}},
                                          {L"Truck-2", L"fire engine", {100, 4}, {-10, 0}}},
      handover));
  federates.push_back(std::make_unique<TrafficMonitor>());
  federates.push_back(std::make_unique<Radio>());
  return federates;
}

// How one federate's life went, wherever it ran.
struct Outcome {
  std::wstring text;  // what is printed for it: a heading, then its transcript
  bool succeeded = false;
  bool destroyed = false;  // it was the last one out and destroyed the federation
};

std::wstring heading(DemoFederate const& federate) {
  return L"\n" + federate.name() + L" (" + federate.type() + L"):\n";
}

Outcome outcomeOf(DemoFederate const& federate, bool succeeded) {
  return {heading(federate) + federate.transcript(), succeeded, federate.destroyedFederation()};
}

// Runs every federate on a thread of its own, in this process.
std::vector<Outcome> runOnThreads(std::vector<std::unique_ptr<DemoFederate>> const& federates,
                                  DemoSettings const& settings) {
  std::vector<char> succeeded(federates.size(), 0);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < federates.size(); ++i) {
    threads.emplace_back([&, i] { succeeded[i] = federates[i]->run(settings); });
  }
  for (auto& thread : threads) thread.join();
  std::vector<Outcome> outcomes;
  for (size_t i = 0; i < federates.size(); ++i)
    outcomes.push_back(outcomeOf(*federates[i], succeeded[i]));
  return outcomes;
}

// Text for std::wcout, which in the C locale writes ASCII only (and nothing more after a
// character it cannot write): any other byte becomes '?'.
std::wstring widen(std::string const& text) {
  std::wstring wide;
  for (unsigned char c : text) wide += c < 0x80 ? wchar_t(c) : L'?';
  return wide;
}

// Everything written to a file, from its start.
std::string contents(std::FILE* file) {
  std::string text;
  std::rewind(file);
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  return text;
}

// One federate's process: this program again, with --federate. Its output goes to
// temporary files, read once it has ended.
struct Child {
  pid_t pid = -1;
  std::FILE* out = nullptr;
  std::FILE* err = nullptr;
  int status = 0;
  std::string failure;  // what went wrong with the process itself
};

// A child that has not ended within this time is killed. Each of its waits gives up after
// ten seconds by itself, so this only ends one that hangs.
auto const kChildTimeLimit = std::chrono::seconds(60);

void start(Child& child, std::vector<std::string> const& arguments) {
  child.out = std::tmpfile();
  child.err = std::tmpfile();
  if (!child.out || !child.err) {
    child.failure = std::string("could not get a temporary file: ") + std::strerror(errno);
    return;
  }
  // The child gets them as its stdout and stderr; no other child inherits them.
  fcntl(fileno(child.out), F_SETFD, FD_CLOEXEC);
  fcntl(fileno(child.err), F_SETFD, FD_CLOEXEC);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fileno(child.out), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fileno(child.err), STDERR_FILENO);
  std::vector<char*> argv;
  for (auto const& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  int const error =
      posix_spawn(&child.pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    child.pid = -1;
    child.failure = std::string("could not be started: ") + std::strerror(error);
  }
}

// Waits until every child has ended, killing the ones that outlive kChildTimeLimit.
void waitForAll(std::vector<Child>& children) {
  auto const deadline = std::chrono::steady_clock::now() + kChildTimeLimit;
  for (;;) {
    bool running = false;
    for (Child& child : children) {
      if (child.pid < 0) continue;
      pid_t const ended = waitpid(child.pid, &child.status, WNOHANG);
      if (ended == child.pid) {
        child.pid = -1;
      } else if (ended < 0 && errno != EINTR) {
        child.pid = -1;
        child.failure = std::string("cannot be waited for: ") + std::strerror(errno);
      } else if (std::chrono::steady_clock::now() > deadline) {
        kill(child.pid, SIGKILL);
        waitpid(child.pid, &child.status, 0);
        child.pid = -1;
        child.failure = "was killed after " + std::to_string(kChildTimeLimit.count()) +
                        " seconds";
      } else {
        running = true;
      }
    }
    if (!running) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

// Runs every federate in a process of its own: this program again, with --federate NAME
// and the given arguments (--rti and the module).
std::vector<Outcome> runInProcesses(std::vector<std::unique_ptr<DemoFederate>> const& federates,
                                    DemoSettings const& settings,
                                    std::vector<std::string> const& arguments) {
  std::vector<Child> children(federates.size());
  for (size_t i = 0; i < federates.size(); ++i) {
    std::string const name(federates[i]->name().begin(), federates[i]->name().end());
    std::vector<std::string> childArguments{"demo", "--federate", name};
    childArguments.insert(childArguments.end(), arguments.begin(), arguments.end());
    start(children[i], childArguments);
  }
  waitForAll(children);

  std::vector<Outcome> outcomes;
  for (size_t i = 0; i < federates.size(); ++i) {
    Child& child = children[i];
    // A child prints its heading and transcript, as this process would.
    Outcome outcome;
    outcome.text = child.out ? widen(contents(child.out)) : L"";
    if (outcome.text.empty()) outcome.text = heading(*federates[i]);
    outcome.succeeded = child.failure.empty() && WIFEXITED(child.status) &&
                        WEXITSTATUS(child.status) == 0;
    outcome.destroyed =
        outcome.text.find(DemoFederate::destroyedLine(settings.federation)) != std::wstring::npos;
    if (!outcome.succeeded) {
      std::wstring why = widen(child.failure);
      if (why.empty() && WIFEXITED(child.status))
        why = L"exited with status " + std::to_wstring(WEXITSTATUS(child.status));
      if (why.empty() && WIFSIGNALED(child.status))
        why = L"was killed by signal " + std::to_wstring(WTERMSIG(child.status));
      outcome.text += L"  its process " + why + L"\n";
      std::string const errors = child.err ? contents(child.err) : "";
      if (!errors.empty()) outcome.text += L"  and wrote to stderr:\n" + widen(errors);
    }
    if (child.out) std::fclose(child.out);
    if (child.err) std::fclose(child.err);
    outcomes.push_back(outcome);
  }
  return outcomes;
}

int usage(char const* message) {
  std::cerr << "demo: " << message
            << "\nusage: demo [--rti rti://HOST:PORT [--federate NAME]] [FOM]" << std::endl;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // The options. Paths and names are taken to be plain ASCII.
  std::string rti, federateName, fom;
  for (int i = 1; i < argc; ++i) {
    std::string const argument = argv[i];
    if ((argument == "--rti" || argument == "--federate") && i + 1 == argc) {
      return usage((argument + " needs a value").c_str());
    } else if (argument == "--rti") {
      rti = argv[++i];
    } else if (argument == "--federate") {
      federateName = argv[++i];
    } else if (argument.compare(0, 1, "-") == 0 || !fom.empty()) {
      return usage(("unexpected argument " + argument).c_str());
    } else {
      fom = argument;
    }
  }
  if (!federateName.empty() && rti.empty())
    return usage("--federate needs --rti: the others must be able to reach it");

  std::vector<std::unique_ptr<DemoFederate>> const federates = makeFederates();
  // Four steps; the federation saves after step 3, runs on through step 4, restores the
  // save and runs step 4 again.
  DemoSettings settings{L"Demo", OSTRA_EXAMPLE_FOM, widen(rti), 4, 3, 4, {}};
  if (!fom.empty()) settings.fomPath = widen(fom);
  for (auto const& federate : federates) settings.federates.push_back(federate->name());

  // One federate alone, as runInProcesses starts each: it prints its heading and transcript
  // and says by its exit status whether it succeeded.
  if (!federateName.empty()) {
    for (auto const& federate : federates) {
      if (federate->name() != widen(federateName)) continue;
      bool const succeeded = federate->run(settings);
      std::wcout << outcomeOf(*federate, succeeded).text << std::flush;
      return succeeded ? 0 : 1;
    }
    return usage(("no federate named " + federateName + " (cars, trucks, monitor, radio)").c_str());
  }

  std::wstring const where =
      rti.empty()
          ? L"four federates in this process, each on its own thread with its own ambassador;"
          : L"four federates, each its own process, connected to the federation server at " +
                settings.rti + L";";
  std::wcout << L"Federation " << settings.federation << L", object model " << settings.fomPath
             << L"\n"
             << where
             << L"\nthey enable time regulation and constraint, synchronize at ReadyToRun,\nrun "
             << settings.steps << L" steps of one unit of logical time each (saving the federation"
             << L" after step " << settings.saveAfterStep << L",\nrestoring that save after step "
             << settings.restoreAfterStep << L" and going on from it), leave time management,\n"
             << L"synchronize at Done and resign" << std::endl;

  // The federates' processes get the same server and module.
  std::vector<std::string> childArguments{"--rti", rti};
  if (!fom.empty()) childArguments.push_back(fom);
  std::vector<Outcome> const outcomes = rti.empty() ? runOnThreads(federates, settings)
                                                    : runInProcesses(federates, settings,
                                                                     childArguments);

  int destroyed = 0;
  bool ok = true;
  for (Outcome const& outcome : outcomes) {
    std::wcout << outcome.text;
    ok = ok && outcome.succeeded;
    destroyed += outcome.destroyed ? 1 : 0;
  }
  std::wcout << L"\n";
  if (!ok) {
    std::wcout << L"the demo failed" << std::endl;
    return 1;
  }
  if (destroyed != 1) {
    std::wcout << L"the federation was destroyed " << destroyed << L" times, not once" << std::endl;
    return 1;
  }
  std::wcout << L"all four resigned; the last one out destroyed federation " << settings.federation
             << std::endl;
  return 0;
}
