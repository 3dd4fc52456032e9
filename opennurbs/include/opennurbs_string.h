// Wide-character strings.
#pragma once

#include "opennurbs_defines.h"

#include <string>

class ON_CLASS ON_wString
{
public:
  ON_wString() = default;
  ON_wString(const wchar_t* s);
  ON_wString(const wchar_t* s, int length);
  ON_wString(const ON_wString&) = default;
  ON_wString(ON_wString&&) noexcept = default;
  ON_wString& operator=(const ON_wString&) = default;
  ON_wString& operator=(ON_wString&&) noexcept = default;
  ON_wString& operator=(const wchar_t* s);
  virtual ~ON_wString();

  static const ON_wString EmptyString;

  int Length() const
  {
    return (int)m_s.size();
  }
  bool IsEmpty() const
  {
    return m_s.empty();
  }
  bool IsNotEmpty() const
  {
    return !m_s.empty();
  }
  // Never null: an empty string gives L"".
  const wchar_t* Array() const
  {
    return m_s.c_str();
  }
  operator const wchar_t*() const
  {
    return m_s.c_str();
  }
  wchar_t operator[](int i) const
  {
    return m_s[(size_t)i];
  }

  void Empty()
  {
    m_s.clear();
  }
  void Destroy()
  {
    m_s.clear();
    m_s.shrink_to_fit();
  }

  // Exact, case-sensitive comparison.
  bool operator==(const ON_wString& s) const
  {
    return m_s == s.m_s;
  }
  bool operator!=(const ON_wString& s) const
  {
    return m_s != s.m_s;
  }
  bool operator==(const wchar_t* s) const;
  bool operator!=(const wchar_t* s) const
  {
    return !(*this == s);
  }
  // <0, 0 or >0 by code unit.
  int Compare(const wchar_t* s) const;
  // As Compare, ignoring the case of ASCII letters.
  int CompareNoCase(const wchar_t* s) const;

  ON_wString& operator+=(const ON_wString& s)
  {
    m_s += s.m_s;
    return *this;
  }
  ON_wString& operator+=(const wchar_t* s);

private:
  std::wstring m_s;
};
