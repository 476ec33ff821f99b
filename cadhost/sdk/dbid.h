#pragma once
// Object ids: light handles to database objects. The null id is safe to copy, compare and ask;
// an id never names an object of another database, and ids are never reused while the process
// runs, so an id kept after its database was destroyed is simply not valid any more.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "cadhost/sdk/adesk.h"

#pragma GCC visibility push(default)

class AcDbDatabase;

// The persistent name of an object inside one drawing file (DXF group 5), a 64-bit number
// written in hexadecimal.
class AcDbHandle {
 public:
  AcDbHandle() = default;
  AcDbHandle(Adesk::UInt64 value) : m_value(value) {}
  bool isNull() const { return m_value == 0; }
  Adesk::UInt64 value() const { return m_value; }
  // Upper-case hexadecimal without leading zeros ("0" for null).
  std::string toString() const;
  bool operator==(const AcDbHandle&) const = default;
  auto operator<=>(const AcDbHandle&) const = default;

 private:
  Adesk::UInt64 m_value = 0;
};

class AcDbObjectId {
 public:
  AcDbObjectId() = default;
  static const AcDbObjectId kNull;

  bool isNull() const { return m_value == 0; }
  // True when the id names an object of a database that still exists (erased or not).
  bool isValid() const;
  // True when the object is erased; false for null and invalid ids.
  bool isErased() const;
  // The database that holds the object; nullptr for null and invalid ids.
  AcDbDatabase* database() const;
  // The object's handle in its database; null for null and invalid ids.
  AcDbHandle handle() const;

  // The id as one number, for selection sets and hash keys; 0 is the null id.
  Adesk::UInt64 asOldId() const { return m_value; }
  AcDbObjectId& setFromOldId(Adesk::UInt64 value) {
    m_value = value;
    return *this;
  }

  bool operator==(const AcDbObjectId&) const = default;
  auto operator<=>(const AcDbObjectId&) const = default;

 private:
  Adesk::UInt64 m_value = 0;
};

template <>
struct std::hash<AcDbObjectId> {
  std::size_t operator()(const AcDbObjectId& id) const noexcept {
    return std::hash<Adesk::UInt64>()(id.asOldId());
  }
};

// A growable array in the manner of the host SDK, over std::vector.
template <typename T>
class AcArray {
 public:
  AcArray() = default;
  AcArray(std::initializer_list<T> items) : m_items(items) {}
  int length() const { return static_cast<int>(m_items.size()); }
  bool isEmpty() const { return m_items.empty(); }
  AcArray& append(const T& item) {
    m_items.push_back(item);
    return *this;
  }
  AcArray& removeAll() {
    m_items.clear();
    return *this;
  }
  AcArray& removeAt(int index) {
    m_items.erase(m_items.begin() + index);
    return *this;
  }
  bool contains(const T& item) const {
    for (const T& x : m_items)
      if (x == item) return true;
    return false;
  }
  // Index of the first equal element, or -1.
  int find(const T& item) const {
    for (std::size_t i = 0; i < m_items.size(); ++i)
      if (m_items[i] == item) return static_cast<int>(i);
    return -1;
  }
  T& operator[](int i) { return m_items[static_cast<std::size_t>(i)]; }
  const T& operator[](int i) const { return m_items[static_cast<std::size_t>(i)]; }
  T& at(int i) { return m_items.at(static_cast<std::size_t>(i)); }
  const T& at(int i) const { return m_items.at(static_cast<std::size_t>(i)); }
  auto begin() { return m_items.begin(); }
  auto end() { return m_items.end(); }
  auto begin() const { return m_items.begin(); }
  auto end() const { return m_items.end(); }
  std::vector<T>& asVector() { return m_items; }
  const std::vector<T>& asVector() const { return m_items; }

 private:
  std::vector<T> m_items;
};

using AcDbObjectIdArray = AcArray<AcDbObjectId>;

#pragma GCC visibility pop
