package org.vantor.ostra1516e.lrc;

import hla.rti1516e.exceptions.RTIexception;
import hla.rti1516e.exceptions.RTIinternalError;
import java.lang.reflect.InvocationTargetException;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * Failures turns the engine's refusals into the exceptions a federate gets. A refusal whose
 * class the service does not list becomes RTIinternalError, so a federate never sees an
 * exception its service cannot raise.
 */
final class Failures {
  private Failures() {}

  static RTIexception of(ServiceMethod service, Reply.Refused refused) {
    return of(service, refused.exception(), refused.message());
  }

  static RTIexception of(ServiceMethod service, String exception, String message) {
    if (service.raises(exception)) {
      try {
        Class<?> type = Class.forName("hla.rti1516e.exceptions." + exception);
        return (RTIexception) type.getConstructor(String.class).newInstance(message);
      } catch (ReflectiveOperationException | ClassCastException e) {
        // Fall through: the class list and the classes disagree.
      }
    }
    return new RTIinternalError(exception + ": " + message);
  }

  /** unexpected reports a reply of the wrong kind, a fault between component and engine. */
  static RTIinternalError unexpected(ServiceMethod service, Reply reply) {
    return new RTIinternalError(service.serviceName() + ": unexpected answer from the federation engine: " + reply);
  }

  static RTIinternalError internal(String message, Throwable cause) {
    Throwable root = cause instanceof InvocationTargetException i && i.getCause() != null ? i.getCause() : cause;
    return new RTIinternalError(message + ": " + root, root);
  }
}
