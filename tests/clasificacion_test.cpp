// Extensions and case folding, the rules every classification rests on.
#include "clasificacion.h"

#include <gtest/gtest.h>

TEST(Clasificacion, Extension) {
  const struct {
    const char* nombre;
    const char* extension;
  } filas[] = {
      {"main.cpp", ".cpp"},  {"P2.vcxproj.filters", ".filters"},
      {"a.b.CPP", ".CPP"},   {"makefile", ""},
      {".cpp", ""},          {".gitignore", ""},
      {"main.", "."},        {"..", "."},
      {"a.b.cpp", ".cpp"},   {"", ""},
      {"señal.cpp", ".cpp"}, {"foto.tar.png", ".png"},
  };
  for (const auto& fila : filas) {
    SCOPED_TRACE(fila.nombre);
    EXPECT_EQ(extension(fila.nombre), fila.extension);
  }
}

TEST(Clasificacion, PliegaSoloMayusculasAscii) {
  EXPECT_EQ(pliega("INFO.TXT"), "info.txt");
  EXPECT_EQ(pliega("Árbol.PNG"), "Árbol.png");  // the bytes of Á stay as they are
  EXPECT_EQ(pliega("[@Z`a]"), "[@z`a]");
}
