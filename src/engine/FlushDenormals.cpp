#include "engine/FlushDenormals.h"

#if defined(__SSE__) || defined(_M_X64)
#include <xmmintrin.h>
#define GRELMOND_HAS_MXCSR 1
#endif

namespace grelmond {

std::uint32_t FlushDenormals::controlWord()
{
#ifdef GRELMOND_HAS_MXCSR
    return _mm_getcsr();
#else
    return 0;
#endif
}

void FlushDenormals::setControlWord(std::uint32_t word)
{
#ifdef GRELMOND_HAS_MXCSR
    _mm_setcsr(word);
#else
    (void)word;
#endif
}

FlushDenormals::FlushDenormals() : saved_(controlWord())
{
    setControlWord((saved_ & ~kRoundingBits) | kFlushBits);
}

FlushDenormals::~FlushDenormals()
{
    setControlWord(saved_);
}

} // namespace grelmond
