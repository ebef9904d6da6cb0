; Start.asm: a new program for a K42XX controller.
; Definitions go above START; the program starts at START after a reset.

START:  NOP             ; the first instruction after a reset
MAIN:   JMP MAIN        ; the main loop: replace it with your program
