package org.vantor.ostra1516e.engine;

import java.util.PriorityQueue;
import org.vantor.ostra1516e.message.Event;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.time.TimeRepresentation;

/**
 * TimeManagement grants time advances conservatively. Each regulating member promises a
 * bound below which it sends no more time-stamp-order messages: its logical time (or the
 * time it asked to advance to) plus its lookahead; with zero lookahead the bound excludes
 * that time itself unless the member advances with an Available request. A constrained
 * member's greatest available logical time (GALT) is the least bound of the other
 * regulating members. A time advance request to t is granted once GALT is beyond t (at t,
 * for the Available form, since messages at t may still come); first the member's held
 * time-stamp-order messages up to t are released in time-stamp order, then the grant
 * follows on the same event stream, so it never overtakes a message it covers.
 *
 * <p>Thread-safety: touched only by its federation's tasks.
 */
final class TimeManagement {
  private final Federation federation;
  private final TimeRepresentation times;

  /** Bound is a time below which (or at which, when strict) nothing more can be sent. */
  record Bound(long time, boolean strict) {
    boolean beyond(long t) {
      return time > t || (time == t && strict);
    }
  }

  /** Held is a time-stamp-order message waiting for its receiver's grant. */
  record Held(long time, long arrival, Event event) implements Comparable<Held> {
    @Override
    public int compareTo(Held other) {
      int byTime = Long.compare(time, other.time);
      return byTime != 0 ? byTime : Long.compare(arrival, other.arrival);
    }
  }

  /** TimeState is a member's time: logical time, lookahead, switches, request and held messages. */
  static final class TimeState {
    boolean regulating;
    boolean constrained;
    boolean constrainedPending;
    long time;
    byte[] lookahead;
    int request;
    long requested;
    boolean grantedAvailable;
    final PriorityQueue<Held> held = new PriorityQueue<>();
    long arrivals;

    TimeState(long initial) {
      time = initial;
    }
  }

  TimeManagement(Federation federation, TimeRepresentation times) {
    this.federation = federation;
    this.times = times;
  }

  TimeRepresentation times() {
    return times;
  }

  private Bound bound(TimeState r) {
    boolean advancing = r.request != 0;
    long base = advancing ? r.requested : r.time;
    boolean available = advancing ? r.request == TimeMessages.TIME_ADVANCE_AVAILABLE : r.grantedAvailable;
    return new Bound(times.plus(base, r.lookahead), times.isZero(r.lookahead) && !available);
  }

  /** galt is member's greatest available logical time, null when no other member regulates. */
  Bound galt(Member member) {
    Bound least = null;
    for (Member other : federation.members()) {
      if (other != member && other.time.regulating) {
        Bound b = bound(other.time);
        if (least == null || b.time() < least.time() || (b.time() == least.time() && !b.strict())) {
          least = b;
        }
      }
    }
    return least;
  }

  /** lits is the least time stamp member may still receive: GALT or its earliest held message. */
  Long lits(Member member) {
    Bound galt = galt(member);
    Held first = member.time.held.peek();
    if (first == null) {
      return galt == null ? null : galt.time();
    }
    return galt == null ? first.time() : Math.min(galt.time(), first.time());
  }

  /** deliver sends event to member now, or holds it until a grant covers its time. */
  void deliver(Member member, Event event, boolean timeStampOrder, long time) {
    if (timeStampOrder && member.time.constrained) {
      member.time.held.add(new Held(time, member.time.arrivals++, event));
    } else {
      member.send(event);
    }
  }

  void handle(Member member, Object message) {
    TimeState state = member.time;
    if (message instanceof TimeMessages.AdvanceRequest m) {
      state.request = m.kind();
      state.requested = times.ordinal(m.time());
    } else if (message instanceof TimeMessages.EnableRegulation m) {
      // The new regulator's time moves up so that its first message can reach no
      // constrained member below that member's time.
      long time = state.time;
      for (Member other : federation.members()) {
        if (other != member && other.time.constrained) {
          time = Math.max(time, times.minus(other.time.time, m.lookahead()));
        }
      }
      state.time = time;
      state.lookahead = m.lookahead();
      state.regulating = true;
      member.send(new TimeMessages.RegulationEnabled(times.encode(time)));
    } else if (message instanceof TimeMessages.DisableRegulation) {
      state.regulating = false;
    } else if (message instanceof TimeMessages.EnableConstrained) {
      state.constrainedPending = true;
    } else if (message instanceof TimeMessages.DisableConstrained) {
      state.constrained = false;
      release(member, Long.MAX_VALUE);
    }
    grant();
  }

  /** grant gives every grant the federation can give now, until no grant frees another. */
  void grant() {
    boolean progress = true;
    while (progress) {
      progress = false;
      for (Member member : federation.members()) {
        TimeState state = member.time;
        if (state.constrainedPending) {
          Bound galt = galt(member);
          if (galt == null || galt.time() >= state.time) {
            state.constrainedPending = false;
            state.constrained = true;
            member.send(new TimeMessages.ConstrainedEnabled(times.encode(state.time)));
          }
        }
        if (state.request != 0 && grantable(member, state)) {
          long t = state.requested;
          release(member, t);
          state.time = t;
          state.grantedAvailable = state.request == TimeMessages.TIME_ADVANCE_AVAILABLE;
          state.request = 0;
          member.send(new TimeMessages.Grant(times.encode(t)));
          progress = true;
        }
      }
    }
  }

  private boolean grantable(Member member, TimeState state) {
    if (!state.constrained) {
      return true;
    }
    Bound galt = galt(member);
    if (galt == null) {
      return true;
    }
    return state.request == TimeMessages.TIME_ADVANCE_AVAILABLE ? galt.time() >= state.requested
        : galt.beyond(state.requested);
  }

  private void release(Member member, long upTo) {
    PriorityQueue<Held> held = member.time.held;
    while (!held.isEmpty() && held.peek().time() <= upTo) {
      member.send(held.poll().event());
    }
  }
}
