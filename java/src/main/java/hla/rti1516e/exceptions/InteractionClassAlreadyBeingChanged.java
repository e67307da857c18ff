package hla.rti1516e.exceptions;

/** The RTI core's InteractionClassAlreadyBeingChanged; it reaches a C++ federate as rti1516e::InteractionClassAlreadyBeingChanged. */
public class InteractionClassAlreadyBeingChanged extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InteractionClassAlreadyBeingChanged(String message) {
    super(message);
  }

  public InteractionClassAlreadyBeingChanged(String message, Throwable cause) {
    super(message, cause);
  }
}
