// BasicDataElements.h: the nineteen basic data elements of the HLA data representation.
//
// Each class holds one value of its type T and encodes it in a fixed layout:
//
//   HLAinteger32BE  n(16909060);   n.encode()  -> 01 02 03 04
//   HLAinteger32LE  m(16909060);   m.encode()  -> 04 03 02 01
//   HLAASCIIstring  s("abc");      s.encode()  -> 00 00 00 03 61 62 63
//   HLAunicodeString w(L"abc");    w.encode()  -> 00 00 00 03 00 61 00 62 00 63
//
// An element keeps its value in its own storage, or in a variable of the caller's when
// it is built from a pointer or given one with setDataPointer. Encoding reads the
// variable; decoding writes it, so a decoded attribute lands directly in the federate's
// own field:
//
//   double altitude = 0;
//   HLAfloat64BE element(&altitude);
//   element.decode(value);          // altitude now holds the received number
//   element.set(100.0);             // unbinds: the element holds 100, altitude is untouched
//
// Strings carry a 32-bit big-endian count before their characters. HLAunicodeString
// crosses as UTF-16: a character above U+FFFF takes a surrogate pair, and the count is in
// 16-bit units. HLAunicodeChar encodes the low 16 bits of its wchar_t.
#ifndef RTI_BasicDataElements_h
#define RTI_BasicDataElements_h

#include <RTI/encoding/DataElement.h>

#include <string>

namespace rti1516e {

// The basic elements, one row each: X(Name, ValueType).
#define RTI1516E_BASIC_DATA_ELEMENTS(X) \
  X(HLAASCIIchar, char)                 \
  X(HLAASCIIstring, std::string)        \
  X(HLAboolean, bool)                   \
  X(HLAbyte, Octet)                     \
  X(HLAfloat32BE, float)                \
  X(HLAfloat32LE, float)                \
  X(HLAfloat64BE, double)               \
  X(HLAfloat64LE, double)               \
  X(HLAinteger16BE, Integer16)          \
  X(HLAinteger16LE, Integer16)          \
  X(HLAinteger32BE, Integer32)          \
  X(HLAinteger32LE, Integer32)          \
  X(HLAinteger64BE, Integer64)          \
  X(HLAinteger64LE, Integer64)          \
  X(HLAoctet, Octet)                    \
  X(HLAoctetPairBE, OctetPair)          \
  X(HLAoctetPairLE, OctetPair)          \
  X(HLAunicodeChar, wchar_t)            \
  X(HLAunicodeString, std::wstring)

// Every basic element has the same operations with its own value type T.
#define RTI1516E_DECLARE_BASIC_DATA_ELEMENT(Name, T)                              \
  class Name##Implementation;                                                     \
  class RTI_EXPORT Name : public DataElement {                                    \
   public:                                                                        \
    /* Own storage holding zero (an empty string). */                             \
    Name();                                                                       \
    /* Own storage holding a copy of inData. */                                   \
    Name(T const& inData);                                                        \
    /* Bound to the caller's variable *inData, which must outlive the binding. */ \
    Name(T* inData);                                                              \
    /* Own storage holding rhs's current value; a binding is not copied. */       \
    Name(Name const& rhs);                                                        \
    virtual ~Name();                                                              \
    Name& operator=(Name const& rhs);                                             \
                                                                                  \
    virtual std::auto_ptr<DataElement> clone() const;                             \
    virtual VariableLengthData encode() const;                                    \
    virtual void encode(VariableLengthData& inData) const;                        \
    virtual void encodeInto(std::vector<Octet>& buffer) const;                    \
    virtual void decode(VariableLengthData const& inData);                        \
    virtual size_t decodeFrom(std::vector<Octet> const& buffer, size_t index);    \
    virtual size_t getEncodedLength() const;                                      \
    virtual unsigned int getOctetBoundary() const;                                \
    virtual Integer64 hash() const;                                               \
                                                                                  \
    /* setDataPointer binds the element to the caller's variable. */              \
    virtual void setDataPointer(T* inData);                                       \
    /* set stores the value in own storage and ends any binding. */               \
    virtual void set(T inData);                                                   \
    /* get returns the current value, from the bound variable if there is one. */ \
    virtual T get() const;                                                        \
    Name& operator=(T rhs);                                                       \
    operator T() const;                                                           \
                                                                                  \
   private:                                                                       \
    friend class DataElementFriend;                                               \
    Name##Implementation* _impl;                                                  \
  };

RTI1516E_BASIC_DATA_ELEMENTS(RTI1516E_DECLARE_BASIC_DATA_ELEMENT)

#undef RTI1516E_DECLARE_BASIC_DATA_ELEMENT

}  // namespace rti1516e

#endif  // RTI_BasicDataElements_h
