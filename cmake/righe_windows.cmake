# Copies text file INGRESSO to USCITA with CR LF line ends, as Windows' own editors expect:
# `cmake -DINGRESSO=... -DUSCITA=... -P righe_windows.cmake`.
file(READ ${INGRESSO} testo)
string(REPLACE "\r\n" "\n" testo "${testo}")
string(REPLACE "\n" "\r\n" testo "${testo}")
file(WRITE ${USCITA} "${testo}")
