#pragma once
// The instruction words of test programs (one table for tests and benchmarks).
#include "instruction_words.h"

namespace k42test {
using namespace k42words;
}  // namespace k42test
