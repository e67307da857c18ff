package org.vantor.ostra1516e.transport;

import java.nio.ByteBuffer;
import java.nio.charset.CharacterCodingException;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.Objects;
import org.vantor.ostra1516e.fom.FomException;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.fom.FomModule;
import org.vantor.ostra1516e.message.DeclarationMessages;
import org.vantor.ostra1516e.message.FederationMessages;
import org.vantor.ostra1516e.message.Message;
import org.vantor.ostra1516e.message.MomMessages;
import org.vantor.ostra1516e.message.ObjectMessages;
import org.vantor.ostra1516e.message.OwnershipMessages;
import org.vantor.ostra1516e.message.RegionMessages;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.message.Request;
import org.vantor.ostra1516e.message.SaveMessages;
import org.vantor.ostra1516e.message.SyncMessages;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.wire.FederationExecution;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.RetractionHandle;

/**
 * MessageCodec writes messages as frames and reads frames back into messages, for a
 * transport that carries them as bytes between processes. It only translates: which
 * messages may travel in which direction, and which reply belongs to which request, is the
 * transport's business.
 *
 * <h2>Frames</h2>
 *
 * <pre>
 *   0          4        6               10
 *   | length   | type   | correlation   | payload ...           |
 *     u32        u16      u32             length - 6 bytes
 * </pre>
 *
 * Numbers are big-endian. length counts the bytes after itself, at least 6 and at most the
 * codec's maximum frame length. type is the number that the message class's row of the
 * table gives it.
 * correlation is the request id of a request and of the reply that answers it, never 0, and
 * 0 for notices and events. The payload is the record's components in declaration order:
 *
 * <pre>
 *   int                 i32
 *   boolean             u8: 0 or 1
 *   String              u32 n | n bytes of UTF-8
 *   byte[]              u32 n | n bytes
 *   int[]               u32 n | n i32
 *   List of T           u32 n | n T
 *   HandleValues        u32 n | n times: i32 handle, byte[] value
 *   RetractionHandle    i32 serial | byte[] payload
 *   FederationExecution String name | String time implementation
 *   FomModule           String designator | byte[] content (the module's XML)
 *   FomModel            FomModule MIM | List of FomModule modules: merged again when read
 * </pre>
 *
 * Components that may be null are written by the table's ...OrNull codings: a String,
 * byte[] or int[] with n = 0xFFFFFFFF for null, a RetractionHandle after a u8 that is 1 when
 * it is present and 0 for null. Elsewhere null is refused on both sides, and every coding has
 * exactly one form, so a message read back writes the same bytes.
 *
 * <h2>Hello</h2>
 *
 * Each side of a connection first writes its hello and reads the other's:
 *
 * <pre>
 *   0         4          6        8
 *   | MAGIC   | version  | n      | n bytes of UTF-8: the software that speaks |
 *     u32       u16        u16
 * </pre>
 *
 * <h2>Reading</h2>
 *
 * Reading checks every length and count against the bytes that remain before it allocates,
 * and refuses trailing bytes, unknown types, malformed UTF-8, flags other than 0 and 1, and
 * FOM modules that do not read or merge, each with one {@link MessageFormatException}.
 *
 * <p>Thread-safety: immutable; any number of threads may encode and decode at once, each
 * into its own {@link FrameBuffer}.
 */
public final class MessageCodec {
  /** The first word of every hello: "OSTR". */
  public static final int MAGIC = 0x4F535452;
  /** The frame format's version; a change that an older peer would misread raises it. */
  public static final int PROTOCOL_VERSION = 4;
  /**
   * The oldest version whose frames this one reads as they were meant (versions since only
   * added message types): save files written with it still restore.
   */
  public static final int OLDEST_READABLE_PROTOCOL = 3;
  public static final int DEFAULT_MAX_FRAME_LENGTH = 64 << 20;
  /** The bytes of a frame before its payload: length, type and correlation. */
  public static final int HEADER_LENGTH = 10;
  /** The bytes of a hello before its text. */
  public static final int HELLO_HEADER_LENGTH = 8;
  /** The longest software text of a hello, in UTF-8 bytes. */
  public static final int MAX_HELLO_TEXT = 1024;

  /** A decoded frame: the message and its correlation (0 for notices and events). */
  public record Frame(int correlation, Message message) {}

  @FunctionalInterface
  private interface Encoder<M> {
    void write(M message, FrameBuffer out);
  }

  @FunctionalInterface
  private interface Decoder<M> {
    M read(In in) throws MessageFormatException;
  }

  private record Row<M extends Message>(int type, Class<M> messageClass, String what, boolean correlated,
      Encoder<M> encoder, Decoder<M> decoder) {}

  private static <M extends Message> Row<M> row(int type, Class<M> c, Encoder<M> encoder, Decoder<M> decoder) {
    String name = c.getName().substring(c.getPackageName().length() + 1).replace('$', '.');
    boolean correlated = Request.class.isAssignableFrom(c) || Reply.class.isAssignableFrom(c);
    return new Row<>(type, c, String.format("frame type 0x%04X (%s)", type, name), correlated, encoder, decoder);
  }

  /**
   * TABLE is every message with its frame type, its writer and its reader; the two must
   * name the components in the same order. Type numbers are for ever: a message that is
   * dropped leaves its number unused. The high byte groups the messages as the message
   * package does.
   */
  private static final List<Row<?>> TABLE = List.of(
      // ---- replies
      row(0x0001, Reply.Done.class, (m, o) -> {}, i -> Reply.Done.INSTANCE),
      row(0x0002, Reply.Refused.class,
          (m, o) -> { o.string(m.exception()); o.stringOrNull(m.message()); },
          i -> new Reply.Refused(i.string(), i.stringOrNull())),
      row(0x0003, Reply.Joined.class,
          (m, o) -> { o.i32(m.federate()); o.string(m.federateName()); o.string(m.timeImplementation());
            o.model(m.model()); },
          i -> new Reply.Joined(i.i32(), i.string(), i.string(), i.model())),
      row(0x0004, Reply.Federations.class, (m, o) -> o.executions(m.executions()),
          i -> new Reply.Federations(i.executions())),
      row(0x0005, Reply.Number.class, (m, o) -> o.i32(m.value()), i -> new Reply.Number(i.i32())),
      row(0x0006, Reply.Text.class, (m, o) -> o.string(m.value()), i -> new Reply.Text(i.string())),

      // ---- federation management
      row(0x0101, FederationMessages.Create.class,
          (m, o) -> { o.string(m.federation()); o.modules(m.modules()); o.module(m.mim());
            o.string(m.timeImplementation()); },
          i -> new FederationMessages.Create(i.string(), i.modules(), i.module(), i.string())),
      row(0x0102, FederationMessages.Destroy.class, (m, o) -> o.string(m.federation()),
          i -> new FederationMessages.Destroy(i.string())),
      row(0x0103, FederationMessages.ListExecutions.class, (m, o) -> {},
          i -> new FederationMessages.ListExecutions()),
      row(0x0104, FederationMessages.Join.class,
          (m, o) -> { o.string(m.federation()); o.stringOrNull(m.federateName()); o.string(m.federateType());
            o.modules(m.modules()); },
          i -> new FederationMessages.Join(i.string(), i.stringOrNull(), i.string(), i.modules())),
      row(0x0105, FederationMessages.Resign.class, (m, o) -> o.i32(m.action()),
          i -> new FederationMessages.Resign(i.i32())),
      row(0x0106, FederationMessages.FederateHandle.class, (m, o) -> o.string(m.federateName()),
          i -> new FederationMessages.FederateHandle(i.string())),
      row(0x0107, FederationMessages.FederateName.class, (m, o) -> o.i32(m.federate()),
          i -> new FederationMessages.FederateName(i.i32())),
      row(0x0108, FederationMessages.GetAutomaticResign.class, (m, o) -> {},
          i -> new FederationMessages.GetAutomaticResign()),
      row(0x0109, FederationMessages.SetAutomaticResign.class, (m, o) -> o.i32(m.action()),
          i -> new FederationMessages.SetAutomaticResign(i.i32())),
      row(0x010A, FederationMessages.ModelExtended.class, (m, o) -> o.model(m.model()),
          i -> new FederationMessages.ModelExtended(i.model())),
      row(0x010B, FederationMessages.Heartbeat.class,
          (m, o) -> { o.i32(m.intervalMillis()); o.i32(m.timeoutMillis()); },
          i -> new FederationMessages.Heartbeat(i.i32(), i.i32())),

      // ---- synchronization points
      row(0x0201, SyncMessages.Register.class,
          (m, o) -> { o.string(m.label()); o.bytes(m.tag()); o.ints(m.federates()); },
          i -> new SyncMessages.Register(i.string(), i.bytes(), i.ints())),
      row(0x0202, SyncMessages.Achieved.class, (m, o) -> { o.string(m.label()); o.bool(m.successful()); },
          i -> new SyncMessages.Achieved(i.string(), i.bool())),
      row(0x0203, SyncMessages.RegistrationSucceeded.class, (m, o) -> o.string(m.label()),
          i -> new SyncMessages.RegistrationSucceeded(i.string())),
      row(0x0204, SyncMessages.RegistrationFailed.class, (m, o) -> { o.string(m.label()); o.i32(m.reason()); },
          i -> new SyncMessages.RegistrationFailed(i.string(), i.i32())),
      row(0x0205, SyncMessages.Announce.class, (m, o) -> { o.string(m.label()); o.bytes(m.tag()); },
          i -> new SyncMessages.Announce(i.string(), i.bytes())),
      row(0x0206, SyncMessages.Synchronized.class, (m, o) -> { o.string(m.label()); o.ints(m.failed()); },
          i -> new SyncMessages.Synchronized(i.string(), i.ints())),

      // ---- declaration management
      row(0x0301, DeclarationMessages.PublishObjectClass.class,
          (m, o) -> { o.i32(m.objectClass()); o.ints(m.attributes()); },
          i -> new DeclarationMessages.PublishObjectClass(i.i32(), i.ints())),
      row(0x0302, DeclarationMessages.UnpublishObjectClass.class,
          (m, o) -> { o.i32(m.objectClass()); o.intsOrNull(m.attributes()); },
          i -> new DeclarationMessages.UnpublishObjectClass(i.i32(), i.intsOrNull())),
      row(0x0303, DeclarationMessages.PublishInteractionClass.class, (m, o) -> o.i32(m.interactionClass()),
          i -> new DeclarationMessages.PublishInteractionClass(i.i32())),
      row(0x0304, DeclarationMessages.UnpublishInteractionClass.class, (m, o) -> o.i32(m.interactionClass()),
          i -> new DeclarationMessages.UnpublishInteractionClass(i.i32())),
      row(0x0305, DeclarationMessages.SubscribeObjectClass.class,
          (m, o) -> { o.i32(m.objectClass()); o.ints(m.attributes()); o.bool(m.active()); o.string(m.updateRate());
            o.intsOrNull(m.regions()); },
          i -> new DeclarationMessages.SubscribeObjectClass(i.i32(), i.ints(), i.bool(), i.string(), i.intsOrNull())),
      row(0x0306, DeclarationMessages.UnsubscribeObjectClass.class,
          (m, o) -> { o.i32(m.objectClass()); o.intsOrNull(m.attributes()); o.intsOrNull(m.regions()); },
          i -> new DeclarationMessages.UnsubscribeObjectClass(i.i32(), i.intsOrNull(), i.intsOrNull())),
      row(0x0307, DeclarationMessages.SubscribeInteractionClass.class,
          (m, o) -> { o.i32(m.interactionClass()); o.bool(m.active()); o.intsOrNull(m.regions()); },
          i -> new DeclarationMessages.SubscribeInteractionClass(i.i32(), i.bool(), i.intsOrNull())),
      row(0x0308, DeclarationMessages.UnsubscribeInteractionClass.class,
          (m, o) -> { o.i32(m.interactionClass()); o.intsOrNull(m.regions()); },
          i -> new DeclarationMessages.UnsubscribeInteractionClass(i.i32(), i.intsOrNull())),
      row(0x0309, DeclarationMessages.SetAdvisorySwitch.class, (m, o) -> { o.i32(m.advisory()); o.bool(m.on()); },
          i -> new DeclarationMessages.SetAdvisorySwitch(i.i32(), i.bool())),
      row(0x030A, DeclarationMessages.ObjectClassRelevance.class,
          (m, o) -> { o.i32(m.objectClass()); o.bool(m.on()); },
          i -> new DeclarationMessages.ObjectClassRelevance(i.i32(), i.bool())),
      row(0x030B, DeclarationMessages.InteractionRelevance.class,
          (m, o) -> { o.i32(m.interactionClass()); o.bool(m.on()); },
          i -> new DeclarationMessages.InteractionRelevance(i.i32(), i.bool())),
      row(0x030C, DeclarationMessages.AttributeRelevance.class,
          (m, o) -> { o.i32(m.object()); o.ints(m.attributes()); o.bool(m.on()); o.string(m.updateRate()); },
          i -> new DeclarationMessages.AttributeRelevance(i.i32(), i.ints(), i.bool(), i.string())),
      row(0x030D, DeclarationMessages.AttributeScope.class,
          (m, o) -> { o.i32(m.object()); o.ints(m.attributes()); o.bool(m.in()); },
          i -> new DeclarationMessages.AttributeScope(i.i32(), i.ints(), i.bool())),

      // ---- object management
      row(0x0401, ObjectMessages.ReserveName.class, (m, o) -> o.string(m.name()),
          i -> new ObjectMessages.ReserveName(i.string())),
      row(0x0402, ObjectMessages.ReserveNames.class, (m, o) -> o.strings(m.names()),
          i -> new ObjectMessages.ReserveNames(i.strings())),
      row(0x0403, ObjectMessages.ReleaseNames.class, (m, o) -> o.strings(m.names()),
          i -> new ObjectMessages.ReleaseNames(i.strings())),
      row(0x0404, ObjectMessages.NameReservation.class,
          (m, o) -> { o.strings(m.names()); o.bool(m.multiple()); o.bool(m.succeeded()); },
          i -> new ObjectMessages.NameReservation(i.strings(), i.bool(), i.bool())),
      row(0x0405, ObjectMessages.Register.class,
          (m, o) -> { o.i32(m.objectClass()); o.stringOrNull(m.name()); o.intsOrNull(m.regions()); },
          i -> new ObjectMessages.Register(i.i32(), i.stringOrNull(), i.intsOrNull())),
      row(0x0406, ObjectMessages.Registered.class, (m, o) -> { o.i32(m.object()); o.string(m.name()); },
          i -> new ObjectMessages.Registered(i.i32(), i.string())),
      row(0x0407, ObjectMessages.Discover.class,
          (m, o) -> { o.i32(m.object()); o.i32(m.knownClass()); o.string(m.name()); o.i32(m.producer()); },
          i -> new ObjectMessages.Discover(i.i32(), i.i32(), i.string(), i.i32())),
      row(0x0408, ObjectMessages.Update.class,
          (m, o) -> { o.i32(m.object()); o.values(m.values()); o.bytes(m.tag()); o.i32(m.sentOrder());
            o.bytesOrNull(m.time()); o.retractionOrNull(m.retraction()); },
          i -> new ObjectMessages.Update(i.i32(), i.values(), i.bytes(), i.i32(), i.bytesOrNull(),
              i.retractionOrNull())),
      row(0x0409, ObjectMessages.Reflect.class,
          (m, o) -> { o.i32(m.object()); o.values(m.values()); o.bytes(m.tag()); o.i32(m.sentOrder());
            o.i32(m.receivedOrder()); o.i32(m.transportation()); o.bytesOrNull(m.time()); o.i32(m.producer());
            o.retractionOrNull(m.retraction()); o.intsOrNull(m.regions()); },
          i -> new ObjectMessages.Reflect(i.i32(), i.values(), i.bytes(), i.i32(), i.i32(), i.i32(),
              i.bytesOrNull(), i.i32(), i.retractionOrNull(), i.intsOrNull())),
      row(0x040A, ObjectMessages.SendInteraction.class,
          (m, o) -> { o.i32(m.interactionClass()); o.values(m.parameters()); o.bytes(m.tag());
            o.i32(m.sentOrder()); o.bytesOrNull(m.time()); o.retractionOrNull(m.retraction());
            o.intsOrNull(m.regions()); },
          i -> new ObjectMessages.SendInteraction(i.i32(), i.values(), i.bytes(), i.i32(), i.bytesOrNull(),
              i.retractionOrNull(), i.intsOrNull())),
      row(0x040B, ObjectMessages.Receive.class,
          (m, o) -> { o.i32(m.receivedClass()); o.values(m.parameters()); o.bytes(m.tag()); o.i32(m.sentOrder());
            o.i32(m.receivedOrder()); o.i32(m.transportation()); o.bytesOrNull(m.time()); o.i32(m.producer());
            o.retractionOrNull(m.retraction()); o.intsOrNull(m.regions()); },
          i -> new ObjectMessages.Receive(i.i32(), i.values(), i.bytes(), i.i32(), i.i32(), i.i32(),
              i.bytesOrNull(), i.i32(), i.retractionOrNull(), i.intsOrNull())),
      row(0x040C, ObjectMessages.Delete.class,
          (m, o) -> { o.i32(m.object()); o.bytes(m.tag()); o.i32(m.sentOrder()); o.bytesOrNull(m.time());
            o.retractionOrNull(m.retraction()); },
          i -> new ObjectMessages.Delete(i.i32(), i.bytes(), i.i32(), i.bytesOrNull(), i.retractionOrNull())),
      row(0x040D, ObjectMessages.Remove.class,
          (m, o) -> { o.i32(m.object()); o.bytes(m.tag()); o.i32(m.sentOrder()); o.i32(m.receivedOrder());
            o.bytesOrNull(m.time()); o.i32(m.producer()); o.retractionOrNull(m.retraction()); },
          i -> new ObjectMessages.Remove(i.i32(), i.bytes(), i.i32(), i.i32(), i.bytesOrNull(), i.i32(),
              i.retractionOrNull())),
      row(0x040E, ObjectMessages.LocalDelete.class, (m, o) -> o.i32(m.object()),
          i -> new ObjectMessages.LocalDelete(i.i32())),
      row(0x040F, ObjectMessages.RequestObjectUpdate.class,
          (m, o) -> { o.i32(m.object()); o.ints(m.attributes()); o.bytes(m.tag()); },
          i -> new ObjectMessages.RequestObjectUpdate(i.i32(), i.ints(), i.bytes())),
      row(0x0410, ObjectMessages.RequestClassUpdate.class,
          (m, o) -> { o.i32(m.objectClass()); o.ints(m.attributes()); o.bytes(m.tag()); o.intsOrNull(m.regions()); },
          i -> new ObjectMessages.RequestClassUpdate(i.i32(), i.ints(), i.bytes(), i.intsOrNull())),
      row(0x0411, ObjectMessages.ProvideUpdate.class,
          (m, o) -> { o.i32(m.object()); o.ints(m.attributes()); o.bytes(m.tag()); },
          i -> new ObjectMessages.ProvideUpdate(i.i32(), i.ints(), i.bytes())),
      row(0x0412, ObjectMessages.ChangeAttributeTransportation.class,
          (m, o) -> { o.i32(m.object()); o.ints(m.attributes()); o.i32(m.transportation()); },
          i -> new ObjectMessages.ChangeAttributeTransportation(i.i32(), i.ints(), i.i32())),
      row(0x0413, ObjectMessages.AttributeTransportationChanged.class,
          (m, o) -> { o.i32(m.object()); o.ints(m.attributes()); o.i32(m.transportation()); },
          i -> new ObjectMessages.AttributeTransportationChanged(i.i32(), i.ints(), i.i32())),
      row(0x0414, ObjectMessages.QueryAttributeTransportation.class,
          (m, o) -> { o.i32(m.object()); o.i32(m.attribute()); },
          i -> new ObjectMessages.QueryAttributeTransportation(i.i32(), i.i32())),
      row(0x0415, ObjectMessages.AttributeTransportationReport.class,
          (m, o) -> { o.i32(m.object()); o.i32(m.attribute()); o.i32(m.transportation()); },
          i -> new ObjectMessages.AttributeTransportationReport(i.i32(), i.i32(), i.i32())),
      row(0x0416, ObjectMessages.ChangeInteractionTransportation.class,
          (m, o) -> { o.i32(m.interactionClass()); o.i32(m.transportation()); },
          i -> new ObjectMessages.ChangeInteractionTransportation(i.i32(), i.i32())),
      row(0x0417, ObjectMessages.InteractionTransportationChanged.class,
          (m, o) -> { o.i32(m.interactionClass()); o.i32(m.transportation()); },
          i -> new ObjectMessages.InteractionTransportationChanged(i.i32(), i.i32())),
      row(0x0418, ObjectMessages.QueryInteractionTransportation.class,
          (m, o) -> { o.i32(m.federate()); o.i32(m.interactionClass()); },
          i -> new ObjectMessages.QueryInteractionTransportation(i.i32(), i.i32())),
      row(0x0419, ObjectMessages.InteractionTransportationReport.class,
          (m, o) -> { o.i32(m.federate()); o.i32(m.interactionClass()); o.i32(m.transportation()); },
          i -> new ObjectMessages.InteractionTransportationReport(i.i32(), i.i32(), i.i32())),
      row(0x041A, ObjectMessages.AssociateRegions.class,
          (m, o) -> { o.i32(m.object()); o.ints(m.regions()); o.bool(m.associate()); },
          i -> new ObjectMessages.AssociateRegions(i.i32(), i.ints(), i.bool())),

      // ---- ownership management
      row(0x0601, OwnershipMessages.Divest.class,
          (m, o) -> { o.i32(m.object()); o.ints(m.attributes()); o.i32(m.kind()); o.bytes(m.tag()); },
          i -> new OwnershipMessages.Divest(i.i32(), i.ints(), i.i32(), i.bytes())),
      row(0x0602, OwnershipMessages.Divested.class, (m, o) -> o.ints(m.attributes()),
          i -> new OwnershipMessages.Divested(i.ints())),
      row(0x0603, OwnershipMessages.Acquire.class,
          (m, o) -> { o.i32(m.object()); o.ints(m.attributes()); o.i32(m.kind()); o.bytes(m.tag()); },
          i -> new OwnershipMessages.Acquire(i.i32(), i.ints(), i.i32(), i.bytes())),
      row(0x0604, OwnershipMessages.Ownership.class,
          (m, o) -> { o.i32(m.kind()); o.i32(m.object()); o.ints(m.attributes()); o.bytes(m.tag()); },
          i -> new OwnershipMessages.Ownership(i.i32(), i.i32(), i.ints(), i.bytes())),
      row(0x0605, OwnershipMessages.QueryOwnership.class, (m, o) -> { o.i32(m.object()); o.i32(m.attribute()); },
          i -> new OwnershipMessages.QueryOwnership(i.i32(), i.i32())),
      row(0x0606, OwnershipMessages.Owner.class,
          (m, o) -> { o.i32(m.object()); o.i32(m.attribute()); o.i32(m.owner()); },
          i -> new OwnershipMessages.Owner(i.i32(), i.i32(), i.i32())),

      // ---- data distribution management
      row(0x0701, RegionMessages.CreateRegion.class, (m, o) -> o.ints(m.dimensions()),
          i -> new RegionMessages.CreateRegion(i.ints())),
      row(0x0702, RegionMessages.CommitRegion.class,
          (m, o) -> { o.i32(m.region()); o.ints(m.dimensions()); o.ints(m.bounds()); },
          i -> new RegionMessages.CommitRegion(i.i32(), i.ints(), i.ints())),
      row(0x0703, RegionMessages.DeleteRegion.class, (m, o) -> o.i32(m.region()),
          i -> new RegionMessages.DeleteRegion(i.i32())),
      row(0x0704, RegionMessages.QueryRegion.class, (m, o) -> o.i32(m.region()),
          i -> new RegionMessages.QueryRegion(i.i32())),
      row(0x0705, RegionMessages.RegionInfo.class,
          (m, o) -> { o.i32(m.creator()); o.ints(m.dimensions()); o.ints(m.bounds()); },
          i -> new RegionMessages.RegionInfo(i.i32(), i.ints(), i.ints())),

      // ---- federation saves
      row(0x0801, SaveMessages.RequestSave.class, (m, o) -> { o.string(m.label()); o.bytesOrNull(m.time()); },
          i -> new SaveMessages.RequestSave(i.string(), i.bytesOrNull())),
      row(0x0802, SaveMessages.InitiateSave.class, (m, o) -> { o.string(m.label()); o.bytesOrNull(m.time()); },
          i -> new SaveMessages.InitiateSave(i.string(), i.bytesOrNull())),
      row(0x0803, SaveMessages.SaveBegun.class, (m, o) -> {}, i -> new SaveMessages.SaveBegun()),
      row(0x0804, SaveMessages.SaveComplete.class, (m, o) -> { o.bool(m.success()); o.bytesOrNull(m.state()); },
          i -> new SaveMessages.SaveComplete(i.bool(), i.bytesOrNull())),
      row(0x0805, SaveMessages.Saved.class, (m, o) -> { o.bool(m.success()); o.i32(m.reason()); },
          i -> new SaveMessages.Saved(i.bool(), i.i32())),
      row(0x0806, SaveMessages.AbortSave.class, (m, o) -> {}, i -> new SaveMessages.AbortSave()),
      row(0x0807, SaveMessages.QuerySaveStatus.class, (m, o) -> {}, i -> new SaveMessages.QuerySaveStatus()),
      row(0x0808, SaveMessages.SaveStatus.class, (m, o) -> o.ints(m.pairs()),
          i -> new SaveMessages.SaveStatus(i.ints())),
      row(0x0809, SaveMessages.RequestRestore.class, (m, o) -> o.string(m.label()),
          i -> new SaveMessages.RequestRestore(i.string())),
      row(0x080A, SaveMessages.RestoreRequested.class, (m, o) -> { o.string(m.label()); o.bool(m.success()); },
          i -> new SaveMessages.RestoreRequested(i.string(), i.bool())),
      row(0x080B, SaveMessages.RestoreBegun.class, (m, o) -> {}, i -> new SaveMessages.RestoreBegun()),
      row(0x080C, SaveMessages.InitiateRestore.class,
          (m, o) -> { o.string(m.label()); o.string(m.federateName()); o.i32(m.federate()); o.bytes(m.state()); },
          i -> new SaveMessages.InitiateRestore(i.string(), i.string(), i.i32(), i.bytes())),
      row(0x080D, SaveMessages.RestoreComplete.class, (m, o) -> o.bool(m.success()),
          i -> new SaveMessages.RestoreComplete(i.bool())),
      row(0x080E, SaveMessages.Restored.class, (m, o) -> { o.bool(m.success()); o.i32(m.reason()); },
          i -> new SaveMessages.Restored(i.bool(), i.i32())),
      row(0x080F, SaveMessages.AbortRestore.class, (m, o) -> {}, i -> new SaveMessages.AbortRestore()),
      row(0x0810, SaveMessages.QueryRestoreStatus.class, (m, o) -> {}, i -> new SaveMessages.QueryRestoreStatus()),
      row(0x0811, SaveMessages.RestoreStatus.class, (m, o) -> o.ints(m.triples()),
          i -> new SaveMessages.RestoreStatus(i.ints())),

      // ---- management object model
      row(0x0901, MomMessages.Act.class,
          (m, o) -> { o.i32(m.requester()); o.i32(m.interactionClass()); o.values(m.parameters()); },
          i -> new MomMessages.Act(i.i32(), i.i32(), i.values())),
      row(0x0902, MomMessages.ActFailed.class,
          (m, o) -> { o.i32(m.requester()); o.string(m.service()); o.string(m.exception()); o.bool(m.parameterError()); },
          i -> new MomMessages.ActFailed(i.i32(), i.string(), i.string(), i.bool())),
      row(0x0903, MomMessages.Reporting.class, (m, o) -> { o.bool(m.services()); o.bool(m.exceptions()); },
          i -> new MomMessages.Reporting(i.bool(), i.bool())),
      row(0x0904, MomMessages.ServiceInvoked.class,
          (m, o) -> { o.string(m.service()); o.bool(m.success()); o.strings(m.supplied()); o.strings(m.returned());
              o.string(m.exception()); o.i32(m.serial()); },
          i -> new MomMessages.ServiceInvoked(i.string(), i.bool(), i.strings(), i.strings(), i.string(), i.i32())),
      row(0x0905, MomMessages.ExceptionGiven.class, (m, o) -> { o.string(m.service()); o.string(m.exception()); },
          i -> new MomMessages.ExceptionGiven(i.string(), i.string())),

      // ---- time management
      row(0x0501, TimeMessages.EnableRegulation.class, (m, o) -> o.bytes(m.lookahead()),
          i -> new TimeMessages.EnableRegulation(i.bytes())),
      row(0x0502, TimeMessages.DisableRegulation.class, (m, o) -> {}, i -> new TimeMessages.DisableRegulation()),
      row(0x0503, TimeMessages.EnableConstrained.class, (m, o) -> {}, i -> new TimeMessages.EnableConstrained()),
      row(0x0504, TimeMessages.DisableConstrained.class, (m, o) -> {}, i -> new TimeMessages.DisableConstrained()),
      row(0x0505, TimeMessages.AdvanceRequest.class, (m, o) -> { o.i32(m.kind()); o.bytes(m.time()); },
          i -> new TimeMessages.AdvanceRequest(i.i32(), i.bytes())),
      row(0x0506, TimeMessages.ModifyLookahead.class, (m, o) -> o.bytes(m.lookahead()),
          i -> new TimeMessages.ModifyLookahead(i.bytes())),
      row(0x0507, TimeMessages.AsynchronousDelivery.class, (m, o) -> o.bool(m.on()),
          i -> new TimeMessages.AsynchronousDelivery(i.bool())),
      row(0x0508, TimeMessages.Retract.class, (m, o) -> o.retraction(m.handle()),
          i -> new TimeMessages.Retract(i.retraction())),
      row(0x0509, TimeMessages.QueryGalt.class, (m, o) -> {}, i -> new TimeMessages.QueryGalt()),
      row(0x050A, TimeMessages.QueryLits.class, (m, o) -> {}, i -> new TimeMessages.QueryLits()),
      row(0x050B, TimeMessages.Time.class, (m, o) -> o.bytesOrNull(m.time()),
          i -> new TimeMessages.Time(i.bytesOrNull())),
      row(0x050C, TimeMessages.RegulationEnabled.class, (m, o) -> o.bytes(m.time()),
          i -> new TimeMessages.RegulationEnabled(i.bytes())),
      row(0x050D, TimeMessages.ConstrainedEnabled.class, (m, o) -> o.bytes(m.time()),
          i -> new TimeMessages.ConstrainedEnabled(i.bytes())),
      row(0x050E, TimeMessages.Grant.class, (m, o) -> o.bytes(m.time()), i -> new TimeMessages.Grant(i.bytes())),
      row(0x050F, TimeMessages.RequestRetraction.class, (m, o) -> o.retraction(m.handle()),
          i -> new TimeMessages.RequestRetraction(i.retraction())),
      row(0x0510, TimeMessages.QuerySendBound.class, (m, o) -> {}, i -> new TimeMessages.QuerySendBound()),
      row(0x0511, TimeMessages.SendBound.class, (m, o) -> { o.bytes(m.time()); o.bool(m.strict()); },
          i -> new TimeMessages.SendBound(i.bytes(), i.bool())));

  private static final Map<Class<?>, Row<?>> BY_CLASS = new HashMap<>();
  private static final Row<?>[] BY_TYPE;

  static {
    int highest = 0;
    for (Row<?> r : TABLE) {
      highest = Math.max(highest, r.type);
    }
    BY_TYPE = new Row<?>[highest + 1];
    for (Row<?> r : TABLE) {
      if (BY_TYPE[r.type] != null || BY_CLASS.put(r.messageClass, r) != null) {
        throw new IllegalStateException("the frame table repeats " + r.what);
      }
      BY_TYPE[r.type] = r;
    }
  }

  private final int maxFrameLength;

  /** A codec that refuses frames longer than {@value #DEFAULT_MAX_FRAME_LENGTH} bytes. */
  public MessageCodec() {
    this(DEFAULT_MAX_FRAME_LENGTH);
  }

  /** maxFrameLength bounds the length word of every frame written or read. */
  public MessageCodec(int maxFrameLength) {
    if (maxFrameLength < HEADER_LENGTH - 4) {
      throw new IllegalArgumentException("a maximum frame length of " + maxFrameLength + " cannot hold a header");
    }
    this.maxFrameLength = maxFrameLength;
  }

  public int maxFrameLength() {
    return maxFrameLength;
  }

  /** typeOf is the frame type of a message class, or -1 when the table has no row for it. */
  public static int typeOf(Class<? extends Message> messageClass) {
    Row<?> r = BY_CLASS.get(messageClass);
    return r == null ? -1 : r.type;
  }

  // ---- writing

  /**
   * encode appends message's frame to out. correlation is the request id for a request or
   * reply, never 0, and must be 0 for a notice or event.
   *
   * @throws IllegalArgumentException when the message cannot be framed: no row for its class,
   *     the wrong correlation, a null the layout has no room for, a string with an unpaired
   *     surrogate, or a frame above the maximum length; out is then left as it was
   */
  public void encode(Message message, int correlation, FrameBuffer out) {
    @SuppressWarnings("unchecked")
    Row<Message> row = (Row<Message>) BY_CLASS.get(message.getClass());
    if (row == null) {
      throw new IllegalArgumentException("no frame type for " + message.getClass().getName());
    }
    if (row.correlated == (correlation == 0)) {
      throw new IllegalArgumentException(row.what + ": correlation " + correlation
          + (row.correlated ? ", but a request or reply needs a request id other than 0" : ", but must be 0"));
    }
    int start = out.length();
    try {
      out.i32(0);
      out.u16(row.type);
      out.i32(correlation);
      row.encoder.write(message, out);
      int length = out.length() - start - 4;
      if (length > maxFrameLength) {
        throw new IllegalArgumentException(length + " bytes exceed the maximum frame length " + maxFrameLength);
      }
      out.putI32(start, length);
    } catch (RuntimeException e) {
      out.truncate(start);
      throw new IllegalArgumentException(row.what + " cannot be framed: " + e.getMessage(), e);
    }
  }

  // ---- reading

  /**
   * frameLength is the size of the frame that starts at offset, its length word included, or
   * -1 while fewer than 4 of its bytes are available. A transport calls it to learn how much
   * to read; the length is checked against the maximum first, so nothing is read or
   * allocated for a frame that would be refused.
   */
  public int frameLength(byte[] bytes, int offset, int available) throws MessageFormatException {
    Objects.checkFromIndexSize(offset, available, bytes.length);
    if (available < 4) {
      return -1;
    }
    long length = u32(bytes, offset);
    if (length > maxFrameLength) {
      throw new MessageFormatException("frame: length " + length + " exceeds the maximum " + maxFrameLength);
    }
    if (length < HEADER_LENGTH - 4) {
      throw new MessageFormatException("frame: length " + length + " cannot hold the type and correlation");
    }
    return (int) length + 4;
  }

  /**
   * decode reads the one frame that fills bytes from offset for length bytes.
   *
   * @throws MessageFormatException when the bytes are not exactly one well-formed frame
   */
  public Frame decode(byte[] bytes, int offset, int length) throws MessageFormatException {
    if (length < 4) {
      throw new MessageFormatException("frame: " + length + " bytes, too few for its length word");
    }
    int declared = frameLength(bytes, offset, length);
    if (declared != length) {
      throw new MessageFormatException("frame: its length word gives " + declared + " bytes in all, "
          + length + " were given");
    }
    int type = (bytes[offset + 4] & 0xFF) << 8 | (bytes[offset + 5] & 0xFF);
    Row<?> row = type < BY_TYPE.length ? BY_TYPE[type] : null;
    if (row == null) {
      throw new MessageFormatException(String.format("frame type 0x%04X: no such message type", type));
    }
    int correlation = (int) u32(bytes, offset + 6);
    if (row.correlated == (correlation == 0)) {
      throw new MessageFormatException(row.what + ": correlation " + correlation
          + (row.correlated ? " on a request or reply" : " on a notice or event") + " at offset 6");
    }
    In in = new In(row.what, bytes, offset, offset + HEADER_LENGTH, offset + length);
    Message message = row.decoder.read(in);
    if (in.pos != in.end) {
      throw in.fail((in.end - in.pos) + " bytes after the payload", in.pos);
    }
    return new Frame(correlation, message);
  }

  /** decode reads one frame that fills bytes. */
  public Frame decode(byte[] bytes) throws MessageFormatException {
    return decode(bytes, 0, bytes.length);
  }

  private static long u32(byte[] b, int at) {
    return ((long) (b[at] & 0xFF) << 24) | (b[at + 1] & 0xFF) << 16 | (b[at + 2] & 0xFF) << 8 | (b[at + 3] & 0xFF);
  }

  // ---- hello

  /** writeHello appends this side's hello; software names it for the peer's messages and logs. */
  public static void writeHello(FrameBuffer out, String software) {
    byte[] text = software.getBytes(StandardCharsets.UTF_8);
    if (text.length > MAX_HELLO_TEXT) {
      throw new IllegalArgumentException("a hello's software text is at most " + MAX_HELLO_TEXT + " bytes");
    }
    out.i32(MAGIC);
    out.u16(PROTOCOL_VERSION);
    out.u16(text.length);
    out.raw(text);
  }

  /**
   * helloLength is the size of the hello that starts at offset, or -1 while fewer than
   * {@value #HELLO_HEADER_LENGTH} bytes are available. A peer that is not speaking this
   * protocol at all is refused here, on its first bytes.
   */
  public static int helloLength(byte[] bytes, int offset, int available) throws MessageFormatException {
    Objects.checkFromIndexSize(offset, available, bytes.length);
    if (available < HELLO_HEADER_LENGTH) {
      return -1;
    }
    long magic = u32(bytes, offset);
    if (magic != MAGIC) {
      throw new MessageFormatException(String.format(
          "hello: the peer does not speak the federation protocol (it began with 0x%08X, not 0x%08X)", magic, MAGIC));
    }
    int n = (bytes[offset + 6] & 0xFF) << 8 | (bytes[offset + 7] & 0xFF);
    if (n > MAX_HELLO_TEXT) {
      throw new MessageFormatException("hello: software text of " + n + " bytes, at most " + MAX_HELLO_TEXT);
    }
    return HELLO_HEADER_LENGTH + n;
  }

  /**
   * readHello reads the peer's hello, which fills bytes from offset for length bytes, and
   * returns its software text.
   *
   * @throws MessageFormatException when it is no hello, or speaks another protocol version
   */
  public static String readHello(byte[] bytes, int offset, int length) throws MessageFormatException {
    int declared = helloLength(bytes, offset, length);
    if (declared != length) {
      throw new MessageFormatException("hello: " + (declared < 0 ? "shorter than its header" : "of " + declared
          + " bytes") + ", " + length + " were given");
    }
    In in = new In("hello", bytes, offset, offset + HELLO_HEADER_LENGTH, offset + length);
    String software = in.text(length - HELLO_HEADER_LENGTH);
    int version = (bytes[offset + 4] & 0xFF) << 8 | (bytes[offset + 5] & 0xFF);
    if (version != PROTOCOL_VERSION) {
      throw new MessageFormatException("hello: the peer (" + software + ") speaks protocol version " + version
          + ", this side speaks version " + PROTOCOL_VERSION + "; both sides must speak the same version");
    }
    return software;
  }

  // ---- the payload reader

  /**
   * In reads the payload of one frame, front to back, in the layouts of the class comment.
   * Every read checks the bytes that remain before it takes or allocates anything.
   */
  private static final class In {
    private static final long NULL_LENGTH = 0xFFFFFFFFL;

    private final String what;
    private final byte[] b;
    private final int frameStart;
    private final int end;
    private int pos;

    In(String what, byte[] b, int frameStart, int payloadStart, int end) {
      this.what = what;
      this.b = b;
      this.frameStart = frameStart;
      this.pos = payloadStart;
      this.end = end;
    }

    MessageFormatException fail(String problem, int at) {
      return new MessageFormatException(what + ": " + problem + " at offset " + (at - frameStart));
    }

    private void need(long count, int at) throws MessageFormatException {
      if (count > end - pos) {
        throw fail("needs " + count + " bytes, " + (end - pos) + " remain", at);
      }
    }

    int i32() throws MessageFormatException {
      need(4, pos);
      int v = (int) u32(b, pos);
      pos += 4;
      return v;
    }

    boolean bool() throws MessageFormatException {
      need(1, pos);
      int v = b[pos] & 0xFF;
      if (v > 1) {
        throw fail("flag " + v + ", not 0 or 1", pos);
      }
      pos++;
      return v == 1;
    }

    /** length reads a block length and checks that the block is there; -1 is null. */
    private int length(boolean nullable) throws MessageFormatException {
      int at = pos;
      long n = i32() & 0xFFFFFFFFL;
      if (n == NULL_LENGTH) {
        if (nullable) {
          return -1;
        }
        throw fail("null where the message has no null", at);
      }
      if (n > end - pos) {
        throw fail("length " + n + " runs past the frame, " + (end - pos) + " bytes remain", at);
      }
      return (int) n;
    }

    /** count reads an element count and checks that minBytes per element could follow; -1 is null. */
    private int count(int minBytes, boolean nullable) throws MessageFormatException {
      int at = pos;
      long n = i32() & 0xFFFFFFFFL;
      if (n == NULL_LENGTH) {
        if (nullable) {
          return -1;
        }
        throw fail("null where the message has no null", at);
      }
      if (n * minBytes > end - pos) {
        throw fail("count " + n + " needs at least " + n * minBytes + " bytes, " + (end - pos) + " remain", at);
      }
      return (int) n;
    }

    private byte[] take(int n) {
      byte[] out = Arrays.copyOfRange(b, pos, pos + n);
      pos += n;
      return out;
    }

    byte[] bytes() throws MessageFormatException {
      return take(length(false));
    }

    byte[] bytesOrNull() throws MessageFormatException {
      int n = length(true);
      return n < 0 ? null : take(n);
    }

    String string() throws MessageFormatException {
      return text(length(false));
    }

    String stringOrNull() throws MessageFormatException {
      int n = length(true);
      return n < 0 ? null : text(n);
    }

    /** text decodes n bytes of UTF-8 that are known to be there. */
    String text(int n) throws MessageFormatException {
      int from = pos;
      pos += n;
      for (int i = from; i < from + n; i++) {
        if (b[i] < 0) {
          try {
            // The decoder reports what new String would quietly replace with U+FFFD.
            return StandardCharsets.UTF_8.newDecoder().decode(ByteBuffer.wrap(b, from, n)).toString();
          } catch (CharacterCodingException e) {
            throw fail("the " + n + " bytes of a string are not UTF-8", from);
          }
        }
      }
      return new String(b, from, n, StandardCharsets.ISO_8859_1);
    }

    int[] ints() throws MessageFormatException {
      return intsOf(count(4, false));
    }

    int[] intsOrNull() throws MessageFormatException {
      int n = count(4, true);
      return n < 0 ? null : intsOf(n);
    }

    private int[] intsOf(int n) {
      int[] out = new int[n];
      for (int i = 0; i < n; i++) {
        out[i] = (int) u32(b, pos);
        pos += 4;
      }
      return out;
    }

    List<String> strings() throws MessageFormatException {
      int n = count(4, false);
      List<String> out = new ArrayList<>(n);
      for (int i = 0; i < n; i++) {
        out.add(string());
      }
      return Collections.unmodifiableList(out);
    }

    HandleValues values() throws MessageFormatException {
      int n = count(8, false);
      int[] handles = new int[n];
      byte[][] values = new byte[n][];
      for (int i = 0; i < n; i++) {
        handles[i] = i32();
        values[i] = bytes();
      }
      return n == 0 ? HandleValues.empty() : new HandleValues(handles, values);
    }

    RetractionHandle retraction() throws MessageFormatException {
      int serial = i32();
      return new RetractionHandle(serial, bytes());
    }

    RetractionHandle retractionOrNull() throws MessageFormatException {
      return bool() ? retraction() : null;
    }

    List<FederationExecution> executions() throws MessageFormatException {
      int n = count(8, false);
      List<FederationExecution> out = new ArrayList<>(n);
      for (int i = 0; i < n; i++) {
        String name = string();
        out.add(new FederationExecution(name, string()));
      }
      return Collections.unmodifiableList(out);
    }

    FomModule module() throws MessageFormatException {
      int at = pos;
      String designator = string();
      int n = length(false);
      int from = pos;
      pos += n;
      if (designator.equals(FomModule.STANDARD_MIM_DESIGNATOR) && StandardMim.holds(b, from, n)) {
        return FomModule.standardMim(); // the same bytes, already read once in this process
      }
      try {
        return FomModule.parse(designator, Arrays.copyOfRange(b, from, from + n));
      } catch (FomException | RuntimeException e) {
        // The reader was written for files a user names; a peer's bytes get the same checks,
        // and whatever else it throws on them still ends here, as a bad frame.
        throw new MessageFormatException(what + ": FOM module '" + designator + "' does not read ("
            + e.getMessage() + ") at offset " + (at - frameStart), e);
      }
    }

    List<FomModule> modules() throws MessageFormatException {
      int n = count(8, false);
      List<FomModule> out = new ArrayList<>(n);
      for (int i = 0; i < n; i++) {
        out.add(module());
      }
      return Collections.unmodifiableList(out);
    }

    FomModel model() throws MessageFormatException {
      int at = pos;
      FomModule mim = module();
      List<FomModule> modules = modules();
      try {
        return FomModel.create(mim, modules);
      } catch (FomException | RuntimeException e) {
        throw new MessageFormatException(what + ": the FOM modules do not merge (" + e.getMessage()
            + ") at offset " + (at - frameStart), e);
      }
    }
  }

  /** StandardMim is the content of the built-in MIM, so that a model's MIM is not parsed again. */
  private static final class StandardMim {
    private static final byte[] CONTENT = FomModule.standardMim().content();

    static boolean holds(byte[] b, int from, int n) {
      return n == CONTENT.length && Arrays.equals(b, from, from + n, CONTENT, 0, n);
    }
  }
}
