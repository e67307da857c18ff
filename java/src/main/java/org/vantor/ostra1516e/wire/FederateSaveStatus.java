package org.vantor.ostra1516e.wire;

/**
 * FederateSaveStatus is one element of code FHSSPX: a federate and its save status number
 * (0 to 3 in the C++ API's order).
 */
public record FederateSaveStatus(int federate, int status) {}
