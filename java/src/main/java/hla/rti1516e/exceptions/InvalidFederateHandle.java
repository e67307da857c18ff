package hla.rti1516e.exceptions;

/** The RTI core's InvalidFederateHandle; it reaches a C++ federate as rti1516e::InvalidFederateHandle. */
public class InvalidFederateHandle extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidFederateHandle(String message) {
    super(message);
  }

  public InvalidFederateHandle(String message, Throwable cause) {
    super(message, cause);
  }
}
