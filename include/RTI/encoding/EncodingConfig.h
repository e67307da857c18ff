// EncodingConfig.h: the scalar types of the encoding helpers.
//
// Octet is a plain char, so an encoding buffer is a std::vector<char>; OctetPair is
// the value of HLAoctetPairBE and HLAoctetPairLE; Integer16, Integer32 and Integer64 are
// the signed integers of the HLAinteger... elements (Integer64 is also what hash()
// returns).
#ifndef RTI_EncodingConfig_h
#define RTI_EncodingConfig_h

#include <RTI/SpecificConfig.h>

#include <cstdint>
#include <utility>

namespace rti1516e {

typedef char Octet;
typedef std::pair<Octet, Octet> OctetPair;
typedef std::int16_t Integer16;
typedef std::int32_t Integer32;
typedef std::int64_t Integer64;

}  // namespace rti1516e

#endif  // RTI_EncodingConfig_h
