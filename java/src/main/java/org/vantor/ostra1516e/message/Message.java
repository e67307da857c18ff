package org.vantor.ostra1516e.message;

/**
 * Message is everything that travels between a federate's local RTI component and the
 * federation engine. Messages are immutable records: arrays they hold are never changed
 * after the message is made, so the in-process transport hands them over by reference.
 * Their fields are restricted to values a frame codec can write: numbers, booleans,
 * strings, byte and int arrays, lists of these, other records of this package, and FOM
 * modules and models (which travel as their module texts).
 *
 * <p>Three kinds: a {@link Request} goes from a component to the engine and is answered by
 * exactly one {@link Reply}; a {@link Notice} goes from a component to the engine and is
 * not answered; an {@link Event} goes from the engine to a component.
 */
public interface Message {}
