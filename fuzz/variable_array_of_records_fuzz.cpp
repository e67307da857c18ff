// A variable array of fixed records, each holding a number, a string and a fixed array
// of doubles: the nested composites must answer any input with a value or an
// EncoderException.
#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAfixedArray.h>
#include <RTI/encoding/HLAfixedRecord.h>
#include <RTI/encoding/HLAvariableArray.h>

#include "FuzzSupport.h"

#include <memory>

namespace {

std::unique_ptr<rti1516e::HLAvariableArray> makeArray() {
  rti1516e::HLAfixedRecord track;
  track.appendElement(rti1516e::HLAinteger16BE());
  track.appendElement(rti1516e::HLAASCIIstring());
  track.appendElement(rti1516e::HLAfixedArray(rti1516e::HLAfloat64LE(), 2));
  track.appendElement(rti1516e::HLAunicodeString());
  return std::unique_ptr<rti1516e::HLAvariableArray>(new rti1516e::HLAvariableArray(track));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(unsigned char const* data, size_t size) {
  rti1516e::VariableLengthData const value(data, size);
  std::unique_ptr<rti1516e::HLAvariableArray> array = makeArray();
  try {
    array->decode(value);
    fuzz::requireStableRoundTrip(*array, makeArray);
  } catch (rti1516e::EncoderException const&) {
  }

  std::vector<char> const buffer(data, data + size);
  if (size > 0) {
    size_t const start = data[0] % (size + 3);
    size_t const end = fuzz::decodeAtChosenIndex(*array, buffer, data[0]);
    fuzz::require(end == start || end <= buffer.size(), "the array never reads past the end");
  }
  return 0;
}
