package org.vantor.ostra1516e.fom;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.file.Path;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.TreeMap;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

/** Merging the vehicle and traffic modules over the MIM: handles and lookups. */
class FomModelTest {
  private static final FomModule MIM = FomModule.standardMim();

  private static FomModel vehiclesAndTraffic() throws FomException {
    return FomModel.create(MIM, List.of(Modules.read("Vehicles.xml"), Modules.read("Traffic.xml")));
  }

  /** Every class and member name of a model with its handle. */
  private static Map<String, Integer> handles(FomModel m) {
    Map<String, Integer> all = new TreeMap<>();
    for (int c = 1; c <= m.objectClassCount(); c++) {
      String name = m.objectClassName(c).orElseThrow();
      all.put("o " + name, c);
      for (int a : m.availableAttributes(c)) {
        all.put("a " + name + "." + m.attributeName(c, a).orElseThrow(), a);
      }
    }
    for (int c = 1; c <= m.interactionClassCount(); c++) {
      String name = m.interactionClassName(c).orElseThrow();
      all.put("i " + name, c);
      for (int p : m.availableParameters(c)) {
        all.put("p " + name + "." + m.parameterName(c, p).orElseThrow(), p);
      }
    }
    for (int d = 1; d <= m.dimensionCount(); d++) {
      all.put("d " + m.dimensionName(d).orElseThrow(), d);
    }
    return all;
  }

  @Test
  void handlesAreNumberedInMergeOrderAndRepeatable() throws Exception {
    FomModel m = vehiclesAndTraffic();
    assertEquals(List.of(5, 6, 7, 8, 9, 10), List.of(m.objectClassHandle("Vehicle"),
        m.objectClassHandle("Vehicle.Car"), m.objectClassHandle("Truck"),
        m.objectClassHandle("Bus"), m.objectClassHandle("Train"),
        m.objectClassHandle("Train.Car")));
    int vehicle = m.objectClassHandle("Vehicle");
    assertEquals(List.of(46, 47), m.declaredAttributes(vehicle));
    assertEquals(List.of(86, 87, 88), List.of(m.interactionClassHandle("Collision"),
        m.interactionClassHandle("Pileup"), m.interactionClassHandle("LightChange")));
    assertEquals(3, m.dimensionHandle("Lane"));

    // Same modules, same order, parsed again: the same handles for everything.
    assertEquals(handles(m), handles(vehiclesAndTraffic()));

    // Joining with Traffic later keeps every handle of the first model and gives the same ones.
    FomModel first = FomModel.create(MIM, List.of(Modules.read("Vehicles.xml")));
    Map<String, Integer> before = handles(first);
    FomModel extended = first.extend(List.of(Modules.read("Traffic.xml")));
    assertEquals(handles(m), handles(extended));
    assertTrue(handles(extended).entrySet().containsAll(before.entrySet()));
    assertEquals(before, handles(first));
    assertEquals(FomModel.NONE, first.objectClassHandle("Bus"));
    assertEquals(List.of(Modules.path("Vehicles.xml"), Modules.path("Traffic.xml")),
        extended.moduleDesignators());
    assertEquals("HLAstandardMIM", extended.mimDesignator());
  }

  @Test
  void inheritedMembersKeepTheirHandles() throws Exception {
    FomModel m = vehiclesAndTraffic();
    int vehicle = m.objectClassHandle("HLAobjectRoot.Vehicle");
    int bus = m.objectClassHandle("Bus");
    int speed = m.attributeHandle(vehicle, "Speed");
    assertEquals(speed, m.attributeHandle(bus, "Speed"));
    assertEquals(vehicle, m.attributeDeclaringClass(speed));
    assertEquals(Set.of(1, 46, 47, 50), m.availableAttributes(bus));
    assertTrue(m.isAttributeAvailable(bus, speed));
    assertFalse(m.isAttributeAvailable(vehicle, m.attributeHandle(bus, "Route")));
    assertFalse(m.isAttributeAvailable(m.objectClassHandle("Train.Car"), speed));
    assertEquals("HLAbestEffort", m.attributeTransportation(speed).orElseThrow());
    assertEquals(Set.of(3, 4), m.availableDimensions(bus, m.attributeHandle(bus, "Position")));
    assertTrue(m.availableDimensions(m.objectClassHandle("Train"), speed).isEmpty());

    // An attribute that gives neither transportation nor order reads as reliable, receive order.
    int wagon = m.attributeHandle(m.objectClassHandle("Train.Car"), "Wagon");
    assertEquals(List.of("HLAreliable", "Receive"), List.of(
        m.attributeTransportation(wagon).orElseThrow(), m.attributeOrder(wagon).orElseThrow()));

    int collision = m.interactionClassHandle("Collision");
    int pileup = m.interactionClassHandle("Collision.Pileup");
    assertEquals(m.parameterHandle(collision, "Severity"), m.parameterHandle(pileup, "Severity"));
    assertEquals(3, m.availableParameters(pileup).size());
    assertTrue(m.isInteractionSubclassOf(pileup, collision));
    assertTrue(m.isInteractionSubclassOf(pileup, 1));
    assertFalse(m.isInteractionSubclassOf(collision, pileup));
    assertEquals(collision, m.interactionClassParent(pileup));
    assertEquals(Set.of(3), m.interactionDimensions(collision));
    assertEquals("TimeStamp", m.interactionOrder(collision).orElseThrow());
    // Scaffolding that gives only a name does not replace what another module defines.
    assertEquals("HLAbestEffort",
        m.interactionTransportation(m.interactionClassHandle("LightChange")).orElseThrow());
  }

  @ParameterizedTest
  @CsvSource({
    "HLAobjectRoot, 1",
    "HLAobjectRoot.Vehicle.Car, 6",
    "Vehicle.Car, 6",
    "Car, -1",  // Vehicle.Car and Train.Car
    "Train.Car, 10",
    "Bus, 8",
    "HLAobjectRoot.Vehicle.Bus, 8",
    "Vehicle.Truck, 7",
    "bus, -1",
    "HLAobjectRoot.Bus, -1",
    "Car.Bus, -1",
    "HLAfederate, 3",
    "'', -1",
  })
  void objectClassNames(String name, int handle) throws Exception {
    FomModel m = vehiclesAndTraffic();
    assertEquals(handle, m.objectClassHandle(name));
    if (handle > 0) {
      assertEquals(handle, m.objectClassHandle(m.objectClassName(handle).orElseThrow()));
    }
  }

  @Test
  void mergedTables() throws Exception {
    FomModel m = vehiclesAndTraffic();
    assertEquals(8, m.dimensionUpperBound(m.dimensionHandle("Lane")));
    assertEquals(30.0, m.updateRate("Fast").orElseThrow());
    assertEquals(0.5, m.updateRate("Slow").orElseThrow());
    assertTrue(m.updateRate("Medium").isEmpty());
    assertEquals("HLAinteger64Time", m.timeStampDataType().orElseThrow());
    assertEquals("HLAinteger64Time", m.lookaheadDataType().orElseThrow());
    // The first module that gives a switch sets it.
    assertTrue(m.switchEnabled("autoProvide"));
    assertTrue(m.switchEnabled("serviceReporting"));
    assertFalse(m.switchEnabled("exceptionReporting"));
    assertEquals("DeleteObjectsThenDivest", m.automaticResignAction());
    assertEquals(List.of("X", "Y"), m.dataType("Position2D").orElseThrow().items().stream()
        .map(f -> f.get("name")).toList());
  }

  @Test
  void repeatedModulesMergeWithoutConflict() throws Exception {
    byte[] vehicles = Modules.bytes("Vehicles.xml");
    FomModule copy = FomModule.parse("copy-of-vehicles.xml", vehicles);
    FomModel m = FomModel.create(MIM, List.of(Modules.read("Vehicles.xml"), copy));
    FomModel again = m.extend(List.of(Modules.read("Vehicles.xml"), MIM));
    assertEquals(List.of(Modules.path("Vehicles.xml"), "copy-of-vehicles.xml"),
        again.moduleDesignators());
    assertEquals(handles(FomModel.create(MIM, List.of(Modules.read("Vehicles.xml")))),
        handles(again));
  }

  @Test
  void designatorForms() throws Exception {
    Path file = Modules.dir().resolve("Vehicles.xml");
    String relative = Path.of("").toAbsolutePath().relativize(file).toString();
    for (String designator : List.of(file.toString(), relative, file.toUri().toString(),
        "file:" + file, "file://localhost" + file, "file:" + relative)) {
      FomModule m = FomModule.read(designator);
      assertEquals("Vehicles", m.name(), designator);
      assertEquals(designator, m.designator());
    }
    FomModule m = FomModule.read(file.toString());
    byte[] content = m.content();
    content[0] = 0;
    assertEquals('<', m.content()[0]);
  }
}
