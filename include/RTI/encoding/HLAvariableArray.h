// HLAvariableArray.h: an array that transmits its element count.
//
//   HLAvariableArray speeds(HLAinteger16BE());
//   speeds.addElement(HLAinteger16BE(1));
//   speeds.addElement(HLAinteger16BE(2));
//   speeds.encode();                       // 00 00 00 02 00 01 00 02
//
// The count is a 32-bit big-endian integer, followed by the elements, each padded to its
// own octet boundary. Decoding resizes the array to the received count: surplus elements
// are dropped (the caller's own ones are not deleted), missing ones are created as
// copies of the prototype, and elements that stay keep their identity.
#ifndef RTI_HLAvariableArray_h
#define RTI_HLAvariableArray_h

#include <RTI/encoding/DataElement.h>

namespace rti1516e {

class HLAvariableArrayImplementation;

class RTI_EXPORT HLAvariableArray : public DataElement {
 public:
  // An empty array whose elements are of protoType's class.
  HLAvariableArray(DataElement const& protoType);
  HLAvariableArray(HLAvariableArray const& rhs);
  virtual ~HLAvariableArray();

  virtual std::auto_ptr<DataElement> clone() const;
  virtual VariableLengthData encode() const;
  virtual void encode(VariableLengthData& inData) const;
  virtual void encodeInto(std::vector<Octet>& buffer) const;
  virtual void decode(VariableLengthData const& inData);
  virtual size_t decodeFrom(std::vector<Octet> const& buffer, size_t index);
  virtual size_t getEncodedLength() const;
  virtual unsigned int getOctetBoundary() const;

  virtual size_t size() const;
  virtual bool hasPrototypeSameTypeAs(DataElement const& dataElement) const;
  // addElement appends an owned copy, addElementPointer the caller's element itself;
  // neither checks the element's class.
  virtual void addElement(DataElement const& dataElement);
  virtual void addElementPointer(DataElement* dataElement);
  // set and setElementPointer throw EncoderException for an index at or past size()
  // and for an element of another class than the prototype, and then change nothing.
  virtual void set(size_t index, DataElement const& dataElement);
  virtual void setElementPointer(size_t index, DataElement* dataElement);
  virtual DataElement const& get(size_t index) const;
  DataElement const& operator[](size_t index) const;

 private:
  HLAvariableArray();
  HLAvariableArray& operator=(HLAvariableArray const& rhs);

  friend class DataElementFriend;
  HLAvariableArrayImplementation* _impl;
};

}  // namespace rti1516e

#endif  // RTI_HLAvariableArray_h
