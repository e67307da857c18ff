package org.vantor.ostra1516e.transport;

import java.util.concurrent.CompletableFuture;
import java.util.concurrent.ExecutionException;
import org.vantor.ostra1516e.message.Reply;

/** Replies waits for the reply to a request, the same way for every transport. */
final class Replies {
  private Replies() {}

  /**
   * await returns the reply once it comes. An interrupt does not end the wait (the reply, or
   * the loss of the connection, always comes); it is kept for the caller.
   *
   * @throws ConnectionLostException when the connection was lost before the reply came
   */
  static Reply await(CompletableFuture<Reply> reply) throws ConnectionLostException {
    boolean interrupted = false;
    try {
      while (true) {
        try {
          return reply.get();
        } catch (InterruptedException e) {
          interrupted = true;
        } catch (ExecutionException e) {
          throw new ConnectionLostException(e.getCause().getMessage());
        }
      }
    } finally {
      if (interrupted) {
        Thread.currentThread().interrupt();
      }
    }
  }
}
