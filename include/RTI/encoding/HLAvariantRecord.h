// HLAvariantRecord.h: a discriminant followed by the alternative its value selects.
//
//   HLAvariantRecord shape(HLAinteger32BE());
//   shape.addVariant(HLAinteger32BE(1), HLAfloat64BE());       // 1: a circle's radius
//   shape.addVariant(HLAinteger32BE(2), HLAfixedArray(...));   // 2: a polygon
//   shape.setDiscriminant(HLAinteger32BE(1));
//   shape.setVariant(HLAinteger32BE(1), HLAfloat64BE(2.5));
//
// Alternatives are registered under the hash() of their discriminant value. The
// alternative is padded to the largest boundary of all registered alternatives, whether
// or not the current discriminant selects one, so every value of the record has the
// same layout up to the alternative.
#ifndef RTI_HLAvariantRecord_h
#define RTI_HLAvariantRecord_h

#include <RTI/encoding/DataElement.h>

namespace rti1516e {

class HLAvariantRecordImplementation;

class RTI_EXPORT HLAvariantRecord : public DataElement {
 public:
  // A record whose discriminant is a copy of discriminantPrototype; no alternatives.
  HLAvariantRecord(DataElement const& discriminantPrototype);
  HLAvariantRecord(HLAvariantRecord const& rhs);
  virtual ~HLAvariantRecord();

  virtual std::auto_ptr<DataElement> clone() const;
  virtual VariableLengthData encode() const;
  virtual void encode(VariableLengthData& inData) const;
  virtual void encodeInto(std::vector<Octet>& buffer) const;
  virtual void decode(VariableLengthData const& inData);
  virtual size_t decodeFrom(std::vector<Octet> const& buffer, size_t index);
  virtual size_t getEncodedLength() const;
  virtual unsigned int getOctetBoundary() const;

  using DataElement::isSameTypeAs;
  // isSameTypeAs(discriminant, inData): inData has the class of the alternative
  // registered for discriminant; false when none is registered.
  virtual bool isSameTypeAs(DataElement const& discriminant, DataElement const& inData) const;
  virtual bool hasMatchingDiscriminantTypeAs(DataElement const& dataElement) const;
  // addVariant registers (or replaces) the alternative for a discriminant value.
  virtual void addVariant(DataElement const& discriminant, DataElement const& valuePrototype);
  virtual void addVariantPointer(DataElement const& discriminant, DataElement* valuePtr);
  // setDiscriminant selects the alternative that encoding, decoding and getVariant use.
  virtual void setDiscriminant(DataElement const& discriminant);
  // setVariant replaces the alternative for a discriminant value; it throws
  // EncoderException "Non-matching type" when one of another class is registered.
  virtual void setVariant(DataElement const& discriminant, DataElement const& value);
  virtual void setVariantPointer(DataElement const& discriminant, DataElement* valuePtr);
  virtual DataElement const& getDiscriminant() const;
  // getVariant throws EncoderException when the discriminant selects no alternative.
  virtual DataElement const& getVariant() const;

 private:
  HLAvariantRecord();
  HLAvariantRecord& operator=(HLAvariantRecord const& rhs);

  friend class DataElementFriend;
  HLAvariantRecordImplementation* _impl;
};

}  // namespace rti1516e

#endif  // RTI_HLAvariantRecord_h
