package org.vantor.ostra1516e.transport;

import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.OutputStream;
import java.net.InetAddress;
import java.net.ServerSocket;
import java.net.Socket;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.Test;
import org.vantor.ostra1516e.message.FederationMessages;

/** A link's own timeouts, against a peer that is a bare socket doing exactly what a test says. */
class FrameLinkTest {
  /**
   * A peer that sends one request and then freezes: it neither reads nor sends again. The
   * server's end answers with more than the socket can hold, held back while it handles the
   * request, so that its heartbeat thread is the one left waiting in the write. The link
   * must still close once the timeout has passed.
   */
  @Test
  void aFrozenPeerIsLetGoEvenWhenTheHeartbeatIsStuckWritingToIt() throws Exception {
    try (ServerSocket listening = new ServerSocket(0, 1, InetAddress.getLoopbackAddress());
        Socket peer = new Socket()) {
      peer.setReceiveBufferSize(1);  // as small as the system allows, so the answer cannot fit
      peer.connect(listening.getLocalSocketAddress());
      MessageCodec codec = new MessageCodec();
      FrameBuffer greeting = new FrameBuffer();
      MessageCodec.writeHello(greeting, "frozen peer");
      codec.encode(new FederationMessages.ListExecutions(), 1, greeting);
      OutputStream out = peer.getOutputStream();
      out.write(greeting.array(), 0, greeting.length());
      out.flush();

      Socket accepted = listening.accept();
      accepted.setSendBufferSize(1);
      FrameLink link = new FrameLink(accepted, codec, "test server", 50, 500);
      link.setPace();
      FederationMessages.Heartbeat answer = new FederationMessages.Heartbeat(50, 500);
      FrameBuffer one = new FrameBuffer();
      codec.encode(answer, 0, one);
      int frames = (FrameLink.BUNDLE_BYTES - 1024) / one.length();  // any more would be written at once
      CompletableFuture<String> closed = new CompletableFuture<>();
      link.start(new FrameLink.Handler() {
        @Override
        public void frame(MessageCodec.Frame frame) {
          try {
            for (int i = 0; i < frames; i++) {
              link.send(answer, 0);  // held back until this handler returns
            }
            Thread.sleep(300);  // past a heartbeat, which takes the whole answer along
          } catch (Exception e) {
            closed.completeExceptionally(e);
          }
        }

        @Override
        public void closed(String reason) {
          closed.complete(reason);
        }
      }, "frozen-peer-test");

      String reason = closed.get(10, TimeUnit.SECONDS);
      assertTrue(reason.contains("for ") && reason.contains("heartbeat timeout 0.5 s"), reason);
      assertTrue(link.isClosed());
    }
  }
}
