package org.vantor.ostra1516e.transport;

import org.vantor.ostra1516e.message.Notice;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.message.Request;

/**
 * Connection is a component's end of its link to a federation engine. Requests and notices
 * sent on one connection are handled by the engine in the order sent; events come back
 * through the {@link EventSink} given when the connection was opened.
 *
 * <p>Thread-safety: any thread may send and request at once; a request blocks only its
 * own thread.
 */
public interface Connection extends AutoCloseable {
  /** request sends request and waits for its reply. */
  Reply request(Request request) throws ConnectionLostException;

  /** send sends notice without waiting. */
  void send(Notice notice) throws ConnectionLostException;

  /** flush sends at once whatever the connection holds back to send together; the caller is about to wait. */
  default void flush() {}

  /** close ends the connection; the engine treats it as the component going away. */
  @Override
  void close();
}
