// Built against the installed tree only: checks that the headers are complete and the
// libraries resolve. Exits non-zero on the first surprise.
#include <RTI/LogicalTimeFactory.h>
#include <RTI/RTI1516.h>
#include <RTI/time/HLAinteger64Time.h>

#include <iostream>

int main() {
  rti1516e::VariableLengthData tag("abc", 3);
  if (tag.size() != 3) return 1;
  try {
    throw rti1516e::RTIinternalError(L"installed");
  } catch (rti1516e::Exception const& e) {
    if (e.what() != L"installed") return 2;
  }
  // The federation's time factory, by name, through the logical-time library.
  std::auto_ptr<rti1516e::LogicalTimeFactory> factory =
      rti1516e::LogicalTimeFactoryFactory::makeLogicalTimeFactory(L"HLAinteger64Time");
  if (factory.get() == 0 || factory->getName() != L"HLAinteger64Time") return 3;
  std::auto_ptr<rti1516e::LogicalTime> last = factory->makeFinal();
  rti1516e::VariableLengthData bytes = last->encode();
  std::auto_ptr<rti1516e::LogicalTime> decoded = factory->decodeLogicalTime(bytes);
  if (!(*decoded == *last)) return 4;
  if (dynamic_cast<rti1516e::HLAinteger64Time&>(*decoded).getTime() != 9223372036854775807LL) return 5;
  std::cout << "consumer: ok" << std::endl;
  return 0;
}
