#!/usr/bin/env python3
"""comprobador.exe under wine, in delivery trees: exit codes, entrega.zip, and the exact
sequence of boxes, read from wine's relay trace of user32.MessageBoxA."""

import contextlib
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

# --debe-fallar runs one case whose expectation is planted wrong: ctest must see it fail.
DEBE_FALLAR = "--debe-fallar" in sys.argv
ARGUMENTOS = [os.path.abspath(a) for a in sys.argv[1:] if a != "--debe-fallar"]
EXE, MUESTRA = ARGUMENTOS[0], ARGUMENTOS[1]
SIN_MANIFIESTO = ARGUMENTOS[2] if len(ARGUMENTOS) > 2 else None
LINUX = ARGUMENTOS[3] if len(ARGUMENTOS) > 3 else None
RETENEDOR = ARGUMENTOS[4] if len(ARGUMENTOS) > 4 else None
WINE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts", "wine.sh")

TITULO = "Kelm - Práctica 2"
ERROR, AVISO = 0x10, 0x30
EN_SOLUCION = ("El programa no se está ejecutando en el directorio de un proyecto, sino en el "
               "de una solución.")
SIN_PROYECTO = ("El programa no se está ejecutando en el directorio de un proyecto de Visual "
                "Studio (no se encuentra el .vcxproj).")
SIN_SOLUCION = "No se encuentra la solución del proyecto."
SIN_INFO = ("Falta el archivo info.txt con el nombre de los autores e información de las "
            "funcionalidades opcionales implementadas.")
SIN_IMAGENES = "No se encuentra el directorio \"images\" de la plantilla con las imágenes."
ILEGIBLE = "Error al procesar el archivo del proyecto."
SIN_ZIP = "No se ha podido crear el archivo entrega.zip en el directorio actual."

LLAMADA = re.compile(r'Call user32\.MessageBoxA\(([0-9a-f]+),[0-9a-f]+ "((?:[^"\\]|\\.)*)",'
                     r'[0-9a-f]+ "((?:[^"\\]|\\.)*)",([0-9a-f]+)\)')


def desescapa(texto):
    """The relay trace writes bytes of 0x80 and over as \\xNN, and C escapes. Bytes that are
    not UTF-8 come back as lone surrogates (U+DC80 to U+DCFF)."""
    salida = bytearray()
    i = 0
    while i < len(texto):
        c = texto[i]
        if c == "\\":
            s = texto[i + 1]
            if s == "x":
                salida.append(int(texto[i + 2:i + 4], 16))
                i += 4
                continue
            salida += {"n": b"\n", "r": b"\r", "t": b"\t"}.get(s, s.encode())
            i += 2
        else:
            salida += c.encode()
            i += 1
    return salida.decode("utf-8", "surrogateescape")


def inicia(programa, proyecto):
    """Starts a run; its trace goes to a file, since a pipe left unread would stop it."""
    entorno = dict(os.environ, WINEDEBUG="-all,+relay")
    traza = tempfile.TemporaryFile()
    proceso = subprocess.Popen([WINE, programa], cwd=proyecto, env=entorno,
                               stdout=subprocess.DEVNULL, stderr=traza)
    return proceso, traza


def espera(iniciado):
    proceso, traza = iniciado
    codigo = proceso.wait(timeout=300)
    traza.seek(0)
    cajas = []
    for linea in traza.read().decode("latin-1").splitlines():
        m = LLAMADA.search(linea)
        if m:
            dueno, texto, titulo, estilo = m.groups()
            assert int(dueno, 16) == 0, linea
            assert desescapa(titulo) == TITULO, linea
            cajas.append((int(estilo, 16), desescapa(texto)))
    traza.close()
    return codigo, cajas


def ejecuta(programa, proyecto):
    return espera(inicia(programa, proyecto))


def retiene(carpeta, nombre, acceso, compartir, segundos):
    """Another program holding a file, with CreateFileW's access and share mode."""
    proceso = subprocess.Popen([WINE, RETENEDOR, nombre, acceso, compartir, str(segundos)],
                               cwd=carpeta, stdout=subprocess.PIPE)
    linea = proceso.stdout.readline().strip()
    assert linea == b"listo", linea
    return proceso


def lento(n):
    """Four letters at random: level 9 deflate takes about half a second per megabyte."""
    aleatorio = random.Random(777)
    return bytes(aleatorio.choice(b"acgt") for _ in range(n))


def proyecto_xml(*items):
    filas = "".join(f'<{i.split(" ", 1)[0]} Include="{i.split(" ", 1)[1]}" />' for i in items)
    return f'<?xml version="1.0" encoding="utf-8"?><Project><ItemGroup>{filas}</ItemGroup></Project>'


def completa(proyecto="Juego", extra=None, xml=None):
    arbol = {f"{proyecto}/Juego.vcxproj": xml or proyecto_xml("ClCompile main.cpp",
                                                               "ClInclude juego.h"),
             f"{proyecto}/main.cpp": "int main() {}\r\n", f"{proyecto}/juego.h": "#pragma once\r\n",
             "Solucion.sln": "sln\r\n", "info.txt": "Autores\r\n", "images/": None}
    arbol.update(extra or {})
    return arbol


def construye(raiz, arbol):
    for ruta, contenido in arbol.items():
        camino = os.path.join(raiz, ruta)
        if ruta.endswith("/"):
            os.makedirs(camino, exist_ok=True)
            continue
        os.makedirs(os.path.dirname(camino), exist_ok=True)
        if contenido is None:
            continue
        with open(camino, "wb") as f:
            f.write(contenido if isinstance(contenido, bytes) else contenido.encode())


def entradas(ruta):
    with zipfile.ZipFile(ruta) as z:
        assert z.testzip() is None
        return [(i.filename, z.read(i), i.CRC, i.create_version, i.create_system,
                 i.extract_version, i.flag_bits, i.compress_type, i.date_time, i.extra,
                 i.external_attr) for i in z.infolist()]


ESCENARIOS = [
    ("directorio vacío", {"Juego/": None}, [(ERROR, SIN_PROYECTO)], 1, None),
    ("solución sin proyecto", {"Juego/Juego.sln": ""}, [(ERROR, EN_SOLUCION)], 1, None),
    ("completa", completa(), [], 0,
     ["Juego/Juego.vcxproj", "Solucion.sln", "Juego/main.cpp", "Juego/juego.h", "info.txt"]),
    ("sin solución ni info.txt",
     {k: v for k, v in completa().items() if k not in ("Solucion.sln", "info.txt")},
     [(ERROR, SIN_SOLUCION), (ERROR, SIN_INFO), (AVISO, SIN_IMAGENES)], 1, None),
    ("proyecto ilegible", completa(xml="<Project>"), [(ERROR, ILEGIBLE)], 0, None),
    ("referencias", completa(xml=proyecto_xml(
        "ClCompile main.cpp", "ClCompile ..\\comun\\util.cpp", "ClCompile nada.cpp",
        "ClInclude inc\\a.h", "ClInclude nada.h"),
        extra={"comun/util.cpp": "", "Juego/inc/a.h": "", "Juego/otro.cpp": ""}),
     [(ERROR, "El archivo ..\\comun\\util.cpp al que hace referencia el proyecto no está "
              "ubicado en su directorio."),
      (ERROR, "El archivo nada.cpp al que hace referencia el proyecto no existe."),
      (ERROR, "La cabecera inc\\a.h a la que hace referencia el proyecto no está ubicada en su "
              "directorio."),
      (ERROR, "La cabecera nada.h a la que hace referencia el proyecto no existe."),
      (AVISO, "El proyecto no hace referencia al archivo otro.cpp.")], 0, None),
    ("entrega.zip es un directorio", completa(extra={"Juego/entrega.zip/": None}),
     [(ERROR, SIN_ZIP)], 1, None),
    ("imágenes y plantilla", completa(extra={"images/dog.png": "x", "images/Héroe.PNG": "y",
                                             "images/fondo.jpeg": "z", "images/nota.txt": "n",
                                             "images/extra.png/": None}),
     [], 0, ["Juego/Juego.vcxproj", "Solucion.sln", "Juego/main.cpp", "Juego/juego.h",
             "info.txt", "images/Héroe.PNG", "images/fondo.jpeg"]),
]

# Cases that must end exactly as the Linux build ends them: exit status, boxes, archive.
COMO_EN_LINUX = [
    # A project saved as Latin-1: the value has no UTF-16 form, so it names no file.
    ("Include que no es UTF-8", completa(xml=proyecto_xml(
        "ClCompile main.cpp", "ClInclude juego.h", "ClCompile se\udcf1al.cpp").encode(
            "utf-8", "surrogateescape")),
     [(ERROR, "El archivo se\udcf1al.cpp al que hace referencia el proyecto no existe.")]),
    # Windows opens devices under these names; they name no file of the delivery.
    ("nombres reservados de dispositivos", completa(xml=proyecto_xml(
        "ClCompile main.cpp", "ClInclude juego.h", "ClCompile nul", "ClCompile con",
        "ClInclude aux.h", "ClCompile PRN", "ClCompile com1", "ClInclude Lpt1.h")),
     [(ERROR, "El archivo nul al que hace referencia el proyecto no existe."),
      (ERROR, "El archivo con al que hace referencia el proyecto no existe."),
      (ERROR, "La cabecera aux.h a la que hace referencia el proyecto no existe."),
      (ERROR, "El archivo PRN al que hace referencia el proyecto no existe."),
      (ERROR, "El archivo com1 al que hace referencia el proyecto no existe."),
      (ERROR, "La cabecera Lpt1.h a la que hace referencia el proyecto no existe.")]),
]

# Files another program holds open with the right to delete them, sharing everything.
RETENIDOS = ["Juego.vcxproj", "main.cpp", "..\\Solucion.sln", "..\\info.txt",
             "..\\images\\heroe.png"]

# Names that are not ASCII, in the folders, the project file and the archive's entries.
NO_ASCII = completa("Práctica 2", xml=proyecto_xml("ClCompile señal.cpp", "ClCompile main.cpp"),
                    extra={"Práctica 2/señal.cpp": "// ñ\r\n", "images/canción.png": "png"})
NO_ASCII["Práctica 2/Señal.vcxproj"] = NO_ASCII.pop("Práctica 2/Juego.vcxproj")
NO_ASCII_ENTRADAS = ["Práctica 2/Señal.vcxproj", "Solucion.sln", "Práctica 2/main.cpp",
                     "Práctica 2/señal.cpp", "Práctica 2/juego.h", "info.txt",
                     "images/canción.png"]

fallos = 0
hechos = 0


def comprueba(nombre, condicion, detalle=""):
    global fallos, hechos
    print(("ok    " if condicion else "FALLO ") + nombre + ("" if condicion else ": " + detalle))
    hechos += 1
    fallos += 0 if condicion else 1
    hechos += 1


@contextlib.contextmanager
def retenidos(carpeta, rutas, acceso="0x80010000", compartir="0x7"):
    """Each of `rutas`, relative to `carpeta`, held open by retenedor.exe in the same prefix
    while the block runs."""
    procesos = []
    try:
        for ruta in rutas:
            procesos.append(subprocess.Popen([WINE, RETENEDOR, ruta, acceso, compartir, "120"],
                                             cwd=carpeta, stdout=subprocess.PIPE,
                                             stderr=subprocess.PIPE))
        for ruta, proceso in zip(rutas, procesos):
            linea = proceso.stdout.readline()
            if linea.strip() != b"listo":
                raise RuntimeError(f"retenedor {ruta}: {linea!r} {proceso.stderr.read()!r}")
        yield
    finally:
        for proceso in procesos:
            proceso.kill()
            proceso.wait()


def escenario(nombre, arbol, cajas, codigo, nombres, programa=EXE, proyecto="Juego",
              retener=()):
    with tempfile.TemporaryDirectory() as tmp:
        construye(os.path.join(tmp, "Solucion"), arbol)
        carpeta = os.path.join(tmp, "Solucion", proyecto)
        with retenidos(carpeta, retener):
            obtenido, vistas = ejecuta(programa, carpeta)
        zip_ = os.path.join(carpeta, "entrega.zip")
        ok = obtenido == codigo and vistas == cajas and os.path.isfile(zip_) == (codigo == 0)
        detalle = f"salida {obtenido}, cajas {vistas}"
        if ok and nombres is not None:
            lista = entradas(zip_)
            ok = [e[0] for e in lista] == nombres and all(
                e[3:] == (36, 0, 20, 0x802, 8, lista[0][8], b"", 0) and e[8][3:] == (0, 0, 0)
                for e in lista)
            detalle = f"entradas {[e[0] for e in lista]}"
        comprueba(nombre, ok, detalle)
        return ok


def cajas_linux(error):
    """The Linux build's boxes: one line each on standard error."""
    cajas = []
    for linea in error.decode("utf-8", "surrogateescape").splitlines():
        for prefijo, estilo in ((TITULO + ": error: ", ERROR), (TITULO + ": aviso: ", AVISO)):
            if linea.startswith(prefijo):
                cajas.append((estilo, linea[len(prefijo):]))
    return cajas


def como_en_linux(nombre, arbol, cajas):
    """The case under wine and with the Linux build: the same exit 0, the same boxes, and
    the same archive, entry for entry."""
    with tempfile.TemporaryDirectory() as tmp:
        for lado in ("windows", "linux"):
            construye(os.path.join(tmp, lado), arbol)
        obtenido, vistas = ejecuta(EXE, os.path.join(tmp, "windows", "Juego"))
        r = subprocess.run([LINUX], cwd=os.path.join(tmp, "linux", "Juego"), capture_output=True)
        ok = (obtenido, vistas) == (0, cajas) == (r.returncode, cajas_linux(r.stderr))
        detalle = f"salida {obtenido}, cajas {vistas}; en Linux {r.returncode}, {r.stderr!r}"
        if ok:
            a = entradas(os.path.join(tmp, "windows", "Juego", "entrega.zip"))
            b = entradas(os.path.join(tmp, "linux", "Juego", "entrega.zip"))
            ok, detalle = a == b, f"{[e[0] for e in a]} / {[e[0] for e in b]}"
        comprueba(nombre, ok, detalle)


def termina():
    print(f"{hechos - fallos} passed, {fallos} failed")
    sys.exit(1 if fallos else 0)


if DEBE_FALLAR:
    escenario("completa, con la salida esperada cambiada a propósito", completa(), [], 1, None)
    termina()

for fila in ESCENARIOS:
    escenario(*fila)

escenario("nombres no ASCII con el manifiesto", NO_ASCII, [], 0, NO_ASCII_ENTRADAS,
          proyecto="Práctica 2")
# Every file is opened by its UTF-16 name, so the code page plays no part in reaching it.
if SIN_MANIFIESTO:
    escenario("sin el manifiesto los nombres no ASCII se entregan igual", NO_ASCII, [], 0,
              NO_ASCII_ENTRADAS, programa=SIN_MANIFIESTO, proyecto="Práctica 2")

if RETENEDOR:
    escenario("archivos retenidos con permiso de borrado",
              completa(extra={"images/heroe.png": "png"}), [], 0,
              ["Juego/Juego.vcxproj", "Solucion.sln", "Juego/main.cpp", "Juego/juego.h",
               "info.txt", "images/heroe.png"], retener=RETENIDOS)

if LINUX and os.path.exists(LINUX):
    for fila in COMO_EN_LINUX:
        como_en_linux(*fila)

# The sample delivery, and the same archive as the Linux build writes for it.
with tempfile.TemporaryDirectory() as tmp:
    for lado in ("windows", "linux"):
        shutil.copytree(os.path.join(MUESTRA, "Solucion"), os.path.join(tmp, lado))
    obtenido, vistas = ejecuta(EXE, os.path.join(tmp, "windows", "Juego"))
    comprueba("muestra", obtenido == 0 and vistas == [
        (AVISO, "El proyecto no hace referencia al archivo pruebas.cpp.")],
        f"salida {obtenido}, cajas {vistas}")
    if LINUX and os.path.exists(LINUX):
        subprocess.run([LINUX], cwd=os.path.join(tmp, "linux", "Juego"), capture_output=True)
        a = entradas(os.path.join(tmp, "windows", "Juego", "entrega.zip"))
        b = entradas(os.path.join(tmp, "linux", "Juego", "entrega.zip"))
        comprueba("muestra igual que en Linux", a == b, f"{[e[0] for e in a]} / {[e[0] for e in b]}")

# Held by other programs: a source, released in time or not, and the old entrega.zip.
LECTURA, NADA, LECTURA_ESCRITURA = "80000000", "0", "3"
if RETENEDOR:
    for nombre, segundos, codigo, cajas in [
            ("fuente retenida sin compartir", 6, 1, [(ERROR, SIN_ZIP)]),
            ("fuente retenida y soltada a tiempo", 1.5, 0, [])]:
        with tempfile.TemporaryDirectory() as tmp:
            construye(os.path.join(tmp, "Solucion"), completa())
            carpeta = os.path.join(tmp, "Solucion", "Juego")
            retenedor = retiene(carpeta, "main.cpp", LECTURA, NADA, segundos)
            obtenido, vistas = ejecuta(EXE, carpeta)
            retenedor.wait()
            zip_ = os.path.join(carpeta, "entrega.zip")
            ok = obtenido == codigo and vistas == cajas and os.path.isfile(zip_) == (codigo == 0)
            if ok and codigo == 0:
                ok = [e[0] for e in entradas(zip_)] == [
                    "Juego/Juego.vcxproj", "Solucion.sln", "Juego/main.cpp", "Juego/juego.h",
                    "info.txt"]
            comprueba(nombre, ok, f"salida {obtenido}, cajas {vistas}")

    with tempfile.TemporaryDirectory() as tmp:
        construye(os.path.join(tmp, "Solucion"), completa())
        carpeta = os.path.join(tmp, "Solucion", "Juego")
        zip_ = os.path.join(carpeta, "entrega.zip")
        with open(zip_, "wb") as f:
            f.write(b"PK anterior")
        antes = sorted(os.listdir(carpeta))
        visor = retiene(carpeta, "entrega.zip", LECTURA, LECTURA_ESCRITURA, 8)
        obtenido, vistas = ejecuta(EXE, carpeta)
        visor.wait()
        with open(zip_, "rb") as f:
            intacto = f.read() == b"PK anterior"
        comprueba("entrega.zip anterior abierto en un visor",
                  obtenido == 1 and vistas == [(ERROR, SIN_ZIP)] and intacto and
                  sorted(os.listdir(carpeta)) == antes,
                  f"salida {obtenido}, cajas {vistas}, intacto {intacto}, {os.listdir(carpeta)}")

# Started again while the first run is writing: the second waits, sees the source
# added meanwhile, and its archive is the one that stands.
with tempfile.TemporaryDirectory() as tmp:
    xml = proyecto_xml("ClCompile main.cpp", "ClCompile lento.cpp", "ClCompile nuevo.cpp",
                       "ClInclude juego.h")
    construye(os.path.join(tmp, "Solucion"), completa(xml=xml, extra={
        "Juego/lento.cpp": lento(2 << 20)}))
    carpeta = os.path.join(tmp, "Solucion", "Juego")
    zip_ = os.path.join(carpeta, "entrega.zip")
    antes = sorted(os.listdir(carpeta))
    primera = inicia(EXE, carpeta)
    # Once anything new shows in the folder, the first run is past its scans and writing.
    for _ in range(3000):
        if sorted(os.listdir(carpeta)) != antes or primera[0].poll() is not None:
            break
        time.sleep(0.01)
    with open(os.path.join(carpeta, "nuevo.cpp"), "wb") as f:
        f.write(b"int nuevo;\r\n")
    segunda = inicia(EXE, carpeta)
    solapadas = primera[0].poll() is None
    a, b = espera(primera), espera(segunda)
    nombres = [e[0] for e in entradas(zip_)] if os.path.isfile(zip_) else None
    with open(zip_, "rb") as f:
        final = f.read()
    sola = ejecuta(EXE, carpeta)
    with open(zip_, "rb") as f:
        igual = f.read() == final
    comprueba("dos ejecuciones a la vez", solapadas and a == (0, [
        (ERROR, "El archivo nuevo.cpp al que hace referencia el proyecto no existe.")]) and
        b == (0, []) and sola == (0, []) and igual and nombres == [
            "Juego/Juego.vcxproj", "Solucion.sln", "Juego/lento.cpp", "Juego/main.cpp",
            "Juego/nuevo.cpp", "Juego/juego.h", "info.txt"] and
        sorted(os.listdir(carpeta)) == ["Juego.vcxproj", "entrega.zip", "juego.h", "lento.cpp",
                                        "main.cpp", "nuevo.cpp"],
        f"solapadas {solapadas}, {a}, {b}, {sola}, igual {igual}, {nombres}")

termina()
