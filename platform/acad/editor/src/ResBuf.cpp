// Result buffers.
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "acutads.h"
#include "adscodes.h"

namespace {

enum class Holds { Nothing, String, Point, Real, Short, Long, Name };

// What a buffer of the type holds: the ADS types, and the DXF group codes by
// their ranges.
Holds holds(int type)
{
    switch (type) {
    case RTSTR:
    case RTDXF0: return Holds::String;
    case RTPOINT:
    case RT3DPOINT: return Holds::Point;
    case RTREAL:
    case RTANG:
    case RTORINT: return Holds::Real;
    case RTSHORT: return Holds::Short;
    case RTLONG: return Holds::Long;
    case RTENAME:
    case RTPICKS: return Holds::Name;
    case RTNONE:
    case RTVOID:
    case RTLB:
    case RTLE:
    case RTDOTE:
    case RTNIL:
    case RTT: return Holds::Nothing;
    default: break;
    }
    if (type == -1 || type == -2)
        return Holds::Name;
    if ((type >= 0 && type <= 9) || type == 100 || type == 102 || type == 105 || (type >= 300 && type <= 309) ||
        (type >= 410 && type <= 419) || (type >= 430 && type <= 439) || (type >= 470 && type <= 479) || type == 999 ||
        (type >= 1000 && type <= 1009))
        return Holds::String;
    if ((type >= 10 && type <= 19) || (type >= 110 && type <= 112) || (type >= 1010 && type <= 1019))
        return Holds::Point;
    if ((type >= 38 && type <= 59) || (type >= 140 && type <= 149) || (type >= 460 && type <= 469) ||
        (type >= 1040 && type <= 1042))
        return Holds::Real;
    if ((type >= 60 && type <= 79) || (type >= 170 && type <= 179) || (type >= 270 && type <= 289) ||
        (type >= 370 && type <= 389) || (type >= 400 && type <= 409) || type == 1070)
        return Holds::Short;
    if ((type >= 90 && type <= 99) || (type >= 420 && type <= 429) || (type >= 440 && type <= 459) || type == 1071)
        return Holds::Long;
    return Holds::Nothing;
}

ACHAR* copyString(const ACHAR* text)
{
    if (text == nullptr)
        return nullptr;
    const size_t n = std::wcslen(text) + 1;
    ACHAR* copy = static_cast<ACHAR*>(std::malloc(n * sizeof(ACHAR)));
    if (copy != nullptr)
        std::wmemcpy(copy, text, n);
    return copy;
}

}  // namespace

struct resbuf* acutNewRb(int type)
{
    resbuf* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
    if (rb == nullptr)
        return nullptr;
    rb->rbnext = nullptr;
    rb->restype = static_cast<short>(type);
    return rb;
}

int acutRelRb(struct resbuf* rb)
{
    while (rb != nullptr) {
        resbuf* next = rb->rbnext;
        if (holds(rb->restype) == Holds::String)
            std::free(rb->resval.rstring);
        std::free(rb);
        rb = next;
    }
    return RTNORM;
}

struct resbuf* acutBuildList(int rtype, ...)
{
    va_list args;
    va_start(args, rtype);
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    int type = rtype;
    bool failed = false;
    while (type != 0 && type != RTNONE) {
        resbuf* rb = acutNewRb(type);
        if (rb == nullptr) {
            failed = true;
            break;
        }
        switch (holds(type)) {
        case Holds::String: rb->resval.rstring = copyString(va_arg(args, const ACHAR*)); break;
        case Holds::Point: {
            const double* p = va_arg(args, const double*);
            if (p != nullptr) {
                rb->resval.rpoint[0] = p[0];
                rb->resval.rpoint[1] = p[1];
                rb->resval.rpoint[2] = type == RTPOINT ? 0.0 : p[2];
            }
            break;
        }
        case Holds::Real: rb->resval.rreal = va_arg(args, double); break;
        case Holds::Short: rb->resval.rint = static_cast<short>(va_arg(args, int)); break;
        case Holds::Long: rb->resval.rlong = va_arg(args, int); break;
        case Holds::Name: {
            const Adesk::LongPtr* name = va_arg(args, const Adesk::LongPtr*);
            if (name != nullptr) {
                rb->resval.rlname[0] = name[0];
                rb->resval.rlname[1] = name[1];
            }
            break;
        }
        case Holds::Nothing:
            if (type != RTLB && type != RTLE && type != RTDOTE && type != RTNIL && type != RTT && type != RTVOID)
                failed = true;
            break;
        }
        if (head == nullptr)
            head = rb;
        else
            tail->rbnext = rb;
        tail = rb;
        if (failed)
            break;
        type = va_arg(args, int);
    }
    va_end(args);
    if (failed) {
        acutRelRb(head);
        return nullptr;
    }
    return head;
}
