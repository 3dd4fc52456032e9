// The host application services: the working database.
#pragma once

#include "acadstrc.h"

class AcDbDatabase;

class AcDbHostApplicationServices {
public:
    AcDbHostApplicationServices();
    virtual ~AcDbHostApplicationServices();

    // The database that calls without a database argument work on. When no
    // database was made working yet, the stand-in makes one of its own.
    virtual AcDbDatabase* workingDatabase() const;
    virtual void setWorkingDatabase(AcDbDatabase* db);

private:
    friend class AcDbDatabase;
    AcDbDatabase* mpWorking = nullptr;
};

AcDbHostApplicationServices* acdbHostApplicationServices();
// Installs the services object of the host (nullptr restores the built-in one).
Acad::ErrorStatus acdbSetHostApplicationServices(AcDbHostApplicationServices* services);
