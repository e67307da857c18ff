// The start-up of the virtual machine, driven through fake invocation functions: the
// option table, the failure reports, the floating-point register and the locking.
#include <RTI/Exception.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>
#include <xmmintrin.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bridge/FloatingPointGuard.h"
#include "bridge/JavaVmHost.h"

namespace ostra1516e {
namespace {

using Options = std::vector<std::string>;

// A virtual machine library that records what it is asked and answers as told.
struct FakeJvm {
  static FakeJvm* current;

  bool running = false;  // what JNI_GetCreatedJavaVMs reports
  jint getResult = JNI_OK;
  jint createResult = JNI_OK;
  jint attachResult = JNI_OK;
  std::chrono::milliseconds createDelay{0};

  std::atomic<int> gets{0}, creates{0}, attaches{0};
  Options options;
  jint version = 0;
  jboolean ignoreUnrecognized = JNI_FALSE;
  bool extraInfoSet = false;
  unsigned mxcsrAtCreate = 0;

  JNIInvokeInterface_ invoke{};
  JavaVM vm{};
  JniInvocation invocation{&getCreatedJavaVMs, &createJavaVM};

  FakeJvm() {
    invoke.AttachCurrentThread = &attachCurrentThread;
    vm.functions = &invoke;
  }

  // Every thread gets its own environment, as with a real machine.
  static JNIEnv* threadEnv() {
    thread_local char tag;
    return reinterpret_cast<JNIEnv*>(&tag);
  }

  static jint JNICALL getCreatedJavaVMs(JavaVM** vms, jsize capacity, jsize* count) {
    ++current->gets;
    if (current->getResult < 0) return current->getResult;
    *count = current->running && capacity > 0 ? 1 : 0;
    if (*count == 1) vms[0] = &current->vm;
    return JNI_OK;
  }

  static jint JNICALL createJavaVM(JavaVM** vm, void** env, void* rawArgs) {
    ++current->creates;
    current->mxcsrAtCreate = _mm_getcsr();
    auto* args = static_cast<JavaVMInitArgs*>(rawArgs);
    current->version = args->version;
    current->ignoreUnrecognized = args->ignoreUnrecognized;
    current->options.clear();
    for (jint i = 0; i < args->nOptions; ++i) {
      current->options.push_back(args->options[i].optionString);
      current->extraInfoSet = current->extraInfoSet || args->options[i].extraInfo != nullptr;
    }
    std::this_thread::sleep_for(current->createDelay);
    if (current->createResult < 0) return current->createResult;
    current->running = true;
    *vm = &current->vm;
    *env = threadEnv();
    return JNI_OK;
  }

  static jint JNICALL attachCurrentThread(JavaVM*, void** env, void*) {
    ++current->attaches;
    if (current->attachResult < 0) return current->attachResult;
    *env = threadEnv();
    return JNI_OK;
  }
};
FakeJvm* FakeJvm::current = nullptr;

// Every variable the start-up reads (and the numbered ones it must not read), cleared for
// the test and restored afterwards.
class CleanEnvironment {
 public:
  CleanEnvironment() {
    std::vector<std::string> names = {"CLASSPATH", "OSTRA_ENABLEBUNDLING", "OSTRA_SINGLETHREAD",
                                      "OSTRA_VERBOSEJNI", "OSTRA_JVMSIGNALS"};
    for (int n = 0; n <= 20; ++n) names.push_back("OSTRA1516_OPTION" + std::to_string(n));
    for (std::string const& name : names) {
      char const* value = getenv(name.c_str());
      saved_.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
      unsetenv(name.c_str());
    }
  }
  ~CleanEnvironment() {
    for (auto const& [name, value] : saved_) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// A fresh, empty working directory for the test, left and removed afterwards.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) != nullptr) previous_ = cwd;
    char path[] = "/tmp/jvm_host_test.XXXXXX";
    if (mkdtemp(path) != nullptr) path_ = std::filesystem::canonical(path).string();
    if (path_.empty() || chdir(path_.c_str()) != 0) ADD_FAILURE() << "no scratch directory";
  }
  ~ScratchDirectory() {
    if (!previous_.empty() && chdir(previous_.c_str()) != 0) ADD_FAILURE() << "cannot go back";
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string const& path() const { return path_; }
  void writeOptionsFile(std::string const& content) const {
    std::ofstream(path_ + "/ostra.vmoptions", std::ios::binary) << content;
  }

 private:
  std::string previous_;
  std::string path_;
};

class JvmHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeJvm::current = &jvm;
    JavaVmHost::useInvocationForTesting(&jvm.invocation);
    // An installed tree of our own, without the jar until a test puts it there: deep
    // enough for the relative path from the library to the jar to stay inside it.
    libraryDirectory = directory.path() + "/prefix/";
    std::string const jarPath = kJarFromLibraryDirectory;
    for (std::string::size_type up = 0; jarPath.compare(up, 3, "../") == 0; up += 3) {
      libraryDirectory += "lib/";
    }
    std::filesystem::create_directories(libraryDirectory);
    JavaVmHost::useLibraryDirectoryForTesting(libraryDirectory);
  }
  void TearDown() override {
    JavaVmHost::useLibraryDirectoryForTesting("");
    JavaVmHost::useInvocationForTesting(nullptr);
    FakeJvm::current = nullptr;
  }

  // Where the host looks for the jar, spelt without "..".
  std::filesystem::path installedJar() const {
    return (std::filesystem::path(libraryDirectory) / kJarFromLibraryDirectory).lexically_normal();
  }

  // Forgets the last start-up, so that the next one creates a machine again.
  void restart() {
    JavaVmHost::useInvocationForTesting(&jvm.invocation);
    jvm.running = false;
    jvm.creates = 0;
  }

  // Starts the host and returns the options the fake received.
  Options startAndGetOptions() {
    EXPECT_EQ(JavaVmHost::startOrAttach(), FakeJvm::threadEnv());
    EXPECT_EQ(jvm.creates, 1);
    return jvm.options;
  }

  static Options fixedOptions(std::string const& classPath = "") {
    return {"-Djava.class.path=" + classPath, "-DOstra.libraryName=rti1516", "", "", "", "-Xrs"};
  }
  static Options plus(Options options, Options const& more) {
    options.insert(options.end(), more.begin(), more.end());
    return options;
  }

  CleanEnvironment environment;
  ScratchDirectory directory;
  std::string libraryDirectory;
  FakeJvm jvm;
};

TEST_F(JvmHostTest, BareStartUpPassesSevenOptions) {
  EXPECT_EQ(startAndGetOptions(), plus(fixedOptions(), {"-Xss1024k"}));
  EXPECT_EQ(jvm.version, 0x10002);
  EXPECT_EQ(jvm.ignoreUnrecognized, JNI_TRUE);
  EXPECT_FALSE(jvm.extraInfoSet);
}

TEST_F(JvmHostTest, SwitchesCountAsSetWhateverTheirValue) {
  setenv("CLASSPATH", "/opt/core.jar:/opt/more.jar", 1);
  setenv("OSTRA_ENABLEBUNDLING", "", 1);
  setenv("OSTRA_SINGLETHREAD", "0", 1);
  setenv("OSTRA_VERBOSEJNI", "no", 1);
  setenv("OSTRA_JVMSIGNALS", "", 1);  // the machine keeps its own signal handling: no -Xrs
  EXPECT_EQ(startAndGetOptions(),
            (Options{"-Djava.class.path=/opt/core.jar:/opt/more.jar", "-DOstra.libraryName=rti1516",
                     "-DenableBundling=true", "-Dsinglethread=true", "-verbose:jni", "",
                     "-Xss1024k"}));
}

TEST_F(JvmHostTest, InstalledJarFollowsTheClassPathEntriesUnlessAlreadyThere) {
  enum Installed { kNothing, kJar, kDirectory };
  struct Case {
    char const* name;
    Installed installed;    // what lies where the jar belongs
    char const* classPath;  // CLASSPATH (null: unset); "@" stands for the jar, "%" for the
                            // jar spelt from the library's directory, through ".."
    char const* expected;   // the class path option's value, the same way
  };
  Case const cases[] = {
      {"unset, no jar", kNothing, nullptr, ""},
      {"unset, jar", kJar, nullptr, "@"},
      {"set but empty, jar", kJar, "", "@"},
      {"set, no jar", kNothing, "/opt/core.jar:/opt/more", "/opt/core.jar:/opt/more"},
      {"set, jar after it", kJar, "/opt/core.jar:/opt/more", "/opt/core.jar:/opt/more:@"},
      {"trailing empty entry kept", kJar, "/opt/core.jar:", "/opt/core.jar::@"},
      {"jar already first", kJar, "@:/opt/core.jar", "@:/opt/core.jar"},
      {"jar already, spelt another way", kJar, "/opt/core.jar:%", "/opt/core.jar:%"},
      {"a directory by the jar's name", kDirectory, "/opt/core.jar", "/opt/core.jar"},
  };
  std::filesystem::path const jar = installedJar();
  auto fill = [&](std::string const& text) {
    std::string filled;
    for (char c : text) {
      filled += c == '@' ? jar.string() : c == '%' ? libraryDirectory + kJarFromLibraryDirectory
                                                   : std::string(1, c);
    }
    return filled;
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    CleanEnvironment clean;
    std::filesystem::remove_all(jar);
    std::filesystem::create_directories(jar.parent_path());
    if (c.installed == kJar) std::ofstream(jar) << "PK";
    if (c.installed == kDirectory) std::filesystem::create_directory(jar);
    if (c.classPath) setenv("CLASSPATH", fill(c.classPath).c_str(), 1);
    restart();
    EXPECT_EQ(startAndGetOptions(), plus(fixedOptions(fill(c.expected)), {"-Xss1024k"}));
  }
}

TEST_F(JvmHostTest, NumberedOptionsOneToNineteenInOrderSkippingGaps) {
  setenv("OSTRA1516_OPTION0", "-Dzero=never", 1);
  setenv("OSTRA1516_OPTION1", "-Xmx256m", 1);
  setenv("OSTRA1516_OPTION3", "-Xss4m", 1);
  setenv("OSTRA1516_OPTION7", "", 1);
  setenv("OSTRA1516_OPTION19", "-Dlast=19", 1);
  setenv("OSTRA1516_OPTION20", "-Dtwenty=never", 1);
  // The stack size set by option 3 replaces the default.
  EXPECT_EQ(startAndGetOptions(), plus(fixedOptions(), {"-Xmx256m", "-Xss4m", "", "-Dlast=19"}));
}

TEST_F(JvmHostTest, OptionsFileLinesAreTakenAsWritten) {
  setenv("OSTRA1516_OPTION2", "-Denv=first", 1);
  directory.writeOptionsFile(
      "# a comment line\n"
      "\n"
      "  -Dkept.blanks=1\n"
      "-Dwindows.line=1\r\n"
      "\r\n"
      "#-Xss8m is commented out\n"
      "-Xss2m");  // the last line has no line feed
  EXPECT_EQ(startAndGetOptions(), plus(fixedOptions(), {"-Denv=first", "  -Dkept.blanks=1",
                                                        "-Dwindows.line=1", "-Xss2m"}));
}

TEST_F(JvmHostTest, OnlyAnOptionStartingWithXssReplacesTheDefault) {
  struct Case {
    char const* name;
    char const* variable;  // numbered option variable, or null
    char const* value;     // its value
    char const* file;      // options file content
    bool defaultAdded;
  };
  Case const cases[] = {
      {"bare -Xss from the environment", "OSTRA1516_OPTION19", "-Xss", "", false},
      {"-Xss first in the file", nullptr, nullptr, "-Xss512k\n-Dafter=1\n", false},
      {"-Xss last in the file", nullptr, nullptr, "-Dbefore=1\n-Xss1g\n", false},
      {"another stack size spelling", "OSTRA1516_OPTION1", "-XX:ThreadStackSize=2048", "", true},
      {"-Xss after a blank", nullptr, nullptr, " -Xss1m\n", true},
      {"lower case", nullptr, nullptr, "-xss1m\n", true},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    CleanEnvironment clean;
    if (c.variable) setenv(c.variable, c.value, 1);
    directory.writeOptionsFile(c.file);
    restart();
    Options options = startAndGetOptions();
    ASSERT_FALSE(options.empty());
    EXPECT_EQ(options.back() == "-Xss1024k", c.defaultAdded);
  }
}

TEST_F(JvmHostTest, FullTableKeepsTheLastSlotForTheStackSize) {
  std::string lines;
  for (int i = 0; i < 100; ++i) lines += "-Dline" + std::to_string(i) + "=1\n";
  directory.writeOptionsFile(lines);

  Options options = startAndGetOptions();
  ASSERT_EQ(options.size(), JavaVmHost::kMaxOptions);
  EXPECT_EQ(options[48], "-Dline42=1");
  EXPECT_EQ(options.back(), "-Xss1024k");

  // With a stack size already chosen, the file may use every slot.
  setenv("OSTRA1516_OPTION1", "-Xss2m", 1);
  restart();
  options = startAndGetOptions();
  ASSERT_EQ(options.size(), JavaVmHost::kMaxOptions);
  EXPECT_EQ(options[6], "-Xss2m");
  EXPECT_EQ(options.back(), "-Dline42=1");
}

TEST_F(JvmHostTest, RunningMachineIsAttachedWithoutOptions) {
  jvm.running = true;
  setenv("OSTRA1516_OPTION1", "-Xmx1g", 1);
  directory.writeOptionsFile("-Dfrom.file=1\n");
  EXPECT_EQ(JavaVmHost::startOrAttach(), FakeJvm::threadEnv());
  EXPECT_EQ(jvm.creates, 0);
  EXPECT_GE(jvm.attaches, 1);
}

TEST_F(JvmHostTest, LaterCallsOnAnyThreadOnlyAttach) {
  JNIEnv* mine = JavaVmHost::startOrAttach();
  JNIEnv* theirs = nullptr;
  JNIEnv* theirsAgain = nullptr;
  std::thread other([&] {
    theirs = JavaVmHost::startOrAttach();
    theirsAgain = JavaVmHost::currentEnv();
  });
  other.join();
  EXPECT_NE(theirs, mine);
  EXPECT_EQ(theirs, theirsAgain);
  EXPECT_EQ(jvm.gets, 1);
  EXPECT_EQ(jvm.creates, 1);
}

TEST_F(JvmHostTest, ConcurrentFirstStartsCreateOneMachine) {
  jvm.createDelay = std::chrono::milliseconds(50);
  std::vector<std::thread> threads;
  std::atomic<int> started{0};
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([&] {
      if (JavaVmHost::startOrAttach() != nullptr) ++started;
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(started, 4);
  EXPECT_EQ(jvm.creates, 1);
}

TEST_F(JvmHostTest, FailuresAreReportedOnStandardErrorAndThrown) {
  struct Case {
    jint get, attach, create;
    bool running;
    std::wstring text;
  };
  Case const cases[] = {
      {-1, 0, 0, false, L"Cannot check for existing JVM. Error: Unknown error (-1)\n"},
      {0, -2, 0, true, L"Cannot attach to existing JVM. Error: JVM Detached (-2)\n"},
      {0, 0, -4, false, L"Cannot create JVM. Error: Not enough JVM memory allocated (-4)\n"},
      {0, 0, -6, false, L"Cannot create JVM. Error: Invalid JVM arguments (-6)\n"},
      {0, 0, -7, false, L"Cannot create JVM. Error: Unknown JVM error -7\n"},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    JavaVmHost::useInvocationForTesting(&jvm.invocation);
    jvm.getResult = c.get;
    jvm.attachResult = c.attach;
    jvm.createResult = c.create;
    jvm.running = c.running;
    testing::internal::CaptureStderr();
    try {
      JavaVmHost::startOrAttach();
      ADD_FAILURE() << "no exception";
    } catch (rti1516e::RTIinternalError const& e) {
      EXPECT_EQ(e.what(), c.text);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string(c.text.begin(), c.text.end()));
    // The failure left the host not started: asking for an environment still fails.
    testing::internal::CaptureStderr();
    EXPECT_THROW(JavaVmHost::currentEnv(), rti1516e::RTIinternalError);
    testing::internal::GetCapturedStderr();
  }

  // A failed start-up is tried again in full by the next one.
  jvm.getResult = jvm.attachResult = jvm.createResult = JNI_OK;
  jvm.running = false;
  jvm.creates = 0;
  testing::internal::CaptureStderr();
  EXPECT_EQ(JavaVmHost::startOrAttach(), FakeJvm::threadEnv());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(jvm.creates, 1);
}

// What the start-up leaves as SIGILL's handler (the one fault signal that the sanitizers
// leave alone): a machine it creates keeps a federate's own handler, and gets one that
// ends the process as the default action would only in place of the default action.
TEST_F(JvmHostTest, FaultSignalHandlerIsOnlyAddedWhereTheDefaultActionWas) {
  enum Left { kDefault, kOwn, kAdded };
  struct Case {
    char const* name;
    bool ownHandler, jvmSignals, running;
    jint create;
    Left left;
  };
  Case const cases[] = {
      {"created", false, false, false, JNI_OK, kAdded},
      {"creation failed", false, false, false, JNI_EINVAL, kDefault},
      {"federate's own handler", true, false, false, JNI_OK, kOwn},
      {"OSTRA_JVMSIGNALS set", false, true, false, JNI_OK, kDefault},
      {"machine already running", false, false, true, JNI_OK, kDefault},
  };
  auto own = [](int) {};
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    CleanEnvironment clean;
    struct sigaction before {};
    before.sa_handler = c.ownHandler ? +own : SIG_DFL;
    sigemptyset(&before.sa_mask);
    ASSERT_EQ(sigaction(SIGILL, &before, nullptr), 0);
    if (c.jvmSignals) setenv("OSTRA_JVMSIGNALS", "1", 1);
    restart();
    jvm.running = c.running;
    jvm.createResult = c.create;
    testing::internal::CaptureStderr();
    try {
      JavaVmHost::startOrAttach();
    } catch (rti1516e::RTIinternalError const&) {
    }
    testing::internal::GetCapturedStderr();
    struct sigaction after {};
    ASSERT_EQ(sigaction(SIGILL, nullptr, &after), 0);
    Left const left = after.sa_handler == SIG_DFL ? kDefault
                      : after.sa_handler == +own  ? kOwn
                                                  : kAdded;
    EXPECT_EQ(left, c.left);
  }
  jvm.createResult = JNI_OK;
  signal(SIGILL, SIG_DFL);
}

TEST_F(JvmHostTest, EnvironmentOfAThreadThatCannotAttachIsRefused) {
  JavaVmHost::startOrAttach();
  jvm.attachResult = JNI_ENOMEM;
  testing::internal::CaptureStderr();
  EXPECT_THROW(JavaVmHost::currentEnv(), rti1516e::RTIinternalError);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Not enough JVM memory"),
            std::string::npos);
}

TEST_F(JvmHostTest, EachThreadAsksTheMachineOncePerStartUp) {
  JavaVmHost::startOrAttach();
  int const before = jvm.attaches;
  EXPECT_EQ(JavaVmHost::currentEnv(), FakeJvm::threadEnv());
  EXPECT_EQ(JavaVmHost::currentEnv(), FakeJvm::threadEnv());
  EXPECT_EQ(jvm.attaches, before + 1);

  // Another thread gets its own environment, not this one's.
  JNIEnv* theirs = nullptr;
  std::thread([&] { theirs = JavaVmHost::currentEnv(); }).join();
  EXPECT_NE(theirs, FakeJvm::threadEnv());
  EXPECT_EQ(jvm.attaches, before + 2);

  // A restart forgets what was attached: not started, nothing is handed out; started
  // again, the machine is asked again, and its refusal is seen.
  restart();
  testing::internal::CaptureStderr();
  EXPECT_THROW(JavaVmHost::currentEnv(), rti1516e::RTIinternalError);
  testing::internal::GetCapturedStderr();
  JavaVmHost::startOrAttach();
  jvm.attachResult = JNI_EDETACHED;
  testing::internal::CaptureStderr();
  EXPECT_THROW(JavaVmHost::currentEnv(), rti1516e::RTIinternalError);
  testing::internal::GetCapturedStderr();
}

// Restores MXCSR even when an expectation fails halfway.
struct MxcsrRestorer {
  unsigned saved = _mm_getcsr();
  ~MxcsrRestorer() { _mm_setcsr(saved); }
};

TEST_F(JvmHostTest, CallersFloatingPointSettingSurvivesStartUp) {
  unsigned const clean = _mm_getcsr() & ~0x3Fu;  // no sticky exception flags
  struct Setting {
    char const* name;
    unsigned mxcsr;
  };
  Setting const settings[] = {
      {"flush-to-zero and denormals-are-zero",
       clean | FloatingPointGuard::kFlushToZero | FloatingPointGuard::kDenormalsAreZero},
      {"divide-by-zero unmasked, round toward zero", (clean & ~0x0200u) | 0x6000u},
  };
  for (Setting const& s : settings) {
    for (jint createResult : {JNI_OK, JNI_EINVAL}) {
      SCOPED_TRACE(std::string(s.name) + (createResult == JNI_OK ? ", success" : ", failure"));
      restart();
      jvm.createResult = createResult;
      testing::internal::CaptureStderr();
      unsigned after;
      {
        MxcsrRestorer restorer;
        _mm_setcsr(s.mxcsr);
        try {
          JavaVmHost::startOrAttach();
        } catch (rti1516e::RTIinternalError const&) {
        }
        after = _mm_getcsr();
      }
      testing::internal::GetCapturedStderr();
      EXPECT_EQ(after, s.mxcsr);
      EXPECT_EQ(jvm.mxcsrAtCreate & ~0x3Fu, FloatingPointGuard::kStartUpSetting);
    }
  }
}

TEST(FloatingPointGuardTest, CallVariantClearsOnlyFlushAndDenormalBits) {
  MxcsrRestorer restorer;
  unsigned const caller = ((_mm_getcsr() & ~0x3Fu) & ~0x0200u) | FloatingPointGuard::kFlushToZero |
                          FloatingPointGuard::kDenormalsAreZero;
  _mm_setcsr(caller);
  try {
    FloatingPointGuard guard(FloatingPointGuard::call);
    EXPECT_EQ(guard.saved(), caller);
    EXPECT_EQ(_mm_getcsr(),
              caller & ~(FloatingPointGuard::kFlushToZero | FloatingPointGuard::kDenormalsAreZero));
    throw 1;
  } catch (int) {
  }
  EXPECT_EQ(_mm_getcsr(), caller);
}

TEST(LibjvmLocatorTest, CandidatesAreJavaHomeThenTheBuildsJdk) {
  std::vector<std::string> const built = libjvmCandidates(nullptr);
  ASSERT_EQ(built.size(), 1u);
  EXPECT_EQ(libjvmCandidates(""), built);
  EXPECT_EQ(libjvmCandidates("/opt/jdk"),
            (std::vector<std::string>{"/opt/jdk/lib/server/libjvm.so", built[0]}));
}

TEST(LibjvmLocatorTest, FailureNamesEverythingTried) {
  // This test program has no virtual machine library loaded, and libm has no JNI.
  testing::internal::CaptureStderr();
  try {
    loadInvocation({"/nonexistent/jdk/lib/server/libjvm.so", "libm.so.6"});
    ADD_FAILURE() << "no exception";
  } catch (rti1516e::RTIinternalError const& e) {
    std::wstring const what = e.what();
    EXPECT_NE(what.find(L"the running process"), std::wstring::npos) << what;
    EXPECT_NE(what.find(L"/nonexistent/jdk/lib/server/libjvm.so: "), std::wstring::npos) << what;
    EXPECT_NE(what.find(L"libm.so.6: no JNI_CreateJavaVM"), std::wstring::npos) << what;
    EXPECT_NE(what.find(L"JAVA_HOME"), std::wstring::npos) << what;
  }
  EXPECT_NE(testing::internal::GetCapturedStderr().find("/nonexistent/jdk"), std::string::npos);
}

}  // namespace
}  // namespace ostra1516e
