#include "strumenti/lingua_scenario/campi_righe.h"

#include <array>
#include <limits>

#include "compiler/parole_chiave.h"

namespace {

constexpr int64_t k32 = std::numeric_limits<int32_t>::max();
constexpr int64_t kMeno32 = std::numeric_limits<int32_t>::min();
constexpr int64_t k16 = std::numeric_limits<int16_t>::max();
constexpr int64_t kMeno16 = std::numeric_limits<int16_t>::min();
constexpr int64_t k8 = std::numeric_limits<uint8_t>::max();

constexpr CampoRiga metri(std::string_view nome) { return {nome, "m", 0, k32}; }
constexpr CampoRiga numero(std::string_view nome) { return {nome, "", kMeno32, k32}; }
constexpr CampoRiga numero_16(std::string_view nome, std::string_view unita = "") {
  return {nome, unita, kMeno16, k16};
}
constexpr CampoRiga numero_8(std::string_view nome, std::string_view unita = "") {
  return {nome, unita, 0, k8};
}
constexpr CampoRiga kmh(std::string_view nome) { return {nome, "km/h", kMeno32, k32}; }

constexpr auto kLunghezza = std::to_array<CampoRiga>({{"lunghezza", "m", kMeno32, 1000000}});
constexpr auto kProgressiva = std::to_array<CampoRiga>(
    {metri("posizione"), {"valore", "m", kMeno32, k32}, {"verso", "", 0, 1}});
constexpr auto kUnValore = std::to_array<CampoRiga>({numero("valore")});
constexpr auto kRipetizione = std::to_array<CampoRiga>({metri("primo"), metri("secondo")});
constexpr auto kPendenza =
    std::to_array<CampoRiga>({metri("posizione"), {"pendenza", "per mille", -100, 155}});
constexpr auto kCurva = std::to_array<CampoRiga>({metri("inizio"), metri("lunghezza")});
constexpr auto kMontagna =
    std::to_array<CampoRiga>({metri("inizio"), metri("fine"), numero("tipo")});
constexpr auto kIndicatori = std::to_array<CampoRiga>(
    {metri("posizione"), kmh("vas"), kmh("vbs"), kmh("vcs"), numero("strisces"), kmh("vad"),
     kmh("vbd"), kmh("vcd"), numero("strisced")});
constexpr auto kCartello =
    std::to_array<CampoRiga>({metri("posizione"), {"testo", "", 0, 0, true}});
constexpr auto kVetture = std::to_array<CampoRiga>({numero("vetture")});
constexpr auto kMassa = std::to_array<CampoRiga>({{"massa frenata", "%", kMeno32, k32}});
// A speed is stored in steps of 5 km/h in one byte.
constexpr auto kVelocita =
    std::to_array<CampoRiga>({metri("posizione"), {"velocita", "km/h", 0, 1277}});
constexpr auto kAderenza = std::to_array<CampoRiga>({metri("posizione"), numero("aderenza")});
constexpr auto kOrologio = std::to_array<CampoRiga>(
    {numero_16("ore", "h"), numero_16("minuti", "min"), numero_16("secondi", "s")});
constexpr auto kSabbia = std::to_array<CampoRiga>({numero_16("sabbia")});
constexpr auto kSegnale = std::to_array<CampoRiga>(
    {metri("posizione"), numero("sx"), numero("s1"), numero("s2"), numero("s3"), numero("rapp"),
     numero("dx"), numero("d1"), numero("d2"), numero("d3"), {"tempo", "s", kMeno32, k32}});
constexpr auto kRallentamento = std::to_array<CampoRiga>(
    {metri("x"), kmh("v"), {"l", "m", kMeno32, k32}, numero("f_tt"), numero("f_ta"),
     numero("d_v")});
constexpr auto kAbbattimento = std::to_array<CampoRiga>({metri("posizione"), kmh("valore")});
constexpr auto kStazione = std::to_array<CampoRiga>({
    metri("posizione"), numero_8("categoria"), {"lunghezza", "m", kMeno32, k32},
    numero_8("marca_1"), numero_8("marca_5"), numero_8("marca_4"), numero_16("dato_1"),
    numero_16("dato_2"), numero_8("marca_2"), numero_16("dato_3"), numero_16("dato_4"),
    numero_16("dato_5"), numero_8("sosta", "s"), {"ore", "h", kMeno32, k32},
    {"minuti", "min", kMeno32, k32}, {"secondi", "s", kMeno32, k32}, {"nome", "", 0, 0, true},
});

using S = Sezione;
const auto kTipi = std::to_array<TipoRiga>({
    {S::linea_generale, "lunghezza percorso", "lunghezza della linea", "percorso", "lunghezza",
     "", false, false, Simbolo::nessuno, kLunghezza},
    {S::linea_generale, "progressiva chilometrica tre", "riferimento chilometrico", "tre",
     "progressiva", "", true, false, Simbolo::nessuno, kProgressiva},
    {S::linea_generale, "progressiva chilometrica due", "riferimento chilometrico", "due",
     "progressiva", "", true, false, Simbolo::nessuno, kProgressiva},
    {S::linea_generale, "progressiva chilometrica uno", "riferimento chilometrico", "uno",
     "progressiva", "", true, false, Simbolo::nessuno, kProgressiva},
    {S::linea_generale, "sfondo uno", "sfondo, primo valore", "sfondo", "uno", "", true, false,
     Simbolo::nessuno, kUnValore},
    {S::linea_generale, "sfondo due", "sfondo, secondo valore", "sfondo", "due", "", true, false,
     Simbolo::nessuno, kUnValore},
    {S::linea_generale, "sfondo tre", "sfondo, terzo valore", "sfondo", "tre", "", true, false,
     Simbolo::nessuno, kUnValore},
    {S::linea_generale, "ripetizione segnali 4 codici", "ripetizione dei segnali", "segnali",
     "ripetizione", "", true, false, Simbolo::nessuno, kRipetizione},
    {S::linea_principale, "pendenza", "pendenza da questa posizione", "pendenza", "", "", false,
     false, Simbolo::nessuno, kPendenza},
    {S::linea_principale, "curvas", "curva a sinistra, classe 1-6 dopo la parola", "curva", "s",
     "", false, true, Simbolo::nessuno, kCurva},
    {S::linea_principale, "curvad", "curva a destra, classe 1-6 dopo la parola", "curva", "",
     "s", false, true, Simbolo::nessuno, kCurva},
    {S::linea_principale, "montagna", "galleria", "montagna", "", "", false, false,
     Simbolo::galleria, kMontagna},
    {S::linea_principale, "indicatori_vmax", "cartelli di velocita", "indicatori_v", "", "",
     false, false, Simbolo::nessuno, kIndicatori},
    {S::linea_principale, "cartello_indicatore", "cartello con un testo", "indicat", "cartello",
     "", false, false, Simbolo::nessuno, kCartello},
    {S::treno, "percentuale massa frenata", "massa frenata del treno", "frenata", "massa", "",
     false, false, Simbolo::nessuno, kMassa},
    {S::treno, "numero vetture", "vetture del treno", "vetture", "", "", false, false,
     Simbolo::nessuno, kVetture},
    {S::treno, "velocita", "velocita massima da questa posizione", "velocit", "", "", false,
     false, Simbolo::nessuno, kVelocita},
    {S::treno, "aderenza", "aderenza da questa posizione", "aderenza", "", "", false, false,
     Simbolo::nessuno, kAderenza},
    {S::treno, "orologio", "ora di partenza dell'orologio", "orologio", "", "", false, false,
     Simbolo::nessuno, kOrologio},
    {S::treno, "sabbia", "sabbia a bordo", "sabbia", "", "", false, false, Simbolo::nessuno,
     kSabbia},
    {S::treno, "segnale", "segnale", "segnale", "", "", false, false, Simbolo::segnale, kSegnale},
    {S::treno, "rallentamento", "rallentamento", "rallentamento", "", "", false, false,
     Simbolo::rallentamento, kRallentamento},
    {S::treno, "abbattimento", "punto di velocita", "abbattimento", "", "", false, false,
     Simbolo::nessuno, kAbbattimento},
    {S::treno, "stazione", "stazione", "stazione", "", "", false, false, Simbolo::stazione,
     kStazione},
});

bool ha(const TipoRiga& t, std::string_view riga, std::string_view parola) {
  return t.esatte ? contiene_esatto(riga, parola) : contiene(riga, parola);
}

}  // namespace

std::span<const TipoRiga> tipi_righe() { return kTipi; }

std::vector<const TipoRiga*> tipi_della_riga(Sezione s, std::string_view parola_chiave,
                                             bool con_tracciato) {
  std::vector<const TipoRiga*> tipi;
  for (const TipoRiga& t : kTipi) {
    if (t.sezione == s && (con_tracciato || !t.solo_con_tracciato) &&
        ha(t, parola_chiave, t.prima) && ha(t, parola_chiave, t.seconda) &&
        (t.senza.empty() || !ha(t, parola_chiave, t.senza))) {
      tipi.push_back(&t);
    }
  }
  return tipi;
}

std::string testo_intervallo(const CampoRiga& c) {
  if (c.testo) {
    return "testo fino alla virgola o alla fine della riga";
  }
  std::string t = "da " + std::to_string(c.minimo) + " a " + std::to_string(c.massimo);
  if (!c.unita.empty()) {
    t += " " + std::string(c.unita);
  }
  return t;
}
