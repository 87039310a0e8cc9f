#!/usr/bin/env bash
# Builds the two packages of the project into build/pacchetti/:
#  - the Debian package genera-scenario_<version>_<arch>.deb (CPack), from a Release build in
#    build/pacchetti/linux with Debian's hardening flags;
#  - the Windows archive genera_scenario-<version>-windows-x86_64.zip (CPack), from the cross
#    build in build/windows (scripts/costruisci_windows.sh), whose example sources are written
#    by the compila_scenario of the Linux build.
# With the argument `deb` or `zip` it builds that one alone (the zip still needs the Linux
# build's compila_scenario). Installs what it needs from Debian's packages.
set -euo pipefail
cd "$(dirname "$0")/.."
radice=$(pwd)
quali=${1:-tutti}
case $quali in
  deb | zip | tutti) ;;
  *)
    echo "uso: scripts/pacchetti.sh [deb|zip]" >&2
    exit 2
    ;;
esac

source scripts/installa_pacchetti.sh
mancanti=()
comandi_mancanti cmake make g++
# dpkg-shlibdeps (dpkg-dev) computes the package's dependencies, and CPack looks at the
# binaries with `file`; scdoc builds the manual pages. The HTTP library gives compila_scenario
# its watch mode, which the package always has.
pacchetti_mancanti dpkg-dev file scdoc nlohmann-json3-dev libcli11-dev libboost-dev
installa_pacchetti "${mancanti[@]}"

uscita=$radice/build/pacchetti
linux=$uscita/linux
mkdir -p "$uscita"

# The Linux build: Release, with the flags Debian builds its own packages with, all of the
# hardening included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$linux" -DCMAKE_BUILD_TYPE=Release -DGENERA_TESTS=OFF -DGENERA_MANUALI=ON \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$linux" -j"$(nproc)" >/dev/null

# CPack's work folders stay in the build; only the package comes out.
if [ "$quali" != zip ]; then
  rm -f "$uscita"/*.deb
  (cd "$linux" && cpack -G DEB -B "$linux/cpack" >/dev/null)
  mv "$linux"/cpack/*.deb "$uscita/"
  echo "Pacchetto Debian: $(ls "$uscita"/*.deb)"
fi

if [ "$quali" != deb ]; then
  COMPILA_SCENARIO_NATIVO=$linux/strumenti/compila_scenario/compila_scenario ./scripts/costruisci_windows.sh \
    >/dev/null
  rm -f "$uscita"/*.zip
  (cd build/windows && cpack -G ZIP -B "$radice/build/windows/cpack" >/dev/null)
  mv build/windows/cpack/*.zip "$uscita/"
  echo "Archivio per Windows: $(ls "$uscita"/*.zip)"
fi
