#include <RTI/encoding/HLAfixedArray.h>

#include "Composites.h"

namespace rti1516e {

using namespace ostra1516e::encoding;

namespace {

// The index check comes before the type check; the first element is the prototype.
void checkReplacement(ElementList const& elements, size_t index, DataElement const& element) {
  elements.at(index);
  if (!elements[0].isSameTypeAs(element)) fail(kNotPrototypeType);
}

}  // namespace

HLAfixedArray::HLAfixedArray(DataElement const& protoType, size_t length)
    : _impl(new HLAfixedArrayImplementation) {
  try {
    Kind const kind = kindOf(protoType);
    for (size_t i = 0; i < length; ++i) _impl->elements.appendCopy(protoType, kind);
  } catch (...) {
    delete _impl;
    throw;
  }
}

HLAfixedArray::HLAfixedArray(HLAfixedArray const& rhs)
    : DataElement(rhs), _impl(new HLAfixedArrayImplementation(*rhs._impl)) {}

HLAfixedArray::~HLAfixedArray() { delete _impl; }

std::auto_ptr<DataElement> HLAfixedArray::clone() const {
  return std::auto_ptr<DataElement>(new HLAfixedArray(*this));
}

VariableLengthData HLAfixedArray::encode() const {
  VariableLengthData data;
  encode(data);
  return data;
}

void HLAfixedArray::encode(VariableLengthData& inData) const {
  encodeComposite(Kind::HLAfixedArray, *this, inData);
}

void HLAfixedArray::encodeInto(std::vector<Octet>& buffer) const {
  encodeCompositeInto(Kind::HLAfixedArray, *this, buffer);
}

void HLAfixedArray::decode(VariableLengthData const& inData) {
  decodeComposite(Kind::HLAfixedArray, *this, inData);
}

size_t HLAfixedArray::decodeFrom(std::vector<Octet> const& buffer, size_t index) {
  return decodeCompositeFrom(Kind::HLAfixedArray, *this, buffer, index);
}

size_t HLAfixedArray::getEncodedLength() const { return _impl->elements.extent(0, 1).length; }

unsigned int HLAfixedArray::getOctetBoundary() const { return _impl->elements.maxBoundary(1); }

bool HLAfixedArray::hasPrototypeSameTypeAs(DataElement const& dataElement) const {
  return !_impl->elements.empty() && _impl->elements[0].isSameTypeAs(dataElement);
}

size_t HLAfixedArray::size() const { return _impl->elements.size(); }

void HLAfixedArray::set(size_t index, DataElement const& dataElement) {
  checkReplacement(_impl->elements, index, dataElement);
  _impl->elements.replaceWithCopy(index, dataElement);
}

void HLAfixedArray::setElementPointer(size_t index, DataElement* dataElement) {
  if (dataElement == nullptr) fail(kNullElement);
  checkReplacement(_impl->elements, index, *dataElement);
  _impl->elements.replaceWithPointer(index, dataElement);
}

DataElement const& HLAfixedArray::get(size_t index) const { return _impl->elements.at(index); }

DataElement const& HLAfixedArray::operator[](size_t index) const { return get(index); }

}  // namespace rti1516e
