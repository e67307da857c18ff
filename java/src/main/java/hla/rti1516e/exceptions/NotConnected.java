package hla.rti1516e.exceptions;

/** The RTI core's NotConnected; it reaches a C++ federate as rti1516e::NotConnected. */
public class NotConnected extends RTIexception {
  private static final long serialVersionUID = 1L;

  public NotConnected(String message) {
    super(message);
  }

  public NotConnected(String message, Throwable cause) {
    super(message, cause);
  }
}
