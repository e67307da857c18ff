// LogicalTimeInterval.h: the abstract distance between two logical times.
#ifndef RTI_LogicalTimeInterval_h
#define RTI_LogicalTimeInterval_h

#include <RTI/SpecificConfig.h>
#include <RTI/VariableLengthData.h>

#include <string>

namespace rti1516e {

class LogicalTime;

class RTI_EXPORT LogicalTimeInterval {
 public:
  LogicalTimeInterval();
  LogicalTimeInterval(LogicalTimeInterval const& rhs);
  virtual ~LogicalTimeInterval();

  virtual void setZero() = 0;
  virtual bool isZero() const = 0;
  virtual void setEpsilon() = 0;
  virtual bool isEpsilon() const = 0;

  virtual LogicalTimeInterval& operator=(LogicalTimeInterval const& value) = 0;
  virtual LogicalTimeInterval& operator+=(LogicalTimeInterval const& addend) = 0;
  virtual LogicalTimeInterval& operator-=(LogicalTimeInterval const& subtrahend) = 0;

  virtual bool operator>(LogicalTimeInterval const& value) const = 0;
  virtual bool operator<(LogicalTimeInterval const& value) const = 0;
  virtual bool operator==(LogicalTimeInterval const& value) const = 0;
  virtual bool operator>=(LogicalTimeInterval const& value) const = 0;
  virtual bool operator<=(LogicalTimeInterval const& value) const = 0;

  // Stores minuend - subtrahend.
  virtual void setToDifference(LogicalTime const& minuend, LogicalTime const& subtrahend) = 0;

  virtual VariableLengthData encode() const = 0;
  virtual size_t encode(void* buffer, size_t bufferSize) const = 0;
  virtual size_t encodedLength() const = 0;
  virtual void decode(VariableLengthData const& encodedValue) = 0;
  virtual void decode(void* buffer, size_t bufferSize) = 0;

  virtual std::wstring toString() const = 0;
  virtual std::wstring implementationName() const = 0;
};

}  // namespace rti1516e

#endif  // RTI_LogicalTimeInterval_h
