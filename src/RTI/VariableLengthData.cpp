#include <RTI/VariableLengthData.h>

#include <cstring>

#include "RTI/VariableLengthDataFriend.h"

namespace rti1516e {

namespace {

// A record owning a fresh copy of size bytes at source. The copy is made before any
// old record is released, so a source inside the object's own buffer stays readable.
VariableLengthDataImplementation* ownedCopy(void const* source, size_t size) {
  VariableLengthDataImplementation* record = new VariableLengthDataImplementation;
  if (size > 0) {  // an empty copy allocates nothing and keeps a null data pointer
    try {
      char* bytes = new char[size];
      std::memcpy(bytes, source, size);
      record->data = bytes;
    } catch (...) {
      delete record;
      throw;
    }
  }
  record->size = size;
  record->owner = true;
  return record;
}

}  // namespace

VariableLengthData::VariableLengthData() : _impl(new VariableLengthDataImplementation) {}

VariableLengthData::VariableLengthData(void const* inData, size_t inSize)
    : _impl(ownedCopy(inData, inSize)) {}

VariableLengthData::VariableLengthData(VariableLengthData const& rhs)
    : _impl(ownedCopy(rhs._impl->data, rhs._impl->size)) {}

VariableLengthData::~VariableLengthData() { delete _impl; }

VariableLengthData& VariableLengthData::operator=(VariableLengthData const& rhs) {
  if (this != &rhs) {
    VariableLengthDataImplementation* fresh = ownedCopy(rhs._impl->data, rhs._impl->size);
    delete _impl;
    _impl = fresh;
  }
  return *this;
}

void const* VariableLengthData::data() const { return _impl->data; }

size_t VariableLengthData::size() const { return _impl->size; }

void VariableLengthData::setData(void const* inData, size_t inSize) {
  VariableLengthDataImplementation* fresh = ownedCopy(inData, inSize);
  delete _impl;
  _impl = fresh;
}

void VariableLengthData::setDataPointer(void* inData, size_t inSize) {
  VariableLengthDataImplementation* fresh = new VariableLengthDataImplementation;
  fresh->data = inData;
  fresh->size = inSize;
  if (_impl->owner && inData == _impl->data) {
    // Lending the object its own buffer: freeing it now would leave the object
    // pointing at released memory, so the ownership moves to the new record.
    fresh->owner = true;
    fresh->release = _impl->release;
    _impl->owner = false;
  }
  delete _impl;
  _impl = fresh;
}

void VariableLengthData::takeDataPointer(void* inData, size_t inSize,
                                         VariableLengthDataDeleteFunction func) {
  VariableLengthDataImplementation* fresh = new VariableLengthDataImplementation;
  fresh->data = inData;
  fresh->size = inSize;
  fresh->release = func;
  fresh->owner = true;
  if (_impl->owner && inData == _impl->data) {
    _impl->owner = false;  // handing over its own buffer again must not free it twice
  }
  delete _impl;
  _impl = fresh;
}

}  // namespace rti1516e
