package hla.rti1516e.exceptions;

/** The RTI core's FederateHasNotBegunSave; it reaches a C++ federate as rti1516e::FederateHasNotBegunSave. */
public class FederateHasNotBegunSave extends RTIexception {
  private static final long serialVersionUID = 1L;

  public FederateHasNotBegunSave(String message) {
    super(message);
  }

  public FederateHasNotBegunSave(String message, Throwable cause) {
    super(message, cause);
  }
}
