package org.vantor.ostra1516e.fom;

import java.util.ArrayList;
import java.util.HashMap;
import java.util.HashSet;
import java.util.LinkedHashMap;
import java.util.LinkedHashSet;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.OptionalLong;
import java.util.Set;
import org.vantor.ostra1516e.fom.XmlTree.Node;

/**
 * ModuleReader turns the element tree of one module into its parts and checks the rules a single
 * module must keep by itself: the root element, the two root classes, names, and no duplicate
 * names where a name must be unique.
 */
final class ModuleReader {
  static final String OBJECT_ROOT = "HLAobjectRoot";
  static final String INTERACTION_ROOT = "HLAinteractionRoot";

  private static final List<String> SHARING =
      List.of("Publish", "Subscribe", "PublishSubscribe", "Neither");
  private static final List<String> ORDER = List.of("Receive", "TimeStamp");

  private final String designator;

  String modelName = "";
  ObjectClassDef objectRoot;
  InteractionClassDef interactionRoot;
  final List<DimensionDef> dimensions = new ArrayList<>();
  final List<TransportationType> transportations = new ArrayList<>();
  final List<UpdateRate> updateRates = new ArrayList<>();
  final Map<String, String> switches = new LinkedHashMap<>();
  String timeStampType = "";
  String lookaheadType = "";
  final List<DataType> dataTypes = new ArrayList<>();

  private ModuleReader(String designator) {
    this.designator = designator;
  }

  static ModuleReader read(String designator, byte[] content) throws FomException {
    ModuleReader reader = new ModuleReader(designator);
    Node root;
    try {
      root = XmlTree.parse(content);
    } catch (XmlTree.ParseFault f) {
      throw reader.fault(f.line, f.element, f.getMessage());
    }
    reader.readModel(root);
    return reader;
  }

  FomException fault(int line, String element, String problem) {
    StringBuilder m = new StringBuilder("error reading FOM module '").append(designator).append('\'');
    if (line > 0) {
      m.append(", line ").append(line);
    }
    if (element != null) {
      m.append(", element <").append(element).append('>');
    }
    return new FomException(FomException.Kind.ERROR_READING, m.append(": ").append(problem).toString());
  }

  private FomException fault(Node at, String problem) {
    return fault(at.line, at.name, problem);
  }

  private void readModel(Node root) throws FomException {
    if (root == null) {
      throw fault(0, null, "no root element");
    }
    if (!root.name.equals("objectModel")) {
      throw fault(root, "the root element is <" + root.name + ">, not <objectModel>");
    }
    Set<String> seen = new HashSet<>();
    for (Node section : root.children) {
      switch (section.name) {
        case "modelIdentification":
        case "objects":
        case "interactions":
        case "dimensions":
        case "time":
        case "transportations":
        case "switches":
        case "updateRates":
        case "dataTypes":
          if (!seen.add(section.name)) {
            throw fault(section, "a second <" + section.name + "> section");
          }
          readSection(section);
          break;
        default:
          break; // tags, synchronizations, notes and the like do not concern the RTI
      }
    }
  }

  private void readSection(Node section) throws FomException {
    switch (section.name) {
      case "modelIdentification":
        modelName = section.childText("name");
        break;
      case "objects":
        objectRoot = readObjectRoot(section);
        break;
      case "interactions":
        interactionRoot = readInteractionRoot(section);
        break;
      case "dimensions":
        readDimensions(section);
        break;
      case "time":
        timeStampType = typeOf(section.child("timeStamp"));
        lookaheadType = typeOf(section.child("lookahead"));
        break;
      case "transportations":
        readTransportations(section);
        break;
      case "switches":
        readSwitches(section);
        break;
      case "updateRates":
        readUpdateRates(section);
        break;
      default:
        readDataTypes(section);
        break;
    }
  }

  private static String typeOf(Node timeEntry) {
    return timeEntry == null ? "" : timeEntry.childText("dataType");
  }

  // ---- object classes

  private ObjectClassDef readObjectRoot(Node objects) throws FomException {
    List<Node> tops = objects.children("objectClass");
    if (tops.isEmpty()) {
      return null;
    }
    if (tops.size() > 1) {
      throw fault(tops.get(1), "more than one top object class");
    }
    Node top = tops.get(0);
    String name = name(top, "object class");
    if (!name.equals(OBJECT_ROOT)) {
      throw fault(top, "the top object class is '" + name + "', not " + OBJECT_ROOT);
    }
    return readObjectClass(top, "", new HashMap<>());
  }

  private ObjectClassDef readObjectClass(Node node, String parentName, Map<String, String> inherited)
      throws FomException {
    String name = name(node, "object class");
    String qualified = parentName.isEmpty() ? name : parentName + "." + name;
    String sharing = checked(node, "sharing", SHARING);
    Map<String, String> available = new HashMap<>(inherited);
    List<AttributeDef> attributes = new ArrayList<>();
    for (Node a : node.children("attribute")) {
      AttributeDef def = readAttribute(a);
      String previous = available.putIfAbsent(def.name(), qualified);
      if (previous != null) {
        throw fault(a, "attribute " + def.name() + " is already "
            + (previous.equals(qualified) ? "declared in " : "inherited from ") + previous);
      }
      attributes.add(def);
    }
    Set<String> siblings = new HashSet<>();
    List<ObjectClassDef> subclasses = new ArrayList<>();
    for (Node c : node.children("objectClass")) {
      ObjectClassDef sub = readObjectClass(c, qualified, available);
      if (!siblings.add(sub.name())) {
        throw fault(c, "object class " + sub.qualifiedName() + " is declared twice");
      }
      subclasses.add(sub);
    }
    return new ObjectClassDef(name, qualified, sharing, attributes, subclasses);
  }

  private AttributeDef readAttribute(Node a) throws FomException {
    return new AttributeDef(
        name(a, "attribute"),
        a.childText("dataType"),
        a.childText("updateType"),
        a.childText("updateCondition"),
        a.childText("ownership"),
        checked(a, "sharing", SHARING),
        dimensionList(a),
        a.childText("transportation"),
        checked(a, "order", ORDER));
  }

  // ---- interaction classes

  private InteractionClassDef readInteractionRoot(Node interactions) throws FomException {
    List<Node> tops = interactions.children("interactionClass");
    if (tops.isEmpty()) {
      return null;
    }
    if (tops.size() > 1) {
      throw fault(tops.get(1), "more than one top interaction class");
    }
    Node top = tops.get(0);
    String name = name(top, "interaction class");
    if (!name.equals(INTERACTION_ROOT)) {
      throw fault(top, "the top interaction class is '" + name + "', not " + INTERACTION_ROOT);
    }
    return readInteractionClass(top, "", new HashMap<>());
  }

  private InteractionClassDef readInteractionClass(
      Node node, String parentName, Map<String, String> inherited) throws FomException {
    String name = name(node, "interaction class");
    String qualified = parentName.isEmpty() ? name : parentName + "." + name;
    String sharing = checked(node, "sharing", SHARING);
    List<String> dimensions = dimensionList(node);
    String transportation = node.childText("transportation");
    String order = checked(node, "order", ORDER);
    Map<String, String> available = new HashMap<>(inherited);
    List<ParameterDef> parameters = new ArrayList<>();
    for (Node p : node.children("parameter")) {
      ParameterDef def = new ParameterDef(name(p, "parameter"), p.childText("dataType"));
      String previous = available.putIfAbsent(def.name(), qualified);
      if (previous != null) {
        throw fault(p, "parameter " + def.name() + " is already "
            + (previous.equals(qualified) ? "declared in " : "inherited from ") + previous);
      }
      parameters.add(def);
    }
    Set<String> siblings = new HashSet<>();
    List<InteractionClassDef> subclasses = new ArrayList<>();
    for (Node c : node.children("interactionClass")) {
      InteractionClassDef sub = readInteractionClass(c, qualified, available);
      if (!siblings.add(sub.name())) {
        throw fault(c, "interaction class " + sub.qualifiedName() + " is declared twice");
      }
      subclasses.add(sub);
    }
    return new InteractionClassDef(
        name, qualified, sharing, dimensions, transportation, order, parameters, subclasses);
  }

  /** The names under a class's or attribute's dimensions element, without repeats. */
  private List<String> dimensionList(Node owner) throws FomException {
    Node dims = owner.child("dimensions");
    if (dims == null) {
      return List.of();
    }
    Set<String> names = new LinkedHashSet<>();
    for (Node d : dims.children("dimension")) {
      String n = d.text();
      if (n.isEmpty()) {
        throw fault(d, "dimension reference without a name");
      }
      names.add(n);
    }
    return new ArrayList<>(names);
  }

  // ---- the other tables

  private void readDimensions(Node section) throws FomException {
    Set<String> names = new HashSet<>();
    for (Node d : section.children("dimension")) {
      String name = name(d, "dimension");
      if (!names.add(name)) {
        throw fault(d, "dimension " + name + " is declared twice");
      }
      OptionalLong upper = OptionalLong.empty();
      Node bound = d.child("upperBound");
      if (bound != null && !bound.text().isEmpty()) {
        long value;
        try {
          value = Long.parseLong(bound.text());
        } catch (NumberFormatException e) {
          value = 0;
        }
        if (value < 1) {
          throw fault(bound, "upper bound '" + bound.text() + "' is not a whole number above zero");
        }
        upper = OptionalLong.of(value);
      }
      dimensions.add(new DimensionDef(
          name, d.childText("dataType"), upper, d.childText("normalization"), d.childText("value")));
    }
  }

  private void readTransportations(Node section) throws FomException {
    Set<String> names = new HashSet<>();
    for (Node t : section.children("transportation")) {
      String name = name(t, "transportation type");
      if (!names.add(name)) {
        throw fault(t, "transportation type " + name + " is declared twice");
      }
      String reliable = t.childText("reliable").toLowerCase(Locale.ROOT);
      if (!reliable.equals("yes") && !reliable.equals("no")) {
        throw fault(t, "transportation type " + name + " needs <reliable> Yes or No, not '"
            + t.childText("reliable") + "'");
      }
      transportations.add(new TransportationType(name, reliable.equals("yes")));
    }
  }

  private void readUpdateRates(Node section) throws FomException {
    Set<String> names = new HashSet<>();
    for (Node r : section.children("updateRate")) {
      String name = name(r, "update rate");
      if (!names.add(name)) {
        throw fault(r, "update rate " + name + " is declared twice");
      }
      double rate;
      try {
        rate = Double.parseDouble(r.childText("rate"));
      } catch (NumberFormatException e) {
        rate = Double.NaN;
      }
      if (!(rate > 0) || Double.isInfinite(rate)) {
        throw fault(r, "update rate " + name + " has rate '" + r.childText("rate")
            + "', not a number above zero");
      }
      updateRates.add(new UpdateRate(name, rate));
    }
  }

  private void readSwitches(Node section) throws FomException {
    for (Node s : section.children) {
      if (!FomModel.SWITCH_DEFAULTS.containsKey(s.name)) {
        continue;
      }
      if (switches.containsKey(s.name)) {
        throw fault(s, "switch " + s.name + " is given twice");
      }
      if (s.name.equals(FomModel.AUTOMATIC_RESIGN_ACTION)) {
        String action = XmlTree.collapse(s.attributes.getOrDefault("resignAction", ""));
        if (action.isEmpty()) {
          throw fault(s, "switch " + s.name + " without a resignAction");
        }
        switches.put(s.name, action);
      } else {
        String enabled = XmlTree.collapse(s.attributes.getOrDefault("isEnabled", ""));
        if (enabled.equals("true") || enabled.equals("1")) {
          switches.put(s.name, "true");
        } else if (enabled.equals("false") || enabled.equals("0")) {
          switches.put(s.name, "false");
        } else {
          throw fault(s, "switch " + s.name + " needs isEnabled true or false, not '" + enabled + "'");
        }
      }
    }
  }

  private void readDataTypes(Node section) throws FomException {
    Set<String> names = new HashSet<>();
    for (Node table : section.children) {
      switch (table.name) {
        case "basicDataRepresentations":
          readTypes(table, "basicData", DataType.Kind.BASIC, null, names);
          break;
        case "simpleDataTypes":
          readTypes(table, "simpleData", DataType.Kind.SIMPLE, null, names);
          break;
        case "enumeratedDataTypes":
          readTypes(table, "enumeratedData", DataType.Kind.ENUMERATED, "enumerator", names);
          break;
        case "arrayDataTypes":
          readTypes(table, "arrayData", DataType.Kind.ARRAY, null, names);
          break;
        case "fixedRecordDataTypes":
          readTypes(table, "fixedRecordData", DataType.Kind.FIXED_RECORD, "field", names);
          break;
        case "variantRecordDataTypes":
          readTypes(table, "variantRecordData", DataType.Kind.VARIANT_RECORD, "alternative", names);
          break;
        default:
          break;
      }
    }
  }

  private void readTypes(Node table, String entry, DataType.Kind kind, String itemName,
      Set<String> names) throws FomException {
    for (Node t : table.children(entry)) {
      String name = name(t, "data type");
      if (!names.add(name)) {
        throw fault(t, "data type " + name + " is declared twice");
      }
      Map<String, String> fields = new LinkedHashMap<>();
      List<Map<String, String>> items = new ArrayList<>();
      for (Node c : t.children) {
        if (c.name.equals(itemName)) {
          Map<String, String> item = leaves(c);
          if (!kind.equals(DataType.Kind.VARIANT_RECORD) && item.getOrDefault("name", "").isEmpty()) {
            throw fault(c, itemName + " of data type " + name + " without a name");
          }
          items.add(item);
        } else if (c.children.isEmpty() && !c.name.equals("name") && !c.name.equals("semantics")) {
          fields.merge(c.name, c.text(), (a, b) -> a + "," + b);
        }
      }
      dataTypes.add(new DataType(kind, name, fields, items));
    }
  }

  private static Map<String, String> leaves(Node item) {
    Map<String, String> values = new LinkedHashMap<>();
    for (Node c : item.children) {
      if (c.children.isEmpty() && !c.name.equals("semantics")) {
        values.merge(c.name, c.text(), (a, b) -> a + "," + b);
      }
    }
    return values;
  }

  // ---- names and checked values

  /** The text of the name child: present, not empty, and without a '.'. */
  private String name(Node owner, String what) throws FomException {
    String name = owner.childText("name");
    if (name.isEmpty()) {
      throw fault(owner, what + " without a name");
    }
    if (name.indexOf('.') >= 0) {
      throw fault(owner, what + " name '" + name + "' contains '.'");
    }
    return name;
  }

  private String checked(Node owner, String child, List<String> allowed) throws FomException {
    Node c = owner.child(child);
    if (c == null || c.text().isEmpty()) {
      return "";
    }
    if (!allowed.contains(c.text())) {
      throw fault(c, "'" + c.text() + "' is not one of " + String.join(", ", allowed));
    }
    return c.text();
  }
}
