#pragma once
// A value or an error, returned by every core operation that can fail. The core never shows
// anything; the windows and the batch command decide how an error reaches the user.

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace wirelark {

// An error the user can read: a complete Japanese sentence that names what failed and,
// where there is one, the row and the field.
struct Error {
    std::string message;
};

template <class T, class E = Error>
class [[nodiscard]] Expected {
  public:
    Expected(T value) : m_v(std::in_place_index<0>, std::move(value)) {}
    Expected(E error) : m_v(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_v.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & {
        assert(ok());
        return std::get<0>(m_v);
    }
    const T& value() const& {
        assert(ok());
        return std::get<0>(m_v);
    }
    T&& value() && {
        assert(ok());
        return std::get<0>(std::move(m_v));
    }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const E& error() const {
        assert(!ok());
        return std::get<1>(m_v);
    }

    template <class U>
    T valueOr(U&& fallback) const {
        return ok() ? std::get<0>(m_v) : static_cast<T>(std::forward<U>(fallback));
    }

  private:
    std::variant<T, E> m_v;
};

// For operations that return nothing but may fail.
struct Done {};
using Status = Expected<Done>;
inline Status success() {
    return Done{};
}

}  // namespace wirelark
