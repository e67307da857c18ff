package hla.rti1516e.exceptions;

/** The RTI core's InconsistentFDD; it reaches a C++ federate as rti1516e::InconsistentFDD. */
public class InconsistentFDD extends RTIexception {
  private static final long serialVersionUID = 1L;

  public InconsistentFDD(String message) {
    super(message);
  }

  public InconsistentFDD(String message, Throwable cause) {
    super(message, cause);
  }
}
