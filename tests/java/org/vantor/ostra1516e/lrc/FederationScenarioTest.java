package org.vantor.ostra1516e.lrc;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import hla.rti1516e.exceptions.FederateNameAlreadyInUse;
import hla.rti1516e.exceptions.FederatesCurrentlyJoined;
import hla.rti1516e.exceptions.FederationExecutionAlreadyExists;
import hla.rti1516e.exceptions.FederationExecutionDoesNotExist;
import hla.rti1516e.exceptions.InvalidFederateHandle;
import hla.rti1516e.exceptions.RTIexception;
import hla.rti1516e.exceptions.SynchronizationPointLabelNotAnnounced;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.concurrent.atomic.AtomicInteger;
import org.junit.jupiter.api.Test;
import org.vantor.ostra1516e.engine.FederationEngine;
import org.vantor.ostra1516e.transport.InProcessTransport;
import org.vantor.ostra1516e.wire.CallbackMethod;
import org.vantor.ostra1516e.wire.FederationExecution;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * Federation management end to end inside Java: components joined to one engine create,
 * join, synchronize, resign and destroy, and each sees exactly the callbacks it should.
 */
class FederationScenarioTest {
  private static final AtomicInteger NAMES = new AtomicInteger();
  private final FederationEngine engine = new FederationEngine();

  /** Federate is a component with a recording callback sink, evoked model. */
  final class Federate {
    final LocalRtiComponent lrc;
    final List<Callback> seen = new CopyOnWriteArrayList<>();
    int handle;

    Federate(int model) throws RTIexception {
      lrc = new LocalRtiComponent(new InProcessTransport(engine), (fa, callback) -> seen.add(callback));
      lrc.connect(NAMES.incrementAndGet(), model, "");
    }

    Federate join(String name, String federation) throws RTIexception {
      handle = lrc.joinFederationExecution(ServiceMethod.joinFederationExecution_S_S_S_URLX, name, "tester",
          federation, List.of());
      return this;
    }

    /** drain delivers what is pending and returns it. */
    List<Callback> drain() throws RTIexception {
      while (lrc.evokeMultipleCallbacks(0, 0.2)) {
        // until nothing is pending
      }
      List<Callback> taken = new ArrayList<>(seen);
      seen.clear();
      return taken;
    }
  }

  private static Callback callback(CallbackMethod method, Object... args) {
    return new Callback(method, args);
  }

  private static void assertCallbacks(List<Callback> expected, List<Callback> actual) {
    assertEquals(expected.toString(), actual.toString());
  }

  private static String create(Federate creator, String time) throws RTIexception {
    return create(creator, "scenario-" + NAMES.incrementAndGet(), time);
  }

  private static String create(Federate creator, String name, String time) throws RTIexception {
    creator.lrc.createFederationExecution(ServiceMethod.createFederationExecution_S_URLX_S, name, List.of(), null,
        time);
    return name;
  }

  @Test
  void synchronizationPointsAcrossJoinsAndResigns() throws Exception {
    Federate a = new Federate(LocalRtiComponent.EVOKED);
    Federate b = new Federate(LocalRtiComponent.EVOKED);
    Federate c = new Federate(LocalRtiComponent.EVOKED);
    Federate d = new Federate(LocalRtiComponent.EVOKED);
    String federation = create(a, "HLAinteger64Time");
    assertThrows(FederationExecutionAlreadyExists.class, () -> create(b, federation, ""));
    a.join("alpha", federation);
    b.join("beta", federation);
    assertThrows(FederateNameAlreadyInUse.class, () -> c.join("beta", federation));
    c.handle = c.lrc.joinFederationExecution(ServiceMethod.joinFederationExecution_S_S_URLX, null, "radar",
        federation, List.of());
    assertEquals("radar-" + c.handle, a.lrc.support().getFederateName(c.handle));
    assertEquals(b.handle, c.lrc.support().getFederateHandle("beta"));

    byte[] tag = {1, 2};
    a.lrc.registerFederationSynchronizationPoint(ServiceMethod.registerFederationSynchronizationPoint_S_BX,
        "ready", tag, new int[0]);
    a.lrc.registerFederationSynchronizationPoint(ServiceMethod.registerFederationSynchronizationPoint_S_BX,
        "ready", tag, new int[0]);
    assertThrows(InvalidFederateHandle.class, () -> a.lrc.registerFederationSynchronizationPoint(
        ServiceMethod.registerFederationSynchronizationPoint_S_BX_FHS, "pair", tag, new int[] {a.handle, 99}));
    assertCallbacks(List.of(
        callback(CallbackMethod.synchronizationPointRegistrationSucceeded_S_Native, "ready"),
        callback(CallbackMethod.announceSynchronizationPoint_S_BX_Native, "ready", tag),
        callback(CallbackMethod.synchronizationPointRegistrationFailed_S_SPFR_Native, "ready", 0)), a.drain());
    assertCallbacks(List.of(callback(CallbackMethod.announceSynchronizationPoint_S_BX_Native, "ready", tag)),
        b.drain());

    // A federate joining while the point waits is part of it; one that resigns no longer holds it up.
    d.join("delta", federation);
    assertCallbacks(List.of(callback(CallbackMethod.announceSynchronizationPoint_S_BX_Native, "ready", tag)),
        d.drain());
    a.lrc.synchronizationPointAchieved("ready", true);
    assertThrows(SynchronizationPointLabelNotAnnounced.class, () -> a.lrc.synchronizationPointAchieved("ready", true));
    b.lrc.synchronizationPointAchieved("ready", false);
    c.lrc.resignFederationExecution(5);
    a.lrc.registerFederationSynchronizationPoint(ServiceMethod.registerFederationSynchronizationPoint_S_BX_FHS,
        "pair", tag, new int[] {a.handle, c.handle});
    assertTrue(a.drain().get(0).toString().contains("synchronizationPointRegistrationFailed_S_SPFR_Native[pair, 1]"));
    assertFalse(b.lrc.evokeCallback(0));
    d.lrc.synchronizationPointAchieved("ready", true);
    Callback synced = callback(CallbackMethod.federationSynchronized_S_FHS_Native, "ready", new int[] {b.handle});
    for (Federate f : List.of(a, b, d)) {
      assertCallbacks(List.of(synced), f.drain());
    }
    assertTrue(c.drain().isEmpty());

    assertThrows(FederatesCurrentlyJoined.class, () -> c.lrc.destroyFederationExecution(federation));
    for (Federate f : List.of(a, b, d)) {
      f.lrc.resignFederationExecution(5);
    }
    c.lrc.listFederationExecutions();
    Callback report = c.drain().get(0);
    assertEquals(CallbackMethod.reportFederationExecutions_FEIS_Native, report.method());
    assertTrue(report.toString().contains(new FederationExecution(federation, "HLAinteger64Time").toString()));
    c.lrc.destroyFederationExecution(federation);
    assertThrows(FederationExecutionDoesNotExist.class, () -> c.lrc.destroyFederationExecution(federation));
    assertThrows(FederationExecutionDoesNotExist.class, () -> c.join("again", federation));
  }

  @Test
  void disabledCallbacksWaitAndImmediateDeliveryRunsOnItsOwnThread() throws Exception {
    Federate a = new Federate(LocalRtiComponent.EVOKED);
    Federate b = new Federate(LocalRtiComponent.IMMEDIATE);
    String federation = create(a, "");
    a.join("evoked", federation);
    b.join("immediate", federation);
    a.lrc.disableCallbacks();
    b.lrc.registerFederationSynchronizationPoint(ServiceMethod.registerFederationSynchronizationPoint_S_BX,
        "held", new byte[0], new int[0]);
    assertFalse(a.lrc.evokeMultipleCallbacks(0.05, 0.1));
    assertTrue(a.seen.isEmpty());
    a.lrc.enableCallbacks();
    assertEquals(CallbackMethod.announceSynchronizationPoint_S_BX_Native, a.drain().get(0).method());
    long deadline = System.nanoTime() + 5_000_000_000L;
    while (b.seen.size() < 2 && System.nanoTime() < deadline) {
      Thread.sleep(1);
    }
    assertEquals(2, b.seen.size(), "immediate delivery without evoking");
    assertArrayEquals(new Object[] {"held", new byte[0]}, b.seen.get(1).args());
  }
}
