package org.vantor.ostra1516e.engine;

import java.util.concurrent.ConcurrentLinkedQueue;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicBoolean;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.concurrent.locks.Condition;
import java.util.concurrent.locks.ReentrantLock;

/**
 * Mailbox runs the tasks posted to one federation execution one at a time, in the order
 * posted. There is no thread of its own: whoever posts a task drains the mailbox unless
 * another thread is already draining it, so a federate's call is handled on its own thread
 * when the federation is idle and never waits for another federation. The state a mailbox
 * guards is touched only by its tasks and needs no lock.
 *
 * <p>A bounded mailbox (a federation server's) holds at most {@code limit} tasks: a poster
 * that finds it full waits until the draining thread has made room, so a federation whose
 * delivery is held up (a federate's connection that does not take what is written to it)
 * holds back those who post to it instead of queueing their messages without bound. The
 * draining thread itself never waits for room.
 *
 * <p>Thread-safety: any thread may post. Tasks must not block, except a server's in writing
 * to a connection.
 */
final class Mailbox {
  private final String owner;
  private final int limit;
  private final ConcurrentLinkedQueue<Runnable> tasks = new ConcurrentLinkedQueue<>();
  private final AtomicBoolean draining = new AtomicBoolean();
  private final AtomicInteger queued = new AtomicInteger();
  private final ReentrantLock roomLock = new ReentrantLock();
  private final Condition room = roomLock.newCondition();
  private volatile int roomWaiters;
  private volatile Thread drainer;

  /** Mailbox holds any number of tasks when limit is 0. */
  Mailbox(String owner, int limit) {
    this.owner = owner;
    this.limit = limit;
  }

  void post(Runnable task) {
    if (limit > 0 && queued.get() >= limit && drainer != Thread.currentThread()) {
      awaitRoom();
    }
    queued.incrementAndGet();
    tasks.add(task);
    while (!tasks.isEmpty() && draining.compareAndSet(false, true)) {
      drainer = Thread.currentThread();
      try {
        Runnable next;
        while ((next = tasks.poll()) != null) {
          if (queued.decrementAndGet() < limit && roomWaiters > 0) {
            signalRoom();
          }
          run(next);
        }
      } finally {
        drainer = null;
        draining.set(false);
      }
      // A task posted after the last poll but before draining was cleared is picked up by
      // the loop condition: its poster saw draining set and left it to us.
    }
  }

  /** queued is the number of tasks waiting or running, as last seen. */
  int queued() {
    return queued.get();
  }

  /**
   * awaitRoom waits until the mailbox holds fewer than limit tasks. Some thread is draining
   * while it is that full; the timed wait only guards against a missed signal.
   */
  private void awaitRoom() {
    roomLock.lock();
    roomWaiters++;
    try {
      while (queued.get() >= limit) {
        room.await(10, TimeUnit.MILLISECONDS);
      }
    } catch (InterruptedException e) {
      Thread.currentThread().interrupt();
    } finally {
      roomWaiters--;
      roomLock.unlock();
    }
  }

  private void signalRoom() {
    roomLock.lock();
    try {
      room.signalAll();
    } finally {
      roomLock.unlock();
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
