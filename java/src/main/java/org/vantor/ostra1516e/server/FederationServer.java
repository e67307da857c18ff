package org.vantor.ostra1516e.server;

import java.io.IOException;
import java.io.PrintStream;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.net.ServerSocket;
import java.net.Socket;
import java.nio.file.Path;
import java.time.LocalTime;
import java.time.format.DateTimeFormatter;
import java.util.Set;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.CountDownLatch;
import org.vantor.ostra1516e.engine.FederationEngine;
import org.vantor.ostra1516e.engine.Session;
import org.vantor.ostra1516e.message.Event;
import org.vantor.ostra1516e.message.FederationMessages;
import org.vantor.ostra1516e.message.Message;
import org.vantor.ostra1516e.message.Notice;
import org.vantor.ostra1516e.message.ObjectMessages;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.message.Request;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.transport.FrameLink;
import org.vantor.ostra1516e.transport.MessageCodec;
import org.vantor.ostra1516e.transport.TcpTransport;
import org.vantor.ostra1516e.wire.RetractionHandle;

/**
 * FederationServer runs one federation engine for federates in other processes: each
 * federate's local RTI component connects over TCP and talks to the engine through a
 * session of its own, exactly as an embedded component does in process. A federate whose
 * connection breaks or falls silent is resigned by its federation's automatic resign
 * directive; stopping the server ends every connection.
 *
 * <pre>
 *   ostra-rti [--port N] [--bind ADDRESS] [--heartbeat-interval MS] [--heartbeat-timeout MS]
 *             [--max-frame BYTES] [--save-dir DIR] [--http PORT]
 * </pre>
 *
 * <p>Thread-safety: start and close from one thread; connections run on their own threads.
 */
public final class FederationServer implements AutoCloseable {
  static final String SOFTWARE = "ostra-rti federation server";

  /** Options are the server's settings, from its command line. */
  public record Options(String bind, int port, int heartbeatMillis, int timeoutMillis, int maxFrame,
      Path saveDirectory, int httpPort) {
    /** httpPort when the monitoring page is not served. */
    public static final int NO_HTTP = -1;

    /** Options with the default save directory. */
    public Options(String bind, int port, int heartbeatMillis, int timeoutMillis, int maxFrame) {
      this(bind, port, heartbeatMillis, timeoutMillis, maxFrame, FederationEngine.defaultSaveDirectory());
    }

    /** Options without the monitoring page. */
    public Options(String bind, int port, int heartbeatMillis, int timeoutMillis, int maxFrame, Path saveDirectory) {
      this(bind, port, heartbeatMillis, timeoutMillis, maxFrame, saveDirectory, NO_HTTP);
    }

    /** withHttp is these options with the monitoring page on port (0: a free one). */
    public Options withHttp(int port) {
      return new Options(bind, this.port, heartbeatMillis, timeoutMillis, maxFrame, saveDirectory, port);
    }

    static final String USAGE = String.join("\n",
        "usage: ostra-rti [options]",
        "Runs a federation server that federates reach with the local settings designator rti://HOST:PORT.",
        "",
        "  --port N                  the TCP port to listen on (default " + TcpTransport.DEFAULT_PORT
            + "; 0 picks a free one)",
        "  --bind ADDRESS            the address to listen on (default 127.0.0.1: this machine only;",
        "                            0.0.0.0 or :: to accept federates from other machines)",
        "  --heartbeat-interval MS   how often each side of a connection shows it lives (default 1000)",
        "  --heartbeat-timeout MS    the silence after which a federate is resigned as lost (default 5000)",
        "  --max-frame BYTES         the largest message a federate may send (default "
            + MessageCodec.DEFAULT_MAX_FRAME_LENGTH + ")",
        "  --save-dir DIR            where federation saves are kept, a directory per federation (default",
        "                            ~/.ostra1516e/saves)",
        "  --http PORT               serve a read-only monitoring page and its JSON API on this port, on",
        "                            the same address as federates (default: not served; 0 picks a free one)",
        "  --help                    this text");

    public static Options defaults() {
      return new Options("127.0.0.1", TcpTransport.DEFAULT_PORT, 1000, 5000, MessageCodec.DEFAULT_MAX_FRAME_LENGTH);
    }

    /**
     * parse reads a command line.
     *
     * @throws IllegalArgumentException naming the option that is wrong
     */
    public static Options parse(String... args) {
      Options o = defaults();
      for (int i = 0; i < args.length; i++) {
        String option = args[i];
        if (i + 1 >= args.length) {
          throw new IllegalArgumentException(option.equals("--help") ? USAGE : "unknown option or missing value: "
              + option);
        }
        String value = args[++i];
        switch (option) {
          case "--port" -> o = new Options(o.bind, number(option, value, 0, 65535), o.heartbeatMillis,
              o.timeoutMillis, o.maxFrame, o.saveDirectory, o.httpPort);
          case "--bind" -> o = new Options(value, o.port, o.heartbeatMillis, o.timeoutMillis, o.maxFrame,
              o.saveDirectory, o.httpPort);
          case "--heartbeat-interval" -> o = new Options(o.bind, o.port, number(option, value, 10, 3_600_000),
              o.timeoutMillis, o.maxFrame, o.saveDirectory, o.httpPort);
          case "--heartbeat-timeout" -> o = new Options(o.bind, o.port, o.heartbeatMillis,
              number(option, value, 20, 86_400_000), o.maxFrame, o.saveDirectory, o.httpPort);
          case "--max-frame" -> o = new Options(o.bind, o.port, o.heartbeatMillis, o.timeoutMillis,
              number(option, value, 1 << 16, Integer.MAX_VALUE - 8), o.saveDirectory, o.httpPort);
          case "--save-dir" -> o = new Options(o.bind, o.port, o.heartbeatMillis, o.timeoutMillis, o.maxFrame,
              Path.of(value), o.httpPort);
          case "--http" -> o = o.withHttp(number(option, value, 0, 65535));
          default -> throw new IllegalArgumentException("unknown option: " + option);
        }
      }
      if (o.timeoutMillis <= o.heartbeatMillis) {
        throw new IllegalArgumentException("--heartbeat-timeout (" + o.timeoutMillis
            + " ms) must be longer than --heartbeat-interval (" + o.heartbeatMillis + " ms)");
      }
      return o;
    }

    private static int number(String option, String value, int least, int most) {
      try {
        int n = Integer.parseInt(value);
        if (n >= least && n <= most) {
          return n;
        }
      } catch (NumberFormatException e) {
        // below
      }
      throw new IllegalArgumentException(option + " takes a number from " + least + " to " + most + ", not '"
          + value + "'");
    }
  }

  private final Options options;
  private final PrintStream log;
  /** Messages a federation may hold before the connections that send to it are read no further. */
  static final int MAILBOX_LIMIT = 4096;
  private final FederationEngine engine;
  private final Set<Client> clients = ConcurrentHashMap.newKeySet();
  private final CountDownLatch stopped = new CountDownLatch(1);
  private ServerSocket listener;
  private Monitor monitor;
  private volatile boolean closing;

  public FederationServer(Options options, PrintStream log) {
    this.options = options;
    this.log = log;
    this.engine = new FederationEngine(MAILBOX_LIMIT, options.saveDirectory());
  }

  public static void main(String[] args) {
    if (args.length == 1 && args[0].equals("--help")) {
      System.out.println(Options.USAGE);
      return;
    }
    Options options;
    try {
      options = Options.parse(args);
    } catch (IllegalArgumentException e) {
      System.err.println("ostra-rti: " + e.getMessage() + "\n" + Options.USAGE);
      System.exit(2);
      return;
    }
    FederationServer server = new FederationServer(options, System.out);
    try {
      server.start();
    } catch (IOException e) {
      System.err.println("ostra-rti: cannot listen on " + options.bind() + ":" + options.port() + ": "
          + e.getMessage());
      System.exit(1);
      return;
    }
    Runtime.getRuntime().addShutdownHook(new Thread(server::close, "ostra-rti-shutdown"));
    server.awaitStop();
  }

  /** start listens and accepts federates on a thread of its own; it prints where it listens. */
  public void start() throws IOException {
    listener = new ServerSocket();
    listener.setReuseAddress(true);
    listener.bind(new InetSocketAddress(InetAddress.getByName(options.bind()), options.port()));
    log("ostra-rti listening on " + address());
    if (options.httpPort() != Options.NO_HTTP) {
      try {
        monitor = new Monitor(engine, options.bind(), options.httpPort());
      } catch (IOException e) {
        listener.close();
        throw new IOException("cannot serve the monitoring page on port " + options.httpPort() + ": "
            + e.getMessage(), e);
      }
      monitor.start();
      String host = listener.getInetAddress().getHostAddress();
      log("monitoring page on http://" + (host.contains(":") ? "[" + host + "]" : host) + ":" + monitor.port() + "/");
    }
    Thread accepting = new Thread(this::accept, "ostra-rti-accept");
    accepting.setDaemon(true);
    accepting.start();
  }

  /** address is where the server listens, host:port. */
  public String address() {
    String host = listener.getInetAddress().getHostAddress();
    return (host.contains(":") ? "[" + host + "]" : host) + ":" + listener.getLocalPort();
  }

  public int port() {
    return listener.getLocalPort();
  }

  /** httpPort is the port of the monitoring page, or {@link Options#NO_HTTP}. */
  public int httpPort() {
    return monitor != null ? monitor.port() : Options.NO_HTTP;
  }

  public void awaitStop() {
    try {
      stopped.await();
    } catch (InterruptedException e) {
      Thread.currentThread().interrupt();
    }
  }

  private void accept() {
    while (!closing) {
      Socket socket;
      try {
        socket = listener.accept();
      } catch (IOException e) {
        if (!closing) {
          log("stopped accepting: " + e.getMessage());
        }
        return;
      }
      Thread greeting = new Thread(() -> greet(socket), "ostra-rti-hello");
      greeting.setDaemon(true);
      greeting.start();
    }
  }

  private void greet(Socket socket) {
    String from = socket.getInetAddress().getHostAddress() + ":" + socket.getPort();
    FrameLink link;
    try {
      link = new FrameLink(socket, new MessageCodec(options.maxFrame()), SOFTWARE, options.heartbeatMillis(),
          options.timeoutMillis());
    } catch (IOException e) {
      log("refused " + from + ": " + e.getMessage());
      try {
        socket.close();
      } catch (IOException ignored) {
        // refused anyway
      }
      return;
    }
    Client client = new Client(link);
    clients.add(client);
    if (closing) {
      link.close(null);
      return;
    }
    log("connected " + from + " (" + link.peerSoftware() + ")");
    link.setPace();
    link.start(client, "ostra-rti-" + from);
  }

  /** close stops accepting and ends every connection: each federate learns its connection is lost. */
  @Override
  public void close() {
    if (closing) {
      return;
    }
    closing = true;
    try {
      if (listener != null) {
        listener.close();
      }
    } catch (IOException ignored) {
      // stopping anyway
    }
    if (monitor != null) {
      monitor.stop();
    }
    for (Client client : clients) {
      client.link.close(null);
    }
    log("stopped");
    stopped.countDown();
  }

  private synchronized void log(String line) {
    log.println(LocalTime.now().format(DateTimeFormatter.ofPattern("HH:mm:ss.SSS")) + " " + line);
    log.flush();
  }

  /** Client is one federate's connection: its link and its session with the engine. */
  private final class Client implements FrameLink.Handler {
    final FrameLink link;
    final Session session;
    volatile String federate;
    volatile int federateHandle;

    Client(FrameLink link) {
      this.link = link;
      this.session = engine.openSession(this::event, link.peer());
    }

    private String who() {
      String name = federate;
      return (name != null ? name + " at " : "") + link.peer();
    }

    private void event(Event event) {
      try {
        link.send(event, 0);
      } catch (IOException e) {
        // The link is closing; its reader ends the session.
      }
    }

    @Override
    public void frame(MessageCodec.Frame frame) {
      Message message = frame.message();
      String forged = forged(message);
      if (forged != null) {
        log("closing " + who() + ": " + forged);
        link.close("the server refused a message: " + forged);
        return;
      }
      if (message instanceof Request request) {
        int correlation = frame.correlation();
        session.handle(request, reply -> answer(request, reply, correlation));
      } else if (message instanceof Notice) {
        session.handle(message, null);
      } else {
        log("closing " + who() + ": it sent " + message.getClass().getSimpleName() + ", which only the server sends");
        link.close("the server refused a message: only the server sends "
            + message.getClass().getSimpleName());
      }
    }

    private void answer(Request request, Reply reply, int correlation) {
      if (reply instanceof Reply.Joined joined && request instanceof FederationMessages.Join join) {
        federate = joined.federateName();
        federateHandle = joined.federate();
        log("joined " + join.federation() + ": " + who() + " (federate " + joined.federate() + ")");
      } else if (request instanceof FederationMessages.Resign && reply instanceof Reply.Done) {
        log("resigned: " + who());
        federate = null;
        federateHandle = 0;
      }
      try {
        link.send(reply, correlation);
      } catch (IOException e) {
        // The link is closing; its reader ends the session.
      }
    }

    /** forged says what is wrong with a message that claims to come from another federate. */
    private String forged(Message message) {
      RetractionHandle handle = null;
      if (message instanceof ObjectMessages.Update m) {
        handle = m.retraction();
      } else if (message instanceof ObjectMessages.SendInteraction m) {
        handle = m.retraction();
      } else if (message instanceof ObjectMessages.Delete m) {
        handle = m.retraction();
      } else if (message instanceof TimeMessages.Retract m) {
        handle = m.handle();
      }
      if (handle == null) {
        return null;
      }
      byte[] payload = handle.payload();
      int claimed = payload.length == 4
          ? (payload[0] & 0xFF) << 24 | (payload[1] & 0xFF) << 16 | (payload[2] & 0xFF) << 8 | (payload[3] & 0xFF)
          : -1;
      return claimed == federateHandle ? null : "its message retraction handle names federate " + claimed
          + ", not the federate it is (" + federateHandle + ")";
    }

    @Override
    public void closed(String reason) {
      clients.remove(this);
      String name = federate;
      session.close();
      if (name == null || reason == null) {
        log((closing ? "closed " : "disconnected ") + who());
      } else {
        log("lost " + who() + ", resigned by the automatic resign directive: " + reason);
      }
    }
  }
}
