package org.vantor.ostra1516e.transport;

import org.vantor.ostra1516e.message.Event;

/**
 * EventSink takes the events that the engine sends to one component, in the order sent.
 * It is called on a thread of the engine or the transport and must not block: it records
 * state and queues callbacks, nothing more.
 */
public interface EventSink {
  void receive(Event event);

  /** lost tells that the connection ended without the component closing it. */
  void lost(String reason);
}
