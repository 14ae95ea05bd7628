// What the directory scans find of a delivery; the later stages only read it.
#pragma once

#include <set>
#include <string>

/// Names without duplicates in ascending byte-wise order: std::string compares its
/// bytes as unsigned values, the shorter string first on a common prefix.
using Conjunto = std::set<std::string>;

/// A file of the project directory is held by its bare name; one of the solution
/// directory by ".." and its name, an image by "../images" and its name, joined by the
/// platform's separator.
struct Entrega {
  Conjunto fuentes;     // .cpp and .cc of the project directory
  Conjunto cabeceras;   // .h, .hh and .hpp of the project directory
  Conjunto auxiliares;  // .filters of the project directory, .props of the solution's
  Conjunto imagenes;    // the student's images of ../images
  bool hayImagenes = false;
  std::string proyecto;  // the .vcxproj; empty when none was found
  std::string solucion;  // the .sln; empty when none was found
  std::string info;      // info.txt in any letter case; empty when none was found
};
