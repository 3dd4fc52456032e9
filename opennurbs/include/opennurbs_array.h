// Dynamic arrays.
//
// ON_SimpleArray<T> holds plain data: elements are moved as raw bytes and
// no constructor or destructor of T ever runs. Fresh memory is zero-filled.
//
// ON_ClassArray<T> holds real objects: every slot up to the capacity holds
// a constructed T, and elements are copied with operator=.
#pragma once

#include "opennurbs_defines.h"
#include "opennurbs_point.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace ON_ArrayDetail
{
// Growth rule shared by both arrays: small arrays jump to 4, then the
// capacity doubles until the array holds 256 MB; past that each step adds
// at most 256 MB worth of elements.
inline size_t NewCapacity(size_t count, size_t element_size)
{
  const size_t cap_size = (size_t)32 * sizeof(void*) * 1024 * 1024;
  if (count * element_size <= cap_size || count < 8)
    return (count <= 2) ? 4 : 2 * count;
  size_t delta = 8 + cap_size / element_size;
  if (delta > count)
    delta = count;
  return count + delta;
}

// Slots of ON_SimpleArray: raw bytes, moved with memcpy and memmove; fresh
// memory is zero-filled and no constructor or destructor of T runs.
template <class T> struct RawSlots
{
  // The buffer resized from cap to newcap > 0 elements, or null (with a
  // left as it was) when out of memory.
  static T* Resize(T* a, int cap, int newcap)
  {
    T* b = (T*)std::realloc((void*)a, (size_t)newcap * sizeof(T));
    if (b && newcap > cap)
      std::memset((void*)(b + cap), 0, (size_t)(newcap - cap) * sizeof(T));
    return b;
  }
  static void Release(T* a, int)
  {
    std::free(a);
  }
  static void Clear(T* slot)
  {
    std::memset((void*)slot, 0, sizeof(T));
  }
  static void Put(T* slot, const T& x)
  {
    std::memcpy((void*)slot, (const void*)&x, sizeof(T));
  }
  // Moves a[i..count-1] up one place and puts x, which may be one of them,
  // at i.
  static void InsertAt(T* a, int i, int count, const T& x)
  {
    T temp;
    std::memcpy((void*)&temp, (const void*)&x, sizeof(T));
    std::memmove((void*)(a + i + 1), (const void*)(a + i), (size_t)(count - i) * sizeof(T));
    std::memcpy((void*)(a + i), (const void*)&temp, sizeof(T));
  }
  // Moves a[i+1..count-1] down one place over a[i].
  static void CloseGap(T* a, int i, int count)
  {
    std::memmove((void*)(a + i), (const void*)(a + i + 1), (size_t)(count - 1 - i) * sizeof(T));
  }
};

// Slots of ON_ClassArray: every slot up to the capacity holds a constructed
// T, either default-constructed or an element; elements are copied with
// operator=.
template <class T> struct ObjectSlots
{
  // Elements of the old buffer are moved into the new one, which is
  // default-constructed past them.
  static T* Resize(T* a, int cap, int newcap)
  {
    T* b = (T*)std::malloc((size_t)newcap * sizeof(T));
    if (b == nullptr)
      return nullptr;
    const int keep = (newcap < cap) ? newcap : cap;
    for (int i = 0; i < keep; i++)
      new ((void*)(b + i)) T(std::move(a[i]));
    for (int i = keep; i < newcap; i++)
      new ((void*)(b + i)) T();
    Release(a, cap);
    return b;
  }
  static void Release(T* a, int cap)
  {
    for (int i = cap - 1; i >= 0; i--)
      a[i].~T();
    std::free((void*)a);
  }
  static void Clear(T* slot)
  {
    slot->~T();
    new ((void*)slot) T();
  }
  static void Put(T* slot, const T& x)
  {
    *slot = x;
  }
  static void InsertAt(T* a, int i, int count, const T& x)
  {
    const T temp(x);
    for (int j = count; j > i; j--)
      a[j] = std::move(a[j - 1]);
    a[i] = temp;
  }
  static void CloseGap(T* a, int i, int count)
  {
    for (int j = i; j + 1 < count; j++)
      a[j] = std::move(a[j + 1]);
  }
};

// The buffer, count and capacity of both arrays and the members they share;
// Slots says how elements are made, copied and destroyed.
template <class T, class Slots> class ArrayCore
{
public:
  int Count() const
  {
    return m_count;
  }
  unsigned int UnsignedCount() const
  {
    return (unsigned int)m_count;
  }
  int Capacity() const
  {
    return m_capacity;
  }
  unsigned int SizeOfElement() const
  {
    return (unsigned int)sizeof(T);
  }
  unsigned int SizeOfArray() const
  {
    return (unsigned int)(m_count * sizeof(T));
  }

  // No bounds check, as with a plain C array.
  T& operator[](int i)
  {
    return m_a[i];
  }
  const T& operator[](int i) const
  {
    return m_a[i];
  }
  T& operator[](unsigned int i)
  {
    return m_a[i];
  }
  const T& operator[](unsigned int i) const
  {
    return m_a[i];
  }
  T& operator[](ON__INT64 i)
  {
    return m_a[i];
  }
  const T& operator[](ON__INT64 i) const
  {
    return m_a[i];
  }
  T& operator[](ON__UINT64 i)
  {
    return m_a[i];
  }
  const T& operator[](ON__UINT64 i) const
  {
    return m_a[i];
  }

  // Null when i is outside [0, Count()).
  T* At(int i)
  {
    return (i >= 0 && i < m_count) ? m_a + i : nullptr;
  }
  const T* At(int i) const
  {
    return (i >= 0 && i < m_count) ? m_a + i : nullptr;
  }
  T* At(unsigned int i)
  {
    return (i < (unsigned int)m_count) ? m_a + i : nullptr;
  }
  const T* At(unsigned int i) const
  {
    return (i < (unsigned int)m_count) ? m_a + i : nullptr;
  }
  T* At(ON__INT64 i)
  {
    return (i >= 0 && i < (ON__INT64)m_count) ? m_a + i : nullptr;
  }
  const T* At(ON__INT64 i) const
  {
    return (i >= 0 && i < (ON__INT64)m_count) ? m_a + i : nullptr;
  }
  T* At(ON__UINT64 i)
  {
    return (i < (ON__UINT64)m_count) ? m_a + i : nullptr;
  }
  const T* At(ON__UINT64 i) const
  {
    return (i < (ON__UINT64)m_count) ? m_a + i : nullptr;
  }

  // Null when the array is empty.
  T* First()
  {
    return (m_count > 0) ? m_a : nullptr;
  }
  const T* First() const
  {
    return (m_count > 0) ? m_a : nullptr;
  }
  T* Last()
  {
    return (m_count > 0) ? m_a + (m_count - 1) : nullptr;
  }
  const T* Last() const
  {
    return (m_count > 0) ? m_a + (m_count - 1) : nullptr;
  }

  T* Array()
  {
    return m_a;
  }
  const T* Array() const
  {
    return m_a;
  }

  // Appends a fresh element (zero-filled or default-constructed) and
  // returns it.
  T& AppendNew()
  {
    if (m_count == m_capacity)
      Grow();
    else
      Slots::Clear(m_a + m_count);  // the slot may hold what SetCount left
    return m_a[m_count++];
  }

  // x may be an element of this array.
  void Append(const T& x)
  {
    const T* p = &x;
    if (m_count == m_capacity)
      p = Grow(p);
    Slots::Put(m_a + m_count, *p);
    m_count++;
  }

  // Inserts x before element i; i may be Count() to append.
  void Insert(int i, const T& x)
  {
    if (i < 0 || i > m_count)
      return;
    const T* p = &x;
    if (m_count == m_capacity)
      p = Grow(p);
    Slots::InsertAt(m_a, i, m_count, *p);
    m_count++;
  }

  // Removes the last element.
  void Remove()
  {
    Remove(m_count - 1);
  }

  // Removes element i; later elements move down one place and the slot
  // given up is cleared.
  void Remove(int i)
  {
    if (i < 0 || i >= m_count)
      return;
    Slots::CloseGap(m_a, i, m_count);
    m_count--;
    Slots::Clear(m_a + m_count);
  }

  // Frees the memory (destroying every slot of a class array).
  void Destroy()
  {
    SetCapacity(0);
  }

  void Reserve(size_t capacity)
  {
    if ((size_t)m_capacity < capacity)
      SetCapacity(capacity);
  }

  // Changes the capacity; a smaller capacity drops elements past it, and
  // the new room is fresh (zero-filled or default-constructed). Capacity 0
  // frees the memory.
  void SetCapacity(size_t capacity)
  {
    if (capacity > (size_t)0x7FFFFFFF)
      return;
    const int newcap = (int)capacity;
    if (newcap == m_capacity)
      return;
    if (newcap == 0)
    {
      Slots::Release(m_a, m_capacity);
      m_a = nullptr;
      m_count = 0;
      m_capacity = 0;
      return;
    }
    T* a = Slots::Resize(m_a, m_capacity, newcap);
    if (a == nullptr)
      return;  // out of memory: the array stays as it was
    m_a = a;
    m_capacity = newcap;
    if (m_count > m_capacity)
      m_count = m_capacity;
  }

  // Ignored when count is negative or above the capacity. The exposed
  // slots keep whatever the buffer holds.
  void SetCount(int count)
  {
    if (count >= 0 && count <= m_capacity)
      m_count = count;
  }

  // Frees the capacity past the count.
  void Shrink()
  {
    SetCapacity((size_t)m_count);
  }

protected:
  ArrayCore() = default;

  explicit ArrayCore(size_t initial_capacity)
  {
    if (initial_capacity > 0)
      SetCapacity(initial_capacity);
  }

  ArrayCore(ArrayCore&& src) noexcept : m_a(src.m_a), m_count(src.m_count), m_capacity(src.m_capacity)
  {
    src.m_a = nullptr;
    src.m_count = 0;
    src.m_capacity = 0;
  }

  ArrayCore& operator=(ArrayCore&& src) noexcept
  {
    if (this != &src)
    {
      Slots::Release(m_a, m_capacity);
      m_a = src.m_a;
      m_count = src.m_count;
      m_capacity = src.m_capacity;
      src.m_a = nullptr;
      src.m_count = 0;
      src.m_capacity = 0;
    }
    return *this;
  }

  ArrayCore(const ArrayCore&) = delete;
  ArrayCore& operator=(const ArrayCore&) = delete;

  ~ArrayCore()
  {
    Slots::Release(m_a, m_capacity);
  }

  // Sets the capacity and returns where p, which may point into the
  // buffer, points afterwards.
  const T* SetCapacityKeeping(size_t capacity, const T* p)
  {
    if (p && m_a && p >= m_a && p < m_a + m_capacity)
    {
      const size_t offset = (size_t)(p - m_a);
      SetCapacity(capacity);
      return m_a + offset;
    }
    SetCapacity(capacity);
    return p;
  }

  // Grows a full array by the growth rule, throwing std::bad_alloc when it
  // cannot; returns where p points afterwards.
  const T* Grow(const T* p = nullptr)
  {
    p = SetCapacityKeeping(NewCapacity((size_t)m_count, sizeof(T)), p);
    if (m_count == m_capacity)
      throw std::bad_alloc();
    return p;
  }

  T* m_a = nullptr;
  int m_count = 0;
  int m_capacity = 0;
};
}  // namespace ON_ArrayDetail

template <class T> class ON_SimpleArray : public ON_ArrayDetail::ArrayCore<T, ON_ArrayDetail::RawSlots<T>>
{
  using Core = ON_ArrayDetail::ArrayCore<T, ON_ArrayDetail::RawSlots<T>>;

public:
  ON_SimpleArray() = default;

  // Reserves room for initial_capacity elements; the count stays 0.
  explicit ON_SimpleArray(size_t initial_capacity) : Core(initial_capacity) {}

  ON_SimpleArray(const ON_SimpleArray<T>& src) : Core()
  {
    *this = src;
  }

  ON_SimpleArray(ON_SimpleArray<T>&& src) noexcept : Core(std::move(src)) {}

  virtual ~ON_SimpleArray() = default;

  ON_SimpleArray<T>& operator=(const ON_SimpleArray<T>& src)
  {
    if (this != &src)
    {
      if (src.m_count <= 0)
      {
        m_count = 0;
      }
      else
      {
        if (m_capacity < src.m_count)
          this->SetCapacity((size_t)src.m_count);
        if (m_capacity < src.m_count)
          throw std::bad_alloc();
        m_count = src.m_count;
        std::memcpy((void*)m_a, (const void*)src.m_a, (size_t)m_count * sizeof(T));
      }
    }
    return *this;
  }

  ON_SimpleArray<T>& operator=(ON_SimpleArray<T>&& src) noexcept
  {
    Core::operator=(std::move(src));
    return *this;
  }

  using Core::Append;

  // Appends count elements from p, which may point into this array.
  void Append(int count, const T* p)
  {
    if (count <= 0 || p == nullptr)
      return;
    const size_t needed = (size_t)m_count + (size_t)count;
    if (needed > (size_t)m_capacity)
    {
      size_t newcap = ON_ArrayDetail::NewCapacity((size_t)m_count, sizeof(T));
      if (newcap < needed)
        newcap = needed;
      p = this->SetCapacityKeeping(newcap, p);
      if ((size_t)m_capacity < needed)
        return;
    }
    std::memmove((void*)(m_a + m_count), (const void*)p, (size_t)count * sizeof(T));
    m_count += count;
  }

  // Count 0; the capacity is kept and the buffer zero-filled.
  void Empty()
  {
    if (m_a)
      std::memset((void*)m_a, 0, (size_t)m_capacity * sizeof(T));
    m_count = 0;
  }

  // Zero-fills the used elements.
  void Zero()
  {
    if (m_a && m_count > 0)
      std::memset((void*)m_a, 0, (size_t)m_count * sizeof(T));
  }

  // Takes over `a`, a block from malloc/realloc holding `capacity` elements
  // of which the first `count` are in use; the old buffer is freed.
  void SetArray(T* a, int count, int capacity)
  {
    if (m_a && m_a != a)
      std::free(m_a);
    m_a = a;
    m_capacity = (a != nullptr && capacity > 0) ? capacity : 0;
    m_count = (count < 0) ? 0 : ((count > m_capacity) ? m_capacity : count);
  }

  // Hands the buffer to the caller (who frees it with free) and leaves the
  // array empty.
  T* KeepArray()
  {
    T* a = m_a;
    m_a = nullptr;
    m_count = 0;
    m_capacity = 0;
    return a;
  }

protected:
  using Core::m_a;
  using Core::m_capacity;
  using Core::m_count;
};

template <class T> class ON_ClassArray : public ON_ArrayDetail::ArrayCore<T, ON_ArrayDetail::ObjectSlots<T>>
{
  using Core = ON_ArrayDetail::ArrayCore<T, ON_ArrayDetail::ObjectSlots<T>>;

public:
  ON_ClassArray() = default;

  explicit ON_ClassArray(size_t initial_capacity) : Core(initial_capacity) {}

  ON_ClassArray(const ON_ClassArray<T>& src) : Core()
  {
    *this = src;
  }

  ON_ClassArray(ON_ClassArray<T>&& src) noexcept : Core(std::move(src)) {}

  // Destroys every slot up to the capacity.
  virtual ~ON_ClassArray() = default;

  ON_ClassArray<T>& operator=(const ON_ClassArray<T>& src)
  {
    if (this != &src)
    {
      if (m_capacity < src.m_count)
      {
        this->Destroy();
        this->Reserve((size_t)src.m_count);
        if (m_capacity < src.m_count)
          throw std::bad_alloc();
      }
      for (int i = 0; i < src.m_count; i++)
        m_a[i] = src.m_a[i];
      m_count = src.m_count;
    }
    return *this;
  }

  ON_ClassArray<T>& operator=(ON_ClassArray<T>&& src) noexcept
  {
    Core::operator=(std::move(src));
    return *this;
  }

  // Destroys and re-constructs the used slots; the capacity is kept.
  void Empty()
  {
    for (int i = m_count - 1; i >= 0; i--)
      ON_ArrayDetail::ObjectSlots<T>::Clear(m_a + i);
    m_count = 0;
  }

protected:
  using Core::m_a;
  using Core::m_capacity;
  using Core::m_count;
};

class ON_CLASS ON_3dPointArray : public ON_SimpleArray<ON_3dPoint>
{
public:
  ON_3dPointArray() = default;
  explicit ON_3dPointArray(int initial_capacity)
      : ON_SimpleArray<ON_3dPoint>(initial_capacity > 0 ? (size_t)initial_capacity : 0)
  {
  }
  ON_3dPointArray(const ON_SimpleArray<ON_3dPoint>& src) : ON_SimpleArray<ON_3dPoint>(src) {}
  ON_3dPointArray(const ON_3dPointArray&) = default;
  ON_3dPointArray(ON_3dPointArray&&) = default;
  ON_3dPointArray& operator=(const ON_3dPointArray&) = default;
  ON_3dPointArray& operator=(ON_3dPointArray&&) = default;
  ~ON_3dPointArray() override = default;
};

class ON_CLASS ON_3fPointArray : public ON_SimpleArray<ON_3fPoint>
{
public:
  ON_3fPointArray() = default;
  explicit ON_3fPointArray(int initial_capacity)
      : ON_SimpleArray<ON_3fPoint>(initial_capacity > 0 ? (size_t)initial_capacity : 0)
  {
  }
  ON_3fPointArray(const ON_SimpleArray<ON_3fPoint>& src) : ON_SimpleArray<ON_3fPoint>(src) {}
  ON_3fPointArray(const ON_3fPointArray&) = default;
  ON_3fPointArray(ON_3fPointArray&&) = default;
  ON_3fPointArray& operator=(const ON_3fPointArray&) = default;
  ON_3fPointArray& operator=(ON_3fPointArray&&) = default;
  ~ON_3fPointArray() override = default;
};

class ON_CLASS ON_2dPointArray : public ON_SimpleArray<ON_2dPoint>
{
public:
  ON_2dPointArray() = default;
  explicit ON_2dPointArray(int initial_capacity)
      : ON_SimpleArray<ON_2dPoint>(initial_capacity > 0 ? (size_t)initial_capacity : 0)
  {
  }
  ON_2dPointArray(const ON_SimpleArray<ON_2dPoint>& src) : ON_SimpleArray<ON_2dPoint>(src) {}
  ON_2dPointArray(const ON_2dPointArray&) = default;
  ON_2dPointArray(ON_2dPointArray&&) = default;
  ON_2dPointArray& operator=(const ON_2dPointArray&) = default;
  ON_2dPointArray& operator=(ON_2dPointArray&&) = default;
  ~ON_2dPointArray() override = default;
};
