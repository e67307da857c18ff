// Built against the installed tree only: checks that the headers are complete and the
// libraries resolve. Exits non-zero on the first surprise.
#include <RTI/RTI1516.h>
#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAfixedRecord.h>

#include <iostream>

int main() {
  rti1516e::VariableLengthData tag("abc", 3);
  if (tag.size() != 3) return 1;
  try {
    throw rti1516e::RTIinternalError(L"installed");
  } catch (rti1516e::Exception const& e) {
    if (e.what() != L"installed") return 2;
  }
  rti1516e::HLAfixedRecord record;
  record.appendElement(rti1516e::HLAinteger32BE(7));
  record.appendElement(rti1516e::HLAASCIIstring("ok"));
  if (record.encode().size() != 10) return 3;
  std::cout << "consumer: ok" << std::endl;
  return 0;
}
