package org.vantor.ostra1516e.lrc;

import java.util.ArrayDeque;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.locks.Condition;
import java.util.concurrent.locks.ReentrantLock;

/**
 * CallbackQueue holds one component's callbacks until they are delivered, in arrival
 * order. Disabling delivery holds them without losing any; clearing drops them (the
 * federate resigned or disconnected).
 *
 * <p>Thread-safety: all methods may be called from any thread; taking waits only for the
 * queue's own short lock and condition.
 */
final class CallbackQueue {
  private final ReentrantLock lock = new ReentrantLock();
  private final Condition changed = lock.newCondition();
  private final ArrayDeque<Callback> queue = new ArrayDeque<>();
  private boolean enabled = true;
  private boolean closed;

  void add(Callback callback) {
    lock.lock();
    try {
      queue.add(callback);
      if (enabled) {
        changed.signalAll();
      }
    } finally {
      lock.unlock();
    }
  }

  /** poll takes the next deliverable callback, waiting until deadline (System.nanoTime) at most. */
  Callback poll(long deadline) {
    return poll(deadline, false);
  }

  private Callback poll(long deadline, boolean forever) {
    lock.lock();
    try {
      while (!closed && (!enabled || queue.isEmpty())) {
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
      return closed ? null : queue.poll();
    } catch (InterruptedException e) {
      Thread.currentThread().interrupt();
      return null;
    } finally {
      lock.unlock();
    }
  }

  /** take waits for the next deliverable callback; null once the queue is closed. */
  Callback take() {
    return poll(0, true);
  }

  /** pending tells whether a callback could be delivered now. */
  boolean pending() {
    lock.lock();
    try {
      return enabled && !closed && !queue.isEmpty();
    } finally {
      lock.unlock();
    }
  }

  int size() {
    lock.lock();
    try {
      return queue.size();
    } finally {
      lock.unlock();
    }
  }

  void setEnabled(boolean on) {
    lock.lock();
    try {
      enabled = on;
      changed.signalAll();
    } finally {
      lock.unlock();
    }
  }

  void clear() {
    lock.lock();
    try {
      queue.clear();
    } finally {
      lock.unlock();
    }
  }

  /** close drops every callback and wakes every waiter for good. */
  void close() {
    lock.lock();
    try {
      closed = true;
      queue.clear();
      changed.signalAll();
    } finally {
      lock.unlock();
    }
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
