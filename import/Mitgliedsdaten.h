#pragma once

// One line of the members file, cleaned into the values that person matching stores: the
// member's names and title, dates, address, phone and Hochmeldung, the membership number and
// the number of the club that exported the line.

#include "clubdb/Date.h"
#include "definitions/WkAk.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace importer {

// The member record. Each text is at most one character shorter than its field in the club
// database, which leaves room for the blank that every stored text gets.
struct Mitgliedsdaten
{
    std::int64_t vereinsKey = 0; // VereinsID of the importing club
    std::string titel = " ";
    std::string nachname = " ";
    std::string vorname = " ";
    clubdb::Date geburtsdatum;
    bool weiblich = false;
    std::string mitgliedsnummer = " "; // "04-001-0027": its first six characters name the home club
    clubdb::Date eintritt;
    std::string strasse = " ";
    std::string plz = " ";
    std::string ort = " ";
    std::string telefon = " ";
    std::string mail = " "; // never filled from the file
    std::string hochmeldung = "0"; // class number of a registration in a higher class, or "0"
};

struct Mitgliedszeile
{
    std::string vereinsnummer; // cleaned number of the importing club
    Mitgliedsdaten daten;
    std::string gruende; // reasons of shortened names, each TAB + text + CR LF
};

// The class number of a Hochmeldung field when the class table knows it ("12;Senioren" is
// looked up as "12"), else "0".
std::string KlassenNrSuchen(std::string_view wert, const definitions::Klassentabelle& klassen);

// Splits an academic title off a name, tidies the name and shortens it to 20 characters at a
// blank or hyphen where possible. titel is set only when a title was found; gekuerzt tells
// whether the name had to be shortened.
struct Namensergebnis
{
    std::string name;
    std::string titel;
    bool gekuerzt = false;
};
Namensergebnis NameBereinigen(std::string_view wert);

// Takes a line of the members file apart and cleans every value. bezugsjahr is the year
// in which the import started, for the age class of a Hochmeldung.
Mitgliedszeile MitgliedszeileAuswerten(std::string_view zeile, const definitions::Definitionen& definitionen,
                                       int bezugsjahr);

} // namespace importer
