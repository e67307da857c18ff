package org.vantor.ostra1516e.fom;

import java.util.ArrayList;
import java.util.Collections;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Objects;
import java.util.Optional;

/**
 * One data type of a module, kept generically for tools and the management object model.
 *
 * <p>fields holds the type's own child elements in document order, name and semantics left out
 * (for example size, interpretation, endian and encoding of a basic representation;
 * representation, units, resolution and accuracy of a simple type; dataType, cardinality and
 * encoding of an array; discriminant, dataType and encoding of a variant record). items holds the
 * repeated parts in document order: the enumerators of an enumerated type (keys name, value), the
 * fields of a fixed record (name, dataType) and the alternatives of a variant record (enumerator,
 * name, dataType). An element that occurs more than once (several enumerator values) is kept as
 * its texts joined by ",".
 *
 * <p>Two types define the same thing when {@link #sameDefinition} holds: it compares only what
 * decides the encoding, not descriptive text, so two modules may word the same type differently.
 */
public record DataType(
    Kind kind, String name, Map<String, String> fields, List<Map<String, String>> items) {

  /** The six tables of data types. */
  public enum Kind {
    BASIC,
    SIMPLE,
    ENUMERATED,
    ARRAY,
    FIXED_RECORD,
    VARIANT_RECORD
  }

  public DataType {
    Objects.requireNonNull(kind, "kind");
    Objects.requireNonNull(name, "name");
    fields = Collections.unmodifiableMap(new LinkedHashMap<>(fields));
    List<Map<String, String>> copies = new ArrayList<>(items.size());
    for (Map<String, String> item : items) {
      copies.add(Collections.unmodifiableMap(new LinkedHashMap<>(item)));
    }
    items = Collections.unmodifiableList(copies);
  }

  /** field is the value of one defining field, "" when the module leaves it out. */
  public String field(String key) {
    return fields.getOrDefault(key, "");
  }

  /** Whether other defines the same encoding as this type. */
  public boolean sameDefinition(DataType other) {
    return difference(other).isEmpty();
  }

  /** The first difference in encoding between this type and other, worded "X vs Y". */
  Optional<String> difference(DataType other) {
    if (kind != other.kind) {
      return Optional.of("kind " + kind + " vs " + other.kind);
    }
    for (String key : definingFields(kind)) {
      if (!field(key).equals(other.field(key))) {
        return Optional.of(key + " " + shown(field(key)) + " vs " + shown(other.field(key)));
      }
    }
    List<String> itemKeys = definingItemKeys(kind);
    if (itemKeys.isEmpty()) {
      return Optional.empty();
    }
    String mine = itemsText(itemKeys);
    String theirs = other.itemsText(itemKeys);
    if (!mine.equals(theirs)) {
      return Optional.of(itemName(kind) + " " + mine + " vs " + theirs);
    }
    return Optional.empty();
  }

  private String itemsText(List<String> keys) {
    List<String> parts = new ArrayList<>(items.size());
    for (Map<String, String> item : items) {
      List<String> values = new ArrayList<>(keys.size());
      for (String key : keys) {
        values.add(item.getOrDefault(key, ""));
      }
      parts.add(String.join(":", values));
    }
    return "[" + String.join(", ", parts) + "]";
  }

  private static List<String> definingFields(Kind kind) {
    switch (kind) {
      case BASIC:
        return List.of("size", "endian");
      case SIMPLE:
      case ENUMERATED:
        return List.of("representation");
      case ARRAY:
        return List.of("dataType", "cardinality", "encoding");
      case FIXED_RECORD:
        return List.of("encoding");
      case VARIANT_RECORD:
        return List.of("discriminant", "dataType", "encoding");
      default:
        throw new AssertionError(kind);
    }
  }

  private static List<String> definingItemKeys(Kind kind) {
    switch (kind) {
      case ENUMERATED:
        return List.of("name", "value");
      case FIXED_RECORD:
        return List.of("name", "dataType");
      case VARIANT_RECORD:
        return List.of("enumerator", "name", "dataType");
      default:
        return List.of();
    }
  }

  private static String itemName(Kind kind) {
    switch (kind) {
      case ENUMERATED:
        return "enumerators";
      case FIXED_RECORD:
        return "fields";
      default:
        return "alternatives";
    }
  }

  static String shown(String value) {
    return value.isEmpty() ? "(none)" : value;
  }
}
