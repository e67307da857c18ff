package org.vantor.ostra1516e.engine;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.util.ArrayList;
import java.util.BitSet;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.zip.CRC32;
import org.vantor.ostra1516e.fom.FomModel;
import org.vantor.ostra1516e.message.Event;
import org.vantor.ostra1516e.message.FederationMessages;
import org.vantor.ostra1516e.message.Message;
import org.vantor.ostra1516e.time.Bound;
import org.vantor.ostra1516e.transport.FrameBuffer;
import org.vantor.ostra1516e.transport.MessageCodec;
import org.vantor.ostra1516e.transport.MessageFormatException;
import org.vantor.ostra1516e.wire.RetractionHandle;

/**
 * SaveFile writes a federation's state to its save file and reads it back.
 *
 * <p>The file: the 8 ASCII bytes {@code OSTRASAV}; the format version (u16, now 1); the
 * version of the federation protocol whose frames it holds (u16); the length of the body
 * (u32); the body; the CRC-32 of the body (u32). All numbers are big-endian. In the body, a
 * string is its UTF-8 length (i32) and bytes, or -1 for none; a byte string likewise; a list
 * is its count (i32) and elements; a set of handles is a list of i32 in ascending order; a
 * message (the model, a held event) is one frame of the federation protocol in a byte
 * string. The body holds, in order:
 *
 * <ol>
 *   <li>the federation: name, time implementation, the save's label and time (bytes or
 *       none), the model (the frame that tells federates of an extended model), the next
 *       federate handle and the automatic resign action;
 *   <li>the members, each: handle, name, type; published classes (class and attribute set)
 *       and interaction classes; subscriptions (class, attributes, those everywhere, the
 *       regions of each attribute, active, update rate); subscribed interaction classes
 *       (class, active), those everywhere, the regions of each; the four advisory switches;
 *       convey producing federate and region designator sets; reserved names; changed
 *       interaction transportation types (class, type); its time (regulating, constrained,
 *       constraint pending, asynchronous delivery, logical time, lookahead, promised bound
 *       and whether strict, request kind and time, granted with an Available request,
 *       arrivals counted, earliest grant and whether strict; held time-stamp-order and
 *       receive-order messages: time, arrival, event, retraction handle; retractable
 *       messages: serial, time, handle, receivers); then what its component handed to the
 *       save (bytes of the component's own format);
 *   <li>the synchronization points: label, tag, whole federation, members, waiting, failed;
 *   <li>the object instances: the next handle; each: handle, name, class, registrant;
 *       owners (attribute, member); divesting (attribute, tag); acquirers (attribute, then
 *       member and tag in order of request); known class by member; update regions by
 *       attribute; changed transportation types; relevance and scope last told by member;
 *   <li>the regions: the next handle; each: handle, creator, dimensions, bounds;
 *   <li>the relevance advisories last told: classes and interaction classes by member.
 * </ol>
 *
 * <p>A file is written whole to a temporary file beside it and moved into place, so a save
 * that fails leaves the previous one with its label intact. Reading checks everything a
 * damaged or foreign file could get wrong and refuses it with a {@link SaveFileException}
 * that says what and where; it never reads beyond the file or allocates more than it holds.
 */
final class SaveFile {
  static final byte[] MAGIC = "OSTRASAV".getBytes(StandardCharsets.US_ASCII);
  static final int VERSION = 1;
  private static final int HEADER = MAGIC.length + 2 + 2 + 4;
  private static final MessageCodec CODEC = new MessageCodec();
  /** The greatest handle a save may hold in a set (sets are kept as bits, so this bounds their memory). */
  private static final int MAX_HANDLE = 1 << 24;

  private SaveFile() {}

  /** SaveFileException says why a save file cannot be read. */
  static final class SaveFileException extends Exception {
    private static final long serialVersionUID = 1L;

    SaveFileException(String message) {
      super(message);
    }
  }

  /**
   * fileName is text made safe as one file name: letters, digits, '-', '_' and '.' stay (a
   * leading '.' does not), every other character becomes %XX of its UTF-8 bytes.
   */
  static String fileName(String text) {
    StringBuilder out = new StringBuilder();
    byte[] bytes = text.getBytes(StandardCharsets.UTF_8);
    for (int i = 0; i < bytes.length; i++) {
      int b = bytes[i] & 0xFF;
      boolean plain = b >= 'a' && b <= 'z' || b >= 'A' && b <= 'Z' || b >= '0' && b <= '9' || b == '-' || b == '_'
          || b == '.' && i > 0;
      out.append(plain ? String.valueOf((char) b) : String.format("%%%02X", b));
    }
    return out.length() == 0 ? "%" : out.toString();
  }

  // ---- writing

  static void write(Federation federation, Path file) throws IOException {
    byte[] bytes = encode(federation);
    Files.createDirectories(file.getParent());
    Path partial = file.resolveSibling(file.getFileName() + ".partial");
    Files.write(partial, bytes);
    Files.move(partial, file, StandardCopyOption.REPLACE_EXISTING, StandardCopyOption.ATOMIC_MOVE);
  }

  static byte[] encode(Federation federation) {
    Out o = new Out();
    o.string(federation.name());
    o.string(federation.timeImplementation());
    Saves saves = federation.saves();
    o.string(saves.label());
    o.bytes(saves.time());
    o.message(new FederationMessages.ModelExtended(federation.model()));
    o.i32(federation.nextFederate);
    o.i32(federation.automaticResign);

    o.i32(federation.memberCount());
    for (Member m : federation.members()) {
      member(o, m);
      o.bytes(saves.stateOf(m.handle));
    }

    o.i32(federation.syncPoints.size());
    for (Federation.SyncPoint p : federation.syncPoints.values()) {
      o.string(p.label);
      o.bytes(p.tag);
      o.bool(p.wholeFederation);
      o.handles(p.members);
      o.handles(p.waiting);
      o.handles(p.failed);
    }

    ObjectManagement objects = federation.objects();
    o.i32(objects.nextInstance);
    o.i32(objects.instances.size());
    for (Instance instance : objects.instances.values()) {
      instance(o, instance);
    }

    Regions regions = federation.regions();
    o.i32(regions.nextRegion);
    o.i32(regions.byHandle().size());
    for (Map.Entry<Integer, Regions.Region> e : regions.byHandle().entrySet()) {
      o.i32(e.getKey());
      o.i32(e.getValue().creator());
      o.ints(e.getValue().dimensions());
      o.ints(e.getValue().bounds());
    }

    Advisories advisories = federation.advisories();
    o.setsByMember(advisories.relevantClasses);
    o.setsByMember(advisories.relevantInteractions);

    byte[] body = o.bytes.toByteArray();
    CRC32 crc = new CRC32();
    crc.update(body);
    java.nio.ByteBuffer file = java.nio.ByteBuffer.allocate(HEADER + body.length + 4);
    file.put(MAGIC).putShort((short) VERSION).putShort((short) MessageCodec.PROTOCOL_VERSION).putInt(body.length)
        .put(body).putInt((int) crc.getValue());
    return file.array();
  }

  private static void member(Out o, Member m) {
    o.i32(m.handle);
    o.string(m.name);
    o.string(m.type);
    o.i32(m.published.size());
    m.published.forEach((c, attributes) -> {
      o.i32(c);
      o.bits(attributes);
    });
    o.handles(m.publishedInteractions);
    o.i32(m.subscribed.size());
    m.subscribed.forEach((c, s) -> {
      o.i32(c);
      o.bits(s.attributes);
      o.bits(s.everywhere);
      o.bitsByHandle(s.regions);
      o.bool(s.active);
      o.string(s.updateRate);
    });
    o.i32(m.subscribedInteractions.size());
    m.subscribedInteractions.forEach((c, active) -> {
      o.i32(c);
      o.bool(active);
    });
    o.handles(m.interactionsEverywhere);
    o.bitsByHandle(m.interactionRegions);
    for (boolean on : m.advisories) {
      o.bool(on);
    }
    o.bool(m.conveyProducingFederate);
    o.bool(m.conveyRegionDesignatorSets);
    o.i32(m.reservedNames.size());
    m.reservedNames.stream().sorted().forEach(o::string);
    o.numbers(m.interactionTransportation);

    TimeManagement.TimeState t = m.time;
    o.bool(t.regulating);
    o.bool(t.constrained);
    o.bool(t.constrainedPending);
    o.bool(t.asynchronous);
    o.i64(t.time);
    o.bytes(t.lookahead);
    o.i64(t.promise.time());
    o.bool(t.promise.strict());
    o.i32(t.request);
    o.i64(t.requested);
    o.bool(t.grantedAvailable);
    o.i64(t.arrivals);
    o.i64(t.earliest);
    o.bool(t.earliestStrict);
    List<TimeManagement.Held> held = new ArrayList<>(t.held);
    held.sort(null);
    o.held(held);
    o.held(t.receiveOrder);
    o.i32(t.sent.size());
    t.sent.forEach((serial, sent) -> {
      o.i32(serial);
      o.i64(sent.time);
      o.retraction(sent.handle);
      o.i32(sent.count);
      for (int i = 0; i < sent.count; i++) {
        o.i32(sent.receivers[i].handle);
      }
    });
  }

  private static void instance(Out o, Instance instance) {
    o.i32(instance.handle);
    o.string(instance.name);
    o.i32(instance.registeredClass);
    o.i32(instance.registrant);
    o.numbers(instance.owners);
    o.i32(instance.divesting.size());
    instance.divesting.forEach((attribute, tag) -> {
      o.i32(attribute);
      o.bytes(tag);
    });
    o.i32(instance.acquirers.size());
    instance.acquirers.forEach((attribute, queue) -> {
      o.i32(attribute);
      o.i32(queue.size());
      queue.forEach((member, tag) -> {
        o.i32(member);
        o.bytes(tag);
      });
    });
    o.numbers(instance.knownClass);
    o.bitsByHandle(instance.updateRegions);
    o.numbers(instance.transportation);
    o.bitsByHandle(instance.toldRelevant);
    o.bitsByHandle(instance.toldInScope);
  }

  /** Out writes the body's values (a stream in memory: nothing it does can fail). */
  private static final class Out {
    final java.io.ByteArrayOutputStream bytes = new java.io.ByteArrayOutputStream();
    final java.io.DataOutputStream data = new java.io.DataOutputStream(bytes);

    void i32(int v) {
      try {
        data.writeInt(v);
      } catch (IOException e) {
        throw new java.io.UncheckedIOException(e);
      }
    }

    void i64(long v) {
      i32((int) (v >>> 32));
      i32((int) v);
    }

    void bool(boolean v) {
      bytes.write(v ? 1 : 0);
    }

    void bytes(byte[] v) {
      if (v == null) {
        i32(-1);
      } else {
        i32(v.length);
        bytes.writeBytes(v);
      }
    }

    void string(String v) {
      bytes(v == null ? null : v.getBytes(StandardCharsets.UTF_8));
    }

    void ints(int[] v) {
      i32(v.length);
      for (int x : v) {
        i32(x);
      }
    }

    void handles(Set<Integer> v) {
      ints(v.stream().mapToInt(Integer::intValue).sorted().toArray());
    }

    void bits(BitSet v) {
      ints(v.stream().toArray());
    }

    void bitsByHandle(Map<Integer, BitSet> v) {
      i32(v.size());
      v.entrySet().stream().sorted(Map.Entry.comparingByKey()).forEach(e -> {
        i32(e.getKey());
        bits(e.getValue());
      });
    }

    void setsByMember(Map<Integer, Set<Integer>> v) {
      i32(v.size());
      v.entrySet().stream().sorted(Map.Entry.comparingByKey()).forEach(e -> {
        i32(e.getKey());
        handles(e.getValue());
      });
    }

    void numbers(Map<Integer, Integer> v) {
      i32(v.size());
      v.entrySet().stream().sorted(Map.Entry.comparingByKey()).forEach(e -> {
        i32(e.getKey());
        i32(e.getValue());
      });
    }

    void retraction(RetractionHandle h) {
      bool(h != null);
      if (h != null) {
        i32(h.serial());
        bytes(h.payload());
      }
    }

    void message(Message m) {
      FrameBuffer frame = new FrameBuffer();
      CODEC.encode(m, 0, frame);
      bytes(frame.toByteArray());
    }

    void held(java.util.Collection<TimeManagement.Held> held) {
      i32(held.size());
      for (TimeManagement.Held h : held) {
        i64(h.time());
        i64(h.arrival());
        message(h.event());
        retraction(h.retraction());
      }
    }
  }

  // ---- reading

  static Federation read(FederationEngine engine, Path file) throws IOException, SaveFileException {
    return decode(engine, Files.readAllBytes(file), file.toString());
  }

  /** decode rebuilds a federation from a save file's bytes; where names the file in messages. */
  static Federation decode(FederationEngine engine, byte[] bytes, String where) throws SaveFileException {
    return fill(null, engine, body(bytes, where));
  }

  /**
   * restoreInto replaces the state of a live federation with the one saved in bytes (decode
   * them first: this checks them again, but a failure now would leave the federation
   * emptied). Its members come back without sessions: the caller binds them.
   */
  static void restoreInto(Federation target, byte[] bytes, String where) throws SaveFileException {
    fill(target, null, body(bytes, where));
  }

  /** body checks the file's header and checksum and returns a reader of its body. */
  private static In body(byte[] bytes, String where) throws SaveFileException {
    if (bytes.length < HEADER + 4 || !java.util.Arrays.equals(bytes, 0, MAGIC.length, MAGIC, 0, MAGIC.length)) {
      throw new SaveFileException(where + " is not a federation save file (it does not begin with OSTRASAV)");
    }
    In header = new In(where, bytes, MAGIC.length, bytes.length);
    int version = header.u16();
    int protocol = header.u16();
    if (version != VERSION || protocol < MessageCodec.OLDEST_READABLE_PROTOCOL
        || protocol > MessageCodec.PROTOCOL_VERSION) {
      throw new SaveFileException(where + " is a save file of format " + version + " with protocol " + protocol
          + "; this release reads format " + VERSION + " with protocol " + MessageCodec.OLDEST_READABLE_PROTOCOL
          + " to " + MessageCodec.PROTOCOL_VERSION);
    }
    long length = header.i32() & 0xFFFF_FFFFL;
    if (length != bytes.length - HEADER - 4L) {
      throw new SaveFileException(where + " is truncated or damaged: its body should be " + length
          + " bytes, the file holds " + (bytes.length - HEADER - 4L));
    }
    CRC32 crc = new CRC32();
    crc.update(bytes, HEADER, (int) length);
    In trailer = new In(where, bytes, bytes.length - 4, bytes.length);
    if ((int) crc.getValue() != trailer.i32()) {
      throw new SaveFileException(where + " is damaged: its checksum does not match its contents");
    }
    return new In(where, bytes, HEADER, HEADER + (int) length);
  }

  /** fill reads the body into target (emptied first), or into a new federation of engine when target is null. */
  private static Federation fill(Federation target, FederationEngine engine, In in) throws SaveFileException {
    try {
      Federation federation = fillChecked(target, engine, in);
      if (in.pos != in.end) {
        throw in.fail((in.end - in.pos) + " bytes after the last region");
      }
      return federation;
    } catch (RuntimeException e) {
      throw new SaveFileException(in.where + " holds a state that cannot be restored (" + e + ") near byte " + in.pos);
    }
  }

  private static Federation fillChecked(Federation target, FederationEngine engine, In in) throws SaveFileException {
    String name = in.string();
    String timeImplementation = in.string();
    String label = in.string();
    byte[] time = in.bytesOrNull();
    if (!(in.message() instanceof FederationMessages.ModelExtended model)) {
      throw in.fail("the model is not where it belongs");
    }
    Federation federation;
    if (target == null) {
      federation = new Federation(engine, name, timeImplementation, model.model());
    } else {
      if (!target.name().equals(name) || !target.timeImplementation().equals(timeImplementation)) {
        throw in.fail("a save of federation " + name + " (" + timeImplementation + "), not of " + target.name());
      }
      federation = target;
      federation.clearForRestore(model.model());
    }
    federation.nextFederate = in.i32();
    federation.automaticResign = in.i32();

    Map<Integer, Member> members = new LinkedHashMap<>();
    Map<Integer, byte[]> states = new java.util.HashMap<>();
    Map<Member, List<Integer>> pendingReceivers = new LinkedHashMap<>();
    for (int n = in.count(); n > 0; n--) {
      Member m = member(in, federation, pendingReceivers);
      if (members.put(m.handle, m) != null || m.handle <= 0 || m.handle >= federation.nextFederate) {
        throw in.fail("federate handle " + m.handle + " twice or out of range");
      }
      byte[] state = in.bytesOrNull();
      if (state != null) {
        states.put(m.handle, state);
      }
    }
    federation.saves().restoredAs(label, time, states);
    for (Member m : members.values()) {
      federation.adopt(m);
    }
    for (Map.Entry<Member, List<Integer>> e : pendingReceivers.entrySet()) {
      // Receivers of retractable messages name members read after their sender.
      java.util.Iterator<Integer> receivers = e.getValue().iterator();
      for (TimeManagement.Sent sent : e.getKey().time.sent.values()) {
        int count = receivers.next();
        for (int i = 0; i < count; i++) {
          Member receiver = members.get(receivers.next());
          if (receiver == null) {
            throw in.fail("a retractable message names a federate that is not saved");
          }
          sent.add(receiver);
        }
      }
    }

    for (int n = in.count(); n > 0; n--) {
      Federation.SyncPoint p = new Federation.SyncPoint(in.string(), in.bytes(), in.bool());
      p.members.addAll(in.handles());
      p.waiting.addAll(in.handles());
      p.failed.addAll(in.handles());
      federation.syncPoints.put(p.label, p);
    }

    ObjectManagement objects = federation.objects();
    objects.nextInstance = in.i32();
    for (int n = in.count(); n > 0; n--) {
      objects.adopt(instance(in));
    }

    Regions regions = federation.regions();
    regions.nextRegion = in.i32();
    for (int n = in.count(); n > 0; n--) {
      int handle = in.i32();
      int creator = in.i32();
      int[] dimensions = in.ints();
      int[] bounds = in.ints();
      if (bounds.length != 2 * dimensions.length) {
        throw in.fail("region " + handle + " has " + dimensions.length + " dimensions and " + bounds.length
            + " bounds");
      }
      regions.put(handle, new Regions.Region(creator, dimensions, bounds));
    }

    Advisories advisories = federation.advisories();
    advisories.relevantClasses.putAll(in.setsByMember());
    advisories.relevantInteractions.putAll(in.setsByMember());
    return federation;
  }

  private static Member member(In in, Federation federation, Map<Member, List<Integer>> pendingReceivers)
      throws SaveFileException {
    Member m = new Member(in.i32(), in.string(), in.string(), null);
    for (int n = in.count(); n > 0; n--) {
      m.published.put(in.i32(), in.bits());
    }
    m.publishedInteractions.addAll(in.handles());
    for (int n = in.count(); n > 0; n--) {
      int c = in.i32();
      Member.Subscription s = new Member.Subscription();
      s.attributes.or(in.bits());
      s.everywhere.or(in.bits());
      s.regions.putAll(in.bitsByHandle());
      s.active = in.bool();
      s.updateRate = in.string();
      m.subscribed.put(c, s);
    }
    for (int n = in.count(); n > 0; n--) {
      m.subscribedInteractions.put(in.i32(), in.bool());
    }
    m.interactionsEverywhere.addAll(in.handles());
    m.interactionRegions.putAll(in.bitsByHandle());
    for (int i = 0; i < m.advisories.length; i++) {
      m.advisories[i] = in.bool();
    }
    m.conveyProducingFederate = in.bool();
    m.conveyRegionDesignatorSets = in.bool();
    for (int n = in.count(); n > 0; n--) {
      m.reservedNames.add(in.string());
    }
    m.interactionTransportation.putAll(in.numbers());

    TimeManagement.TimeState t = new TimeManagement.TimeState(0);
    m.time = t;
    t.regulating = in.bool();
    t.constrained = in.bool();
    t.constrainedPending = in.bool();
    t.asynchronous = in.bool();
    t.time = in.i64();
    t.lookahead = in.bytesOrNull();
    t.promise = new Bound(in.i64(), in.bool());
    t.request = in.i32();
    t.requested = in.i64();
    t.grantedAvailable = in.bool();
    t.arrivals = in.i64();
    t.earliest = in.i64();
    t.earliestStrict = in.bool();
    t.held.addAll(in.held());
    t.receiveOrder.addAll(in.held());
    List<Integer> receivers = new ArrayList<>();
    for (int n = in.count(); n > 0; n--) {
      int serial = in.i32();
      TimeManagement.Sent sent = new TimeManagement.Sent(in.i64(), in.retraction());
      t.sent.put(serial, sent);
      int count = in.count();
      receivers.add(count);
      for (int i = 0; i < count; i++) {
        receivers.add(in.i32());
      }
    }
    pendingReceivers.put(m, receivers);
    return m;
  }

  private static Instance instance(In in) throws SaveFileException {
    Instance instance = new Instance(in.i32(), in.string(), in.i32(), in.i32());
    instance.owners.putAll(in.numbers());
    for (int n = in.count(); n > 0; n--) {
      instance.divesting.put(in.i32(), in.bytes());
    }
    for (int n = in.count(); n > 0; n--) {
      int attribute = in.i32();
      java.util.LinkedHashMap<Integer, byte[]> queue = new java.util.LinkedHashMap<>();
      for (int k = in.count(); k > 0; k--) {
        queue.put(in.i32(), in.bytes());
      }
      instance.acquirers.put(attribute, queue);
    }
    instance.knownClass.putAll(in.numbers());
    instance.updateRegions.putAll(in.bitsByHandle());
    instance.transportation.putAll(in.numbers());
    instance.toldRelevant.putAll(in.bitsByHandle());
    instance.toldInScope.putAll(in.bitsByHandle());
    return instance;
  }

  /** In reads the body's values, checking every length against what is left. */
  private static final class In {
    final String where;
    final byte[] bytes;
    int pos;
    final int end;

    In(String where, byte[] bytes, int pos, int end) {
      this.where = where;
      this.bytes = bytes;
      this.pos = pos;
      this.end = end;
    }

    SaveFileException fail(String problem) {
      return new SaveFileException(where + " is damaged: " + problem + " at byte " + pos);
    }

    private void need(long n) throws SaveFileException {
      if (n > end - pos) {
        throw fail("it ends " + (n - (end - pos)) + " bytes too early");
      }
    }

    int u8() throws SaveFileException {
      need(1);
      return bytes[pos++] & 0xFF;
    }

    int u16() throws SaveFileException {
      return u8() << 8 | u8();
    }

    int i32() throws SaveFileException {
      need(4);
      int v = (bytes[pos] & 0xFF) << 24 | (bytes[pos + 1] & 0xFF) << 16 | (bytes[pos + 2] & 0xFF) << 8
          | (bytes[pos + 3] & 0xFF);
      pos += 4;
      return v;
    }

    long i64() throws SaveFileException {
      return (long) i32() << 32 | (i32() & 0xFFFF_FFFFL);
    }

    boolean bool() throws SaveFileException {
      int v = u8();
      if (v > 1) {
        throw fail("a flag of " + v);
      }
      return v == 1;
    }

    /** count reads a count of elements of at least one byte each, so it cannot exceed what is left. */
    int count() throws SaveFileException {
      int n = i32();
      if (n < 0 || n > end - pos) {
        throw fail("a count of " + n + " with " + (end - pos) + " bytes left");
      }
      return n;
    }

    byte[] bytesOrNull() throws SaveFileException {
      int n = i32();
      if (n == -1) {
        return null;
      }
      if (n < 0) {
        throw fail("a length of " + n);
      }
      need(n);
      byte[] v = java.util.Arrays.copyOfRange(bytes, pos, pos + n);
      pos += n;
      return v;
    }

    byte[] bytes() throws SaveFileException {
      byte[] v = bytesOrNull();
      if (v == null) {
        throw fail("no bytes where some belong");
      }
      return v;
    }

    String string() throws SaveFileException {
      byte[] v = bytesOrNull();
      if (v == null) {
        return null;
      }
      try {
        return StandardCharsets.UTF_8.newDecoder().decode(java.nio.ByteBuffer.wrap(v)).toString();
      } catch (java.nio.charset.CharacterCodingException e) {
        throw fail("a string that is not UTF-8");
      }
    }

    int[] ints() throws SaveFileException {
      int n = count();
      need(4L * n);
      int[] v = new int[n];
      for (int i = 0; i < n; i++) {
        v[i] = i32();
      }
      return v;
    }

    List<Integer> handles() throws SaveFileException {
      return java.util.Arrays.stream(ints()).boxed().toList();
    }

    BitSet bits() throws SaveFileException {
      BitSet v = new BitSet();
      for (int x : ints()) {
        if (x < 0 || x > MAX_HANDLE) {
          throw fail("a handle of " + x);
        }
        v.set(x);
      }
      return v;
    }

    Map<Integer, BitSet> bitsByHandle() throws SaveFileException {
      Map<Integer, BitSet> v = new java.util.HashMap<>();
      for (int n = count(); n > 0; n--) {
        v.put(i32(), bits());
      }
      return v;
    }

    Map<Integer, Set<Integer>> setsByMember() throws SaveFileException {
      Map<Integer, Set<Integer>> v = new java.util.HashMap<>();
      for (int n = count(); n > 0; n--) {
        v.put(i32(), new java.util.HashSet<>(handles()));
      }
      return v;
    }

    Map<Integer, Integer> numbers() throws SaveFileException {
      Map<Integer, Integer> v = new java.util.HashMap<>();
      for (int n = count(); n > 0; n--) {
        v.put(i32(), i32());
      }
      return v;
    }

    RetractionHandle retraction() throws SaveFileException {
      return bool() ? new RetractionHandle(i32(), bytes()) : null;
    }

    Message message() throws SaveFileException {
      byte[] frame = bytes();
      try {
        return CODEC.decode(frame).message();
      } catch (MessageFormatException e) {
        throw fail("a message that does not read (" + e.getMessage() + ")");
      }
    }

    List<TimeManagement.Held> held() throws SaveFileException {
      List<TimeManagement.Held> v = new ArrayList<>();
      for (int n = count(); n > 0; n--) {
        long time = i64();
        long arrival = i64();
        if (!(message() instanceof Event event)) {
          throw fail("a held message that is not one a federate receives");
        }
        v.add(new TimeManagement.Held(time, arrival, event, retraction()));
      }
      return v;
    }
  }
}
