#pragma once
// The allocation of segments to multiplexer lines and common outputs, as the
// allocation dialog lists it and as the report writes it. Plain functions of
// the document and a working copy of the allocation, no widgets.
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include <lcddef/lcd_definition.h>

class CSegdrawDoc;

namespace segdraw {

enum class ListForm { Address = 0, Index = 1 };

// The bit number of a bit mask: 1, 2, 4, 8 give 0 to 3 (the lowest set bit).
int BitNumber(uint16_t mask);
// The bit mask of common output `com`: 1 << com for 0 to 3, else 0 (no bit
// of a 4-bit register, so no segment).
uint16_t ComMask(int com);
// The table entry at a position; positions past the table give the default entry.
uint16_t TableEntry(const lcddef::Allocation& allocation, int position);
// The first segment at `address` with bit mask `mask`, or -1 (also for mask 0).
int FindSegment(const CSegdrawDoc& doc, int address, uint16_t mask);

// One line per segment line: "Seg [%2d]\t" and one cell per common output.
// None while either count is undefined (-1).
std::vector<std::string> AllocationLines(const CSegdrawDoc& doc, const lcddef::Allocation& allocation,
                                         ListForm form);

// The report text (CR LF line ends, tabs), its time "%X %x" from `clock`.
std::string BuildAllocationReport(const CSegdrawDoc& doc, const lcddef::Allocation& allocation,
                                  const std::function<time_t()>& clock);

}  // namespace segdraw
