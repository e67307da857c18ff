package org.vantor.ostra1516e.message;

/** Event is a message from the engine to a component, usually the seed of a callback. */
public interface Event extends Message {}
