// Annotation: text placed on a plane.
#pragma once

#include "opennurbs_array.h"
#include "opennurbs_geometry.h"
#include "opennurbs_plane.h"
#include "opennurbs_string.h"

// The common data of annotation objects.
class ON_CLASS ON_Annotation2 : public ON_Geometry
{
  ON_OBJECT_DECLARE(ON_Annotation2);

public:
  // No type, the world XY plane, no points, no text, height 1.
  ON_Annotation2();
  ON_Annotation2(const ON_Annotation2&) = default;
  ON_Annotation2& operator=(const ON_Annotation2&) = default;
  ~ON_Annotation2() override;

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  ON::object_type ObjectType() const override;
  bool Transform(const ON_Xform& xform) override;

  ON::eAnnotationType Type() const
  {
    return m_type;
  }
  void SetType(ON::eAnnotationType type)
  {
    m_type = type;
  }
  const ON_Plane& Plane() const
  {
    return m_plane;
  }
  void SetPlane(const ON_Plane& plane)
  {
    m_plane = plane;
  }
  const wchar_t* UserText() const
  {
    return m_usertext.Array();
  }
  void SetUserText(const wchar_t* text)
  {
    m_usertext = text ? text : L"";
  }
  double Height() const
  {
    return m_textheight;
  }
  void SetHeight(double height)
  {
    m_textheight = height;
  }
  ON::eTextDisplayMode TextDisplayMode() const
  {
    return m_textdisplaymode;
  }
  void SetTextDisplayMode(ON::eTextDisplayMode mode)
  {
    m_textdisplaymode = mode;
  }

  ON::eAnnotationType m_type;
  ON::eTextDisplayMode m_textdisplaymode;
  ON_Plane m_plane;
  // Points in plane coordinates; for text the first is the insertion point.
  ON_2dPointArray m_points;
  ON_wString m_usertext;
  double m_textheight;
  int m_index;
  int m_justification;
};

// Single-line or paragraph text.
class ON_CLASS ON_TextEntity2 : public ON_Annotation2
{
  ON_OBJECT_DECLARE(ON_TextEntity2);

public:
  // A text block with no text at the origin of the world XY plane.
  ON_TextEntity2();
  ON_TextEntity2(const ON_TextEntity2&) = default;
  ON_TextEntity2& operator=(const ON_TextEntity2&) = default;
  ~ON_TextEntity2() override;

  bool IsValid(ON_TextLog* text_log = nullptr) const override;

  int FontIndex() const
  {
    return m_index;
  }
  void SetFontIndex(int font_index)
  {
    m_index = font_index;
  }
  unsigned int Justification() const
  {
    return (unsigned int)m_justification;
  }
  void SetJustification(unsigned int justification)
  {
    m_justification = (int)justification;
  }
};
