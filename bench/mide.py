"""Times the tool against the archivers a student or teacher would otherwise use.

For every delivery size: generates the delivery once (kept below the work folder), lets the
tool pack it once to learn exactly which files it delivers, checks that every program packs
those same files, and then runs all programs in interleaved repetitions (A B C A B C ...) so
that a slow moment of the machine hits every program alike. Prints one Markdown table per
size and whether the targets hold.

Usage: python3 mide.py --programa build/dev/comprobador --limite build/bench/limite
                       --trabajo build/bench [--tamanos tipica,...] [--repeticiones N]
"""

import argparse
import os
import platform
import re
import shutil
import statistics
import subprocess
import sys
import time
import zipfile

import genera

# Repetitions per size: enough for a median on a noisy 2-core machine, few enough that the
# whole benchmark takes minutes.
REPETICIONES = {"tipica": 15, "imagenes-20MB": 5, "imagenes-200MB": 3, "fuentes-4000": 5}
AQUI = os.path.dirname(os.path.abspath(__file__))


def python_del_sistema():
    # The distribution's interpreter, as a teacher runs it; a version manager's shim would
    # add its own start-up to every run.
    return "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else shutil.which("python3")


class Programa:
    def __init__(self, nombre, orden, directorio, salida, captura=False):
        self.nombre, self.orden, self.directorio = nombre, orden, directorio
        self.salida, self.captura = salida, captura


def ejecuta(programa, memoria):
    """Runs one program; gives wall seconds, peak RSS in KiB and what it printed."""
    if programa.salida and os.path.exists(programa.salida):
        os.remove(programa.salida)
    # A child forked from this interpreter would inherit its high-water mark across exec, so
    # the peak resident set comes from GNU time, whose own is far below any measured here.
    orden = ["/usr/bin/time", "-f", "%M", "-o", memoria, "--"] + programa.orden
    inicio = time.perf_counter()
    proceso = subprocess.run(orden, cwd=programa.directorio, stdin=subprocess.DEVNULL,
                             stdout=subprocess.PIPE if programa.captura else subprocess.DEVNULL,
                             stderr=subprocess.PIPE)
    segundos = time.perf_counter() - inicio
    errores = proceso.stderr.decode()
    if proceso.returncode != 0 or errores:
        sys.exit(f"{programa.nombre} falló ({proceso.returncode}): {errores}")
    with open(memoria) as f:
        kib = int(f.read().split()[-1])
    return segundos, kib, proceso.stdout.decode() if programa.captura else ""


def prepara_entrega(trabajo, nombre):
    """The delivery's project folder, generated unless an equal one is already there."""
    destino = os.path.join(trabajo, "entregas", nombre)
    sello = os.path.join(destino, "version")
    proyecto = os.path.join(destino, "Solucion", "Juego")
    if os.path.exists(sello) and open(sello).read() == genera.VERSION:
        return proyecto
    shutil.rmtree(destino, ignore_errors=True)
    genera.genera(destino, nombre)
    with open(sello, "w") as f:
        f.write(genera.VERSION)
    return proyecto


def nombres_de(archivo):
    with zipfile.ZipFile(archivo) as z:
        if z.testzip() is not None:
            sys.exit(f"{archivo}: una entrada no supera su CRC")
        return [i.filename for i in z.infolist()]


def mide(nombre, proyecto, args):
    solucion = os.path.dirname(proyecto)
    salidas = os.path.join(args.trabajo, "salidas", nombre)
    os.makedirs(salidas, exist_ok=True)
    # The tool runs as a student starts it: copied into the project folder.
    shutil.copy2(args.programa, os.path.join(proyecto, "comprobador"))
    herramienta = Programa("comprobador", ["./comprobador"], proyecto,
                           os.path.join(proyecto, "entrega.zip"))
    medida = os.path.join(salidas, "memoria.txt")
    ejecuta(herramienta, medida)
    # Entry names are paths below the solution folder, so they are the list for the rest.
    entregados = nombres_de(herramienta.salida)
    lista = os.path.join(salidas, "lista.txt")
    with open(lista, "w", encoding="utf-8") as f:
        f.write("".join(n + "\n" for n in entregados))
    for n in entregados:
        if not os.path.isfile(os.path.join(solucion, n)):
            sys.exit(f"{n} está en entrega.zip pero no en {solucion}")
    bytes_entregados = sum(os.path.getsize(os.path.join(solucion, n)) for n in entregados)

    def salida(archivo):
        return os.path.join(salidas, archivo)

    programas = [
        herramienta,
        Programa("zip -9 -X", ["zip", "-9", "-X", "-q", salida("zip.zip")] + entregados, solucion,
                 salida("zip.zip")),
        Programa("Python zipfile, level 9",
                 [python_del_sistema(), os.path.join(AQUI, "zip_python.py"), salida("python.zip"),
                  lista], solucion, salida("python.zip")),
        Programa("bsdtar, level 9",
                 ["bsdtar", "--format", "zip", "--options", "zip:compression-level=9", "-cf",
                  salida("bsdtar.zip"), "-T", lista], solucion, salida("bsdtar.zip")),
        Programa("deflate limit (zlib 9, no output)", [args.limite, lista], solucion, None,
                 captura=True),
    ]
    # One untimed round warms the page cache and checks that each archive holds those files.
    for p in programas:
        ejecuta(p, medida)
        if p.salida and sorted(nombres_de(p.salida)) != sorted(entregados):
            sys.exit(f"{p.nombre} no empaqueta los mismos archivos que el comprobador")

    repeticiones = args.repeticiones or REPETICIONES[nombre]
    tiempos = {p.nombre: [] for p in programas}
    memoria = {p.nombre: [] for p in programas}
    tamanos = {}
    for _ in range(repeticiones):
        for p in programas:
            segundos, kib, impreso = ejecuta(p, medida)
            tiempos[p.nombre].append(segundos)
            memoria[p.nombre].append(kib)
            tamanos[p.nombre] = (os.path.getsize(p.salida) if p.salida else int(impreso))
    return dict(nombre=nombre, archivos=len(entregados), bytes=bytes_entregados,
                repeticiones=repeticiones, programas=[p.nombre for p in programas],
                tiempos=tiempos, memoria=memoria, tamanos=tamanos)


def duracion(s):
    return f"{s * 1000:.0f} ms" if s < 1 else f"{s:.2f} s"


def megas(b):
    return f"{b / 1e6:.1f} MB" if b >= 1e5 else f"{b / 1e3:.0f} kB"


def cociente(r, nombre):
    """Median of the per-repetition ratios of `nombre`'s time to the tool's."""
    return statistics.median(t / c for t, c in zip(r["tiempos"][nombre], r["tiempos"]["comprobador"]))


def tabla(r):
    lineas = [f"### {r['nombre']}: {r['archivos']} files, {megas(r['bytes'])} delivered, "
              f"{r['repeticiones']} repetitions", "",
              "| program | median | min-max | ratio to comprobador | peak RSS | archive size |",
              "|---|---:|---:|---:|---:|---:|"]
    for nombre in r["programas"]:
        t = r["tiempos"][nombre]
        tamano = f"{r['tamanos'][nombre]:,} B"
        if nombre.startswith("deflate limit"):
            tamano += " (deflate data only)"
        lineas.append(f"| {nombre} | {duracion(statistics.median(t))} | "
                      f"{duracion(min(t))}-{duracion(max(t))} | {cociente(r, nombre):.2f} | "
                      f"{max(r['memoria'][nombre]) / 1024:.2f} MiB | {tamano} |")
    return "\n".join(lineas)


def objetivos(resultados):
    """The targets, each with its measured value and whether it holds."""
    por = {r["nombre"]: r for r in resultados}
    filas = []
    limite = "deflate limit (zlib 9, no output)"
    for nombre in ("imagenes-20MB", "imagenes-200MB"):
        if nombre not in por:
            continue
        # The limit's ratio is limit / tool: the tool is within 10% when it is at least 1/1.1.
        x = 1 / cociente(por[nombre], limite)
        filas.append((f"{nombre}: comprobador within 10% of the deflate limit",
                      f"{(x - 1) * 100:+.1f}% vs the limit", x <= 1.10))
        z = cociente(por[nombre], "zip -9 -X")
        filas.append((f"{nombre}: comprobador at least 10% faster than zip -9",
                      f"{(1 - 1 / z) * 100:.1f}% faster" if z >= 1 else
                      f"{(1 / z - 1) * 100:.1f}% slower", z >= 1 / 0.9))
    if "fuentes-4000" in por:
        z = cociente(por["fuentes-4000"], "zip -9 -X")
        filas.append(("fuentes-4000: comprobador no slower than zip -9",
                      f"zip -9 takes {z:.2f}x the time", z >= 1.0))
    picos = {r["nombre"]: max(r["memoria"]["comprobador"]) for r in resultados}
    pico = max(picos.values())
    filas.append(("comprobador's peak RSS under 4 MiB at every size",
                  f"at most {pico / 1024:.2f} MiB", pico < 4096))
    planos = [picos[n] for n in ("tipica", "imagenes-20MB", "imagenes-200MB") if n in picos]
    if len(planos) > 1:
        # Flat: the peaks differ by less than one compressor's state (256 KiB); two runs of
        # one delivery already differ by up to some 150 KiB here.
        filas.append(("comprobador's peak RSS flat from 1 MB to 200 MB",
                      f"{min(planos) / 1024:.2f}-{max(planos) / 1024:.2f} MiB",
                      max(planos) - min(planos) <= 256))
    lineas = ["| target | measured | met |", "|---|---|---|"]
    lineas += [f"| {t} | {m} | {'yes' if ok else 'no'} |" for t, m, ok in filas]
    return "\n".join(lineas)


def maquina():
    modelo = ""
    with open("/proc/cpuinfo") as f:
        for linea in f:
            if linea.startswith("model name"):
                modelo = linea.split(":", 1)[1].strip()
                break
    sistema = ""
    if os.path.exists("/etc/os-release"):
        m = re.search(r'PRETTY_NAME="([^"]*)"', open("/etc/os-release").read())
        sistema = m.group(1) if m else ""
    version = lambda orden: subprocess.run(orden, capture_output=True, text=True).stdout
    zip_v = re.search(r"Zip (\S+)", version(["zip", "-v"]))
    bsdtar_v = version(["bsdtar", "--version"]).split()
    python_v = version([python_del_sistema(), "--version"]).split()
    return (f"{os.cpu_count()} cores ({modelo}), {sistema}, kernel {platform.release()}; "
            f"Info-ZIP {zip_v.group(1) if zip_v else '?'}, "
            f"{' '.join(bsdtar_v[:2])} ({' '.join(bsdtar_v[2:4])}), "
            f"Python {python_v[-1] if python_v else '?'}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--programa", required=True)
    parser.add_argument("--limite", required=True)
    parser.add_argument("--trabajo", required=True)
    parser.add_argument("--tamanos", default=",".join(genera.TAMANOS))
    parser.add_argument("--repeticiones", type=int, default=0)
    args = parser.parse_args()
    args.programa = os.path.abspath(args.programa)
    args.limite = os.path.abspath(args.limite)
    args.trabajo = os.path.abspath(args.trabajo)

    resultados = []
    for nombre in args.tamanos.split(","):
        proyecto = prepara_entrega(args.trabajo, nombre)
        print(f"{nombre}...", file=sys.stderr, flush=True)
        resultados.append(mide(nombre, proyecto, args))
    print(f"Machine: {maquina()}.\n")
    print("Wall time: median and range of the repetitions. Ratio: each program's time over "
          "comprobador's in the same repetition, median of those ratios (above 1 is slower than "
          "comprobador). Peak RSS: the highest of the repetitions.\n")
    for r in resultados:
        print(tabla(r) + "\n")
    print(objetivos(resultados))


if __name__ == "__main__":
    main()
