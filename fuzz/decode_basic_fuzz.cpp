// Feeds arbitrary bytes to decode and decodeFrom of one basic element, the class named
// by FUZZ_ELEMENT at compile time (one fuzz target per class).
#include <RTI/encoding/BasicDataElements.h>

#include "FuzzSupport.h"

#include <memory>
#include <type_traits>

using Element = rti1516e::FUZZ_ELEMENT;

extern "C" int LLVMFuzzerTestOneInput(unsigned char const* data, size_t size) {
  rti1516e::VariableLengthData const value(data, size);
  Element element;
  try {
    element.decode(value);
    auto makeFresh = [] { return std::unique_ptr<Element>(new Element); };
    fuzz::requireStableRoundTrip(element, makeFresh);
    // Every layout but HLAboolean's (any non-1 word reads as false) gives back exactly
    // the bytes it was decoded from.
    if (!std::is_same<Element, rti1516e::HLAboolean>::value) {
      rti1516e::VariableLengthData const encoded = element.encode();
      fuzz::require(encoded.size() <= size && std::memcmp(encoded.data(), data, encoded.size()) == 0,
                    "re-encoding reproduces the input");
    }
  } catch (rti1516e::EncoderException const&) {
  }

  std::vector<char> const buffer(data, data + size);
  if (size > 0) {
    size_t const start = data[0] % (size + 3);
    size_t const end = fuzz::decodeAtChosenIndex(element, buffer, data[0]);
    fuzz::require(end == start || end <= buffer.size(), "a basic element never reads past the end");
  }
  return 0;
}
