// The integer representation "HLAinteger64Time": time, interval and factory.
#include <RTI/time/HLAinteger64Interval.h>
#include <RTI/time/HLAinteger64Time.h>
#include <RTI/time/HLAinteger64TimeFactory.h>

#include "TimeValue.h"

#include <limits>

namespace rti1516e {

namespace {

int64_t const kInitial = 0;
int64_t const kFinal = std::numeric_limits<int64_t>::max();
int64_t const kZero = 0;
int64_t const kEpsilon = 1;

// The values of other times and intervals of this representation; std::bad_cast for
// those of any other.
int64_t timeOf(LogicalTime const& time) {
  return dynamic_cast<HLAinteger64Time const&>(time).getTime();
}

int64_t intervalOf(LogicalTimeInterval const& interval) {
  return dynamic_cast<HLAinteger64Interval const&>(interval).getInterval();
}

}  // namespace

// HLAinteger64Time

HLAinteger64Time::HLAinteger64Time() : _time(new int64_t(kInitial)) {}
HLAinteger64Time::HLAinteger64Time(int64_t value) : _time(new int64_t(value)) {}
HLAinteger64Time::HLAinteger64Time(LogicalTime const& value)
    : LogicalTime(value), _time(new int64_t(timeOf(value))) {}
HLAinteger64Time::HLAinteger64Time(HLAinteger64Time const& value)
    : LogicalTime(value), _time(new int64_t(*value._time)) {}
HLAinteger64Time::~HLAinteger64Time() { delete _time; }

void HLAinteger64Time::setInitial() { *_time = kInitial; }
bool HLAinteger64Time::isInitial() const { return *_time == kInitial; }
void HLAinteger64Time::setFinal() { *_time = kFinal; }
bool HLAinteger64Time::isFinal() const { return *_time == kFinal; }

LogicalTime& HLAinteger64Time::operator=(LogicalTime const& value) {
  *_time = timeOf(value);
  return *this;
}

HLAinteger64Time& HLAinteger64Time::operator=(HLAinteger64Time const& value) {
  *_time = *value._time;
  return *this;
}

LogicalTime& HLAinteger64Time::operator+=(LogicalTimeInterval const& addend) {
  *_time = logicaltime::saturatingAdd(*_time, intervalOf(addend));
  return *this;
}

LogicalTime& HLAinteger64Time::operator-=(LogicalTimeInterval const& subtrahend) {
  *_time = logicaltime::saturatingSubtract(*_time, intervalOf(subtrahend));
  return *this;
}

bool HLAinteger64Time::operator>(LogicalTime const& value) const { return *_time > timeOf(value); }
bool HLAinteger64Time::operator<(LogicalTime const& value) const { return *_time < timeOf(value); }
bool HLAinteger64Time::operator==(LogicalTime const& value) const { return *_time == timeOf(value); }
bool HLAinteger64Time::operator>=(LogicalTime const& value) const { return *_time >= timeOf(value); }
bool HLAinteger64Time::operator<=(LogicalTime const& value) const { return *_time <= timeOf(value); }

VariableLengthData HLAinteger64Time::encode() const {
  return logicaltime::encodeBits(logicaltime::bitsOf(*_time));
}

size_t HLAinteger64Time::encode(void* buffer, size_t bufferSize) const {
  return logicaltime::encodeBits(logicaltime::bitsOf(*_time), buffer, bufferSize);
}

size_t HLAinteger64Time::encodedLength() const { return logicaltime::kEncodedLength; }

void HLAinteger64Time::decode(VariableLengthData const& encodedLogicalTime) {
  logicaltime::setFromBits(
      logicaltime::decodeBits(encodedLogicalTime.data(), encodedLogicalTime.size()), *_time);
}

void HLAinteger64Time::decode(void* buffer, size_t bufferSize) {
  logicaltime::setFromBits(logicaltime::decodeBits(buffer, bufferSize), *_time);
}

std::wstring HLAinteger64Time::toString() const {
  return logicaltime::describe(L"HLAinteger64Time", *_time);
}

std::wstring HLAinteger64Time::implementationName() const { return logicaltime::kInteger64Name; }

int64_t HLAinteger64Time::getTime() const { return *_time; }
void HLAinteger64Time::setTime(int64_t value) { *_time = value; }
HLAinteger64Time::operator int64_t() const { return *_time; }

// HLAinteger64Interval

HLAinteger64Interval::HLAinteger64Interval() : _interval(new int64_t(kZero)) {}
HLAinteger64Interval::HLAinteger64Interval(int64_t value) : _interval(new int64_t(value)) {}
HLAinteger64Interval::HLAinteger64Interval(LogicalTimeInterval const& value)
    : LogicalTimeInterval(value), _interval(new int64_t(intervalOf(value))) {}
HLAinteger64Interval::HLAinteger64Interval(HLAinteger64Interval const& value)
    : LogicalTimeInterval(value), _interval(new int64_t(*value._interval)) {}
HLAinteger64Interval::~HLAinteger64Interval() { delete _interval; }

void HLAinteger64Interval::setZero() { *_interval = kZero; }
bool HLAinteger64Interval::isZero() const { return *_interval == kZero; }
void HLAinteger64Interval::setEpsilon() { *_interval = kEpsilon; }
bool HLAinteger64Interval::isEpsilon() const { return *_interval == kEpsilon; }

LogicalTimeInterval& HLAinteger64Interval::operator=(LogicalTimeInterval const& value) {
  *_interval = intervalOf(value);
  return *this;
}

HLAinteger64Interval& HLAinteger64Interval::operator=(HLAinteger64Interval const& value) {
  *_interval = *value._interval;
  return *this;
}

LogicalTimeInterval& HLAinteger64Interval::operator+=(LogicalTimeInterval const& addend) {
  *_interval = logicaltime::saturatingAdd(*_interval, intervalOf(addend));
  return *this;
}

LogicalTimeInterval& HLAinteger64Interval::operator-=(LogicalTimeInterval const& subtrahend) {
  *_interval = logicaltime::saturatingSubtract(*_interval, intervalOf(subtrahend));
  return *this;
}

bool HLAinteger64Interval::operator>(LogicalTimeInterval const& value) const {
  return *_interval > intervalOf(value);
}
bool HLAinteger64Interval::operator<(LogicalTimeInterval const& value) const {
  return *_interval < intervalOf(value);
}
bool HLAinteger64Interval::operator==(LogicalTimeInterval const& value) const {
  return *_interval == intervalOf(value);
}
bool HLAinteger64Interval::operator>=(LogicalTimeInterval const& value) const {
  return *_interval >= intervalOf(value);
}
bool HLAinteger64Interval::operator<=(LogicalTimeInterval const& value) const {
  return *_interval <= intervalOf(value);
}

void HLAinteger64Interval::setToDifference(LogicalTime const& minuend,
                                           LogicalTime const& subtrahend) {
  // Both casts come first, so a foreign argument leaves the value untouched.
  int64_t const from = timeOf(minuend);
  int64_t const to = timeOf(subtrahend);
  *_interval = logicaltime::saturatingSubtract(from, to);
}

VariableLengthData HLAinteger64Interval::encode() const {
  return logicaltime::encodeBits(logicaltime::bitsOf(*_interval));
}

size_t HLAinteger64Interval::encode(void* buffer, size_t bufferSize) const {
  return logicaltime::encodeBits(logicaltime::bitsOf(*_interval), buffer, bufferSize);
}

size_t HLAinteger64Interval::encodedLength() const { return logicaltime::kEncodedLength; }

void HLAinteger64Interval::decode(VariableLengthData const& encodedValue) {
  logicaltime::setFromBits(logicaltime::decodeBits(encodedValue.data(), encodedValue.size()),
                           *_interval);
}

void HLAinteger64Interval::decode(void* buffer, size_t bufferSize) {
  logicaltime::setFromBits(logicaltime::decodeBits(buffer, bufferSize), *_interval);
}

std::wstring HLAinteger64Interval::toString() const {
  return logicaltime::describe(L"HLAinteger64Interval", *_interval);
}

std::wstring HLAinteger64Interval::implementationName() const {
  return logicaltime::kInteger64Name;
}

int64_t HLAinteger64Interval::getInterval() const { return *_interval; }
void HLAinteger64Interval::setInterval(int64_t value) { *_interval = value; }
HLAinteger64Interval::operator int64_t() const { return *_interval; }

// HLAinteger64TimeFactory

HLAinteger64TimeFactory::HLAinteger64TimeFactory() {}
HLAinteger64TimeFactory::HLAinteger64TimeFactory(HLAinteger64TimeFactory const& rhs)
    : LogicalTimeFactory(rhs) {}
HLAinteger64TimeFactory& HLAinteger64TimeFactory::operator=(HLAinteger64TimeFactory const& rhs) {
  LogicalTimeFactory::operator=(rhs);
  return *this;
}
HLAinteger64TimeFactory::~HLAinteger64TimeFactory() {}

std::auto_ptr<LogicalTime> HLAinteger64TimeFactory::makeInitial() {
  return std::auto_ptr<LogicalTime>(new HLAinteger64Time(kInitial));
}

std::auto_ptr<LogicalTime> HLAinteger64TimeFactory::makeFinal() {
  return std::auto_ptr<LogicalTime>(new HLAinteger64Time(kFinal));
}

std::auto_ptr<LogicalTimeInterval> HLAinteger64TimeFactory::makeZero() {
  return std::auto_ptr<LogicalTimeInterval>(new HLAinteger64Interval(kZero));
}

std::auto_ptr<LogicalTimeInterval> HLAinteger64TimeFactory::makeEpsilon() {
  return std::auto_ptr<LogicalTimeInterval>(new HLAinteger64Interval(kEpsilon));
}

std::auto_ptr<LogicalTime> HLAinteger64TimeFactory::decodeLogicalTime(
    VariableLengthData const& encodedLogicalTime) {
  return logicaltime::makeDecoded<LogicalTime, HLAinteger64Time>(encodedLogicalTime);
}

std::auto_ptr<LogicalTime> HLAinteger64TimeFactory::decodeLogicalTime(void* buffer,
                                                                      size_t bufferSize) {
  return logicaltime::makeDecoded<LogicalTime, HLAinteger64Time>(buffer, bufferSize);
}

std::auto_ptr<LogicalTimeInterval> HLAinteger64TimeFactory::decodeLogicalTimeInterval(
    VariableLengthData const& encodedValue) {
  return logicaltime::makeDecoded<LogicalTimeInterval, HLAinteger64Interval>(encodedValue);
}

std::auto_ptr<LogicalTimeInterval> HLAinteger64TimeFactory::decodeLogicalTimeInterval(
    void* buffer, size_t bufferSize) {
  return logicaltime::makeDecoded<LogicalTimeInterval, HLAinteger64Interval>(buffer, bufferSize);
}

std::wstring HLAinteger64TimeFactory::getName() const { return logicaltime::kInteger64Name; }

std::auto_ptr<HLAinteger64Time> HLAinteger64TimeFactory::makeLogicalTime(int64_t value) {
  return std::auto_ptr<HLAinteger64Time>(new HLAinteger64Time(value));
}

std::auto_ptr<HLAinteger64Interval> HLAinteger64TimeFactory::makeLogicalTimeInterval(
    int64_t value) {
  return std::auto_ptr<HLAinteger64Interval>(new HLAinteger64Interval(value));
}
}  // namespace rti1516e
