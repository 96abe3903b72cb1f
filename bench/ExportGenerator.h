#pragma once

// Writes a federation export of any size as the member administration writes it: the
// districts, clubs, members and start-rights files, Windows-1252, CR LF, no heading line,
// fields separated by commas without quoting. Everything in it is made up: the persons,
// clubs, towns, streets and postcodes are drawn from small lists and combined at random,
// phone numbers come from the ranges kept free for films and books, e-mail addresses end in
// example.org, example.com or example.net and home pages in .example.
//
// The content is what a conversion meets in a real federation: German names with umlauts and
// ß as often as they occur in the country (a few very common ones, a long tail of rare ones, so
// that in a large export many persons share first and last name), academic titles in front of names, double names,
// families sharing an address, about one person in ten also in a second club (listed there under the membership number
// of the home club), some persons registered twice under another membership number, some near-duplicates (another
// postcode or sex), Hochmeldungen, and start rights, mostly for second memberships. Hostile content for tests can be
// switched on in the options.
//
// The output depends only on the options: the same options give the same bytes on every
// machine and with every standard library: std::mt19937 is defined exactly by the C++
// standard, and every mapping to a range is made here by hand, with integers only.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace exportgen {

struct ExportOptions
{
    std::uint32_t seed = 20260101;
    std::size_t memberLines = 1000; // lines of the members file, exactly
    int exportYear = 2026;          // the year in the file names; no date lies after it
    std::string filePrefix = "Verband";

    // Member lines per club: about 100 in a real federation, 40 in one of many small clubs (the
    // harder case for every lookup of a club). Club sizes vary around it.
    std::size_t membersPerClub = 100;

    // Hostile content, each for about hostilePercent percent of the persons when switched on.
    bool apostrophes = false;     // D'Angelo, O'Brien; an apostrophe in a few streets too
    bool wildcards = false;       // "%" and "_" inside last names, first names and streets
    bool letterCase = false;      // MÜLLER against Müller: names in upper or lower case,
                                  // and persons listed once more with the name in upper case
    bool emptyFirstNames = false; // empty first-name column
    bool emptyPostcodes = false;  // empty postcode column
    int hostilePercent = 3;

    // A second export of the same federation, as a later export of the same size and seed
    // would be: the same districts and clubs (so its clubs file repeats the first one's), about
    // repeatedPercent percent of the persons of the first export with the same data and the
    // same membership numbers (a few of them under a new membership number), and new persons
    // whose membership numbers follow those of the first export. Meant for converting the first
    // and then the second export into the same club database.
    bool secondExport = false;
    int repeatedPercent = 30;

    // The export as it may reach the program: its line ends converted to LF on the way, and
    // opened and saved in an editor as UTF-8 without a byte-order mark. The content stays the same.
    bool lfLineEnds = false;
    bool utf8 = false;

    // All hostile content switched on.
    static ExportOptions hostile(std::uint32_t seed, std::size_t memberLines);
};

// What was written. The paths are folder / file name.
struct ExportFiles
{
    std::filesystem::path districts;   // <prefix>_K_<year>.csv
    std::filesystem::path clubs;       // <prefix>_V_<year>.csv
    std::filesystem::path members;     // <prefix>_M_<year>.csv
    std::filesystem::path startRights; // <prefix>_Z_<year>.csv, the six-column layout
    std::size_t districtLines = 0;
    std::size_t clubLines = 0;
    std::size_t memberLines = 0;
    std::size_t startRightLines = 0;
    std::size_t persons = 0;           // distinct persons behind the member lines
    std::size_t secondMemberships = 0; // member lines listed in a club other than the home club

    // How often persons share what person matching looks at, counted over the distinct persons
    // with their names as written (a person with an empty postcode counts for no postcode).
    std::size_t namesakes = 0;        // persons who share first and last name with another
    std::size_t largestNamesakes = 0; // persons of the most common pair of first and last name
    std::size_t postcodes = 0;        // postcodes that persons live in
    std::size_t largestPostcode = 0;  // persons of the postcode with the most persons
};

// Writes the four files into folder (created when missing; files of the same names are
// replaced). Throws std::runtime_error when a file cannot be written and
// std::invalid_argument when memberLines is 0 or larger than 5 000 000, or when the clubs do not
// fit into the club numbers of 98 districts of 999 clubs.
ExportFiles generateExport(const std::filesystem::path& folder, const ExportOptions& options);

} // namespace exportgen
