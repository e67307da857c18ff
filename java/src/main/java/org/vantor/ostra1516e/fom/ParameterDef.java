package org.vantor.ostra1516e.fom;

/** One parameter as a module declares it; dataType is "" when the module leaves it out. */
public record ParameterDef(String name, String dataType) {}
