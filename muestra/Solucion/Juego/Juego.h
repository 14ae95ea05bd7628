#pragma once

class Juego {
 public:
  void ejecuta();

 private:
  int nivel = 1;
};
