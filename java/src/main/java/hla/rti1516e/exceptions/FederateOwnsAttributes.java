package hla.rti1516e.exceptions;

/** The RTI core's FederateOwnsAttributes; it reaches a C++ federate as rti1516e::FederateOwnsAttributes. */
public class FederateOwnsAttributes extends RTIexception {
  private static final long serialVersionUID = 1L;

  public FederateOwnsAttributes(String message) {
    super(message);
  }

  public FederateOwnsAttributes(String message, Throwable cause) {
    super(message, cause);
  }
}
