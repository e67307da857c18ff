package hla.rti1516e.exceptions;

/** The RTI core's MessageCanNoLongerBeRetracted; it reaches a C++ federate as rti1516e::MessageCanNoLongerBeRetracted. */
public class MessageCanNoLongerBeRetracted extends RTIexception {
  private static final long serialVersionUID = 1L;

  public MessageCanNoLongerBeRetracted(String message) {
    super(message);
  }

  public MessageCanNoLongerBeRetracted(String message, Throwable cause) {
    super(message, cause);
  }
}
