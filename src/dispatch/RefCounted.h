#pragma once

#include <cstddef>

namespace tarvix {

// Intrusive reference count for values the interpreter shares: strings,
// arrays and objects. The engine runs on one thread, so the count is a plain
// integer (no atomic traffic on every copy of a Variant).
class RefCounted {
 public:
  RefCounted() = default;
  RefCounted(const RefCounted&) = delete;
  RefCounted& operator=(const RefCounted&) = delete;

  void addRef() noexcept { ++refs_; }
  void release() {
    if (--refs_ == 0) finalRelease();
  }
  int refCount() const noexcept { return refs_; }

 protected:
  virtual ~RefCounted() = default;
  // Runs when the last reference goes; the default deletes the object.
  virtual void finalRelease() { delete this; }

  int refs_ = 0;
};

// Owning pointer to a RefCounted object.
template <class T>
class Ref {
 public:
  Ref() noexcept = default;
  Ref(std::nullptr_t) noexcept {}
  Ref(T* p) noexcept : p_(p) {
    if (p_) p_->addRef();
  }
  Ref(const Ref& o) noexcept : Ref(o.p_) {}
  Ref(Ref&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  template <class U>
  Ref(const Ref<U>& o) noexcept : Ref(o.get()) {}
  ~Ref() {
    if (p_) p_->release();
  }
  Ref& operator=(Ref o) noexcept {
    T* old = p_;
    p_ = o.p_;
    o.p_ = old;
    return *this;
  }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

template <class T, class... Args>
Ref<T> makeRef(Args&&... args) {
  return Ref<T>(new T(static_cast<Args&&>(args)...));
}

}  // namespace tarvix
