"""revisa over 300 generated submissions, side by side with unzip -tq testing the same
archives one after another, with one thread and with two; peak memory with a ZIP bomb among
them. Prints a Markdown table and whether the targets hold.

The mix: deliveries packed by the built comprobador (some with findings), the same solution
folder zipped whole by Python's zipfile (template images, build output), copies with one
byte flipped, and one bomb whose headers declare a hundredth of the gigabyte of zeros its
data inflates to.

Usage: python3 revisa.py --revisa build/dev/revisa --comprobador build/dev/comprobador
                         --trabajo build/bench [--repeticiones N]
"""

import argparse
import os
import shutil
import statistics
import struct
import subprocess
import sys
import time
import zipfile
import zlib

import genera

ENTREGAS = 300
VERSION = "1"


def comprobador_en(programa, proyecto):
    subprocess.run([programa], cwd=proyecto, check=True, capture_output=True)
    return os.path.join(proyecto, "entrega.zip")


def zip_entero(solucion, destino):
    """The solution folder zipped whole, as a student does by hand."""
    with zipfile.ZipFile(destino, "w", zipfile.ZIP_DEFLATED) as z:
        for carpeta, _, nombres in os.walk(solucion):
            for n in sorted(nombres):
                ruta = os.path.join(carpeta, n)
                z.write(ruta, os.path.relpath(ruta, os.path.dirname(solucion)))


def bomba(destino):
    """A gigabyte of zeros whose headers declare a hundredth of it."""
    with zipfile.ZipFile(destino, "w") as z:
        info = zipfile.ZipInfo("Juego/datos.bin", (2025, 1, 1, 0, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        with z.open(info, "w", force_zip64=False) as f:
            bloque = b"\0" * (1 << 24)
            for _ in range(64):
                f.write(bloque)
    datos = bytearray(open(destino, "rb").read())
    comprimido = struct.unpack_from("<I", datos, 18)[0]
    falso = comprimido * 100
    local_crc = struct.unpack_from("<I", datos, 14)[0]
    struct.pack_into("<I", datos, 22, falso)
    central = datos.rfind(b"PK\x01\x02")
    struct.pack_into("<I", datos, central + 24, falso)
    assert struct.unpack_from("<I", datos, central + 16)[0] == local_crc
    open(destino, "wb").write(datos)


def corpus(trabajo, comprobador):
    destino = os.path.join(trabajo, "revisa-entregas")
    marca = os.path.join(destino, ".version")
    if os.path.exists(marca) and open(marca).read() == VERSION:
        return destino
    shutil.rmtree(destino, ignore_errors=True)
    arboles = os.path.join(trabajo, "revisa-arboles")
    shutil.rmtree(arboles, ignore_errors=True)
    proyecto = genera.genera(os.path.join(arboles, "buena"), "tipica")
    buena = open(comprobador_en(comprobador, proyecto), "rb").read()
    # The same delivery with a source the project does not name, and build output beside it.
    otro = genera.genera(os.path.join(arboles, "avisos"), "tipica")
    with open(os.path.join(otro, "pruebas.cpp"), "w") as f:
        f.write("// pruebas\n" * 200)
    avisos = open(comprobador_en(comprobador, otro), "rb").read()
    os.makedirs(os.path.join(otro, "x64", "Debug"))
    with open(os.path.join(otro, "x64", "Debug", "Juego.exe"), "wb") as f:
        f.write(os.urandom(300_000))
    os.remove(os.path.join(otro, "entrega.zip"))
    mano = os.path.join(arboles, "mano.zip")
    zip_entero(os.path.dirname(otro), mano)
    mano = open(mano, "rb").read()

    for i in range(ENTREGAS):
        carpeta = os.path.join(destino, f"{i:03d} Estudiante")
        os.makedirs(carpeta)
        tipo = i % 10
        if tipo < 4:
            datos = buena
        elif tipo < 6:
            datos = avisos
        elif tipo < 9:
            datos = mano
        else:
            datos = bytearray(buena)
            datos[len(datos) // 2] ^= 0xFF
        with open(os.path.join(carpeta, "entrega.zip"), "wb") as f:
            f.write(datos)
    bomba(os.path.join(destino, f"{ENTREGAS - 1:03d} Estudiante", "entrega.zip"))
    open(marca, "w").write(VERSION)
    return destino


def ejecuta(orden, memoria):
    inicio = time.perf_counter()
    subprocess.run(["/usr/bin/time", "-f", "%M %U %S", "-o", memoria, "--"] + orden,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    segundos = time.perf_counter() - inicio
    kib, usuario, sistema = open(memoria).read().split()[-3:]
    return segundos, int(kib), float(usuario) + float(sistema)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--revisa", required=True)
    p.add_argument("--comprobador", required=True)
    p.add_argument("--trabajo", required=True)
    p.add_argument("--repeticiones", type=int, default=5)
    a = p.parse_args()
    revisa, comprobador = os.path.abspath(a.revisa), os.path.abspath(a.comprobador)
    entregas = corpus(a.trabajo, comprobador)
    archivos = sorted(os.path.join(c, n) for c, _, ns in os.walk(entregas) for n in ns
                      if n.endswith(".zip"))
    salida = os.path.join(a.trabajo, "revisa-informe")
    os.makedirs(salida, exist_ok=True)
    memoria = os.path.join(a.trabajo, "revisa-memoria")
    bytes_totales = sum(os.path.getsize(f) for f in archivos)

    programas = {
        "unzip -tq, one after another": ["sh", "-c",
                                         'for f in "$@"; do unzip -tq "$f"; done', "sh"]
                                        + archivos,
        "revisa -j 1": [revisa, "--salida", salida, "-j", "1", entregas],
        "revisa -j 2": [revisa, "--salida", salida, "-j", "2", entregas],
    }
    # Other work on the machine takes a core from -j 2 first: the load is part of the result.
    carga = os.getloadavg()[0]
    tiempos = {n: [] for n in programas}
    cpu = {n: [] for n in programas}
    picos = {n: 0 for n in programas}
    for _ in range(a.repeticiones):
        for nombre, orden in programas.items():
            s, kib, c = ejecuta(orden, memoria)
            tiempos[nombre].append(s)
            cpu[nombre].append(c)
            picos[nombre] = max(picos[nombre], kib)
    resumen = subprocess.run([revisa, "--salida", salida, entregas], capture_output=True)

    mediana = {n: statistics.median(t) for n, t in tiempos.items()}
    base = mediana["unzip -tq, one after another"]
    print(f"{len(archivos)} submissions, {bytes_totales / 1e6:.0f} MB of archives; "
          f"{a.repeticiones} interleaved runs, median; {os.cpu_count()} cores, load average "
          f"{carga:.2f} before and {os.getloadavg()[0]:.2f} after.\n")
    print(f"revisa: {resumen.stdout.decode().strip()}\n")
    print("| program | wall time | vs unzip -tq | CPU time | peak memory |")
    print("|---|---:|---:|---:|---:|")
    for nombre in programas:
        print(f"| {nombre} | {mediana[nombre]:.2f} s | {mediana[nombre] / base:.2f} | "
              f"{statistics.median(cpu[nombre]):.2f} s | {picos[nombre] / 1024:.1f} MB |")
    aceleracion = mediana["revisa -j 1"] / mediana["revisa -j 2"]
    print(f"\n-j 2 against -j 1: {aceleracion:.2f}x faster.\n")
    objetivos = [
        ("revisa -j 2 <= 0.75 of unzip -tq", mediana["revisa -j 2"] / base <= 0.75),
        ("revisa -j 1 <= 1.0 of unzip -tq", mediana["revisa -j 1"] / base <= 1.0),
        ("-j 2 at least 1.7x faster than -j 1", aceleracion >= 1.7),
        ("peak memory under 64 MB", max(picos["revisa -j 1"], picos["revisa -j 2"]) < 64 * 1024),
    ]
    for texto, cumple in objetivos:
        print(f"- {texto}: {'met' if cumple else 'MISSED'}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
