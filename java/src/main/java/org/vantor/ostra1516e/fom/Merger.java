package org.vantor.ostra1516e.fom;

import java.util.ArrayList;
import java.util.HashMap;
import java.util.HashSet;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Objects;
import java.util.Optional;
import java.util.OptionalLong;

/**
 * Merger folds modules, in order, into one object model and numbers what they declare. It is
 * used once per model: {@link FomModel} reads its tables after the last module and never changes
 * them. A conflict stops the merge with an INCONSISTENT FomException naming both modules.
 */
final class Merger {
  /** An object or interaction class of the merged model. */
  static final class ClassNode {
    final int handle;
    final String name;
    final String qualifiedName;
    final ClassNode parent;
    final Map<String, ClassNode> children = new LinkedHashMap<>();
    final List<Member> declared = new ArrayList<>();
    /** The module whose attributes or parameters define the class; null while none has. */
    String definedBy;
    /** Interaction classes: the occurrence that gives transportation, order and dimensions. */
    InteractionClassDef interaction;
    String interactionBy;
    int interactionRank = -1;

    ClassNode(int handle, String name, ClassNode parent) {
      this.handle = handle;
      this.name = name;
      this.parent = parent;
      this.qualifiedName = parent == null ? name : parent.qualifiedName + "." + name;
    }
  }

  /** An attribute (attribute set) or parameter (parameter set) of the merged model. */
  static final class Member {
    final int handle;
    final String name;
    final ClassNode declaring;
    final String module;
    final AttributeDef attribute;
    final ParameterDef parameter;

    Member(int handle, ClassNode declaring, String module, AttributeDef attribute,
        ParameterDef parameter) {
      this.handle = handle;
      this.name = attribute != null ? attribute.name() : parameter.name();
      this.declaring = declaring;
      this.module = module;
      this.attribute = attribute;
      this.parameter = parameter;
    }
  }

  final FomModule mim;
  final List<FomModule> modules = new ArrayList<>();
  final List<ClassNode> objectClasses = new ArrayList<>();
  final List<Member> attributes = new ArrayList<>();
  final List<ClassNode> interactionClasses = new ArrayList<>();
  final List<Member> parameters = new ArrayList<>();
  final Map<String, DimensionDef> dimensions = new LinkedHashMap<>();
  final Map<String, TransportationType> transportations = new LinkedHashMap<>();
  final Map<String, UpdateRate> updateRates = new LinkedHashMap<>();
  final Map<String, DataType> dataTypes = new LinkedHashMap<>();
  final Map<String, String> switches = new LinkedHashMap<>();
  String timeStampType = "";
  String lookaheadType = "";

  /** Which module first gave each named item, keyed by a kind prefix and the name. */
  private final Map<String, String> givenBy = new HashMap<>();
  private final List<FomModule> merged = new ArrayList<>();

  Merger(FomModule mim) throws FomException {
    this.mim = Objects.requireNonNull(mim, "mim");
    objectClasses.add(new ClassNode(1, ModuleReader.OBJECT_ROOT, null));
    interactionClasses.add(new ClassNode(1, ModuleReader.INTERACTION_ROOT, null));
    merge(mim);
  }

  /** add merges one more module; a module already merged (same designator and bytes) is skipped. */
  void add(FomModule module) throws FomException {
    if (merge(module)) {
      modules.add(module);
    }
  }

  private boolean merge(FomModule m) throws FomException {
    for (FomModule earlier : merged) {
      if (earlier.designator().equals(m.designator()) && earlier.sameContent(m)) {
        return false;
      }
    }
    String by = m.designator();
    if (m.objectRoot().isPresent()) {
      mergeObjectClass(m.objectRoot().get(), objectClasses.get(0), by);
    }
    if (m.interactionRoot().isPresent()) {
      mergeInteractionClass(m.interactionRoot().get(), interactionClasses.get(0), by);
    }
    for (DimensionDef d : m.dimensions()) {
      DimensionDef old = dimensions.putIfAbsent(d.name(), d);
      if (old == null) {
        givenBy.put("dimension " + d.name(), by);
      } else {
        String diff = differ("dataType", old.dataType(), d.dataType());
        diff = diff != null ? diff : differ("upperBound", bound(old.upperBound()), bound(d.upperBound()));
        diff = diff != null ? diff : differ("normalization", old.normalization(), d.normalization());
        diff = diff != null ? diff : differ("value", old.value(), d.value());
        check(diff, "dimension " + d.name(), by);
      }
    }
    for (TransportationType t : m.transportationTypes()) {
      TransportationType old = transportations.putIfAbsent(t.name(), t);
      if (old == null) {
        givenBy.put("transportation type " + t.name(), by);
      } else {
        check(differ("reliable", yesNo(old.reliable()), yesNo(t.reliable())),
            "transportation type " + t.name(), by);
      }
    }
    for (UpdateRate r : m.updateRates()) {
      UpdateRate old = updateRates.putIfAbsent(r.name(), r);
      if (old == null) {
        givenBy.put("update rate " + r.name(), by);
      } else if (Double.compare(old.rate(), r.rate()) != 0) {
        check("rate " + old.rate() + " vs " + r.rate(), "update rate " + r.name(), by);
      }
    }
    for (DataType t : m.dataTypes()) {
      DataType old = dataTypes.putIfAbsent(t.name(), t);
      if (old == null) {
        givenBy.put("data type " + t.name(), by);
      } else {
        check(old.difference(t).orElse(null), "data type " + t.name(), by);
      }
    }
    timeStampType = mergeTime("time stamp data type", timeStampType, m.timeStampDataType(), by);
    lookaheadType = mergeTime("lookahead data type", lookaheadType, m.lookaheadDataType(), by);
    for (Map.Entry<String, String> s : m.switches().entrySet()) {
      switches.putIfAbsent(s.getKey(), s.getValue());
    }
    merged.add(m);
    return true;
  }

  private String mergeTime(String what, String current, Optional<String> given, String by)
      throws FomException {
    if (given.isEmpty()) {
      return current;
    }
    if (current.isEmpty()) {
      givenBy.put(what, by);
      return given.get();
    }
    check(differ("", current, given.get()), what, by);
    return current;
  }

  /** check throws when diff (a difference, or null for none) shows the item conflicts. */
  private void check(String diff, String item, String by) throws FomException {
    if (diff != null) {
      throw conflict(givenBy.get(item), by, item, diff);
    }
  }

  static FomException conflict(String first, String second, String item, String diff) {
    return new FomException(FomException.Kind.INCONSISTENT, "FOM modules '" + first + "' and '"
        + second + "' disagree on " + item + ": " + diff);
  }

  /** "what X vs Y" when the two values differ, else null. */
  static String differ(String what, String a, String b) {
    if (a.equals(b)) {
      return null;
    }
    return (what.isEmpty() ? "" : what + " ") + DataType.shown(a) + " vs " + DataType.shown(b);
  }

  private static String bound(OptionalLong b) {
    return b.isPresent() ? Long.toString(b.getAsLong()) : "";
  }

  private static String yesNo(boolean b) {
    return b ? "Yes" : "No";
  }

  // ---- object classes

  private void mergeObjectClass(ObjectClassDef def, ClassNode node, String by)
      throws FomException {
    if (!def.attributes().isEmpty()) {
      if (node.definedBy == null) {
        for (AttributeDef a : def.attributes()) {
          checkNameFree(node, a.name(), "object class", "attribute", by);
        }
        for (AttributeDef a : def.attributes()) {
          Member m = new Member(attributes.size() + 1, node, by, a, null);
          attributes.add(m);
          node.declared.add(m);
        }
        node.definedBy = by;
      } else {
        compareMembers(node, "object class", "attribute", by,
            def.attributes(), AttributeDef::name, (old, a) -> attributeDifference(old.attribute, a));
      }
    }
    for (ObjectClassDef sub : def.subclasses()) {
      ClassNode child = node.children.get(sub.name());
      if (child == null) {
        child = new ClassNode(objectClasses.size() + 1, sub.name(), node);
        objectClasses.add(child);
        node.children.put(sub.name(), child);
      }
      mergeObjectClass(sub, child, by);
    }
  }

  static String attributeDifference(AttributeDef a, AttributeDef b) {
    String d = differ("dataType", a.dataType(), b.dataType());
    d = d != null ? d : differ("updateType", a.updateType(), b.updateType());
    d = d != null ? d : differ("ownership", a.ownership(), b.ownership());
    d = d != null ? d : differ("sharing", a.sharing(), b.sharing());
    d = d != null ? d : differDimensions(a.dimensions(), b.dimensions());
    d = d != null ? d : differ("transportation", FomModel.transportationOf(a.transportation()),
        FomModel.transportationOf(b.transportation()));
    return d != null ? d : differ("order", FomModel.orderOf(a.order()), FomModel.orderOf(b.order()));
  }

  private static String differDimensions(List<String> a, List<String> b) {
    if (new HashSet<>(a).equals(new HashSet<>(b))) {
      return null;
    }
    return "dimensions " + a + " vs " + b;
  }

  // ---- interaction classes

  private void mergeInteractionClass(InteractionClassDef def, ClassNode node, String by)
      throws FomException {
    boolean hasParameters = !def.parameters().isEmpty();
    if (hasParameters) {
      if (node.definedBy == null) {
        for (ParameterDef p : def.parameters()) {
          checkNameFree(node, p.name(), "interaction class", "parameter", by);
        }
        for (ParameterDef p : def.parameters()) {
          Member m = new Member(parameters.size() + 1, node, by, null, p);
          parameters.add(m);
          node.declared.add(m);
        }
        node.definedBy = by;
      } else {
        InteractionClassDef old = node.interaction;
        String d = differ("transportation", FomModel.transportationOf(old.transportation()),
            FomModel.transportationOf(def.transportation()));
        d = d != null ? d : differ("order", FomModel.orderOf(old.order()), FomModel.orderOf(def.order()));
        d = d != null ? d : differDimensions(old.dimensions(), def.dimensions());
        if (d != null) {
          throw conflict(node.definedBy, by, "interaction class " + node.qualifiedName, d);
        }
        compareMembers(node, "interaction class", "parameter", by,
            def.parameters(), ParameterDef::name,
            (oldMember, p) -> differ("dataType", oldMember.parameter.dataType(), p.dataType()));
      }
    }
    // The occurrence that declares parameters defines the class; without one, the first that
    // gives transportation, order or dimensions; scaffolding that gives only a name comes last.
    int rank = hasParameters ? 2
        : !def.transportation().isEmpty() || !def.order().isEmpty() || !def.dimensions().isEmpty()
            ? 1 : 0;
    if (rank > node.interactionRank) {
      node.interaction = def;
      node.interactionBy = by;
      node.interactionRank = rank;
    }
    for (InteractionClassDef sub : def.subclasses()) {
      ClassNode child = node.children.get(sub.name());
      if (child == null) {
        child = new ClassNode(interactionClasses.size() + 1, sub.name(), node);
        interactionClasses.add(child);
        node.children.put(sub.name(), child);
      }
      mergeInteractionClass(sub, child, by);
    }
  }

  // ---- members shared by both kinds of class

  /** A class defined by an earlier module may have ancestors or descendants using a name. */
  private static void checkNameFree(ClassNode node, String name, String classWord,
      String memberWord, String by) throws FomException {
    for (ClassNode c = node.parent; c != null; c = c.parent) {
      Member clash = declaredIn(c, name);
      if (clash != null) {
        throw conflict(clash.module, by, classWord + " " + node.qualifiedName,
            memberWord + " " + name + " is also declared in its superclass " + c.qualifiedName);
      }
    }
    Member clash = declaredBelow(node, name);
    if (clash != null) {
      throw conflict(clash.module, by, classWord + " " + node.qualifiedName,
          memberWord + " " + name + " is also declared in its subclass "
              + clash.declaring.qualifiedName);
    }
  }

  private static Member declaredIn(ClassNode c, String name) {
    for (Member m : c.declared) {
      if (m.name.equals(name)) {
        return m;
      }
    }
    return null;
  }

  private static Member declaredBelow(ClassNode node, String name) {
    for (ClassNode child : node.children.values()) {
      Member m = declaredIn(child, name);
      if (m == null) {
        m = declaredBelow(child, name);
      }
      if (m != null) {
        return m;
      }
    }
    return null;
  }

  interface Difference<T> {
    String of(Member old, T given);
  }

  interface Naming<T> {
    String name(T def);
  }

  /** The declared members of a class defined twice must be the same set with the same definitions. */
  private static <T> void compareMembers(ClassNode node, String classWord,
      String memberWord, String by, List<T> given, Naming<T> naming, Difference<T> difference)
      throws FomException {
    Map<String, Member> old = new HashMap<>();
    for (Member m : node.declared) {
      old.put(m.name, m);
    }
    HashSet<String> seen = new HashSet<>();
    for (T def : given) {
      String name = naming.name(def);
      seen.add(name);
      Member m = old.get(name);
      if (m == null) {
        throw conflict(node.definedBy, by, classWord + " " + node.qualifiedName,
            memberWord + " " + name + " is declared only in '" + by + "'");
      }
      String d = difference.of(m, def);
      if (d != null) {
        throw conflict(node.definedBy, by, memberWord + " " + node.qualifiedName + "." + name, d);
      }
    }
    for (Member m : node.declared) {
      if (!seen.contains(m.name)) {
        throw conflict(node.definedBy, by, classWord + " " + node.qualifiedName,
            memberWord + " " + m.name + " is declared only in '" + node.definedBy + "'");
      }
    }
  }

  // ---- references checked once every module is in

  /** Every dimension and transportation type that a class or member names must be defined. */
  void checkReferences() throws FomException {
    for (Member m : attributes) {
      String where = "attribute " + m.declaring.qualifiedName + "." + m.name;
      checkReference(m.module, where, m.attribute.dimensions(), m.attribute.transportation());
    }
    for (ClassNode c : interactionClasses) {
      if (c.interaction != null) {
        checkReference(c.interactionBy,
            "interaction class " + c.qualifiedName, c.interaction.dimensions(),
            c.interaction.transportation());
      }
    }
  }

  private void checkReference(String module, String where, List<String> dims, String transport)
      throws FomException {
    for (String d : dims) {
      if (!dimensions.containsKey(d)) {
        throw unknown(module, where, "dimension", d);
      }
    }
    String t = FomModel.transportationOf(transport);
    if (!transportations.containsKey(t)) {
      throw unknown(module, where, "transportation type", t);
    }
  }

  private static FomException unknown(String module, String where, String what, String name) {
    return new FomException(FomException.Kind.INCONSISTENT, "FOM module '" + module + "' names "
        + what + " '" + name + "' in " + where + ", but no module defines it");
  }
}
