// RTI1516.h: everything a federate needs from the IEEE 1516-2010 C++ API.
#ifndef RTI_RTI1516_h
#define RTI_RTI1516_h

#include <RTI/SpecificConfig.h>
#include <RTI/Exception.h>
#include <RTI/VariableLengthData.h>

#endif  // RTI_RTI1516_h
