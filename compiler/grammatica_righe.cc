#include "compiler/grammatica_righe.h"

#include <algorithm>
#include <array>
#include <limits>

#include "compiler/parole_chiave.h"

namespace {

constexpr int64_t k32 = std::numeric_limits<int32_t>::max();
constexpr int64_t kMeno32 = std::numeric_limits<int32_t>::min();
constexpr int64_t k16 = std::numeric_limits<int16_t>::max();
constexpr int64_t kMeno16 = std::numeric_limits<int16_t>::min();
constexpr int64_t k8 = std::numeric_limits<uint8_t>::max();

using L = LarghezzaCampo;

constexpr CampoRiga numero(std::string_view nome, std::string_view unita = "") {
  return {nome, unita, L::bit_32, kMeno32, k32};
}
constexpr CampoRiga metri(std::string_view nome) {
  return {nome, "m", L::bit_32, 0, k32};
}
constexpr CampoRiga progressiva(std::string_view nome) {
  return {nome, "m", L::bit_32, 0, k32, true};
}
constexpr CampoRiga kmh(std::string_view nome) {
  return numero(nome, "km/h");
}
constexpr CampoRiga numero_16(std::string_view nome, std::string_view unita = "") {
  return {nome, unita, L::bit_16, kMeno16, k16};
}
constexpr CampoRiga numero_8(std::string_view nome, std::string_view unita = "") {
  return {nome, unita, L::bit_8, 0, k8};
}
constexpr CampoRiga testo(std::string_view nome) {
  return {nome, "", L::testo, 0, 0};
}

constexpr auto kLunghezza =
    std::to_array<CampoRiga>({{"lunghezza", "m", L::bit_32, kMeno32, 1000000}});
constexpr auto kProgressiva = std::to_array<CampoRiga>(
    {metri("posizione"), numero("valore", "m"), {"verso", "", L::bit_32, 0, 1}});
constexpr auto kUnValore = std::to_array<CampoRiga>({numero("valore")});
constexpr auto kRipetizione = std::to_array<CampoRiga>({metri("primo"), metri("secondo")});
constexpr auto kPendenza = std::to_array<CampoRiga>(
    {progressiva("posizione"), {"pendenza", "per mille", L::bit_32, -100, 155}});
constexpr auto kCurva = std::to_array<CampoRiga>({progressiva("inizio"), metri("lunghezza")});
constexpr auto kMontagna =
    std::to_array<CampoRiga>({progressiva("inizio"), progressiva("fine"), numero("tipo")});
constexpr auto kIndicatori = std::to_array<CampoRiga>(
    {progressiva("posizione"), kmh("vas"), kmh("vbs"), kmh("vcs"), numero("strisces"), kmh("vad"),
     kmh("vbd"), kmh("vcd"), numero("strisced")});
constexpr auto kCartello = std::to_array<CampoRiga>({progressiva("posizione"), testo("testo")});
constexpr auto kVetture = std::to_array<CampoRiga>({numero("vetture")});
constexpr auto kMassa = std::to_array<CampoRiga>({numero("massa frenata", "%")});
// A speed is stored in steps of 5 km/h in one byte.
constexpr auto kVelocita =
    std::to_array<CampoRiga>({progressiva("posizione"), {"velocita", "km/h", L::bit_32, 0, 1277}});
constexpr auto kAderenza = std::to_array<CampoRiga>({progressiva("posizione"), numero("aderenza")});
constexpr auto kOrologio = std::to_array<CampoRiga>(
    {numero_16("ore", "h"), numero_16("minuti", "min"), numero_16("secondi", "s")});
constexpr auto kSabbia = std::to_array<CampoRiga>({numero_16("sabbia")});
constexpr auto kSegnale = std::to_array<CampoRiga>(
    {progressiva("posizione"), numero("sx"), numero("s1"), numero("s2"), numero("s3"),
     numero("rapp"), numero("dx"), numero("d1"), numero("d2"), numero("d3"), numero("tempo", "s")});
constexpr auto kRallentamento = std::to_array<CampoRiga>(
    {progressiva("x"), kmh("v"), numero("l", "m"), numero("f_tt"), numero("f_ta"), numero("d_v")});
constexpr auto kAbbattimento = std::to_array<CampoRiga>({progressiva("posizione"), kmh("valore")});
constexpr auto kStazione = std::to_array<CampoRiga>({
    progressiva("posizione"),
    numero_8("categoria"),
    numero("lunghezza", "m"),
    numero_8("marca_1"),
    numero_8("marca_5"),
    numero_8("marca_4"),
    numero_16("dato_1"),
    numero_16("dato_2"),
    numero_8("marca_2"),
    numero_16("dato_3"),
    numero_16("dato_4"),
    numero_16("dato_5"),
    numero_8("sosta", "s"),
    numero("ore", "h"),
    numero("minuti", "min"),
    numero("secondi", "s"),
    testo("nome"),
});

using C = CodiceForma;
using S = Sezione;
using Y = Simbolo;
// The general rows of the line source match "tre", "due", "uno", "progressiva", "sfondo",
// "segnali" and "ripetizione" with their letter case, the others ignore it.
constexpr auto kForme = std::to_array<FormaRiga>({
    {C::lunghezza_percorso, S::linea_generale, "lunghezza percorso", "lunghezza della linea",
     "percorso", "lunghezza", "", false, false, Y::nessuno, kLunghezza},
    {C::progressiva_tre, S::linea_generale, "progressiva chilometrica tre",
     "riferimento chilometrico", "tre", "progressiva", "", true, false, Y::nessuno, kProgressiva},
    {C::progressiva_due, S::linea_generale, "progressiva chilometrica due",
     "riferimento chilometrico", "due", "progressiva", "", true, false, Y::nessuno, kProgressiva},
    {C::progressiva_uno, S::linea_generale, "progressiva chilometrica uno",
     "riferimento chilometrico", "uno", "progressiva", "", true, false, Y::nessuno, kProgressiva},
    {C::sfondo_uno, S::linea_generale, "sfondo uno", "sfondo, primo valore", "sfondo", "uno", "",
     true, false, Y::nessuno, kUnValore},
    {C::sfondo_due, S::linea_generale, "sfondo due", "sfondo, secondo valore", "sfondo", "due", "",
     true, false, Y::nessuno, kUnValore},
    {C::sfondo_tre, S::linea_generale, "sfondo tre", "sfondo, terzo valore", "sfondo", "tre", "",
     true, false, Y::nessuno, kUnValore},
    {C::ripetizione_segnali, S::linea_generale, "ripetizione segnali 4 codici",
     "ripetizione dei segnali", "segnali", "ripetizione", "", true, false, Y::nessuno,
     kRipetizione},
    {C::pendenza, S::linea_principale, "pendenza", "pendenza da questa posizione", "pendenza", "",
     "", false, false, Y::nessuno, kPendenza},
    // A curve bends left when its keyword holds an "s" besides "curva".
    {C::curva_sinistra, S::linea_principale, "curvas",
     "curva a sinistra, classe 1-6 dopo la parola", "curva", "s", "", false, true, Y::nessuno,
     kCurva},
    {C::curva_destra, S::linea_principale, "curvad", "curva a destra, classe 1-6 dopo la parola",
     "curva", "", "s", false, true, Y::nessuno, kCurva},
    {C::montagna, S::linea_principale, "montagna", "galleria", "montagna", "", "", false, false,
     Y::galleria, kMontagna},
    {C::indicatori_v_max, S::linea_principale, "indicatori_vmax", "cartelli di velocita",
     "indicatori_v", "", "", false, false, Y::nessuno, kIndicatori},
    {C::cartello_indicatore, S::linea_principale, "cartello_indicatore", "cartello con un testo",
     "indicat", "cartello", "", false, false, Y::nessuno, kCartello},
    {C::massa_frenata, S::treno, "percentuale massa frenata", "massa frenata del treno", "frenata",
     "massa", "", false, false, Y::nessuno, kMassa},
    {C::vetture, S::treno, "numero vetture", "vetture del treno", "vetture", "", "", false, false,
     Y::nessuno, kVetture},
    {C::velocita, S::treno, "velocita", "velocita massima da questa posizione", "velocit", "", "",
     false, false, Y::nessuno, kVelocita},
    {C::aderenza, S::treno, "aderenza", "aderenza da questa posizione", "aderenza", "", "", false,
     false, Y::nessuno, kAderenza},
    {C::orologio, S::treno, "orologio", "ora di partenza dell'orologio", "orologio", "", "", false,
     false, Y::nessuno, kOrologio},
    {C::sabbia, S::treno, "sabbia", "sabbia a bordo", "sabbia", "", "", false, false, Y::nessuno,
     kSabbia},
    {C::segnale, S::treno, "segnale", "segnale", "segnale", "", "", false, false, Y::segnale,
     kSegnale},
    {C::rallentamento, S::treno, "rallentamento", "rallentamento", "rallentamento", "", "", false,
     false, Y::rallentamento, kRallentamento},
    {C::abbattimento, S::treno, "abbattimento", "punto di velocita", "abbattimento", "", "", false,
     false, Y::nessuno, kAbbattimento},
    {C::stazione, S::treno, "stazione", "stazione", "stazione", "", "", false, false, Y::stazione,
     kStazione},
});

bool ha(const FormaRiga& f, std::string_view riga, std::string_view parola) {
  return f.esatte ? contiene_esatto(riga, parola) : contiene(riga, parola);
}

}  // namespace

std::span<const FormaRiga> forme_righe() {
  return kForme;
}

std::span<const FormaRiga> forme_della_sezione(Sezione s) {
  const auto della = [s](const FormaRiga& f) { return f.sezione == s; };
  const auto inizio = std::find_if(kForme.begin(), kForme.end(), della);
  const auto fine = std::find_if_not(inizio, kForme.end(), della);
  return {inizio, fine};
}

bool prende(const FormaRiga& f, std::string_view parola_chiave, bool con_tracciato) {
  return (con_tracciato || !f.solo_con_tracciato) && ha(f, parola_chiave, f.prima) &&
         ha(f, parola_chiave, f.seconda) && (f.senza.empty() || !ha(f, parola_chiave, f.senza));
}

const FormaRiga* forma_della_riga(Sezione s, std::string_view parola_chiave, bool con_tracciato) {
  for (const FormaRiga& f : forme_della_sezione(s)) {
    if (prende(f, parola_chiave, con_tracciato)) {
      return &f;
    }
  }
  return nullptr;
}

bool apre_generale(std::string_view parola_chiave) {
  return contiene(parola_chiave, "[generale]");
}

bool intestazione_di_sezione(std::string_view parola_chiave) {
  return contiene(parola_chiave, "[") && contiene(parola_chiave, "]") &&
         !parola_chiave.starts_with('-');
}

bool commento(std::string_view parola_chiave) {
  return contiene(parola_chiave, "-");
}
