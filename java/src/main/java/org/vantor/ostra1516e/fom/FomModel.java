package org.vantor.ostra1516e.fom;

import java.util.ArrayList;
import java.util.BitSet;
import java.util.Collections;
import java.util.HashMap;
import java.util.LinkedHashMap;
import java.util.LinkedHashSet;
import java.util.List;
import java.util.Map;
import java.util.Optional;
import java.util.OptionalDouble;
import java.util.Set;
import java.util.TreeSet;

/**
 * FomModel is a federation's object model: the MIM and its FOM modules merged, with handles.
 *
 * <h2>Merging</h2>
 *
 * Modules merge in order, the MIM first. Classes are known by their fully qualified names. A
 * class that several modules declare with attributes (parameters) must have the same set in all
 * of them, each with the same dataType, updateType, ownership, sharing, dimensions, transportation
 * and order (parameters: dataType; interaction classes also the same transportation, order and
 * dimensions); a class repeated without attributes (parameters) is scaffolding and merges
 * silently, so a module may add subclasses under classes that others define. An attribute or
 * parameter name may not be declared twice along a line of inheritance. Dimensions, transportation
 * types, update rates, data types and the time stamp and lookahead data types of the same name
 * must agree; data types are compared on what decides their encoding
 * ({@link DataType#sameDefinition}). The first module that gives a switch sets it. Once every
 * module is in, every dimension and transportation type that a class or attribute names must be
 * defined by some module. A module merged before (same designator and identical bytes) is
 * skipped; an identical copy under another designator merges without conflict.
 *
 * <p>Defaults: an attribute or interaction class without transportation is
 * {@value #DEFAULT_TRANSPORTATION}, without order {@value #DEFAULT_ORDER}; a dimension without an
 * upper bound has {@link #DEFAULT_UPPER_BOUND} (2^31-1); switches no module gives have the values
 * of {@link #SWITCH_DEFAULTS}: every on/off switch off, automaticResignAction
 * CancelThenDeleteThenDivest.
 *
 * <h2>Handles</h2>
 *
 * Handles are ints from 1, dense, numbered in merge order (document order within a module, a
 * class before its attributes, its attributes before its subclasses) with one counter per kind:
 * object classes, attributes, interaction classes, parameters, dimensions. An inherited attribute
 * or parameter keeps the handle of the class that declares it. HLAobjectRoot and
 * HLAinteractionRoot are always handle 1. The handles depend only on the modules and their order.
 * {@link #extend} keeps every handle and numbers new items after the existing ones.
 *
 * <h2>Lookups</h2>
 *
 * A lookup that finds nothing returns {@link #NONE} (-1) where it returns a handle, an empty
 * Optional where it returns a value, an empty collection where it returns a collection, and false
 * where it answers a question. Names are case-sensitive. Every lookup is a hash or array access.
 *
 * <p>Instances are immutable and safe to share between threads.
 */
public final class FomModel {
  /** What a lookup returns when it finds no handle. */
  public static final int NONE = -1;

  public static final String DEFAULT_TRANSPORTATION = "HLAreliable";
  public static final String DEFAULT_ORDER = "Receive";
  /** The upper bound of a dimension whose module gives none (the MIM's HLAfederate). */
  public static final long DEFAULT_UPPER_BOUND = Integer.MAX_VALUE;

  public static final String AUTOMATIC_RESIGN_ACTION = "automaticResignAction";
  /** The switches by their element name, with their values when no module gives them. */
  public static final Map<String, String> SWITCH_DEFAULTS = switchDefaults();

  private final FomModule mim;
  private final List<FomModule> modules;
  private final List<String> designators;

  private final ClassInfo[] objectClasses;
  private final MemberInfo[] attributes;
  private final Map<String, Integer> objectClassNames;
  private final ClassInfo[] interactionClasses;
  private final MemberInfo[] parameters;
  private final Map<String, Integer> interactionClassNames;

  private final DimensionDef[] dimensions;
  private final Map<String, Integer> dimensionHandles;
  private final Map<String, TransportationType> transportationTypes;
  private final Map<String, UpdateRate> updateRates;
  private final Map<String, DataType> dataTypes;
  private final Map<String, String> switches;
  private final String timeStampDataType;
  private final String lookaheadDataType;

  /** A class as the lookups need it; index 0 of the arrays stays empty. */
  private static final class ClassInfo {
    final String qualifiedName;
    final int parent;
    final List<Integer> children;
    final List<Integer> declared;
    final Map<String, Integer> byName;
    final Set<Integer> available;
    /** The same handles as available, for the membership tests that every update makes. */
    final BitSet availableBits = new BitSet();
    // interaction classes only
    final String transportation;
    final String order;
    final Set<Integer> dimensions;

    ClassInfo(String qualifiedName, int parent, List<Integer> children, List<Integer> declared,
        Map<String, Integer> byName, Set<Integer> available, String transportation, String order,
        Set<Integer> dimensions) {
      this.qualifiedName = qualifiedName;
      this.parent = parent;
      this.children = children;
      this.declared = declared;
      this.byName = byName;
      this.available = available;
      available.forEach(availableBits::set);
      this.transportation = transportation;
      this.order = order;
      this.dimensions = dimensions;
    }
  }

  private static final class MemberInfo {
    final String name;
    final int declaringClass;
    final AttributeDef attribute;
    final ParameterDef parameter;
    final Set<Integer> dimensions;

    MemberInfo(String name, int declaringClass, AttributeDef attribute, ParameterDef parameter,
        Set<Integer> dimensions) {
      this.name = name;
      this.declaringClass = declaringClass;
      this.attribute = attribute;
      this.parameter = parameter;
      this.dimensions = dimensions;
    }
  }

  /**
   * create merges the MIM and then the modules, in order.
   *
   * @throws FomException INCONSISTENT when modules conflict
   */
  public static FomModel create(FomModule mim, List<FomModule> modules) throws FomException {
    Merger merger = new Merger(mim);
    for (FomModule m : modules) {
      merger.add(m);
    }
    merger.checkReferences();
    return new FomModel(merger);
  }

  /**
   * extend is a new model with these modules merged after the existing ones; this model stays as
   * it is, so a failed join leaves the federation's model unchanged.
   *
   * @throws FomException INCONSISTENT when a module conflicts with the model or another module
   */
  public FomModel extend(List<FomModule> more) throws FomException {
    List<FomModule> all = new ArrayList<>(modules);
    all.addAll(more);
    return create(mim, all);
  }

  private FomModel(Merger m) {
    mim = m.mim;
    modules = List.copyOf(m.modules);
    List<String> names = new ArrayList<>();
    for (FomModule module : modules) {
      names.add(module.designator());
    }
    designators = List.copyOf(names);

    dimensions = new DimensionDef[m.dimensions.size() + 1];
    Map<String, Integer> dimHandles = new HashMap<>();
    for (DimensionDef d : m.dimensions.values()) {
      dimHandles.put(d.name(), dimHandles.size() + 1);
      dimensions[dimHandles.size()] = d;
    }
    dimensionHandles = Collections.unmodifiableMap(dimHandles);

    attributes = members(m.attributes);
    objectClasses = classes(m.objectClasses, attributes);
    objectClassNames = nameMap(objectClasses);
    parameters = members(m.parameters);
    interactionClasses = classes(m.interactionClasses, parameters);
    interactionClassNames = nameMap(interactionClasses);

    transportationTypes = Collections.unmodifiableMap(new LinkedHashMap<>(m.transportations));
    updateRates = Collections.unmodifiableMap(new LinkedHashMap<>(m.updateRates));
    dataTypes = Collections.unmodifiableMap(new LinkedHashMap<>(m.dataTypes));
    Map<String, String> sw = new LinkedHashMap<>(SWITCH_DEFAULTS);
    sw.putAll(m.switches);
    switches = Collections.unmodifiableMap(sw);
    timeStampDataType = m.timeStampType;
    lookaheadDataType = m.lookaheadType;
  }

  private MemberInfo[] members(List<Merger.Member> list) {
    MemberInfo[] out = new MemberInfo[list.size() + 1];
    for (Merger.Member m : list) {
      List<String> dims = m.attribute != null ? m.attribute.dimensions() : List.of();
      out[m.handle] = new MemberInfo(m.name, m.declaring.handle, m.attribute, m.parameter,
          dimensionSet(dims));
    }
    return out;
  }

  private Set<Integer> dimensionSet(List<String> names) {
    TreeSet<Integer> handles = new TreeSet<>();
    for (String n : names) {
      handles.add(dimensionHandles.get(n)); // every name was checked by the merger
    }
    return Collections.unmodifiableSet(new LinkedHashSet<>(handles));
  }

  private ClassInfo[] classes(List<Merger.ClassNode> nodes, MemberInfo[] members) {
    ClassInfo[] out = new ClassInfo[nodes.size() + 1];
    // A class is numbered while its parent is merged, so a parent's handle is always lower.
    for (Merger.ClassNode n : nodes) {
      List<Integer> children = new ArrayList<>();
      for (Merger.ClassNode c : n.children.values()) {
        children.add(c.handle);
      }
      List<Integer> declared = new ArrayList<>();
      Map<String, Integer> byName = new HashMap<>();
      TreeSet<Integer> available = new TreeSet<>();
      ClassInfo parent = n.parent == null ? null : out[n.parent.handle];
      if (parent != null) {
        byName.putAll(parent.byName);
        available.addAll(parent.available);
      }
      for (Merger.Member m : n.declared) {
        declared.add(m.handle);
        byName.put(m.name, m.handle);
        available.add(m.handle);
      }
      InteractionClassDef def = n.interaction;
      out[n.handle] = new ClassInfo(n.qualifiedName, n.parent == null ? NONE : n.parent.handle,
          List.copyOf(children), List.copyOf(declared), byName,
          Collections.unmodifiableSet(new LinkedHashSet<>(available)),
          transportationOf(def == null ? "" : def.transportation()),
          orderOf(def == null ? "" : def.order()),
          dimensionSet(def == null ? List.of() : def.dimensions()));
    }
    return out;
  }

  /**
   * The names a class is found by: its fully qualified name, the same without the root's name,
   * and its own last name when no other class has it. The two path forms win over a last name.
   */
  private static Map<String, Integer> nameMap(ClassInfo[] classes) {
    Map<String, Integer> lastNames = new HashMap<>();
    for (int h = 1; h < classes.length; h++) {
      String q = classes[h].qualifiedName;
      lastNames.merge(q.substring(q.lastIndexOf('.') + 1), h, (a, b) -> NONE);
    }
    Map<String, Integer> names = new HashMap<>();
    lastNames.forEach((name, h) -> {
      if (h != NONE) {
        names.put(name, h);
      }
    });
    String root = classes[1].qualifiedName;
    for (int h = 1; h < classes.length; h++) {
      String q = classes[h].qualifiedName;
      names.put(q, h);
      if (h != 1) {
        names.put(q.substring(root.length() + 1), h);
      }
    }
    return names;
  }

  static String transportationOf(String given) {
    return given.isEmpty() ? DEFAULT_TRANSPORTATION : given;
  }

  static String orderOf(String given) {
    return given.isEmpty() ? DEFAULT_ORDER : given;
  }

  private static Map<String, String> switchDefaults() {
    Map<String, String> d = new LinkedHashMap<>();
    for (String name : List.of("autoProvide", "conveyRegionDesignatorSets",
        "conveyProducingFederate", "attributeScopeAdvisory", "attributeRelevanceAdvisory",
        "objectClassRelevanceAdvisory", "interactionRelevanceAdvisory", "serviceReporting",
        "exceptionReporting", "delaySubscriptionEvaluation")) {
      d.put(name, "false");
    }
    d.put(AUTOMATIC_RESIGN_ACTION, "CancelThenDeleteThenDivest");
    return Collections.unmodifiableMap(d);
  }

  // ---- modules

  /** The designators of the FOM modules in merge order, the MIM left out. */
  public List<String> moduleDesignators() {
    return designators;
  }

  public String mimDesignator() {
    return mim.designator();
  }

  public FomModule mim() {
    return mim;
  }

  /** The FOM modules in merge order, the MIM left out. */
  public List<FomModule> modules() {
    return modules;
  }

  // ---- object classes

  /** The handle of HLAobjectRoot, always 1. */
  public int objectRoot() {
    return 1;
  }

  /** Handles run from 1 to this count. */
  public int objectClassCount() {
    return objectClasses.length - 1;
  }

  public boolean isObjectClass(int handle) {
    return handle > 0 && handle < objectClasses.length;
  }

  /**
   * The object class of a name: fully qualified ("HLAobjectRoot.HLAmanager.HLAfederate"),
   * without the root ("HLAmanager.HLAfederate"), or its last name alone ("HLAfederate") when
   * only one object class has that last name; otherwise {@link #NONE}.
   */
  public int objectClassHandle(String name) {
    return objectClassNames.getOrDefault(name, NONE);
  }

  /** The fully qualified name. */
  public Optional<String> objectClassName(int handle) {
    return isObjectClass(handle) ? Optional.of(objectClasses[handle].qualifiedName)
        : Optional.empty();
  }

  /** The superclass, {@link #NONE} for the root or an unknown handle. */
  public int objectClassParent(int handle) {
    return isObjectClass(handle) ? objectClasses[handle].parent : NONE;
  }

  /** The direct subclasses in merge order. */
  public List<Integer> objectClassChildren(int handle) {
    return isObjectClass(handle) ? objectClasses[handle].children : List.of();
  }

  /** Whether sub is sup or one of its subclasses at any depth; false for unknown handles. */
  public boolean isObjectSubclassOf(int sub, int sup) {
    return isObjectClass(sub) && isObjectClass(sup) && descends(objectClasses, sub, sup);
  }

  private static boolean descends(ClassInfo[] classes, int sub, int sup) {
    for (int c = sub; c != NONE; c = classes[c].parent) {
      if (c == sup) {
        return true;
      }
    }
    return false;
  }

  // ---- attributes

  /** The attribute of that name declared in the class or inherited by it. */
  public int attributeHandle(int classHandle, String name) {
    return isObjectClass(classHandle)
        ? objectClasses[classHandle].byName.getOrDefault(name, NONE) : NONE;
  }

  /** The attribute's name, when the class declares or inherits it. */
  public Optional<String> attributeName(int classHandle, int attributeHandle) {
    return isAttributeAvailable(classHandle, attributeHandle)
        ? Optional.of(attributes[attributeHandle].name) : Optional.empty();
  }

  /** Attribute handles run from 1 to this count. */
  public int attributeCount() {
    return attributes.length - 1;
  }

  /** Whether the handle names an attribute of any class. */
  public boolean isAttribute(int attributeHandle) {
    return attributeHandle > 0 && attributeHandle < attributes.length;
  }

  /** Whether the class declares or inherits the attribute. */
  public boolean isAttributeAvailable(int classHandle, int attributeHandle) {
    return isObjectClass(classHandle)
        && attributeHandle >= 0 && objectClasses[classHandle].availableBits.get(attributeHandle);
  }

  /** Every attribute the class declares or inherits, in handle order. */
  public Set<Integer> availableAttributes(int classHandle) {
    return isObjectClass(classHandle) ? objectClasses[classHandle].available : Set.of();
  }

  /** The attributes the class itself declares, in handle order. */
  public List<Integer> declaredAttributes(int classHandle) {
    return isObjectClass(classHandle) ? objectClasses[classHandle].declared : List.of();
  }

  public int attributeDeclaringClass(int attributeHandle) {
    return isAttribute(attributeHandle) ? attributes[attributeHandle].declaringClass : NONE;
  }

  /** The attribute as its module declares it. */
  public Optional<AttributeDef> attributeDef(int attributeHandle) {
    return isAttribute(attributeHandle) ? Optional.of(attributes[attributeHandle].attribute)
        : Optional.empty();
  }

  /** The name of the attribute's transportation type, the default applied. */
  public Optional<String> attributeTransportation(int attributeHandle) {
    return isAttribute(attributeHandle)
        ? Optional.of(transportationOf(attributes[attributeHandle].attribute.transportation()))
        : Optional.empty();
  }

  /** "Receive" or "TimeStamp", the default applied. */
  public Optional<String> attributeOrder(int attributeHandle) {
    return isAttribute(attributeHandle)
        ? Optional.of(orderOf(attributes[attributeHandle].attribute.order())) : Optional.empty();
  }

  /** The dimensions of the attribute, as dimension handles in handle order. */
  public Set<Integer> attributeDimensions(int attributeHandle) {
    return isAttribute(attributeHandle) ? attributes[attributeHandle].dimensions : Set.of();
  }

  /** The dimensions of an attribute of a class; empty when the class lacks the attribute. */
  public Set<Integer> availableDimensions(int classHandle, int attributeHandle) {
    return isAttributeAvailable(classHandle, attributeHandle)
        ? attributes[attributeHandle].dimensions : Set.of();
  }

  // ---- interaction classes

  /** The handle of HLAinteractionRoot, always 1. */
  public int interactionRoot() {
    return 1;
  }

  /** Handles run from 1 to this count. */
  public int interactionClassCount() {
    return interactionClasses.length - 1;
  }

  public boolean isInteractionClass(int handle) {
    return handle > 0 && handle < interactionClasses.length;
  }

  /** As {@link #objectClassHandle}, for interaction classes below HLAinteractionRoot. */
  public int interactionClassHandle(String name) {
    return interactionClassNames.getOrDefault(name, NONE);
  }

  public Optional<String> interactionClassName(int handle) {
    return isInteractionClass(handle) ? Optional.of(interactionClasses[handle].qualifiedName)
        : Optional.empty();
  }

  public int interactionClassParent(int handle) {
    return isInteractionClass(handle) ? interactionClasses[handle].parent : NONE;
  }

  public List<Integer> interactionClassChildren(int handle) {
    return isInteractionClass(handle) ? interactionClasses[handle].children : List.of();
  }

  /** Whether sub is sup or one of its subclasses at any depth; false for unknown handles. */
  public boolean isInteractionSubclassOf(int sub, int sup) {
    return isInteractionClass(sub) && isInteractionClass(sup)
        && descends(interactionClasses, sub, sup);
  }

  public Optional<String> interactionTransportation(int handle) {
    return isInteractionClass(handle) ? Optional.of(interactionClasses[handle].transportation)
        : Optional.empty();
  }

  public Optional<String> interactionOrder(int handle) {
    return isInteractionClass(handle) ? Optional.of(interactionClasses[handle].order)
        : Optional.empty();
  }

  /** The dimensions of the interaction class, as dimension handles in handle order. */
  public Set<Integer> interactionDimensions(int handle) {
    return isInteractionClass(handle) ? interactionClasses[handle].dimensions : Set.of();
  }

  // ---- parameters

  public int parameterHandle(int classHandle, String name) {
    return isInteractionClass(classHandle)
        ? interactionClasses[classHandle].byName.getOrDefault(name, NONE) : NONE;
  }

  public Optional<String> parameterName(int classHandle, int parameterHandle) {
    return isParameterAvailable(classHandle, parameterHandle)
        ? Optional.of(parameters[parameterHandle].name) : Optional.empty();
  }

  /** Parameter handles run from 1 to this count. */
  public int parameterCount() {
    return parameters.length - 1;
  }

  public boolean isParameter(int parameterHandle) {
    return parameterHandle > 0 && parameterHandle < parameters.length;
  }

  public boolean isParameterAvailable(int classHandle, int parameterHandle) {
    return isInteractionClass(classHandle)
        && parameterHandle >= 0 && interactionClasses[classHandle].availableBits.get(parameterHandle);
  }

  public Set<Integer> availableParameters(int classHandle) {
    return isInteractionClass(classHandle) ? interactionClasses[classHandle].available : Set.of();
  }

  public List<Integer> declaredParameters(int classHandle) {
    return isInteractionClass(classHandle) ? interactionClasses[classHandle].declared : List.of();
  }

  public int parameterDeclaringClass(int parameterHandle) {
    return isParameter(parameterHandle) ? parameters[parameterHandle].declaringClass : NONE;
  }

  public Optional<ParameterDef> parameterDef(int parameterHandle) {
    return isParameter(parameterHandle) ? Optional.of(parameters[parameterHandle].parameter)
        : Optional.empty();
  }

  // ---- dimensions

  public int dimensionCount() {
    return dimensions.length - 1;
  }

  public int dimensionHandle(String name) {
    return dimensionHandles.getOrDefault(name, NONE);
  }

  public Optional<String> dimensionName(int handle) {
    return dimension(handle).map(DimensionDef::name);
  }

  public Optional<DimensionDef> dimension(int handle) {
    return handle > 0 && handle < dimensions.length ? Optional.of(dimensions[handle])
        : Optional.empty();
  }

  /** The upper bound, {@link #DEFAULT_UPPER_BOUND} when no module gives one, -1 if unknown. */
  public long dimensionUpperBound(int handle) {
    if (handle <= 0 || handle >= dimensions.length) {
      return NONE;
    }
    return dimensions[handle].upperBound().orElse(DEFAULT_UPPER_BOUND);
  }

  // ---- transportation, update rates, switches, time, data types

  public Optional<TransportationType> transportationType(String name) {
    return Optional.ofNullable(transportationTypes.get(name));
  }

  /** Every transportation type by name, in merge order. */
  public Map<String, TransportationType> transportationTypes() {
    return transportationTypes;
  }

  public OptionalDouble updateRate(String name) {
    UpdateRate r = updateRates.get(name);
    return r == null ? OptionalDouble.empty() : OptionalDouble.of(r.rate());
  }

  public Map<String, UpdateRate> updateRates() {
    return updateRates;
  }

  /** The value of a switch by its element name ("true"/"false", or the resign action). */
  public Optional<String> switchValue(String name) {
    return Optional.ofNullable(switches.get(name));
  }

  /**
   * Whether an on/off switch is on.
   *
   * @throws IllegalArgumentException for automaticResignAction or a name that is no switch
   */
  public boolean switchEnabled(String name) {
    String v = switches.get(name);
    if (v == null || name.equals(AUTOMATIC_RESIGN_ACTION)) {
      throw new IllegalArgumentException("'" + name + "' is not an on/off switch");
    }
    return v.equals("true");
  }

  public String automaticResignAction() {
    return switches.get(AUTOMATIC_RESIGN_ACTION);
  }

  /** Every switch with its value in force. */
  public Map<String, String> switches() {
    return switches;
  }

  public Optional<String> timeStampDataType() {
    return timeStampDataType.isEmpty() ? Optional.empty() : Optional.of(timeStampDataType);
  }

  public Optional<String> lookaheadDataType() {
    return lookaheadDataType.isEmpty() ? Optional.empty() : Optional.of(lookaheadDataType);
  }

  public Optional<DataType> dataType(String name) {
    return Optional.ofNullable(dataTypes.get(name));
  }

  /** Every data type by name, in merge order. */
  public Map<String, DataType> dataTypes() {
    return dataTypes;
  }
}
