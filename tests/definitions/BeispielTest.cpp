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

// Whether the file refuses the text in the column: its rules, tried out on a copy.
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

int textgroesse(const std::string& typ)
{
    return typ.rfind("VARCHAR(", 0) == 0 ? std::stoi(typ.substr(8)) : 0;
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
    const auto& disziplinen = d.disziplinen.eintraege;
    const auto g =
        std::find_if(disziplinen.begin(), disziplinen.end(), [](const auto& e) { return e.SpoNr == "1.58 G"; });
    ASSERT_NE(g, disziplinen.end());
    EXPECT_EQ(g->BezSer[0], "Serie 1");
    EXPECT_EQ(disziplinen[0].Kaliber, 4.5f);
}

TEST(Beispieldatei, HasTheLayoutOfAnEmptyFileCreatedByTheProgram)
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
            SCOPED_TRACE(std::string(tabelle) + "." + erwartet[i].name);
            EXPECT_EQ(vorhanden[i].name, erwartet[i].name);
            EXPECT_EQ(vorhanden[i].declaredType, erwartet[i].declaredType);
            const int groesse = textgroesse(erwartet[i].declaredType);
            if (groesse == 0)
                continue;
            for (const std::string& wert :
                 {std::string(), std::string(1, ' '), std::string(groesse, 'x'), std::string(groesse + 1, 'x')})
                EXPECT_EQ(nimmtAn(beispiel, tabelle, erwartet[i].name, wert),
                          nimmtAn(u.pfad, tabelle, erwartet[i].name, wert))
                    << "Text der Länge " << wert.size();
        }
    }
}
