package hla.rti1516e.exceptions;

/** The RTI core's CouldNotOpenMIM; it reaches a C++ federate as rti1516e::CouldNotOpenMIM. */
public class CouldNotOpenMIM extends RTIexception {
  private static final long serialVersionUID = 1L;

  public CouldNotOpenMIM(String message) {
    super(message);
  }

  public CouldNotOpenMIM(String message, Throwable cause) {
    super(message, cause);
  }
}
