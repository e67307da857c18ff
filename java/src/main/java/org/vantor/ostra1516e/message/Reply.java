package org.vantor.ostra1516e.message;

import java.util.List;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.wire.FederationExecution;

/** Reply is the engine's answer to one {@link Request}. */
public interface Reply extends Message {
  /** Done is a request carried out that returns nothing. */
  record Done() implements Reply {
    public static final Done INSTANCE = new Done();
  }

  /**
   * Refused is a request the engine would not carry out: exception is the simple name of
   * the hla.rti1516e.exceptions class the federate gets, message what it says.
   */
  record Refused(String exception, String message) implements Reply {}

  /** Joined answers a join: the federate's handle and name and the federation's model. */
  record Joined(int federate, String federateName, String timeImplementation, FomModel model)
      implements Reply {}

  /** Federations answers a listing request. */
  record Federations(List<FederationExecution> executions) implements Reply {}

  /** Number answers a request for a handle. */
  record Number(int value) implements Reply {}

  /** Text answers a request for a name. */
  record Text(String value) implements Reply {}
}
