package org.vantor.ostra1516e.engine;

import java.util.ArrayDeque;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.HashMap;
import java.util.Iterator;
import java.util.List;
import java.util.Map;
import java.util.PriorityQueue;
import org.vantor.ostra1516e.message.Event;
import org.vantor.ostra1516e.message.ObjectMessages;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.time.Bound;
import org.vantor.ostra1516e.time.TimeRepresentation;
import org.vantor.ostra1516e.wire.RetractionHandle;

import static org.vantor.ostra1516e.message.TimeMessages.FLUSH_QUEUE;
import static org.vantor.ostra1516e.message.TimeMessages.NEXT_MESSAGE;
import static org.vantor.ostra1516e.message.TimeMessages.NEXT_MESSAGE_AVAILABLE;

/**
 * TimeManagement grants time advances conservatively.
 *
 * <p>Each regulating member promises a bound below which it sends no more time-stamp-order
 * messages: the earliest time it can still be granted plus its lookahead. That earliest
 * time is its logical time, or the time it asked to advance to; a member waiting for its
 * next message may be granted at the time of a message it has yet to receive, so its
 * earliest time is also no later than its own greatest available logical time (GALT), and
 * the bounds are worked out together until they settle. With zero lookahead the bound
 * excludes the time itself unless the member advances with an Available request. A
 * constrained member's GALT is the least bound of the other regulating members.
 *
 * <p>A request is granted once no message at or below the grant's time can still arrive
 * (at it, for the Available forms). First the member's held time-stamp-order messages up
 * to that time are released in time-stamp order, then the grant follows on the same event
 * stream, so it never overtakes a message it covers. Receive-order messages wait while a
 * constrained member is not advancing, unless it asked for asynchronous delivery.
 *
 * <p>Thread-safety: touched only by its federation's tasks.
 */
final class TimeManagement {
  private final Federation federation;
  private final TimeRepresentation times;

  /** Held is a message waiting for its receiver's grant, or for its receiver's next advance. */
  record Held(long time, long arrival, Event event, RetractionHandle retraction) implements Comparable<Held> {
    @Override
    public int compareTo(Held other) {
      int byTime = Long.compare(time, other.time);
      return byTime != 0 ? byTime : Long.compare(arrival, other.arrival);
    }
  }

  /** Sent is a time-stamp-order message that can still be retracted, with the members it went to. */
  static final class Sent {
    final long time;
    final RetractionHandle handle;
    Member[] receivers = new Member[2];
    int count;

    Sent(long time, RetractionHandle handle) {
      this.time = time;
      this.handle = handle;
    }

    void add(Member member) {
      if (count > 0 && receivers[count - 1] == member) {
        return;  // one update split by transportation type
      }
      if (count == receivers.length) {
        receivers = Arrays.copyOf(receivers, count * 2);
      }
      receivers[count++] = member;
    }
  }

  /** TimeState is a member's time: logical time, lookahead, switches, request and held messages. */
  static final class TimeState {
    boolean regulating;
    boolean constrained;
    boolean constrainedPending;
    boolean asynchronous;
    long time;
    byte[] lookahead;
    /** The greatest bound given so far, which the bound never falls below. */
    Bound promise = Bound.NONE;
    int request;
    long requested;
    boolean grantedAvailable;
    final PriorityQueue<Held> held = new PriorityQueue<>();
    final ArrayDeque<Held> receiveOrder = new ArrayDeque<>();
    long arrivals;
    /** This member's retractable messages by serial. */
    final Map<Integer, Sent> sent = new HashMap<>();
    /** The earliest time this member can still be granted (strict: only beyond it), while bounds settle. */
    long earliest;
    boolean earliestStrict;
    /** When the member last entered the granted or the advancing state, and how long it stayed in the other last. */
    long enteredNanos = System.nanoTime();
    long lastGrantedNanos;
    long lastAdvancingNanos;

    TimeState(long initial) {
      time = initial;
    }

    /** changeState notes the move between the granted and the advancing state. */
    void changeState(boolean advancing) {
      long now = System.nanoTime();
      if (advancing) {
        lastGrantedNanos = now - enteredNanos;
      } else {
        lastAdvancingNanos = now - enteredNanos;
      }
      enteredNanos = now;
    }

    /**
     * stateMillis is how long, in milliseconds, the member has been in the advancing (or
     * granted) state if it is in it now, or how long it stayed there the last time.
     */
    long stateMillis(boolean advancing) {
      boolean now = request != 0;
      long nanos = now == advancing ? System.nanoTime() - enteredNanos
          : advancing ? lastAdvancingNanos : lastGrantedNanos;
      return nanos / 1_000_000;
    }

    boolean waitsForNextMessage() {
      return request == NEXT_MESSAGE || request == NEXT_MESSAGE_AVAILABLE;
    }

    boolean available() {
      return request != 0 ? TimeMessages.available(request) : grantedAvailable;
    }
  }

  private Sent lastSent;

  /** clear forgets what refers to members, before a restore replaces them. */
  void clear() {
    lastSent = null;
  }

  TimeManagement(Federation federation, TimeRepresentation times) {
    this.federation = federation;
    this.times = times;
  }

  TimeRepresentation times() {
    return times;
  }

  // ---- Bounds ----

  private long heldMin(TimeState state) {
    Held first = state.held.peek();
    return first == null ? Long.MAX_VALUE : first.time();
  }

  /** base is the earliest grant a member's own state allows, before what it may receive. */
  private long base(TimeState state) {
    if (state.request == 0) {
      return state.time;
    }
    return TimeMessages.byNextMessage(state.request) ? Math.min(state.requested, heldMin(state)) : state.requested;
  }

  Bound bound(TimeState state) {
    Bound after = Bound.after(times, state.earliest, state.lookahead, state.available());
    if (state.earliestStrict && !after.strict()) {
      after = new Bound(after.time(), true);  // granted only beyond earliest, it sends only beyond this
    }
    return after.max(state.promise);
  }

  /**
   * settle works out every regulating member's earliest grant. A member waiting for its
   * next message can be granted as early as its GALT; the values only fall, so repeating
   * until none changes ends after at most one round per member. Those who read many
   * members' bounds at once settle once and read them with the ...Settled forms.
   */
  void settle() {
    List<TimeState> regulators = new ArrayList<>();
    boolean propagates = false;
    for (Member member : federation.members()) {
      TimeState state = member.time;
      if (state.regulating) {
        state.earliest = base(state);
        state.earliestStrict = false;
        regulators.add(state);
        propagates |= state.constrained && state.waitsForNextMessage();
      }
    }
    for (int round = 0; propagates && round <= regulators.size(); round++) {
      boolean changed = false;
      for (TimeState state : regulators) {
        if (state.constrained && state.waitsForNextMessage()) {
          Bound galt = least(regulators, state);
          if (galt != null && galt.below(new Bound(state.earliest, state.earliestStrict))) {
            state.earliest = galt.time();
            state.earliestStrict = galt.strict();
            changed = true;
          }
        }
      }
      propagates = changed;
    }
  }

  private Bound least(List<TimeState> regulators, TimeState except) {
    Bound least = null;
    for (TimeState other : regulators) {
      if (other != except) {
        Bound b = bound(other);
        if (least == null || b.below(least)) {
          least = b;
        }
      }
    }
    return least;
  }

  /** galt is member's greatest available logical time, null when no other member regulates. */
  Bound galt(Member member) {
    settle();
    return galtSettled(member);
  }

  Bound galtSettled(Member member) {
    Bound least = null;
    for (Member other : federation.members()) {
      if (other != member && other.time.regulating) {
        Bound b = bound(other.time);
        if (least == null || b.below(least)) {
          least = b;
        }
      }
    }
    return least;
  }

  /** sendBound is the bound member's own time-stamp-order messages must respect now. */
  Bound sendBound(Member member) {
    settle();
    return member.time.regulating ? bound(member.time) : Bound.NONE;
  }

  /** lits is the least time stamp member may still receive: GALT or its earliest held message. */
  Long lits(Member member) {
    settle();
    return litsSettled(member);
  }

  Long litsSettled(Member member) {
    Bound galt = galtSettled(member);
    if (member.time.held.isEmpty()) {
      return galt == null ? null : galt.time();
    }
    long first = heldMin(member.time);
    return galt == null ? first : Math.min(galt.time(), first);
  }

  // ---- Delivery ----

  /**
   * deliver sends event to member now, or holds it: a time-stamp-order message for a
   * constrained member until a grant covers its time, a receive-order one for a constrained
   * member that is not advancing until it advances. A message of sender's with a retraction
   * handle is remembered, with its receivers, until it can no longer be retracted.
   */
  void deliver(Member member, Event event, boolean timeStampOrder, long time, RetractionHandle retraction,
      Member sender) {
    TimeState state = member.time;
    if (timeStampOrder && retraction != null && sender != null) {
      Sent sent = lastSent;
      if (sent == null || sent.handle != retraction) {
        sent = new Sent(time, retraction);
        sender.time.sent.put(retraction.serial(), sent);
        lastSent = sent;
      }
      sent.add(member);
    }
    if (timeStampOrder && state.constrained) {
      state.held.add(new Held(time, state.arrivals++, event, retraction));
    } else if (state.constrained && !state.asynchronous && state.request == 0) {
      state.receiveOrder.add(new Held(time, state.arrivals++, event, retraction));
    } else {
      member.send(event);
    }
  }

  private void releaseReceiveOrder(Member member) {
    ArrayDeque<Held> waiting = member.time.receiveOrder;
    while (!waiting.isEmpty()) {
      member.send(waiting.poll().event());
    }
  }

  private static Event receiveOrder(Event event) {
    int receive = ObjectManagement.RECEIVE;
    if (event instanceof ObjectMessages.Reflect r) {
      return new ObjectMessages.Reflect(r.object(), r.values(), r.tag(), r.sentOrder(), receive, r.transportation(),
          r.time(), r.producer(), r.retraction(), r.regions());
    } else if (event instanceof ObjectMessages.Receive r) {
      return new ObjectMessages.Receive(r.receivedClass(), r.parameters(), r.tag(), r.sentOrder(), receive,
          r.transportation(), r.time(), r.producer(), r.retraction(), r.regions());
    } else if (event instanceof ObjectMessages.Remove r) {
      return new ObjectMessages.Remove(r.object(), r.tag(), r.sentOrder(), receive, r.time(), r.producer(),
          r.retraction());
    }
    return event;
  }

  private void release(Member member, long upTo) {
    PriorityQueue<Held> held = member.time.held;
    while (!held.isEmpty() && held.peek().time() <= upTo) {
      member.send(held.poll().event());
    }
  }

  // ---- Requests ----

  void handle(Member member, Object message) {
    TimeState state = member.time;
    if (message instanceof TimeMessages.AdvanceRequest m) {
      if (state.request == 0) {
        state.changeState(true);
      }
      state.request = m.kind();
      state.requested = times.ordinal(m.time());
      releaseReceiveOrder(member);
      if (m.kind() == FLUSH_QUEUE) {
        flush(member);
      }
    } else if (message instanceof TimeMessages.EnableRegulation m) {
      enableRegulation(member, m.lookahead());
    } else if (message instanceof TimeMessages.DisableRegulation) {
      state.regulating = false;
      state.sent.clear();
    } else if (message instanceof TimeMessages.EnableConstrained) {
      state.constrainedPending = true;
    } else if (message instanceof TimeMessages.DisableConstrained) {
      state.constrained = false;
      releaseReceiveOrder(member);
      while (!state.held.isEmpty()) {  // no longer covered by a grant: in receive order now
        member.send(receiveOrder(state.held.poll().event()));
      }
    } else if (message instanceof TimeMessages.ModifyLookahead m) {
      state.promise = state.promise.max(Bound.after(times, state.time, state.lookahead, state.grantedAvailable));
      state.lookahead = m.lookahead();
    } else if (message instanceof TimeMessages.AsynchronousDelivery m) {
      state.asynchronous = m.on();
      if (m.on()) {
        releaseReceiveOrder(member);
      }
    } else if (message instanceof TimeMessages.Retract m) {
      retract(member, m.handle());
    }
    grant();
  }

  /**
   * enableRegulation makes member regulating at the least time (not below its own) from
   * which its first message can reach no constrained member at or below a time that member
   * may already have been granted, nor, for one waiting for its next message, below the
   * earliest grant the others counted on.
   */
  private void enableRegulation(Member member, byte[] lookahead) {
    settle();
    TimeState state = member.time;
    boolean zero = times.isZero(lookahead);
    long time = state.time;
    for (Member other : federation.members()) {
      TimeState o = other.time;
      if (other != member && o.constrained) {
        time = Math.max(time, leastReaching(o.time, lookahead, zero || o.grantedAvailable));
        if (o.regulating && o.waitsForNextMessage()) {
          time = Math.max(time, leastReaching(o.earliest, lookahead, !o.earliestStrict));
        }
      }
    }
    state.time = time;
    state.lookahead = lookahead;
    state.grantedAvailable = false;  // it starts as if granted its time by a plain request
    state.promise = Bound.after(times, time, lookahead, false);
    state.regulating = true;
    member.send(new TimeMessages.RegulationEnabled(times.encode(time)));
  }

  /** leastReaching is the least time t at which t plus lookahead is past target (or at it, when atOk). */
  private long leastReaching(long target, byte[] lookahead, boolean atOk) {
    long t = times.minus(target, lookahead);
    for (int step = 0; step < 64 && t < Long.MAX_VALUE; step++, t++) {  // t++: the next representable time
      long reach = times.plus(t, lookahead);
      if (reach > target || (reach == target && atOk)) {
        return t;
      }
    }
    return target == Long.MAX_VALUE ? target : target + 1;
  }

  /**
   * flush delivers every held message now and grants at once: at the requested time, the
   * member's GALT or the earliest message it delivered, whichever is least.
   */
  private void flush(Member member) {
    TimeState state = member.time;
    long t = Math.min(state.requested, heldMin(state));
    if (state.constrained) {
      Bound galt = galt(member);
      if (galt != null) {
        t = Math.min(t, galt.time());
      }
    }
    release(member, Long.MAX_VALUE);
    granted(member, Math.max(t, state.time));
  }

  private void retract(Member sender, RetractionHandle handle) {
    Sent sent = sender.time.sent.remove(handle.serial());
    if (sent == null) {
      return;
    }
    for (int i = 0; i < sent.count; i++) {
      Member receiver = sent.receivers[i];
      if (federation.member(receiver.handle) != receiver) {
        continue;  // resigned since
      }
      TimeState state = receiver.time;
      boolean removed = state.held.removeIf(h -> h.retraction() == sent.handle);
      removed |= state.receiveOrder.removeIf(h -> h.retraction() == sent.handle);
      if (!removed) {
        receiver.send(new TimeMessages.RequestRetraction(sent.handle));
      }
    }
  }

  /** forget drops what the engine keeps for a member that leaves. */
  void forget(Member member) {
    lastSent = null;
    member.time.held.clear();
    member.time.receiveOrder.clear();
    member.time.sent.clear();
  }

  // ---- Grants ----

  /** grant gives every grant the federation can give now, until no grant frees another. */
  void grant() {
    boolean progress = true;
    while (progress && !federation.saves().inProgress() && !federation.restores().inProgress()) {
      progress = false;
      settle();
      for (Member member : federation.members()) {
        TimeState state = member.time;
        if (state.constrainedPending) {
          Bound galt = galtSettled(member);
          if (galt == null || galt.time() >= state.time) {
            state.constrainedPending = false;
            state.constrained = true;
            federation.mom().changed(member);
            member.send(new TimeMessages.ConstrainedEnabled(times.encode(state.time)));
          }
        }
        if (state.request != 0) {
          long t = grantable(member, state);
          if (t != Long.MIN_VALUE) {
            release(member, t);
            granted(member, t);
            federation.saves().timeMoved();
            progress = true;
            break;  // the bounds moved: settle again
          }
        }
      }
    }
  }

  /** grantable is the time member's request can be granted at now, or Long.MIN_VALUE. */
  private long grantable(Member member, TimeState state) {
    long t = TimeMessages.byNextMessage(state.request) && state.constrained
        ? Math.min(state.requested, heldMin(state)) : state.requested;
    if (!state.constrained) {
      return t;
    }
    Bound galt = galtSettled(member);
    if (galt == null) {
      return t;
    }
    boolean ready = TimeMessages.available(state.request) ? galt.time() >= t : galt.beyond(t);
    return ready ? t : Long.MIN_VALUE;
  }

  private void granted(Member member, long t) {
    TimeState state = member.time;
    state.time = t;
    state.grantedAvailable = TimeMessages.available(state.request);
    if (state.request != 0) {
      state.changeState(false);
    }
    state.request = 0;
    if (state.regulating) {
      state.promise = state.promise.max(Bound.after(times, t, state.lookahead, state.grantedAvailable));
    }
    if (!state.sent.isEmpty()) {
      lastSent = null;
      for (Iterator<Sent> it = state.sent.values().iterator(); it.hasNext();) {
        if (it.next().time <= t) {
          it.remove();
        }
      }
    }
    federation.mom().changed(member);
    member.send(new TimeMessages.Grant(times.encode(t)));
  }
}
