package org.vantor.ostra1516e.fom;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

/** Every way a module fails, with the kind and the message the federate will see. */
class FomFailureTest {

  /**
   * Modules named "inline:TEXT" are parsed from TEXT inside objectModel, "raw:TEXT" from TEXT
   * alone; "$" stands for the modules directory.
   */
  private static FomModule module(String spec) throws Exception {
    if (spec.startsWith("raw:")) {
      return FomModule.parse("raw.xml", spec.substring(4).getBytes(StandardCharsets.UTF_8));
    }
    if (spec.startsWith("inline:")) {
      String xml = "<objectModel>" + spec.substring("inline:".length()) + "</objectModel>";
      return FomModule.parse("inline.xml", xml.getBytes(StandardCharsets.UTF_8));
    }
    return FomModule.read(spec.replace("$", Modules.dir().toString()));
  }

  @ParameterizedTest
  @CsvSource(delimiter = '|', value = {
    "$/Missing.xml | COULD_NOT_OPEN"
        + " | cannot open FOM module '$/Missing.xml': no such file ($/Missing.xml)",
    "$ | COULD_NOT_OPEN | cannot open FOM module '$': is a directory ($)",
    "'' | COULD_NOT_OPEN | cannot open FOM module '': the designator is empty",
    "http://example.com/fom.xml | COULD_NOT_OPEN | cannot open FOM module"
        + " 'http://example.com/fom.xml': only file paths and file: URLs are accepted",
    "file://example.com/fom.xml | COULD_NOT_OPEN | names host 'example.com'",
    "$/Malformed.xml | ERROR_READING | error reading FOM module '$/Malformed.xml', line 7,"
        + " element <name>: The element type \"name\" must be terminated",
    "$/WrongRoot.xml | ERROR_READING | error reading FOM module '$/WrongRoot.xml', line 2,"
        + " element <objectModelTemplate>: the root element is <objectModelTemplate>,"
        + " not <objectModel>",
    "$/NamelessAttribute.xml | ERROR_READING | error reading FOM module"
        + " '$/NamelessAttribute.xml', line 8, element <attribute>: attribute without a name",
    "raw:<!DOCTYPE objectModel [<!ENTITY x SYSTEM 'file:///etc/passwd'>]><objectModel>&x;"
        + "</objectModel> | ERROR_READING | error reading FOM module 'raw.xml', line 1:"
        + " document type declarations (DOCTYPE) are not accepted",
    "/dev/zero | COULD_NOT_OPEN | cannot open FOM module '/dev/zero': not a regular file",
    "raw: | ERROR_READING | error reading FOM module 'raw.xml', line 1: Premature end of file.",
    "inline:<objects><objectClass><name>Car</name></objectClass></objects> | ERROR_READING"
        + " | element <objectClass>: the top object class is 'Car', not HLAobjectRoot",
    "inline:<interactions><interactionClass><name>X</name></interactionClass></interactions>"
        + " | ERROR_READING | the top interaction class is 'X', not HLAinteractionRoot",
    "inline:<objects><objectClass><name>HLAobjectRoot</name><attribute><name>A</name>"
        + "</attribute><objectClass><name>B</name><attribute><name>A</name></attribute>"
        + "</objectClass></objectClass></objects> | ERROR_READING"
        + " | element <attribute>: attribute A is already inherited from HLAobjectRoot",
    "inline:<objects><objectClass><name>HLAobjectRoot</name><objectClass><name>B</name>"
        + "</objectClass><objectClass><name>B</name></objectClass></objectClass></objects>"
        + " | ERROR_READING | object class HLAobjectRoot.B is declared twice",
    "inline:<interactions><interactionClass><name>HLAinteractionRoot</name><parameter>"
        + "<name>a.b</name></parameter></interactionClass></interactions>"
        + " | ERROR_READING | parameter name 'a.b' contains '.'",
    "inline:<objects><objectClass><name>HLAobjectRoot</name><attribute><name>A</name>"
        + "<order>Timestamp</order></attribute></objectClass></objects> | ERROR_READING"
        + " | element <order>: 'Timestamp' is not one of Receive, TimeStamp",
    "inline:<dimensions><dimension><name>D</name><upperBound>-3</upperBound></dimension>"
        + "</dimensions> | ERROR_READING | upper bound '-3' is not a whole number above zero",
    "inline:<updateRates><updateRate><name>R</name><rate>fast</rate></updateRate></updateRates>"
        + " | ERROR_READING | update rate R has rate 'fast', not a number above zero",
    "inline:<switches><autoProvide isEnabled='yes'/></switches> | ERROR_READING"
        + " | switch autoProvide needs isEnabled true or false, not 'yes'",
  })
  void cannotReadModule(String spec, FomException.Kind kind, String message) {
    FomException e = assertThrows(FomException.class, () -> module(spec));
    assertEquals(kind, e.kind(), e.getMessage());
    String expected = message.replace("$", Modules.dir().toString());
    if (!e.getMessage().contains(expected)) {
      assertEquals(expected, e.getMessage());
    }
  }

  @Test
  void deepNestingIsRefusedNotOverflowed() {
    String deep = "<objectClass><name>C</name>".repeat(100_000);
    byte[] xml = ("<objectModel><objects>" + deep).getBytes(StandardCharsets.UTF_8);
    FomException e = assertThrows(FomException.class, () -> FomModule.parse("deep.xml", xml));
    assertEquals(FomException.Kind.ERROR_READING, e.kind());
    assertTrue(e.getMessage().endsWith("elements nested deeper than 500"), e.getMessage());
  }

  @ParameterizedTest
  @CsvSource(delimiter = '|', value = {
    "$/ConflictingSpeed.xml | FOM modules '$/Vehicles.xml' and '$/ConflictingSpeed.xml'"
        + " disagree on attribute HLAobjectRoot.Vehicle.Speed: dataType HLAfloat64BE"
        + " vs HLAinteger32BE",
    "$/ConflictingLane.xml | FOM modules '$/Vehicles.xml' and '$/ConflictingLane.xml'"
        + " disagree on dimension Lane: upperBound 8 vs 16",
    "$/ConflictingTime.xml | FOM modules '$/Vehicles.xml' and '$/ConflictingTime.xml'"
        + " disagree on time stamp data type: HLAinteger64Time vs HLAfloat64Time",
    "inline:<objects><objectClass><name>HLAobjectRoot</name><objectClass><name>Vehicle</name>"
        + "<attribute><name>Color</name></attribute></objectClass></objectClass></objects>"
        + " | FOM modules '$/Vehicles.xml' and 'inline.xml' disagree on object class"
        + " HLAobjectRoot.Vehicle: attribute Color is declared only in 'inline.xml'",
    "inline:<objects><objectClass><name>HLAobjectRoot</name><objectClass><name>Vehicle</name>"
        + "<objectClass><name>Van</name><attribute><name>Speed</name></attribute></objectClass>"
        + "</objectClass></objectClass></objects> | FOM modules '$/Vehicles.xml' and"
        + " 'inline.xml' disagree on object class HLAobjectRoot.Vehicle.Van: attribute Speed"
        + " is also declared in its superclass HLAobjectRoot.Vehicle",
    "inline:<objects><objectClass><name>HLAobjectRoot</name><objectClass><name>HLAmanager"
        + "</name><attribute><name>HLAfederateHandle</name></attribute></objectClass>"
        + "</objectClass></objects> | FOM modules 'HLAstandardMIM' and 'inline.xml' disagree on"
        + " object class HLAobjectRoot.HLAmanager: attribute HLAfederateHandle is also declared"
        + " in its subclass HLAobjectRoot.HLAmanager.HLAfederate",
    "inline:<interactions><interactionClass><name>HLAinteractionRoot</name><interactionClass>"
        + "<name>Collision</name><parameter><name>Vehicle</name></parameter><parameter><name>"
        + "Severity</name><dataType>CollisionSeverity</dataType></parameter></interactionClass>"
        + "</interactionClass></interactions> | FOM modules '$/Vehicles.xml' and 'inline.xml'"
        + " disagree on interaction class HLAinteractionRoot.Collision: order TimeStamp vs Receive",
    "inline:<dataTypes><enumeratedDataTypes><enumeratedData><name>CollisionSeverity</name>"
        + "<representation>HLAinteger32BE</representation><enumerator><name>Minor</name>"
        + "<value>1</value></enumerator></enumeratedData></enumeratedDataTypes></dataTypes>"
        + " | FOM modules '$/Vehicles.xml' and 'inline.xml' disagree on data type"
        + " CollisionSeverity: enumerators [Minor:0, Major:1] vs [Minor:1]",
    "inline:<dataTypes><simpleDataTypes><simpleData><name>HLAboolean</name>"
        + "<representation>HLAoctet</representation></simpleData></simpleDataTypes></dataTypes>"
        + " | FOM modules 'HLAstandardMIM' and 'inline.xml' disagree on data type HLAboolean:"
        + " kind ENUMERATED vs SIMPLE",
    "inline:<transportations><transportation><name>HLAreliable</name><reliable>No</reliable>"
        + "</transportation></transportations> | FOM modules 'HLAstandardMIM' and 'inline.xml'"
        + " disagree on transportation type HLAreliable: reliable Yes vs No",
    "inline:<objects><objectClass><name>HLAobjectRoot</name><objectClass><name>Ship</name>"
        + "<attribute><name>Heading</name><dimensions><dimension>Sea</dimension></dimensions>"
        + "</attribute></objectClass></objectClass></objects> | FOM module 'inline.xml' names"
        + " dimension 'Sea' in attribute HLAobjectRoot.Ship.Heading, but no module defines it",
    "inline:<interactions><interactionClass><name>HLAinteractionRoot</name><interactionClass>"
        + "<name>Horn</name><transportation>HLAquick</transportation></interactionClass>"
        + "</interactionClass></interactions> | FOM module 'inline.xml' names transportation"
        + " type 'HLAquick' in interaction class HLAinteractionRoot.Horn, but no module defines it",
  })
  void inconsistentWithVehicles(String spec, String message) throws Exception {
    FomModel vehicles = FomModel.create(FomModule.standardMim(),
        List.of(Modules.read("Vehicles.xml")));
    FomModule other = module(spec);
    List<Integer> before = new ArrayList<>(vehicles.availableAttributes(5));
    FomException e = assertThrows(FomException.class, () -> vehicles.extend(List.of(other)));
    assertEquals(FomException.Kind.INCONSISTENT, e.kind(), e.getMessage());
    String expected = message.replace("$", Modules.dir().toString());
    if (!e.getMessage().startsWith(expected)) {
      assertEquals(expected, e.getMessage());
    }
    // The same conflict when both come in at creation, and the old model is untouched.
    assertThrows(FomException.class, () -> FomModel.create(FomModule.standardMim(),
        List.of(Modules.read("Vehicles.xml"), other)));
    assertEquals(before, new ArrayList<>(vehicles.availableAttributes(5)));
  }
}
