package org.vantor.ostra1516e.wire;

/**
 * FederateRestoreStatus is one element of code FRSX: the federate's handles before and
 * after the restore and its restore status number (0 to 5 in the C++ API's order).
 */
public record FederateRestoreStatus(int preRestoreHandle, int postRestoreHandle, int status) {}
