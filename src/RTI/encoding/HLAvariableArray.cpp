#include <RTI/encoding/HLAvariableArray.h>

#include "Composites.h"

#include <memory>

namespace rti1516e {

using namespace ostra1516e::encoding;

HLAvariableArrayImplementation::HLAvariableArrayImplementation(DataElement const& prototypeToCopy)
    : prototype(cloneOf(prototypeToCopy)), prototypeKind(kindOf(*prototype)) {}

HLAvariableArrayImplementation::HLAvariableArrayImplementation(
    HLAvariableArrayImplementation const& other)
    : prototype(cloneOf(*other.prototype)),
      prototypeKind(other.prototypeKind == Kind::Foreign ? kindOf(*prototype) : other.prototypeKind),
      elements(other.elements) {}

namespace {

// The index check comes before the type check.
void checkReplacement(HLAvariableArrayImplementation const& array, size_t index,
                      DataElement const& element) {
  array.elements.at(index);
  if (!array.prototype->isSameTypeAs(element)) fail(kNotPrototypeType);
}

}  // namespace

HLAvariableArray::HLAvariableArray(DataElement const& protoType)
    : _impl(new HLAvariableArrayImplementation(protoType)) {}

HLAvariableArray::HLAvariableArray(HLAvariableArray const& rhs)
    : DataElement(rhs), _impl(new HLAvariableArrayImplementation(*rhs._impl)) {}

HLAvariableArray::~HLAvariableArray() { delete _impl; }

std::auto_ptr<DataElement> HLAvariableArray::clone() const {
  return std::auto_ptr<DataElement>(new HLAvariableArray(*this));
}

VariableLengthData HLAvariableArray::encode() const {
  VariableLengthData data;
  encode(data);
  return data;
}

void HLAvariableArray::encode(VariableLengthData& inData) const {
  encodeComposite(Kind::HLAvariableArray, *this, inData);
}

void HLAvariableArray::encodeInto(std::vector<Octet>& buffer) const {
  encodeCompositeInto(Kind::HLAvariableArray, *this, buffer);
}

void HLAvariableArray::decode(VariableLengthData const& inData) {
  decodeComposite(Kind::HLAvariableArray, *this, inData);
}

size_t HLAvariableArray::decodeFrom(std::vector<Octet> const& buffer, size_t index) {
  return decodeCompositeFrom(Kind::HLAvariableArray, *this, buffer, index);
}

size_t HLAvariableArray::getEncodedLength() const {
  return extentOf(Kind::HLAvariableArray, *this).length;
}

unsigned int HLAvariableArray::getOctetBoundary() const {
  return boundaryOf(Kind::HLAvariableArray, *this);
}

size_t HLAvariableArray::size() const { return _impl->elements.size(); }

bool HLAvariableArray::hasPrototypeSameTypeAs(DataElement const& dataElement) const {
  return _impl->prototype->isSameTypeAs(dataElement);
}

void HLAvariableArray::addElement(DataElement const& dataElement) {
  PoolScope scope(&_impl->pool);
  _impl->elements.appendCopy(dataElement);
}

void HLAvariableArray::addElementPointer(DataElement* dataElement) {
  _impl->elements.appendPointer(dataElement);
}

void HLAvariableArray::set(size_t index, DataElement const& dataElement) {
  checkReplacement(*_impl, index, dataElement);
  _impl->elements.replaceWithCopy(index, dataElement);
}

void HLAvariableArray::setElementPointer(size_t index, DataElement* dataElement) {
  if (dataElement == nullptr) fail(kNullElement);
  checkReplacement(*_impl, index, *dataElement);
  _impl->elements.replaceWithPointer(index, dataElement);
}

DataElement const& HLAvariableArray::get(size_t index) const { return _impl->elements.at(index); }

DataElement const& HLAvariableArray::operator[](size_t index) const { return get(index); }

}  // namespace rti1516e
