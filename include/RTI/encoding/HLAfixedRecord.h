// HLAfixedRecord.h: an ordered sequence of fields of any element type.
//
//   HLAfixedRecord track;
//   track.appendElement(HLAinteger32BE(7));      // id
//   track.appendElement(HLAASCIIstring("T-72"));  // name
//   VariableLengthData value = track.encode();
//
// Each field is padded to its own octet boundary; the record's boundary is the largest of
// its fields'. A field given with appendElement is copied and owned by the record; one
// given with appendElementPointer stays the caller's.
#ifndef RTI_HLAfixedRecord_h
#define RTI_HLAfixedRecord_h

#include <RTI/encoding/DataElement.h>

namespace rti1516e {

class HLAfixedRecordImplementation;

class RTI_EXPORT HLAfixedRecord : public DataElement {
 public:
  HLAfixedRecord();
  HLAfixedRecord(HLAfixedRecord const& rhs);
  virtual ~HLAfixedRecord();

  virtual std::auto_ptr<DataElement> clone() const;
  virtual VariableLengthData encode() const;
  virtual void encode(VariableLengthData& inData) const;
  virtual void encodeInto(std::vector<Octet>& buffer) const;
  virtual void decode(VariableLengthData const& inData);
  virtual size_t decodeFrom(std::vector<Octet> const& buffer, size_t index);
  virtual size_t getEncodedLength() const;
  virtual unsigned int getOctetBoundary() const;

  virtual bool hasElementSameTypeAs(size_t index, DataElement const& inData) const;
  virtual size_t size() const;
  virtual void appendElement(DataElement const& dataElement);
  virtual void appendElementPointer(DataElement* dataElement);
  // set and setElementPointer throw EncoderException for an index at or past size()
  // and for an element of another class than the field's, and then change nothing.
  virtual void set(size_t index, DataElement const& dataElement);
  virtual void setElementPointer(size_t index, DataElement* dataElement);
  virtual DataElement const& get(size_t index) const;

 private:
  HLAfixedRecord& operator=(HLAfixedRecord const& rhs);

  friend class DataElementFriend;
  HLAfixedRecordImplementation* _impl;
};

}  // namespace rti1516e

#endif  // RTI_HLAfixedRecord_h
