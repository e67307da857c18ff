// demo_values.h: the values of the demo's object model (fom/Demo.xml) in C++, and the
// encoding helpers that turn them into attribute and parameter values and back.
//
//   Vehicle.Name       HLAunicodeString
//   Vehicle.Position   Position2D, an HLAfixedRecord of X and Y, each HLAfloat64BE
//   Message.From       HLAunicodeString
//   Message.Text       HLAunicodeString
//
// The federates also put the number of the step they are in into the user-supplied tag of
// each update and interaction, as an HLAinteger32BE, so that receivers can tell the steps
// apart.
//
// Decoding bytes that another federate sent may fail: every decode... function throws
// rti1516e::EncoderException for a value of the wrong length.
#ifndef OSTRA_EXAMPLES_demo_values_h
#define OSTRA_EXAMPLES_demo_values_h

#include <RTI/VariableLengthData.h>
#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAfixedRecord.h>

#include <cstdio>
#include <string>

struct Position {
  double x = 0;
  double y = 0;
};

inline rti1516e::VariableLengthData encodePosition(Position const& position) {
  rti1516e::HLAfixedRecord record;
  record.appendElement(rti1516e::HLAfloat64BE(position.x));
  record.appendElement(rti1516e::HLAfloat64BE(position.y));
  return record.encode();
}

inline Position decodePosition(rti1516e::VariableLengthData const& value) {
  // The fields are bound to the result's members: decoding writes straight into them.
  Position position;
  rti1516e::HLAfloat64BE x(&position.x);
  rti1516e::HLAfloat64BE y(&position.y);
  rti1516e::HLAfixedRecord record;
  record.appendElementPointer(&x);
  record.appendElementPointer(&y);
  record.decode(value);
  return position;
}

inline rti1516e::VariableLengthData encodeText(std::wstring const& text) {
  return rti1516e::HLAunicodeString(text).encode();
}

inline std::wstring decodeText(rti1516e::VariableLengthData const& value) {
  rti1516e::HLAunicodeString text;
  text.decode(value);
  return text.get();
}

inline rti1516e::VariableLengthData encodeStep(int step) {
  return rti1516e::HLAinteger32BE(step).encode();
}

inline int decodeStep(rti1516e::VariableLengthData const& tag) {
  rti1516e::HLAinteger32BE step;
  step.decode(tag);
  return step.get();
}

// "(12.5, 3.0)": one decimal, for tables.
inline std::wstring formatPosition(Position const& position) {
  wchar_t text[64];
  std::swprintf(text, 64, L"(%.1f, %.1f)", position.x, position.y);
  return text;
}

#endif  // OSTRA_EXAMPLES_demo_values_h
