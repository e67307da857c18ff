package hla.rti1516e.exceptions;

/** The RTI core's RestoreNotInProgress; it reaches a C++ federate as rti1516e::RestoreNotInProgress. */
public class RestoreNotInProgress extends RTIexception {
  private static final long serialVersionUID = 1L;

  public RestoreNotInProgress(String message) {
    super(message);
  }

  public RestoreNotInProgress(String message, Throwable cause) {
    super(message, cause);
  }
}
