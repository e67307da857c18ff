package hla.rti1516e.exceptions;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.IOException;
import java.net.URISyntaxException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Set;
import java.util.TreeSet;
import java.util.jar.JarFile;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;

/**
 * The Java exception classes against the C++ list in include/RTI/Exception.h: every row
 * marked as known to the core has a Java class of the same name, and no other exists.
 */
class ExceptionClassesTest {
  private static Set<String> headerNames(int inCore) throws IOException {
    String path = System.getProperty("ostra.exceptionHeader");
    String text = Files.readString(Path.of(path));
    Matcher row = Pattern.compile("X\\((\\w+),\\s*([01])\\)").matcher(text);
    Set<String> names = new TreeSet<>();
    while (row.find()) {
      if (Integer.parseInt(row.group(2)) == inCore) {
        names.add(row.group(1));
      }
    }
    return names;
  }

  /** javaNames lists the classes of this package where RTIexception was loaded from. */
  private static Set<String> javaNames() throws IOException, URISyntaxException {
    Path origin = Path.of(RTIexception.class.getProtectionDomain().getCodeSource().getLocation().toURI());
    String prefix = "hla/rti1516e/exceptions/";
    Set<String> files = new TreeSet<>();
    if (Files.isDirectory(origin)) {
      try (Stream<Path> listing = Files.list(origin.resolve(prefix))) {
        listing.forEach(f -> files.add(prefix + f.getFileName()));
      }
    } else {
      try (JarFile jar = new JarFile(origin.toFile())) {
        jar.stream().forEach(e -> files.add(e.getName()));
      }
    }
    Set<String> names = new TreeSet<>();
    for (String name : files) {
      if (name.startsWith(prefix) && name.endsWith(".class") && !name.contains("$")
          && name.indexOf('/', prefix.length()) < 0) {
        names.add(name.substring(prefix.length(), name.length() - ".class".length()));
      }
    }
    names.remove("RTIexception");
    return names;
  }

  @Test
  void javaClassesAreExactlyTheCoreRowsOfTheHeader() throws Exception {
    Set<String> core = headerNames(1);
    assertEquals(99, core.size());
    assertEquals(core, javaNames());
    Set<String> notInCore = headerNames(0);
    assertTrue(!notInCore.isEmpty() && notInCore.stream().noneMatch(core::contains));
  }

  @Test
  void everyClassCarriesMessageAndCause() throws Exception {
    Throwable cause = new IllegalStateException("inner");
    for (String name : javaNames()) {
      Class<? extends RTIexception> cls =
          Class.forName("hla.rti1516e.exceptions." + name).asSubclass(RTIexception.class);
      assertSame(RTIexception.class, cls.getSuperclass(), name);
      RTIexception plain = cls.getConstructor(String.class).newInstance("message of " + name);
      assertEquals("message of " + name, plain.getMessage());
      assertNull(cls.getConstructor(String.class).newInstance((Object) null).getMessage());
      RTIexception caused = cls.getConstructor(String.class, Throwable.class).newInstance("m", cause);
      assertSame(cause, caused.getCause());
      assertEquals("hla.rti1516e.exceptions." + name + ": m", caused.toString());
    }
  }
}
