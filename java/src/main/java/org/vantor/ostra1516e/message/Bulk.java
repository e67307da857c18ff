package org.vantor.ostra1516e.message;

/**
 * Bulk marks the messages that carry a federation's data (updates, reflections,
 * interactions): with bundling on, they may wait a moment to travel together. Every other
 * message is one that someone waits for (a request, its reply, a grant, an announcement) and
 * leaves at once, taking the waiting ones along in order.
 */
public interface Bulk extends Message {}
