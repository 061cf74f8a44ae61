#pragma once
// One move-only owner for every kind of handle the launcher holds: kernel handles, registry
// keys, modules, mappings, views, windows, GDI objects. Each kind is a one-line alias naming its
// release function and its empty value, so no release can be skipped on an early return and
// releasing an empty owner does nothing.

#include <cstdint>
#include <type_traits>
#include <utility>

namespace launcher {

template <typename T, auto Close, std::intptr_t EmptyValue = 0>
class UniqueAny {
 public:
  using value_type = T;

  static T emptyValue() noexcept {
    if constexpr (std::is_pointer_v<T>) {
      return reinterpret_cast<T>(EmptyValue);
    } else {
      return static_cast<T>(EmptyValue);
    }
  }

  UniqueAny() noexcept : value_(emptyValue()) {}
  explicit UniqueAny(T value) noexcept : value_(value) {}
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueAny() { reset(); }

  T get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != emptyValue(); }

  // Releases the held value (if any) and takes `value` in its place.
  void reset(T value = emptyValue()) noexcept {
    T old = std::exchange(value_, value);
    if (old != emptyValue()) Close(old);
  }

  // Gives up ownership without releasing.
  [[nodiscard]] T release() noexcept { return std::exchange(value_, emptyValue()); }

  // For APIs that return the value through an out-parameter; the old value is released first.
  T* put() noexcept {
    reset();
    return &value_;
  }

 private:
  T value_;
};

}  // namespace launcher
