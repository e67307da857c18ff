// EncodingExceptions.h: the exception the encoding helpers throw.
//
// Every failure of an encoding helper is an rti1516e::EncoderException carrying a
// message such as "Index is out of bounds"; it is declared with the other RTI
// exceptions in RTI/Exception.h and repeated here under the name federates include.
#ifndef RTI_EncodingExceptions_h
#define RTI_EncodingExceptions_h

#include <RTI/Exception.h>

#endif  // RTI_EncodingExceptions_h
