package hla.rti1516e.exceptions;

/** The RTI core's InTimeAdvancingState; it reaches a C++ federate as rti1516e::InTimeAdvancingState. */
public class InTimeAdvancingState extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InTimeAdvancingState(String message) {
    super(message);
  }

  public InTimeAdvancingState(String message, Throwable cause) {
    super(message, cause);
  }
}
