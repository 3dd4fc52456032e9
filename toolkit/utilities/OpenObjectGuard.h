// A guard that closes a database object it was given open, when the scope
// that opened it ends by any path, an exception included. Internal to the
// toolkit's sources.
#pragma once

template <class T> class OpenObjectGuard {
public:
    explicit OpenObjectGuard(T* object = NULL) : object_(object) {}
    ~OpenObjectGuard()
    {
        if (object_)
            object_->close();
    }
    // Takes the object just opened; the guard must be empty.
    void take(T* object) { object_ = object; }
    // Closes the object now; the guard is empty afterwards.
    void close()
    {
        if (object_)
            object_->close();
        object_ = NULL;
    }
    T* get() const { return object_; }
    T* operator->() const { return object_; }

private:
    OpenObjectGuard(const OpenObjectGuard&);
    OpenObjectGuard& operator=(const OpenObjectGuard&);
    T* object_;
};
