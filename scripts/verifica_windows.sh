#!/usr/bin/env bash
# Checks the Windows build under Wine, on a virtual display of its own:
#  - genera_scenario.exe ends with the status of the Linux build (0 for a normal run; any other
#    after a message box) and leaves in its folder the same files, byte for byte, that the
#    Linux build leaves in its own;
#  - a file that cannot be created makes it show a message box and end with status 2, having
#    written nothing;
#  - in a folder named with Cyrillic and Chinese letters, and in one whose full path is over 300
#    characters long, it leaves the same files as the Linux build; a file that cannot be created
#    there gives a message box (photographed) and status 2;
#  - a run started in a folder that another holds writes nothing until the folder is let go,
#    and runs started together in one folder each end with status 0 and leave the bytes of one
#    run;
#  - compila_scenario.exe writes the example sources and compiles them with status 0, no
#    message, and the three binary files of the Linux build of genera_scenario;
#  - the Windows archive (scripts/pacchetti.sh zip), unpacked into a folder whose name has a
#    blank and a letter outside ASCII, holds statically linked programs, the README with CR LF
#    line ends and the example sources; there genera_scenario.exe --version and
#    compila_scenario.exe --version print what the Linux build prints, the first with no
#    window and no file, and genera_scenario.exe leaves the files of the Linux build;
#  - compila_scenario.exe --osserva serves its page on 127.0.0.1 (and refuses a foreign Host
#    and a file's path), compiles again when a source is renamed over, and ends with status 0
#    on Ctrl+C;
#  - the wait window has a client area of 4200 x 2688 twips at 96 and at 144 dpi, and its label
#    is painted.
# Installs what it needs from Debian's packages. Exits non-zero and says why on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
radice=$(pwd)

fallisci() {
  echo "verifica_windows: ERRORE: $*" >&2
  exit 1
}

# --- Packages ---------------------------------------------------------------------------------

source scripts/installa_pacchetti.sh
mancanti=()
comandi_mancanti cmake make g++
command -v x86_64-w64-mingw32-g++-posix >/dev/null || mancanti+=(g++-mingw-w64-x86-64)
# A font with Chinese letters, for the message box that names a folder with them.
for pacchetto in wine wine64 fonts-wine fonts-wqy-microhei xvfb xdotool imagemagick curl; do
  pacchetto_installato "$pacchetto" || mancanti+=("$pacchetto")
done
installa_pacchetti "${mancanti[@]}"
installa_librerie_strumenti
# ImageMagick by full path: another program named convert may come first in PATH.
magick_import=/usr/bin/import
magick_convert=/usr/bin/convert

# --- Builds -----------------------------------------------------------------------------------

./scripts/costruisci_windows.sh attesa_di_prova presa_di_prova >/dev/null
exe_windows=$radice/build/windows/app/genera_scenario.exe
exe_attesa=$radice/build/windows/prove/attesa_di_prova.exe
exe_presa=$radice/build/windows/prove/presa_di_prova.exe
exe_compila=$radice/build/windows/strumenti/compila_scenario/compila_scenario.exe
# The archive, and the Linux build of the packages beside it.
./scripts/pacchetti.sh zip >/dev/null
archivio=$(ls "$radice"/build/pacchetti/genera_scenario-*-windows-x86_64.zip)
linux_pacchetti=$radice/build/pacchetti/linux

cmake -S . -B build/windows-linux -DCMAKE_BUILD_TYPE=Release -DGENERA_TESTS=OFF \
  -DGENERA_MANUALI=OFF >/dev/null
cmake --build build/windows-linux --target genera_scenario -j"$(nproc)" >/dev/null
exe_linux=$radice/build/windows-linux/app/genera_scenario

# Pictures of this run go beside the .exe, for a person to look at; none of an earlier run stays.
rm -f build/windows/messaggio.png build/windows/guasto.png build/windows/guasto_lettere.png \
  build/windows/attesa_*.png

# --- Virtual display and Wine prefix, both this run's own ---------------------------------------

tmp=$(mktemp -d "${TMPDIR:-/tmp}/verifica_windows_XXXXXX")
xvfb_pid=""
wine_pid=""
altri_pid=()
export WINEPREFIX=$tmp/wine WINEARCH=win64 WINEDEBUG=-all
# No runtime installers offered on the first start: they would wait for a click.
export WINEDLLOVERRIDES="mscoree,mshtml="

pulisci() {
  if [ -n "$wine_pid" ]; then
    kill "$wine_pid" 2>/dev/null || true
  fi
  for pid in "${altri_pid[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  if [ -d "$WINEPREFIX" ]; then
    timeout 30 wineserver -k 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap pulisci EXIT

# Xvfb picks a free display number and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$tmp/display" ] && break
  sleep 0.1
done
[ -s "$tmp/display" ] || fallisci "Xvfb non partito: $(cat "$tmp/xvfb.log")"
DISPLAY=":$(tr -d '\n' <"$tmp/display")"
export DISPLAY

echo "Preparazione di Wine (la prima partenza e lenta)"
timeout 600 wine wineboot --init >"$tmp/wineboot.log" 2>&1 ||
  fallisci "wineboot non riuscito: $(tail -5 "$tmp/wineboot.log")"
timeout 120 wineserver -w || true

# Wine's dialog font has no Chinese letters: as on a Windows with East Asian support, the
# letters it lacks are taken from a font that has them.
timeout 60 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
  /v Tahoma /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1 ||
  fallisci "impossibile collegare un carattere cinese in Wine"

imposta_dpi() {
  timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    >/dev/null 2>&1 || fallisci "impossibile impostare $1 dpi in Wine"
}

# Starts a Windows program in the background from its own folder; wine_pid is its process.
avvia() {
  local cartella=$1 programma=$2 registro=$3
  (cd "$cartella" && exec timeout 300 wine "./$programma") >"$registro" 2>&1 &
  wine_pid=$!
}

# Waits for the program started by avvia and sets `stato` to its exit status.
attendi_fine() {
  stato=0
  wait "$wine_pid" || stato=$?
  wine_pid=""
}

# Visible windows whose caption is exactly `genera_scenario`, one id a line.
finestre() {
  xdotool search --onlyvisible --name '^genera_scenario$' 2>/dev/null || true
}

# Sets WIDTH and HEIGHT to the size of window $1. Fails, setting nothing, when the window is
# gone: the wait window of a real run can close between the search and this question.
misura() {
  local geometria
  geometria=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) || return 1
  WIDTH="" HEIGHT=""
  eval "$geometria"
  [ -n "$WIDTH" ] && [ -n "$HEIGHT" ]
}

# Whether window $1 is a message box: it has not the wait window's size, and it still has that
# size a moment later (a window that closes or changes size meanwhile was the wait window).
e_un_messaggio() {
  local larghezza altezza
  misura "$1" || return 1
  [ "$WIDTH" -ne "$larghezza_attesa" ] || [ "$HEIGHT" -ne "$altezza_attesa" ] || return 1
  larghezza=$WIDTH altezza=$HEIGHT
  sleep 0.5
  misura "$1" && [ "$WIDTH" -eq "$larghezza" ] && [ "$HEIGHT" -eq "$altezza" ]
}

# A window that is gone, as the wait window of a real run soon is, must be measured as gone.
if misura 0x7fffffff; then
  fallisci "una finestra che non esiste ha dato una misura: ${WIDTH} x ${HEIGHT}"
fi

# --- The comparison of two folders --------------------------------------------------------------

source scripts/confronta_cartelle.sh

# The comparison must see a missing file, an extra file or folder and a single changed byte.
mkdir -p "$tmp/prova/a" "$tmp/prova/b"
printf 'x\r\n' >"$tmp/prova/a/uno.txt"
printf '\001\002' >"$tmp/prova/a/due.dat"
: >"$tmp/prova/a/vuoto.txt"
touch "$tmp/prova/a/prog" "$tmp/prova/b/prog.exe"
for guasto in "rm uno.txt" "touch altro.txt" "printf '\001\003' >due.dat" "mkdir tre"; do
  rm -rf "$tmp/prova/b" && cp -r "$tmp/prova/a" "$tmp/prova/b" && mv "$tmp/prova/b/prog" \
    "$tmp/prova/b/prog.exe"
  confronta_cartelle "$tmp/prova/a" prog "$tmp/prova/b" prog.exe >/dev/null ||
    fallisci "il confronto trova differenze tra cartelle uguali"
  (cd "$tmp/prova/b" && eval "$guasto")
  if confronta_cartelle "$tmp/prova/a" prog "$tmp/prova/b" prog.exe >/dev/null; then
    fallisci "il confronto delle cartelle non vede: $guasto"
  fi
done

# --- One run on each system, then the comparison ------------------------------------------------

# The wait window's client size at 96 dpi; any other window with the program's caption is a
# message box.
larghezza_attesa=280
altezza_attesa=179

# Runs genera_scenario.exe in folder $1 to its end and sets `stato` to its exit status. A
# message box that it shows is photographed into $2 and closed with its OK button; `messaggio`
# says whether there was one.
esegui_windows() {
  local cartella=$1 foto=$2 id
  messaggio=0
  avvia "$cartella" genera_scenario.exe "$cartella.log"
  while kill -0 "$wine_pid" 2>/dev/null; do
    if [ "$messaggio" -eq 0 ]; then
      for id in $(finestre); do
        if e_un_messaggio "$id"; then
          "$magick_import" -window root "$foto"
          timeout 30 xdotool windowfocus --sync "$id" key Return ||
            fallisci "impossibile chiudere il messaggio di genera_scenario.exe, vedi $foto"
          messaggio=1
          break
        fi
      done
    fi
    sleep 0.1
  done
  attendi_fine
}

imposta_dpi 96

mkdir -p "$tmp/linux" "$tmp/windows"
cp "$exe_linux" "$tmp/linux/genera_scenario"
cp "$exe_windows" "$tmp/windows/genera_scenario.exe"

stato_linux=0
(cd "$tmp/linux" && timeout 300 ./genera_scenario) >"$tmp/linux.log" 2>&1 || stato_linux=$?
esegui_windows "$tmp/windows" "$radice/build/windows/messaggio.png"

# Both builds end a run the same way: status 0 for a normal run, and otherwise the same status,
# which on Windows comes after a message box.
[ "$stato" -eq "$stato_linux" ] ||
  fallisci "genera_scenario.exe sotto Wine e finito con stato $stato, quello per Linux con" \
    "$stato_linux (124: ancora in corso dopo 300 s).
Linux:
$(cat "$tmp/linux.log")
Wine:
$(tail -20 "$tmp/windows.log")"
if [ "$stato" -eq 0 ] && [ "$messaggio" -eq 1 ]; then
  fallisci "genera_scenario.exe ha mostrato un messaggio in un'esecuzione riuscita," \
    "vedi $radice/build/windows/messaggio.png"
fi
if [ "$stato" -ne 0 ] && [ "$messaggio" -eq 0 ]; then
  fallisci "genera_scenario.exe e finito con stato $stato senza mostrare un messaggio"
fi
if [ "$stato" -ne 0 ]; then
  echo "  nota: entrambe le esecuzioni finiscono con stato $stato; Linux dice:"
  sed 's/^/    /' "$tmp/linux.log"
fi

echo "Confronto dei file lasciati dalle due esecuzioni"
confronta_cartelle "$tmp/linux" genera_scenario "$tmp/windows" genera_scenario.exe ||
  fallisci "Linux e Windows non lasciano gli stessi file"
confrontati=$(find "$tmp/linux" -mindepth 1 -maxdepth 1 ! -name genera_scenario | wc -l)
echo "  $confrontati file identici byte per byte"

# --- The author's compiler ----------------------------------------------------------------------

# A console program: run to its end, its output kept. It writes the example into a folder
# named with Cyrillic letters and compiles it into another, with Windows paths: the arguments
# reach it whole, whatever the code page.
echo "compila_scenario.exe sull'esempio"
sorgenti='sorgenti_Пример'
mkdir -p "$tmp/autore/$sorgenti" "$tmp/autore/uscita"
cp "$exe_compila" "$tmp/autore/compila_scenario.exe"
(cd "$tmp/autore" && timeout 300 wine ./compila_scenario.exe --esempio "$sorgenti") \
  >"$tmp/esempio.log" 2>&1 || fallisci "compila_scenario.exe --esempio non riuscito:
$(tail -20 "$tmp/esempio.log")"
[ -f "$tmp/autore/$sorgenti/Tavena_Crostia_linea.txt" ] ||
  fallisci "compila_scenario.exe --esempio non ha scritto in $sorgenti:
$(tail -20 "$tmp/esempio.log")"
stato=0
(cd "$tmp/autore" && timeout 300 wine ./compila_scenario.exe \
  "$sorgenti\\Tavena_Crostia_linea.txt" "$sorgenti\\Tavena_Crostia_4417-.txt" \
  --cartella uscita) >"$tmp/compila.log" 2>"$tmp/compila.err" || stato=$?
[ "$stato" -eq 0 ] || fallisci "compila_scenario.exe sull'esempio e finito con stato $stato:
$(tail -20 "$tmp/compila.err")"
# The example's one message is the timetable's warning on its last stretch, which no train
# can keep.
avvisi=$(grep -c ': avviso: ' "$tmp/compila.err" || true)
{ [ "$avvisi" -eq 1 ] && grep -q '\[orario-impossibile-con-ogni-treno\]' "$tmp/compila.err"; } ||
  fallisci "compila_scenario.exe sull'esempio ha segnalato:
$(tail -20 "$tmp/compila.err")"
for nome in Tavena_Crostia_linea.dat Tavena_Crostia_4417.sim Tavena_Crostia_4417.dat; do
  cmp -s "$tmp/linux/$nome" "$tmp/autore/uscita/$nome" ||
    fallisci "compila_scenario.exe non scrive $nome come genera_scenario"
done
echo "  da $sorgenti: stato 0, il solo avviso dell'orario, i tre file binari di genera_scenario"

# --- The Windows archive ------------------------------------------------------------------------

echo "L'archivio per Windows, $(basename "$archivio")"
scompattato="$tmp/prova zip è"
mkdir -p "$scompattato"
(cd "$scompattato" && cmake -E tar xf "$archivio") || fallisci "$archivio non si scompatta"
cartelle=("$scompattato"/*)
[ ${#cartelle[@]} -eq 1 ] && [ -d "${cartelle[0]}" ] ||
  fallisci "l'archivio non ha una sola cartella: $(ls "$scompattato")"
dentro=${cartelle[0]}
for nome in genera_scenario.exe compila_scenario.exe ispeziona_scenario.exe README.txt \
  esempio/Tavena_Crostia_linea.txt esempio/Tavena_Crostia_4417-.txt; do
  [ -f "$dentro/$nome" ] || fallisci "l'archivio non ha $nome"
done
# Statically linked: no DLL but the system's own.
for programma in "$dentro"/*.exe; do
  estranee=$(x86_64-w64-mingw32-objdump -p "$programma" | sed -n 's/^\s*DLL Name: //p' |
    grep -viE '^(kernel32|user32|gdi32|shell32|msvcrt|ws2_32|mswsock)\.dll$' || true)
  [ -z "$estranee" ] || fallisci "$(basename "$programma") dell'archivio chiede $estranee"
done
cmp -s "$dentro/README.txt" <(sed 's/$/\r/' README.md) ||
  fallisci "il README.txt dell'archivio non e il README con fine riga CR LF"
for nome in Tavena_Crostia_linea.txt Tavena_Crostia_4417-.txt; do
  cmp -s "$dentro/esempio/$nome" "$tmp/autore/$sorgenti/$nome" ||
    fallisci "l'esempio $nome dell'archivio non e quello di compila_scenario.exe --esempio"
done
echo "  programmi senza DLL che non siano di sistema, README con CR LF, le due sorgenti"

# Each program's --version from the unpacked folder, as the Linux build prints it. Asked for
# its version, genera_scenario.exe shows no window and writes nothing.
prima=$(cd "$dentro" && find . | LC_ALL=C sort)
(cd "$dentro" && exec timeout 120 wine ./genera_scenario.exe --version) >"$tmp/versione.out" \
  2>"$tmp/versione.err" &
wine_pid=$!
while kill -0 "$wine_pid" 2>/dev/null; do
  [ -z "$(finestre)" ] || fallisci "genera_scenario.exe --version ha mostrato una finestra"
  sleep 0.05
done
attendi_fine
[ "$stato" -eq 0 ] || fallisci "genera_scenario.exe --version e finito con stato $stato:
$(tail -5 "$tmp/versione.err")"
atteso=$("$linux_pacchetti/app/genera_scenario" --version)
[ "$(tr -d '\r' <"$tmp/versione.out")" = "$atteso" ] ||
  fallisci "genera_scenario.exe --version scrive '$(cat "$tmp/versione.out")', non '$atteso'"
[ "$(cd "$dentro" && find . | LC_ALL=C sort)" = "$prima" ] ||
  fallisci "genera_scenario.exe --version ha scritto nella sua cartella"
echo "  genera_scenario.exe --version: $atteso, nessuna finestra, nessun file"
riga=$(cd "$dentro" && timeout 120 wine ./compila_scenario.exe --version 2>/dev/null |
  tr -d '\r') || fallisci "compila_scenario.exe --version non riesce"
atteso=$("$linux_pacchetti/strumenti/compila_scenario/compila_scenario" --version)
[ "$riga" = "$atteso" ] || fallisci "compila_scenario.exe --version scrive '$riga', non '$atteso'"
echo "  compila_scenario.exe --version: $riga"

# The run, beside the README, the example and the tools: it adds the files of the Linux run.
esegui_windows "$dentro" "$radice/build/windows/messaggio.png"
[ "$stato" -eq 0 ] && [ "$messaggio" -eq 0 ] ||
  fallisci "genera_scenario.exe nell'archivio scompattato e finito con stato $stato" \
    "(messaggio: $messaggio): $(tail -20 "$dentro.log")"
dopo=$(cd "$dentro" && find . | LC_ALL=C sort)
aggiunti=$(LC_ALL=C comm -13 <(echo "$prima") <(echo "$dopo") | sed 's|^\./||')
attesi=$(cd "$tmp/linux" && find . -mindepth 1 ! -name genera_scenario | sed 's|^\./||' |
  LC_ALL=C sort)
[ "$aggiunti" = "$attesi" ] || fallisci "nell'archivio scompattato la corsa ha scritto:
$aggiunti
e non:
$attesi"
for nome in $attesi; do
  cmp -s "$tmp/linux/$nome" "$dentro/$nome" ||
    fallisci "nell'archivio scompattato $nome non e quello della corsa su Linux"
done
[ -z "$(LC_ALL=C comm -23 <(echo "$prima") <(echo "$dopo"))" ] ||
  fallisci "la corsa nell'archivio scompattato ha tolto dei file"
echo "  in \"$(basename "$scompattato")\": stato 0, gli stessi $(echo "$attesi" | wc -l)" \
  "file della corsa su Linux"
# --- The watch mode -------------------------------------------------------------------------------

# compila_scenario.exe --osserva on the example: it serves its page on the loopback address,
# compiles again when a source is saved as an editor saves it (a new file renamed over the old)
# and ends with status 0 on Ctrl+C. Every wait is bounded.
echo "compila_scenario.exe --osserva sull'esempio"

# A port that nothing on this machine listens on.
porta=""
for _ in $(seq 50); do
  candidata=$((20000 + RANDOM % 40000))
  if ! (exec 3<>"/dev/tcp/127.0.0.1/$candidata") 2>/dev/null; then
    porta=$candidata
    break
  fi
done
[ -n "$porta" ] || fallisci "nessuna porta libera per compila_scenario.exe --osserva"

# Waits up to $2 tenths of a second for file $1 to hold a line matching $3.
attendi_riga() {
  local file=$1 decimi=$2 schema=$3
  for _ in $(seq "$decimi"); do
    grep -q -- "$schema" "$file" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

mkdir -p "$tmp/autore/osserva"
(cd "$tmp/autore" && exec timeout 300 wine ./compila_scenario.exe \
  "$sorgenti\\Tavena_Crostia_linea.txt" "$sorgenti\\Tavena_Crostia_4417-.txt" \
  --cartella osserva --osserva --porta "$porta") >"$tmp/osserva.log" 2>"$tmp/osserva.err" &
pid_osserva=$!
altri_pid+=("$pid_osserva")
attendi_riga "$tmp/osserva.log" 600 "^pagina su http://127.0.0.1:$porta/" ||
  fallisci "compila_scenario.exe --osserva non serve la pagina:
$(tail -20 "$tmp/osserva.log")
$(tail -20 "$tmp/osserva.err")"
# Warnings only (the timetable's on the last stretch): no error named on the line.
grep -qE '^compilazione 1: [0-9]+ problemi' "$tmp/osserva.log" ||
  fallisci "la prima compilazione di --osserva non e riuscita: $(cat "$tmp/osserva.log")"

codice=$(curl -s --max-time 20 -H "Host: 127.0.0.1:$porta" -o "$tmp/pagina.html" \
  -w '%{http_code}' "http://127.0.0.1:$porta/") || true
[ "$codice" = 200 ] || fallisci "la pagina di --osserva risponde $codice, non 200"
grep -q '<title>Scenario</title>' "$tmp/pagina.html" && grep -q 'id="numero-compilazione"' \
  "$tmp/pagina.html" || fallisci "la pagina di --osserva non e quella dello scenario:
$(head -c 300 "$tmp/pagina.html")"
codice=$(curl -s --max-time 20 -H "Host: altro.example:$porta" -o /dev/null -w '%{http_code}' \
  "http://127.0.0.1:$porta/") || true
[ "$codice" = 421 ] || fallisci "la pagina di --osserva risponde $codice a un Host estraneo, non 421"
codice=$(curl -s --max-time 20 -o /dev/null -w '%{http_code}' \
  "http://127.0.0.1:$porta/Tavena_Crostia_linea.txt") || true
[ "$codice" = 404 ] || fallisci "--osserva risponde $codice alla richiesta di un file, non 404"

# The event stream, read as it comes; the save comes once the stream holds the first compile.
curl -s --no-buffer --max-time 120 "http://127.0.0.1:$porta/eventi" >"$tmp/eventi.txt" 2>&1 &
pid_eventi=$!
altri_pid+=("$pid_eventi")
attendi_riga "$tmp/eventi.txt" 300 '^id: 1$' ||
  fallisci "il flusso di eventi non porta la prima compilazione: $(head -c 300 "$tmp/eventi.txt")"
treno=$tmp/autore/$sorgenti/Tavena_Crostia_4417-.txt
sed 's/^stazione,   10900,/stazione,   12400,/' "$treno" >"$treno.salvataggio"
cmp -s "$treno" "$treno.salvataggio" && fallisci "la modifica del treno non cambia nulla"
mv "$treno.salvataggio" "$treno"
attendi_riga "$tmp/eventi.txt" 600 '^id: 2$' ||
  fallisci "nessuna seconda compilazione nel flusso dopo il salvataggio:
$(tail -5 "$tmp/osserva.log")"
attendi_riga "$tmp/osserva.log" 100 '^compilazione 2: [0-9][0-9]* problemi' ||
  fallisci "il programma non dice la seconda compilazione: $(tail -5 "$tmp/osserva.log")"
grep -A1 '^id: 2$' "$tmp/eventi.txt" | grep -q 'stazione MORSELLO spostata da 10900 m a 12400 m' ||
  fallisci "la seconda compilazione non dice la stazione spostata:
$(grep -A1 '^id: 2$' "$tmp/eventi.txt" | head -c 600)"
kill "$pid_eventi" 2>/dev/null || true
wait "$pid_eventi" 2>/dev/null || true

# Ctrl+C as Wine gives it: SIGINT to the Unix process that runs the program (timeout passes it
# on to wine), which Wine turns into CTRL_C_EVENT for the console handlers. wineserver -k would
# end the program without letting it stop in its own way, and so would prove nothing about it.
kill -INT "$pid_osserva"
for _ in $(seq 300); do
  kill -0 "$pid_osserva" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid_osserva" 2>/dev/null; then
  kill "$pid_osserva" 2>/dev/null || true
  fallisci "compila_scenario.exe --osserva non finisce entro 30 s da Ctrl+C:
$(tail -5 "$tmp/osserva.log")"
fi
stato=0
wait "$pid_osserva" || stato=$?
[ "$stato" -eq 0 ] && grep -q '^fine' "$tmp/osserva.log" ||
  fallisci "compila_scenario.exe --osserva dopo Ctrl+C e finito con stato $stato:
$(tail -5 "$tmp/osserva.log")
$(tail -5 "$tmp/osserva.err")"
echo "  pagina servita su 127.0.0.1:$porta (200; Host estraneo 421; un file 404), una seconda" \
  "compilazione dopo un salvataggio per rinomina, stato 0 dopo Ctrl+C"

# --- A file that cannot be created ----------------------------------------------------------------

# A folder stands where the first file of the run goes, in folder $1: the run must report it in
# a message box (whose picture goes to $2) and end with status 2 once the box is closed, having
# written nothing.
verifica_guasto() {
  local cartella=$1 immagine=$2 rimasti
  mkdir -p "$cartella/Tavena_Crostia_linea.txt"
  cp "$exe_windows" "$cartella/genera_scenario.exe"
  esegui_windows "$cartella" "$immagine"
  [ "$messaggio" -eq 1 ] ||
    fallisci "nessun messaggio per un file che non si puo creare in $cartella"
  [ "$stato" -eq 2 ] || fallisci "con un file che non si puo creare in $cartella lo stato e $stato"
  rimasti=$(find "$cartella" -mindepth 1 -maxdepth 1 -type f ! -name genera_scenario.exe | wc -l)
  [ "$rimasti" -eq 0 ] || fallisci "in $cartella sono stati scritti $rimasti file"
}

verifica_guasto "$tmp/guasto" "$radice/build/windows/guasto.png"
echo "  un file che non si puo creare: messaggio, stato 2, nessun file scritto" \
  "($radice/build/windows/guasto.png)"

# --- Folders of any name and depth -----------------------------------------------------------------

echo "Cartelle con ogni nome e ogni lunghezza"

# Runs genera_scenario.exe in folder $1 and checks that it ends with status 0, shows no message
# and leaves the files of the Linux build; $2 says which folder it is.
verifica_cartella() {
  local cartella=$1 quale=$2
  mkdir -p "$cartella"
  cp "$exe_windows" "$cartella/genera_scenario.exe"
  esegui_windows "$cartella" "$radice/build/windows/messaggio.png"
  [ "$stato" -eq 0 ] && [ "$messaggio" -eq 0 ] ||
    fallisci "in $quale genera_scenario.exe e finito con stato $stato (messaggio: $messaggio)," \
      "vedi $radice/build/windows/messaggio.png:
$(tail -20 "$cartella.log")"
  confronta_cartelle "$tmp/linux" genera_scenario "$cartella" genera_scenario.exe ||
    fallisci "in $quale genera_scenario.exe non lascia i file della corsa su Linux"
  echo "  $quale: stato 0, gli stessi file della corsa su Linux"
}

# Letters outside every 8-bit code page.
verifica_cartella "$tmp/prova_测试_Пример" "una cartella prova_测试_Пример"

# A full path of more than 300 characters, Cyrillic and Chinese letters in it too.
cartella_lunga=$tmp/percorso_lungo
parte=0
while [ "${#cartella_lunga}" -le 320 ]; do
  parte=$((parte + 1))
  cartella_lunga=$cartella_lunga/cartella_numero_${parte}_测试_Пример_con_un_nome_lungo
done
verifica_cartella "$cartella_lunga" "una cartella il cui percorso ha ${#cartella_lunga} caratteri"

# The same in a folder named with those letters: the message box names the path with its real
# letters (see the picture).
verifica_guasto "$tmp/guasto_测试_Пример" "$radice/build/windows/guasto_lettere.png"
echo "  un file che non si puo creare in guasto_测试_Пример: messaggio, stato 2" \
  "($radice/build/windows/guasto_lettere.png)"

# --- One run at a time in a folder -------------------------------------------------------------

echo "Una corsa alla volta nella stessa cartella"

# While a test program holds the folder as a run holds it, a run started there writes nothing
# and does not end; once the folder is let go it does its whole job.
cartella=$tmp/presa
mkdir -p "$cartella"
cp "$exe_windows" "$cartella/genera_scenario.exe"
cp "$exe_presa" "$cartella/presa_di_prova.exe"
avvia "$cartella" presa_di_prova.exe "$cartella.log"
pid_presa=$wine_pid
altri_pid+=("$pid_presa")
wine_pid=""
for _ in $(seq 600); do
  [ -e "$cartella/pronto" ] && break
  kill -0 "$pid_presa" 2>/dev/null || break
  sleep 0.1
done
[ -e "$cartella/pronto" ] || fallisci "presa_di_prova non ha preso la cartella:
$(tail -20 "$cartella.log")"
avvia "$cartella" genera_scenario.exe "$cartella.corsa.log"
# Long enough for a run that did not wait to have written its files, many times over.
sleep 5
trovati=$(cd "$cartella" && find . -mindepth 1 -maxdepth 1 -printf '%f\n' | LC_ALL=C sort | tr '\n' ' ')
[ "$trovati" = "genera_scenario.exe presa_di_prova.exe pronto " ] ||
  fallisci "una corsa ha scritto in una cartella tenuta da un'altra: $trovati"
kill -0 "$wine_pid" 2>/dev/null ||
  fallisci "una corsa e finita mentre un'altra teneva la cartella: $(tail -5 "$cartella.corsa.log")"
touch "$cartella/fatto"
stato=0
wait "$pid_presa" || stato=$?
[ "$stato" -eq 0 ] || fallisci "presa_di_prova e finito con stato $stato"
attendi_fine
[ "$stato" -eq 0 ] || fallisci "la corsa che aspettava e finita con stato $stato:
$(tail -20 "$cartella.corsa.log")"
rm "$cartella/pronto" "$cartella/fatto" "$cartella/presa_di_prova.exe"
confronta_cartelle "$tmp/linux" genera_scenario "$cartella" genera_scenario.exe ||
  fallisci "la corsa che aspettava non lascia i file di una corsa su Linux"
echo "  una corsa aspetta la cartella tenuta da un'altra, poi scrive gli stessi file"

# Runs started together in one folder: each ends with status 0, and the folder holds the bytes
# of one run.
for quante in 2 4; do
  for ripetizione in 1 2 3; do
    cartella=$tmp/insieme_${quante}_$ripetizione
    mkdir -p "$cartella"
    cp "$exe_windows" "$cartella/genera_scenario.exe"
    pid_corse=()
    for i in $(seq "$quante"); do
      (cd "$cartella" && exec timeout 300 wine ./genera_scenario.exe) >"$cartella.$i.log" 2>&1 &
      pid_corse+=("$!")
      altri_pid+=("$!")
    done
    for i in $(seq "$quante"); do
      stato=0
      wait "${pid_corse[$((i - 1))]}" || stato=$?
      [ "$stato" -eq 0 ] || fallisci "$quante corse insieme: una e finita con stato $stato:
$(tail -20 "$cartella.$i.log")"
    done
    confronta_cartelle "$tmp/linux" genera_scenario "$cartella" genera_scenario.exe ||
      fallisci "$quante corse insieme non lasciano i file di una corsa"
  done
  echo "  $quante corse insieme nella stessa cartella, 3 volte: stato 0, gli stessi file"
done

# --- The wait window --------------------------------------------------------------------------

# Twips to pixels at `dpi` dots per inch, rounded to the nearest.
pixel() {
  echo $((($1 * $2 + 720) / 1440))
}

# Shows the wait window at `dpi`, takes its picture into build/windows/attesa_<dpi>.png and
# checks its client size and that the label's area holds dark text on a light ground.
verifica_finestra() {
  local dpi=$1 cartella=$tmp/attesa_$1 immagine=$radice/build/windows/attesa_$1.png
  local larghezza altezza x y w h id inchiostro
  larghezza=$(pixel 4200 "$dpi")
  altezza=$(pixel 2688 "$dpi")
  x=$(pixel 960 "$dpi")
  y=$(pixel 960 "$dpi")
  w=$(pixel 2652 "$dpi")
  h=$(pixel 792 "$dpi")

  imposta_dpi "$dpi"
  mkdir -p "$cartella"
  cp "$exe_attesa" "$cartella/attesa_di_prova.exe"
  avvia "$cartella" attesa_di_prova.exe "$cartella.log"
  for _ in $(seq 600); do
    [ -e "$cartella/pronto" ] && break
    kill -0 "$wine_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -e "$cartella/pronto" ] || fallisci "la finestra di attesa non e comparsa a $dpi dpi:
$(tail -20 "$cartella.log")"
  id=$(finestre | head -1)
  [ -n "$id" ] || fallisci "nessuna finestra genera_scenario visibile a $dpi dpi"

  misura "$id" || fallisci "la finestra di attesa a $dpi dpi e sparita prima di essere misurata"
  "$magick_import" -window "$id" "$immagine"
  touch "$cartella/fatto"
  attendi_fine
  [ "$stato" -eq 0 ] || fallisci "il programma della finestra di prova e finito con stato $stato"

  [ "$WIDTH" -eq "$larghezza" ] && [ "$HEIGHT" -eq "$altezza" ] ||
    fallisci "a $dpi dpi l'area della finestra e ${WIDTH} x ${HEIGHT}, non $larghezza x $altezza"
  # The share of dark pixels in the label's area: none is a blank label, all of them a window
  # that was never painted.
  inchiostro=$("$magick_convert" "$immagine" -crop "${w}x${h}+${x}+${y}" +repage \
    -colorspace Gray -threshold 50% -format '%[fx:round(1000 * (1 - mean))]' info:)
  [ "$inchiostro" -ge 20 ] && [ "$inchiostro" -le 800 ] ||
    fallisci "a $dpi dpi l'etichetta non mostra testo (pixel scuri: $inchiostro per mille)," \
      "vedi $immagine"
  echo "  finestra di attesa a $dpi dpi: $WIDTH x $HEIGHT, etichetta con $inchiostro per mille" \
    "di pixel scuri ($immagine)"
}

echo "Finestra di attesa"
verifica_finestra 96
verifica_finestra 144

echo "verifica_windows: tutto bene"
