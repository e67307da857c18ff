#include "gen/cpp/RTIambassadorC.h"

#include <RTI/Exception.h>
#include <RTI/LogicalTimeFactory.h>

#include <xmmintrin.h>

#include <cstdlib>

#include "bridge/FloatingPointGuard.h"
#include "bridge/JavaExceptions.h"
#include "bridge/JavaVmHost.h"
#include "bridge/Text.h"
#include "bridge/TimeLibrary.h"
#include "gen/cpp/FederateAmbassadorC.h"
#include "gen/cpp/ServiceCall.h"

namespace ostra1516e {

namespace {

char const kCoreClass[] = "org/vantor/ostra1516e/RtiFactoryImpl";
char const kServiceClass[] = "org/vantor/ostra1516e/RTIambassadorC2007";

// The class path the running machine searches, as it reports it: whatever built it (the
// host from CLASSPATH and the installed jar, or a Java program that loaded this library).
std::wstring machineClassPath(JNIEnv* env) {
  LocalRef<jclass> system(env, env->FindClass("java/lang/System"));
  jmethodID const getProperty =
      system ? env->GetStaticMethodID(system.get(), "getProperty",
                                      "(Ljava/lang/String;)Ljava/lang/String;")
             : nullptr;
  LocalRef<jstring> key(env, getProperty ? env->NewStringUTF("java.class.path") : nullptr);
  LocalRef<jstring> value(env, key ? static_cast<jstring>(env->CallStaticObjectMethod(
                                         system.get(), getProperty, key.get()))
                                   : nullptr);
  if (env->ExceptionCheck() || !value) {
    clearJavaException(env);
    return L"(unknown)";
  }
  try {
    std::wstring const text = javaText(env, value.get());
    return text.empty() ? L"(empty)" : text;
  } catch (rti1516e::RTIinternalError const&) {
    return L"(unknown)";
  }
}

// Reports classes missing from the class path, naming the class path searched.
[[noreturn]] void raiseClassPathFailure(JNIEnv* env, wchar_t const* format) {
  clearJavaException(env);
  raiseBridgeFailure(formatMessage(format, machineClassPath(env).c_str()));
}

// The Java exception that the service object's constructor threw, as RTIinternalError
// with its message; its description has gone to standard error.
[[noreturn]] void raiseConstructorFailure(JNIEnv* env) {
  LocalRef<jthrowable> thrown(env, env->ExceptionOccurred());
  env->ExceptionDescribe();
  env->ExceptionClear();
  std::wstring message;
  if (matchJavaException(env, thrown.get(), "java/lang/Throwable", message)) {
    throw rti1516e::RTIinternalError(message);
  }
  throw rti1516e::RTIinternalError(L"Cannot create RTIambassador object");
}

}  // namespace

// ---- the service method table -------------------------------------------------------

std::atomic<jmethodID> ServiceMethodTable::methods_[kServiceCount + 1];

std::array<std::size_t, kServiceCount> const& ServiceMethodTable::lookupOrder() {
  static std::array<std::size_t, kServiceCount> const order = [] {
    auto baseName = [](char const* javaName) {
      std::string name(javaName);
      return name.substr(0, name.find('_'));
    };
    std::array<std::size_t, kServiceCount> indexes{};
    std::size_t filled = 0;
    for (std::size_t first = 0; first < kServiceCount;) {
      std::size_t end = first + 1;
      while (end < kServiceCount &&
             baseName(kServiceRows[end].javaName) == baseName(kServiceRows[first].javaName)) {
        ++end;
      }
      for (std::size_t i = end; i > first; --i) indexes[filled++] = i - 1;
      first = end;
    }
    return indexes;
  }();
  return order;
}

void ServiceMethodTable::fill(JNIEnv* env, jclass serviceClass) {
  for (std::size_t index : lookupOrder()) {
    ServiceRow const& row = kServiceRows[index];
    jmethodID const method = env->GetMethodID(serviceClass, row.javaName, row.signature);
    if (method == nullptr) {
      clearJavaException(env);
      raiseBridgeFailure(L"Cannot locate " + widenText(row.javaName) + L".");
    }
    methods_[row.slot].store(method, std::memory_order_relaxed);
  }
}

void raiseArrayFailure(JNIEnv* env, char const* javaName, size_t size) {
  clearJavaException(env);
  std::wstring const method = widenText(javaName);
  if (size > static_cast<size_t>(INT_MAX)) {
    raiseBridgeFailure(formatMessage(
        L"The arguments of %ls take %lu bytes, more than one Java array can hold\n",
        method.c_str(), static_cast<unsigned long>(size)));
  }
  raiseBridgeFailure(formatMessage(
      L"Cannot allocate the %lu-byte argument array of %ls: the JVM is out of memory\n",
      static_cast<unsigned long>(size), method.c_str()));
}

namespace {

template <typename Value>
std::wstring foreignRepresentation(CallbackTarget const& target, Value const& value) {
  std::shared_ptr<rti1516e::LogicalTimeFactory> const factory = target.currentTimeFactory();
  if (!factory) return std::wstring();
  std::wstring const federation = factory->getName();
  std::wstring const given = value.implementationName();
  return given == federation ? std::wstring()
                             : L"an " + given + L" where the federation execution uses " + federation;
}

}  // namespace

void requireFederationRepresentation(CallbackTarget const& target, char const* service,
                                     rti1516e::LogicalTime const& time) {
  std::wstring const problem = foreignRepresentation(target, time);
  if (!problem.empty()) {
    throw rti1516e::InvalidLogicalTime(widenText(service) + L": the time is " + problem);
  }
}

void requireFederationRepresentation(CallbackTarget const& target, char const* service,
                                     rti1516e::LogicalTimeInterval const& interval) {
  std::wstring const problem = foreignRepresentation(target, interval);
  if (!problem.empty()) {
    throw rti1516e::InvalidLookahead(widenText(service) + L": the lookahead is an interval of " +
                                     problem.substr(3));
  }
}

// ---- construction and destruction ---------------------------------------------------

RTIambassadorC::RTIambassadorC() {
  FloatingPointGuard guard(FloatingPointGuard::call);
  JNIEnv* const env = JavaVmHost::startOrAttach();
  setCatchAllFlag(std::getenv("OSTRA1516_DONTCATCHALL") == nullptr);

  if (!LocalRef<jclass>(env, env->FindClass(kCoreClass))) {
    raiseClassPathFailure(env, L"Cannot locate Ostra core Java classes\nCLASSPATH: %ls");
  }
  LocalRef<jclass> serviceClass(env, env->FindClass(kServiceClass));
  if (env->ExceptionCheck()) {
    env->ExceptionDescribe();
    env->ExceptionClear();
  }
  if (!serviceClass) {
    raiseClassPathFailure(env, L"Cannot locate Ostra adapter Java classes\nCLASSPATH: %ls");
  }

  ServiceMethodTable::fill(env, serviceClass.get());
  registerCallbackNatives(env);

  jmethodID const constructor = env->GetMethodID(serviceClass.get(), "<init>", "([B)V");
  if (constructor == nullptr) {
    clearJavaException(env);
    raiseBridgeFailure(
        L"Cannot locate constructor for Java class org.vantor.ostra1516e.RTIambassadorC2007");
  }
  // The constructor takes an empty list of strings.
  LocalRef<jbyteArray> noModules =
      buildServiceArray(env, "<init>", CodeList<code::URLX>{}, std::vector<std::wstring>());
  LocalRef<jobject> object(env, env->NewObject(serviceClass.get(), constructor, noModules.get()));
  noModules.reset();
  if (env->ExceptionCheck()) raiseConstructorFailure(env);
  if (!object) raiseBridgeFailure(L"Cannot create RTIambassador object. Constructor returned NULL\n");
  javaObject = GlobalRef<jobject>(env, object.get());
}

RTIambassadorC::~RTIambassadorC() {
  if (javaObject) {
    try {
      FloatingPointGuard guard(FloatingPointGuard::call);
      JNIEnv* const env = JavaVmHost::currentEnv();
      // A failure here, for instance because the ambassador never connected, changes
      // nothing: the object goes either way.
      env->CallVoidMethod(javaObject.get(), ServiceMethodTable::method(service::disconnect::slot));
      clearJavaException(env);
      javaObject.reset();
    } catch (...) {
      // No environment for this thread: the failure is on standard error already.
    }
  }
  // The core sends no callback after disconnect; any that still names this target is
  // refused from now on.
  FederateAmbassadorRegistry::retire(&target);
}

// ---- the services -------------------------------------------------------------------

#define OSTRA_SERVICE(slot_, cpp_, java_, signature_, result_, codes_, exceptions_) \
  result::result_::Type RTIambassadorC::cpp_(OSTRA_PARAMS codes_) {                 \
    return callService<service::java_>(*this OSTRA_COMMA_ARGS codes_);              \
  }
#define OSTRA_SERVICE_BRIDGE_OWN(...)
#include "gen/cpp/ServiceTable.def"

void RTIambassadorC::connect(rti1516e::FederateAmbassador& federateAmbassador,
                             rti1516e::CallbackModel callbackModel,
                             std::wstring const& localSettingsDesignator) {
  // Callbacks run under the federate's own setting, as found before the bridge changes it.
  target.federateFpControl.store(_mm_getcsr());
  target.federateAmbassador.store(&federateAmbassador);
  {
    // A thread that cannot enter the virtual machine takes no handle.
    FloatingPointGuard guard(FloatingPointGuard::call);
    JavaVmHost::currentEnv();
  }
  int32_t const handle = FederateAmbassadorRegistry::add(&target);
  if (handle == FederateAmbassadorRegistry::kFull) {
    // The registry has written the line to standard error.
    throw rti1516e::RTIinternalError(L"No more FederateAmbassador handles\n");
  }
  callService<service::connect_FA_CM_S>(*this, handle, callbackModel, localSettingsDesignator);
}

rti1516e::FederateHandle RTIambassadorC::joinFederationExecution(OSTRA_PARAMS(S, S, URLX)) {
  rti1516e::FederateHandle const joined =
      callService<service::joinFederationExecution_S_S_URLX>(*this, a1, a2, a3);
  installTimeFactory();
  return joined;
}

rti1516e::FederateHandle RTIambassadorC::joinFederationExecution(OSTRA_PARAMS(S, S, S, URLX)) {
  rti1516e::FederateHandle const joined =
      callService<service::joinFederationExecution_S_S_S_URLX>(*this, a1, a2, a3, a4);
  installTimeFactory();
  return joined;
}

void RTIambassadorC::installTimeFactory() {
  std::wstring const name = getTimeFactory();
  std::auto_ptr<rti1516e::LogicalTimeFactory> made = makeFederationTimeFactory(name);
  // A callback still decoding with the old factory keeps it alive until it is done.
  target.replaceTimeFactory(std::shared_ptr<rti1516e::LogicalTimeFactory>(made.release()));
}

}  // namespace ostra1516e
