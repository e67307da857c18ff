// The abstract time bases carry no data: their special members only anchor the vtables.
#include <RTI/LogicalTime.h>
#include <RTI/LogicalTimeFactory.h>
#include <RTI/LogicalTimeInterval.h>

#include <ostream>

namespace rti1516e {

LogicalTime::LogicalTime() {}
LogicalTime::LogicalTime(LogicalTime const&) {}
LogicalTime::~LogicalTime() {}

LogicalTimeInterval::LogicalTimeInterval() {}
LogicalTimeInterval::LogicalTimeInterval(LogicalTimeInterval const&) {}
LogicalTimeInterval::~LogicalTimeInterval() {}

LogicalTimeFactory::LogicalTimeFactory() {}
LogicalTimeFactory::LogicalTimeFactory(LogicalTimeFactory const&) {}
LogicalTimeFactory& LogicalTimeFactory::operator=(LogicalTimeFactory const&) { return *this; }
LogicalTimeFactory::~LogicalTimeFactory() {}

std::wostream& operator<<(std::wostream& stream, LogicalTime const& value) {
  return stream << value.toString();
}

}  // namespace rti1516e
