// How every failure travels, from the platform up: a result holds its value or the failure,
// which says what failed, where, the system's reason, and what it costs the caller.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace plataforma {

/// What a failure costs: the one item it concerns, which the caller may report and skip to
/// go on with the rest, or everything the caller was doing.
enum class Alcance { elemento, todo };

/// A failure the caller has no handling for but to report it. Each part is in Spanish and
/// may be empty: what failed, the path or name it concerns, and the system's reason.
struct Fallo {
  explicit Fallo(std::string que = {}, std::string donde = {}, std::string razon = {},
                 Alcance alcance = Alcance::elemento)
      : que(std::move(que)), donde(std::move(donde)), razon(std::move(razon)), alcance(alcance) {}

  std::string que;
  std::string donde;
  std::string razon;
  Alcance alcance;

  /// "que donde: razon", without a final full stop: it gets one where it is shown.
  std::string texto() const;
};

/// The value an operation gives, or why it gives none.
template <class T, class E = Fallo>
class [[nodiscard]] Resultado {
 public:
  Resultado(T valor) : contenido(std::in_place_index<0>, std::move(valor)) {}
  Resultado(E error) : contenido(std::in_place_index<1>, std::move(error)) {}

  explicit operator bool() const { return contenido.index() == 0; }
  T& operator*() & { return std::get<0>(contenido); }
  const T& operator*() const& { return std::get<0>(contenido); }
  T&& operator*() && { return std::get<0>(std::move(contenido)); }
  T* operator->() { return &std::get<0>(contenido); }
  const T* operator->() const { return &std::get<0>(contenido); }
  /// Only when there is no value.
  const E& error() const& { return std::get<1>(contenido); }
  E&& error() && { return std::get<1>(std::move(contenido)); }

 private:
  std::variant<T, E> contenido;
};

/// An operation that gives nothing but may fail.
template <class E>
class [[nodiscard]] Resultado<void, E> {
 public:
  Resultado() = default;
  Resultado(E error) : error_(std::move(error)) {}

  explicit operator bool() const { return !error_; }
  /// Only when it failed.
  const E& error() const& { return *error_; }
  E&& error() && { return *std::move(error_); }

 private:
  std::optional<E> error_;
};

}  // namespace plataforma
