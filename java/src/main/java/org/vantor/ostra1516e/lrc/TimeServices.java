package org.vantor.ostra1516e.lrc;

import hla.rti1516e.exceptions.InTimeAdvancingState;
import hla.rti1516e.exceptions.InvalidLogicalTime;
import hla.rti1516e.exceptions.InvalidLookahead;
import hla.rti1516e.exceptions.LogicalTimeAlreadyPassed;
import hla.rti1516e.exceptions.RTIexception;
import hla.rti1516e.exceptions.RequestForTimeConstrainedPending;
import hla.rti1516e.exceptions.RequestForTimeRegulationPending;
import hla.rti1516e.exceptions.TimeConstrainedAlreadyEnabled;
import hla.rti1516e.exceptions.TimeConstrainedIsNotEnabled;
import hla.rti1516e.exceptions.TimeRegulationAlreadyEnabled;
import hla.rti1516e.exceptions.TimeRegulationIsNotEnabled;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.time.TimeRepresentation;
import org.vantor.ostra1516e.wire.CallbackMethod;
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
  private TimeRepresentation times = TimeRepresentation.named(TimeRepresentation.FLOAT);
  private boolean regulating;
  private boolean regulationPending;
  private boolean constrained;
  private boolean constrainedPending;
  private boolean advancing;
  private boolean grantedAvailable;
  private long time;
  private long requested;
  private int requestKind;
  private byte[] lookahead;

  TimeServices(LocalRtiComponent lrc) {
    this.lrc = lrc;
  }

  /** joined starts the time state of a new join, in the federation's representation. */
  synchronized void joined(String timeImplementation) {
    TimeRepresentation named = TimeRepresentation.named(timeImplementation);
    times = named != null ? named : TimeRepresentation.named(TimeRepresentation.FLOAT);
    regulating = regulationPending = constrained = constrainedPending = advancing = grantedAvailable = false;
    time = times.initial();
    lookahead = null;
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
      if (times.interval(interval) == null) {
        throw new InvalidLookahead(name(service) + ": the lookahead must be a non-negative interval of "
            + "the federation's time representation");
      }
      regulationPending = true;
      lookahead = interval.clone();
    }
    lrc.send(service, new TimeMessages.EnableRegulation(interval));
  }

  public void disableTimeRegulation() throws RTIexception {
    ServiceMethod service = ServiceMethod.disableTimeRegulation;
    lrc.check(service);
    synchronized (this) {
      if (!regulating) {
        throw new TimeRegulationIsNotEnabled(name(service) + ": time regulation is not enabled");
      }
      regulating = false;
    }
    lrc.send(service, new TimeMessages.DisableRegulation());
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

  /**
   * sentOrder is the order a message with time stamp encoded travels in: time-stamp order
   * for a regulating federate, which may not send below its time plus lookahead.
   */
  synchronized boolean timeStampOrder(ServiceMethod service, byte[] encoded) throws InvalidLogicalTime {
    Long t = times.ordinal(encoded);
    if (t == null) {
      throw new InvalidLogicalTime(name(service) + ": the time is not a valid time of the federation's "
          + "representation");
    }
    if (!regulating) {
      return false;
    }
    long least = times.plus(advancing ? requested : time, lookahead);
    boolean available = advancing ? requestKind == TimeMessages.TIME_ADVANCE_AVAILABLE : grantedAvailable;
    boolean strict = times.isZero(lookahead) && !available;
    if (t < least || (strict && t == least)) {
      throw new InvalidLogicalTime(name(service) + ": a time-stamp-order message of this federate may not be "
          + (strict ? "at or below" : "below") + " its logical time plus its lookahead");
    }
    return true;
  }

  public synchronized byte[] queryLogicalTime() throws RTIexception {
    lrc.check(ServiceMethod.queryLogicalTime);
    return times.encode(time);
  }

  public synchronized byte[] queryLookahead() throws RTIexception {
    ServiceMethod service = ServiceMethod.queryLookahead;
    lrc.check(service);
    if (!regulating) {
      throw new TimeRegulationIsNotEnabled(name(service) + ": time regulation is not enabled");
    }
    return lookahead.clone();
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
      grantedAvailable = requestKind == TimeMessages.TIME_ADVANCE_AVAILABLE;
      advancing = false;
    } else if (method == CallbackMethod.timeRegulationEnabled_LT_Native) {
      time = times.ordinal((byte[]) callback.args()[0]);
      regulating = true;
      regulationPending = false;
    } else if (method == CallbackMethod.timeConstrainedEnabled_LT_Native) {
      constrained = true;
      constrainedPending = false;
    }
  }
}
