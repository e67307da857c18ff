package org.vantor.ostra1516e.wire;

import java.io.IOException;
import java.io.UncheckedIOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

/** GoldenVectors reads tests/golden/wire.golden, whose path the test run passes in. */
final class GoldenVectors {
  record Row(String kind, String name, byte[] bytes) {}

  private static List<Row> rows;

  private GoldenVectors() {}

  static synchronized List<Row> rows() {
    if (rows == null) {
      String path = System.getProperty("ostra.golden");
      if (path == null) {
        throw new IllegalStateException("set -Dostra.golden to tests/golden/wire.golden");
      }
      List<Row> read = new ArrayList<>();
      try {
        for (String line : Files.readAllLines(Path.of(path), StandardCharsets.UTF_8)) {
          if (line.isBlank() || line.startsWith("#")) {
            continue;
          }
          String[] fields = line.trim().split("\\s+");
          if (fields.length != 3) {
            throw new IllegalStateException("malformed golden row: " + line);
          }
          read.add(new Row(fields[0], fields[1], Hex.parse(fields[2])));
        }
      } catch (IOException e) {
        throw new UncheckedIOException(e);
      }
      rows = List.copyOf(read);
    }
    return rows;
  }

  /** byName maps the names of the rows of one kind to their bytes, in file order. */
  static Map<String, byte[]> byName(String kind) {
    Map<String, byte[]> out = new LinkedHashMap<>();
    for (Row row : rows()) {
      if (row.kind().equals(kind) && out.put(row.name(), row.bytes()) != null) {
        throw new IllegalStateException("duplicate golden row " + kind + " " + row.name());
      }
    }
    return out;
  }
}
