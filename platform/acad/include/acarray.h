// AcArray<T>: the growable array of the AutoCAD API.
//
// Indices are int, as in the host. Out-of-range access is the caller's error
// (the host asserts); this array checks nothing on operator[] and at().
#pragma once

#include <algorithm>
#include <vector>

template <class T> class AcArrayMemCopyReallocator {};
template <class T> class AcArrayObjectCopyReallocator {};

template <class T, class R = AcArrayObjectCopyReallocator<T>> class AcArray {
public:
    explicit AcArray(int physicalLength = 0, int growLength = 8) : mGrowLength(growLength)
    {
        if (physicalLength > 0)
            mData.reserve(static_cast<size_t>(physicalLength));
    }
    AcArray(const AcArray&) = default;
    AcArray(AcArray&&) noexcept = default;
    AcArray& operator=(const AcArray&) = default;
    AcArray& operator=(AcArray&&) noexcept = default;
    ~AcArray() = default;

    bool operator==(const AcArray& other) const { return mData == other.mData; }
    bool operator!=(const AcArray& other) const { return !(mData == other.mData); }

    T& operator[](int i) { return mData[static_cast<size_t>(i)]; }
    const T& operator[](int i) const { return mData[static_cast<size_t>(i)]; }
    T& at(int i) { return mData[static_cast<size_t>(i)]; }
    const T& at(int i) const { return mData[static_cast<size_t>(i)]; }
    AcArray& setAt(int i, const T& value)
    {
        mData[static_cast<size_t>(i)] = value;
        return *this;
    }
    T& first() { return mData.front(); }
    const T& first() const { return mData.front(); }
    T& last() { return mData.back(); }
    const T& last() const { return mData.back(); }

    int append(const T& value)
    {
        mData.push_back(value);
        return length() - 1;
    }
    AcArray& append(const AcArray& other)
    {
        mData.insert(mData.end(), other.mData.begin(), other.mData.end());
        return *this;
    }
    AcArray& insertAt(int index, const T& value)
    {
        mData.insert(mData.begin() + index, value);
        return *this;
    }
    AcArray& removeAt(int index)
    {
        mData.erase(mData.begin() + index);
        return *this;
    }
    bool remove(const T& value, int start = 0)
    {
        int i = -1;
        if (!find(value, i, start))
            return false;
        removeAt(i);
        return true;
    }
    AcArray& removeFirst()
    {
        mData.erase(mData.begin());
        return *this;
    }
    AcArray& removeLast()
    {
        mData.pop_back();
        return *this;
    }
    AcArray& removeAll()
    {
        mData.clear();
        return *this;
    }
    AcArray& removeSubArray(int startIndex, int endIndex)
    {
        mData.erase(mData.begin() + startIndex, mData.begin() + endIndex + 1);
        return *this;
    }

    bool contains(const T& value, int start = 0) const { return findFrom(value, start) >= 0; }
    bool find(const T& value, int& foundAt, int start = 0) const
    {
        int i = findFrom(value, start);
        if (i < 0)
            return false;
        foundAt = i;
        return true;
    }
    int find(const T& value) const { return findFrom(value, 0); }
    int findFrom(const T& value, int start) const
    {
        for (size_t i = start < 0 ? 0 : static_cast<size_t>(start); i < mData.size(); ++i)
            if (mData[i] == value)
                return static_cast<int>(i);
        return -1;
    }

    int length() const { return static_cast<int>(mData.size()); }
    int logicalLength() const { return length(); }
    int physicalLength() const { return static_cast<int>(mData.capacity()); }
    bool isEmpty() const { return mData.empty(); }
    int growLength() const { return mGrowLength; }
    AcArray& setGrowLength(int n)
    {
        if (n > 0)
            mGrowLength = n;
        return *this;
    }
    AcArray& setLogicalLength(int n)
    {
        mData.resize(n < 0 ? 0 : static_cast<size_t>(n));
        return *this;
    }
    AcArray& setPhysicalLength(int n)
    {
        size_t want = n < 0 ? 0 : static_cast<size_t>(n);
        if (want < mData.size())
            mData.resize(want);
        if (want > mData.capacity())
            mData.reserve(want);
        else
            mData.shrink_to_fit();
        return *this;
    }
    AcArray& reverse()
    {
        std::reverse(mData.begin(), mData.end());
        return *this;
    }
    AcArray& swap(int i, int j)
    {
        std::swap(mData[static_cast<size_t>(i)], mData[static_cast<size_t>(j)]);
        return *this;
    }

    T* asArrayPtr() { return mData.empty() ? nullptr : mData.data(); }
    const T* asArrayPtr() const { return mData.empty() ? nullptr : mData.data(); }

    T* begin() { return mData.data(); }
    T* end() { return mData.data() + mData.size(); }
    const T* begin() const { return mData.data(); }
    const T* end() const { return mData.data() + mData.size(); }

private:
    std::vector<T> mData;
    int mGrowLength;
};
