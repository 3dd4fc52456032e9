#include "opennurbs_uuid.h"

#include <cstring>
#include <mutex>
#include <random>

const ON_UUID ON_nil_uuid = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

namespace
{
std::mutex g_uuid_mutex;

template <class C> int HexValue(C c)
{
  if (c >= '0' && c <= '9')
    return (int)(c - '0');
  if (c >= 'a' && c <= 'f')
    return (int)(c - 'a') + 10;
  if (c >= 'A' && c <= 'F')
    return (int)(c - 'A') + 10;
  return -1;
}

// Reads 32 hex digits in the registry layout; nil on any other text.
template <class C> ON_UUID Parse(const C* s)
{
  if (!s)
    return ON_nil_uuid;
  while (*s == ' ' || *s == '\t')
    s++;
  const bool braced = (*s == '{');
  if (braced)
    s++;
  unsigned char b[16];
  int n = 0;
  for (int pos = 0; n < 16; pos++)
  {
    if (pos == 8 || pos == 13 || pos == 18 || pos == 23)
    {
      if (*s != '-')
        return ON_nil_uuid;
      s++;
      continue;
    }
    const int hi = HexValue(s[0]);
    const int lo = (hi >= 0) ? HexValue(s[1]) : -1;
    if (hi < 0 || lo < 0)
      return ON_nil_uuid;
    b[n++] = (unsigned char)(hi * 16 + lo);
    s += 2;
    pos++;
  }
  if (braced && *s != '}')
    return ON_nil_uuid;
  ON_UUID u;
  u.Data1 = ((ON__UINT32)b[0] << 24) | ((ON__UINT32)b[1] << 16) | ((ON__UINT32)b[2] << 8) | b[3];
  u.Data2 = (ON__UINT16)((b[4] << 8) | b[5]);
  u.Data3 = (ON__UINT16)((b[6] << 8) | b[7]);
  std::memcpy(u.Data4, b + 8, 8);
  return u;
}

template <class C> C* Format(const ON_UUID& u, C* s)
{
  static const char digits[] = "0123456789ABCDEF";
  unsigned char b[16];
  b[0] = (unsigned char)(u.Data1 >> 24);
  b[1] = (unsigned char)(u.Data1 >> 16);
  b[2] = (unsigned char)(u.Data1 >> 8);
  b[3] = (unsigned char)u.Data1;
  b[4] = (unsigned char)(u.Data2 >> 8);
  b[5] = (unsigned char)u.Data2;
  b[6] = (unsigned char)(u.Data3 >> 8);
  b[7] = (unsigned char)u.Data3;
  std::memcpy(b + 8, u.Data4, 8);
  C* p = s;
  for (int i = 0; i < 16; i++)
  {
    if (i == 4 || i == 6 || i == 8 || i == 10)
      *p++ = (C)'-';
    *p++ = (C)digits[b[i] >> 4];
    *p++ = (C)digits[b[i] & 15];
  }
  *p = 0;
  return s;
}
}  // namespace

bool ON_CreateUuid(ON_UUID& uuid)
{
  static std::mt19937_64* engine = nullptr;
  std::lock_guard<std::mutex> lock(g_uuid_mutex);
  if (!engine)
  {
    std::random_device rd;
    std::seed_seq seq{rd(), rd(), rd(), rd(), rd(), rd(), rd(), rd()};
    static std::mt19937_64 e(seq);
    engine = &e;
  }
  unsigned char b[16];
  const ON__UINT64 r0 = (*engine)(), r1 = (*engine)();
  std::memcpy(b, &r0, 8);
  std::memcpy(b + 8, &r1, 8);
  b[6] = (unsigned char)((b[6] & 0x0F) | 0x40);  // version 4
  b[8] = (unsigned char)((b[8] & 0x3F) | 0x80);  // variant 1
  uuid.Data1 = ((ON__UINT32)b[0] << 24) | ((ON__UINT32)b[1] << 16) | ((ON__UINT32)b[2] << 8) | b[3];
  uuid.Data2 = (ON__UINT16)((b[4] << 8) | b[5]);
  uuid.Data3 = (ON__UINT16)((b[6] << 8) | b[7]);
  std::memcpy(uuid.Data4, b + 8, 8);
  return true;
}

ON_UUID ON_CreateUuid()
{
  ON_UUID u;
  ON_CreateUuid(u);
  return u;
}

bool ON_UuidIsNil(const ON_UUID& uuid)
{
  return std::memcmp(&uuid, &ON_nil_uuid, sizeof(ON_UUID)) == 0;
}

bool ON_UuidIsNotNil(const ON_UUID& uuid)
{
  return !ON_UuidIsNil(uuid);
}

int ON_UuidCompare(const ON_UUID& a, const ON_UUID& b)
{
  if (a.Data1 != b.Data1)
    return a.Data1 < b.Data1 ? -1 : 1;
  if (a.Data2 != b.Data2)
    return a.Data2 < b.Data2 ? -1 : 1;
  if (a.Data3 != b.Data3)
    return a.Data3 < b.Data3 ? -1 : 1;
  for (int i = 0; i < 8; i++)
  {
    if (a.Data4[i] != b.Data4[i])
      return a.Data4[i] < b.Data4[i] ? -1 : 1;
  }
  return 0;
}

int ON_UuidCompare(const ON_UUID* a, const ON_UUID* b)
{
  if (!a)
    return b ? -1 : 0;
  if (!b)
    return 1;
  return ON_UuidCompare(*a, *b);
}

char* ON_UuidToString(const ON_UUID& uuid, char* s)
{
  return s ? Format(uuid, s) : nullptr;
}

wchar_t* ON_UuidToString(const ON_UUID& uuid, wchar_t* s)
{
  return s ? Format(uuid, s) : nullptr;
}

ON_UUID ON_UuidFromString(const char* s)
{
  return Parse(s);
}

ON_UUID ON_UuidFromString(const wchar_t* s)
{
  return Parse(s);
}

bool operator==(const ON_UUID& a, const ON_UUID& b)
{
  return ON_UuidCompare(a, b) == 0;
}

bool operator!=(const ON_UUID& a, const ON_UUID& b)
{
  return ON_UuidCompare(a, b) != 0;
}

bool operator<(const ON_UUID& a, const ON_UUID& b)
{
  return ON_UuidCompare(a, b) < 0;
}
