// Conditional assembly: IF, ELSE and ENDIF skip lines; MACRO starts a
// definition and a stray ENDM is reported.
#include "assembler.h"

namespace k42asm {

void Assembler::ConditionalLine(SourceLine& line) {
  TableEntry entry = FindTableEntry(conditionals_, line.operation);
  line.status = entry.format != 0 ? 0 : -1;
  if (entry.format != 0) {
    switch (entry.code) {
      case kIf:
        if (skip_) ++skippedDepth_;
        // An unknown value counts as true; an IF met while skipping is only counted.
        if (skippedDepth_ == 0) skip_ = Evaluate(line.operand) == 0;
        ++ifCount_;
        break;
      case kElse:
        if (skippedDepth_ == 0) skip_ = !skip_;
        if (++elseCount_ > ifCount_) ReportError(708, "ELSE");
        break;
      case kEndIf:
        if (skippedDepth_ > 0)
          --skippedDepth_;
        else
          skip_ = false;
        if (elseCount_ > 0) --elseCount_;
        if (ifCount_ < 1)
          ReportError(708, "ENDIF");
        else
          --ifCount_;
        break;
      case kMacro:
        defining_ = true;
        definitionAccepted_ = false;
        if (!skip_) DefineMacro(line);
        break;
      case kEndMacro:
        ReportError(705, "ENDM");
        break;
      default:
        break;
    }
  }
  if (skip_) line.status = 0;
}

}  // namespace k42asm
