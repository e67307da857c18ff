package hla.rti1516e.exceptions;

/** The RTI core's TimeConstrainedAlreadyEnabled; it reaches a C++ federate as rti1516e::TimeConstrainedAlreadyEnabled. */
public class TimeConstrainedAlreadyEnabled extends RTIexception {
  private static final long serialVersionUID = 1L;

  public TimeConstrainedAlreadyEnabled(String message) {
    super(message);
  }

  public TimeConstrainedAlreadyEnabled(String message, Throwable cause) {
    super(message, cause);
  }
}
