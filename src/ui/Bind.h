#pragma once

#include <functional>

// Ties a control's value to an outside value through a getter and a setter. Both callables must
// be set; calling an empty one throws std::bad_function_call.
template <typename T>
class Bind {
 public:
  using Getter = std::function<T()>;
  using Setter = std::function<void(T)>;

  Bind(Getter getter, Setter setter) : getter(std::move(getter)), setter(std::move(setter)) {}
  virtual ~Bind() = default;

  T Get() const { return getter(); }
  void Set(T value) const { setter(value); }

 private:
  Getter getter;
  Setter setter;
};
