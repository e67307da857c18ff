// HLAfloat64TimeFactory.h: makes and decodes HLAfloat64Time and HLAfloat64Interval.
#ifndef RTI_time_HLAfloat64TimeFactory_h
#define RTI_time_HLAfloat64TimeFactory_h

#include <RTI/LogicalTimeFactory.h>
#include <RTI/time/HLAfloat64Interval.h>
#include <RTI/time/HLAfloat64Time.h>

#include <memory>

namespace rti1516e {

class RTI_EXPORT HLAfloat64TimeFactory : public LogicalTimeFactory {
 public:
  HLAfloat64TimeFactory();
  HLAfloat64TimeFactory(HLAfloat64TimeFactory const& rhs);
  HLAfloat64TimeFactory& operator=(HLAfloat64TimeFactory const& rhs);
  virtual ~HLAfloat64TimeFactory();

  virtual std::auto_ptr<LogicalTime> makeInitial();
  virtual std::auto_ptr<LogicalTime> makeFinal();
  virtual std::auto_ptr<LogicalTimeInterval> makeZero();
  virtual std::auto_ptr<LogicalTimeInterval> makeEpsilon();

  // CouldNotDecode when fewer than eight bytes are given.
  virtual std::auto_ptr<LogicalTime> decodeLogicalTime(VariableLengthData const& encodedLogicalTime);
  virtual std::auto_ptr<LogicalTime> decodeLogicalTime(void* buffer, size_t bufferSize);
  virtual std::auto_ptr<LogicalTimeInterval> decodeLogicalTimeInterval(
      VariableLengthData const& encodedValue);
  virtual std::auto_ptr<LogicalTimeInterval> decodeLogicalTimeInterval(void* buffer,
                                                                       size_t bufferSize);

  // "HLAfloat64Time".
  virtual std::wstring getName() const;

  virtual std::auto_ptr<HLAfloat64Time> makeLogicalTime(double value);
  virtual std::auto_ptr<HLAfloat64Interval> makeLogicalTimeInterval(double value);
};

}  // namespace rti1516e

#endif  // RTI_time_HLAfloat64TimeFactory_h
