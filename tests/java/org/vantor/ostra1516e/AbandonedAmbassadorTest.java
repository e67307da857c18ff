package org.vantor.ostra1516e;

import static org.junit.jupiter.api.Assertions.assertTrue;

import hla.rti1516e.exceptions.FederatesCurrentlyJoined;
import java.util.ArrayList;
import java.util.List;
import org.junit.jupiter.api.Test;
import org.vantor.ostra1516e.wire.ServiceMethod;
import org.vantor.ostra1516e.wire.WireCodec;

/** An ambassador dropped while joined does not keep its federation alive for ever. */
class AbandonedAmbassadorTest {
  private static final WireCodec CODEC = new WireCodec(WireCodec.STANDARD_TIME_LENGTH);

  private static void joinAndDrop(String federation) throws Exception {
    RTIambassadorC2007 dropped = new RTIambassadorC2007(new byte[4]);
    dropped.connect_FA_CM_S(CODEC.encodeService(ServiceMethod.connect_FA_CM_S, 9, 1, ""));
    dropped.createFederationExecution_S_URLX_S(
        CODEC.encodeService(ServiceMethod.createFederationExecution_S_URLX_S, federation, List.of(), ""));
    dropped.joinFederationExecution_S_S_URLX(
        CODEC.encodeService(ServiceMethod.joinFederationExecution_S_S_URLX, "dropped", federation, List.of()));
  }

  @Test
  void aDroppedAmbassadorIsResignedOnceCollected() throws Exception {
    joinAndDrop("abandoned");
    ServiceEntry other = ServiceStatesTest.entry(ServiceStatesTest.State.CONNECTED, new ArrayList<>());
    byte[] destroy = CODEC.encodeService(ServiceMethod.destroyFederationExecution_S, "abandoned");
    long deadline = System.nanoTime() + 20_000_000_000L;
    boolean destroyed = false;
    while (!destroyed && System.nanoTime() < deadline) {
      System.gc();
      try {
        other.call(ServiceMethod.destroyFederationExecution_S, destroy);
        destroyed = true;
      } catch (FederatesCurrentlyJoined stillJoined) {
        Thread.sleep(20);
      }
    }
    assertTrue(destroyed, "the dropped federate is still joined");
  }
}
