package org.vantor.ostra1516e.lrc;

import static org.junit.jupiter.api.Assertions.assertEquals;

import hla.rti1516e.exceptions.RTIexception;
import java.io.OutputStream;
import java.io.PrintStream;
import java.nio.ByteBuffer;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.stream.Stream;
import org.junit.jupiter.api.AfterAll;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import org.vantor.ostra1516e.engine.FederationEngine;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.time.TimeRepresentation;
import org.vantor.ostra1516e.server.FederationServer;
import org.vantor.ostra1516e.transport.InProcessTransport;
import org.vantor.ostra1516e.wire.CallbackMethod;
import org.vantor.ostra1516e.wire.FederateRestoreStatus;
import org.vantor.ostra1516e.wire.FederateSaveStatus;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.RetractionHandle;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * The time algorithms as scenarios: each step is one federate's call followed by what
 * every federate then receives. A step reads "{@code a tar 10 | a: grant 10; b: m@7}":
 * federate a asks to advance to 10; afterwards a is granted 10, b receives the message
 * tagged m at 7 (in time-stamp order; "m@7r" is receive order), and every other federate
 * receives nothing. Times and lookaheads are whole numbers, read in the scenario's time
 * representation.
 *
 * <p>Calls: {@code reg L} (regulation with lookahead L), {@code con}, {@code unreg},
 * {@code uncon}, {@code tar|tara|nmr|nmra|fqr T}, {@code send T tag} (a time-stamped
 * interaction), {@code ro tag} (one without a time), {@code retract tag}, {@code look L}
 * (modify lookahead), {@code async}, {@code resign}, and the queries {@code galt},
 * {@code lits}, {@code time}, {@code lookahead}, which answer as lines of their own;
 * {@code hold} leaves a federate's callbacks queued, undelivered, until {@code go}. A
 * call that throws shows as "!ExceptionClass". Saves, which time holds still for:
 * {@code save L [T]} asks for one, {@code begun}, {@code done} and {@code failed} report a
 * federate's part, {@code abort} and {@code query}; a federate hears "save L[@T]", "saved",
 * "not saved REASON" and "status S/S/..." (each federate's save status, by handle). And
 * restores: {@code restore L}, {@code restored}, {@code unrestored}, {@code rabort},
 * {@code rquery}; a federate hears "restore requested L" (or "refused"), "restore begun",
 * "restore L as NAME(HANDLE)", "restored", "not restored REASON" and "rstatus
 * BEFORE>AFTER:S/...".
 */
class TimeScenarioTest {
  private static final AtomicInteger NAMES = new AtomicInteger();
  private static final String VEHICLES =
      Path.of(System.getProperty("ostra.fomModules"), "Vehicles.xml").toString();

  /** A federation server on loopback, for the second run of every scenario. */
  private static FederationServer server;
  /** Where the scenarios' federations keep their saves. */
  @TempDir
  static Path saves;

  @BeforeAll
  static void startServer() throws Exception {
    server = new FederationServer(new FederationServer.Options("127.0.0.1", 0, 1000, 5000, 1 << 20, saves),
        new PrintStream(OutputStream.nullOutputStream()));
    server.start();
  }

  @AfterAll
  static void stopServer() {
    server.close();
  }

  /** Every scenario in process and through the server. */
  static Stream<Arguments> scenarios() {
    return table().flatMap(row -> Stream.of(Arguments.of(row.get()[0], row.get()[1], row.get()[2], false),
        Arguments.of(row.get()[0] + " (server)", row.get()[1], row.get()[2], true)));
  }

  static Stream<Arguments> table() {
    return Stream.of(
        scenario("the least of several regulators' bounds holds a constrained federate back",
            "a,b,c: a reg 1 con, b reg 3, c con",
            "c tar 10 |",
            "c galt | c: galt 1",
            "a tar 20 |",
            "c galt | c: galt 3",
            "b tar 9 | b: grant 9; c: grant 10",
            "b tar 12 | b: grant 12",
            "c tar 12 | c: grant 12",
            "c galt | c: galt 15",
            "b look 5 |",
            "a galt | a: galt 17"),
        scenario("zero lookahead: the Available forms let messages at the granted time through",
            "a,b: a b reg 0 con",
            "a send 0 x | a: !InvalidLogicalTime",
            "a nmra 0 | a: grant 0",
            "a send 0 x | a: !InvalidLogicalTime",
            "a tara 5 |",
            "b tara 5 | a: grant 5; b: grant 5",
            "a send 5 m |",
            "b tar 5 |",
            "a tar 6 | b: m@5, grant 5",
            "b send 5 n | b: !InvalidLogicalTime",
            "b tar 6 | a: grant 6; b: grant 6",
            "a tara 6 | a: grant 6",
            "a send 6 p | a: !InvalidLogicalTime"),
        scenario("a next-message request is granted at its next message, or at its time",
            "a,b: a b reg 1 con",
            "a send 3 m |",
            "a send 7 n |",
            "b nmr 10 |",
            "b time | b: time 0",
            "a tar 10 | b: m@3, grant 3",
            "b nmr 10 | b: n@7, grant 7",
            "b nmra 10 | a: grant 10; b: grant 10",
            "a nmr 20 |",
            "b nmr 20 | a: grant 20; b: grant 20"),
        scenario("two federates waiting for their next messages with zero lookahead do not deadlock",
            "a,b: a b reg 0 con",
            "a nmr 4 |",
            "b nmr 4 | a: grant 4; b: grant 4",
            "a send 6 m |",
            "a nmr 9 |",
            "b nmr 9 | b: m@6, grant 6",
            "b nmr 9 | a: grant 9; b: grant 9",
            "a nmra 20 |",
            "b tar 15 | b: grant 15",
            "b tar 22 | a: grant 20"),
        scenario("a flush delivers everything held and grants at the least of time, GALT and messages",
            "a,b: a b reg 1 con",
            "a send 5 m |",
            "a send 9 n |",
            "b fqr 20 | b: m@5, n@9, grant 1",
            "b time | b: time 1"),
        scenario("retraction removes held messages, asks receivers that had them, and only once",
            "a,b,c: a b reg 1 con",
            "a send 5 m | c: m@5r",
            "a send 6 n | c: n@6r",
            "a retract m | c: retraction",
            "a retract m | a: !MessageCanNoLongerBeRetracted",
            "b retract n | b: !InvalidMessageRetractionHandle",
            "a nmr 7 |",
            "b tar 6 | b: n@6, grant 6",
            "a retract n | b: retraction; c: retraction",
            "b tar 8 | a: grant 7",
            "a retract n | a: !MessageCanNoLongerBeRetracted"),
        scenario("receive-order messages wait for a constrained federate's advance unless asynchronous",
            "a,b: b con",
            "a ro m |",
            "b tar 3 | b: m@r, grant 3",
            "b async |",
            "a ro n | b: n@r",
            "b async | b: !AsynchronousDeliveryAlreadyEnabled"),
        scenario("leaving constraint delivers what was held, in receive order",
            "a,b: a reg 1, b con",
            "a send 4 m |",
            "b uncon | b: m@4r"),
        scenario("a smaller lookahead takes effect as time advances",
            "a,b: a reg 5, b con",
            "a look 2 |",
            "a lookahead | a: lookahead 5",
            "a send 4 m | a: !InvalidLogicalTime",
            "a tar 2 | a: grant 2",
            "a lookahead | a: lookahead 3",
            "b tar 4 | b: grant 4",
            "a tar 4 | a: grant 4",
            "a lookahead | a: lookahead 2",
            "a send 6 n |"),
        scenario("a new regulator starts where it cannot reach a constrained federate's granted time",
            "a,b: b con",
            "b tar 7 | b: grant 7",
            "a reg 3 | a: regulating 5",
            "a send 7 m | a: !InvalidLogicalTime",
            "a send 8 m |",
            "b tar 9 |",
            "a tar 7 | a: grant 7; b: m@8, grant 9"),
        scenario("leaving regulation or resigning releases those held back",
            "a,b,c: a b reg 2 con",
            "c con |",
            "c tar 10 |",
            "a tar 30 |",
            "b unreg | a: grant 30; c: grant 10",
            "b tar 40 |",
            "a resign | b: grant 40"),
        scenario("a save: every federate is told to save and reports; all hear it is saved",
            "a,b: a b reg 1 con",
            "a save s1 | a: save s1; b: save s1",
            "a tar 5 | a: !SaveInProgress",
            "b done | b: !FederateHasNotBegunSave",
            "a begun |",
            "a begun | a: !SaveNotInitiated",
            "a query | a: status 2/1",
            "a done |",
            "a save s2 | a: !SaveInProgress",
            "b begun |",
            "a query | a: status 3/2",
            "b done | a: saved; b: saved",
            "b query | b: status 0/0",
            "a tar 5 |",
            "b tar 5 | a: grant 5; b: grant 5"),
        scenario("a failed part fails the save for everyone; an abort ends one; a resignation ends one",
            "a,b,c: a reg 1",
            "b save s 4 | b: !FederateUnableToUseTime",
            "a save s | a: save s; b: save s; c: save s",
            "a begun |",
            "a failed |",
            "b begun |",
            "b done |",
            "c begun |",
            "c done | a: not saved federate reported failure; b: not saved federate reported failure;"
                + " c: not saved federate reported failure",
            "b abort | b: !SaveNotInProgress",
            "b save t | a: save t; b: save t; c: save t",
            "b abort | a: not saved aborted; b: not saved aborted; c: not saved aborted",
            "a save u | a: save u; b: save u; c: save u",
            "c resign | a: not saved federate resigned; b: not saved federate resigned"),
        scenario("a save at a time waits until every constrained federate reaches it",
            "a,b: a b reg 1 con",
            "a save s 3 |",
            "a save s 2 |",
            "a tar 2 |",
            "b tar 2 | a: grant 2, save s@2; b: grant 2, save s@2",
            "a begun |",
            "a done |",
            "b begun |",
            "b done | a: saved; b: saved",
            "a save t 1 | a: !LogicalTimeAlreadyPassed",
            "a save t 7 |",
            "a tar 10 |",
            "b tar 10 | a: grant 10, not saved time cannot be honored; b: not saved time cannot be honored, grant 10",
            "b save u 12 |",
            "a abort | a: not saved aborted; b: not saved aborted"),
        scenario("a restore brings back the saved federation: times, held messages, who is who",
            "a,b: a b reg 1 con",
            "a send 3 m |",
            "a save s | a: save s; b: save s",
            "a begun |",
            "a done |",
            "b begun |",
            "b done | a: saved; b: saved",
            "a tar 5 |",
            "b tar 5 | a: grant 5; b: m@3, grant 5",
            "b restore nowhere | b: restore refused nowhere",
            "b restore s | a: restore begun, restore s as a(1); b: restore requested s, restore begun,"
                + " restore s as b(2)",
            "a time | a: !RestoreInProgress",
            "a rquery | a: rstatus 1>1:4/2>2:4",
            "a restored |",
            "a restored | a: !RestoreNotRequested",
            "b restored | a: restored; b: restored",
            "a time | a: time 0",
            "b tar 5 |",
            "a tar 5 | a: grant 5; b: m@3, grant 5",
            "a restore s | a: restore requested s, restore begun, restore s as a(1); b: restore begun,"
                + " restore s as b(2)",
            "a unrestored |",
            "b restored | a: not restored federate reported failure; b: not restored federate reported failure",
            "a restore s | a: restore requested s, restore begun, restore s as a(1); b: restore begun,"
                + " restore s as b(2)",
            "b rabort | a: not restored aborted; b: not restored aborted",
            "b rabort | b: !RestoreNotInProgress"),
        scenario("a federate takes its saved state back in order with its callbacks: a grant still queued"
                + " at the restore does not move the restored time",
            "a,b: a b reg 1 con",
            "a save s | a: save s; b: save s",
            "a begun |",
            "a done |",
            "b begun |",
            "b done | a: saved; b: saved",
            "a hold |",
            "a tar 5 |",
            "b tar 5 | b: grant 5",
            "b restore s | b: restore requested s, restore begun, restore s as b(2)",
            "a go | a: grant 5, restore begun, restore s as a(1)",
            "a restored |",
            "b restored | a: restored; b: restored",
            "a time | a: time 0",
            "a tar 1 |",
            "b tar 1 | a: grant 1; b: grant 1"),
        scenario("float times advance by fractional lookaheads",
            "float a,b: a b reg 0.5 con",
            "a tar 1.25 |",
            "b galt | b: galt 1.75",
            "b tar 1.75 | a: grant 1.25",
            "a send 1.75 m |",
            "a tar 2 | a: grant 2; b: m@1.75, grant 1.75",
            "a tar 1e300 |",
            "b tar 1e300 | a: grant 1.0E300; b: grant 1.0E300"));
  }

  private static Arguments scenario(String name, String federates, String... steps) {
    return Arguments.of(name, federates, List.of(steps));
  }

  /**
   * The header names the federates and how they start: "a,b,c: a b reg 1 con" joins a, b
   * and c; a and b enable regulation (lookahead 1) and constraint; c stays unconstrained.
   * Every federate publishes and subscribes the interaction Collision (time-stamp order).
   */
  @ParameterizedTest(name = "{0}")
  @MethodSource("scenarios")
  void scenario(String name, String header, List<String> steps, boolean throughServer) throws Exception {
    boolean isFloat = header.startsWith("float ");
    String[] parts = header.replaceFirst("^float ", "").split(":", 2);
    Federation federation = new Federation(isFloat ? TimeRepresentation.FLOAT : TimeRepresentation.INTEGER,
        throughServer ? "rti://" + server.address() : "");
    for (String federate : parts[0].split(",")) {
      federation.join(federate.trim());
    }
    for (String setup : parts[1].split(",")) {
      String[] words = setup.trim().split(" +");
      List<String> who = new ArrayList<>();
      for (int i = 0; i < words.length; i++) {
        if (federation.federates.containsKey(words[i])) {
          who.add(words[i]);
        } else if (words[i].equals("reg")) {
          boolean hasLookahead = i + 1 < words.length && words[i + 1].matches("[0-9.]+");
          String lookahead = hasLookahead ? words[++i] : "0";
          for (String w : who) {
            federation.call(w, "reg " + lookahead);
          }
        } else if (words[i].equals("con")) {
          for (String w : who) {
            federation.call(w, "con");
          }
        }
      }
    }
    federation.drainAll(null);
    int number = 0;
    for (String step : steps) {
      number++;
      String[] callAndExpected = step.split("\\|", -1);
      String call = callAndExpected[0].trim();
      String actor = call.substring(0, call.indexOf(' '));
      federation.call(actor, call.substring(actor.length() + 1));
      assertEquals(expected(callAndExpected[1]), federation.drainAll(actor), name + ", step " + number + ": " + call);
    }
  }

  private static Map<String, List<String>> expected(String text) {
    Map<String, List<String>> lines = new LinkedHashMap<>();
    for (String part : text.split(";")) {
      if (part.isBlank()) {
        continue;
      }
      String[] who = part.split(":", 2);
      List<String> each = new ArrayList<>();
      for (String line : who[1].split(",")) {
        each.add(line.trim());
      }
      lines.put(who[0].trim(), each);
    }
    return lines;
  }

  /** Federation is one federation execution of scenario federates, in one engine. */
  private static final class Federation {
    final FederationEngine engine = new FederationEngine(0, saves);
    final String name = "time-" + NAMES.incrementAndGet();
    final TimeRepresentation times;
    final Map<String, Federate> federates = new LinkedHashMap<>();
    final Map<String, byte[]> handles = new HashMap<>();

    /** Where its federates connect: the empty designator for this engine, or the server's. */
    final String designator;

    Federation(String representation, String designator) throws RTIexception {
      this.designator = designator;
      times = TimeRepresentation.named(representation);
      LocalRtiComponent creator = new LocalRtiComponent(new InProcessTransport(engine), (fa, c) -> { });
      creator.connect(1, LocalRtiComponent.EVOKED, designator);
      creator.createFederationExecution(ServiceMethod.createFederationExecution_S_URL_S, name, List.of(VEHICLES),
          null, representation);
    }

    void join(String federate) throws RTIexception {
      Federate f = new Federate(this, federate);
      federates.put(federate, f);
    }

    byte[] time(String number) {
      double value = Double.parseDouble(number);
      return times == TimeRepresentation.named(TimeRepresentation.INTEGER)
          ? ByteBuffer.allocate(8).putLong((long) value).array()
          : ByteBuffer.allocate(8).putDouble(value).array();
    }

    String show(byte[] encoded) {
      if (encoded == null) {
        return "none";
      }
      if (times == TimeRepresentation.named(TimeRepresentation.INTEGER)) {
        return Long.toString(ByteBuffer.wrap(encoded).getLong());
      }
      double value = ByteBuffer.wrap(encoded).getDouble();
      return value == Math.rint(value) && Math.abs(value) < 1e15 ? Long.toString((long) value) : Double.toString(value);
    }

    void call(String actor, String call) {
      Federate f = federates.get(actor);
      try {
        f.call(call.split(" +"));
      } catch (RTIexception e) {
        f.lines.add("!" + e.getClass().getSimpleName());
      }
    }

    /** drainAll takes what every federate received after actor's call (null: after the set-up). */
    Map<String, List<String>> drainAll(String actor) throws RTIexception {
      if (!designator.isEmpty()) {
        // A round trip on each federate's connection, one after the other: once it returns,
        // the federation has handled what the step sent, and every event it had for that
        // federate came in ahead of the answer.
        List<Federate> order = new ArrayList<>();
        if (actor != null) {
          order.add(federates.get(actor));  // first the one whose call may still be on its way
        }
        order.addAll(federates.values());
        for (Federate f : order) {
          if (f.lrc.joinState() != null) {
            f.lrc.support().getFederateHandle(f.name);  // allowed while saving, unlike a time query
          }
        }
      }
      Map<String, List<String>> seen = new LinkedHashMap<>();
      for (Map.Entry<String, Federate> each : federates.entrySet()) {
        List<String> lines = each.getValue().drain();
        if (!lines.isEmpty()) {
          seen.put(each.getKey(), lines);
        }
      }
      return seen;
    }
  }

  private static final String[] RESTORE_FAILURES = {"rti unable to restore", "federate reported failure",
      "federate resigned", "rti detected failure", "aborted"};
  private static final String[] SAVE_FAILURES = {"rti unable to save", "federate reported failure",
      "federate resigned", "rti detected failure", "time cannot be honored", "aborted"};

  private static final class Federate {
    final Federation federation;
    final String name;
    final LocalRtiComponent lrc;
    final List<Callback> callbacks = new CopyOnWriteArrayList<>();
    final List<String> lines = new ArrayList<>();
    final int collision;
    /** Its callbacks stay queued: drain delivers none. */
    boolean held;

    Federate(Federation federation, String name) throws RTIexception {
      this.federation = federation;
      this.name = name;
      lrc = new LocalRtiComponent(new InProcessTransport(federation.engine), (fa, c) -> callbacks.add(c));
      lrc.connect(1, LocalRtiComponent.EVOKED, federation.designator);
      lrc.joinFederationExecution(ServiceMethod.joinFederationExecution_S_S_S_URLX, name, "test", federation.name,
          List.of());
      collision = lrc.support().getInteractionClassHandle("Collision");
      lrc.objects().publishInteractionClass(collision);
      lrc.objects().subscribeInteractionClass(collision, true);
    }

    void call(String[] words) throws RTIexception {
      TimeServices time = lrc.time();
      switch (words[0]) {
        case "reg" -> time.enableTimeRegulation(federation.time(words[1]));
        case "con" -> time.enableTimeConstrained();
        case "unreg" -> time.disableTimeRegulation();
        case "uncon" -> time.disableTimeConstrained();
        case "tar" -> time.timeAdvanceRequest(ServiceMethod.timeAdvanceRequest_LT, TimeMessages.TIME_ADVANCE,
            federation.time(words[1]));
        case "tara" -> time.timeAdvanceRequest(ServiceMethod.timeAdvanceRequestAvailable_LT,
            TimeMessages.TIME_ADVANCE_AVAILABLE, federation.time(words[1]));
        case "nmr" -> time.timeAdvanceRequest(ServiceMethod.nextMessageRequest_LT, TimeMessages.NEXT_MESSAGE,
            federation.time(words[1]));
        case "nmra" -> time.timeAdvanceRequest(ServiceMethod.nextMessageRequestAvailable_LT,
            TimeMessages.NEXT_MESSAGE_AVAILABLE, federation.time(words[1]));
        case "fqr" -> time.timeAdvanceRequest(ServiceMethod.flushQueueRequest_LT, TimeMessages.FLUSH_QUEUE,
            federation.time(words[1]));
        case "send" -> federation.handles.put(words[2], lrc.objects().sendInteraction(
            ServiceMethod.sendInteraction_ICH_PHVM_BX_LT, collision, HandleValues.of(), tag(words[2]),
            federation.time(words[1])));
        case "ro" -> lrc.objects().sendInteraction(ServiceMethod.sendInteraction_ICH_PHVM_BX, collision,
            HandleValues.of(), tag(words[1]), null);
        case "retract" -> {
          ByteBuffer handle = ByteBuffer.wrap(federation.handles.get(words[1]));
          int serial = handle.getInt();
          byte[] payload = new byte[handle.getInt()];
          handle.get(payload);
          time.retract(new RetractionHandle(serial, payload));
        }
        case "look" -> time.modifyLookahead(federation.time(words[1]));
        case "async" -> time.setAsynchronousDelivery(true);
        case "hold" -> held = true;
        case "go" -> held = false;
        case "resign" -> lrc.resignFederationExecution(5);
        case "save" -> lrc.requestFederationSave(ServiceMethod.requestFederationSave_S_LT, words[1],
            words.length > 2 ? federation.time(words[2]) : null);
        case "begun" -> lrc.federateSaveBegun();
        case "done" -> lrc.federateSaveComplete(ServiceMethod.federateSaveComplete, true);
        case "failed" -> lrc.federateSaveComplete(ServiceMethod.federateSaveNotComplete, false);
        case "abort" -> lrc.abortFederationSave();
        case "query" -> lrc.queryFederationSaveStatus();
        case "restore" -> lrc.requestFederationRestore(words[1]);
        case "restored" -> lrc.federateRestoreComplete(ServiceMethod.federateRestoreComplete, true);
        case "unrestored" -> lrc.federateRestoreComplete(ServiceMethod.federateRestoreNotComplete, false);
        case "rabort" -> lrc.abortFederationRestore();
        case "rquery" -> lrc.queryFederationRestoreStatus();
        case "galt" -> lines.add("galt " + federation.show(time.query(ServiceMethod.queryGALT)));
        case "lits" -> lines.add("lits " + federation.show(time.query(ServiceMethod.queryLITS)));
        case "time" -> lines.add("time " + federation.show(time.queryLogicalTime()));
        case "lookahead" -> lines.add("lookahead " + federation.show(time.queryLookahead()));
        default -> throw new IllegalArgumentException("no such call: " + words[0]);
      }
    }

    private static byte[] tag(String text) {
      return text.getBytes(StandardCharsets.UTF_8);
    }

    List<String> drain() throws RTIexception {
      if (lrc.joinState() != null && !held) {
        while (lrc.evokeMultipleCallbacks(0, 0.05)) {
          // until nothing is pending
        }
      }
      List<String> seen = new ArrayList<>(lines);
      lines.clear();
      for (Callback c : callbacks) {
        String line = line(c);
        if (line != null) {
          seen.add(line);
        }
      }
      callbacks.clear();
      return seen;
    }

    private String line(Callback c) {
      Object[] a = c.args();
      CallbackMethod m = c.method();
      if (m == CallbackMethod.timeAdvanceGrant_LT_Native) {
        return "grant " + federation.show((byte[]) a[0]);
      } else if (m == CallbackMethod.timeRegulationEnabled_LT_Native) {
        return "regulating " + federation.show((byte[]) a[0]);
      } else if (m == CallbackMethod.initiateFederateSave_S_Native) {
        return "save " + a[0];
      } else if (m == CallbackMethod.initiateFederateSave_S_LT_Native) {
        return "save " + a[0] + "@" + federation.show((byte[]) a[1]);
      } else if (m == CallbackMethod.federationSaved_Native) {
        return "saved";
      } else if (m == CallbackMethod.federationNotSaved_SFR_Native) {
        return "not saved " + SAVE_FAILURES[(Integer) a[0]];
      } else if (m == CallbackMethod.federationSaveStatusResponse_FHSSPX_Native) {
        return "status " + ((List<?>) a[0]).stream().map(e -> "" + ((FederateSaveStatus) e).status())
            .collect(java.util.stream.Collectors.joining("/"));
      } else if (m == CallbackMethod.requestFederationRestoreSucceeded_S_Native) {
        return "restore requested " + a[0];
      } else if (m == CallbackMethod.requestFederationRestoreFailed_S_Native) {
        return "restore refused " + a[0];
      } else if (m == CallbackMethod.federationRestoreBegun_Native) {
        return "restore begun";
      } else if (m == CallbackMethod.initiateFederateRestore_S_S_FH_Native) {
        return "restore " + a[0] + " as " + a[1] + "(" + a[2] + ")";
      } else if (m == CallbackMethod.federationRestored_Native) {
        return "restored";
      } else if (m == CallbackMethod.federationNotRestored_RFR_Native) {
        return "not restored " + RESTORE_FAILURES[(Integer) a[0]];
      } else if (m == CallbackMethod.federationRestoreStatusResponse_FRSX_Native) {
        return "rstatus " + ((List<?>) a[0]).stream().map(e -> (FederateRestoreStatus) e)
            .map(e -> e.preRestoreHandle() + ">" + e.postRestoreHandle() + ":" + e.status())
            .collect(java.util.stream.Collectors.joining("/"));
      } else if (m == CallbackMethod.requestRetraction_MRH_Native) {
        return "retraction";
      } else if (m.name().startsWith("receiveInteraction")) {
        String tag = new String((byte[]) a[2], StandardCharsets.UTF_8);
        boolean timed = a.length > 6;
        boolean timeStampOrder = timed && (Integer) a[6] == 1;
        return tag + "@" + (timed ? federation.show((byte[]) a[5]) : "") + (timeStampOrder ? "" : "r");
      }
      return null;  // constraint enabled, discoveries and the like
    }
  }
}
