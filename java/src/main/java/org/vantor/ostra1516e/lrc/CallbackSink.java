package org.vantor.ostra1516e.lrc;

/**
 * CallbackSink hands a callback to the federate: the entry classes encode it as a callback
 * array and call the native method. deliver returns when the federate's code returned; it
 * throws what the native method threw (FederateInternalError when the federate's callback
 * failed).
 */
public interface CallbackSink {
  void deliver(int federateAmbassador, Callback callback) throws Throwable;
}
