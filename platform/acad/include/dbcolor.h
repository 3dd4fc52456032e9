// AcCmEntityColor and AcCmColor: the colour of an entity or a layer.
//
// A colour is one 32-bit word: the colour method in the top byte, then red,
// green and blue (blue lowest). ACI and layer indexes use the low 16 bits.
#pragma once

#include "AdAChar.h"
#include "acadstrc.h"
#include "adesk.h"

class AcCmEntityColor {
public:
    enum ColorMethod {
        kByLayer = 0xC0,
        kByBlock = 0xC1,
        kByColor = 0xC2,
        kByACI = 0xC3,
        kByPen = 0xC4,
        kForeground = 0xC5,
        kLayerOff = 0xC6,
        kLayerFrozen = 0xC7,
        kNone = 0xC8
    };
    enum ACIcolorMethod {
        kACIbyBlock = 0,
        kACIforeground = 7,
        kACIbyLayer = 256,
        kACIclear = 0,
        kACIstandard = 7,
        kACImaximum = 255,
        kACInone = 257,
        kACIminimum = -255,
        kACIfrozenLayer = -32700
    };

    // kByColor black.
    AcCmEntityColor() : mRGBM(static_cast<Adesk::UInt32>(kByColor) << 24) {}
    AcCmEntityColor(ColorMethod method) : mRGBM(0) { setColorMethod(method); }
    AcCmEntityColor(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue) : mRGBM(0) { setRGB(red, green, blue); }

    bool operator==(const AcCmEntityColor& c) const { return mRGBM == c.mRGBM; }
    bool operator!=(const AcCmEntityColor& c) const { return mRGBM != c.mRGBM; }

    Acad::ErrorStatus setColorMethod(ColorMethod method);
    ColorMethod colorMethod() const { return static_cast<ColorMethod>(mRGBM >> 24); }
    Acad::ErrorStatus setColor(Adesk::UInt32 rgbm)
    {
        mRGBM = rgbm;
        return Acad::eOk;
    }
    Adesk::UInt32 color() const { return mRGBM; }
    // Sets the method from the index: 0 ByBlock, 256 ByLayer, 257 none,
    // 1..255 ACI. Other values are refused with eOutOfRange.
    Acad::ErrorStatus setColorIndex(Adesk::Int16 colorIndex);
    // 0 ByBlock, 256 ByLayer, 257 none, the index for ACI, the nearest
    // palette index for a true colour, 7 for the foreground.
    Adesk::Int16 colorIndex() const;
    Acad::ErrorStatus setRGB(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue);
    Acad::ErrorStatus setRed(Adesk::UInt8 red);
    Acad::ErrorStatus setGreen(Adesk::UInt8 green);
    Acad::ErrorStatus setBlue(Adesk::UInt8 blue);
    // The components: of the true colour, or of the palette entry for ACI.
    Adesk::UInt8 red() const;
    Adesk::UInt8 green() const;
    Adesk::UInt8 blue() const;
    Acad::ErrorStatus setLayerIndex(Adesk::Int32 layerIndex);
    Adesk::Int32 layerIndex() const { return static_cast<Adesk::Int32>(mRGBM & 0xFFFF); }

    bool isByColor() const { return colorMethod() == kByColor; }
    bool isByLayer() const;
    bool isByBlock() const;
    bool isByACI() const { return colorMethod() == kByACI; }
    bool isByPen() const { return colorMethod() == kByPen; }
    bool isForeground() const { return colorMethod() == kForeground; }
    bool isLayerOff() const { return colorMethod() == kLayerOff; }
    bool isLayerFrozen() const { return colorMethod() == kLayerFrozen; }
    bool isNone() const { return colorMethod() == kNone; }

    // The palette: RGB of an ACI index 1..255 (packed red << 16 | green << 8 | blue;
    // 0 outside the range), and the index nearest to an RGB colour.
    static Adesk::UInt32 lookUpRGB(Adesk::UInt8 colorIndex);
    static Adesk::UInt8 lookUpACI(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue);

private:
    Adesk::UInt32 mRGBM;
};

class AcCmColor {
public:
    // ByLayer (colour index 256).
    AcCmColor() : mColor(AcCmEntityColor::kByLayer) {}
    AcCmColor(const AcCmColor&) = default;
    AcCmColor& operator=(const AcCmColor&) = default;
    ~AcCmColor() = default;

    bool operator==(const AcCmColor& c) const { return mColor == c.mColor; }
    bool operator!=(const AcCmColor& c) const { return mColor != c.mColor; }

    AcCmEntityColor::ColorMethod colorMethod() const { return mColor.colorMethod(); }
    Acad::ErrorStatus setColorMethod(AcCmEntityColor::ColorMethod method) { return mColor.setColorMethod(method); }

    bool isByColor() const { return mColor.isByColor(); }
    bool isByLayer() const { return mColor.isByLayer(); }
    bool isByBlock() const { return mColor.isByBlock(); }
    bool isByACI() const { return mColor.isByACI(); }
    bool isByPen() const { return mColor.isByPen(); }
    bool isForeground() const { return mColor.isForeground(); }
    bool isLayerOff() const { return mColor.isLayerOff(); }
    bool isLayerFrozen() const { return mColor.isLayerFrozen(); }
    bool isNone() const { return mColor.isNone(); }

    Adesk::UInt32 color() const { return mColor.color(); }
    Acad::ErrorStatus setColor(Adesk::UInt32 rgbm) { return mColor.setColor(rgbm); }
    Acad::ErrorStatus setRGB(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue)
    {
        return mColor.setRGB(red, green, blue);
    }
    Acad::ErrorStatus setRed(Adesk::UInt8 red) { return mColor.setRed(red); }
    Acad::ErrorStatus setGreen(Adesk::UInt8 green) { return mColor.setGreen(green); }
    Acad::ErrorStatus setBlue(Adesk::UInt8 blue) { return mColor.setBlue(blue); }
    Adesk::UInt8 red() const { return mColor.red(); }
    Adesk::UInt8 green() const { return mColor.green(); }
    Adesk::UInt8 blue() const { return mColor.blue(); }

    // 0 ByBlock, 1..255 ACI, 256 ByLayer; above 256 refused with eOutOfRange.
    Acad::ErrorStatus setColorIndex(Adesk::UInt16 colorIndex);
    // 0..256; the nearest palette index for a true colour; 257 for no colour.
    Adesk::UInt16 colorIndex() const { return static_cast<Adesk::UInt16>(mColor.colorIndex()); }

    Acad::ErrorStatus setNames(const ACHAR* colorName, const ACHAR* bookName = nullptr);
    const ACHAR* colorName() const { return mColorName; }
    const ACHAR* bookName() const { return mBookName; }
    const ACHAR* colorNameForDisplay() const { return mColorName; }

    AcCmEntityColor entityColor() const { return mColor; }
    Acad::ErrorStatus setEntityColor(const AcCmEntityColor& color)
    {
        mColor = color;
        return Acad::eOk;
    }

private:
    AcCmEntityColor mColor;
    // Colour-book names are not kept by this stand-in.
    const ACHAR* mColorName = L"";
    const ACHAR* mBookName = L"";
};
