; End-to-end debugging fixture: register names by EQU and VAR, stores of
; known values, a counted loop that also sums into a second register, the
; label after the loop for the breakpoint, and a label longer than the
; listing's label column.
COUNTER EQU 10H
SECOND  VAR 1, 11H
RESULT  VAR
LIMIT   EQU 3
START:  LDI 5
        STA RESULT          ; known value 5
        STI COUNTER, 0
        STI SECOND, 0
LOOP:   INC COUNTER
        STA COUNTER         ; counts 1, 2, 3
SECOND_REGISTER_SUM: ADD SECOND
        STA SECOND          ; sums 1, 3, 6
        LDI LIMIT
        SUB COUNTER
        JPNZ LOOP
AFTER:  LDI 0CH
        STA RESULT
DONE:   JMP DONE
