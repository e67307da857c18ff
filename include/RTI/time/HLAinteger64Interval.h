// HLAinteger64Interval.h: a distance in the integer logical time "HLAinteger64Time".
//
// Zero is 0 and epsilon, the smallest step, is 1. Arithmetic saturates at both ends of
// the signed 64-bit range.
#ifndef RTI_time_HLAinteger64Interval_h
#define RTI_time_HLAinteger64Interval_h

#include <RTI/LogicalTimeInterval.h>

#include <cstdint>

namespace rti1516e {

class RTI_EXPORT HLAinteger64Interval : public LogicalTimeInterval {
 public:
  HLAinteger64Interval();
  HLAinteger64Interval(int64_t value);
  // Copies the value of an HLAinteger64Interval; std::bad_cast for another representation.
  HLAinteger64Interval(LogicalTimeInterval const& value);
  HLAinteger64Interval(HLAinteger64Interval const& value);
  virtual ~HLAinteger64Interval();

  virtual void setZero();
  virtual bool isZero() const;
  virtual void setEpsilon();
  virtual bool isEpsilon() const;

  virtual LogicalTimeInterval& operator=(LogicalTimeInterval const& value);
  virtual LogicalTimeInterval& operator+=(LogicalTimeInterval const& addend);
  virtual LogicalTimeInterval& operator-=(LogicalTimeInterval const& subtrahend);

  virtual bool operator>(LogicalTimeInterval const& value) const;
  virtual bool operator<(LogicalTimeInterval const& value) const;
  virtual bool operator==(LogicalTimeInterval const& value) const;
  virtual bool operator>=(LogicalTimeInterval const& value) const;
  virtual bool operator<=(LogicalTimeInterval const& value) const;

  // Both arguments must be HLAinteger64Time.
  virtual void setToDifference(LogicalTime const& minuend, LogicalTime const& subtrahend);

  virtual VariableLengthData encode() const;
  virtual size_t encode(void* buffer, size_t bufferSize) const;
  virtual size_t encodedLength() const;
  virtual void decode(VariableLengthData const& encodedValue);
  virtual void decode(void* buffer, size_t bufferSize);

  // "HLAinteger64Interval<value>".
  virtual std::wstring toString() const;
  // "HLAinteger64Time", the name of the representation.
  virtual std::wstring implementationName() const;

  virtual HLAinteger64Interval& operator=(HLAinteger64Interval const& value);
  virtual int64_t getInterval() const;
  virtual void setInterval(int64_t value);

  operator int64_t() const;

 private:
  int64_t* _interval;
};

}  // namespace rti1516e

#endif  // RTI_time_HLAinteger64Interval_h
