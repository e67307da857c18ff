package hla.rti1516e.exceptions;

/** The RTI core's AsynchronousDeliveryAlreadyEnabled; it reaches a C++ federate as rti1516e::AsynchronousDeliveryAlreadyEnabled. */
public class AsynchronousDeliveryAlreadyEnabled extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AsynchronousDeliveryAlreadyEnabled(String message) {
    super(message);
  }

  public AsynchronousDeliveryAlreadyEnabled(String message, Throwable cause) {
    super(message, cause);
  }
}
