package hla.rti1516e.exceptions;

/** The RTI core's RestoreNotRequested; it reaches a C++ federate as rti1516e::RestoreNotRequested. */
public class RestoreNotRequested extends RTIexception {
  private static final long serialVersionUID = 1L;

  public RestoreNotRequested(String message) {
    super(message);
  }

  public RestoreNotRequested(String message, Throwable cause) {
    super(message, cause);
  }
}
