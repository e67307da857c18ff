// time_bench: time advance grants and time-stamped updates between federates of one
// process, through the whole path (library, bridge, the real core and its embedded
// engine), against plain threads doing the same synchronization and against receive-order
// updates of the same federates.
//
// Every federate is regulating and constrained with lookahead 1 and runs on its own thread
// in HLA_EVOKED: it asks timeAdvanceRequest(t + 1) and evokes (evokeCallback(1.0), which
// waits inside the core for the next callback) until it is granted. That loop is nothing
// but RTI calls, so the time measured is the RTI's: the engine deciding the grant and the
// hand-over through the core's own callback queue to the waiting federate thread. (In
// HLA_IMMEDIATE the grant arrives on the core's delivery thread and the federate's thread
// would have to be woken by the benchmark's own condition variable: a second thread
// hand-over per grant that belongs to the benchmark, not the RTI.)
//
//   grants/<n>             n federates advance in steps of 1, --steps=N (20000) each.
//                          With lookahead 1, a grant to t + 1 needs every other federate to
//                          have asked for t + 1: the federation moves in lockstep.
//                          Figures: grants per second per federate and in all.
//   barrier/<n>            The same lockstep without an RTI: n plain threads pass a barrier
//                          (one mutex, one condition variable) once per step. The floor of
//                          that synchronization on this machine when waiters sleep, as the
//                          core's callback queue makes an evoking federate sleep.
//   spin_barrier/<n>       The same barrier passed by spinning on an atomic (yielding after
//                          a while, so that more threads than cores still progress): the
//                          floor when no thread sleeps.
//   updates/timestamp/<m>  Two such federates; A sends m updates (100-byte value) at t + 1
//                          before each request, B reflects them before its grant to t + 1.
//                          Figures: updates delivered per second (A's first send to B's
//                          last grant), B's grants per second.
//   updates/receive/<m>    The same loop and the same bytes with the updates in receive
//                          order (no time stamp): what ordering by time stamp adds.
//
// Each case runs --benchmark_repetitions times (default 5, interleaved); the federations
// are set up and warmed up once. The summary at the end gives medians, the ratios
// grants / barrier and timestamp / receive, and whether the goal (>= 100000 grants per
// second per federate with 2 federates) is met. Options of its own: --steps=N.
#include <RTI/NullFederateAmbassador.h>
#include <RTI/RTI1516.h>
#include <RTI/time/HLAinteger64Interval.h>
#include <RTI/time/HLAinteger64Time.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "BridgeOnly.h"
#include "Options.h"

namespace {

using namespace rti1516e;
using Clock = std::chrono::steady_clock;

long stepCount = 20000;
constexpr int kFederateCounts[] = {2, 8};
constexpr int kUpdatesPerStep[] = {1, 100};
constexpr size_t kValueSize = 100;
constexpr long kWarmUpSteps = 20000;  // at least, before the first measurement of each case

int64_t nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

[[noreturn]] void fail(char const* what, Exception const& e) {
  std::wcerr << L"time_bench: " << what << L": " << e.what() << std::endl;
  std::exit(1);
}

// A federate: its ambassador, the last time it was granted, and its reflections.
class Federate : public NullFederateAmbassador {
 public:
  std::unique_ptr<RTIambassador> rti;
  AttributeHandle payload;
  ObjectInstanceHandle own;
  int64_t time = 0;  // the federate's thread's own record of its logical time
  std::atomic<int64_t> granted{0};
  std::atomic<bool> enabled{false};
  std::atomic<int> discovered{0};
  std::atomic<uint64_t> reflections{0};
  std::atomic<uint64_t> wrong{0};

  void timeRegulationEnabled(LogicalTime const&) override { enabled = true; }
  void timeConstrainedEnabled(LogicalTime const&) override { enabled = true; }
  void timeAdvanceGrant(LogicalTime const& t) override {
    granted.store(dynamic_cast<HLAinteger64Time const&>(t).getTime(), std::memory_order_release);
  }
  void discoverObjectInstance(ObjectInstanceHandle, ObjectClassHandle, std::wstring const&) override { ++discovered; }
  void discoverObjectInstance(ObjectInstanceHandle, ObjectClassHandle, std::wstring const&, FederateHandle) override {
    ++discovered;
  }
  void reflectAttributeValues(ObjectInstanceHandle, AttributeHandleValueMap const& values, VariableLengthData const&,
                              OrderType, TransportationType, SupplementalReflectInfo) override {
    count(values);
  }
  void reflectAttributeValues(ObjectInstanceHandle, AttributeHandleValueMap const& values, VariableLengthData const&,
                              OrderType, TransportationType, LogicalTime const&, OrderType, MessageRetractionHandle,
                              SupplementalReflectInfo) override {
    count(values);
  }

  // evokeUntil delivers callbacks (waiting inside the core for each) until done holds.
  template <typename Done>
  void evokeUntil(Done done) {
    while (!done()) {
      if (rti->evokeCallback(1.0)) rti->evokeMultipleCallbacks(0.0, 1.0);
    }
  }

  // advance asks for time + 1 and waits for the grant.
  void advance() {
    ++time;
    rti->timeAdvanceRequest(HLAinteger64Time(time));
    evokeUntil([&] { return granted.load(std::memory_order_acquire) == time; });
  }

 private:
  void count(AttributeHandleValueMap const& values) {
    auto const found = values.find(payload);
    if (found == values.end() || found->second.size() != kValueSize) wrong.fetch_add(1, std::memory_order_relaxed);
    reflections.fetch_add(1, std::memory_order_relaxed);
  }
};

// A federation of n regulating and constrained federates (lookahead 1), integer time.
class Federation {
 public:
  Federation(std::wstring name, int n) : name_(std::move(name)), federates_(size_t(n)) {
    try {
      RTIambassadorFactory factory;
      for (Federate& f : federates_) {
        f.rti.reset(factory.createRTIambassador().release());
        f.rti->connect(f, HLA_EVOKED);
      }
      std::string const fom = OSTRA_TIME_BENCH_FOM;
      federates_[0].rti->createFederationExecution(name_, std::wstring(fom.begin(), fom.end()), L"HLAinteger64Time");
      for (size_t i = 0; i < federates_.size(); ++i) {
        Federate& f = federates_[i];
        f.rti->joinFederationExecution(L"F" + std::to_wstring(i), L"Bench", name_);
        ObjectClassHandle const objectClass = f.rti->getObjectClassHandle(L"BenchObject");
        f.payload = f.rti->getAttributeHandle(objectClass, L"Payload");
      }
      for (Federate& f : federates_) {
        f.enabled = false;
        f.rti->enableTimeRegulation(HLAinteger64Interval(1));
        f.evokeUntil([&] { return f.enabled.load(); });
        f.enabled = false;
        f.rti->enableTimeConstrained();
        f.evokeUntil([&] { return f.enabled.load(); });
      }
    } catch (Exception const& e) {
      fail("setting up the federation", e);
    }
  }

  ~Federation() {
    try {
      for (Federate& f : federates_) f.rti->resignFederationExecution(DELETE_OBJECTS);
      federates_[0].rti->destroyFederationExecution(name_);
      for (Federate& f : federates_) f.rti->disconnect();
    } catch (Exception const& e) {
      fail("tearing down the federation", e);
    }
  }

  Federate& operator[](size_t i) { return federates_[i]; }
  size_t size() const { return federates_.size(); }

  // Runs body(federate) on a thread of each federate at once; returns the wall-clock
  // seconds from the common start to the last one's end.
  template <typename Body>
  double together(Body body) {
    std::atomic<size_t> ready{0};
    std::atomic<bool> go{false};
    std::vector<int64_t> ended(federates_.size());
    std::vector<std::thread> threads;
    for (size_t i = 0; i < federates_.size(); ++i) {
      threads.emplace_back([&, i] {
        ++ready;
        while (!go.load(std::memory_order_acquire)) std::this_thread::yield();
        try {
          body(federates_[i]);
        } catch (Exception const& e) {
          fail("in a federate's loop", e);
        }
        ended[i] = nowNs();
      });
    }
    while (ready.load() < federates_.size()) std::this_thread::yield();
    int64_t const start = nowNs();
    go.store(true, std::memory_order_release);
    for (auto& thread : threads) thread.join();
    return double(*std::max_element(ended.begin(), ended.end()) - start) * 1e-9;
  }

 private:
  std::wstring name_;
  std::vector<Federate> federates_;
};

// Never destroyed at exit (the virtual machine may end the process from its own thread,
// and tearing federates down then would wait for threads that cannot run); main tears
// them down.
auto& federations = *new std::map<std::string, std::unique_ptr<Federation>>;

// grants/<n>: one federation per n, warmed up once.
Federation& grantFederation(int n) {
  std::unique_ptr<Federation>& found = federations["grants/" + std::to_string(n)];
  if (!found) {
    found.reset(new Federation(L"TimeBenchGrants" + std::to_wstring(n), n));
    found->together([](Federate& f) {
      for (long s = 0; s < std::max(kWarmUpSteps, stepCount / 4); ++s) f.advance();
    });
  }
  return *found;
}

// updates/...: A publishes and registers, B subscribes; shared by both orders.
Federation& updateFederation() {
  std::unique_ptr<Federation>& found = federations["updates"];
  if (!found) {
    found.reset(new Federation(L"TimeBenchUpdates", 2));
    Federate &a = (*found)[0], &b = (*found)[1];
    try {
      ObjectClassHandle const objectClass = a.rti->getObjectClassHandle(L"BenchObject");
      a.rti->publishObjectClassAttributes(objectClass, {a.payload});
      b.rti->subscribeObjectClassAttributes(objectClass, {b.payload});
      a.own = a.rti->registerObjectInstance(objectClass);
      b.evokeUntil([&] { return b.discovered.load() == 1; });
    } catch (Exception const& e) {
      fail("setting up the updates", e);
    }
  }
  return *found;
}

// Every repetition's figures, by benchmark name, for the summary.
std::map<std::string, std::map<std::string, std::vector<double>>> figures;

void record(benchmark::State& state, std::string const& name, std::string const& figure, double value) {
  state.counters[figure] = value;
  figures[name][figure].push_back(value);
}

double median(std::string const& name, std::string const& figure) {
  auto const found = figures.find(name);
  if (found == figures.end() || found->second.count(figure) == 0) return 0;
  std::vector<double> values = found->second.at(figure);
  std::sort(values.begin(), values.end());
  size_t const n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void grantsBenchmark(benchmark::State& state, int n, std::string const& name) {
  Federation& federation = grantFederation(n);
  for (auto _ : state) {
    double const seconds = federation.together([](Federate& f) {
      for (long s = 0; s < stepCount; ++s) f.advance();
    });
    state.SetIterationTime(seconds);
    record(state, name, "grants/s/fed", double(stepCount) / seconds);
    record(state, name, "grants/s", double(stepCount) * n / seconds);
    record(state, name, "us/step", seconds * 1e6 / double(stepCount));
  }
}

// The lockstep of grants/<n> without an RTI: each thread arrives at the barrier once per
// step and goes on when all have arrived.
void barrierBenchmark(benchmark::State& state, int n, std::string const& name) {
  std::mutex mutex;
  std::condition_variable changed;
  int arrived = 0;
  uint64_t generation = 0;
  for (auto _ : state) {
    std::atomic<int> ready{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < n; ++i) {
      threads.emplace_back([&] {
        ++ready;
        while (!go.load(std::memory_order_acquire)) std::this_thread::yield();
        for (long s = 0; s < stepCount; ++s) {
          std::unique_lock<std::mutex> lock(mutex);
          if (++arrived == n) {
            arrived = 0;
            ++generation;
            changed.notify_all();
          } else {
            uint64_t const mine = generation;
            changed.wait(lock, [&] { return generation != mine; });
          }
        }
      });
    }
    while (ready.load() < n) std::this_thread::yield();
    int64_t const start = nowNs();
    go.store(true, std::memory_order_release);
    for (auto& thread : threads) thread.join();
    double const seconds = double(nowNs() - start) * 1e-9;
    state.SetIterationTime(seconds);
    record(state, name, "grants/s/fed", double(stepCount) / seconds);
    record(state, name, "us/step", seconds * 1e6 / double(stepCount));
  }
}

// The same lockstep passed by spinning: a thread that is not the last to arrive watches the
// generation, pausing, and yields its core after a while.
void spinBarrierBenchmark(benchmark::State& state, int n, std::string const& name) {
  std::atomic<int> arrived{0};
  std::atomic<uint64_t> generation{0};
  for (auto _ : state) {
    std::atomic<int> ready{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < n; ++i) {
      threads.emplace_back([&] {
        ++ready;
        while (!go.load(std::memory_order_acquire)) std::this_thread::yield();
        for (long s = 0; s < stepCount; ++s) {
          uint64_t const mine = generation.load(std::memory_order_acquire);
          if (arrived.fetch_add(1, std::memory_order_acq_rel) + 1 == n) {
            arrived.store(0, std::memory_order_relaxed);
            generation.fetch_add(1, std::memory_order_release);
          } else {
            for (int spins = 0; generation.load(std::memory_order_acquire) == mine; ++spins) {
              if (spins < 200) {
                __builtin_ia32_pause();
              } else {
                std::this_thread::yield();
              }
            }
          }
        }
      });
    }
    while (ready.load() < n) std::this_thread::yield();
    int64_t const start = nowNs();
    go.store(true, std::memory_order_release);
    for (auto& thread : threads) thread.join();
    double const seconds = double(nowNs() - start) * 1e-9;
    state.SetIterationTime(seconds);
    record(state, name, "grants/s/fed", double(stepCount) / seconds);
    record(state, name, "us/step", seconds * 1e6 / double(stepCount));
  }
}

// A sends m updates at t + 1 (time-stamped, or in receive order) and then asks for t + 1;
// B asks for t + 1 and takes what comes before its grant.
void updatesBenchmark(benchmark::State& state, bool timeStamped, int m, std::string const& name) {
  Federation& federation = updateFederation();
  Federate &a = federation[0], &b = federation[1];
  AttributeHandleValueMap values;
  values[a.payload] = VariableLengthData(std::string(kValueSize, 'x').data(), kValueSize);
  VariableLengthData const tag("8bytetag", 8);
  long const steps = std::max(1L, stepCount / 2);
  auto const run = [&](long count) {
    uint64_t const before = b.reflections.load();
    double const seconds = federation.together([&](Federate& f) {
      for (long s = 0; s < count; ++s) {
        if (&f == &a) {
          HLAinteger64Time const at(f.time + 1);
          for (int i = 0; i < m; ++i) {
            if (timeStamped) {
              f.rti->updateAttributeValues(f.own, values, tag, at);
            } else {
              f.rti->updateAttributeValues(f.own, values, tag);
            }
          }
        }
        f.advance();
      }
      if (&f == &b) f.evokeUntil([&] { return b.reflections.load() - before == uint64_t(count) * uint64_t(m); });
    });
    return std::make_pair(seconds, b.reflections.load() - before);
  };
  static std::map<std::string, bool> warm;
  if (!warm[name]) run(std::max(kWarmUpSteps / std::max(1, m / 10), steps / 4)), warm[name] = true;
  for (auto _ : state) {
    b.wrong = 0;
    auto const result = run(steps);
    if (result.second != uint64_t(steps) * uint64_t(m) || b.wrong.load() != 0) {
      state.SkipWithError("B did not reflect every update with its value");
      break;
    }
    state.SetIterationTime(result.first);
    record(state, name, "upd/s", double(result.second) / result.first);
    record(state, name, "grants/s/fed", double(steps) / result.first);
  }
}

void printSummary() {
  std::string model = "unknown";
  {
    std::ifstream cpu("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpu, line)) {
      if (line.compare(0, 10, "model name") == 0) {
        model = line.substr(line.find(':') + 2);
        break;
      }
    }
  }
  double load[3] = {0, 0, 0};
  if (FILE* loadavg = std::fopen("/proc/loadavg", "r")) {
    if (std::fscanf(loadavg, "%lf %lf %lf", &load[0], &load[1], &load[2]) != 3) load[0] = load[1] = load[2] = 0;
    std::fclose(loadavg);
  }
  std::printf("\ntime_bench summary: %u cores (%s), load average %.2f %.2f %.2f at the end; medians of the\n"
              "repetitions; %ld steps per federate in each grants run, %ld in each updates run\n",
              std::thread::hardware_concurrency(), model.c_str(), load[0], load[1], load[2], stepCount,
              std::max(1L, stepCount / 2));
  std::printf("\nTime advance grants (each federate on its own thread, HLA_EVOKED, lookahead 1, steps of 1),\n"
              "and the floors of the same lockstep without an RTI (ratio: us/step of grants / of the floor):\n");
  std::printf("  %-16s %14s %14s %10s %8s\n", "", "grants/s/fed", "grants/s", "us/step", "ratio");
  for (int n : kFederateCounts) {
    std::string const grants = "grants/" + std::to_string(n);
    if (figures.count(grants) == 0) continue;
    double const step = median(grants, "us/step");
    std::printf("  %-16s %14.0f %14.0f %10.2f\n", grants.c_str(), median(grants, "grants/s/fed"),
                median(grants, "grants/s"), step);
    for (char const* kind : {"barrier/", "spin_barrier/"}) {
      std::string const floor = kind + std::to_string(n);
      if (figures.count(floor) == 0) continue;
      double const floorStep = median(floor, "us/step");
      std::printf("  %-16s %14.0f %14s %10.2f %8.2f\n", floor.c_str(), median(floor, "grants/s/fed"), "",
                  floorStep, step / floorStep);
    }
  }
  std::printf("\nUpdates between two such federates (%zu-byte values; time-stamped: held until B's grant):\n",
              kValueSize);
  std::printf("  %-24s %12s %14s   %-22s %12s %8s\n", "", "updates/s", "B grants/s", "receive order", "updates/s",
              "ratio");
  for (int m : kUpdatesPerStep) {
    std::string const stamped = "updates/timestamp/" + std::to_string(m), plain = "updates/receive/" + std::to_string(m);
    if (figures.count(stamped) == 0) continue;
    double const a = median(stamped, "upd/s"), b = median(plain, "upd/s");
    std::printf("  %-24s %12.0f %14.0f   %-22s %12.0f %8.2f\n", stamped.c_str(), a, median(stamped, "grants/s/fed"),
                plain.c_str(), b, b > 0 ? b / a : 0.0);
  }
  std::printf("  (ratio: time per update, time-stamped / receive order)\n");
  std::printf("\nGoal:\n");
  if (figures.count("grants/2") != 0) {
    double const rate = median("grants/2", "grants/s/fed");
    std::printf("  grants/2 >= 100000 grants/s per federate: %9.0f  %s\n", rate, rate >= 1e5 ? "met" : "MISSED");
  }
}


}  // namespace

int main(int argc, char** argv) {
  if (ostra1516e::bench::underCheckedJni()) {
    std::cerr << "time_bench: -Xcheck:jni is on; the numbers would measure the checks\n";
    return 2;
  }
  std::vector<char*> arguments(argv, argv + argc);
  ostra1516e::bench::takeOption(arguments, "--steps", &stepCount);
  if (stepCount < 100) {
    std::cerr << "time_bench: --steps must be at least 100\n";
    return 1;
  }
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  char repetitions[] = "--benchmark_repetitions=5";
  arguments.insert(arguments.begin() + 1, {repetitions, interleave});
  setenv("CLASSPATH", OSTRA_BENCH_CLASSPATH, 1);
  // Integer time: the library finds the logical-time library's factory in this program.
  if (LogicalTimeFactoryFactory::makeLogicalTimeFactory(L"HLAinteger64Time").get() == nullptr) return 1;

  for (int n : kFederateCounts) {
    std::string const grants = "grants/" + std::to_string(n), barrier = "barrier/" + std::to_string(n);
    benchmark::RegisterBenchmark(grants.c_str(), grantsBenchmark, n, grants)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(barrier.c_str(), barrierBenchmark, n, barrier)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    std::string const spin = "spin_" + barrier;
    benchmark::RegisterBenchmark(spin.c_str(), spinBarrierBenchmark, n, spin)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
  for (int m : kUpdatesPerStep) {
    for (bool stamped : {true, false}) {
      std::string const name = std::string(stamped ? "updates/timestamp/" : "updates/receive/") + std::to_string(m);
      benchmark::RegisterBenchmark(name.c_str(), updatesBenchmark, stamped, m, name)
          ->Iterations(1)
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond);
    }
  }
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  federations.clear();
  printSummary();
  return 0;
}
