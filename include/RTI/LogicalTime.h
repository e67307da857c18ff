// LogicalTime.h: the abstract point in logical time.
//
// A federation picks its time representation by name ("HLAinteger64Time",
// "HLAfloat64Time"); federates handle times through this interface and get concrete
// objects from the federation's LogicalTimeFactory. Arguments of another representation
// are refused with std::bad_cast.
#ifndef RTI_LogicalTime_h
#define RTI_LogicalTime_h

#include <RTI/SpecificConfig.h>
#include <RTI/VariableLengthData.h>

#include <iosfwd>
#include <string>

namespace rti1516e {

class LogicalTimeInterval;

class RTI_EXPORT LogicalTime {
 public:
  LogicalTime();
  LogicalTime(LogicalTime const& rhs);
  virtual ~LogicalTime();

  virtual void setInitial() = 0;
  virtual bool isInitial() const = 0;
  virtual void setFinal() = 0;
  virtual bool isFinal() const = 0;

  virtual LogicalTime& operator=(LogicalTime const& value) = 0;
  virtual LogicalTime& operator+=(LogicalTimeInterval const& addend) = 0;
  virtual LogicalTime& operator-=(LogicalTimeInterval const& subtrahend) = 0;

  virtual bool operator>(LogicalTime const& value) const = 0;
  virtual bool operator<(LogicalTime const& value) const = 0;
  virtual bool operator==(LogicalTime const& value) const = 0;
  virtual bool operator>=(LogicalTime const& value) const = 0;
  virtual bool operator<=(LogicalTime const& value) const = 0;

  // encode and decode use the representation's own byte layout.
  virtual VariableLengthData encode() const = 0;
  virtual size_t encode(void* buffer, size_t bufferSize) const = 0;
  virtual size_t encodedLength() const = 0;
  virtual void decode(VariableLengthData const& encodedLogicalTime) = 0;
  virtual void decode(void* buffer, size_t bufferSize) = 0;

  virtual std::wstring toString() const = 0;
  // The name of the representation, the same for its times and intervals.
  virtual std::wstring implementationName() const = 0;
};

// Writes value.toString() to the stream.
RTI_EXPORT std::wostream& operator<<(std::wostream& stream, LogicalTime const& value);

}  // namespace rti1516e

#endif  // RTI_LogicalTime_h
