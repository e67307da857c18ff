package org.vantor.ostra1516e.fom;

import java.util.List;

/**
 * One interaction class of a module with its subclasses, in document order. qualifiedName is the
 * dotted path from HLAinteractionRoot; texts the module leaves out read as "".
 */
public record InteractionClassDef(
    String name,
    String qualifiedName,
    String sharing,
    List<String> dimensions,
    String transportation,
    String order,
    List<ParameterDef> parameters,
    List<InteractionClassDef> subclasses) {

  public InteractionClassDef {
    dimensions = List.copyOf(dimensions);
    parameters = List.copyOf(parameters);
    subclasses = List.copyOf(subclasses);
  }
}
