// encoding_tour: an attribute value built with the encoding helpers and read back.
//
// The attribute is a record of the object model, say
//
//   Position  { x, y, z : HLAfloat64BE }      (a fixed array of three doubles)
//   Vehicle   { position : Position, name : HLAunicodeString }
//
// A federate binds the helpers to its own variables once, encodes for every update,
// and decodes every reflection straight into the same kind of variables.
#include "encoding_tour.h"

#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAfixedArray.h>
#include <RTI/encoding/HLAfixedRecord.h>

#include <iomanip>
#include <iostream>
#include <string>

namespace {

// The federate's own view of a vehicle.
struct Vehicle {
  double position[3] = {0, 0, 0};
  std::wstring name;
};

// VehicleEncoding binds the helpers to one Vehicle's fields: encoding reads them and
// decoding writes them, with no copying in between.
class VehicleEncoding {
 public:
  explicit VehicleEncoding(Vehicle& vehicle)
      : x_(&vehicle.position[0]), y_(&vehicle.position[1]), z_(&vehicle.position[2]),
        position_(rti1516e::HLAfloat64BE(), 3), name_(&vehicle.name) {
    position_.setElementPointer(0, &x_);
    position_.setElementPointer(1, &y_);
    position_.setElementPointer(2, &z_);
    record_.appendElementPointer(&position_);
    record_.appendElementPointer(&name_);
  }

  rti1516e::HLAfixedRecord& record() { return record_; }

 private:
  rti1516e::HLAfloat64BE x_, y_, z_;
  rti1516e::HLAfixedArray position_;
  rti1516e::HLAunicodeString name_;
  rti1516e::HLAfixedRecord record_;
};

// Sixteen bytes to a line, in hex. (The example writes through std::wcout only: a stream
// that has printed wide text drops narrow output.)
void printBytes(rti1516e::VariableLengthData const& value) {
  auto const* bytes = static_cast<unsigned char const*>(value.data());
  std::wcout << std::hex << std::uppercase << std::setfill(L'0');
  for (size_t i = 0; i < value.size(); ++i) {
    std::wcout << (i % 16 == 0 ? L"\n  " : L" ") << std::setw(2) << unsigned(bytes[i]);
  }
  std::wcout << std::dec << std::nouppercase << std::setfill(L' ') << std::endl;
}

// Wide text for any console: ASCII as it is, anything else as '?'.
std::wstring printable(std::wstring const& text) {
  std::wstring out;
  for (wchar_t c : text) out.push_back(c >= 0x20 && c < 0x7F ? c : L'?');
  return out;
}

void printVehicle(wchar_t const* label, Vehicle const& vehicle) {
  std::wcout << label << L" at (" << vehicle.position[0] << L", " << vehicle.position[1] << L", "
             << vehicle.position[2] << L") named " << printable(vehicle.name) << std::endl;
}

}  // namespace

void showAttributeEncoding() {
  // Sending side: fill the variables, encode. The bytes are what updateAttributeValues
  // would carry for this attribute.
  Vehicle sent;
  sent.position[0] = 52.5;
  sent.position[1] = 13.4;
  sent.position[2] = 34.0;
  sent.name = L"Tank Alpha";
  VehicleEncoding outgoing(sent);
  rti1516e::VariableLengthData const value = outgoing.record().encode();
  printVehicle(L"sent", sent);
  std::wcout << L"encoded as " << value.size()
             << L" bytes (position: three big-endian doubles; name: a count of\n"
                L"UTF-16 units, then the units):";
  printBytes(value);

  // Receiving side: decode what a reflection delivered into the federate's variables.
  // Malformed bytes from another federate arrive as an EncoderException.
  Vehicle received;
  VehicleEncoding incoming(received);
  try {
    incoming.record().decode(value);
    printVehicle(L"received", received);
  } catch (rti1516e::EncoderException const& e) {
    std::wcout << L"could not decode the vehicle: " << printable(e.what()) << std::endl;
  }

  // A value cut short in transit is refused with an EncoderException. A record decodes
  // field by field: the fields before the damaged one have been written, the damaged
  // field keeps its last value. Decode into scratch variables when that matters.
  rti1516e::VariableLengthData const truncated(value.data(), value.size() - 3);
  try {
    incoming.record().decode(truncated);
  } catch (rti1516e::EncoderException const& e) {
    std::wcout << L"a truncated value is refused (" << printable(e.what())
               << L"); the name kept its value:" << std::endl;
    printVehicle(L"received", received);
  }
}
