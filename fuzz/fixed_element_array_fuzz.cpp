// Arrays of one fixed-size basic class, the class named by FUZZ_ELEMENT at compile time
// (one fuzz target per class). The library decodes and encodes such arrays in one run;
// the same arrays built on a federate's own element class, which only forwards to the
// basic element, go element by element. Both must agree on everything: the outcome (the
// same end index, or the same EncoderException), the elements left in the array, and the
// bytes they encode to.
#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAfixedArray.h>
#include <RTI/encoding/HLAvariableArray.h>

#include "FuzzSupport.h"

#include <memory>
#include <string>

namespace {

using Element = rti1516e::FUZZ_ELEMENT;

// A federate's own class around the basic element: the library cannot know it.
class Forwarding : public rti1516e::DataElement {
 public:
  std::auto_ptr<rti1516e::DataElement> clone() const override {
    return std::auto_ptr<rti1516e::DataElement>(new Forwarding(*this));
  }
  rti1516e::VariableLengthData encode() const override { return inner_.encode(); }
  void encode(rti1516e::VariableLengthData& out) const override { inner_.encode(out); }
  void encodeInto(std::vector<char>& buffer) const override { inner_.encodeInto(buffer); }
  void decode(rti1516e::VariableLengthData const& in) override { inner_.decode(in); }
  size_t decodeFrom(std::vector<char> const& buffer, size_t index) override {
    return inner_.decodeFrom(buffer, index);
  }
  size_t getEncodedLength() const override { return inner_.getEncodedLength(); }
  unsigned int getOctetBoundary() const override { return inner_.getOctetBoundary(); }

 private:
  Element inner_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(unsigned char const* data, size_t size) {
  if (size < 2) return 0;
  size_t const before = data[0] % 8;   // elements in the arrays before decoding
  std::vector<char> const buffer(data + 2, data + size);
  size_t const index = data[1] % (buffer.size() + 3);

  rti1516e::HLAvariableArray fast((Element()));
  rti1516e::HLAvariableArray general((Forwarding()));
  for (size_t i = 0; i < before; ++i) {
    fast.addElement(Element());
    general.addElement(Forwarding());
  }
  std::wstring const variable = fuzz::outcome([&] { return fast.decodeFrom(buffer, index); });
  fuzz::require(variable == fuzz::outcome([&] { return general.decodeFrom(buffer, index); }),
                "a variable array decodes as element by element");
  fuzz::require(fast.size() == general.size(), "the same number of elements");
  fuzz::requireSame(fast, general, "a variable array keeps the same values");

  rti1516e::HLAfixedArray fixedFast(Element(), before);
  rti1516e::HLAfixedArray fixedGeneral(Forwarding(), before);
  std::wstring const fixed = fuzz::outcome([&] { return fixedFast.decodeFrom(buffer, index); });
  fuzz::require(fixed == fuzz::outcome([&] { return fixedGeneral.decodeFrom(buffer, index); }),
                "a fixed array decodes as element by element");
  fuzz::requireSame(fixedFast, fixedGeneral, "a fixed array keeps the same values");

  // Encoded inside a buffer that already holds some bytes, both pad and write alike.
  std::vector<char> intoFast(data[1] % 9, 'x'), intoGeneral(intoFast);
  fast.encodeInto(intoFast);
  general.encodeInto(intoGeneral);
  fuzz::require(intoFast == intoGeneral, "encodeInto writes the same bytes");
  fuzz::requireStableRoundTrip(fast, [] {
    return std::unique_ptr<rti1516e::HLAvariableArray>(new rti1516e::HLAvariableArray(Element()));
  });
  return 0;
}
