package org.vantor.ostra1516e.transport;

import static java.nio.charset.StandardCharsets.UTF_8;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.lang.reflect.ParameterizedType;
import java.lang.reflect.RecordComponent;
import java.lang.reflect.Type;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Random;
import java.util.Set;
import java.util.jar.JarFile;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.fom.FomModule;
import org.vantor.ostra1516e.message.DeclarationMessages;
import org.vantor.ostra1516e.message.FederationMessages;
import org.vantor.ostra1516e.message.Message;
import org.vantor.ostra1516e.message.ObjectMessages;
import org.vantor.ostra1516e.message.Reply;
import org.vantor.ostra1516e.message.Request;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.Hex;
import org.vantor.ostra1516e.wire.RetractionHandle;

/** Frames of every message: round trips, the exact bytes of a few, and broken or hostile input. */
class MessageCodecTest {
  private static final MessageCodec CODEC = new MessageCodec();
  private static final FomModule VEHICLES = fixture(() -> FomModule.read(modulePath("Vehicles.xml").toString()));
  private static final FomModule TRAFFIC = fixture(() -> FomModule.read(modulePath("Traffic.xml").toString()));
  private static final FomModel MODEL =
      fixture(() -> FomModel.create(FomModule.standardMim(), List.of(VEHICLES, TRAFFIC)));
  // The samples carry small modules, so that every truncation of their frames stays quick.
  private static final FomModule TINY_MIM = fixture(() -> FomModule.parse("TinyMIM", ("<objectModel><objects><objectClass>"
      + "<name>HLAobjectRoot</name><attribute><name>HLAprivilegeToDeleteObject</name></attribute>"
      + "</objectClass></objects><transportations><transportation><name>HLAreliable</name>"
      + "<reliable>Yes</reliable></transportation></transportations></objectModel>").getBytes(UTF_8)));
  private static final FomModule TINY = fixture(() -> FomModule.parse("Tiny.xml", ("<objectModel><objects><objectClass>"
      + "<name>HLAobjectRoot</name><objectClass><name>A</name><attribute><name>x</name></attribute></objectClass>"
      + "</objectClass></objects><interactions><interactionClass><name>HLAinteractionRoot</name><interactionClass>"
      + "<name>B</name><parameter><name>y</name></parameter></interactionClass></interactionClass></interactions>"
      + "</objectModel>").getBytes(UTF_8)));
  private static final FomModel TINY_MODEL = fixture(() -> FomModel.create(TINY_MIM, List.of(TINY)));

  /** The components that may be null, as "Holder.Record.component". */
  private static final Set<String> NULLABLE = Set.of("Reply.Refused.message", "FederationMessages.Join.federateName",
      "DeclarationMessages.UnpublishObjectClass.attributes", "DeclarationMessages.UnsubscribeObjectClass.attributes",
      "ObjectMessages.Register.name", "TimeMessages.Time.time",
      "ObjectMessages.Update.time", "ObjectMessages.Update.retraction",
      "ObjectMessages.Reflect.time", "ObjectMessages.Reflect.retraction", "ObjectMessages.Reflect.regions",
      "ObjectMessages.SendInteraction.time", "ObjectMessages.SendInteraction.retraction",
      "ObjectMessages.SendInteraction.regions", "ObjectMessages.Receive.regions",
      "SaveMessages.RequestSave.time", "SaveMessages.InitiateSave.time", "SaveMessages.SaveComplete.state",
      "DeclarationMessages.SubscribeInteractionClass.regions",
      "DeclarationMessages.UnsubscribeInteractionClass.regions", "DeclarationMessages.SubscribeObjectClass.regions",
      "DeclarationMessages.UnsubscribeObjectClass.regions", "ObjectMessages.Register.regions",
      "ObjectMessages.RequestClassUpdate.regions",
      "ObjectMessages.Receive.time", "ObjectMessages.Receive.retraction",
      "ObjectMessages.Delete.time", "ObjectMessages.Delete.retraction",
      "ObjectMessages.Remove.time", "ObjectMessages.Remove.retraction");

  private interface Maker<T> {
    T make() throws Exception;
  }

  private static <T> T fixture(Maker<T> maker) {
    try {
      return maker.make();
    } catch (Exception e) {
      throw new IllegalStateException("test fixture (is -Dostra.fomModules set?): " + e.getMessage(), e);
    }
  }

  private static Path modulePath(String file) {
    return Path.of(System.getProperty("ostra.fomModules"), file);
  }

  // ---- the message classes and one sample of each

  /** Every record class of the message package, read from the class path: a class without a row fails. */
  private static List<Class<?>> messageRecords() throws Exception {
    String dir = Message.class.getPackageName().replace('.', '/') + "/";
    Path source = Path.of(Message.class.getProtectionDomain().getCodeSource().getLocation().toURI());
    List<String> files = new ArrayList<>();
    if (Files.isDirectory(source)) {
      try (Stream<Path> list = Files.list(source.resolve(dir))) {
        list.forEach(p -> files.add(dir + p.getFileName()));
      }
    } else {
      try (JarFile jar = new JarFile(source.toFile())) {
        jar.stream().forEach(e -> files.add(e.getName()));
      }
    }
    List<Class<?>> records = new ArrayList<>();
    for (String f : files) {
      if (f.startsWith(dir) && f.endsWith(".class") && f.indexOf('/', dir.length()) < 0) {
        Class<?> c = Class.forName(f.substring(0, f.length() - 6).replace('/', '.'));
        if (c.isRecord() && Message.class.isAssignableFrom(c)) {
          records.add(c);
        }
      }
    }
    assertTrue(records.size() > 50, "found only " + records);
    return records;
  }

  private static String name(Class<?> c) {
    return c.getName().substring(c.getPackageName().length() + 1).replace('$', '.');
  }

  private interface ComponentValue {
    Object of(int p, RecordComponent component) throws Exception;
  }

  /** construct calls record c's canonical constructor with what arg gives for each component. */
  private static Object construct(Class<?> c, ComponentValue arg) throws Exception {
    RecordComponent[] parts = c.getRecordComponents();
    Object[] args = new Object[parts.length];
    Class<?>[] types = new Class<?>[parts.length];
    for (int p = 0; p < parts.length; p++) {
      types[p] = parts[p].getType();
      args[p] = arg.of(p, parts[p]);
    }
    return c.getDeclaredConstructor(types).newInstance(args);
  }

  /** instance makes a record with a different value in each component; k seeds the values. */
  private static Object instance(Class<?> c, int k) throws Exception {
    return construct(c, (p, part) -> value(part.getGenericType(), k + p));
  }

  private static Object value(Type t, int k) throws Exception {
    if (t == int.class) {
      return k * 0x01000193;
    } else if (t == boolean.class) {
      return k % 2 == 1;
    } else if (t == String.class) {
      return k % 2 == 0 ? "name" + k : "n\u00e9" + k + "\ud83d\ude00";
    } else if (t == byte[].class) {
      return new byte[] {(byte) k, 0, (byte) 0xFF};
    } else if (t == int[].class) {
      return new int[] {k, -1, Integer.MAX_VALUE};
    } else if (t == HandleValues.class) {
      return HandleValues.of(k, new byte[] {(byte) k, 2}, k + 1, new byte[0]);
    } else if (t == RetractionHandle.class) {
      return new RetractionHandle(k, new byte[] {(byte) 0xCA, (byte) k});
    } else if (t == FomModule.class) {
      return k % 2 == 0 ? TINY_MIM : TINY;
    } else if (t == FomModel.class) {
      return TINY_MODEL;
    } else if (t instanceof ParameterizedType pt && pt.getRawType() == List.class) {
      Type element = pt.getActualTypeArguments()[0];
      return List.of(value(element, k), value(element, k + 1));
    } else if (t instanceof Class<?> c && c.isRecord()) {
      return instance(c, k);
    }
    throw new AssertionError("no sample value for " + t + ": add one to MessageCodecTest.value");
  }

  private static int correlation(Message m) {
    return m instanceof Request || m instanceof Reply ? 0x7F000001 : 0;
  }

  private static byte[] frame(Message m) {
    FrameBuffer out = new FrameBuffer(16);
    CODEC.encode(m, correlation(m), out);
    return out.toByteArray();
  }

  private static void assertRoundTrip(Message m) throws Exception {
    byte[] frame = frame(m);
    MessageCodec.Frame read = CODEC.decode(frame);
    assertEquals(correlation(m), read.correlation(), name(m.getClass()));
    assertSameValue(m, read.message(), name(m.getClass()));
    assertArrayEquals(frame, frame(read.message()), name(m.getClass()) + " written again");
  }

  /** assertSameValue compares records component by component, arrays by content, models by their handles. */
  private static void assertSameValue(Object expected, Object actual, String path) throws Exception {
    if (expected == null || actual == null) {
      assertEquals(expected, actual, path);
    } else if (expected instanceof byte[] e) {
      assertArrayEquals(e, (byte[]) actual, path);
    } else if (expected instanceof int[] e) {
      assertArrayEquals(e, (int[]) actual, path);
    } else if (expected instanceof List<?> e) {
      List<?> a = (List<?>) actual;
      assertEquals(e.size(), a.size(), path + " size");
      for (int i = 0; i < e.size(); i++) {
        assertSameValue(e.get(i), a.get(i), path + "[" + i + "]");
      }
    } else if (expected instanceof FomModule e) {
      assertEquals(e.designator(), ((FomModule) actual).designator(), path);
      assertTrue(e.sameContent((FomModule) actual), path + " content");
    } else if (expected instanceof FomModel e) {
      assertSameValue(e.mim(), ((FomModel) actual).mim(), path + ".mim");
      assertSameValue(e.modules(), ((FomModel) actual).modules(), path + ".modules");
      assertEquals(handles(e), handles((FomModel) actual), path + " handles");
    } else if (expected.getClass().isRecord()) {
      assertEquals(expected.getClass(), actual.getClass(), path);
      for (RecordComponent c : expected.getClass().getRecordComponents()) {
        assertSameValue(c.getAccessor().invoke(expected), c.getAccessor().invoke(actual), path + "." + c.getName());
      }
    } else {
      assertEquals(expected, actual, path);
    }
  }

  /** handles lists every class, attribute, parameter and dimension of a model with its handle. */
  private static String handles(FomModel m) {
    StringBuilder s = new StringBuilder();
    for (int h = 1; h <= m.objectClassCount(); h++) {
      s.append("\nO").append(h).append(' ').append(m.objectClassName(h).orElseThrow());
      for (int a : m.declaredAttributes(h)) {
        s.append(" A").append(a).append(' ').append(m.attributeName(h, a).orElseThrow());
      }
    }
    for (int h = 1; h <= m.interactionClassCount(); h++) {
      s.append("\nI").append(h).append(' ').append(m.interactionClassName(h).orElseThrow());
      for (int p : m.declaredParameters(h)) {
        s.append(" P").append(p).append(' ').append(m.parameterName(h, p).orElseThrow());
      }
    }
    for (int h = 1; h <= m.dimensionCount(); h++) {
      s.append("\nD").append(h).append(' ').append(m.dimensionName(h).orElseThrow());
    }
    return s.toString();
  }

  private static List<Message> samples() throws Exception {
    List<Message> out = new ArrayList<>();
    for (Class<?> c : messageRecords()) {
      out.add((Message) instance(c, MessageCodec.typeOf(c.asSubclass(Message.class))));
    }
    return out;
  }

  // ---- tests

  @Test
  void everyMessageHasARowAndRoundTrips() throws Exception {
    for (Class<?> c : messageRecords()) {
      assertTrue(MessageCodec.typeOf(c.asSubclass(Message.class)) > 0, name(c) + " has no row in MessageCodec.TABLE");
    }
    for (Message m : samples()) {
      assertRoundTrip(m);
    }
  }

  /** Each reference component is set to null: only the listed ones may carry it; the others are refused. */
  @Test
  void nullTravelsExactlyWhereAMessageMayHoldIt() throws Exception {
    FrameBuffer out = new FrameBuffer();
    for (Message sample : samples()) {
      RecordComponent[] parts = sample.getClass().getRecordComponents();
      for (int p = 0; p < parts.length; p++) {
        if (parts[p].getType().isPrimitive()) {
          continue;
        }
        int nulled = p;
        Message m = (Message) construct(sample.getClass(),
            (q, part) -> q == nulled ? null : part.getAccessor().invoke(sample));
        String component = name(sample.getClass()) + "." + parts[p].getName();
        if (NULLABLE.contains(component)) {
          assertRoundTrip(m);
        } else {
          CODEC.encode(new TimeMessages.QueryGalt(), 1, out);
          int before = out.length();
          assertThrows(IllegalArgumentException.class, () -> CODEC.encode(m, correlation(m), out), component);
          assertEquals(before, out.length(), component + ": a refused frame is taken back out");
        }
      }
    }
  }

  @Test
  void framesHaveTheseExactBytes() throws Exception {
    record Golden(Message message, int correlation, String hex) {}
    List<Golden> goldens = List.of(
        new Golden(Reply.Done.INSTANCE, 1, "00000006 0001 00000001"),
        new Golden(new Reply.Refused("NameNotFound", "\u00e9"), 0x01020304,
            "0000001C 0002 01020304 0000000C 4E616D654E6F74466F756E64 00000002 C3A9"),
        new Golden(new DeclarationMessages.UnpublishObjectClass(9, null), 0, "0000000E 0302 00000000 00000009 FFFFFFFF"),
        new Golden(new ObjectMessages.Update(7, HandleValues.of(3, new byte[] {(byte) 0xAB}), new byte[] {1, 2}, 1,
            null, null), 0,
            "00000026 0408 00000000 00000007 00000001 00000003 00000001 AB 00000002 0102 00000001 FFFFFFFF 00"),
        new Golden(new ObjectMessages.Update(7, HandleValues.empty(), new byte[0], 2, Hex.parse("3FF0000000000000"),
            new RetractionHandle(5, new byte[] {(byte) 0xCA, (byte) 0xFE})), 0,
            "0000002D 0408 00000000 00000007 00000000 00000000 00000002 00000008 3FF0000000000000"
                + " 01 00000005 00000002 CAFE"));
    for (Golden g : goldens) {
      FrameBuffer out = new FrameBuffer();
      CODEC.encode(g.message, g.correlation, out);
      assertEquals(Hex.format(Hex.parse(g.hex)), Hex.format(out.toByteArray()), g.message.toString());
      MessageCodec.Frame read = CODEC.decode(Hex.parse(g.hex));
      assertSameValue(g.message, read.message(), g.message.toString());
      assertEquals(g.correlation, read.correlation());
    }
    FrameBuffer hello = new FrameBuffer();
    MessageCodec.writeHello(hello, "x");
    assertEquals(Hex.format(Hex.parse("4F535452 0004 0001 78")), Hex.format(hello.toByteArray()));
  }

  @Test
  void refusesBrokenFramesNamingTypeAndProblem() {
    record Broken(String what, String hex, String message) {}
    List<Broken> cases = List.of(
        new Broken("shorter than a length word", "0000", "frame: 2 bytes, too few for its length word"),
        new Broken("length above the maximum", "04000001", "frame: length 67108865 exceeds the maximum 67108864"),
        new Broken("length without type", "00000005 0001 000000", "frame: length 5 cannot hold the type and correlation"),
        new Broken("region shorter than the length", "00000007 0001 00000001",
            "frame: its length word gives 11 bytes in all, 10 were given"),
        new Broken("unknown type", "00000006 7777 00000000", "frame type 0x7777: no such message type"),
        new Broken("correlation on a notice", "0000000A 040E 00000005 00000001",
            "frame type 0x040E (ObjectMessages.LocalDelete): correlation 5 on a notice or event at offset 6"),
        new Broken("trailing byte", "00000007 0001 00000001 00",
            "frame type 0x0001 (Reply.Done): 1 bytes after the payload at offset 10"),
        new Broken("count beyond the frame", "00000012 0402 00000000 7FFFFFFF 00000000 00000000",
            "frame type 0x0402 (ObjectMessages.ReserveNames): count 2147483647 needs at least 8589934588 bytes,"
                + " 8 remain at offset 10"),
        new Broken("negative count", "0000000E 0301 00000000 00000001 80000000",
            "frame type 0x0301 (DeclarationMessages.PublishObjectClass): count 2147483648 needs at least"
                + " 8589934592 bytes, 0 remain at offset 14"),
        new Broken("null where none may be", "0000000A 0102 00000001 FFFFFFFF",
            "frame type 0x0102 (FederationMessages.Destroy): null where the message has no null at offset 10"),
        new Broken("string past the end", "0000000C 0102 00000001 00000005 4142",
            "frame type 0x0102 (FederationMessages.Destroy): length 5 runs past the frame, 2 bytes remain at offset 10"),
        new Broken("overlong UTF-8", "0000000C 0102 00000001 00000002 C0AF",
            "frame type 0x0102 (FederationMessages.Destroy): the 2 bytes of a string are not UTF-8 at offset 14"),
        new Broken("surrogate in UTF-8", "0000000D 0102 00000001 00000003 EDA080",
            "frame type 0x0102 (FederationMessages.Destroy): the 3 bytes of a string are not UTF-8 at offset 14"),
        new Broken("flag other than 0 and 1", "00000007 0507 00000000 02",
            "frame type 0x0507 (TimeMessages.AsynchronousDelivery): flag 2, not 0 or 1 at offset 10"));
    for (Broken c : cases) {
      byte[] bytes = Hex.parse(c.hex);
      assertEquals(c.message, assertThrows(MessageFormatException.class, () -> CODEC.decode(bytes), c.what)
          .getMessage(), c.what);
    }
  }

  @Test
  void refusesModulesThatDoNotReadOrMerge() throws Exception {
    record Model(String what, FomModule mim, byte[] module, String message) {}
    List<Model> cases = List.of(
        new Model("not a module", VEHICLES, "<objectModel".getBytes(UTF_8), "FOM module 'm' does not read ("),
        new Model("conflicting modules", VEHICLES, Files.readAllBytes(modulePath("ConflictingSpeed.xml")),
            "the FOM modules do not merge ("));
    for (Model c : cases) {
      FrameBuffer out = new FrameBuffer();
      out.i32(0);
      out.u16(MessageCodec.typeOf(FederationMessages.ModelExtended.class));
      out.i32(0);
      out.module(c.mim);
      out.i32(1);
      out.string("m");
      out.bytes(c.module);
      out.putI32(0, out.length() - 4);
      String message = assertThrows(MessageFormatException.class, () -> CODEC.decode(out.toByteArray()), c.what)
          .getMessage();
      assertTrue(message.startsWith("frame type 0x010A (FederationMessages.ModelExtended): " + c.message), message);
    }
  }

  /**
   * Every truncation of every sample frame (its length word cut to match) is refused, and
   * random damage either reads as a message that writes the same bytes again, or is refused:
   * nothing else escapes. -Dostra.seed=N repeats a run.
   */
  @Test
  void truncatedOrDamagedFramesOnlyFailWithTheCheckedException() throws Exception {
    long seed = Long.getLong("ostra.seed", System.nanoTime());
    Random random = new Random(seed);
    int[] interesting = {0, 1, -1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 6, 255};
    for (Message m : samples()) {
      byte[] frame = frame(m);
      String where = "seed " + seed + ", " + name(m.getClass());
      for (int cut = 0; cut < frame.length; cut++) {
        byte[] cutFrame = Arrays.copyOf(frame, cut);
        if (cut >= 4) {
          putInt(cutFrame, 0, cut - 4);
        }
        assertThrows(MessageFormatException.class, () -> decodeInside(cutFrame), where + ", cut at " + cut);
      }
      for (int i = 0; i < 2000; i++) {
        byte[] damaged = frame.clone();
        for (int edits = 1 + random.nextInt(3); edits > 0; edits--) {
          int at = random.nextInt(damaged.length);
          switch (random.nextInt(3)) {
            case 0 -> damaged[at] = (byte) random.nextInt(256);
            case 1 -> damaged[at] ^= (byte) (1 << random.nextInt(8));
            default -> putInt(damaged, Math.min(at, damaged.length - 4), interesting[random.nextInt(interesting.length)]);
          }
        }
        MessageCodec.Frame read;
        try {
          read = decodeInside(damaged);
        } catch (MessageFormatException expected) {
          continue;
        } catch (RuntimeException e) {
          throw new AssertionError(where + ": " + e + " from " + Hex.format(damaged), e);
        }
        FrameBuffer again = new FrameBuffer();
        CODEC.encode(read.message(), read.correlation(), again);
        assertArrayEquals(damaged, again.toByteArray(), where + ": read as " + read.message());
      }
    }
  }

  /** decodeInside reads frame from inside a larger array, where reading past its end would not fail by itself. */
  private static MessageCodec.Frame decodeInside(byte[] frame) throws MessageFormatException {
    byte[] bigger = new byte[frame.length + 64];
    System.arraycopy(frame, 0, bigger, 3, frame.length);
    return CODEC.decode(bigger, 3, frame.length);
  }

  private static void putInt(byte[] b, int at, int v) {
    for (int i = 0; i < 4; i++) {
      b[at + i] = (byte) (v >>> (24 - 8 * i));
    }
  }

  @Test
  void modelInJoinedMergesAgainToTheSameHandles() throws Exception {
    Reply.Joined joined = new Reply.Joined(3, "fed", "HLAfloat64Time", MODEL);
    Reply.Joined read = (Reply.Joined) CODEC.decode(frame(joined)).message();
    assertTrue(read.model() != MODEL && handles(MODEL).contains("HLAobjectRoot.Vehicle.Bus A"), handles(MODEL));
    assertEquals(handles(MODEL), handles(read.model()));
  }

  @Test
  void framesBatchInOneBufferAndUnsendableFramesAreTakenBack() throws Exception {
    MessageCodec small = new MessageCodec(64);
    FrameBuffer out = new FrameBuffer(16);
    List<Message> batch = List.of(new TimeMessages.Grant(new byte[8]), Reply.Done.INSTANCE,
        new ObjectMessages.LocalDelete(4));
    for (Message m : batch) {
      small.encode(m, correlation(m), out);
    }
    int length = out.length();
    for (Message unsendable : List.of(new TimeMessages.Grant(new byte[60]), new ObjectMessages.ReserveName("a\ud800"))) {
      assertThrows(IllegalArgumentException.class, () -> small.encode(unsendable, 0, out), unsendable.toString());
      assertEquals(length, out.length(), unsendable + " is taken back out");
    }
    byte[] bytes = out.array();
    int at = 0;
    for (Message m : batch) {
      assertEquals(-1, small.frameLength(bytes, at, 3));
      int n = small.frameLength(bytes, at, length - at);
      assertSameValue(m, small.decode(bytes, at, n).message(), name(m.getClass()));
      at += n;
    }
    assertEquals(length, at);
    byte[] big = frame(new TimeMessages.Grant(new byte[60]));
    assertThrows(MessageFormatException.class, () -> small.frameLength(big, 0, 4));
  }

  @Test
  void helloRefusesStrangersAndOtherVersions() throws Exception {
    FrameBuffer out = new FrameBuffer();
    MessageCodec.writeHello(out, "ostra1516e 1.2 \u00e9");
    byte[] hello = out.toByteArray();
    assertEquals(hello.length, MessageCodec.helloLength(hello, 0, hello.length));
    assertEquals("ostra1516e 1.2 \u00e9", MessageCodec.readHello(hello, 0, hello.length));
    byte[] newer = hello.clone();
    newer[5] = 5;
    assertEquals("hello: the peer (ostra1516e 1.2 \u00e9) speaks protocol version 5, this side speaks version 4;"
        + " both sides must speak the same version",
        assertThrows(MessageFormatException.class, () -> MessageCodec.readHello(newer, 0, newer.length)).getMessage());
    byte[] http = "GET / HTTP/1.1\r\n".getBytes();
    assertEquals("hello: the peer does not speak the federation protocol (it began with 0x47455420, not 0x4F535452)",
        assertThrows(MessageFormatException.class, () -> MessageCodec.helloLength(http, 0, http.length)).getMessage());
  }
}
