package hla.rti1516e.exceptions;

/** The RTI core's FederatesCurrentlyJoined; it reaches a C++ federate as rti1516e::FederatesCurrentlyJoined. */
public class FederatesCurrentlyJoined extends RTIexception {
  private static final long serialVersionUID = 1L;

  public FederatesCurrentlyJoined(String message) {
    super(message);
  }

  public FederatesCurrentlyJoined(String message, Throwable cause) {
    super(message, cause);
  }
}
