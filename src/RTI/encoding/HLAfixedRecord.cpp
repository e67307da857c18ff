#include <RTI/encoding/HLAfixedRecord.h>

#include "EncodingSupport.h"

namespace rti1516e {

using namespace ostra1516e::encoding;

class HLAfixedRecordImplementation {
 public:
  ElementList fields;

  // The index check comes before the type check.
  void checkReplacement(size_t index, DataElement const& element) const {
    if (!fields.at(index).isSameTypeAs(element)) fail(kNonMatchingType);
  }
};

HLAfixedRecord::HLAfixedRecord() : _impl(new HLAfixedRecordImplementation) {}

HLAfixedRecord::HLAfixedRecord(HLAfixedRecord const& rhs)
    : DataElement(rhs), _impl(new HLAfixedRecordImplementation(*rhs._impl)) {}

HLAfixedRecord::~HLAfixedRecord() { delete _impl; }

std::auto_ptr<DataElement> HLAfixedRecord::clone() const {
  return std::auto_ptr<DataElement>(new HLAfixedRecord(*this));
}

VariableLengthData HLAfixedRecord::encode() const {
  VariableLengthData data;
  encode(data);
  return data;
}

// A record without bytes encodes to empty data.
void HLAfixedRecord::encode(VariableLengthData& inData) const { encodeThroughBuffer(*this, inData); }

void HLAfixedRecord::encodeInto(std::vector<Octet>& buffer) const {
  padTo(buffer, getOctetBoundary());
  _impl->fields.encodeEach(buffer);
}

void HLAfixedRecord::decode(VariableLengthData const& inData) { decodeThroughBuffer(*this, inData); }

// Fields are decoded in order; one that fails leaves the fields before it decoded.
size_t HLAfixedRecord::decodeFrom(std::vector<Octet> const& buffer, size_t index) {
  return _impl->fields.decodeEach(buffer, index);
}

size_t HLAfixedRecord::getEncodedLength() const { return _impl->fields.layoutLength(0); }

unsigned int HLAfixedRecord::getOctetBoundary() const { return _impl->fields.maxBoundary(1); }

bool HLAfixedRecord::hasElementSameTypeAs(size_t index, DataElement const& inData) const {
  return _impl->fields.at(index).isSameTypeAs(inData);
}

size_t HLAfixedRecord::size() const { return _impl->fields.size(); }

void HLAfixedRecord::appendElement(DataElement const& dataElement) {
  _impl->fields.appendCopy(dataElement);
}

void HLAfixedRecord::appendElementPointer(DataElement* dataElement) {
  _impl->fields.appendPointer(dataElement);
}

void HLAfixedRecord::set(size_t index, DataElement const& dataElement) {
  _impl->checkReplacement(index, dataElement);
  _impl->fields.replaceWithCopy(index, dataElement);
}

void HLAfixedRecord::setElementPointer(size_t index, DataElement* dataElement) {
  if (dataElement == nullptr) fail(kNullElement);
  _impl->checkReplacement(index, *dataElement);
  _impl->fields.replaceWithPointer(index, dataElement);
}

DataElement const& HLAfixedRecord::get(size_t index) const { return _impl->fields.at(index); }

}  // namespace rti1516e
