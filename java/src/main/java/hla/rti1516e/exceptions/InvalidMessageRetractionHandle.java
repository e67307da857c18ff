package hla.rti1516e.exceptions;

/** The RTI core's InvalidMessageRetractionHandle; it reaches a C++ federate as rti1516e::InvalidMessageRetractionHandle. */
public class InvalidMessageRetractionHandle extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidMessageRetractionHandle(String message) {
    super(message);
  }

  public InvalidMessageRetractionHandle(String message, Throwable cause) {
    super(message, cause);
  }
}
