#include "bridge/JavaVmHost.h"

#include <dlfcn.h>
#include <signal.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <mutex>

#include "bridge/FloatingPointGuard.h"
#include "bridge/LibraryDirectory.h"
#include "bridge/Text.h"

#ifndef OSTRA_BUILD_LIBJVM
#error "OSTRA_BUILD_LIBJVM must name the libjvm.so of the JDK found at build time"
#endif
#ifndef OSTRA_JAR_FROM_LIBDIR
#error "OSTRA_JAR_FROM_LIBDIR must give the installed jar's path relative to the library"
#endif

namespace ostra1516e {

char const kJarFromLibraryDirectory[] = OSTRA_JAR_FROM_LIBDIR;

namespace {

// Process-wide state. startEnv being set marks the start-up as done; vm is set first, so
// whoever sees startEnv also sees vm. Both are written only under startMutex.
std::mutex startMutex;
std::atomic<JavaVM*> vm{nullptr};
std::atomic<JNIEnv*> startEnv{nullptr};
JniInvocation const* invocationOverride = nullptr;  // under startMutex
std::string libraryDirectoryOverride;                // under startMutex

// Each thread's environment once currentEnv has attached it, with the start-up it came
// from. The machine is never destroyed and threads are never detached, so the
// environment stays valid for the life of the thread; only a test's restart (which
// counts up startUps) makes it stale, and a stale one is never used.
std::atomic<unsigned> startUps{0};
struct AttachedEnv {
  unsigned generation;  // the value of startUps when env was attached
  JNIEnv* env;
};
thread_local AttachedEnv attached{0, nullptr};

char const kOptionsFile[] = "ostra.vmoptions";
char const kDefaultStackSize[] = "-Xss1024k";
constexpr int kNumberedOptions = 19;

bool isStackSizeOption(std::string const& option) { return option.compare(0, 4, "-Xss") == 0; }

std::string switchOption(char const* variable, char const* option) {
  return std::getenv(variable) != nullptr ? option : "";
}

// Set, the machine handles signals as it would in a Java program: its own handlers for
// SIGINT, SIGTERM, SIGHUP and SIGQUIT, and its fatal error report for every fault.
char const kJvmSignals[] = "OSTRA_JVMSIGNALS";

// ---- signals --------------------------------------------------------------------------
//
// A federate is a C++ program and should behave like one. Left to itself the machine
// replaces the handlers of SIGINT, SIGTERM and SIGHUP (its own exit with status 128 + n
// after running Java's shutdown hooks) and SIGQUIT (a thread dump), and turns a fault in
// the federate's own code into a fatal error report (hs_err_pid<n>.log in the working
// directory) and SIGABRT. So by default the machine gets "-Xrs", which leaves those four
// signals to the federate, and the fault signals get endLikeTheDefault below. The machine
// still claims the fault signals (it relies on them for null checks and safepoints), but
// it passes a fault that is not its own to the handler installed before it was created.

int const kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};

void setDefaultAction(int signal) {
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signal, &fallback, nullptr);
}

// Ends the process as if no handler had been there: the default action comes back, and
// the faulting instruction runs again when the handler returns (so a core dump shows the
// fault where it happened); a fault signal that some process sent is raised again.
void endLikeTheDefault(int signal, siginfo_t* info, void*) {
  setDefaultAction(signal);
  if (info == nullptr || info->si_code <= 0) raise(signal);
}

// Installs endLikeTheDefault for each fault signal that has the default action and returns
// those signals; a federate's own handler stays, and the machine passes faults on to it.
std::vector<int> passForeignFaultsOn() {
  std::vector<int> installed;
  for (int signal : kFaultSignals) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction handler {};
    handler.sa_sigaction = endLikeTheDefault;
    handler.sa_flags = SA_SIGINFO;
    sigemptyset(&handler.sa_mask);
    if (sigaction(signal, &handler, nullptr) == 0) installed.push_back(signal);
  }
  return installed;
}

// After a failed creation: the default action again for those of signals that still have
// endLikeTheDefault.
void takeBackFaultHandlers(std::vector<int> const& signals) {
  for (int signal : signals) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) == 0 && (current.sa_flags & SA_SIGINFO) != 0 &&
        current.sa_sigaction == endLikeTheDefault) {
      setDefaultAction(signal);
    }
  }
}

// The installed jar as an absolute path, when a regular file lies there; else empty.
std::string installedJar(std::string const& directory) {
  if (directory.empty()) return std::string();
  std::string const candidate = directory + kJarFromLibraryDirectory;
  char* resolved = realpath(candidate.c_str(), nullptr);
  if (resolved == nullptr) return std::string();
  std::string jar = resolved;
  std::free(resolved);
  struct stat status;
  return stat(jar.c_str(), &status) == 0 && S_ISREG(status.st_mode) ? jar : std::string();
}

// The value of CLASSPATH (null: unset) with jar appended, unless jar is empty or one of
// the entries already names that file, by whatever path.
std::string classPathWith(char const* variable, std::string const& jar) {
  std::string const entries = variable != nullptr ? variable : "";
  struct stat jarStatus;
  if (jar.empty() || stat(jar.c_str(), &jarStatus) != 0) return entries;
  for (std::string::size_type begin = 0; begin <= entries.size();) {
    std::string::size_type end = entries.find(':', begin);
    if (end == std::string::npos) end = entries.size();
    std::string const entry = entries.substr(begin, end - begin);
    struct stat status;
    if (!entry.empty() && stat(entry.c_str(), &status) == 0 && status.st_dev == jarStatus.st_dev &&
        status.st_ino == jarStatus.st_ino) {
      return entries;
    }
    begin = end + 1;
  }
  return entries.empty() ? jar : entries + ':' + jar;
}

// The options of a new virtual machine; see the header for the order. The last slot is
// kept for the default stack size until some option sets one. Runs under startMutex.
std::vector<std::string> startupOptions() {
  std::vector<std::string> options;
  options.reserve(JavaVmHost::kMaxOptions);
  std::string const jar = installedJar(
      libraryDirectoryOverride.empty() ? libraryDirectory() : libraryDirectoryOverride);
  options.push_back("-Djava.class.path=" + classPathWith(std::getenv("CLASSPATH"), jar));
  options.push_back("-DOstra.libraryName=rti1516");
  options.push_back(switchOption("OSTRA_ENABLEBUNDLING", "-DenableBundling=true"));
  options.push_back(switchOption("OSTRA_SINGLETHREAD", "-Dsinglethread=true"));
  options.push_back(switchOption("OSTRA_VERBOSEJNI", "-verbose:jni"));
  options.push_back(std::getenv(kJvmSignals) == nullptr ? "-Xrs" : "");
  bool hasStackSize = false;
  for (int n = 1; n <= kNumberedOptions; ++n) {
    std::string variable = "OSTRA1516_OPTION" + std::to_string(n);
    if (char const* value = std::getenv(variable.c_str())) {
      options.push_back(value);
      hasStackSize = hasStackSize || isStackSizeOption(options.back());
    }
  }

  std::ifstream file(kOptionsFile);
  std::string line;
  while (file.good() && options.size() < JavaVmHost::kMaxOptions - (hasStackSize ? 0 : 1) &&
         std::getline(file, line)) {
    // The file may come from Windows: a carriage return before the line feed is not
    // part of the line.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    options.push_back(line);
    hasStackSize = hasStackSize || isStackSizeOption(line);
  }

  if (!hasStackSize) options.push_back(kDefaultStackSize);
  return options;
}

[[noreturn]] void failWithJniError(wchar_t const* text, jint code) {
  raiseBridgeFailure(formatMessage(text, jniErrorText(code).c_str()));
}

// Takes both functions from library (RTLD_DEFAULT: the whole process), or none.
bool takeInvocation(void* library, JniInvocation& invocation) {
  void* get = dlsym(library, "JNI_GetCreatedJavaVMs");
  void* create = dlsym(library, "JNI_CreateJavaVM");
  if (get == nullptr || create == nullptr) return false;
  invocation.getCreatedJavaVMs = reinterpret_cast<jint(JNICALL*)(JavaVM**, jsize, jsize*)>(get);
  invocation.createJavaVM = reinterpret_cast<jint(JNICALL*)(JavaVM**, void**, void*)>(create);
  return true;
}

// The library's own invocation functions, found once (under startMutex).
JniInvocation const& libraryInvocation() {
  static JniInvocation found{};
  if (found.createJavaVM == nullptr) {
    found = loadInvocation(libjvmCandidates(std::getenv("JAVA_HOME")));
  }
  return found;
}

void startUp() {
  std::lock_guard<std::mutex> lock(startMutex);
  if (startEnv.load(std::memory_order_relaxed) != nullptr) return;  // another thread won

  FloatingPointGuard guard(FloatingPointGuard::startUp);
  JniInvocation const& jni = invocationOverride ? *invocationOverride : libraryInvocation();

  JavaVM* machine = nullptr;
  JNIEnv* env = nullptr;
  jsize count = 0;
  jint result = jni.getCreatedJavaVMs(&machine, 1, &count);
  if (result < 0) failWithJniError(L"Cannot check for existing JVM. Error: %ls\n", result);

  if (count >= 1) {
    // Someone else's virtual machine: its options were chosen by whoever made it.
    result = machine == nullptr
                 ? JNI_ERR
                 : machine->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr);
    if (result >= 0 && env == nullptr) result = JNI_ERR;
    if (result < 0) failWithJniError(L"Cannot attach to existing JVM. Error: %ls\n", result);
  } else {
    std::vector<std::string> texts = startupOptions();
    std::vector<JavaVMOption> options(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
      options[i].optionString = &texts[i][0];
      options[i].extraInfo = nullptr;
    }
    JavaVMInitArgs args;
    args.version = JNI_VERSION_1_2;
    args.nOptions = static_cast<jint>(options.size());
    args.options = options.data();
    args.ignoreUnrecognized = JNI_TRUE;
    machine = nullptr;
    // Before the machine takes the fault signals over, so that it keeps what it replaces.
    std::vector<int> const passedOn =
        std::getenv(kJvmSignals) == nullptr ? passForeignFaultsOn() : std::vector<int>();
    result = jni.createJavaVM(&machine, reinterpret_cast<void**>(&env), &args);
    if (result >= 0 && (machine == nullptr || env == nullptr)) result = JNI_ERR;
    if (result < 0) {
      takeBackFaultHandlers(passedOn);
      failWithJniError(L"Cannot create JVM. Error: %ls\n", result);
    }
  }

  vm.store(machine, std::memory_order_release);
  startEnv.store(env, std::memory_order_release);
}

// The calling thread's environment, asked of the machine.
JNIEnv* attachThread() {
  JavaVM* machine = vm.load(std::memory_order_acquire);
  if (machine == nullptr) {
    raiseBridgeFailure(L"The JVM has not been started: no RTI ambassador has been created\n");
  }
  JNIEnv* env = nullptr;
  jint result = machine->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr);
  if (result >= 0 && env == nullptr) result = JNI_ERR;
  if (result < 0) failWithJniError(L"Cannot attach thread to JVM. Error: %ls\n", result);
  return env;
}

}  // namespace

JNIEnv* JavaVmHost::startOrAttach() {
  if (startEnv.load(std::memory_order_acquire) == nullptr) startUp();
  return attachThread();
}

JNIEnv* JavaVmHost::currentEnv() {
  unsigned const generation = startUps.load(std::memory_order_acquire);
  AttachedEnv& mine = attached;
  if (mine.env != nullptr && mine.generation == generation) return mine.env;
  JNIEnv* env = attachThread();
  mine = {generation, env};
  return env;
}

void JavaVmHost::useInvocationForTesting(JniInvocation const* invocation) {
  std::lock_guard<std::mutex> lock(startMutex);
  invocationOverride = invocation;
  startUps.fetch_add(1, std::memory_order_release);
  startEnv.store(nullptr, std::memory_order_release);
  vm.store(nullptr, std::memory_order_release);
}

void JavaVmHost::useLibraryDirectoryForTesting(std::string const& directory) {
  std::lock_guard<std::mutex> lock(startMutex);
  libraryDirectoryOverride = directory;
}

std::wstring jniErrorText(int code) {
  switch (code) {
    case JNI_OK:
      return L"OK";
    case JNI_ERR:
      return L"Unknown error (-1)";
    case JNI_EDETACHED:
      return L"JVM Detached (-2)";
    case JNI_EVERSION:
      return L"JNI Version Error (-3)";
    case JNI_ENOMEM:
      return L"Not enough JVM memory allocated (-4)";
    case JNI_EEXIST:
      return L"VM already created (-5)";
    case JNI_EINVAL:
      return L"Invalid JVM arguments (-6)";
    default:
      return formatMessage(L"Unknown JVM error %ld", static_cast<long>(code));
  }
}

std::vector<std::string> libjvmCandidates(char const* javaHome) {
  std::vector<std::string> paths;
  if (javaHome != nullptr && *javaHome != '\0') {
    paths.push_back(std::string(javaHome) + "/lib/server/libjvm.so");
  }
  paths.push_back(OSTRA_BUILD_LIBJVM);
  return paths;
}

JniInvocation loadInvocation(std::vector<std::string> const& libraryPaths) {
  JniInvocation invocation{};
  if (takeInvocation(RTLD_DEFAULT, invocation)) return invocation;
  // Loaded privately (RTLD_LOCAL) by a launcher: found by its name without loading it again.
  if (void* loaded = dlopen("libjvm.so", RTLD_NOW | RTLD_NOLOAD)) {
    if (takeInvocation(loaded, invocation)) return invocation;
  }

  std::wstring tried =
      L"Cannot load the Java virtual machine library (libjvm.so). Tried:\n"
      L"  the running process: no JNI_CreateJavaVM\n";
  for (std::string const& path : libraryPaths) {
    // The library stays loaded for the life of the process, like the machine it runs.
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (library != nullptr && takeInvocation(library, invocation)) return invocation;
    char const* reason = library == nullptr ? dlerror() : "no JNI_CreateJavaVM";
    tried += L"  " + widenText(path) + L": " + widenText(reason ? reason : "not loadable") + L"\n";
  }
  tried += L"Set JAVA_HOME to a Java runtime that has lib/server/libjvm.so\n";
  raiseBridgeFailure(tried);
}

}  // namespace ostra1516e
