package org.vantor.ostra1516e.fom;

/** One update rate: its name and its rate (updates per second, finite and above zero). */
public record UpdateRate(String name, double rate) {}
