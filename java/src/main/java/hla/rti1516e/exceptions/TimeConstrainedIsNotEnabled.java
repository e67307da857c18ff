package hla.rti1516e.exceptions;

/** The RTI core's TimeConstrainedIsNotEnabled; it reaches a C++ federate as rti1516e::TimeConstrainedIsNotEnabled. */
public class TimeConstrainedIsNotEnabled extends RTIexception {
  private static final long serialVersionUID = 1L;

  public TimeConstrainedIsNotEnabled(String message) {
    super(message);
  }

  public TimeConstrainedIsNotEnabled(String message, Throwable cause) {
    super(message, cause);
  }
}
