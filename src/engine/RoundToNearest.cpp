#include "engine/RoundToNearest.h"

#include "engine/FlushDenormals.h"

namespace grelmond {

RoundToNearest::RoundToNearest() : saved_(FlushDenormals::controlWord())
{
    if ((saved_ & FlushDenormals::kRoundingBits) != 0)
        FlushDenormals::setControlWord(saved_ & ~FlushDenormals::kRoundingBits);
}

RoundToNearest::~RoundToNearest()
{
    if ((saved_ & FlushDenormals::kRoundingBits) != 0)
        FlushDenormals::setControlWord(saved_);
}

} // namespace grelmond
