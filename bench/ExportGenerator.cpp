#include "bench/ExportGenerator.h"

#include "text/Windows1252.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <random>
#include <set>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace exportgen {
namespace {

// ---------------------------------------------------------------------------------------------
// Random numbers. std::mt19937 gives the same sequence everywhere; the mapping to ranges is
// done here, because the distributions of the standard library differ between libraries.
// Every number is drawn in a statement of its own (or in a condition): the order in which
// the operands of one expression are evaluated is not fixed by the language, and with it the
// sequence of numbers could change between compilers.

class Random
{
public:
    explicit Random(std::uint32_t seed) : m_engine(seed) {}

    // 0 .. n-1, every value equally likely (n > 0).
    std::uint32_t below(std::uint32_t n)
    {
        const std::uint64_t range = std::uint64_t{1} << 32;
        const std::uint64_t limit = range - range % n;
        std::uint64_t x = 0;
        do {
            x = static_cast<std::uint32_t>(m_engine());
        } while (x >= limit);
        return static_cast<std::uint32_t>(x % n);
    }

    int between(int lo, int hi) { return lo + static_cast<int>(below(static_cast<std::uint32_t>(hi - lo + 1))); }
    bool percent(int p) { return static_cast<int>(below(100)) < p; }
    bool perMille(int p) { return static_cast<int>(below(1000)) < p; }

    template <std::size_t N> std::uint16_t index(const std::string_view (&)[N])
    {
        return static_cast<std::uint16_t>(below(N));
    }

private:
    std::mt19937 m_engine;
};

// A choice among items of integer weights.
class Weighted
{
public:
    void add(std::uint32_t weight)
    {
        m_total += weight;
        m_cumulative.push_back(m_total);
    }
    bool empty() const { return m_cumulative.empty(); }
    std::size_t draw(Random& random) const
    {
        const std::uint64_t x = random.below(static_cast<std::uint32_t>(m_total));
        return static_cast<std::size_t>(std::upper_bound(m_cumulative.begin(), m_cumulative.end(), x) -
                                        m_cumulative.begin());
    }

private:
    std::vector<std::uint64_t> m_cumulative;
    std::uint64_t m_total = 0;
};

// ---------------------------------------------------------------------------------------------
// The lists everything is made of. Names are common German names; together with made-up
// towns, streets and postcodes no line describes a real person.

constexpr std::string_view kLastNames[] = {
    "Müller",      "Schmidt",    "Schneider", "Fischer",     "Weber",       "Meyer",      "Wagner",       "Becker",
    "Schulz",      "Hoffmann",   "Schäfer",   "Koch",        "Bauer",       "Richter",    "Klein",        "Wolf",
    "Schröder",    "Neumann",    "Schwarz",   "Zimmermann",  "Braun",       "Krüger",     "Hofmann",      "Hartmann",
    "Lange",       "Schmitt",    "Werner",    "Schmitz",     "Krause",      "Meier",      "Lehmann",      "Schmid",
    "Schulze",     "Maier",      "Köhler",    "Herrmann",    "König",       "Walter",     "Mayer",        "Huber",
    "Kaiser",      "Fuchs",      "Peters",    "Lang",        "Scholz",      "Möller",     "Weiß",         "Jung",
    "Hahn",        "Schubert",   "Vogel",     "Friedrich",   "Keller",      "Günther",    "Frank",        "Berger",
    "Winkler",     "Roth",       "Beck",      "Lorenz",      "Baumann",     "Franke",     "Albrecht",     "Schuster",
    "Simon",       "Ludwig",     "Böhm",      "Winter",      "Kraus",       "Martin",     "Schumacher",   "Krämer",
    "Vogt",        "Stein",      "Jäger",     "Otto",        "Sommer",      "Groß",       "Seidel",       "Heinrich",
    "Brandt",      "Haas",       "Schreiber", "Graf",        "Dietrich",    "Ziegler",    "Kuhn",         "Kühn",
    "Pohl",        "Engel",      "Horn",      "Busch",       "Bergmann",    "Voigt",      "Sauer",        "Arnold",
    "Wolff",       "Pfeiffer",   "Bichler",   "Gruber",      "Reiter",      "Wallner",    "Brandl",       "Eder",
    "Obermaier",   "Strauß",     "Nußbaumer", "Großhauser",  "Kößler",      "Wölfl",      "Zöttl",        "Süß",
    "Fäßler",      "Grießl",     "Mößmer",    "Häusler",     "Rößler",      "Würstl",     "Gschwendtner", "Thalhammer",
    "Daxenberger", "Hirschauer", "Zehetmair", "Kammerloher", "Mitterhuber", "Staudacher", "Loferer",      "Krönauer",
    "Prösl",       "Kürzinger",  "Brückl",    "Glück",       "Schößler",    "Weißgerber", "Stöckl",       "Höß",
    "Lößl",        "Fröschl",    "Mühlbauer", "Oßwald",      "Aigner",      "Forster",    "Lechner",      "Moser",
    "Pichler",     "Riedl",      "Steiner",   "Wimmer",      "Zeller",      "Ertl",       "Fendt",        "Gerstl",
    "Hölzl",       "Kreuzer",
};

constexpr std::string_view kApostropheNames[] = {
    "D'Angelo", "O'Brien", "O'Connor", "D'Amico", "Dell'Orto", "D'Alessandro", "O'Neill", "Dall'Ara",
};

constexpr std::string_view kMaleNames[] = {
    "Hans",      "Peter",  "Klaus",     "Wolfgang", "Jürgen",    "Michael",  "Thomas",     "Andreas",
    "Stefan",    "Markus", "Christian", "Martin",   "Josef",     "Georg",    "Franz",      "Alois",
    "Sebastian", "Johann", "Anton",     "Xaver",    "Korbinian", "Florian",  "Maximilian", "Lukas",
    "Tobias",    "Simon",  "Benedikt",  "Severin",  "Vinzenz",   "Leonhard", "Günter",     "Jörg",
    "Manfred",   "Rainer", "Bernhard",  "Walter",   "Karl",      "Ludwig",   "Rupert",     "Matthäus",
    "Andrä",     "Björn",  "Sören",     "Ulrich",   "Dieter",    "Helmut",   "Werner",     "Gerhard",
    "Alexander", "Daniel", "Jonas",     "Felix",    "Elias",     "Noah",     "Paul",       "Leon",
    "Moritz",    "Quirin", "Kilian",    "Valentin", "Wendelin",  "Jakob",    "Emil",       "Oskar",
};

constexpr std::string_view kFemaleNames[] = {
    "Maria",    "Anna",     "Ursula",    "Monika",    "Petra",    "Sabine",    "Andrea",    "Claudia",
    "Stefanie", "Martina",  "Renate",    "Gertraud",  "Kreszenz", "Theresia",  "Rosa",      "Ulrike",
    "Birgit",   "Ingrid",   "Christine", "Elisabeth", "Barbara",  "Katharina", "Franziska", "Magdalena",
    "Johanna",  "Veronika", "Regina",    "Helga",     "Bärbel",   "Käthe",     "Jördis",    "Gisela",
    "Brigitte", "Heidi",    "Karin",     "Susanne",   "Julia",    "Laura",     "Lena",      "Sophie",
    "Leonie",   "Lea",      "Hannah",    "Emma",      "Mia",      "Marie",     "Lisa",      "Sarah",
    "Walburga", "Notburga", "Zenta",     "Afra",      "Cäcilia",  "Agathe",    "Märta",     "Dörte",
};

constexpr std::string_view kDoubleFirstNames[] = {
    "Karl-Heinz", "Hans-Peter",  "Hans-Jürgen", "Franz-Josef", "Johann-Georg", "Klaus-Dieter",
    "Anna-Lena",  "Marie-Luise", "Anne-Käthe",  "Eva-Maria",   "Rosa-Maria",   "Hanne-Lore",
};

// Rarer first names, drawn after the ones above: a first name too has a long tail.
constexpr std::string_view kMoreMaleNames[] = {
    "Albert",  "Alfons",    "Alfred",    "Arnold",     "Arthur",    "August",    "Benjamin",  "Bruno",     "Burkhard",
    "Clemens", "Detlef",    "Dominik",   "Eberhard",   "Egon",      "Engelbert", "Erich",     "Ernst",     "Erwin",
    "Eugen",   "Fabian",    "Ferdinand", "Fridolin",   "Friedrich", "Gabriel",   "Gottfried", "Gregor",    "Gustav",
    "Hartmut", "Heinrich",  "Herbert",   "Hermann",    "Hubert",    "Ignaz",     "Ingo",      "Jan",       "Johannes",
    "Julian",  "Kai",       "Konrad",    "Konstantin", "Kurt",      "Lorenz",    "Lothar",    "Marcel",    "Marius",
    "Mathias", "Max",       "Michl",     "Nikolaus",   "Norbert",   "Otto",      "Pankraz",   "Patrick",   "Philipp",
    "Raimund", "Reinhold",  "Richard",   "Robert",     "Roland",    "Rudolf",    "Sepp",      "Siegfried", "Stephan",
    "Theo",    "Timo",      "Uwe",       "Veit",       "Viktor",    "Volker",    "Wastl",     "Wilhelm",   "Winfried",
    "Wolfram", "Zacharias",
};

constexpr std::string_view kMoreFemaleNames[] = {
    "Adelheid", "Agnes",    "Alexandra", "Amalie",    "Angelika", "Anita",    "Antonia",    "Beate",
    "Berta",    "Carina",   "Carola",    "Christa",   "Dagmar",   "Doris",    "Edeltraud",  "Elfriede",
    "Elke",     "Emilia",   "Erika",     "Eva",       "Fanny",    "Frieda",   "Gabriele",   "Gerda",
    "Hedwig",   "Heike",    "Hildegard", "Irmgard",   "Isabella", "Jana",     "Josefa",     "Jutta",
    "Kerstin",  "Kornelia", "Kunigunde", "Liselotte", "Luise",    "Manuela",  "Margarete",  "Marianne",
    "Marlene",  "Melanie",  "Michaela",  "Nadine",    "Nicole",   "Olga",     "Paula",      "Rita",
    "Roswitha", "Ruth",     "Sandra",    "Silke",     "Silvia",   "Simone",   "Sonja",      "Tanja",
    "Traudl",   "Ute",      "Vanessa",   "Verena",    "Viktoria", "Waltraud", "Wilhelmine", "Zita",
};

// The long tail of surnames, made of a root and an ending, most of them with a word in front:
// "Moos" + "bichler", "Hinter" + "moos" + "bichler". No part is longer than seven letters, so
// no such name is longer than twenty.
constexpr std::string_view kSurnamePrefixes[] = {
    "",    "Ober", "Unter", "Hinter", "Vorder", "Mitter", "Nieder", "Hoch",  "Groß",   "Klein", "Alt",
    "Neu", "Lang", "Schön", "Wald",   "Berg",   "See",    "Bach",   "Sonn",  "Winter", "Holz",  "Stein",
    "Hof", "Feld", "Wies",  "Eck",    "Brand",  "Kirch",  "Mühl",   "Kreuz", "Lind",   "Grün",
};

constexpr std::string_view kSurnameRoots[] = {
    "Tann",  "Fels",    "Moos",   "Eiben", "Kiesel", "Lärch",   "Säg",   "Filz",   "Hirsch", "Buch",   "Eich",
    "Lind",  "Erl",     "Weid",   "Birk",  "Hasel",  "Föhr",    "Brunn", "Wald",   "Bär",    "Wolf",   "Fuchs",
    "Rott",  "Kalt",    "Sonn",   "Hag",   "Rain",   "Grub",    "Reit",  "Lauter", "Roß",    "Gais",   "Otter",
    "Biber", "Kranich", "Lerch",  "Esch",  "Ahorn",  "Ulm",     "Espen", "Schilf", "Rohr",   "Anger",  "Au",
    "Bühl",  "Egg",     "Gries",  "Hub",   "Kogl",   "Leit",    "Matt",  "Point",  "Ried",   "Schach", "Stauden",
    "Tal",   "Wimm",    "Zell",   "Daxl",  "Enz",    "Forst",   "Gams",  "Hack",   "Horn",   "Kling",  "Lohr",
    "Mader", "Nuß",     "Pfaff",  "Quell", "Raut",   "Schwaig", "Sieg",  "Stock",  "Strobl", "Thann",  "Trauner",
    "Vogl",  "Wachs",   "Weiher", "Winkl", "Zaun",   "Amsel",   "Dachs", "Falk",   "Geier",  "Hahn",   "Igl",
    "Kreh",  "Luchs",   "Marder", "Reh",   "Specht", "Wachtl",
};

constexpr std::string_view kSurnameEndings[] = {
    "bauer",  "huber",   "maier",   "meier",   "mayr",    "hofer",  "berger",  "brunner", "gruber",  "moser",
    "eder",   "leitner", "reiter",  "bichler", "lechner", "wieser", "thaler",  "hammer",  "egger",   "stetter",
    "müller", "schmid",  "inger",   "ler",     "er",      "mann",   "reuther", "steiner", "rieder",  "dorfer",
    "hauser", "huemer",  "kofler",  "lehner",  "stöger",  "rainer", "winkler", "zeller",  "graber",  "auer",
    "ecker",  "felder",  "gartner", "hauber",  "holzer",  "kammer", "köhler",  "lindner", "mooser",  "nagl",
    "ortner", "pichler", "rauch",   "sattler", "sauter",  "seidl",  "staller", "stadler", "thurner", "wagner",
    "weber",  "wimmer",  "zach",    "zieher",  "bacher",  "binder", "bücher",  "dreher",  "fischer", "gerber",
    "hafner", "jäger",   "kainz",   "kiener",  "kramer",  "lauber", "mühlner", "neuner",  "ott",     "reischl",
    "riedl",  "kogler",  "schuh",   "seitz",   "sperl",   "steger", "hausl",   "taler",   "traxl",   "unger",
    "vogler", "walch",   "wendl",   "wirth",   "wurm",    "zehner",
};

// In front of the last name as the member administration writes them; the importer takes
// them off again.
constexpr std::string_view kTitles[] = {"Dr.", "Prof. Dr.", "Dr. med.", "Dipl.-Ing.", "Dr.-Ing.", "Dr. rer. nat."};

constexpr std::string_view kStreets[] = {
    "Hauptstraße",   "Bahnhofstraße",  "Kirchweg",     "Schulstraße",      "Am Anger",          "Lindenweg",
    "Bergstraße",    "Gartenstraße",   "Mühlweg",      "Dorfstraße",       "Untere Dorfstraße", "Obere Mühle",
    "Grüner Weg",    "Höhenweg",       "Föhrenstraße", "Enzianstraße",     "Rosenstraße",       "Kapellenweg",
    "Hangweg",       "Fichtenweg",     "Am Moosrain",  "St.-Georg-Straße", "Schützenstraße",    "Birkenallee",
    "Wiesenweg",     "Feldstraße",     "Ringstraße",   "Waldstraße",       "Sonnenstraße",      "Brunnenweg",
    "Im Winkel",     "Am Bach",        "Kreuzstraße",  "Marktplatz",       "Schloßberg",        "Jägerstraße",
    "Tannenweg",     "Ahornweg",       "Ulmenweg",     "Kastanienallee",   "Zum Sportplatz",    "An der Leiten",
    "Pfarrgasse",    "Talstraße",      "Blumenstraße", "Lerchenweg",       "Amselweg",          "Finkenweg",
    "Drosselgasse",  "Weiherstraße",   "Flurstraße",   "Am Kellerberg",    "Hofmark",           "Äußere Ringstraße",
    "Brückenstraße", "Mühlbachstraße", "Am Graben",    "Lärchenweg",       "Ölbergstraße",      "Fraunhoferstraße",
};

constexpr std::string_view kApostropheStreets[] = {"Jakob's Hof", "Am Bäcker's Eck", "Sankt-Anna's-Weg"};

constexpr std::string_view kTownRoots[] = {
    "Tann", "Fels",   "Moos",   "Eiben",  "Kiesel", "Lärchen", "Säg",    "Filz",    "Hirsch",  "Buch",
    "Eich", "Linden", "Erlen",  "Weiden", "Birken", "Hasel",   "Föhren", "Mühl",    "Brunn",   "Stein",
    "Wald", "Bären",  "Wolfs",  "Fuchs",  "Rott",   "Kalt",    "Sonn",   "Hag",     "Rain",    "Grub",
    "Reit", "Schön",  "Lauter", "Roß",    "Gais",   "Otter",   "Biber",  "Kranich", "Lerchen", "Eschen",
};

constexpr std::string_view kTownSuffixes[] = {
    "ach", "au",      "bach",  "berg",    "brunn", "dorf", "feld", "grub", "hausen", "heim",   "hofen",
    "ing", "kirchen", "reuth", "stetten", "wang",  "wies", "zell", "ried", "moos",   "leiten", "hub",
};

constexpr std::string_view kTownPrefixes[] = {"Ober", "Unter", "Hoch", "Nieder", "Alt", "Neu", "Groß", "Klein"};

constexpr std::string_view kTownAdditions[] = {" am See", " im Tal", " an der Leiten", " am Moos"};

constexpr std::string_view kDistrictRoots[] = {
    "Tannen", "Felsen",  "Linden",  "Birken", "Erlen", "Eiben",  "Föhren",    "Ahorn",    "Buchen", "Ulmen",
    "Weiden", "Kiefern", "Lärchen", "Eschen", "Hasel", "Enzian", "Wacholder", "Holunder", "Moos",   "Heide",
};

struct ClubKind
{
    std::string_view name;
    std::string_view abbreviation;
};

constexpr ClubKind kClubKinds[] = {
    {"Schützenverein", "SV"},         {"Schützengesellschaft", "SG"},  {"Feuerschützengesellschaft", "FSG"},
    {"Zimmerstutzenschützen", "ZSS"}, {"Schützengilde", "SGi"},        {"Sportschützen", "SpSch"},
    {"Schützenkameradschaft", "SK"},  {"Kleinkaliberschützen", "KKS"},
};

constexpr std::string_view kClubEpithets[] = {
    "Hubertus",   "Tell",       "Edelweiß",     "Almrausch",  "Gemütlichkeit", "Enzian",          "Alpenrose",
    "Eichenlaub", "Diana",      "Frohsinn",     "Waldeslust", "Bergfried",     "Immergrün",       "Adler",
    "Falke",      "Gut Ziel",   "Hirschsprung", "Seerose",    "Frischauf",     "Zielfrei",        "Einigkeit",
    "Eintracht",  "Heimattreu", "Wildschütz",   "Tannengrün", "Fröhlichkeit",  "Schwarzer Adler", "Kimme",
};

struct Function
{
    std::string_view male;
    std::string_view female;
    bool chairman;
};

constexpr Function kFunctions[] = {
    {"1. Schützenmeister", "1. Schützenmeisterin", true},
    {"1. Vorsitzender", "1. Vorsitzende", true},
    {"Kassier", "Kassiererin", false},
    {"Schriftführer", "Schriftführerin", false},
    {"Sportleiter", "Sportleiterin", false},
};

// Phone numbers of the ranges kept free for films and books: area code, block and the number
// of free digits after it.
struct PhoneRange
{
    std::string_view area;
    std::string_view block;
    int digits;
};

constexpr PhoneRange kPhoneRanges[] = {
    {"089", "99998", 3}, {"030", "23125", 3},  {"040", "66969", 3},   {"069", "90009", 3},
    {"0221", "4710", 3}, {"0171", "39200", 2}, {"0176", "040690", 2},
};

// Age classes of the sample definitions, men and women alternating: a Hochmeldung names one
// of them, now and then followed by its name ("10;Schützenklasse").
constexpr std::string_view kClasses[] = {"10", "11", "12", "13", "14", "15", "16",
                                         "17", "20", "21", "30", "31", "40", "41"};
constexpr std::string_view kClassNames[] = {
    "Schützenklasse", "Damenklasse",   "Altersklasse", "Damen-Altersklasse", "Senioren A",      "Seniorinnen A",
    "Senioren B",     "Seniorinnen B", "Schüler",      "Schülerinnen",       "Jugend männlich", "Jugend weiblich",
    "Junioren",       "Juniorinnen",
};

// Disciplines of the sample definitions, by how often a start right names them.
struct Discipline
{
    std::string_view spoNr;
    std::uint32_t weight;
};

constexpr Discipline kDisciplines[] = {
    {"1.10", 30},  {"2.10", 20}, {"1.80", 8}, {"1.40", 6}, {"1.35", 5}, {"1.11", 5},
    {"1.20", 3},   {"1.30", 4},  {"1.60", 3}, {"1.50", 2}, {"1.57", 2}, {"1.58 O", 4},
    {"1.58 G", 3}, {"2.20", 2},  {"2.30", 1}, {"2.40", 3}, {"2.45", 1}, {"2.50", 1},
};

// The member administration writes the variant of the 1.58 disciplines in many ways.
constexpr std::string_view kSpellings158O[] = {"1.58 O", "1.58o", "1.58-O", "1.58 o", "1.58O"};
constexpr std::string_view kSpellings158G[] = {"1.58 G", "1.58g", "1.58G", "1.58-G"};

constexpr std::uint16_t kNone = 0xFFFF;
constexpr std::uint32_t kNoPerson = 0xFFFFFFFF;

// ---------------------------------------------------------------------------------------------
// Small text helpers. All texts are UTF-8 of Latin-1 letters (one or two bytes each) until
// they are written.

std::vector<std::string> characters(std::string_view s)
{
    std::vector<std::string> result;
    for (std::size_t i = 0; i < s.size();) {
        const auto byte = static_cast<unsigned char>(s[i]);
        const std::size_t n = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        result.emplace_back(s.substr(i, n));
        i += n;
    }
    return result;
}

// Upper or lower case of ASCII letters and of the two-byte Latin-1 letters (ä Ä ö Ö ü Ü é É);
// ß has no upper case in the export's code page and stays.
std::string withCase(std::string_view s, bool upper)
{
    std::string result(s);
    for (std::size_t i = 0; i < result.size(); ++i) {
        auto& c = result[i];
        const auto byte = static_cast<unsigned char>(c);
        if (upper && byte >= 'a' && byte <= 'z')
            c = static_cast<char>(byte - 0x20);
        else if (!upper && byte >= 'A' && byte <= 'Z')
            c = static_cast<char>(byte + 0x20);
        else if (byte == 0xC3 && i + 1 < result.size()) {
            auto& next = result[i + 1];
            const auto second = static_cast<unsigned char>(next);
            if (upper && second >= 0xA0 && second <= 0xBE && second != 0xB7)
                next = static_cast<char>(second - 0x20);
            else if (!upper && second >= 0x80 && second <= 0x9E && second != 0x97 && second != 0x9F)
                next = static_cast<char>(second + 0x20);
            ++i;
        }
    }
    return result;
}

// Letters for e-mail addresses and home pages: umlauts spelt out, everything else dropped.
std::string slug(std::string_view s)
{
    std::string result;
    for (const std::string& c : characters(withCase(s, false))) {
        if (c == "ä")
            result += "ae";
        else if (c == "ö")
            result += "oe";
        else if (c == "ü")
            result += "ue";
        else if (c == "ß")
            result += "ss";
        else if (c.size() == 1 && ((c[0] >= 'a' && c[0] <= 'z') || (c[0] >= '0' && c[0] <= '9')))
            result += c;
    }
    return result;
}

std::string digits(std::uint32_t value, int width)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*u", width, value);
    return buffer;
}

// Dates as yyyymmdd.
bool leapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

std::uint32_t randomDate(Random& random, int firstYear, int lastYear)
{
    const int year = random.between(firstYear, std::max(firstYear, lastYear));
    const int month = random.between(1, 12);
    const int day = random.between(1, daysInMonth(year, month));
    return static_cast<std::uint32_t>(year * 10000 + month * 100 + day);
}

int yearOf(std::uint32_t date)
{
    return static_cast<int>(date / 10000);
}

std::string dateText(std::uint32_t date)
{
    return digits(date % 100, 2) + "." + digits(date / 100 % 100, 2) + "." + digits(date / 10000, 4);
}

// ---------------------------------------------------------------------------------------------
// Names as often as they occur in the country. The share of a surname falls with its rank as
// 1 / (rank + 30): the most common, Müller, is borne by about one person in three hundred, the
// hundred and fifty common names together by about one in five, and the rest spread over a long
// tail of made-up names, most of them borne by a few persons each. First names fall the same way
// over the common and the rarer list, the most common borne by about one man or woman in
// seventeen.
// So the larger the export, the more persons share first and last name: at a million member
// lines more than a quarter of them, the most common pair a hundred times.

constexpr std::uint32_t kTailSurnames =
    static_cast<std::uint32_t>(std::size(kSurnamePrefixes) * std::size(kSurnameRoots) * std::size(kSurnameEndings));

// Weights 1 / (rank + offset), scaled to integers, for ranks 1 to count.
Weighted byRank(std::uint32_t count, std::uint32_t offset, std::uint32_t scale)
{
    Weighted weighted;
    for (std::uint32_t rank = 1; rank <= count; ++rank)
        weighted.add(scale / (rank + offset));
    return weighted;
}

// The index of a surname: below std::size(kLastNames) a common name, above a name of the tail.
std::uint32_t drawSurname(Random& random)
{
    static const Weighted surnames =
        byRank(static_cast<std::uint32_t>(std::size(kLastNames)) + kTailSurnames, 30, 300'000'000);
    return static_cast<std::uint32_t>(surnames.draw(random));
}

// The index of a first name: below the size of the common list a common name, above a rarer one.
std::uint16_t drawFirstName(Random& random, bool female)
{
    static const Weighted men =
        byRank(static_cast<std::uint32_t>(std::size(kMaleNames) + std::size(kMoreMaleNames)), 4, 1'000'000);
    static const Weighted women =
        byRank(static_cast<std::uint32_t>(std::size(kFemaleNames) + std::size(kMoreFemaleNames)), 4, 1'000'000);
    return static_cast<std::uint16_t>((female ? women : men).draw(random));
}

std::string surname(std::uint32_t index)
{
    if (index < std::size(kLastNames))
        return std::string(kLastNames[index]);
    // Neighbouring ranks get unlike names: the rank is spread over the tail by a multiplication
    // with a prime modulo its size.
    std::uint64_t t =
        (std::uint64_t{index - static_cast<std::uint32_t>(std::size(kLastNames))} * 2654435761u) % kTailSurnames;
    const std::string_view prefix = kSurnamePrefixes[t % std::size(kSurnamePrefixes)];
    t /= std::size(kSurnamePrefixes);
    const std::string_view root = kSurnameRoots[t % std::size(kSurnameRoots)];
    t /= std::size(kSurnameRoots);
    const std::string_view ending = kSurnameEndings[t];
    if (prefix.empty())
        return std::string(root) + std::string(ending);
    return std::string(prefix) + withCase(root, false) + std::string(ending);
}

template <std::size_t N, std::size_t M>
std::string_view firstNameOf(const std::string_view (&common)[N], const std::string_view (&rarer)[M],
                             std::uint16_t index)
{
    return index < N ? common[index] : rarer[index - N];
}

// ---------------------------------------------------------------------------------------------
// The federation: districts, towns with their postcodes, clubs.

std::size_t clubsOf(const ExportOptions& options)
{
    return std::max<std::size_t>(2, (options.memberLines + options.membersPerClub / 2) / options.membersPerClub);
}

struct District
{
    std::string code; // "04"
    std::string name;
    std::vector<std::uint32_t> towns;
    Weighted townChoice;
    std::vector<std::uint32_t> clubs;
};

struct Town
{
    std::string name;
    std::uint32_t district = 0;
    std::uint32_t weight = 0;
    std::uint32_t firstPostcode = 0; // index into the postcode list
    std::uint32_t postcodeCount = 0;
};

struct Club
{
    std::string number; // "04-001"
    std::uint32_t district = 0;
    std::uint32_t town = 0;
    std::uint16_t lastNumber = 0; // the last membership number given
    std::string line;             // its line of the clubs file
};

// Hostile content of a person, as bits.
enum Hostile : std::uint16_t {
    kApostropheName = 1 << 0,
    kApostropheStreet = 1 << 1,
    kWildLastName = 1 << 2,
    kWildFirstName = 1 << 3,
    kWildStreet = 1 << 4,
    kUpperName = 1 << 5,
    kLowerName = 1 << 6,
    kUpperCaseLine = 1 << 7, // listed once more, in another club, with the name in upper case
    kEmptyFirstName = 1 << 8,
    kEmptyPostcode = 1 << 9,
};

// Kept small (indices instead of texts): a million member lines need about a million persons.
struct Person
{
    std::uint32_t last1 = 0; // see surname()
    std::uint16_t last2 = kNone;
    std::uint16_t first1 = 0;     // see firstNameOf()
    std::uint16_t first2 = kNone; // index into kDoubleFirstNames when first1 is kNone
    bool spacedHyphen = false;    // "Huber - Kastner", as some clubs type double names
    std::uint8_t title = 0;       // 0: none, else kTitles[title - 1]
    bool titleOnFirstName = false;
    bool female = false;
    bool passive = false;
    std::uint8_t hochmeldung = 0; // 0: none, else 1 + index into kClasses
    bool hochmeldungName = false;
    std::uint16_t hostile = 0;
    std::uint8_t wildPosition = 0;
    bool wildPercent = false; // "%" rather than "_"
    std::uint32_t birth = 0;
    std::uint32_t town = 0;
    std::uint32_t postcode = 0;
    std::uint16_t street = 0;
    std::uint16_t houseNumber = 0; // 0: none
    char houseLetter = 0;
    std::uint8_t phoneRange = 0; // 0: no phone, else 1 + index into kPhoneRanges
    std::uint8_t phoneStyle = 0;
    std::uint16_t phoneNumber = 0;
    std::uint32_t homeClub = 0;
    std::uint16_t number = 0; // membership number in the home club
    std::uint32_t entry = 0;
};

enum class Variant : std::uint8_t {
    Same,
    OtherPostcode, // a near-duplicate: a postcode typed wrongly
    OtherSex,      // a near-duplicate: the sex typed wrongly
    UpperCase,     // the same person with the name in upper case
};

// One line of the members file.
struct Line
{
    std::uint32_t person = 0;
    std::uint32_t club = 0;     // the club whose list holds the line (column 2)
    std::uint32_t homeClub = 0; // the club the membership number names
    std::uint16_t number = 0;
    Variant variant = Variant::Same;
    std::uint32_t entry = 0;
};

// One line of the start-rights file.
struct StartRight
{
    std::uint32_t person = 0;
    std::uint32_t homeClub = 0;
    std::uint16_t number = 0;
    std::uint32_t secondClub = 0;
    std::string spoNr;
};

class Generator
{
public:
    explicit Generator(const ExportOptions& options) : m_options(options) {}

    void buildFederation();
    void populate(Random& random, std::size_t target);
    void repeatFrom(Random& random, const Generator& first, std::size_t target);
    ExportFiles write(const std::filesystem::path& folder) const;

private:
    Person newPerson(Random& random, std::uint32_t club);
    Person familyMember(Random& random, const Person& head);
    void addPerson(Random& random, Person person, std::size_t target);
    std::uint16_t nextNumber(std::uint32_t club);
    std::uint32_t otherClub(Random& random, std::uint32_t club);
    void addStartRights(Random& random, std::uint32_t person, std::uint32_t secondClub, int count);
    int randomAge(Random& random);
    void makeHostile(Random& random, Person& person);

    std::string lastName(const Person& person, Variant variant) const;
    std::string firstName(const Person& person) const;
    std::string street(const Person& person) const;
    std::string postcode(const Person& person, Variant variant) const;
    std::string phone(const Person& person) const;
    std::string hochmeldung(const Person& person) const;
    std::string memberLine(const Line& line) const;
    void countShares(ExportFiles& files) const;
    std::string contactLine(Random& random, const Club& club, const std::string& name, const std::string& abbreviation,
                            int founded);

    const ExportOptions& m_options;
    std::vector<District> m_districts;
    std::vector<Town> m_towns;
    std::vector<std::string> m_postcodes;
    std::vector<Club> m_clubs;
    Weighted m_clubChoice;
    std::vector<Person> m_persons;
    std::vector<Line> m_lines;
    std::vector<StartRight> m_startRights;
    std::size_t m_secondMemberships = 0;
};

void Generator::buildFederation()
{
    Random random(m_options.seed);
    const std::size_t lines = m_options.memberLines;
    const std::size_t clubCount = clubsOf(m_options);
    // Two-digit district codes; "99" would mark an association instead of a club.
    const std::size_t districtCount =
        std::min<std::size_t>({clubCount, 98, std::max<std::size_t>(3, (clubCount + 119) / 120)});
    const std::size_t townCount = std::clamp<std::size_t>(clubCount * 2 / 3 + 50, 60, 700);

    for (std::size_t d = 0; d < districtCount; ++d) {
        District district;
        district.code = digits(static_cast<std::uint32_t>(d + 1), 2);
        district.name = std::string(kDistrictRoots[d % std::size(kDistrictRoots)]) + "land";
        if (d >= std::size(kDistrictRoots))
            district.name += " " + std::to_string(d / std::size(kDistrictRoots) + 1);
        m_districts.push_back(std::move(district));
    }

    // Towns of very different size: a few large ones hold many clubs and members.
    std::set<std::string> names;
    std::uint64_t totalWeight = 0;
    while (m_towns.size() < townCount) {
        std::string name;
        if (random.percent(25)) {
            name = kTownPrefixes[random.index(kTownPrefixes)];
            name += withCase(kTownRoots[random.index(kTownRoots)], false);
        } else {
            name = kTownRoots[random.index(kTownRoots)];
        }
        name += kTownSuffixes[random.index(kTownSuffixes)];
        if (random.percent(4))
            name += kTownAdditions[random.index(kTownAdditions)];
        if (!names.insert(name).second)
            continue;
        Town town;
        town.name = name;
        town.district = static_cast<std::uint32_t>(m_towns.size() * districtCount / townCount);
        const std::uint32_t size = 1 + random.below(10);
        town.weight = size * size * size;
        totalWeight += town.weight;
        m_towns.push_back(std::move(town));
    }

    // About one postcode for every 130 members, as in the country at large; a large town has
    // several. Postcodes rise with the towns, so the towns of a district share leading digits.
    const std::uint64_t wanted = std::max<std::uint64_t>(townCount, lines / 130);
    std::vector<std::uint32_t> counts;
    std::uint64_t postcodeCount = 0;
    for (const Town& town : m_towns) {
        const auto count = static_cast<std::uint32_t>(1 + (wanted - townCount) * town.weight / totalWeight);
        counts.push_back(count);
        postcodeCount += count;
    }
    const auto step = static_cast<std::uint32_t>(std::max<std::uint64_t>(1, 89000 / postcodeCount));
    std::uint32_t slot = 0;
    for (std::size_t t = 0; t < m_towns.size(); ++t) {
        m_towns[t].firstPostcode = static_cast<std::uint32_t>(m_postcodes.size());
        m_towns[t].postcodeCount = counts[t];
        for (std::uint32_t k = 0; k < counts[t]; ++k, ++slot)
            m_postcodes.push_back(digits(10000 + slot * step + random.below(step), 5));
        m_districts[m_towns[t].district].towns.push_back(static_cast<std::uint32_t>(t));
        m_districts[m_towns[t].district].townChoice.add(m_towns[t].weight);
    }

    // Clubs, numbered within their district: "04-001", "04-003", ...
    for (std::size_t d = 0; d < districtCount; ++d) {
        const std::size_t first = clubCount * d / districtCount;
        const std::size_t last = clubCount * (d + 1) / districtCount;
        const auto gap =
            static_cast<std::uint32_t>(std::clamp<std::size_t>(999 / std::max<std::size_t>(1, last - first), 1, 3));
        std::uint32_t number = 0;
        for (std::size_t c = first; c < last; ++c) {
            number += 1 + random.below(gap);
            Club club;
            club.number = m_districts[d].code + "-" + digits(number, 3);
            club.district = static_cast<std::uint32_t>(d);
            club.town = m_districts[d].towns[m_districts[d].townChoice.draw(random)];

            const ClubKind& kind = kClubKinds[random.below(std::size(kClubKinds))];
            const std::string epithet(kClubEpithets[random.index(kClubEpithets)]);
            const std::string& townName = m_towns[club.town].name;
            const int founded = random.between(1840, 1990);
            std::string name = std::string(kind.name) + " ";
            std::string abbreviation = std::string(kind.abbreviation) + " ";
            if (random.percent(30)) {
                name += townName + " " + std::to_string(founded);
                abbreviation += townName;
            } else {
                name += epithet + " " + townName;
                abbreviation += random.percent(50) ? epithet : townName;
            }
            if (random.percent(60))
                name += " e.V.";
            club.line = contactLine(random, club, name, abbreviation, founded);
            m_districts[d].clubs.push_back(static_cast<std::uint32_t>(m_clubs.size()));
            // Club sizes: most between 20 and 200 members, one in ten far larger.
            const std::uint32_t size = 20 + random.below(181);
            m_clubChoice.add(size + (random.percent(10) ? 250 : 0));
            m_clubs.push_back(std::move(club));
        }
    }
}

// The line of the clubs file: office address, contact person, phone, mail and home page.
std::string Generator::contactLine(Random& random, const Club& club, const std::string& name,
                                   const std::string& abbreviation, int founded)
{
    const Town& town = m_towns[club.town];
    const bool female = random.percent(30);
    const Function& function = kFunctions[random.below(std::size(kFunctions))];
    const std::string first(female ? kFemaleNames[random.index(kFemaleNames)] : kMaleNames[random.index(kMaleNames)]);
    const std::string last(kLastNames[random.index(kLastNames)]);
    const std::string street(kStreets[random.index(kStreets)]);
    const std::string house = std::to_string(random.between(1, 60));
    const std::string& code = m_postcodes[town.firstPostcode + random.below(town.postcodeCount)];
    const PhoneRange& range = kPhoneRanges[random.below(5)];
    const std::string phone1 =
        std::string(range.area) + " " + std::string(range.block) + digits(random.below(1000), range.digits);
    const std::string phone2 = random.percent(40) ? std::string(range.area) + "/" + std::string(range.block) +
                                                        digits(random.below(1000), range.digits)
                                                  : std::string();
    const std::string domain = random.percent(50) ? "example.org" : random.percent(50) ? "example.com" : "example.net";
    const std::string id = slug(abbreviation) + (random.percent(20) ? std::to_string(founded) : "");
    const std::string clubTown = random.percent(85) ? town.name : std::string();

    const std::string& district = m_districts[club.district].code;
    return district + "," + club.number + "," + name + "," + abbreviation + "," +
           std::string(female ? function.female : function.male) + "," + last + "," + first + "," + street + "," +
           house + "," + code + "," + town.name + "," + phone1 + "," + phone2 + ",,," + "vorstand." + id + "@" +
           domain + "," + "www." + id + ".example" + "," + std::to_string(founded) + "," + clubTown;
}

int Generator::randomAge(Random& random)
{
    // Members of shooting clubs: youth, many in middle and older age.
    const int bucket = random.between(0, 99);
    if (bucket < 12)
        return random.between(10, 17);
    if (bucket < 26)
        return random.between(18, 29);
    if (bucket < 52)
        return random.between(30, 49);
    if (bucket < 82)
        return random.between(50, 69);
    return random.between(70, 92);
}

Person Generator::newPerson(Random& random, std::uint32_t club)
{
    Person p;
    p.homeClub = club;
    p.female = random.percent(35);
    p.passive = random.percent(15);
    p.last1 = drawSurname(random);
    if (random.perMille(35)) {
        // A double name joins two common names.
        p.last1 = random.index(kLastNames);
        p.last2 = random.index(kLastNames);
        p.spacedHyphen = random.percent(15);
    }
    if (random.perMille(40)) {
        std::uint16_t k = 0;
        do {
            k = random.index(kDoubleFirstNames);
        } while ((k >= 6) != p.female);
        p.first1 = kNone;
        p.first2 = k;
    } else {
        p.first1 = drawFirstName(random, p.female);
    }
    const int age = randomAge(random);
    p.birth = randomDate(random, m_options.exportYear - age - 1, m_options.exportYear - age - 1);
    if (age >= 28 && random.perMille(25)) {
        p.title = static_cast<std::uint8_t>(1 + random.below(std::size(kTitles)));
        p.titleOnFirstName = random.percent(20);
    }
    // Hochmeldung: mostly young members registered for the next older class; now and then an
    // adult for any class, which may be the one of their age anyway.
    const int sex = p.female ? 1 : 0;
    if (age <= 20 && random.percent(12)) {
        const int older = age <= 14 ? 10 : age <= 17 ? 12 : 0; // Jugend, Junioren, Schützenklasse
        p.hochmeldung = static_cast<std::uint8_t>(1 + older + sex);
    } else if (age > 20 && random.perMille(8)) {
        p.hochmeldung = static_cast<std::uint8_t>(1 + 2 * random.below(std::size(kClasses) / 2) + sex);
    }
    p.hochmeldungName = p.hochmeldung != 0 && random.percent(10);

    // Most members live in the club's town, the others in a town of the same district.
    const District& district = m_districts[m_clubs[club].district];
    p.town = random.percent(80) ? m_clubs[club].town : district.towns[district.townChoice.draw(random)];
    const Town& town = m_towns[p.town];
    p.postcode = town.firstPostcode + random.below(town.postcodeCount);
    p.street = random.index(kStreets);
    if (!random.perMille(15)) {
        p.houseNumber =
            static_cast<std::uint16_t>(random.percent(85) ? random.between(1, 40) : random.between(41, 180));
        if (random.percent(8))
            p.houseLetter = random.percent(70) ? 'a' : 'b';
    }
    if (random.percent(70)) {
        p.phoneRange = static_cast<std::uint8_t>(1 + random.below(std::size(kPhoneRanges)));
        p.phoneStyle = static_cast<std::uint8_t>(random.below(6));
        p.phoneNumber = static_cast<std::uint16_t>(random.below(1000));
    }
    makeHostile(random, p);
    return p;
}

// Another member of the same household: same address and phone, mostly the same last name.
Person Generator::familyMember(Random& random, const Person& head)
{
    Person p = newPerson(random, head.homeClub);
    if (random.percent(90)) {
        p.last1 = head.last1;
        p.last2 = head.last2;
        p.spacedHyphen = head.spacedHyphen;
        p.hostile =
            static_cast<std::uint16_t>((p.hostile & ~(kApostropheName | kWildLastName | kUpperName | kLowerName)) |
                                       (head.hostile & (kApostropheName | kWildLastName | kUpperName | kLowerName)));
        p.wildPosition = head.wildPosition;
        p.wildPercent = head.wildPercent;
    }
    p.town = head.town;
    p.postcode = head.postcode;
    p.street = head.street;
    p.houseNumber = head.houseNumber;
    p.houseLetter = head.houseLetter;
    p.hostile = static_cast<std::uint16_t>((p.hostile & ~(kApostropheStreet | kWildStreet | kEmptyPostcode)) |
                                           (head.hostile & (kApostropheStreet | kWildStreet | kEmptyPostcode)));
    p.phoneRange = head.phoneRange;
    p.phoneStyle = head.phoneStyle;
    p.phoneNumber = head.phoneNumber;
    return p;
}

void Generator::makeHostile(Random& random, Person& p)
{
    const int share = m_options.hostilePercent;
    std::uint16_t bits = 0;
    if (m_options.apostrophes && random.percent(share)) {
        if (random.percent(75)) {
            bits |= kApostropheName;
            p.last1 = random.index(kApostropheNames);
            p.last2 = kNone;
        } else {
            bits |= kApostropheStreet;
            p.street = random.index(kApostropheStreets);
        }
    }
    if (m_options.wildcards && random.percent(share)) {
        const int field = random.between(0, 3);
        bits |= field < 2 ? kWildLastName : field == 2 ? kWildFirstName : kWildStreet;
        p.wildPosition = static_cast<std::uint8_t>(random.below(200));
        p.wildPercent = random.percent(50);
    }
    if (m_options.letterCase && random.percent(share)) {
        const int kind = random.between(0, 3);
        bits |= kind < 2 ? kUpperCaseLine : kind == 2 ? kUpperName : kLowerName;
    }
    if (m_options.emptyFirstNames && random.percent(share))
        bits |= kEmptyFirstName;
    if (m_options.emptyPostcodes && random.percent(share))
        bits |= kEmptyPostcode;
    p.hostile = bits;
}

std::uint16_t Generator::nextNumber(std::uint32_t club)
{
    // Numbers of members who left are not given again: gaps of up to two.
    Club& c = m_clubs[club];
    const auto gap = static_cast<std::uint16_t>(1 + (c.lastNumber * 7u + club) % 3);
    if (c.lastNumber + gap > 9999)
        throw std::logic_error("Mitgliedsnummern eines Vereins erschöpft");
    c.lastNumber = static_cast<std::uint16_t>(c.lastNumber + gap);
    return c.lastNumber;
}

// A club near the given one (mostly of the same district), never the club itself.
std::uint32_t Generator::otherClub(Random& random, std::uint32_t club)
{
    const District& district = m_districts[m_clubs[club].district];
    if (district.clubs.size() > 1 && random.percent(75)) {
        std::uint32_t other = club;
        while (other == club)
            other = district.clubs[random.below(static_cast<std::uint32_t>(district.clubs.size()))];
        return other;
    }
    std::uint32_t other = club;
    while (other == club)
        other = random.below(static_cast<std::uint32_t>(m_clubs.size()));
    return other;
}

void Generator::addStartRights(Random& random, std::uint32_t person, std::uint32_t secondClub, int count)
{
    static const Weighted disciplines = [] {
        Weighted w;
        for (const Discipline& d : kDisciplines)
            w.add(d.weight);
        return w;
    }();
    const Person& p = m_persons[person];
    for (int i = 0; i < count; ++i) {
        std::string spoNr(kDisciplines[disciplines.draw(random)].spoNr);
        if (spoNr == "1.58 O")
            spoNr = kSpellings158O[random.index(kSpellings158O)];
        else if (spoNr == "1.58 G")
            spoNr = kSpellings158G[random.index(kSpellings158G)];
        m_startRights.push_back({person, p.homeClub, p.number, secondClub, spoNr});
        // Now and then the member administration lists a start right twice.
        if (random.perMille(5))
            m_startRights.push_back(m_startRights.back());
    }
}

void Generator::addPerson(Random& random, Person person, std::size_t target)
{
    person.number = nextNumber(person.homeClub);
    person.entry = randomDate(random, std::max(yearOf(person.birth) + 8, 1955), m_options.exportYear - 1);
    const auto index = static_cast<std::uint32_t>(m_persons.size());
    m_persons.push_back(person);
    m_lines.push_back({index, person.homeClub, person.homeClub, person.number, Variant::Same, person.entry});
    const int entryYear = yearOf(person.entry);

    // A second club, listed there under the membership number of the home club; a few are in
    // a third club too. Most of them may start for the second club in a discipline or two.
    if (m_lines.size() < target && random.percent(10)) {
        const int clubs = random.percent(8) ? 2 : 1;
        std::uint32_t previous = person.homeClub;
        for (int k = 0; k < clubs && m_lines.size() < target; ++k) {
            std::uint32_t second = otherClub(random, person.homeClub);
            if (second == previous)
                continue;
            previous = second;
            m_lines.push_back({index, second, person.homeClub, person.number, Variant::Same,
                               randomDate(random, entryYear, m_options.exportYear - 1)});
            ++m_secondMemberships;
            if (random.percent(70))
                addStartRights(random, index, second, random.percent(20) ? 2 : 1);
        }
    }
    // Start rights for a club in whose list the person does not stand: the start-rights import
    // creates that membership.
    if (random.perMille(12))
        addStartRights(random, index, otherClub(random, person.homeClub), 1);

    // Registered once more, in another club, under a new membership number: exactly the same
    // person, or with the postcode or the sex typed wrongly.
    if (m_lines.size() < target && random.perMille(5)) {
        const std::uint32_t club = otherClub(random, person.homeClub);
        m_lines.push_back({index, club, club, nextNumber(club), Variant::Same,
                           randomDate(random, entryYear, m_options.exportYear - 1)});
    }
    if (m_lines.size() < target && random.perMille(5)) {
        const std::uint32_t club = otherClub(random, person.homeClub);
        const Variant variant = random.percent(50) ? Variant::OtherPostcode : Variant::OtherSex;
        m_lines.push_back(
            {index, club, club, nextNumber(club), variant, randomDate(random, entryYear, m_options.exportYear - 1)});
    }
    if (m_lines.size() < target && (person.hostile & kUpperCaseLine)) {
        const std::uint32_t club = otherClub(random, person.homeClub);
        m_lines.push_back({index, club, club, nextNumber(club), Variant::UpperCase,
                           randomDate(random, entryYear, m_options.exportYear - 1)});
    }
}

void Generator::populate(Random& random, std::size_t target)
{
    while (m_lines.size() < target) {
        const auto club = static_cast<std::uint32_t>(m_clubChoice.draw(random));
        const Person head = newPerson(random, club);
        addPerson(random, head, target);
        // Families: a spouse, a child or two at the same address.
        const int others = random.percent(30) ? (random.percent(40) ? 2 : 1) : 0;
        for (int k = 0; k < others && m_lines.size() < target; ++k)
            addPerson(random, familyMember(random, head), target);
    }
}

// The persons of the first export that this one lists again, with their lines and start
// rights; a few of them under a new membership number in their home club.
void Generator::repeatFrom(Random& random, const Generator& first, std::size_t target)
{
    m_clubs = first.m_clubs; // the membership numbers given go on from there
    std::vector<std::uint32_t> newIndex(first.m_persons.size(), kNoPerson);
    std::vector<bool> decided(first.m_persons.size(), false);
    std::vector<bool> renumbered(first.m_persons.size(), false);
    for (const Line& line : first.m_lines) {
        if (m_lines.size() >= target)
            break;
        const std::uint32_t old = line.person;
        if (!decided[old]) {
            decided[old] = true;
            if (!random.percent(m_options.repeatedPercent))
                continue;
            newIndex[old] = static_cast<std::uint32_t>(m_persons.size());
            m_persons.push_back(first.m_persons[old]);
            renumbered[old] = random.percent(10);
        }
        if (newIndex[old] == kNoPerson)
            continue;
        Line copy = line;
        copy.person = newIndex[old];
        if (renumbered[old] && line.club == line.homeClub && line.number == first.m_persons[old].number)
            copy.number = nextNumber(line.homeClub);
        else if (line.club != line.homeClub)
            ++m_secondMemberships;
        m_lines.push_back(copy);
    }
    for (const StartRight& right : first.m_startRights) {
        if (newIndex[right.person] != kNoPerson) {
            StartRight copy = right;
            copy.person = newIndex[right.person];
            m_startRights.push_back(copy);
        }
    }
}

std::string applyWildcard(std::string_view value, const Person& p)
{
    std::vector<std::string> chars = characters(value);
    if (chars.size() < 2)
        return std::string(p.wildPercent ? "%" : "_") + std::string(value);
    chars[1 + p.wildPosition % (chars.size() - 1)] = p.wildPercent ? "%" : "_";
    std::string result;
    for (const std::string& c : chars)
        result += c;
    return result;
}

std::string Generator::lastName(const Person& p, Variant variant) const
{
    std::string name = p.hostile & kApostropheName ? std::string(kApostropheNames[p.last1]) : surname(p.last1);
    if (p.last2 != kNone)
        name += (p.spacedHyphen ? " - " : "-") + std::string(kLastNames[p.last2]);
    if (p.hostile & kWildLastName)
        name = applyWildcard(name, p);
    if ((p.hostile & kUpperName) || variant == Variant::UpperCase)
        name = withCase(name, true);
    else if (p.hostile & kLowerName)
        name = withCase(name, false);
    return name;
}

std::string Generator::firstName(const Person& p) const
{
    if (p.hostile & kEmptyFirstName)
        return "";
    std::string name(p.first1 == kNone ? kDoubleFirstNames[p.first2]
                     : p.female        ? firstNameOf(kFemaleNames, kMoreFemaleNames, p.first1)
                                       : firstNameOf(kMaleNames, kMoreMaleNames, p.first1));
    if (p.hostile & kWildFirstName)
        name = applyWildcard(name, p);
    return name;
}

std::string Generator::street(const Person& p) const
{
    std::string name(p.hostile & kApostropheStreet ? kApostropheStreets[p.street] : kStreets[p.street]);
    if (p.hostile & kWildStreet)
        name = applyWildcard(name, p);
    return name;
}

std::string Generator::postcode(const Person& p, Variant variant) const
{
    if (p.hostile & kEmptyPostcode)
        return "";
    std::string code = m_postcodes[p.postcode];
    if (variant == Variant::OtherPostcode) {
        // Two digits swapped, or the last one mistyped when they are equal.
        if (code[3] != code[4])
            std::swap(code[3], code[4]);
        else
            code[4] = static_cast<char>('0' + (code[4] - '0' + 1) % 10);
    }
    return code;
}

std::string Generator::phone(const Person& p) const
{
    if (p.phoneRange == 0)
        return "";
    const PhoneRange& r = kPhoneRanges[p.phoneRange - 1];
    const std::string area(r.area);
    const std::string block(r.block);
    const std::string tail = digits(p.phoneNumber % (r.digits == 3 ? 1000u : 100u), r.digits);
    switch (p.phoneStyle) {
    case 0:
        return area + " " + block + tail;
    case 1:
        return area + "/" + block + tail;
    case 2:
        return area + " / " + block + " " + tail;
    case 3:
        return "+49 " + area.substr(1) + " " + block + tail;
    case 4:
        return area + " " + block + "-" + tail;
    default:
        return area + block + tail;
    }
}

std::string Generator::hochmeldung(const Person& p) const
{
    if (p.hochmeldung == 0)
        return "";
    std::string value(kClasses[p.hochmeldung - 1]);
    if (p.hochmeldungName)
        value += ";" + std::string(kClassNames[p.hochmeldung - 1]);
    return value;
}

// The twenty columns the members import reads: district, club, membership number, entry,
// status, salutation, last name, first name, birth date, sex, Hochmeldung, nationality, three
// unused columns, street, house number, postcode, town, phone.
std::string Generator::memberLine(const Line& line) const
{
    const Person& p = m_persons[line.person];
    const bool female = line.variant == Variant::OtherSex ? !p.female : p.female;
    std::string last = lastName(p, line.variant);
    std::string first = firstName(p);
    if (p.title != 0) {
        std::string& named = p.titleOnFirstName ? first : last;
        named = std::string(kTitles[p.title - 1]) + " " + named;
    }
    const std::string house =
        p.houseNumber == 0 ? std::string()
                           : std::to_string(p.houseNumber) + (p.houseLetter ? std::string(1, p.houseLetter) : "");
    std::string result;
    result.reserve(160);
    result += m_districts[m_clubs[line.club].district].code;
    result += ',';
    result += m_clubs[line.club].number;
    result += ',';
    result += m_clubs[line.homeClub].number + "-" + digits(line.number, 4);
    result += ',';
    result += dateText(line.entry);
    result += p.passive ? ",P," : ",A,";
    result += female ? "Frau," : "Herr,";
    result += last + "," + first + "," + dateText(p.birth) + (female ? ",W," : ",M,");
    result += hochmeldung(p) + ",D,,,,";
    result += street(p) + "," + house + "," + postcode(p, line.variant) + "," + m_towns[p.town].name + "," + phone(p);
    return result;
}

// Writes lines in Windows-1252 with CR LF, or in the form the options ask for, in large blocks.
class FileWriter
{
public:
    FileWriter(const std::filesystem::path& path, const ExportOptions& options)
        : m_path(path), m_file(path, std::ios::binary | std::ios::trunc), m_utf8(options.utf8),
          m_lineEnd(options.lfLineEnds ? "\n" : "\r\n")
    {
        if (!m_file)
            throw std::runtime_error("Die Datei " + path.string() + " konnte nicht angelegt werden.");
    }

    void line(std::string_view utf8)
    {
        // Through Windows-1252 in both forms, so that both carry the same characters.
        const std::string bytes = text::encodeWindows1252(utf8);
        m_buffer += m_utf8 ? text::decodeWindows1252(bytes) : bytes;
        m_buffer += m_lineEnd;
        ++m_lines;
        if (m_buffer.size() >= (1u << 20))
            flush();
    }

    std::size_t close()
    {
        flush();
        m_file.close();
        if (!m_file)
            throw std::runtime_error("Die Datei " + m_path.string() + " konnte nicht geschrieben werden.");
        return m_lines;
    }

private:
    void flush()
    {
        m_file.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
        m_buffer.clear();
    }

    std::filesystem::path m_path;
    std::ofstream m_file;
    bool m_utf8;
    std::string_view m_lineEnd;
    std::string m_buffer;
    std::size_t m_lines = 0;
};

ExportFiles Generator::write(const std::filesystem::path& folder) const
{
    std::filesystem::create_directories(folder);
    const std::string suffix = "_" + std::to_string(m_options.exportYear) + ".csv";
    ExportFiles files;
    files.districts = folder / (m_options.filePrefix + "_K" + suffix);
    files.clubs = folder / (m_options.filePrefix + "_V" + suffix);
    files.members = folder / (m_options.filePrefix + "_M" + suffix);
    files.startRights = folder / (m_options.filePrefix + "_Z" + suffix);

    // Districts: shown by the program, never converted. Their own random numbers, so that
    // they change nothing else.
    Random random(m_options.seed ^ 0x6b43a9b5u);
    FileWriter districts(files.districts, m_options);
    for (const District& d : m_districts) {
        const bool female = random.percent(30);
        const std::string last(kLastNames[random.index(kLastNames)]);
        const std::string first(female ? kFemaleNames[random.index(kFemaleNames)]
                                       : kMaleNames[random.index(kMaleNames)]);
        const std::string streetName(kStreets[random.index(kStreets)]);
        const std::string house = std::to_string(random.between(1, 40));
        const std::string phoneNumber = "089 99998-" + digits(random.below(1000), 3);
        const Town& town = m_towns[d.towns.front()];
        const std::string id = slug(d.name);
        districts.line(d.code + "," + d.code + ",Bezirk " + d.name + "," +
                       (female ? "Bezirksschützenmeisterin," : "Bezirksschützenmeister,") + last + "," + first + "," +
                       streetName + "," + house + "," + m_postcodes[town.firstPostcode] + "," + town.name + "," +
                       phoneNumber + ",,,,bezirk-" + id + "@example.org,www.bezirk-" + id + ".example");
    }
    files.districtLines = districts.close();

    FileWriter clubs(files.clubs, m_options);
    for (const Club& c : m_clubs)
        clubs.line(c.line);
    files.clubLines = clubs.close();

    // Members: club by club, in the order of the membership numbers, as the export lists them.
    std::vector<std::uint32_t> order(m_lines.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<std::uint32_t>(i);
    std::stable_sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
        const Line& x = m_lines[a];
        const Line& y = m_lines[b];
        if (x.club != y.club)
            return x.club < y.club;
        if (x.homeClub != y.homeClub)
            return x.homeClub < y.homeClub;
        return x.number < y.number;
    });
    FileWriter members(files.members, m_options);
    for (const std::uint32_t i : order)
        members.line(memberLine(m_lines[i]));
    files.memberLines = members.close();

    // Start rights: six columns, ordered by the home membership.
    std::vector<std::uint32_t> rights(m_startRights.size());
    for (std::size_t i = 0; i < rights.size(); ++i)
        rights[i] = static_cast<std::uint32_t>(i);
    std::stable_sort(rights.begin(), rights.end(), [this](std::uint32_t a, std::uint32_t b) {
        const StartRight& x = m_startRights[a];
        const StartRight& y = m_startRights[b];
        if (x.homeClub != y.homeClub)
            return x.homeClub < y.homeClub;
        return x.number < y.number;
    });
    FileWriter startRights(files.startRights, m_options);
    for (const std::uint32_t i : rights) {
        const StartRight& r = m_startRights[i];
        const std::string number = m_clubs[r.homeClub].number + "-" + digits(r.number, 4);
        startRights.line(m_districts[m_clubs[r.homeClub].district].code + "," + m_clubs[r.homeClub].number + "," +
                         number + "," + m_clubs[r.secondClub].number + "," + number + "," + r.spoNr);
    }
    files.startRightLines = startRights.close();

    files.persons = m_persons.size();
    files.secondMemberships = m_secondMemberships;
    countShares(files);
    return files;
}

void Generator::countShares(ExportFiles& files) const
{
    std::unordered_map<std::string, std::uint32_t> names;
    std::vector<std::uint32_t> postcodes(m_postcodes.size());
    for (const Person& p : m_persons) {
        ++names[lastName(p, Variant::Same) + ',' + firstName(p)];
        if (!(p.hostile & kEmptyPostcode))
            ++postcodes[p.postcode];
    }
    for (const auto& [name, count] : names) {
        if (count > 1)
            files.namesakes += count;
        files.largestNamesakes = std::max<std::size_t>(files.largestNamesakes, count);
    }
    for (const std::uint32_t count : postcodes) {
        files.postcodes += count > 0;
        files.largestPostcode = std::max<std::size_t>(files.largestPostcode, count);
    }
}

} // namespace

ExportOptions ExportOptions::hostile(std::uint32_t seed, std::size_t memberLines)
{
    ExportOptions options;
    options.seed = seed;
    options.memberLines = memberLines;
    options.apostrophes = true;
    options.wildcards = true;
    options.letterCase = true;
    options.emptyFirstNames = true;
    options.emptyPostcodes = true;
    return options;
}

ExportFiles generateExport(const std::filesystem::path& folder, const ExportOptions& options)
{
    if (options.memberLines == 0 || options.memberLines > 5'000'000)
        throw std::invalid_argument("Die Zahl der Mitgliederzeilen muss zwischen 1 und 5 000 000 liegen.");
    // Two digits of the district ("99" marks an association), three of the club.
    if (options.membersPerClub == 0 || clubsOf(options) > 98 * 999)
        throw std::invalid_argument("So viele Vereine passen nicht in die Vereinsnummern von 98 Bezirken.");

    Generator first(options);
    first.buildFederation();
    Random persons(options.seed ^ 0x9e3779b9u);
    first.populate(persons, options.memberLines);
    if (!options.secondExport)
        return first.write(folder);

    Generator second(options);
    second.buildFederation();
    Random repeated(options.seed ^ 0x85ebca6bu);
    second.repeatFrom(repeated, first, options.memberLines);
    Random newcomers(options.seed ^ 0xc2b2ae35u);
    second.populate(newcomers, options.memberLines);
    return second.write(folder);
}

} // namespace exportgen
