package org.vantor.ostra1516e.transport;

/**
 * Transport opens connections from local components to one federation engine: in process
 * by handing message objects over, or across processes as frames.
 */
public interface Transport {
  Connection open(EventSink events) throws ConnectionLostException;
}
