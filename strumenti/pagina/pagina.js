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
    var p = D.pianta;
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
  var mostra_metro = function () {};
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
  // Wheel and drag change the part of a drawing shown; only along x for the profile.
  function zoom_e_trascina(svg, nome, solo_x) {
    var base = svg.getAttribute("viewBox").split(" ").map(Number);
    var v = vista[nome] || base.slice();
    function applica() {
      svg.setAttribute("viewBox", v.join(" "));
      svg.setAttribute("data-vista", v.map(function (n) { return n.toFixed(1); }).join(" "));
      vista[nome] = v;
    }
    applica();
    svg.addEventListener("wheel", function (e) {
      e.preventDefault();
      var r = svg.getBoundingClientRect(), f = e.deltaY > 0 ? 1.25 : 0.8;
      var px = v[0] + (e.clientX - r.left) / r.width * v[2];
      var py = v[1] + (e.clientY - r.top) / r.height * v[3];
      v = [px - (px - v[0]) * f, solo_x ? v[1] : py - (py - v[1]) * f, v[2] * f,
           solo_x ? v[3] : v[3] * f];
      applica();
    }, {passive: false});
    var presa = null;
    svg.addEventListener("mousedown", function (e) { presa = [e.clientX, e.clientY, v.slice()]; });
    window.addEventListener("mouseup", function () { presa = null; });
    svg.addEventListener("mousemove", function (e) {
      if (!presa) { return; }
      var r = svg.getBoundingClientRect();
      v = [presa[2][0] - (e.clientX - presa[0]) / r.width * v[2],
           solo_x ? v[1] : presa[2][1] - (e.clientY - presa[1]) / r.height * v[3], v[2], v[3]];
      applica();
    });
    svg.addEventListener("dblclick", function () { v = base.slice(); applica(); });
  }

  function disegna() {
  lunghezza_percorso = Math.max(D.celle * D.metri_cella, 1);

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

  // --- Plan ------------------------------------------------------------------------------
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
        Math.round(E.min_y) + " a " + Math.round(E.max_y) + " m (" + D.pianta.length +
        " punti disegnati su " + D.punti + ").");
    el("rect", {x: 0, y: 0, width: larghezza, height: altezza, fill: "#fbfcfd"}, svg_pianta);
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
    testo(el("text", {x: 8, y: altezza - 8, fill: "#66727f"}, svg_pianta),
        "griglia di " + (passo >= 1000 ? passo / 1000 + " km" : passo + " m"));
    var tratto = function (punti) {
      return punti.map(function (p, i) {
        var s = pianta_scala(p[1], p[2]);
        return (i ? "L" : "M") + s[0].toFixed(1) + " " + s[1].toFixed(1);
      }).join("");
    };
    // The track goes on beyond the end of the line (D.oltre_la_linea metres): drawn lighter.
    var fine_linea = punto_a(D.lunghezza);
    var linea = D.pianta.filter(function (p) { return p[0] < D.lunghezza; });
    var oltre = D.pianta.filter(function (p) { return p[0] > D.lunghezza; });
    if (fine_linea) {
      linea.push([D.lunghezza, fine_linea[0], fine_linea[1]]);
      oltre.unshift([D.lunghezza, fine_linea[0], fine_linea[1]]);
    }
    el("path", {d: tratto(oltre), fill: "none", stroke: "var(--linea)", "stroke-width": 1.5,
        "stroke-dasharray": "6 4", opacity: 0.5, "class": "oltre-la-linea"}, svg_pianta);
    el("path", {d: tratto(linea), fill: "none", stroke: "var(--linea)", "stroke-width": 2.2,
        "stroke-linejoin": "round", "class": "linea-pianta"}, svg_pianta);
    D.gallerie.forEach(function (g) {
      var punti = [];
      var inizio = punto_a(g[0]), fine = punto_a(g[1]);
      if (inizio) { punti.push([g[0], inizio[0], inizio[1]]); }
      D.pianta.forEach(function (p) { if (p[0] > g[0] && p[0] < g[1]) { punti.push(p); } });
      if (fine) { punti.push([g[1], fine[0], fine[1]]); }
      if (punti.length > 1) {
        el("path", {d: tratto(punti), fill: "none", stroke: "var(--galleria)", "stroke-width": 6,
            "stroke-linecap": "butt", "class": "galleria-pianta"}, svg_pianta);
      }
    });
    D.segnali.forEach(function (s) {
      if (s.x === null) { return; }
      var p = pianta_scala(s.x, s.y);
      testo(el("title", {}, el("rect", {x: p[0] - 2.5, y: p[1] - 2.5, width: 5, height: 5,
          fill: "var(--segnale)", "class": "marcatore-segnale"}, svg_pianta)),
          "segnale a " + s.posizione + " m");
    });
    D.stazioni.forEach(function (s, i) {
      if (s.x === null) { return; }
      var p = pianta_scala(s.x, s.y);
      var cerchio = el("circle", {cx: p[0], cy: p[1], r: 5, fill: "#fff", stroke: "var(--stazione)",
          "stroke-width": 2.5, "class": "marcatore-stazione", "data-voce": s.voce}, svg_pianta);
      testo(el("title", {}, cerchio), s.nome + " (" + s.posizione + " m)");
      var a_destra = i % 2 === 0;
      testo(el("text", {x: p[0] + (a_destra ? 8 : -8), y: p[1] + 3.5,
          "text-anchor": a_destra ? "start" : "end", "class": "nome-stazione"}, svg_pianta), s.nome);
    });
  } else {
    testo(nota, "Il file del tracciato non ha punti calcolati.");
    svg_pianta.setAttribute("viewBox", "0 0 880 60");
  }
  var punto_pianta = el("circle", {r: 7, fill: "none", stroke: "#111827", "stroke-width": 2,
      visibility: "hidden"}, svg_pianta);

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

  // Chainage axis, every round number of kilometres.
  var passo_km = [1, 2, 5, 10, 20, 50, 100, 200].find(function (p) {
    return lunghezza_percorso / 1000 / p <= 12;
  }) || 500;
  for (var m = 0; m <= lunghezza_percorso; m += passo_km * 1000) {
    el("line", {x1: xm(m), y1: quota_alto, x2: xm(m), y2: gall_basso, "class": "asse"}, svg_profilo);
    testo(el("text", {x: xm(m), y: gall_basso + 14, "text-anchor": "middle", fill: "#66727f"},
        svg_profilo), m / 1000 + " km");
  }

  function etichetta_banda(y, t) {
    testo(el("text", {x: P.sinistra - 6, y: y, "text-anchor": "end", fill: "#66727f"},
        svg_profilo), t);
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
    testo(el("text", {x: x + larga / 2, y: yv(r.velocita) - 3, "text-anchor": "middle"},
        svg_profilo), r.velocita);
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
  D.stazioni.forEach(function (s) {
    var x = xm(s.posizione);
    el("line", {x1: x, y1: quota_alto, x2: x, y2: gall_basso, stroke: "var(--stazione)",
        "stroke-opacity": 0.35, "class": "stazione-profilo"}, svg_profilo);
    el("rect", {x: xm(s.inizio), y: gall_alto - 6, width: Math.max(xm(s.fine) - xm(s.inizio), 2),
        height: 4, fill: "var(--stazione)"}, svg_profilo);
    testo(el("text", {transform: "translate(" + (x + 3) + " " + (nomi_alto - 2) + ") rotate(-90)",
        fill: "var(--stazione)"}, svg_profilo), s.nome);
  });
  var cursore = el("line", {y1: quota_alto, y2: gall_basso, "class": "cursore",
      visibility: "hidden"}, svg_profilo);

  // --- Station table ---------------------------------------------------------------------
  var corpo = document.getElementById("righe-stazioni");
  corpo.textContent = "";
  D.stazioni.forEach(function (s) {
    var riga = el_html("tr", corpo);
    [s.voce, s.nome, s.posizione, km(s.posizione), s.inizio + " \u2013 " + s.fine,
     s.sosta || "", s.orario ? ora(s.orario) : ""].forEach(function (t) {
      testo(el_html("td", riga), t);
    });
  });

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
  function metro_del_mouse(svg, evento) {
    var punto = svg.createSVGPoint();
    punto.x = evento.clientX;
    punto.y = evento.clientY;
    return punto.matrixTransform(svg.getScreenCTM().inverse());
  }
  svg_profilo.addEventListener("mousemove", function (evento) {
    var p = metro_del_mouse(svg_profilo, evento);
    mostra((p.x - P.sinistra) / utile * lunghezza_percorso);
  });
  svg_pianta.addEventListener("mousemove", function (evento) {
    if (!pianta_scala || D.pianta.length === 0) { return; }
    var p = metro_del_mouse(svg_pianta, evento), migliore = null, distanza = Infinity;
    for (var i = 0; i + 1 < D.pianta.length; i++) {
      var a = pianta_scala(D.pianta[i][1], D.pianta[i][2]);
      var b = pianta_scala(D.pianta[i + 1][1], D.pianta[i + 1][2]);
      var lx = b[0] - a[0], ly = b[1] - a[1], l2 = lx * lx + ly * ly;
      var t = l2 ? Math.max(0, Math.min(1, ((p.x - a[0]) * lx + (p.y - a[1]) * ly) / l2)) : 0;
      var ddx = a[0] + t * lx - p.x, ddy = a[1] + t * ly - p.y, dd = ddx * ddx + ddy * ddy;
      if (dd < distanza) {
        distanza = dd;
        migliore = D.pianta[i][0] + t * (D.pianta[i + 1][0] - D.pianta[i][0]);
      }
    }
    if (migliore !== null && distanza < 400) { mostra(migliore); }
  });
  // The stretches that the last compile changed, marked in both drawings.
  (compilazione ? compilazione.cambiamenti : []).forEach(function (c) {
    if (c.da === null) { return; }
    el("rect", {x: xm(c.da), y: quota_alto, width: Math.max(xm(c.a) - xm(c.da), 3),
        height: gall_basso - quota_alto, "class": "cambiato"}, svg_profilo);
    if (!pianta_scala) { return; }
    var punti = [];
    D.pianta.forEach(function (p) { if (p[0] >= c.da && p[0] <= c.a) { punti.push(p); } });
    var inizio = punto_a(c.da), fine = punto_a(c.a);
    if (inizio) { punti.unshift([c.da, inizio[0], inizio[1]]); }
    if (fine) { punti.push([c.a, fine[0], fine[1]]); }
    if (punti.length === 1) { punti.push(punti[0]); }
    if (punti.length > 1) {
      el("path", {d: tratto(punti) + "l0.1 0", "class": "cambiato-pianta"}, svg_pianta);
    }
  });
  if (E) { zoom_e_trascina(svg_pianta, "pianta", false); }
  svg_profilo.setAttribute("preserveAspectRatio", "none");
  svg_profilo.style.height = altezza_profilo + "px";
  zoom_e_trascina(svg_profilo, "profilo", true);
  mostra_metro = mostra;
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

  if (D.celle !== undefined) { disegna(); }
  rapporto();
  if (compilazione && window.EventSource) {
    var fonte = new EventSource("/eventi");
    fonte.onmessage = function (e) {
      var c = JSON.parse(e.data);
      if (compilazione && c.numero <= compilazione.numero) { return; }
      compilazione = c;
      if (c.dati) {
        D = c.dati;
        disegna();
      }
      rapporto();
      // From the save seen by the server to the page redrawn, on the same machine's clock.
      var ritardo = Date.now() - c.rilevato;
      document.body.setAttribute("data-ritardo-ms", String(ritardo));
      document.body.setAttribute("data-compilazione", String(c.numero));
    };
  }
  if (compilazione) { document.body.setAttribute("data-compilazione", String(compilazione.numero)); }
  document.body.setAttribute("data-stato", "pronto");
})();
