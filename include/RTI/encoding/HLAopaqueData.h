// HLAopaqueData.h: a length-prefixed block of bytes the RTI does not interpret.
//
//   HLAopaqueData blob("\x01\x02\x03", 3);
//   blob.encode();                        // 00 00 00 03 01 02 03
//
// With external storage the bytes live in the caller's buffer: decoding copies into it
// and refuses data longer than its capacity, so a received value never overruns it.
//
//   char storage[64];
//   char* p = storage;
//   HLAopaqueData blob(&p, sizeof storage, 0);
//   blob.decode(value);                    // fills storage, dataLength() tells how much
#ifndef RTI_HLAopaqueData_h
#define RTI_HLAopaqueData_h

#include <RTI/encoding/DataElement.h>

namespace rti1516e {

class HLAopaqueDataImplementation;

class RTI_EXPORT HLAopaqueData : public DataElement {
 public:
  // No data, own storage.
  HLAopaqueData();
  // Own copy of dataSize bytes at inData.
  HLAopaqueData(Octet const* inData, size_t dataSize);
  // External storage: the buffer *inData points to now, of capacity bufferSize, holding
  // dataSize meaningful bytes. The caller keeps the buffer alive and frees it.
  HLAopaqueData(Octet** inData, size_t bufferSize, size_t dataSize);
  // Own copy of rhs's meaningful bytes.
  HLAopaqueData(HLAopaqueData const& rhs);
  virtual ~HLAopaqueData();

  virtual std::auto_ptr<DataElement> clone() const;
  virtual VariableLengthData encode() const;
  virtual void encode(VariableLengthData& inData) const;
  virtual void encodeInto(std::vector<Octet>& buffer) const;
  virtual void decode(VariableLengthData const& inData);
  virtual size_t decodeFrom(std::vector<Octet> const& buffer, size_t index);
  virtual size_t getEncodedLength() const;
  virtual unsigned int getOctetBoundary() const;

  virtual size_t bufferLength() const;
  virtual size_t dataLength() const;
  virtual void setDataPointer(Octet** inData, size_t bufferSize, size_t dataSize);
  virtual void set(Octet const* inData, size_t dataSize);
  virtual Octet const* get() const;

 private:
  HLAopaqueData& operator=(HLAopaqueData const& rhs);

  friend class DataElementFriend;
  HLAopaqueDataImplementation* _impl;
};

}  // namespace rti1516e

#endif  // RTI_HLAopaqueData_h
