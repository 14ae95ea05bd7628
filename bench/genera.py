"""Deliveries as students hand them in, at the sizes the benchmark measures.

Each one is a solution folder `Solucion` with the project folder `Juego` inside: sources and
headers of real-looking C++, a project file that names every one of them (so the tool shows
no box), its filters, the solution file, info.txt, the template's five images and the
student's own images. Images are already-compressed data, as real ones are: PNGs whose
pixels are noise deflated the way PNG encoders do, and JPEGs whose scan is random bytes.
Everything comes from a fixed seed, so every run measures the same bytes.
"""

import os
import random
import struct
import zlib

# name: pairs of a source and its header besides main.cpp, the size range of a source (a
# header is half as large), how many images of the student and their size range.
TAMANOS = {
    "tipica": dict(modulos=20, fuente=(1_000, 20_000), imagenes=6, imagen=(60_000, 240_000)),
    "imagenes-20MB": dict(modulos=20, fuente=(1_000, 20_000), imagenes=8,
                          imagen=(2_200_000, 2_800_000)),
    "imagenes-200MB": dict(modulos=20, fuente=(1_000, 20_000), imagenes=40,
                           imagen=(4_500_000, 5_500_000)),
    "fuentes-4000": dict(modulos=2_000, fuente=(300, 2_500), imagenes=2, imagen=(40_000, 120_000)),
}

# Bumped whenever what is generated changes, so that older trees are made anew.
VERSION = "3"

PLANTILLA = ["animate.bmp", "background1.png", "dog.png", "helicopter.png", "helicopter2.png"]

_SUSTANTIVOS = ["jugador", "enemigo", "bala", "nivel", "mapa", "puntos", "vida", "sprite",
                "textura", "sonido", "menu", "boton", "camara", "escena", "objeto", "colision",
                "tiempo", "marcador", "partida", "disparo", "fondo", "animacion", "ventana",
                "teclado", "raton", "casilla", "tablero", "ficha", "pieza", "movimiento"]
_VERBOS = ["actualiza", "dibuja", "carga", "guarda", "mueve", "comprueba", "calcula", "inicia",
           "termina", "reinicia", "procesa", "lee", "escribe", "busca", "ordena", "elimina",
           "anade", "cuenta", "valida", "aplica"]
_TIPOS = ["int", "float", "double", "bool", "std::string", "unsigned", "char", "std::size_t"]
_COMENTARIOS = [
    "Se recorre la lista entera porque el orden importa para el dibujo.",
    "Si no queda vida, la partida termina en el siguiente fotograma.",
    "Las coordenadas van en pixeles desde la esquina superior izquierda.",
    "El tiempo se mide en milisegundos desde el inicio del nivel.",
    "TODO: mover esto a la clase Juego cuando este terminada.",
    "Comprobamos los limites antes de acceder al vector.",
    "La textura se carga una sola vez y se comparte entre los objetos.",
    "Cada casilla del tablero guarda el indice de la ficha que la ocupa.",
]


def _camello(*partes):
    return partes[0] + "".join(p.capitalize() for p in partes[1:])


def _clase(r):
    return r.choice(_SUSTANTIVOS).capitalize() + r.choice(["", "Manager", "Estado", "Lista", ""])


def _funcion(r, clase):
    nombre = _camello(r.choice(_VERBOS), r.choice(_SUSTANTIVOS))
    tipo = r.choice(_TIPOS)
    args = ", ".join(f"{r.choice(_TIPOS)} {r.choice(_SUSTANTIVOS)}{i}"
                     for i in range(r.randint(0, 3)))
    cuerpo = [f"// {r.choice(_COMENTARIOS)}"] if r.random() < 0.5 else []
    var = r.choice(_SUSTANTIVOS)
    for _ in range(r.randint(2, 12)):
        forma = r.randrange(6)
        otro = r.choice(_SUSTANTIVOS)
        if forma == 0:
            cuerpo.append(f"for (int i = 0; i < {otro}s.size(); ++i) {{")
            cuerpo.append(f"  {var} += {otro}s[i].{_camello('get', r.choice(_SUSTANTIVOS))}();")
            cuerpo.append("}")
        elif forma == 1:
            cuerpo.append(f"if ({var} > {r.randint(0, 640)} && !{otro}Activo) {{")
            cuerpo.append(f"  {_camello(r.choice(_VERBOS), otro)}({var});")
            cuerpo.append("} else {")
            cuerpo.append(f"  {var} = {r.randint(0, 100)};")
            cuerpo.append("}")
        elif forma == 2:
            cuerpo.append(f"{var} = {otro} * {r.randint(2, 9)} + {r.randint(0, 50)};")
        elif forma == 3:
            cuerpo.append(f'std::cout << "{otro}: " << {var} << std::endl;')
        elif forma == 4:
            cuerpo.append(f"while ({otro}Pendiente) {{")
            cuerpo.append(f"  {otro}Pendiente = {_camello(r.choice(_VERBOS), otro)}();")
            cuerpo.append("}")
        else:
            cuerpo.append(f"// {r.choice(_COMENTARIOS)}")
    cuerpo.append(f"return {var};" if tipo != "bool" else "return true;")
    prefijo = f"{clase}::" if clase else ""
    texto = f"{tipo} {prefijo}{nombre}({args}) {{\n"
    texto += "".join(f"  {linea}\n" for linea in cuerpo)
    return texto + "}\n\n"


def fuente(r, nombre, cabecera, tamano, clase=None):
    """A source of about `tamano` bytes: methods of `clase`, or free functions and main()."""
    texto = (f"// {nombre}: {r.choice(_COMENTARIOS)}\n#include \"{cabecera}\"\n\n"
             "#include <iostream>\n#include <string>\n#include <vector>\n\n")
    while len(texto) < tamano:
        texto += _funcion(r, clase)
    if clase is None:
        texto += ("int main() {\n  Juego juego;\n  while (juego.sigue()) {\n"
                  "    juego.actualiza();\n    juego.dibuja();\n  }\n  return 0;\n}\n")
    return texto.encode()


def cabecera(r, clase, tamano):
    texto = f"#pragma once\n\n#include <string>\n#include <vector>\n\nclass {clase} {{\npublic:\n"
    while len(texto) < tamano - 40:
        texto += (f"  {r.choice(_TIPOS)} {_camello(r.choice(_VERBOS), r.choice(_SUSTANTIVOS))}"
                  f"({r.choice(_TIPOS)} {r.choice(_SUSTANTIVOS)});\n")
        if r.random() < 0.2:
            texto += f"  // {r.choice(_COMENTARIOS)}\n"
    texto += "private:\n"
    for _ in range(r.randint(2, 6)):
        texto += f"  {r.choice(_TIPOS)} {r.choice(_SUSTANTIVOS)}_;\n"
    return (texto + "};\n").encode()


def _bloque(tipo, datos):
    return (struct.pack(">I", len(datos)) + tipo + datos
            + struct.pack(">I", zlib.crc32(tipo + datos) & 0xFFFFFFFF))


# Pixel bytes with six bits of noise each, as a photograph gives a PNG encoder.
_RUIDO = bytes(0x40 + (i & 0x3F) for i in range(256))


def png(r, tamano):
    ancho = r.choice([640, 800, 1024, 1280, 1920])
    fila = ancho * 3
    # Deflating this noise keeps about three quarters of it.
    alto = max(1, int(tamano / 0.76) // (fila + 1))
    filas = r.randbytes(alto * fila).translate(_RUIDO)
    crudo = b"".join(b"\x00" + filas[i * fila:(i + 1) * fila] for i in range(alto))
    return (b"\x89PNG\r\n\x1a\n"
            + _bloque(b"IHDR", struct.pack(">IIBBBBB", ancho, alto, 8, 2, 0, 0, 0))
            + _bloque(b"IDAT", zlib.compress(crudo, 6)) + _bloque(b"IEND", b""))


def bmp(r, tamano):
    ancho = 160
    alto = max(1, tamano // (ancho * 3))
    pixeles = r.randbytes(alto * ancho * 3).translate(_RUIDO)
    return (b"BM" + struct.pack("<IHHI", 54 + len(pixeles), 0, 0, 54)
            + struct.pack("<IiiHHIIiiII", 40, ancho, alto, 1, 24, 0, len(pixeles), 2835, 2835, 0, 0)
            + pixeles)


def jpeg(r, tamano):
    cabeza = (b"\xff\xd8\xff\xe0" + struct.pack(">H", 16) + b"JFIF\x00\x01\x01\x00\x00\x01\x00\x01"
              b"\x00\x00" + b"\xff\xdb\x00\x43\x00" + bytes(r.randrange(1, 64) for _ in range(64))
              + b"\xff\xc0\x00\x11\x08\x03\x00\x04\x00\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01"
              + b"\xff\xda\x00\x0c\x03\x01\x00\x02\x11\x03\x11\x00\x3f\x00")
    # Entropy-coded data never holds a bare 0xFF: it is stuffed with a zero byte.
    escaneo = r.randbytes(tamano).replace(b"\xff", b"\xff\x00")
    return cabeza + escaneo + b"\xff\xd9"


def _vcxproj(fuentes, cabeceras):
    items = lambda tipo, nombres: "".join(f'    <{tipo} Include="{n}" />\r\n' for n in nombres)
    configuraciones = ""
    for conf in ("Debug", "Release"):
        for plat in ("Win32", "x64"):
            configuraciones += (
                f'    <ProjectConfiguration Include="{conf}|{plat}">\r\n'
                f"      <Configuration>{conf}</Configuration>\r\n"
                f"      <Platform>{plat}</Platform>\r\n    </ProjectConfiguration>\r\n")
    definiciones = ""
    for conf in ("Debug", "Release"):
        definiciones += (
            f"  <ItemDefinitionGroup Condition=\"'$(Configuration)|$(Platform)'=='{conf}|x64'\">\r\n"
            "    <ClCompile>\r\n      <WarningLevel>Level3</WarningLevel>\r\n"
            "      <SDLCheck>true</SDLCheck>\r\n      <ConformanceMode>true</ConformanceMode>\r\n"
            "      <AdditionalIncludeDirectories>$(SolutionDir)include</AdditionalIncludeDirectories>"
            "\r\n    </ClCompile>\r\n    <Link>\r\n      <SubSystem>Console</SubSystem>\r\n"
            "      <GenerateDebugInformation>true</GenerateDebugInformation>\r\n"
            "    </Link>\r\n  </ItemDefinitionGroup>\r\n")
    return ('\ufeff<?xml version="1.0" encoding="utf-8"?>\r\n'
            '<Project DefaultTargets="Build" '
            'xmlns="http://schemas.microsoft.com/developer/msbuild/2003">\r\n'
            '  <ItemGroup Label="ProjectConfigurations">\r\n' + configuraciones
            + "  </ItemGroup>\r\n  <PropertyGroup Label=\"Globals\">\r\n"
            "    <VCProjectVersion>17.0</VCProjectVersion>\r\n"
            "    <ProjectGuid>{8C6B1E4A-3F2D-4B7E-9A51-2D3C4E5F6A7B}</ProjectGuid>\r\n"
            "    <RootNamespace>Juego</RootNamespace>\r\n  </PropertyGroup>\r\n"
            '  <Import Project="$(VCTargetsPath)\\Microsoft.Cpp.Default.props" />\r\n'
            + definiciones + "  <ItemGroup>\r\n" + items("ClCompile", fuentes)
            + "  </ItemGroup>\r\n  <ItemGroup>\r\n" + items("ClInclude", cabeceras)
            + "  </ItemGroup>\r\n"
            '  <Import Project="$(VCTargetsPath)\\Microsoft.Cpp.targets" />\r\n'
            "</Project>\r\n").encode()


def _filters(fuentes, cabeceras):
    items = lambda tipo, filtro, nombres: "".join(
        f'    <{tipo} Include="{n}">\r\n      <Filter>{filtro}</Filter>\r\n    </{tipo}>\r\n'
        for n in nombres)
    return ('\ufeff<?xml version="1.0" encoding="utf-8"?>\r\n<Project ToolsVersion="4.0" '
            'xmlns="http://schemas.microsoft.com/developer/msbuild/2003">\r\n  <ItemGroup>\r\n'
            + items("ClCompile", "Archivos de origen", fuentes) + "  </ItemGroup>\r\n"
            "  <ItemGroup>\r\n" + items("ClInclude", "Archivos de encabezado", cabeceras)
            + "  </ItemGroup>\r\n</Project>\r\n").encode()


_SLN = ("\ufeff\r\nMicrosoft Visual Studio Solution File, Format Version 12.00\r\n"
        "# Visual Studio Version 17\r\nVisualStudioVersion = 17.5.33516.290\r\n"
        'Project("{8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942}") = "Juego", "Juego\\Juego.vcxproj", '
        '"{8C6B1E4A-3F2D-4B7E-9A51-2D3C4E5F6A7B}"\r\nEndProject\r\nGlobal\r\n'
        "\tGlobalSection(SolutionConfigurationPlatforms) = preSolution\r\n"
        "\t\tDebug|x64 = Debug|x64\r\n\t\tRelease|x64 = Release|x64\r\n"
        "\tEndGlobalSection\r\nEndGlobal\r\n").encode()


def genera(destino, nombre):
    """Writes the delivery `nombre` below `destino` (which must not exist yet)."""
    t = TAMANOS[nombre]
    r = random.Random(f"{nombre}-{VERSION}")
    solucion = os.path.join(destino, "Solucion")
    proyecto = os.path.join(solucion, "Juego")
    imagenes = os.path.join(solucion, "images")
    os.makedirs(proyecto)
    os.makedirs(imagenes)

    def escribe(ruta, datos):
        with open(ruta, "wb") as f:
            f.write(datos)

    fuentes, cabeceras, usados = ["main.cpp"], [], set()
    for i in range(t["modulos"]):
        clase = _clase(r)
        while clase in usados:
            clase = _clase(r) + str(i)
        usados.add(clase)
        fuentes.append(clase + ".cpp")
        cabeceras.append(clase + ".h")
        escribe(os.path.join(proyecto, clase + ".cpp"),
                fuente(r, clase + ".cpp", clase + ".h", r.randint(*t["fuente"]), clase))
        escribe(os.path.join(proyecto, clase + ".h"),
                cabecera(r, clase, r.randint(*t["fuente"]) // 2))
    escribe(os.path.join(proyecto, "main.cpp"),
            fuente(r, "main.cpp", cabeceras[0], r.randint(*t["fuente"])))
    escribe(os.path.join(proyecto, "Juego.vcxproj"), _vcxproj(fuentes, cabeceras))
    escribe(os.path.join(proyecto, "Juego.vcxproj.filters"), _filters(fuentes, cabeceras))
    escribe(os.path.join(solucion, "Solucion.sln"), _SLN)
    escribe(os.path.join(solucion, "info.txt"),
            "Autores: Ana García López y Luis Martín Pérez\r\n"
            "Funcionalidades opcionales: menú de pausa, récords, sonido.\r\n".encode())
    for plantilla in PLANTILLA:
        escribe(os.path.join(imagenes, plantilla),
                bmp(r, 30_000) if plantilla.endswith(".bmp") else png(r, 30_000))
    for i in range(t["imagenes"]):
        tamano = r.randint(*t["imagen"])
        if i % 3 == 2:
            escribe(os.path.join(imagenes, f"foto{i:02d}.jpg"), jpeg(r, tamano))
        else:
            escribe(os.path.join(imagenes, f"sprite{i:02d}.png"), png(r, tamano))
    return proyecto
