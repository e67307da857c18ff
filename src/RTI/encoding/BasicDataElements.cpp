// The nineteen basic elements share one implementation: BasicValue<Codec> holds the
// value (own or bound to the caller's variable) and the generic functions of
// BasicCodecs.h encode, decode and check bounds; a codec says only how one value type is
// laid out in bytes.
#include <RTI/encoding/BasicDataElements.h>

#include "BasicCodecs.h"

namespace rti1516e {

using ostra1516e::encoding::CodecOf;

#define RTI1516E_DEFINE_BASIC_DATA_ELEMENT(Name, T)                                        \
  using Name##Codec = CodecOf<Name>::type;                                                  \
  static_assert(std::is_same<Name##Codec::Value, T>::value, #Name " has the wrong codec");  \
  Name::Name() : _impl(new Name##Implementation) {}                                        \
  Name::Name(T const& inData) : _impl(new Name##Implementation(inData)) {}                 \
  Name::Name(T* inData) : _impl(new Name##Implementation(inData)) {}                       \
  Name::Name(Name const& rhs)                                                              \
      : DataElement(rhs),                                                                  \
        _impl(ostra1516e::encoding::copyRecord<Name##Implementation>(rhs._impl->current())) {} \
  Name::~Name() { ostra1516e::encoding::dropRecord(_impl); }                               \
  /* The record stays: arrays and records keep a pointer to it. The value is copied  */  \
  /* before anything changes, so a failing copy changes nothing. */                       \
  Name& Name::operator=(Name const& rhs) {                                                 \
    T value(rhs._impl->current());                                                         \
    _impl->own = std::move(value);                                                         \
    _impl->unbind();                                                                       \
    return *this;                                                                          \
  }                                                                                        \
  std::auto_ptr<DataElement> Name::clone() const {                                         \
    return std::auto_ptr<DataElement>(new Name(*this));                                    \
  }                                                                                        \
  VariableLengthData Name::encode() const {                                                \
    VariableLengthData data;                                                               \
    encode(data);                                                                          \
    return data;                                                                           \
  }                                                                                        \
  void Name::encode(VariableLengthData& inData) const {                                    \
    ostra1516e::encoding::encodeValue<Name##Codec>(_impl->current(), inData);              \
  }                                                                                        \
  void Name::encodeInto(std::vector<Octet>& buffer) const {                                \
    ostra1516e::encoding::encodeValueInto<Name##Codec>(_impl->current(), buffer);          \
  }                                                                                        \
  void Name::decode(VariableLengthData const& inData) {                                    \
    ostra1516e::encoding::decodeValue<Name##Codec>(static_cast<Octet const*>(inData.data()), \
                                                   inData.size(), _impl->target());        \
  }                                                                                        \
  size_t Name::decodeFrom(std::vector<Octet> const& buffer, size_t index) {                \
    return ostra1516e::encoding::decodeValueFrom<Name##Codec>(buffer, index, _impl->target()); \
  }                                                                                        \
  size_t Name::getEncodedLength() const { return Name##Codec::length(_impl->current()); }  \
  unsigned int Name::getOctetBoundary() const { return Name##Codec::Boundary; }            \
  Integer64 Name::hash() const { return Name##Codec::hash(_impl->current()); }             \
  void Name::setDataPointer(T* inData) { _impl->bind(inData); }                            \
  void Name::set(T inData) {                                                               \
    _impl->own = std::move(inData);                                                        \
    _impl->unbind();                                                                       \
  }                                                                                        \
  T Name::get() const { return _impl->current(); }                                         \
  Name& Name::operator=(T rhs) {                                                           \
    set(std::move(rhs));                                                                   \
    return *this;                                                                          \
  }                                                                                        \
  Name::operator T() const { return _impl->current(); }

RTI1516E_BASIC_DATA_ELEMENTS(RTI1516E_DEFINE_BASIC_DATA_ELEMENT)

#undef RTI1516E_DEFINE_BASIC_DATA_ELEMENT

}  // namespace rti1516e
