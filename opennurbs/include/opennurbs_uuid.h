// Universally unique identifiers.
#pragma once

#include "opennurbs_defines.h"

struct ON_CLASS ON_UUID
{
  ON__UINT32 Data1;
  ON__UINT16 Data2;
  ON__UINT16 Data3;
  unsigned char Data4[8];
};

// All sixteen bytes zero.
extern ON_EXTERN_DECL const ON_UUID ON_nil_uuid;

// Fills uuid with a new random (version 4) identifier.
ON_DECL bool ON_CreateUuid(ON_UUID& uuid);
ON_DECL ON_UUID ON_CreateUuid();

ON_DECL bool ON_UuidIsNil(const ON_UUID& uuid);
ON_DECL bool ON_UuidIsNotNil(const ON_UUID& uuid);
// -1, 0 or +1, comparing Data1, Data2, Data3 and then Data4 byte by byte.
// A null pointer sorts before everything else.
ON_DECL int ON_UuidCompare(const ON_UUID* a, const ON_UUID* b);
ON_DECL int ON_UuidCompare(const ON_UUID& a, const ON_UUID& b);

// Writes the registry form "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" (upper
// case, 36 characters and a terminating zero) into s, which must hold 37
// characters, and returns s.
ON_DECL char* ON_UuidToString(const ON_UUID& uuid, char* s);
ON_DECL wchar_t* ON_UuidToString(const ON_UUID& uuid, wchar_t* s);
// Reads the registry form, with or without braces; ON_nil_uuid when the
// text is not a uuid.
ON_DECL ON_UUID ON_UuidFromString(const char* s);
ON_DECL ON_UUID ON_UuidFromString(const wchar_t* s);

ON_DECL bool operator==(const ON_UUID& a, const ON_UUID& b);
ON_DECL bool operator!=(const ON_UUID& a, const ON_UUID& b);
ON_DECL bool operator<(const ON_UUID& a, const ON_UUID& b);
