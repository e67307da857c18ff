package org.vantor.ostra1516e.fom;

import java.nio.file.Files;
import java.nio.file.Path;

/** The test modules under tests/java/org/vantor/ostra1516e/fom/modules. */
final class Modules {
  private Modules() {}

  static Path dir() {
    String dir = System.getProperty("ostra.fomModules");
    if (dir == null) {
      throw new IllegalStateException(
          "set -Dostra.fomModules to tests/java/org/vantor/ostra1516e/fom/modules");
    }
    return Path.of(dir).toAbsolutePath();
  }

  static String path(String file) {
    return dir().resolve(file).toString();
  }

  static FomModule read(String file) throws FomException {
    return FomModule.read(path(file));
  }

  static byte[] bytes(String file) throws Exception {
    return Files.readAllBytes(dir().resolve(file));
  }
}
