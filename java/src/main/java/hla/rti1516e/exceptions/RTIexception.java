package hla.rti1516e.exceptions;

/**
 * RTIexception is the common base of every exception that the RTI core raises towards a
 * federate. The C++ library turns an instance of a subclass into the C++ exception of the
 * same simple name, with {@link #getMessage()} as its message (or {@link #toString()} when
 * the message is null).
 */
public class RTIexception extends Exception {
  private static final long serialVersionUID = 1L;

  public RTIexception(String message) {
    super(message);
  }

  public RTIexception(String message, Throwable cause) {
    super(message, cause);
  }
}
