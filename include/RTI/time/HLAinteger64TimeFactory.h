// HLAinteger64TimeFactory.h: makes and decodes HLAinteger64Time and HLAinteger64Interval.
#ifndef RTI_time_HLAinteger64TimeFactory_h
#define RTI_time_HLAinteger64TimeFactory_h

#include <RTI/LogicalTimeFactory.h>
#include <RTI/time/HLAinteger64Interval.h>
#include <RTI/time/HLAinteger64Time.h>

#include <cstdint>
#include <memory>

namespace rti1516e {

class RTI_EXPORT HLAinteger64TimeFactory : public LogicalTimeFactory {
 public:
  HLAinteger64TimeFactory();
  HLAinteger64TimeFactory(HLAinteger64TimeFactory const& rhs);
  HLAinteger64TimeFactory& operator=(HLAinteger64TimeFactory const& rhs);
  virtual ~HLAinteger64TimeFactory();

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

  // "HLAinteger64Time".
  virtual std::wstring getName() const;

  virtual std::auto_ptr<HLAinteger64Time> makeLogicalTime(int64_t value);
  virtual std::auto_ptr<HLAinteger64Interval> makeLogicalTimeInterval(int64_t value);
};

}  // namespace rti1516e

#endif  // RTI_time_HLAinteger64TimeFactory_h
