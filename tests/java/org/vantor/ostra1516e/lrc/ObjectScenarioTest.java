package org.vantor.ostra1516e.lrc;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import hla.rti1516e.exceptions.AttributeNotDefined;
import hla.rti1516e.exceptions.AttributeNotOwned;
import hla.rti1516e.exceptions.DeletePrivilegeNotHeld;
import hla.rti1516e.exceptions.FederateOwnsAttributes;
import hla.rti1516e.exceptions.IllegalName;
import hla.rti1516e.exceptions.InteractionClassNotPublished;
import hla.rti1516e.exceptions.InvalidDimensionHandle;
import hla.rti1516e.exceptions.InvalidRangeBound;
import hla.rti1516e.exceptions.InvalidRegion;
import hla.rti1516e.exceptions.InvalidRegionContext;
import hla.rti1516e.exceptions.ObjectClassNotPublished;
import hla.rti1516e.exceptions.ObjectInstanceNameNotReserved;
import hla.rti1516e.exceptions.ObjectInstanceNotKnown;
import hla.rti1516e.exceptions.RTIexception;
import hla.rti1516e.exceptions.RegionDoesNotContainSpecifiedDimension;
import hla.rti1516e.exceptions.RegionInUseForUpdateOrSubscription;
import hla.rti1516e.exceptions.RegionNotCreatedByThisFederate;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.Random;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.stream.Collectors;
import org.junit.jupiter.api.Test;
import org.vantor.ostra1516e.engine.FederationEngine;
import org.vantor.ostra1516e.transport.InProcessTransport;
import org.vantor.ostra1516e.wire.AttributeRegions;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.RangeBounds;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * Declarations and objects end to end inside Java: who discovers what as which class,
 * who receives which attributes and parameters, and the advisories, as federates publish,
 * subscribe, register, update, interact and delete.
 */
class ObjectScenarioTest {
  private static final AtomicInteger NAMES = new AtomicInteger();
  private static final String VEHICLES =
      Path.of(System.getProperty("ostra.fomModules"), "Vehicles.xml").toString();
  private final FederationEngine engine = new FederationEngine();
  private final String federation = "objects-" + NAMES.incrementAndGet();

  /** Federate is a joined component with a recording sink; its handles come from its model. */
  final class Federate {
    final String name;
    final LocalRtiComponent lrc;
    final ObjectServices objects;
    final List<Callback> seen = new CopyOnWriteArrayList<>();

    Federate(String name) throws RTIexception {
      this.name = name;
      lrc = new LocalRtiComponent(new InProcessTransport(engine), (fa, callback) -> seen.add(callback));
      lrc.connect(1, LocalRtiComponent.EVOKED, "");
      lrc.joinFederationExecution(ServiceMethod.joinFederationExecution_S_S_S_URLX, name, "test", federation,
          List.of());
      objects = lrc.objects();
    }

    int objectClass(String name) throws RTIexception {
      return lrc.support().getObjectClassHandle(name);
    }

    int attribute(String objectClass, String name) throws RTIexception {
      return lrc.support().getAttributeHandle(objectClass(objectClass), name);
    }

    int interactionClass(String name) throws RTIexception {
      return lrc.support().getInteractionClassHandle(name);
    }

    int parameter(String interactionClass, String name) throws RTIexception {
      return lrc.support().getParameterHandle(interactionClass(interactionClass), name);
    }

    /** evoke delivers what is pending and returns it. */
    List<Callback> evoke() throws RTIexception {
      while (lrc.evokeMultipleCallbacks(0, 0.2)) {
        // until nothing is pending
      }
      List<Callback> delivered = new ArrayList<>(seen);
      seen.clear();
      return delivered;
    }

    /** drain delivers what is pending and returns it, one line per callback. */
    List<String> drain() throws RTIexception {
      return evoke().stream().map(c -> c.method().name().replaceAll("_.*", "")
          + java.util.Arrays.deepToString(c.args())).collect(Collectors.toList());
    }
  }

  private Federate[] federates(String... names) throws RTIexception {
    Federate creator = null;
    List<Federate> all = new ArrayList<>();
    for (String name : names) {
      if (creator == null) {
        LocalRtiComponent lrc = new LocalRtiComponent(new InProcessTransport(engine), (fa, c) -> { });
        lrc.connect(1, LocalRtiComponent.EVOKED, "");
        lrc.createFederationExecution(ServiceMethod.createFederationExecution_S_URL_S, federation,
            List.of(VEHICLES), null, "HLAinteger64Time");
      }
      creator = new Federate(name);
      all.add(creator);
    }
    return all.toArray(new Federate[0]);
  }

  private static byte[] bytes(String text) {
    return text.getBytes(java.nio.charset.StandardCharsets.UTF_8);
  }

  @Test
  void discoveryReflectionAndInteractionFollowTheClassHierarchy() throws Exception {
    Federate[] f = federates("a", "b", "c");
    Federate a = f[0], b = f[1], c = f[2];
    int car = a.objectClass("Car");
    int vehicle = a.objectClass("Vehicle");
    int position = a.attribute("Vehicle", "Position");
    int speed = a.attribute("Vehicle", "Speed");
    int passengers = a.attribute("Car", "Passengers");
    a.objects.publishObjectClassAttributes(car, new int[] {position, speed, passengers});
    b.objects.subscribeObjectClassAttributes(vehicle, new int[] {position}, true, "");
    c.objects.subscribeObjectClassAttributes(car, new int[] {passengers, speed}, true, "Fast");

    assertThrows(ObjectClassNotPublished.class, () -> b.objects.registerObjectInstance(
        ServiceMethod.registerObjectInstance_OCH, vehicle, null));
    int car1 = a.objects.registerObjectInstance(ServiceMethod.registerObjectInstance_OCH, car, null);
    assertEquals(List.of("discoverObjectInstance[" + car1 + ", " + vehicle + ", HLAobject" + car1 + "]"), b.drain());
    assertEquals(List.of("discoverObjectInstance[" + car1 + ", " + car + ", HLAobject" + car1 + "]"), c.drain());
    assertEquals(car, c.lrc.support().getKnownObjectClassHandle(car1));
    assertEquals(30.0, c.lrc.support().getUpdateRateValueForAttribute(car1, speed));

    byte[] tag = bytes("t");
    HandleValues values = HandleValues.of(position, bytes("p"), speed, bytes("s"), passengers, bytes("n"));
    a.objects.updateAttributeValues(ServiceMethod.updateAttributeValues_OIH_AHVM_BX, car1, values, tag, null);
    String none = "SupplementalInfo[no producer, no regions]";
    assertEquals(List.of("reflectAttributeValues[" + car1 + ", {" + position + "=70}, [116], 0, 1, " + none + "]"),
        b.drain());
    // Speed travels best effort, Passengers reliable: one reflection each.
    assertEquals(List.of(
        "reflectAttributeValues[" + car1 + ", {" + passengers + "=6E}, [116], 0, 1, " + none + "]",
        "reflectAttributeValues[" + car1 + ", {" + speed + "=73}, [116], 0, 2, " + none + "]"), c.drain());
    assertTrue(a.drain().isEmpty(), "never back to the sender");

    assertThrows(ObjectInstanceNotKnown.class, () -> a.objects.updateAttributeValues(
        ServiceMethod.updateAttributeValues_OIH_AHVM_BX, 999, values, tag, null));
    assertThrows(AttributeNotOwned.class, () -> b.objects.updateAttributeValues(
        ServiceMethod.updateAttributeValues_OIH_AHVM_BX, car1, HandleValues.of(position, tag), tag, null));
    int load = a.attribute("Truck", "Load");
    assertThrows(AttributeNotDefined.class, () -> a.objects.updateAttributeValues(
        ServiceMethod.updateAttributeValues_OIH_AHVM_BX, car1, HandleValues.of(load, tag), tag, null));

    // A time-stamped update from a federate that does not regulate travels in receive order with its time.
    byte[] time = new byte[] {0, 0, 0, 0, 0, 0, 0, 9};
    byte[] handle = a.objects.updateAttributeValues(ServiceMethod.updateAttributeValues_OIH_AHVM_BX_LT, car1,
        HandleValues.of(position, bytes("q")), tag, time);
    assertEquals(12, handle.length);
    assertEquals(List.of("reflectAttributeValues[" + car1 + ", {" + position + "=71}, [116], 0, 1, "
        + "[0, 0, 0, 0, 0, 0, 0, 9], 0, " + none + "]"), b.drain());

    // Unsubscribing stops delivery at once; the instance stays known.
    b.objects.unsubscribeObjectClass(ServiceMethod.unsubscribeObjectClass_OCH, vehicle, null);
    a.objects.updateAttributeValues(ServiceMethod.updateAttributeValues_OIH_AHVM_BX, car1, values, tag, null);
    assertTrue(b.drain().isEmpty());
    assertEquals(2, c.drain().size());

    // Interactions arrive as the closest subscribed class, with only the parameters it has.
    int collision = a.interactionClass("Collision");
    int root = a.interactionClass("HLAinteractionRoot");
    HandleValues parameters = HandleValues.of(a.parameter("Collision", "Vehicle"), bytes("v"),
        a.parameter("Collision", "Severity"), bytes("1"));
    assertThrows(InteractionClassNotPublished.class, () -> a.objects.sendInteraction(
        ServiceMethod.sendInteraction_ICH_PHVM_BX, collision, parameters, tag, null));
    a.objects.publishInteractionClass(collision);
    b.objects.subscribeInteractionClass(root, true);
    c.objects.subscribeInteractionClass(collision, true);
    a.objects.sendInteraction(ServiceMethod.sendInteraction_ICH_PHVM_BX, collision, parameters, tag, null);
    assertEquals(List.of("receiveInteraction[" + root + ", {}, [116], 0, 1, " + none + "]"), b.drain());
    assertEquals(List.of("receiveInteraction[" + collision + ", " + parameters + ", [116], 0, 1, " + none + "]"),
        c.drain());

    // Value requests reach the owner; deletion reaches everyone who knows the instance.
    c.objects.requestInstanceAttributeValueUpdate(car1, new int[] {speed}, tag);
    assertEquals(List.of("provideAttributeValueUpdate[" + car1 + ", [" + speed + "], [116]]"), a.drain());
    assertThrows(DeletePrivilegeNotHeld.class, () -> c.objects.deleteObjectInstance(
        ServiceMethod.deleteObjectInstance_OIH_BX, car1, tag, null));
    c.objects.localDeleteObjectInstance(car1);
    a.objects.updateAttributeValues(ServiceMethod.updateAttributeValues_OIH_AHVM_BX, car1, values, tag, null);
    assertEquals("discoverObjectInstance[" + car1 + ", " + car + ", HLAobject" + car1 + "]", c.drain().get(0));
    a.objects.deleteObjectInstance(ServiceMethod.deleteObjectInstance_OIH_BX, car1, tag, null);
    assertEquals(List.of("removeObjectInstance[" + car1 + ", [116], 0, " + none + "]"), b.drain());
    assertEquals(List.of("removeObjectInstance[" + car1 + ", [116], 0, " + none + "]"), c.drain());
    assertThrows(ObjectInstanceNotKnown.class, () -> c.lrc.support().getObjectInstanceName(car1));
  }

  @Test
  void namesOwnershipAndResignation() throws Exception {
    Federate[] f = federates("a", "b");
    Federate a = f[0], b = f[1];
    int vehicle = a.objectClass("Vehicle");
    int position = a.attribute("Vehicle", "Position");
    a.objects.publishObjectClassAttributes(vehicle, new int[] {position});
    b.objects.subscribeObjectClassAttributes(vehicle, new int[] {position}, false, "");

    assertThrows(IllegalName.class, () -> a.objects.reserveObjectInstanceName("HLAmine"));
    assertThrows(ObjectInstanceNameNotReserved.class, () -> a.objects.registerObjectInstance(
        ServiceMethod.registerObjectInstance_OCH_S, vehicle, "Herbie"));
    a.objects.reserveObjectInstanceName("Herbie");
    b.objects.reserveObjectInstanceName("Herbie");
    b.objects.reserveMultipleObjectInstanceName(List.of("Kitt", "Herbie"));
    assertEquals(List.of("objectInstanceNameReservationSucceeded[Herbie]"), a.drain());
    assertEquals(List.of("objectInstanceNameReservationFailed[Herbie]",
        "multipleObjectInstanceNameReservationFailed[[Kitt, Herbie]]"), b.drain());
    int herbie = a.objects.registerObjectInstance(ServiceMethod.registerObjectInstance_OCH_S, vehicle, "Herbie");
    assertEquals(herbie, b.lrc.support().getObjectInstanceHandle("Herbie"));

    // The registrant owns what it publishes and the privilege to delete: it cannot resign without an action.
    assertThrows(FederateOwnsAttributes.class, () -> a.lrc.resignFederationExecution(LocalRtiComponent.NO_ACTION));
    assertThrows(FederateOwnsAttributes.class, () -> a.objects.localDeleteObjectInstance(herbie));
    // Unpublishing divests: the attribute is no longer the federate's to update.
    a.objects.unpublishObjectClass(ServiceMethod.unpublishObjectClassAttributes_OCH_AHS, vehicle,
        new int[] {position});
    assertThrows(AttributeNotOwned.class, () -> a.objects.updateAttributeValues(
        ServiceMethod.updateAttributeValues_OIH_AHVM_BX, herbie, HandleValues.of(position, new byte[0]),
        new byte[0], null));
    a.lrc.resignFederationExecution(1);  // DELETE_OBJECTS
    List<String> seen = b.drain();
    assertEquals("removeObjectInstance", seen.get(seen.size() - 1).replaceAll("\\[.*", ""));
  }

  /** A step of the ownership table: who calls what, what the call does, and every callback it causes. */
  private record Step(Federate actor, String call, Action action, String outcome, String... seen) {}

  @FunctionalInterface
  private interface Action {
    Object run(ObjectServices objects) throws Exception;
  }

  /**
   * Ownership as a state machine, step by step: each request in the state the steps before
   * left, its outcome (or the exception the state calls for), and exactly the callbacks it
   * causes at each federate, first come first served among acquirers.
   */
  @Test
  void ownershipPassesOnlyAsTheStateAllows() throws Exception {
    Federate[] f = federates("a", "b", "c");
    Federate a = f[0], b = f[1], c = f[2];
    int vehicle = a.objectClass("Vehicle");
    int p = a.attribute("Vehicle", "Position");
    int s = a.attribute("Vehicle", "Speed");
    for (Federate x : f) {
      x.objects.publishObjectClassAttributes(vehicle, new int[] {p, s});
      x.objects.subscribeObjectClassAttributes(vehicle, new int[] {p, s}, true, "");
    }
    int v = a.objects.registerObjectInstance(ServiceMethod.registerObjectInstance_OCH, vehicle, null);
    for (Federate x : f) {
      x.drain();
    }
    int[] pos = {p};
    int[] spd = {s};
    int hc = a.lrc.support().getFederateHandle("c");
    String vp = v + ", [" + p + "]";
    String vs = v + ", [" + s + "]";
    ServiceMethod acquire = ServiceMethod.attributeOwnershipAcquisition_OIH_AHS_BX;
    ServiceMethod ifAvailable = ServiceMethod.attributeOwnershipAcquisitionIfAvailable_OIH_AHS;
    ServiceMethod cancel = ServiceMethod.cancelAttributeOwnershipAcquisition_OIH_AHS;
    ServiceMethod unconditional = ServiceMethod.unconditionalAttributeOwnershipDivestiture_OIH_AHS;
    ServiceMethod negotiated = ServiceMethod.negotiatedAttributeOwnershipDivestiture_OIH_AHS_BX;
    ServiceMethod confirm = ServiceMethod.confirmDivestiture_OIH_AHS_BX;
    ServiceMethod denied = ServiceMethod.attributeOwnershipReleaseDenied_OIH_AHS;
    ServiceMethod ifWanted = ServiceMethod.attributeOwnershipDivestitureIfWanted_OIH_AHS;
    ServiceMethod cancelNegotiated = ServiceMethod.cancelNegotiatedAttributeOwnershipDivestiture_OIH_AHS;
    Step[] steps = {
        new Step(b, "acquire P", o -> { o.acquire(acquire, v, pos, 1, bytes("b")); return null; }, "ok",
            "a: requestAttributeOwnershipRelease[" + vp + ", [98]]"),
        new Step(c, "acquire P if available", o -> { o.acquire(ifAvailable, v, pos, 2, null); return null; }, "ok",
            "c: attributeOwnershipUnavailable[" + vp + "]"),
        new Step(b, "acquire P if available again", o -> { o.acquire(ifAvailable, v, pos, 2, null); return null; },
            "AttributeAlreadyBeingAcquired"),
        new Step(b, "cancel S never asked", o -> { o.acquire(cancel, v, spd, 3, null); return null; },
            "AttributeAcquisitionWasNotRequested"),
        new Step(b, "divest P not owned", o -> o.divest(unconditional, v, pos, 1, null), "AttributeNotOwned"),
        new Step(a, "deny P", o -> o.divest(denied, v, pos, 6, null), "[]",
            "b: attributeOwnershipUnavailable[" + vp + "]"),
        new Step(b, "cancel P, denied", o -> { o.acquire(cancel, v, pos, 3, null); return null; },
            "AttributeAcquisitionWasNotRequested"),
        new Step(b, "acquire P again", o -> { o.acquire(acquire, v, pos, 1, bytes("B")); return null; }, "ok",
            "a: requestAttributeOwnershipRelease[" + vp + ", [66]]"),
        new Step(c, "acquire P too", o -> { o.acquire(acquire, v, pos, 1, bytes("c")); return null; }, "ok",
            "a: requestAttributeOwnershipRelease[" + vp + ", [99]]"),
        new Step(c, "unpublish P while acquiring", o -> { o.unpublishObjectClass(
            ServiceMethod.unpublishObjectClassAttributes_OCH_AHS, vehicle, pos); return null; },
            "OwnershipAcquisitionPending"),
        new Step(c, "forget the instance while acquiring", o -> { o.localDeleteObjectInstance(v); return null; },
            "OwnershipAcquisitionPending"),
        new Step(a, "divest P and S if wanted", o -> o.divest(ifWanted, v, new int[] {p, s}, 4, null), "[" + p + "]",
            "b: attributeOwnershipAcquisitionNotification[" + vp + ", [66]]"),
        new Step(a, "update P no longer owned", o -> o.updateAttributeValues(
            ServiceMethod.updateAttributeValues_OIH_AHVM_BX, v, HandleValues.of(p, bytes("x")), bytes("u"), null),
            "AttributeNotOwned"),
        new Step(a, "acquire S owned", o -> { o.acquire(acquire, v, spd, 1, null); return null; },
            "FederateOwnsAttributes"),
        new Step(a, "confirm S not offered", o -> o.divest(confirm, v, spd, 3, null),
            "AttributeDivestitureWasNotRequested"),
        new Step(a, "offer S", o -> o.divest(negotiated, v, spd, 2, bytes("n")), "[]",
            "b: requestAttributeOwnershipAssumption[" + vs + ", [110]]",
            "c: requestAttributeOwnershipAssumption[" + vs + ", [110]]"),
        new Step(a, "offer S again", o -> o.divest(negotiated, v, spd, 2, bytes("n")),
            "AttributeAlreadyBeingDivested"),
        new Step(a, "confirm S, nobody asked", o -> o.divest(confirm, v, spd, 3, null), "NoAcquisitionPending"),
        new Step(c, "acquire S offered", o -> { o.acquire(acquire, v, spd, 1, bytes("C")); return null; }, "ok",
            "a: requestDivestitureConfirmation[" + vs + "]"),
        new Step(a, "confirm S", o -> o.divest(confirm, v, spd, 3, null), "[" + s + "]",
            "c: attributeOwnershipAcquisitionNotification[" + vs + ", [67]]"),
        new Step(a, "cancel offer of S gone", o -> o.divest(cancelNegotiated, v, spd, 5, null), "AttributeNotOwned"),
        new Step(b, "divest P, c waits", o -> o.divest(unconditional, v, pos, 1, null), "[" + p + "]",
            "c: attributeOwnershipAcquisitionNotification[" + vp + ", [99]]"),
        new Step(a, "query P", o -> { o.queryAttributeOwnership(v, p); return null; }, "ok",
            "a: informAttributeOwnership[" + v + ", " + p + ", " + hc + "]"),
        new Step(c, "cancel P owned", o -> { o.acquire(cancel, v, pos, 3, null); return null; },
            "AttributeAlreadyOwned"),
        new Step(c, "divest P, nobody waits", o -> o.divest(unconditional, v, pos, 1, null), "[" + p + "]",
            "a: requestAttributeOwnershipAssumption[" + vp + ", []]",
            "b: requestAttributeOwnershipAssumption[" + vp + ", []]"),
        new Step(b, "query P", o -> { o.queryAttributeOwnership(v, p); return null; }, "ok",
            "b: attributeIsNotOwned[" + v + ", " + p + "]"),
        new Step(b, "acquire P if available", o -> { o.acquire(ifAvailable, v, pos, 2, null); return null; }, "ok",
            "b: attributeOwnershipAcquisitionNotification[" + vp + ", []]"),
        new Step(b, "acquire S", o -> { o.acquire(acquire, v, spd, 1, bytes("b")); return null; }, "ok",
            "c: requestAttributeOwnershipRelease[" + vs + ", [98]]"),
        new Step(c, "resign divesting, b waits for S", o -> { c.lrc.resignFederationExecution(0); return null; }, "ok",
            "b: attributeOwnershipAcquisitionNotification[" + vs + ", [98]]"),
    };
    for (Step step : steps) {
      String outcome;
      try {
        Object result = step.action.run(step.actor.objects);
        outcome = result instanceof int[] r ? java.util.Arrays.toString(r) : "ok";
      } catch (RTIexception e) {
        outcome = e.getClass().getSimpleName();
      }
      List<String> seen = new ArrayList<>();
      for (Federate x : f) {
        for (String line : x.drain()) {
          seen.add(x.name + ": " + line);
        }
      }
      assertEquals(step.outcome + " " + List.of(step.seen), outcome + " " + seen, step.call);
    }
    assertTrue(b.objects.isAttributeOwnedByFederate(v, p) && b.objects.isAttributeOwnedByFederate(v, s));
    assertTrue(!a.objects.isAttributeOwnedByFederate(v, p));
  }

  /**
   * Federates divest and acquire at random. After every step each attribute has at most one
   * federate that holds itself its owner, it is the one the engine names, and updates are
   * accepted from it alone. The seed is printed with any failure (-Dostra.ownershipSeed=N
   * repeats a run).
   */
  @Test
  void randomTransfersKeepOneOwnerEverywhere() throws Exception {
    long seed = Long.getLong("ostra.ownershipSeed", System.nanoTime());
    java.util.Random random = new java.util.Random(seed);
    Federate[] f = federates("r0", "r1", "r2", "r3");
    int vehicle = f[0].objectClass("Vehicle");
    int[] attributes = {f[0].attribute("Vehicle", "Position"), f[0].attribute("Vehicle", "Speed"),
        f[0].attribute("HLAobjectRoot", "HLAprivilegeToDeleteObject")};
    for (Federate x : f) {
      x.objects.publishObjectClassAttributes(vehicle, new int[] {attributes[0], attributes[1]});
      x.objects.subscribeObjectClassAttributes(vehicle, new int[] {attributes[0], attributes[1]}, true, "");
    }
    int[] instances = new int[3];
    for (int i = 0; i < instances.length; i++) {
      instances[i] = f[i].objects.registerObjectInstance(ServiceMethod.registerObjectInstance_OCH, vehicle, null);
    }
    int[] handles = new int[f.length];
    for (int k = 0; k < f.length; k++) {
      handles[k] = f[0].lrc.support().getFederateHandle(f[k].name);
      f[k].drain();
    }
    ServiceMethod[] divests = {ServiceMethod.unconditionalAttributeOwnershipDivestiture_OIH_AHS,
        ServiceMethod.negotiatedAttributeOwnershipDivestiture_OIH_AHS_BX, ServiceMethod.confirmDivestiture_OIH_AHS_BX,
        ServiceMethod.attributeOwnershipDivestitureIfWanted_OIH_AHS,
        ServiceMethod.cancelNegotiatedAttributeOwnershipDivestiture_OIH_AHS,
        ServiceMethod.attributeOwnershipReleaseDenied_OIH_AHS};
    ServiceMethod[] acquires = {ServiceMethod.attributeOwnershipAcquisition_OIH_AHS_BX,
        ServiceMethod.attributeOwnershipAcquisitionIfAvailable_OIH_AHS,
        ServiceMethod.cancelAttributeOwnershipAcquisition_OIH_AHS};
    for (int step = 0; step < 3000; step++) {
      Federate actor = f[random.nextInt(f.length)];
      int object = instances[random.nextInt(instances.length)];
      int[] chosen = java.util.Arrays.stream(attributes).filter(a -> random.nextBoolean()).toArray();
      if (chosen.length == 0) {
        chosen = new int[] {attributes[random.nextInt(attributes.length)]};
      }
      int kind = random.nextInt(divests.length + acquires.length);
      try {
        if (kind < divests.length) {
          actor.objects.divest(divests[kind], object, chosen, kind + 1, bytes("d"));
        } else {
          actor.objects.acquire(acquires[kind - divests.length], object, chosen, kind - divests.length + 1, bytes("a"));
        }
      } catch (RTIexception e) {
        // a request in the wrong state is refused and changes nothing
      }
      for (Federate x : f) {
        x.drain();
      }
      String where = "seed " + seed + ", step " + step + ": ";
      for (int instance : instances) {
        for (int attribute : attributes) {
          f[0].objects.queryAttributeOwnership(instance, attribute);
          String answer = f[0].drain().get(0);
          int owner = 0;
          for (int k = 0; k < f.length; k++) {
            boolean owns = f[k].objects.isAttributeOwnedByFederate(instance, attribute);
            assertTrue(!owns || owner == 0, where + "two owners of " + attribute + " of " + instance);
            owner = owns ? handles[k] : owner;
          }
          assertEquals(owner == 0 ? "attributeIsNotOwned[" + instance + ", " + attribute + "]"
              : "informAttributeOwnership[" + instance + ", " + attribute + ", " + owner + "]", answer, where);
          for (int k = 0; attribute != attributes[2] && k < f.length; k++) {
            Federate x = f[k];
            String update = outcome(() -> x.objects.updateAttributeValues(ServiceMethod.updateAttributeValues_OIH_AHVM_BX,
                instance, HandleValues.of(attribute, bytes("u")), bytes("u"), null));
            assertEquals(owner == handles[k] ? "ok" : "AttributeNotOwned", update, where + x.name + " updating");
          }
          for (Federate x : f) {
            x.drain();  // the reflections of those updates
          }
        }
      }
    }
  }

  private interface Call {
    void run() throws Exception;
  }

  private static String outcome(Call call) throws Exception {
    try {
      call.run();
      return "ok";
    } catch (RTIexception e) {
      return e.getClass().getSimpleName();
    }
  }

  /** Regions: bounds as set stay the creator's until committed; others see them as committed, and may not touch them. */
  @Test
  void regionsTakeTheirBoundsWhenCommitted() throws Exception {
    Federate[] f = federates("a", "b");
    RegionServices a = f[0].lrc.regions();
    RegionServices b = f[1].lrc.regions();
    int lane = f[0].lrc.support().getDimensionHandle("Lane");
    long top = f[0].lrc.support().getDimensionUpperBound(lane);
    int region = a.createRegion(new int[] {lane});
    int other = b.createRegion(new int[] {lane});
    assertEquals(List.of(lane), java.util.Arrays.stream(b.getDimensionHandleSet(region)).boxed().toList());
    assertEquals("[0, " + top + "]", java.util.Arrays.toString(a.getRangeBounds(region, lane)));
    a.setRangeBounds(region, lane, new RangeBounds(2, 5));
    assertEquals("[2, 5]", java.util.Arrays.toString(a.getRangeBounds(region, lane)));
    assertEquals("[0, " + top + "]", java.util.Arrays.toString(b.getRangeBounds(region, lane)), "not committed");
    assertThrows(RegionNotCreatedByThisFederate.class, () -> a.commitRegionModifications(new int[] {region, other}));
    assertEquals("[0, " + top + "]", java.util.Arrays.toString(b.getRangeBounds(region, lane)), "all or nothing");
    a.commitRegionModifications(new int[] {region});
    assertEquals("[2, 5]", java.util.Arrays.toString(b.getRangeBounds(region, lane)));

    for (RangeBounds wrong : new RangeBounds[] {new RangeBounds(7, 7), new RangeBounds(8, 3),
        new RangeBounds(0, top + 1)}) {
      assertThrows(InvalidRangeBound.class, () -> a.setRangeBounds(region, lane, wrong), wrong.toString());
    }
    assertThrows(InvalidDimensionHandle.class, () -> a.createRegion(new int[] {lane, 999}));
    assertThrows(RegionDoesNotContainSpecifiedDimension.class, () -> a.getRangeBounds(region, lane + 1));
    assertThrows(RegionNotCreatedByThisFederate.class, () -> b.setRangeBounds(region, lane, new RangeBounds(1, 2)));
    assertThrows(RegionNotCreatedByThisFederate.class, () -> b.deleteRegion(region));
    assertThrows(InvalidRegion.class, () -> b.deleteRegion(999));
    a.deleteRegion(region);
    assertThrows(InvalidRegion.class, () -> b.getDimensionHandleSet(region));
    assertThrows(InvalidRegion.class, () -> a.getRangeBounds(region, lane));
  }

  /**
   * Interactions sent within regions reach the subscriptions whose regions overlap them, and
   * those subscribed everywhere; moving a region takes effect when it is committed.
   */
  @Test
  void interactionsReachTheRegionsTheyOverlap() throws Exception {
    Federate[] f = federates("sender", "near", "far", "anywhere");
    Federate sender = f[0], near = f[1], far = f[2], anywhere = f[3];
    int collision = sender.interactionClass("Collision");
    int lane = sender.lrc.support().getDimensionHandle("Lane");
    sender.objects.publishInteractionClass(collision);
    int sent = region(sender, lane, 2, 4);
    near.objects.subscribeInteractionClass(ServiceMethod.subscribeInteractionClassWithRegions_ICH_Z_RHS, collision,
        true, new int[] {region(near, lane, 3, 6)});
    int farRegion = region(far, lane, 4, 8);
    far.objects.subscribeInteractionClass(ServiceMethod.subscribeInteractionClassWithRegions_ICH_Z_RHS, collision,
        true, new int[] {farRegion});
    anywhere.objects.subscribeInteractionClass(collision, true);
    ServiceMethod within = ServiceMethod.sendInteractionWithRegions_ICH_PHVM_RHS_BX;
    java.util.function.Function<Federate, Integer> heard = x -> {
      try {
        return (int) x.drain().stream().filter(l -> l.startsWith("receiveInteraction")).count();
      } catch (RTIexception e) {
        throw new IllegalStateException(e);
      }
    };

    sender.objects.sendInteraction(within, collision, HandleValues.of(), new int[] {sent}, bytes("1"), null);
    assertEquals(List.of("receiveInteraction[" + collision + ", {}, [49], 0, 1, SupplementalInfo[no producer, regions=["
        + sent + "]]]"), near.drain(), "[2, 4) meets [3, 6), and the model conveys the regions");
    assertEquals(List.of(0, 1), List.of(heard.apply(far), heard.apply(anywhere)), "[2, 4) does not meet [4, 8)");
    far.lrc.regions().setRangeBounds(farRegion, lane, new RangeBounds(0, 3));
    sender.objects.sendInteraction(within, collision, HandleValues.of(), new int[] {sent}, bytes("2"), null);
    assertEquals(0, heard.apply(far), "moved, not committed");
    far.lrc.regions().commitRegionModifications(new int[] {farRegion});
    sender.objects.sendInteraction(within, collision, HandleValues.of(), new int[] {sent}, bytes("3"), null);
    sender.objects.sendInteraction(ServiceMethod.sendInteraction_ICH_PHVM_BX, collision, HandleValues.of(), bytes("4"),
        null);
    assertEquals(List.of(3, 2, 3), List.of(heard.apply(near), heard.apply(far), heard.apply(anywhere)),
        "committed [0, 3) meets [2, 4); without regions everyone hears");

    assertThrows(RegionInUseForUpdateOrSubscription.class, () -> far.lrc.regions().deleteRegion(farRegion));
    assertThrows(RegionNotCreatedByThisFederate.class, () -> sender.objects.sendInteraction(within, collision,
        HandleValues.of(), new int[] {farRegion}, bytes("x"), null));
    int federateDimension = sender.lrc.support().getDimensionHandle("HLAfederate");
    int elsewhere = sender.lrc.regions().createRegion(new int[] {federateDimension});
    assertThrows(InvalidRegionContext.class, () -> sender.objects.sendInteraction(within, collision,
        HandleValues.of(), new int[] {elsewhere}, bytes("x"), null));
    far.objects.unsubscribeInteractionClass(ServiceMethod.unsubscribeInteractionClassWithRegions_ICH_RHS, collision,
        new int[] {farRegion});
    far.lrc.regions().deleteRegion(farRegion);
    sender.objects.sendInteraction(within, collision, HandleValues.of(), new int[] {sent}, bytes("5"), null);
    assertEquals(List.of(1, 0), List.of(heard.apply(near), heard.apply(far)), "far no longer subscribes");
  }

  /**
   * Updates within regions reach, and make discover, the subscribers whose regions overlap
   * the attribute's update regions, and those subscribed without regions; an attribute
   * updated without regions reaches every subscriber of it.
   */
  @Test
  void updatesReachTheRegionsTheyOverlap() throws Exception {
    Federate[] f = federates("owner", "near", "far", "anywhere");
    Federate owner = f[0], near = f[1], far = f[2], anywhere = f[3];
    int vehicle = owner.objectClass("Vehicle");
    int position = owner.attribute("Vehicle", "Position");  // may be filtered on Lane
    int speed = owner.attribute("Vehicle", "Speed");  // may not
    int lane = owner.lrc.support().getDimensionHandle("Lane");
    owner.objects.publishObjectClassAttributes(vehicle, new int[] {position, speed});
    ServiceMethod subscribe = ServiceMethod.subscribeObjectClassAttributesWithRegions_OCH_ASRSPL_Z_S;
    int nearRegion = region(near, lane, 3, 6);
    near.objects.subscribeObjectClassAttributes(subscribe, vehicle,
        List.of(new AttributeRegions(new int[] {position}, new int[] {nearRegion})), true, "");
    int farRegion = region(far, lane, 4, 8);
    far.objects.subscribeObjectClassAttributes(subscribe, vehicle,
        List.of(new AttributeRegions(new int[] {position}, new int[] {farRegion})), true, "");
    anywhere.objects.subscribeObjectClassAttributes(vehicle, new int[] {position, speed}, true, "");
    int updateRegion = region(owner, lane, 2, 4);
    assertThrows(InvalidRegionContext.class, () -> owner.objects.registerObjectInstance(
        ServiceMethod.registerObjectInstanceWithRegions_OCH_ASRSPL, vehicle,
        List.of(new AttributeRegions(new int[] {speed}, new int[] {updateRegion})), null));
    int v = owner.objects.registerObjectInstance(ServiceMethod.registerObjectInstanceWithRegions_OCH_ASRSPL, vehicle,
        List.of(new AttributeRegions(new int[] {position}, new int[] {updateRegion})), null);
    java.util.function.Function<Federate, String> seen = x -> {
      try {
        return x.drain().stream().map(l -> l.replaceAll("\\[.*", "")).collect(Collectors.joining(" "));
      } catch (RTIexception e) {
        throw new IllegalStateException(e);
      }
    };
    assertEquals(List.of("discoverObjectInstance", "", "discoverObjectInstance"),
        List.of(seen.apply(near), seen.apply(far), seen.apply(anywhere)), "[2, 4) meets [3, 6), not [4, 8)");

    ServiceMethod update = ServiceMethod.updateAttributeValues_OIH_AHVM_BX;
    owner.objects.updateAttributeValues(update, v, HandleValues.of(position, bytes("p")), bytes("1"), null);
    assertEquals(List.of("reflectAttributeValues", "", "reflectAttributeValues"),
        List.of(seen.apply(near), seen.apply(far), seen.apply(anywhere)));
    far.lrc.regions().setRangeBounds(farRegion, lane, new RangeBounds(3, 4));
    far.lrc.regions().commitRegionModifications(new int[] {farRegion});
    owner.objects.updateAttributeValues(update, v, HandleValues.of(position, bytes("p")), bytes("2"), null);
    assertEquals(List.of("reflectAttributeValues", "discoverObjectInstance reflectAttributeValues",
        "reflectAttributeValues"), List.of(seen.apply(near), seen.apply(far), seen.apply(anywhere)),
        "far moved into overlap: it discovers the instance with the update");
    ServiceMethod request = ServiceMethod.requestAttributeValueUpdateWithRegions_OCH_ASRSPL_BX;
    near.objects.requestClassAttributeValueUpdate(request, vehicle,
        List.of(new AttributeRegions(new int[] {position}, new int[] {nearRegion})), bytes("r"));
    assertEquals("provideAttributeValueUpdate", seen.apply(owner), "[3, 6) meets [2, 4)");
    int beyond = region(anywhere, lane, 6, 8);
    anywhere.objects.requestClassAttributeValueUpdate(request, vehicle,
        List.of(new AttributeRegions(new int[] {position}, new int[] {beyond})), bytes("r"));
    assertEquals("", seen.apply(owner), "[6, 8) does not meet [2, 4)");
    assertThrows(RegionInUseForUpdateOrSubscription.class, () -> owner.lrc.regions().deleteRegion(updateRegion));
    owner.objects.associateRegionsForUpdates(ServiceMethod.unassociateRegionsForUpdates_OIH_ASRSPL, v,
        List.of(new AttributeRegions(new int[] {position}, new int[] {updateRegion})), false);
    owner.lrc.regions().deleteRegion(updateRegion);
    far.objects.unsubscribeObjectClassAttributes(ServiceMethod.unsubscribeObjectClassAttributesWithRegions_OCH_ASRSPL,
        vehicle, List.of(new AttributeRegions(new int[] {position}, new int[] {farRegion})));
    owner.objects.updateAttributeValues(update, v, HandleValues.of(position, bytes("p")), bytes("3"), null);
    assertEquals(List.of("reflectAttributeValues", "", "reflectAttributeValues"),
        List.of(seen.apply(near), seen.apply(far), seen.apply(anywhere)),
        "without update regions the position reaches every subscriber of it; far no longer subscribes");
  }

  /** A region as the test keeps it, its bounds by dimension, to compare by brute force. */
  private record Box(int handle, Map<Integer, long[]> bounds) {
    boolean meets(Box other) {
      for (Map.Entry<Integer, long[]> e : bounds.entrySet()) {
        long[] theirs = other.bounds.get(e.getKey());
        if (theirs != null && (e.getValue()[0] >= theirs[1] || theirs[0] >= e.getValue()[1])) {
          return false;
        }
      }
      return true;
    }

    void move(Federate f, Random random, Map<Integer, Long> tops) throws RTIexception {
      for (int d : bounds.keySet()) {
        long lower = random.nextLong(tops.get(d));
        long upper = Math.min(tops.get(d), lower + 1 + random.nextLong(tops.get(d) / 3));
        f.lrc.regions().setRangeBounds(handle, d, new RangeBounds(lower, upper));
        bounds.put(d, new long[] {lower, upper});
      }
    }

    static Box create(Federate f, int[] dimensions, Random random, Map<Integer, Long> tops) throws RTIexception {
      Box box = new Box(f.lrc.regions().createRegion(dimensions), new java.util.TreeMap<>());
      for (int d : dimensions) {
        box.bounds.put(d, null);
      }
      box.move(f, random, tops);
      f.lrc.regions().commitRegionModifications(new int[] {box.handle});
      return box;
    }

    static int[] handles(List<Box> boxes) {
      return boxes.stream().mapToInt(Box::handle).toArray();
    }
  }

  /**
   * Regions of every shape move at random while every instance updates: each subscriber
   * receives exactly the updates whose update regions a brute-force comparison of the bounds
   * says meet one of its regions, and is told exactly those update regions. Seeded.
   */
  @Test
  void randomlyMovingRegionsDeliverExactlyWhatOverlaps() throws Exception {
    long seed = Long.getLong("ostra.regionSeed", System.nanoTime());
    Random random = new Random(seed);
    Federate[] f = federates("owner", "s1", "s2", "s3");
    Federate owner = f[0];
    int vehicle = owner.objectClass("Vehicle");
    int position = owner.attribute("Vehicle", "Position");
    int lane = owner.lrc.support().getDimensionHandle("Lane");
    int heading = owner.lrc.support().getDimensionHandle("Heading");
    Map<Integer, Long> tops = Map.of(lane, 8L, heading, 360L);
    int[][] shapes = {{lane}, {heading}, {lane, heading}, {lane, heading}};
    Map<Federate, List<Box>> boxes = new java.util.LinkedHashMap<>();
    for (Federate subscriber : List.of(f).subList(1, f.length)) {
      List<Box> mine = new ArrayList<>();
      for (int k = 0; k < 2; k++) {
        mine.add(Box.create(subscriber, shapes[random.nextInt(shapes.length)], random, tops));
      }
      subscriber.objects.subscribeObjectClassAttributes(
          ServiceMethod.subscribeObjectClassAttributesWithRegions_OCH_ASRSPL_Z_S, vehicle,
          List.of(new AttributeRegions(new int[] {position}, Box.handles(mine))), true, "");
      boxes.put(subscriber, mine);
    }
    owner.objects.publishObjectClassAttributes(vehicle, new int[] {position});
    List<Box> ownBoxes = new ArrayList<>();
    Map<Integer, List<Box>> updatedWithin = new java.util.LinkedHashMap<>();
    for (int i = 0; i < 12; i++) {
      List<Box> within = new ArrayList<>();
      for (int k = 1 + random.nextInt(2); k > 0; k--) {
        within.add(Box.create(owner, shapes[random.nextInt(shapes.length)], random, tops));
      }
      ownBoxes.addAll(within);
      updatedWithin.put(owner.objects.registerObjectInstance(ServiceMethod.registerObjectInstanceWithRegions_OCH_ASRSPL,
          vehicle, List.of(new AttributeRegions(new int[] {position}, Box.handles(within))), null), within);
    }
    boxes.put(owner, ownBoxes);
    for (int step = 0; step < 30; step++) {
      for (Map.Entry<Federate, List<Box>> e : boxes.entrySet()) {
        List<Box> moved = new ArrayList<>();
        for (Box box : e.getValue()) {
          if (random.nextInt(3) == 0) {
            box.move(e.getKey(), random, tops);
            moved.add(box);
          }
        }
        e.getKey().lrc.regions().commitRegionModifications(Box.handles(moved));
      }
      for (int object : updatedWithin.keySet()) {
        owner.objects.updateAttributeValues(ServiceMethod.updateAttributeValues_OIH_AHVM_BX, object,
            HandleValues.of(position, bytes("p")), bytes("" + step), null);
      }
      for (Federate subscriber : List.of(f).subList(1, f.length)) {
        Map<Integer, List<Integer>> expected = new java.util.TreeMap<>();
        updatedWithin.forEach((object, within) -> {
          List<Integer> met = within.stream().filter(u -> boxes.get(subscriber).stream().anyMatch(u::meets))
              .map(Box::handle).sorted().toList();
          if (!met.isEmpty()) {
            expected.put(object, met);
          }
        });
        Map<Integer, List<Integer>> received = new java.util.TreeMap<>();
        for (Callback c : subscriber.evoke()) {
          if (c.method().name().startsWith("reflectAttributeValues")) {
            received.put((Integer) c.args()[0], java.util.Arrays.stream(
                ((org.vantor.ostra1516e.wire.SupplementalInfo) c.args()[5]).sentRegions()).boxed().toList());
          }
        }
        assertEquals(expected, received, "step " + step + ", " + subscriber.name + " (seed " + seed
            + "; -Dostra.regionSeed=" + seed + " repeats it)");
      }
    }
  }

  private static int region(Federate f, int dimension, long lower, long upper) throws RTIexception {
    int region = f.lrc.regions().createRegion(new int[] {dimension});
    f.lrc.regions().setRangeBounds(region, dimension, new RangeBounds(lower, upper));
    f.lrc.regions().commitRegionModifications(new int[] {region});
    return region;
  }

  @Test
  void advisoriesFollowTheInterestOfOthers() throws Exception {
    Federate[] f = federates("publisher", "subscriber");
    Federate p = f[0], s = f[1];
    int vehicle = p.objectClass("Vehicle");
    int position = p.attribute("Vehicle", "Position");
    int speed = p.attribute("Vehicle", "Speed");
    int collision = p.interactionClass("Collision");
    for (ServiceMethod on : List.of(ServiceMethod.enableObjectClassRelevanceAdvisorySwitch,
        ServiceMethod.enableInteractionRelevanceAdvisorySwitch, ServiceMethod.enableAttributeRelevanceAdvisorySwitch)) {
      p.lrc.setAdvisorySwitch(on);
    }
    s.lrc.setAdvisorySwitch(ServiceMethod.enableAttributeScopeAdvisorySwitch);
    p.objects.publishObjectClassAttributes(vehicle, new int[] {position, speed});
    p.objects.publishInteractionClass(collision);
    int car = p.objects.registerObjectInstance(ServiceMethod.registerObjectInstance_OCH, vehicle, null);
    assertTrue(p.drain().isEmpty(), "nobody is interested yet");

    s.objects.subscribeObjectClassAttributes(vehicle, new int[] {position}, true, "");
    s.objects.subscribeInteractionClass(collision, true);
    assertEquals(List.of("startRegistrationForObjectClass[" + vehicle + "]",
        "turnUpdatesOnForObjectInstance[" + car + ", [" + position + "]]",
        "turnInteractionsOn[" + collision + "]"), p.drain());
    assertEquals(List.of("discoverObjectInstance[" + car + ", " + vehicle + ", HLAobject" + car + "]",
        "attributesInScope[" + car + ", [" + position + "]]"), s.drain());

    s.objects.unsubscribeObjectClass(ServiceMethod.unsubscribeObjectClass_OCH, vehicle, null);
    s.objects.unsubscribeInteractionClass(collision);
    assertEquals(List.of("stopRegistrationForObjectClass[" + vehicle + "]",
        "turnUpdatesOffForObjectInstance[" + car + ", [" + position + "]]",
        "turnInteractionsOff[" + collision + "]"), p.drain());
    assertEquals(List.of("attributesOutOfScope[" + car + ", [" + position + "]]"), s.drain());
  }
}
