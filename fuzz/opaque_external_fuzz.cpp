// Opaque data on a caller's buffer of exactly the capacity it announces (so that
// AddressSanitizer sees any write past it), alone and inside a fixed record.
#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAfixedRecord.h>
#include <RTI/encoding/HLAopaqueData.h>

#include "FuzzSupport.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(unsigned char const* data, size_t size) {
  if (size == 0) return 0;
  size_t const capacity = data[0] % 64;  // the first byte picks the capacity
  rti1516e::VariableLengthData const value(data + 1, size - 1);

  std::unique_ptr<char[]> storage(new char[capacity]);
  char* p = storage.get();
  rti1516e::HLAopaqueData opaque(&p, capacity, 0);
  try {
    opaque.decode(value);
    fuzz::require(opaque.dataLength() <= capacity, "external data fits its buffer");
    fuzz::require(opaque.get() == storage.get(), "external storage stays in place");
  } catch (rti1516e::EncoderException const&) {
  }

  rti1516e::HLAfixedRecord record;
  record.appendElement(rti1516e::HLAoctet());
  record.appendElementPointer(&opaque);
  record.appendElement(rti1516e::HLAinteger16BE());
  try {
    record.decode(value);
  } catch (rti1516e::EncoderException const&) {
  }

  rti1516e::HLAopaqueData own;
  try {
    own.decode(value);
    fuzz::requireStableRoundTrip(own, [] { return std::unique_ptr<rti1516e::HLAopaqueData>(new rti1516e::HLAopaqueData); });
  } catch (rti1516e::EncoderException const&) {
  }
  std::vector<char> const buffer(data + 1, data + size);
  fuzz::decodeAtChosenIndex(own, buffer, data[0]);
  return 0;
}
