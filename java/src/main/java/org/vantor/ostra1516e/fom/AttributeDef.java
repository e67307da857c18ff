package org.vantor.ostra1516e.fom;

import java.util.List;

/**
 * One attribute as a module declares it. Every text is trimmed with inner white space collapsed
 * to single blanks; an element the module leaves out reads as "". {@link FomModel} reads an empty
 * transportation as {@value FomModel#DEFAULT_TRANSPORTATION} and an empty order as
 * {@value FomModel#DEFAULT_ORDER}.
 */
public record AttributeDef(
    String name,
    String dataType,
    String updateType,
    String updateCondition,
    String ownership,
    String sharing,
    List<String> dimensions,
    String transportation,
    String order) {

  public AttributeDef {
    dimensions = List.copyOf(dimensions);
  }
}
