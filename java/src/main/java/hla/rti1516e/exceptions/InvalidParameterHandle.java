package hla.rti1516e.exceptions;

/** The RTI core's InvalidParameterHandle; it reaches a C++ federate as rti1516e::InvalidParameterHandle. */
public class InvalidParameterHandle extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidParameterHandle(String message) {
    super(message);
  }

  public InvalidParameterHandle(String message, Throwable cause) {
    super(message, cause);
  }
}
