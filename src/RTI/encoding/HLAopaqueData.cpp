#include <RTI/encoding/HLAopaqueData.h>

#include "EncodingSupport.h"

#include <cstring>

namespace rti1516e {

using namespace ostra1516e::encoding;

class HLAopaqueDataImplementation {
 public:
  HLAopaqueDataImplementation() = default;
  HLAopaqueDataImplementation(HLAopaqueDataImplementation const&) = delete;
  HLAopaqueDataImplementation& operator=(HLAopaqueDataImplementation const&) = delete;
  ~HLAopaqueDataImplementation() { release(); }

  void release() {
    if (owner) delete[] data;
    data = nullptr;
    owner = false;
  }

  // Takes an own copy of size bytes at source; the copy is made before the old buffer
  // is freed, so source may lie inside it.
  void copy(Octet const* source, size_t size) {
    Octet* fresh = new Octet[size];
    if (size > 0) std::memcpy(fresh, source, size);
    release();
    data = fresh;
    bufferLength = dataLength = size;
    owner = true;
  }

  void borrow(Octet** external, size_t bufferSize, size_t dataSize) {
    if (external == nullptr) fail(kNullElement);
    Octet* const buffer = *external;
    if (buffer == nullptr && bufferSize > 0) fail(kExternalTooSmall);
    if (buffer != data) release();
    data = buffer;
    bufferLength = bufferSize;
    dataLength = dataSize;
    owner = false;
  }

  Octet* data = nullptr;
  size_t bufferLength = 0;
  size_t dataLength = 0;
  bool owner = true;  // an empty element has own storage
};

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

void HLAopaqueData::encode(VariableLengthData& inData) const { encodeThroughBuffer(*this, inData); }

void HLAopaqueData::encodeInto(std::vector<Octet>& buffer) const {
  appendCount(buffer, _impl->dataLength);
  if (_impl->dataLength > 0) buffer.insert(buffer.end(), _impl->data, _impl->data + _impl->dataLength);
}

void HLAopaqueData::decode(VariableLengthData const& inData) { decodeThroughBuffer(*this, inData); }

// The index is not aligned here; enclosing composites align it before they call.
size_t HLAopaqueData::decodeFrom(std::vector<Octet> const& buffer, size_t index) {
  if (remainsFewerThan(index, buffer.size(), 4)) fail(kOpaqueTooShort);
  std::uint64_t const count = readCount(buffer, index);
  if (count > buffer.size() - index - 4) fail(kArrayIndexOutOfBounds);
  size_t const n = static_cast<size_t>(count);
  Octet const* source = buffer.data() + index + 4;
  if (_impl->owner) {
    _impl->copy(source, n);
  } else {
    if (n > _impl->bufferLength) fail(kExternalTooSmall);
    if (n > 0) std::memcpy(_impl->data, source, n);
    _impl->dataLength = n;
  }
  return index + 4 + n;
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
