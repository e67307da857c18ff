package org.vantor.ostra1516e.fom;

import java.io.IOException;
import java.io.InputStream;
import java.net.URI;
import java.net.URISyntaxException;
import java.nio.file.AccessDeniedException;
import java.nio.file.Files;
import java.nio.file.InvalidPathException;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;
import java.util.Arrays;
import java.util.Collections;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Optional;

/**
 * FomModule is one object model module as read from its XML (the 2010 object model template
 * format). Elements are matched by local name, whatever their namespace. The module keeps its raw
 * bytes so that it can travel to other processes and be parsed there again.
 *
 * <p>Reading checks what a module must keep by itself: the root element objectModel, the top
 * classes HLAobjectRoot and HLAinteractionRoot (either section may be left out), names that are
 * present and free of '.', no two sibling classes of one name, no attribute or parameter name
 * twice in one class including what it inherits within the module, no name twice in the
 * dimension, transportation, update rate and data type tables, and well-formed values for
 * sharing, order, reliable, upper bounds, rates and switches. Whether the names a module refers
 * to exist is decided when modules are merged ({@link FomModel}).
 *
 * <p>Instances are immutable.
 */
public final class FomModule {
  /** The designator of the built-in standard MIM. */
  public static final String STANDARD_MIM_DESIGNATOR = "HLAstandardMIM";

  static final long MAX_FILE_BYTES = 64L << 20;

  private static final Object MIM_LOCK = new Object();
  private static FomModule standardMim;

  private final String designator;
  private final byte[] content;
  private final String name;
  private final ObjectClassDef objectRoot;
  private final InteractionClassDef interactionRoot;
  private final List<DimensionDef> dimensions;
  private final List<TransportationType> transportationTypes;
  private final List<UpdateRate> updateRates;
  private final Map<String, String> switches;
  private final String timeStampDataType;
  private final String lookaheadDataType;
  private final List<DataType> dataTypes;

  private FomModule(String designator, byte[] content, ModuleReader r) {
    this.designator = designator;
    this.content = content;
    this.name = r.modelName;
    this.objectRoot = r.objectRoot;
    this.interactionRoot = r.interactionRoot;
    this.dimensions = List.copyOf(r.dimensions);
    this.transportationTypes = List.copyOf(r.transportations);
    this.updateRates = List.copyOf(r.updateRates);
    this.switches = Collections.unmodifiableMap(new LinkedHashMap<>(r.switches));
    this.timeStampDataType = r.timeStampType;
    this.lookaheadDataType = r.lookaheadType;
    this.dataTypes = List.copyOf(r.dataTypes);
  }

  /**
   * read opens and parses the module a designator names: a file path, absolute or relative to the
   * current directory, or a file: URL (file:///abs/path.xml, file:/abs/path.xml, file:rel.xml,
   * file://localhost/abs/path.xml). Other URL schemes are refused.
   *
   * @throws FomException COULD_NOT_OPEN when the file cannot be read, ERROR_READING when its
   *     content is not a valid module
   */
  public static FomModule read(String designator) throws FomException {
    if (designator == null) {
      throw new NullPointerException("designator");
    }
    if (designator.isBlank()) {
      throw cannotOpen(designator, "the designator is empty");
    }
    Path path = pathOf(designator);
    byte[] bytes;
    try {
      if (Files.isDirectory(path)) {
        throw cannotOpen(designator, "is a directory (" + path + ")");
      }
      if (Files.exists(path) && !Files.isRegularFile(path)) {
        throw cannotOpen(designator, "not a regular file (" + path + ")");
      }
      if (Files.size(path) > MAX_FILE_BYTES) {
        throw cannotOpen(designator, "larger than " + (MAX_FILE_BYTES >> 20) + " MiB (" + path + ")");
      }
      bytes = Files.readAllBytes(path);
    } catch (NoSuchFileException e) {
      throw cannotOpen(designator, "no such file (" + path + ")");
    } catch (AccessDeniedException e) {
      throw cannotOpen(designator, "permission denied (" + path + ")");
    } catch (IOException | SecurityException e) {
      String why = e.getMessage() == null ? e.getClass().getSimpleName() : e.getMessage();
      throw cannotOpen(designator, why + " (" + path + ")");
    }
    return parse(designator, bytes);
  }

  /**
   * parse reads a module from its bytes; designator only names it in messages and in the model.
   *
   * @throws FomException ERROR_READING when content is not a valid module
   */
  public static FomModule parse(String designator, byte[] content) throws FomException {
    if (designator == null) {
      throw new NullPointerException("designator");
    }
    byte[] copy = content.clone();
    return new FomModule(designator, copy, ModuleReader.read(designator, copy));
  }

  /**
   * standardMim is the built-in standard MIM, designator {@value #STANDARD_MIM_DESIGNATOR}, read
   * once from the library's own resources.
   *
   * @throws IllegalStateException when the resource is missing or broken, a fault of the build
   */
  public static FomModule standardMim() {
    synchronized (MIM_LOCK) {
      if (standardMim == null) {
        try (InputStream in = FomModule.class.getResourceAsStream("HLAstandardMIM.xml")) {
          if (in == null) {
            throw new IllegalStateException("the resource HLAstandardMIM.xml is missing");
          }
          standardMim = parse(STANDARD_MIM_DESIGNATOR, in.readAllBytes());
        } catch (IOException | FomException e) {
          throw new IllegalStateException("the built-in standard MIM cannot be read: "
              + e.getMessage(), e);
        }
      }
      return standardMim;
    }
  }

  private static FomException cannotOpen(String designator, String why) {
    return new FomException(FomException.Kind.COULD_NOT_OPEN,
        "cannot open FOM module '" + designator + "': " + why);
  }

  /** The local file a designator names. */
  private static Path pathOf(String designator) throws FomException {
    String scheme = scheme(designator);
    try {
      if (scheme == null) {
        return Path.of(designator).toAbsolutePath();
      }
      if (!scheme.equalsIgnoreCase("file")) {
        throw cannotOpen(designator, "only file paths and file: URLs are accepted, not "
            + scheme + ": URLs");
      }
      return Path.of(fileUrlPath(designator)).toAbsolutePath();
    } catch (InvalidPathException e) {
      throw cannotOpen(designator, "not a valid file path (" + e.getReason() + ")");
    }
  }

  /** The URL scheme of a designator, or null when it is a plain path. */
  private static String scheme(String designator) {
    int colon = designator.indexOf(':');
    if (colon < 2) { // no scheme, or a one-letter drive name
      return null;
    }
    for (int i = 0; i < colon; i++) {
      char c = designator.charAt(i);
      boolean ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
          || (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
      if (!ok) {
        return null;
      }
    }
    return designator.substring(0, colon);
  }

  private static String fileUrlPath(String designator) throws FomException {
    String rest = designator.substring(designator.indexOf(':') + 1);
    String authority;
    String path;
    try {
      URI uri = new URI(designator);
      if (uri.isOpaque()) { // file:relative/path.xml
        return uri.getSchemeSpecificPart();
      }
      authority = uri.getAuthority();
      path = uri.getPath();
    } catch (URISyntaxException e) {
      // Not strictly a URL (a blank in the path, say): take the rest as it stands.
      if (!rest.startsWith("//")) {
        return rest;
      }
      int slash = rest.indexOf('/', 2);
      authority = rest.substring(2, slash < 0 ? rest.length() : slash);
      path = slash < 0 ? "" : rest.substring(slash);
    }
    if (authority != null && !authority.isEmpty() && !authority.equalsIgnoreCase("localhost")) {
      throw cannotOpen(designator, "the file: URL names host '" + authority
          + "'; only local files can be opened");
    }
    return path;
  }

  public String designator() {
    return designator;
  }

  /** A copy of the module's raw bytes. */
  public byte[] content() {
    return content.clone();
  }

  /** Whether other holds exactly the same bytes. */
  public boolean sameContent(FomModule other) {
    return Arrays.equals(content, other.content);
  }

  /** The name in the module's identification, "" when it gives none. */
  public String name() {
    return name;
  }

  /** The object class tree from HLAobjectRoot, empty when the module has no objects section. */
  public Optional<ObjectClassDef> objectRoot() {
    return Optional.ofNullable(objectRoot);
  }

  /** The interaction class tree from HLAinteractionRoot, empty without an interactions section. */
  public Optional<InteractionClassDef> interactionRoot() {
    return Optional.ofNullable(interactionRoot);
  }

  public List<DimensionDef> dimensions() {
    return dimensions;
  }

  public List<TransportationType> transportationTypes() {
    return transportationTypes;
  }

  public List<UpdateRate> updateRates() {
    return updateRates;
  }

  /**
   * The switches the module gives, by their element name: "true" or "false" for the ten on/off
   * switches, the resignAction value for automaticResignAction. Switches it leaves out are absent.
   */
  public Map<String, String> switches() {
    return switches;
  }

  /** The data type of time stamps, empty when the module gives none. */
  public Optional<String> timeStampDataType() {
    return timeStampDataType.isEmpty() ? Optional.empty() : Optional.of(timeStampDataType);
  }

  /** The data type of lookahead, empty when the module gives none. */
  public Optional<String> lookaheadDataType() {
    return lookaheadDataType.isEmpty() ? Optional.empty() : Optional.of(lookaheadDataType);
  }

  /** Every data type of every table, in document order. */
  public List<DataType> dataTypes() {
    return dataTypes;
  }

  @Override
  public String toString() {
    return "FomModule[" + designator + "]";
  }
}
