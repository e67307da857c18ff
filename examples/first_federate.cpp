// first_federate: a tour of the value types a federate uses every day, and of a federation.
#include <RTI/RTI1516.h>

#include "encoding_tour.h"
#include "federation_tour.h"
#include "time_tour.h"

#include <cstring>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
  // Which RTI is this?
  std::wcout << rti1516e::rtiName() << L" " << rti1516e::rtiVersion() << std::endl;

  // Byte blocks carry user-supplied tags and attribute values.
  std::string const text = "hello, federation";
  rti1516e::VariableLengthData tag(text.data(), text.size());
  std::wcout << L"tag holds " << tag.size() << L" bytes" << std::endl;

  // Handles name classes, attributes, instances and federates. The RTI hands them out
  // (getAttributeHandle, registerObjectInstance, ...); a default one is invalid.
  rti1516e::AttributeHandle position;
  std::wcout << position << L" is " << (position.isValid() ? L"valid" : L"invalid") << std::endl;

  // A handle turns into bytes, for example to send it inside an attribute value. The
  // receiving federate turns them back with its ambassador's decode... services, such as
  // rti->decodeAttributeHandle(bytes).
  rti1516e::VariableLengthData bytes = position.encode();
  std::wcout << L"an encoded handle takes " << bytes.size() << L" bytes" << std::endl;

  // Handles go into sets and maps: that is how services take attributes and values.
  rti1516e::AttributeHandleValueMap values;
  values[position] = tag;
  std::wcout << L"updating " << values.size() << L" attribute" << std::endl;

  // Every RTI failure is an rti1516e::Exception with a readable message.
  try {
    throw rti1516e::FederationExecutionDoesNotExist(L"no federation named \"Battle\"");
  } catch (rti1516e::Exception const& e) {
    std::wcout << L"caught: " << e << std::endl;
  }

  // Logical time: the federation's representation, made by name.
  showLogicalTime();

  // Attribute values: a record with a position and a name, encoded and read back.
  showAttributeEncoding();

  // A federation of two federates in this process, from the module given as the first
  // argument (the example's own Greetings.xml by default).
  std::wstring fom = OSTRA_EXAMPLE_FOM;
  if (argc > 1) fom.assign(argv[1], argv[1] + std::strlen(argv[1]));  // a path in plain ASCII
  return showFederation(fom) ? 0 : 1;
}
