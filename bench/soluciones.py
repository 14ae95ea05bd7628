#!/usr/bin/env python3
"""Solutions to one assignment, "Práctica 2" (a small 2D game in C++ on the course's template),
written independently or copied with a disguise, and the truth of which is which.

    import soluciones
    soluciones.escribe_plantilla('plantilla')                  # plantilla/Juego/*.cpp|*.h
    soluciones.escribe_solucion('ana', 7)                       # ana/Juego/...: an independent one
    soluciones.escribe_solucion('luis', 7, nivel=2)             # a copy of it, renamed
    soluciones.escribe_solucion('eva', 7, nivel=6, propia=99)   # her own code with some of its parts

Independent solutions (different seeds) share the template, the assignment and the course's
API, and nothing else: each picks its own designs for the hero, the enemies (a class
hierarchy, one class with a type, or plain structs), the shots, the collisions, the level, the
items, the scores, the screens and some extras, and writes each with choices of its own
(statement order, idioms, names, layout). Disguise levels of a copy, each including the ones
before: 1 layout and comments; 2 every name changed; 3 functions and declarations reordered,
`std::` toggled; 4 dead code inserted; 5 loops as `while`, if-else turned round with the
condition negated, increments in another form; 6 (alone) only some parts of the source copied
into the copier's own solution, in the copier's names and layout.

Sizes from about 900 lines (the template's 330 among them) to about 2,200: `lineas` picks how
many of the optional parts go in. Run it to write a sample: soluciones.py CARPETA [--semilla N]
[--lineas N] [--nivel N [--propia N]] [--plantilla].
"""

import argparse
import copy
import os
import random

from codigo import Cada, Estilo, Funcion, Mientras, Nombres, Para, Render, S, Si
from partes import GANCHOS, OBLIGATORIAS, OPCIONALES, Contexto, en_linea, varia, varia_parte

NIVELES = {
    1: 'maquetación y comentarios',
    2: 'nombres cambiados',
    3: 'funciones reordenadas, std:: cambiado',
    4: 'código muerto insertado',
    5: 'for/while, ramas invertidas, i++/i += 1',
    6: 'solo parte de las funciones, en código propio',
}

PLANTILLA = {
    'main.cpp': '''\
// Practica 2: programa principal. No hace falta modificarlo.
#include "Juego.h"

int main() {
    Juego juego;
    juego.inicia();
    float anterior = segundos();
    while (juego.enMarcha()) {
        float ahora = segundos();
        float dt = ahora - anterior;
        anterior = ahora;
        juego.procesaEventos();
        juego.actualiza(dt);
        juego.dibuja();
    }
    juego.termina();
    return 0;
}
''',
    'utilidades.h': '''\
// Practica 2: utilidades para dibujar, leer el teclado y medir el tiempo.
// NO MODIFICAR este archivo.
#pragma once

#include <string>

const int ANCHO_PANTALLA = 800;
const int ALTO_PANTALLA = 600;

enum Tecla {
    TECLA_ARRIBA, TECLA_ABAJO, TECLA_IZQUIERDA, TECLA_DERECHA,
    TECLA_ESPACIO, TECLA_ENTER, TECLA_ESCAPE, TECLA_P, NUM_TECLAS
};

struct Color {
    unsigned char r, g, b;
};

const Color BLANCO{255, 255, 255};
const Color NEGRO{0, 0, 0};
const Color ROJO{220, 30, 30};
const Color VERDE{30, 200, 30};
const Color AZUL{30, 30, 220};
const Color AMARILLO{240, 220, 20};

struct Rect {
    float x, y, ancho, alto;
    bool intersecta(const Rect& otro) const;
    bool contiene(float px, float py) const;
};

struct Imagen {
    int id;
    int ancho, alto;
};

// Ventana
void abreVentana(const std::string& titulo);
void cierraVentana();
bool ventanaAbierta();

// Dibujo: todo se dibuja en un buffer que se muestra con muestraPantalla()
void limpiaPantalla(Color c);
void muestraPantalla();
void dibujaRectangulo(float x, float y, float ancho, float alto, Color c);
void dibujaImagen(const Imagen& img, float x, float y);
void dibujaTexto(const std::string& texto, float x, float y, int tam, Color c);
Imagen cargaImagen(const std::string& ruta);

// Teclado: pulsada mientras se mantiene, nueva solo en el primer fotograma
bool teclaPulsada(Tecla t);
bool teclaNueva(Tecla t);

// Otras
int aleatorio(int minimo, int maximo);
float segundos();
void reproduceSonido(const std::string& ruta);
''',
    'utilidades.cpp': '''\
// Practica 2: implementacion de las utilidades. NO MODIFICAR este archivo.
#include "utilidades.h"

#include <chrono>
#include <iostream>
#include <map>
#include <random>
#include <vector>

namespace {

struct Orden {
    int tipo;
    float x, y, ancho, alto;
    Color color;
    std::string texto;
};

bool abierta = false;
bool pulsadas[NUM_TECLAS] = {};
bool anteriores[NUM_TECLAS] = {};
std::vector<Orden> ordenes;
std::map<std::string, Imagen> imagenes;
std::mt19937 generador(12345);
auto inicio = std::chrono::steady_clock::now();

void leeTeclado() {
    for (int i = 0; i < NUM_TECLAS; i++) {
        anteriores[i] = pulsadas[i];
    }
    // El entorno de la asignatura rellena pulsadas[] con el estado real del teclado.
}

}  // namespace

bool Rect::intersecta(const Rect& otro) const {
    return x < otro.x + otro.ancho && otro.x < x + ancho &&
           y < otro.y + otro.alto && otro.y < y + alto;
}

bool Rect::contiene(float px, float py) const {
    return px >= x && px < x + ancho && py >= y && py < y + alto;
}

void abreVentana(const std::string& titulo) {
    std::cout << "Abriendo " << titulo << " (" << ANCHO_PANTALLA << "x" << ALTO_PANTALLA << ")" << std::endl;
    abierta = true;
}

void cierraVentana() {
    abierta = false;
}

bool ventanaAbierta() {
    return abierta;
}

void limpiaPantalla(Color c) {
    ordenes.clear();
    ordenes.push_back({0, 0, 0, (float)ANCHO_PANTALLA, (float)ALTO_PANTALLA, c, ""});
}

void muestraPantalla() {
    leeTeclado();
}

void dibujaRectangulo(float x, float y, float ancho, float alto, Color c) {
    ordenes.push_back({1, x, y, ancho, alto, c, ""});
}

void dibujaImagen(const Imagen& img, float x, float y) {
    ordenes.push_back({2, x, y, (float)img.ancho, (float)img.alto, BLANCO, std::to_string(img.id)});
}

void dibujaTexto(const std::string& texto, float x, float y, int tam, Color c) {
    ordenes.push_back({3, x, y, (float)tam * texto.size(), (float)tam, c, texto});
}

Imagen cargaImagen(const std::string& ruta) {
    auto it = imagenes.find(ruta);
    if (it != imagenes.end()) {
        return it->second;
    }
    Imagen nueva{(int)imagenes.size() + 1, 32, 32};
    imagenes[ruta] = nueva;
    return nueva;
}

bool teclaPulsada(Tecla t) {
    return pulsadas[t];
}

bool teclaNueva(Tecla t) {
    return pulsadas[t] && !anteriores[t];
}

int aleatorio(int minimo, int maximo) {
    std::uniform_int_distribution<int> reparto(minimo, maximo);
    return reparto(generador);
}

float segundos() {
    std::chrono::duration<float> pasado = std::chrono::steady_clock::now() - inicio;
    return pasado.count();
}

void reproduceSonido(const std::string& ruta) {
    std::cout << "[sonido] " << ruta << std::endl;
}
''',
    'Juego.h': '''\
// Practica 2: la clase principal del juego. Completa los atributos y metodos que necesites.
#pragma once

#include "utilidades.h"

class Juego {
public:
    Juego();
    void inicia();
    bool enMarcha() const;
    void procesaEventos();
    void actualiza(float dt);
    void dibuja();
    void termina();

private:
    bool enMarcha_;
    // TODO: anade aqui los atributos del juego
};
''',
    'Juego.cpp': '''\
// Practica 2: implementacion del juego. Completa cada metodo.
#include "Juego.h"

Juego::Juego() : enMarcha_(true) {
}

void Juego::inicia() {
    abreVentana("Practica 2");
    // TODO: carga las imagenes y prepara la partida
}

bool Juego::enMarcha() const {
    return enMarcha_ && ventanaAbierta();
}

void Juego::procesaEventos() {
    if (teclaPulsada(TECLA_ESCAPE)) {
        enMarcha_ = false;
    }
    // TODO: lee el teclado
}

void Juego::actualiza(float dt) {
    // TODO: mueve todo lo que se mueve
}

void Juego::dibuja() {
    limpiaPantalla(NEGRO);
    // TODO: dibuja todo
    muestraPantalla();
}

void Juego::termina() {
    cierraVentana();
}
''',
}

# The template's statements inside Juego's methods, which every solution keeps.
PLANTILLA_GANCHOS = {
    'inicia': ['abreVentana("Practica 2");'],
    'eventos': ['if (teclaPulsada(TECLA_ESCAPE)) {\n    enMarcha_ = false;\n}'],
    'dibuja': ['limpiaPantalla(NEGRO);'],
    'termina': ['cierraVentana();'],
}
METODOS_GANCHO = {'inicia': ('void', 'inicia', ''), 'eventos': ('void', 'procesaEventos', ''),
                  'actualiza': ('void', 'actualiza', 'float $dt'), 'dibuja': ('void', 'dibuja', ''),
                  'termina': ('void', 'termina', '')}


class Solucion:
    """The content of one solution (its parts) and how it is written (style, names, order)."""

    def __init__(self, semilla, lineas):
        self.semilla = semilla
        rng = random.Random(f'contenido-{semilla}')
        self.g = Contexto(rng)
        self.partes = [f(self.g) for f in OBLIGATORIAS]
        opcionales = list(OPCIONALES)
        rng.shuffle(opcionales)
        self.extras = [f(self.g) for f in opcionales]
        lineales = rng.random() < 0.4
        for p in self.partes + self.extras:
            varia_parte(self.g, p)
            if lineales:
                en_linea(p)
        for f in self.g.ayudantes.values():
            f.cuerpo = varia(self.g, f.cuerpo, vacia=False)
        self.orden = random.Random(f'orden-{semilla}')  # the order of the hooks' statements
        self.juntos = rng.random() < 0.3  # the part classes in two files rather than one each
        self.inicializa_en_clase = rng.random() < 0.5
        self.estilo = Estilo(random.Random(f'estilo-{semilla}'))
        self.nombres = Nombres(random.Random(f'nombres-{semilla}'))
        self.maquetacion = f'maquetacion-{semilla}'
        self.reordena = None  # the seed that shuffles functions and declarations, if any
        # As many optional parts as the size asks for; for a small size, fewer of the others.
        while self.extras and self.cuenta_lineas() < lineas:
            self.partes.append(self.extras.pop(0))
        self.extras = []
        for nombre in ('objetos', 'marcador', 'hud', 'nivel', 'disparos'):
            if self.cuenta_lineas() <= lineas * 1.1:
                break
            self.partes = [p for p in self.partes if p.nombre != nombre]

    def cuenta_lineas(self):
        return sum(t.count('\n') for t in archivos(self).values())


def _plano(x):
    """Statements and lists of them, as one list."""
    if isinstance(x, list):
        return [y for z in x for y in _plano(z)]
    return [x]


def _incluye(nombre, render):
    return f'#include {render.texto(nombre)}'


def _cabecera(nombre, render, incluye, cuerpo):
    e = render.e
    guarda = render.texto(nombre).upper().replace('.', '_')
    lineas = ['#pragma once', ''] if e.guarda else [f'#ifndef {guarda}', f'#define {guarda}', '']
    lineas += [_incluye(i, render) for i in sorted(incluye)]
    if not e.usa_std:
        lineas += ['', 'using namespace std;']
    lineas.append('')
    lineas += cuerpo
    if not e.guarda:
        lineas += ['', f'#endif']
    return '\n'.join(lineas) + '\n'


def _fuente(render, incluye, funciones):
    lineas = [_incluye(i, render) for i in incluye]
    if not render.e.usa_std:
        lineas += ['', 'using namespace std;']
    for f in funciones:
        lineas.append('')
        lineas += render.funcion(f)
    return '\n'.join(lineas) + '\n'


def _baraja(sol, lista):
    lista = list(lista)
    if sol.reordena is not None:
        random.Random(f'{sol.reordena}-{len(lista)}-{[getattr(x, "nombre", x) for x in lista]}').shuffle(lista)
    return lista


def _clases(sol, clases):
    resultado = []
    for c in clases:
        if sol.reordena is not None and hasattr(c, 'campos'):
            c = copy.copy(c)
            c.campos = _baraja(sol, c.campos)
            c.metodos = _baraja(sol, c.metodos)
        resultado.append(c)
    return resultado


def archivos(sol):
    """The solution's files: name -> text."""
    render = Render(sol.estilo, sol.nombres, random.Random(sol.maquetacion))
    resultado = {n: PLANTILLA[n] for n in ('main.cpp', 'utilidades.h', 'utilidades.cpp')}
    incluye_juego = set()
    tipos_juego = []  # structs and enums of parts without files of their own
    propias = []  # (file concept, header text, source text)
    metodos = []
    campos = []
    ganchos = {g: [] for g in GANCHOS}
    juntos_clases, juntos_funciones, juntos_incluye = [], [], set()
    for p in sol.partes:
        incluye_juego |= {i for i in p.incluye if not (sol.juntos and i.startswith('"$$'))}
        metodos += p.metodos
        campos += p.campos
        for g in GANCHOS:
            if p.ganchos[g]:
                ganchos[g].append(_plano(p.ganchos[g]))
        if p.archivo is None:
            tipos_juego += p.clases
            incluye_juego |= p.incluye_propio - {i for i in p.incluye_propio if i.startswith('"')}
        elif sol.juntos:
            juntos_clases += p.clases
            juntos_funciones += p.funciones
            juntos_incluye |= p.incluye_propio
        else:
            propias.append(p)
    sol.orden.seed(f'orden-{sol.semilla}')
    for g in ('actualiza', 'dibuja'):
        primero = ganchos[g][:1]
        resto = ganchos[g][1:]
        sol.orden.shuffle(resto)
        ganchos[g] = primero + resto
    if sol.g.constantes:
        usadas = {n: v for v, n in sol.g.constantes.items()}
        resultado['Constantes.h'] = _cabecera('Constantes.h', render, set(), [
            f'const float {n} = {v};' for n, v in sorted(usadas.items())])
        incluye_juego.add('"Constantes.h"')
    ayudantes = list(sol.g.ayudantes.values())
    if ayudantes:
        incluye_juego.add('"$$Utiles.h"')
        prototipos = [render.texto(f.prototipo()) for f in ayudantes]
        resultado[render.texto('$$Utiles') + '.h'] = _cabecera(
            '$$Utiles.h', render, {'<string>', '<cmath>', '<cstdlib>', '<sstream>', '<iomanip>', '"utilidades.h"'},
            prototipos)
        resultado[render.texto('$$Utiles') + '.cpp'] = _fuente(render, ['"$$Utiles.h"'], _baraja(sol, ayudantes))

    for p in propias:
        nombre = render.texto('$$' + p.archivo)
        cuerpo = []
        for c in _clases(sol, p.clases):
            cuerpo += render.clase(c) + ['']
        incluye = {'"utilidades.h"'} | {i for i in p.incluye_propio if i.startswith('<')}
        if sol.g.constantes:
            incluye.add('"Constantes.h"')
        incluye |= {i for i in p.incluye_propio if i.startswith('"') and i != f'"$${p.archivo}.h"'}
        resultado[nombre + '.h'] = _cabecera(nombre + '.h', render, incluye, cuerpo)
        resultado[nombre + '.cpp'] = _fuente(render, [f'"{nombre}.h"', '<algorithm>'],
                                             _baraja(sol, p.funciones))
    if juntos_clases:
        cuerpo = []
        for c in _clases(sol, juntos_clases):
            cuerpo += render.clase(c) + ['']
        incluye = {'"utilidades.h"', '<vector>', '<string>'} | {i for i in juntos_incluye if i.startswith('<')}
        if sol.g.constantes:
            incluye.add('"Constantes.h"')
        resultado['Entidades.h'] = _cabecera('Entidades.h', render, incluye, cuerpo)
        resultado['Entidades.cpp'] = _fuente(render, ['"Entidades.h"', '<algorithm>'],
                                             _baraja(sol, juntos_funciones))
        incluye_juego.add('"Entidades.h"')

    # Juego.h: the template's skeleton with the student's members.
    estilo = sol.estilo
    sangria = '    '
    cuerpo_h = []
    for c in _clases(sol, tipos_juego):
        cuerpo_h += render.clase(c) + ['']
    envoltura = next((p for p in sol.partes if p.envuelve), None)
    extra = [f for g in GANCHOS for f in (envoltura.envuelve(g, [])[1] if envoltura else [])]
    prototipos = [sangria + render.texto(f.prototipo().replace('Juego::', ''))
                  for f in _baraja(sol, metodos + extra)]
    miembros = []
    for tipo, concepto, inicial in _baraja(sol, campos):
        valor = f' = {render.texto(inicial)}' if inicial is not None and sol.inicializa_en_clase else ''
        miembros.append(f'{sangria}{render.texto(tipo)} {sol.nombres.campo(concepto)}{valor};')
    h = PLANTILLA['Juego.h'].split('\n')
    i_include = h.index('#include "utilidades.h"') + 1
    i_clase = h.index('class Juego {')
    i_privado = h.index('private:') + 1
    i_todo = next(i for i, l in enumerate(h) if 'TODO' in l) + 1
    juego_h = (h[:i_include] + [_incluye(i, render) for i in sorted(incluye_juego)]
               + ([''] + ['using namespace std;'] if not estilo.usa_std else [])
               + h[i_include:i_clase] + cuerpo_h + h[i_clase:i_privado] + prototipos
               + h[i_privado:i_todo] + miembros + h[i_todo:])
    resultado['Juego.h'] = '\n'.join(juego_h)

    # Juego.cpp: the template's methods, each with the student's statements inside.
    estados = next((p for p in sol.partes if p.envuelve), None)
    funciones = []
    constructor = [S(f'@{c} = {v};') for _, c, v in campos if v is not None and not sol.inicializa_en_clase
                   and '[' not in c]
    funciones.append(Funcion('', 'Juego::Juego', ') : enMarcha_(true', constructor))
    envueltos = []
    for g in GANCHOS:
        cuerpo = [x for grupo in ganchos[g] for x in grupo]
        if estados is not None:
            cuerpo, extra = estados.envuelve(g, cuerpo)
            envueltos += extra
        plantilla = [S(t) for t in PLANTILLA_GANCHOS.get(g, [])]
        if g == 'dibuja':
            cuerpo = plantilla + cuerpo + [S('muestraPantalla();')]
        elif g == 'termina':
            cuerpo = cuerpo + plantilla
        else:
            cuerpo = plantilla + cuerpo
        ret, nombre, params = METODOS_GANCHO[g]
        funciones.append(Funcion(ret, 'Juego::' + nombre, params, cuerpo))
        if g == 'inicia':
            funciones.append(Funcion('bool', 'Juego::enMarcha', '',
                                     [S('return enMarcha_ && ventanaAbierta();')], const=True))
    propios = _baraja(sol, metodos + envueltos)
    if sol.reordena is not None:
        funciones = _baraja(sol, funciones + propios)
    else:
        funciones += propios
    incluye_cpp = ['"Juego.h"'] + sorted({'<algorithm>', '<fstream>', '<iostream>', '<string>', '<cmath>'})
    resultado['Juego.cpp'] = ('// Practica 2: implementacion del juego. Completa cada metodo.\n'
                              + _fuente(render, incluye_cpp, funciones))
    return resultado


# Disguises.

def _muerto(rng):
    """A statement that changes nothing."""
    return rng.choice([
        lambda: [S('int $temporal = 0;')],
        lambda: [S('bool $depurar = false;'),
                 Si('$depurar', [S('std::cout << "depuracion" << std::endl;')])],
        lambda: [Para('$k', '0', '$k < 0', [S('std::cout << $k;')])],
        lambda: [S('float $sinUso = 1.0f;'), S('$sinUso = $sinUso * 2;')],
        lambda: [S('std::string $mensaje = "ok";')],
        lambda: [Si('false', [S('std::cout << "nunca" << std::endl;')])],
        lambda: [S('(void)0;')],
    ])()


def _inserta_muerto(nodos, rng, cada):
    resultado = []
    for x in nodos:
        for campo in ('si', 'no', 'cuerpo'):
            if getattr(x, campo, None):
                setattr(x, campo, _inserta_muerto(getattr(x, campo), rng, cada))
        if rng.random() < 1 / cada:
            resultado += _muerto(rng)
        resultado.append(x)
    return resultado


def _funcion_muerta(rng, n):
    cuerpo = [S('int $total = 0;'),
              Para('$i', '0', f'$i < {rng.randint(3, 20)}', [S(f'$total += $i * {rng.randint(2, 9)};')]),
              Si(f'$total > {rng.randint(10, 100)}', [S('std::cout << $total << std::endl;')]),
              S('return $total;')]
    return Funcion('int', f'Juego::$pruebaSinUsar{n}', '', cuerpo)


def copia(fuente, nivel, semilla):
    """A copy of `fuente` with the disguises of levels 1 to `nivel` (1-5)."""
    archivos(fuente)  # its names chosen, so that a renaming can avoid them
    rng = random.Random(f'copia-{semilla}-{nivel}')
    c = copy.copy(fuente)
    c.partes = copy.deepcopy(fuente.partes)
    c.g = copy.copy(fuente.g)
    c.estilo = fuente.estilo.maquetacion(rng)
    c.maquetacion = f'maquetacion-copia-{semilla}'
    if nivel >= 2:
        c.nombres = Nombres(random.Random(f'nombres-copia-{semilla}'), evita=fuente.nombres)
        c.nombres.miembro = rng.choice([m for m in ('', 'm_', 'sufijo', 'this') if m != fuente.nombres.miembro])
    if nivel >= 3:
        c.reordena = f'reordena-{semilla}'
        c.estilo.usa_std = not fuente.estilo.usa_std
        c.inicializa_en_clase = not fuente.inicializa_en_clase
    if nivel >= 4:
        for p in c.partes:
            for f in p.funciones + p.metodos:
                f.cuerpo = _inserta_muerto(f.cuerpo, rng, 5)
        c.partes[0].metodos = c.partes[0].metodos + [_funcion_muerta(rng, i) for i in range(2)]
    if nivel >= 5:
        c.estilo.bucle_while = 0.7
        c.estilo.gira = 0.7
        c.estilo.incremento = rng.choice([f for f in ('x++', '++x', 'x += 1') if f != fuente.estilo.incremento])
    return c


def parcial(fuente, propia, lineas, parte=0.35):
    """`propia`'s own solution with some of `fuente`'s parts (about `parte` of its lines) in
    place of its own, written in `propia`'s names and layout."""
    rng = random.Random(f'parcial-{fuente.semilla}-{propia}')
    c = Solucion(propia, lineas)
    nombres = [p.nombre for p in fuente.partes if p.nombre in {q.nombre for q in c.partes}]
    rng.shuffle(nombres)
    total = fuente.cuenta_lineas()
    tomadas, copiadas = set(), 0
    for n in nombres:
        if copiadas >= parte * total:
            break
        solo = copy.copy(fuente)
        solo.partes = [p for p in fuente.partes if p.nombre == n]
        copiadas += solo.cuenta_lineas() - sum(PLANTILLA[x].count('\n') for x in PLANTILLA)
        tomadas.add(n)
    de_fuente = {p.nombre: p for p in copy.deepcopy(fuente.partes)}
    c.partes = [de_fuente[p.nombre] if p.nombre in tomadas else p for p in c.partes]
    c.g = copy.copy(c.g)
    c.g.ayudantes = {**c.g.ayudantes, **fuente.g.ayudantes}
    c.copiadas = sorted(tomadas)
    return c


def solucion(semilla, lineas=1500, nivel=0, propia=None):
    """Solution `semilla`, or (nivel 1-5) a copy of it, or (nivel 6) `propia`'s own solution
    with some of its parts."""
    s = Solucion(semilla, lineas)
    if nivel == 6:
        return parcial(s, propia if propia is not None else semilla + 1_000_003, lineas)
    if nivel:
        return copia(s, nivel, semilla * 7 + nivel)
    return s


def escribe(carpeta, sol):
    destino = os.path.join(carpeta, 'Juego')
    os.makedirs(destino, exist_ok=True)
    for nombre, texto in archivos(sol).items():
        with open(os.path.join(destino, nombre), 'w', encoding='utf-8', newline='\n') as f:
            f.write(texto)


def escribe_solucion(carpeta, semilla, lineas=1500, nivel=0, propia=None):
    """Writes solution `semilla` into carpeta/Juego/*.cpp|*.h: an independent one (nivel 0),
    or a copy of it disguised up to `nivel` (1-5), or `propia`'s own with some of its parts
    (nivel 6). Returns the names of the files written."""
    sol = solucion(semilla, lineas, nivel, propia)
    escribe(carpeta, sol)
    return sorted(archivos(sol))


def escribe_plantilla(carpeta):
    """Writes the course's template into carpeta/Juego/."""
    destino = os.path.join(carpeta, 'Juego')
    os.makedirs(destino, exist_ok=True)
    for nombre, texto in PLANTILLA.items():
        with open(os.path.join(destino, nombre), 'w', encoding='utf-8', newline='\n') as f:
            f.write(texto)


def main():
    a = argparse.ArgumentParser(description='Escribe una solución de muestra.')
    a.add_argument('carpeta')
    a.add_argument('--semilla', type=int, default=1)
    a.add_argument('--lineas', type=int, default=1500)
    a.add_argument('--nivel', type=int, default=0)
    a.add_argument('--propia', type=int)
    a.add_argument('--plantilla', action='store_true', help='la plantilla del curso en su lugar')
    args = a.parse_args()
    if args.plantilla:
        escribe_plantilla(args.carpeta)
    else:
        for n in escribe_solucion(args.carpeta, args.semilla, args.lineas, args.nivel, args.propia):
            print(n)


if __name__ == '__main__':
    main()
