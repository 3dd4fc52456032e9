// Adesk: the fixed-size integer types and the Boolean of the AutoCAD API.
#pragma once

#include <cstddef>
#include <cstdint>

struct Adesk {
    typedef int8_t Int8;
    typedef int16_t Int16;
    typedef int32_t Int32;
    typedef int64_t Int64;
    typedef uint8_t UInt8;
    typedef uint16_t UInt16;
    typedef uint32_t UInt32;
    typedef uint64_t UInt64;
    typedef unsigned char uchar;
    typedef unsigned short ushort;
    typedef unsigned int uint;
    typedef intptr_t IntPtr;
    typedef uintptr_t UIntPtr;
    typedef intptr_t LongPtr;
    typedef uintptr_t ULongPtr;
    typedef intptr_t IntDbId;
    typedef intptr_t GsMarker;

    typedef bool Boolean;
    static constexpr Boolean kFalse = false;
    static constexpr Boolean kTrue = true;
};
