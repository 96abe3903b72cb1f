#include "DefinitionsdateiHilfe.h"

#include "clubdb/Connection.h"
#include "clubdb/DbError.h"
#include "clubdb/Statement.h"
#include "definitions/WkAk.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace definitions;
using namespace testhilfe;

namespace {

// Whether the file takes the text into the column under its rules; nothing stays stored.
bool nimmtAn(const std::string& pfad, const std::string& tabelle, const std::string& spalte, const std::string& wert)
{
    clubdb::Connection datei = clubdb::Connection::open(pfad);
    datei.execute("SAVEPOINT probe");
    bool angenommen = true;
    try {
        clubdb::Statement einfuegen(datei, "INSERT INTO \"" + tabelle + "\" (\"" + spalte + "\") VALUES (?)");
        einfuegen.bind(1, wert);
        einfuegen.execute();
    } catch (const clubdb::DbError&) {
        angenommen = false;
    }
    datei.execute("ROLLBACK TO probe; RELEASE probe");
    return angenommen;
}

} // namespace

TEST(Beispieldatei, LoadsWithoutQuestionsIntoFilledLists)
{
    Umfeld u;
    std::filesystem::copy_file(TVX_BEISPIEL_WKAK, u.pfad);

    Definitionen d;
    EXPECT_EQ(u.laden(d), Ausgang::Weiter);

    EXPECT_TRUE(u.fragen.asked.empty());
    EXPECT_FALSE(std::filesystem::exists(u.ordner.file("wkak.alt")));
    EXPECT_GT(d.disziplinen.anzahl, 10);
    EXPECT_GT(d.frauen.anzahl, 3);
    EXPECT_GT(d.maenner.anzahl, 3);
    EXPECT_GT(d.klassen.anzahl, d.frauen.anzahl + d.maenner.anzahl); // a class of rank 101 or more
    const auto& e = d.disziplinen.eintraege;
    const auto g = std::find_if(e.begin(), e.end(), [](const Disziplin& x) { return x.SpoNr == "1.58 G"; });
    ASSERT_NE(g, e.end());
    EXPECT_EQ(g->BezSer[0], "Serie 1");
    EXPECT_EQ(e[0].Kaliber, 4.5f);
}

TEST(Beispieldatei, HasTheLayoutAndRulesOfAnEmptyFileCreatedByTheProgram)
{
    Umfeld u;
    const std::string beispiel = u.ordner.file("beispiel.zrv");
    std::filesystem::copy_file(TVX_BEISPIEL_WKAK, beispiel);
    aktuelleDatei(u, u.pfad);

    for (const char* tabelle : {"Disziplinen", "Altersklassen"}) {
        const auto erwartet = spalten(u.pfad, tabelle);
        const auto vorhanden = spalten(beispiel, tabelle);
        ASSERT_EQ(vorhanden.size(), erwartet.size()) << tabelle;
        for (std::size_t i = 0; i < erwartet.size(); ++i) {
            const auto& [name, typ] = erwartet[i];
            SCOPED_TRACE(std::string(tabelle) + "." + name);
            EXPECT_EQ(std::tuple(vorhanden[i].name, vorhanden[i].declaredType), std::tuple(name, typ));
            if (typ.rfind("VARCHAR(", 0) != 0)
                continue;
            const std::size_t groesse = std::stoul(typ.substr(8));
            for (const std::size_t laenge : {std::size_t{0}, std::size_t{1}, groesse, groesse + 1})
                EXPECT_EQ(nimmtAn(beispiel, tabelle, name, std::string(laenge, laenge == 1 ? ' ' : 'x')),
                          nimmtAn(u.pfad, tabelle, name, std::string(laenge, laenge == 1 ? ' ' : 'x')))
                    << "Text der Länge " << laenge;
        }
    }
}
