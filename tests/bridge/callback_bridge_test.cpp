// The callback natives against a real virtual machine and the probe core: registration,
// every callback row delivered through JNI, the Java exception a failing callback raises,
// and the floating-point control word in both callback models. Scenarios that need
// another class path or a process that may end re-run this program with --child=<name>.
#include "gen/cpp/CallbackDispatch.h"
#include "gen/cpp/FederateAmbassadorC.h"

#include "bridge/JavaVmHost.h"
#include "bridge/JniScopes.h"

#include "../support/Golden.h"
#include "../support/GoldenSamples.h"
#include "../support/RecordingAmbassador.h"
#include "../support/WireBytes.h"
#include "probe.h"

#include <RTI/RTIambassador.h>
#include <RTI/RTIambassadorFactory.h>
#include <RTI/time/HLAinteger64TimeFactory.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <xmmintrin.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <string>

namespace ostra1516e {
namespace {

using testing::RecordingAmbassador;
using testing::WireBytes;

JNIEnv* jvm() { return JavaVmHost::startOrAttach(); }

// Delivers one array in the immediate model and returns the failure message, if any.
std::optional<std::u16string> deliverOne(std::string const& nativeMethod,
                                         std::vector<uint8_t> const* bytes) {
  Probe::reset();
  Probe::queueCallback(nativeMethod, bytes);
  EXPECT_EQ(Probe::deliverOnProbeThread(), 1);
  if (Probe::callbackFailureCount() == 0) return std::nullopt;
  EXPECT_EQ(Probe::callbackFailureClass(0), "hla.rti1516e.exceptions.FederateInternalError");
  return Probe::callbackFailureMessage(0).value_or(u"<null>");
}

// A target registered under handle 2, the handle of the golden arrays.
class CallbackBridgeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::testing::internal::CaptureStderr();
    registerCallbackNatives(jvm());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  }
  void SetUp() override {
    FederateAmbassadorRegistry::resetForTesting();
    target.federateAmbassador = &ambassador;
    target.federateFpControl = _mm_getcsr();
    target.replaceTimeFactory(std::make_shared<rti1516e::HLAinteger64TimeFactory>());
    FederateAmbassadorRegistry::add(&unused);
    handle = FederateAmbassadorRegistry::add(&target);
    setCatchAllFlag(true);
  }
  void TearDown() override { FederateAmbassadorRegistry::resetForTesting(); }

  CallbackTarget unused, target;
  RecordingAmbassador ambassador;
  int32_t handle = 0;
};

TEST_F(CallbackBridgeTest, EveryGoldenArrayReachesItsMethodThroughJni) {
  ASSERT_EQ(handle, 2);
  size_t rows = 0;
  for (auto const& golden : testing::goldenRows("callback")) {
    SCOPED_TRACE(golden.name);
    CallbackRow const* row = nullptr;
    for (size_t i = 0; i < kCallbackCount; ++i) {
      if (golden.name == kCallbackRows[i].nativeName) row = &kCallbackRows[i];
    }
    ASSERT_NE(row, nullptr);
    ambassador.calls.clear();
    EXPECT_EQ(deliverOne(golden.name, &golden.bytes), std::nullopt);
    EXPECT_EQ(ambassador.calls, std::vector<std::string>{testing::expectedCall(*row)});
    ++rows;
  }
  EXPECT_EQ(rows, 60u);
}

TEST_F(CallbackBridgeTest, FailuresReachTheCoreAsFederateInternalError) {
  struct Case {
    std::string name;
    std::function<void()> thrower;
    std::u16string message;
  } const cases[] = {
      // Cut to 8 bits per character: U+0141 arrives as 'A', U+00E9 stays.
      {"wide text", [] { throw rti1516e::FederateInternalError(L"\u0141-\u00e9"); }, u"A-\u00e9"},
      {"std::exception, UTF-8", [] { throw std::runtime_error("caf\xc3\xa9"); }, u"caf\u00e9"},
      {"int", [] { throw 7; }, u"Unknown C++ exception"},
  };
  for (auto const& c : cases) {
    SCOPED_TRACE(c.name);
    ambassador.during = c.thrower;
    auto array = WireBytes::callback(handle).end().bytes();
    EXPECT_EQ(deliverOne("federationSaved_Native", &array), c.message);
  }
}

TEST_F(CallbackBridgeTest, MalformedArraysAreRefusedWithTheirReason) {
  auto badMagic = WireBytes().word(0).word(handle).end().bytes();
  struct Case {
    std::string nativeMethod;
    std::vector<uint8_t> const* bytes;
    std::string contains;
  } const cases[] = {
      {"federationSaved_Native", &badMagic, "preMagic == PRE_MAGIC"},
      {"federationSaved_Native", nullptr, "the callback array is null"},
  };
  for (auto const& c : cases) {
    SCOPED_TRACE(c.contains);
    auto failure = deliverOne(c.nativeMethod, c.bytes);
    ASSERT_TRUE(failure.has_value());
    std::string text(failure->begin(), failure->end());
    EXPECT_NE(text.find(c.contains), std::string::npos) << text;
  }
  EXPECT_TRUE(ambassador.calls.empty());
}

TEST_F(CallbackBridgeTest, CallbacksRunUnderTheControlWordOfConnectInBothModels) {
  unsigned const outside = _mm_getcsr();
  unsigned const federate = outside | 0x8040;  // flush-to-zero, denormals-are-zero
  ASSERT_NE(federate, outside);
  target.federateFpControl = federate;
  std::vector<unsigned> seen;
  ambassador.during = [&] { seen.push_back(_mm_getcsr()); };
  auto array = WireBytes::callback(handle).end().bytes();

  // Immediate: on the probe's own thread.
  EXPECT_EQ(deliverOne("federationRestored_Native", &array), std::nullopt);

  // Evoked: nested in a service call on this thread; the register is this thread's
  // again once the service returns, whether or not the callback throws.
  JNIEnv* env = jvm();
  LocalRef<jclass> service(env, env->FindClass("org/vantor/ostra1516e/RTIambassadorC2007"));
  ASSERT_TRUE(service);
  LocalRef<jbyteArray> settings(env, env->NewByteArray(4));
  jobject object = env->NewObject(service.get(), env->GetMethodID(service.get(), "<init>", "([B)V"),
                                   settings.get());
  LocalRef<jobject> ambassadorObject(env, object);
  jmethodID evoke = env->GetMethodID(service.get(), "evokeCallback_D", "([B)Z");
  LocalRef<jbyteArray> seconds(env, env->NewByteArray(8));
  for (bool throws : {false, true}) {
    SCOPED_TRACE(throws ? "throwing" : "returning");
    if (throws) ambassador.during = [&] { seen.push_back(_mm_getcsr()); throw 1; };
    Probe::reset();
    Probe::queueCallback("federationRestored_Native", &array);
    env->CallBooleanMethod(ambassadorObject.get(), evoke, seconds.get());
    EXPECT_FALSE(env->ExceptionCheck());
    env->ExceptionClear();
    EXPECT_EQ(_mm_getcsr(), outside);
    EXPECT_EQ(Probe::callbackFailureCount(), throws ? 1 : 0);
  }
  EXPECT_EQ(seen, (std::vector<unsigned>{federate, federate, federate}));
}

TEST_F(CallbackBridgeTest, RegisteringAgainChangesNothing) {
  ::testing::internal::CaptureStderr();
  registerCallbackNatives(jvm());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  auto array = WireBytes::callback(handle).end().bytes();
  EXPECT_EQ(deliverOne("federationSaved_Native", &array), std::nullopt);
  EXPECT_EQ(ambassador.calls, std::vector<std::string>{"federationSaved()"});
}

// ---- Child processes ---------------------------------------------------------------

std::string selfPath() {
  char path[4096];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, static_cast<size_t>(length)) : "";
}

// Runs this program with --child=<scenario> after `setup` and returns everything it
// printed; *status receives its wait status.
std::string runChild(std::string const& scenario, std::string const& setup, int* status) {
  std::string const command = setup + " '" + selfPath() + "' --child=" + scenario + " 2>&1";
  std::string output;
  *status = -1;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    *status = pclose(pipe);
  }
  return output;
}

TEST(CallbackRegistration, WithoutTheCallbackClassOnlyTheClassPathIsReported) {
  int status;
  std::string output = runChild("register", "env CLASSPATH=/nonexistent", &status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("The file ostra1516e.jar can not be found in the CLASSPATH.\n"), std::string::npos)
      << output;
  EXPECT_EQ(output.find("Failed to register native functions."), std::string::npos) << output;
  EXPECT_NE(output.find("pending=0"), std::string::npos) << output;
}

TEST(CallbackRegistration, AClassWithoutTheNativeMethodsIsReported) {
  int status;
  std::string output = runChild("register", "env CLASSPATH=" OSTRA_INCOMPLETE_CALLBACK_CLASS_JAR, &status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("Failed to register native functions.\n"), std::string::npos) << output;
  EXPECT_EQ(output.find("can not be found"), std::string::npos) << output;
  EXPECT_NE(output.find("pending=0"), std::string::npos) << output;
}

TEST(CallbackRegistration, WithoutCatchAllAnUnknownExceptionEndsTheProcess) {
  int status;
  std::string output = runChild("uncaught", "", &status);
  EXPECT_NE(status, 0) << output;
  EXPECT_NE(output.find("delivering"), std::string::npos) << output;
  EXPECT_NE(output.find("terminate called after throwing an instance of 'int'"), std::string::npos)
      << output;
  EXPECT_EQ(output.find("returned"), std::string::npos) << output;
}

int childRegister() {
  JNIEnv* env = jvm();
  registerCallbackNatives(env);
  std::cout << "pending=" << (env->ExceptionCheck() ? 1 : 0) << std::endl;
  return 0;
}

int childUncaught() {
  CallbackTarget target;
  RecordingAmbassador ambassador;
  ambassador.during = [] { throw 5; };
  target.federateAmbassador = &ambassador;
  target.federateFpControl = _mm_getcsr();
  int32_t handle = FederateAmbassadorRegistry::add(&target);
  registerCallbackNatives(jvm());
  setCatchAllFlag(false);
  jvm();
  auto array = WireBytes::callback(handle).end().bytes();
  Probe::reset();
  Probe::queueCallback("federationSaved_Native", &array);
  std::cout << "delivering" << std::endl;
  Probe::deliverOnProbeThread();
  std::cout << "returned" << std::endl;
  return 0;
}


// ---- A federate through the public API -------------------------------------------

// The handle that the latest connect sent to the core: the first word of its array.
int32_t connectedHandle() {
  std::vector<uint8_t> bytes = Probe::callBytes(Probe::lastCall("connect_FA_CM_S"));
  return int32_t(uint32_t(bytes.at(0)) << 24 | uint32_t(bytes.at(1)) << 16 |
                 uint32_t(bytes.at(2)) << 8 | bytes.at(3));
}

TEST(CallbackFederate, EvokedCallbacksReachTheConnectedAmbassadorUnderItsControlWord) {
  jvm();
  Probe::reset();
  std::auto_ptr<rti1516e::RTIambassador> rti =
      rti1516e::RTIambassadorFactory().createRTIambassador();
  RecordingAmbassador federate;
  unsigned const normal = _mm_getcsr();
  unsigned const federateSetting = normal | 0x8040;
  _mm_setcsr(federateSetting);
  rti->connect(federate, rti1516e::HLA_EVOKED, L"");
  _mm_setcsr(normal);
  int32_t const handle = connectedHandle();

  std::vector<unsigned> seen;
  federate.during = [&] { seen.push_back(_mm_getcsr()); };
  auto array = WireBytes::callback(handle).word(5).end().bytes();
  Probe::queueCallback("federationNotSaved_SFR_Native", &array);
  rti->evokeCallback(0.1);
  EXPECT_EQ(federate.calls, std::vector<std::string>{"federationNotSaved(5)"});
  EXPECT_EQ(seen, std::vector<unsigned>{federateSetting});
  EXPECT_EQ(_mm_getcsr(), normal);

  // A failing callback reaches the core as FederateInternalError; the federate's thread
  // goes on with its own register.
  federate.during = [] { throw rti1516e::FederateInternalError(L"cannot save"); };
  Probe::reset();
  Probe::queueCallback("federationNotSaved_SFR_Native", &array);
  rti->evokeCallback(0.1);
  ASSERT_EQ(Probe::callbackFailureCount(), 1);
  EXPECT_EQ(Probe::callbackFailureClass(0), "hla.rti1516e.exceptions.FederateInternalError");
  EXPECT_EQ(Probe::callbackFailureMessage(0).value_or(u"<null>"), u"cannot save");
  EXPECT_EQ(_mm_getcsr(), normal);
}

TEST(CallbackFederate, TheEnvironmentSwitchesCatchAllOffAtConstruction) {
  int status;
  std::string caught = runChild("federate-throws-int", "", &status);
  EXPECT_EQ(status, 0) << caught;
  EXPECT_NE(caught.find("failure=Unknown C++ exception"), std::string::npos) << caught;
  std::string ended = runChild("federate-throws-int", "env OSTRA1516_DONTCATCHALL=", &status);
  EXPECT_NE(status, 0) << ended;
  EXPECT_NE(ended.find("terminate called after throwing an instance of 'int'"), std::string::npos)
      << ended;
}

int childFederateThrowsInt() {
  jvm();
  Probe::reset();
  std::auto_ptr<rti1516e::RTIambassador> rti =
      rti1516e::RTIambassadorFactory().createRTIambassador();
  RecordingAmbassador federate;
  federate.during = [] { throw 3; };
  rti->connect(federate, rti1516e::HLA_EVOKED, L"");
  auto array = WireBytes::callback(connectedHandle()).end().bytes();
  Probe::queueCallback("federationSaved_Native", &array);
  rti->evokeCallback(0.1);
  std::u16string message =
      Probe::callbackFailureCount() ? Probe::callbackFailureMessage(0).value_or(u"") : u"";
  std::cout << "failure=" << std::string(message.begin(), message.end()) << std::endl;
  return 0;
}

}  // namespace
}  // namespace ostra1516e

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--child=register") == 0) return ostra1516e::childRegister();
    if (std::strcmp(argv[i], "--child=uncaught") == 0) return ostra1516e::childUncaught();
    if (std::strcmp(argv[i], "--child=federate-throws-int") == 0) return ostra1516e::childFederateThrowsInt();
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
