package hla.rti1516e.exceptions;

/** The RTI core's FederateNameAlreadyInUse; it reaches a C++ federate as rti1516e::FederateNameAlreadyInUse. */
public class FederateNameAlreadyInUse extends RTIexception {
  private static final long serialVersionUID = 1L;

  public FederateNameAlreadyInUse(String message) {
    super(message);
  }

  public FederateNameAlreadyInUse(String message, Throwable cause) {
    super(message, cause);
  }
}
