// The root of the toolkit's class hierarchy and its run-time class ids.
//
// Every class declared with ON_OBJECT_DECLARE has a class id, a static
// Cast() that gives null for an object of another class, and Duplicate().
#pragma once

#include "opennurbs_defines.h"
#include "opennurbs_uuid.h"

class ON_Object;

// The run-time identity of one class: its name, its base class and its uuid.
class ON_CLASS ON_ClassId
{
public:
  ON_ClassId(const char* sClassName, const char* sBaseClassName, const ON_ClassId* pBaseClassId, const char* sUUID);
  ON_ClassId(const ON_ClassId&) = delete;
  ON_ClassId& operator=(const ON_ClassId&) = delete;

  const char* ClassName() const
  {
    return m_sClassName;
  }
  const char* BaseClassName() const
  {
    return m_sBaseClassName;
  }
  const ON_ClassId* BaseClass() const
  {
    return m_pBaseClassId;
  }
  ON_UUID Uuid() const
  {
    return m_uuid;
  }
  // True for the class itself and for every class it derives from.
  bool IsDerivedFrom(const ON_ClassId* pPotentialParent) const;

private:
  const char* m_sClassName;
  const char* m_sBaseClassName;
  const ON_ClassId* m_pBaseClassId;
  ON_UUID m_uuid;
};

#define ON_CLASS_RTTI(cls) cls::m_##cls##_class_rtti
#define ON_CLASS_ID(cls) (&cls::m_##cls##_class_rtti)

// In the public part of a class derived from ON_Object.
#define ON_OBJECT_DECLARE(cls)                                                                                         \
public:                                                                                                                \
  static const ON_ClassId m_##cls##_class_rtti;                                                                        \
  static cls* Cast(ON_Object* p);                                                                                      \
  static const cls* Cast(const ON_Object* p);                                                                          \
  const ON_ClassId* ClassId() const override;                                                                          \
  ON_Object* DuplicateObject() const override;                                                                         \
  cls* Duplicate() const

// What both implementation macros define; duplicate is what
// DuplicateObject() returns.
#define ON__OBJECT_IMPLEMENT_WITH(cls, basecls, uuid, duplicate)                                                       \
  const ON_ClassId cls::m_##cls##_class_rtti(#cls, #basecls, &basecls::m_##basecls##_class_rtti, uuid);                \
  cls* cls::Cast(ON_Object* p)                                                                                         \
  {                                                                                                                    \
    return (p && p->IsKindOf(&cls::m_##cls##_class_rtti)) ? static_cast<cls*>(p) : nullptr;                            \
  }                                                                                                                    \
  const cls* cls::Cast(const ON_Object* p)                                                                             \
  {                                                                                                                    \
    return (p && p->IsKindOf(&cls::m_##cls##_class_rtti)) ? static_cast<const cls*>(p) : nullptr;                      \
  }                                                                                                                    \
  const ON_ClassId* cls::ClassId() const                                                                               \
  {                                                                                                                    \
    return &cls::m_##cls##_class_rtti;                                                                                 \
  }                                                                                                                    \
  ON_Object* cls::DuplicateObject() const                                                                              \
  {                                                                                                                    \
    return duplicate;                                                                                                  \
  }                                                                                                                    \
  cls* cls::Duplicate() const                                                                                          \
  {                                                                                                                    \
    return static_cast<cls*>(DuplicateObject());                                                                       \
  }

// In the source of a class that can be copied.
#define ON_OBJECT_IMPLEMENT(cls, basecls, uuid) ON__OBJECT_IMPLEMENT_WITH(cls, basecls, uuid, new cls(*this))

// In the source of an abstract class: DuplicateObject() gives null.
#define ON_VIRTUAL_OBJECT_IMPLEMENT(cls, basecls, uuid) ON__OBJECT_IMPLEMENT_WITH(cls, basecls, uuid, nullptr)

class ON_CLASS ON_Object
{
public:
  static const ON_ClassId m_ON_Object_class_rtti;
  static ON_Object* Cast(ON_Object* p)
  {
    return p;
  }
  static const ON_Object* Cast(const ON_Object* p)
  {
    return p;
  }
  virtual const ON_ClassId* ClassId() const;

  ON_Object() = default;
  ON_Object(const ON_Object&) = default;
  ON_Object& operator=(const ON_Object&) = default;
  virtual ~ON_Object();

  // True when this object's class is pClassId or derives from it.
  bool IsKindOf(const ON_ClassId* pClassId) const;

  // A new heap copy of the object, of its own class; null for an
  // abstract class. The caller deletes it.
  virtual ON_Object* DuplicateObject() const;

  virtual bool IsValid(ON_TextLog* text_log = nullptr) const;
  virtual ON::object_type ObjectType() const;
  // Approximate memory held by the object, in bytes.
  virtual unsigned int SizeOf() const;
  // Drops cached information that can be computed again.
  virtual void DestroyRuntimeCache(bool bDelete = true);
};
