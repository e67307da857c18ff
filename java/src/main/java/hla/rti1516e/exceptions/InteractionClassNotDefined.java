package hla.rti1516e.exceptions;

/** The RTI core's InteractionClassNotDefined; it reaches a C++ federate as rti1516e::InteractionClassNotDefined. */
public class InteractionClassNotDefined extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InteractionClassNotDefined(String message) {
    super(message);
  }

  public InteractionClassNotDefined(String message, Throwable cause) {
    super(message, cause);
  }
}
