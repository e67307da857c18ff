package org.vantor.ostra1516e.server;

import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import hla.rti1516e.exceptions.NameNotFound;
import hla.rti1516e.exceptions.NotConnected;
import hla.rti1516e.exceptions.RTIexception;
import java.io.BufferedReader;
import java.io.File;
import java.io.IOException;
import java.io.InputStreamReader;
import java.nio.ByteBuffer;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.concurrent.TimeUnit;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.Test;
import org.vantor.ostra1516e.engine.FederationEngine;
import org.vantor.ostra1516e.lrc.Callback;
import org.vantor.ostra1516e.lrc.LocalRtiComponent;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.transport.InProcessTransport;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * Processes that die or freeze: a federate killed in the middle of an update stream and of
 * a time advance, a frozen federate, a server killed and one frozen under their federates,
 * and servers side by side. Servers and those federates are separate Java processes, killed
 * with SIGKILL or frozen with SIGSTOP.
 */
class ProcessFaultsTest {
  private static final int EVOKED = 1;  // the wire number of HLA_EVOKED
  private static final String VEHICLES =
      Path.of(System.getProperty("ostra.fomModules"), "Vehicles.xml").toString();
  private final List<Process> processes = new ArrayList<>();

  @AfterEach
  void killAll() {
    processes.forEach(Process::destroyForcibly);
  }

  /** spawn starts a Java process of this class path running main with args; it waits for a line matching ready. */
  private Matcher spawn(String main, Pattern ready, String... args) throws IOException {
    // The core's classes and these tests' classes, wherever the test launcher found them.
    String classPath = location(FederationServer.class) + File.pathSeparator + location(ProcessFaultsTest.class);
    List<String> command = new ArrayList<>(List.of(Path.of(System.getProperty("java.home"), "bin", "java").toString(),
        "-cp", classPath, "-Dostra.fomModules=" + System.getProperty("ostra.fomModules"), main));
    command.addAll(List.of(args));
    Process process = new ProcessBuilder(command).redirectErrorStream(true).redirectInput(new File("/dev/null"))
        .start();
    processes.add(process);
    BufferedReader out = new BufferedReader(new InputStreamReader(process.getInputStream(), StandardCharsets.UTF_8));
    StringBuilder seen = new StringBuilder();
    for (String line; (line = out.readLine()) != null;) {
      seen.append(line).append('\n');
      Matcher m = ready.matcher(line);
      if (m.find()) {
        Thread drain = new Thread(() -> out.lines().forEach(l -> { }));
        drain.setDaemon(true);
        drain.start();
        return m;
      }
    }
    throw new AssertionError(main + " ended before it was ready:\n" + seen);
  }

  private static String location(Class<?> c) {
    try {
      return Path.of(c.getProtectionDomain().getCodeSource().getLocation().toURI()).toString();
    } catch (java.net.URISyntaxException e) {
      throw new IllegalStateException(e);
    }
  }

  private String startServer() throws IOException {
    return spawn(FederationServer.class.getName(), Pattern.compile("listening on (\\S+)"), "--port", "0",
        "--heartbeat-interval", "100", "--heartbeat-timeout", "2000").group(1);
  }

  private static final class Federate {
    final LocalRtiComponent lrc;
    final List<Callback> seen = new CopyOnWriteArrayList<>();

    Federate(String address) throws RTIexception {
      lrc = new LocalRtiComponent(new InProcessTransport(new FederationEngine()), (fa, c) -> seen.add(c));
      lrc.connect(1, EVOKED, "rti://" + address);
    }

    void join(String name, String federation) throws RTIexception {
      lrc.joinFederationExecution(ServiceMethod.joinFederationExecution_S_S_S_URLX, name, "test", federation,
          List.of());
    }

    /** listening tells whether the federate called listening is still joined. */
    boolean listening() throws RTIexception {
      try {
        lrc.support().getFederateHandle("listening");
        return true;
      } catch (NameNotFound e) {
        return false;
      }
    }

    boolean saw(String method) {
      return seen.stream().anyMatch(c -> c.method().name().startsWith(method));
    }

    void waitFor(String method, double seconds) throws RTIexception {
      long deadline = System.nanoTime() + (long) (seconds * 1e9);
      while (!saw(method)) {
        if (System.nanoTime() > deadline) {
          throw new AssertionError("no " + method + " within " + seconds + " s");
        }
        lrc.evokeMultipleCallbacks(0.01, 0.05);
      }
    }
  }

  /** watching is a federate that created federation on server, joined it and subscribes every vehicle's speed. */
  private static Federate watching(String server, String federation) throws RTIexception {
    Federate watcher = new Federate(server);
    watcher.lrc.createFederationExecution(ServiceMethod.createFederationExecution_S_URL_S, federation,
        List.of(VEHICLES), null, "HLAinteger64Time");
    watcher.join("watcher", federation);
    int vehicle = watcher.lrc.support().getObjectClassHandle("Vehicle");
    int speed = watcher.lrc.support().getAttributeHandle(vehicle, "Speed");
    watcher.lrc.objects().subscribeObjectClassAttributes(vehicle, new int[] {speed}, true, "");
    return watcher;
  }

  private static byte[] time(long t) {
    return ByteBuffer.allocate(8).putLong(t).array();
  }

  @Test
  void aKilledFederateIsResignedMidStreamAndMidAdvance() throws Exception {
    String server = startServer();
    Federate watcher = watching(server, "killed");
    watcher.lrc.time().enableTimeConstrained();
    watcher.lrc.time().setAsynchronousDelivery(true);  // reflections while not advancing
    watcher.waitFor("timeConstrainedEnabled", 5);

    spawn(StreamingFederate.class.getName(), Pattern.compile("streaming"), server, "killed");
    Process streaming = processes.get(processes.size() - 1);
    watcher.waitFor("reflectAttributeValues", 5);
    // Held back by the streaming federate, which regulates and never gets past time 1.
    watcher.lrc.time().timeAdvanceRequest(ServiceMethod.timeAdvanceRequest_LT, TimeMessages.TIME_ADVANCE, time(100));
    Thread.sleep(200);
    watcher.lrc.evokeMultipleCallbacks(0.01, 0.05);
    assertTrue(!watcher.saw("timeAdvanceGrant"), "held back by the streaming federate");

    streaming.destroyForcibly().waitFor(5, TimeUnit.SECONDS);
    watcher.waitFor("removeObjectInstance", 5);
    watcher.waitFor("timeAdvanceGrant", 5);
  }

  @Test
  void aFrozenFederateIsResignedAfterTheTimeoutAndTheOthersGoOn() throws Exception {
    String server = startServer();
    Federate watcher = watching(server, "frozen");
    spawn(StreamingFederate.class.getName(), Pattern.compile("streaming"), server, "frozen", "listen");
    Process listener = processes.get(processes.size() - 1);
    spawn(StreamingFederate.class.getName(), Pattern.compile("streaming"), server, "frozen");
    watcher.waitFor("reflectAttributeValues", 5);

    // The frozen listener stops reading; the server holds the stream back until the
    // heartbeat timeout (2 s) resigns it, and then the stream flows again.
    new ProcessBuilder("kill", "-STOP", Long.toString(listener.pid())).start().waitFor();
    long frozen = System.nanoTime();
    while (watcher.listening()) {
      assertTrue(System.nanoTime() - frozen < TimeUnit.SECONDS.toNanos(10), "the frozen federate was never resigned");
      Thread.sleep(100);
    }
    assertTrue(System.nanoTime() - frozen > TimeUnit.MILLISECONDS.toNanos(1500), "resigned before the timeout");
    watcher.lrc.evokeMultipleCallbacks(0, 0);
    watcher.seen.clear();
    watcher.waitFor("reflectAttributeValues", 5);
    watcher.lrc.support().getFederateHandle("streaming");
  }

  @Test
  void killedAndFrozenServersLoseTheirFederatesAndServersRunSideBySide() throws Exception {
    Federate[] federates = new Federate[3];  // on a server killed, one frozen, one that goes on
    for (int i = 0; i < 3; i++) {
      federates[i] = new Federate(startServer());
      federates[i].lrc.createFederationExecution(ServiceMethod.createFederationExecution_S_URL_S, "same-name",
          List.of(VEHICLES), null, "HLAinteger64Time");  // one federation of this name on each server
      federates[i].join("f", "same-name");
      int collision = federates[i].lrc.support().getInteractionClassHandle("Collision");
      federates[i].lrc.objects().publishInteractionClass(collision);
    }
    processes.get(0).destroyForcibly().waitFor(5, TimeUnit.SECONDS);
    // A frozen server falls silent: its federate gives up after the server's own timeout (2 s).
    new ProcessBuilder("kill", "-STOP", Long.toString(processes.get(1).pid())).start().waitFor();
    for (int i = 0; i < 2; i++) {
      Federate lost = federates[i];
      lost.waitFor("connectionLost", 4);
      RTIexception refused = assertThrows(NotConnected.class, () -> lost.lrc.objects().sendInteraction(
          ServiceMethod.sendInteraction_ICH_PHVM_BX, 1, HandleValues.of(), new byte[0], null));
      assertTrue(refused.getMessage().contains("lost"), refused.getMessage());
      lost.lrc.disconnect();
    }
    assertTrue(!federates[2].saw("connectionLost"));
    federates[2].lrc.support().getFederateHandle("f");  // the third server still answers
  }

  /**
   * StreamingFederate runs in a process of its own: it regulates with lookahead 1 and
   * updates its vehicle as fast as it can, never advancing, until it is killed. With a third
   * argument it is "listening" instead: it subscribes the vehicles and evokes forever.
   */
  public static final class StreamingFederate {
    public static void main(String[] args) throws Exception {
      LocalRtiComponent lrc = new LocalRtiComponent(new InProcessTransport(new FederationEngine()), (fa, c) -> { });
      lrc.connect(1, EVOKED, "rti://" + args[0]);
      boolean listening = args.length > 2;
      lrc.joinFederationExecution(ServiceMethod.joinFederationExecution_S_S_S_URLX,
          listening ? "listening" : "streaming", "test", args[1], List.of());
      int vehicle = lrc.support().getObjectClassHandle("Vehicle");
      int speed = lrc.support().getAttributeHandle(vehicle, "Speed");
      if (listening) {
        lrc.objects().subscribeObjectClassAttributes(vehicle, new int[] {speed}, true, "");
        System.out.println("streaming");  // what the test waits for
        System.out.flush();
        for (;;) {
          lrc.evokeMultipleCallbacks(0.1, 0.1);
        }
      }
      lrc.objects().publishObjectClassAttributes(vehicle, new int[] {speed});
      lrc.time().enableTimeRegulation(time(1));
      int object = lrc.objects().registerObjectInstance(ServiceMethod.registerObjectInstance_OCH, vehicle, null);
      System.out.println("streaming");
      System.out.flush();
      for (long n = 0;; n++) {
        lrc.objects().updateAttributeValues(ServiceMethod.updateAttributeValues_OIH_AHVM_BX, object,
            HandleValues.of(speed, ByteBuffer.allocate(8).putLong(n).array()), new byte[0], null);
        lrc.evokeMultipleCallbacks(0, 0);
      }
    }
  }
}
