// update_bench: attribute updates between two federates of one process, through the whole
// path (library, bridge, the real core and its embedded engine), against the bridge alone.
//
// Two federates, each with its own ambassador and thread, join one federation of the
// embedded engine (empty local settings designator); both publish and subscribe the one
// attribute of bench/fom/UpdateBench.xml and register one object instance. One pair of
// federates per callback model, set up (and warmed up) once.
//
//   throughput/<model>/<bytes>  A updates its attribute (a value of <bytes> bytes, an
//                               8-byte tag) --updates times in a tight loop; B counts its
//                               reflections. Time: A's first send to B's last reflection.
//                               HLA_EVOKED: B's thread loops on evokeMultipleCallbacks(0,
//                               0.1); HLA_IMMEDIATE: the core's delivery thread calls B.
//                               Nothing holds the sender back, so it also reports how far
//                               B fell behind (backlog: sent but not yet reflected, sampled
//                               by A every 4096 sends), resident memory, the CPU time of
//                               each side and the Java heap allocated per update.
//   split/<model>/<bytes>       The two sides one after the other, in rounds of 20000: A
//                               sends while B's delivery is held, then B delivers; the cost
//                               of each side alone, and the Java heap one queued update holds.
//   roundtrip/<model>/100       A updates; B, in its reflect callback, updates its own
//                               object; A reflects that. One round trip: A's send to the
//                               start of A's reflect callback; median and 99th percentile.
//                               HLA_EVOKED: each federate evokes on its own thread;
//                               HLA_IMMEDIATE: A's thread waits on a condition variable.
//   roundtrip/threads_only      Two plain threads waking each other through condition
//                               variables: what two thread wake-ups cost on this machine.
//
// The bound: update_bench re-runs itself as a child (`update_bench --bound`) with the
// quiet probe core first on the class path, as the probe core cannot share a virtual
// machine with the real one. The child measures, with the same bytes, one service call
// (updateAttributeValues through the public RTIambassador to the probe core's method,
// which does nothing) and one callback (reflectAttributeValues from a Java loop through
// the bridge's dispatch to a counting ambassador); their sum is the bridge's share of one
// update. The parent prints per-update time / bound, each side alone / its half of the
// bound, round-trip median / (2 x bound), and whether the goals are met.
//
// Options of its own (the rest go to Google Benchmark): --updates=N (500000),
// --round-trips=N (20000), --skip-bound. Default: 5 repetitions, random interleaving.
// The summary at the end gives medians of the repetitions.
#include <RTI/NullFederateAmbassador.h>
#include <RTI/RTI1516.h>
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>
#include <xmmintrin.h>

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

#include "RTI/HandleFriend.h"
#include "bridge/FederateAmbassadorRegistry.h"
#include "bridge/JavaVmHost.h"

#include "BridgeOnly.h"
#include "Options.h"
#include "RatioReporter.h"

namespace {

using namespace rti1516e;
using Clock = std::chrono::steady_clock;

long updateCount = 500000;
long roundTripCount = 20000;
constexpr char kTag[] = "8bytetag";
constexpr size_t kSizes[] = {100, 1024};

int64_t nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// CPU time of the calling thread, and of the whole process (every thread, the virtual
// machine's compiler and collector threads too), in nanoseconds.
int64_t threadCpuNs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}
int64_t processCpuNs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// A line "Name:   123 kB" of /proc/self/status, in MB.
double statusMegabytes(char const* name) {
  std::ifstream in("/proc/self/status");
  std::string line;
  size_t const length = std::strlen(name);
  while (std::getline(in, line)) {
    if (line.compare(0, length, name) == 0 && line.size() > length && line[length] == ':') {
      return std::atof(line.c_str() + length + 1) / 1024.0;
    }
  }
  return 0;
}

// The Java heap in use after a full collection, in bytes (System.gc through JNI, on the
// calling thread; outside every timed part).
double javaHeapAfterGc() {
  JNIEnv* env = ostra1516e::JavaVmHost::currentEnv();
  jclass runtimeClass = env->FindClass("java/lang/Runtime");
  jobject runtime = env->CallStaticObjectMethod(
      runtimeClass, env->GetStaticMethodID(runtimeClass, "getRuntime", "()Ljava/lang/Runtime;"));
  env->CallVoidMethod(runtime, env->GetMethodID(runtimeClass, "gc", "()V"));
  jlong const total = env->CallLongMethod(runtime, env->GetMethodID(runtimeClass, "totalMemory", "()J"));
  jlong const free = env->CallLongMethod(runtime, env->GetMethodID(runtimeClass, "freeMemory", "()J"));
  env->DeleteLocalRef(runtime);
  env->DeleteLocalRef(runtimeClass);
  return double(total - free);
}

// Bytes the Java heap has handed out so far to every live thread of the virtual machine
// (the platform's thread management bean), for allocation per update.
double javaAllocatedBytes() {
  JNIEnv* env = ostra1516e::JavaVmHost::currentEnv();
  static jobject bean = nullptr;
  static jmethodID allIds = nullptr, allocated = nullptr;
  if (bean == nullptr) {
    jclass factory = env->FindClass("java/lang/management/ManagementFactory");
    jobject local = env->CallStaticObjectMethod(
        factory, env->GetStaticMethodID(factory, "getThreadMXBean", "()Ljava/lang/management/ThreadMXBean;"));
    jclass beanClass = env->FindClass("com/sun/management/ThreadMXBean");
    if (local == nullptr || beanClass == nullptr) {
      env->ExceptionClear();
      return 0;
    }
    bean = env->NewGlobalRef(local);
    allIds = env->GetMethodID(beanClass, "getAllThreadIds", "()[J");
    allocated = env->GetMethodID(beanClass, "getThreadAllocatedBytes", "([J)[J");
  }
  auto ids = static_cast<jlongArray>(env->CallObjectMethod(bean, allIds));
  auto bytes = static_cast<jlongArray>(env->CallObjectMethod(bean, allocated, ids));
  if (env->ExceptionCheck() || bytes == nullptr) {
    env->ExceptionClear();
    return 0;
  }
  jsize const n = env->GetArrayLength(bytes);
  std::vector<jlong> values(static_cast<size_t>(n));
  env->GetLongArrayRegion(bytes, 0, n, values.data());
  env->DeleteLocalRef(ids);
  env->DeleteLocalRef(bytes);
  double sum = 0;
  for (jlong v : values) sum += v > 0 ? double(v) : 0.0;
  return sum;
}

[[noreturn]] void fail(char const* what, Exception const& e) {
  std::wcerr << L"update_bench: " << what << L": " << e.what() << std::endl;
  std::exit(1);
}

// ---- The whole path -----------------------------------------------------------------

// One federate: its ambassador, its handles, and a count of its reflections.
class Federate : public NullFederateAmbassador {
 public:
  std::unique_ptr<RTIambassador> rti;
  AttributeHandle payload;
  ObjectInstanceHandle own;
  VariableLengthData tag{kTag, 8};

  std::atomic<bool> discovered{false};
  std::atomic<uint64_t> reflections{0};
  // The reflection count at which finishedAt is stamped.
  std::atomic<uint64_t> target{0};
  std::atomic<int64_t> finishedAt{0};
  // CPU time of the delivering thread at the first and at the target reflection.
  std::atomic<int64_t> firstCpu{0}, finishedCpu{0};
  std::atomic<int64_t> lastReflectAt{0};
  std::atomic<size_t> wrongSizes{0};
  size_t expectedSize = 0;

  // Round trips: stamp each reflection's arrival (lastReflectAt); answer each reflection
  // with an update of the own object.
  std::atomic<bool> stampEach{false};
  std::atomic<bool> echo{false};
  AttributeHandleValueMap echoValues;

  // Woken at each reflection when notify is set (HLA_IMMEDIATE round trips).
  std::atomic<bool> notify{false};
  std::mutex mutex;
  std::condition_variable reflected;

  void discoverObjectInstance(ObjectInstanceHandle, ObjectClassHandle, std::wstring const&) override {
    discovered.store(true, std::memory_order_release);
  }
  void discoverObjectInstance(ObjectInstanceHandle, ObjectClassHandle, std::wstring const&,
                              FederateHandle) override {
    discovered.store(true, std::memory_order_release);
  }

  void reflectAttributeValues(ObjectInstanceHandle, AttributeHandleValueMap const& values,
                              VariableLengthData const&, OrderType, TransportationType,
                              SupplementalReflectInfo) override {
    int64_t const now = stampEach.load(std::memory_order_relaxed) ? nowNs() : 0;
    auto const found = values.find(payload);
    if (found == values.end() || found->second.size() != expectedSize) {
      wrongSizes.fetch_add(1, std::memory_order_relaxed);
    }
    if (echo.load(std::memory_order_relaxed)) rti->updateAttributeValues(own, echoValues, tag);
    lastReflectAt.store(now, std::memory_order_relaxed);
    uint64_t const n = reflections.fetch_add(1, std::memory_order_acq_rel) + 1;
    if (n == 1) firstCpu.store(threadCpuNs(), std::memory_order_relaxed);
    if (n == target.load(std::memory_order_relaxed)) {
      finishedCpu.store(threadCpuNs(), std::memory_order_relaxed);
      finishedAt.store(nowNs(), std::memory_order_release);
    }
    if (notify.load(std::memory_order_relaxed)) {
      std::lock_guard<std::mutex> lock(mutex);
      reflected.notify_one();
    }
  }
};

// B's own thread in the evoked model: while a measurement runs, it loops on
// evokeMultipleCallbacks(0, 0.1); in between it sleeps. One thread for the whole program,
// so that the virtual machine sees the same thread throughout.
class Evoker {
 public:
  explicit Evoker(RTIambassador& rti)
      : thread_([this, &rti] {
          std::unique_lock<std::mutex> lock(mutex_);
          while (!quit_) {
            if (!running_) {
              changed_.wait(lock);
              continue;
            }
            busy_ = true;
            lock.unlock();
            try {
              while (running_.load(std::memory_order_relaxed)) rti.evokeMultipleCallbacks(0.0, 0.1);
            } catch (Exception const& e) {
              fail("evokeMultipleCallbacks", e);
            }
            lock.lock();
            busy_ = false;
            changed_.notify_all();
          }
        }) {}

  ~Evoker() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      quit_ = true;
      running_ = false;
    }
    changed_.notify_all();
    thread_.join();
  }

  void start() {
    std::lock_guard<std::mutex> lock(mutex_);
    running_ = true;
    changed_.notify_all();
  }

  // Returns once the thread has left evokeMultipleCallbacks.
  void stop() {
    std::unique_lock<std::mutex> lock(mutex_);
    running_ = false;
    changed_.wait(lock, [this] { return !busy_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::atomic<bool> running_{false};
  bool busy_ = false;  // inside the evoking loop
  bool quit_ = false;
  std::thread thread_;
};

// Starts the evoker (when there is one) for one measurement.
class Evoking {
 public:
  explicit Evoking(Evoker* evoker) : evoker_(evoker) {
    if (evoker_) evoker_->start();
  }
  ~Evoking() { stop(); }
  void stop() {
    if (evoker_) evoker_->stop();
    evoker_ = nullptr;
  }

 private:
  Evoker* evoker_;
};

AttributeHandleValueMap payloadOf(AttributeHandle attribute, size_t size) {
  std::vector<char> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i);
  AttributeHandleValueMap values;
  values[attribute] = VariableLengthData(bytes.data(), size);
  return values;
}

// Federates A and B in a federation of their own, both in one callback model.
class Pair {
 public:
  explicit Pair(CallbackModel model) : model_(model) {
    federation_ = model == HLA_EVOKED ? L"UpdateBenchEvoked" : L"UpdateBenchImmediate";
    try {
      RTIambassadorFactory factory;
      for (Federate* f : {&a, &b}) {
        f->rti.reset(factory.createRTIambassador().release());
        f->rti->connect(*f, model);
      }
      std::string const fom = OSTRA_UPDATE_BENCH_FOM;
      a.rti->createFederationExecution(federation_, std::wstring(fom.begin(), fom.end()), L"HLAinteger64Time");
      a.rti->joinFederationExecution(L"A", L"Sender", federation_);
      b.rti->joinFederationExecution(L"B", L"Receiver", federation_);
      for (Federate* f : {&a, &b}) {
        ObjectClassHandle const objectClass = f->rti->getObjectClassHandle(L"BenchObject");
        f->payload = f->rti->getAttributeHandle(objectClass, L"Payload");
        AttributeHandleSet attributes;
        attributes.insert(f->payload);
        f->rti->publishObjectClassAttributes(objectClass, attributes);
        f->rti->subscribeObjectClassAttributes(objectClass, attributes);
      }
      for (Federate* f : {&a, &b}) f->own = f->rti->registerObjectInstance(f->rti->getObjectClassHandle(L"BenchObject"));
      for (Federate* f : {&a, &b}) {
        for (int i = 0; i < 100 && !f->discovered.load(); ++i) {
          if (model == HLA_EVOKED) {
            f->rti->evokeMultipleCallbacks(0.01, 0.01);
          } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
          }
        }
        if (!f->discovered.load()) {
          std::cerr << "update_bench: the other federate's object was not discovered within a second\n";
          std::exit(1);
        }
      }
    } catch (Exception const& e) {
      fail("setting up the federation", e);
    }
    if (model == HLA_EVOKED) evoker_.reset(new Evoker(*b.rti));
    // Warm up the virtual machine's compilers on both paths before anything is measured.
    throughput(100, updateCount / 5);
    roundTrips(100, roundTripCount / 4);
  }

  ~Pair() {
    evoker_.reset();
    try {
      b.rti->resignFederationExecution(DELETE_OBJECTS);
      a.rti->resignFederationExecution(DELETE_OBJECTS);
      a.rti->destroyFederationExecution(federation_);
      a.rti->disconnect();
      b.rti->disconnect();
    } catch (Exception const& e) {
      fail("tearing down the federation", e);
    }
  }

  struct Throughput {
    double seconds = 0;       // A's first send to B's last reflection
    double sendSeconds = 0;   // A's first to last send
    uint64_t maxBacklog = 0;  // sent but not reflected, sampled every 4096 sends
    uint64_t endBacklog = 0;  // the same when A has sent the last one
    double rssBefore = 0, rssAtEnd = 0, peak = 0;  // MB
    // CPU time per update: A's thread while sending, B's delivering thread from its first
    // to its last reflection, and the whole process from A's first send to B's last reflection.
    double senderCpuNs = 0, receiverCpuNs = 0, processCpuNs = 0;
    double allocatedBytes = 0;  // Java heap allocated per update, every thread
    bool ok = true;
  };

  Throughput throughput(size_t size, long count) {
    AttributeHandleValueMap const values = payloadOf(a.payload, size);
    b.expectedSize = size;
    b.wrongSizes = 0;
    b.reflections = 0;
    b.finishedAt = 0;
    b.target = static_cast<uint64_t>(count);
    Evoking evoking(evoker_.get());
    Throughput r;
    r.rssBefore = statusMegabytes("VmRSS");
    double const allocatedBefore = javaAllocatedBytes();
    int64_t const processStart = processCpuNs();
    int64_t const senderStart = threadCpuNs();
    int64_t const start = nowNs();
    try {
      for (long i = 1; i <= count; ++i) {
        a.rti->updateAttributeValues(a.own, values, a.tag);
        if ((i & 4095) == 0) {
          r.maxBacklog = std::max<uint64_t>(r.maxBacklog, uint64_t(i) - b.reflections.load(std::memory_order_relaxed));
        }
      }
    } catch (Exception const& e) {
      fail("updateAttributeValues", e);
    }
    int64_t const sent = nowNs();
    r.senderCpuNs = double(threadCpuNs() - senderStart) / double(count);
    r.endBacklog = uint64_t(count) - b.reflections.load();
    r.maxBacklog = std::max(r.maxBacklog, r.endBacklog);
    r.rssAtEnd = statusMegabytes("VmRSS");
    r.sendSeconds = double(sent - start) * 1e-9;
    auto const deadline = Clock::now() + std::chrono::seconds(120);
    while (b.finishedAt.load(std::memory_order_acquire) == 0 && Clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    int64_t const processEnd = processCpuNs();
    evoking.stop();
    r.allocatedBytes = (javaAllocatedBytes() - allocatedBefore) / double(count);
    r.peak = statusMegabytes("VmHWM");
    if (b.finishedAt.load() == 0 || b.wrongSizes.load() != 0) {
      std::cerr << "update_bench: B reflected " << b.reflections.load() << " of " << count << " updates ("
                << b.wrongSizes.load() << " with a wrong value)\n";
      r.ok = false;
      return r;
    }
    r.seconds = double(b.finishedAt.load() - start) * 1e-9;
    r.receiverCpuNs = double(b.finishedCpu.load() - b.firstCpu.load()) / double(count - 1);
    r.processCpuNs = double(processEnd - processStart) / double(count);
    return r;
  }

  struct Split {
    double sendNs = 0;   // per update, A's loop while B takes nothing
    double drainNs = 0;  // per reflection, B emptying the backlog of them all
    double queuedBytes = 0;  // Java heap held per queued update (after full collections)
    bool ok = true;
  };

  // The two sides one after the other, in rounds small enough that the backlog stays in
  // the young generation: A sends perRound updates while B's delivery is held (B does not
  // evoke; HLA_IMMEDIATE: disableCallbacks), then B delivers them all. With weigh, a last,
  // untimed round weighs the backlog: the Java heap in use after full collections, before
  // and with it (once per case: the collections disturb what follows).
  Split split(size_t size, int rounds, long perRound, bool weighBacklog) {
    AttributeHandleValueMap const values = payloadOf(a.payload, size);
    b.expectedSize = size;
    b.wrongSizes = 0;
    Split r;
    int64_t sending = 0, delivering = 0;
    try {
      for (int round = 0; round < rounds + (weighBacklog ? 1 : 0); ++round) {
        bool const weigh = round == rounds;
        b.reflections = 0;
        b.finishedAt = 0;
        b.target = static_cast<uint64_t>(perRound);
        if (model_ == HLA_IMMEDIATE) b.rti->disableCallbacks();
        double const heapBefore = weigh ? javaHeapAfterGc() : 0;
        int64_t const start = nowNs();
        for (long i = 1; i <= perRound; ++i) a.rti->updateAttributeValues(a.own, values, a.tag);
        int64_t const sent = nowNs();
        if (weigh) r.queuedBytes = (javaHeapAfterGc() - heapBefore) / double(perRound);
        int64_t const drainStart = nowNs();
        Evoking evoking(evoker_.get());
        if (model_ == HLA_IMMEDIATE) b.rti->enableCallbacks();
        auto const deadline = Clock::now() + std::chrono::seconds(120);
        while (b.finishedAt.load(std::memory_order_acquire) == 0 && Clock::now() < deadline) {
          std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        evoking.stop();
        if (b.finishedAt.load() == 0 || b.wrongSizes.load() != 0) {
          r.ok = false;
          return r;
        }
        if (!weigh) {
          sending += sent - start;
          delivering += b.finishedAt.load() - drainStart;
        }
      }
    } catch (Exception const& e) {
      fail("split", e);
    }
    r.sendNs = double(sending) / double(rounds * perRound);
    r.drainNs = double(delivering) / double(rounds * perRound);
    return r;
  }

  struct RoundTrips {
    double seconds = 0;
    double medianUs = 0, p99Us = 0, minUs = 0, maxUs = 0;
    bool ok = true;
  };

  RoundTrips roundTrips(size_t size, long count) {
    AttributeHandleValueMap const values = payloadOf(a.payload, size);
    a.expectedSize = size;
    b.expectedSize = size;
    a.wrongSizes = 0;
    b.wrongSizes = 0;
    b.echoValues = payloadOf(b.payload, size);
    b.target = 0;
    a.target = 0;
    b.echo = true;
    a.stampEach = true;
    a.notify = model_ == HLA_IMMEDIATE;
    Evoking evoking(evoker_.get());
    std::vector<int64_t> trips(static_cast<size_t>(count));
    RoundTrips r;
    int64_t const start = nowNs();
    try {
      for (long i = 0; i < count; ++i) {
        uint64_t const before = a.reflections.load(std::memory_order_acquire);
        int64_t const sent = nowNs();
        a.rti->updateAttributeValues(a.own, values, a.tag);
        if (model_ == HLA_EVOKED) {
          while (a.reflections.load(std::memory_order_acquire) == before) a.rti->evokeMultipleCallbacks(0.0, 0.1);
        } else {
          std::unique_lock<std::mutex> lock(a.mutex);
          if (!a.reflected.wait_for(lock, std::chrono::seconds(10),
                                    [&] { return a.reflections.load(std::memory_order_acquire) != before; })) {
            std::cerr << "update_bench: no answer to round trip " << i << " within 10 s\n";
            r.ok = false;
            break;
          }
        }
        trips[size_t(i)] = a.lastReflectAt.load(std::memory_order_relaxed) - sent;
      }
    } catch (Exception const& e) {
      fail("round trip", e);
    }
    r.seconds = double(nowNs() - start) * 1e-9;
    evoking.stop();
    b.echo = false;
    a.stampEach = false;
    a.notify = false;
    if (a.wrongSizes.load() != 0 || b.wrongSizes.load() != 0) r.ok = false;
    std::sort(trips.begin(), trips.end());
    r.minUs = double(trips.front()) * 1e-3;
    r.medianUs = double(trips[trips.size() / 2]) * 1e-3;
    r.p99Us = double(trips[std::min(trips.size() - 1, trips.size() * 99 / 100)]) * 1e-3;
    r.maxUs = double(trips.back()) * 1e-3;
    return r;
  }

 private:
  CallbackModel model_;
  std::wstring federation_;
  Federate a, b;
  std::unique_ptr<Evoker> evoker_;  // B's thread, evoked model only
};

// Never destroyed at exit: the virtual machine may end the process (SIGTERM) from its own
// thread, and tearing the federates down then would wait for threads that cannot run.
// main tears them down.
auto& pairs = *new std::map<CallbackModel, std::unique_ptr<Pair>>;

Pair& pairFor(CallbackModel model) {
  std::unique_ptr<Pair>& pair = pairs[model];
  if (!pair) pair.reset(new Pair(model));
  return *pair;
}

char const* modelName(CallbackModel model) { return model == HLA_EVOKED ? "evoked" : "immediate"; }

// Every repetition's figures, by benchmark name, for the summary.
std::map<std::string, std::map<std::string, std::vector<double>>> figures;

void record(benchmark::State& state, std::string const& name, std::string const& figure, double value) {
  state.counters[figure] = value;
  figures[name][figure].push_back(value);
}

void throughputBenchmark(benchmark::State& state, CallbackModel model, size_t size, std::string const& name) {
  Pair& pair = pairFor(model);
  for (auto _ : state) {
    Pair::Throughput const r = pair.throughput(size, updateCount);
    if (!r.ok) {
      state.SkipWithError("not every update was reflected");
      break;
    }
    state.SetIterationTime(r.seconds);
    record(state, name, "upd/s", double(updateCount) / r.seconds);
    record(state, name, "ns/upd", r.seconds * 1e9 / double(updateCount));
    record(state, name, "sent/s", double(updateCount) / r.sendSeconds);
    record(state, name, "backlog", double(r.maxBacklog));
    record(state, name, "RSS_MB", r.rssAtEnd);
    record(state, name, "RSS+MB", r.rssAtEnd - r.rssBefore);
    record(state, name, "peak_MB", r.peak);
    record(state, name, "A_cpu_ns", r.senderCpuNs);
    record(state, name, "B_cpu_ns", r.receiverCpuNs);
    record(state, name, "all_cpu_ns", r.processCpuNs);
    record(state, name, "alloc_B", r.allocatedBytes);
  }
}

void splitBenchmark(benchmark::State& state, CallbackModel model, size_t size, std::string const& name) {
  Pair& pair = pairFor(model);
  long const perRound = 20000;
  int const rounds = static_cast<int>(std::max(1L, updateCount / perRound / 2));
  long const count = rounds * perRound;
  static std::map<std::string, bool> weighed;
  for (auto _ : state) {
    bool const weigh = !weighed[name];
    weighed[name] = true;
    Pair::Split const r = pair.split(size, rounds, perRound, weigh);
    if (!r.ok) {
      state.SkipWithError("not every update was reflected");
      break;
    }
    state.SetIterationTime((r.sendNs + r.drainNs) * double(count) * 1e-9);
    record(state, name, "send_ns", r.sendNs);
    record(state, name, "drain_ns", r.drainNs);
    if (weigh) record(state, name, "queued_B", r.queuedBytes);
  }
}

// The floor of a round trip between two threads that wake each other: two plain threads
// pass a turn back and forth through a mutex and condition variable each, as the core's
// delivery threads and a waiting federate thread do. No RTI.
void threadRoundTripBenchmark(benchmark::State& state, std::string const& name) {
  struct Side {
    std::mutex mutex;
    std::condition_variable changed;
    uint64_t turn = 0;
  } a, b;
  std::atomic<bool> quit{false};
  int64_t reachedA = 0;
  std::thread other([&] {
    uint64_t seen = 0;
    while (true) {
      {
        std::unique_lock<std::mutex> lock(b.mutex);
        b.changed.wait(lock, [&] { return b.turn != seen || quit.load(); });
        if (quit.load()) return;
        seen = b.turn;
      }
      std::lock_guard<std::mutex> lock(a.mutex);
      ++a.turn;
      a.changed.notify_one();
    }
  });
  for (auto _ : state) {
    std::vector<int64_t> trips(static_cast<size_t>(roundTripCount));
    int64_t const start = nowNs();
    for (auto& trip : trips) {
      int64_t const sent = nowNs();
      uint64_t before;
      {
        std::lock_guard<std::mutex> lock(a.mutex);
        before = a.turn;
      }
      {
        std::lock_guard<std::mutex> lock(b.mutex);
        ++b.turn;
        b.changed.notify_one();
      }
      std::unique_lock<std::mutex> lock(a.mutex);
      a.changed.wait(lock, [&] { return a.turn != before; });
      reachedA = nowNs();
      trip = reachedA - sent;
    }
    state.SetIterationTime(double(nowNs() - start) * 1e-9);
    std::sort(trips.begin(), trips.end());
    record(state, name, "p50_us", double(trips[trips.size() / 2]) * 1e-3);
    record(state, name, "p99_us", double(trips[trips.size() * 99 / 100]) * 1e-3);
    record(state, name, "min_us", double(trips.front()) * 1e-3);
    record(state, name, "max_us", double(trips.back()) * 1e-3);
  }
  {
    std::lock_guard<std::mutex> lock(b.mutex);
    quit = true;
    b.changed.notify_one();
  }
  other.join();
}

void roundTripBenchmark(benchmark::State& state, CallbackModel model, size_t size, std::string const& name) {
  Pair& pair = pairFor(model);
  for (auto _ : state) {
    Pair::RoundTrips const r = pair.roundTrips(size, roundTripCount);
    if (!r.ok) {
      state.SkipWithError("a round trip failed");
      break;
    }
    state.SetIterationTime(r.seconds);
    record(state, name, "p50_us", r.medianUs);
    record(state, name, "p99_us", r.p99Us);
    record(state, name, "min_us", r.minUs);
    record(state, name, "max_us", r.maxUs);
  }
}

double medianOf(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t const n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double median(std::string const& name, std::string const& figure) {
  auto const found = figures.find(name);
  if (found == figures.end()) return 0;
  auto const f = found->second.find(figure);
  return f == found->second.end() ? 0 : medianOf(f->second);
}

// ---- The bound (child process, probe core) ------------------------------------------

constexpr int kBatch = 1000;

class CountingAmbassador : public NullFederateAmbassador {
 public:
  void reflectAttributeValues(ObjectInstanceHandle, AttributeHandleValueMap const& values,
                              VariableLengthData const&, OrderType, TransportationType,
                              SupplementalReflectInfo) override {
    if (values.size() == 1 && values.begin()->second.size() == expectedSize) ++reflections;
  }
  long reflections = 0;
  size_t expectedSize = 0;
};

ostra1516e::CallbackTarget boundTarget;
CountingAmbassador counter;
int32_t boundHandle = 0;
auto& probeAmbassador = *new std::unique_ptr<RTIambassador>;  // never destroyed at exit, as pairs

void boundService(benchmark::State& state, size_t size) {
  AttributeHandleValueMap const values = ostra1516e::bench::attributeValues(1, size);
  ObjectInstanceHandle const object = ObjectInstanceHandleFriend::fromNumber(17);
  VariableLengthData const tag(kTag, 8);
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i) probeAmbassador->updateAttributeValues(object, values, tag);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kBatch);
}

void boundCallback(benchmark::State& state, size_t size) {
  ostra1516e::bench::CallbackLoop& loop = ostra1516e::bench::CallbackLoop::get();
  static std::map<size_t, jbyteArray> arrays;
  jbyteArray& array = arrays[size];
  if (array == nullptr) {
    array = loop.array(ostra1516e::bench::reflectArray(boundHandle, 1, uint32_t(size), 8,
                                                       ostra1516e::bench::kReceiveOrder));
  }
  jmethodID const dispatch = loop.method("dispatch");
  counter.expectedSize = size;
  counter.reflections = 0;
  for (auto _ : state) {
    if (!loop.run(dispatch, array, kBatch)) {
      state.SkipWithError("the loop threw");
      break;
    }
  }
  if (counter.reflections != long(state.iterations()) * kBatch) {
    state.SkipWithError("the ambassador did not receive every reflection with its value");
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kBatch);
}

std::string boundName(char const* kind, size_t size) { return std::string("bound/") + kind + "/" + std::to_string(size); }

// Runs in the child: prints Google Benchmark's table on standard error and one line per
// benchmark, "bound NAME MEDIAN_NS FASTEST_NS" (wall-clock per operation), on standard output.
int runBound(int argc, char** argv) {
  try {
    RTIambassadorFactory factory;
    probeAmbassador.reset(factory.createRTIambassador().release());
  } catch (Exception const& e) {
    fail("creating the ambassador on the probe core", e);
  }
  ostra1516e::bench::setProbeQuiet(true);
  ostra1516e::FederateAmbassadorRegistry::add(&boundTarget);  // handle 0, never used
  boundHandle = ostra1516e::FederateAmbassadorRegistry::add(&boundTarget);
  boundTarget.federateAmbassador = &counter;
  boundTarget.federateFpControl = _mm_getcsr();

  for (size_t size : kSizes) {
    benchmark::RegisterBenchmark(boundName("service", size).c_str(), boundService, size);
    benchmark::RegisterBenchmark(boundName("callback", size).c_str(), boundCallback, size);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter({}, kBatch, RatioReporter::Time::real);
  reporter.SetOutputStream(&std::cerr);
  reporter.SetErrorStream(&std::cerr);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  for (size_t size : kSizes) {
    for (char const* kind : {"service", "callback"}) {
      std::string const name = boundName(kind, size);
      std::printf("bound %s %.3f %.3f\n", name.c_str(), reporter.median(name), reporter.fastest(name));
    }
  }
  std::fflush(stdout);
  probeAmbassador.reset();
  return 0;
}

// Runs `this program --bound` with the probe core first on the class path and reads its
// figures: name -> median ns per operation. Empty when the child failed.
std::map<std::string, double> measureBound() {
  std::map<std::string, double> bound;
  char self[4096];
  ssize_t const length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return bound;
  self[length] = '\0';
  setenv("CLASSPATH", OSTRA_BENCH_BOUND_CLASSPATH, 1);
  std::string const command = std::string("'") + self +
                              "' --bound --benchmark_enable_random_interleaving=true --benchmark_repetitions=8";
  std::fflush(stdout);
  FILE* child = popen(command.c_str(), "r");
  if (child == nullptr) return bound;
  char line[512];
  while (std::fgets(line, sizeof line, child) != nullptr) {
    char name[256];
    double medianNs = 0, fastestNs = 0;
    if (std::sscanf(line, "bound %255s %lf %lf", name, &medianNs, &fastestNs) == 3) bound[name] = medianNs;
  }
  if (pclose(child) != 0) bound.clear();
  return bound;
}

void printSummary(std::map<std::string, double> const& bound) {
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
  std::printf("\nupdate_bench summary: %u cores (%s); medians of the repetitions; %ld updates per "
              "throughput run, %ld round trips per latency run\n",
              std::thread::hardware_concurrency(), model.c_str(), updateCount, roundTripCount);

  std::printf("\nThroughput (A's first send to B's last reflection; backlog: most updates sent but not yet\n"
              "reflected; CPU per update of A's thread, B's delivering thread (evoked: spins when idle) and\n"
              "the whole process; Java heap allocated per update by all threads):\n");
  std::printf("  %-26s %10s %9s %10s %8s %7s %7s %8s %8s %8s %8s\n", "", "updates/s", "ns/upd", "sent/s",
              "backlog", "RSS MB", "peak MB", "A cpu ns", "B cpu ns", "all cpu", "alloc B");
  for (CallbackModel m : {HLA_EVOKED, HLA_IMMEDIATE}) {
    for (size_t size : kSizes) {
      std::string const name = std::string("throughput/") + modelName(m) + "/" + std::to_string(size);
      if (figures.count(name) == 0) continue;
      std::printf("  %-26s %10.0f %9.1f %10.0f %8.0f %7.0f %7.0f %8.0f %8.0f %8.0f %8.0f\n", name.c_str(),
                  median(name, "upd/s"), median(name, "ns/upd"), median(name, "sent/s"), median(name, "backlog"),
                  median(name, "RSS_MB"), median(name, "peak_MB"), median(name, "A_cpu_ns"),
                  median(name, "B_cpu_ns"), median(name, "all_cpu_ns"), median(name, "alloc_B"));
    }
  }
  std::printf("\nEach side alone (rounds of 20000: A sends while B's delivery is held, then B delivers them;\n"
              "Java heap held per queued update):\n");
  std::printf("  %-26s %14s %14s %18s\n", "", "send ns/upd", "deliver ns", "heap B per queued");
  for (CallbackModel m : {HLA_EVOKED, HLA_IMMEDIATE}) {
    for (size_t size : kSizes) {
      std::string const name = std::string("split/") + modelName(m) + "/" + std::to_string(size);
      if (figures.count(name) == 0) continue;
      std::printf("  %-26s %14.0f %14.0f %18.0f\n", name.c_str(), median(name, "send_ns"), median(name, "drain_ns"),
                  median(name, "queued_B"));
    }
  }
  std::printf("\nRound trip, 100-byte values (A's send to A's reflection of B's answer; threads_only: two\n"
              "plain threads waking each other through condition variables, no RTI):\n");
  std::printf("  %-26s %10s %10s %10s\n", "case", "median us", "p99 us", "min us");
  for (std::string const name : {"roundtrip/evoked/100", "roundtrip/immediate/100", "roundtrip/threads_only"}) {
    if (figures.count(name) == 0) continue;
    std::printf("  %-26s %10.2f %10.2f %10.2f\n", name.c_str(), median(name, "p50_us"), median(name, "p99_us"),
                median(name, "min_us"));
  }

  auto boundOf = [&](size_t size) {
    auto const s = bound.find(boundName("service", size));
    auto const c = bound.find(boundName("callback", size));
    return s == bound.end() || c == bound.end() ? 0.0 : s->second + c->second;
  };
  if (bound.empty()) {
    std::printf("\nBound: not measured (--skip-bound, or the child run failed)\n");
  } else {
    std::printf("\nBound (bridge only, probe core, child process; median wall-clock per operation):\n");
    for (size_t size : kSizes) {
      std::printf("  %4zu bytes: service call %7.1f ns + callback %7.1f ns = %7.1f ns\n", size,
                  bound.at(boundName("service", size)), bound.at(boundName("callback", size)), boundOf(size));
    }
    std::printf("\nWhole path per update (1 / throughput) / bound (1.00 = the bridge's own cost):\n");
    for (CallbackModel m : {HLA_EVOKED, HLA_IMMEDIATE}) {
      for (size_t size : kSizes) {
        std::string const name = std::string("throughput/") + modelName(m) + "/" + std::to_string(size);
        if (figures.count(name) == 0 || boundOf(size) == 0) continue;
        double const perUpdate = median(name, "ns/upd");
        std::printf("  %-26s %8.1f ns / %7.1f ns = %6.2f\n", name.c_str(), perUpdate, boundOf(size),
                    perUpdate / boundOf(size));
      }
    }
    std::printf("\nEach side alone (split) / its half of the bound:\n");
    for (CallbackModel m : {HLA_EVOKED, HLA_IMMEDIATE}) {
      for (size_t size : kSizes) {
        std::string const name = std::string("split/") + modelName(m) + "/" + std::to_string(size);
        if (figures.count(name) == 0 || boundOf(size) == 0) continue;
        double const service = bound.at(boundName("service", size)), callback = bound.at(boundName("callback", size));
        double const send = median(name, "send_ns"), drain = median(name, "drain_ns");
        std::printf("  %-20s send %6.0f ns / %5.1f ns = %5.2f   deliver %6.0f ns / %5.1f ns = %5.2f\n", name.c_str(),
                    send, service, send / service, drain, callback, drain / callback);
      }
    }
    std::printf("\nRound trip / two bounds (two updates and two reflections per round trip):\n");
    for (CallbackModel m : {HLA_EVOKED, HLA_IMMEDIATE}) {
      std::string const name = std::string("roundtrip/") + modelName(m) + "/100";
      if (figures.count(name) == 0 || boundOf(100) == 0) continue;
      double const trip = median(name, "p50_us") * 1e3;
      std::printf("  %-26s %8.1f ns / %7.1f ns = %6.2f\n", name.c_str(), trip,
                  2 * boundOf(100), trip / (2 * boundOf(100)));
    }
    if (figures.count("roundtrip/immediate/100") != 0 && figures.count("roundtrip/threads_only") != 0) {
      double const immediate = median("roundtrip/immediate/100", "p50_us");
      double const threads = median("roundtrip/threads_only", "p50_us");
      std::printf("  %-26s %8.1f ns / %7.1f ns = %6.2f   (/ threads_only)\n", "roundtrip/immediate/100",
                  immediate * 1e3, threads * 1e3, immediate / threads);
    }
  }

  std::printf("\nGoals:\n");
  for (CallbackModel m : {HLA_EVOKED, HLA_IMMEDIATE}) {
    std::string const name = std::string("throughput/") + modelName(m) + "/100";
    if (figures.count(name) == 0) continue;
    double const rate = median(name, "upd/s");
    std::printf("  %-26s >= 1000000 updates/s: %9.0f  %s\n", name.c_str(), rate, rate >= 1e6 ? "met" : "MISSED");
    if (boundOf(100) > 0) {
      double const ratio = median(name, "ns/upd") / boundOf(100);
      std::printf("  %-26s within 3x of the bound: %6.2f    %s\n", name.c_str(), ratio, ratio <= 3 ? "met" : "MISSED");
    }
  }
  for (CallbackModel m : {HLA_EVOKED, HLA_IMMEDIATE}) {
    std::string const name = std::string("roundtrip/") + modelName(m) + "/100";
    if (figures.count(name) == 0) continue;
    double const trip = median(name, "p50_us");
    std::printf("  %-26s median <= 25 us:       %6.2f us %s\n", name.c_str(), trip, trip <= 25 ? "met" : "MISSED");
  }
}


bool takeFlag(std::vector<char*>& arguments, char const* name) {
  for (auto it = arguments.begin() + 1; it != arguments.end(); ++it) {
    if (std::strcmp(*it, name) == 0) {
      arguments.erase(it);
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (ostra1516e::bench::underCheckedJni()) {
    std::cerr << "update_bench: -Xcheck:jni is on; the numbers would measure the checks\n";
    return 2;
  }
  std::vector<char*> arguments(argv, argv + argc);
  if (takeFlag(arguments, "--bound")) {
    return runBound(static_cast<int>(arguments.size()), arguments.data());
  }
  ostra1516e::bench::takeOption(arguments, "--updates", &updateCount);
  ostra1516e::bench::takeOption(arguments, "--round-trips", &roundTripCount);
  bool const skipBound = takeFlag(arguments, "--skip-bound");
  if (updateCount < 4096 || roundTripCount < 100) {
    std::cerr << "update_bench: --updates must be at least 4096 and --round-trips at least 100\n";
    return 1;
  }
  // Defaults, before the caller's arguments so that those win.
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  char repetitions[] = "--benchmark_repetitions=5";
  arguments.insert(arguments.begin() + 1, {repetitions, interleave});

  // The bound first, in a child of its own, while this process has no virtual machine yet.
  std::map<std::string, double> bound;
  if (!skipBound) {
    std::printf("Bound: update_bench --bound (probe core), table on standard error\n");
    bound = measureBound();
    if (bound.empty()) std::fprintf(stderr, "update_bench: the bound's child run failed\n");
  }
  setenv("CLASSPATH", OSTRA_BENCH_CLASSPATH, 1);  // the real core only
  // The federations use integer time: the library finds the logical-time library's factory
  // in this program (linked statically and exported), as in a federate that uses it.
  if (LogicalTimeFactoryFactory::makeLogicalTimeFactory(L"HLAinteger64Time").get() == nullptr) return 1;

  for (CallbackModel m : {HLA_EVOKED, HLA_IMMEDIATE}) {
    for (size_t size : kSizes) {
      std::string const name = std::string("throughput/") + modelName(m) + "/" + std::to_string(size);
      benchmark::RegisterBenchmark(name.c_str(), throughputBenchmark, m, size, name)
          ->Iterations(1)
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond);
    }
    for (size_t size : kSizes) {
      std::string const name = std::string("split/") + modelName(m) + "/" + std::to_string(size);
      benchmark::RegisterBenchmark(name.c_str(), splitBenchmark, m, size, name)
          ->Iterations(1)
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond);
    }
    std::string const name = std::string("roundtrip/") + modelName(m) + "/100";
    benchmark::RegisterBenchmark(name.c_str(), roundTripBenchmark, m, size_t{100}, name)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("roundtrip/threads_only", threadRoundTripBenchmark, std::string("roundtrip/threads_only"))
      ->Iterations(1)
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  pairs.clear();
  printSummary(bound);
  return 0;
}
