// ServiceTable.h: the rows of ServiceTable.def as types, the process-wide table of Java
// method identifiers, and the table's compile-time checks.
//
// Each row becomes a struct in namespace ostra1516e::service named after its Java
// method, which the call frame (ServiceCall.h) is instantiated with:
//
//   service::joinFederationExecution_S_S_S_URLX::slot        // 9
//   service::joinFederationExecution_S_S_S_URLX::Codes       // CodeList<S, S, S, URLX>
//   service::joinFederationExecution_S_S_S_URLX::Result      // result::FH
//   service::joinFederationExecution_S_S_S_URLX::exceptions  // CoreExceptionList
//
// OSTRA_PARAMS and OSTRA_ARGS turn a row's code list into a parameter list and the
// matching argument names, so that the bridge and the adapter declare their operations
// from the same rows.
#ifndef OSTRA_GEN_SERVICETABLE_H
#define OSTRA_GEN_SERVICETABLE_H

#include <jni.h>

#include <array>
#include <atomic>
#include <cstddef>

#include "bridge/JavaExceptions.h"
#include "gen/cpp/ServiceResults.h"
#include "gen/cpp_handwritten/TypeCodes.h"

// ---- parameter lists from code lists --------------------------------------------

#define OSTRA_COUNT(...) OSTRA_COUNT_I(__VA_ARGS__ __VA_OPT__(, ) 5, 4, 3, 2, 1, 0, )
#define OSTRA_COUNT_I(a, b, c, d, e, N, ...) N
#define OSTRA_CAT(a, b) OSTRA_CAT_I(a, b)
#define OSTRA_CAT_I(a, b) a##b
#define OSTRA_UNPAREN(...) __VA_ARGS__

// OSTRA_PARAMS (S, URLX) gives `::ostra1516e::code::S::Param a1, ::ostra1516e::code::URLX::Param a2`.
#define OSTRA_PARAMS(...) OSTRA_CAT(OSTRA_PARAMS_, OSTRA_COUNT(__VA_ARGS__))(__VA_ARGS__)
#define OSTRA_P(C, n) ::ostra1516e::code::C::Param a##n
#define OSTRA_PARAMS_0()
#define OSTRA_PARAMS_1(c1) OSTRA_P(c1, 1)
#define OSTRA_PARAMS_2(c1, c2) OSTRA_P(c1, 1), OSTRA_P(c2, 2)
#define OSTRA_PARAMS_3(c1, c2, c3) OSTRA_P(c1, 1), OSTRA_P(c2, 2), OSTRA_P(c3, 3)
#define OSTRA_PARAMS_4(c1, c2, c3, c4) OSTRA_P(c1, 1), OSTRA_P(c2, 2), OSTRA_P(c3, 3), OSTRA_P(c4, 4)
#define OSTRA_PARAMS_5(c1, c2, c3, c4, c5) \
  OSTRA_P(c1, 1), OSTRA_P(c2, 2), OSTRA_P(c3, 3), OSTRA_P(c4, 4), OSTRA_P(c5, 5)

// OSTRA_ARGS (S, URLX) gives `a1, a2`; OSTRA_COMMA_ARGS gives `, a1, a2` (nothing for ()).
#define OSTRA_ARGS(...) OSTRA_CAT(OSTRA_ARGS_, OSTRA_COUNT(__VA_ARGS__))
#define OSTRA_COMMA_ARGS(...) OSTRA_CAT(OSTRA_COMMA_ARGS_, OSTRA_COUNT(__VA_ARGS__))
#define OSTRA_ARGS_0
#define OSTRA_ARGS_1 a1
#define OSTRA_ARGS_2 a1, a2
#define OSTRA_ARGS_3 a1, a2, a3
#define OSTRA_ARGS_4 a1, a2, a3, a4
#define OSTRA_ARGS_5 a1, a2, a3, a4, a5
#define OSTRA_COMMA_ARGS_0
#define OSTRA_COMMA_ARGS_1 , a1
#define OSTRA_COMMA_ARGS_2 , a1, a2
#define OSTRA_COMMA_ARGS_3 , a1, a2, a3
#define OSTRA_COMMA_ARGS_4 , a1, a2, a3, a4
#define OSTRA_COMMA_ARGS_5 , a1, a2, a3, a4, a5

namespace ostra1516e {

template <typename... Codes>
struct CodeList {
  static constexpr std::size_t size = sizeof...(Codes);
};

// The exception list of a row; the empty list declares no class.
template <CoreException... Classes>
struct ExceptionsOf {
  static constexpr CoreException list[] = {Classes...};
  static constexpr CoreExceptionList get() { return CoreExceptionList(list); }
};
template <>
struct ExceptionsOf<> {
  static constexpr CoreExceptionList get() { return CoreExceptionList(); }
};

// The exception names as constants, so that the rows can name them bare.
namespace exception_names {
#define OSTRA_EXCEPTION_NAME_0(Name)
#define OSTRA_EXCEPTION_NAME_1(Name) constexpr CoreException Name = CoreException::Name;
#define OSTRA_EXCEPTION_NAME(Name, InCore) OSTRA_EXCEPTION_NAME_##InCore(Name)
RTI1516E_EXCEPTIONS(OSTRA_EXCEPTION_NAME)
#undef OSTRA_EXCEPTION_NAME
#undef OSTRA_EXCEPTION_NAME_1
#undef OSTRA_EXCEPTION_NAME_0
}  // namespace exception_names

namespace service {
using namespace code;
using namespace exception_names;

#define OSTRA_SERVICE(slot_, cpp_, java_, signature_, result_, codes_, exceptions_) \
  struct java_ {                                                                   \
    static constexpr int slot = slot_;                                             \
    static constexpr char cppName[] = #cpp_;                                       \
    static constexpr char javaName[] = #java_;                                     \
    static constexpr char signature[] = signature_;                                \
    using Result = result::result_;                                                \
    using Codes = CodeList<OSTRA_UNPAREN codes_>;                                  \
    static constexpr CoreExceptionList exceptions() {                              \
      return ExceptionsOf<OSTRA_UNPAREN exceptions_>::get();                       \
    }                                                                              \
  };
#include "gen/cpp/ServiceTable.def"
}  // namespace service

// ---- the whole table as data ------------------------------------------------------

struct ServiceRow {
  int slot;
  char const* javaName;
  char const* signature;
};

constexpr ServiceRow kServiceRows[] = {
#define OSTRA_SERVICE(slot_, cpp_, java_, signature_, result_, codes_, exceptions_) \
  {service::java_::slot, service::java_::javaName, service::java_::signature},
#include "gen/cpp/ServiceTable.def"
};

constexpr std::size_t kServiceCount = sizeof kServiceRows / sizeof kServiceRows[0];
static_assert(kServiceCount == 142, "the bridge carries 142 services");

// ServiceMethodTable: one Java method identifier per slot, process-wide, filled at every
// bridge construction from the same class, so every filling stores the same values.
class ServiceMethodTable {
 public:
  // fill looks every row's method up on the core's service class, in the standard API's
  // declaration order. A missing method writes "Cannot locate <name>." to standard error
  // and throws rti1516e::RTIinternalError, with no Java exception left pending.
  static void fill(JNIEnv* env, jclass serviceClass);

  static jmethodID method(int slot) { return methods_[slot].load(std::memory_order_relaxed); }

  // lookupOrder lists the rows' indexes in the order fill looks them up: the table's
  // order with every run of neighbouring overloads taken in reverse.
  static std::array<std::size_t, kServiceCount> const& lookupOrder();

 private:
  static std::atomic<jmethodID> methods_[kServiceCount + 1];
};

// ---- compile-time checks of the rows ----------------------------------------------

namespace table_check {

constexpr bool equal(char const* a, char const* b) {
  while (*a != 0 && *a == *b) ++a, ++b;
  return *a == *b;
}

// matches tells whether text is exactly the concatenation of parts.
template <std::size_t N>
constexpr bool matches(char const* text, char const* const (&parts)[N]) {
  for (char const* part : parts) {
    while (*part != 0) {
      if (*text++ != *part++) return false;
    }
  }
  return *text == 0;
}

// The Java method's name up to its first underscore.
constexpr bool baseNameIs(char const* javaName, char const* base) {
  while (*base != 0 && *javaName == *base) ++javaName, ++base;
  return *base == 0 && (*javaName == 0 || *javaName == '_');
}

template <typename Row, typename... Codes>
constexpr bool javaNameMatches(CodeList<Codes...>) {
  char const* text = Row::javaName;
  while (*text != 0 && *text != '_') ++text;
  char const* const parts[] = {"", Codes::name...};
  // The suffix must be "_" and a code, for each code in turn.
  for (std::size_t i = 1; i < sizeof parts / sizeof parts[0]; ++i) {
    if (*text++ != '_') return false;
    for (char const* p = parts[i]; *p != 0; ++p) {
      if (*text++ != *p) return false;
    }
  }
  return *text == 0;
}

// The three services whose C++ name is not their Java method's base name.
constexpr bool cppNameMatches(char const* cppName, char const* javaName) {
  if (equal(javaName, "createFederationExecution_S_URLX_URL_S")) {
    return equal(cppName, "createFederationExecutionWithMIM");
  }
  if (equal(javaName, "getTransportationTypeHandle_S")) return equal(cppName, "getTransportationType");
  if (equal(javaName, "getTransportationTypeName_TTH")) return equal(cppName, "getTransportationName");
  return baseNameIs(javaName, cppName);
}

template <typename Row>
constexpr bool signatureMatches() {
  char const* const parts[] = {Row::Codes::size == 0 ? "()" : "([B)", Row::Result::jniType};
  return matches(Row::signature, parts);
}

// A declared list ends with RTIinternalError, so that the core's own failures keep
// their message.
constexpr bool endsWithInternalError(CoreExceptionList list) {
  return list.size() == 0 || *(list.end() - 1) == CoreException::RTIinternalError;
}

constexpr bool slotsInOrder() {
  for (std::size_t i = 0; i < kServiceCount; ++i) {
    if (kServiceRows[i].slot != static_cast<int>(i) + 1) return false;
  }
  return true;
}
static_assert(slotsInOrder(), "rows must be numbered 1, 2, 3, ... in table order");

#define OSTRA_SERVICE(slot_, cpp_, java_, signature_, result_, codes_, exceptions_)      \
  static_assert(javaNameMatches<service::java_>(service::java_::Codes{}),               \
                #java_ ": the codes after the service name must be the row's codes");   \
  static_assert(cppNameMatches(service::java_::cppName, service::java_::javaName),       \
                #java_ ": the C++ name must be the Java method's name before the codes"); \
  static_assert(signatureMatches<service::java_>(),                                     \
                #java_ ": the signature must follow from the codes and the result");    \
  static_assert(endsWithInternalError(service::java_::exceptions()),                    \
                #java_ ": the exception list must end with RTIinternalError");
#include "gen/cpp/ServiceTable.def"

}  // namespace table_check

}  // namespace ostra1516e

#endif  // OSTRA_GEN_SERVICETABLE_H
