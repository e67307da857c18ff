#include <RTI/encoding/HLAopaqueData.h>

#include "Composites.h"

#include <cstring>

namespace rti1516e {

using namespace ostra1516e::encoding;

void HLAopaqueDataImplementation::release() {
  if (owner) delete[] data;
  data = nullptr;
  owner = false;
}

// Takes an own copy of size bytes at source; the copy is made before the old buffer is
// freed, so source may lie inside it.
void HLAopaqueDataImplementation::copy(Octet const* source, size_t size) {
  Octet* fresh = new Octet[size];
  if (size > 0) std::memcpy(fresh, source, size);
  release();
  data = fresh;
  bufferLength = dataLength = size;
  owner = true;
}

void HLAopaqueDataImplementation::borrow(Octet** external, size_t bufferSize, size_t dataSize) {
  if (external == nullptr) fail(kNullElement);
  Octet* const buffer = *external;
  if (buffer == nullptr && bufferSize > 0) fail(kExternalTooSmall);
  if (buffer != data) release();
  data = buffer;
  bufferLength = bufferSize;
  dataLength = dataSize;
  owner = false;
}

// The index is not aligned here; enclosing composites align it before they call.
size_t HLAopaqueDataImplementation::decode(Octet const* bytes, size_t size, size_t index) {
  if (remainsFewerThan(index, size, 4)) fail(kOpaqueTooShort);
  std::uint64_t const count = readCount(bytes, index);
  if (count > size - index - 4) fail(kArrayIndexOutOfBounds);
  size_t const n = static_cast<size_t>(count);
  Octet const* source = bytes + index + 4;
  if (owner) {
    copy(source, n);
  } else {
    if (n > bufferLength) fail(kExternalTooSmall);
    if (n > 0) std::memcpy(data, source, n);
    dataLength = n;
  }
  return index + 4 + n;
}

HLAopaqueData::HLAopaqueData() : _impl(new HLAopaqueDataImplementation) {}

HLAopaqueData::HLAopaqueData(Octet const* inData, size_t dataSize)
    : _impl(new HLAopaqueDataImplementation) {
  try {
    _impl->copy(inData, dataSize);
  } catch (...) {
    delete _impl;
    throw;
  }
}

HLAopaqueData::HLAopaqueData(Octet** inData, size_t bufferSize, size_t dataSize)
    : _impl(new HLAopaqueDataImplementation) {
  try {
    _impl->borrow(inData, bufferSize, dataSize);
  } catch (...) {
    delete _impl;
    throw;
  }
}

HLAopaqueData::HLAopaqueData(HLAopaqueData const& rhs)
    : DataElement(rhs), _impl(new HLAopaqueDataImplementation) {
  try {
    _impl->copy(rhs._impl->data, rhs._impl->dataLength);
  } catch (...) {
    delete _impl;
    throw;
  }
}

HLAopaqueData::~HLAopaqueData() { delete _impl; }

std::auto_ptr<DataElement> HLAopaqueData::clone() const {
  return std::auto_ptr<DataElement>(new HLAopaqueData(*this));
}

VariableLengthData HLAopaqueData::encode() const {
  VariableLengthData data;
  encode(data);
  return data;
}

void HLAopaqueData::encode(VariableLengthData& inData) const {
  encodeComposite(Kind::HLAopaqueData, *this, inData);
}

void HLAopaqueData::encodeInto(std::vector<Octet>& buffer) const {
  appendCount(buffer, _impl->dataLength);
  if (_impl->dataLength > 0) buffer.insert(buffer.end(), _impl->data, _impl->data + _impl->dataLength);
}

void HLAopaqueData::decode(VariableLengthData const& inData) {
  decodeComposite(Kind::HLAopaqueData, *this, inData);
}

size_t HLAopaqueData::decodeFrom(std::vector<Octet> const& buffer, size_t index) {
  return _impl->decode(buffer.data(), buffer.size(), index);
}

size_t HLAopaqueData::getEncodedLength() const { return 4 + _impl->dataLength; }

unsigned int HLAopaqueData::getOctetBoundary() const { return 4; }

size_t HLAopaqueData::bufferLength() const { return _impl->bufferLength; }

size_t HLAopaqueData::dataLength() const { return _impl->dataLength; }

void HLAopaqueData::setDataPointer(Octet** inData, size_t bufferSize, size_t dataSize) {
  _impl->borrow(inData, bufferSize, dataSize);
}

void HLAopaqueData::set(Octet const* inData, size_t dataSize) { _impl->copy(inData, dataSize); }

Octet const* HLAopaqueData::get() const { return _impl->data; }

}  // namespace rti1516e
