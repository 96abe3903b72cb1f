# Turns the help text of tvx-vidazer-batch (Hilfetext.txt) into what the build needs, so that
# --help and the manual page always say the same:
#
#   cmake -DTEXT=Hilfetext.txt -DHEADER=Hilfetext.h -P Hilfetext.cmake
#       a header with the text as a C++ string, printed by --help
#   cmake -DTEXT=Hilfetext.txt -DMANPAGE=tvx-vidazer-batch.1 -DVERSION=9.0.3 -DDATUM=2026-12-06
#         -DBEZEICHNUNG="..." -DBEISPIELDATEI=/usr/share/tvx-vidazer/wkak.zrv -P Hilfetext.cmake
#       the manual page in roff
#
# The text's layout carries its structure: the "Aufruf:" lines, then paragraphs of description,
# then headed lists ("Optionen:", "Rückgabewerte:") of entries indented by two blanks, with the
# entry's explanation two or more blanks after it and continued on lines indented deeper.
# Every output is written under a temporary name and renamed when complete.
cmake_minimum_required(VERSION 3.25)

file(READ "${TEXT}" text)

if(DEFINED HEADER)
    set(ende ")tvxhilfe\"")
    string(FIND "${text}" "${ende}" gefunden)
    if(NOT gefunden EQUAL -1)
        message(FATAL_ERROR "${TEXT} enthält ${ende}")
    endif()
    file(WRITE "${HEADER}.neu"
        "// Made at build time from batch/Hilfetext.txt, the source of the manual page too.\n"
        "#pragma once\n\n"
        "namespace batch {\n\n"
        "inline constexpr const char* kUsage = R\"tvxhilfe(${text})tvxhilfe\";\n\n"
        "} // namespace batch\n")
    file(RENAME "${HEADER}.neu" "${HEADER}")
    return()
endif()

# Text as roff: backslashes and minus signs escaped, the German letters as named glyphs, so
# that the page is plain ASCII and renders alike in every locale.
function(roff ergebnis eingabe)
    set(t "${eingabe}")
    string(REPLACE "\\" "\\e" t "${t}")
    string(REPLACE "-" "\\-" t "${t}")
    foreach(paar "ä;:a" "ö;:o" "ü;:u" "Ä;:A" "Ö;:O" "Ü;:U" "ß;ss")
        list(GET paar 0 zeichen)
        list(GET paar 1 glyphe)
        string(REPLACE "${zeichen}" "\\(${glyphe}" t "${t}")
    endforeach()
    string(REGEX MATCH "[^ -~]" fremd "${t}")
    if(fremd)
        message(FATAL_ERROR "${TEXT}: Zeichen ohne roff-Namen in: ${eingabe}")
    endif()
    if(t MATCHES "^[.']")
        set(t "\\&${t}")
    endif()
    set(${ergebnis} "${t}" PARENT_SCOPE)
endfunction()

function(ueberschrift ergebnis eingabe)
    string(REPLACE "ß" "SS" t "${eingabe}")
    roff(t "${t}")
    string(TOUPPER "${t}" t)
    set(${ergebnis} "${t}" PARENT_SCOPE)
endfunction()

roff(bezeichnung "${BEZEICHNUNG}")
roff(beispieldatei "${BEISPIELDATEI}")
# German words are not hyphenated by the English rules of the formatter.
string(CONCAT seite ".TH TVX\\-VIDAZER\\-BATCH 1 ${DATUM} \"TVX\\-Vidazer ${VERSION}\" \"Benutzerbefehle\"\n"
                    ".nh\n"
                    ".SH BEZEICHNUNG\n"
                    "tvx\\-vidazer\\-batch \\- ${bezeichnung}\n"
                    ".SH \\(:UBERSICHT\n")

# Walked line by line without CMake lists, which would take the text's ";" and "[" apart.
set(zustand aufruf)
set(nachLeerzeile FALSE)
set(beschreibungBegonnen FALSE)
string(APPEND text "\n")
while(NOT text STREQUAL "")
    string(FIND "${text}" "\n" umbruch)
    string(SUBSTRING "${text}" 0 ${umbruch} zeile)
    math(EXPR rest "${umbruch} + 1")
    string(SUBSTRING "${text}" ${rest} -1 text)

    if(zeile STREQUAL "")
        set(nachLeerzeile TRUE)
        if(zustand STREQUAL "aufruf")
            set(zustand beschreibung)
        endif()
        continue()
    endif()

    if(zustand STREQUAL "aufruf")
        string(REGEX MATCH "^(Aufruf:)? *([^ ]+) *(.*)$" _ "${zeile}")
        roff(befehl "${CMAKE_MATCH_2}")
        roff(angaben "${CMAKE_MATCH_3}")
        string(APPEND seite ".B ${befehl}\n${angaben}\n.br\n")
    elseif(nachLeerzeile AND zeile MATCHES "^([^ ].*):$")
        ueberschrift(titel "${CMAKE_MATCH_1}")
        string(APPEND seite ".SH \"${titel}\"\n")
        set(zustand liste)
    elseif(zustand STREQUAL "liste" AND zeile MATCHES "^  [^ ]")
        string(REGEX MATCH "^  ([^ ]+( [^ ]+)*)(  +(.*))?$" _ "${zeile}")
        roff(eintrag "${CMAKE_MATCH_1}")
        roff(erklaerung "${CMAKE_MATCH_4}")
        string(APPEND seite ".TP\n.B \"${eintrag}\"\n")
        if(NOT erklaerung STREQUAL "")
            string(APPEND seite "${erklaerung}\n")
        endif()
    elseif(zustand STREQUAL "liste" AND zeile MATCHES "^   +(.*)$")
        roff(fortsetzung "${CMAKE_MATCH_1}")
        string(APPEND seite "${fortsetzung}\n")
    else()
        if(NOT beschreibungBegonnen)
            string(APPEND seite ".SH BESCHREIBUNG\n")
            set(beschreibungBegonnen TRUE)
        elseif(nachLeerzeile)
            string(APPEND seite ".PP\n")
        endif()
        roff(absatzzeile "${zeile}")
        string(APPEND seite "${absatzzeile}\n")
        set(zustand beschreibung)
    endif()
    set(nachLeerzeile FALSE)
endwhile()

string(APPEND seite ".SH DATEIEN\n"
                    ".TP\n"
                    ".I ${beispieldatei}\n"
                    "Beispieldatei der Wettkampfdefinitionen\n"
                    ".SH \"SIEHE AUCH\"\n"
                    ".BR tvx\\-vidazer (1)\n")

file(WRITE "${MANPAGE}.neu" "${seite}")
file(RENAME "${MANPAGE}.neu" "${MANPAGE}")
