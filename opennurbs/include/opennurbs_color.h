// Colours packed in 32 bits: red in the low byte, then green, blue and
// alpha (0 is opaque).
#pragma once

#include "opennurbs_defines.h"

class ON_CLASS ON_Color
{
public:
  // Black: 0.
  ON_Color() = default;
  // The packed value as it stands.
  ON_Color(unsigned int colorref) : m_color(colorref) {}
  // Components clamped to 0..255; alpha 0.
  ON_Color(int red, int green, int blue);
  ON_Color(int red, int green, int blue, int alpha);

  static const ON_Color UnsetColor;
  static const ON_Color Black;
  static const ON_Color White;

  // Colours compare through this packed value.
  operator unsigned int() const
  {
    return m_color;
  }

  int Red() const
  {
    return (int)(m_color & 0xFFu);
  }
  int Green() const
  {
    return (int)((m_color >> 8) & 0xFFu);
  }
  int Blue() const
  {
    return (int)((m_color >> 16) & 0xFFu);
  }
  int Alpha() const
  {
    return (int)((m_color >> 24) & 0xFFu);
  }
  double FractionRed() const
  {
    return Red() / 255.0;
  }
  double FractionGreen() const
  {
    return Green() / 255.0;
  }
  double FractionBlue() const
  {
    return Blue() / 255.0;
  }
  double FractionAlpha() const
  {
    return Alpha() / 255.0;
  }

  // Components clamped to 0..255.
  void SetRGB(int red, int green, int blue);
  void SetRGBA(int red, int green, int blue, int alpha);
  void SetAlpha(int alpha);

private:
  unsigned int m_color = 0;
};
