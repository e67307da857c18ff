package org.vantor.ostra1516e;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.fail;

import hla.rti1516e.exceptions.RTIexception;
import java.util.ArrayList;
import java.util.List;
import java.util.Set;
import java.util.concurrent.atomic.AtomicInteger;
import org.junit.jupiter.api.Test;
import org.vantor.ostra1516e.lrc.Callback;
import org.vantor.ostra1516e.wire.SampleValues;
import org.vantor.ostra1516e.wire.ServiceMethod;
import org.vantor.ostra1516e.wire.WireCodec;

/**
 * Every service in every state of a component, through the entry's decoding: a service
 * called before connect or before join gets NotConnected or FederateNotExecutionMember
 * where its list has them, and no service ever raises a class its exception list does not
 * hold.
 */
class ServiceStatesTest {
  private static final WireCodec CODEC = new WireCodec(WireCodec.STANDARD_TIME_LENGTH);
  private static final AtomicInteger FEDERATIONS = new AtomicInteger();

  enum State { NOT_CONNECTED, CONNECTED, JOINED }

  static ServiceEntry entry(State state, List<Callback> delivered) throws RTIexception {
    ServiceEntry entry = new ServiceEntry((handle, callback) -> delivered.add(callback));
    if (state == State.NOT_CONNECTED) {
      return entry;
    }
    entry.call(ServiceMethod.connect_FA_CM_S, CODEC.encodeService(ServiceMethod.connect_FA_CM_S, 7, 1, ""));
    if (state == State.JOINED) {
      String federation = "states-" + FEDERATIONS.incrementAndGet();
      entry.call(ServiceMethod.createFederationExecution_S_URLX_S,
          CODEC.encodeService(ServiceMethod.createFederationExecution_S_URLX_S, federation, List.of(), ""));
      entry.call(ServiceMethod.joinFederationExecution_S_S_URLX,
          CODEC.encodeService(ServiceMethod.joinFederationExecution_S_S_URLX, "tester", federation, List.of()));
    }
    return entry;
  }

  private static String expectedFailure(ServiceMethod service, State state) {
    if (state == State.NOT_CONNECTED && service.raises("NotConnected")) {
      return "NotConnected";
    }
    if (state != State.JOINED && service.raises("FederateNotExecutionMember")) {
      return "FederateNotExecutionMember";
    }
    return null;  // the service's own outcome with the sample arguments; only its class is checked
  }

  @Test
  void everyServiceInEveryStateRaisesOnlyListedClassesAndStateErrorsFirst() throws Exception {
    List<String> problems = new ArrayList<>();
    for (ServiceMethod service : ServiceMethod.values()) {
      if (service.serviceName().startsWith("evoke")) {
        continue;  // they wait for callbacks; EvokeTest covers them
      }
      for (State state : State.values()) {
        ServiceEntry entry = entry(state, new ArrayList<>());
        byte[] array = service.takesArray() ? CODEC.encodeService(service, SampleValues.of(service.codes())) : null;
        String raised = null;
        String message = "";
        try {
          entry.call(service, array);
        } catch (RTIexception e) {
          raised = e.getClass().getSimpleName();
          message = e.getMessage();
        }
        String expected = expectedFailure(service, state);
        String where = service + " when " + state + ": ";
        if (raised != null && !service.raises(raised) && !raised.equals("RTIinternalError")) {
          problems.add(where + "raised unlisted " + raised + " (" + message + ")");
        }
        if (expected != null && !expected.equals(raised)) {
          problems.add(where + "expected " + expected + ", got " + raised + " (" + message + ")");
        }
        if (raised != null && raised.equals(expected) && !message.startsWith(service.serviceName() + ":")) {
          problems.add(where + "message does not name the service: " + message);
        }
      }
    }
    if (!problems.isEmpty()) {
      fail(problems.size() + " problems:\n" + String.join("\n", problems));
    }
  }

  @Test
  void stateErrorsNameTheServiceAndTheWayOut() throws Exception {
    ServiceEntry entry = entry(State.CONNECTED, new ArrayList<>());
    try {
      entry.call(ServiceMethod.getObjectClassHandle_S,
          CODEC.encodeService(ServiceMethod.getObjectClassHandle_S, "HLAobjectRoot"));
      fail("not joined, yet answered");
    } catch (RTIexception e) {
      assertEquals("getObjectClassHandle: not joined to a federation execution; call joinFederationExecution first",
          e.getMessage());
    }
  }
}
