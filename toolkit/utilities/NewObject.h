// The owner of a newly constructed database object until a database (or an
// owner entity) takes it. Whichever way the scope is left, an exception
// included, the object is disposed of once: closed when it was appended,
// deleted while it belongs to no database. Internal to the toolkit's sources.
#pragma once

#include "EntityPlacement.h"

template <class T> class NewObject {
public:
    explicit NewObject(T* object) : object_(object) {}
    ~NewObject() { dispose(); }

    T* get() const { return object_; }
    T* operator->() const { return object_; }

    // Passes an append's status through; eOk marks the object as taken, so
    // that it is closed rather than deleted (a vertex appended to an owner
    // that is in no database yet has no database of its own).
    Acad::ErrorStatus appended(Acad::ErrorStatus status)
    {
        if (status == Acad::eOk)
            taken_ = true;
        return status;
    }

    // Closes the object when it was appended, deletes it otherwise; the
    // owner is empty afterwards.
    void dispose()
    {
        T* object = object_;
        object_ = NULL;
        if (!object)
            return;
        if (taken_ || object->database())
            object->close();
        else
            delete object;
    }

private:
    NewObject(const NewObject&);
    NewObject& operator=(const NewObject&);
    T* object_;
    bool taken_ = false;
};

// Places a new entity in model space with AddEntity and disposes of it:
// closed once appended, deleted when it could not be.
template <class T> void Place(NewObject<T>& entity, const CString& layerName, const AcCmColor& entityColor)
{
    entity.appended(AddEntity(entity.get(), layerName, entityColor, NULL));
    entity.dispose();
}

// The same for an entity just constructed with its geometry.
template <class T> void PlaceNew(T* entity, const CString& layerName, const AcCmColor& entityColor)
{
    NewObject<T> owned(entity);
    Place(owned, layerName, entityColor);
}
