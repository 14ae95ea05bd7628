#!/usr/bin/env python3
"""The two guides as a browser shows them: each page rendered by headless Chromium, with
every resource inside it (no file or network reference), its screenshots byte for byte, and
its tables: every message of the checker and the verdicts in the students' guide, the verdicts
and the report's columns in the teachers' guide.
    tests/paginas.py CARPETA_DE_LAS_PAGINAS CARPETA_DOCS"""

import base64
import html.parser
import os
import shutil
import subprocess
import sys
import tempfile

PAGINAS, DOCS = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])

MENSAJES = [
    "El programa no se está ejecutando en el directorio de un proyecto, sino en el de una "
    "solución.",
    "El programa no se está ejecutando en el directorio de un proyecto de Visual Studio (no se "
    "encuentra el .vcxproj).",
    "No se encuentra la solución del proyecto.",
    "Falta el archivo info.txt con el nombre de los autores e información de las "
    "funcionalidades opcionales implementadas.",
    'No se encuentra el directorio "images" de la plantilla con las imágenes.',
    "Error al procesar el archivo del proyecto.",
    "El archivo X al que hace referencia el proyecto no está ubicado en su directorio.",
    "El archivo X al que hace referencia el proyecto no existe.",
    "La cabecera X a la que hace referencia el proyecto no está ubicada en su directorio.",
    "La cabecera X a la que hace referencia el proyecto no existe.",
    "El proyecto no hace referencia al archivo X.",
    "No se ha podido crear el archivo entrega.zip en el directorio actual.",
]
VEREDICTOS = ["correcta", "con avisos", "con errores", "no revisable"]
COLUMNAS = ("participante;nombre;entrega;veredicto;comprobador;fecha;autores;proyecto;fuentes;"
            "cabeceras;imagenes;hallazgos").split(";")

# page: (its screenshots, its tables as (header, first column))
ESPERADO = {
    "LEEME.html": (["caja.png"], [
        (["mensaje", "qué significa", "cómo se arregla"], MENSAJES),
        (["veredicto", "qué significa"], VEREDICTOS)]),
    "PROFESORADO.html": (["similitud.png", "revision.png"], [
        (["veredicto", "qué significa"], VEREDICTOS),
        (["columna", "qué contiene"], COLUMNAS)]),
}


class Dom(html.parser.HTMLParser):
    """The rendered DOM: every src and href, the tables' cells, the document's language."""

    def __init__(self):
        super().__init__()
        self.enlaces, self.imagenes, self.tablas, self.idioma = [], [], [], None
        self.celda = None

    def handle_starttag(self, etiqueta, atributos):
        atributos = dict(atributos)
        if etiqueta == "html":
            self.idioma = atributos.get("lang")
        for nombre in ("src", "href", "srcset", "poster", "data"):
            if nombre in atributos:
                self.enlaces.append((etiqueta, nombre, atributos[nombre] or ""))
        if etiqueta == "img":
            self.imagenes.append(atributos.get("src", ""))
        if etiqueta == "table":
            self.tablas.append([])
        elif etiqueta == "tr" and self.tablas:
            self.tablas[-1].append([])
        elif etiqueta in ("td", "th") and self.tablas:
            self.celda = []

    def handle_endtag(self, etiqueta):
        if etiqueta in ("td", "th") and self.celda is not None:
            self.tablas[-1][-1].append(" ".join("".join(self.celda).split()))
            self.celda = None

    def handle_data(self, datos):
        if self.celda is not None:
            self.celda.append(datos)


def renderiza(pagina):
    perfil = tempfile.mkdtemp()
    try:
        r = subprocess.run(
            ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
             "--no-first-run", "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--user-data-dir=" + perfil, "--dump-dom", "file://" + pagina],
            capture_output=True, timeout=120)
    finally:
        shutil.rmtree(perfil, ignore_errors=True)
    if r.returncode != 0 or not r.stdout:
        return None
    return r.stdout.decode("utf-8")


def comprueba(nombre, capturas, tablas):
    fallos = []
    pagina = os.path.join(PAGINAS, nombre)
    if not os.path.isfile(pagina):
        return [f"{nombre}: no existe (¿falta pandoc?)"]
    dom_texto = renderiza(pagina)
    if dom_texto is None:
        return [f"{nombre}: Chromium no la ha mostrado"]
    dom = Dom()
    dom.feed(dom_texto)
    if dom.idioma != "es":
        fallos.append(f"{nombre}: el idioma es {dom.idioma!r}, no 'es'")
    for etiqueta, atributo, valor in dom.enlaces:
        if not (valor.startswith("data:") or (etiqueta == "a" and valor.startswith("#"))):
            fallos.append(f"{nombre}: <{etiqueta} {atributo}={valor[:60]!r}> no está dentro de "
                          "la página")
    incrustadas = []
    for src in dom.imagenes:
        cabecera, _, datos = src.partition(",")
        if cabecera.startswith("data:") and cabecera.endswith(";base64"):
            incrustadas.append(base64.b64decode(datos))
    esperadas = []
    for captura in capturas:
        ruta = os.path.join(DOCS, captura)
        if os.path.isfile(ruta):
            with open(ruta, "rb") as f:
                esperadas.append(f.read())
    if incrustadas != esperadas:
        fallos.append(f"{nombre}: lleva {len(incrustadas)} imágenes, no exactamente "
                      f"{[c for c in capturas if os.path.isfile(os.path.join(DOCS, c))]}")
    for cabecera, columna in tablas:
        tabla = next((t for t in dom.tablas if t and t[0] == cabecera), None)
        if tabla is None:
            fallos.append(f"{nombre}: no tiene la tabla {cabecera}")
            continue
        primera = [fila[0] if fila else "" for fila in tabla[1:]]
        if primera != columna:
            i = next((i for i, (a, b) in enumerate(zip(primera, columna)) if a != b),
                     min(len(primera), len(columna)))
            fallos.append(f"{nombre}: la tabla {cabecera}, fila {i + 1}: "
                          f"{primera[i] if i < len(primera) else None!r}, no "
                          f"{columna[i] if i < len(columna) else None!r}")
        if any(len(fila) != len(cabecera) for fila in tabla):
            fallos.append(f"{nombre}: la tabla {cabecera} tiene filas de otro ancho")
    return fallos


def main():
    if shutil.which("chromium") is None:
        print("FALLO: falta chromium (scripts/prepara.sh lo instala)")
        return 1
    fallos = []
    for nombre, (capturas, tablas) in ESPERADO.items():
        fallos += comprueba(nombre, capturas, tablas)
    for fallo in fallos:
        print("FALLO:", fallo)
    if not fallos:
        print("LEEME.html y PROFESORADO.html: completas, con sus tablas, sin recursos de fuera")
    return 1 if fallos else 0


if __name__ == "__main__":
    sys.exit(main())
