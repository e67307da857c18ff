package org.vantor.ostra1516e.server;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import hla.rti1516e.exceptions.RTIexception;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.PrintStream;
import java.net.HttpURLConnection;
import java.net.URI;
import java.nio.ByteBuffer;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;
import java.util.concurrent.TimeUnit;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.vantor.ostra1516e.engine.FederationEngine;
import org.vantor.ostra1516e.lrc.LocalRtiComponent;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.transport.InProcessTransport;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * The monitoring API read back as a client reads it: a federation followed through joins,
 * messages, a time advance held back and let go, resignations and its end; the JSON it
 * writes parsed back; names in paths decoded.
 */
class MonitorTest {
  private static final int EVOKED = 1;  // the wire number of HLA_EVOKED
  private static final String VEHICLES =
      Path.of(System.getProperty("ostra.fomModules"), "Vehicles.xml").toString();
  private final ByteArrayOutputStream log = new ByteArrayOutputStream();
  private FederationServer server;

  @BeforeEach
  void start() throws Exception {
    server = new FederationServer(new FederationServer.Options("127.0.0.1", 0, 50, 400, 1 << 20).withHttp(0),
        new PrintStream(log, true));
    server.start();
  }

  @AfterEach
  void stop() {
    server.close();
  }

  private LocalRtiComponent federate(String name, String federation) throws RTIexception {
    LocalRtiComponent lrc = new LocalRtiComponent(new InProcessTransport(new FederationEngine()), (fa, c) -> { });
    lrc.connect(1, EVOKED, "rti://" + server.address());
    if (name != null) {
      lrc.joinFederationExecution(ServiceMethod.joinFederationExecution_S_S_S_URLX, name, "watcher-test",
          federation, List.of());
    }
    return lrc;
  }

  /** settle makes sure the federation has handled what each sent, and hands each its callbacks. */
  private static void settle(LocalRtiComponent... federates) throws RTIexception {
    for (LocalRtiComponent f : federates) {
      f.support().getFederateHandle("a");  // a round trip on its connection
      while (f.evokeMultipleCallbacks(0, 0.02)) {
        // drained
      }
    }
  }

  private static byte[] time(long t) {
    return ByteBuffer.allocate(8).putLong(t).array();
  }

  @Test
  void aFederationFollowedFromJoinsToItsEnd() throws Exception {
    LocalRtiComponent creator = federate(null, null);
    creator.createFederationExecution(ServiceMethod.createFederationExecution_S_URL_S, "watched",
        List.of(VEHICLES), null, "HLAinteger64Time");
    LocalRtiComponent a = federate("a", "watched");
    LocalRtiComponent b = federate("b", "watched");
    int collision = a.support().getInteractionClassHandle("Collision");
    a.objects().publishInteractionClass(collision);
    b.objects().subscribeInteractionClass(collision, true);
    a.time().enableTimeRegulation(time(1));
    b.time().enableTimeConstrained();
    settle(a, b);
    for (int i = 0; i < 3; i++) {
      a.objects().sendInteraction(ServiceMethod.sendInteraction_ICH_PHVM_BX, collision, HandleValues.of(),
          new byte[0], null);
    }
    b.time().timeAdvanceRequest(ServiceMethod.timeAdvanceRequest_LT, TimeMessages.TIME_ADVANCE, time(10));
    settle(a, b);

    Map<String, Object> overview = get("/api/federations", 200);
    Map<String, Object> watched = only(list(overview.get("federations")));
    assertEquals("watched", watched.get("name"));
    assertEquals("HLAinteger64Time", watched.get("timeRepresentation"));
    assertEquals(List.of(VEHICLES), watched.get("fomModules"));
    assertEquals(2L, watched.get("federateCount"));
    assertEquals(3L, watched.get("interactionsSent"));
    assertEquals(3L, watched.get("interactionsReceived"));
    assertEquals(false, watched.get("busy"));

    // b waits at 10 for a, whose bound (0 + lookahead 1) is b's GALT: a holds it back.
    Map<String, Map<String, Object>> federates = federates(get("/api/federations/watched", 200));
    assertEquals(List.of("a", "b"), new ArrayList<>(federates.keySet()));
    Map<String, Object> fa = federates.get("a");
    Map<String, Object> fb = federates.get("b");
    assertEquals(List.of(true, false, 0L, 1L, true, 3L, 0L), List.of(fa.get("regulating"), fa.get("constrained"),
        fa.get("logicalTime"), fa.get("lookahead"), fa.get("holdsBackGalt"), fa.get("interactionsSent"),
        fa.get("interactionsReceived")));
    assertEquals(List.of(false, true, 0L, "timeAdvance", 10L, 1L, 1L, false, 3L), List.of(fb.get("regulating"),
        fb.get("constrained"), fb.get("logicalTime"), fb.get("pendingRequest"), fb.get("requestedTime"),
        fb.get("galt"), fb.get("lits"), fb.get("holdsBackGalt"), fb.get("interactionsReceived")));
    assertNull(fb.get("lookahead"));
    assertNull(fa.get("galt"), "nobody else regulates");
    assertTrue(((String) fa.get("host")).startsWith("127.0.0.1:"), fa.toString());
    assertEquals("watcher-test", fa.get("type"));
    long since = (Long) fa.get("since");
    assertTrue(since > System.currentTimeMillis() - 60_000 && since <= System.currentTimeMillis(), fa.toString());

    a.time().timeAdvanceRequest(ServiceMethod.timeAdvanceRequest_LT, TimeMessages.TIME_ADVANCE, time(20));
    settle(a, b);
    federates = federates(get("/api/federations/watched", 200));
    assertEquals(List.of(20L, 10L), List.of(federates.get("a").get("logicalTime"),
        federates.get("b").get("logicalTime")));
    assertEquals(List.of(false, false), List.of(federates.get("a").get("holdsBackGalt"),
        federates.get("b").get("holdsBackGalt")));
    assertNull(federates.get("b").get("pendingRequest"));
    assertEquals(21L, federates.get("b").get("galt"));

    b.resignFederationExecution(5);
    settle(a);
    assertEquals(List.of("a"), new ArrayList<>(federates(get("/api/federations/watched", 200)).keySet()));
    a.resignFederationExecution(5);
    creator.destroyFederationExecution("watched");
    assertTrue(list(get("/api/federations", 200).get("federations")).isEmpty());
    assertTrue(((String) get("/api/federations/watched", 404).get("error")).contains("watched"));
    for (LocalRtiComponent f : List.of(a, b, creator)) {
      f.disconnect();
    }
  }

  @Test
  void namesInPathsAndAnswersToWhatIsNotThere() throws Exception {
    LocalRtiComponent creator = federate(null, null);
    String odd = "a/b \"c\" +\u00e9<";
    creator.createFederationExecution(ServiceMethod.createFederationExecution_S_URL_S, odd, List.of(VEHICLES),
        null, "HLAfloat64Time");
    String encoded = "a%2Fb%20%22c%22%20+%C3%A9%3C";
    assertEquals(odd, get("/api/federations/" + encoded, 200).get("name"));
    assertEquals(odd, only(list(get("/api/federations", 200).get("federations"))).get("name"));
    get("/api/federations/nobody", 404);
    get("/api/federations/%E2%82", 400);
    get("/elsewhere", 404);
    assertEquals(405, request("POST", "/api/federations").status);
    Response page = request("GET", "/");
    assertEquals(200, page.status);
    assertTrue(page.body.contains("/api/federations") && page.type.startsWith("text/html"), page.type);
    creator.destroyFederationExecution(odd);
    creator.disconnect();
  }

  @Test
  void theOptionAndPercentDecodingAndJsonStrings() {
    assertEquals(FederationServer.Options.NO_HTTP, FederationServer.Options.parse("--port", "0").httpPort());
    FederationServer.Options served = FederationServer.Options.parse("--http", "8080", "--port", "0", "--bind", "::1",
        "--save-dir", "/tmp/x", "--max-frame", "100000", "--heartbeat-interval", "100", "--heartbeat-timeout", "300");
    assertEquals(8080, served.httpPort(), "the options after --http keep it");
    assertThrows(IllegalArgumentException.class, () -> FederationServer.Options.parse("--http", "65536"));

    Map<String, String> decoded = new LinkedHashMap<>();
    decoded.put("plain", "plain");
    decoded.put("a%20b+c", "a b+c");
    decoded.put("%E2%82%ac", "\u20ac");
    decoded.put("%", null);
    decoded.put("%4", null);
    decoded.put("%zz", null);
    decoded.put("%FF", null);
    decoded.forEach((raw, expected) -> assertEquals(expected, Monitor.percentDecoded(raw), raw));

    for (String s : List.of("", "quote \" backslash \\ slash /", "line\nfeed\r\ttab\u0000\u001f\u007f",
        "</script>", "\u2028\u2029", "pair \ud83d\ude00", "lone \ud800 and \udc00")) {
      String json = new Monitor.Json().open('[').value(s).value(-1.5).value((Number) null).close(']').toString();
      assertEquals(List.of(s, -1.5, "null"), new Reader(json).value() instanceof List<?> l
          ? l.stream().map(v -> v == null ? "null" : v).toList() : null, json);
      assertTrue(!json.contains("<") && json.chars().noneMatch(c -> c < 0x20), json);
    }
  }

  /**
   * The page as a browser renders it: both federates with their logical times, times that
   * follow the federates' advances, and a federate that resigns gone from the table.
   */
  @Test
  void thePageInAHeadlessBrowserFollowsTheFederates() throws Exception {
    Path chromium = Path.of("/usr/bin/chromium");
    assumeTrue(Files.isExecutable(chromium), "Debian's chromium is not installed (scripts/setup.sh installs it)");
    LocalRtiComponent creator = federate(null, null);
    creator.createFederationExecution(ServiceMethod.createFederationExecution_S_URL_S, "shown", List.of(VEHICLES),
        null, "HLAinteger64Time");
    LocalRtiComponent a = federate("a", "shown");
    LocalRtiComponent b = federate("b", "shown");
    for (LocalRtiComponent f : List.of(a, b)) {
      f.time().enableTimeRegulation(time(1));
      f.time().enableTimeConstrained();
    }
    settle(a, b);
    advance(5, a, b);
    assertEquals(Map.of("a", "5", "b", "5"), renderedTimes(chromium, "shown"));
    advance(12, a, b);
    assertEquals(Map.of("a", "12", "b", "12"), renderedTimes(chromium, "shown"));
    b.resignFederationExecution(5);
    settle(a);
    assertEquals(Map.of("a", "12"), renderedTimes(chromium, "shown"));
    a.resignFederationExecution(5);
    for (LocalRtiComponent f : List.of(a, b, creator)) {
      f.disconnect();
    }
  }

  private static void advance(long t, LocalRtiComponent... federates) throws RTIexception {
    for (LocalRtiComponent f : federates) {
      f.time().timeAdvanceRequest(ServiceMethod.timeAdvanceRequest_LT, TimeMessages.TIME_ADVANCE, time(t));
    }
    settle(federates);
    settle(federates);  // the grants that the last request freed
  }

  /** renderedTimes loads the page of federation and reads the logical time in each federate's row. */
  private Map<String, String> renderedTimes(Path chromium, String federation) throws Exception {
    Path profile = Files.createTempDirectory("ostra-chromium");
    Process browser = new ProcessBuilder(chromium.toString(), "--headless", "--no-sandbox", "--disable-gpu",
        "--disable-quic", "--no-first-run", "--disable-background-networking", "--disable-component-update",
        "--disable-sync", "--user-data-dir=" + profile, "--virtual-time-budget=3000", "--dump-dom",
        "http://127.0.0.1:" + server.httpPort() + "/#" + federation)
        .redirectError(ProcessBuilder.Redirect.DISCARD).start();
    String dom = new String(browser.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
    assertTrue(browser.waitFor(60, TimeUnit.SECONDS), "chromium did not end");
    try (var files = Files.walk(profile)) {
      files.sorted(java.util.Comparator.reverseOrder()).forEach(f -> f.toFile().delete());
    }
    Map<String, String> times = new TreeMap<>();
    Matcher row = Pattern.compile("<tr data-federate=\"([^\"]*)\".*?data-field=\"logicalTime\">([^<]*)<")
        .matcher(dom);
    while (row.find()) {
      times.put(row.group(1), row.group(2));
    }
    assertTrue(dom.contains("id=\"detail-title\">" + federation), dom);
    return times;
  }

  // ---- A client's side ----

  private record Response(int status, String type, String body) {
  }

  private Response request(String method, String path) throws IOException {
    HttpURLConnection connection = (HttpURLConnection) URI.create("http://127.0.0.1:" + server.httpPort() + path)
        .toURL().openConnection();
    connection.setRequestMethod(method);
    int status = connection.getResponseCode();
    try (InputStream in = status < 400 ? connection.getInputStream() : connection.getErrorStream()) {
      return new Response(status, connection.getContentType(), new String(in.readAllBytes(), StandardCharsets.UTF_8));
    }
  }

  @SuppressWarnings("unchecked")
  private Map<String, Object> get(String path, int status) throws IOException {
    Response response = request("GET", path);
    assertEquals(status, response.status, response.body);
    assertTrue(response.type.startsWith("application/json"), response.type);
    return (Map<String, Object>) new Reader(response.body).value();
  }

  @SuppressWarnings("unchecked")
  private static List<Map<String, Object>> list(Object value) {
    return (List<Map<String, Object>>) value;
  }

  private static Map<String, Object> only(List<Map<String, Object>> list) {
    assertEquals(1, list.size(), list.toString());
    return list.get(0);
  }

  private static Map<String, Map<String, Object>> federates(Map<String, Object> federation) {
    Map<String, Map<String, Object>> byName = new LinkedHashMap<>();
    for (Map<String, Object> f : list(federation.get("federates"))) {
      byName.put((String) f.get("name"), f);
    }
    return byName;
  }

  /** Reader parses strict JSON: objects as maps, arrays as lists, whole numbers as Long, others as Double. */
  private static final class Reader {
    private final String text;
    private int at;

    Reader(String text) {
      this.text = text;
    }

    Object value() {
      Object value = next();
      skip();
      assertEquals(text.length(), at, "trailing text in " + text);
      return value;
    }

    private Object next() {
      skip();
      char c = text.charAt(at);
      if (c == '{') {
        Map<String, Object> object = new LinkedHashMap<>();
        at++;
        while (peek() != '}') {
          String name = (String) next();
          expect(':');
          object.put(name, next());
          if (peek() == ',') {
            at++;
          }
        }
        at++;
        return object;
      } else if (c == '[') {
        List<Object> array = new ArrayList<>();
        at++;
        while (peek() != ']') {
          array.add(next());
          if (peek() == ',') {
            at++;
          }
        }
        at++;
        return array;
      } else if (c == '"') {
        StringBuilder s = new StringBuilder();
        for (at++; text.charAt(at) != '"'; at++) {
          char d = text.charAt(at);
          assertTrue(d >= 0x20, "raw control character in a string");
          if (d == '\\') {
            char e = text.charAt(++at);
            if (e == 'u') {
              s.append((char) Integer.parseInt(text.substring(at + 1, at + 5), 16));
              at += 4;
            } else {
              s.append(switch (e) {
                case 'n' -> '\n';
                case 'r' -> '\r';
                case 't' -> '\t';
                case 'b' -> '\b';
                case 'f' -> '\f';
                default -> e;
              });
            }
          } else {
            s.append(d);
          }
        }
        at++;
        return s.toString();
      }
      int start = at;
      while (at < text.length() && "+-0123456789.eE".indexOf(text.charAt(at)) >= 0 || text.startsWith("true", at)
          || text.startsWith("false", at) || text.startsWith("null", at)) {
        if (Character.isLetter(text.charAt(at))) {
          String word = text.startsWith("true", at) ? "true" : text.startsWith("false", at) ? "false" : "null";
          at += word.length();
          return word.equals("null") ? null : Boolean.valueOf(word);
        }
        at++;
      }
      String number = text.substring(start, at);
      return number.matches("-?\\d+") ? (Object) Long.valueOf(number) : (Object) Double.valueOf(number);
    }

    private char peek() {
      skip();
      return text.charAt(at);
    }

    private void expect(char c) {
      assertEquals(c, peek(), "in " + text);
      at++;
    }

    private void skip() {
      while (at < text.length() && Character.isWhitespace(text.charAt(at))) {
        at++;
      }
    }
  }
}
