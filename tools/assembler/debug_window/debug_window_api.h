#pragma once
// The debug window of the assembler lives in a library of its own, loaded by
// name only when the assembler runs without "/D": a build in link mode never
// loads the GUI toolkit and needs no display.
#include <cstdint>

extern "C" {

struct AsmWindowContent {
  const char* caption;  // the timing caption (datDebug)
  const char* const* symbols;
  int32_t symbolCount;
  const char* const* publics;
  int32_t publicCount;
  const char* const* macros;
  int32_t macroCount;
};

// Sets the toolkit up; returns 0 when it cannot (no display).
typedef int32_t (*AsmWindowOpenFunction)(void);
// A modal message box (the assembler's message hook while the window is used).
typedef int32_t (*AsmWindowMessageBoxFunction)(const char* text, const char* title, uint32_t style);
// Creates the window filled with `content`; returns its handle.
typedef void* (*AsmWindowCreateFunction)(const AsmWindowContent* content);
// Shows the window and runs until it is closed.
typedef int32_t (*AsmWindowRunFunction)(void* window);
}

#define ASM_WINDOW_LIBRARY "K42xxasmWindow"
