#include <RTI/encoding/HLAvariableArray.h>

#include "EncodingSupport.h"

#include <memory>

namespace rti1516e {

using namespace ostra1516e::encoding;

class HLAvariableArrayImplementation {
 public:
  explicit HLAvariableArrayImplementation(DataElement const& prototypeToCopy)
      : prototype(cloneOf(prototypeToCopy)) {}
  HLAvariableArrayImplementation(HLAvariableArrayImplementation const& other)
      : prototype(cloneOf(*other.prototype)), elements(other.elements) {}

  // The index check comes before the type check.
  void checkReplacement(size_t index, DataElement const& element) const {
    elements.at(index);
    if (!prototype->isSameTypeAs(element)) fail(kNotPrototypeType);
  }

  std::unique_ptr<DataElement> prototype;
  ElementList elements;
};

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
  encodeThroughBuffer(*this, inData);
}

void HLAvariableArray::encodeInto(std::vector<Octet>& buffer) const {
  padTo(buffer, getOctetBoundary());
  appendCount(buffer, _impl->elements.size());
  _impl->elements.encodeEach(buffer);
}

void HLAvariableArray::decode(VariableLengthData const& inData) {
  decodeThroughBuffer(*this, inData);
}

// The count is only checked against the bytes that remain, taking every element as at
// least one byte; the elements check their own lengths. Surplus elements are dropped
// first; missing ones are added one at a time, each just before it is decoded, so that a
// value that fails half-way has made no more copies of the prototype than it reached.
// Elements decoded before a failing one keep their new values.
size_t HLAvariableArray::decodeFrom(std::vector<Octet> const& buffer, size_t index) {
  index = alignForDecode(index, 4, buffer.size());
  if (remainsFewerThan(index, buffer.size(), 4)) fail(kVariableArrayTooShort);
  std::uint64_t const count = readCount(buffer, index);
  if (count > buffer.size() - index - 4) fail(kVariableArrayTooShort);
  ElementList& elements = _impl->elements;
  elements.truncate(static_cast<size_t>(count));
  index += 4;
  for (size_t i = 0; i < count; ++i) {
    if (i == elements.size()) elements.appendCopy(*_impl->prototype);
    DataElement& element = elements[i];
    index = element.decodeFrom(buffer, alignForDecode(index, element.getOctetBoundary(), buffer.size()));
  }
  return index;
}

size_t HLAvariableArray::getEncodedLength() const { return _impl->elements.layoutLength(4); }

unsigned int HLAvariableArray::getOctetBoundary() const {
  if (_impl->elements.empty()) {
    unsigned const b = _impl->prototype->getOctetBoundary();
    return b > 4 ? b : 4;
  }
  return _impl->elements.maxBoundary(4);
}

size_t HLAvariableArray::size() const { return _impl->elements.size(); }

bool HLAvariableArray::hasPrototypeSameTypeAs(DataElement const& dataElement) const {
  return _impl->prototype->isSameTypeAs(dataElement);
}

void HLAvariableArray::addElement(DataElement const& dataElement) {
  _impl->elements.appendCopy(dataElement);
}

void HLAvariableArray::addElementPointer(DataElement* dataElement) {
  _impl->elements.appendPointer(dataElement);
}

void HLAvariableArray::set(size_t index, DataElement const& dataElement) {
  _impl->checkReplacement(index, dataElement);
  _impl->elements.replaceWithCopy(index, dataElement);
}

void HLAvariableArray::setElementPointer(size_t index, DataElement* dataElement) {
  if (dataElement == nullptr) fail(kNullElement);
  _impl->checkReplacement(index, *dataElement);
  _impl->elements.replaceWithPointer(index, dataElement);
}

DataElement const& HLAvariableArray::get(size_t index) const { return _impl->elements.at(index); }

DataElement const& HLAvariableArray::operator[](size_t index) const { return get(index); }

}  // namespace rti1516e
