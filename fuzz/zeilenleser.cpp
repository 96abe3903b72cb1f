// The export-file reader and the field helpers on any bytes: every line must come back as
// valid UTF-8 without CR (and without LF when the file holds no CR), split into fields that join
// to the line again, and every helper must keep its promise on every field. The reader's choice
// of line end and encoding must be the one that the whole input calls for.

#include "Pruefen.h"

#include "import/Feldhelfer.h"
#include "text/LineReader.h"
#include "text/Windows1252.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

// The reader takes a path: the input goes into a file in memory, made once.
const std::string& eingabedatei()
{
    static const std::string pfad = [] {
        const int fd = memfd_create("zeilenleser", 0);
        pruefen(fd >= 0, "memfd_create");
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return pfad;
}

void dateiFuellen(const std::uint8_t* data, std::size_t size)
{
    std::FILE* datei = std::fopen(eingabedatei().c_str(), "wb");
    pruefen(datei != nullptr, "Eingabedatei");
    if (size > 0)
        pruefen(std::fwrite(data, 1, size, datei) == size, "Eingabe schreiben");
    std::fclose(datei);
}

// LeerzeichenBereinigen as it was first written, erasing in place: quadratic on a long field, and
// kept here as the reference that the one-pass form must agree with on every input.
std::string leerzeichenReferenz(std::string_view s)
{
    std::string t(s);
    if (text::length(t) < 2)
        return t;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] != '-')
            continue;
        if (i > 0 && t[i - 1] == ' ') {
            t.erase(i - 1, 1);
            --i;
        }
        if (i + 1 < t.size() && t[i + 1] == ' ')
            t.erase(i + 1, 1);
    }
    for (std::size_t i = 0; i + 1 < t.size(); ++i) {
        if (t[i] == ' ' && t[i + 1] == ' ')
            t.erase(i + 1, 1);
    }
    return t;
}

void feldPruefen(const std::string& feld)
{
    using namespace importer;

    const std::size_t laenge = text::length(feld);
    const std::size_t haelfte = laenge / 2;
    pruefen(text::left(feld, haelfte) + text::mid(feld, haelfte) == feld, "left + mid");
    pruefen(text::length(text::right(feld, haelfte)) == haelfte, "Länge von right");
    const std::string nadel = text::mid(feld, haelfte, 2);
    const auto gefunden = text::find(feld, nadel);
    pruefen(gefunden && *gefunden <= haelfte, "find findet die eigene Teilfolge");
    pruefen(text::length(text::toUpper(feld)) == laenge, "toUpper behält die Länge");

    const std::string nummer = VereinsNummerFormatieren(feld);
    pruefen(nummer.empty() == (laenge < 4) && (nummer.empty() || text::length(nummer) == 11),
            "Mitgliedsnummer hat elf Zeichen");
    pruefen(KurzNummerFormatieren(feld).empty() == (laenge < 3), "Vereinsnummer leer nur bei kurzer Eingabe");
    VereinsnummerUmsetzen(feld);
    VerbandsKuerzel(feld);

    const std::string telefon = TelefonNormieren(feld);
    pruefen(std::count(telefon.begin(), telefon.end(), ' ') <= 1 &&
                std::all_of(telefon.begin(), telefon.end(), [](char c) { return c == ' ' || (c >= '0' && c <= '9'); }),
            "Telefonnummer aus Ziffern und höchstens einem Leerzeichen");
    const std::string ohne = SonderzeichenEntfernen(feld);
    pruefen(ohne.find_first_of(".:\",/*") == std::string::npos, "Sonderzeichen entfernt");
    pruefen(BindestricheEntfernen(feld).find('-') == std::string::npos, "Bindestriche entfernt");
    const std::string muster = LikeMuster(feld);
    pruefen(muster.find('\'') == std::string::npos && muster == text::trim(muster), "LIKE-Muster");
    pruefen(LeerzeichenBereinigen(feld) == leerzeichenReferenz(feld), "LeerzeichenBereinigen wie die Referenz");
    pruefen(ZahlAmAnfang(feld) >= 0, "Zahl am Anfang");

    const clubdb::Date datum = TextZuDatum(feld);
    const auto gelesen = clubdb::Date::fromText(datum.toText());
    pruefen(gelesen && *gelesen == datum, "Datum gespeichert und gelesen");

    pruefen(text::encodeWindows1252(text::decodeWindows1252(feld)) == feld, "Windows-1252 hin und zurück");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    dateiFuellen(data, size);
    const std::string_view eingabe(reinterpret_cast<const char*>(data), size);
    const bool mitCr = eingabe.find('\r') != std::string_view::npos;
    const bool ueber7f = std::any_of(eingabe.begin(), eingabe.end(), [](char c) { return c & 0x80; });
    text::LineReader leser(eingabedatei());
    std::string zeile;
    while (leser.readLine(zeile)) {
        pruefen(gueltigesUtf8(zeile), "Zeile ist gültiges UTF-8");
        pruefen(zeile.find_first_of(std::string_view("\r\0", 2)) == std::string::npos, "ohne CR und NUL");
        pruefen(mitCr || zeile.find('\n') == std::string::npos, "ohne CR endet die Zeile am LF");

        std::string rest = zeile;
        std::string wieder;
        const auto felder = std::count(zeile.begin(), zeile.end(), ',') + 1;
        for (long i = 0; i < felder; ++i) {
            const std::string feld = importer::NaechstesFeld(rest);
            wieder += (i ? "," : "") + feld;
            feldPruefen(feld);
        }
        pruefen(rest.empty() && wieder == zeile, "Felder ergeben die Zeile");
    }
    pruefen(leser.endsLinesAtLf() == !mitCr, "LF als Zeilenende genau dann, wenn kein CR in der Datei steht");
    pruefen(leser.isUtf8() == (eingabe.starts_with("\xEF\xBB\xBF") || (ueber7f && gueltigesUtf8(eingabe))),
            "UTF-8 genau bei Marke oder bei gültigem UTF-8 mit Bytes über 0x7F");
    return 0;
}
