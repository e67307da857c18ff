package org.vantor.ostra1516e.fom;

import java.util.List;

/**
 * One object class of a module with its subclasses, in document order. qualifiedName is the
 * dotted path from HLAobjectRoot. A class with no attributes is either a class that declares none
 * or scaffolding that places subclasses under a class another module defines; the two read alike.
 */
public record ObjectClassDef(
    String name,
    String qualifiedName,
    String sharing,
    List<AttributeDef> attributes,
    List<ObjectClassDef> subclasses) {

  public ObjectClassDef {
    attributes = List.copyOf(attributes);
    subclasses = List.copyOf(subclasses);
  }
}
