package hla.rti1516e.exceptions;

/** The RTI core's OwnershipAcquisitionPending; it reaches a C++ federate as rti1516e::OwnershipAcquisitionPending. */
public class OwnershipAcquisitionPending extends RTIexception {
  private static final long serialVersionUID = 1L;

  public OwnershipAcquisitionPending(String message) {
    super(message);
  }

  public OwnershipAcquisitionPending(String message, Throwable cause) {
    super(message, cause);
  }
}
