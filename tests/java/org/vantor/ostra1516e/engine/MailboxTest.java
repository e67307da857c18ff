package org.vantor.ostra1516e.engine;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.List;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.Test;

/** A bounded mailbox holds its posters back while its drainer is stuck, and loses nothing. */
class MailboxTest {
  @Test
  void aFullMailboxHoldsPostersBackUntilTheDrainerMakesRoom() throws Exception {
    Mailbox mailbox = new Mailbox("bounded", 4);
    List<Integer> ran = new CopyOnWriteArrayList<>();
    CountDownLatch stuck = new CountDownLatch(1);
    CountDownLatch release = new CountDownLatch(1);
    Thread drainer = new Thread(() -> mailbox.post(() -> {
      stuck.countDown();
      await(release);
      ran.add(0);
    }));
    drainer.start();
    assertTrue(stuck.await(5, TimeUnit.SECONDS));

    Thread poster = new Thread(() -> {
      for (int i = 1; i <= 10; i++) {
        int n = i;
        mailbox.post(() -> ran.add(n));
      }
    });
    poster.start();
    long deadline = System.nanoTime() + TimeUnit.SECONDS.toNanos(5);
    while (poster.getState() != Thread.State.TIMED_WAITING && System.nanoTime() < deadline) {
      Thread.sleep(1);
    }
    assertEquals(Thread.State.TIMED_WAITING, poster.getState(), "the fifth post waits for room");
    assertTrue(ran.isEmpty());

    release.countDown();
    drainer.join(5000);
    poster.join(5000);
    assertEquals(List.of(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10), ran);
  }

  private static void await(CountDownLatch latch) {
    try {
      latch.await();
    } catch (InterruptedException e) {
      Thread.currentThread().interrupt();
    }
  }
}
