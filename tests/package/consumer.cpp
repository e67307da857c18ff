// Built against the installed tree only: checks that the headers are complete and the
// libraries resolve. Exits non-zero on the first surprise.
#include <RTI/LogicalTimeFactory.h>
#include <RTI/RTI1516.h>
#include <RTI/encoding/BasicDataElements.h>
#include <RTI/encoding/HLAfixedRecord.h>
#include <RTI/time/HLAinteger64Time.h>

#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

// A federate that handles two callbacks and inherits the other 58.
class Observer : public rti1516e::NullFederateAmbassador {
 public:
  Observer() : discovered(0) {}
  virtual void discoverObjectInstance(rti1516e::ObjectInstanceHandle,
                                      rti1516e::ObjectClassHandle,
                                      std::wstring const& theObjectInstanceName) {
    ++discovered;
    lastName = theObjectInstanceName;
  }
  virtual void timeAdvanceGrant(rti1516e::LogicalTime const&) {}

  int discovered;
  std::wstring lastName;
};

}  // namespace

int main() {
  rti1516e::VariableLengthData tag("abc", 3);
  if (tag.size() != 3) return 1;
  try {
    throw rti1516e::RTIinternalError(L"installed");
  } catch (rti1516e::Exception const& e) {
    if (e.what() != L"installed") return 2;
  }

  // Handles: default, print, encode, keep in sets and maps.
  rti1516e::AttributeHandle attribute;
  if (attribute.isValid() || attribute.toString() != L"AttributeHandle<0>") return 3;
  unsigned char buffer[4] = {1, 1, 1, 1};
  if (attribute.encode(buffer, sizeof buffer) != 4 || buffer[0] != 0) return 4;
  rti1516e::AttributeHandleSet attributes;
  attributes.insert(attribute);
  rti1516e::AttributeHandleValueMap values;
  values[attribute] = tag;
  std::wostringstream printed;
  printed << *attributes.begin() << rti1516e::MessageRetractionHandle();
  if (printed.str() != L"AttributeHandle<0>MessageRetractionHandle<0>") return 5;
  if (rti1516e::MessageRetractionHandle().encode().size() != 8) return 6;

  // Records.
  rti1516e::RangeBounds bounds(1, 9);
  rti1516e::RegionHandleSet const noRegions;
  rti1516e::FederateHandle const producer;
  rti1516e::SupplementalReflectInfo info(producer, noRegions);
  rti1516e::FederationExecutionInformationVector federations;
  federations.push_back(rti1516e::FederationExecutionInformation(L"Battle", L"HLAfloat64Time"));
  if (bounds.getUpperBound() != 9 || !info.hasSentRegions || federations.size() != 1) return 7;

  // Callbacks through the interface reach the override or do nothing.
  Observer observer;
  rti1516e::FederateAmbassador& federate = observer;
  federate.discoverObjectInstance(rti1516e::ObjectInstanceHandle(), rti1516e::ObjectClassHandle(),
                                  L"Tank 1");
  federate.reflectAttributeValues(rti1516e::ObjectInstanceHandle(), values, tag,
                                  rti1516e::RECEIVE, rti1516e::RELIABLE,
                                  rti1516e::SupplementalReflectInfo());
  if (observer.discovered != 1 || observer.lastName != L"Tank 1") return 8;

  // The federation's time factory, by name, through the logical-time library.
  std::auto_ptr<rti1516e::LogicalTimeFactory> timeFactory =
      rti1516e::LogicalTimeFactoryFactory::makeLogicalTimeFactory(L"HLAinteger64Time");
  if (timeFactory.get() == 0 || timeFactory->getName() != L"HLAinteger64Time") return 13;
  std::auto_ptr<rti1516e::LogicalTime> last = timeFactory->makeFinal();
  rti1516e::VariableLengthData bytes = last->encode();
  std::auto_ptr<rti1516e::LogicalTime> decoded = timeFactory->decodeLogicalTime(bytes);
  if (!(*decoded == *last)) return 14;
  if (dynamic_cast<rti1516e::HLAinteger64Time&>(*decoded).getTime() != 9223372036854775807LL) return 15;

  // Encoding helpers: a record of an integer and a string.
  rti1516e::HLAfixedRecord record;
  record.appendElement(rti1516e::HLAinteger32BE(7));
  record.appendElement(rti1516e::HLAASCIIstring("ok"));
  if (record.encode().size() != 10) return 20;

  // The factory is exported; this build cannot bring up the RTI yet, and says so.
  rti1516e::RTIambassadorFactory factory;
  try {
    std::auto_ptr<rti1516e::RTIambassador> rti = factory.createRTIambassador();
  } catch (rti1516e::RTIinternalError const&) {
  }

  std::wcout << rti1516e::rtiName() << L" " << rti1516e::rtiVersion() << std::endl;
  std::wcout << L"consumer: ok" << std::endl;
  return 0;
}
