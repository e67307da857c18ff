package org.vantor.ostra1516e.lrc;

import hla.rti1516e.exceptions.AsynchronousDeliveryAlreadyDisabled;
import hla.rti1516e.exceptions.AsynchronousDeliveryAlreadyEnabled;
import hla.rti1516e.exceptions.InTimeAdvancingState;
import hla.rti1516e.exceptions.FederateUnableToUseTime;
import hla.rti1516e.exceptions.InvalidLogicalTime;
import hla.rti1516e.exceptions.InvalidLookahead;
import hla.rti1516e.exceptions.InvalidMessageRetractionHandle;
import hla.rti1516e.exceptions.LogicalTimeAlreadyPassed;
import hla.rti1516e.exceptions.MessageCanNoLongerBeRetracted;
import hla.rti1516e.exceptions.RTIexception;
import hla.rti1516e.exceptions.RequestForTimeConstrainedPending;
import hla.rti1516e.exceptions.RequestForTimeRegulationPending;
import hla.rti1516e.exceptions.TimeConstrainedAlreadyEnabled;
import hla.rti1516e.exceptions.TimeConstrainedIsNotEnabled;
import hla.rti1516e.exceptions.TimeRegulationAlreadyEnabled;
import hla.rti1516e.exceptions.TimeRegulationIsNotEnabled;
import java.nio.ByteBuffer;
import java.util.HashMap;
import java.util.Map;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.time.Bound;
import org.vantor.ostra1516e.time.TimeRepresentation;
import org.vantor.ostra1516e.wire.CallbackMethod;
import org.vantor.ostra1516e.wire.RetractionHandle;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * TimeServices are a joined federate's time management services: its time state as the
 * federate has been told it (a grant or an enabling takes effect when its callback is
 * delivered, not when the engine decides it), the checks of each service, and the
 * requests to the engine, which grants.
 *
 * <p>Thread-safety: the state is guarded by this object's monitor; no lock is held while
 * talking to the engine.
 */
public final class TimeServices {
  private final LocalRtiComponent lrc;
  TimeRepresentation times = TimeRepresentation.named(TimeRepresentation.FLOAT);
  boolean regulating;
  boolean regulationPending;
  boolean constrained;
  boolean constrainedPending;
  boolean asynchronous;
  boolean advancing;
  boolean grantedAvailable;
  long time;
  long requested;
  int requestKind;
  byte[] lookahead;
  /** The greatest bound this federate gave so far; what it may send never falls below it. */
  Bound promise = Bound.NONE;
  /** The time-stamp-order messages this federate may still retract, by serial. */
  final Map<Integer, Retractable> retractable = new HashMap<>();

  record Retractable(long time, boolean deletion) {}

  TimeServices(LocalRtiComponent lrc) {
    this.lrc = lrc;
  }

  /** joined starts the time state of a new join, in the federation's representation. */
  synchronized void joined(String timeImplementation) {
    TimeRepresentation named = TimeRepresentation.named(timeImplementation);
    times = named != null ? named : TimeRepresentation.named(TimeRepresentation.FLOAT);
    regulating = regulationPending = constrained = constrainedPending = advancing = grantedAvailable = false;
    asynchronous = false;
    time = times.initial();
    lookahead = null;
    promise = Bound.NONE;
    retractable.clear();
  }

  private static String name(ServiceMethod service) {
    return service.serviceName();
  }

  private synchronized void notAdvancingOrPending(ServiceMethod service) throws RTIexception {
    if (advancing) {
      throw new InTimeAdvancingState(name(service) + ": a time advance request is still waiting for its grant");
    }
    if (regulationPending && service.raises("RequestForTimeRegulationPending")) {
      throw new RequestForTimeRegulationPending(name(service) + ": enabling time regulation is still pending");
    }
    if (constrainedPending && service.raises("RequestForTimeConstrainedPending")) {
      throw new RequestForTimeConstrainedPending(name(service) + ": enabling time constraint is still pending");
    }
  }

  private byte[] validLookahead(ServiceMethod service, byte[] interval) throws InvalidLookahead {
    if (times.interval(interval) == null) {
      throw new InvalidLookahead(name(service) + ": the lookahead must be a non-negative interval of "
          + "the federation's time representation");
    }
    return interval.clone();
  }

  public void enableTimeRegulation(byte[] interval) throws RTIexception {
    ServiceMethod service = ServiceMethod.enableTimeRegulation_LTI;
    lrc.check(service);
    synchronized (this) {
      if (regulating) {
        throw new TimeRegulationAlreadyEnabled(name(service) + ": time regulation is already enabled");
      }
      if (regulationPending) {
        throw new RequestForTimeRegulationPending(name(service) + ": enabling time regulation is already pending");
      }
      notAdvancingOrPending(service);
      lookahead = validLookahead(service, interval);
      promise = Bound.NONE;
      regulationPending = true;
    }
    lrc.send(service, new TimeMessages.EnableRegulation(interval));
  }

  public void disableTimeRegulation() throws RTIexception {
    ServiceMethod service = ServiceMethod.disableTimeRegulation;
    lrc.check(service);
    synchronized (this) {
      requireRegulating(service);
      regulating = false;
      retractable.clear();
    }
    lrc.send(service, new TimeMessages.DisableRegulation());
  }

  private void requireRegulating(ServiceMethod service) throws TimeRegulationIsNotEnabled {
    if (!regulating) {
      throw new TimeRegulationIsNotEnabled(name(service) + ": time regulation is not enabled");
    }
  }

  public void enableTimeConstrained() throws RTIexception {
    ServiceMethod service = ServiceMethod.enableTimeConstrained;
    lrc.check(service);
    synchronized (this) {
      if (constrained) {
        throw new TimeConstrainedAlreadyEnabled(name(service) + ": the federate is already time-constrained");
      }
      if (constrainedPending) {
        throw new RequestForTimeConstrainedPending(name(service) + ": enabling time constraint is already pending");
      }
      notAdvancingOrPending(service);
      constrainedPending = true;
    }
    lrc.send(service, new TimeMessages.EnableConstrained());
  }

  public void disableTimeConstrained() throws RTIexception {
    ServiceMethod service = ServiceMethod.disableTimeConstrained;
    lrc.check(service);
    synchronized (this) {
      if (!constrained) {
        throw new TimeConstrainedIsNotEnabled(name(service) + ": the federate is not time-constrained");
      }
      constrained = false;
    }
    lrc.send(service, new TimeMessages.DisableConstrained());
  }

  /** checkSaveTime checks the time of a save asked for at a time: a time of the federation, not past, and the federate uses time. */
  synchronized void checkSaveTime(ServiceMethod service, byte[] encoded) throws RTIexception {
    Long t = times.ordinal(encoded);
    if (t == null) {
      throw new InvalidLogicalTime(name(service) + ": the time is not a valid time of the federation's representation");
    }
    if (t < time) {
      throw new LogicalTimeAlreadyPassed(name(service) + ": the federate's logical time is already past it");
    }
    if (!regulating && !constrained) {
      throw new FederateUnableToUseTime(name(service) + ": a save at a logical time needs a federate that uses time;"
          + " enable time regulation or time constraint first, or save without a time");
    }
  }

  /** timeAdvanceRequest makes a request of kind (TimeMessages): the five ways of asking for a grant. */
  public void timeAdvanceRequest(ServiceMethod service, int kind, byte[] encoded) throws RTIexception {
    lrc.check(service);
    synchronized (this) {
      Long t = times.ordinal(encoded);
      if (t == null) {
        throw new InvalidLogicalTime(name(service) + ": the time is not a valid time of the federation's "
            + "representation");
      }
      if (t < time) {
        throw new LogicalTimeAlreadyPassed(name(service) + ": the federate's logical time is already past it");
      }
      notAdvancingOrPending(service);
      advancing = true;
      requested = t;
      requestKind = kind;
    }
    lrc.send(service, new TimeMessages.AdvanceRequest(kind, encoded));
  }

  public void modifyLookahead(byte[] interval) throws RTIexception {
    ServiceMethod service = ServiceMethod.modifyLookahead_LTI;
    lrc.check(service);
    synchronized (this) {
      requireRegulating(service);
      notAdvancingOrPending(service);
      byte[] changed = validLookahead(service, interval);
      promise = promise.max(Bound.after(times, time, lookahead, grantedAvailable));
      lookahead = changed;
    }
    lrc.send(service, new TimeMessages.ModifyLookahead(interval));
  }

  /** queryLookahead is the lookahead in effect: a smaller one set by modifyLookahead shows as time passes. */
  public synchronized byte[] queryLookahead() throws RTIexception {
    ServiceMethod service = ServiceMethod.queryLookahead;
    lrc.check(service);
    requireRegulating(service);
    return promise.time() > times.plus(time, lookahead) ? times.between(time, promise.time()) : lookahead.clone();
  }

  public void setAsynchronousDelivery(boolean on) throws RTIexception {
    ServiceMethod service = on ? ServiceMethod.enableAsynchronousDelivery : ServiceMethod.disableAsynchronousDelivery;
    lrc.check(service);
    synchronized (this) {
      if (asynchronous == on) {
        throw on ? new AsynchronousDeliveryAlreadyEnabled(name(service) + ": asynchronous delivery is already enabled")
            : new AsynchronousDeliveryAlreadyDisabled(name(service) + ": asynchronous delivery is already disabled");
      }
      asynchronous = on;
    }
    lrc.send(service, new TimeMessages.AsynchronousDelivery(on));
  }

  /**
   * timeStamp checks the time of a message to send and tells its order: the time's ordinal
   * when the message goes in time-stamp order (only a regulating federate's do), null for
   * receive order. A time-stamp-order message may not be below the federate's logical
   * time (or requested time) plus its lookahead, nor at it when the lookahead is zero and
   * the federate was not granted (or did not ask) with an Available request. While waiting
   * for its next message, the federate may be granted as early as the next time stamp it
   * can receive, which only the engine knows: it is asked when the time is below the
   * requested time plus lookahead.
   */
  Long timeStamp(ServiceMethod service, byte[] encoded) throws RTIexception {
    long t;
    synchronized (this) {
      Long parsed = times.ordinal(encoded);
      if (parsed == null) {
        throw new InvalidLogicalTime(name(service) + ": the time is not a valid time of the federation's "
            + "representation");
      }
      if (!regulating) {
        return null;
      }
      t = parsed;
      boolean byNextMessage = advancing && TimeMessages.byNextMessage(requestKind);
      long base = advancing ? requested : time;
      if (allowed(t, base) || !byNextMessage) {
        return checked(service, t, base);
      }
    }
    TimeMessages.SendBound bound = lrc.expect(service, new TimeMessages.QuerySendBound(),
        TimeMessages.SendBound.class);
    synchronized (this) {
      if (!advancing || !TimeMessages.byNextMessage(requestKind)) {
        return checked(service, t, advancing ? requested : time);  // granted meanwhile
      }
      if (!new Bound(times.ordinal(bound.time()), bound.strict()).max(promise).permits(t)) {
        throw new InvalidLogicalTime(name(service) + ": a time-stamp-order message of this federate may not be "
            + "below the least of its requested time and the next time stamp it can receive, plus its lookahead");
      }
      return t;
    }
  }

  private boolean allowed(long t, long base) {
    boolean available = advancing ? TimeMessages.available(requestKind) : grantedAvailable;
    return Bound.after(times, base, lookahead, available).max(promise).permits(t);
  }

  private long checked(ServiceMethod service, long t, long base) throws InvalidLogicalTime {
    if (!allowed(t, base)) {
      throw new InvalidLogicalTime(name(service) + ": a time-stamp-order message of this federate may not be "
          + "below its logical time plus its lookahead (nor at it with zero lookahead, unless granted or "
          + "requested with an Available request)");
    }
    return t;
  }

  /** sent remembers a time-stamp-order message, which the federate may retract until its time passes. */
  synchronized void sent(RetractionHandle handle, long stamp, boolean deletion) {
    retractable.put(handle.serial(), new Retractable(stamp, deletion));
  }

  public void retract(RetractionHandle handle) throws RTIexception {
    ServiceMethod service = ServiceMethod.retract_MRH;
    LocalRtiComponent.JoinState joined = lrc.check(service);
    synchronized (this) {
      requireRegulating(service);
      byte[] payload = handle.payload();
      if (handle.serial() <= 0 || payload.length != 4 || ByteBuffer.wrap(payload).getInt() != joined.federate) {
        throw new InvalidMessageRetractionHandle(name(service) + ": " + handle.serial()
            + " is not the handle of a message this federate sent in this federation execution");
      }
      Retractable message = retractable.get(handle.serial());
      if (message == null || message.time() <= time) {
        throw new MessageCanNoLongerBeRetracted(name(service) + ": message " + handle.serial()
            + " was already retracted, was sent in receive order, or its time stamp is no longer ahead of the "
            + "federate's logical time");
      }
      if (message.deletion()) {
        throw new MessageCanNoLongerBeRetracted(name(service) + ": message " + handle.serial()
            + " deleted an object instance, which is gone; a deletion cannot be retracted");
      }
      retractable.remove(handle.serial());
    }
    lrc.send(service, new TimeMessages.Retract(handle));
  }

  public synchronized byte[] queryLogicalTime() throws RTIexception {
    lrc.check(ServiceMethod.queryLogicalTime);
    return times.encode(time);
  }

  public byte[] query(ServiceMethod service) throws RTIexception {
    lrc.check(service);
    TimeMessages.Time answer = lrc.expect(service, service == ServiceMethod.queryGALT
        ? new TimeMessages.QueryGalt() : new TimeMessages.QueryLits(), TimeMessages.Time.class);
    return answer.time();
  }

  /** delivering applies what a time callback tells, as the federate receives it. */
  synchronized void delivering(Callback callback) {
    CallbackMethod method = callback.method();
    if (method == CallbackMethod.timeAdvanceGrant_LT_Native) {
      time = times.ordinal((byte[]) callback.args()[0]);
      grantedAvailable = TimeMessages.available(requestKind);
      advancing = false;
      if (regulating) {
        promise = promise.max(Bound.after(times, time, lookahead, grantedAvailable));
      }
      if (!retractable.isEmpty()) {
        retractable.values().removeIf(message -> message.time() <= time);
      }
    } else if (method == CallbackMethod.timeRegulationEnabled_LT_Native) {
      time = times.ordinal((byte[]) callback.args()[0]);
      grantedAvailable = false;
      promise = Bound.after(times, time, lookahead, false);
      regulating = true;
      regulationPending = false;
    } else if (method == CallbackMethod.timeConstrainedEnabled_LT_Native) {
      constrained = true;
      constrainedPending = false;
    }
  }
}
