package hla.rti1516e.exceptions;

/** The RTI core's AsynchronousDeliveryAlreadyDisabled; it reaches a C++ federate as rti1516e::AsynchronousDeliveryAlreadyDisabled. */
public class AsynchronousDeliveryAlreadyDisabled extends RTIexception {
  private static final long serialVersionUID = 1L;

  public AsynchronousDeliveryAlreadyDisabled(String message) {
    super(message);
  }

  public AsynchronousDeliveryAlreadyDisabled(String message, Throwable cause) {
    super(message, cause);
  }
}
