# Turns files into a C++ source that holds each as a constant text, so that a page's HTML,
# CSS and JavaScript stay ordinary files and the program needs none of them at run time.
# Run as: cmake -DUSCITA=file.cc -DINTESTAZIONE=header.h -DFILE="nome=percorso|..." -P incorpora.cmake
# A constant may hold several files one after the other, in the order given: nome=a+b+c.
set(testo "// Generated from the page's files at build time.\n#include \"${INTESTAZIONE}\"\n\n")
string(REPLACE "|" ";" elenco "${FILE}")
foreach(voce IN LISTS elenco)
  string(REGEX MATCH "^([^=]+)=(.*)$" _ "${voce}")
  set(nome "${CMAKE_MATCH_1}")
  string(REPLACE "+" ";" percorsi "${CMAKE_MATCH_2}")
  set(esadecimale "")
  foreach(percorso IN LISTS percorsi)
    file(READ "${percorso}" parte HEX)
    string(APPEND esadecimale "${parte}")
  endforeach()
  string(LENGTH "${esadecimale}" cifre)
  math(EXPR lunghezza "${cifre} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," byte "${esadecimale}")
  # Lines of 16 bytes keep the generated file readable by a compiler's error messages.
  string(REGEX REPLACE "(('[^']+',){16})" "\\1\n" byte "${byte}")
  string(APPEND testo "static const char ${nome}_byte[] = {\n${byte}'\\0'};\n"
         "const std::string_view ${nome}(${nome}_byte, ${lunghezza});\n\n")
endforeach()
file(WRITE "${USCITA}.nuovo" "${testo}")
file(COPY_FILE "${USCITA}.nuovo" "${USCITA}" ONLY_IF_DIFFERENT)
file(REMOVE "${USCITA}.nuovo")
