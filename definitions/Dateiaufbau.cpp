#include "definitions/Dateiaufbau.h"

#include <string>

namespace definitions {
namespace {

clubdb::FieldDefinition text(std::string name, int size)
{
    return {std::move(name), clubdb::FieldType::Text, size};
}

clubdb::FieldDefinition field(std::string name, clubdb::FieldType type)
{
    return {std::move(name), type, 0};
}

clubdb::TableDefinition disziplinen()
{
    using T = clubdb::FieldType;
    clubdb::TableDefinition table{"Disziplinen",
                                  {text("Name", 40), field("Serienanzahl", T::Integer),
                                   field("SchußProSerie", T::Integer), field("WertungsOption", T::Byte),
                                   field("Finale", T::Boolean), field("FinalTeilnehmer", T::Byte),
                                   field("FinalSchüsse", T::Byte), field("ZwSuNachSer", T::Byte)},
                                  {}};
    for (int k = 1; k <= 12; ++k)
        table.fields.push_back(text("BezSer" + std::to_string(k), 30));
    for (int k = 1; k <= 6; ++k)
        table.fields.push_back(text("BezZwSu" + std::to_string(k), 30));
    table.fields.push_back(text("SpoNr", 20));
    table.fields.push_back(field("ScheibeNr1", T::Byte));
    table.fields.push_back(field("ScheibeNr2", T::Byte));
    table.fields.push_back(field("Kaliber", T::Single));
    // Whether the competition program scores in tenths; this system neither reads nor
    // writes it.
    table.fields.push_back(field("Zehntel", T::Boolean));
    return table;
}

} // namespace

const clubdb::TableDefinition& disziplinenTabelle()
{
    static const clubdb::TableDefinition table = disziplinen();
    return table;
}

const clubdb::TableDefinition& altersklassenTabelle()
{
    using T = clubdb::FieldType;
    static const clubdb::TableDefinition table{"Altersklassen",
                                               {text("Name", 30), text("KlassenNr", 22), field("KlasseVon", T::Integer),
                                                field("KlasseBis", T::Integer), field("KlasseWeibl", T::Boolean),
                                                field("KlassenRang", T::Integer)},
                                               {}};
    return table;
}

} // namespace definitions
