// HLAinteger64Time.h: a point in the integer logical time "HLAinteger64Time".
//
// The value is a signed 64-bit count; 0 is the initial time and the largest value the
// final time. Arithmetic saturates at both ends of the range, so adding a positive
// interval never moves a time backwards:
//
//   rti1516e::HLAinteger64Time t(10);
//   t += rti1516e::HLAinteger64Interval(5);      // 15
//   t.setFinal();
//   t += rti1516e::HLAinteger64Interval(1);      // still final
//
// Arguments of another time representation are refused with std::bad_cast.
#ifndef RTI_time_HLAinteger64Time_h
#define RTI_time_HLAinteger64Time_h

#include <RTI/LogicalTime.h>

#include <cstdint>

namespace rti1516e {

class RTI_EXPORT HLAinteger64Time : public LogicalTime {
 public:
  HLAinteger64Time();
  HLAinteger64Time(int64_t value);
  // Copies the value of an HLAinteger64Time; std::bad_cast for another representation.
  HLAinteger64Time(LogicalTime const& value);
  HLAinteger64Time(HLAinteger64Time const& value);
  virtual ~HLAinteger64Time();

  virtual void setInitial();
  virtual bool isInitial() const;
  virtual void setFinal();
  virtual bool isFinal() const;

  virtual LogicalTime& operator=(LogicalTime const& value);
  virtual LogicalTime& operator+=(LogicalTimeInterval const& addend);
  virtual LogicalTime& operator-=(LogicalTimeInterval const& subtrahend);

  virtual bool operator>(LogicalTime const& value) const;
  virtual bool operator<(LogicalTime const& value) const;
  virtual bool operator==(LogicalTime const& value) const;
  virtual bool operator>=(LogicalTime const& value) const;
  virtual bool operator<=(LogicalTime const& value) const;

  // Eight bytes, two's complement, most significant byte first.
  virtual VariableLengthData encode() const;
  virtual size_t encode(void* buffer, size_t bufferSize) const;
  virtual size_t encodedLength() const;
  virtual void decode(VariableLengthData const& encodedLogicalTime);
  virtual void decode(void* buffer, size_t bufferSize);

  // "HLAinteger64Time<value>".
  virtual std::wstring toString() const;
  // "HLAinteger64Time".
  virtual std::wstring implementationName() const;

  virtual HLAinteger64Time& operator=(HLAinteger64Time const& value);
  virtual int64_t getTime() const;
  virtual void setTime(int64_t value);

  operator int64_t() const;

 private:
  int64_t* _time;
};

}  // namespace rti1516e

#endif  // RTI_time_HLAinteger64Time_h
