// Where the checker's findings go: each in its own box, at once.
#pragma once

#include "vista.h"

/// Each finding in its own box, shown at once, with the full stop the box adds.
class Cajas : public Hallazgos {
 public:
  void error(const std::string& texto) override;
  void aviso(const std::string& texto) override;
};
