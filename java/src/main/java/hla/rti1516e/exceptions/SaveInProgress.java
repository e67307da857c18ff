package hla.rti1516e.exceptions;

/** The RTI core's SaveInProgress; it reaches a C++ federate as rti1516e::SaveInProgress. */
public class SaveInProgress extends RTIexception {
  private static final long serialVersionUID = 1L;

  public SaveInProgress(String message) {
    super(message);
  }

  public SaveInProgress(String message, Throwable cause) {
    super(message, cause);
  }
}
