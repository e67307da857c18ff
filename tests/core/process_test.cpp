// Processes that die under C++ federates connected to a federation server: a federate
// program killed with SIGKILL in the middle of its update stream and its time advance is
// resigned for the others, and a server killed under its federates reaches them as
// connectionLost, after which their services say NotConnected. The server and the killed
// federate (this program, run with --streamer) are processes of their own, started before
// this process has a virtual machine; one federate of each callback model watches.
#include <RTI/NullFederateAmbassador.h>
#include <RTI/RTI1516.h>
#include <RTI/time/HLAinteger64Interval.h>
#include <RTI/time/HLAinteger64Time.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "../bridge/child_process.h"
#include "core_support.h"

namespace ostra1516e {
namespace {

using namespace coretest;

std::wstring const federation = L"Processes";
int64_t const distant = 1000000;  // a time the streamer cannot reach by stepping while a test waits

// Process is a program this test started, killed and reaped however the test ends. Its
// standard input is a pipe from the test; its standard output, when kept, is read into log.
class Process {
 public:
  Process(std::vector<std::string> const& args, bool keepOutput) {
    int in[2], out[2] = {-1, -1};
    if (pipe2(in, O_CLOEXEC) != 0 || (keepOutput && pipe2(out, O_CLOEXEC) != 0)) return;
    std::vector<char*> argv;
    for (auto const& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t const parent = getpid();
    pid = fork();
    if (pid == 0) {  // only async-signal-safe calls until exec
      prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive a test that crashed
      if (getppid() != parent) _exit(126);
      dup2(in[0], 0);
      if (out[1] >= 0) dup2(out[1], 1);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(in[0]);
    input = in[1];
    if (out[1] >= 0) {
      close(out[1]);
      reader = std::thread([this, fd = out[0]] {
        char buffer[4096];
        for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
          std::lock_guard<std::mutex> lock(mutex);
          log.append(buffer, size_t(n));
          grew.notify_all();
        }
        close(fd);
      });
    }
  }
  ~Process() {
    kill9();
    if (input >= 0) close(input);
    if (reader.joinable()) reader.join();
  }
  // running tells whether it still runs, and reaps it if not.
  bool running() {
    if (pid > 0 && waitpid(pid, &status, WNOHANG) != 0) pid = 0;
    return pid > 0;
  }
  // kill9 kills it with SIGKILL and reaps it; it tells how it ended.
  std::string kill9() {
    if (pid < 0) return "not started";
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      pid = 0;
    }
    if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
    return "exit " + std::to_string(WEXITSTATUS(status));
  }
  // awaitOutput returns the first match of pattern in the output, "" when none comes in time.
  std::string awaitOutput(std::regex const& pattern, double seconds) {
    std::smatch match;
    std::unique_lock<std::mutex> lock(mutex);
    grew.wait_for(lock, std::chrono::duration<double>(seconds), [&] { return std::regex_search(log, match, pattern); });
    return match.size() > 1 ? match[1].str() : "";
  }
  std::string output() {
    std::lock_guard<std::mutex> lock(mutex);
    return log;
  }

  pid_t pid = -1;  // 0 once reaped
  int input = -1;

 private:
  int status = 0;
  std::thread reader;
  std::mutex mutex;
  std::condition_variable grew;
  std::string log;
};

// tail shows how many lines a federate recorded and the last few, not thousands of reflections.
std::string tail(Federate const& fed) {
  Lines const all = fed.lines();
  std::string out = std::to_string(all.size()) + " callbacks, the last:";
  for (size_t i = all.size() > 8 ? all.size() - 8 : 0; i < all.size(); ++i) out += "\n  " + all[i];
  return out;
}

TEST(Processes, AKilledFederateIsResignedAndAKilledServerIsReportedLost) {
  Process server({OSTRA_JAVA, "-cp", OSTRA_SERVER_JAR, "org.vantor.ostra1516e.server.FederationServer", "--port", "0",
                  "--heartbeat-interval", "100", "--heartbeat-timeout", "2000"}, true);
  std::string const port = server.awaitOutput(std::regex("listening on [^\\s]*:([0-9]+)"), 30);
  ASSERT_NE(port, "") << server.output();
  std::string const address = "rti://127.0.0.1:" + port;
  Process streamer({selfPath(), "--streamer", address}, false);
  ASSERT_GT(streamer.pid, 0);

  Federate a(HLA_EVOKED), b(HLA_IMMEDIATE);
  for (Federate* fed : {&a, &b}) {
    ASSERT_OK(fed->rti->connect(*fed, fed->model, wide(address)));
    std::string const created = outcome([&] { fed->rti->createFederationExecution(federation, fom("Vehicles.xml"),
                                                                                   L"HLAinteger64Time"); });
    if (created != "ok") {
      EXPECT_THAT(created, StartsWith("FederationExecutionAlreadyExists: "));
    }
  }
  ASSERT_OK(a.join(L"a", federation));
  ASSERT_OK(b.join(L"b", federation));
  // The time library's own factory (this reference also keeps it in this static program,
  // where the bridge looks for it, in the streamer as well).
  EXPECT_EQ(a.rti->getTimeFactory()->getName(),
            LogicalTimeFactoryFactory::makeLogicalTimeFactory(L"HLAinteger64Time")->getName());
  ObjectClassHandle const vehicle = a.rti->getObjectClassHandle(L"Vehicle");
  AttributeHandleSet const both = {a.rti->getAttributeHandle(vehicle, L"Position"),
                                   a.rti->getAttributeHandle(vehicle, L"Speed")};
  // a regulates, so that the streamer's advances wait for a's; both are constrained, and
  // take receive-order reflections while not advancing.
  for (Federate* fed : {&a, &b}) {
    fed->rti->subscribeObjectClassAttributes(vehicle, both);
    fed->rti->enableAsynchronousDelivery();
    fed->rti->enableTimeConstrained();
    ASSERT_TRUE(fed->waitFor(cb("timeConstrainedEnabled", HLAinteger64Time(0)))) << tail(*fed);
  }
  a.rti->enableTimeRegulation(HLAinteger64Interval(1));
  ASSERT_TRUE(a.waitFor(cb("timeRegulationEnabled", HLAinteger64Time(0)))) << tail(a);

  // The streamer registers its vehicle, then waits for the word to stream and advance.
  for (Federate* fed : {&a, &b}) {
    ASSERT_TRUE(fed->waitForCount("discoverObjectInstance(", 1, 30)) << tail(*fed) << "\n" << server.output();
  }
  ASSERT_EQ(write(streamer.input, "go\n", 3), 3);
  for (Federate* fed : {&a, &b}) ASSERT_TRUE(fed->waitForCount("reflectAttributeValues(", 20, 10)) << tail(*fed);
  // It waits in a time advance that a holds back: a's GALT, the streamer's promise, stays near 0.
  HLAinteger64Time galt;
  ASSERT_TRUE(a.rti->queryGALT(galt));
  EXPECT_LT(galt.getTime(), 10);
  FederateHandle const streaming = a.rti->getFederateHandle(L"streamer");

  // Now a and b ask for a time the streamer holds back; it keeps streaming and advancing
  // (a no longer holds it) when it is killed.
  a.take(), b.take();
  for (Federate* fed : {&a, &b}) fed->rti->timeAdvanceRequest(HLAinteger64Time(distant));
  for (Federate* fed : {&a, &b}) ASSERT_TRUE(fed->waitForCount("reflectAttributeValues(", 10)) << tail(*fed);
  EXPECT_FALSE(a.has(cb("timeAdvanceGrant", HLAinteger64Time(distant))));
  ASSERT_TRUE(streamer.running()) << "the streamer ended by itself";
  EXPECT_EQ(streamer.kill9(), "signal 9");

  // The server resigns it with the federation's automatic resign action: its vehicle is
  // deleted, its name is free, and it no longer holds back the advances.
  for (Federate* fed : {&a, &b}) {
    EXPECT_TRUE(fed->waitForCount("removeObjectInstance(", 1)) << tail(*fed);
    EXPECT_TRUE(fed->waitFor(cb("timeAdvanceGrant", HLAinteger64Time(distant)))) << tail(*fed);
  }
  EXPECT_RTI("NameNotFound", a.rti->getFederateHandle(L"streamer"));
  EXPECT_FALSE(a.rti->queryGALT(galt)) << "no other regulator is left, yet GALT is " << galt.getTime();
  EXPECT_RTI("FederateHandleNotKnown", b.rti->getFederateName(streaming));

  // Kill the server: each federate is told once, with a reason, and then refuses services
  // but still evokes and disconnects; the ambassador may connect again.
  a.take(), b.take();
  EXPECT_EQ(server.kill9(), "signal 9");
  for (Federate* fed : {&a, &b}) {
    ASSERT_TRUE(fed->waitForCount("connectionLost(", 1)) << tail(*fed);
    Lines const got = fed->take();
    auto const lost = [](std::string const& line) { return line.rfind("connectionLost(", 0) == 0; };
    EXPECT_EQ(std::count_if(got.begin(), got.end(), lost), 1) << tail(*fed);
    EXPECT_THAT(got.back(), StartsWith("connectionLost(\"")) << "connectionLost is the last callback";
    EXPECT_NE(got.back(), "connectionLost(\"\")");
    EXPECT_RTI_NAMING("NotConnected", "lost", fed->rti->getObjectClassHandle(L"Vehicle"));
    EXPECT_RTI_NAMING("NotConnected", "lost", fed->rti->timeAdvanceRequest(HLAinteger64Time(distant + 1)));
    EXPECT_RTI("NotConnected", fed->rti->resignFederationExecution(NO_ACTION));
    auto const start = Clock::now();
    EXPECT_OK(fed->rti->evokeCallback(0.05));
    EXPECT_OK(fed->rti->evokeMultipleCallbacks(0.05, 0.2));
    EXPECT_LT(since(start), 2.0);
    EXPECT_TRUE(fed->lines().empty()) << tail(*fed);
    EXPECT_OK(fed->rti->disconnect());
    EXPECT_RTI_NAMING("ConnectionFailed", "127.0.0.1:" + port, fed->rti->connect(*fed, fed->model, wide(address)));
    EXPECT_RTI("NotConnected", fed->rti->getObjectClassHandle(L"Vehicle"));
  }
}

// A save outlives its server: a federation saved through one server is restored through
// another started on the same save directory, by federates that joined again in another
// order, and goes on from where it was saved: who is who, what each owns, logical times.
TEST(Processes, AFederationRestoredAfterAServerRestartGoesOnWhereItWasSaved) {
  char directory[] = "/tmp/ostra-saves-XXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  auto const startServer = [&](std::string* address) {
    auto server = std::make_unique<Process>(std::vector<std::string>{OSTRA_JAVA, "-cp", OSTRA_SERVER_JAR,
        "org.vantor.ostra1516e.server.FederationServer", "--port", "0", "--save-dir", directory}, true);
    std::string const port = server->awaitOutput(std::regex("listening on [^\\s]*:([0-9]+)"), 30);
    *address = port.empty() ? "" : "rti://127.0.0.1:" + port;
    return server;
  };
  std::wstring const saved = L"Saved";
  std::string address;
  auto server = startServer(&address);
  ASSERT_NE(address, "") << server->output();
  Federate a(HLA_EVOKED), b(HLA_IMMEDIATE);
  for (Federate* fed : {&a, &b}) ASSERT_OK(fed->rti->connect(*fed, fed->model, wide(address)));
  ASSERT_OK(a.rti->createFederationExecution(saved, fom("Vehicles.xml"), L"HLAinteger64Time"));
  ASSERT_OK(a.join(L"a", saved));
  ASSERT_OK(b.join(L"b", saved));
  FederateHandle const first = a.handle, second = b.handle;
  ObjectClassHandle const vehicle = a.rti->getObjectClassHandle(L"Vehicle");
  AttributeHandle const position = a.rti->getAttributeHandle(vehicle, L"Position");
  a.rti->publishObjectClassAttributes(vehicle, {position});
  b.rti->subscribeObjectClassAttributes(vehicle, {position});
  ObjectInstanceHandle const car = a.rti->registerObjectInstance(vehicle);
  for (Federate* fed : {&a, &b}) {
    fed->rti->enableTimeRegulation(HLAinteger64Interval(1));
    ASSERT_TRUE(fed->waitFor(cb("timeRegulationEnabled", HLAinteger64Time(0)))) << tail(*fed);
    fed->rti->timeAdvanceRequest(HLAinteger64Time(3));
  }
  for (Federate* fed : {&a, &b}) ASSERT_TRUE(fed->waitFor(cb("timeAdvanceGrant", HLAinteger64Time(3)))) << tail(*fed);
  ASSERT_TRUE(b.waitForCount("discoverObjectInstance(", 1)) << tail(b);
  ASSERT_OK(b.rti->requestFederationSave(L"checkpoint"));
  for (Federate* fed : {&a, &b}) {
    ASSERT_TRUE(fed->waitFor(cb("initiateFederateSave", std::wstring(L"checkpoint")))) << tail(*fed);
    ASSERT_OK(fed->rti->federateSaveBegun());
    ASSERT_OK(fed->rti->federateSaveComplete());
  }
  for (Federate* fed : {&a, &b}) ASSERT_TRUE(fed->waitFor(cb("federationSaved"))) << tail(*fed);

  EXPECT_EQ(server->kill9(), "signal 9");
  for (Federate* fed : {&a, &b}) {
    ASSERT_TRUE(fed->waitForCount("connectionLost(", 1)) << tail(*fed);
    ASSERT_OK(fed->rti->disconnect());
  }
  server = startServer(&address);
  ASSERT_NE(address, "") << server->output();
  for (Federate* fed : {&a, &b}) {
    fed->take();
    ASSERT_OK(fed->rti->connect(*fed, fed->model, wide(address)));
  }
  // b comes back first: it takes the place of the first federate saved of its type, a.
  ASSERT_OK(b.rti->createFederationExecution(saved, fom("Vehicles.xml"), L"HLAinteger64Time"));
  ASSERT_OK(b.join(L"b2", saved));
  ASSERT_OK(a.join(L"a2", saved));
  EXPECT_RTI("ObjectInstanceNotKnown", a.rti->getObjectInstanceName(car)) << "not known before the restore";
  ASSERT_OK(a.rti->requestFederationRestore(L"nothing saved under this"));
  ASSERT_TRUE(a.waitFor(cb("requestFederationRestoreFailed", std::wstring(L"nothing saved under this")))) << tail(a);
  ASSERT_OK(a.rti->requestFederationRestore(L"checkpoint"));
  ASSERT_TRUE(a.waitFor(cb("requestFederationRestoreSucceeded", std::wstring(L"checkpoint")))) << tail(a);
  ASSERT_TRUE(b.waitFor(cb("initiateFederateRestore", std::wstring(L"checkpoint"), std::wstring(L"a"), first)))
      << tail(b);
  ASSERT_TRUE(a.waitFor(cb("initiateFederateRestore", std::wstring(L"checkpoint"), std::wstring(L"b"), second)))
      << tail(a);
  for (Federate* fed : {&a, &b}) {
    EXPECT_TRUE(fed->has(cb("federationRestoreBegun"))) << tail(*fed);
    EXPECT_RTI("RestoreInProgress", fed->rti->timeAdvanceRequest(HLAinteger64Time(4)));
    ASSERT_OK(fed->rti->federateRestoreComplete());
  }
  for (Federate* fed : {&a, &b}) ASSERT_TRUE(fed->waitFor(cb("federationRestored"))) << tail(*fed);

  // b is now a, the owner of the car, and a is b; both at time 3, advancing together.
  EXPECT_EQ(b.rti->getFederateName(first), L"a");
  EXPECT_TRUE(b.rti->isAttributeOwnedByFederate(car, position));
  EXPECT_FALSE(a.rti->isAttributeOwnedByFederate(car, position));
  EXPECT_EQ(a.rti->getObjectInstanceName(car), b.rti->getObjectInstanceName(car));
  for (Federate* fed : {&a, &b}) {
    HLAinteger64Time now;
    fed->rti->queryLogicalTime(now);
    EXPECT_EQ(now.getTime(), 3);
    fed->take();
    fed->rti->timeAdvanceRequest(HLAinteger64Time(4));
  }
  EXPECT_OK(b.rti->updateAttributeValues(car, {{position, VariableLengthData("p", 1)}}, VariableLengthData()));
  for (Federate* fed : {&a, &b}) EXPECT_TRUE(fed->waitFor(cb("timeAdvanceGrant", HLAinteger64Time(4)))) << tail(*fed);
  EXPECT_TRUE(a.waitForCount("reflectAttributeValues(", 1)) << tail(a);
  for (Federate* fed : {&b, &a}) EXPECT_OK(fed->rti->resignFederationExecution(DELETE_OBJECTS_THEN_DIVEST));
  EXPECT_OK(a.rti->destroyFederationExecution(saved));
  std::string const cleanup = std::string("rm -rf ") + directory;
  EXPECT_EQ(std::system(cleanup.c_str()), 0);
}

// ---- The streamer -----------------------------------------------------------------------

class Streamer : public NullFederateAmbassador {
 public:
  void timeRegulationEnabled(LogicalTime const&) override { regulating = true; }
  void timeConstrainedEnabled(LogicalTime const&) override { constrained = true; }
  void timeAdvanceGrant(LogicalTime const&) override { granted = true; }
  bool regulating = false, constrained = false, granted = false;
};

VariableLengthData number(int64_t n) { return VariableLengthData(&n, sizeof n); }

// stream joins the federation as "streamer", registers a vehicle, and once a line comes on
// its standard input regulates with lookahead 1 and updates forever: a time-stamped update
// at each step, and while it waits for each grant, receive-order updates. Killed, never ends.
int stream(std::string const& address) {
  Streamer fa;
  std::unique_ptr<RTIambassador> rti(RTIambassadorFactory().createRTIambassador().release());
  rti->connect(fa, HLA_EVOKED, wide(address));
  try {
    rti->createFederationExecution(federation, fom("Vehicles.xml"), L"HLAinteger64Time");
  } catch (FederationExecutionAlreadyExists const&) {
  }
  rti->joinFederationExecution(L"streamer", L"Streamer", federation);
  ObjectClassHandle const vehicle = rti->getObjectClassHandle(L"Vehicle");
  AttributeHandle const position = rti->getAttributeHandle(vehicle, L"Position");
  AttributeHandle const speed = rti->getAttributeHandle(vehicle, L"Speed");
  rti->publishObjectClassAttributes(vehicle, {position, speed});
  ObjectInstanceHandle const object = rti->registerObjectInstance(vehicle);
  char go;
  if (read(0, &go, 1) != 1) return 2;
  rti->enableTimeConstrained();
  while (!fa.constrained) rti->evokeCallback(0.1);
  rti->enableTimeRegulation(HLAinteger64Interval(1));
  while (!fa.regulating) rti->evokeCallback(0.1);
  HLAinteger64Time now;
  rti->queryLogicalTime(now);
  for (int64_t step = now.getTime(), n = 0;; ++step) {
    rti->updateAttributeValues(object, {{position, number(step)}}, VariableLengthData(), HLAinteger64Time(step + 1));
    fa.granted = false;
    rti->timeAdvanceRequest(HLAinteger64Time(step + 1));
    while (!fa.granted) {
      rti->updateAttributeValues(object, {{speed, number(n++)}}, VariableLengthData());
      rti->evokeCallback(0.005);
    }
  }
}

}  // namespace
}  // namespace ostra1516e

int main(int argc, char** argv) {
  signal(SIGPIPE, SIG_IGN);  // a child that died must fail a write, not end the test
  if (argc == 3 && std::strcmp(argv[1], "--streamer") == 0) {
    try {
      return ostra1516e::stream(argv[2]);
    } catch (rti1516e::Exception const& e) {
      std::fprintf(stderr, "streamer: %ls\n", e.what().c_str());
      return 3;
    }
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
