package hla.rti1516e.exceptions;

/** The RTI core's UnsupportedCallbackModel; it reaches a C++ federate as rti1516e::UnsupportedCallbackModel. */
public class UnsupportedCallbackModel extends RTIexception {
  private static final long serialVersionUID = 1L;

  public UnsupportedCallbackModel(String message) {
    super(message);
  }

  public UnsupportedCallbackModel(String message, Throwable cause) {
    super(message, cause);
  }
}
