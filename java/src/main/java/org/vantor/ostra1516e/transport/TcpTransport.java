package org.vantor.ostra1516e.transport;

import java.io.IOException;
import java.net.InetSocketAddress;
import java.net.Socket;
import java.net.SocketTimeoutException;
import java.util.Map;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.atomic.AtomicInteger;
import org.vantor.ostra1516e.message.Event;
import org.vantor.ostra1516e.message.Notice;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.message.Request;

/**
 * TcpTransport connects components to a federation server in another process: each
 * connection is its own socket, carrying the same messages as frames (see {@link
 * MessageCodec}). A request waits for the reply that carries its id; events go to the
 * component's sink on the connection's reader thread; a connection that breaks, or whose
 * server falls silent for longer than the server's heartbeat timeout, fails every waiting
 * request and tells the sink it is lost.
 */
public final class TcpTransport implements Transport {
  public static final int DEFAULT_PORT = 16516;
  static final int CONNECT_MILLIS = 3000;
  static final int HEARTBEAT_MILLIS = 1000;
  static final int TIMEOUT_MILLIS = 5000;
  private static final String SOFTWARE = "ostra1516e federate " + TcpTransport.class.getPackage().getName();

  private final String host;
  private final int port;

  public TcpTransport(String host, int port) {
    this.host = host;
    this.port = port;
  }

  /** The forms of designator that name a federation server, for messages. */
  public static final String FORMS = "rti://HOST or rti://HOST:PORT (HOST a name, an IPv4 address or an IPv6 "
      + "address in brackets; PORT 1 to 65535, by default " + DEFAULT_PORT + ")";

  /**
   * forDesignator is the transport to the server that designator names.
   *
   * @throws IllegalArgumentException when designator is not of a form in {@link #FORMS}
   */
  public static TcpTransport forDesignator(String designator) {
    String rest = designator.startsWith("rti://") ? designator.substring(6) : null;
    if (rest == null || rest.isEmpty()) {
      throw new IllegalArgumentException("not of the form " + FORMS);
    }
    String host;
    String port = null;
    if (rest.startsWith("[")) {
      int close = rest.indexOf(']');
      if (close < 0) {
        throw new IllegalArgumentException("the IPv6 address has no closing bracket");
      }
      host = rest.substring(1, close);
      String after = rest.substring(close + 1);
      if (!after.isEmpty()) {
        if (!after.startsWith(":")) {
          throw new IllegalArgumentException("'" + after + "' after the address; expected :PORT");
        }
        port = after.substring(1);
      }
    } else {
      int colon = rest.indexOf(':');
      host = colon < 0 ? rest : rest.substring(0, colon);
      port = colon < 0 ? null : rest.substring(colon + 1);
    }
    if (host.isEmpty() || !host.matches("[A-Za-z0-9.:%_-]+")) {
      throw new IllegalArgumentException("'" + host + "' is not a host name or address");
    }
    int number = DEFAULT_PORT;
    if (port != null) {
      try {
        number = Integer.parseInt(port);
      } catch (NumberFormatException e) {
        number = -1;
      }
      if (number < 1 || number > 65535) {
        throw new IllegalArgumentException("'" + port + "' is not a port number from 1 to 65535");
      }
    }
    return new TcpTransport(host, number);
  }

  @Override
  public Connection open(EventSink events) throws ConnectionLostException {
    Socket socket = new Socket();
    FrameLink link;
    try {
      socket.connect(new InetSocketAddress(host, port), CONNECT_MILLIS);
      link = new FrameLink(socket, new MessageCodec(), SOFTWARE, HEARTBEAT_MILLIS, TIMEOUT_MILLIS);
    } catch (SocketTimeoutException e) {
      close(socket);
      throw new ConnectionLostException("cannot reach the federation server at " + host + ":" + port
          + ": no answer within " + CONNECT_MILLIS / 1000 + " s");
    } catch (IOException e) {
      close(socket);
      throw new ConnectionLostException("cannot reach the federation server at " + host + ":" + port + ": "
          + e.getMessage());
    }
    link.setBundling(Boolean.getBoolean("enableBundling"));
    TcpConnection connection = new TcpConnection(link, events);
    link.start(connection, "ostra-link-" + host + ":" + port);
    return connection;
  }

  private static void close(Socket socket) {
    try {
      socket.close();
    } catch (IOException ignored) {
      // already failing
    }
  }

  private static final class TcpConnection implements Connection, FrameLink.Handler {
    private final FrameLink link;
    private final EventSink events;
    private final AtomicInteger ids = new AtomicInteger();
    private final Map<Integer, CompletableFuture<Reply>> waiting = new ConcurrentHashMap<>();
    private volatile String lost;

    TcpConnection(FrameLink link, EventSink events) {
      this.link = link;
      this.events = events;
    }

    @Override
    public Reply request(Request request) throws ConnectionLostException {
      int id;
      do {
        id = ids.incrementAndGet();
      } while (id == 0);
      CompletableFuture<Reply> reply = new CompletableFuture<>();
      waiting.put(id, reply);
      try {
        if (lost != null) {
          throw new ConnectionLostException(lost);
        }
        link.send(request, id);
        return Replies.await(reply);
      } catch (IOException e) {
        throw new ConnectionLostException(e.getMessage());
      } finally {
        waiting.remove(id);
      }
    }

    @Override
    public void send(Notice notice) throws ConnectionLostException {
      if (lost != null) {
        throw new ConnectionLostException(lost);
      }
      try {
        link.send(notice, 0);
      } catch (IOException e) {
        throw new ConnectionLostException(e.getMessage());
      }
    }

    @Override
    public void flush() {
      try {
        link.flushPending();
      } catch (IOException e) {
        // The link has closed itself; the reader reports the loss.
      }
    }

    @Override
    public void close() {
      link.close(null);
    }

    @Override
    public void frame(MessageCodec.Frame frame) {
      if (frame.message() instanceof Reply reply) {
        CompletableFuture<Reply> request = waiting.get(frame.correlation());
        if (request != null) {
          request.complete(reply);
        }
      } else if (frame.message() instanceof Event event) {
        events.receive(event);
      }
    }

    @Override
    public void closed(String reason) {
      String why = reason != null ? reason : "the connection was closed";
      lost = why;
      for (CompletableFuture<Reply> request : waiting.values()) {
        request.completeExceptionally(new IOException(why));
      }
      if (reason != null) {
        events.lost(reason);
      }
    }
  }
}
