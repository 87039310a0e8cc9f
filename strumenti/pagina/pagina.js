(function () {
  "use strict";
  var D = JSON.parse(document.getElementById("dati").textContent);
  // The live page: the last compile's report, and where each drawing is zoomed to, kept
  // across redraws.
  var compilazione = D.compilazione || null;
  var vista = {pianta: null, profilo: null};
  var NS = "http://www.w3.org/2000/svg";

  function el(tag, attributi, padre) {
    var e = document.createElementNS(NS, tag);
    for (var k in attributi) { e.setAttribute(k, attributi[k]); }
    if (padre) { padre.appendChild(e); }
    return e;
  }
  function testo(e, t) { e.textContent = t; return e; }
  function km(m) {
    var v = chilometrica(m);
    if (v === null) { return "-"; }
    var a = Math.abs(v);
    return (v < 0 ? "-" : "") + Math.floor(a / 1000) + "." + String(a % 1000).padStart(3, "0");
  }
  function chilometrica(m) {
    var v = null;
    D.chilometri.forEach(function (t) { if (t[0] <= m) { v = t[1] + t[2] * m; } });
    return v;
  }
  function ora(s) {
    if (!s) { return "-"; }
    return Math.floor(s / 3600) + ":" + String(Math.floor(s / 60) % 60).padStart(2, "0") +
        ":" + String(s % 60).padStart(2, "0");
  }
  // The value of a list of [da, a, valore] ranges at metre m, or null.
  function nell_intervallo(lista, m) {
    var basso = 0, alto = lista.length - 1;
    while (basso <= alto) {
      var medio = (basso + alto) >> 1, r = lista[medio];
      if (m < r[0]) { alto = medio - 1; } else if (m >= r[1]) { basso = medio + 1; } else { return r[2]; }
    }
    return null;
  }
  // The last item at or before metre m of a list sorted by "posizione".
  function ultimo_prima(lista, m) {
    var trovato = null;
    for (var i = 0; i < lista.length && lista[i].posizione <= m; i++) { trovato = lista[i]; }
    return trovato;
  }
  // The plan position of metre m, between the two points of the reduced plan around it.
  function punto_a(m) {
    var p = pianta;
    if (p.length === 0 || m < p[0][0] || m > p[p.length - 1][0]) { return null; }
    var basso = 0, alto = p.length - 1;
    while (alto - basso > 1) {
      var medio = (basso + alto) >> 1;
      if (p[medio][0] <= m) { basso = medio; } else { alto = medio; }
    }
    var a = p[basso], b = p[alto], t = b[0] === a[0] ? 0 : (m - a[0]) / (b[0] - a[0]);
    return [a[1] + t * (b[1] - a[1]), a[2] + t * (b[2] - a[2])];
  }
  var lunghezza_percorso = 1;
  // The plan as the page draws it: the finer reduction when the data has it.
  var pianta = [];
  var mostra_metro = function () {};
  var vai = function () {};
  var metro_al_centro = function () { return 0; };
  var x_del_metro = function () { return 0; };
  // The plan as last made, and its share of the view's scale.
  var fatta = null;
  var scala_pianta = 1;
  // Whether two values read from JSON are the same.
  function stessi(a, b) {
    if (a === b) { return true; }
    if (a === null || b === null || typeof a !== "object" || typeof b !== "object" ||
        Array.isArray(a) !== Array.isArray(b)) { return false; }
    if (Array.isArray(a)) {
      if (a.length !== b.length) { return false; }
      for (var i = 0; i < a.length; i++) { if (!stessi(a[i], b[i])) { return false; } }
      return true;
    }
    var chiavi = Object.keys(a);
    return chiavi.length === Object.keys(b).length && chiavi.every(function (k) {
      return Object.prototype.hasOwnProperty.call(b, k) && stessi(a[k], b[k]);
    });
  }
  function el_html(tag, padre, classe) {
    var e = document.createElement(tag);
    if (classe) { e.className = classe; }
    padre.appendChild(e);
    return e;
  }

  // A drawing made anew: a fresh element in place of the old, so no old listener stays.
  function svg_nuovo(id) {
    var vecchio = document.getElementById(id), nuovo = vecchio.cloneNode(false);
    vecchio.parentNode.replaceChild(nuovo, vecchio);
    return nuovo;
  }
  // The drawing that keys act on: the last one pointed at or focused.
  var attiva = "profilo";
  // Each drawing's controls, remade with the drawing: show(m) centres it on metre m.
  var controlli = {};
  // An element kept the same size on screen however far the drawing is zoomed: scaled by
  // (sx, sy) about its point (x, y).
  function a_misura(e, x, y, sx, sy) {
    e.setAttribute("transform", "translate(" + x + " " + y + ") scale(" + sx + " " + sy +
        ") translate(" + (-x) + " " + (-y) + ")");
  }
  // Wheel, drag and keys change the part of a drawing shown; only along x for the profile.
  // `aggiorna` lays out again what depends on the scale; it runs once a frame at most.
  function zoom_e_trascina(svg, nome, solo_x, aggiorna) {
    var base = svg.getAttribute("viewBox").split(" ").map(Number);
    var v = vista[nome] || base.slice();
    var atteso = false;
    function disponi() {
      atteso = false;
      aggiorna(v, base);
      svg.setAttribute("data-vista", v.map(function (n) { return n.toFixed(1); }).join(" "));
    }
    function applica(subito) {
      // Never wider than the whole drawing: zooming out stops there.
      if (v[2] > base[2]) { v = [v[0], v[1], base[2], solo_x ? v[3] : base[3]]; }
      svg.setAttribute("viewBox", v.join(" "));
      vista[nome] = v;
      if (subito) { disponi(); } else if (!atteso) { atteso = true; requestAnimationFrame(disponi); }
    }
    // Zoom by f about the point (px, py) of the drawing.
    function zoom(f, px, py) {
      v = [px - (px - v[0]) * f, solo_x ? v[1] : py - (py - v[1]) * f, v[2] * f,
           solo_x ? v[3] : v[3] * f];
      applica();
    }
    svg.setAttribute("tabindex", "0");
    svg.addEventListener("mouseenter", function () { attiva = nome; });
    svg.addEventListener("focus", function () { attiva = nome; });
    svg.addEventListener("wheel", function (e) {
      e.preventDefault();
      var r = svg.getBoundingClientRect();
      zoom(e.deltaY > 0 ? 1.25 : 0.8, v[0] + (e.clientX - r.left) / r.width * v[2],
          v[1] + (e.clientY - r.top) / r.height * v[3]);
    }, {passive: false});
    var presa = null;
    svg.addEventListener("mousedown", function (e) {
      presa = [e.clientX, e.clientY, v.slice(), false];
      // Taken once per press: a drawing made again leaves no listener behind on the window.
      window.addEventListener("mouseup", function () { setTimeout(function () { presa = null; }); },
          {once: true});
    });
    svg.addEventListener("mousemove", function (e) {
      if (!presa || !(e.buttons & 1)) { return; }
      var r = svg.getBoundingClientRect();
      if (Math.abs(e.clientX - presa[0]) + Math.abs(e.clientY - presa[1]) > 3) { presa[3] = true; }
      v = [presa[2][0] - (e.clientX - presa[0]) / r.width * v[2],
           solo_x ? v[1] : presa[2][1] - (e.clientY - presa[1]) / r.height * v[3], v[2], v[3]];
      applica();
    });
    svg.addEventListener("dblclick", function () { v = base.slice(); applica(); });
    applica(true);
    return {
      // Keys: + and - zoom about the centre, the arrows move by a tenth of the view.
      tasto: function (k) {
        var cx = v[0] + v[2] / 2, cy = v[1] + v[3] / 2;
        if (k === "+" || k === "=") { zoom(0.8, cx, cy); } else if (k === "-" || k === "_") {
          zoom(1.25, cx, cy);
        } else if (k === "ArrowLeft" || k === "ArrowRight") {
          v = [v[0] + (k === "ArrowLeft" ? -1 : 1) * v[2] / 10, v[1], v[2], v[3]];
          applica();
        } else if (!solo_x && (k === "ArrowUp" || k === "ArrowDown")) {
          v = [v[0], v[1] + (k === "ArrowUp" ? -1 : 1) * v[3] / 10, v[2], v[3]];
          applica();
        } else { return false; }
        return true;
      },
      // Centres the view on (x, y); the whole drawing is first zoomed in by `ingrandimento`.
      centra: function (x, y, ingrandimento) {
        var f = v[2] >= base[2] * 0.999 ? 1 / ingrandimento : 1;
        var w = v[2] * f, h = solo_x ? v[3] : v[3] * f;
        v = [x - w / 2, solo_x ? v[1] : y - h / 2, w, h];
        applica();
      },
      // Whether the point lies in the view.
      mostra: function (x, y) {
        return x >= v[0] && x <= v[0] + v[2] && (solo_x || (y >= v[1] && y <= v[1] + v[3]));
      },
      // Was the last press a drag rather than a click?
      trascinato: function () { return presa !== null && presa[3]; },
      vista: function () { return v; },
      intera: function () { return v[2] >= base[2] * 0.999; }
    };
  }

  // The width of each name as drawn, kept across redraws: the names rarely change.
  var larghezze = new Map();
  function misura_nomi(nomi, dove) {
    nomi.forEach(function (n) {
      var chiave = dove + "\n" + n.testo;
      if (!larghezze.has(chiave)) {
        larghezze.set(chiave, n.e.getComputedTextLength() || n.testo.length * 6);
      }
      n.larghezza = larghezze.get(chiave);
    });
  }

  // The drawings' widths on screen, read while the page is laid out: a read after a change
  // would lay the page out again in the middle of a redraw.
  var pixel = {};
  function misura_schermo() {
    pixel.pianta = document.getElementById("svg-pianta").clientWidth;
    pixel.profilo = document.getElementById("svg-profilo").clientWidth;
  }
  window.addEventListener("resize", misura_schermo);
  // What the station table and list were last made from: they are made again only when it
  // changes.
  var stazioni_in_tabella = null;

  // The point of a drawing under the pointer.
  function metro_del_mouse(svg, evento) {
    var punto = svg.createSVGPoint();
    punto.x = evento.clientX;
    punto.y = evento.clientY;
    return punto.matrixTransform(svg.getScreenCTM().inverse());
  }

  // --- Plan ------------------------------------------------------------------------------
  // The plan made from `chiave`, what it draws; its listeners act through the page's current
  // state, so that it can stay as it is across compiles that leave it the same.
  function fai_pianta(chiave) {
    var svg_pianta = svg_nuovo("svg-pianta");
    var E = D.estensione;
    var nota = document.getElementById("estensione");
    var pianta_scala = null;
    if (E) {
      var larghezza = 880, dx = Math.max(E.max_x - E.min_x, 1), dy = Math.max(E.max_y - E.min_y, 1);
      var altezza = Math.min(Math.max(larghezza * dy / dx, 320), 560), margine = 28;
      var k = Math.min((larghezza - 2 * margine) / dx, (altezza - 2 * margine) / dy);
      var ox = (larghezza - k * dx) / 2, oy = (altezza - k * dy) / 2;
      pianta_scala = function (x, y) {
        return [ox + (x - E.min_x) * k, altezza - oy - (y - E.min_y) * k];
      };
      svg_pianta.setAttribute("viewBox", "0 0 " + larghezza + " " + altezza);
      svg_pianta.setAttribute("data-estensione", [E.min_x, E.max_x, E.min_y, E.max_y]
          .map(function (v) { return Math.round(v); }).join(" "));
      testo(nota, "x da " + Math.round(E.min_x) + " a " + Math.round(E.max_x) + " m, y da " +
          Math.round(E.min_y) + " a " + Math.round(E.max_y) + " m (" + pianta.length +
          " punti su " + D.punti + ", disegnati quelli che la vista distingue).");
      var fondo_pianta = el("rect", {x: 0, y: 0, width: larghezza, height: altezza, fill: "#fbfcfd"},
          svg_pianta);
      // A 1 km grid keeps the scale readable.
      var passo = Math.pow(10, Math.ceil(Math.log10(Math.max(dx, dy) / 12)));
      for (var gx = Math.ceil(E.min_x / passo) * passo; gx <= E.max_x; gx += passo) {
        var a = pianta_scala(gx, E.min_y), b = pianta_scala(gx, E.max_y);
        el("line", {x1: a[0], y1: a[1] + 8, x2: b[0], y2: b[1] - 8, "class": "asse"}, svg_pianta);
      }
      for (var gy = Math.ceil(E.min_y / passo) * passo; gy <= E.max_y; gy += passo) {
        var c = pianta_scala(E.min_x, gy), d = pianta_scala(E.max_x, gy);
        el("line", {x1: c[0] - 8, y1: c[1], x2: d[0] + 8, y2: d[1], "class": "asse"}, svg_pianta);
      }
      var nota_griglia = testo(el("text", {x: 8, y: altezza - 8, fill: "#66727f"}, svg_pianta),
          "griglia di " + (passo >= 1000 ? passo / 1000 + " km" : passo + " m"));
      var tratto = function (punti) {
        return punti.map(function (p, i) {
          var s = pianta_scala(p[1], p[2]);
          return (i ? "L" : "M") + s[0].toFixed(1) + " " + s[1].toFixed(1);
        }).join("");
      };
      // The reduced plan in drawing units, once; each view draws from it only what it shows.
      var in_scala = pianta.map(function (p) { return pianta_scala(p[1], p[2]); });
      // The track goes on beyond the end of the line (D.oltre_la_linea metres): drawn lighter.
      var fine_linea = punto_a(D.lunghezza);
      var fine_in_scala = fine_linea ? pianta_scala(fine_linea[0], fine_linea[1]) : null;
      var primo_oltre = pianta.findIndex(function (p) { return p[0] > D.lunghezza; });
      if (primo_oltre < 0) { primo_oltre = pianta.length; }
      var path_oltre = el("path", {d: "", fill: "none", stroke: "var(--linea)", "stroke-width": 1.5,
          "stroke-dasharray": "6 4", opacity: 0.5, "class": "oltre-la-linea"}, svg_pianta);
      var path_linea = el("path", {d: "", fill: "none", stroke: "var(--linea)", "stroke-width": 2.2,
          "stroke-linejoin": "round", "class": "linea-pianta"}, svg_pianta);
      // Points from..to (indices in in_scala, with extra end points) drawn as a path: only those
      // in the view or next to it, and of those only the ones at least `passo_minimo` from the
      // last drawn, so that a zoomed-out view of a long line draws no more points than pixels.
      var tratto_visibile = function (punti, v, passo_minimo) {
        var d = "", fuori = function (p) {
          return p[0] < v[0] - v[2] || p[0] > v[0] + 2 * v[2] || p[1] < v[1] - v[3] ||
              p[1] > v[1] + 2 * v[3];
        };
        var ultimo = null, n = 0;
        for (var i = 0; i < punti.length; i++) {
          var p = punti[i];
          if (fuori(p) && (i === 0 || fuori(punti[i - 1])) &&
              (i + 1 === punti.length || fuori(punti[i + 1]))) { ultimo = null; continue; }
          if (ultimo && i + 1 < punti.length && Math.abs(p[0] - ultimo[0]) +
              Math.abs(p[1] - ultimo[1]) < passo_minimo) { continue; }
          d += (ultimo ? "L" : "M") + p[0].toFixed(1) + " " + p[1].toFixed(1);
          ultimo = p;
          n++;
        }
        return {d: d, punti: n};
      };
      var linea_in_scala = in_scala.slice(0, primo_oltre);
      var oltre_in_scala = in_scala.slice(primo_oltre);
      if (fine_in_scala) { linea_in_scala.push(fine_in_scala); oltre_in_scala.unshift(fine_in_scala); }
      D.gallerie.forEach(function (g) {
        var punti = [];
        var inizio = punto_a(g[0]), fine = punto_a(g[1]);
        if (inizio) { punti.push([g[0], inizio[0], inizio[1]]); }
        pianta.forEach(function (p) { if (p[0] > g[0] && p[0] < g[1]) { punti.push(p); } });
        if (fine) { punti.push([g[1], fine[0], fine[1]]); }
        if (punti.length > 1) {
          el("path", {d: tratto(punti), fill: "none", stroke: "var(--galleria)", "stroke-width": 6,
              "stroke-linecap": "butt", "class": "galleria-pianta"}, svg_pianta);
        }
      });
      // Markers and names keep their size on screen: [element, x, y] to scale at each view.
      var segni_pianta = [[nota_griglia, 8, altezza - 8, "angolo"]];
      // Station names on the plan: one that would cover a name already placed is left out at
      // this zoom (its marker still names it on hover).
      var nomi_pianta = [];
      D.segnali.forEach(function (s) {
        if (s.x === null) { return; }
        var p = pianta_scala(s.x, s.y);
        var quadro = el("rect", {x: p[0] - 2.5, y: p[1] - 2.5, width: 5, height: 5,
            fill: "var(--segnale)", "class": "marcatore-segnale"}, svg_pianta);
        testo(el("title", {}, quadro), "segnale a " + s.posizione + " m");
        segni_pianta.push([quadro, p[0], p[1]]);
      });
      D.stazioni.forEach(function (s, i) {
        if (s.x === null) { return; }
        var p = pianta_scala(s.x, s.y);
        var cerchio = el("circle", {cx: p[0], cy: p[1], r: 5, fill: "#fff", stroke: "var(--stazione)",
            "stroke-width": 2.5, "class": "marcatore-stazione", "data-voce": s.voce}, svg_pianta);
        testo(el("title", {}, cerchio), s.nome + " (" + s.posizione + " m)");
        cerchio.addEventListener("click", function (e) { e.stopPropagation(); vai(s.posizione, s); });
        var a_destra = i % 2 === 0;
        var nome = testo(el("text", {x: p[0] + (a_destra ? 8 : -8), y: p[1] + 3.5,
            "text-anchor": a_destra ? "start" : "end", "class": "nome-stazione"}, svg_pianta), s.nome);
        segni_pianta.push([cerchio, p[0], p[1]], [nome, p[0], p[1]]);
        nomi_pianta.push({e: nome, x: p[0], y: p[1], a_destra: a_destra, testo: s.nome});
      });
    } else {
      testo(nota, "Il file del tracciato non ha punti calcolati.");
      svg_pianta.setAttribute("viewBox", "0 0 880 60");
    }
    var punto_pianta = el("circle", {r: 7, fill: "none", stroke: "#111827", "stroke-width": 2,
        visibility: "hidden"}, svg_pianta);
    // The stretches of the last compile's changes go here, emptied at each compile.
    var cambiati = el("g", {"class": "cambiati"}, svg_pianta);
    misura_nomi(nomi_pianta, "pianta");
    // The metre of the plan nearest the pointer, if the line passes within a few pixels of it.
    var metro_della_pianta = function (evento) {
      if (!pianta_scala || pianta.length === 0) { return null; }
      var p = metro_del_mouse(svg_pianta, evento), migliore = null, distanza = Infinity;
      var raggio = 20 * scala_pianta;
      for (var i = 0; i + 1 < in_scala.length; i++) {
        var a = in_scala[i], b = in_scala[i + 1];
        // Segments wholly on one side of the pointer's neighbourhood cannot be the nearest.
        if ((a[0] < p.x - raggio && b[0] < p.x - raggio) || (a[0] > p.x + raggio && b[0] > p.x + raggio) ||
            (a[1] < p.y - raggio && b[1] < p.y - raggio) || (a[1] > p.y + raggio && b[1] > p.y + raggio)) {
          continue;
        }
        var lx = b[0] - a[0], ly = b[1] - a[1], l2 = lx * lx + ly * ly;
        var t = l2 ? Math.max(0, Math.min(1, ((p.x - a[0]) * lx + (p.y - a[1]) * ly) / l2)) : 0;
        var ddx = a[0] + t * lx - p.x, ddy = a[1] + t * ly - p.y, dd = ddx * ddx + ddy * ddy;
        if (dd < distanza) {
          distanza = dd;
          migliore = pianta[i][0] + t * (pianta[i + 1][0] - pianta[i][0]);
        }
      }
      return distanza < raggio * raggio ? migliore : null;
    };
    svg_pianta.addEventListener("mousemove", function (evento) {
      if (evento.buttons & 1) { return; }
      var m = metro_della_pianta(evento);
      if (m !== null) { mostra_metro(m); }
    });
    svg_pianta.addEventListener("click", function (evento) {
      if (!controlli.pianta || controlli.pianta.trascinato()) { return; }
      var m = metro_della_pianta(evento);
      if (m === null) { return; }
      mostra_metro(m);
      if (!controlli.profilo.mostra(x_del_metro(m), 0)) { controlli.profilo.centra(x_del_metro(m), 0, 1); }
    });
    controlli.pianta = null;
    if (E) {
      controlli.pianta = zoom_e_trascina(svg_pianta, "pianta", false, function (v, base) {
        scala_pianta = v[2] / base[2];
        // The ground follows the view, so that a view moved past the plan's edge is not bare.
        [["x", v[0]], ["y", v[1]], ["width", v[2]], ["height", v[3]]].forEach(function (a) {
          fondo_pianta.setAttribute(a[0], a[1]);
        });
        // One point every half pixel at most.
        var passo_minimo = 0.5 * v[2] / (pixel.pianta || base[2]);
        var linea = tratto_visibile(linea_in_scala, v, passo_minimo);
        var oltre = tratto_visibile(oltre_in_scala, v, passo_minimo);
        path_linea.setAttribute("d", linea.d);
        path_oltre.setAttribute("d", oltre.d);
        svg_pianta.setAttribute("data-punti-disegnati", linea.punti + oltre.punti);
        segni_pianta.forEach(function (s) {
          if (s[3] === "angolo") {
            s[0].setAttribute("x", v[0] + 8 * scala_pianta);
            s[0].setAttribute("y", v[1] + v[3] - 8 * scala_pianta);
            a_misura(s[0], v[0] + 8 * scala_pianta, v[1] + v[3] - 8 * scala_pianta, scala_pianta,
                scala_pianta);
            return;
          }
          var dentro = s[1] >= v[0] - v[2] / 2 && s[1] <= v[0] + 1.5 * v[2] &&
              s[2] >= v[1] - v[3] / 2 && s[2] <= v[1] + 1.5 * v[3];
          s[0].style.display = dentro ? "" : "none";
          if (dentro) { a_misura(s[0], s[1], s[2], scala_pianta, scala_pianta); }
        });
        var posti = [];
        nomi_pianta.forEach(function (n) {
          if (n.e.style.display === "none") { return; }
          var l = n.larghezza * scala_pianta, a = 12 * scala_pianta;
          var x0 = n.a_destra ? n.x + 7 * scala_pianta : n.x - 7 * scala_pianta - l;
          var r = [x0, n.y - a / 2, x0 + l, n.y + a / 2];
          var libero = posti.every(function (q) {
            return r[2] <= q[0] || q[2] <= r[0] || r[3] <= q[1] || q[3] <= r[1];
          });
          n.e.style.display = libero ? "" : "none";
          if (libero) { posti.push(r); }
        });
        a_misura(punto_pianta, Number(punto_pianta.getAttribute("cx")),
            Number(punto_pianta.getAttribute("cy")), scala_pianta, scala_pianta);
      });
    }
    return {chiave: chiave, svg: svg_pianta, scala: pianta_scala, tratto: tratto,
        punto: punto_pianta, cambiati: cambiati};
  }

  function disegna() {
  misura_schermo();
  lunghezza_percorso = Math.max(D.celle * D.metri_cella, 1);
  pianta = D.pianta_fine && D.pianta_fine.length ? D.pianta_fine : D.pianta;

  // --- Header ----------------------------------------------------------------------------
  document.title = D.scenario + " - treno " + D.treno;
  testo(document.getElementById("titolo"), D.scenario + " \u2014 treno " + D.treno);
  var sotto = document.getElementById("sottotitolo");
  testo(sotto, "Linea di " + D.lunghezza.toLocaleString("it-IT") + " m, " + D.celle +
      " celle da " + D.metri_cella + " m, " + D.stazioni.length + " stazioni, " + D.segnali.length + " segnali, " +
      D.rallentamenti.length + " rallentamenti, " + D.gallerie.length + " gallerie. ");
  if (D.difetti > 0) {
    testo(el_html("span", sotto, "difetti"), D.difetti + " difetti nei file: vedere l'ispezione.");
  }


  // The plan is made again only when what it draws changed: it keeps its elements, its view
  // and what its listeners hold.
  var chiave_pianta = [D.estensione, pianta, D.lunghezza, D.punti, D.gallerie, D.segnali,
    D.stazioni];
  if (!fatta || !stessi(fatta.chiave, chiave_pianta)) { fatta = fai_pianta(chiave_pianta); }
  var svg_pianta = fatta.svg, pianta_scala = fatta.scala, tratto = fatta.tratto;
  var punto_pianta = fatta.punto;
  fatta.cambiati.textContent = "";

  // --- Profile ---------------------------------------------------------------------------
  var svg_profilo = svg_nuovo("svg-profilo");
  var P = {larghezza: 880, sinistra: 52, destra: 14};
  var nomi_alto = 96, quota_alto = nomi_alto + 6, quota_basso = quota_alto + 120;
  var vel_alto = quota_basso + 26, vel_basso = vel_alto + 170;
  var ader_alto = vel_basso + 16, ader_basso = ader_alto + 44;
  var gall_alto = ader_basso + 12, gall_basso = gall_alto + 14;
  var altezza_profilo = gall_basso + 26;
  svg_profilo.setAttribute("viewBox", "0 0 " + P.larghezza + " " + altezza_profilo);
  var utile = P.larghezza - P.sinistra - P.destra;
  function xm(m) { return P.sinistra + m / lunghezza_percorso * utile; }
  el("rect", {x: P.sinistra, y: quota_alto, width: utile, height: gall_basso - quota_alto,
      fill: "#fbfcfd"}, svg_profilo);

  // The chainage axis, drawn again for each view at a round step that fits it.
  var asse_profilo = el("g", {"class": "asse-progressiva"}, svg_profilo);
  // Texts that keep their size on screen: [element, x, y]; and the band names, kept at the
  // left edge of whatever part is shown.
  var testi_profilo = [];
  var bande = [];
  function etichetta_banda(y, t) {
    bande.push([testo(el("text", {x: P.sinistra - 6, y: y, "text-anchor": "end", fill: "#66727f",
        "class": "banda"}, svg_profilo), t), y]);
  }
  // A step line through ranges [da, a, valore]; it breaks where a range has no value.
  function gradini(lista, scala_y, colore, spessore, classe) {
    var d = "", fine = null;
    lista.forEach(function (r) {
      if (r[2] === null) { fine = null; return; }
      var y = scala_y(r[2]).toFixed(1);
      d += (fine === r[0] ? "V" + y : "M" + xm(r[0]).toFixed(1) + " " + y) +
          "H" + xm(r[1]).toFixed(1);
      fine = r[1];
    });
    el("path", {d: d, fill: "none", stroke: colore, "stroke-width": spessore, "class": classe},
        svg_profilo);
  }

  // Altitude.
  var quote = D.quota.map(function (q) { return q[1]; });
  var q_min = Math.min.apply(null, quote.concat([0])), q_max = Math.max.apply(null, quote.concat([0]));
  if (q_max - q_min < 10) { q_max = q_min + 10; }
  function yq(q) { return quota_basso - (q - q_min) / (q_max - q_min) * (quota_basso - quota_alto - 8); }
  el("path", {d: D.quota.map(function (q, i) {
      return (i ? "L" : "M") + xm(q[0]).toFixed(1) + " " + yq(q[1]).toFixed(1); }).join(""),
      fill: "none", stroke: "var(--quota)", "stroke-width": 1.8, "class": "quota"}, svg_profilo);
  etichetta_banda(yq(q_max) + 4, Math.round(q_max) + " m");
  etichetta_banda(yq(q_min), Math.round(q_min) + " m");

  // Speeds: the train's limit, the boards of each rank, the slow-downs.
  var v_max = 40;
  D.velocita.forEach(function (r) { v_max = Math.max(v_max, r[2] || 0); });
  D.cartelli.forEach(function (c) { v_max = Math.max(v_max, c.v[0], c.v[1], c.v[2]); });
  v_max = Math.ceil(v_max / 20) * 20;
  function yv(v) { return vel_basso - v / v_max * (vel_basso - vel_alto); }
  for (var v = 0; v <= v_max; v += 40) {
    el("line", {x1: P.sinistra, y1: yv(v), x2: P.sinistra + utile, y2: yv(v), "class": "asse"},
        svg_profilo);
    etichetta_banda(yv(v) + 3, v + (v + 40 > v_max ? " km/h" : ""));
  }
  D.rallentamenti.forEach(function (r) {
    var x = xm(r.inizio), larga = Math.max(xm(r.fine) - x, 4);
    el("rect", {x: x, y: yv(r.velocita), width: larga, height: vel_basso - yv(r.velocita),
        fill: "var(--rallentamento)", opacity: 0.8, "class": "rallentamento"}, svg_profilo);
    testi_profilo.push([testo(el("text", {x: x + larga / 2, y: yv(r.velocita) - 3,
        "text-anchor": "middle"}, svg_profilo), r.velocita), x + larga / 2, yv(r.velocita) - 3]);
  });
  ["--rango-a", "--rango-b", "--rango-c"].forEach(function (colore, rango) {
    var gradini_rango = D.cartelli.map(function (c, i) {
      var fine = i + 1 < D.cartelli.length ? D.cartelli[i + 1].posizione : lunghezza_percorso;
      return [c.posizione, fine, c.v[rango] > 0 ? c.v[rango] : null];
    });
    gradini(gradini_rango, yv, "var(" + colore + ")", 1.2, "rango-" + "abc"[rango]);
  });
  gradini(D.velocita.map(function (r) { return [r[0], r[1], r[2] || null]; }), yv,
      "var(--limite)", 2.2, "limite");

  // Adhesion.
  var a_max = 1;
  D.aderenza.forEach(function (r) { a_max = Math.max(a_max, r[2] || 0); });
  function ya(a) { return ader_basso - a / a_max * (ader_basso - ader_alto); }
  gradini(D.aderenza.map(function (r) { return [r[0], r[1], r[2] || null]; }), ya,
      "var(--aderenza)", 1.6, "aderenza");
  etichetta_banda(ader_alto + 8, "aderenza");

  // Tunnels and stations.
  etichetta_banda(gall_basso - 3, "gallerie");
  D.gallerie.forEach(function (g) {
    el("rect", {x: xm(g[0]), y: gall_alto, width: Math.max(xm(g[1]) - xm(g[0]), 1.5),
        height: gall_basso - gall_alto, fill: "var(--galleria)", "class": "galleria-profilo"},
        svg_profilo);
  });
  // Station names stand level in rows above the altitude; each view places them again, and a
  // name that finds no free row is left out (the station's line names it on hover).
  var nomi_profilo = [];
  var righe_nomi = Math.max(Math.floor((nomi_alto - 4) / 12), 1);
  D.stazioni.forEach(function (s) {
    var x = xm(s.posizione);
    el("line", {x1: x, y1: quota_alto, x2: x, y2: gall_basso, stroke: "var(--stazione)",
        "stroke-opacity": 0.35, "class": "stazione-profilo", "data-voce": s.voce}, svg_profilo);
    el("rect", {x: xm(s.inizio), y: gall_alto - 6, width: Math.max(xm(s.fine) - xm(s.inizio), 2),
        height: 4, fill: "var(--stazione)"}, svg_profilo);
    var guida = el("line", {x1: x, x2: x, y1: nomi_alto, y2: quota_alto, "class": "guida-nome"},
        svg_profilo);
    var nome = testo(el("text", {x: x, y: nomi_alto - 2, "text-anchor": "middle",
        fill: "var(--stazione)", "class": "nome-profilo", "data-voce": s.voce}, svg_profilo), s.nome);
    var presa = el("line", {x1: x, y1: 0, x2: x, y2: gall_basso, "class": "presa-stazione"},
        svg_profilo);
    testo(el("title", {}, presa), s.nome + " (" + s.posizione + " m, km " + km(s.posizione) + ")");
    presa.addEventListener("click", function (e) { e.stopPropagation(); vai(s.posizione, s); });
    nomi_profilo.push({e: nome, guida: guida, x: x, testo: s.nome});
  });
  function disponi_profilo(v, base) {
    var kx = v[2] / base[2], pixel_profilo = pixel.profilo || base[2];
    var px = function (x) { return (x - v[0]) / v[2] * pixel_profilo; };
    // Axis: a step of 1, 2 or 5 times a power of ten metres, about ten to the view.
    var metri_vista = v[2] / utile * lunghezza_percorso;
    var passo = Math.pow(10, Math.floor(Math.log10(Math.max(metri_vista / 10, 1))));
    passo *= metri_vista / passo > 50 ? 5 : metri_vista / passo > 20 ? 2 : 1;
    asse_profilo.textContent = "";
    var da = Math.max(0, Math.floor(((v[0] - P.sinistra) / utile * lunghezza_percorso) / passo) * passo);
    for (var m = da; m <= lunghezza_percorso && xm(m) <= v[0] + v[2]; m += passo) {
      el("line", {x1: xm(m), y1: quota_alto, x2: xm(m), y2: gall_basso, "class": "asse"},
          asse_profilo);
      var t = testo(el("text", {x: xm(m), y: gall_basso + 14, "text-anchor": "middle",
          fill: "#66727f"}, asse_profilo), passo >= 1000 ? m / 1000 + " km" : (m / 1000).toFixed(
          passo >= 100 ? 1 : passo >= 10 ? 2 : 3) + " km");
      a_misura(t, xm(m), gall_basso + 14, kx, 1);
    }
    testi_profilo.forEach(function (t) {
      var dentro = t[1] >= v[0] - v[2] && t[1] <= v[0] + 2 * v[2];
      t[0].style.display = dentro ? "" : "none";
      if (dentro) { a_misura(t[0], t[1], t[2], kx, 1); }
    });
    sfondo_bande.setAttribute("x", v[0]);
    sfondo_bande.setAttribute("width", P.sinistra * kx);
    bande.forEach(function (b) {
      var x = v[0] + (P.sinistra - 6) * kx;
      b[0].setAttribute("x", x);
      a_misura(b[0], x, b[1], kx, 1);
    });
    // Rows: each name goes to the lowest row where it clears the last name by a few pixels.
    var fine_riga = [];
    for (var r = 0; r < righe_nomi; r++) { fine_riga.push(-Infinity); }
    nomi_profilo.forEach(function (n) {
      var centro = px(n.x), mezza = n.larghezza * pixel_profilo / base[2] / 2, riga = -1;
      if (centro + mezza >= 0 && centro - mezza <= pixel_profilo) {
        riga = fine_riga.findIndex(function (f) { return f + 6 <= centro - mezza; });
      }
      n.e.style.display = riga < 0 ? "none" : "";
      n.guida.style.display = riga < 0 ? "none" : "";
      if (riga < 0) { return; }
      fine_riga[riga] = centro + mezza;
      var y = nomi_alto - 2 - riga * 12;
      n.e.setAttribute("y", y);
      n.guida.setAttribute("y1", y + 2);
      a_misura(n.e, n.x, y, kx, 1);
    });
  }
  // The band names over a ground of their own, above whatever a panned view brings under them.
  var sfondo_bande = el("rect", {x: 0, y: 0, width: P.sinistra, height: altezza_profilo,
      fill: "var(--carta)"}, svg_profilo);
  bande.forEach(function (b) { svg_profilo.appendChild(b[0]); });
  var cursore = el("line", {y1: quota_alto, y2: gall_basso, "class": "cursore",
      visibility: "hidden"}, svg_profilo);

  // --- Station table ---------------------------------------------------------------------
  var stazioni_ora = [D.stazioni, D.chilometri];
  if (!stessi(stazioni_ora, stazioni_in_tabella)) {
  stazioni_in_tabella = stazioni_ora;
  var corpo = document.getElementById("righe-stazioni");
  corpo.textContent = "";
  D.stazioni.forEach(function (s) {
    var riga = el_html("tr", corpo);
    [s.voce, s.nome, s.posizione, km(s.posizione), s.inizio + " \u2013 " + s.fine,
     s.sosta || "", s.orario ? ora(s.orario) : ""].forEach(function (t) {
      testo(el_html("td", riga), t);
    });
    riga.addEventListener("click", function () { vai(s.posizione, s); });
  });
  var elenco_stazioni = document.getElementById("elenco-stazioni");
  elenco_stazioni.textContent = "";
  D.stazioni.forEach(function (s) {
    var voce = el_html("li", elenco_stazioni);
    var bottone = el_html("button", voce);
    bottone.type = "button";
    bottone.setAttribute("data-voce", s.voce);
    testo(el_html("span", bottone, "nome"), s.nome);
    testo(el_html("span", bottone, "km"), km(s.posizione));
    bottone.addEventListener("click", function () { vai(s.posizione, s); });
  });
  }

  // --- What stands at a metre ------------------------------------------------------------
  var dettagli = document.getElementById("dettagli");
  function mostra(m) {
    m = Math.max(0, Math.min(Math.round(m), lunghezza_percorso - 1));
    var x = xm(m);
    cursore.setAttribute("x1", x);
    cursore.setAttribute("x2", x);
    cursore.setAttribute("visibility", "visible");
    var p = punto_a(m);
    if (p && pianta_scala) {
      var s = pianta_scala(p[0], p[1]);
      punto_pianta.setAttribute("cx", s[0]);
      punto_pianta.setAttribute("cy", s[1]);
      punto_pianta.setAttribute("visibility", "visible");
      a_misura(punto_pianta, s[0], s[1], scala_pianta, scala_pianta);
    }
    var righe = [["metro", m + " (km " + km(m) + ")"]];
    if (p) { righe.push(["pianta", "x " + Math.round(p[0]) + ", y " + Math.round(p[1]) + " m"]); }
    var vel = nell_intervallo(D.velocita, m);
    righe.push(["velocit\u00e0 massima", vel ? vel + " km/h" : "-"]);
    var cartello = ultimo_prima(D.cartelli, m);
    righe.push(["cartelli A / B / C", cartello ? cartello.v.join(" / ") + " km/h" : "-"]);
    var pendenza = nell_intervallo(D.pendenza, m);
    righe.push(["pendenza", pendenza === null ? "-" : pendenza + " \u2030"]);
    righe.push(["quota", Math.round(quota_a(m)) + " m"]);
    var aderenza = nell_intervallo(D.aderenza, m);
    righe.push(["aderenza", aderenza || "-"]);
    var galleria = nell_intervallo(D.gallerie, m);
    righe.push(["galleria", galleria ? "tipo " + galleria : "all'aperto"]);
    D.rallentamenti.forEach(function (r) {
      if (m >= r.inizio && m < r.fine) {
        righe.push(["rallentamento", r.velocita + " km/h, " + r.inizio + " \u2013 " + r.fine + " m"]);
      }
    });
    D.stazioni.forEach(function (s) {
      if (m >= s.inizio && m <= s.fine) {
        righe.push(["stazione", s.nome + (s.orario ? ", " + ora(s.orario) : "")]);
      }
    });
    var cella = Math.floor(m / D.metri_cella);
    D.segnali.forEach(function (s) {
      if (Math.floor(s.posizione / D.metri_cella) === cella) { righe.push(["segnale", s.posizione + " m"]); }
    });
    D.cartelli.forEach(function (c) {
      if (Math.floor(c.posizione / D.metri_cella) === cella) {
        righe.push(["cartello", "A " + c.v[0] + ", B " + c.v[1] + ", C " + c.v[2] + " km/h"]);
      }
    });
    D.testi.forEach(function (c) {
      if (Math.floor(c.posizione / D.metri_cella) === cella) { righe.push(["cartello", c.testo]); }
    });
    D.abbattimenti.forEach(function (a) {
      if (Math.floor(a.posizione / D.metri_cella) === cella) {
        righe.push(["abbattimento", a.velocita ? a.velocita + " km/h" : "senza velocit\u00e0"]);
      }
    });
    dettagli.textContent = "";
    righe.forEach(function (r) {
      testo(el_html("dt", dettagli), r[0]);
      testo(el_html("dd", dettagli), r[1]);
    });
  }
  function quota_a(m) {
    var q = D.quota, i = 0;
    while (i + 1 < q.length && q[i + 1][0] <= m) { i++; }
    if (i + 1 >= q.length) { return q.length ? q[q.length - 1][1] : 0; }
    var t = (m - q[i][0]) / (q[i + 1][0] - q[i][0]);
    return q[i][1] + t * (q[i + 1][1] - q[i][1]);
  }
  var metro_del_profilo = function (evento) {
    return (metro_del_mouse(svg_profilo, evento).x - P.sinistra) / utile * lunghezza_percorso;
  };
  svg_profilo.addEventListener("mousemove", function (evento) {
    if (!(evento.buttons & 1)) { mostra(metro_del_profilo(evento)); }
  });
  // A click in one drawing brings the point into the other's view.
  svg_profilo.addEventListener("click", function (evento) {
    if (controlli.profilo.trascinato()) { return; }
    var m = metro_del_profilo(evento);
    mostra(m);
    var p = punto_a(m);
    if (p && controlli.pianta) {
      var s = pianta_scala(p[0], p[1]);
      if (!controlli.pianta.mostra(s[0], s[1])) { controlli.pianta.centra(s[0], s[1], 1); }
    }
  });
  // The stretches that the last compile changed, marked in both drawings.
  (compilazione ? compilazione.cambiamenti : []).forEach(function (c) {
    if (c.da === null) { return; }
    el("rect", {x: xm(c.da), y: quota_alto, width: Math.max(xm(c.a) - xm(c.da), 3),
        height: gall_basso - quota_alto, "class": "cambiato"}, svg_profilo);
    if (!pianta_scala) { return; }
    var punti = [];
    pianta.forEach(function (p) { if (p[0] >= c.da && p[0] <= c.a) { punti.push(p); } });
    var inizio = punto_a(c.da), fine = punto_a(c.a);
    if (inizio) { punti.unshift([c.da, inizio[0], inizio[1]]); }
    if (fine) { punti.push([c.a, fine[0], fine[1]]); }
    if (punti.length === 1) { punti.push(punti[0]); }
    if (punti.length > 1) {
      el("path", {d: tratto(punti) + "l0.1 0", "class": "cambiato-pianta"}, fatta.cambiati);
    }
  });
  // Names are measured once everything is in place: a measure between two changes of the
  // page would lay it out again each time.
  misura_nomi(nomi_profilo, "profilo");
  svg_profilo.setAttribute("preserveAspectRatio", "none");
  svg_profilo.style.height = altezza_profilo + "px";
  controlli.profilo = zoom_e_trascina(svg_profilo, "profilo", true, disponi_profilo);
  mostra_metro = mostra;
  x_del_metro = xm;
  // Both drawings centred on metre m, and what stands there shown; a station is centred on
  // its own point of the plan, which the reduced plan only comes near.
  vai = function (m, stazione) {
    m = Math.max(0, Math.min(Math.round(m), lunghezza_percorso));
    controlli.profilo.centra(xm(m), 0, 8);
    var p = stazione && stazione.x !== null ? [stazione.x, stazione.y] : punto_a(m);
    if (p && controlli.pianta) {
      var s = pianta_scala(p[0], p[1]);
      controlli.pianta.centra(s[0], s[1], 4);
    }
    mostra(m);
  };
  // The metre at the centre of the profile's view.
  metro_al_centro = function () {
    var v = controlli.profilo.vista();
    return (v[0] + v[2] / 2 - P.sinistra) / utile * lunghezza_percorso;
  };
  mostra(D.stazioni.length ? D.stazioni[0].posizione : 0);
  }

  // --- The live page's report of the last compile -----------------------------------------
  function riferimento(p) { return p.file + ":" + p.riga + ":" + p.colonna; }
  function riga_e_accento(padre, p) {
    if (!p.riga || !p.sorgente) { return; }
    var pre = el_html("pre", padre, "sorgente");
    pre.textContent = p.sorgente + "\n" + " ".repeat(Math.max(p.colonna - 1, 0)) + "^";
  }
  function rapporto() {
    var sezione = document.getElementById("compilazione");
    if (!compilazione) { return; }
    sezione.hidden = false;
    var c = compilazione;
    document.getElementById("numero-compilazione").textContent = c.numero;
    document.getElementById("quando-compilazione").textContent =
        new Date(c.quando).toLocaleTimeString("it-IT") + ", " + c.durata_ms.toFixed(1) + " ms";
    var stato = document.getElementById("stato-compilazione");
    stato.textContent = c.errore ? "Le sorgenti hanno un errore: la pagina mostra i file come sono."
        : "Compilazione riuscita.";
    stato.className = c.errore ? "con-errore" : "riuscita";
    var problemi = document.getElementById("problemi");
    problemi.textContent = "";
    c.problemi.forEach(function (p) {
      var li = el_html("li", problemi, p.gravita);
      testo(el_html("div", li, "messaggio"), (p.file ? riferimento(p) + ": " : "") + p.gravita +
          (p.codice !== null ? " " + p.codice : "") + ": " + p.messaggio);
      riga_e_accento(li, p);
      p.note.forEach(function (n) {
        testo(el_html("div", li, "nota-problema"), riferimento(n) + ": nota: " + n.messaggio);
        riga_e_accento(li, n);
      });
    });
    var elenco = document.getElementById("cambiamenti");
    elenco.textContent = "";
    if (c.cambiamenti.length === 0) {
      testo(el_html("li", elenco, "nessuno"), c.numero > 1 ? "nessun cambiamento" : "prima compilazione");
    }
    c.cambiamenti.forEach(function (m) {
      var li = el_html("li", elenco);
      testo(li, (m.da === null ? "scenario" : m.da === m.a ? m.da + " m" : m.da + "-" + m.a + " m") +
          ": " + m.descrizione);
      if (m.da !== null) {
        li.addEventListener("click", function () { mostra_metro(m.da); });
      }
    });
  }

  // --- Going to a place ------------------------------------------------------------------
  // The chainage of a kilometre reading (metres), through the first range of references
  // where it falls; null if the line never reads it.
  function metro_della_chilometrica(lettura) {
    var t = D.chilometri;
    for (var i = 0; i < t.length; i++) {
      var da = t[i][0], fino = i + 1 < t.length ? t[i + 1][0] : lunghezza_percorso + 1;
      var m = (lettura - t[i][1]) / t[i][2];
      if (m >= da && m < fino && m >= 0 && m <= lunghezza_percorso) { return Math.round(m); }
    }
    return null;
  }
  // What the field holds, as a chainage: "12400" or "12400 m" is one; "km 101.350",
  // "101.350", "101,350" and "101+350" are kilometre readings.
  function metro_del_testo(testo) {
    var t = testo.trim().toLowerCase().replace(/\s+/g, " "), r;
    if ((r = /^(\d+)( ?m)?$/.exec(t))) { return {metro: Number(r[1])}; }
    var lettura = null;
    if ((r = /^(?:km ?)?(-?)(\d+)\+(\d{3})$/.exec(t))) {
      lettura = (r[1] ? -1 : 1) * (Number(r[2]) * 1000 + Number(r[3]));
    } else if ((r = /^(?:km ?)?(-?\d+(?:[.,]\d{1,3})?)$/.exec(t)) &&
               (t.indexOf("km") === 0 || /[.,]/.test(t))) {
      lettura = Math.round(Number(r[1].replace(",", ".")) * 1000);
    }
    if (lettura === null) {
      return {errore: "non si legge: scrivere metri (12400) o km (km 101.350, 101+350)"};
    }
    var m = metro_della_chilometrica(lettura);
    return m === null ? {errore: "la linea non ha il km " + (lettura / 1000).toFixed(3)} : {metro: m};
  }
  var campo = document.getElementById("vai-a"), esito = document.getElementById("esito-vai");
  document.getElementById("modulo-vai").addEventListener("submit", function (e) {
    e.preventDefault();
    var r = metro_del_testo(campo.value);
    if (r.metro !== undefined && (r.metro < 0 || r.metro > lunghezza_percorso)) {
      r = {errore: "la linea va da 0 a " + lunghezza_percorso + " m"};
    }
    esito.className = r.errore ? "nota con-errore" : "nota";
    if (r.errore) { esito.textContent = r.errore; return; }
    vai(r.metro);
    esito.textContent = "metro " + r.metro + ", km " + km(r.metro);
  });
  // The next station after the centre of the profile (Page Down) or the one before it (Page
  // Up); from the whole line, Page Down goes to the first.
  function stazione_vicina(avanti) {
    var ordinate = D.stazioni.slice().sort(function (a, b) { return a.posizione - b.posizione; });
    if (ordinate.length === 0) { return null; }
    if (controlli.profilo.intera()) { return avanti ? ordinate[0] : null; }
    var c = metro_al_centro(), trovata = null;
    ordinate.forEach(function (s) {
      if (avanti && s.posizione > c + 0.5 && trovata === null) { trovata = s; }
      if (!avanti && s.posizione < c - 0.5) { trovata = s; }
    });
    return trovata;
  }
  document.addEventListener("keydown", function (e) {
    if (e.ctrlKey || e.altKey || e.metaKey || D.celle === undefined) { return; }
    var bersaglio = e.target && e.target.tagName;
    if (bersaglio === "INPUT" || bersaglio === "TEXTAREA" || bersaglio === "SELECT") { return; }
    if (e.key === "PageDown" || e.key === "PageUp") {
      var s = stazione_vicina(e.key === "PageDown");
      if (s !== null) { vai(s.posizione, s); }
      e.preventDefault();
      return;
    }
    var c = controlli[attiva] || controlli.profilo;
    if (c && c.tasto(e.key)) { e.preventDefault(); }
  });

  if (D.celle !== undefined) { disegna(); }
  rapporto();
  if (compilazione && window.EventSource) {
    var fonte = new EventSource("/eventi");
    fonte.onmessage = function (e) {
      var arrivo = Date.now();
      var c = JSON.parse(e.data);
      if (compilazione && c.numero <= compilazione.numero) { return; }
      compilazione = c;
      if (c.dati) {
        D = c.dati;
        disegna();
      }
      rapporto();
      // From the save seen by the server, on the same machine's clock: to the event's arrival,
      // to the page redrawn, and to the first frame painted after it (a task queued from the
      // frame's callback runs once the frame is out).
      var corpo = document.body;
      corpo.setAttribute("data-arrivo-ms", String(arrivo - c.rilevato));
      corpo.setAttribute("data-ritardo-ms", String(Date.now() - c.rilevato));
      requestAnimationFrame(function () {
        setTimeout(function () {
          if (compilazione === c) {
            corpo.setAttribute("data-ritardo-dipinto-ms", String(Date.now() - c.rilevato));
            corpo.setAttribute("data-compilazione-dipinta", String(c.numero));
          }
        }, 0);
      });
      document.body.setAttribute("data-compilazione", String(c.numero));
    };
  }
  if (compilazione) { document.body.setAttribute("data-compilazione", String(compilazione.numero)); }
  document.body.setAttribute("data-stato", "pronto");
})();
