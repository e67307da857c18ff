package org.vantor.ostra1516e.message;

/**
 * Notice is a message from a component to the engine that is not answered. It travels the
 * same ordered path as requests: the engine handles a component's messages in the order
 * they were sent.
 */
public interface Notice extends Message {}
