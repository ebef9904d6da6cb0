#pragma once
// Archives for the tests: the worked example's bytes, the builder run as a
// program, and hand-made records.
#include <string>
#include <vector>

#include "dcs/dcs.h"

namespace dcstest {

// The archive "T.DCS" (times 0) with one stored entry "A.TXT" = "123456789".
std::string GoldenArchive();

// Runs dcsbuild with `arguments`; true when it exits 0.
bool RunBuilder(const std::vector<std::string>& arguments);

// One entry record followed by its packed bytes.
std::string EntryRecord(const DcsEntryInfo& entry, const std::string& packed);
// A header named `name`, the given records, and the trailer.
std::string Archive(const std::string& name, const std::string& records);

// Opens read-only, never creating.
DcsArchive* OpenForReading(const std::string& path);

}  // namespace dcstest
