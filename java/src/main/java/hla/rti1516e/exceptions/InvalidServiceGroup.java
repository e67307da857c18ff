package hla.rti1516e.exceptions;

/** The RTI core's InvalidServiceGroup; it reaches a C++ federate as rti1516e::InvalidServiceGroup. */
public class InvalidServiceGroup extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InvalidServiceGroup(String message) {
    super(message);
  }

  public InvalidServiceGroup(String message, Throwable cause) {
    super(message, cause);
  }
}
