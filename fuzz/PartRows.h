#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

namespace Norvane {

class DBConnect;

// A part database written as text, one row per line, so that a fuzzer can mutate the values of a part
// file rather than the bytes of SQLite's pages (which SQLite itself refuses long before the part loader
// sees a row):
//
//     s 12 4 1 5                      optional, first: the column counts of the four tables
//     p 17 203 0 0 10 0 1.5 0 0 0 0 0  a row of geometry_patternData
//     r 1 17 18 101                    geometry_patrelation
//     l 5                              geometry_loopData
//     n 1 17 5 0 1                     geometry_loopnodeData
//
// Values are separated by spaces or commas: whole numbers are stored as integers, other numbers (nan,
// inf and 1e999 included) as reals, "null" as NULL, anything else as text. Rows that do not fit their
// table are left out; at most kMaxRows rows are read.
namespace PartRows {

constexpr int kMaxRows = 4096;

// An in-memory database holding the part the text describes.
boost::shared_ptr<DBConnect> Load(const std::string& text);

// The text of the four tables of db, in the format above.
std::string Dump(DBConnect& db);

}  // namespace PartRows
}  // namespace Norvane
