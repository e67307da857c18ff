// server_bench: two federate processes connected to a federation server on loopback, against
// a plain TCP ping-pong of the same bytes between two processes.
//
// The program is its own conductor: it starts a federation server (the jar's server class,
// --port 0), then runs itself twice as federates (`--federate=receiver`, `--federate=sender`),
// each a process with its own virtual machine, connected with rti://127.0.0.1:PORT. The
// federates print their figures as "result" lines, which the conductor reads and sums up.
// All of it twice: once plain, once with the enableBundling switch on in both federates
// (OSTRA_ENABLEBUNDLING). The conductor itself never starts a virtual machine.
//
//   throughput/<bytes>  The sender updates its object's one attribute (a value of <bytes>
//                       bytes, an 8-byte tag) --updates times in a tight loop; the receiver
//                       counts the reflections and, at the last one, answers with an
//                       update carrying its count. Time: the first send to that answer.
//                       The count must equal what was sent.
//   roundtrip/100       The sender updates; the receiver answers from its reflect callback
//                       with an update of its own object; the sender reflects it. The sender's
//                       send to the start of its callback, --round-trips times; median and
//                       99th percentile.
//   frozen              The sender stops the receiver's process (SIGSTOP) and updates (1 KB)
//                       for --frozen-seconds (3, within the server's heartbeat timeout), then
//                       lets it go on (SIGCONT) and asks for its count: how far the sender got
//                       before the server held it back, the server's resident memory before
//                       and while the receiver was frozen, and whether every update arrived.
//   grants              Both federates regulating (lookahead 1) and constrained, in lockstep:
//                       timeAdvanceRequest(t + 1), evoke until granted, --steps times per
//                       repetition; grants per second of each.
//   tcp                 Two plain processes on a loopback TCP connection (TCP_NODELAY),
//                       one sending 108 bytes (the value and the tag of an update) and the
//                       other sending them back: the floor of any round trip between two
//                       processes on this machine.
//   tcp relayed         The same bytes through a third plain process that passes them on
//                       to the echoing one and back: the four hops of a round trip through
//                       a server, without the server.
//
// Both federates use HLA_EVOKED: each waits for its callbacks in evokeCallback, on its main
// thread. Options: --updates=N (200000), --round-trips=N (20000),
// --steps=N (20000), --repetitions=N (5), --frozen-seconds=N (3; 0 skips it), --page=1 (the
// server also serves its monitoring page, open in a headless Chromium for the whole run, to
// compare with a run without it).
#include <RTI/NullFederateAmbassador.h>
#include <RTI/RTI1516.h>
#include <RTI/time/HLAinteger64Interval.h>
#include <RTI/time/HLAinteger64Time.h>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Options.h"

extern char** environ;

namespace {

using namespace rti1516e;
using Clock = std::chrono::steady_clock;

long updateCount = 200000;
long roundTripCount = 20000;
long stepCount = 20000;
long repetitions = 5;
long frozenSeconds = 3;
long withPage = 0;
constexpr size_t kSizes[] = {100, 1024};
constexpr size_t kTagSize = 8;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The resident memory of a process, from /proc/PID/status, in MB.
double residentMegabytes(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, 6, "VmRSS:") == 0) return std::atof(line.c_str() + 6) / 1024.0;
  }
  return 0;
}

double percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

// ---- The federates ----------------------------------------------------------------------

// The tags say what an update is for; the receiver acts on them.
VariableLengthData tagOf(char const (&text)[kTagSize + 1]) { return VariableLengthData(text, kTagSize); }
bool tagIs(VariableLengthData const& tag, char const (&text)[kTagSize + 1]) {
  return tag.size() == kTagSize && std::memcmp(tag.data(), text, kTagSize) == 0;
}
char const kData[] = "data....";  // counted
char const kLast[] = "last....";  // counted, then answered with kDone carrying the count
char const kDone[] = "done....";
char const kEcho[] = "echo....";  // answered at once with the same values

[[noreturn]] void fail(char const* what, Exception const& e) {
  std::wcerr << L"server_bench: " << what << L": " << e.what() << std::endl;
  std::exit(1);
}

class Federate : public NullFederateAmbassador {
 public:
  Federate(std::string const& designator, std::wstring const& name) {
    try {
      rti_.reset(RTIambassadorFactory().createRTIambassador().release());
      rti_->connect(*this, HLA_EVOKED, std::wstring(designator.begin(), designator.end()));
      std::string const fom = OSTRA_SERVER_BENCH_FOM;
      try {
        rti_->createFederationExecution(L"ServerBench", std::wstring(fom.begin(), fom.end()), L"HLAinteger64Time");
      } catch (FederationExecutionAlreadyExists const&) {
      }
      rti_->joinFederationExecution(name, L"ServerBench", L"ServerBench");
      objectClass_ = rti_->getObjectClassHandle(L"BenchObject");
      payload_ = rti_->getAttributeHandle(objectClass_, L"Payload");
      AttributeHandleSet attributes;
      attributes.insert(payload_);
      rti_->publishObjectClassAttributes(objectClass_, attributes);
      rti_->subscribeObjectClassAttributes(objectClass_, attributes);
      own_ = rti_->registerObjectInstance(objectClass_);
    } catch (Exception const& e) {
      fail("joining the federation", e);
    }
  }

  void leave() {
    try {
      rti_->resignFederationExecution(DELETE_OBJECTS);
      try {
        rti_->destroyFederationExecution(L"ServerBench");
      } catch (FederatesCurrentlyJoined const&) {  // the other one is still in
      } catch (FederationExecutionDoesNotExist const&) {  // the other one was the last
      }
      rti_->disconnect();
    } catch (Exception const& e) {
      fail("leaving the federation", e);
    }
  }

  // Delivers callbacks until done() holds, one at a time (waiting in evokeCallback, never
  // spinning through it); gives up after a minute.
  template <typename Done>
  void evokeUntil(char const* what, Done done) {
    auto const deadline = Clock::now() + std::chrono::seconds(60);
    try {
      while (!done()) {
        if (Clock::now() > deadline) {
          std::cerr << "server_bench: waited a minute for " << what << "\n";
          std::exit(1);
        }
        rti_->evokeCallback(0.1);
      }
    } catch (Exception const& e) {
      fail(what, e);
    }
  }

  void update(AttributeHandleValueMap const& values, VariableLengthData const& tag) {
    try {
      rti_->updateAttributeValues(own_, values, tag);
    } catch (Exception const& e) {
      fail("updateAttributeValues", e);
    }
  }

  AttributeHandleValueMap valuesOf(size_t size) const {
    std::vector<char> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i);
    AttributeHandleValueMap values;
    values[payload_] = VariableLengthData(bytes.data(), size);
    return values;
  }

  // Both federates regulate with lookahead 1 and are constrained, then meet at the
  // synchronization point "grants", so that neither advances alone; then each advances
  // `steps` times `rounds` times and prints its grants per second of each round.
  void grants(bool registers, char const* who) {
    try {
      if (registers) rti_->registerFederationSynchronizationPoint(L"grants", VariableLengthData());
      evokeUntil("the announcement of grants", [&] { return announced_; });
      rti_->enableTimeRegulation(HLAinteger64Interval(1));
      rti_->enableTimeConstrained();
      evokeUntil("time regulation and constraint", [&] { return regulating_ && constrained_; });
      rti_->synchronizationPointAchieved(L"grants");
      evokeUntil("the synchronization at grants", [&] { return synchronized_; });
      for (long round = -1; round < repetitions; ++round) {  // round -1 warms up
        auto const start = Clock::now();
        for (long i = 0; i < stepCount; ++i) {
          granted_ = false;
          rti_->timeAdvanceRequest(HLAinteger64Time(++time_));
          while (!granted_) rti_->evokeCallback(1.0);
        }
        if (round >= 0) std::printf("result grants %s %.0f\n", who, double(stepCount) / secondsSince(start));
      }
      rti_->disableTimeRegulation();
      rti_->disableTimeConstrained();
    } catch (Exception const& e) {
      fail("advancing", e);
    }
  }

  void discoverObjectInstance(ObjectInstanceHandle, ObjectClassHandle, std::wstring const&) override {
    discovered_ = true;
  }
  void discoverObjectInstance(ObjectInstanceHandle, ObjectClassHandle, std::wstring const&,
                              FederateHandle) override {
    discovered_ = true;
  }
  void announceSynchronizationPoint(std::wstring const&, VariableLengthData const&) override {
    announced_ = true;
  }
  void federationSynchronized(std::wstring const&, FederateHandleSet const&) override { synchronized_ = true; }
  void timeRegulationEnabled(LogicalTime const&) override { regulating_ = true; }
  void timeConstrainedEnabled(LogicalTime const&) override { constrained_ = true; }
  void timeAdvanceGrant(LogicalTime const&) override { granted_ = true; }
  void connectionLost(std::wstring const& reason) override {
    std::wcerr << L"server_bench: connection lost: " << reason << std::endl;
    std::exit(1);
  }

  bool discovered_ = false;
  bool announced_ = false;

 protected:
  std::unique_ptr<RTIambassador> rti_;
  ObjectClassHandle objectClass_;
  AttributeHandle payload_;
  ObjectInstanceHandle own_;

 private:
  bool synchronized_ = false;
  bool regulating_ = false;
  bool constrained_ = false;
  bool granted_ = false;
  int64_t time_ = 0;
};

// The receiver counts, echoes and answers; it advances when the sender announces grants.
class Receiver : public Federate {
 public:
  explicit Receiver(std::string const& designator) : Federate(designator, L"receiver") {}

  void run() {
    evokeUntil("the sender to announce grants", [&] { return announced_; });
    grants(false, "receiver");
    leave();
  }

  void reflectAttributeValues(ObjectInstanceHandle, AttributeHandleValueMap const& values,
                              VariableLengthData const& tag, OrderType, TransportationType,
                              SupplementalReflectInfo) override {
    if (tagIs(tag, kEcho)) {
      update(values, tag);
    } else if (tagIs(tag, kData)) {
      ++count_;
    } else if (tagIs(tag, kLast)) {
      ++count_;
      AttributeHandleValueMap answer;
      answer[payload_] = VariableLengthData(&count_, sizeof count_);
      update(answer, tagOf(kDone));
      count_ = 0;
    }
  }

 private:
  uint64_t count_ = 0;
};

class Sender : public Federate {
 public:
  Sender(std::string const& designator, pid_t server, pid_t receiver)
      : Federate(designator, L"sender"), server_(server), receiver_(receiver) {}

  void run() {
    evokeUntil("the receiver's object", [&] { return discovered_; });
    // Warm up both virtual machines' compilers on both paths first.
    throughput(100, updateCount / 4);
    roundTrips(roundTripCount / 4, false);
    for (long round = 0; round < repetitions; ++round) {
      for (size_t size : kSizes) {
        double const seconds = throughput(size, updateCount);
        std::printf("result throughput/%zu %.0f\n", size, double(updateCount) / seconds);
      }
      roundTrips(roundTripCount, true);
    }
    if (frozenSeconds > 0) frozen();
    grants(true, "sender");
    leave();
  }

  void reflectAttributeValues(ObjectInstanceHandle, AttributeHandleValueMap const& values,
                              VariableLengthData const& tag, OrderType, TransportationType,
                              SupplementalReflectInfo) override {
    if (tagIs(tag, kEcho)) {
      echoedAt_ = Clock::now();
      echoed_ = true;
    } else if (tagIs(tag, kDone)) {
      auto const found = values.find(payload_);
      if (found != values.end() && found->second.size() == sizeof answer_) {
        std::memcpy(&answer_, found->second.data(), sizeof answer_);
      }
      doneAt_ = Clock::now();
      done_ = true;
    }
  }

 private:
  // Sends count updates, the last one asking for the receiver's count; the seconds from the
  // first send to the answer. Exits when the receiver counted another number.
  double throughput(size_t size, long count) {
    AttributeHandleValueMap const values = valuesOf(size);
    VariableLengthData const data = tagOf(kData);
    done_ = false;
    auto const start = Clock::now();
    for (long i = 1; i < count; ++i) update(values, data);
    update(values, tagOf(kLast));
    evokeUntil("the receiver's count", [&] { return done_; });
    checkCount(uint64_t(count));
    return std::chrono::duration<double>(doneAt_ - start).count();
  }

  void checkCount(uint64_t sent) {
    if (answer_ != sent) {
      std::fprintf(stderr, "server_bench: sent %llu updates, the receiver counted %llu\n",
                   (unsigned long long)sent, (unsigned long long)answer_);
      std::exit(1);
    }
  }

  void roundTrips(long count, bool report) {
    AttributeHandleValueMap const values = valuesOf(100);
    VariableLengthData const echo = tagOf(kEcho);
    std::vector<double> micros;
    micros.reserve(size_t(count));
    for (long i = 0; i < count; ++i) {
      echoed_ = false;
      auto const start = Clock::now();
      update(values, echo);
      try {
        while (!echoed_) rti_->evokeCallback(1.0);
      } catch (Exception const& e) {
        fail("evokeCallback", e);
      }
      micros.push_back(std::chrono::duration<double, std::micro>(echoedAt_ - start).count());
    }
    if (report) std::printf("result roundtrip %.2f %.2f\n", percentile(micros, 0.5), percentile(micros, 0.99));
  }

  // Updates while the receiver's process is stopped, then lets it go on and checks that
  // everything arrived.
  void frozen() {
    AttributeHandleValueMap const values = valuesOf(1024);
    VariableLengthData const data = tagOf(kData);
    double const before = residentMegabytes(server_);
    std::atomic<long> sent{0};
    std::atomic<bool> thawed{false};
    double peak = before;
    long sentWhileFrozen = 0;
    kill(receiver_, SIGSTOP);
    std::thread watch([&] {
      auto const until = Clock::now() + std::chrono::seconds(frozenSeconds);
      while (Clock::now() < until) {
        peak = std::max(peak, residentMegabytes(server_));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      sentWhileFrozen = sent.load();
      kill(receiver_, SIGCONT);
      thawed = true;
    });
    done_ = false;
    auto const start = Clock::now();
    while (!thawed.load()) {
      update(values, data);
      sent.fetch_add(1);
    }
    watch.join();
    auto const thawedAt = Clock::now();
    update(values, tagOf(kLast));
    evokeUntil("the receiver's count after it went on", [&] { return done_; });
    checkCount(uint64_t(sent.load() + 1));
    std::printf("result frozen %ld %.1f %.1f %.1f %.3f %.1f\n", sentWhileFrozen, before, peak,
                residentMegabytes(server_), std::chrono::duration<double>(doneAt_ - thawedAt).count(),
                std::chrono::duration<double>(thawedAt - start).count());
  }

  pid_t server_;
  pid_t receiver_;
  bool echoed_ = false;
  Clock::time_point echoedAt_;
  bool done_ = false;
  Clock::time_point doneAt_;
  uint64_t answer_ = 0;
};

// ---- The plain TCP floor ------------------------------------------------------------------

void readFully(int fd, char* buffer, size_t size) {
  while (size > 0) {
    ssize_t const n = read(fd, buffer, size);
    if (n <= 0) std::exit(1);
    buffer += n;
    size -= size_t(n);
  }
}

void writeFully(int fd, char const* buffer, size_t size) {
  while (size > 0) {
    ssize_t const n = write(fd, buffer, size);
    if (n <= 0) std::exit(1);
    buffer += n;
    size -= size_t(n);
  }
}

// A loopback TCP listener on a port the system picks.
int listenOnLoopback(sockaddr_in* address) {
  int listener = socket(AF_INET, SOCK_STREAM, 0);
  *address = sockaddr_in{};
  address->sin_family = AF_INET;
  address->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof *address;
  if (bind(listener, reinterpret_cast<sockaddr*>(address), length) != 0 || listen(listener, 1) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(address), &length) != 0) {
    std::perror("server_bench: loopback socket");
    std::exit(1);
  }
  return listener;
}

int connectTo(sockaddr_in const& address) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (connect(fd, reinterpret_cast<sockaddr const*>(&address), sizeof address) != 0) _exit(1);
  int const one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return fd;
}

int acceptOn(int listener) {
  int fd = accept(listener, nullptr, nullptr);
  int const one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  close(listener);
  return fd;
}

// Round trips of 108 bytes (the value and the tag of an update) on loopback TCP, the
// median and 99th percentile of each repetition in microseconds: between this process and
// a forked one that sends them back, or (relayed) through a forked relay process to a
// forked echo process and back through the relay, the four hops of a round trip through a
// server. The forked processes only block in read and write, as plainly as it gets.
std::vector<std::pair<double, double>> tcpRoundTrips(bool relayed) {
  char buffer[100 + kTagSize] = {};
  sockaddr_in address{};
  int listener = listenOnLoopback(&address);
  std::vector<pid_t> helpers;
  pid_t const first = fork();
  if (first == 0) {
    int toUs = connectTo(address);
    close(listener);
    int onward = -1;
    if (relayed) {  // this one relays; its child echoes
      sockaddr_in echoAddress{};
      int echoListener = listenOnLoopback(&echoAddress);
      if (fork() == 0) {
        int fd = connectTo(echoAddress);
        for (;;) {
          readFully(fd, buffer, sizeof buffer);
          writeFully(fd, buffer, sizeof buffer);
        }
      }
      onward = acceptOn(echoListener);
    }
    for (;;) {
      readFully(toUs, buffer, sizeof buffer);
      if (onward >= 0) {
        writeFully(onward, buffer, sizeof buffer);
        readFully(onward, buffer, sizeof buffer);
      }
      writeFully(toUs, buffer, sizeof buffer);
    }
  }
  int fd = acceptOn(listener);
  std::vector<std::pair<double, double>> figures;
  for (long round = -1; round < repetitions; ++round) {  // round -1 warms up
    std::vector<double> micros;
    for (long i = 0; i < roundTripCount; ++i) {
      auto const start = Clock::now();
      writeFully(fd, buffer, sizeof buffer);
      readFully(fd, buffer, sizeof buffer);
      micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    if (round >= 0) figures.emplace_back(percentile(micros, 0.5), percentile(micros, 0.99));
  }
  close(fd);  // the relay and the echo end when their reads fail
  waitpid(first, nullptr, 0);
  return figures;
}

// ---- The conductor --------------------------------------------------------------------

// A child process with its standard output in a pipe (or a file) and its standard error
// passed through.
struct Child {
  pid_t pid = -1;
  int out = -1;  // the read end of its standard output, or -1

  static Child spawn(std::vector<std::string> const& arguments, std::string const& outputFile = "") {
    Child child;
    int pipeEnds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outputFile.empty()) {
      if (pipe2(pipeEnds, O_CLOEXEC) != 0) std::exit(1);
      posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    } else {
      posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    std::vector<char*> argv;
    for (std::string const& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&child.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
      std::cerr << "server_bench: cannot start " << argv[0] << "\n";
      std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (pipeEnds[1] >= 0) {
      close(pipeEnds[1]);
      child.out = pipeEnds[0];
    }
    return child;
  }

  // Reads its output to the end and waits for it; false unless it exited with 0.
  bool finish(std::string* output) {
    char buffer[4096];
    ssize_t n;
    while (out >= 0 && (n = read(out, buffer, sizeof buffer)) > 0) output->append(buffer, size_t(n));
    if (out >= 0) close(out);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
};

// The figures of one mode (plain or bundling), by result name: every repetition's numbers.
using Results = std::map<std::string, std::vector<std::vector<double>>>;

void parseResults(std::string const& output, Results* results) {
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string word, name;
    words >> word >> name;
    if (word != "result") continue;
    if (name == "grants") {
      std::string who;
      words >> who;
      name += "/" + who;
    }
    std::vector<double> numbers;
    double number;
    while (words >> number) numbers.push_back(number);
    (*results)[name].push_back(numbers);
  }
}

// Starts a server on a free port, runs the two federates through it, stops it.
Results runFederation(std::string const& self, bool bundling) {
  if (bundling) {
    setenv("OSTRA_ENABLEBUNDLING", "", 1);
  } else {
    unsetenv("OSTRA_ENABLEBUNDLING");
  }
  char logName[] = "/tmp/server_bench_log_XXXXXX";
  int const logFd = mkstemp(logName);
  close(logFd);
  std::vector<std::string> server = {OSTRA_JAVA_EXECUTABLE, "-cp", OSTRA_JAR,
                                     "org.vantor.ostra1516e.server.FederationServer", "--port", "0"};
  if (withPage) {
    server.insert(server.end(), {"--http", "0"});
  }
  Child serverProcess = Child::spawn(server, logName);
  std::string port, page;
  for (int i = 0; i < 300 && (port.empty() || (withPage && page.empty())); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream log(logName);
    std::string line;
    while (std::getline(log, line)) {
      size_t const at = line.find("listening on ");
      if (at != std::string::npos) port = line.substr(line.rfind(':') + 1);
      size_t const pageAt = line.find("monitoring page on ");
      if (pageAt != std::string::npos) page = line.substr(pageAt + 19);
    }
  }
  // The page, open on the benchmark's federation in a headless Chromium for the whole run;
  // timeout(1) runs it in a process group of its own and passes SIGTERM on to all of it. The
  // browser runs at the lowest priority: what is measured is what serving the page costs the
  // server, not the browser's own drawing, which on a machine of few processors would
  // otherwise take them from the federates.
  Child browser;
  char profile[] = "/tmp/server_bench_chromium_XXXXXX";
  if (!page.empty()) {
    if (mkdtemp(profile) == nullptr) std::exit(1);
    browser = Child::spawn({"/usr/bin/nice", "-n", "19", "/usr/bin/timeout", "3600", "/usr/bin/chromium",
                            "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
                            "--disable-component-update", "--disable-sync", "--log-level=3",
                            std::string("--user-data-dir=") + profile,
                            page + "#ServerBench"},
                           "/dev/null");
  }
  if (port.empty()) {
    std::cerr << "server_bench: the federation server did not start (log: " << logName << ")\n";
    std::exit(1);
  }
  std::string const rti = "--rti=rti://127.0.0.1:" + port;
  std::vector<std::string> options = {"--updates=" + std::to_string(updateCount),
                                      "--round-trips=" + std::to_string(roundTripCount),
                                      "--steps=" + std::to_string(stepCount),
                                      "--repetitions=" + std::to_string(repetitions),
                                      "--frozen-seconds=" + std::to_string(bundling ? 0 : frozenSeconds)};
  std::vector<std::string> receiverArguments = {self, "--federate=receiver", rti};
  receiverArguments.insert(receiverArguments.end(), options.begin(), options.end());
  Child receiver = Child::spawn(receiverArguments);
  std::vector<std::string> senderArguments = {self, "--federate=sender", rti,
                                              "--server-pid=" + std::to_string(serverProcess.pid),
                                              "--receiver-pid=" + std::to_string(receiver.pid)};
  senderArguments.insert(senderArguments.end(), options.begin(), options.end());
  Child sender = Child::spawn(senderArguments);

  std::string senderOutput, receiverOutput, ignored;
  bool const ok = sender.finish(&senderOutput) & receiver.finish(&receiverOutput);
  if (browser.pid > 0) {
    kill(browser.pid, SIGTERM);
    browser.finish(&ignored);
    std::filesystem::remove_all(profile);
  }
  kill(serverProcess.pid, SIGTERM);
  serverProcess.finish(&ignored);
  if (!ok) {
    std::cerr << "server_bench: a federate failed; the server's log is " << logName << "\n";
    std::exit(1);
  }
  unlink(logName);
  Results results;
  parseResults(senderOutput, &results);
  parseResults(receiverOutput, &results);
  return results;
}

// The median over the repetitions of the index-th number of a result, and the lowest and
// highest.
struct Spread {
  double median = 0, low = 0, high = 0;
};
Spread spreadOf(Results const& results, std::string const& name, size_t index = 0) {
  std::vector<double> values;
  auto const found = results.find(name);
  if (found != results.end()) {
    for (auto const& numbers : found->second) {
      if (index < numbers.size()) values.push_back(numbers[index]);
    }
  }
  Spread s;
  if (values.empty()) return s;
  s.median = percentile(values, 0.5);
  s.low = *std::min_element(values.begin(), values.end());
  s.high = *std::max_element(values.begin(), values.end());
  return s;
}

void printSummary(Results const& plain, Results const& bundled, std::vector<std::pair<double, double>> const& tcp,
                  std::vector<std::pair<double, double>> const& relayed) {
  std::printf("\nTwo federate processes through a federation server on loopback; medians of %ld "
              "repetitions (lowest-highest)\n\n",
              repetitions);
  std::printf("%-34s %28s %28s\n", "case", "plain", "bundling");
  for (size_t size : kSizes) {
    std::string const name = "throughput/" + std::to_string(size);
    Spread const a = spreadOf(plain, name), b = spreadOf(bundled, name);
    std::printf("%-34s %9.0f (%7.0f-%7.0f) %9.0f (%7.0f-%7.0f)\n", (name + " B, updates/s").c_str(), a.median,
                a.low, a.high, b.median, b.low, b.high);
  }
  Spread const rttA = spreadOf(plain, "roundtrip", 0), rttB = spreadOf(bundled, "roundtrip", 0);
  Spread const p99A = spreadOf(plain, "roundtrip", 1), p99B = spreadOf(bundled, "roundtrip", 1);
  std::printf("%-34s %9.1f (%7.1f-%7.1f) %9.1f (%7.1f-%7.1f)\n", "roundtrip/100 B median, us", rttA.median,
              rttA.low, rttA.high, rttB.median, rttB.low, rttB.high);
  std::printf("%-34s %9.1f (%7.1f-%7.1f) %9.1f (%7.1f-%7.1f)\n", "roundtrip/100 B 99th pct, us", p99A.median,
              p99A.low, p99A.high, p99B.median, p99B.low, p99B.high);
  Results tcpResults;
  for (auto const& figures : tcp) tcpResults["tcp"].push_back({figures.first, figures.second});
  for (auto const& figures : relayed) tcpResults["relayed"].push_back({figures.first, figures.second});
  Spread const tcpMedian = spreadOf(tcpResults, "tcp", 0), tcpP99 = spreadOf(tcpResults, "tcp", 1);
  Spread const relayMedian = spreadOf(tcpResults, "relayed", 0), relayP99 = spreadOf(tcpResults, "relayed", 1);
  std::printf("%-34s %9.1f (%7.1f-%7.1f)\n", "plain TCP round trip median, us", tcpMedian.median, tcpMedian.low,
              tcpMedian.high);
  std::printf("%-34s %9.1f (%7.1f-%7.1f)\n", "plain TCP round trip 99th pct, us", tcpP99.median, tcpP99.low,
              tcpP99.high);
  std::printf("%-34s %9.1f (%7.1f-%7.1f)\n", "relayed TCP round trip median, us", relayMedian.median,
              relayMedian.low, relayMedian.high);
  std::printf("%-34s %9.1f (%7.1f-%7.1f)\n", "relayed TCP round trip 99th, us", relayP99.median, relayP99.low,
              relayP99.high);
  Spread const grantsS = spreadOf(plain, "grants/sender"), grantsR = spreadOf(plain, "grants/receiver");
  std::printf("%-34s %9.0f (%7.0f-%7.0f)\n", "grants/s, sender", grantsS.median, grantsS.low, grantsS.high);
  std::printf("%-34s %9.0f (%7.0f-%7.0f)\n", "grants/s, receiver", grantsR.median, grantsR.low, grantsR.high);
  double const ratio = tcpMedian.median > 0 ? rttA.median / tcpMedian.median : 0;
  std::printf("\nround trip through the server / plain TCP round trip (medians): %.2f\n", ratio);
  std::printf("round trip through the server / relayed TCP round trip (medians): %.2f\n",
              relayMedian.median > 0 ? rttA.median / relayMedian.median : 0);
  std::printf("time per grant / relayed TCP round trip (medians): %.2f\n",
              grantsS.median > 0 && relayMedian.median > 0 ? 1e6 / grantsS.median / relayMedian.median : 0);

  auto const frozen = plain.find("frozen");
  if (frozen != plain.end() && !frozen->second.empty() && frozen->second[0].size() == 6) {
    std::vector<double> const& f = frozen->second[0];
    std::printf("\nfrozen receiver (%ld s): the sender got %.0f updates of 1 KB (%.1f MB) out before the server "
                "held it back;\n  the server's resident memory %.1f MB before, at most %.1f MB while frozen, "
                "%.1f MB after;\n  once the receiver went on, all %.0f arrived within %.3f s\n",
                frozenSeconds, f[0], f[0] * 1024 / 1e6, f[1], f[2], f[3], f[0], f[4]);
  }

  double const grants = std::min(grantsS.median, grantsR.median);
  std::printf("\ngoals:\n");
  std::printf("  >= 250000 updates/s, 100 B with bundling:   %9.0f  %s\n", spreadOf(bundled, "throughput/100").median,
              spreadOf(bundled, "throughput/100").median >= 250000 ? "met" : "NOT met");
  std::printf("  round-trip median <= 50 us without bundling: %9.1f  %s\n", rttA.median,
              rttA.median <= 50 ? "met" : "NOT met");
  std::printf("  round trip <= 3 x plain TCP:                  %9.2f  %s\n", ratio, ratio <= 3 ? "met" : "NOT met");
  std::printf("  >= 40000 grants/s per federate:              %9.0f  %s\n", grants,
              grants >= 40000 ? "met" : "NOT met");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> arguments(argv, argv + argc);
  std::string role, rti;
  long serverPid = 0, receiverPid = 0;
  using ostra1516e::bench::takeOption;
  takeOption(arguments, "--federate", &role);
  takeOption(arguments, "--rti", &rti);
  takeOption(arguments, "--server-pid", &serverPid);
  takeOption(arguments, "--receiver-pid", &receiverPid);
  takeOption(arguments, "--updates", &updateCount);
  takeOption(arguments, "--round-trips", &roundTripCount);
  takeOption(arguments, "--steps", &stepCount);
  takeOption(arguments, "--repetitions", &repetitions);
  takeOption(arguments, "--frozen-seconds", &frozenSeconds);
  takeOption(arguments, "--page", &withPage);
  if (arguments.size() > 1 || updateCount < 10 || roundTripCount < 10 || stepCount < 10 || repetitions < 1) {
    std::cerr << "usage: server_bench [--updates=N] [--round-trips=N] [--steps=N] [--repetitions=N] "
                 "[--frozen-seconds=N] [--page=1]\n";
    return 2;
  }
  setvbuf(stdout, nullptr, _IOLBF, 0);
  // Integer time: the library finds the logical-time library's factory in this program.
  if (!role.empty() && LogicalTimeFactoryFactory::makeLogicalTimeFactory(L"HLAinteger64Time").get() == nullptr) {
    return 1;
  }
  if (role == "receiver") {
    Receiver(rti).run();
    return 0;
  }
  if (role == "sender") {
    Sender(rti, pid_t(serverPid), pid_t(receiverPid)).run();
    return 0;
  }

  setenv("CLASSPATH", OSTRA_JAR, 1);
  std::string const self = "/proc/self/exe";
  char path[4096];
  ssize_t const n = readlink(self.c_str(), path, sizeof path - 1);
  std::string const program = n > 0 ? std::string(path, size_t(n)) : std::string(argv[0]);
  std::printf("server_bench: plain TCP round trips\n");
  auto const tcp = tcpRoundTrips(false);
  auto const relayed = tcpRoundTrips(true);
  std::printf("server_bench: two federates through a server, plain\n");
  Results const plain = runFederation(program, false);
  std::printf("server_bench: two federates through a server, bundling\n");
  Results const bundled = runFederation(program, true);
  printSummary(plain, bundled, tcp, relayed);
  return 0;
}
