// The cost of the bridge on a service call: updateAttributeValues with four 16-byte
// attribute values and an 8-byte tag, through the public RTIambassador to a Java method
// that does nothing (the probe core, quiet), against the bare JNI transfer of the same
// bytes to the same method in the same run: NewByteArray, a pinned copy, CallVoidMethod,
// ExceptionOccurred, DeleteLocalRef. Prints the ratio of the two.
//
// Run it without -Xcheck:jni (it refuses), which would measure the checks instead.
#include <RTI/RTIambassador.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bridge/JavaVmHost.h"
#include "bridge/JniScopes.h"
#include "bridge/RTIambassadorAdapter.h"
#include "gen/cpp/RTIambassadorC.h"
#include "gen/cpp_handwritten/Encoder.h"

#include "BridgeOnly.h"
#include "RatioReporter.h"

namespace ostra1516e {
namespace {

struct Fixture {
  RTIambassadorC* bridge;
  std::unique_ptr<rti1516e::RTIambassador> ambassador;
  rti1516e::ObjectInstanceHandle object = handleFromJava<rti1516e::ObjectInstanceHandle>(17);
  rti1516e::AttributeHandleValueMap values;
  rti1516e::VariableLengthData tag{"8bytetag", 8};
  std::vector<unsigned char> encoded;  // the same arguments as the bridge sends them

  Fixture() : bridge(new RTIambassadorC) {
    ambassador.reset(new RTIambassadorAdapter(std::unique_ptr<RTIambassadorC>(bridge)));
    values = bench::attributeValues(4, 16);
    encoded.resize(encodedSize(code::OIH{}, object) + encodedSize(code::AHVM{}, values) +
                   encodedSize(code::BX{}, tag));
    ByteWrapper out(encoded.data(), encoded.size());
    encode(code::OIH{}, object, out);
    encode(code::AHVM{}, values, out);
    encode(code::BX{}, tag, out);
    bench::setProbeQuiet(true);
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_UpdateAttributeValuesThroughTheBridge(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) f.ambassador->updateAttributeValues(f.object, f.values, f.tag);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(f.encoded.size()));
}

void BM_UpdateAttributeValuesBareJni(benchmark::State& state) {
  Fixture& f = fixture();
  JNIEnv* env = JavaVmHost::currentEnv();
  jobject const target = f.bridge->javaObject.get();
  jmethodID const method = ServiceMethodTable::method(service::updateAttributeValues_OIH_AHVM_BX::slot);
  jsize const size = static_cast<jsize>(f.encoded.size());
  for (auto _ : state) {
    jbyteArray array = env->NewByteArray(size);
    void* bytes = env->GetPrimitiveArrayCritical(array, nullptr);
    std::memcpy(bytes, f.encoded.data(), f.encoded.size());
    env->ReleasePrimitiveArrayCritical(array, bytes, 0);
    env->CallVoidMethod(target, method, array);
    jthrowable thrown = env->ExceptionOccurred();
    if (thrown != nullptr) {
      state.SkipWithError("the Java method threw");
      env->ExceptionClear();
      env->DeleteLocalRef(thrown);
    }
    env->DeleteLocalRef(array);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

// Repetitions of the two alternate (main turns on random interleaving), so that a busy
// machine slows both alike.
BENCHMARK(BM_UpdateAttributeValuesThroughTheBridge)->Repetitions(12);
BENCHMARK(BM_UpdateAttributeValuesBareJni)->Repetitions(12);

}  // namespace
}  // namespace ostra1516e

int main(int argc, char** argv) {
  if (ostra1516e::bench::underCheckedJni()) {
    std::cerr << "bridge_bench: -Xcheck:jni is on; the numbers would measure the checks\n";
    return 2;
  }
  setenv("CLASSPATH", OSTRA_BENCH_CLASSPATH, 0);
  std::vector<char*> arguments(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  arguments.insert(arguments.begin() + 1, interleave);
  argc = static_cast<int>(arguments.size());
  argv = arguments.data();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter({RatioReporter::Pair("BM_UpdateAttributeValuesThroughTheBridge",
                                              "BM_UpdateAttributeValuesBareJni")});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
