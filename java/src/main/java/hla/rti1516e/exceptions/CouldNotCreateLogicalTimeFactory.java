package hla.rti1516e.exceptions;

/** The RTI core's CouldNotCreateLogicalTimeFactory; it reaches a C++ federate as rti1516e::CouldNotCreateLogicalTimeFactory. */
public class CouldNotCreateLogicalTimeFactory extends RTIexception {
  private static final long serialVersionUID = 1L;

  public CouldNotCreateLogicalTimeFactory(String message) {
    super(message);
  }

  public CouldNotCreateLogicalTimeFactory(String message, Throwable cause) {
    super(message, cause);
  }
}
