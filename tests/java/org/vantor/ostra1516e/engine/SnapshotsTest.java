package org.vantor.ostra1516e.engine;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.file.Path;
import java.time.Duration;
import java.util.List;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.Test;
import org.vantor.ostra1516e.lrc.LocalRtiComponent;
import org.vantor.ostra1516e.transport.InProcessTransport;
import org.vantor.ostra1516e.wire.ServiceMethod;

/** A federation that is stuck shows as busy and holds up neither the one who asks nor the others. */
class SnapshotsTest {
  private static final int EVOKED = 1;  // the wire number of HLA_EVOKED
  private static final String VEHICLES =
      Path.of(System.getProperty("ostra.fomModules"), "Vehicles.xml").toString();

  @Test
  void aStuckFederationShowsAsBusyAndTheOthersAsTheyAre() throws Exception {
    FederationEngine engine = new FederationEngine();
    LocalRtiComponent lrc = new LocalRtiComponent(new InProcessTransport(engine), (fa, c) -> { });
    lrc.connect(1, EVOKED, "");
    for (String name : List.of("free", "stuck")) {
      lrc.createFederationExecution(ServiceMethod.createFederationExecution_S_URL_S, name, List.of(VEHICLES), null,
          "HLAfloat64Time");
    }
    lrc.joinFederationExecution(ServiceMethod.joinFederationExecution_S_S_S_URLX, "f", "t", "free", List.of());

    CountDownLatch running = new CountDownLatch(1);
    CountDownLatch release = new CountDownLatch(1);
    Thread holder = new Thread(() -> engine.execution("stuck").post(() -> {
      running.countDown();
      try {
        release.await();
      } catch (InterruptedException e) {
        Thread.currentThread().interrupt();
      }
    }));
    holder.start();
    assertTrue(running.await(5, TimeUnit.SECONDS));

    for (int round = 0; round < 3; round++) {  // asking again while stuck costs no more threads' waits
      long start = System.nanoTime();
      List<Snapshots.FederationView> views = engine.snapshots(Duration.ofMillis(100));
      assertTrue(System.nanoTime() - start < TimeUnit.SECONDS.toNanos(3), "waited for the stuck federation");
      assertEquals(List.of("free", "stuck"), views.stream().map(Snapshots.FederationView::name).toList());
      assertEquals(List.of(false, true), views.stream().map(Snapshots.FederationView::busy).toList());
      assertEquals(List.of("f"), views.get(0).federates().stream().map(Snapshots.FederateView::name).toList());
      assertEquals("in-process", views.get(0).federates().get(0).host());
    }

    release.countDown();
    holder.join(5000);
    Snapshots.FederationView after = engine.snapshot("stuck", Duration.ofSeconds(5));
    assertEquals(false, after.busy());
    assertEquals(List.of("Vehicles.xml"), after.fomModules().stream().map(m -> Path.of(m).getFileName().toString())
        .toList());
    lrc.resignFederationExecution(5);
    lrc.destroyFederationExecution("stuck");
    assertEquals(null, engine.snapshot("stuck", Duration.ofSeconds(1)));
    assertEquals(List.of("free"), engine.snapshots(Duration.ofSeconds(1)).stream()
        .map(Snapshots.FederationView::name).toList());
    lrc.disconnect();
  }
}
