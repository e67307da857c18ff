#include <RTI/encoding/HLAfixedArray.h>

#include "EncodingSupport.h"

namespace rti1516e {

using namespace ostra1516e::encoding;

// The elements; the first one doubles as the prototype for type checks.
class HLAfixedArrayImplementation {
 public:
  ElementList elements;

  // The index check comes before the type check.
  void checkReplacement(size_t index, DataElement const& element) const {
    elements.at(index);
    if (!elements[0].isSameTypeAs(element)) fail(kNotPrototypeType);
  }
};

HLAfixedArray::HLAfixedArray(DataElement const& protoType, size_t length)
    : _impl(new HLAfixedArrayImplementation) {
  try {
    for (size_t i = 0; i < length; ++i) _impl->elements.appendCopy(protoType);
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

void HLAfixedArray::encode(VariableLengthData& inData) const { encodeThroughBuffer(*this, inData); }

void HLAfixedArray::encodeInto(std::vector<Octet>& buffer) const {
  padTo(buffer, getOctetBoundary());
  _impl->elements.encodeEach(buffer);
}

void HLAfixedArray::decode(VariableLengthData const& inData) { decodeThroughBuffer(*this, inData); }

size_t HLAfixedArray::decodeFrom(std::vector<Octet> const& buffer, size_t index) {
  return _impl->elements.decodeEach(buffer, index);
}

size_t HLAfixedArray::getEncodedLength() const { return _impl->elements.layoutLength(0); }

unsigned int HLAfixedArray::getOctetBoundary() const { return _impl->elements.maxBoundary(1); }

bool HLAfixedArray::hasPrototypeSameTypeAs(DataElement const& dataElement) const {
  return !_impl->elements.empty() && _impl->elements[0].isSameTypeAs(dataElement);
}

size_t HLAfixedArray::size() const { return _impl->elements.size(); }

void HLAfixedArray::set(size_t index, DataElement const& dataElement) {
  _impl->checkReplacement(index, dataElement);
  _impl->elements.replaceWithCopy(index, dataElement);
}

void HLAfixedArray::setElementPointer(size_t index, DataElement* dataElement) {
  if (dataElement == nullptr) fail(kNullElement);
  _impl->checkReplacement(index, *dataElement);
  _impl->elements.replaceWithPointer(index, dataElement);
}

DataElement const& HLAfixedArray::get(size_t index) const { return _impl->elements.at(index); }

DataElement const& HLAfixedArray::operator[](size_t index) const { return get(index); }

}  // namespace rti1516e
