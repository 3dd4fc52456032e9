// Colours: the colour word, the colour methods and the palette.
#include <cstdlib>

#include "dbcolor.h"

namespace {

// RGB (red << 16 | green << 8 | blue) of the colour indexes 0..255 (0 unused).
const Adesk::UInt32 kPalette[256] = {
    0x000000, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF, 0xFFFFFF, 0x808080, 0xC0C0C0, 0xFF0000,
    0xFF8080, 0xA60000, 0xA65353, 0x800000, 0x804040, 0x4D0000, 0x4D2626, 0x260000, 0x261313, 0xFF4000, 0xFF9F80,
    0xA62900, 0xA66853, 0x802000, 0x805040, 0x4D1300, 0x4D3026, 0x260A00, 0x261813, 0xFF8000, 0xFFBF80, 0xA65300,
    0xA67C53, 0x804000, 0x806040, 0x4D2600, 0x4D3926, 0x261300, 0x261D13, 0xFFBF00, 0xFFDF80, 0xA67C00, 0xA69153,
    0x806000, 0x807040, 0x4D3900, 0x4D4326, 0x261D00, 0x262113, 0xFFFF00, 0xFFFF80, 0xA6A600, 0xA6A653, 0x808000,
    0x808040, 0x4D4D00, 0x4D4D26, 0x262600, 0x262613, 0xBFFF00, 0xDFFF80, 0x7CA600, 0x91A653, 0x608000, 0x708040,
    0x394D00, 0x434D26, 0x1D2600, 0x212613, 0x80FF00, 0xBFFF80, 0x53A600, 0x7CA653, 0x408000, 0x608040, 0x264D00,
    0x394D26, 0x132600, 0x1D2613, 0x40FF00, 0x9FFF80, 0x29A600, 0x68A653, 0x208000, 0x508040, 0x134D00, 0x304D26,
    0x0A2600, 0x182613, 0x00FF00, 0x80FF80, 0x00A600, 0x53A653, 0x008000, 0x408040, 0x004D00, 0x264D26, 0x002600,
    0x132613, 0x00FF40, 0x80FF9F, 0x00A629, 0x53A668, 0x008020, 0x408050, 0x004D13, 0x264D30, 0x00260A, 0x132618,
    0x00FF80, 0x80FFBF, 0x00A653, 0x53A67C, 0x008040, 0x408060, 0x004D26, 0x264D39, 0x002613, 0x13261D, 0x00FFBF,
    0x80FFDF, 0x00A67C, 0x53A691, 0x008060, 0x408070, 0x004D39, 0x264D43, 0x00261D, 0x132621, 0x00FFFF, 0x80FFFF,
    0x00A6A6, 0x53A6A6, 0x008080, 0x408080, 0x004D4D, 0x264D4D, 0x002626, 0x132626, 0x00BFFF, 0x80DFFF, 0x007CA6,
    0x5391A6, 0x006080, 0x407080, 0x00394D, 0x26434D, 0x001D26, 0x132126, 0x0080FF, 0x80BFFF, 0x0053A6, 0x537CA6,
    0x004080, 0x406080, 0x00264D, 0x26394D, 0x001326, 0x131D26, 0x0040FF, 0x809FFF, 0x0029A6, 0x5368A6, 0x002080,
    0x405080, 0x00134D, 0x26304D, 0x000A26, 0x131826, 0x0000FF, 0x8080FF, 0x0000A6, 0x5353A6, 0x000080, 0x404080,
    0x00004D, 0x26264D, 0x000026, 0x131326, 0x4000FF, 0x9F80FF, 0x2900A6, 0x6853A6, 0x200080, 0x504080, 0x13004D,
    0x30264D, 0x0A0026, 0x181326, 0x8000FF, 0xBF80FF, 0x5300A6, 0x7C53A6, 0x400080, 0x604080, 0x26004D, 0x39264D,
    0x130026, 0x1D1326, 0xBF00FF, 0xDF80FF, 0x7C00A6, 0x9153A6, 0x600080, 0x704080, 0x39004D, 0x43264D, 0x1D0026,
    0x211326, 0xFF00FF, 0xFF80FF, 0xA600A6, 0xA653A6, 0x800080, 0x804080, 0x4D004D, 0x4D264D, 0x260026, 0x261326,
    0xFF00BF, 0xFF80DF, 0xA6007C, 0xA65391, 0x800060, 0x804070, 0x4D0039, 0x4D2643, 0x26001D, 0x261321, 0xFF0080,
    0xFF80BF, 0xA60053, 0xA6537C, 0x800040, 0x804060, 0x4D0026, 0x4D2639, 0x260013, 0x26131D, 0xFF0040, 0xFF809F,
    0xA60029, 0xA65368, 0x800020, 0x804050, 0x4D0013, 0x4D2630, 0x26000A, 0x261318, 0x545454, 0x767676, 0x989898,
    0xBBBBBB, 0xDDDDDD, 0xFFFFFF};

constexpr Adesk::UInt32 kMethodShift = 24;

Adesk::UInt32 word(AcCmEntityColor::ColorMethod method, Adesk::UInt32 low)
{
    return (static_cast<Adesk::UInt32>(method) << kMethodShift) | (low & 0xFFFFFF);
}

}  // namespace

Adesk::UInt32 AcCmEntityColor::lookUpRGB(Adesk::UInt8 colorIndex)
{
    return colorIndex == 0 ? 0 : kPalette[colorIndex];
}

Adesk::UInt8 AcCmEntityColor::lookUpACI(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue)
{
    int best = 1;
    long bestDistance = -1;
    for (int i = 1; i < 256; ++i) {
        long dr = long((kPalette[i] >> 16) & 0xFF) - red;
        long dg = long((kPalette[i] >> 8) & 0xFF) - green;
        long db = long(kPalette[i] & 0xFF) - blue;
        long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return static_cast<Adesk::UInt8>(best);
}

Acad::ErrorStatus AcCmEntityColor::setColorMethod(ColorMethod method)
{
    switch (method) {
    case kByLayer: mRGBM = word(method, kACIbyLayer); break;
    case kByBlock: mRGBM = word(method, kACIbyBlock); break;
    case kForeground: mRGBM = word(method, kACIforeground); break;
    case kNone: mRGBM = word(method, kACInone); break;
    case kByColor:
    case kByACI:
    case kByPen:
    case kLayerOff:
    case kLayerFrozen: mRGBM = word(method, mRGBM); break;
    default: return Acad::eInvalidInput;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcCmEntityColor::setColorIndex(Adesk::Int16 colorIndex)
{
    if (colorIndex == kACIbyBlock)
        mRGBM = word(kByBlock, kACIbyBlock);
    else if (colorIndex == kACIbyLayer)
        mRGBM = word(kByLayer, kACIbyLayer);
    else if (colorIndex == kACInone)
        mRGBM = word(kNone, kACInone);
    else if (colorIndex >= 1 && colorIndex <= kACImaximum)
        mRGBM = word(kByACI, static_cast<Adesk::UInt16>(colorIndex));
    else
        return Acad::eOutOfRange;
    return Acad::eOk;
}

Adesk::Int16 AcCmEntityColor::colorIndex() const
{
    switch (colorMethod()) {
    case kByLayer: return kACIbyLayer;
    case kByBlock: return kACIbyBlock;
    case kByACI:
    case kByPen:
    case kLayerOff:
    case kLayerFrozen: return static_cast<Adesk::Int16>(mRGBM & 0xFFFF);
    case kForeground: return kACIforeground;
    case kNone: return kACInone;
    case kByColor: return lookUpACI(red(), green(), blue());
    }
    return kACInone;
}

Acad::ErrorStatus AcCmEntityColor::setRGB(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue)
{
    mRGBM = word(kByColor, (Adesk::UInt32(red) << 16) | (Adesk::UInt32(green) << 8) | blue);
    return Acad::eOk;
}

Acad::ErrorStatus AcCmEntityColor::setRed(Adesk::UInt8 red)
{
    return setRGB(red, green(), blue());
}

Acad::ErrorStatus AcCmEntityColor::setGreen(Adesk::UInt8 green)
{
    return setRGB(red(), green, blue());
}

Acad::ErrorStatus AcCmEntityColor::setBlue(Adesk::UInt8 blue)
{
    return setRGB(red(), green(), blue);
}

static Adesk::UInt32 rgbOf(const AcCmEntityColor& c)
{
    if (c.colorMethod() == AcCmEntityColor::kByColor)
        return c.color() & 0xFFFFFF;
    if (c.colorMethod() == AcCmEntityColor::kByACI) {
        Adesk::UInt32 index = c.color() & 0xFFFF;
        return index <= 255 ? AcCmEntityColor::lookUpRGB(static_cast<Adesk::UInt8>(index)) : 0;
    }
    return 0;
}

Adesk::UInt8 AcCmEntityColor::red() const
{
    return static_cast<Adesk::UInt8>(rgbOf(*this) >> 16);
}
Adesk::UInt8 AcCmEntityColor::green() const
{
    return static_cast<Adesk::UInt8>(rgbOf(*this) >> 8);
}
Adesk::UInt8 AcCmEntityColor::blue() const
{
    return static_cast<Adesk::UInt8>(rgbOf(*this));
}

Acad::ErrorStatus AcCmEntityColor::setLayerIndex(Adesk::Int32 layerIndex)
{
    mRGBM = word(kByLayer, static_cast<Adesk::UInt32>(layerIndex) & 0xFFFF);
    return Acad::eOk;
}

bool AcCmEntityColor::isByLayer() const
{
    return colorMethod() == kByLayer || (colorMethod() == kByACI && (mRGBM & 0xFFFF) == kACIbyLayer);
}

bool AcCmEntityColor::isByBlock() const
{
    return colorMethod() == kByBlock || (colorMethod() == kByACI && (mRGBM & 0xFFFF) == kACIbyBlock);
}

Acad::ErrorStatus AcCmColor::setColorIndex(Adesk::UInt16 colorIndex)
{
    if (colorIndex > AcCmEntityColor::kACIbyLayer)
        return Acad::eOutOfRange;
    return mColor.setColorIndex(static_cast<Adesk::Int16>(colorIndex));
}

Acad::ErrorStatus AcCmColor::setNames(const ACHAR*, const ACHAR*)
{
    // Colour books are not modelled; the colour itself is unchanged.
    return Acad::eOk;
}
