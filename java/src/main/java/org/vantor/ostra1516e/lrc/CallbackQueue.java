package org.vantor.ostra1516e.lrc;

import java.util.concurrent.ConcurrentLinkedQueue;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.concurrent.locks.Condition;
import java.util.concurrent.locks.ReentrantLock;

/**
 * CallbackQueue holds one component's callbacks until they are delivered, in arrival
 * order. Disabling delivery holds them without losing any; clearing drops them (the
 * federate resigned or disconnected).
 *
 * <p>Adding and taking touch only a lock-free queue while the taker is busy; the lock and
 * its condition are for a taker that waits, and an adder takes the lock only to wake one.
 * A taker counts itself in {@code waiters} under the lock before it looks at the queue a
 * last time and waits, and an adder that sees a waiter signals under the same lock, so no
 * wake-up is lost.
 *
 * <p>Thread-safety: all methods may be called from any thread.
 */
final class CallbackQueue {
  private static final long SPIN_NANOS = 5_000;
  /** Waiters that may spin at once in this process: one processor fewer than there are. */
  private static final int MAX_SPINNERS = Runtime.getRuntime().availableProcessors() - 1;
  private static final AtomicInteger SPINNERS = new AtomicInteger();
  private final ConcurrentLinkedQueue<Callback> queue = new ConcurrentLinkedQueue<>();
  private final ReentrantLock lock = new ReentrantLock();
  private final Condition changed = lock.newCondition();
  private volatile int waiters;
  private volatile boolean enabled = true;
  private volatile boolean closed;
  /** Run before a taker waits: what the component holds back to send goes out first. */
  private final Runnable beforeWait;
  private final long yieldNanos;

  /**
   * CallbackQueue runs beforeWait before a taker waits. A taker looks again for {@code
   * SPIN_NANOS}, and then, yielding its processor to any thread that wants it, until
   * yieldNanos have passed, before it sleeps: a callback from a server in another process
   * takes tens of microseconds, and waking a sleeper costs about as much again.
   */
  CallbackQueue(Runnable beforeWait, long yieldNanos) {
    this.beforeWait = beforeWait;
    this.yieldNanos = Math.max(SPIN_NANOS, yieldNanos);
  }

  CallbackQueue() {
    this(() -> { }, 0);
  }

  void add(Callback callback) {
    if (closed) {
      return;
    }
    queue.offer(callback);
    if (waiters > 0) {
      wake();
    }
  }

  private void wake() {
    lock.lock();
    try {
      changed.signalAll();
    } finally {
      lock.unlock();
    }
  }

  private Callback takeNow() {
    return enabled && !closed ? queue.poll() : null;
  }

  /** poll takes the next deliverable callback, waiting until deadline (System.nanoTime) at most. */
  Callback poll(long deadline) {
    return poll(deadline, false);
  }

  /** take waits for the next deliverable callback; null once the queue is closed. */
  Callback take() {
    return poll(0, true);
  }

  private Callback poll(long deadline, boolean forever) {
    Callback next = takeNow();
    if (next != null || closed) {
      return next;
    }
    beforeWait.run();
    // A callback is often only microseconds away (a grant another federate's request is
    // about to free): look again for a short while before paying for sleeping and waking,
    // but only while a processor is left for the threads that do the work.
    if (SPINNERS.incrementAndGet() <= MAX_SPINNERS) {
      try {
        long start = System.nanoTime();
        long spinUntil = start + SPIN_NANOS;
        long yieldUntil = start + yieldNanos;
        long now;
        while ((now = System.nanoTime()) < yieldUntil && (forever || now < deadline)) {
          if (now < spinUntil) {
            Thread.onSpinWait();
          } else {
            Thread.yield();
          }
          if ((next = takeNow()) != null || closed) {
            return next;
          }
        }
      } finally {
        SPINNERS.decrementAndGet();
      }
    } else {
      SPINNERS.decrementAndGet();
    }
    lock.lock();
    waiters++;
    try {
      while (!closed && (next = takeNow()) == null) {
        if (forever) {
          changed.await();
          continue;
        }
        long left = deadline - System.nanoTime();
        if (left <= 0) {
          return null;
        }
        changed.awaitNanos(left);
      }
      return next;
    } catch (InterruptedException e) {
      Thread.currentThread().interrupt();
      return null;
    } finally {
      waiters--;
      lock.unlock();
    }
  }

  /** pending tells whether a callback could be delivered now. */
  boolean pending() {
    return enabled && !closed && !queue.isEmpty();
  }

  void setEnabled(boolean on) {
    enabled = on;
    wake();
  }

  void clear() {
    queue.clear();
  }

  /** close drops every callback and wakes every waiter for good. */
  void close() {
    closed = true;
    queue.clear();
    wake();
  }

  /** sleep waits until deadline or until the queue is closed, delivering nothing. */
  void sleep(long deadline) {
    lock.lock();
    try {
      long left;
      while (!closed && (left = deadline - System.nanoTime()) > 0) {
        changed.awaitNanos(Math.min(left, TimeUnit.MILLISECONDS.toNanos(100)));
      }
    } catch (InterruptedException e) {
      Thread.currentThread().interrupt();
    } finally {
      lock.unlock();
    }
  }
}
