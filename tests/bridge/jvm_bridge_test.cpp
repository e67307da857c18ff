// The JVM host, the JNI scopes and the exception translation against a real virtual
// machine. The machine is created once per process from this plain program, with
// CLASSPATH naming the test classes; scenarios that need a fresh process or another
// environment re-run this program with --child=<scenario> and check what it prints.
#include <RTI/Exception.h>
#include <RTI/RTIambassadorFactory.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>
#include <xmmintrin.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bridge/FloatingPointGuard.h"
#include "bridge/JavaExceptions.h"
#include "bridge/JavaVmHost.h"
#include "bridge/JniScopes.h"
#include "bridge/Text.h"
#include "child_process.h"

namespace ostra1516e {
namespace {

char const kThrowers[] = "bridgetest/Throwers";

JNIEnv* jvm() { return JavaVmHost::startOrAttach(); }

LocalRef<jstring> javaString(JNIEnv* env, std::vector<jchar> const& units) {
  return LocalRef<jstring>(env, env->NewString(units.data(), static_cast<jsize>(units.size())));
}

LocalRef<jstring> javaString(JNIEnv* env, char const* ascii) {
  return LocalRef<jstring>(env, ascii ? env->NewStringUTF(ascii) : nullptr);
}

// Calls the static method Throwers.<method>(String) and returns what it threw, no
// longer pending.
LocalRef<jthrowable> thrownBy(JNIEnv* env, char const* method, jstring argument) {
  LocalRef<jclass> throwers(env, env->FindClass(kThrowers));
  EXPECT_TRUE(throwers) << "test classes not on CLASSPATH";
  if (!throwers) return LocalRef<jthrowable>();
  jmethodID id = env->GetStaticMethodID(throwers.get(), method, "(Ljava/lang/String;)V");
  EXPECT_NE(id, nullptr) << method;
  env->CallStaticVoidMethod(throwers.get(), id, argument);
  LocalRef<jthrowable> thrown(env, env->ExceptionOccurred());
  env->ExceptionClear();
  EXPECT_TRUE(thrown) << method << " threw nothing";
  return thrown;
}

LocalRef<jthrowable> thrownBy(JNIEnv* env, char const* method, char const* message) {
  return thrownBy(env, method, javaString(env, message).get());
}

// Throws `thrown` again, as the core would from a service method.
void makePending(JNIEnv* env, LocalRef<jthrowable> const& thrown) {
  ASSERT_TRUE(thrown);
  ASSERT_EQ(env->Throw(thrown.get()), JNI_OK);
}

std::wstring describeNow(JNIEnv* env, jobject object) {
  LocalRef<jclass> cls(env, env->FindClass("java/lang/Object"));
  jmethodID toString = env->GetMethodID(cls.get(), "toString", "()Ljava/lang/String;");
  LocalRef<jstring> text(env, static_cast<jstring>(env->CallObjectMethod(object, toString)));
  return javaText(env, text.get());
}

std::wstring staticText(JNIEnv* env, char const* cls, char const* method) {
  LocalRef<jclass> c(env, env->FindClass(cls));
  if (!c) return L"(class not found)";
  jmethodID id = env->GetStaticMethodID(c.get(), method, "()Ljava/lang/String;");
  LocalRef<jstring> text(env, static_cast<jstring>(env->CallStaticObjectMethod(c.get(), id)));
  return javaText(env, text.get());
}

std::string property(JNIEnv* env, char const* name) {
  LocalRef<jclass> system(env, env->FindClass("java/lang/System"));
  jmethodID get =
      env->GetStaticMethodID(system.get(), "getProperty", "(Ljava/lang/String;)Ljava/lang/String;");
  LocalRef<jstring> key = javaString(env, name);
  LocalRef<jstring> value(
      env, static_cast<jstring>(env->CallStaticObjectMethod(system.get(), get, key.get())));
  return value ? narrowText(javaText(env, value.get())) : "(null)";
}

TEST(JvmHost, PlainProgramStartsAMachineWithTheClassPath) {
  JNIEnv* env = jvm();
  ASSERT_NE(env, nullptr);
  EXPECT_EQ(JavaVmHost::currentEnv(), env);
  EXPECT_EQ(JavaVmHost::startOrAttach(), env);
  LocalRef<jclass> throwers(env, env->FindClass(kThrowers));
  EXPECT_TRUE(throwers);
  EXPECT_EQ(property(env, "java.class.path"), std::getenv("CLASSPATH"));
  EXPECT_EQ(property(env, "Ostra.libraryName"), "rti1516");
  std::wstring arguments = staticText(env, kThrowers, "inputArguments");
  EXPECT_NE(arguments.find(L"-Xss1024k"), std::wstring::npos) << narrowText(arguments);
}

TEST(JvmHost, EveryThreadGetsItsOwnOrdinaryJavaThread) {
  JNIEnv* mine = jvm();
  JNIEnv* theirs = nullptr;
  JNIEnv* theirsViaStart = nullptr;
  bool daemon = true;
  bool classFound = false;
  std::thread other([&] {
    theirs = JavaVmHost::currentEnv();
    theirsViaStart = JavaVmHost::startOrAttach();
    LocalRef<jclass> throwers(theirs, theirs->FindClass(kThrowers));
    classFound = static_cast<bool>(throwers);
    if (!throwers) return;
    jmethodID isDaemon = theirs->GetStaticMethodID(throwers.get(), "currentThreadIsDaemon", "()Z");
    daemon = theirs->CallStaticBooleanMethod(throwers.get(), isDaemon) == JNI_TRUE;
  });
  other.join();
  ASSERT_NE(theirs, nullptr);
  EXPECT_NE(theirs, mine);
  EXPECT_EQ(theirsViaStart, theirs);
  EXPECT_TRUE(classFound) << "the application class loader is not visible from an attached thread";
  EXPECT_FALSE(daemon);
}

TEST(MatchJavaException, InstanceTestWithMessageOrDescription) {
  JNIEnv* env = jvm();
  struct Case {
    char const* name;
    char const* thrower;
    char const* message;
    char const* className;
    bool matches;
    std::wstring expected;
  };
  Case const cases[] = {
      {"same class", "illegalState", "boom", "java/lang/IllegalStateException", true, L"boom"},
      {"superclass listed", "refused", "no", "java/lang/IllegalStateException", true, L"no"},
      {"Throwable matches everything", "error", "bad", "java/lang/Throwable", true, L"bad"},
      {"empty message is a message", "illegalState", "", "java/lang/RuntimeException", true, L""},
      {"null message gives toString", "illegalState", nullptr, "java/lang/IllegalStateException",
       true, L"java.lang.IllegalStateException"},
      {"unrelated class", "illegalState", "boom", "java/lang/IllegalArgumentException", false,
       L"untouched"},
      {"subclass listed", "illegalState", "boom", "bridgetest/Throwers$Refused", false,
       L"untouched"},
      {"class that does not exist", "illegalState", "boom", "no/such/Missing", false, L"untouched"},
      {"an error is no exception", "error", "bad", "java/lang/Exception", false, L"untouched"},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    LocalRef<jthrowable> thrown = thrownBy(env, c.thrower, c.message);
    std::wstring message = L"untouched";
    EXPECT_EQ(matchJavaException(env, thrown.get(), c.className, message), c.matches);
    EXPECT_EQ(message, c.expected);
    EXPECT_FALSE(env->ExceptionCheck());
    // The throwable is still there for the next test.
    EXPECT_FALSE(describeNow(env, thrown.get()).empty());
  }
}

TEST(MatchJavaException, MessageBeyondTheBasicPlaneArrivesAsCodePoints) {
  JNIEnv* env = jvm();
  // U+1F600 and U+10FFFF as surrogate pairs, and one lone high surrogate.
  LocalRef<jstring> message =
      javaString(env, {'a', 0xD83D, 0xDE00, 'b', 0xDBFF, 0xDFFF, 0xD800, 'c', 0x4E2D});
  LocalRef<jthrowable> thrown = thrownBy(env, "illegalState", message.get());
  std::wstring text;
  ASSERT_TRUE(matchJavaException(env, thrown.get(), "java/lang/IllegalStateException", text));
  EXPECT_EQ(text, (std::wstring{L'a', wchar_t(0x1F600), L'b', wchar_t(0x10FFFF), wchar_t(0xD800),
                                L'c', wchar_t(0x4E2D)}));
}

TEST(MatchJavaException, ThrowableThatCannotDescribeItselfGivesItsClassName) {
  JNIEnv* env = jvm();
  LocalRef<jclass> throwers(env, env->FindClass(kThrowers));
  env->CallStaticVoidMethod(throwers.get(),
                            env->GetStaticMethodID(throwers.get(), "broken", "()V"));
  LocalRef<jthrowable> thrown(env, env->ExceptionOccurred());
  env->ExceptionClear();
  std::wstring message;
  EXPECT_TRUE(matchJavaException(env, thrown.get(), "java/lang/RuntimeException", message));
  EXPECT_EQ(message, L"bridgetest.Throwers$Broken");
  EXPECT_FALSE(env->ExceptionCheck());
}

TEST(RaiseUnhandledJavaException, ReportsAndThrowsTheDescription) {
  JNIEnv* env = jvm();
  struct Case {
    char const* thrower;
    std::wstring what;
  };
  Case const cases[] = {
      {"illegalState", L"java.lang.IllegalStateException: boom"},
      {"error", L"java.lang.AssertionError: boom"},  // an Error, not an Exception
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.thrower);
    LocalRef<jthrowable> thrown = thrownBy(env, c.thrower, "boom");
    testing::internal::CaptureStderr();
    try {
      raiseUnhandledJavaException(env, thrown.get());
    } catch (rti1516e::RTIinternalError const& e) {
      EXPECT_EQ(e.what(), c.what);
    }
    std::string const err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("Unhandled exception\n", 0), 0u) << err;
    EXPECT_NE(err.find(narrowText(c.what)), std::string::npos) << err;         // stack trace head
    EXPECT_NE(err.find("at bridgetest.Throwers."), std::string::npos) << err;  // and its frames
    EXPECT_FALSE(env->ExceptionCheck());
  }
}

// What a service call sees after its Java method returned.
struct Outcome {
  std::string thrown;  // C++ class caught, or "none"
  std::wstring what;
  std::string err;
};

Outcome checkAfterCall(JNIEnv* env, CoreExceptionList declared) {
  Outcome outcome{"none", L"", ""};
  testing::internal::CaptureStderr();
  try {
    checkJavaException(env, declared);
  } catch (rti1516e::NotConnected const& e) {
    outcome = {"NotConnected", e.what(), ""};
  } catch (rti1516e::RTIinternalError const& e) {
    outcome = {"RTIinternalError", e.what(), ""};
  } catch (rti1516e::Exception const& e) {
    outcome = {"another rti1516e exception", e.what(), ""};
  }
  outcome.err = testing::internal::GetCapturedStderr();
  return outcome;
}

TEST(CheckJavaException, DeclaredClassesBecomeTheirCppClassesOthersAreInternalErrors) {
  JNIEnv* env = jvm();
  constexpr CoreException kDeclared[] = {CoreException::NotConnected,
                                         CoreException::RTIinternalError};
  struct Case {
    char const* name;
    char const* thrower;  // null: nothing pending
    char const* message;
    std::string thrown;
    std::wstring what;
    bool unhandled;
  };
  Case const cases[] = {
      {"nothing pending", nullptr, nullptr, "none", L"", false},
      {"declared", "notConnected", "not yet", "NotConnected", L"not yet", false},
      {"declared, null message", "notConnected", nullptr, "NotConnected",
       L"hla.rti1516e.exceptions.NotConnected", false},
      {"core class not declared", "invalidRegion", "R", "RTIinternalError",
       L"hla.rti1516e.exceptions.InvalidRegion: R", true},
      {"runtime exception", "illegalState", "inside", "RTIinternalError",
       L"java.lang.IllegalStateException: inside", true},
      {"error", "error", "bad", "RTIinternalError", L"java.lang.AssertionError: bad", true},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.thrower) makePending(env, thrownBy(env, c.thrower, c.message));
    Outcome outcome = checkAfterCall(env, kDeclared);
    EXPECT_EQ(outcome.thrown, c.thrown);
    EXPECT_EQ(outcome.what, c.what);
    if (c.unhandled) {
      EXPECT_EQ(outcome.err.rfind("Unhandled exception\n", 0), 0u) << outcome.err;
    } else {
      EXPECT_EQ(outcome.err, "");
    }
    EXPECT_FALSE(env->ExceptionCheck());
    // The thread can call into Java again.
    EXPECT_EQ(property(env, "Ostra.libraryName"), "rti1516");
  }
}

TEST(CheckJavaException,
     NullPointerInTheCoreNamesItsClassAndNothingDeclaredGoesStraightToUnhandled) {
  JNIEnv* env = jvm();
  LocalRef<jclass> throwers(env, env->FindClass(kThrowers));
  jmethodID length = env->GetStaticMethodID(throwers.get(), "nullPointer", "(Ljava/lang/String;)I");
  env->CallStaticIntMethod(throwers.get(), length, nullptr);
  Outcome outcome = checkAfterCall(env, CoreExceptionList());
  EXPECT_EQ(outcome.thrown, "RTIinternalError");
  EXPECT_EQ(outcome.what.rfind(L"java.lang.NullPointerException", 0), 0u)
      << narrowText(outcome.what);
  EXPECT_FALSE(env->ExceptionCheck());

  // Declared classes are not tested when nothing is declared.
  makePending(env, thrownBy(env, "notConnected", "M"));
  EXPECT_EQ(checkAfterCall(env, CoreExceptionList()).thrown, "RTIinternalError");
}

TEST(JniScopes, CriticalArrayWritesBackOrDropsByMode) {
  JNIEnv* env = jvm();
  LocalRef<jbyteArray> array(env, env->NewByteArray(4));
  ASSERT_TRUE(array);
  {
    CriticalByteArray bytes(env, array.get());
    ASSERT_EQ(bytes.size(), 4u);
    for (std::size_t i = 0; i < bytes.size(); ++i)
      bytes.data()[i] = static_cast<std::uint8_t>(0xF0 + i);
  }
  {
    CriticalByteArray bytes(env, array.get(), JNI_ABORT);
    bytes.data()[0] = 0;  // dropped, if the machine handed out a copy
  }
  jbyte back[4];
  env->GetByteArrayRegion(array.get(), 0, 4, back);
  EXPECT_EQ(static_cast<std::uint8_t>(back[1]), 0xF1);
  EXPECT_EQ(static_cast<std::uint8_t>(back[3]), 0xF3);

  testing::internal::CaptureStderr();
  EXPECT_THROW(CriticalByteArray(env, nullptr), rti1516e::RTIinternalError);
  testing::internal::GetCapturedStderr();
  EXPECT_FALSE(env->ExceptionCheck());
}

TEST(JniScopes, GlobalReferenceOutlivesItsLocalAndServesOtherThreads) {
  JNIEnv* env = jvm();
  GlobalRef<jstring> global;
  {
    LocalRef<jstring> local = javaString(env, "kept");
    global = GlobalRef<jstring>(env, local.get());
    LocalRef<jstring> moved(std::move(local));
    EXPECT_FALSE(local);
    EXPECT_TRUE(moved);
  }
  std::wstring seen;
  std::thread other([&] { seen = javaText(JavaVmHost::currentEnv(), global.get()); });
  other.join();
  EXPECT_EQ(seen, L"kept");
  GlobalRef<jstring> taken(std::move(global));
  EXPECT_FALSE(global);
  EXPECT_EQ(javaText(env, taken.get()), L"kept");
  EXPECT_EQ(javaText(env, nullptr), L"");
}

// ---- Child processes ---------------------------------------------------------------

// The option table itself is covered by the unit tests; here: that it reaches a real
// machine, in order, and that a machine someone else made is joined as it is.
TEST(JvmStartUp, EnvironmentOptionsReachTheMachineInOrder) {
  std::string output;
  auto values = runChild("options",
                         "env OSTRA_SINGLETHREAD= OSTRA1516_OPTION2=-Dostra.test.env=two"
                         " OSTRA1516_OPTION5=-Xss2m OSTRA1516_OPTION20=-Dostra.test.twenty=1",
                         &output);
  EXPECT_EQ(values["exit"], "0") << output;
  EXPECT_EQ(values["env"], "two");
  EXPECT_EQ(values["twenty"], "(null)");
  EXPECT_EQ(values["singlethread"], "true");
  std::string const& arguments = values["arguments"];
  EXPECT_NE(arguments.find(
                "-DOstra.libraryName=rti1516||-Dsinglethread=true||-Xrs|-Dostra.test.env=two|-Xss2m"),
            std::string::npos)
      << arguments;
  EXPECT_EQ(arguments.find("-Xss1024k"), std::string::npos) << arguments;
}

TEST(JvmStartUp, RunningMachineIsJoinedAndItsOptionsKept) {
  std::string output;
  auto values = runChild("attach", "env OSTRA1516_OPTION1=-Dostra.test.env=1", &output);
  EXPECT_EQ(values["exit"], "0") << output;
  EXPECT_EQ(values["creator"], "child");
  EXPECT_EQ(values["env"], "(null)");
  EXPECT_EQ(values["same-env"], "1");
}

TEST(JvmStartUp, RejectedOptionsAreReportedAndTheCallersRegisterKept) {
  std::string output;
  auto values = runChild("fails", "env OSTRA1516_OPTION1=-Xmx-1g", &output);
  EXPECT_EQ(values["exit"], "0") << output;
  EXPECT_EQ(values["what"], "Cannot create JVM. Error: Invalid JVM arguments (-6)") << output;
  EXPECT_NE(output.find("Cannot create JVM. Error: Invalid JVM arguments (-6)\n"),
            std::string::npos);
  EXPECT_EQ(values["mxcsr-kept"], "1");
}

TEST(JvmStartUp, UnusableJavaHomeFallsBackToTheBuildsJdkAndKeepsTheCallersRegister) {
  std::string output;
  auto values = runChild("mxcsr", "env JAVA_HOME=/nonexistent/jdk", &output);
  EXPECT_EQ(values["exit"], "0") << output;
  EXPECT_EQ(values["mxcsr-kept"], "1");
}

// A fresh, empty directory for a child to run in, removed afterwards.
class ChildDirectory {
 public:
  ChildDirectory() {
    char path[] = "/tmp/jvm_bridge_test.XXXXXX";
    if (mkdtemp(path) != nullptr) path_ = path;
  }
  ~ChildDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string const& path() const { return path_; }
  // Whether the machine left a fatal error report here.
  bool holdsCrashReport() const {
    std::error_code ignored;
    for (auto const& entry : std::filesystem::directory_iterator(path_, ignored)) {
      if (entry.path().filename().string().rfind("hs_err_pid", 0) == 0) return true;
    }
    return false;
  }

 private:
  std::string path_;
};

// A federate's signals behave as in any C++ program: its own handlers see SIGINT and
// SIGTERM whenever they were installed, without one those signals end the process at
// once, and a fault in its own code ends it with that signal and no crash report of the
// machine's. OSTRA_JVMSIGNALS gives the machine its Java ways back.
TEST(JvmSignals, SignalsEndOrReachTheFederateAsInAnyCppProgram) {
  struct Case {
    char const* name;
    char const* scenario;
    std::vector<std::string> environment;
    int sent;       // sent once the child is ready (0: none)
    int exitCode;   // expected exit status, or -1
    int killedBy;   // expected terminating signal, or 0
    std::vector<char const*> printed;
    bool crashReport;
  };
  std::vector<std::string> const javaWays = {"OSTRA_JVMSIGNALS=1"};
  Case const cases[] = {
      {"own handlers installed before the machine", "handlers-before", {}, 0, 0, 0,
       {"handled-SIGINT=1", "handled-SIGTERM=1"}, false},
      {"own handlers installed after the machine", "handlers-after", {}, 0, 0, 0,
       {"handled-SIGINT=1", "handled-SIGTERM=1"}, false},
      {"Ctrl-C without a handler", "wait", {}, SIGINT, -1, SIGINT, {}, false},
      {"SIGTERM without a handler", "wait", {}, SIGTERM, -1, SIGTERM, {}, false},
      {"null dereference", "crash", {}, 0, -1, SIGSEGV, {"java-null-pointers=20000"}, false},
      {"null dereference, own SIGSEGV handler", "crash-own-handler", {}, 0, -1, SIGSEGV,
       {"java-null-pointers=20000", "own-handler=1"}, false},
      {"Ctrl-C, the machine's ways", "wait", javaWays, SIGINT, 130, 0, {}, false},
      {"null dereference, the machine's ways", "crash", javaWays, 0, -1, SIGABRT,
       {"A fatal error has been detected"}, true},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    ChildDirectory directory;
    ChildRun const run = runChildProcess(c.scenario, c.environment, directory.path(), c.sent);
    EXPECT_FALSE(run.hung) << run.output;
    if (c.exitCode >= 0) {
      EXPECT_TRUE(run.exitedWith(c.exitCode)) << run.describe() << run.output;
    }
    if (c.killedBy != 0) {
      EXPECT_TRUE(run.killedBy(c.killedBy)) << run.describe() << run.output;
    }
    for (char const* text : c.printed) EXPECT_NE(run.output.find(text), std::string::npos) << run.output;
    EXPECT_EQ(directory.holdsCrashReport(), c.crashReport);
    if (!c.crashReport) {
      EXPECT_EQ(run.output.find("fatal error"), std::string::npos) << run.output;
    }
  }
}

// A federate that does not catch the failure of createRTIambassador: the library's message
// on standard error ends its line before the C++ runtime's own report begins.
TEST(StartUpFailure, UncaughtFailureMessageEndsItsLine) {
  struct Case {
    char const* name;
    std::vector<std::string> environment;
    std::string message;
  };
  Case const cases[] = {
      {"no core on the class path", {},
       "Cannot locate Ostra core Java classes\nCLASSPATH: " + std::string(std::getenv("CLASSPATH")) +
           "\n"},
      {"machine refuses an option", {"OSTRA1516_OPTION1=-Xmx-1g"},
       "Cannot create JVM. Error: Invalid JVM arguments (-6)\n"},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    ChildDirectory directory;
    ChildRun const run = runChildProcess("uncaught", c.environment, directory.path());
    EXPECT_TRUE(run.killedBy(SIGABRT)) << run.describe() << run.output;
    EXPECT_NE(run.output.find(c.message + "terminate called"), std::string::npos) << run.output;
  }
}

// ---- The child's side ----------------------------------------------------------

void printProperties(JNIEnv* env, std::vector<std::pair<char const*, char const*>> const& keys) {
  for (auto const& [key, name] : keys) std::cout << key << "=" << property(env, name) << "\n";
}

int childOptions() {
  JNIEnv* env = JavaVmHost::startOrAttach();
  printProperties(env, {{"env", "ostra.test.env"},
                        {"twenty", "ostra.test.twenty"},
                        {"singlethread", "singlethread"}});
  std::string arguments = narrowText(staticText(env, kThrowers, "inputArguments"));
  for (char& c : arguments) c = c == '\n' ? '|' : c;
  std::cout << "arguments=" << arguments << "\n";
  return 0;
}

// Creates the machine the way a Java launcher would, then lets the host find it.
int childAttach() {
  JniInvocation jni = loadInvocation(libjvmCandidates(std::getenv("JAVA_HOME")));
  std::string classPath = std::string("-Djava.class.path=") + std::getenv("CLASSPATH");
  std::string creator = "-Dostra.test.creator=child";
  JavaVMOption options[2] = {{&classPath[0], nullptr}, {&creator[0], nullptr}};
  JavaVMInitArgs args{JNI_VERSION_1_2, 2, options, JNI_FALSE};
  JavaVM* vm = nullptr;
  JNIEnv* created = nullptr;
  if (jni.createJavaVM(&vm, reinterpret_cast<void**>(&created), &args) != JNI_OK) return 2;
  JNIEnv* env = JavaVmHost::startOrAttach();
  printProperties(env, {{"creator", "ostra.test.creator"}, {"env", "ostra.test.env"}});
  std::cout << "same-env=" << (env == created ? 1 : 0) << "\n";
  return 0;
}

unsigned const kFederateSetting =
    ((_mm_getcsr() & ~0x3Fu) & ~0x0200u) | FloatingPointGuard::kFlushToZero;

int childFails() {
  _mm_setcsr(kFederateSetting);
  try {
    JavaVmHost::startOrAttach();
    std::cout << "what=(started)\n";
  } catch (rti1516e::RTIinternalError const& e) {
    std::wstring what = e.what();
    if (!what.empty() && what.back() == L'\n') what.pop_back();
    std::cout << "what=" << narrowText(what) << "\n";
  }
  unsigned after = _mm_getcsr();
  _mm_setcsr(FloatingPointGuard::kStartUpSetting);
  std::cout << "mxcsr-kept=" << (after == kFederateSetting ? 1 : 0) << "\n";
  return 0;
}

int childMxcsr() {
  _mm_setcsr(kFederateSetting);
  JNIEnv* env = JavaVmHost::startOrAttach();
  unsigned after = _mm_getcsr();
  _mm_setcsr(FloatingPointGuard::kStartUpSetting);
  std::cout << "mxcsr-kept=" << (after == kFederateSetting ? 1 : 0) << "\n";
  return env != nullptr ? 0 : 2;
}

// ---- The child's side: signals -------------------------------------------------

volatile sig_atomic_t lastSignal = 0;

void rememberSignal(int signal) { lastSignal = signal; }

void handleWith(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
}

int childOwnHandlers(bool installedBefore) {
  if (installedBefore) for (int s : {SIGINT, SIGTERM}) handleWith(s, rememberSignal);
  JavaVmHost::startOrAttach();
  if (!installedBefore) for (int s : {SIGINT, SIGTERM}) handleWith(s, rememberSignal);
  for (auto [signal, name] : {std::pair{SIGINT, "SIGINT"}, std::pair{SIGTERM, "SIGTERM"}}) {
    lastSignal = 0;
    kill(getpid(), signal);
    for (int i = 0; i < 1000 && lastSignal != signal; ++i) usleep(10000);
    std::cout << "handled-" << name << "=" << (lastSignal == signal ? 1 : 0) << std::endl;
  }
  return 0;
}

int childWaitForSignal() {
  JavaVmHost::startOrAttach();
  std::cout << "ready" << std::endl;
  for (int i = 0; i < 300; ++i) usleep(100000);
  return 9;
}

void ownFaultHandler(int signal) {
  char const text[] = "own-handler=1\n";
  ssize_t ignored = write(1, text, sizeof text - 1);
  (void)ignored;
  handleWith(signal, SIG_DFL);
}

// The machine's own faults (its null checks) still become Java exceptions; then a null
// dereference in the federate's own code.
int childCrash(bool ownHandler) {
  if (ownHandler) handleWith(SIGSEGV, ownFaultHandler);
  JNIEnv* env = JavaVmHost::startOrAttach();
  LocalRef<jclass> throwers(env, env->FindClass(kThrowers));
  if (!throwers) return 2;
  jmethodID length = env->GetStaticMethodID(throwers.get(), "nullPointer", "(Ljava/lang/String;)I");
  int nullPointers = 0;
  for (int i = 0; i < 20000; ++i) {  // enough for the compiled code's null checks too
    env->CallStaticIntMethod(throwers.get(), length, nullptr);
    if (env->ExceptionCheck()) ++nullPointers;
    env->ExceptionClear();
  }
  std::cout << "java-null-pointers=" << nullPointers << std::endl;
  int* volatile nowhere = nullptr;
  *nowhere = 1;
  std::cout << "survived=1" << std::endl;
  return 0;
}

// createRTIambassador without a try block, as a federate that forgot one.
int childUncaught() {
  rti1516e::RTIambassadorFactory().createRTIambassador();
  return 0;
}

int runChildScenario(std::string const& scenario) {
  if (scenario == "uncaught") return childUncaught();  // outside any try block
  try {
    if (scenario == "options") return childOptions();
    if (scenario == "attach") return childAttach();
    if (scenario == "fails") return childFails();
    if (scenario == "mxcsr") return childMxcsr();
    if (scenario == "handlers-before") return childOwnHandlers(true);
    if (scenario == "handlers-after") return childOwnHandlers(false);
    if (scenario == "wait") return childWaitForSignal();
    if (scenario == "crash") return childCrash(false);
    if (scenario == "crash-own-handler") return childCrash(true);
    std::cout << "unknown scenario " << scenario << "\n";
  } catch (rti1516e::Exception const& e) {
    std::cout << "exception=" << narrowText(e.what()) << "\n";
  }
  return 3;
}

}  // namespace
}  // namespace ostra1516e

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--child=", 8) == 0) {
      int status = ostra1516e::runChildScenario(argv[i] + 8);
      std::cout << std::flush;
      return status;
    }
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
