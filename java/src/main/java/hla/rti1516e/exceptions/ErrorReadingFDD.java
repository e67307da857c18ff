package hla.rti1516e.exceptions;

/** The RTI core's ErrorReadingFDD; it reaches a C++ federate as rti1516e::ErrorReadingFDD. */
public class ErrorReadingFDD extends RTIexception {
  private static final long serialVersionUID = 1L;

  public ErrorReadingFDD(String message) {
    super(message);
  }

  public ErrorReadingFDD(String message, Throwable cause) {
    super(message, cause);
  }
}
