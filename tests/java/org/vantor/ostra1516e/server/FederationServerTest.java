package org.vantor.ostra1516e.server;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import hla.rti1516e.exceptions.ConnectionFailed;
import hla.rti1516e.exceptions.InvalidLocalSettingsDesignator;
import hla.rti1516e.exceptions.NotConnected;
import hla.rti1516e.exceptions.RTIexception;
import java.io.ByteArrayOutputStream;
import java.io.OutputStream;
import java.io.PrintStream;
import java.net.Socket;
import java.nio.ByteBuffer;
import java.nio.file.Path;
import java.util.List;
import java.util.Random;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.stream.Collectors;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.vantor.ostra1516e.engine.FederationEngine;
import org.vantor.ostra1516e.lrc.Callback;
import org.vantor.ostra1516e.lrc.LocalRtiComponent;
import org.vantor.ostra1516e.message.FederationMessages;
import org.vantor.ostra1516e.message.ObjectMessages;
import org.vantor.ostra1516e.transport.FrameBuffer;
import org.vantor.ostra1516e.transport.MessageCodec;
import org.vantor.ostra1516e.transport.InProcessTransport;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.RetractionHandle;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * The federation server as federates meet it: a federation through it, a federate that
 * vanishes, a server that stops, and peers that send it garbage or pose as others.
 */
class FederationServerTest {
  private static final int EVOKED = 1;  // the wire number of HLA_EVOKED
  private static final String VEHICLES =
      Path.of(System.getProperty("ostra.fomModules"), "Vehicles.xml").toString();
  private final ByteArrayOutputStream log = new ByteArrayOutputStream();
  private FederationServer server;

  @BeforeEach
  void start() throws Exception {
    server = new FederationServer(new FederationServer.Options("127.0.0.1", 0, 50, 400, 1 << 20),
        new PrintStream(log, true));
    server.start();
  }

  @AfterEach
  void stop() {
    server.close();
  }

  /** Federate is a component connected to the server, with a recording sink. */
  private final class Federate {
    final LocalRtiComponent lrc;
    final List<Callback> seen = new CopyOnWriteArrayList<>();

    Federate(String name, String federation) throws RTIexception {
      lrc = new LocalRtiComponent(new InProcessTransport(new FederationEngine()), (fa, c) -> seen.add(c));
      lrc.connect(1, EVOKED, "rti://" + server.address());
      if (name != null) {
        lrc.joinFederationExecution(ServiceMethod.joinFederationExecution_S_S_S_URLX, name, "test", federation,
            List.of());
      }
    }

    /** waitFor evokes until a callback of the method named arrives, for 5 s at most. */
    String waitFor(String method) throws RTIexception {
      long deadline = System.nanoTime() + 5_000_000_000L;
      while (System.nanoTime() < deadline) {
        lrc.evokeMultipleCallbacks(0.01, 0.05);
        for (Callback c : seen) {
          if (c.method().name().startsWith(method)) {
            return c.method().name() + java.util.Arrays.deepToString(c.args());
          }
        }
      }
      throw new AssertionError("no " + method + "; saw " + seen.stream().map(c -> c.method().name() + java.util.Arrays.deepToString(c.args()))
          .collect(Collectors.toList()));
    }
  }

  private void create(String federation) throws RTIexception {
    Federate creator = new Federate(null, null);
    creator.lrc.createFederationExecution(ServiceMethod.createFederationExecution_S_URL_S, federation,
        List.of(VEHICLES), null, "HLAinteger64Time");
    creator.lrc.disconnect();
  }

  @Test
  void aLostFederateIsResignedAndAStoppedServerLosesEveryone() throws Exception {
    create("lost");
    Federate a = new Federate("a", "lost");
    Federate b = new Federate("b", "lost");
    int vehicle = a.lrc.support().getObjectClassHandle("Vehicle");
    int position = a.lrc.support().getAttributeHandle(vehicle, "Position");
    a.lrc.objects().publishObjectClassAttributes(vehicle, new int[] {position});
    b.lrc.objects().subscribeObjectClassAttributes(vehicle, new int[] {position}, true, "");
    b.lrc.support().getFederateHandle("b");  // a round trip: b's subscription has arrived
    a.lrc.objects().registerObjectInstance(ServiceMethod.registerObjectInstance_OCH, vehicle, null);
    b.waitFor("discoverObjectInstance");

    a.lrc.abandon();  // as if its process died: the socket closes, nobody resigns
    b.waitFor("removeObjectInstance");
    String logged = log.toString();
    assertTrue(logged.contains("joined lost: a at 127.0.0.1:") && logged.contains("lost a at"), logged);

    server.close();
    assertTrue(b.waitFor("connectionLost").contains("127.0.0.1"));
    RTIexception after = assertThrows(NotConnected.class, () -> b.lrc.support().getObjectClassHandle("Vehicle"));
    assertTrue(after.getMessage().contains("connection to the federation was lost"), after.getMessage());
    b.lrc.disconnect();
  }

  @Test
  void designatorsThatNameNoServer() throws Exception {
    LocalRtiComponent lrc = new LocalRtiComponent(new InProcessTransport(new FederationEngine()), (fa, c) -> { });
    for (String bad : List.of("rti://", "rti://host:0", "rti://host:99999", "rti://[::1", "rti://a b", "tcp://x")) {
      assertThrows(InvalidLocalSettingsDesignator.class, () -> lrc.connect(1, EVOKED, bad), bad);
    }
    RTIexception refused = assertThrows(ConnectionFailed.class,
        () -> lrc.connect(1, EVOKED, "rti://127.0.0.1:1"));
    assertTrue(refused.getMessage().contains("127.0.0.1:1"), refused.getMessage());
  }

  /**
   * Garbage of every kind on many connections, each closed by the server with a reason, and
   * then a federation that works as if nothing had happened.
   */
  @Test
  void badInputClosesOnlyItsOwnConnection() throws Exception {
    long seed = Long.getLong("ostra.seed", System.nanoTime());
    Random random = new Random(seed);
    FrameBuffer hello = new FrameBuffer();
    MessageCodec.writeHello(hello, "test");
    byte[] greeting = hello.toByteArray();
    FrameBuffer valid = new FrameBuffer();
    new MessageCodec().encode(new FederationMessages.ListExecutions(), 7, valid);
    for (int round = 0; round < 24; round++) {
      try (Socket socket = new Socket("127.0.0.1", server.port())) {
        OutputStream out = socket.getOutputStream();
        byte[] junk;
        switch (round % 4) {
          case 0 -> junk = randomBytes(random, 8 + random.nextInt(64));  // no hello at all
          case 1 -> junk = concat(greeting, ByteBuffer.allocate(4).putInt(Integer.MAX_VALUE).array());
          case 2 -> {
            byte[] frame = valid.toByteArray();
            frame[4 + random.nextInt(frame.length - 4)] ^= (byte) (1 + random.nextInt(255));
            junk = concat(greeting, frame);
          }
          default -> junk = concat(greeting, randomBytes(random, 1 + random.nextInt(200)));
        }
        out.write(junk);
        out.flush();
        socket.setSoTimeout(2000);
        // The server answers with its hello (and perhaps a frame), then closes: read to the end.
        while (socket.getInputStream().read(new byte[4096]) >= 0) {
          // draining
        }
      } catch (java.net.SocketException | java.net.SocketTimeoutException e) {
        // reset by the server: closed as well
      }
    }

    create("after-garbage");
    Federate a = new Federate("a", "after-garbage");
    Federate b = new Federate("b", "after-garbage");
    int collision = a.lrc.support().getInteractionClassHandle("Collision");
    a.lrc.objects().publishInteractionClass(collision);
    b.lrc.objects().subscribeInteractionClass(collision, true);
    b.lrc.support().getFederateHandle("b");  // a round trip: b's subscription has arrived
    a.lrc.objects().sendInteraction(ServiceMethod.sendInteraction_ICH_PHVM_BX, collision, HandleValues.of(),
        new byte[] {1}, null);
    assertTrue(b.waitFor("receiveInteraction").contains("[1]"), "seed " + seed);
  }

  @Test
  void aMessageThatPosesAsAnotherFederateClosesItsConnection() throws Exception {
    create("forged");
    Federate a = new Federate("a", "forged");
    int collision = a.lrc.support().getInteractionClassHandle("Collision");
    a.lrc.objects().publishInteractionClass(collision);
    // A frame written by hand: a time-stamped interaction whose retraction handle names federate 99.
    try (Socket socket = new Socket("127.0.0.1", server.port())) {
      FrameBuffer out = new FrameBuffer();
      MessageCodec.writeHello(out, "forger");
      MessageCodec codec = new MessageCodec();
      codec.encode(new FederationMessages.Join("forged", "f", "test", List.of()), 1, out);
      codec.encode(new ObjectMessages.SendInteraction(collision, HandleValues.of(), new byte[0], 1, new byte[8],
          new RetractionHandle(1, ByteBuffer.allocate(4).putInt(99).array()), null), 0, out);
      socket.getOutputStream().write(out.array(), 0, out.length());
      socket.setSoTimeout(3000);
      while (socket.getInputStream().read(new byte[4096]) >= 0) {
        // until the server closes
      }
    }
    String logged = log.toString();
    assertTrue(logged.contains("names federate 99"), logged);
    assertEquals(1, a.lrc.support().getFederateHandle("a"), "the federate that kept to itself goes on");
  }

  private static byte[] randomBytes(Random random, int n) {
    byte[] bytes = new byte[n];
    random.nextBytes(bytes);
    return bytes;
  }

  private static byte[] concat(byte[] a, byte[] b) {
    byte[] both = java.util.Arrays.copyOf(a, a.length + b.length);
    System.arraycopy(b, 0, both, a.length, b.length);
    return both;
  }
}
