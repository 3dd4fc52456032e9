// AcRxObject and AcRxClass: the root of the object model and its run-time
// class descriptors.
#pragma once

#include "AdAChar.h"
#include "acadstrc.h"
#include "adesk.h"
#include "rxboiler.h"

class AcRxObject {
public:
    virtual ~AcRxObject();

    static AcRxClass* desc();
    static AcRxObject* cast(const AcRxObject* inPtr) { return const_cast<AcRxObject*>(inPtr); }
    virtual AcRxClass* isA() const;

    // True when this object's class is aClass or derives from it.
    bool isKindOf(const AcRxClass* aClass) const;

    virtual AcRxObject* clone() const;
    virtual Acad::ErrorStatus copyFrom(const AcRxObject* other);
    virtual Adesk::Boolean isEqualTo(const AcRxObject* other) const;

protected:
    AcRxObject();
};

typedef AcRxObject* (*AcRxPseudoConstructor)();

class AcRxClass : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcRxClass);

    // Descriptors are made by the class boilerplate macros only.
    AcRxClass(const ACHAR* name, AcRxClass* parent, AcRxPseudoConstructor maker = nullptr,
              const ACHAR* dxfName = nullptr, const ACHAR* appName = nullptr);
    ~AcRxClass() override;
    AcRxClass(const AcRxClass&) = delete;
    AcRxClass& operator=(const AcRxClass&) = delete;

    const ACHAR* name() const { return mName; }
    const ACHAR* dxfName() const { return mDxfName; }
    const ACHAR* appName() const { return mAppName; }
    AcRxClass* myParent() const { return mParent; }
    bool isDerivedFrom(const AcRxClass* other) const;

    // A new default-constructed instance; nullptr for a class without a maker.
    AcRxObject* create() const { return mMaker != nullptr ? mMaker() : nullptr; }
    AcRxPseudoConstructor constructor() const { return mMaker; }

private:
    const ACHAR* mName;
    AcRxClass* mParent;
    AcRxPseudoConstructor mMaker;
    const ACHAR* mDxfName;
    const ACHAR* mAppName;
};
