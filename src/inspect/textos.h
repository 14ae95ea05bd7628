// The texts of the inspection's boxes, without the full stop the box adds.
#pragma once

namespace textos {

inline constexpr const char* kEnSolucion =
    "El programa no se está ejecutando en el directorio de un proyecto, sino en el de una "
    "solución";
inline constexpr const char* kSinProyecto =
    "El programa no se está ejecutando en el directorio de un proyecto de Visual Studio (no se "
    "encuentra el .vcxproj)";
inline constexpr const char* kSinSolucion = "No se encuentra la solución del proyecto";
inline constexpr const char* kSinInfo =
    "Falta el archivo info.txt con el nombre de los autores e información de las "
    "funcionalidades opcionales implementadas";
inline constexpr const char* kSinImagenes =
    "No se encuentra el directorio \"images\" de la plantilla con las imágenes";
inline constexpr const char* kProyectoIlegible = "Error al procesar el archivo del proyecto";

inline constexpr const char* kArchivo = "El archivo ";
inline constexpr const char* kArchivoFuera =
    " al que hace referencia el proyecto no está ubicado en su directorio";
inline constexpr const char* kArchivoNoExiste = " al que hace referencia el proyecto no existe";
inline constexpr const char* kCabecera = "La cabecera ";
inline constexpr const char* kCabeceraFuera =
    " a la que hace referencia el proyecto no está ubicada en su directorio";
inline constexpr const char* kCabeceraNoExiste = " a la que hace referencia el proyecto no existe";
inline constexpr const char* kSinReferencia = "El proyecto no hace referencia al archivo ";

}  // namespace textos
