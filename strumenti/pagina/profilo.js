// The profile along the chainage: altitude, the train's speed limit, the boards' speeds for
// ranks A, B and C, slow-downs, adhesion, tunnels and stations in bands one above the other,
// the station names in rows above them, and the chainage axis. It is one of the page's drawings
// (see pagina.js for what a drawing offers the page); it zooms and moves along x only, and the
// drawings along the chainage follow its view (see progressiva.js).
(function (P) {
  "use strict";
  // The bands from the top: station names, altitude, speeds, adhesion, tunnels; then the axis.
  const BANDE = (() => {
    const nomi_alto = 96, quota_alto = nomi_alto + 6, quota_basso = quota_alto + 120;
    const vel_alto = quota_basso + 26, vel_basso = vel_alto + 170;
    const ader_alto = vel_basso + 16, ader_basso = ader_alto + 44;
    const gall_alto = ader_basso + 12, gall_basso = gall_alto + 14;
    return {nomi_alto, quota_alto, quota_basso, vel_alto, vel_basso, ader_alto, ader_basso, gall_alto,
      gall_basso, altezza: gall_basso + 26};
  })();
  // A name row's height, and the room kept between two names of a row, in pixels.
  const RIGA_NOMI = 12, DISTACCO_NOMI = 6;

  // The profile of the data Q (Q.D the page's data, Q.lunghezza the line's metres) in the
  // element `svg` made anew; its listeners act through `ambiente`.
  function fai(svg, Q, ambiente) {
    const D = Q.D, lunghezza = Q.lunghezza;
    const {el, testo, a_misura} = P.elementi;
    const G = P.geometria;
    const B = BANDE;
    const LARGO = P.progressiva.LARGO;
    svg.setAttribute("viewBox", "0 0 " + LARGO.larghezza + " " + B.altezza);
    const S = P.progressiva.scala(lunghezza);
    const {utile, xm, metro_di} = S;
    el("rect", {x: LARGO.sinistra, y: B.quota_alto, width: utile, height: B.gall_basso - B.quota_alto,
      fill: "#fbfcfd"}, svg);
    // The chainage axis, drawn again for each view at a round step that fits it.
    const asse = el("g", {"class": "asse-progressiva"}, svg);
    // Texts that keep their size on screen: [element, x, y]; and the band names, kept at the
    // left edge of whatever part is shown.
    const testi = [];
    const bande = P.progressiva.margine(svg, B.altezza);
    const etichetta_banda = (y, t) => { bande.etichetta(y, t); };
    const gradini = (lista, ym, colore, spessore, classe) => {
      el("path", {d: G.gradini(lista, xm, ym), fill: "none", stroke: colore, "stroke-width": spessore,
        "class": classe}, svg);
    };

    // Altitude.
    const quote = D.quota.map((q) => q[1]);
    const q_min = quote.reduce((a, q) => Math.min(a, q), 0);
    const q_max = Math.max(quote.reduce((a, q) => Math.max(a, q), 0), q_min + 10);
    const yq = (q) => B.quota_basso - (q - q_min) / (q_max - q_min) * (B.quota_basso - B.quota_alto - 8);
    el("path", {d: D.quota.map((q, i) => (i ? "L" : "M") + xm(q[0]).toFixed(1) + " " + yq(q[1]).toFixed(1))
      .join(""), fill: "none", stroke: "var(--quota)", "stroke-width": 1.8, "class": "quota"}, svg);
    etichetta_banda(yq(q_max) + 4, Math.round(q_max) + " m");
    etichetta_banda(yq(q_min), Math.round(q_min) + " m");

    // Speeds: the train's limit, the boards of each rank, the slow-downs.
    let v_max = 40;
    for (const r of D.velocita) { v_max = Math.max(v_max, r[2] || 0); }
    for (const c of D.cartelli) { v_max = Math.max(v_max, c.v[0], c.v[1], c.v[2]); }
    v_max = Math.ceil(v_max / 20) * 20;
    const yv = (v) => B.vel_basso - v / v_max * (B.vel_basso - B.vel_alto);
    for (let v = 0; v <= v_max; v += 40) {
      el("line", {x1: LARGO.sinistra, y1: yv(v), x2: LARGO.sinistra + utile, y2: yv(v), "class": "asse"}, svg);
      etichetta_banda(yv(v) + 3, v + (v + 40 > v_max ? " km/h" : ""));
    }
    for (const r of D.rallentamenti) {
      const x = xm(r.inizio), larga = Math.max(xm(r.fine) - x, 4);
      el("rect", {x, y: yv(r.velocita), width: larga, height: B.vel_basso - yv(r.velocita),
        fill: "var(--rallentamento)", opacity: 0.8, "class": "rallentamento"}, svg);
      testi.push([testo(el("text", {x: x + larga / 2, y: yv(r.velocita) - 3, "text-anchor": "middle"}, svg),
          r.velocita), x + larga / 2, yv(r.velocita) - 3]);
    }
    ["--rango-a", "--rango-b", "--rango-c"].forEach((colore, rango) => {
      const gradini_rango = D.cartelli.map((c, i) => {
        const fine = i + 1 < D.cartelli.length ? D.cartelli[i + 1].posizione : lunghezza;
        return [c.posizione, fine, c.v[rango] > 0 ? c.v[rango] : null];
      });
      gradini(gradini_rango, yv, "var(" + colore + ")", 1.2, "rango-" + "abc"[rango]);
    });
    gradini(D.velocita.map((r) => [r[0], r[1], r[2] || null]), yv, "var(--limite)", 2.2, "limite");

    // Adhesion.
    let a_max = 1;
    for (const r of D.aderenza) { a_max = Math.max(a_max, r[2] || 0); }
    const ya = (a) => B.ader_basso - a / a_max * (B.ader_basso - B.ader_alto);
    gradini(D.aderenza.map((r) => [r[0], r[1], r[2] || null]), ya, "var(--aderenza)", 1.6, "aderenza");
    etichetta_banda(B.ader_alto + 8, "aderenza");

    // Tunnels and stations.
    etichetta_banda(B.gall_basso - 3, "gallerie");
    for (const g of D.gallerie) {
      el("rect", {x: xm(g[0]), y: B.gall_alto, width: Math.max(xm(g[1]) - xm(g[0]), 1.5),
        height: B.gall_basso - B.gall_alto, fill: "var(--galleria)", "class": "galleria-profilo"}, svg);
    }
    // Station names stand level in rows above the altitude; each view places them again.
    const nomi = [];
    for (const s of D.stazioni) {
      const x = xm(s.posizione);
      el("line", {x1: x, y1: B.quota_alto, x2: x, y2: B.gall_basso, stroke: "var(--stazione)",
        "stroke-opacity": 0.35, "class": "stazione-profilo", "data-voce": s.voce}, svg);
      el("rect", {x: xm(s.inizio), y: B.gall_alto - 6, width: Math.max(xm(s.fine) - xm(s.inizio), 2),
        height: 4, fill: "var(--stazione)"}, svg);
      const guida = el("line", {x1: x, x2: x, y1: B.nomi_alto, y2: B.quota_alto, "class": "guida-nome"}, svg);
      const nome = testo(el("text", {x, y: B.nomi_alto - 2, "text-anchor": "middle",
        fill: "var(--stazione)", "class": "nome-profilo", "data-voce": s.voce}, svg), s.nome);
      const presa = el("line", {x1: x, y1: 0, x2: x, y2: B.gall_basso, "class": "presa-stazione"}, svg);
      testo(el("title", {}, presa), s.nome + " (" + s.posizione + " m, km " +
          P.formato.km(D.chilometri, s.posizione) + ")");
      presa.addEventListener("click", (e) => { e.stopPropagation(); ambiente.vai(s.posizione, s); });
      nomi.push({e: nome, guida, x, testo: s.nome});
    }
    const righe_nomi = Math.max(Math.floor((B.nomi_alto - 4) / RIGA_NOMI), 1);

    // The layout for the view v of the whole `base`.
    function disponi(v, base) {
      const kx = v[2] / base[2], pixel = ambiente.pixel.profilo || base[2];
      const px = (x) => (x - v[0]) / v[2] * pixel;
      P.progressiva.asse(asse, v, base, S, lunghezza, B.quota_alto, B.gall_basso);
      for (const t of testi) {
        const dentro = t[1] >= v[0] - v[2] && t[1] <= v[0] + 2 * v[2];
        t[0].style.display = dentro ? "" : "none";
        if (dentro) { a_misura(t[0], t[1], t[2], kx, 1); }
      }
      bande.disponi(v, base);
      const posti = P.etichette.righe_dei_nomi(
          nomi.map((n) => ({centro: px(n.x), mezza: n.larghezza * pixel / base[2] / 2})), righe_nomi,
          LARGO.sinistra / base[2] * pixel, pixel, DISTACCO_NOMI);
      nomi.forEach((n, i) => {
        const {riga, spostamento} = posti[i];
        n.e.style.display = riga < 0 ? "none" : "";
        n.guida.style.display = riga < 0 ? "none" : "";
        if (riga < 0) { return; }
        const y = B.nomi_alto - 2 - riga * RIGA_NOMI;
        // Scaled about the station's line, and moved from it by `spostamento` pixels.
        n.e.setAttribute("x", n.x + spostamento * base[2] / pixel);
        n.e.setAttribute("y", y);
        n.guida.setAttribute("y1", y + 2);
        a_misura(n.e, n.x, y, kx, 1);
      });
    }
    // The band names over a ground of their own, above whatever a panned view brings under them.
    bande.in_cima();
    const cursore = el("line", {y1: B.quota_alto, y2: B.gall_basso, "class": "cursore",
      visibility: "hidden"}, svg);
    const cambiati = el("g", {"class": "cambiati"}, svg);

    const metro_sotto = (evento) => metro_di(P.elementi.punto_del_mouse(svg, evento).x);
    svg.addEventListener("mousemove", (evento) => {
      if (!(evento.buttons & 1)) { ambiente.punta(metro_sotto(evento)); }
    });
    svg.addEventListener("click", (evento) => {
      if (!disegno.controlli.trascinato()) { ambiente.scegli(metro_sotto(evento), "profilo"); }
    });
    P.elementi.misura_nomi(nomi, "profilo", ambiente.larghezze);
    svg.setAttribute("preserveAspectRatio", "none");
    svg.style.height = B.altezza + "px";
    const disegno = {nome: "profilo", svg, chiave: null, lungo_la_linea: true};
    disegno.controlli = P.vista.zoom_e_trascina(svg, "profilo", true, disponi, ambiente.viste,
        () => ambiente.attiva("profilo"), (v) => ambiente.vista_cambiata("profilo", v));
    // The cursor on metre m.
    disegno.mostra = (m) => {
      cursore.setAttribute("x1", xm(m));
      cursore.setAttribute("x2", xm(m));
      cursore.setAttribute("visibility", "visible");
    };
    disegno.vai = (m) => { disegno.controlli.centra(xm(m), 0, 8); };
    disegno.porta_in_vista = (m) => {
      if (!disegno.controlli.mostra(xm(m), 0)) { disegno.controlli.centra(xm(m), 0, 1); }
    };
    // The stretches [{da, a}] that the last compile changed, marked across the bands.
    disegno.segna_cambiamenti = (cambiamenti) => {
      cambiati.textContent = "";
      for (const c of cambiamenti) {
        if (c.da === null) { continue; }
        el("rect", {x: xm(c.da), y: B.quota_alto, width: Math.max(xm(c.a) - xm(c.da), 3),
          height: B.gall_basso - B.quota_alto, "class": "cambiato"}, cambiati);
      }
    };
    // The metre at the centre of the view.
    disegno.metro_al_centro = () => {
      const v = disegno.controlli.vista();
      return metro_di(v[0] + v[2] / 2);
    };
    return disegno;
  }

  P.profilo = {nome: "profilo", fai};
})(globalThis.Pagina = globalThis.Pagina || {});
if (typeof module !== "undefined") { module.exports = globalThis.Pagina; }
