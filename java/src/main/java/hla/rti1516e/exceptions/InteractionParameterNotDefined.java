package hla.rti1516e.exceptions;

/** The RTI core's InteractionParameterNotDefined; it reaches a C++ federate as rti1516e::InteractionParameterNotDefined. */
public class InteractionParameterNotDefined extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InteractionParameterNotDefined(String message) {
    super(message);
  }

  public InteractionParameterNotDefined(String message, Throwable cause) {
    super(message, cause);
  }
}
