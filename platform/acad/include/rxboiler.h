// The run-time class boilerplate: every class of the object model declares
// ACRX_DECLARE_MEMBERS(Class) in its body and defines its members with one of
// the ACRX_..._DEFINE_MEMBERS macros in one source file.
#pragma once

#include "AdAChar.h"

class AcRxClass;
class AcRxObject;

#define ACRX_DECLARE_MEMBERS(CLASS_NAME)                                                                               \
    AcRxClass* isA() const override;                                                                                   \
    static AcRxClass* desc();                                                                                          \
    static CLASS_NAME* cast(const AcRxObject* inPtr)                                                                   \
    {                                                                                                                  \
        return (inPtr == nullptr || !inPtr->isKindOf(CLASS_NAME::desc()))                                              \
            ? nullptr                                                                                                  \
            : const_cast<CLASS_NAME*>(static_cast<const CLASS_NAME*>(inPtr));                                          \
    }                                                                                                                  \
    static void rxInit()

#define ACRX_DEFINE_MEMBERS_WITH(CLASS_NAME, PARENT_CLASS, MAKER, DXF_NAME)                                            \
    AcRxClass* CLASS_NAME::desc()                                                                                      \
    {                                                                                                                  \
        static AcRxClass s_class(ACRX_T(#CLASS_NAME), PARENT_CLASS::desc(), MAKER, DXF_NAME);                          \
        return &s_class;                                                                                               \
    }                                                                                                                  \
    AcRxClass* CLASS_NAME::isA() const                                                                                 \
    {                                                                                                                  \
        return CLASS_NAME::desc();                                                                                     \
    }                                                                                                                  \
    void CLASS_NAME::rxInit()                                                                                          \
    {                                                                                                                  \
        (void)CLASS_NAME::desc();                                                                                      \
    }

// A class without a pseudo-constructor (abstract or not made by name).
#define ACRX_NO_CONS_DEFINE_MEMBERS(CLASS_NAME, PARENT_CLASS)                                                          \
    ACRX_DEFINE_MEMBERS_WITH(CLASS_NAME, PARENT_CLASS, nullptr, nullptr)

// A class whose AcRxClass can make a new default-constructed instance.
#define ACRX_CONS_DEFINE_MEMBERS(CLASS_NAME, PARENT_CLASS, VERNO)                                                      \
    static AcRxObject* make##CLASS_NAME()                                                                              \
    {                                                                                                                  \
        return new CLASS_NAME();                                                                                       \
    }                                                                                                                  \
    ACRX_DEFINE_MEMBERS_WITH(CLASS_NAME, PARENT_CLASS, &make##CLASS_NAME, nullptr)

// A database class with its DXF name.
#define ACRX_DXF_DEFINE_MEMBERS(CLASS_NAME, PARENT_CLASS, DWG_VERSION, MAINTENANCE_VERSION, PROXY_FLAGS, DXF_NAME,     \
                                APP)                                                                                   \
    static AcRxObject* make##CLASS_NAME()                                                                              \
    {                                                                                                                  \
        return new CLASS_NAME();                                                                                       \
    }                                                                                                                  \
    ACRX_DEFINE_MEMBERS_WITH(CLASS_NAME, PARENT_CLASS, &make##CLASS_NAME, ACRX_T(#DXF_NAME))
