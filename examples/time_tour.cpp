#include "time_tour.h"

#include <RTI/Exception.h>
#include <RTI/LogicalTimeFactory.h>
#include <RTI/time/HLAinteger64Interval.h>
#include <RTI/time/HLAinteger64Time.h>

#include <iostream>
#include <memory>

void showLogicalTime() {
  // A federation names its time representation; the logical-time library makes the
  // matching factory. Every time and interval below comes from it, so this code works
  // unchanged for "HLAfloat64Time".
  std::auto_ptr<rti1516e::LogicalTimeFactory> factory =
      rti1516e::LogicalTimeFactoryFactory::makeLogicalTimeFactory(L"HLAinteger64Time");
  if (factory.get() == 0) {
    std::wcout << L"no factory for HLAinteger64Time" << std::endl;
    return;
  }

  std::auto_ptr<rti1516e::LogicalTime> now = factory->makeInitial();
  std::auto_ptr<rti1516e::LogicalTimeInterval> step = factory->makeEpsilon();
  std::wcout << L"start at " << *now << L", step " << step->toString() << std::endl;

  // Advance by a lookahead of 10 steps.
  rti1516e::HLAinteger64Interval lookahead(10);
  *now += lookahead;
  *now += *step;
  std::wcout << L"after lookahead and one step: " << *now << std::endl;

  std::auto_ptr<rti1516e::LogicalTime> end = factory->makeFinal();
  std::wcout << *now << (*now < *end ? L" is before " : L" is not before ") << *end << std::endl;

  // Times travel as bytes; any federate of the federation decodes them the same way.
  rti1516e::VariableLengthData bytes = now->encode();
  std::auto_ptr<rti1516e::LogicalTime> copy = factory->decodeLogicalTime(bytes);
  std::wcout << L"decoded " << bytes.size() << L" bytes: " << *copy
             << (*copy == *now ? L" (same time)" : L" (different time)") << std::endl;

  // Too few bytes are refused, never read past.
  try {
    factory->decodeLogicalTime(const_cast<void*>(bytes.data()), 4);
  } catch (rti1516e::CouldNotDecode const& e) {
    std::wcout << L"decoding 4 bytes: " << e << std::endl;
  }
}
