// first_federate: a tour of the value types a federate uses every day.
#include <RTI/RTI1516.h>

#include <iostream>
#include <string>

int main() {
  // Byte blocks carry user-supplied tags and attribute values.
  std::string const text = "hello, federation";
  rti1516e::VariableLengthData tag(text.data(), text.size());
  std::cout << "tag holds " << tag.size() << " bytes" << std::endl;

  // Every RTI failure is an rti1516e::Exception with a readable message.
  try {
    throw rti1516e::FederationExecutionDoesNotExist(L"no federation named \"Battle\"");
  } catch (rti1516e::Exception const& e) {
    std::wcout << L"caught: " << e << std::endl;
  }
  return 0;
}
