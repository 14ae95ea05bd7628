"""The parts of a solution to "Práctica 2" (a small 2D game on the course's template): the
hero, the enemies, the shots, the collisions, the level, the items, the scores, the menu and
optional extras, each in several designs, each design written with choices of its own.

A part gives classes and functions for files of its own (or Juego's), members and methods
for Juego, and statements for the template's hooks (inicia, eventos, actualiza, dibuja,
termina).
"""

import random
import re

from codigo import Cada, Clase, Comentario, Enumeracion, Funcion, Mientras, Para, S, Segun, Si

GANCHOS = ('inicia', 'eventos', 'actualiza', 'dibuja', 'termina')
COLORES = ('ROJO', 'VERDE', 'AZUL', 'AMARILLO', 'BLANCO')


class Parte:
    def __init__(self, nombre, archivo=None):
        self.nombre = nombre
        self.archivo = archivo  # the type concept its own files are named after; None: Juego's
        self.clases = []  # Clase or Enumeracion, for its header
        self.funciones = []  # for its source file
        self.campos = []  # Juego's members: (type, concept, initial value or None)
        self.metodos = []  # Juego's own methods
        self.ganchos = {g: [] for g in GANCHOS}
        self.incluye = set()  # what Juego includes for it
        self.incluye_propio = set()  # what its own files include
        self.envuelve = None  # for the part that has the game's states: hook, statements ->
        # statements, and Juego's methods they call


class Contexto:
    """The random choices of one solution's content."""

    def __init__(self, rng):
        self.rng = rng
        self.ayudantes = {}  # the student's helper functions, by concept
        self.plan = {}  # designs chosen that other parts follow
        self.constantes = {}  # literal -> the name the student gave it
        self.constantes_p = rng.choice([0, 0, 0.3, 0.6])  # how often literals become constants
        self.trazas = rng.choice([0.02, 0.05, 0.1])  # traces among the statements
        self.ayudas = []  # Juego's methods split out of others
        # Habits: locals declared const, or auto; loop bounds written one way.
        self.const_locales = rng.random() < 0.25
        self.auto_locales = rng.random() < 0.25
        self.limites = rng.choice(['<', '<', '<=', '!='])

    def p(self, x):
        return self.rng.random() < x

    def uno(self, *opciones):
        return self.rng.choice(opciones)

    def entre(self, a, b):
        return self.rng.randint(a, b)

    def mezcla(self, *grupos):
        """Statements whose order does not matter, in any order."""
        grupos = [g if isinstance(g, list) else [g] for g in grupos]
        self.rng.shuffle(grupos)
        return [x for g in grupos for x in g]

    def quizas(self, p, *nodos):
        return list(nodos) if self.p(p) else []

    # Idioms every student writes in one of a few ways.

    def limita(self, var, minimo, maximo):
        forma = self.uno('dos', 'encadenado', 'minmax', 'ayudante')
        if forma == 'dos':
            return [Si(f'{var} < {minimo}', [S(f'{var} = {minimo};')]),
                    Si(f'{var} > {maximo}', [S(f'{var} = {maximo};')])]
        if forma == 'encadenado':
            return [Si(f'{var} < {minimo}', [S(f'{var} = {minimo};')],
                       [Si(f'{var} > {maximo}', [S(f'{var} = {maximo};')])])]
        if forma == 'minmax':
            return [S(f'{var} = std::max((float)({minimo}), std::min({var}, (float)({maximo})));')]
        self.ayudante('limita')
        return [S(f'{var} = $limita({var}, {minimo}, {maximo});')]

    def choca(self, a, b):
        """The condition that the rectangles a and b overlap."""
        if self.plan.setdefault('choca', self.uno('api', 'api', 'ayudante')) == 'api':
            return f'{a}.intersecta({b})'
        self.ayudante('colisionan')
        return f'$colisionan({a}, {b})'

    def aleatorio(self, a, b):
        if self.plan.setdefault('aleatorio', self.uno('api', 'api', 'rand')) == 'api':
            return f'aleatorio({a}, {b})'
        return f'(std::rand() % (({b}) - ({a}) + 1) + ({a}))'

    def temporizador(self, var, periodo, cuerpo):
        forma = self.uno('suma', 'resta', 'bucle')
        if forma == 'suma':
            return [S(f'{var} += $dt;'), Si(f'{var} >= {periodo}', [S(f'{var} = 0;')] + cuerpo)]
        if forma == 'resta':
            return [S(f'{var} -= $dt;'), Si(f'{var} <= 0', cuerpo + [S(f'{var} = {periodo};')])]
        return [S(f'{var} += $dt;'),
                Mientras(f'{var} >= {periodo}', [S(f'{var} -= {periodo};')] + cuerpo)]

    def recorre(self, tipo, var, coleccion, cuerpo, puntero=False, constante=False):
        """Every element of a container: range-based, by index, or by iterator."""
        forma = self.uno('cada', 'cada', 'indice', 'iterador')
        ref = '*' if puntero else '&'
        const = 'const ' if constante and not puntero else ''
        if forma == 'cada':
            return [Cada(f'{const}{"auto" if self.p(0.5) else tipo}{ref} {var}', coleccion, cuerpo)]
        if forma == 'indice':
            return [Para('$i', '0', f'$i < (int){coleccion}.size()',
                         [S(f'{const}{tipo}{ref} {var} = {coleccion}[$i];')] + cuerpo)]
        return [S(f'auto $it = {coleccion}.begin();'),
                Mientras(f'$it != {coleccion}.end()',
                         [S(f'{const}{tipo}{ref} {var} = *$it;')] + cuerpo + [S('INC($it);')])]

    def borra(self, tipo, coleccion, muerto, puntero=False):
        """The elements of a vector that `muerto` (a condition on $elem) holds for, removed."""
        forma = self.uno('remove_if', 'atras', 'iterador', 'copia')
        libera = [S('delete $elem;')] if puntero else []
        elemento = f'{tipo}*' if puntero else f'{tipo}&'
        if forma == 'remove_if' and not puntero:
            return [S(f'{coleccion}.erase(std::remove_if({coleccion}.begin(), {coleccion}.end(),\n'
                      f'    [](const {tipo}& $elem) {{ return {muerto}; }}), {coleccion}.end());')]
        if forma in ('atras', 'remove_if'):
            return [Para('$i', f'(int){coleccion}.size() - 1', '$i >= 0',
                         [S(f'{elemento} $elem = {coleccion}[$i];'),
                          Si(muerto, libera + [S(f'{coleccion}.erase({coleccion}.begin() + $i);')])],
                         paso='--')]
        if forma == 'iterador':
            return [S(f'auto $it = {coleccion}.begin();'),
                    Mientras(f'$it != {coleccion}.end()',
                             [S(f'{elemento} $elem = *$it;'),
                              Si(muerto, libera + [S(f'$it = {coleccion}.erase($it);')],
                                 [S('INC($it);')])])]
        return [S(f'std::vector<{tipo}{"*" if puntero else ""}> $quedan;'),
                Cada(f'auto{"" if puntero else "&"} $elem', coleccion,
                     [Si(muerto, libera, [S('$quedan.push_back($elem);')])]),
                S(f'{coleccion} = $quedan;')]

    def texto_numero(self, etiqueta, valor):
        """A label and a number as one string."""
        forma = self.plan.setdefault('texto', self.uno('to_string', 'to_string', 'ayudante', 'stream'))
        if forma == 'to_string':
            return f'"{etiqueta}" + std::to_string({valor})'
        if forma == 'ayudante':
            self.ayudante('aTexto')
            return f'"{etiqueta}" + $aTexto({valor}, {self.uno(3, 4, 5, 6)})'
        return f'($$Texto() << "{etiqueta}" << {valor}).str()'

    def ayudante(self, nombre):
        if nombre in self.ayudantes:
            return
        if nombre == 'limita':
            cuerpo = ([Si('$v < $lo', [S('return $lo;')]), Si('$v > $hi', [S('return $hi;')]),
                       S('return $v;')] if self.p(0.6) else
                      [S('return $v < $lo ? $lo : ($v > $hi ? $hi : $v);')])
            f = Funcion('float', '$limita', 'float $v, float $lo, float $hi', cuerpo,
                        comentario='deja v entre lo y hi')
        elif nombre == 'colisionan':
            cuerpo = ([S('return $a.x < $b.x + $b.ancho && $a.x + $a.ancho > $b.x &&\n'
                         '       $a.y < $b.y + $b.alto && $a.y + $a.alto > $b.y;')]
                      if self.p(0.5) else
                      [Si('$a.x + $a.ancho < $b.x || $b.x + $b.ancho < $a.x', [S('return false;')]),
                       Si('$a.y + $a.alto < $b.y || $b.y + $b.alto < $a.y', [S('return false;')]),
                       S('return true;')])
            f = Funcion('bool', '$colisionan', 'const Rect& $a, const Rect& $b', cuerpo,
                        comentario='choque de dos rectangulos')
        elif nombre == 'distancia':
            cuerpo = self.mezcla(S('float $ddx = $x2 - $x1;'), S('float $ddy = $y2 - $y1;')) + [
                S('return std::sqrt($ddx * $ddx + $ddy * $ddy);')]
            f = Funcion('float', '$distancia', 'float $x1, float $y1, float $x2, float $y2', cuerpo)
        elif nombre == 'aTexto':
            if self.p(0.5):
                cuerpo = [S('std::string $s = std::to_string($valor);'),
                          Mientras('(int)$s.size() < $cifras', [S('$s = "0" + $s;')]),
                          S('return $s;')]
            else:
                cuerpo = [S('std::ostringstream $os;'),
                          S("$os << std::setw($cifras) << std::setfill('0') << $valor;"),
                          S('return $os.str();')]
            f = Funcion('std::string', '$aTexto', 'int $valor, int $cifras', cuerpo,
                        comentario='numero con ceros delante')
        elif nombre == 'aleatorioReal':
            f = Funcion('float', '$aleatorioReal', 'float $a, float $b',
                        [S('return $a + ($b - $a) * (std::rand() / (float)RAND_MAX);')])
        else:
            raise KeyError(nombre)
        self.ayudantes[nombre] = f


def _reescribe(nodos, cambia):
    """Statements with `cambia` made of every text of theirs, at any depth."""
    for x in nodos:
        for campo in ('texto', 'cond', 'neg', 'expr', 'coleccion'):
            if isinstance(getattr(x, campo, None), str):
                setattr(x, campo, cambia(getattr(x, campo)))
        for campo in ('si', 'no', 'cuerpo'):
            if getattr(x, campo, None):
                _reescribe(getattr(x, campo), cambia)
        for _, cuerpo in getattr(x, 'casos', []):
            _reescribe(cuerpo, cambia)
    return nodos


def _en_objeto(nodos, objeto):
    """Statements about a class's own fields (@x), rewritten about `objeto`'s ($e.@x)."""
    return _reescribe(nodos, lambda t: re.sub(r'(?<![.>\w])@', objeto + '@', t))


def _sustituye(nodos, cambios):
    """Statements with some texts replaced."""
    def cambia(t):
        for a, b in cambios.items():
            t = t.replace(a, b)
        return t
    return _reescribe(nodos, cambia)


def en_linea(p):
    """Methods of one statement defined in their class, as some students do."""
    for c in p.clases:
        if not isinstance(c, Clase):
            continue
        prefijo = c.nombre + '::'
        for f in list(p.funciones):
            if (f.nombre.startswith(prefijo) and len(f.cuerpo) == 1 and isinstance(f.cuerpo[0], S)
                    and f.cuerpo[0].texto.startswith('return') and '\n' not in f.cuerpo[0].texto):
                prototipo = f.prototipo().replace(prefijo, '')
                if prototipo in c.metodos:
                    c.metodos[c.metodos.index(prototipo)] = prototipo[:-1] + ' { ' + f.cuerpo[0].texto + ' }'
                    p.funciones.remove(f)


def _cadena_si(expr, casos):
    """A switch written as if / else if."""
    nodo = None
    for etiqueta, cuerpo in reversed(casos):
        nodo = Si(f'{expr} == {etiqueta}', cuerpo, [nodo] if nodo else None)
    return nodo


def _segun(g, expr, casos):
    return Segun(expr, casos) if g.p(0.55) else _cadena_si(expr, casos)


def heroe(g):
    p = Parte('heroe', 'Heroe')
    diseno = g.plan.setdefault('heroe', g.uno('plataformas', 'libre', 'nave'))
    gravedad = g.entre(8, 20) * 50
    campos = [('float', 'x', None), ('float', 'y', None), ('float', 'vx', '0'),
              ('float', 'vy', '0'), ('int', 'vida', None), ('float', 'invulnerable', '0'),
              ('Imagen', 'imagen', None), ('float', 'velocidad', None)]
    if diseno == 'plataformas':
        campos.append(('bool', 'suelo', 'false'))
    con_dir = g.p(0.5)
    if con_dir:
        campos.append(('int', 'dir', '1'))
    g.rng.shuffle(campos)
    inicial = []
    for _, c, v in campos:
        if c == 'imagen':
            inicial.append(S(f'@imagen = cargaImagen("images/{g.uno("heroe", "jugador", "nave", "prota")}.png");'))
        elif c in ('x', 'y'):
            inicial.append(S(f'@{c} = ${c}Inicial;'))
        elif c == 'vida':
            inicial.append(S(f'@vida = {g.uno(3, 3, 5, 100)};'))
        elif c == 'velocidad':
            inicial.append(S(f'@velocidad = {g.entre(12, 40) * 10}.0f;'))
        elif v is not None and g.p(0.5):
            inicial.append(S(f'@{c} = {v};'))
    clase = Clase('$$Heroe', [(t, c, None) for t, c, _ in campos], [],
                  comentario='el personaje que maneja el jugador')
    p.clases.append(clase)
    metodos = clase.metodos
    p.funciones.append(Funcion('', '$$Heroe::$$Heroe', 'float $xInicial, float $yInicial', inicial))
    metodos.append('$$Heroe(float $xInicial, float $yInicial);')

    if diseno == 'libre':
        if g.p(0.5):
            entrada = g.mezcla(
                [S('@vx = 0;'), Si('teclaPulsada(TECLA_IZQUIERDA)', [S('@vx -= @velocidad;')]),
                 Si('teclaPulsada(TECLA_DERECHA)', [S('@vx += @velocidad;')])],
                [S('@vy = 0;'), Si('teclaPulsada(TECLA_ARRIBA)', [S('@vy -= @velocidad;')]),
                 Si('teclaPulsada(TECLA_ABAJO)', [S('@vy += @velocidad;')])])
            if g.p(0.5):
                entrada += [Comentario('en diagonal no va mas rapido'),
                            Si('@vx != 0 && @vy != 0', [S('@vx *= 0.7071f;'), S('@vy *= 0.7071f;')])]
        else:
            entrada = [S('float $dx = 0, $dy = 0;'),
                       Si('teclaPulsada(TECLA_IZQUIERDA)', [S('$dx = -1;')],
                          [Si('teclaPulsada(TECLA_DERECHA)', [S('$dx = 1;')])]),
                       Si('teclaPulsada(TECLA_ARRIBA)', [S('$dy = -1;')],
                          [Si('teclaPulsada(TECLA_ABAJO)', [S('$dy = 1;')])]),
                       S('@vx = $dx * @velocidad;'), S('@vy = $dy * @velocidad;')]
    else:
        forma = g.uno('ifelse', 'acelera', 'suma')
        if forma == 'ifelse':
            entrada = [Si('teclaPulsada(TECLA_IZQUIERDA)', [S('@vx = -@velocidad;')],
                          [Si('teclaPulsada(TECLA_DERECHA)', [S('@vx = @velocidad;')],
                              [S('@vx = 0;')])])]
        elif forma == 'acelera':
            entrada = [Si('teclaPulsada(TECLA_IZQUIERDA)', [S('@vx -= @velocidad * 4 * $dt;')]),
                       Si('teclaPulsada(TECLA_DERECHA)', [S('@vx += @velocidad * 4 * $dt;')]),
                       S(f'@vx *= {g.uno("0.9f", "0.92f", "0.85f")};')]
            entrada += g.limita('@vx', '-@velocidad', '@velocidad')
        else:
            entrada = [S('int $mueve = 0;'), Si('teclaPulsada(TECLA_IZQUIERDA)', [S('DEC($mueve);')]),
                       Si('teclaPulsada(TECLA_DERECHA)', [S('INC($mueve);')]),
                       S('@vx = $mueve * @velocidad;')]
        if con_dir:
            entrada.append(Si('@vx < 0', [S('@dir = -1;')], [Si('@vx > 0', [S('@dir = 1;')])]))
    if diseno == 'plataformas':
        salta = g.mezcla(S(f'@vy = -{g.entre(10, 18) * 30};'), S('@suelo = false;'))
        salta += g.quizas(0.3, S('reproduceSonido("sonidos/salto.wav");'))
        entrada.append(Si(g.uno('teclaPulsada(TECLA_ARRIBA) && @suelo',
                                '@suelo && teclaNueva(TECLA_ESPACIO)'), salta))
    separa = g.p(0.5)

    mueve = []
    if diseno == 'plataformas':
        mueve.append(S(f'@vy += {gravedad} * $dt;'))
        if g.p(0.5):
            mueve += g.limita('@vy', f'-{gravedad}', f'{gravedad}')
    mueve += g.mezcla(S('@x += @vx * $dt;'), S('@y += @vy * $dt;'))
    if diseno == 'plataformas':
        suelo = g.uno('ALTO_PANTALLA - 64', 'ALTO_PANTALLA - 40', 'ALTO_PANTALLA - 96')
        mueve.append(Si(f'@y > {suelo}', g.mezcla(S(f'@y = {suelo};'), S('@vy = 0;'),
                                                  S('@suelo = true;'))))
    mueve += g.limita('@x', '0', 'ANCHO_PANTALLA - 32')
    if diseno == 'libre':
        mueve += g.limita('@y', '0', 'ALTO_PANTALLA - 32')
    tiempo = [Si('@invulnerable > 0', [S('@invulnerable -= $dt;')])]
    actualiza = ([S('$procesaEntrada($dt);')] if separa else entrada) + g.mezcla(mueve, tiempo)
    p.funciones.append(Funcion('void', '$$Heroe::$actualiza', 'float $dt', actualiza,
                               comentario='se llama una vez por fotograma'))
    metodos.append('void $actualiza(float $dt);')
    if separa:
        p.funciones.append(Funcion('void', '$$Heroe::$procesaEntrada', 'float $dt', entrada))
        metodos.append('void $procesaEntrada(float $dt);')

    dibuja = [S('dibujaImagen(@imagen, @x, @y);')]
    parpadeo = g.uno('entero', 'fmod', 'ninguno')
    if parpadeo == 'entero':
        dibuja = [Si('@invulnerable > 0 && (int)(@invulnerable * 10) % 2 == 0', [S('return;')])] + dibuja
    elif parpadeo == 'fmod':
        dibuja = [Si('@invulnerable <= 0 || std::fmod(@invulnerable, 0.2f) < 0.1f', dibuja)]
    p.funciones.append(Funcion('void', '$$Heroe::$dibuja', '', dibuja, const=True))
    metodos.append('void $dibuja() const;')

    rect = ([S('return Rect{@x, @y, 32, 32};')] if g.p(0.5) else
            [S('Rect $r;')] + g.mezcla(S('$r.x = @x;'), S('$r.y = @y;'), S('$r.ancho = 32;'),
                                       S('$r.alto = 32;')) + [S('return $r;')])
    p.funciones.append(Funcion('Rect', '$$Heroe::$rect', '', rect, const=True))
    metodos.append('Rect $rect() const;')
    golpe = [Si('@invulnerable > 0', [S('return false;')])] + g.mezcla(
        S('DEC(@vida);'), S(f'@invulnerable = {g.uno("2.0f", "1.5f", "3")};'),
        g.quizas(0.5, S('reproduceSonido("sonidos/golpe.wav");')))
    if diseno == 'plataformas' and g.p(0.5):
        golpe.append(S('@vy = -200;'))
    golpe.append(S('return true;'))
    p.funciones.append(Funcion('bool', '$$Heroe::$recibeGolpe', '', golpe,
                               comentario='devuelve si de verdad le ha dado'))
    metodos.append('bool $recibeGolpe();')
    for concepto, cuerpo, tipo in [('getVida', 'return @vida;', 'int'),
                                   ('estaVivo', 'return @vida > 0;', 'bool'),
                                   ('getX', 'return @x;', 'float'), ('getY', 'return @y;', 'float')]:
        if g.p(0.7):
            p.funciones.append(Funcion(tipo, f'$$Heroe::${concepto}', '', [S(cuerpo)], const=True))
            metodos.append(f'{tipo} ${concepto}() const;')
    if g.p(0.5):
        p.funciones.append(Funcion('void', '$$Heroe::$curar', 'int $cuanto',
                                   [S('@vida += $cuanto;')] + g.limita('@vida', '0', '$vidaMaxima')))
        metodos.append('void $curar(int $cuanto);')
    if g.p(0.5):
        p.funciones.append(Funcion('void', '$$Heroe::$reinicia', 'float $nx, float $ny',
                                   g.mezcla(S('@x = $nx;'), S('@y = $ny;'), S('@vx = 0;'), S('@vy = 0;'),
                                            S('@invulnerable = 0;'))))
        metodos.append('void $reinicia(float $nx, float $ny);')
    g.rng.shuffle(metodos)
    p.campos.append(('$$Heroe', 'heroe', None))
    p.incluye.add('"$$Heroe.h"')
    p.ganchos['actualiza'].append(S('@heroe.$actualiza($dt);'))
    p.ganchos['dibuja'].append(S('@heroe.$dibuja();'))
    return p


def comportamiento(g, clase):
    """What one kind of enemy does in its update."""
    v = g.entre(6, 25) * 10
    if clase == 'patrulla':
        if g.p(0.5):
            return [S('@x += @vx * $dt;'),
                    Si('@x < @minX || @x > @maxX', g.mezcla(S('@vx = -@vx;'), S('@x += @vx * $dt;')))]
        return [S('@x += @vx * $dt;'),
                Si('@x < @minX', [S('@x = @minX;'), S('@vx = std::abs(@vx);')],
                   [Si('@x > @maxX', [S('@x = @maxX;'), S('@vx = -std::abs(@vx);')])])]
    if clase == 'perseguidor':
        if g.p(0.5):
            g.ayudante('distancia')
            return [S('float $d = $distancia(@x, @y, $objetivoX, $objetivoY);'),
                    Si('$d > 1', g.mezcla(S(f'@x += ($objetivoX - @x) / $d * {v} * $dt;'),
                                          S(f'@y += ($objetivoY - @y) / $d * {v} * $dt;')))]
        return g.mezcla(Si('$objetivoX < @x', [S(f'@x -= {v} * $dt;')], [S(f'@x += {v} * $dt;')]),
                        Si('$objetivoY < @y', [S(f'@y -= {v} * $dt;')], [S(f'@y += {v} * $dt;')]))
    if clase == 'zigzag':
        return g.mezcla(S('@tiempo += $dt;'), S(f'@y += {v} * $dt;')) + [
            S(f'@x = @xBase + std::sin(@tiempo * {g.entre(2, 6)}) * {g.entre(3, 9) * 10};'),
            Si('@y > ALTO_PANTALLA', [S('@activo = false;')])]
    if clase == 'saltarin':
        suelo = g.uno(64, 48, 40)
        return [S(f'@vy += {g.entre(5, 12) * 100} * $dt;')] + g.mezcla(S('@y += @vy * $dt;'),
                                                                    S('@x += @vx * $dt;')) + [
            Si(f'@y > ALTO_PANTALLA - {suelo}',
               [S(f'@y = ALTO_PANTALLA - {suelo};'), S(f'@vy = -{g.entre(3, 8) * 100};')]),
            Si('@x < 0 || @x > ANCHO_PANTALLA - 32', [S('@vx = -@vx;')])]
    return g.temporizador('@tiempo', f'{g.entre(10, 30) / 10}f', [S('@quiereDisparar = true;')]) + [
        S(f'@y += {g.entre(2, 6) * 10} * $dt;')]


def enemigos(g):
    diseno = g.plan.setdefault('enemigos', g.uno('herencia', 'tipo', 'tipo', 'struct'))
    clases = g.rng.sample(['patrulla', 'perseguidor', 'zigzag', 'saltarin', 'tirador'], g.entre(2, 4))
    p = Parte('enemigos', None if diseno == 'struct' else 'Enemigo')
    comunes = [('float', 'x', None), ('float', 'y', None), ('float', 'vx', None), ('float', 'vy', '0'),
               ('bool', 'activo', 'true'), ('float', 'tiempo', '0'), ('int', 'vida', None)]
    extra = {'patrulla': [('float', 'minX', None), ('float', 'maxX', None)],
             'zigzag': [('float', 'xBase', None)], 'tirador': [('bool', 'quiereDisparar', 'false')]}
    iniciales = {'patrulla': [S('@minX = $x0 - 100;'), S('@maxX = $x0 + 100;')],
                 'zigzag': [S('@xBase = $x0;')]}
    puntero = diseno == 'herencia'
    # What an enemy's update is told of the hero: where it is, the hero itself, or its box.
    firma = g.uno('xy', 'heroe', 'caja')
    params, objetivo = {
        'xy': ('float $dt, float $objetivoX, float $objetivoY', ('$objetivoX', '$objetivoY')),
        'heroe': ('float $dt, const $$Heroe& $h', ('$h.$getX()', '$h.$getY()')),
        'caja': ('float $dt, const Rect& $destino', ('$destino.x', '$destino.y')),
    }[firma]
    argumentos = {'xy': '$dt, @heroe.$getX(), @heroe.$getY()', 'heroe': '$dt, @heroe',
                  'caja': '$dt, @heroe.$rect()'}[firma]

    def hace(g, c):
        return _sustituye(comportamiento(g, c), {'$objetivoX': objetivo[0], '$objetivoY': objetivo[1]})
    if diseno == 'herencia':
        base = Clase('$$Enemigo', comunes, [], comentario='clase base de todos los enemigos')
        base.metodos = ['$$Enemigo(float $x0, float $y0, int $vida0);', 'virtual ~$$Enemigo() {}',
                        f'virtual void $actualiza({params}) = 0;',
                        'virtual void $dibuja() const;', 'Rect $rect() const;',
                        'bool $estaActivo() const;', 'void $golpear(int $danio);']
        g.rng.shuffle(base.campos)
        p.clases.append(base)
        p.funciones += [
            Funcion('', '$$Enemigo::$$Enemigo', 'float $x0, float $y0, int $vida0',
                    g.mezcla(S('@x = $x0;'), S('@y = $y0;'), S('@vida = $vida0;'),
                             S(f'@vx = {g.entre(5, 15) * 10};'))),
            Funcion('void', '$$Enemigo::$dibuja', '',
                    [S(f'dibujaRectangulo(@x, @y, 32, 32, {g.uno(*COLORES)});')], const=True),
            Funcion('Rect', '$$Enemigo::$rect', '', [S('return Rect{@x, @y, 32, 32};')], const=True),
            Funcion('bool', '$$Enemigo::$estaActivo', '', [S('return @activo;')], const=True),
            Funcion('void', '$$Enemigo::$golpear', 'int $danio',
                    [S('@vida -= $danio;'), Si('@vida <= 0', [S('@activo = false;')])])]
        for c in clases:
            nombre = '$$Enemigo' + c.capitalize()
            sub = Clase(nombre, extra.get(c, []),
                        [f'{nombre}(float $x0, float $y0);',
                         f'void $actualiza({params}) override;'],
                        base='$$Enemigo')
            p.funciones.append(Funcion('', f'{nombre}::{nombre}',
                                       f'float $x0, float $y0) : $$Enemigo($x0, $y0, {g.entre(1, 4)}',
                                       iniciales.get(c, [])))
            p.funciones.append(Funcion('void', f'{nombre}::$actualiza', params,
                                       hace(g, c)))
            if g.p(0.4):
                sub.metodos.append('void $dibuja() const override;')
                p.funciones.append(Funcion('void', f'{nombre}::$dibuja', '', g.mezcla(
                    S(f'dibujaRectangulo(@x, @y, 32, 32, {g.uno(*COLORES)});'),
                    S(f'dibujaRectangulo(@x + 8, @y + 8, 16, 16, NEGRO);')), const=True))
            p.clases.append(sub)
        p.campos.append(('std::vector<$$Enemigo*>', 'enemigos', None))
        crea = [_segun(g, '$tipo', [(str(i), [S(f'@enemigos.push_back(new $$Enemigo{c.capitalize()}($x, $y));')])
                                    for i, c in enumerate(clases)])]
        actualiza_uno = [S(f'$e->$actualiza({argumentos});')]
        dibuja_uno = [S('$e->$dibuja();')]
        muerto = '!$elem->$estaActivo()'
        p.ganchos['termina'].append(Cada('auto $e', '@enemigos', [S('delete $e;')]))
    else:
        campos = comunes + [c for k in clases for c in extra.get(k, [])] + [('int', 'tipo', None)]
        g.rng.shuffle(campos)
        etiquetas = [f'$$Tipo::{c.upper()}' if diseno == 'tipo' else str(i)
                     for i, c in enumerate(clases)]
        casos = [(e, hace(g, c)) for e, c in zip(etiquetas, clases)]
        if diseno == 'tipo':
            p.clases.append(Enumeracion('$$Tipo', [c.upper() for c in clases]))
            cls = Clase('$$Enemigo', campos, ['$$Enemigo(int $tipo0, float $x0, float $y0);',
                                              f'void $actualiza({params});',
                                              'void $dibuja() const;', 'Rect $rect() const;'])
            g.rng.shuffle(cls.metodos)
            p.clases.append(cls)
            p.funciones += [
                Funcion('', '$$Enemigo::$$Enemigo', 'int $tipo0, float $x0, float $y0',
                        g.mezcla(S('@tipo = $tipo0;'), S('@x = $x0;'), S('@y = $y0;'),
                                 S(f'@vx = {g.entre(5, 15) * 10};'), S(f'@vida = {g.entre(1, 3)};'))
                        + [x for c in clases for x in iniciales.get(c, [])]),
                Funcion('void', '$$Enemigo::$actualiza', params,
                        [_segun(g, '@tipo', casos)]),
                Funcion('void', '$$Enemigo::$dibuja', '',
                        [S('Color $c = ' + ' : '.join(f'@tipo == {e} ? {g.uno(*COLORES)}' for e in etiquetas[:-1])
                           + f' : {g.uno(*COLORES)};'), S('dibujaRectangulo(@x, @y, 32, 32, $c);')],
                        const=True),
                Funcion('Rect', '$$Enemigo::$rect', '', [S('return Rect{@x, @y, 32, 32};')], const=True)]
            crea = [g.uno(S('@enemigos.push_back($$Enemigo($tipo, $x, $y));'),
                          S('@enemigos.emplace_back($tipo, $x, $y);'))]
            actualiza_uno = [S(f'$e.$actualiza({argumentos});')]
            dibuja_uno = [S('$e.$dibuja();')]
            muerto = g.uno('!$elem.@activo', '$elem.@vida <= 0')
        else:
            p.clases.append(Clase('$$Enemigo', campos, [], struct=True))
            cuerpo = _en_objeto([_segun(g, '@tipo', casos)], '$e.')
            p.metodos += [
                Funcion('void', 'Juego::$actualizaEnemigo', '$$Enemigo& $e, float $dt',
                        [S('float $objetivoX = @heroe.$getX();'), S('float $objetivoY = @heroe.$getY();')]
                        + cuerpo),
                Funcion('void', 'Juego::$dibujaEnemigo', 'const $$Enemigo& $e',
                        [S(f'dibujaRectangulo($e.@x, $e.@y, 32, 32, $e.@tipo == 0 ? {g.uno(*COLORES)} : {g.uno(*COLORES)});')])]
            crea = [S('$$Enemigo $nuevo;')] + g.mezcla(
                S('$nuevo.@tipo = $tipo;'), S('$nuevo.@x = $x;'), S('$nuevo.@y = $y;'),
                S(f'$nuevo.@vx = {g.entre(5, 15) * 10};'), S('$nuevo.@vy = 0;'),
                S('$nuevo.@activo = true;'), S('$nuevo.@tiempo = 0;'),
                S(f'$nuevo.@vida = {g.entre(1, 3)};')) + [S('@enemigos.push_back($nuevo);')]
            actualiza_uno = [S('$actualizaEnemigo($e, $dt);')]
            dibuja_uno = [S('$dibujaEnemigo($e);')]
            muerto = '!$elem.@activo'
        p.campos.append(('std::vector<$$Enemigo>', 'enemigos', None))
    p.metodos.append(Funcion('void', 'Juego::$creaEnemigo', 'int $tipo, float $x, float $y', crea))
    nacimiento = g.plan.setdefault('nacimiento', g.uno('tiempo', 'mapa', 'oleadas'))
    if nacimiento == 'tiempo':
        p.campos.append(('float', 'tiempoEnemigo', '0'))
        p.ganchos['actualiza'].append(g.temporizador(
            '@tiempoEnemigo', g.uno('2.0f', '1.5f', '2.5f'),
            [S(f'$creaEnemigo({g.aleatorio(0, len(clases) - 1)}, '
               f'{g.aleatorio(0, "ANCHO_PANTALLA - 32")}, {g.uno("-32", "0", "10")});')]))
    elif nacimiento == 'oleadas':
        p.campos.append(('int', 'oleada', '0'))
        p.ganchos['actualiza'].append([Si('@enemigos.empty()', [
            S('INC(@oleada);'),
            Para('$i', '0', f'$i < @oleada * {g.entre(2, 4)}',
                 [S(f'$creaEnemigo($i % {len(clases)}, {g.entre(1, 3) * 40} + $i * 50 % '
                    f'(ANCHO_PANTALLA - 80), {g.uno("-40", "20", "0")});')])])])
    actualiza = g.recorre('$$Enemigo', '$e', '@enemigos', actualiza_uno, puntero)
    actualiza += g.borra('$$Enemigo', '@enemigos', muerto, puntero)
    p.metodos.append(Funcion('void', 'Juego::$actualizaEnemigos', 'float $dt', actualiza))
    p.ganchos['actualiza'].append(S('$actualizaEnemigos($dt);'))
    p.ganchos['dibuja'].append(g.recorre('$$Enemigo', '$e', '@enemigos', dibuja_uno, puntero, True))
    p.incluye.add('<vector>')
    if p.archivo:
        p.incluye.add('"$$Enemigo.h"')
    p.incluye_propio.add('<cmath>')
    return p


def disparos(g):
    diseno = g.uno('vector', 'vector', 'array', 'clase')
    p = Parte('disparos', 'Disparo' if diseno == 'clase' else None)
    rapidez = g.entre(30, 80) * 10
    campos = [('float', 'x', None), ('float', 'y', None), ('float', 'vy', None), ('bool', 'activo', None)]
    if g.p(0.4):
        campos.append(('float', 'vx', None))
    g.rng.shuffle(campos)
    tiene_vx = any(c == 'vx' for _, c, _ in campos)
    mueve = [S('@y += @vy * $dt;')] + ([S('@x += @vx * $dt;')] if tiene_vx else [])
    fuera = g.uno('@y < -16 || @y > ALTO_PANTALLA', '@y + 16 < 0', '@y < 0 || @x < 0 || @x > ANCHO_PANTALLA')
    p.campos.append(('float', 'cadencia', '0'))
    posicion = [S('float $px = @heroe.$getX() + 12;'), S('float $py = @heroe.$getY();')]
    if diseno == 'clase':
        cls = Clase('$$Disparo', campos, ['$$Disparo(float $x0, float $y0);',
                                          'void $actualiza(float $dt);', 'void $dibuja() const;',
                                          'bool $fuera() const;', 'Rect $rect() const;'])
        g.rng.shuffle(cls.metodos)
        p.clases.append(cls)
        p.funciones += [
            Funcion('', '$$Disparo::$$Disparo', 'float $x0, float $y0',
                    g.mezcla(S('@x = $x0;'), S('@y = $y0;'), S(f'@vy = -{rapidez};'), S('@activo = true;'),
                             [S('@vx = 0;')] if tiene_vx else [])),
            Funcion('void', '$$Disparo::$actualiza', 'float $dt',
                    mueve + [Si(fuera, [S('@activo = false;')])]),
            Funcion('void', '$$Disparo::$dibuja', '', [S(f'dibujaRectangulo(@x, @y, 4, 12, {g.uno(*COLORES)});')],
                    const=True),
            Funcion('bool', '$$Disparo::$fuera', '', [S(f'return !@activo || {fuera};')], const=True),
            Funcion('Rect', '$$Disparo::$rect', '', [S('return Rect{@x, @y, 4, 12};')], const=True)]
        p.campos.append(('std::vector<$$Disparo>', 'disparos', None))
        crear = posicion + [S('@disparos.push_back($$Disparo($px, $py));')]
        actualiza = g.recorre('$$Disparo', '$d', '@disparos', [S('$d.$actualiza($dt);')])
        actualiza += g.borra('$$Disparo', '@disparos', '$elem.$fuera()')
        dibuja = g.recorre('$$Disparo', '$d', '@disparos', [S('$d.$dibuja();')], constante=True)
        p.incluye.add('"$$Disparo.h"')
    else:
        p.clases.append(Clase('$$Disparo', campos, [], struct=True))
        nuevo = g.mezcla(S('$d.@x = $px;'), S('$d.@y = $py;'), S(f'$d.@vy = -{rapidez};'),
                         S('$d.@activo = true;'), [S('$d.@vx = 0;')] if tiene_vx else [])
        uno = _en_objeto(mueve + [Si(fuera, [S('@activo = false;')])], '$d.')
        dibuja_uno = [S(f'dibujaRectangulo($d.@x, $d.@y, 4, 12, {g.uno(*COLORES)});')]
        if diseno == 'vector':
            p.campos.append(('std::vector<$$Disparo>', 'disparos', None))
            crear = posicion + [S('$$Disparo $d;')] + nuevo + [S('@disparos.push_back($d);')]
            actualiza = g.recorre('$$Disparo', '$d', '@disparos', uno)
            actualiza += g.borra('$$Disparo', '@disparos', '!$elem.@activo')
            dibuja = g.recorre('$$Disparo', '$d', '@disparos', dibuja_uno, constante=True)
        else:
            maximo = g.entre(2, 6) * 10
            p.campos.append((f'$$Disparo', f'disparos[{maximo}]', None))
            libre = g.uno('busca', 'primero')
            if libre == 'busca':
                crear = [S('int $libre = -1;'),
                         Para('$i', '0', f'$i < {maximo} && $libre == -1',
                              [Si('!@disparos[$i].@activo', [S('$libre = $i;')])]),
                         Si('$libre != -1', posicion + [S('$$Disparo& $d = @disparos[$libre];')] + nuevo)]
            else:
                crear = [Para('$i', '0', f'$i < {maximo}',
                              [Si('!@disparos[$i].@activo', posicion + [S('$$Disparo& $d = @disparos[$i];')]
                                  + nuevo + [S('break;')])])]
            actualiza = [Para('$i', '0', f'$i < {maximo}',
                              [Si('@disparos[$i].@activo', [S('$$Disparo& $d = @disparos[$i];')] + uno)])]
            dibuja = [Para('$i', '0', f'$i < {maximo}',
                           [Si('@disparos[$i].@activo', [S('const $$Disparo& $d = @disparos[$i];')] + dibuja_uno)])]
            p.ganchos['inicia'].append(Para('$i', '0', f'$i < {maximo}', [S('@disparos[$i].@activo = false;')]))
    espera = g.uno('0.25f', '0.3f', '0.2f', '0.4f')
    p.metodos.append(Funcion('void', 'Juego::$dispara', '', crear + g.quizas(0.5, S('reproduceSonido("sonidos/disparo.wav");'))))
    tecla = g.uno('teclaPulsada(TECLA_ESPACIO)', 'teclaNueva(TECLA_ESPACIO)')
    p.ganchos['eventos'].append(Si(f'{tecla} && @cadencia <= 0', [S('$dispara();'), S(f'@cadencia = {espera};')]))
    p.metodos.append(Funcion('void', 'Juego::$actualizaDisparos', 'float $dt',
                             [Si('@cadencia > 0', [S('@cadencia -= $dt;')])] + actualiza))
    p.ganchos['actualiza'].append(S('$actualizaDisparos($dt);'))
    p.ganchos['dibuja'].append(dibuja)
    g.plan['disparos'] = diseno
    return p


def colisiones(g):
    diseno = g.uno('metodo', 'separadas', 'separadas', 'clase')
    p = Parte('colisiones', 'Colision' if diseno == 'clase' else None)
    enemigos_ptr = g.plan.get('enemigos') == 'herencia'
    flecha = '->' if enemigos_ptr else '.'
    rect_e = f'$e{flecha}$rect()' if g.plan.get('enemigos') != 'struct' else 'Rect{$e.@x, $e.@y, 32, 32}'
    activo_e = (f'$e{flecha}$estaActivo()' if enemigos_ptr else '$e.@activo')
    golpea_e = (f'$e->$golpear(1);' if enemigos_ptr else '$e.@vida -= 1;')
    muere_e = ([] if enemigos_ptr else [Si('$e.@vida <= 0', [S('$e.@activo = false;')])])
    if g.plan.get('disparos') == 'clase':
        rect_d, activo_d = '$d.$rect()', '!$d.$fuera()'
    else:
        rect_d, activo_d = g.uno('Rect{$d.@x, $d.@y, 4, 12}', '$$Rect($d.@x, $d.@y, 4, 12)'), '$d.@activo'
        if rect_d.startswith('$$Rect'):
            rect_d = 'Rect{$d.@x, $d.@y, 4, 12}'
    puntos = g.uno(10, 50, 100, 25)
    tipo_e = '$$Enemigo'
    golpe = [Si(g.choca(rect_d, rect_e),
                g.mezcla(S('$d.@activo = false;' if g.plan.get('disparos') != 'clase' else '$d.@activo = false;'),
                         [S(golpea_e)] + muere_e,
                         S(f'@puntos += {puntos};' if not g.p(0.3) else f'@puntos += {puntos} * @combo;'))
                + g.quizas(0.4, S('reproduceSonido("sonidos/explosion.wav");'))
                + [S(g.uno('break;', 'break;', 'continue;'))])]
    interior = g.recorre(tipo_e, '$e', '@enemigos',
                         ([Si(f'!{activo_e}', [S('continue;')])] if g.p(0.5) else []) + golpe,
                         enemigos_ptr)
    if g.plan.get('disparos') == 'array':
        maximo = 'sizeof(@disparos) / sizeof(@disparos[0])'
        disparos_enemigos = [Para('$j', '0', f'$j < (int)({maximo})',
                                  [S('$$Disparo& $d = @disparos[$j];'), Si(f'!{activo_d}', [S('continue;')])]
                                  + interior)]
    else:
        disparos_enemigos = g.recorre('$$Disparo', '$d', '@disparos',
                                      [Si(f'!{activo_d}', [S('continue;')])] + interior)
    heroe_golpe = [Si('@heroe.$recibeGolpe()',
                      g.quizas(0.5, S(f'{"$e->@activo" if enemigos_ptr else "$e.@activo"} = false;'))
                      + [Si('@heroe.$getVida() <= 0', [S('$finPartida();')])])]
    heroe_enemigos = g.recorre(tipo_e, '$e', '@enemigos',
                               [Si(f'{activo_e} && {g.choca("@heroe.$rect()", rect_e)}', heroe_golpe)],
                               enemigos_ptr)
    if diseno == 'metodo':
        p.metodos.append(Funcion('void', 'Juego::$compruebaColisiones', '',
                                 [Comentario('disparos contra enemigos')] + disparos_enemigos
                                 + [Comentario('el heroe contra los enemigos')] + heroe_enemigos,
                                 comentario='todas las colisiones del juego'))
        p.ganchos['actualiza'].append(S('$compruebaColisiones();'))
    elif diseno == 'separadas':
        p.metodos += [Funcion('void', 'Juego::$colisionDisparos', '', disparos_enemigos),
                      Funcion('void', 'Juego::$colisionHeroe', '', heroe_enemigos)]
        p.ganchos['actualiza'].append(g.mezcla(S('$colisionDisparos();'), S('$colisionHeroe();')))
    else:
        # A class of static functions that get what they look at.
        def libres(nodos):
            texto = lambda t: (t.replace('@enemigos', '$losEnemigos').replace('@disparos', '$losDisparos')
                               .replace('@heroe', '$elHeroe').replace('@puntos', '$puntosGanados')
                               .replace('@combo', '1').replace('$finPartida();', 'return true;'))
            for x in nodos:
                for campo in ('texto', 'cond', 'coleccion', 'decl', 'ini'):
                    if isinstance(getattr(x, campo, None), str):
                        setattr(x, campo, texto(getattr(x, campo)))
                for campo in ('si', 'no', 'cuerpo'):
                    if getattr(x, campo, None):
                        libres(getattr(x, campo))
            return nodos
        contenedor_e = f'std::vector<$$Enemigo{"*" if enemigos_ptr else ""}>&'
        contenedor_d = 'std::vector<$$Disparo>&'
        p.clases.append(Clase('$$Colision', [], [
            f'static int $disparosContraEnemigos({contenedor_d} $losDisparos, {contenedor_e} $losEnemigos);',
            f'static bool $heroeContraEnemigos($$Heroe& $elHeroe, {contenedor_e} $losEnemigos);']))
        p.funciones += [
            Funcion('int', '$$Colision::$disparosContraEnemigos',
                    f'{contenedor_d} $losDisparos, {contenedor_e} $losEnemigos',
                    [S('int $puntosGanados = 0;')] + libres(disparos_enemigos) + [S('return $puntosGanados;')]),
            Funcion('bool', '$$Colision::$heroeContraEnemigos', f'$$Heroe& $elHeroe, {contenedor_e} $losEnemigos',
                    libres(heroe_enemigos) + [S('return false;')])]
        p.incluye_propio |= {'"$$Heroe.h"', '"$$Enemigo.h"', '<vector>'}
        p.incluye.add('"$$Colision.h"')
        p.ganchos['actualiza'].append(
            [S('@puntos += $$Colision::$disparosContraEnemigos(@disparos, @enemigos);'),
             Si('$$Colision::$heroeContraEnemigos(@heroe, @enemigos)', [S('$finPartida();')])])
    p.campos.append(('int', 'puntos', '0'))
    return p


def nivel(g):
    diseno = g.uno('getline', 'caracteres', 'codigo')
    p = Parte('nivel', 'Nivel')
    filas, columnas = g.uno((15, 20), (12, 16), (19, 25)), None
    filas, columnas = filas
    tam = g.uno(40, 32, 48)
    campos = [('int', 'ancho', None), ('int', 'alto', None)]
    metodos = ['bool $carga(const std::string& $ruta);', 'void $dibuja() const;',
               'bool $esSolido(float $px, float $py) const;',
               'int $casilla(int $fila, int $col) const;']
    if diseno == 'getline':
        campos.append(('std::vector<std::string>', 'mapa', None))
        lee = [S('std::ifstream $archivo($ruta);'),
               Si('!$archivo.is_open()', g.quizas(0.6, S('std::cerr << "No se puede abrir " << $ruta << std::endl;'))
                  + [S('return false;')]),
               S('@mapa.clear();'), S('std::string $linea;'),
               Mientras('std::getline($archivo, $linea)',
                        g.quizas(0.5, Si('!$linea.empty() && $linea.back() == \'\\r\'', [S('$linea.pop_back();')]))
                        + [Si('$linea.empty()', [S('continue;')]), S('@mapa.push_back($linea);')]),
               S('@alto = (int)@mapa.size();'),
               S('@ancho = @alto > 0 ? (int)@mapa[0].size() : 0;'),
               S('return @alto > 0;')]
        celda = '@mapa[$fila][$col]'
        limites = '$fila < 0 || $fila >= @alto || $col < 0 || $col >= (int)@mapa[$fila].size()'
    elif diseno == 'caracteres':
        campos.append(('char', f'celdas[{filas}][{columnas}]', None))
        lee = [S('std::ifstream $archivo($ruta);'),
               Si('!$archivo', [S('return false;')]),
               S(f'@alto = {filas};'), S(f'@ancho = {columnas};'),
               Para('$fila', '0', '$fila < @alto',
                    [Para('$col', '0', '$col < @ancho',
                          [S('char $c;'), Si('!($archivo >> $c)', [S("$c = '.';")]),
                           S('@celdas[$fila][$col] = $c;')])]),
               S('return true;')]
        celda = '@celdas[$fila][$col]'
        limites = '$fila < 0 || $fila >= @alto || $col < 0 || $col >= @ancho'
    else:
        campos.append(('std::vector<std::string>', 'mapa', None))
        filas_txt = []
        for f in range(filas):
            fila = ''.join('#' if f in (0, filas - 1) or c in (0, columnas - 1) else
                           g.uno('.', '.', '.', '.', '.', '.', '#', 'E', 'M') for c in range(columnas))
            filas_txt.append(f'    "{fila}",')
        lee = ([S('static const char* $niveles[] = {\n' + '\n'.join(filas_txt) + '\n};')]
               + [S('(void)$ruta;'), S('@mapa.clear();'),
                  Para('$i', '0', f'$i < {filas}', [S('@mapa.push_back($niveles[$i]);')]),
                  S(f'@alto = {filas};'), S(f'@ancho = {columnas};'), S('return true;')])
        celda = '@mapa[$fila][$col]'
        limites = '$fila < 0 || $fila >= @alto || $col < 0 || $col >= @ancho'
    cls = Clase('$$Nivel', campos, metodos)
    g.rng.shuffle(cls.metodos)
    p.clases.append(cls)
    colores = {'#': g.uno('AZUL', 'BLANCO', 'VERDE'), 'M': 'AMARILLO'}
    dibuja_celda = [S(f'char $c = {celda};'),
                    _segun(g, '$c', [("'#'", [S(f'dibujaRectangulo($col * {tam}, $fila * {tam}, {tam}, {tam}, {colores["#"]});')]),
                                     ("'M'", [S(f'dibujaRectangulo($col * {tam} + {tam // 4}, $fila * {tam} + {tam // 4}, {tam // 2}, {tam // 2}, AMARILLO);')])])]
    p.funciones += [
        Funcion('bool', '$$Nivel::$carga', 'const std::string& $ruta', lee,
                comentario='lee el nivel de un fichero de texto'),
        Funcion('void', '$$Nivel::$dibuja', '',
                [Para('$fila', '0', '$fila < @alto', [Para('$col', '0', '$col < @ancho', dibuja_celda)])],
                const=True),
        Funcion('int', '$$Nivel::$casilla', 'int $fila, int $col',
                [Si(limites, [S("return '#';")]), S(f'return {celda};')], const=True),
        Funcion('bool', '$$Nivel::$esSolido', 'float $px, float $py',
                g.mezcla(S(f'int $col = (int)($px / {tam});'), S(f'int $fila = (int)($py / {tam});'))
                + [S("return $casilla($fila, $col) == '#';")], const=True)]
    p.incluye_propio |= {'<string>', '<vector>', '<fstream>', '<iostream>'}
    p.incluye.add('"$$Nivel.h"')
    p.campos += [('$$Nivel', 'mapa', None), ('int', 'nivel', '1')]
    carga = [S(f'std::string $ruta = "niveles/nivel" + std::to_string($n) + ".txt";'),
             Si('!@mapa.$carga($ruta)', [S('std::cerr << "Error cargando " << $ruta << std::endl;'),
                                         S('return;')])]
    if g.plan.get('nacimiento') == 'mapa':
        carga += [Comentario('los enemigos salen de las E del mapa'),
                  Para('$fila', '0', '$fila < 40', [Para('$col', '0', '$col < 40', [
                      Si("@mapa.$casilla($fila, $col) == 'E'",
                         [S(f'$creaEnemigo(($fila + $col) % 2, $col * {tam}, $fila * {tam});')])])])]
        p.ganchos['actualiza'].append(Si('@enemigos.empty()', [S('INC(@nivel);'), S('$cargaNivel(@nivel);')]))
    carga.append(S('@nivel = $n;'))
    p.metodos.append(Funcion('void', 'Juego::$cargaNivel', 'int $n', carga))
    p.ganchos['inicia'].append(S('$cargaNivel(1);'))
    p.ganchos['dibuja'].insert(0, S('@mapa.$dibuja();'))
    return p


def objetos(g):
    p = Parte('objetos')
    campos = [('float', 'x', None), ('float', 'y', None), ('int', 'tipo', None),
              ('float', 'vida', None), ('bool', 'recogido', 'false')]
    g.rng.shuffle(campos)
    p.clases.append(Clase('$$Objeto', campos, [], struct=True))
    p.campos += [('std::vector<$$Objeto>', 'objetos', None), ('float', 'tiempoObjeto', '0')]
    tipos = g.entre(2, 4)
    efectos = [('0', [S(f'@puntos += {g.uno(5, 10, 20)};')]),
               ('1', [S('@heroe.$curar(1);') if g.p(0.5) else S('@vidasExtra++;')]),
               ('2', [S('@puntos *= 2;')]),
               ('3', [S(f'@tiempoExtra += {g.entre(5, 15)};')])][:tipos]
    nuevo = [S('$$Objeto $o;')] + g.mezcla(
        S(f'$o.@x = {g.aleatorio(20, "ANCHO_PANTALLA - 40")};'),
        S(f'$o.@y = {g.aleatorio(60, "ALTO_PANTALLA - 100")};'),
        S(f'$o.@tipo = {g.aleatorio(0, tipos - 1)};'), S(f'$o.@vida = {g.uno("5.0f", "8.0f", "6")};'),
        S('$o.@recogido = false;')) + [S('@objetos.push_back($o);')]
    p.metodos.append(Funcion('void', 'Juego::$nuevoObjeto', '', nuevo))
    recoge = [Si(g.choca('@heroe.$rect()', 'Rect{$o.@x, $o.@y, 16, 16}'),
                 [S('$o.@recogido = true;'), _segun(g, '$o.@tipo', efectos)]
                 + g.quizas(0.4, S('reproduceSonido("sonidos/moneda.wav");')))]
    uno = [S('$o.@vida -= $dt;')] + recoge
    actualiza = g.temporizador('@tiempoObjeto', g.uno('4.0f', '3.0f', '5'), [S('$nuevoObjeto();')])
    actualiza += g.recorre('$$Objeto', '$o', '@objetos', uno)
    actualiza += g.borra('$$Objeto', '@objetos', '$elem.@recogido || $elem.@vida <= 0')
    p.metodos.append(Funcion('void', 'Juego::$actualizaObjetos', 'float $dt', actualiza))
    color = f'$o.@tipo == 0 ? AMARILLO : {g.uno(*COLORES)}'
    dibuja_uno = [S(f'Color $c = {color};')]
    if g.p(0.6):
        dibuja_uno.append(Comentario('parpadea cuando le queda poco'))
        dibuja_uno.append(Si('$o.@vida < 2 && (int)($o.@vida * 8) % 2 == 0', [S('continue;')]))
    dibuja_uno.append(S('dibujaRectangulo($o.@x, $o.@y, 16, 16, $c);'))
    p.metodos.append(Funcion('void', 'Juego::$dibujaObjetos', '',
                             [Cada('const auto& $o', '@objetos', dibuja_uno)], const=True))
    p.ganchos['actualiza'].append(S('$actualizaObjetos($dt);'))
    p.ganchos['dibuja'].append(S('$dibujaObjetos();'))
    p.incluye.add('<vector>')
    return p


def marcador(g):
    diseno = g.uno('tabla', 'tabla', 'mejor', 'nombres')
    p = Parte('marcador', 'Marcador')
    archivo = g.uno('records.txt', 'puntuaciones.txt', 'datos/records.txt', 'mejores.txt')
    tam = g.uno(5, 10, 10, 3)
    metodos = ['void $cargar();', 'void $guardar() const;', 'void $anotar(int $valor);',
               'void $dibujar(float $px, float $py) const;']
    if diseno == 'mejor':
        campos = [('int', 'record', '0')]
        carga = [S(f'std::ifstream $archivo("{archivo}");'),
                 Si('!($archivo >> @record)', [S('@record = 0;')])]
        guarda = [S(f'std::ofstream $archivo("{archivo}");'), S('$archivo << @record << std::endl;')]
        anota = [Si('$valor > @record', [S('@record = $valor;'), S('$guardar();')])]
        dibuja = [S(f'dibujaTexto({g.texto_numero("Record: ", "@record")}, $px, $py, 24, BLANCO);')]
    else:
        if diseno == 'tabla':
            campos = [('std::vector<int>', 'tabla', None)]
            carga = [S('@tabla.clear();'), S(f'std::ifstream $archivo("{archivo}");'),
                     S('int $valor;'), Mientras(f'$archivo >> $valor && (int)@tabla.size() < {tam}',
                                                [S('@tabla.push_back($valor);')])]
            guarda = [S(f'std::ofstream $archivo("{archivo}");')] + g.recorre('int', '$v', '@tabla',
                                                                            [S('$archivo << $v << "\\n";')],
                                                                            constante=True)
            orden = g.uno('sort', 'burbuja', 'insercion')
            if orden == 'sort':
                ordena = [S('std::sort(@tabla.begin(), @tabla.end(), std::greater<int>());')]
            elif orden == 'burbuja':
                ordena = [Para('$i', '0', '$i < (int)@tabla.size() - 1', [
                    Para('$j', '0', '$j < (int)@tabla.size() - 1 - $i', [
                        Si('@tabla[$j] < @tabla[$j + 1]', [S('std::swap(@tabla[$j], @tabla[$j + 1]);')]
                           if g.p(0.5) else [S('int $tmp = @tabla[$j];'), S('@tabla[$j] = @tabla[$j + 1];'),
                                             S('@tabla[$j + 1] = $tmp;')])])])]
            else:
                ordena = [Para('$i', '1', '$i < (int)@tabla.size()', [
                    S('int $clave = @tabla[$i];'), S('int $j = $i - 1;'),
                    Mientras('$j >= 0 && @tabla[$j] < $clave', [S('@tabla[$j + 1] = @tabla[$j];'), S('DEC($j);')]),
                    S('@tabla[$j + 1] = $clave;')])]
            anota = [S('@tabla.push_back($valor);')] + ordena + [
                Si(f'(int)@tabla.size() > {tam}', [S(f'@tabla.resize({tam});')]), S('$guardar();')]
            dibuja = [Para('$i', '0', '$i < (int)@tabla.size()', [
                S(f'dibujaTexto(std::to_string($i + 1) + ". " + std::to_string(@tabla[$i]), $px, $py + $i * {g.uno(24, 30, 32)}, 20, '
                  f'$i == 0 ? AMARILLO : BLANCO);')])]
        else:
            p.clases.append(Clase('$$Record', [('std::string', 'nombre', None), ('int', 'puntos', None)], [], struct=True))
            campos = [('std::vector<$$Record>', 'tabla', None)]
            carga = [S('@tabla.clear();'), S(f'std::ifstream $archivo("{archivo}");'),
                     S('$$Record $r;'),
                     Mientras('$archivo >> $r.@nombre >> $r.@puntos', [S('@tabla.push_back($r);')])]
            guarda = [S(f'std::ofstream $archivo("{archivo}");'),
                      Cada('const auto& $r', '@tabla', [S('$archivo << $r.@nombre << " " << $r.@puntos << std::endl;')])]
            anota = [S('@tabla.push_back({"JUGADOR", $valor});'),
                     S('std::sort(@tabla.begin(), @tabla.end(), [](const $$Record& $a, const $$Record& $b) {\n'
                       '    return $a.@puntos > $b.@puntos;\n});'),
                     Mientras(f'(int)@tabla.size() > {tam}', [S('@tabla.pop_back();')]), S('$guardar();')]
            dibuja = [S('int $fila = 0;'),
                      Cada('const auto& $r', '@tabla', [
                          S(f'dibujaTexto($r.@nombre + " " + std::to_string($r.@puntos), $px, $py + $fila * 28, 20, BLANCO);'),
                          S('INC($fila);')])]
    cls = Clase('$$Marcador', campos, metodos)
    g.rng.shuffle(cls.metodos)
    p.clases.append(cls)
    p.funciones += [Funcion('void', '$$Marcador::$cargar', '', carga),
                    Funcion('void', '$$Marcador::$guardar', '', guarda, const=True),
                    Funcion('void', '$$Marcador::$anotar', 'int $valor', anota,
                            comentario='mete la puntuacion en la tabla si toca'),
                    Funcion('void', '$$Marcador::$dibujar', 'float $px, float $py',
                            [S(f'dibujaTexto("{g.uno("RECORDS", "MEJORES PUNTUACIONES", "Records", "TOP")}", $px, $py - 40, 28, AMARILLO);')]
                            + dibuja, const=True)]
    p.incluye_propio |= {'<fstream>', '<algorithm>', '<string>', '<vector>'}
    p.incluye.add('"$$Marcador.h"')
    p.campos.append(('$$Marcador', 'records', None))
    p.ganchos['inicia'].append(S('@records.$cargar();'))
    return p


def estados(g):
    """The game's screens: menu, playing, pause, game over, records."""
    diseno = g.uno('enum', 'enum', 'menu', 'bools')
    p = Parte('estados', 'Menu' if diseno == 'menu' else None)
    opciones = ['Jugar', 'Records', 'Salir'] + (['Instrucciones'] if g.p(0.4) else [])
    n = len(opciones)
    opcion = '@seleccion' if diseno == 'menu' else '@opcion'
    navega = g.uno('modulo', 'ifs', 'limite', 'delta')
    if navega == 'modulo':
        mueve = [Si('teclaNueva(TECLA_ARRIBA)', [S(f'{opcion} = ({opcion} + {n - 1}) % {n};')]),
                 Si('teclaNueva(TECLA_ABAJO)', [S(f'{opcion} = ({opcion} + 1) % {n};')])]
    elif navega == 'ifs':
        mueve = [Si('teclaNueva(TECLA_ARRIBA)', [S(f'DEC({opcion});'), Si(f'{opcion} < 0', [S(f'{opcion} = {n - 1};')])]),
                 Si('teclaNueva(TECLA_ABAJO)', [S(f'INC({opcion});'), Si(f'{opcion} >= {n}', [S(f'{opcion} = 0;')])])]
    elif navega == 'limite':
        mueve = [Si(f'teclaNueva(TECLA_ARRIBA) && {opcion} > 0', [S(f'DEC({opcion});')]),
                 Si(f'teclaNueva(TECLA_ABAJO) && {opcion} < {n - 1}', [S(f'INC({opcion});')])]
    else:
        mueve = [S('int $paso = 0;'), Si('teclaNueva(TECLA_ARRIBA)', [S('$paso = -1;')]),
                 Si('teclaNueva(TECLA_ABAJO)', [S('$paso = 1;')]),
                 Si('$paso != 0', [S(f'{opcion} = ({opcion} + $paso + {n}) % {n};')]
                    + g.quizas(0.5, S('reproduceSonido("sonidos/menu.wav");')))]
    enter = g.uno('teclaNueva(TECLA_ENTER)', 'teclaNueva(TECLA_ENTER) || teclaNueva(TECLA_ESPACIO)')
    alto = g.uno(40, 50, 60)
    titulo = S(f'dibujaTexto("{g.uno("PRACTICA 2", "MI JUEGO", "SUPER JUEGO", "ARCADE")}", {g.entre(20, 30) * 10}, {g.entre(8, 15) * 10}, 48, AMARILLO);')
    forma_dibujo = g.uno('tabla', 'lineas', 'marca')
    if forma_dibujo == 'tabla':
        dibuja_menu = [S('const char* $textos[] = {' + ', '.join(f'"{o}"' for o in opciones) + '};'),
                       Para('$i', '0', f'$i < {n}', [
                           S(f'dibujaTexto($textos[$i], 320, 250 + $i * {alto}, 32, $i == {opcion} ? AMARILLO : BLANCO);')])]
    elif forma_dibujo == 'lineas':
        dibuja_menu = [S(f'dibujaTexto("{o}", 320, {250 + i * alto}, 32, {opcion} == {i} ? ROJO : BLANCO);')
                       for i, o in enumerate(opciones)]
    else:
        dibuja_menu = [S(f'dibujaTexto("{o}", 340, {250 + i * alto}, 32, BLANCO);') for i, o in enumerate(opciones)]
        dibuja_menu.append(S(f'dibujaRectangulo(300, 255 + {opcion} * {alto}, 24, 24, AMARILLO);'))
    dibuja_menu = [titulo] + g.quizas(0.4, S('dibujaTexto("Pulsa Enter para elegir", 260, 520, 18, BLANCO);')) + dibuja_menu

    p.metodos.append(Funcion('void', 'Juego::$nuevaPartida', '',
                             g.mezcla(S('@puntos = 0;'), S('@enemigos.clear();'),
                                      S('@heroe = $$Heroe(ANCHO_PANTALLA / 2, ALTO_PANTALLA - 100);'),
                                      g.quizas(0.5, S('$cargaNivel(1);')))
                             + [S('$irA(JUGANDO);')]))
    fin = g.mezcla(S('@records.$anotar(@puntos);'), g.quizas(0.4, S('reproduceSonido("sonidos/fin.wav");')))
    p.metodos.append(Funcion('void', 'Juego::$finPartida', '', fin + [S('$irA(FIN);')]))
    p.campos.append(('int', 'opcion', '0'))

    # What Enter does on each option.
    acciones = [[S('$nuevaPartida();')], [S('$irA(RECORDS);')], [S('enMarcha_ = false;')]]
    if n == 4:
        acciones.append([S('$irA(INSTRUCCIONES);')])
    elige_forma = g.uno('segun', 'metodo', 'ifs')
    if elige_forma == 'metodo':
        p.metodos.append(Funcion('void', 'Juego::$ejecutaOpcion', 'int $cual',
                                 [_segun(g, '$cual', [(str(i), a) for i, a in enumerate(acciones)])]))
        elige = [S(f'$ejecutaOpcion({opcion});')]
    elif elige_forma == 'ifs':
        elige = [Si(f'{opcion} == {i}', a) for i, a in enumerate(acciones)]
    else:
        elige = [_segun(g, opcion, [(str(i), a) for i, a in enumerate(acciones)])]
    if diseno == 'menu':
        # The menu as a class of its own: it moves, draws, and says what was chosen.
        cls = Clase('$$Menu', [('int', 'seleccion', '0'), ('int', 'cuantas', str(n))],
                    ['void $mueve();', 'void $dibuja() const;', 'int $elegida() const;'])
        g.rng.shuffle(cls.metodos)
        p.clases.append(cls)
        p.funciones += [Funcion('void', '$$Menu::$mueve', '', mueve),
                        Funcion('void', '$$Menu::$dibuja', '', dibuja_menu, const=True),
                        Funcion('int', '$$Menu::$elegida', '',
                                [Si(enter, [S('return @seleccion;')]), S('return -1;')], const=True)]
        p.campos.append(('$$Menu', 'menu', None))
        p.incluye.add('"$$Menu.h"')
        teclas_menu = [S('@menu.$mueve();'), S('int $cual = @menu.$elegida();'),
                       Si('$cual >= 0', [S(x.texto.replace(opcion, '$cual')) if isinstance(x, S) else x
                                         for x in elige] if elige_forma != 'segun'
                          else [_segun(g, '$cual', [(str(i), a) for i, a in enumerate(acciones)])])]
        dibujo_menu = [S('@menu.$dibuja();')]
        diseno = 'enum'
    else:
        teclas_menu = mueve + [Si(enter, elige)]
        dibujo_menu = dibuja_menu
    if g.p(0.5):
        p.metodos.append(Funcion('void', 'Juego::$teclasMenu', '', teclas_menu))
        teclas_menu = [S('$teclasMenu();')]
    if g.p(0.4):
        p.metodos.append(Funcion('void', 'Juego::$dibujaMenu', '', dibujo_menu))
        dibujo_menu = [S('$dibujaMenu();')]
    partida_aparte = g.p(0.6)
    nombres_estados = ['MENU', 'JUGANDO', 'PAUSA', 'FIN', 'RECORDS'] + (['INSTRUCCIONES'] if n == 4 else [])
    texto_fin = [S(f'dibujaTexto("{g.uno("GAME OVER", "FIN DE LA PARTIDA", "HAS PERDIDO")}", 250, 200, 48, ROJO);'),
                 S(f'dibujaTexto({g.texto_numero("Puntos: ", "@puntos")}, 300, 300, 32, BLANCO);')]

    # The wrapping happens when the solution is written, maybe more than once: the same
    # choices each time.
    semilla = g.rng.random()

    if diseno == 'enum':
        enum = Enumeracion('$$Estado', nombres_estados, clase=g.p(0.5))
        p.clases.insert(0, enum)
        prefijo = '$$Estado::' if enum.clase else ''
        p.campos.append(('$$Estado', 'estado', prefijo + 'MENU'))
        p.metodos.append(Funcion('void', 'Juego::$irA', '$$Estado $nuevo',
                                 g.mezcla(S('@estado = $nuevo;'), S('@opcion = 0;'))))

        def envuelve(gancho, cuerpo):
            r = Contexto(random.Random(f'{semilla}-{gancho}'))
            extra = []
            if gancho == 'eventos':
                casos = [('MENU', teclas_menu),
                         ('JUGANDO', [Si('teclaNueva(TECLA_P)', [S(f'$irA({prefijo}PAUSA);'), S('return;')])] + cuerpo),
                         ('PAUSA', [Si('teclaNueva(TECLA_P)', [S(f'$irA({prefijo}JUGANDO);')])]),
                         ('FIN', [Si(enter, [S(f'$irA({prefijo}MENU);')])]),
                         ('RECORDS', [Si('teclaNueva(TECLA_ENTER) || teclaNueva(TECLA_ESCAPE)', [S(f'$irA({prefijo}MENU);')])])]
            elif gancho == 'actualiza':
                if partida_aparte:
                    extra.append(Funcion('void', 'Juego::$actualizaPartida', 'float $dt', cuerpo))
                    cuerpo = [S('$actualizaPartida($dt);')]
                return r.uno([Si(f'@estado != {prefijo}JUGANDO', [S('return;')])] + cuerpo,
                             [Si(f'@estado == {prefijo}JUGANDO', cuerpo)]), extra
            elif gancho == 'dibuja':
                if partida_aparte:
                    extra.append(Funcion('void', 'Juego::$dibujaPartida', '', cuerpo))
                    cuerpo = [S('$dibujaPartida();')]
                casos = [('MENU', dibujo_menu), ('JUGANDO', cuerpo),
                         ('PAUSA', cuerpo + [S('dibujaTexto("PAUSA", 350, 280, 40, BLANCO);')]),
                         ('FIN', texto_fin), ('RECORDS', [S('@records.$dibujar(300, 150);')])]
            else:
                return cuerpo, extra
            casos = [(prefijo + e, c) for e, c in casos]
            r.rng.shuffle(casos)
            return [_segun(r, '@estado', casos)], extra
        p.envuelve = envuelve
    else:
        p.campos += [('bool', 'enMenu', 'true'), ('bool', 'pausa', 'false'), ('bool', 'acabada', 'false'),
                     ('bool', 'viendoRecords', 'false')]
        irA = [S('@enMenu = $cual == 0;'), S('@pausa = false;'), S('@acabada = $cual == 3;'),
               S('@viendoRecords = $cual == 4;'), S('@opcion = 0;')]
        p.metodos.append(Funcion('void', 'Juego::$irA', 'int $cual', g.mezcla(*irA)))
        numeros = {'JUGANDO': '1', 'FIN': '3', 'RECORDS': '4', 'INSTRUCCIONES': '5', 'MENU': '0'}

        def a_numeros(nodos):
            for x in nodos:
                if isinstance(x, S):
                    for k, v in numeros.items():
                        x.texto = x.texto.replace(f'$irA({k})', f'$irA({v})')
                for campo in ('si', 'no', 'cuerpo'):
                    if getattr(x, campo, None):
                        a_numeros(getattr(x, campo))
                for _, c in getattr(x, 'casos', []):
                    a_numeros(c)

        def envuelve(gancho, cuerpo):
            extra = []
            if gancho == 'eventos':
                return [Si('@enMenu', teclas_menu,
                           [Si('@viendoRecords || @acabada', [Si(enter, [S('$irA(0);')])],
                               [Si('teclaNueva(TECLA_P)', [S('@pausa = !@pausa;')]),
                                Si('!@pausa', cuerpo)])])], extra
            if gancho == 'actualiza':
                if partida_aparte:
                    extra.append(Funcion('void', 'Juego::$actualizaPartida', 'float $dt', cuerpo))
                    cuerpo = [S('$actualizaPartida($dt);')]
                return [Si('@enMenu || @pausa || @acabada || @viendoRecords', [S('return;')])] + cuerpo, extra
            if gancho == 'dibuja':
                return [Si('@enMenu', dibujo_menu,
                           [Si('@viendoRecords', [S('@records.$dibujar(300, 150);')],
                               [Si('@acabada', texto_fin,
                                   cuerpo + [Si('@pausa', [S('dibujaTexto("PAUSA", 350, 280, 40, BLANCO);')])])])])], extra
            return cuerpo, extra
        p.envuelve = envuelve
        a_numeros([x for f in p.metodos for x in f.cuerpo] + teclas_menu)
    return p


def hud(g):
    p = Parte('hud')
    cuerpo = [S(f'dibujaTexto({g.texto_numero(g.uno("Puntos: ", "PUNTOS ", "Score: "), "@puntos")}, 10, 10, 20, BLANCO);')]
    vidas = g.uno('texto', 'cuadros', 'corazones')
    if vidas == 'texto':
        cuerpo.append(S(f'dibujaTexto({g.texto_numero("Vidas: ", "@heroe.$getVida()")}, 10, 35, 20, BLANCO);'))
    else:
        cuerpo.append(Para('$i', '0', '$i < @heroe.$getVida()', [
            S(f'dibujaRectangulo(ANCHO_PANTALLA - 30 - $i * 25, 10, 20, 20, ROJO);') if vidas == 'cuadros'
            else S('dibujaImagen(@corazon, ANCHO_PANTALLA - 40 - $i * 36, 8);')]))
        if vidas == 'corazones':
            p.campos.append(('Imagen', 'corazon', None))
            p.ganchos['inicia'].append(S('@corazon = cargaImagen("images/corazon.png");'))
    cuerpo = g.mezcla(cuerpo, g.quizas(0.6, S(f'dibujaTexto({g.texto_numero("Nivel ", "@nivel")}, 10, 60, 20, BLANCO);')))
    p.metodos.append(Funcion('void', 'Juego::$dibujaHud', '', cuerpo, const=True,
                             comentario='marcador, vidas y nivel'))
    p.ganchos['dibuja'].append(S('$dibujaHud();'))
    return p


def particulas(g):
    p = Parte('particulas')
    g.ayudante('aleatorioReal')
    p.clases.append(Clase('$$Particula', [('float', 'x', None), ('float', 'y', None), ('float', 'vx', None),
                                           ('float', 'vy', None), ('float', 'vida', None), ('Color', 'color', None)],
                          [], struct=True))
    p.campos.append(('std::vector<$$Particula>', 'particulas', None))
    cuantas = g.entre(8, 30)
    explota = [Para('$i', '0', f'$i < {cuantas}', [S('$$Particula $q;')] + g.mezcla(
        S('$q.@x = $px;'), S('$q.@y = $py;'), S(f'$q.@vx = $aleatorioReal(-{g.entre(5, 20) * 10}, {g.entre(5, 20) * 10});'),
        S(f'$q.@vy = $aleatorioReal(-{g.entre(5, 20) * 10}, {g.entre(5, 20) * 10});'),
        S(f'$q.@vida = $aleatorioReal(0.3f, {g.uno("1.0f", "1.5f", "0.8f")});'), S('$q.@color = $color;'))
        + [S('@particulas.push_back($q);')])]
    p.metodos.append(Funcion('void', 'Juego::$explosion', 'float $px, float $py, Color $color', explota,
                             comentario='unas cuantas chispas donde muere un enemigo'))
    mueve = g.mezcla(S('$q.@x += $q.@vx * $dt;'), S('$q.@y += $q.@vy * $dt;')) + [S('$q.@vida -= $dt;')]
    if g.p(0.5):
        mueve.append(S(f'$q.@vy += {g.entre(2, 6) * 100} * $dt;'))
    actualiza = g.recorre('$$Particula', '$q', '@particulas', mueve)
    actualiza += g.borra('$$Particula', '@particulas', '$elem.@vida <= 0')
    p.metodos.append(Funcion('void', 'Juego::$actualizaParticulas', 'float $dt', actualiza))
    p.ganchos['actualiza'].append(S('$actualizaParticulas($dt);'))
    p.ganchos['dibuja'].append(Cada('const auto& $q', '@particulas',
                                    [S('dibujaRectangulo($q.@x, $q.@y, 3, 3, $q.@color);')]))
    return p


def camara(g):
    p = Parte('camara')
    p.campos.append(('float', 'camara', '0'))
    suave = g.p(0.5)
    objetivo = 'float $objetivo = @heroe.$getX() - ANCHO_PANTALLA / 2;'
    cuerpo = [S(objetivo)] + ([S(f'@camara += ($objetivo - @camara) * {g.uno(5, 3, 8)} * $dt;')] if suave
                              else [S('@camara = $objetivo;')])
    cuerpo += g.limita('@camara', '0', f'{g.entre(2, 4)} * ANCHO_PANTALLA')
    p.metodos.append(Funcion('void', 'Juego::$mueveCamara', 'float $dt', cuerpo, comentario='la camara sigue al heroe'))
    p.ganchos['actualiza'].append(S('$mueveCamara($dt);'))
    return p


def fondo(g):
    """A starfield that scrolls behind everything."""
    p = Parte('fondo')
    n = g.entre(4, 12) * 10
    p.clases.append(Clase('$$Estrella', [('float', 'x', None), ('float', 'y', None), ('float', 'velocidad', None)],
                          [], struct=True))
    p.campos.append(('std::vector<$$Estrella>', 'estrellas', None))
    crea = [Para('$i', '0', f'$i < {n}', [S('$$Estrella $s;')] + g.mezcla(
        S(f'$s.@x = {g.aleatorio(0, "ANCHO_PANTALLA")};'), S(f'$s.@y = {g.aleatorio(0, "ALTO_PANTALLA")};'),
        S(f'$s.@velocidad = {g.aleatorio(20, 120)};')) + [S('@estrellas.push_back($s);')])]
    p.metodos.append(Funcion('void', 'Juego::$creaEstrellas', '', crea))
    mueve = g.recorre('$$Estrella', '$s', '@estrellas', [
        S('$s.@y += $s.@velocidad * $dt;'),
        Si('$s.@y > ALTO_PANTALLA', g.mezcla(S('$s.@y = 0;'), S(f'$s.@x = {g.aleatorio(0, "ANCHO_PANTALLA")};')))])
    p.metodos.append(Funcion('void', 'Juego::$mueveEstrellas', 'float $dt', mueve))
    p.ganchos['inicia'].append(S('$creaEstrellas();'))
    p.ganchos['actualiza'].append(S('$mueveEstrellas($dt);'))
    p.ganchos['dibuja'].insert(0, Cada('const auto& $s', '@estrellas', [
        S('dibujaRectangulo($s.@x, $s.@y, 2, 2, $s.@velocidad > 80 ? BLANCO : AZUL);')]))
    return p


def dificultad(g):
    p = Parte('dificultad')
    p.campos += [('float', 'tiempoJugado', '0'), ('float', 'intervalo', g.uno('2.0f', '3.0f', '2.5f'))]
    cuerpo = [S('@tiempoJugado += $dt;')]
    forma = g.uno('escalones', 'continua')
    if forma == 'escalones':
        cuerpo.append(Si(f'@tiempoJugado > {g.entre(10, 30)}', [
            S('@tiempoJugado = 0;'), S(f'@intervalo *= {g.uno("0.9f", "0.8f", "0.85f")};')]
            + g.limita('@intervalo', '0.3f', '5.0f')))
    else:
        cuerpo.append(S(f'@intervalo = {g.uno("2.0f", "3.0f")} / (1 + @tiempoJugado / {g.entre(20, 60)});'))
    p.metodos.append(Funcion('void', 'Juego::$subeDificultad', 'float $dt', cuerpo,
                             comentario='cada vez salen mas rapido'))
    p.ganchos['actualiza'].append(S('$subeDificultad($dt);'))
    return p


def estadisticas(g):
    p = Parte('estadisticas')
    campos = [('int', 'muertos', '0'), ('int', 'disparosHechos', '0'), ('float', 'duracion', '0')]
    p.campos += campos
    guarda = [S(f'std::ofstream $archivo("{g.uno("estadisticas.txt", "stats.txt", "partidas.log")}", std::ios::app);'),
              Si('!$archivo', [S('return;')])] + g.mezcla(
        S('$archivo << "muertos " << @muertos << "\\n";'),
        S('$archivo << "disparos " << @disparosHechos << "\\n";'),
        S('$archivo << "segundos " << (int)@duracion << "\\n";')) + g.quizas(
        0.6, Si('@disparosHechos > 0',
                [S('$archivo << "punteria " << 100 * @muertos / @disparosHechos << "%\\n";')]))
    p.metodos.append(Funcion('void', 'Juego::$guardaEstadisticas', '', guarda, const=True))
    p.ganchos['actualiza'].append(S('@duracion += $dt;'))
    p.ganchos['termina'].append(S('$guardaEstadisticas();'))
    return p


def jefe(g):
    """A boss that comes every few levels, with a health bar."""
    p = Parte('jefe')
    p.campos += [('bool', 'hayJefe', 'false'), ('float', 'jefeX', '0'), ('float', 'jefeY', '0'),
                 ('int', 'jefeVida', '0'), ('float', 'jefeTiempo', '0'), ('int', 'jefeFase', '0')]
    vida = g.entre(10, 40)
    aparece = [S('@hayJefe = true;')] + g.mezcla(S('@jefeX = ANCHO_PANTALLA / 2 - 64;'), S('@jefeY = 40;'),
                                                 S(f'@jefeVida = {vida};'), S('@jefeFase = 0;'))
    p.metodos.append(Funcion('void', 'Juego::$apareceJefe', '', aparece))
    fases = [('0', [S(f'@jefeX += std::sin(@jefeTiempo * 2) * {g.entre(50, 200)} * $dt;')]),
             ('1', [S(f'@jefeX += (@heroe.$getX() - @jefeX) * {g.entre(1, 3)} * $dt;'),
                    Si(f'(int)(@jefeTiempo * 10) % {g.entre(5, 15)} == 0', [S('$creaEnemigo(0, @jefeX + 64, @jefeY + 128);')])])]
    mueve = [Si('!@hayJefe', [S('return;')]), S('@jefeTiempo += $dt;'),
             Si(f'@jefeVida < {vida // 2}', [S('@jefeFase = 1;')]), _segun(g, '@jefeFase', fases),
             Si('@jefeVida <= 0', [S('@hayJefe = false;'), S(f'@puntos += {g.uno(500, 1000, 250)};')])]
    p.metodos.append(Funcion('void', 'Juego::$actualizaJefe', 'float $dt', mueve))
    dibuja = [Si('!@hayJefe', [S('return;')]), S('dibujaRectangulo(@jefeX, @jefeY, 128, 96, ROJO);'),
              Comentario('barra de vida'),
              S('dibujaRectangulo(200, 20, 400, 12, BLANCO);'),
              S(f'dibujaRectangulo(200, 20, 400.0f * @jefeVida / {vida}, 12, VERDE);')]
    p.metodos.append(Funcion('void', 'Juego::$dibujaJefe', '', dibuja, const=True))
    p.ganchos['actualiza'].append(S('$actualizaJefe($dt);'))
    p.ganchos['dibuja'].append(S('$dibujaJefe();'))
    return p


def guardado(g):
    p = Parte('guardado')
    ruta = g.uno('partida.sav', 'guardado.txt', 'save.dat')
    datos = ['@nivel', '@puntos', '@heroe.$getVida()']
    guarda = [S(f'std::ofstream $archivo("{ruta}");'), Si('!$archivo.is_open()', [S('return false;')]),
              S('$archivo << ' + ' << " " << '.join(g.rng.sample(datos, 3)) + ' << std::endl;'), S('return true;')]
    carga = [S(f'std::ifstream $archivo("{ruta}");'), S('int $n = 1, $p = 0, $v = 3;'),
             Si('!($archivo >> $n >> $p >> $v)', [S('return false;')]),
             S('@puntos = $p;'), S('$cargaNivel($n);'), S('return true;')]
    p.metodos += [Funcion('bool', 'Juego::$guardaPartida', '', guarda, const=True,
                          comentario='guarda nivel, puntos y vidas'),
                  Funcion('bool', 'Juego::$cargaPartida', '', carga)]
    p.ganchos['eventos'].append(Si('teclaNueva(TECLA_P) && teclaPulsada(TECLA_ENTER)', [S('$guardaPartida();')]))
    return p


def animacion(g):
    p = Parte('animacion')
    n = g.entre(3, 8)
    p.campos += [('int', 'frame', '0'), ('float', 'tiempoFrame', '0'), ('Imagen', f'frames[{n}]', None)]
    p.ganchos['inicia'].append(Para('$i', '0', f'$i < {n}', [
        S(f'@frames[$i] = cargaImagen("images/{g.uno("anim", "frame", "sprite")}" + std::to_string($i) + ".png");')]))
    avanza = g.temporizador('@tiempoFrame', g.uno('0.1f', '0.12f', '0.08f'),
                            [S(f'@frame = (@frame + 1) % {n};') if g.p(0.5) else
                             S(f'INC(@frame);\nif (@frame >= {n}) @frame = 0;')])
    p.metodos.append(Funcion('void', 'Juego::$animar', 'float $dt', avanza))
    p.ganchos['actualiza'].append(S('$animar($dt);'))
    return p


def disparos_enemigos(g):
    """Enemies that shoot back: their shots fall towards the hero."""
    p = Parte('disparos_enemigos')
    p.clases.append(Clase('$$Bomba', g.mezcla(('float', 'x', None), ('float', 'y', None),
                                              ('float', 'vy', None), ('bool', 'activo', None)),
                          [], struct=True))
    p.campos += [('std::vector<$$Bomba>', 'bombas', None), ('float', 'tiempoBomba', '0')]
    origen = g.uno('aleatorio', 'cerca')
    lanza = [Si('@enemigos.empty()', [S('return;')])]
    if origen == 'aleatorio':
        lanza.append(S(f'int $cual = {g.aleatorio(0, "(int)@enemigos.size() - 1")};'))
    else:
        lanza += [S('int $cual = 0;'), S('float $mejor = 1e9f;'),
                  Para('$i', '0', '$i < (int)@enemigos.size()', [
                      S(f'float $dist = std::abs(@enemigos[$i]{"->" if g.plan.get("enemigos") == "herencia" else "."}@x - @heroe.$getX());'),
                      Si('$dist < $mejor', [S('$mejor = $dist;'), S('$cual = $i;')])])]
    flecha = '->' if g.plan.get('enemigos') == 'herencia' else '.'
    lanza += [S('$$Bomba $b;')] + g.mezcla(S(f'$b.@x = @enemigos[$cual]{flecha}@x + 14;'),
                                           S(f'$b.@y = @enemigos[$cual]{flecha}@y + 32;'),
                                           S(f'$b.@vy = {g.entre(15, 40) * 10};'), S('$b.@activo = true;'))
    lanza.append(S('@bombas.push_back($b);'))
    p.metodos.append(Funcion('void', 'Juego::$lanzaBomba', '', lanza, comentario='un enemigo dispara hacia abajo'))
    mueve = g.temporizador('@tiempoBomba', g.uno('1.2f', '0.8f', '2'), [S('$lanzaBomba();')])
    mueve += g.recorre('$$Bomba', '$b', '@bombas', [
        S('$b.@y += $b.@vy * $dt;'),
        Si('$b.@y > ALTO_PANTALLA', [S('$b.@activo = false;')]),
        Si(g.choca('@heroe.$rect()', 'Rect{$b.@x, $b.@y, 6, 10}'),
           [S('$b.@activo = false;'), S('@heroe.$recibeGolpe();')])])
    mueve += g.borra('$$Bomba', '@bombas', '!$elem.@activo')
    p.metodos.append(Funcion('void', 'Juego::$actualizaBombas', 'float $dt', mueve))
    p.ganchos['actualiza'].append(S('$actualizaBombas($dt);'))
    p.ganchos['dibuja'].append(Cada('const auto& $b', '@bombas', [S('dibujaRectangulo($b.@x, $b.@y, 6, 10, ROJO);')]))
    return p


def textos_flotantes(g):
    """"+10" rising where points were won."""
    p = Parte('textos_flotantes')
    p.clases.append(Clase('$$Aviso', g.mezcla(('std::string', 'texto', None), ('float', 'x', None),
                                              ('float', 'y', None), ('float', 'vida', None)),
                          [], struct=True))
    p.campos.append(('std::vector<$$Aviso>', 'avisos', None))
    p.metodos.append(Funcion('void', 'Juego::$muestraAviso', 'const std::string& $texto, float $px, float $py',
                             [S('$$Aviso $a;')] + g.mezcla(S('$a.@texto = $texto;'), S('$a.@x = $px;'),
                                                          S('$a.@y = $py;'), S(f'$a.@vida = {g.uno("1.0f", "1.5f", "0.8f")};'))
                             + [S('@avisos.push_back($a);')]))
    sube = g.recorre('$$Aviso', '$a', '@avisos', g.mezcla(S(f'$a.@y -= {g.entre(3, 8) * 10} * $dt;'), S('$a.@vida -= $dt;')))
    sube += g.borra('$$Aviso', '@avisos', '$elem.@vida <= 0')
    p.metodos.append(Funcion('void', 'Juego::$actualizaAvisos', 'float $dt', sube))
    p.ganchos['actualiza'].append(S('$actualizaAvisos($dt);'))
    dibuja = [Cada('const auto& $a', '@avisos', [
        S(f'dibujaTexto($a.@texto, $a.@x, $a.@y, {g.uno(16, 18, 20)}, $a.@vida > 0.5f ? AMARILLO : BLANCO);')])]
    p.metodos.append(Funcion('void', 'Juego::$dibujaAvisos', '', dibuja, const=True))
    p.ganchos['dibuja'].append(S('$dibujaAvisos();'))
    return p


def configuracion(g):
    """Settings read from a text file of key=value lines."""
    p = Parte('configuracion')
    p.campos += [('int', 'volumen', '100'), ('bool', 'dificil', 'false'), ('bool', 'conSonido', 'true')]
    claves = [('"volumen"', [S('@volumen = std::stoi($valor);')] + g.limita('@volumen', '0', '100')),
              ('"dificil"', [S('@dificil = $valor == "1" || $valor == "si";')]),
              ('"sonido"', [S('@conSonido = $valor != "0";')])]
    g.rng.shuffle(claves)
    separa = g.uno('find', 'stream')
    if separa == 'find':
        trocea = [S("std::size_t $igual = $linea.find('=');"),
                  Si('$igual == std::string::npos', [S('continue;')]),
                  S('std::string $clave = $linea.substr(0, $igual);'),
                  S('std::string $valor = $linea.substr($igual + 1);')]
    else:
        trocea = [S('std::istringstream $partes($linea);'), S('std::string $clave, $valor;'),
                  Si("!std::getline($partes, $clave, '=') || !std::getline($partes, $valor)", [S('continue;')])]
    cuerpo = [S(f'std::ifstream $archivo("{g.uno("config.txt", "opciones.ini", "ajustes.cfg")}");'),
              Si('!$archivo', [S('return;')]), S('std::string $linea;'),
              Mientras('std::getline($archivo, $linea)',
                       [Si("$linea.empty() || $linea[0] == '#'", [S('continue;')])] + trocea
                       + [_cadena_si('$clave', claves)])]
    p.metodos.append(Funcion('void', 'Juego::$leeConfiguracion', '', cuerpo,
                             comentario='opciones del juego, clave=valor'))
    p.ganchos['inicia'].insert(0, S('$leeConfiguracion();'))
    return p


def nombre_jugador(g):
    """Three letters for the records, chosen with the arrows."""
    p = Parte('nombre_jugador')
    p.campos += [('char', 'iniciales[3]', None), ('int', 'letra', '0'), ('bool', 'escribiendo', 'false')]
    cambia = [Si('teclaNueva(TECLA_ARRIBA)', [S('INC(@iniciales[@letra]);'),
                                              Si("@iniciales[@letra] > 'Z'", [S("@iniciales[@letra] = 'A';")])]),
              Si('teclaNueva(TECLA_ABAJO)', [S('DEC(@iniciales[@letra]);'),
                                             Si("@iniciales[@letra] < 'A'", [S("@iniciales[@letra] = 'Z';")])]),
              Si('teclaNueva(TECLA_DERECHA) && @letra < 2', [S('INC(@letra);')]),
              Si('teclaNueva(TECLA_IZQUIERDA) && @letra > 0', [S('DEC(@letra);')]),
              Si('teclaNueva(TECLA_ENTER)', [S('@escribiendo = false;')])]
    p.metodos.append(Funcion('void', 'Juego::$escribeNombre', '', [Si('!@escribiendo', [S('return;')])] + cambia,
                             comentario='el jugador pone sus iniciales'))
    p.ganchos['inicia'].append(Para('$i', '0', '$i < 3', [S("@iniciales[$i] = 'A';")]))
    p.ganchos['eventos'].append(S('$escribeNombre();'))
    dibuja = [Si('!@escribiendo', [S('return;')]),
              Para('$i', '0', '$i < 3', [S('std::string $s(1, @iniciales[$i]);'),
                                         S(f'dibujaTexto($s, {g.entre(30, 36) * 10} + $i * 40, 400, 40, $i == @letra ? AMARILLO : BLANCO);')])]
    p.metodos.append(Funcion('void', 'Juego::$dibujaNombre', '', dibuja, const=True))
    p.ganchos['dibuja'].append(S('$dibujaNombre();'))
    return p


def colision_mapa(g):
    """The hero stopped by the level's walls, corner by corner."""
    p = Parte('colision_mapa')
    esquinas = ['@heroe.$getX() + 2, @heroe.$getY() + 2', '@heroe.$getX() + 30, @heroe.$getY() + 2',
                '@heroe.$getX() + 2, @heroe.$getY() + 30', '@heroe.$getX() + 30, @heroe.$getY() + 30']
    forma = g.uno('lista', 'or', 'bucle')
    if forma == 'or':
        cond = ' ||\n    '.join(f'@mapa.$esSolido({e})' for e in esquinas)
        cuerpo = [S(f'bool $choca = {cond};')]
    elif forma == 'lista':
        cuerpo = [S('bool $choca = false;')] + [Si(f'@mapa.$esSolido({e})', [S('$choca = true;')]) for e in g.mezcla(*esquinas)]
    else:
        cuerpo = [S('bool $choca = false;'),
                  Para('$i', '0', '$i < 4 && !$choca', [
                      S('float $px = @heroe.$getX() + ($i % 2 == 0 ? 2 : 30);'),
                      S('float $py = @heroe.$getY() + ($i < 2 ? 2 : 30);'),
                      Si('@mapa.$esSolido($px, $py)', [S('$choca = true;')])])]
    cuerpo.append(Si('$choca', [S('@heroe.$reinicia(@anteriorX, @anteriorY);')],
                     [S('@anteriorX = @heroe.$getX();'), S('@anteriorY = @heroe.$getY();')]))
    p.campos += [('float', 'anteriorX', '0'), ('float', 'anteriorY', '0')]
    p.metodos.append(Funcion('void', 'Juego::$chocaConParedes', '', cuerpo,
                             comentario='si se mete en una pared vuelve a donde estaba'))
    p.ganchos['actualiza'].append(S('$chocaConParedes();'))
    return p


def cronometro(g):
    """A time limit for each level, shown as mm:ss."""
    p = Parte('cronometro')
    limite = g.uno(60, 90, 120, 180)
    p.campos.append(('float', 'restante', f'{limite}'))
    baja = [S('@restante -= $dt;'), Si('@restante <= 0', [S('@restante = 0;'), S('$finPartida();')])]
    p.metodos.append(Funcion('void', 'Juego::$cuentaAtras', 'float $dt', baja))
    formato = g.uno('sprintf', 'cuentas', 'stream')
    if formato == 'sprintf':
        texto = [S('char $buf[16];'),
                 S('std::snprintf($buf, sizeof($buf), "%02d:%02d", (int)@restante / 60, (int)@restante % 60);'),
                 S('std::string $reloj = $buf;')]
    elif formato == 'cuentas':
        texto = g.mezcla(S('int $min = (int)@restante / 60;'), S('int $seg = (int)@restante % 60;')) + [
            S('std::string $reloj = std::to_string($min) + ":" + ($seg < 10 ? "0" : "") + std::to_string($seg);')]
    else:
        texto = [S('std::ostringstream $os;'),
                 S("$os << (int)@restante / 60 << ':' << std::setw(2) << std::setfill('0') << (int)@restante % 60;"),
                 S('std::string $reloj = $os.str();')]
    dibuja = texto + [S(f'dibujaTexto($reloj, ANCHO_PANTALLA - 120, {g.uno(10, 40, 560)}, 24, @restante < 10 ? ROJO : BLANCO);')]
    p.metodos.append(Funcion('void', 'Juego::$dibujaReloj', '', dibuja, const=True))
    p.ganchos['actualiza'].append(S('$cuentaAtras($dt);'))
    p.ganchos['dibuja'].append(S('$dibujaReloj();'))
    return p


def poderes(g):
    """Power-ups with a duration: shield, double shot, speed."""
    p = Parte('poderes')
    nombres = g.rng.sample(['escudo', 'dobleDisparo', 'rapido', 'iman', 'congelar'], 3)
    for n in nombres:
        p.campos.append(('float', 'tiempo' + n[0].upper() + n[1:], '0'))
    activa = _segun(g, '$cual', [(str(i), [S(f'@tiempo{n[0].upper() + n[1:]} = {g.entre(5, 15)};')])
                                 for i, n in enumerate(nombres)])
    p.metodos.append(Funcion('void', 'Juego::$activaPoder', 'int $cual', [activa]
                             + g.quizas(0.5, S('reproduceSonido("sonidos/poder.wav");'))))
    baja = []
    for n in nombres:
        campo = '@tiempo' + n[0].upper() + n[1:]
        baja.append(Si(f'{campo} > 0', [S(f'{campo} -= $dt;')] + g.quizas(0.5, Si(f'{campo} < 0', [S(f'{campo} = 0;')]))))
    p.metodos.append(Funcion('void', 'Juego::$actualizaPoderes', 'float $dt', g.mezcla(*baja)))
    p.metodos.append(Funcion('bool', 'Juego::$tienePoder', 'int $cual',
                             [_segun(g, '$cual', [(str(i), [S(f'return @tiempo{n[0].upper() + n[1:]} > 0;')])
                                                 for i, n in enumerate(nombres)]), S('return false;')], const=True))
    dibuja = [S('int $fila = 0;')]
    for i, n in enumerate(nombres):
        dibuja.append(Si(f'$tienePoder({i})', [S(f'dibujaTexto("{n.upper()}", 10, 100 + $fila * 22, 18, VERDE);'), S('INC($fila);')]))
    p.metodos.append(Funcion('void', 'Juego::$dibujaPoderes', '', dibuja, const=True))
    p.ganchos['actualiza'].append(S('$actualizaPoderes($dt);'))
    p.ganchos['dibuja'].append(S('$dibujaPoderes();'))
    return p


def depuracion(g):
    """A debug overlay: frames per second and the hit boxes."""
    p = Parte('depuracion')
    p.campos += [('bool', 'verCajas', 'false'), ('int', 'fotogramas', '0'), ('float', 'segundoFps', '0'),
                 ('int', 'fps', '0')]
    cuenta = [S('INC(@fotogramas);'), S('@segundoFps += $dt;'),
              Si('@segundoFps >= 1', g.mezcla(S('@fps = @fotogramas;'), S('@fotogramas = 0;'))
                 + [S('@segundoFps -= 1;')])]
    p.metodos.append(Funcion('void', 'Juego::$cuentaFps', 'float $dt', cuenta))
    cajas = [Si('!@verCajas', [S('return;')]),
             S(f'dibujaTexto("FPS " + std::to_string(@fps), ANCHO_PANTALLA - 100, ALTO_PANTALLA - 30, 16, VERDE);'),
             S('Rect $r = @heroe.$rect();'),
             S('dibujaRectangulo($r.x, $r.y, $r.ancho, 1, VERDE);'),
             S('dibujaRectangulo($r.x, $r.y + $r.alto, $r.ancho, 1, VERDE);')]
    p.metodos.append(Funcion('void', 'Juego::$dibujaDepuracion', '', cajas, const=True))
    p.ganchos['eventos'].append(Si('teclaNueva(TECLA_P) && teclaPulsada(TECLA_ESPACIO)', [S('@verCajas = !@verCajas;')]))
    p.ganchos['actualiza'].append(S('$cuentaFps($dt);'))
    p.ganchos['dibuja'].append(S('$dibujaDepuracion();'))
    return p


def logros(g):
    """Achievements: conditions checked every frame, each shown once."""
    p = Parte('logros')
    lista = g.rng.sample([('"Primera sangre"', '@puntos > 0'), ('"Cien puntos"', '@puntos >= 100'),
                          ('"Superviviente"', '@heroe.$getVida() == 1'), ('"Nivel 3"', '@nivel >= 3'),
                          ('"Mil puntos"', '@puntos >= 1000')], g.entre(3, 5))
    n = len(lista)
    p.campos += [('bool', f'conseguido[{n}]', None), ('float', 'tiempoLogro', '0'), ('int', 'ultimoLogro', '-1')]
    textos = 'static const char* $nombresLogros[] = {' + ', '.join(t for t, _ in lista) + '};'
    comprueba = [S(f'bool $cumple[{n}] = {{' + ', '.join(c for _, c in lista) + '};'),
                 Para('$i', '0', f'$i < {n}', [Si('$cumple[$i] && !@conseguido[$i]', g.mezcla(
                     S('@conseguido[$i] = true;'), S('@ultimoLogro = $i;'), S('@tiempoLogro = 3;')))]),
                 Si('@tiempoLogro > 0', [S('@tiempoLogro -= $dt;')])]
    p.metodos.append(Funcion('void', 'Juego::$compruebaLogros', 'float $dt', comprueba))
    dibuja = [S(textos), Si('@tiempoLogro > 0 && @ultimoLogro >= 0', [
        S(f'dibujaTexto(std::string("Logro: ") + $nombresLogros[@ultimoLogro], {g.entre(15, 30) * 10}, {g.entre(2, 5) * 10}, 22, AMARILLO);')])]
    p.metodos.append(Funcion('void', 'Juego::$dibujaLogros', '', dibuja, const=True))
    p.ganchos['inicia'].append(Para('$i', '0', f'$i < {n}', [S('@conseguido[$i] = false;')]))
    p.ganchos['actualiza'].append(S('$compruebaLogros($dt);'))
    p.ganchos['dibuja'].append(S('$dibujaLogros();'))
    return p


def rutas(g):
    """Enemies that follow a path of points."""
    p = Parte('rutas')
    puntos = [(g.entre(1, 15) * 50, g.entre(1, 10) * 50) for _ in range(g.entre(3, 6))]
    p.clases.append(Clase('$$Punto', [('float', 'x', None), ('float', 'y', None)], [], struct=True))
    p.campos += [('std::vector<$$Punto>', 'ruta', None), ('int', 'siguientePunto', '0'),
                 ('float', 'guardiaX', '0'), ('float', 'guardiaY', '0')]
    crea = [S('@ruta.clear();')] + [S(f'@ruta.push_back({{{x}, {y}}});') for x, y in puntos] + [
        S('@guardiaX = @ruta[0].x;'), S('@guardiaY = @ruta[0].y;')]
    p.metodos.append(Funcion('void', 'Juego::$creaRuta', '', crea))
    v = g.entre(5, 15) * 10
    sigue = [Si('@ruta.empty()', [S('return;')]),
             S('const $$Punto& $meta = @ruta[@siguientePunto];'),
             S('float $ddx = $meta.x - @guardiaX;'), S('float $ddy = $meta.y - @guardiaY;'),
             S('float $largo = std::sqrt($ddx * $ddx + $ddy * $ddy);'),
             Si(f'$largo < {g.uno(2, 4, 5)}', [S('@siguientePunto = (@siguientePunto + 1) % @ruta.size();')],
                g.mezcla(S(f'@guardiaX += $ddx / $largo * {v} * $dt;'), S(f'@guardiaY += $ddy / $largo * {v} * $dt;')))]
    p.metodos.append(Funcion('void', 'Juego::$mueveGuardia', 'float $dt', sigue,
                             comentario='va de un punto al siguiente de la ruta'))
    p.ganchos['inicia'].append(S('$creaRuta();'))
    p.ganchos['actualiza'].append(S('$mueveGuardia($dt);'))
    p.ganchos['dibuja'].append(S('dibujaRectangulo(@guardiaX, @guardiaY, 28, 28, AMARILLO);'))
    return p


def instrucciones(g):
    p = Parte('instrucciones')
    lineas = g.rng.sample(['Flechas: moverse', 'Espacio: disparar', 'P: pausa', 'Esc: salir',
                           'Recoge las monedas', 'Evita a los enemigos', 'Enter: elegir'], g.entre(4, 7))
    if g.p(0.5):
        cuerpo = [S('const char* $lineas[] = {' + ', '.join(f'"{l}"' for l in lineas) + '};'),
                  Para('$i', '0', f'$i < {len(lineas)}', [S(f'dibujaTexto($lineas[$i], 100, 120 + $i * {g.uno(30, 36, 40)}, 22, BLANCO);')])]
    else:
        cuerpo = [S(f'dibujaTexto("{l}", 100, {120 + i * 34}, 22, BLANCO);') for i, l in enumerate(lineas)]
    p.metodos.append(Funcion('void', 'Juego::$dibujaInstrucciones', '',
                             [S('dibujaTexto("COMO SE JUEGA", 250, 50, 36, AMARILLO);')] + cuerpo, const=True))
    return p


OBLIGATORIAS = [heroe, enemigos, disparos, colisiones, nivel, objetos, marcador, estados, hud]
OPCIONALES = [particulas, camara, fondo, dificultad, estadisticas, jefe, guardado, animacion,
              disparos_enemigos, textos_flotantes, configuracion, nombre_jugador, colision_mapa,
              cronometro, poderes, depuracion, logros, rutas, instrucciones]


# What students add or write otherwise wherever they write anything: traces, temporaries,
# comparisons the other way round, conditions split, guards, named constants. Applied to
# every function of a solution's content, so that two solutions of the same design differ
# as two students' do.

TRAZAS = ['entra', 'aqui', 'llega', 'ok', 'cargado', 'nuevo', 'choque', 'fin', 'debug', 'paso',
          'borrado', 'colision!', 'muere', 'sale', 'actualizando', 'valor']
CONSTANTES = ['TAM', 'LADO', 'MARGEN', 'PASO', 'VALOR', 'DISTANCIA', 'LIMITE', 'VEL', 'ALTURA',
              'RETARDO', 'DURACION', 'FUERZA', 'RADIO', 'DESPLAZ', 'TOPE', 'BASE']
_ESPEJO = {'<': '>', '>': '<', '<=': '>=', '>=': '<='}
_OPERANDO = r'[\w@$.>\-]+(?:\(\))?'


def _constante(g, m):
    valor = m.group(0)
    nombre = g.constantes.get(valor)
    if nombre is None:
        nombre = f'{CONSTANTES[len(g.constantes) % len(CONSTANTES)]}_{len(g.constantes)}'
        g.constantes[valor] = nombre
    return nombre


def _varia_texto(g, t):
    if g.constantes_p and '"' not in t and "'" not in t and g.p(g.constantes_p):
        t = re.sub(r'(?<![\w.$@])\d+(?:\.\d+)?f?(?![\w.])', lambda m: _constante(g, m)
                   if m.group(0) not in ('0', '1', '2') else m.group(0), t)
    return t


def _baraja_hermanos(g, nodos):
    """Runs of statements a student could have written in any order: conditions without an
    else one after another, assignments to different things, declarations."""
    def clase(x):
        if isinstance(x, Si) and not x.no and not any(isinstance(y, S) and y.texto.startswith(
                ('return', 'break', 'continue')) for y in x.si):
            return 'si'
        if isinstance(x, S) and re.match(r'^[\w@$.\[\]]+ (=|\+=|-=) [^;]*;$', x.texto):
            return 'asigna'
        return None
    resultado, i = [], 0
    while i < len(nodos):
        j = i
        while j < len(nodos) and clase(nodos[j]) is not None and clase(nodos[j]) == clase(nodos[i]):
            j += 1
        if j - i >= 2 and g.p(0.6):
            tramo = nodos[i:j]
            g.rng.shuffle(tramo)
            resultado += tramo
            i = j
        else:
            resultado.append(nodos[i])
            i += 1
    return resultado


def _extrae(g, nodos):
    """A stretch of statements moved into a helper of Juego's of its own, called in its place:
    students split long functions where they like."""
    if len(nodos) < 4 or g.ayudas is None or not g.p(0.15):
        return nodos
    desde = g.entre(0, len(nodos) - 3)
    hasta = g.entre(desde + 2, min(len(nodos), desde + 5))
    tramo = nodos[desde:hasta]
    texto = repr([getattr(x, 'texto', '') for x in tramo])
    if '$' in texto.replace('$$', '').replace('$dt', '') or 'return' in texto or 'break' in texto \
            or 'continue' in texto:
        return nodos  # it uses locals of its function
    nombre = f'$ayuda{len(g.ayudas)}'
    usa_dt = '$dt' in texto
    g.ayudas.append(Funcion('void', 'Juego::' + nombre, 'float $dt' if usa_dt else '', tramo))
    return nodos[:desde] + [S(f'{nombre}({"$dt" if usa_dt else ""});')] + nodos[hasta:]


def varia(g, nodos, nivel=0, vacia=True):
    resultado = []
    for x in nodos:
        for campo in ('si', 'no', 'cuerpo'):
            if getattr(x, campo, None):
                setattr(x, campo, varia(g, getattr(x, campo), nivel + 1))
        for _, cuerpo in getattr(x, 'casos', []):
            cuerpo[:] = varia(g, cuerpo, nivel + 1)
        if isinstance(x, S) and '\n' not in x.texto:
            x.texto = _varia_texto(g, x.texto)
            m = re.match(r'^(int|float|bool|char) (\$\w+) = (.+);$', x.texto)
            if m:
                if g.p(0.15):
                    resultado += [S(f'{m.group(1)} {m.group(2)};'), S(f'{m.group(2)} = {m.group(3)};')]
                    continue
                tipo = 'auto' if g.auto_locales and m.group(1) != 'bool' else m.group(1)
                x.texto = f'{"const " if g.const_locales else ""}{tipo} {m.group(2)} = {m.group(3)};'
            m = re.match(r'^(\S+) ([-+*/])= (.*[-+*/].*);$', x.texto)
            if m and g.p(0.35):
                resultado += [S(f'{g.uno("float", "auto", "float")} $parcial = {m.group(3)};'),
                              S(f'{m.group(1)} {m.group(2)}= $parcial;')]
                continue
            m = re.match(r'^(\S+) = !(\S+);$', x.texto)
            if m and m.group(1) == m.group(2) and g.p(0.5):
                x = Si(m.group(1), [S(f'{m.group(1)} = false;')], [S(f'{m.group(1)} = true;')])
        if isinstance(x, Para) and x.paso == '++' and g.limites != '<':
            m = re.fullmatch(r'(\$\w+) < (\S+|\(int\)\S+)', x.cond)
            if m:
                x.cond = (f'{m.group(1)} <= {m.group(2)} - 1' if g.limites == '<=' else
                          f'{m.group(1)} != {m.group(2)}')
        if isinstance(x, (Para, Cada, Mientras)) and len(x.cuerpo) >= 2 and isinstance(
                x.cuerpo[-1], Si) and x.cuerpo[-1].no is None and len(x.cuerpo[-1].si) >= 2 \
                and g.p(0.3):
            ultimo = x.cuerpo[-1]
            x.cuerpo = x.cuerpo[:-1] + [Si(ultimo.neg or f'!({ultimo.cond})', [S('continue;')])] \
                + ultimo.si
        if isinstance(x, Segun) and g.p(0.3):
            x = _cadena_si(x.expr, x.casos)
        if isinstance(x, Si):
            x.cond = _varia_texto(g, x.cond)
            m = re.fullmatch(rf'({_OPERANDO}) (<=|>=|<|>) ({_OPERANDO})', x.cond)
            if m and g.p(0.3):
                x.cond = f'{m.group(3)} {_ESPEJO[m.group(2)]} {m.group(1)}'
                x.neg = None
            partes = x.cond.split(' && ')
            if (x.no is None and len(partes) == 2 and '||' not in x.cond and '(' not in x.cond
                    and g.p(0.35)):
                x = Si(partes[0], [Si(partes[1], x.si)])
            elif (x.no is None and len(x.si) == 1 and isinstance(x.si[0], Si) and x.si[0].no is None
                  and '||' not in x.cond + x.si[0].cond and g.p(0.4)):
                x = Si(f'{x.cond} && {x.si[0].cond}', x.si[0].si)
            elif x.cond.startswith('teclaNueva(') and g.p(0.3):
                resultado.append(S(f'bool $pulsada{len(resultado)} = {x.cond};'))
                x.cond, x.neg = f'$pulsada{len(resultado) - 1}', None
        if g.p(g.trazas):
            traza = g.uno(*TRAZAS)
            resultado.append(S(g.uno(f'std::cout << "{traza}" << std::endl;',
                                     f'std::cerr << "{traza}" << std::endl;',
                                     f'std::cout << "{traza} " << $depura << std::endl;')))
        resultado.append(x)
    resultado = _baraja_hermanos(g, resultado)
    # Consecutive conditions without else, chained with else by some.
    if g.p(0.2):
        for i in range(len(resultado) - 1, 0, -1):
            a, b = resultado[i - 1], resultado[i]
            if isinstance(a, Si) and isinstance(b, Si) and a.no is None and g.p(0.5):
                a.no = [b]
                del resultado[i]
    resultado = _extrae(g, resultado)
    if nivel == 0 and vacia and len(resultado) == 1 and isinstance(resultado[0], Si) \
            and not resultado[0].no and g.p(0.5):
        x = resultado[0]
        resultado = [Si(x.neg or f'!({x.cond})', [S('return;')])] + x.si
    return resultado


def varia_parte(g, p):
    for f in p.funciones:
        ayudas, g.ayudas = g.ayudas, None  # a class's own functions keep their statements
        f.cuerpo = varia(g, f.cuerpo, vacia=f.ret in ('void', ''))
        g.ayudas = ayudas
    for f in p.metodos:
        f.cuerpo = varia(g, f.cuerpo, vacia=f.ret in ('void', ''))
    for gancho in GANCHOS:
        p.ganchos[gancho] = [varia(g, x if isinstance(x, list) else [x], 1) for x in p.ganchos[gancho]]
    p.metodos += g.ayudas
    g.ayudas = []
