// AcDbCurve: the base of the entities that are curves.
#pragma once

#include "dbmain.h"

class AcDbCurve : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbCurve);
    ~AcDbCurve() override;

    virtual Adesk::Boolean isClosed() const;
    virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;

protected:
    AcDbCurve();
};
