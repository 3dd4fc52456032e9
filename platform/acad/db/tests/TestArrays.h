// Arrays of the host's kinds filled from a list, for the tests' drawings.
#pragma once

#include <initializer_list>

#include "acarray.h"

// An array holding the items in order.
template <class T> AcArray<T> arrayOf(std::initializer_list<T> items)
{
    AcArray<T> array;
    for (const T& item : items)
        array.append(item);
    return array;
}
