// LogicalTimeFactory.h: makes and decodes the times and intervals of one representation.
//
//   std::auto_ptr<rti1516e::LogicalTimeFactory> factory =
//       rti1516e::LogicalTimeFactoryFactory::makeLogicalTimeFactory(L"HLAinteger64Time");
//   std::auto_ptr<rti1516e::LogicalTime> start = factory->makeInitial();
#ifndef RTI_LogicalTimeFactory_h
#define RTI_LogicalTimeFactory_h

#include <RTI/SpecificConfig.h>
#include <RTI/LogicalTime.h>
#include <RTI/LogicalTimeInterval.h>
#include <RTI/VariableLengthData.h>

#include <memory>
#include <string>

namespace rti1516e {

class RTI_EXPORT LogicalTimeFactory {
 public:
  LogicalTimeFactory();
  LogicalTimeFactory(LogicalTimeFactory const& rhs);
  LogicalTimeFactory& operator=(LogicalTimeFactory const& rhs);
  virtual ~LogicalTimeFactory();

  virtual std::auto_ptr<LogicalTime> makeInitial() = 0;
  virtual std::auto_ptr<LogicalTime> makeFinal() = 0;
  virtual std::auto_ptr<LogicalTimeInterval> makeZero() = 0;
  virtual std::auto_ptr<LogicalTimeInterval> makeEpsilon() = 0;

  // Each decode makes a new object and throws CouldNotDecode for bytes it cannot read.
  virtual std::auto_ptr<LogicalTime> decodeLogicalTime(VariableLengthData const& encodedLogicalTime) = 0;
  virtual std::auto_ptr<LogicalTime> decodeLogicalTime(void* buffer, size_t bufferSize) = 0;
  virtual std::auto_ptr<LogicalTimeInterval> decodeLogicalTimeInterval(
      VariableLengthData const& encodedValue) = 0;
  virtual std::auto_ptr<LogicalTimeInterval> decodeLogicalTimeInterval(void* buffer,
                                                                       size_t bufferSize) = 0;

  // The implementation name of the representation this factory makes.
  virtual std::wstring getName() const = 0;
};

// The logical-time library's lookup by implementation name (libfedtime1516e64).
class RTI_EXPORT_FEDTIME LogicalTimeFactoryFactory {
 public:
  // A new factory for "HLAinteger64Time", or for "HLAfloat64Time" and the empty name
  // (the default representation); null for any other name.
  static std::auto_ptr<LogicalTimeFactory> makeLogicalTimeFactory(
      std::wstring const& implementationName);
};

}  // namespace rti1516e

#endif  // RTI_LogicalTimeFactory_h
