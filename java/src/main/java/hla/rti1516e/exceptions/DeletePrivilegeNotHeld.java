package hla.rti1516e.exceptions;

/** The RTI core's DeletePrivilegeNotHeld; it reaches a C++ federate as rti1516e::DeletePrivilegeNotHeld. */
public class DeletePrivilegeNotHeld extends RTIexception {
  private static final long serialVersionUID = 1L;

  public DeletePrivilegeNotHeld(String message) {
    super(message);
  }

  public DeletePrivilegeNotHeld(String message, Throwable cause) {
    super(message, cause);
  }
}
