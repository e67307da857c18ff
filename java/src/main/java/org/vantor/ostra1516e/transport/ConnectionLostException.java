package org.vantor.ostra1516e.transport;

/** ConnectionLostException says the link to the engine is gone; the message says why. */
public class ConnectionLostException extends Exception {
  private static final long serialVersionUID = 1L;

  public ConnectionLostException(String message) {
    super(message);
  }
}
