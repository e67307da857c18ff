// callback_bench: one reflectAttributeValues callback (four 16-byte attributes, an 8-byte
// tag, no time) delivered from a Java loop to a NullFederateAmbassador
//
//   dispatch      through the library's native method: framing checks, bounds-checked
//                 decoding, registry lookup, floating-point control, exception guard;
//   hand_decoded  a bare native method that decodes the same bytes by hand, unchecked,
//                 into the same API types and calls the same virtual method;
//   copy_only     a bare native method that only copies the bytes out.
//
// Each benchmark iteration is one Java loop of kBatch callbacks. Reported per callback:
// time, and C++ heap allocations (counted by this program's operator new). At the end the
// ratios dispatch / hand_decoded and dispatch / copy_only are printed.
//
// The virtual machine is started from this program; CLASSPATH defaults to the jars of
// this build tree.
#include "bridge/FederateAmbassadorRegistry.h"
#include "RTI/HandleFriend.h"

#include <RTI/NullFederateAmbassador.h>

#include <benchmark/benchmark.h>
#include <xmmintrin.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "BridgeOnly.h"
#include "RatioReporter.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

// Out of line, so that the compiler does not pair the inlined malloc and free and warn.
__attribute__((noinline)) void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace rti1516e;
using ostra1516e::CallbackTarget;
using ostra1516e::FederateAmbassadorRegistry;
using ostra1516e::bench::get32;

constexpr int kBatch = 1000;

CallbackTarget target;
NullFederateAmbassador ambassador;
int32_t handle = 0;

// The hand-written lower bound: the same values in the same API types, the same virtual
// call, none of the checks.
void JNICALL handDecoded(JNIEnv* env, jclass, jbyteArray array) {
  auto* p = static_cast<uint8_t*>(env->GetPrimitiveArrayCritical(array, nullptr));
  if (get32(p) != ostra1516e::bench::kPreMagic) std::abort();
  CallbackTarget* t = FederateAmbassadorRegistry::lookup(static_cast<int32_t>(get32(p + 4)));
  ObjectInstanceHandle object = ObjectInstanceHandleFriend::fromNumber(static_cast<int32_t>(get32(p + 8)));
  size_t at = 12;
  AttributeHandleValueMap values;
  uint32_t const count = get32(p + at);
  at += 4;
  for (uint32_t i = 0; i < count; ++i) {
    AttributeHandle key = AttributeHandleFriend::fromNumber(static_cast<int32_t>(get32(p + at)));
    uint32_t const n = get32(p + at + 4);
    values.try_emplace(key, p + at + 8, n);
    at += 8 + n;
  }
  uint32_t const tagLength = get32(p + at);
  VariableLengthData tag(p + at + 4, tagLength);
  at += 4 + tagLength;
  OrderType const sent = get32(p + at) == 1 ? TIMESTAMP : RECEIVE;
  TransportationType const transport = get32(p + at + 4) == 2 ? BEST_EFFORT : RELIABLE;
  SupplementalReflectInfo info;
  info.hasProducingFederate = get32(p + at + 8) != 0;
  info.hasSentRegions = get32(p + at + 12) != 0;
  if (get32(p + at + 16) != ostra1516e::bench::kPostMagic) std::abort();
  env->ReleasePrimitiveArrayCritical(array, p, JNI_ABORT);
  t->federateAmbassador.load(std::memory_order_acquire)
      ->reflectAttributeValues(object, values, tag, sent, transport, info);
}

uint8_t copied[4096];

void JNICALL copyOnly(JNIEnv* env, jclass, jbyteArray array) {
  jsize const n = env->GetArrayLength(array);
  void* p = env->GetPrimitiveArrayCritical(array, nullptr);
  std::memcpy(copied, p, static_cast<size_t>(n));
  env->ReleasePrimitiveArrayCritical(array, p, JNI_ABORT);
  benchmark::ClobberMemory();
}

struct Java {
  ostra1516e::bench::CallbackLoop* loop;
  jbyteArray array;
};

// Four 16-byte attributes, an 8-byte tag, TIMESTAMP.
Java& java() {
  static Java instance = [] {
    Java j{};
    j.loop = &ostra1516e::bench::CallbackLoop::get();
    JNINativeMethod natives[] = {
        {const_cast<char*>("handDecoded"), const_cast<char*>("([B)V"), reinterpret_cast<void*>(&handDecoded)},
        {const_cast<char*>("copyOnly"), const_cast<char*>("([B)V"), reinterpret_cast<void*>(&copyOnly)},
    };
    if (j.loop->env()->RegisterNatives(j.loop->loopClass(), natives, 2) != 0) std::exit(2);
    j.array = j.loop->array(ostra1516e::bench::reflectArray(handle, 4, 16, 8, ostra1516e::bench::kTimestampOrder));
    return j;
  }();
  return instance;
}

void runLoop(benchmark::State& state, char const* method) {
  Java& j = java();
  jmethodID loop = j.loop->method(method);
  long const before = allocations.load();
  for (auto _ : state) {
    if (!j.loop->run(loop, j.array, kBatch)) {
      state.SkipWithError("the loop threw");
      break;
    }
  }
  double const callbacks = double(state.iterations()) * kBatch;
  state.SetItemsProcessed(static_cast<int64_t>(callbacks));
  state.counters["allocs/callback"] = double(allocations.load() - before) / callbacks;
  state.counters["ns/callback"] = benchmark::Counter(callbacks, benchmark::Counter::kIsRate |
                                                                    benchmark::Counter::kInvert);
}

void dispatch(benchmark::State& state) { runLoop(state, "dispatch"); }
void handDecodedLoop(benchmark::State& state) { runLoop(state, "handDecoded"); }
void copyOnlyLoop(benchmark::State& state) { runLoop(state, "copyOnly"); }

}  // namespace

int main(int argc, char** argv) {
  setenv("CLASSPATH", OSTRA_BENCH_CLASSPATH, 0);
  FederateAmbassadorRegistry::add(&target);  // handle 1, never used
  handle = FederateAmbassadorRegistry::add(&target);
  target.federateAmbassador = &ambassador;
  target.federateFpControl = _mm_getcsr();

  benchmark::RegisterBenchmark("reflect/dispatch", dispatch);
  benchmark::RegisterBenchmark("reflect/hand_decoded", handDecodedLoop);
  benchmark::RegisterBenchmark("reflect/copy_only", copyOnlyLoop);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // Per callback, from the fastest and the median repetition: run with
  // --benchmark_repetitions=N --benchmark_enable_random_interleaving=true.
  RatioReporter reporter({{"reflect/dispatch", "reflect/hand_decoded"},
                          {"reflect/dispatch", "reflect/copy_only"}},
                         kBatch);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
