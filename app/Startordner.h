#pragma once

// Where a file or folder dialog opens. A dialog told to open in a folder that does not exist
// opens somewhere else and offers that folder's name as the name of the file to save, which
// then becomes a club database called "Datenbanken.vdb" in whatever folder the dialog chose.
// Every dialog of the window therefore opens in a folder that exists.

#include <initializer_list>
#include <string>

namespace fenster {

// The first of the wished folders that exists (empty wishes are passed over); else the
// nearest existing folder above the first wish, short of the root; else heimordner. A
// trailing "/" is dropped.
std::string Startordner(std::initializer_list<std::string> wuensche, const std::string& heimordner);

} // namespace fenster
