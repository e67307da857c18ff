package org.vantor.ostra1516e.message;

/** Request is a message from a component to the engine that gets exactly one {@link Reply}. */
public interface Request extends Message {}
