#include "Juego.h"

int main() {
  Juego juego;
  juego.ejecuta();
}
