// region_bench: attribute updates routed by region overlap, in one federation of the
// embedded engine, against the same updates routed without regions.
//
// A publisher federate owns --objects entities (1000), each updated within its own small
// update region (10 x 10 on the two dimensions X and Y, [0, 10000) each) at a fixed random
// place. --subscribers federates (4) hold --regions subscription regions between them (100;
// squares of --width, 1000) and subscribe the entities' position within them. Every step,
// each subscriber moves each of its regions by a random walk and commits them, the
// publisher updates every entity (16-byte value) and then sends a StepDone interaction
// (no regions: everyone gets it), and the step ends when every subscriber has it.
// Everything runs on HLA_IMMEDIATE federates; the subscribers count in their callbacks.
//
//   everywhere   no regions: every subscriber receives every update (the baseline)
//   regions      as above
//   static       the regions, never moved: what moving costs is regions minus static
//
// For each it prints updates routed per second (updates the engine decided on, sent by
// the publisher), reflections delivered per step, the share of (update, subscriber) pairs
// filtered out, and the time per step; then regions / everywhere and the cost of one region
// move. Options: --objects=N --subscribers=N --regions=N --width=N --steps=N (200)
// --repetitions=N (3). Medians of the repetitions.
#include <RTI/NullFederateAmbassador.h>
#include <RTI/RTI1516.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "Options.h"

namespace {

using namespace rti1516e;
using Clock = std::chrono::steady_clock;

long objectCount = 1000;
long subscriberCount = 4;
long regionCount = 100;
long regionWidth = 1000;
long stepCount = 200;
long repetitionCount = 3;
constexpr unsigned long kSpace = 10000;
constexpr unsigned long kEntitySize = 10;

class Counter : public NullFederateAmbassador {
 public:
  std::atomic<long> reflections{0};
  std::atomic<long> steps{0};

  void reflectAttributeValues(ObjectInstanceHandle, AttributeHandleValueMap const&, VariableLengthData const&,
                              OrderType, TransportationType, SupplementalReflectInfo) override {
    reflections.fetch_add(1, std::memory_order_relaxed);
  }
  void receiveInteraction(InteractionClassHandle, ParameterHandleValueMap const&, VariableLengthData const&, OrderType,
                          TransportationType, SupplementalReceiveInfo) override {
    steps.fetch_add(1, std::memory_order_release);
  }
  void discoverObjectInstance(ObjectInstanceHandle, ObjectClassHandle, std::wstring const&) override {}
};

struct Federate {
  std::unique_ptr<RTIambassador> rti;
  Counter counter;
  std::vector<RegionHandle> regions;
  std::vector<std::pair<unsigned long, unsigned long>> corners;  // lower X, lower Y of each region
};

enum class Mode { everywhere, regions, fixed };
char const* name(Mode mode) { return mode == Mode::everywhere ? "everywhere" : mode == Mode::regions ? "regions" : "static"; }

struct Result {
  double seconds = 0;      // the measured steps, start to last StepDone
  double moveSeconds = 0;  // of which in the subscribers' setRangeBounds and commit calls
  long reflections = 0;
};

RegionHandle square(RTIambassador& rti, DimensionHandle x, DimensionHandle y, unsigned long lx, unsigned long ly,
                    unsigned long size) {
  RegionHandle r = rti.createRegion({x, y});
  rti.setRangeBounds(r, x, RangeBounds(lx, lx + size));
  rti.setRangeBounds(r, y, RangeBounds(ly, ly + size));
  return r;
}

Result run(Mode mode, int repetition) {
  std::wstring const federation = L"RegionBench-" + std::to_wstring(repetition) + L"-" +
                                  std::wstring(name(mode), name(mode) + std::strlen(name(mode)));
  std::vector<std::unique_ptr<Federate>> feds;
  for (long i = 0; i <= subscriberCount; ++i) {
    auto fed = std::make_unique<Federate>();
    fed->rti = RTIambassadorFactory().createRTIambassador();
    fed->rti->connect(fed->counter, HLA_IMMEDIATE, L"");
    if (i == 0) fed->rti->createFederationExecution(federation, std::wstring(L"" OSTRA_REGION_BENCH_FOM));
    fed->rti->joinFederationExecution(L"fed" + std::to_wstring(i), L"bench", federation);
    feds.push_back(std::move(fed));
  }
  RTIambassador& pub = *feds[0]->rti;
  ObjectClassHandle const entity = pub.getObjectClassHandle(L"Entity");
  AttributeHandle const position = pub.getAttributeHandle(entity, L"Position");
  InteractionClassHandle const stepDone = pub.getInteractionClassHandle(L"StepDone");
  DimensionHandle const x = pub.getDimensionHandle(L"X"), y = pub.getDimensionHandle(L"Y");
  std::mt19937 random(42);
  auto place = [&](unsigned long size) { return std::uniform_int_distribution<unsigned long>(0, kSpace - size)(random); };

  for (long s = 1; s <= subscriberCount; ++s) {
    Federate& fed = *feds[s];
    fed.rti->subscribeInteractionClass(stepDone);
    if (mode == Mode::everywhere) {
      fed.rti->subscribeObjectClassAttributes(entity, {position});
      continue;
    }
    long const mine = regionCount / subscriberCount + (s <= regionCount % subscriberCount ? 1 : 0);
    RegionHandleSet set;
    for (long k = 0; k < mine; ++k) {
      fed.corners.emplace_back(place(regionWidth), place(regionWidth));
      fed.regions.push_back(square(*fed.rti, x, y, fed.corners.back().first, fed.corners.back().second, regionWidth));
      set.insert(fed.regions.back());
    }
    fed.rti->commitRegionModifications(set);
    fed.rti->subscribeObjectClassAttributesWithRegions(entity, {{{position}, set}});
  }
  pub.publishObjectClassAttributes(entity, {position});
  pub.publishInteractionClass(stepDone);
  std::vector<ObjectInstanceHandle> objects;
  for (long i = 0; i < objectCount; ++i) {
    if (mode == Mode::everywhere) {
      objects.push_back(pub.registerObjectInstance(entity));
    } else {
      RegionHandle r = square(pub, x, y, place(kEntitySize), place(kEntitySize), kEntitySize);
      pub.commitRegionModifications({r});
      objects.push_back(pub.registerObjectInstanceWithRegions(entity, {{{position}, {r}}}));
    }
  }

  std::uniform_int_distribution<long> walk(-regionWidth / 10, regionWidth / 10);
  char const value[16] = "position bytes.";
  AttributeHandleValueMap values{{position, VariableLengthData(value, sizeof value)}};
  VariableLengthData const tag("t", 1);
  Result result;
  long const warmup = std::max(10L, stepCount / 10);
  long done = 0;
  Clock::time_point start;
  for (long step = 0; step < warmup + stepCount; ++step) {
    if (step == warmup) {
      start = Clock::now();
      for (long s = 1; s <= subscriberCount; ++s) result.reflections -= feds[s]->counter.reflections.load();
    }
    if (mode == Mode::regions) {
      Clock::time_point const moving = Clock::now();
      for (long s = 1; s <= subscriberCount; ++s) {
        Federate& fed = *feds[s];
        for (size_t k = 0; k < fed.regions.size(); ++k) {
          auto clamp = [](long v) { return static_cast<unsigned long>(std::clamp(v, 0L, long(kSpace) - regionWidth)); };
          fed.corners[k] = {clamp(long(fed.corners[k].first) + walk(random)),
                            clamp(long(fed.corners[k].second) + walk(random))};
          fed.rti->setRangeBounds(fed.regions[k], x, RangeBounds(fed.corners[k].first, fed.corners[k].first + regionWidth));
          fed.rti->setRangeBounds(fed.regions[k], y,
                                  RangeBounds(fed.corners[k].second, fed.corners[k].second + regionWidth));
        }
        fed.rti->commitRegionModifications(RegionHandleSet(fed.regions.begin(), fed.regions.end()));
      }
      if (step >= warmup) result.moveSeconds += std::chrono::duration<double>(Clock::now() - moving).count();
    }
    for (ObjectInstanceHandle const& object : objects) pub.updateAttributeValues(object, values, tag);
    pub.sendInteraction(stepDone, {}, tag);
    ++done;
    for (long s = 1; s <= subscriberCount; ++s) {
      while (feds[s]->counter.steps.load(std::memory_order_acquire) < done) std::this_thread::yield();
    }
  }
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  for (long s = 1; s <= subscriberCount; ++s) result.reflections += feds[s]->counter.reflections.load();
  for (auto it = feds.rbegin(); it != feds.rend(); ++it) {
    (*it)->rti->resignFederationExecution(DELETE_OBJECTS_THEN_DIVEST);
  }
  feds[0]->rti->destroyFederationExecution(federation);
  for (auto& fed : feds) fed->rti->disconnect();
  return result;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> arguments(argv, argv + argc);
  using ostra1516e::bench::takeOption;
  takeOption(arguments, "--objects", &objectCount);
  takeOption(arguments, "--subscribers", &subscriberCount);
  takeOption(arguments, "--regions", &regionCount);
  takeOption(arguments, "--width", &regionWidth);
  takeOption(arguments, "--steps", &stepCount);
  takeOption(arguments, "--repetitions", &repetitionCount);
  if (arguments.size() > 1 || objectCount < 1 || subscriberCount < 1 || regionCount < subscriberCount ||
      regionWidth < 1 || regionWidth > long(kSpace) || stepCount < 1 || repetitionCount < 1) {
    std::cerr << "usage: region_bench [--objects=N] [--subscribers=N] [--regions=N (>= subscribers)]"
                 " [--width=1..10000] [--steps=N] [--repetitions=N]\n";
    return 1;
  }
  setenv("CLASSPATH", OSTRA_BENCH_CLASSPATH, 1);
  // The library finds the logical-time library's factories in this program.
  if (LogicalTimeFactoryFactory::makeLogicalTimeFactory(L"HLAinteger64Time").get() == nullptr) return 1;
  std::printf("%ld objects, %ld subscribers with %ld regions of %ld x %ld in %lu x %lu, %ld steps, %ld repetitions\n",
              objectCount, subscriberCount, regionCount, regionWidth, regionWidth, kSpace, kSpace, stepCount,
              repetitionCount);
  std::map<Mode, std::vector<double>> perStep, routed, delivered, moving;
  try {
    for (long rep = 0; rep < repetitionCount; ++rep) {
      for (Mode mode : {Mode::everywhere, Mode::regions, Mode::fixed}) {
        Result const r = run(mode, static_cast<int>(rep));
        perStep[mode].push_back(r.seconds / stepCount);
        routed[mode].push_back(objectCount * stepCount / r.seconds);
        delivered[mode].push_back(double(r.reflections) / stepCount);
        moving[mode].push_back(r.moveSeconds / stepCount);
        std::printf("  %-10s rep %ld: %8.2f ms/step, %9.0f updates/s, %7.0f reflections/step\n", name(mode), rep,
                    1e3 * r.seconds / stepCount, objectCount * stepCount / r.seconds, double(r.reflections) / stepCount);
        std::fflush(stdout);
      }
    }
  } catch (Exception const& e) {
    std::wcerr << L"region_bench: " << e.what() << L"\n";
    return 1;
  }
  double const all = double(objectCount) * subscriberCount;
  std::printf("\nMedians:\n  %-10s %12s %14s %12s %12s\n", "", "updates/s", "reflections", "filtered", "ms/step");
  for (Mode mode : {Mode::everywhere, Mode::regions, Mode::fixed}) {
    double const got = median(delivered[mode]);
    std::printf("  %-10s %12.0f %14.0f %11.1f%% %12.2f\n", name(mode), median(routed[mode]), got,
                100.0 * (1 - got / all), 1e3 * median(perStep[mode]));
  }
  double const base = median(perStep[Mode::everywhere]);
  double const moves = double(regionCount);
  std::printf("\nregions / everywhere, time per step: %.2f (static regions: %.2f)\n", median(perStep[Mode::regions]) / base,
              median(perStep[Mode::fixed]) / base);
  std::printf("one region move (set bounds on both dimensions and commit): %.1f us in the calls, %.1f us in all\n",
              1e6 * median(moving[Mode::regions]) / moves,
              1e6 * (median(perStep[Mode::regions]) - median(perStep[Mode::fixed])) / moves);
  return 0;
}
