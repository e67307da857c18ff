package hla.rti1516e.exceptions;

/** The RTI core's SaveNotInProgress; it reaches a C++ federate as rti1516e::SaveNotInProgress. */
public class SaveNotInProgress extends RTIexception {
  private static final long serialVersionUID = 1L;

  public SaveNotInProgress(String message) {
    super(message);
  }

  public SaveNotInProgress(String message, Throwable cause) {
    super(message, cause);
  }
}
