// A fuzzer's input read as a stream of little-endian numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cfloat>
#include <cstring>
#include <limits>

namespace kvfuzz {

// Bytes taken in order; zeros once they run out.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t u8() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t u16() { return static_cast<uint16_t>(u8() | (u8() << 8)); }
    uint32_t u32() { return static_cast<uint32_t>(u16()) | (static_cast<uint32_t>(u16()) << 16); }
    float f32()
    {
        const uint32_t bits = u32();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    // One of the coordinates that break arithmetic: zeros of both signs,
    // ones, NaN, the infinities, the largest and smallest floats, the
    // smallest denormal, huge values and the first integer a float cannot
    // hold.
    float special()
    {
        static const float values[] = {
            0.0f,
            -0.0f,
            1.0f,
            -1.0f,
            std::numeric_limits<float>::quiet_NaN(),
            std::numeric_limits<float>::infinity(),
            -std::numeric_limits<float>::infinity(),
            FLT_MAX,
            -FLT_MAX,
            FLT_MIN,
            std::numeric_limits<float>::denorm_min(),
            1e30f,
            -1e30f,
            16777217.0f,
        };
        return values[u8() % (sizeof values / sizeof values[0])];
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace kvfuzz
