// SpecificConfig.h: platform settings of this RTI's build of the IEEE 1516-2010 C++ API.
//
// RTI_EXPORT marks classes and functions exported from librti1516e64;
// RTI_EXPORT_FEDTIME those of the logical-time library libfedtime1516e64.
#ifndef RTI_SpecificConfig_h
#define RTI_SpecificConfig_h

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#  define RTI_EXPORT_DECL_EXPORT __declspec(dllexport)
#  define RTI_EXPORT_DECL_IMPORT __declspec(dllimport)
#else
#  define RTI_EXPORT_DECL_EXPORT __attribute__((visibility("default")))
#  define RTI_EXPORT_DECL_IMPORT __attribute__((visibility("default")))
#endif

#if defined(OSTRA_BUILDING_RTI)
#  define RTI_EXPORT RTI_EXPORT_DECL_EXPORT
#else
#  define RTI_EXPORT RTI_EXPORT_DECL_IMPORT
#endif

#if defined(OSTRA_BUILDING_FEDTIME)
#  define RTI_EXPORT_FEDTIME RTI_EXPORT_DECL_EXPORT
#else
#  define RTI_EXPORT_FEDTIME RTI_EXPORT_DECL_IMPORT
#endif

// Version of the API these headers describe.
#define RTI_VERSION_1516E 1
#define RTI_VERSION_1516E_MINOR 0

namespace rti1516e {
// Type of the release function that VariableLengthData::takeDataPointer accepts.
typedef void (*VariableLengthDataDeleteFunction)(void* data);
}  // namespace rti1516e

#endif  // RTI_SpecificConfig_h
