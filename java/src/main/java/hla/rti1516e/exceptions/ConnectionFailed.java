package hla.rti1516e.exceptions;

/** The RTI core's ConnectionFailed; it reaches a C++ federate as rti1516e::ConnectionFailed. */
public class ConnectionFailed extends RTIexception {
  private static final long serialVersionUID = 1L;

  public ConnectionFailed(String message) {
    super(message);
  }

  public ConnectionFailed(String message, Throwable cause) {
    super(message, cause);
  }
}
