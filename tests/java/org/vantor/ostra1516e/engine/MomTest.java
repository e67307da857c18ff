package org.vantor.ostra1516e.engine;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.ByteBuffer;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HexFormat;
import java.util.List;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.concurrent.atomic.AtomicReference;
import org.junit.jupiter.api.Test;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.fom.FomModule;
import org.vantor.ostra1516e.message.DeclarationMessages;
import org.vantor.ostra1516e.message.Event;
import org.vantor.ostra1516e.message.FederationMessages;
import org.vantor.ostra1516e.message.Message;
import org.vantor.ostra1516e.message.MomMessages;
import org.vantor.ostra1516e.message.ObjectMessages;
import org.vantor.ostra1516e.message.RegionMessages;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.message.SyncMessages;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.MomValues;

/** The management objects and interactions, as a monitoring federate sees them at the engine's edge. */
class MomTest {
  private static final String MGR = "HLAinteractionRoot.HLAmanager.";
  private static final String VEHICLES = Path.of(System.getProperty("ostra.fomModules"), "Vehicles.xml").toString();

  /** Peer is a federate at the engine's edge: its session and everything the engine sent it. */
  static final class Peer {
    final List<Event> events = new CopyOnWriteArrayList<>();
    final Session session;
    int handle;
    FomModel model;

    Peer(FederationEngine engine) {
      session = engine.openSession(events::add);
    }

    Reply ask(Message message) {
      AtomicReference<Reply> reply = new AtomicReference<>();
      session.handle(message, reply::set);
      return reply.get();
    }

    int object(String name) {
      return model.objectClassHandle(name);
    }

    int interaction(String name) {
      return model.interactionClassHandle(MGR + name);
    }

    /** send sends a MOM interaction with parameters as name and value pairs. */
    void send(String name, Object... pairs) {
      int c = interaction(name);
      int[] handles = new int[pairs.length / 2];
      byte[][] values = new byte[pairs.length / 2][];
      for (int i = 0; i < handles.length; i++) {
        handles[i] = model.parameterHandle(c, (String) pairs[2 * i]);
        values[i] = (byte[]) pairs[2 * i + 1];
      }
      ask(new DeclarationMessages.PublishInteractionClass(c));
      ask(new ObjectMessages.SendInteraction(c, new HandleValues(handles, values), new byte[0], 0, null, null, null));
    }

    /** received is the interactions of a MOM class received so far, oldest first. */
    List<ObjectMessages.Receive> received(String name) {
      int c = interaction(name);
      return events.stream().filter(e -> e instanceof ObjectMessages.Receive r && r.receivedClass() == c)
          .map(e -> (ObjectMessages.Receive) e).toList();
    }

    byte[] parameter(ObjectMessages.Receive r, String name) {
      int p = model.parameterHandle(r.receivedClass(), name);
      for (int i = 0; i < r.parameters().size(); i++) {
        if (r.parameters().handle(i) == p) {
          return r.parameters().value(i);
        }
      }
      return null;
    }

    /** latest is the last value reflected of an attribute of the object, or null. */
    byte[] latest(int object, String className, String attribute) {
      int a = model.attributeHandle(object(className), attribute);
      byte[] value = null;
      for (Event e : events) {
        if (e instanceof ObjectMessages.Reflect r && r.object() == object) {
          for (int i = 0; i < r.values().size(); i++) {
            value = r.values().handle(i) == a ? r.values().value(i) : value;
          }
        }
      }
      return value;
    }

    /** objectNamed is the handle of the discovered object of that name. */
    int objectNamed(String name) {
      return events.stream().filter(e -> e instanceof ObjectMessages.Discover d && d.name().equals(name))
          .mapToInt(e -> ((ObjectMessages.Discover) e).object()).findFirst().orElse(-1);
    }
  }

  private static Peer join(FederationEngine engine, String name) {
    Peer peer = new Peer(engine);
    Reply reply = peer.ask(new FederationMessages.Join("watched", name, name.equals("monitor") ? "monitor"
        : "simulator", List.of()));
    Reply.Joined joined = (Reply.Joined) reply;
    peer.handle = joined.federate();
    peer.model = joined.model();
    return peer;
  }

  /** monitor joins a new federation and subscribes every MOM attribute and report. */
  private static Peer monitor(FederationEngine engine) throws Exception {
    Peer creator = new Peer(engine);
    creator.ask(new FederationMessages.Create("watched", List.of(FomModule.read(VEHICLES)), FomModule.standardMim(),
        "HLAinteger64Time"));
    Peer monitor = join(engine, "monitor");
    for (String c : List.of("HLAmanager.HLAfederate", "HLAmanager.HLAfederation")) {
      int handle = monitor.object(c);
      monitor.ask(new DeclarationMessages.SubscribeObjectClass(handle,
          monitor.model.availableAttributes(handle).stream().mapToInt(Integer::intValue).toArray(), true, "", null));
    }
    for (String c : List.of("HLAfederate.HLAreport", "HLAfederation.HLAreport")) {
      for (int report : monitor.model.interactionClassChildren(monitor.interaction(c))) {
        monitor.ask(new DeclarationMessages.SubscribeInteractionClass(report, true, null));
      }
    }
    return monitor;
  }

  private static byte[] hex(String hex) {
    return HexFormat.of().parseHex(hex.replace(" ", ""));
  }

  private static byte[] int64(long value) {
    return ByteBuffer.allocate(8).putLong(value).array();
  }

  @Test
  void federateAndFederationObjectsFollowTheFederation() throws Exception {
    FederationEngine engine = new FederationEngine();
    Peer monitor = monitor(engine);
    Peer sim = join(engine, "sim");
    sim.ask(new TimeMessages.EnableRegulation(int64(5)));

    int simObject = monitor.objectNamed("HLAfederate" + sim.handle);
    int federation = monitor.objectNamed("HLAfederation");
    assertTrue(simObject > 0 && federation > 0, "both objects discovered: " + monitor.events);
    String f = "HLAmanager.HLAfederate";
    Object[][] expected = {  // attribute, its bytes as the MIM's data types lay them out
        {f, "HLAfederateHandle", "00000004 00000002"},
        {f, "HLAfederateName", "00000003 0073 0069 006d"},
        {f, "HLAfederateType", "00000009 0073 0069 006d 0075 006c 0061 0074 006f 0072"},
        {f, "HLAfederateHost", "0000000a 0069 006e 002d 0070 0072 006f 0063 0065 0073 0073"},
        {f, "HLAFOMmoduleDesignatorList", "00000000"},
        {f, "HLAtimeRegulating", "00000001"},
        {f, "HLAtimeConstrained", "00000000"},
        {f, "HLAfederateState", "00000001"},
        {f, "HLAtimeManagerState", "00000000"},
        {f, "HLAlogicalTime", "00000008 0000000000000000"},
        {f, "HLAconveyProducingFederate", "00000000"},
        {"HLAmanager.HLAfederation", "HLAfederatesInFederation", "00000002 00000004 00000001 00000004 00000002"},
        {"HLAmanager.HLAfederation", "HLAMIMdesignator",
            "0000000e 0048 004c 0041 0073 0074 0061 006e 0064 0061 0072 0064 004d 0049 004d"},
        {"HLAmanager.HLAfederation", "HLAlastSaveName", "00000000"},
    };
    for (Object[] row : expected) {
      int object = row[0].equals(f) ? simObject : federation;
      assertArrayEquals(hex((String) row[2]), monitor.latest(object, (String) row[0], (String) row[1]),
          (String) row[1]);
    }
    assertTrue(new String(monitor.latest(federation, "HLAmanager.HLAfederation", "HLAFOMmoduleDesignatorList"),
        StandardCharsets.UTF_16BE).contains("Vehicles.xml"));

    // Every federate's counts, asked for by requestAttributeValueUpdate.
    int vehicle = sim.object("Vehicle");
    int position = sim.model.attributeHandle(vehicle, "Position");
    sim.ask(new DeclarationMessages.PublishObjectClass(vehicle, new int[] {position}));
    int car = ((ObjectMessages.Registered) sim.ask(new ObjectMessages.Register(vehicle, null, null))).object();
    for (int i = 0; i < 3; i++) {
      sim.ask(new ObjectMessages.Update(car, HandleValues.of(position, new byte[8]), new byte[0], 0, null, null));
    }
    int updatesSent = monitor.model.attributeHandle(monitor.object(f), "HLAupdatesSent");
    int registered = monitor.model.attributeHandle(monitor.object(f), "HLAobjectInstancesRegistered");
    monitor.ask(new ObjectMessages.RequestObjectUpdate(simObject, new int[] {updatesSent, registered}, new byte[0]));
    assertArrayEquals(hex("00000003"), monitor.latest(simObject, f, "HLAupdatesSent"));
    assertArrayEquals(hex("00000001"), monitor.latest(simObject, f, "HLAobjectInstancesRegistered"));

    // A subscriber within a region of the HLAfederate dimension takes only the federates in it.
    Peer picky = join(engine, "picky");
    int dimension = picky.model.dimensionHandle("HLAfederate");
    int region = ((Reply.Number) picky.ask(new RegionMessages.CreateRegion(new int[] {dimension}))).value();
    picky.ask(new RegionMessages.CommitRegion(region, new int[] {dimension}, new int[] {sim.handle, sim.handle + 1}));
    int name = picky.model.attributeHandle(picky.object(f), "HLAfederateName");
    picky.ask(new DeclarationMessages.SubscribeObjectClass(picky.object(f), new int[] {name}, true, "",
        new int[] {name, region}));
    assertEquals(List.of("HLAfederate" + sim.handle), picky.events.stream()
        .filter(e -> e instanceof ObjectMessages.Discover).map(e -> ((ObjectMessages.Discover) e).name()).toList());
    picky.ask(new FederationMessages.Resign(Federation.CANCEL_THEN_DELETE_THEN_DIVEST));

    // Resigning deletes its object and leaves the federation's list; losing one is reported.
    sim.ask(new FederationMessages.Resign(Federation.CANCEL_THEN_DELETE_THEN_DIVEST));
    assertTrue(monitor.events.stream().anyMatch(e -> e instanceof ObjectMessages.Remove r && r.object() == simObject));
    assertArrayEquals(hex("00000001 00000004 00000001"),
        monitor.latest(federation, "HLAmanager.HLAfederation", "HLAfederatesInFederation"));
    Peer crasher = join(engine, "crasher");
    crasher.session.close();
    List<ObjectMessages.Receive> lost = monitor.received("HLAfederate.HLAreport.HLAreportFederateLost");
    assertEquals(1, lost.size());
    assertArrayEquals(hex("00000007 0063 0072 0061 0073 0068 0065 0072"),
        monitor.parameter(lost.get(0), "HLAfederateName"));
  }

  @Test
  void requestsAreAnsweredByTheirReportsAndBadOnesByMomExceptions() throws Exception {
    FederationEngine engine = new FederationEngine();
    Peer monitor = monitor(engine);
    Peer sim = join(engine, "sim");
    int collision = sim.model.interactionClassHandle("Collision");
    sim.ask(new DeclarationMessages.PublishInteractionClass(collision));
    sim.ask(new ObjectMessages.SendInteraction(collision, HandleValues.empty(), new byte[0], 0, null, null, null));
    sim.ask(new DeclarationMessages.SubscribeInteractionClass(collision, false, null));
    sim.ask(new SyncMessages.Register("ready", new byte[0], new int[0]));
    byte[] simHandle = MomValues.handle(sim.handle);
    String fc = "%08x %08x".formatted(4, collision);

    Object[][] table = {  // request, its parameters, the report, a parameter of it and its bytes
        {"HLAfederate.HLArequest.HLArequestPublications", new Object[0],
            "HLAfederate.HLAreport.HLAreportInteractionPublication", "HLAinteractionClassList", "00000001 " + fc},
        {"HLAfederate.HLArequest.HLArequestSubscriptions", new Object[0],
            "HLAfederate.HLAreport.HLAreportInteractionSubscription", "HLAinteractionClassList",
            "00000001 " + fc + " 00000000"},
        {"HLAfederate.HLArequest.HLArequestInteractionsSent", new Object[0],
            "HLAfederate.HLAreport.HLAreportInteractionsSent", "HLAinteractionCounts",
            "00000001 " + fc + " 00000001"},
        {"HLAfederate.HLArequest.HLArequestObjectInstancesUpdated", new Object[0],
            "HLAfederate.HLAreport.HLAreportObjectInstancesUpdated", "HLAobjectInstanceCounts", "00000000"},
        {"HLAfederation.HLArequest.HLArequestSynchronizationPoints", new Object[0],
            "HLAfederation.HLAreport.HLAreportSynchronizationPoints", "HLAsyncPoints",
            "00000001 00000005 0072 0065 0061 0064 0079"},
        {"HLAfederation.HLArequest.HLArequestSynchronizationPointStatus", new Object[0],
            "HLAfederation.HLAreport.HLAreportSynchronizationPointStatus", "HLAsyncPointFederates",
            "00000002 00000004 00000001 00000002 00000004 00000002 00000002"},
        // Malformed or impossible requests, answered to their sender.
        {"HLAfederate.HLArequest.HLArequestPublications", new Object[] {"HLAfederate", MomValues.handle(99)},
            "HLAfederate.HLAreport.HLAreportMOMexception", "HLAparameterError", "00000001"},
        {"HLAfederate.HLArequest.HLArequestFOMmoduleData", new Object[] {"HLAFOMmoduleIndicator", MomValues.int32(7)},
            "HLAfederate.HLAreport.HLAreportMOMexception", "HLAfederate", "00000004 00000001"},
        {"HLAfederate.HLAadjust.HLAsetTiming", new Object[] {"HLAreportPeriod", MomValues.int32(-1)},
            "HLAfederate.HLAreport.HLAreportMOMexception", "HLAparameterError", "00000001"},
        {"HLAfederate.HLAadjust.HLAsetSwitches", new Object[] {"HLAconveyProducingFederate", MomValues.int32(2)},
            "HLAfederate.HLAreport.HLAreportMOMexception", "HLAparameterError", "00000001"},
        {"HLAfederate.HLArequest.HLArequestObjectInstanceInformation",
            new Object[] {"HLAobjectInstance", hex("00000003 000001")},
            "HLAfederate.HLAreport.HLAreportMOMexception", "HLAparameterError", "00000001"},
    };
    for (Object[] row : table) {
      List<Object> parameters = new ArrayList<>(List.of((Object[]) row[1]));
      if (((String) row[0]).startsWith("HLAfederate.") && !parameters.contains("HLAfederate")) {
        parameters.addAll(0, List.of("HLAfederate", simHandle));
      }
      int before = monitor.received((String) row[2]).size();
      monitor.send((String) row[0], parameters.toArray());
      List<ObjectMessages.Receive> reports = monitor.received((String) row[2]);
      assertEquals(before + 1, reports.size(), row[0] + " answered once by " + row[2]);
      assertArrayEquals(hex((String) row[4]), monitor.parameter(reports.get(reports.size() - 1), (String) row[3]),
          row[0] + ": " + row[3]);
    }

    // A request without HLAfederate names the missing parameter.
    monitor.send("HLAfederate.HLArequest.HLArequestPublications");
    List<ObjectMessages.Receive> exceptions = monitor.received("HLAfederate.HLAreport.HLAreportMOMexception");
    String why = new String(monitor.parameter(exceptions.get(exceptions.size() - 1), "HLAexception"),
        StandardCharsets.UTF_16BE);
    assertTrue(why.contains("HLAfederate is missing"), why);

    int simObject = monitor.objectNamed("HLAfederate" + sim.handle);
    // Periodic updates at the period HLAsetTiming asks for, until it asks for none.
    int before = monitor.events.size();
    monitor.send("HLAfederate.HLAadjust.HLAsetTiming", "HLAfederate", simHandle, "HLAreportPeriod",
        MomValues.int32(1));
    long deadline = System.nanoTime() + 10_000_000_000L;
    while (monitor.events.subList(before, monitor.events.size()).stream()
        .noneMatch(e -> e instanceof ObjectMessages.Reflect r && r.object() == simObject)
        && System.nanoTime() < deadline) {
      Thread.sleep(50);
    }
    assertNotNull(monitor.latest(simObject, "HLAmanager.HLAfederate", "HLAGALT"), "a periodic update came");
    monitor.send("HLAfederate.HLAadjust.HLAsetTiming", "HLAfederate", simHandle, "HLAreportPeriod",
        MomValues.int32(0));
  }

  @Test
  void servicesGoToTheFederateTheyNameAndItsReportsToEveryone() throws Exception {
    FederationEngine engine = new FederationEngine();
    Peer monitor = monitor(engine);
    Peer sim = join(engine, "sim");
    byte[] simHandle = MomValues.handle(sim.handle);
    monitor.send("HLAfederate.HLAservice.HLAenableTimeConstrained", "HLAfederate", simHandle);
    assertEquals(List.of(new MomMessages.Act(monitor.handle, monitor.interaction(
        "HLAfederate.HLAservice.HLAenableTimeConstrained"), HandleValues.empty()).interactionClass()),
        sim.events.stream().filter(e -> e instanceof MomMessages.Act a && a.requester() == monitor.handle)
            .map(e -> ((MomMessages.Act) e).interactionClass()).toList());
    monitor.send("HLAfederate.HLAadjust.HLAsetServiceReporting", "HLAfederate", simHandle, "HLAreportingState",
        MomValues.bool(true));
    assertTrue(sim.events.contains(new MomMessages.Reporting(true, false)));

    // What the component tells goes out as reports: of a failed service to the one who asked for it.
    sim.ask(new MomMessages.ActFailed(monitor.handle, "HLAenableTimeConstrained", "TimeConstrainedAlreadyEnabled: on",
        false));
    ObjectMessages.Receive failed = monitor.received("HLAfederate.HLAreport.HLAreportMOMexception").get(0);
    assertArrayEquals(MomValues.handle(monitor.handle), monitor.parameter(failed, "HLAfederate"));
    assertArrayEquals(MomValues.bool(false), monitor.parameter(failed, "HLAparameterError"));
    sim.ask(new MomMessages.ServiceInvoked("publishInteractionClass", true, List.of("7"), List.of(), "", 1));
    ObjectMessages.Receive invoked = monitor.received("HLAfederate.HLAreport.HLAreportServiceInvocation").get(0);
    assertArrayEquals(simHandle, monitor.parameter(invoked, "HLAfederate"));
    assertArrayEquals(hex("00000001 00000001 0037"), monitor.parameter(invoked, "HLAsuppliedArguments"));
    assertArrayEquals(hex("00000001"), monitor.parameter(invoked, "HLAserialNumber"));
    sim.ask(new MomMessages.ExceptionGiven("publishInteractionClass", "NotConnected: gone"));
    assertEquals(1, monitor.received("HLAfederate.HLAreport.HLAreportException").size());

    // A federate that subscribes to service reports cannot have its own switched on.
    int reports = sim.interaction("HLAfederate.HLAreport.HLAreportServiceInvocation");
    monitor.send("HLAfederate.HLAadjust.HLAsetServiceReporting", "HLAfederate", MomValues.handle(monitor.handle),
        "HLAreportingState", MomValues.bool(true));
    List<ObjectMessages.Receive> exceptions = monitor.received("HLAfederate.HLAreport.HLAreportMOMexception");
    assertEquals(2, exceptions.size());
    assertTrue(new String(monitor.parameter(exceptions.get(1), "HLAexception"), StandardCharsets.UTF_16BE)
        .contains("subscribes to HLAreportServiceInvocation"), "refused: " + reports);
  }
}
