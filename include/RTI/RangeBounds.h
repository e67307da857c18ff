// RangeBounds.h: the extent of a region along one dimension.
//
//   rti1516e::RangeBounds bounds(0, 100);
//   ambassador->setRangeBounds(region, altitude, bounds);
//
// Bounds are 32-bit values carried in unsigned long; only the low 32 bits of a bound are
// kept. Nothing checks that the lower bound is below the upper one: the RTI does that when
// the bounds are used.
#ifndef RTI_RangeBounds_h
#define RTI_RangeBounds_h

#include <RTI/SpecificConfig.h>

#include <cstdint>

namespace rti1516e {

class RTI_EXPORT RangeBounds {
 public:
  // Both bounds 0.
  RangeBounds();
  RangeBounds(unsigned long lowerBound, unsigned long upperBound);
  ~RangeBounds();
  RangeBounds(RangeBounds const& rhs);
  RangeBounds& operator=(RangeBounds const& rhs);

  unsigned long getLowerBound() const;
  unsigned long getUpperBound() const;
  void setLowerBound(unsigned long lowerBound);
  void setUpperBound(unsigned long upperBound);

 private:
  uint32_t _lowerBound;
  uint32_t _upperBound;
};

}  // namespace rti1516e

#endif  // RTI_RangeBounds_h
