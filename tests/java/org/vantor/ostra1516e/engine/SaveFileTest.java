package org.vantor.ostra1516e.engine;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import hla.rti1516e.exceptions.RTIexception;
import java.nio.ByteBuffer;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Random;
import java.util.zip.CRC32;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.vantor.ostra1516e.lrc.Callback;
import org.vantor.ostra1516e.lrc.LocalRtiComponent;
import org.vantor.ostra1516e.message.OwnershipMessages;
import org.vantor.ostra1516e.message.TimeMessages;
import org.vantor.ostra1516e.transport.InProcessTransport;
import org.vantor.ostra1516e.wire.AttributeRegions;
import org.vantor.ostra1516e.wire.CallbackMethod;
import org.vantor.ostra1516e.wire.HandleValues;
import org.vantor.ostra1516e.wire.RangeBounds;
import org.vantor.ostra1516e.wire.ServiceMethod;

/**
 * The save file: a federation with some of every kind of state is saved, read back and
 * written again to the same bytes; damaged, truncated and foreign files are refused with a
 * message and nothing else (a restore from one is refused and changes nothing); a save
 * that cannot be written fails and the federation goes on.
 */
class SaveFileTest {
  private static final String VEHICLES =
      Path.of(System.getProperty("ostra.fomModules"), "Vehicles.xml").toString();

  /** The callback model of HLA_EVOKED, as the library numbers it. */
  private static final int EVOKED = 1;

  @TempDir
  Path saves;

  private record Joined(LocalRtiComponent lrc, List<Callback> seen) {
    List<String> drain() throws RTIexception {
      while (lrc.evokeMultipleCallbacks(0, 0.05)) {
        // until nothing is pending
      }
      List<String> names = seen.stream().map(c -> c.method().name()).toList();
      seen.clear();
      return names;
    }
  }

  private static Joined join(FederationEngine engine, String federation, String name) throws RTIexception {
    List<Callback> seen = new java.util.concurrent.CopyOnWriteArrayList<>();
    LocalRtiComponent lrc = new LocalRtiComponent(new InProcessTransport(engine), (fa, c) -> seen.add(c));
    lrc.connect(1, EVOKED, "");
    lrc.joinFederationExecution(ServiceMethod.joinFederationExecution_S_S_S_URLX, name, "type-" + name, federation,
        List.of());
    return new Joined(lrc, seen);
  }

  private static byte[] time(long t) {
    return ByteBuffer.allocate(8).putLong(t).array();
  }

  /** busyFederation makes a federation with objects, ownership under way, regions, held messages and a sync point. */
  private static Joined[] busyFederation(FederationEngine engine, String federation) throws RTIexception {
    LocalRtiComponent creator = new LocalRtiComponent(new InProcessTransport(engine), (fa, c) -> { });
    creator.connect(1, EVOKED, "");
    creator.createFederationExecution(ServiceMethod.createFederationExecution_S_URL_S, federation, List.of(VEHICLES),
        null, "HLAinteger64Time");
    Joined a = join(engine, federation, "a");
    Joined b = join(engine, federation, "b");
    var sa = a.lrc.support();
    int vehicle = sa.getObjectClassHandle("Vehicle");
    int position = sa.getAttributeHandle(vehicle, "Position");
    int speed = sa.getAttributeHandle(vehicle, "Speed");
    int lane = sa.getDimensionHandle("Lane");
    int collision = sa.getInteractionClassHandle("Collision");
    int region = a.lrc.regions().createRegion(new int[] {lane});
    a.lrc.regions().setRangeBounds(region, lane, new RangeBounds(2, 5));
    a.lrc.regions().commitRegionModifications(new int[] {region});
    a.lrc.objects().publishObjectClassAttributes(vehicle, new int[] {position, speed});
    b.lrc.objects().publishObjectClassAttributes(vehicle, new int[] {position, speed});
    int near = b.lrc.regions().createRegion(new int[] {lane});
    b.lrc.regions().setRangeBounds(near, lane, new RangeBounds(4, 8));
    b.lrc.regions().commitRegionModifications(new int[] {near});
    b.lrc.objects().subscribeObjectClassAttributes(ServiceMethod.subscribeObjectClassAttributesWithRegions_OCH_ASRSPL_Z_S,
        vehicle, List.of(new AttributeRegions(new int[] {position}, new int[] {near})), true, "");
    a.lrc.objects().reserveObjectInstanceName("car");
    a.drain();
    int car = a.lrc.objects().registerObjectInstance(ServiceMethod.registerObjectInstanceWithRegions_OCH_ASRSPL,
        vehicle, List.of(new AttributeRegions(new int[] {position}, new int[] {region})), "car");
    a.lrc.objects().reserveObjectInstanceName("spare");
    b.drain();
    a.lrc.objects().divest(ServiceMethod.negotiatedAttributeOwnershipDivestiture_OIH_AHS_BX, car, new int[] {speed},
        OwnershipMessages.NEGOTIATED, new byte[] {7});
    b.lrc.objects().acquire(ServiceMethod.attributeOwnershipAcquisition_OIH_AHS_BX, car, new int[] {position},
        OwnershipMessages.ACQUIRE, new byte[] {8});
    a.lrc.objects().publishInteractionClass(collision);
    b.lrc.objects().subscribeInteractionClass(collision, true);
    a.lrc.time().enableTimeRegulation(time(1));
    b.lrc.time().enableTimeConstrained();
    a.drain();
    b.drain();
    a.lrc.objects().sendInteraction(ServiceMethod.sendInteraction_ICH_PHVM_BX_LT, collision, HandleValues.of(),
        new byte[] {9}, time(5));
    b.lrc.time().timeAdvanceRequest(ServiceMethod.timeAdvanceRequest_LT, TimeMessages.TIME_ADVANCE, time(10));
    a.lrc.registerFederationSynchronizationPoint(ServiceMethod.registerFederationSynchronizationPoint_S_BX, "half",
        new byte[] {1}, new int[0]);
    a.drain();
    a.lrc.synchronizationPointAchieved("half", true);
    a.drain();
    b.drain();
    return new Joined[] {a, b};
  }

  private static void save(Joined[] joined, String label) throws RTIexception {
    joined[0].lrc.requestFederationSave(ServiceMethod.requestFederationSave_S, label, null);
    for (Joined j : joined) {
      assertEquals(List.of(CallbackMethod.initiateFederateSave_S_Native.name()), j.drain());
      j.lrc.federateSaveBegun();
      j.lrc.federateSaveComplete(ServiceMethod.federateSaveComplete, true);
    }
  }

  @Test
  void everyKindOfStateReadsBackToTheSameBytes() throws Exception {
    FederationEngine engine = new FederationEngine(0, saves);
    Joined[] joined = busyFederation(engine, "round trip/1");
    save(joined, "before lunch");
    for (Joined j : joined) {
      assertEquals(List.of(CallbackMethod.federationSaved_Native.name()), j.drain());
    }
    Path file = saves.resolve("round%20trip%2F1").resolve("before%20lunch.save");
    assertTrue(Files.isRegularFile(file), file + " was written");
    byte[] bytes = Files.readAllBytes(file);

    Federation read = SaveFile.read(new FederationEngine(0, saves), file);
    assertArrayEquals(bytes, SaveFile.encode(read), "written again, the same bytes");
    assertEquals("round trip/1", read.name());
    assertEquals(List.of("a", "b"), java.util.stream.StreamSupport.stream(read.members().spliterator(), false)
        .map(m -> m.name).toList());
    Instance car = read.objects().instances.values().stream().filter(i -> i.name.equals("car")).findFirst()
        .orElseThrow();
    assertEquals(1, car.divesting.size(), "a divests speed by negotiation");
    assertEquals(1, car.acquirers.size(), "b is acquiring position");
    Member b = read.member(2);
    assertEquals(1, b.time.held.size(), "b holds the collision at 5");
    assertEquals(1, read.syncPoints.size());
    assertTrue(read.member(1).reservedNames.contains("spare"));
  }

  @Test
  void damagedTruncatedAndForeignFilesAreRefusedWithAMessage() throws Exception {
    FederationEngine engine = new FederationEngine(0, saves);
    Joined[] joined = busyFederation(engine, "damaged");
    save(joined, "s");
    byte[] good = Files.readAllBytes(saves.resolve("damaged").resolve("s.save"));
    List<byte[]> bad = new ArrayList<>();
    for (int n = 0; n < good.length; n += 1 + n / 16) {
      bad.add(java.util.Arrays.copyOf(good, n));
    }
    for (int at = 0; at < good.length; at += 1 + at / 32) {
      byte[] flipped = good.clone();
      flipped[at] ^= 0x10;
      bad.add(flipped);
    }
    bad.add("<objectModel/>".getBytes(java.nio.charset.StandardCharsets.UTF_8));
    byte[] later = good.clone();
    later[9] = 2;  // format 2
    bad.add(later);
    for (byte[] file : bad) {
      SaveFile.SaveFileException e = assertThrows(SaveFile.SaveFileException.class,
          () -> SaveFile.decode(engine, file, "f.save"), file.length + " bytes");
      assertTrue(e.getMessage().startsWith("f.save "), e.getMessage());
    }
    // Asked to restore from a damaged file, the federation refuses and goes on as it was.
    Path file = saves.resolve("damaged").resolve("s.save");
    Files.write(file, bad.get(bad.size() / 2));
    for (Joined j : joined) {
      assertEquals(List.of(CallbackMethod.federationSaved_Native.name()), j.drain());
    }
    joined[0].lrc.requestFederationRestore("s");
    assertEquals(List.of(CallbackMethod.requestFederationRestoreFailed_S_Native.name()), joined[0].drain());
    assertEquals(List.of(), joined[1].drain());
    joined[0].lrc.time().timeAdvanceRequest(ServiceMethod.timeAdvanceRequest_LT, TimeMessages.TIME_ADVANCE,
        time(10));
    assertEquals(List.of(CallbackMethod.receiveInteraction_ICH_PHVM_BX_OT_TTH_LT_OT_MRH_FASRI_Native.name(),
        CallbackMethod.timeAdvanceGrant_LT_Native.name()), joined[1].drain(), "time goes on");
    assertEquals("f.save is a save file of format 2 with protocol " + org.vantor.ostra1516e.transport.MessageCodec
        .PROTOCOL_VERSION + "; this release reads format 1 with protocol 3 to " + org.vantor.ostra1516e.transport
        .MessageCodec.PROTOCOL_VERSION, assertThrows(SaveFile.SaveFileException.class,
            () -> SaveFile.decode(engine, later, "f.save")).getMessage());
  }

  /**
   * A body changed behind a matching checksum (as a hand-edited or maliciously made file
   * could be) either reads or is refused with a message: never another failure. Seeded.
   */
  @Test
  void changedBodiesWithGoodChecksumsNeverFailOtherwise() throws Exception {
    FederationEngine engine = new FederationEngine(0, saves);
    save(busyFederation(engine, "fuzzed"), "s");
    byte[] good = Files.readAllBytes(saves.resolve("fuzzed").resolve("s.save"));
    long seed = Long.getLong("ostra.saveSeed", System.nanoTime());
    Random random = new Random(seed);
    int header = 16;
    for (int round = 0; round < 3000; round++) {
      byte[] file = good.clone();
      for (int k = 1 + random.nextInt(4); k > 0; k--) {
        int at = header + random.nextInt(file.length - header - 4);
        file[at] = (byte) (random.nextBoolean() ? random.nextInt(256) : file[at] ^ (1 << random.nextInt(8)));
      }
      CRC32 crc = new CRC32();
      crc.update(file, header, file.length - header - 4);
      ByteBuffer.wrap(file).putInt(file.length - 4, (int) crc.getValue());
      try {
        SaveFile.decode(engine, file, "f.save");
      } catch (SaveFile.SaveFileException expected) {
        // refused with a message
      } catch (RuntimeException | Error e) {
        throw new AssertionError("seed " + seed + " (-Dostra.saveSeed=" + seed + " repeats it), round " + round, e);
      }
    }
  }

  @Test
  void aSaveThatCannotBeWrittenFailsAndTheFederationGoesOn() throws Exception {
    Path notADirectory = Files.writeString(saves.resolve("occupied"), "a file where the directory should be");
    FederationEngine engine = new FederationEngine(0, notADirectory);
    Joined[] joined = busyFederation(engine, "unwritable");
    save(joined, "s");
    for (Joined j : joined) {
      assertEquals(List.of(CallbackMethod.federationNotSaved_SFR_Native.name()), j.drain());
    }
    joined[0].lrc.time().timeAdvanceRequest(ServiceMethod.timeAdvanceRequest_LT, TimeMessages.TIME_ADVANCE, time(10));
    assertEquals(List.of(CallbackMethod.receiveInteraction_ICH_PHVM_BX_OT_TTH_LT_OT_MRH_FASRI_Native.name(),
        CallbackMethod.timeAdvanceGrant_LT_Native.name()), joined[1].drain(), "time goes on after the failed save");
  }
}
