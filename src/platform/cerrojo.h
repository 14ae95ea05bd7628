// One run at a time in a project folder: a lock that the system drops with the process.
#pragma once

#include "archivos.h"

#include <cstdint>

namespace plataforma {

/// Holds the current directory against every other run in it, from `toma` until it is
/// destroyed. A process that dies gives it up without leaving anything on disk.
class Cerrojo {
 public:
  Cerrojo() = default;
  Cerrojo(const Cerrojo&) = delete;
  Cerrojo& operator=(const Cerrojo&) = delete;
  ~Cerrojo();

  /// Waits, silently, until no other run holds the current directory, and takes it. A
  /// failure only when the lock cannot be had at all.
  Resultado<void> toma();

 private:
  std::intptr_t asa = -1;  // the system's handle of the lock; -1 while none is held
};

}  // namespace plataforma
