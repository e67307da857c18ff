// The floating-point representation "HLAfloat64Time": time, interval and factory.
#include <RTI/time/HLAfloat64Interval.h>
#include <RTI/time/HLAfloat64Time.h>
#include <RTI/time/HLAfloat64TimeFactory.h>

#include "TimeValue.h"

#include <limits>

namespace rti1516e {

namespace {

double const kInitial = 0.0;
double const kFinal = std::numeric_limits<double>::max();  // the largest finite double
double const kZero = 0.0;
double const kEpsilon = std::numeric_limits<double>::min();  // smallest positive normal

// The values of other times and intervals of this representation; std::bad_cast for
// those of any other.
double timeOf(LogicalTime const& time) {
  return dynamic_cast<HLAfloat64Time const&>(time).getTime();
}

double intervalOf(LogicalTimeInterval const& interval) {
  return dynamic_cast<HLAfloat64Interval const&>(interval).getInterval();
}

}  // namespace

// HLAfloat64Time

HLAfloat64Time::HLAfloat64Time() : _time(new double(kInitial)) {}
HLAfloat64Time::HLAfloat64Time(double const& value) : _time(new double(value)) {}
HLAfloat64Time::HLAfloat64Time(LogicalTime const& value)
    : LogicalTime(value), _time(new double(timeOf(value))) {}
HLAfloat64Time::HLAfloat64Time(HLAfloat64Time const& value)
    : LogicalTime(value), _time(new double(*value._time)) {}
HLAfloat64Time::~HLAfloat64Time() { delete _time; }

void HLAfloat64Time::setInitial() { *_time = kInitial; }
bool HLAfloat64Time::isInitial() const { return *_time == kInitial; }
void HLAfloat64Time::setFinal() { *_time = kFinal; }
bool HLAfloat64Time::isFinal() const { return *_time == kFinal; }

LogicalTime& HLAfloat64Time::operator=(LogicalTime const& value) {
  *_time = timeOf(value);
  return *this;
}

HLAfloat64Time& HLAfloat64Time::operator=(HLAfloat64Time const& value) {
  *_time = *value._time;
  return *this;
}

LogicalTime& HLAfloat64Time::operator+=(LogicalTimeInterval const& addend) {
  *_time = logicaltime::advanceTime(*_time, intervalOf(addend));
  return *this;
}

LogicalTime& HLAfloat64Time::operator-=(LogicalTimeInterval const& subtrahend) {
  *_time = logicaltime::advanceTime(*_time, -intervalOf(subtrahend));
  return *this;
}

bool HLAfloat64Time::operator>(LogicalTime const& value) const { return *_time > timeOf(value); }
bool HLAfloat64Time::operator<(LogicalTime const& value) const { return *_time < timeOf(value); }
bool HLAfloat64Time::operator==(LogicalTime const& value) const { return *_time == timeOf(value); }
bool HLAfloat64Time::operator>=(LogicalTime const& value) const { return *_time >= timeOf(value); }
bool HLAfloat64Time::operator<=(LogicalTime const& value) const { return *_time <= timeOf(value); }

VariableLengthData HLAfloat64Time::encode() const {
  return logicaltime::encodeBits(logicaltime::bitsOf(*_time));
}

size_t HLAfloat64Time::encode(void* buffer, size_t bufferSize) const {
  return logicaltime::encodeBits(logicaltime::bitsOf(*_time), buffer, bufferSize);
}

size_t HLAfloat64Time::encodedLength() const { return logicaltime::kEncodedLength; }

void HLAfloat64Time::decode(VariableLengthData const& encodedLogicalTime) {
  logicaltime::setFromBits(
      logicaltime::decodeBits(encodedLogicalTime.data(), encodedLogicalTime.size()), *_time);
}

void HLAfloat64Time::decode(void* buffer, size_t bufferSize) {
  logicaltime::setFromBits(logicaltime::decodeBits(buffer, bufferSize), *_time);
}

std::wstring HLAfloat64Time::toString() const {
  return logicaltime::describe(L"HLAfloat64Time", *_time);
}

std::wstring HLAfloat64Time::implementationName() const { return logicaltime::kFloat64Name; }

double HLAfloat64Time::getTime() const { return *_time; }
void HLAfloat64Time::setTime(double value) { *_time = value; }
HLAfloat64Time::operator double() const { return *_time; }

// HLAfloat64Interval

HLAfloat64Interval::HLAfloat64Interval() : _interval(new double(kZero)) {}
HLAfloat64Interval::HLAfloat64Interval(double value) : _interval(new double(value)) {}
HLAfloat64Interval::HLAfloat64Interval(LogicalTimeInterval const& value)
    : LogicalTimeInterval(value), _interval(new double(intervalOf(value))) {}
HLAfloat64Interval::HLAfloat64Interval(HLAfloat64Interval const& value)
    : LogicalTimeInterval(value), _interval(new double(*value._interval)) {}
HLAfloat64Interval::~HLAfloat64Interval() { delete _interval; }

void HLAfloat64Interval::setZero() { *_interval = kZero; }
bool HLAfloat64Interval::isZero() const { return *_interval == kZero; }
void HLAfloat64Interval::setEpsilon() { *_interval = kEpsilon; }
bool HLAfloat64Interval::isEpsilon() const { return *_interval == kEpsilon; }

LogicalTimeInterval& HLAfloat64Interval::operator=(LogicalTimeInterval const& value) {
  *_interval = intervalOf(value);
  return *this;
}

HLAfloat64Interval& HLAfloat64Interval::operator=(HLAfloat64Interval const& value) {
  *_interval = *value._interval;
  return *this;
}

LogicalTimeInterval& HLAfloat64Interval::operator+=(LogicalTimeInterval const& addend) {
  *_interval += intervalOf(addend);
  return *this;
}

LogicalTimeInterval& HLAfloat64Interval::operator-=(LogicalTimeInterval const& subtrahend) {
  *_interval -= intervalOf(subtrahend);
  return *this;
}

bool HLAfloat64Interval::operator>(LogicalTimeInterval const& value) const {
  return *_interval > intervalOf(value);
}
bool HLAfloat64Interval::operator<(LogicalTimeInterval const& value) const {
  return *_interval < intervalOf(value);
}
bool HLAfloat64Interval::operator==(LogicalTimeInterval const& value) const {
  return *_interval == intervalOf(value);
}
bool HLAfloat64Interval::operator>=(LogicalTimeInterval const& value) const {
  return *_interval >= intervalOf(value);
}
bool HLAfloat64Interval::operator<=(LogicalTimeInterval const& value) const {
  return *_interval <= intervalOf(value);
}

void HLAfloat64Interval::setToDifference(LogicalTime const& minuend,
                                         LogicalTime const& subtrahend) {
  // Both casts come first, so a foreign argument leaves the value untouched.
  double const from = timeOf(minuend);
  double const to = timeOf(subtrahend);
  *_interval = from - to;
}

VariableLengthData HLAfloat64Interval::encode() const {
  return logicaltime::encodeBits(logicaltime::bitsOf(*_interval));
}

size_t HLAfloat64Interval::encode(void* buffer, size_t bufferSize) const {
  return logicaltime::encodeBits(logicaltime::bitsOf(*_interval), buffer, bufferSize);
}

size_t HLAfloat64Interval::encodedLength() const { return logicaltime::kEncodedLength; }

void HLAfloat64Interval::decode(VariableLengthData const& encodedValue) {
  logicaltime::setFromBits(logicaltime::decodeBits(encodedValue.data(), encodedValue.size()),
                           *_interval);
}

void HLAfloat64Interval::decode(void* buffer, size_t bufferSize) {
  logicaltime::setFromBits(logicaltime::decodeBits(buffer, bufferSize), *_interval);
}

std::wstring HLAfloat64Interval::toString() const {
  return logicaltime::describe(L"HLAfloat64Interval", *_interval);
}

std::wstring HLAfloat64Interval::implementationName() const {
  return logicaltime::kFloat64Name;
}

double HLAfloat64Interval::getInterval() const { return *_interval; }
void HLAfloat64Interval::setInterval(double value) { *_interval = value; }
HLAfloat64Interval::operator double() const { return *_interval; }

// HLAfloat64TimeFactory

HLAfloat64TimeFactory::HLAfloat64TimeFactory() {}
HLAfloat64TimeFactory::HLAfloat64TimeFactory(HLAfloat64TimeFactory const& rhs)
    : LogicalTimeFactory(rhs) {}
HLAfloat64TimeFactory& HLAfloat64TimeFactory::operator=(HLAfloat64TimeFactory const& rhs) {
  LogicalTimeFactory::operator=(rhs);
  return *this;
}
HLAfloat64TimeFactory::~HLAfloat64TimeFactory() {}

std::auto_ptr<LogicalTime> HLAfloat64TimeFactory::makeInitial() {
  return std::auto_ptr<LogicalTime>(new HLAfloat64Time(kInitial));
}

std::auto_ptr<LogicalTime> HLAfloat64TimeFactory::makeFinal() {
  return std::auto_ptr<LogicalTime>(new HLAfloat64Time(kFinal));
}

std::auto_ptr<LogicalTimeInterval> HLAfloat64TimeFactory::makeZero() {
  return std::auto_ptr<LogicalTimeInterval>(new HLAfloat64Interval(kZero));
}

std::auto_ptr<LogicalTimeInterval> HLAfloat64TimeFactory::makeEpsilon() {
  return std::auto_ptr<LogicalTimeInterval>(new HLAfloat64Interval(kEpsilon));
}

std::auto_ptr<LogicalTime> HLAfloat64TimeFactory::decodeLogicalTime(
    VariableLengthData const& encodedLogicalTime) {
  return logicaltime::makeDecoded<LogicalTime, HLAfloat64Time>(encodedLogicalTime);
}

std::auto_ptr<LogicalTime> HLAfloat64TimeFactory::decodeLogicalTime(void* buffer,
                                                                      size_t bufferSize) {
  return logicaltime::makeDecoded<LogicalTime, HLAfloat64Time>(buffer, bufferSize);
}

std::auto_ptr<LogicalTimeInterval> HLAfloat64TimeFactory::decodeLogicalTimeInterval(
    VariableLengthData const& encodedValue) {
  return logicaltime::makeDecoded<LogicalTimeInterval, HLAfloat64Interval>(encodedValue);
}

std::auto_ptr<LogicalTimeInterval> HLAfloat64TimeFactory::decodeLogicalTimeInterval(
    void* buffer, size_t bufferSize) {
  return logicaltime::makeDecoded<LogicalTimeInterval, HLAfloat64Interval>(buffer, bufferSize);
}

std::wstring HLAfloat64TimeFactory::getName() const { return logicaltime::kFloat64Name; }

std::auto_ptr<HLAfloat64Time> HLAfloat64TimeFactory::makeLogicalTime(double value) {
  return std::auto_ptr<HLAfloat64Time>(new HLAfloat64Time(value));
}

std::auto_ptr<HLAfloat64Interval> HLAfloat64TimeFactory::makeLogicalTimeInterval(
    double value) {
  return std::auto_ptr<HLAfloat64Interval>(new HLAfloat64Interval(value));
}
}  // namespace rti1516e
