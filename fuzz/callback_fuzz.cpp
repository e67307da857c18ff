// callback_fuzz: arbitrary bytes as callback arrays, to every one of the 60 callbacks.
//
// The first input byte picks the callback (modulo 60). When its high bit is clear the rest
// of the input is the array's arguments and POST_MAGIC, after a valid PRE_MAGIC and the
// handle of a connected, joined target; when set, the rest is the whole array, framing
// included. The dispatch must either deliver the callback or refuse the array with a
// message, and never read outside the input. A delivered array ends with POST_MAGIC.
#include "gen/cpp/CallbackDispatch.h"

#include <RTI/NullFederateAmbassador.h>
#include <RTI/time/HLAinteger64TimeFactory.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using namespace ostra1516e;

struct Federate {
  rti1516e::NullFederateAmbassador ambassador;
  CallbackTarget target;
  int32_t handle;
  Federate() {
    target.federateAmbassador = &ambassador;
    target.replaceTimeFactory(std::make_shared<rti1516e::HLAinteger64TimeFactory>());
    handle = FederateAmbassadorRegistry::add(&target);
  }
};

void require(bool condition, char const* what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
  static Federate federate;
  if (size == 0) return 0;
  CallbackRow const& row = kCallbackRows[data[0] % kCallbackCount];
  bool const whole = (data[0] & 0x80) != 0;
  size_t const length = whole ? size - 1 : size - 1 + 8;
  // An exact heap block, so that AddressSanitizer sees any read past the end.
  std::unique_ptr<uint8_t[]> array(new uint8_t[length]);
  uint8_t* p = array.get();
  if (!whole) {
    uint32_t const words[2] = {uint32_t(kPreMagic), uint32_t(federate.handle)};
    for (int w = 0; w < 2; ++w) {
      for (int b = 0; b < 4; ++b) *p++ = static_cast<uint8_t>(words[w] >> (24 - 8 * b));
    }
  }
  if (size > 1) std::memcpy(p, data + 1, size - 1);

  ArrayPin pin(array.get(), length);
  CallbackFailure const failure = row.deliver(pin);
  if (failure) {
    require(!failure->empty(), "a refusal carries a message");
  } else {
    require(length >= 12, "a delivered array holds its framing");
    uint8_t const* end = array.get() + length - 4;
    require(end[0] == 0x59 && end[1] == 0x58 && end[2] == 0x57 && end[3] == 0x56,
            "a delivered array ends with POST_MAGIC");
  }
  return 0;
}
