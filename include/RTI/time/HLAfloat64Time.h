// HLAfloat64Time.h: a point in the floating-point logical time "HLAfloat64Time".
//
// The value is an IEEE 754 double; 0.0 is the initial time and the largest finite
// double the final time. Adding or subtracting a non-zero interval always moves the
// time, by at least one representable step in the direction of the change:
//
//   rti1516e::HLAfloat64Time t(1e300);
//   t += rti1516e::HLAfloat64Interval(1.0);   // the next double above 1e300
//
// Arguments of another time representation are refused with std::bad_cast.
#ifndef RTI_time_HLAfloat64Time_h
#define RTI_time_HLAfloat64Time_h

#include <RTI/LogicalTime.h>

namespace rti1516e {

class RTI_EXPORT HLAfloat64Time : public LogicalTime {
 public:
  HLAfloat64Time();
  HLAfloat64Time(double const& value);
  // Copies the value of an HLAfloat64Time; std::bad_cast for another representation.
  HLAfloat64Time(LogicalTime const& value);
  HLAfloat64Time(HLAfloat64Time const& value);
  virtual ~HLAfloat64Time();

  virtual void setInitial();
  virtual bool isInitial() const;
  virtual void setFinal();
  virtual bool isFinal() const;

  virtual LogicalTime& operator=(LogicalTime const& value);
  virtual LogicalTime& operator+=(LogicalTimeInterval const& addend);
  virtual LogicalTime& operator-=(LogicalTimeInterval const& subtrahend);

  // IEEE comparisons: -0.0 equals 0.0 and anything compared with NaN is false.
  virtual bool operator>(LogicalTime const& value) const;
  virtual bool operator<(LogicalTime const& value) const;
  virtual bool operator==(LogicalTime const& value) const;
  virtual bool operator>=(LogicalTime const& value) const;
  virtual bool operator<=(LogicalTime const& value) const;

  // Eight bytes: the double's bit pattern, sign and exponent first.
  virtual VariableLengthData encode() const;
  virtual size_t encode(void* buffer, size_t bufferSize) const;
  virtual size_t encodedLength() const;
  virtual void decode(VariableLengthData const& encodedLogicalTime);
  virtual void decode(void* buffer, size_t bufferSize);

  // "HLAfloat64Time<value>", six significant digits.
  virtual std::wstring toString() const;
  // "HLAfloat64Time".
  virtual std::wstring implementationName() const;

  virtual HLAfloat64Time& operator=(HLAfloat64Time const& value);
  virtual double getTime() const;
  virtual void setTime(double value);

  operator double() const;

 private:
  double* _time;
};

}  // namespace rti1516e

#endif  // RTI_time_HLAfloat64Time_h
