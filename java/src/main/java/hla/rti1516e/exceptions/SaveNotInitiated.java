package hla.rti1516e.exceptions;

/** The RTI core's SaveNotInitiated; it reaches a C++ federate as rti1516e::SaveNotInitiated. */
public class SaveNotInitiated extends RTIexception {
  private static final long serialVersionUID = 1L;

  public SaveNotInitiated(String message) {
    super(message);
  }

  public SaveNotInitiated(String message, Throwable cause) {
    super(message, cause);
  }
}
