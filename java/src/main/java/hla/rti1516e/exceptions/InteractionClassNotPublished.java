package hla.rti1516e.exceptions;

/** The RTI core's InteractionClassNotPublished; it reaches a C++ federate as rti1516e::InteractionClassNotPublished. */
public class InteractionClassNotPublished extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InteractionClassNotPublished(String message) {
    super(message);
  }

  public InteractionClassNotPublished(String message, Throwable cause) {
    super(message, cause);
  }
}
