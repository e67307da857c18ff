package org.vantor.ostra1516e.transport;

import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.net.Socket;
import java.net.SocketTimeoutException;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.concurrent.Executors;
import java.util.concurrent.ScheduledExecutorService;
import java.util.concurrent.ScheduledFuture;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.locks.Condition;
import java.util.concurrent.locks.LockSupport;
import java.util.concurrent.locks.ReentrantLock;
import org.vantor.ostra1516e.message.Bulk;
import org.vantor.ostra1516e.message.FederationMessages;
import org.vantor.ostra1516e.message.Message;

/**
 * FrameLink carries frames over one TCP socket, for either end: a federate's connection to
 * a federation server or the server's end of it. It says hello, reads frames on a thread of
 * its own and hands each to its {@link Handler}, writes frames, and watches the peer's
 * heartbeat.
 *
 * <p>Writing. A frame is encoded into the pending buffer by the thread that sends it. Without
 * bundling that thread then writes everything pending to the socket itself, unless another
 * thread is writing already, which then takes the new frame along: no writer thread, no
 * hand-over, one system call for whatever piled up meanwhile. With bundling the data
 * messages ({@link Bulk}) wait: a flusher thread writes what is pending at most {@link
 * #BUNDLE_NANOS} after the first frame of a batch, or at once when a batch grows past {@link
 * #BUNDLE_BYTES}, so a stream of small messages goes out in few large writes; any other
 * message, and {@link #flushPending}, writes the batch at once. A server's reader thread
 * holds its writes back while it handles a burst of frames ({@link Cork}). A write blocks
 * while the peer does not read: the sender is held back by the slowest reader instead of
 * the link buffering without bound.
 *
 * <p>Heartbeats. Each end sends a heartbeat every interval and closes the link when nothing
 * at all has arrived from its peer for the timeout. A server's end sets the pace ({@link
 * #setPace}): its heartbeats carry its interval and timeout, which a federate's end adopts,
 * and it also closes a link whose peer has taken nothing of a write for the timeout (a
 * frozen federate that stops reading, while the reader here waits in a handler and so
 * cannot tell its silence). The heartbeat thread may itself be the one stuck in a write to
 * a peer that reads nothing, so the timeouts are watched by a thread shared by all links
 * that never writes ({@link #WATCHDOG}).
 *
 * <p>Thread-safety: {@link #send} and {@link #close} may be called from any thread.
 */
public final class FrameLink {
  static final long BUNDLE_NANOS = TimeUnit.MICROSECONDS.toNanos(200);
  static final int BUNDLE_BYTES = 32 << 10;
  private static final int HANDSHAKE_MILLIS = 5000;
  private static final int WRITE_PIECE = 64 << 10;
  private static final long WATCH_MILLIS = 10;
  /** WATCHDOG checks every open link's timeouts; it only closes links, which never blocks. */
  private static final ScheduledExecutorService WATCHDOG = Executors.newSingleThreadScheduledExecutor(r -> {
    Thread t = new Thread(r, "ostra-link-watchdog");
    t.setDaemon(true);
    return t;
  });

  /** Handler takes what arrives on a link. Both methods run on the link's reader thread. */
  public interface Handler {
    void frame(MessageCodec.Frame frame);

    /** closed tells that the link ended; reason is null when this end closed it. */
    void closed(String reason);
  }

  private final Socket socket;
  private final MessageCodec codec;
  private final String peer;
  private final OutputStream out;
  private final InputStream in;
  private final ReentrantLock pendingLock = new ReentrantLock();
  private final Condition batchStarted = pendingLock.newCondition();
  private final ReentrantLock writeLock = new ReentrantLock();
  private FrameBuffer pending = new FrameBuffer(4096);
  private FrameBuffer writing = new FrameBuffer(4096);
  private volatile boolean bundling;
  private volatile boolean closed;
  private volatile String closeReason;
  private volatile long lastHeard = System.nanoTime();
  /** Set while the reader is inside its handler and so not reading: silence then is not the peer's. */
  private volatile boolean handling;
  /** When the write in progress last made progress (System.nanoTime), or 0 when none is. */
  private volatile long writeProgress;
  private volatile boolean setsPace;
  /** The cork that will flush this link, if a reader thread holds its writes back (a hint). */
  private volatile Cork corkedBy;
  private volatile int heartbeatMillis;
  private volatile int timeoutMillis;
  private String peerSoftware = "";
  private Handler handler;
  private volatile ScheduledFuture<?> watch;

  /**
   * FrameLink says hello on socket and reads the peer's; the link does nothing more until
   * {@link #start}.
   *
   * @throws IOException when the peer does not answer in time, speaks another protocol
   *     or version, or the socket fails
   */
  public FrameLink(Socket socket, MessageCodec codec, String software, int heartbeatMillis, int timeoutMillis)
      throws IOException {
    this.socket = socket;
    this.codec = codec;
    this.peer = socket.getInetAddress().getHostAddress() + ":" + socket.getPort();
    this.heartbeatMillis = heartbeatMillis;
    this.timeoutMillis = timeoutMillis;
    socket.setTcpNoDelay(true);
    out = socket.getOutputStream();
    in = socket.getInputStream();
    FrameBuffer hello = new FrameBuffer(64);
    MessageCodec.writeHello(hello, software);
    out.write(hello.array(), 0, hello.length());
    out.flush();
    int previous = socket.getSoTimeout();
    socket.setSoTimeout(HANDSHAKE_MILLIS);
    try {
      byte[] header = readFully(MessageCodec.HELLO_HEADER_LENGTH, null);
      int length = MessageCodec.helloLength(header, 0, header.length);
      byte[] whole = readFully(length, header);
      peerSoftware = MessageCodec.readHello(whole, 0, whole.length);
    } catch (SocketTimeoutException e) {
      throw new IOException("no answer from " + peer + " within " + HANDSHAKE_MILLIS / 1000 + " s: is it a "
          + "federation server?");
    } catch (MessageFormatException e) {
      throw new IOException(e.getMessage());
    } finally {
      socket.setSoTimeout(previous);
    }
  }

  /** peer is the other end's address, host:port. */
  public String peer() {
    return peer;
  }

  /** peerSoftware is what the other end called itself in its hello. */
  public String peerSoftware() {
    return peerSoftware;
  }

  /** setBundling turns bundling on or off; only before {@link #start}. */
  public void setBundling(boolean on) {
    bundling = on;
  }

  /**
   * setPace makes this end keep its own heartbeat interval and timeout, which the peer
   * adopts, and close the link when the peer takes nothing written to it for the timeout.
   */
  public void setPace() {
    setsPace = true;
  }

  /** start begins reading frames into handler and sending heartbeats. */
  public void start(Handler handler, String name) {
    this.handler = handler;
    lastHeard = System.nanoTime();
    Thread reader = new Thread(this::read, name + "-reader");
    reader.setDaemon(true);
    reader.start();
    Thread beat = new Thread(this::beat, name + "-heartbeat");
    beat.setDaemon(true);
    beat.start();
    watch = WATCHDOG.scheduleWithFixedDelay(this::watch, WATCH_MILLIS, WATCH_MILLIS, TimeUnit.MILLISECONDS);
    if (closed) {
      watch.cancel(false);  // closed before the watch was there to cancel
    }
    if (bundling) {
      Thread flusher = new Thread(this::flushBundles, name + "-flusher");
      flusher.setDaemon(true);
      flusher.start();
    }
  }

  /**
   * send writes message's frame (correlation: the request id of a request or reply, else
   * 0).
   *
   * @throws IOException when the link is closed or the socket fails
   */
  public void send(Message message, int correlation) throws IOException {
    boolean first;
    int size;
    pendingLock.lock();
    try {
      if (closed) {
        throw new IOException(closeReason != null ? closeReason : "the link to " + peer + " is closed");
      }
      first = pending.length() == 0;
      codec.encode(message, correlation, pending);
      size = pending.length();
      if (bundling && first) {
        batchStarted.signal();
      }
    } finally {
      pendingLock.unlock();
    }
    if (size >= BUNDLE_BYTES || (!bundling || !(message instanceof Bulk)) && !Cork.defer(this)) {
      flush();
    }
  }

  /**
   * Cork gathers the writes of a server's reader thread while it handles a burst of frames
   * that arrived together: each link it wrote to is flushed once, when the burst is handled
   * and the thread is about to read again. Nothing waits longer than the burst takes, and a
   * federation's events go out in as few writes as the frames that caused them came in.
   */
  private static final class Cork {
    private static final ThreadLocal<Cork> CURRENT = new ThreadLocal<>();
    private final ArrayList<FrameLink> links = new ArrayList<>();

    /** defer tells whether the calling thread is corked; if so, link is flushed at its release. */
    static boolean defer(FrameLink link) {
      Cork cork = CURRENT.get();
      if (cork == null) {
        return false;
      }
      if (link.corkedBy != cork) {
        link.corkedBy = cork;
        cork.links.add(link);
      }
      return true;
    }

    void release() {
      for (int i = 0; i < links.size(); i++) {
        FrameLink link = links.get(i);
        if (link.corkedBy == this) {
          link.corkedBy = null;
        }
        try {
          link.flush();
        } catch (IOException e) {
          // That link has closed itself; its reader reports it.
        }
      }
      links.clear();
    }
  }

  /** flushPending writes at once what bundling holds back: its sender is about to wait. */
  public void flushPending() throws IOException {
    if (bundling && hasPending()) {
      flush();
    }
  }

  /** flush writes what is pending, unless another thread is writing and will take it along. */
  private void flush() throws IOException {
    while (writeLock.tryLock()) {
      try {
        FrameBuffer batch;
        pendingLock.lock();
        try {
          batch = pending;
          pending = writing;
          writing = batch;
        } finally {
          pendingLock.unlock();
        }
        if (batch.length() > 0) {
          try {
            write(batch.array(), batch.length());
          } catch (IOException e) {
            close("cannot write to " + peer + ": " + e.getMessage());
            throw new IOException(closeReason, e);
          } finally {
            batch.clear();
          }
        }
      } finally {
        writeLock.unlock();
      }
      // A frame added while this thread held the write lock found it taken and was left
      // here; one added after this look finds the lock free and writes itself.
      if (!hasPending()) {
        return;
      }
    }
  }

  /** write writes in pieces, so that the heartbeat can tell a slow peer from one that takes nothing. */
  private void write(byte[] bytes, int length) throws IOException {
    try {
      for (int done = 0; done < length; done += WRITE_PIECE) {
        writeProgress = System.nanoTime();
        out.write(bytes, done, Math.min(WRITE_PIECE, length - done));
      }
    } finally {
      writeProgress = 0;
    }
  }

  private boolean hasPending() {
    pendingLock.lock();
    try {
      return pending.length() > 0;
    } finally {
      pendingLock.unlock();
    }
  }

  private void flushBundles() {
    while (!closed) {
      pendingLock.lock();
      try {
        while (!closed && pending.length() == 0) {
          batchStarted.await(100, TimeUnit.MILLISECONDS);
        }
      } catch (InterruptedException e) {
        return;
      } finally {
        pendingLock.unlock();
      }
      LockSupport.parkNanos(BUNDLE_NANOS);
      try {
        flush();
      } catch (IOException e) {
        return;  // closed
      }
    }
  }

  /** beat sends the heartbeats; it may wait in a write for as long as the peer reads nothing. */
  private void beat() {
    FederationMessages.Heartbeat beat = null;
    long lastBeat = System.nanoTime() - TimeUnit.MILLISECONDS.toNanos(heartbeatMillis);  // the first at once
    while (!closed) {
      try {
        // Short naps, so that a pace adopted from the peer takes effect at once.
        Thread.sleep(Math.min(heartbeatMillis, 50));
      } catch (InterruptedException e) {
        return;
      }
      long now = System.nanoTime();
      if (TimeUnit.NANOSECONDS.toMillis(now - lastBeat) < heartbeatMillis) {
        continue;
      }
      lastBeat = now;
      if (beat == null || beat.intervalMillis() != heartbeatMillis) {
        beat = new FederationMessages.Heartbeat(heartbeatMillis, timeoutMillis);
      }
      try {
        send(beat, 0);
      } catch (IOException e) {
        return;
      }
    }
  }

  /** watch closes the link when the peer has been silent, or has taken nothing written, for the timeout. */
  private void watch() {
    if (closed) {
      return;
    }
    long now = System.nanoTime();
    long silent = TimeUnit.NANOSECONDS.toMillis(now - lastHeard);
    if (silent > timeoutMillis && !handling) {
      close("no sign of life from " + peer + " for " + silent / 1000.0 + " s (heartbeat timeout "
          + timeoutMillis / 1000.0 + " s)");
      return;
    }
    long writing = writeProgress;
    long stalled = writing == 0 ? 0 : TimeUnit.NANOSECONDS.toMillis(now - writing);
    if (setsPace && stalled > timeoutMillis) {
      close(peer + " took nothing of what was sent to it for " + stalled / 1000.0 + " s (heartbeat timeout "
          + timeoutMillis / 1000.0 + " s)");
    }
  }

  private void read() {
    String reason = null;
    Cork cork = null;
    try {
      // Whatever the socket has is read at once, and every whole frame in it is handled
      // before the next read: one system call for a burst of frames.
      byte[] buffer = new byte[64 << 10];
      int start = 0;
      int end = 0;
      if (setsPace) {
        cork = new Cork();
        Cork.CURRENT.set(cork);
      }
      while (!closed) {
        int length = codec.frameLength(buffer, start, end - start);
        if (length < 0 || end - start < length) {
          if (cork != null) {
            cork.release();
          }
          int needed = Math.max(length, 4);
          if (needed > buffer.length) {
            buffer = Arrays.copyOf(Arrays.copyOfRange(buffer, start, end), Math.max(needed, buffer.length * 2));
            end -= start;
            start = 0;
          } else if (start + needed > buffer.length) {
            System.arraycopy(buffer, start, buffer, 0, end - start);
            end -= start;
            start = 0;
          }
          int n = in.read(buffer, end, buffer.length - end);
          if (n < 0) {
            throw new IOException(end == start ? "closed by the peer" : "closed by the peer mid-frame");
          }
          end += n;
          lastHeard = System.nanoTime();
          continue;
        }
        MessageCodec.Frame frame = codec.decode(buffer, start, length);
        start += length;
        if (start == end) {
          start = 0;
          end = 0;
        }
        if (frame.message() instanceof FederationMessages.Heartbeat beat) {
          if (!setsPace) {
            heartbeatMillis = Math.max(10, beat.intervalMillis());
            timeoutMillis = Math.max(heartbeatMillis, beat.timeoutMillis());
          }
          continue;
        }
        handling = true;
        try {
          handler.frame(frame);
        } finally {
          handling = false;
          lastHeard = System.nanoTime();
        }
      }
    } catch (MessageFormatException e) {
      reason = "unreadable frame from " + peer + ": " + e.getMessage();
    } catch (IOException e) {
      reason = closed ? closeReason : "the connection to " + peer + " ended: " + e.getMessage();
    } catch (RuntimeException e) {
      reason = "internal error reading from " + peer + ": " + e;
    }
    if (cork != null) {
      cork.release();
      Cork.CURRENT.remove();
    }
    boolean byUs = closed && closeReason == null;
    close(reason);
    handler.closed(byUs ? null : closeReason);
  }

  private void readInto(byte[] buffer, int offset, int length) throws IOException {
    int done = 0;
    while (done < length) {
      int n = in.read(buffer, offset + done, length - done);
      if (n < 0) {
        throw new IOException("closed by the peer");
      }
      done += n;
    }
  }

  private byte[] readFully(int length, byte[] prefix) throws IOException {
    byte[] bytes = new byte[length];
    int start = 0;
    if (prefix != null) {
      System.arraycopy(prefix, 0, bytes, 0, prefix.length);
      start = prefix.length;
    }
    readInto(bytes, start, length - start);
    return bytes;
  }

  /** close ends the link; reason says why (null: this end simply closed it). The first reason stays. */
  public void close(String reason) {
    pendingLock.lock();
    try {
      if (closed) {
        return;
      }
      closeReason = reason;
      closed = true;
      batchStarted.signalAll();
    } finally {
      pendingLock.unlock();
    }
    ScheduledFuture<?> watching = watch;
    if (watching != null) {
      watching.cancel(false);
    }
    try {
      socket.close();
    } catch (IOException ignored) {
      // closing anyway
    }
  }

  public boolean isClosed() {
    return closed;
  }
}
