package org.vantor.ostra1516e.engine;

import java.util.concurrent.ConcurrentLinkedQueue;
import java.util.concurrent.atomic.AtomicBoolean;

/**
 * Mailbox runs the tasks posted to one federation execution one at a time, in the order
 * posted. There is no thread of its own: whoever posts a task drains the mailbox unless
 * another thread is already draining it, so a federate's call is handled on its own thread
 * when the federation is idle and never waits for another federation. The state a mailbox
 * guards is touched only by its tasks and needs no lock.
 *
 * <p>Thread-safety: any thread may post. Tasks must not block.
 */
final class Mailbox {
  private final String owner;
  private final ConcurrentLinkedQueue<Runnable> tasks = new ConcurrentLinkedQueue<>();
  private final AtomicBoolean draining = new AtomicBoolean();

  Mailbox(String owner) {
    this.owner = owner;
  }

  void post(Runnable task) {
    tasks.add(task);
    while (!tasks.isEmpty() && draining.compareAndSet(false, true)) {
      try {
        Runnable next;
        while ((next = tasks.poll()) != null) {
          run(next);
        }
      } finally {
        draining.set(false);
      }
      // A task posted after the last poll but before draining was cleared is picked up by
      // the loop condition: its poster saw draining set and left it to us.
    }
  }

  private void run(Runnable task) {
    try {
      task.run();
    } catch (RuntimeException | AssertionError e) {
      // A fault in one task must not stop the federation; the task's requester has been
      // answered by the task's own guard (Session).
      System.err.println("federation " + owner + ": internal error: " + e);
      e.printStackTrace();
    }
  }
}
