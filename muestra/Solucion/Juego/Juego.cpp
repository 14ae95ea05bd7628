#include "Juego.h"

#include <iostream>

void Juego::ejecuta() { std::cout << "Nivel " << nivel << '\n'; }
