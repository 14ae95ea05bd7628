// What only POSIX systems have: symbolic links everywhere and names that are not UTF-8.
#include "escenarios.h"

TEST(Comprobador, EnlacesSimbolicos) {
  Arbol arbol;
  construye(arbol, sin(completa(vcxproj({"ClCompile main.cpp", "ClCompile roto.cpp",
                                         "ClCompile lejos.cpp", "ClCompile bucle.cpp"})),
                       "images/"));
  arbol.directorio("../imagenes");
  arbol.enlace("../imagenes", "images");       // followed: the folder is there
  arbol.enlace("nada.cpp", "Juego/roto.cpp");  // listed, so matched by name
  arbol.enlace("../../x/lejos.cpp", "Juego/lejos2.cpp");
  arbol.archivo("../x/lejos.cpp");
  arbol.enlace("bucle.cpp", "Juego/bucle.cpp");
  cajas().clear();
  EXPECT_EQ(Comprobador().compruebaEntrega(), Desenlace::entregado);
  EXPECT_EQ(cajas(), (std::vector<Caja>{E(falta("lejos.cpp")), A(sinReferencia("lejos2.cpp"))}));
}

TEST(Comprobador, ImagesArchivoYEnlaceRoto) {
  for (const bool enlace : {false, true}) {
    SCOPED_TRACE(enlace ? "enlace roto" : "archivo");
    Arbol arbol;
    construye(arbol, sin(completa(), "images/"));
    if (enlace) {
      arbol.enlace("no-existe", "images");
    } else {
      arbol.archivo("images", "no es un directorio");
    }
    cajas().clear();
    EXPECT_EQ(Comprobador().compruebaEntrega(), Desenlace::entregado);
    EXPECT_EQ(cajas(), std::vector<Caja>{A(kSinImagenes)});
  }
}

TEST(Comprobador, NombreQueNoEsUtf8TerminaLaEjecucion) {
  const struct {
    const char* nombre;
    const char* ruta;
    const char* texto;
  } filas[] = {
      {"en el proyecto", "Juego/\xff.cpp",
       "No se ha podido convertir a UTF-8 el nombre \\xFF.cpp del directorio .: Invalid or "
       "incomplete multibyte or wide character."},
      {"en la solución", "a\xc3(.txt",
       "No se ha podido convertir a UTF-8 el nombre a\\xC3(.txt del directorio ..: Invalid or "
       "incomplete multibyte or wide character."},
      {"en images", "images/\xed\xa0\x80.png",  // a UTF-16 surrogate, not a character
       "No se ha podido convertir a UTF-8 el nombre \\xED\\xA0\\x80.png del directorio "
       "../images: Invalid or incomplete multibyte or wide character."},
  };
  for (const auto& fila : filas) {
    SCOPED_TRACE(fila.nombre);
    Arbol arbol;
    construye(arbol, sin(completa(), "info.txt"));
    arbol.archivo(fila.ruta);
    cajas().clear();
    EXPECT_EQ(Comprobador().compruebaEntrega(), Desenlace::fallido);
    EXPECT_EQ(cajas(), std::vector<Caja>{E(fila.texto)});
  }
}
