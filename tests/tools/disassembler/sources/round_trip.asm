; Every instruction but ROM, registers 00 and 7F, immediates 0 and F,
; jumps both ways, a call into a procedure, a macro, an ORG gap and data
; words that no instruction encodes.
TOP     EQU 7FH
ZERO    EQU 0
COUNTER VAR 2, 10H
FLAG    VAR
SETREG  MACRO R, VALUE
        STI R, VALUE
        ENDM
START:  LDI ZERO
        LDI 0FH
        STI ZERO, 0
        STI TOP, 0FH
        STIX 0
        STIX 0FH
        SETREG COUNTER, 5
        ADD ZERO
        ADDS TOP
        AND ZERO
        ANDS TOP
        CPLR ZERO
        CPLRS TOP
        DEC ZERO
        DECS TOP
        INC ZERO
        INCS TOP
        LDR ZERO
        NAND TOP
        NANDS ZERO
        NOR TOP
        NORS ZERO
        NXOR TOP
        NXORS ZERO
        OR TOP
        ORS ZERO
        SHL TOP
        SHLR ZERO
        SHRR TOP
        STA ZERO
        SUB TOP
        SUBS ZERO
        XOR TOP
        XORS ZERO
        ADD COUNTER
        STA FLAG
        ADDX
        ADDXS
        ANDX
        ANDXS
        CPLA
        CPLAS
        CPLRX
        CPLRXS
        DECX
        DECXS
        HALT
        INCX
        INCXS
        LDRX
        LDRXS
        NANDX
        NANDXS
        NOP
        NORX
        NORXS
        NXORX
        NXORXS
        ORX
        ORXS
        RET
        RTI
        SHLX
        SHRA
        STAX
        SUBX
        SUBXS
        XORX
        XORXS
BACK:   JMP AHEAD
        JPC BACK
        JPNC START
        JPZ AHEAD
        JPNZ BACK
        JPV1 AHEAD
        JPV2 START
        JPV3 AHEAD
        CALL WORKER
        DW 0F815H, 08680H
        ORG 100H
AHEAD:  NOP
WORKER  PROC
LOOP:   DEC FLAG
        JPNZ LOOP
        RET
        ENDP
        END
