package org.vantor.ostra1516e.wire;

/** FederationExecution is one element of code FEIS: a federation and its time type's name. */
public record FederationExecution(String federationExecutionName, String logicalTimeImplementationName) {}
