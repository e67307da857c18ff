// A variant record with alternatives of every shape (basic, string, arrays, a nested
// variant, opaque data), placed in a fixed record between two numbers so that the
// alignment around the alternative is exercised too.
#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAfixedArray.h>
#include <RTI/encoding/HLAfixedRecord.h>
#include <RTI/encoding/HLAopaqueData.h>
#include <RTI/encoding/HLAvariableArray.h>
#include <RTI/encoding/HLAvariantRecord.h>

#include "FuzzSupport.h"

#include <memory>

namespace {

using namespace rti1516e;

std::unique_ptr<HLAfixedRecord> makeMessage() {
  HLAvariantRecord inner(HLAoctet{});
  inner.addVariant(HLAoctet('a'), HLAinteger64BE());
  inner.addVariant(HLAoctet('b'), HLAASCIIstring());

  HLAvariantRecord shape(HLAinteger32BE{});
  shape.addVariant(HLAinteger32BE(0), HLAoctet());
  shape.addVariant(HLAinteger32BE(1), HLAfloat64BE());
  shape.addVariant(HLAinteger32BE(2), HLAASCIIstring());
  shape.addVariant(HLAinteger32BE(3), HLAvariableArray(HLAinteger16LE()));
  shape.addVariant(HLAinteger32BE(4), HLAfixedArray(HLAunicodeChar(), 3));
  shape.addVariant(HLAinteger32BE(5), inner);
  shape.addVariant(HLAinteger32BE(6), HLAopaqueData());

  std::unique_ptr<HLAfixedRecord> message(new HLAfixedRecord);
  message->appendElement(HLAoctet());
  message->appendElement(shape);
  message->appendElement(HLAinteger32BE());
  return message;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(unsigned char const* data, size_t size) {
  VariableLengthData const value(data, size);
  std::unique_ptr<HLAfixedRecord> message = makeMessage();
  try {
    message->decode(value);
    fuzz::requireStableRoundTrip(*message, makeMessage);
  } catch (EncoderException const&) {
  }

  // The variant on its own, at an index the input chooses.
  std::unique_ptr<DataElement> shape(message->get(1).clone().release());
  try {
    shape->decode(value);
    fuzz::requireStableRoundTrip(*shape, [&] { return std::unique_ptr<DataElement>(makeMessage()->get(1).clone().release()); });
  } catch (EncoderException const&) {
  }
  std::vector<char> const buffer(data, data + size);
  if (size > 0) fuzz::decodeAtChosenIndex(*shape, buffer, data[0]);
  return 0;
}
