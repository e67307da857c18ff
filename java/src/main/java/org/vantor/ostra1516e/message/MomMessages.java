package org.vantor.ostra1516e.message;

import java.util.List;
import org.vantor.ostra1516e.wire.HandleValues;

/**
 * MomMessages carry what the management object model needs of a federate's own component:
 * services another federate asked to be carried out on its behalf, and the reports of the
 * services it invokes and the exceptions it is given, while those reports are switched on.
 */
public final class MomMessages {
  private MomMessages() {}

  /**
   * Act asks the component to carry out, as if its federate had invoked it, the service of
   * an HLAmanager.HLAfederate.HLAservice interaction (or HLAmodifyAttributeState) that
   * requester sent, with the interaction's parameters.
   */
  public record Act(int requester, int interactionClass, HandleValues parameters) implements Event {}

  /**
   * ActFailed tells the engine that an Act could not be carried out: exception and why, and
   * whether a parameter was at fault (it did not hold its data type).
   */
  public record ActFailed(int requester, String service, String exception, boolean parameterError)
      implements Notice {}

  /** Reporting switches the component's reports of service invocations and of exceptions. */
  public record Reporting(boolean services, boolean exceptions) implements Event {}

  /**
   * ServiceInvoked reports one service invocation of the federate: its name, whether it
   * succeeded, its arguments and results as text, the exception it threw ("" when none), and
   * the number of the report, counting from 1.
   */
  public record ServiceInvoked(String service, boolean success, List<String> supplied, List<String> returned,
      String exception, int serial) implements Notice {}

  /** ExceptionGiven reports an exception a service gave the federate. */
  public record ExceptionGiven(String service, String exception) implements Notice {}
}
