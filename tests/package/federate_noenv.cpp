// A federate run with an empty environment: no CLASSPATH, no JAVA_HOME. The library has
// to find the Java virtual machine and its own jar by itself. Creates a federation from
// the module in argv[1], joins it, looks up one class of the standard module, and leaves
// everything as it found it. Exits 1 on the first exception, 2 on a wrong answer.
#include <RTI/NullFederateAmbassador.h>
#include <RTI/RTI1516.h>

#include <iostream>
#include <memory>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: federate_noenv FOM-MODULE.xml" << std::endl;
    return 2;
  }
  std::string const path = argv[1];
  std::wstring const fomModule(path.begin(), path.end());  // byte for byte
  std::wstring const federation = L"PackageCheck";

  try {
    rti1516e::NullFederateAmbassador federate;
    std::wcout << L"creating the ambassador" << std::endl;
    std::auto_ptr<rti1516e::RTIambassador> rti =
        rti1516e::RTIambassadorFactory().createRTIambassador();

    std::wcout << L"connecting" << std::endl;
    rti->connect(federate, rti1516e::HLA_EVOKED);
    std::wcout << L"creating " << federation << L" from " << fomModule << std::endl;
    rti->createFederationExecution(federation, fomModule, L"HLAinteger64Time");
    std::wcout << L"joining" << std::endl;
    rti->joinFederationExecution(L"checker", federation);

    std::wstring const className = L"HLAobjectRoot.HLAmanager.HLAfederate";
    rti1516e::ObjectClassHandle const handle = rti->getObjectClassHandle(className);
    std::wstring const nameBack = rti->getObjectClassName(handle);
    std::wcout << L"object class " << className << L" is " << handle.toString()
               << L", named back " << nameBack << std::endl;
    if (nameBack != className) {
      std::wcerr << L"federate_noenv: the class came back as " << nameBack << std::endl;
      return 2;
    }

    std::wcout << L"resigning" << std::endl;
    rti->resignFederationExecution(rti1516e::NO_ACTION);
    std::wcout << L"destroying " << federation << std::endl;
    rti->destroyFederationExecution(federation);
    std::wcout << L"disconnecting" << std::endl;
    rti->disconnect();
  } catch (rti1516e::Exception const& e) {
    std::wcerr << L"federate_noenv: " << e.what() << std::endl;
    return 1;
  }
  std::wcout << L"federate_noenv: ok" << std::endl;
  return 0;
}
