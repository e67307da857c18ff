package hla.rti1516e.exceptions;

/** The RTI core's AttributeDivestitureWasNotRequested; it reaches a C++ federate as rti1516e::AttributeDivestitureWasNotRequested. */
public class AttributeDivestitureWasNotRequested extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AttributeDivestitureWasNotRequested(String message) {
    super(message);
  }

  public AttributeDivestitureWasNotRequested(String message, Throwable cause) {
    super(message, cause);
  }
}
