#include <RTI/encoding/HLAfixedRecord.h>

#include "Composites.h"

namespace rti1516e {

using namespace ostra1516e::encoding;

namespace {

// The index check comes before the type check.
void checkReplacement(ElementList const& fields, size_t index, DataElement const& element) {
  if (!fields.at(index).isSameTypeAs(element)) fail(kNonMatchingType);
}

}  // namespace

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
void HLAfixedRecord::encode(VariableLengthData& inData) const {
  encodeComposite(Kind::HLAfixedRecord, *this, inData);
}

void HLAfixedRecord::encodeInto(std::vector<Octet>& buffer) const {
  encodeCompositeInto(Kind::HLAfixedRecord, *this, buffer);
}

void HLAfixedRecord::decode(VariableLengthData const& inData) {
  decodeComposite(Kind::HLAfixedRecord, *this, inData);
}

// Fields are decoded in order; one that fails leaves the fields before it decoded.
size_t HLAfixedRecord::decodeFrom(std::vector<Octet> const& buffer, size_t index) {
  return decodeCompositeFrom(Kind::HLAfixedRecord, *this, buffer, index);
}

size_t HLAfixedRecord::getEncodedLength() const { return _impl->fields.extent(0, 1).length; }

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
  checkReplacement(_impl->fields, index, dataElement);
  _impl->fields.replaceWithCopy(index, dataElement);
}

void HLAfixedRecord::setElementPointer(size_t index, DataElement* dataElement) {
  if (dataElement == nullptr) fail(kNullElement);
  checkReplacement(_impl->fields, index, *dataElement);
  _impl->fields.replaceWithPointer(index, dataElement);
}

DataElement const& HLAfixedRecord::get(size_t index) const { return _impl->fields.at(index); }

}  // namespace rti1516e
