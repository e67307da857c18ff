package hla.rti1516e.exceptions;

/** The RTI core's NoAcquisitionPending; it reaches a C++ federate as rti1516e::NoAcquisitionPending. */
public class NoAcquisitionPending extends RTIexception {
  private static final long serialVersionUID = 1L;

  public NoAcquisitionPending(String message) {
    super(message);
  }

  public NoAcquisitionPending(String message, Throwable cause) {
    super(message, cause);
  }
}
