// HLAfloat64Interval.h: a distance in the floating-point logical time "HLAfloat64Time".
//
// Zero is 0.0 and epsilon is the smallest positive normalised double
// (2.2250738585072014e-308). Interval arithmetic is plain double arithmetic.
#ifndef RTI_time_HLAfloat64Interval_h
#define RTI_time_HLAfloat64Interval_h

#include <RTI/LogicalTimeInterval.h>

namespace rti1516e {

class RTI_EXPORT HLAfloat64Interval : public LogicalTimeInterval {
 public:
  HLAfloat64Interval();
  HLAfloat64Interval(double value);
  // Copies the value of an HLAfloat64Interval; std::bad_cast for another representation.
  HLAfloat64Interval(LogicalTimeInterval const& value);
  HLAfloat64Interval(HLAfloat64Interval const& value);
  virtual ~HLAfloat64Interval();

  virtual void setZero();
  virtual bool isZero() const;
  virtual void setEpsilon();
  // True only for exactly the epsilon value.
  virtual bool isEpsilon() const;

  virtual LogicalTimeInterval& operator=(LogicalTimeInterval const& value);
  virtual LogicalTimeInterval& operator+=(LogicalTimeInterval const& addend);
  virtual LogicalTimeInterval& operator-=(LogicalTimeInterval const& subtrahend);

  virtual bool operator>(LogicalTimeInterval const& value) const;
  virtual bool operator<(LogicalTimeInterval const& value) const;
  virtual bool operator==(LogicalTimeInterval const& value) const;
  virtual bool operator>=(LogicalTimeInterval const& value) const;
  virtual bool operator<=(LogicalTimeInterval const& value) const;

  // Both arguments must be HLAfloat64Time.
  virtual void setToDifference(LogicalTime const& minuend, LogicalTime const& subtrahend);

  virtual VariableLengthData encode() const;
  virtual size_t encode(void* buffer, size_t bufferSize) const;
  virtual size_t encodedLength() const;
  virtual void decode(VariableLengthData const& encodedValue);
  virtual void decode(void* buffer, size_t bufferSize);

  // "HLAfloat64Interval<value>", six significant digits.
  virtual std::wstring toString() const;
  // "HLAfloat64Time", the name of the representation.
  virtual std::wstring implementationName() const;

  virtual HLAfloat64Interval& operator=(HLAfloat64Interval const& value);
  virtual double getInterval() const;
  virtual void setInterval(double value);

  operator double() const;

 private:
  double* _interval;
};

}  // namespace rti1516e

#endif  // RTI_time_HLAfloat64Interval_h
