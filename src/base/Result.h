#pragma once

#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

// The one shape a failure takes when it crosses a layer: a value or the layer's own error (an
// enum or a small struct that says what went wrong; the user-facing text is made from it in
// one place of that layer). No exceptions cross a layer.
namespace quenmar {

/// Marks the error alternative when a Result is built: `return Failure{Error::Locked};`.
template <typename E>
struct Failure {
    E error;
};
template <typename E>
Failure(E) -> Failure<E>;

template <typename T, typename E>
class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    template <typename F, typename = std::enable_if_t<std::is_convertible_v<F, E>>>
    Result(Failure<F> failure) : m_state(std::in_place_index<1>, std::move(failure.error)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(m_state); }
    const T& value() const& { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const E& error() const { return std::get<1>(m_state); }

private:
    std::variant<T, E> m_state;
};

/// A step that yields nothing but may fail.
template <typename E>
class [[nodiscard]] Result<void, E> {
public:
    Result() = default;
    template <typename F, typename = std::enable_if_t<std::is_convertible_v<F, E>>>
    Result(Failure<F> failure) : m_error(std::move(failure.error)) {}

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    const E& error() const { return *m_error; }

private:
    std::optional<E> m_error;
};

} // namespace quenmar
