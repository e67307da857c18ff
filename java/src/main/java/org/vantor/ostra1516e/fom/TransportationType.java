package org.vantor.ostra1516e.fom;

/** One transportation type: its name and whether the module calls it reliable. */
public record TransportationType(String name, boolean reliable) {}
