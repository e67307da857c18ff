package hla.rti1516e.exceptions;

/** The RTI core's InvalidInteractionClassHandle; it reaches a C++ federate as rti1516e::InvalidInteractionClassHandle. */
public class InvalidInteractionClassHandle extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidInteractionClassHandle(String message) {
    super(message);
  }

  public InvalidInteractionClassHandle(String message, Throwable cause) {
    super(message, cause);
  }
}
