// Records of numbers inside arrays and records. The library lays such a record out once,
// places its fields at offsets worked out in advance, takes a run of records of one layout
// column by column, and decodes or encodes a value done again and again by a plan made
// from it; the same values built on a federate's own element class, which only forwards to the
// library's element, go element by element. Both must agree on
// everything: the outcome (the same end index, or the same EncoderException), the
// elements left, and the bytes they encode to.
//
// The input chooses the record (up to six fields of the fixed-size basic classes, now and
// then a string, which ends the fixed part), the value around it (a variable array, a
// fixed array, a record of records), how many records there are before decoding, whether
// some of them are of another layout or the caller's own (added by pointer), and the
// index to decode from.
#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAfixedArray.h>
#include <RTI/encoding/HLAfixedRecord.h>
#include <RTI/encoding/HLAvariableArray.h>

#include "FuzzSupport.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using rti1516e::DataElement;

// A federate's own class around one of the library's elements: the library cannot know it.
class Forwarding : public DataElement {
 public:
  explicit Forwarding(DataElement const& inner) : inner_(inner.clone().release()) {}
  Forwarding(Forwarding const& other) : DataElement(other), inner_(other.inner_->clone().release()) {}
  std::auto_ptr<DataElement> clone() const override { return std::auto_ptr<DataElement>(new Forwarding(*this)); }
  rti1516e::VariableLengthData encode() const override { return inner_->encode(); }
  void encode(rti1516e::VariableLengthData& out) const override { inner_->encode(out); }
  void encodeInto(std::vector<char>& buffer) const override { inner_->encodeInto(buffer); }
  void decode(rti1516e::VariableLengthData const& in) override { inner_->decode(in); }
  size_t decodeFrom(std::vector<char> const& buffer, size_t index) override {
    return inner_->decodeFrom(buffer, index);
  }
  size_t getEncodedLength() const override { return inner_->getEncodedLength(); }
  unsigned int getOctetBoundary() const override { return inner_->getOctetBoundary(); }

 private:
  std::unique_ptr<DataElement> inner_;
};

std::unique_ptr<DataElement> basic(unsigned choice) {
  using namespace rti1516e;
  switch (choice % 18) {
    case 0: return std::unique_ptr<DataElement>(new HLAASCIIchar);
    case 1: return std::unique_ptr<DataElement>(new HLAboolean);
    case 2: return std::unique_ptr<DataElement>(new HLAbyte);
    case 3: return std::unique_ptr<DataElement>(new HLAfloat32BE);
    case 4: return std::unique_ptr<DataElement>(new HLAfloat32LE);
    case 5: return std::unique_ptr<DataElement>(new HLAfloat64BE);
    case 6: return std::unique_ptr<DataElement>(new HLAfloat64LE);
    case 7: return std::unique_ptr<DataElement>(new HLAinteger16BE);
    case 8: return std::unique_ptr<DataElement>(new HLAinteger16LE);
    case 9: return std::unique_ptr<DataElement>(new HLAinteger32BE);
    case 10: return std::unique_ptr<DataElement>(new HLAinteger32LE);
    case 11: return std::unique_ptr<DataElement>(new HLAinteger64BE);
    case 12: return std::unique_ptr<DataElement>(new HLAinteger64LE);
    case 13: return std::unique_ptr<DataElement>(new HLAoctet);
    case 14: return std::unique_ptr<DataElement>(new HLAoctetPairBE);
    case 15: return std::unique_ptr<DataElement>(new HLAoctetPairLE);
    case 16: return std::unique_ptr<DataElement>(new HLAunicodeChar);
    default: return std::unique_ptr<DataElement>(new HLAASCIIstring);  // ends the fixed part
  }
}

// What the input asks for, read from its first bytes.
struct Plan {
  std::vector<unsigned> fields;  // the record's field classes
  unsigned other;                // the class of the field that gives the other layout
  unsigned shape;                // which value holds the records
  size_t records;                // records before decoding
  unsigned mix;                  // bit r: record r is of the other layout; bit 8 + r: the caller's own
};

// The elements of one side: the library's own (forwarding false) or a federate's. Records
// added by pointer are kept here.
class Side {
 public:
  Side(Plan const& plan, bool forwarding) : plan_(plan), forwarding_(forwarding) {}

  std::unique_ptr<rti1516e::HLAfixedRecord> record(bool otherLayout) const {
    std::unique_ptr<rti1516e::HLAfixedRecord> record(new rti1516e::HLAfixedRecord);
    for (unsigned field : plan_.fields) add(*record, field);
    if (otherLayout) add(*record, plan_.other);
    return record;
  }

  // The value of the plan's shape with its records.
  std::unique_ptr<DataElement> value() {
    std::unique_ptr<rti1516e::HLAfixedRecord> const prototype = record(false);
    switch (plan_.shape % 3) {
      case 0: {
        std::unique_ptr<rti1516e::HLAvariableArray> array(new rti1516e::HLAvariableArray(*prototype));
        for (size_t r = 0; r < plan_.records; ++r) {
          std::unique_ptr<rti1516e::HLAfixedRecord> element = record((plan_.mix >> r) & 1);
          if ((plan_.mix >> (8 + r)) & 1) {
            array->addElementPointer(element.get());
            kept_.push_back(std::move(element));
          } else {
            array->addElement(*element);
          }
        }
        return std::unique_ptr<DataElement>(array.release());
      }
      case 1:
        return std::unique_ptr<DataElement>(new rti1516e::HLAfixedArray(*prototype, plan_.records));
      default: {
        // A record of records around a number: rows of one layout and of another.
        std::unique_ptr<rti1516e::HLAfixedRecord> outer(new rti1516e::HLAfixedRecord);
        add(*outer, 13);
        for (size_t r = 0; r < plan_.records; ++r) outer->appendElement(*record((plan_.mix >> r) & 1));
        return std::unique_ptr<DataElement>(outer.release());
      }
    }
  }

 private:
  void add(rti1516e::HLAfixedRecord& record, unsigned field) const {
    std::unique_ptr<DataElement> const element = basic(field);
    if (forwarding_) {
      record.appendElement(Forwarding(*element));
    } else {
      record.appendElement(*element);
    }
  }

  Plan const& plan_;
  bool forwarding_;
  std::vector<std::unique_ptr<rti1516e::HLAfixedRecord>> kept_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(unsigned char const* data, size_t size) {
  if (size < 5) return 0;
  Plan plan;
  size_t const fieldCount = 1 + data[0] % 6;
  if (size < 5 + fieldCount) return 0;
  for (size_t i = 0; i < fieldCount; ++i) plan.fields.push_back(data[1 + i] % 24 < 17 ? data[1 + i] % 17 : 17);
  size_t at = 1 + fieldCount;
  plan.other = data[at] % 18;
  plan.shape = data[at] / 18;
  plan.records = data[at + 1] % 9;
  plan.mix = data[at + 2] | (data[at + 3] << 8);
  at += 4;
  if (size <= at) return 0;
  unsigned char const choice = data[at++];
  std::vector<char> const buffer(data + at, data + size);
  size_t const index = choice % (buffer.size() + 3);

  Side fastSide(plan, false), generalSide(plan, true);
  std::unique_ptr<DataElement> fast = fastSide.value(), general = generalSide.value();
  fuzz::requireSame(*fast, *general, "the values start alike");

  // Decoded again and again, a value is decoded by the plan the library makes for it.
  for (int round = 0; round < 3; ++round) {
    std::wstring const from = fuzz::outcome([&] { return fast->decodeFrom(buffer, index); });
    fuzz::require(from == fuzz::outcome([&] { return general->decodeFrom(buffer, index); }),
                  "decodeFrom decodes as element by element");
    fuzz::requireSame(*fast, *general, "decodeFrom leaves the same values");
  }
  rti1516e::VariableLengthData const value(buffer.data(), buffer.size());
  for (int round = 0; round < 3; ++round) {
    std::wstring const whole = fuzz::outcome([&] {
      fast->decode(value);
      return size_t{0};
    });
    fuzz::require(whole == fuzz::outcome([&] {
                    general->decode(value);
                    return size_t{0};
                  }),
                  "decode decodes as element by element");
    fuzz::requireSame(*fast, *general, "decode leaves the same values");
  }

  // Encoded inside a buffer that already holds some bytes, both pad and write alike.
  std::vector<char> intoFast(choice % 9, 'x'), intoGeneral(intoFast);
  fast->encodeInto(intoFast);
  general->encodeInto(intoGeneral);
  fuzz::require(intoFast == intoGeneral, "encodeInto writes the same bytes");
  return 0;
}
