// HLAfixedArray.h: an array whose length is part of its type and is not transmitted.
//
//   HLAfixedArray position(HLAfloat64BE(), 3);      // x, y, z
//   position.set(0, HLAfloat64BE(1.5));
//   VariableLengthData value = position.encode();   // 24 bytes, no count
//
// The elements are laid out one after another, each padded to its own octet boundary.
// An element given with set is copied and owned by the array; one given with
// setElementPointer stays the caller's, who keeps it alive while the array uses it.
#ifndef RTI_HLAfixedArray_h
#define RTI_HLAfixedArray_h

#include <RTI/encoding/DataElement.h>

namespace rti1516e {

class HLAfixedArrayImplementation;

class RTI_EXPORT HLAfixedArray : public DataElement {
 public:
  // length owned copies of protoType.
  HLAfixedArray(DataElement const& protoType, size_t length);
  HLAfixedArray(HLAfixedArray const& rhs);
  virtual ~HLAfixedArray();

  virtual std::auto_ptr<DataElement> clone() const;
  virtual VariableLengthData encode() const;
  virtual void encode(VariableLengthData& inData) const;
  virtual void encodeInto(std::vector<Octet>& buffer) const;
  virtual void decode(VariableLengthData const& inData);
  virtual size_t decodeFrom(std::vector<Octet> const& buffer, size_t index);
  virtual size_t getEncodedLength() const;
  virtual unsigned int getOctetBoundary() const;

  // hasPrototypeSameTypeAs compares with the class of the first element; an array of
  // length 0 has none and answers false.
  virtual bool hasPrototypeSameTypeAs(DataElement const& dataElement) const;
  virtual size_t size() const;
  // set and setElementPointer throw EncoderException for an index at or past size()
  // and for an element of another class than the prototype, and then change nothing.
  virtual void set(size_t index, DataElement const& dataElement);
  virtual void setElementPointer(size_t index, DataElement* dataElement);
  virtual DataElement const& get(size_t index) const;
  DataElement const& operator[](size_t index) const;

 private:
  HLAfixedArray();
  HLAfixedArray& operator=(HLAfixedArray const& rhs);

  friend class DataElementFriend;
  HLAfixedArrayImplementation* _impl;
};

}  // namespace rti1516e

#endif  // RTI_HLAfixedArray_h
