package hla.rti1516e.exceptions;

/** The RTI core's CouldNotOpenFDD; it reaches a C++ federate as rti1516e::CouldNotOpenFDD. */
public class CouldNotOpenFDD extends RTIexception {
  private static final long serialVersionUID = 1L;

  public CouldNotOpenFDD(String message) {
    super(message);
  }

  public CouldNotOpenFDD(String message, Throwable cause) {
    super(message, cause);
  }
}
