// DataElement.h: the abstract base of every encoding helper.
//
// A DataElement holds one value of the HLA data representation and turns it into bytes
// and back. The basic elements (BasicDataElements.h) hold one number, character or
// string; the composites (arrays, records, variant records, opaque data) hold other
// elements. A federate typically builds a value, encodes it for an update, and decodes
// what it receives in a reflection:
//
//   rti1516e::HLAinteger32BE speed(42);
//   rti1516e::VariableLengthData value = speed.encode();      // 00 00 00 2A
//   ...
//   speed.decode(receivedValue);  // throws EncoderException on malformed bytes
//
// encodeInto and decodeFrom work on a shared buffer so that composites can place their
// elements one after another: encodeInto first pads the buffer with zero bytes to the
// element's octet boundary (measured from the buffer's start), decodeFrom expects the
// caller to have aligned the index already.
//
// Malformed bytes are answered with EncoderException, never read past. A basic element
// and HLAopaqueData that fail to decode keep their value. Arrays and records decode one
// element after another: their own checks (counts, lengths) fail before anything
// changes, but an element that fails leaves the elements before it decoded (and a
// variant record its new discriminant). Decode into a scratch element when a value must
// be taken whole or not at all.
#ifndef RTI_DataElement_h
#define RTI_DataElement_h

#include <RTI/SpecificConfig.h>
#include <RTI/VariableLengthData.h>
#include <RTI/encoding/EncodingConfig.h>
#include <RTI/encoding/EncodingExceptions.h>

#include <cstddef>
#include <memory>
#include <vector>

namespace rti1516e {

// The library's own fast paths reach the records behind its element classes through
// this friend; it adds nothing to any class's layout.
class DataElementFriend;

class RTI_EXPORT DataElement {
 public:
  DataElement();
  DataElement(DataElement const& rhs);
  DataElement& operator=(DataElement const& rhs);
  virtual ~DataElement();

  // clone returns a new, independent element of the same class holding the same value.
  virtual std::auto_ptr<DataElement> clone() const = 0;

  // encode returns the element's encoding; encode(inData) puts it into inData.
  virtual VariableLengthData encode() const = 0;
  virtual void encode(VariableLengthData& inData) const = 0;

  // encodeInto pads buffer to getOctetBoundary() and appends the encoding.
  virtual void encodeInto(std::vector<Octet>& buffer) const = 0;

  // decode reads the value from the start of inData; bytes left over are ignored.
  virtual void decode(VariableLengthData const& inData) = 0;

  // decodeFrom reads the value at buffer[index] and returns the index just past it.
  virtual size_t decodeFrom(std::vector<Octet> const& buffer, size_t index) = 0;

  // getEncodedLength is the number of bytes encode() produces for the current value.
  virtual size_t getEncodedLength() const = 0;

  // getOctetBoundary is the alignment, in bytes, of the element inside a composite.
  virtual unsigned int getOctetBoundary() const = 0;

  // isSameTypeAs is true when inData has exactly the same class as this element.
  virtual bool isSameTypeAs(DataElement const& inData) const;

  // hash identifies the value; HLAvariantRecord keys its alternatives by it.
  virtual Integer64 hash() const;
};

}  // namespace rti1516e

#endif  // RTI_DataElement_h
