// JavaExceptions.h: Java exceptions of the RTI core as rti1516e exceptions.
//
// The core reports a failed service with a class of hla/rti1516e/exceptions; the C++
// class of the same name in namespace rti1516e is what the federate catches. Each
// service declares the classes it may raise, in testing order, ending with
// RTIinternalError:
//
//   constexpr CoreException kJoinExceptions[] = {CoreException::CouldNotCreateLogicalTimeFactory,
//                                                ..., CoreException::RTIinternalError};
//   checkJavaException(env, kJoinExceptions);          // see JniScopes.h
//
// matchJavaException and raiseUnhandledJavaException are the two steps that
// checkJavaException runs for every declared class and for a throwable of none.
#ifndef OSTRA1516E_BRIDGE_JAVAEXCEPTIONS_H
#define OSTRA1516E_BRIDGE_JAVAEXCEPTIONS_H

#include <RTI/Exception.h>
#include <jni.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace ostra1516e {

#define OSTRA_CORE_EXCEPTION_0(Name)
#define OSTRA_CORE_EXCEPTION_1(Name) Name,
#define OSTRA_CORE_EXCEPTION(Name, InCore) OSTRA_CORE_EXCEPTION_##InCore(Name)

// CoreException names the exception classes that the core can throw: the rows of
// RTI1516E_EXCEPTIONS whose InCore column is 1.
enum class CoreException : std::uint8_t { RTI1516E_EXCEPTIONS(OSTRA_CORE_EXCEPTION) };

#undef OSTRA_CORE_EXCEPTION
#undef OSTRA_CORE_EXCEPTION_1
#undef OSTRA_CORE_EXCEPTION_0

// The number of CoreException values.
extern std::size_t const kCoreExceptionCount;

// javaClassName is the JNI name of the core's class, "hla/rti1516e/exceptions/<Name>".
char const* javaClassName(CoreException which);

// throwCoreException throws rti1516e::<Name>(message).
[[noreturn]] void throwCoreException(CoreException which, std::wstring const& message);

// CoreExceptionList is a borrowed, ordered list of classes, made from an array; the
// empty list declares none.
class CoreExceptionList {
 public:
  template <std::size_t N>
  constexpr CoreExceptionList(CoreException const (&array)[N]) noexcept
      : first_(array), count_(N) {}
  constexpr CoreExceptionList() noexcept : first_(nullptr), count_(0) {}

  constexpr CoreException const* begin() const noexcept { return first_; }
  constexpr CoreException const* end() const noexcept { return first_ + count_; }
  constexpr std::size_t size() const noexcept { return count_; }

 private:
  CoreException const* first_;
  std::size_t count_;
};

// matchJavaException tells whether `throwable` is an instance of the class with the JNI
// name `className` (a subclass counts). If so, `message` receives the throwable's
// getMessage(), or its toString() when that is null. `throwable` is borrowed and stays
// valid. A class that cannot be found is no match, and leaves no Java exception pending.
bool matchJavaException(JNIEnv* env, jthrowable throwable, char const* className,
                        std::wstring& message);

// raiseUnhandledJavaException writes "Unhandled exception" and the Java stack trace to
// standard error and throws rti1516e::RTIinternalError with the throwable's toString().
// Serves every throwable, Java errors included. `throwable` is borrowed.
[[noreturn]] void raiseUnhandledJavaException(JNIEnv* env, jthrowable throwable);

}  // namespace ostra1516e

#endif  // OSTRA1516E_BRIDGE_JAVAEXCEPTIONS_H
