package hla.rti1516e.exceptions;

/** The RTI core's InvalidAttributeHandle; it reaches a C++ federate as rti1516e::InvalidAttributeHandle. */
public class InvalidAttributeHandle extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidAttributeHandle(String message) {
    super(message);
  }

  public InvalidAttributeHandle(String message, Throwable cause) {
    super(message, cause);
  }
}
