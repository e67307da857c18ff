package org.vantor.ostra1516e.probe;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotSame;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import hla.rti1516e.exceptions.FederateInternalError;
import hla.rti1516e.exceptions.NotConnected;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.vantor.ostra1516e.RTIambassadorC2007;
import org.vantor.ostra1516e.wire.CallbackMethod;
import org.vantor.ostra1516e.wire.Hex;

/** The probe core's recording and playback, as the C++ bridge tests drive it. */
class ProbeTest {
  private RTIambassadorC2007 core;

  @BeforeEach
  void start() {
    Probe.reset();
    core = new RTIambassadorC2007(new byte[4]);
  }

  @AfterEach
  void restoreNatives() {
    Probe.setSink(null);
  }

  @Test
  void recordsConstructionsAndCallsPerInstance() {
    RTIambassadorC2007 second = new RTIambassadorC2007(Hex.parse("00000001 00000000"));
    byte[] join = Hex.parse("00000001 0061 00000001 0062 00000000");
    core.joinFederationExecution_S_S_URLX(join);
    join[0] = 9;  // the record is a copy
    second.disconnect();
    core.disconnect();

    assertEquals(2, Probe.constructionCount());
    assertArrayEquals(new byte[4], Probe.constructionBytes(0));
    assertArrayEquals(Hex.parse("00000001 00000000"), Probe.constructionBytes(1));
    int first = Probe.constructionInstance(0);
    assertEquals(first + 1, Probe.constructionInstance(1));

    assertEquals(3, Probe.callCount());
    assertEquals("joinFederationExecution_S_S_URLX", Probe.callMethod(0));
    assertArrayEquals(Hex.parse("00000001 0061 00000001 0062 00000000"), Probe.callBytes(0));
    assertEquals(first, Probe.callInstance(0));
    assertEquals(first + 1, Probe.callInstance(1));
    assertNull(Probe.callBytes(2));
    assertEquals(2, Probe.lastCall("disconnect"));
    assertEquals(2, Probe.countCalls("disconnect"));
    assertEquals(1, Probe.countCalls(first + 1, "disconnect"));
    assertEquals(0, Probe.countCalls(first + 1, "joinFederationExecution_S_S_URLX"));
    assertEquals(-1, Probe.lastCall("connect_FA_CM_S"));

    Probe.reset();
    assertEquals(0, Probe.callCount());
    assertEquals(0, Probe.constructionCount());
    new RTIambassadorC2007(new byte[4]);
    assertEquals(first + 2, Probe.constructionInstance(0), "numbers are not reused after reset");
  }

  @Test
  void checksRecordedArraysWithTheWireCodec() {
    core.destroyFederationExecution_S(Hex.parse("00000002 0046 0065"));
    core.destroyFederationExecution_S(Hex.parse("00000002 0046"));
    core.disconnect();
    assertNull(Probe.callDecodeError(0));
    assertEquals("destroyFederationExecution_S[Fe]", Probe.callArguments(0));
    assertEquals("need 4 bytes, 2 remain at offset 4", Probe.callDecodeError(1));
    assertEquals(Probe.callDecodeError(1), Probe.callArguments(1));
    assertNull(Probe.callDecodeError(2));
    assertEquals("disconnect[]", Probe.callArguments(2));
  }

  @Test
  void playsScriptedResultsInOrderThenDefaults() {
    Probe.scriptInt("registerObjectInstance_OCH", 7);
    Probe.scriptInt("registerObjectInstance_OCH", -1);
    Probe.scriptLong("getDimensionUpperBound_DH", (1L << 32) + 3);
    Probe.scriptDouble("getUpdateRateValue_S", 2.5);
    Probe.scriptBoolean("evokeCallback_D", true);
    Probe.scriptString("getTimeFactory", "HLAfloat64Time");
    Probe.scriptBytes("queryGALT", Hex.parse("0000000000000005"));
    Probe.scriptInts("getDimensionHandleSet_RH", new int[] {3, 1});
    Probe.scriptLongs("getRangeBounds_RH_DH", new long[] {5, 10});
    Probe.scriptNull("getFederateName_FH");

    byte[] none = new byte[4];
    assertEquals(7, core.registerObjectInstance_OCH(none));
    assertEquals(-1, core.registerObjectInstance_OCH(none));
    assertEquals(0, core.registerObjectInstance_OCH(none));
    assertEquals((1L << 32) + 3, core.getDimensionUpperBound_DH(none));
    assertEquals(2.5, core.getUpdateRateValue_S(none));
    assertTrue(core.evokeCallback_D(new byte[8]));
    assertFalse(core.evokeCallback_D(new byte[8]));
    assertEquals("HLAfloat64Time", core.getTimeFactory());
    assertEquals("", core.getTimeFactory());
    assertArrayEquals(Hex.parse("0000000000000005"), core.queryGALT());
    assertNull(core.queryGALT());
    assertArrayEquals(new int[] {3, 1}, core.getDimensionHandleSet_RH(none));
    assertArrayEquals(new int[0], core.getDimensionHandleSet_RH(none));
    assertArrayEquals(new long[] {5, 10}, core.getRangeBounds_RH_DH(none));
    assertArrayEquals(new long[] {0, 0}, core.getRangeBounds_RH_DH(none));
    assertNull(core.getFederateName_FH(none));
    assertEquals("", core.getFederateName_FH(none));
  }

  @Test
  void refusesScriptsThatCannotBePlayed() {
    List<Runnable> wrong = List.of(
        () -> Probe.scriptInt("noSuchMethod_S", 1),
        () -> Probe.scriptInt("disconnect", 1),
        () -> Probe.scriptLong("registerObjectInstance_OCH", 1),
        () -> Probe.scriptString("queryGALT", "x"),
        () -> Probe.scriptNull("registerObjectInstance_OCH"),
        () -> Probe.scriptException("noSuchMethod_S", "hla.rti1516e.exceptions.NotConnected", "m"),
        () -> Probe.scriptException("disconnect", "no.such.Exception", "m"),
        () -> Probe.scriptException("disconnect", "java.lang.String", "m"),
        () -> Probe.queueCallback("noSuchCallback_Native", new byte[12]));
    for (int i = 0; i < wrong.size(); i++) {
      assertThrows(IllegalArgumentException.class, wrong.get(i)::run, "script " + i);
    }
  }

  @Test
  void throwsScriptedExceptionsOfAnyClassAndMessage() {
    Probe.scriptException("connect_FA_CM_S", "hla/rti1516e/exceptions/NotConnected", "not yet");
    Probe.scriptException("connect_FA_CM_S", "hla.rti1516e.exceptions.NotConnected", null);
    Probe.scriptException("getTimeFactory", "java.lang.IllegalStateException", "core broke");
    Probe.scriptException("disconnect", "java.lang.OutOfMemoryError", "full");

    NotConnected e = assertThrows(NotConnected.class, () -> core.connect_FA_CM_S(new byte[12]));
    assertEquals("not yet", e.getMessage());
    assertNull(assertThrows(NotConnected.class, () -> core.connect_FA_CM_S(new byte[12])).getMessage());
    core.connect_FA_CM_S(new byte[12]);
    assertEquals("core broke", assertThrows(IllegalStateException.class, core::getTimeFactory).getMessage());
    assertThrows(OutOfMemoryError.class, core::disconnect);
    assertEquals(4, Probe.countCalls("connect_FA_CM_S") + Probe.countCalls("getTimeFactory"),
        "failed calls are recorded too");

    Probe.scriptException(Probe.CONSTRUCTOR, "hla.rti1516e.exceptions.RTIinternalError", "no core");
    assertEquals("no core", assertThrows(Exception.class, () -> new RTIambassadorC2007(new byte[4])).getMessage());
    new RTIambassadorC2007(new byte[4]);
  }

  private record Delivery(CallbackMethod method, byte[] array, Thread thread) {}

  private static List<Delivery> recordDeliveries() {
    List<Delivery> deliveries = Collections.synchronizedList(new ArrayList<>());
    Probe.setSink((method, array) -> deliveries.add(new Delivery(method, array, Thread.currentThread())));
    return deliveries;
  }

  @Test
  void deliversQueuedCallbacksNestedInTheNextEvoke() {
    List<Delivery> deliveries = recordDeliveries();
    byte[] saved = Hex.parse("63626160 00000001 59585756");
    Probe.queueCallback("federationSaved_Native", saved);
    Probe.queueCallback("federationRestored_Native", new byte[3]);
    assertEquals(2, Probe.queuedCallbackCount());
    assertTrue(deliveries.isEmpty(), "nothing is delivered before an evoke");

    core.evokeMultipleCallbacks_D_D(new byte[16]);
    assertEquals(2, deliveries.size());
    assertEquals(CallbackMethod.federationSaved_Native, deliveries.get(0).method);
    assertArrayEquals(saved, deliveries.get(0).array);
    assertEquals(CallbackMethod.federationRestored_Native, deliveries.get(1).method);
    assertSame(Thread.currentThread(), deliveries.get(0).thread);
    assertEquals(2, Probe.deliveredCount());
    assertEquals(0, Probe.queuedCallbackCount());

    core.evokeCallback_D(new byte[8]);
    assertEquals(2, deliveries.size(), "a batch is delivered once");
  }

  @Test
  void failedEvokeDeliversNothing() {
    List<Delivery> deliveries = recordDeliveries();
    Probe.queueCallback("federationSaved_Native", new byte[12]);
    Probe.scriptException("evokeCallback_D", "hla.rti1516e.exceptions.CallNotAllowedFromWithinCallback", "nested");
    assertThrows(Exception.class, () -> core.evokeCallback_D(new byte[8]));
    assertTrue(deliveries.isEmpty());
    core.evokeCallback_D(new byte[8]);
    assertEquals(1, deliveries.size());
  }

  @Test
  void deliversOnItsOwnThreadAndWaitsForTheEnd() {
    List<Delivery> deliveries = recordDeliveries();
    Probe.setSink((method, array) -> {
      core.getTimeFactory();  // a service called from inside the callback, on the probe's thread
      deliveries.add(new Delivery(method, array, Thread.currentThread()));
    });
    Probe.queueCallback("federationSaved_Native", new byte[12]);
    Probe.queueCallback("federationRestoreBegun_Native", new byte[12]);
    assertEquals(2, Probe.deliverOnProbeThread());
    assertEquals(2, deliveries.size());
    assertNotSame(Thread.currentThread(), deliveries.get(0).thread);
    assertSame(deliveries.get(0).thread, deliveries.get(1).thread);
    assertEquals(2, Probe.countCalls("getTimeFactory"));
    assertEquals(0, Probe.deliverOnProbeThread());
  }

  @Test
  void reportsWhatCallbacksThrew() {
    Probe.setSink((method, array) -> {
      if (array.length == 0) {
        throw new FederateInternalError(null);
      }
      throw new FederateInternalError("federate said no");
    });
    Probe.queueCallback("federationSaved_Native", new byte[12]);
    Probe.queueCallback("federationRestored_Native", new byte[0]);
    Probe.deliverOnProbeThread();
    assertEquals(2, Probe.callbackFailureCount());
    assertEquals("federationSaved_Native", Probe.callbackFailureMethod(0));
    assertEquals("hla.rti1516e.exceptions.FederateInternalError", Probe.callbackFailureClass(0));
    assertEquals("federate said no", Probe.callbackFailureMessage(0));
    assertNull(Probe.callbackFailureMessage(1));
    assertEquals(2, Probe.deliveredCount());
  }

  @Test
  void callsTheNativeMethodsByDefault() {
    // Without the C++ library nothing is bound, so the native method itself fails; that
    // proves the delivery reached FederateAmbassadorC2007's native of that name.
    Probe.queueCallback("timeAdvanceGrant_LT_Native", new byte[20]);
    core.evokeCallback_D(new byte[8]);
    assertEquals(1, Probe.callbackFailureCount());
    assertEquals(UnsatisfiedLinkError.class.getName(), Probe.callbackFailureClass(0));
    assertTrue(Probe.callbackFailureMessage(0).contains("timeAdvanceGrant_LT_Native"), Probe.callbackFailureMessage(0));
  }
}
