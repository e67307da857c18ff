package hla.rti1516e.exceptions;

/** The RTI core's RestoreInProgress; it reaches a C++ federate as rti1516e::RestoreInProgress. */
public class RestoreInProgress extends RTIexception {
  private static final long serialVersionUID = 1L;

  public RestoreInProgress(String message) {
    super(message);
  }

  public RestoreInProgress(String message, Throwable cause) {
    super(message, cause);
  }
}
