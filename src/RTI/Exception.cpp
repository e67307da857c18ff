#include <RTI/Exception.h>

#include <ostream>

namespace rti1516e {

Exception::Exception() {}
Exception::Exception(Exception const&) {}
Exception& Exception::operator=(Exception const&) { return *this; }
Exception::~Exception() {}

std::wostream& operator<<(std::wostream& stream, Exception const& e) {
  return stream << e.what();
}

#define RTI1516E_DEFINE_EXCEPTION(Name, InCore)                                  \
  Name::Name(std::wstring const& message) : _msg(message) {}                     \
  Name::Name(Name const& rhs) : Exception(rhs), _msg(rhs._msg) {}                \
  Name& Name::operator=(Name const& rhs) {                                       \
    Exception::operator=(rhs);                                                   \
    _msg = rhs._msg;                                                             \
    return *this;                                                                \
  }                                                                              \
  Name::~Name() {}                                                               \
  std::wstring Name::what() const { return _msg; }

RTI1516E_EXCEPTIONS(RTI1516E_DEFINE_EXCEPTION)

#undef RTI1516E_DEFINE_EXCEPTION

}  // namespace rti1516e
