package hla.rti1516e.exceptions;

/** The RTI core's AlreadyConnected; it reaches a C++ federate as rti1516e::AlreadyConnected. */
public class AlreadyConnected extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AlreadyConnected(String message) {
    super(message);
  }

  public AlreadyConnected(String message, Throwable cause) {
    super(message, cause);
  }
}
