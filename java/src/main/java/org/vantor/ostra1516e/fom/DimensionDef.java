package org.vantor.ostra1516e.fom;

import java.util.OptionalLong;

/** One dimension of a module; upperBound is empty when the module gives none. */
public record DimensionDef(
    String name, String dataType, OptionalLong upperBound, String normalization, String value) {}
