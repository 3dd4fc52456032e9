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
}  // namespace ON_ArrayDetail

template <class T> class ON_SimpleArray
{
public:
  ON_SimpleArray() = default;

  // Reserves room for initial_capacity elements; the count stays 0.
  explicit ON_SimpleArray(size_t initial_capacity)
  {
    if (initial_capacity > 0)
      SetCapacity(initial_capacity);
  }

  ON_SimpleArray(const ON_SimpleArray<T>& src)
  {
    *this = src;
  }

  ON_SimpleArray(ON_SimpleArray<T>&& src) noexcept : m_a(src.m_a), m_count(src.m_count), m_capacity(src.m_capacity)
  {
    src.m_a = nullptr;
    src.m_count = 0;
    src.m_capacity = 0;
  }

  virtual ~ON_SimpleArray()
  {
    std::free(m_a);
  }

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
          SetCapacity((size_t)src.m_count);
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
    if (this != &src)
    {
      std::free(m_a);
      m_a = src.m_a;
      m_count = src.m_count;
      m_capacity = src.m_capacity;
      src.m_a = nullptr;
      src.m_count = 0;
      src.m_capacity = 0;
    }
    return *this;
  }

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

  // Appends a zero-filled element and returns it.
  T& AppendNew()
  {
    if (m_count == m_capacity)
      Grow();
    std::memset((void*)(m_a + m_count), 0, sizeof(T));
    return m_a[m_count++];
  }

  void Append(const T& x)
  {
    if (m_count == m_capacity)
    {
      if (m_a && &x >= m_a && &x < m_a + m_capacity)
      {
        // x lives in this array and would move with the buffer.
        T temp;
        std::memcpy((void*)&temp, (const void*)&x, sizeof(T));
        Grow();
        std::memcpy((void*)(m_a + m_count), (const void*)&temp, sizeof(T));
        m_count++;
        return;
      }
      Grow();
    }
    std::memcpy((void*)(m_a + m_count), (const void*)&x, sizeof(T));
    m_count++;
  }

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
      if (m_a && p >= m_a && p < m_a + m_capacity)
      {
        // Appending part of this array to itself.
        const size_t offset = (size_t)(p - m_a);
        SetCapacity(newcap);
        p = m_a + offset;
      }
      else
      {
        SetCapacity(newcap);
      }
      if ((size_t)m_capacity < needed)
        return;
    }
    std::memmove((void*)(m_a + m_count), (const void*)p, (size_t)count * sizeof(T));
    m_count += count;
  }

  // Inserts x before element i; i may be Count() to append.
  void Insert(int i, const T& x)
  {
    if (i < 0 || i > m_count)
      return;
    T temp;
    std::memcpy((void*)&temp, (const void*)&x, sizeof(T));
    if (m_count == m_capacity)
      Grow();
    if (m_count == m_capacity)
      return;
    std::memmove((void*)(m_a + i + 1), (const void*)(m_a + i), (size_t)(m_count - i) * sizeof(T));
    std::memcpy((void*)(m_a + i), (const void*)&temp, sizeof(T));
    m_count++;
  }

  // Removes the last element.
  void Remove()
  {
    Remove(m_count - 1);
  }

  // Removes element i; later elements move down one place.
  void Remove(int i)
  {
    if (i < 0 || i >= m_count)
      return;
    std::memmove((void*)(m_a + i), (const void*)(m_a + i + 1), (size_t)(m_count - 1 - i) * sizeof(T));
    m_count--;
    std::memset((void*)(m_a + m_count), 0, sizeof(T));
  }

  // Count 0; the capacity is kept and the buffer zero-filled.
  void Empty()
  {
    if (m_a)
      std::memset((void*)m_a, 0, (size_t)m_capacity * sizeof(T));
    m_count = 0;
  }

  // Frees the memory.
  void Destroy()
  {
    SetCapacity(0);
  }

  // Zero-fills the used elements.
  void Zero()
  {
    if (m_a && m_count > 0)
      std::memset((void*)m_a, 0, (size_t)m_count * sizeof(T));
  }

  void Reserve(size_t capacity)
  {
    if ((size_t)m_capacity < capacity)
      SetCapacity(capacity);
  }

  // Changes the capacity; a smaller capacity drops elements past it, a
  // larger one zero-fills the new room. Capacity 0 frees the memory.
  void SetCapacity(size_t capacity)
  {
    if (capacity > (size_t)0x7FFFFFFF)
      return;
    const int newcap = (int)capacity;
    if (newcap == m_capacity)
      return;
    if (newcap <= 0)
    {
      std::free(m_a);
      m_a = nullptr;
      m_count = 0;
      m_capacity = 0;
      return;
    }
    T* a = (T*)std::realloc((void*)m_a, (size_t)newcap * sizeof(T));
    if (a == nullptr)
      return;  // out of memory: the array stays as it was
    m_a = a;
    if (newcap > m_capacity)
      std::memset((void*)(m_a + m_capacity), 0, (size_t)(newcap - m_capacity) * sizeof(T));
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
  void Grow()
  {
    SetCapacity(ON_ArrayDetail::NewCapacity((size_t)m_count, sizeof(T)));
    if (m_count == m_capacity)
      throw std::bad_alloc();
  }

  T* m_a = nullptr;
  int m_count = 0;
  int m_capacity = 0;
};

template <class T> class ON_ClassArray
{
public:
  ON_ClassArray() = default;

  explicit ON_ClassArray(size_t initial_capacity)
  {
    if (initial_capacity > 0)
      SetCapacity(initial_capacity);
  }

  ON_ClassArray(const ON_ClassArray<T>& src)
  {
    *this = src;
  }

  ON_ClassArray(ON_ClassArray<T>&& src) noexcept : m_a(src.m_a), m_count(src.m_count), m_capacity(src.m_capacity)
  {
    src.m_a = nullptr;
    src.m_count = 0;
    src.m_capacity = 0;
  }

  virtual ~ON_ClassArray()
  {
    SetCapacity(0);
  }

  ON_ClassArray<T>& operator=(const ON_ClassArray<T>& src)
  {
    if (this != &src)
    {
      if (m_capacity < src.m_count)
      {
        Destroy();
        Reserve((size_t)src.m_count);
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
    if (this != &src)
    {
      SetCapacity(0);
      m_a = src.m_a;
      m_count = src.m_count;
      m_capacity = src.m_capacity;
      src.m_a = nullptr;
      src.m_count = 0;
      src.m_capacity = 0;
    }
    return *this;
  }

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

  // Returns a default-constructed element at the end.
  T& AppendNew()
  {
    if (m_count == m_capacity)
    {
      Grow();
    }
    else
    {
      // The slot may still hold an element left behind by SetCount.
      m_a[m_count].~T();
      new ((void*)(m_a + m_count)) T();
    }
    return m_a[m_count++];
  }

  void Append(const T& x)
  {
    if (m_count == m_capacity)
    {
      if (m_a && &x >= m_a && &x < m_a + m_capacity)
      {
        const T temp(x);
        Grow();
        m_a[m_count++] = temp;
        return;
      }
      Grow();
    }
    m_a[m_count++] = x;
  }

  // Inserts x before element i; i may be Count() to append.
  void Insert(int i, const T& x)
  {
    if (i < 0 || i > m_count)
      return;
    const T temp(x);
    if (m_count == m_capacity)
      Grow();
    for (int j = m_count; j > i; j--)
      m_a[j] = std::move(m_a[j - 1]);
    m_a[i] = temp;
    m_count++;
  }

  void Remove()
  {
    Remove(m_count - 1);
  }

  // Removes element i; later elements move down one place.
  void Remove(int i)
  {
    if (i < 0 || i >= m_count)
      return;
    for (int j = i; j + 1 < m_count; j++)
      m_a[j] = std::move(m_a[j + 1]);
    m_count--;
    m_a[m_count].~T();
    new ((void*)(m_a + m_count)) T();
  }

  // Destroys and re-constructs the used slots; the capacity is kept.
  void Empty()
  {
    for (int i = m_count - 1; i >= 0; i--)
    {
      m_a[i].~T();
      new ((void*)(m_a + i)) T();
    }
    m_count = 0;
  }

  // Destroys every slot and frees the memory.
  void Destroy()
  {
    SetCapacity(0);
  }

  void Reserve(size_t capacity)
  {
    if ((size_t)m_capacity < capacity)
      SetCapacity(capacity);
  }

  // Every slot up to the new capacity holds a default-constructed T, or an
  // element carried over from the old buffer.
  void SetCapacity(size_t capacity)
  {
    if (capacity > (size_t)0x7FFFFFFF)
      return;
    const int newcap = (int)capacity;
    if (newcap == m_capacity)
      return;
    T* a = nullptr;
    if (newcap > 0)
    {
      a = (T*)std::malloc((size_t)newcap * sizeof(T));
      if (a == nullptr)
        return;  // out of memory: the array stays as it was
    }
    const int keep = (newcap < m_capacity) ? newcap : m_capacity;
    for (int i = 0; i < keep; i++)
      new ((void*)(a + i)) T(std::move(m_a[i]));
    for (int i = keep; i < newcap; i++)
      new ((void*)(a + i)) T();
    for (int i = m_capacity - 1; i >= 0; i--)
      m_a[i].~T();
    std::free((void*)m_a);
    m_a = a;
    m_capacity = newcap;
    if (m_count > m_capacity)
      m_count = m_capacity;
  }

  // Ignored when count is negative or above the capacity.
  void SetCount(int count)
  {
    if (count >= 0 && count <= m_capacity)
      m_count = count;
  }

  void Shrink()
  {
    SetCapacity((size_t)m_count);
  }

protected:
  void Grow()
  {
    SetCapacity(ON_ArrayDetail::NewCapacity((size_t)m_count, sizeof(T)));
    if (m_count == m_capacity)
      throw std::bad_alloc();
  }

  T* m_a = nullptr;
  int m_count = 0;
  int m_capacity = 0;
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
