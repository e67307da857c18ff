package org.vantor.ostra1516e.transport;

import java.util.concurrent.CompletableFuture;
import org.vantor.ostra1516e.engine.FederationEngine;
import org.vantor.ostra1516e.engine.Session;
import org.vantor.ostra1516e.message.Notice;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.message.Request;

/**
 * InProcessTransport connects components to an engine in the same process. Messages are
 * handed over by reference, never copied or serialized; events are passed straight to the
 * component's sink on the engine's thread.
 */
public final class InProcessTransport implements Transport {
  private final FederationEngine engine;

  public InProcessTransport(FederationEngine engine) {
    this.engine = engine;
  }

  @Override
  public Connection open(EventSink events) {
    return new InProcessConnection(engine.openSession(events::receive));
  }

  private static final class InProcessConnection implements Connection {
    private final Session session;
    private volatile boolean closed;

    InProcessConnection(Session session) {
      this.session = session;
    }

    @Override
    public Reply request(Request request) throws ConnectionLostException {
      checkOpen();
      CompletableFuture<Reply> reply = new CompletableFuture<>();
      session.handle(request, reply::complete);
      return Replies.await(reply);
    }

    @Override
    public void send(Notice notice) throws ConnectionLostException {
      checkOpen();
      session.handle(notice, null);
    }

    private void checkOpen() throws ConnectionLostException {
      if (closed) {
        throw new ConnectionLostException("the connection to the federation engine is closed");
      }
    }

    @Override
    public void close() {
      if (!closed) {
        closed = true;
        session.close();
      }
    }
  }
}
