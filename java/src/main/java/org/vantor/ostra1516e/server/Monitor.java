package org.vantor.ostra1516e.server;

import com.sun.net.httpserver.HttpExchange;
import com.sun.net.httpserver.HttpServer;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.nio.charset.StandardCharsets;
import java.time.Duration;
import java.util.List;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import org.vantor.ostra1516e.engine.FederationEngine;
import org.vantor.ostra1516e.engine.Snapshots;

/**
 * Monitor serves the server's read-only monitoring page and the JSON it reads:
 *
 * <pre>
 *   GET /                          the page (from the jar; it loads nothing from elsewhere)
 *   GET /api/federations           every federation execution, without its federates
 *   GET /api/federations/{name}    one federation execution with its federates (name percent-encoded)
 * </pre>
 *
 * Every answer comes from a snapshot that the federation's own task takes, waited for
 * {@link #WAIT} at most, so a slow or stuck federation shows as busy and never holds up a
 * request, and a request never holds up a federation.
 *
 * <p>Thread-safety: start and stop from one thread; requests run on the monitor's threads.
 */
final class Monitor {
  /** How long a request waits for the federations' snapshots. */
  static final Duration WAIT = Duration.ofMillis(250);
  private static final String PAGE = "monitor.html";
  private static final String API = "/api/federations";

  private final FederationEngine engine;
  private final HttpServer http;
  private final ExecutorService threads;
  private final byte[] page;

  Monitor(FederationEngine engine, String bind, int port) throws IOException {
    this.engine = engine;
    this.page = readPage();
    this.http = HttpServer.create(new InetSocketAddress(InetAddress.getByName(bind), port), 16);
    this.threads = Executors.newFixedThreadPool(2, task -> {
      Thread thread = new Thread(task, "ostra-rti-http");
      thread.setDaemon(true);
      return thread;
    });
    http.setExecutor(threads);
    http.createContext("/", this::serve);
  }

  void start() {
    http.start();
  }

  void stop() {
    http.stop(0);
    threads.shutdownNow();
  }

  int port() {
    return http.getAddress().getPort();
  }

  private static byte[] readPage() throws IOException {
    try (InputStream in = Monitor.class.getResourceAsStream(PAGE)) {
      if (in == null) {
        throw new IOException("the monitoring page " + PAGE + " is missing from the jar");
      }
      return in.readAllBytes();
    }
  }

  private void serve(HttpExchange exchange) throws IOException {
    try (exchange) {
      String method = exchange.getRequestMethod();
      if (!method.equals("GET") && !method.equals("HEAD")) {
        exchange.getResponseHeaders().set("Allow", "GET, HEAD");
        json(exchange, 405, error("the monitor is read-only: only GET and HEAD"));
        return;
      }
      String path = exchange.getRequestURI().getRawPath();
      if (path.equals("/") || path.equals("/index.html")) {
        exchange.getResponseHeaders().set("Content-Security-Policy", "default-src 'none'; script-src 'unsafe-inline'; "
            + "style-src 'unsafe-inline'; connect-src 'self'; img-src data:");
        send(exchange, 200, "text/html; charset=utf-8", page);
      } else if (path.equals(API) || path.equals(API + "/")) {
        json(exchange, 200, overview(engine.snapshots(WAIT)));
      } else if (path.startsWith(API + "/")) {
        String name = percentDecoded(path.substring(API.length() + 1));
        Snapshots.FederationView view = name == null ? null : engine.snapshot(name, WAIT);
        if (name == null) {
          json(exchange, 400, error("the federation name in the path is not valid percent-encoded UTF-8"));
        } else if (view == null) {
          json(exchange, 404, error("no federation execution named " + name));
        } else {
          json(exchange, 200, detail(view));
        }
      } else {
        json(exchange, 404, error("nothing at " + path + "; the API is under " + API));
      }
    }
  }

  private static void json(HttpExchange exchange, int status, String body) throws IOException {
    exchange.getResponseHeaders().set("Cache-Control", "no-store");
    send(exchange, status, "application/json; charset=utf-8", body.getBytes(StandardCharsets.UTF_8));
  }

  private static void send(HttpExchange exchange, int status, String type, byte[] body) throws IOException {
    exchange.getResponseHeaders().set("Content-Type", type);
    exchange.getResponseHeaders().set("X-Content-Type-Options", "nosniff");
    boolean head = exchange.getRequestMethod().equals("HEAD");
    exchange.sendResponseHeaders(status, head ? -1 : body.length);
    if (!head) {
      try (OutputStream out = exchange.getResponseBody()) {
        out.write(body);
      }
    }
  }

  /**
   * percentDecoded reads a path segment: %XX escapes of UTF-8 bytes, every other character
   * as it is ('+' included); null when an escape is cut short or the bytes are not UTF-8.
   */
  static String percentDecoded(String raw) {
    ByteArrayOutputStream bytes = new ByteArrayOutputStream();
    for (int i = 0; i < raw.length(); i++) {
      char c = raw.charAt(i);
      if (c != '%') {
        bytes.writeBytes(String.valueOf(c).getBytes(StandardCharsets.UTF_8));
        continue;
      }
      int high = i + 2 < raw.length() ? Character.digit(raw.charAt(i + 1), 16) : -1;
      int low = high >= 0 ? Character.digit(raw.charAt(i + 2), 16) : -1;
      if (low < 0) {
        return null;
      }
      bytes.write(high << 4 | low);
      i += 2;
    }
    try {
      return StandardCharsets.UTF_8.newDecoder().decode(java.nio.ByteBuffer.wrap(bytes.toByteArray())).toString();
    } catch (java.nio.charset.CharacterCodingException e) {
      return null;
    }
  }

  // ---- JSON, written by hand: the field names below are the API ----

  static String overview(List<Snapshots.FederationView> views) {
    Json out = new Json().open('{').field("time").value(System.currentTimeMillis()).field("federations").open('[');
    for (Snapshots.FederationView view : views) {
      summary(out.open('{'), view).close('}');
    }
    return out.close(']').close('}').toString();
  }

  static String detail(Snapshots.FederationView view) {
    Json out = new Json().open('{').field("time").value(System.currentTimeMillis());
    summary(out, view).field("federates").open('[');
    for (Snapshots.FederateView f : view.federates()) {
      out.open('{')
          .field("handle").value(f.handle())
          .field("name").value(f.name())
          .field("type").value(f.type())
          .field("host").value(f.host())
          .field("since").value(f.since())
          .field("regulating").value(f.regulating())
          .field("constrained").value(f.constrained())
          .field("logicalTime").value(f.time())
          .field("lookahead").value(f.lookahead())
          .field("galt").value(f.galt())
          .field("lits").value(f.lits())
          .field("pendingRequest").value(f.request())
          .field("requestedTime").value(f.requestedTime())
          .field("holdsBackGalt").value(f.holdsBack())
          .field("updatesSent").value(f.updatesSent())
          .field("interactionsSent").value(f.interactionsSent())
          .field("reflectionsReceived").value(f.reflectionsReceived())
          .field("interactionsReceived").value(f.interactionsReceived())
          .field("heldTimeStampOrder").value(f.heldTimeStampOrder())
          .field("heldReceiveOrder").value(f.heldReceiveOrder())
          .close('}');
    }
    return out.close(']').close('}').toString();
  }

  private static Json summary(Json out, Snapshots.FederationView view) {
    out.field("name").value(view.name())
        .field("timeRepresentation").value(view.timeRepresentation())
        .field("busy").value(view.busy())
        .field("saving").value(view.saving())
        .field("queued").value(view.queued())
        .field("fomModules").open('[');
    for (String module : view.fomModules()) {
      out.value(module);
    }
    out.close(']')
        .field("federateCount").value(view.federates().size())
        .field("updatesSent").value(view.updatesSent())
        .field("interactionsSent").value(view.interactionsSent())
        .field("reflectionsReceived").value(view.reflectionsReceived())
        .field("interactionsReceived").value(view.interactionsReceived());
    return out;
  }

  private static String error(String message) {
    return new Json().open('{').field("error").value(message).close('}').toString();
  }

  /** Json writes JSON text, putting the commas between members and elements itself. */
  static final class Json {
    private final StringBuilder text = new StringBuilder();
    private boolean first = true;

    Json open(char bracket) {
      separate();
      text.append(bracket);
      first = true;
      return this;
    }

    Json close(char bracket) {
      text.append(bracket);
      first = false;
      return this;
    }

    Json field(String name) {
      value(name);
      text.append(':');
      first = true;
      return this;
    }

    Json value(String s) {
      separate();
      if (s == null) {
        text.append("null");
        return this;
      }
      text.append('"');
      for (int i = 0; i < s.length(); i++) {
        char c = s.charAt(i);
        switch (c) {
          case '"' -> text.append("\\\"");
          case '\\' -> text.append("\\\\");
          case '\n' -> text.append("\\n");
          case '\r' -> text.append("\\r");
          case '\t' -> text.append("\\t");
          default -> {
            // Control characters, the line separators JavaScript once rejected, and '<' so the
            // text can never close a script element it is pasted into.
            if (c < 0x20 || c == '\u2028' || c == '\u2029' || c == '<' || Character.isSurrogate(c)
                && !validSurrogate(s, i)) {
              text.append(String.format("\\u%04x", (int) c));
            } else {
              text.append(c);
            }
          }
        }
      }
      text.append('"');
      return this;
    }

    /** validSurrogate tells whether the surrogate at i is half of a pair; a lone one is escaped, not sent as bad UTF-8. */
    private static boolean validSurrogate(String s, int i) {
      char c = s.charAt(i);
      return Character.isHighSurrogate(c) ? i + 1 < s.length() && Character.isLowSurrogate(s.charAt(i + 1))
          : i > 0 && Character.isHighSurrogate(s.charAt(i - 1));
    }

    Json value(Number n) {
      separate();
      boolean finite = n != null && !(n instanceof Double d && (d.isNaN() || d.isInfinite()));
      text.append(finite ? n.toString() : "null");
      return this;
    }

    Json value(long n) {
      return value((Number) n);
    }

    Json value(boolean b) {
      separate();
      text.append(b);
      return this;
    }

    private void separate() {
      if (!first) {
        text.append(',');
      }
      first = false;
    }

    @Override
    public String toString() {
      return text.toString();
    }
  }
}
